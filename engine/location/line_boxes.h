// The box list of the text line being segmented, and the tools that edit and measure it.
#pragma once

#include <cstdint>

#include "engine/location/boxes.h"
#include "engine/location/components.h"
#include "engine/location/level_histogram.h"

inline constexpr int LineBoxSlots = 64;

extern CharBox LineBoxes[LineBoxSlots];
extern std::int16_t LineBoxCount;
extern ComponentRange LineBoxComponents[LineBoxSlots];

inline constexpr int MergeAlongRow = 0;     // horizontal lines
inline constexpr int MergeAlongColumn = 1;  // vertical lines
inline constexpr int GapAlongRow = 0;
inline constexpr int GapAlongColumn = 1;

// Merges box b into box c = b + 1: along a row the merged box keeps b's left and spans both
// vertically; along a column it keeps b's top and spans both horizontally. The merged box
// moves into slot b and the later boxes move down.
void MergeBoxes(int b, int c, int flag);
// Deletes entry k with its component range. Answers k.
int RemoveBox(int k);
// Peak of the histogram of gap + 8 between neighbouring line boxes (gaps from -8 to 247):
// index g = the usual gap + 8, sum = its support. The plain form searches from 5 with radius 5.
PackedPeak BoxSpacingPeak(int mode);
PackedPeak BoxSpacingPeak(int mode, int low, int radius);
// The most common gap between neighbouring line boxes, plus 1 (1 when there is none).
int BoxGapEstimate(int mode);
// 1 when the components of boxes first..last, binarized from the gray frame at the level most
// common along their contours, read as at least one letter (Glyph.CandidateString); else 0.
int BoxGrayLevelHistogram(int first, int last);
