// Normalization and thinning: turns the binarized glyph that the caller loaded at origin 0,0 of
// Glyph.SkeletonImage into a clean one-pixel-wide skeleton inside a one-cell border, keeping the
// filled glyph as it stood before thinning in Glyph.GlyphImage.
#pragma once

#include <cstdint>

#include "engine/packed_point.h"

// Results of ThinCharacter besides 0 (done).
inline constexpr int ThinContourOverflow = 1;
inline constexpr int ThinPieceCut = 99;  // plus the number of cells cut away

// 0 skeleton ready, 1 glyph rejected.
int NormalizeAndThinCharacter();

// 1 for a blob too ragged or too solid to be a character; sets AspectRatio and
// InkToBackgroundRatio. Works on the glyph at origin 0,0.
int RejectBlob();
void AddImageBorder();
void RemoveImageBorder();
// Fills pinholes and small holes: 1 when the hole labelling ran out of records, else 0.
int FillSmallHoles();
void RemoveLoosePixels();
void SaveCharImage();
void RestoreCharImage();

void PeelCorners();
// Follows one contour from (row, col) into PathX/PathY (WalkLength points), marking its cells:
// 1 when it grew too long, else 0.
int FollowContour(int row, int col, int direction);
// Non-zero cells of SkeletonImage in the rectangle (both corners inclusive).
int CountInkInRect(PackedPoint topLeft, PackedPoint bottomRight);
// 0 done, ThinContourOverflow, or ThinPieceCut + n when a piece of n cells was cut away.
int ThinCharacter();
void RemoveStairPixels();
void PruneShortSpurs();
void ComputeSkeletonBox();
