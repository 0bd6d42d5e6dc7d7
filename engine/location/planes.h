// The full-size planes of one recognizer, each one frame (FrameWidth x FrameHeight, row-major,
// top row first). Static, refilled for every recognition, never freed.
#pragma once

#include <cstdint>

#include "engine/camera.h"

struct EdgeFieldCell {
    std::uint16_t magnitude;
    std::uint16_t direction;  // 0 to 7
};

extern std::uint8_t LoadedImage[FrameSize];    // pixels of the last BMP file read
extern std::uint8_t WorkImage[FrameSize];      // the frame the engine analyses
extern std::uint8_t EdgeImage[FrameSize];      // edge magnitude, 0 outside the last region
extern EdgeFieldCell EdgeField[FrameSize];     // magnitude and direction per pixel
extern std::uint8_t BinaryImage[FrameSize];    // thresholded edges; marks 2 to 5 while located
extern std::uint8_t BinaryBackup[FrameSize];   // copy taken after each binarization
extern std::uint8_t BinarySnapshot[FrameSize]; // second copy taken after each binarization

constexpr int PixelIndex(int column, int row) { return column + FrameStride * row; }
constexpr bool IsInsideFrame(int column, int row) {
    return column >= 0 && column < FrameWidth && row >= 0 && row < FrameHeight;
}
