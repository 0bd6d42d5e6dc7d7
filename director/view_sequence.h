// The views of one container pass and the order in which the director hands them out: each
// view is found by a word in the photo's file name and goes to the recognizer of its camera.
#pragma once

#include <cstdint>
#include <span>

inline constexpr int MaxPhotoFiles = 16;
inline constexpr int PhotoNameSize = 260;
inline constexpr int SixPhotoCount = 6;
inline constexpr int FourPhotoCount = 4;

// File names (name and extension) of the listed photos, in listing order.
extern char PhotoFileNames[MaxPhotoFiles][PhotoNameSize];

struct ViewStep {
    const char* viewWord;       // looked for in the file names, case-sensitively
    const char* requestFile;    // where the gray request image is written
    const char* windowCaption;  // the recognizer the request goes to
    int camera;                 // the request's wParam
    int side;                   // the request's lParam
    int thumbnailX;             // where the half-size photo is drawn
    int thumbnailY;
    const char* missingMessage;  // shown when no listed file holds the view word
};

// Front, rear and right side 1, dispatched for every set.
std::span<const ViewStep> CommonViewSteps();
// Left side 2, right side 2 and left side 1 of a six-photo set.
std::span<const ViewStep> SixPhotoViewSteps();
// Left side 1 of a four-photo set.
std::span<const ViewStep> FourPhotoViewSteps();

// The first of the fileCount listed names that holds word, else -1.
int FindPhotoByView(const char* word, int fileCount);
