// What sets one camera's recognizer apart from the other's; each recognizer program defines
// ThisCamera once, and the one dialog class reads it.
#pragma once

#include <span>

#include "platform/dialog.h"

class CRecognizerDlg;

struct TestButton {
    int id;
    void (*handler)(CRecognizerDlg& dialog);
};

// The search region as margins from the frame's edges: the region runs from (left, top) to
// (frame width - right, frame height - bottom), both corners inclusive.
struct SearchMargins {
    int top;
    int bottom;
    int left;
    int right;
};

struct RecognizerCamera {
    const win::DialogTemplate& dialog;
    int resultTextId;                     // the static that shows the last result
    SearchMargins margins;                // fixed, or the defaults of the settings file
    const char* settingsFile;             // keeps the margins between runs; nullptr: fixed margins
    const char* fixedRequestFile;         // read by every request, whose side stays 0; nullptr: one per side
    bool requestClearsDebugFlag;          // requests never write debug images
    std::span<const TestButton> buttons;  // the camera's test buttons and what they do
};

extern const RecognizerCamera ThisCamera;
