// Gray BMP request files and the debug images.
#pragma once

#include <cstdint>

#include "engine/location/planes.h"

// Size of the last image read (or of the frame the writers write).
extern int LoadedImageWidth;
extern int LoadedImageHeight;
// Padded row length of the last file read or written.
extern int LoadedImageStride;

inline constexpr int LoadOk = 0;
inline constexpr int LoadRefused = 1;   // cannot open, not 8-bit, malformed or truncated
inline constexpr int LoadTooLarge = 2;  // larger than the frame

// Reads an 8-bit gray BMP into LoadedImage. Everything of the frame outside the image is
// cleared so that no earlier image shows through; on refusal nothing changes.
int LoadGrayBmp(const char* path);
// Writes LoadedImage (LoadedImageWidth x LoadedImageHeight) as an 8-bit gray BMP.
int SaveGrayBmp(const char* path);
// Writes BinaryImage at the same size as a 1-bit BMP: background white, anything else black.
int SaveBinaryBmp(const char* path);
