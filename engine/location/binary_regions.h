// Sums, profiles and copies over rectangles of the binary planes.
#pragma once

inline constexpr int SourceBinaryImage = 0;
inline constexpr int SourceBinaryBackup = 1;

// Clears ColumnProfile, then per column left..right counts the ink of the source plane in rows
// top..bottom. Any other source leaves the profile cleared.
void ColumnProfileOfBox(int left, int right, int top, int bottom, int source);
