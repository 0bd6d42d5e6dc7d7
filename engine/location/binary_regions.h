// Sums, profiles and copies over rectangles of the binary planes.
#pragma once

#include <cstdint>

#include "engine/packed_point.h"

inline constexpr int SourceBinaryImage = 0;
inline constexpr int SourceBinaryBackup = 1;

// Clears ColumnProfile, then per column left..right counts the ink of the source plane in rows
// top..bottom. Any other source leaves the profile cleared.
void ColumnProfileOfBox(int left, int right, int top, int bottom, int source);
// Per column left..right: ColumnProfile = ink of BinaryBackup in rows top..bottom, SmoothScratch
// = its vertical runs (ink whose lower neighbour in the range is background).
void CountVerticalRunsPerColumn(int left, int right, int top, int bottom);
// Copies the box from BinaryBackup into BinaryImage.
void CopyBinaryRegion(PackedPoint topLeft, PackedPoint bottomRight);
// Copies the whole of BinaryBackup over BinaryImage.
void RestoreBinaryImage();
// Clears BinaryBackup over the inclusive rectangle, clipped to the frame row by row.
void ClearBackupRect(int left, int top, int right, int bottom);
// Ink of BinaryBackup (copy 1) or BinarySnapshot (copy 2) in the inclusive box.
std::int32_t SumBinaryCopy1(PackedPoint topLeft, PackedPoint bottomRight);
std::int32_t SumBinaryCopy2(PackedPoint topLeft, PackedPoint bottomRight);
