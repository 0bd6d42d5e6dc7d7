// The photo being dispatched, as three bytes a pixel and as gray: the gray copy is the source
// of the request file.
#pragma once

#include <cstdint>

inline constexpr int PhotoMaxSide = 1024;
inline constexpr int PhotoPixelBytes = 3;
inline constexpr int PhotoPixelsStride = PhotoMaxSide * PhotoPixelBytes;
inline constexpr int PhotoGrayStride = PhotoMaxSide;

// Size of the last photo taken; 0 x 0 when it failed to decode or did not fit.
extern std::int32_t PhotoWidth;
extern std::int32_t PhotoHeight;
extern std::uint8_t PhotoPixels[PhotoMaxSide * PhotoPixelsStride];
extern std::uint8_t PhotoGray[PhotoMaxSide * PhotoGrayStride];

// Takes a decoded photo (rows of three bytes a pixel, the middle one green, `stride` bytes
// apart) into PhotoPixels and its size into PhotoWidth and PhotoHeight. A photo that did not
// decode (no rows) or is larger than the buffers leaves a size of 0 x 0.
void CopyPhotoPixels(const std::uint8_t* scan0, int stride, int width, int height);
// PhotoGray from PhotoPixels: the middle byte of each pixel, unweighted.
void ConvertPhotoToGray();
// Writes PhotoGray (PhotoWidth x PhotoHeight) as an 8-bit gray request file; a photo of 0 x 0
// gives the headers and palette alone. Always answers 0: nobody is told when it cannot be
// written, the recognizer then simply finds no request.
int WriteGrayRequestBmp(const char* path);
