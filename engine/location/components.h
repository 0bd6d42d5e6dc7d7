// Component boxes: the accepted pieces of the binary image inside candidate text lines, each
// with its outer contour.
#pragma once

#include <cstdint>

#include "engine/glyph/glyph_record.h"
#include "engine/location/boxes.h"
#include "engine/packed_point.h"

inline constexpr int ComponentSlots = 800;  // at most 799 are counted
inline constexpr int ComponentPointSlots = MaxPathPoints;

struct ContourPoint {
    std::int16_t x;
    std::int16_t y;
};
// Ends a contour list shorter than ComponentPointSlots.
inline constexpr ContourPoint ContourListEnd{-1, -1};

// A range of ComponentBoxes, both ends inclusive; last < first means none.
struct ComponentRange {
    std::int16_t first;
    std::int16_t last;
};

extern CharBox ComponentBoxes[ComponentSlots];
extern std::int16_t ComponentBoxCount;
extern ContourPoint ComponentPoints[ComponentSlots][ComponentPointSlots];

inline constexpr int ScanColumns = 0;  // horizontal lines: column by column from the left
inline constexpr int ScanRows = 1;     // vertical lines: row by row from the top

// Traces, filters and boxes the pieces of BinaryImage inside the region, appending the accepted
// ones. 0 when the region was scanned to the end; 1 when a horizontal-mode contour reached 2000
// points or the table is full.
int FindComponentBoxes(PackedPoint topLeft, PackedPoint bottomRight, int mode, int filter);
// The first index in first..last, other than c, whose box contains box c; -1 when none.
int FindContainingBox(int c, int first, int last);
// Counts into HistogramBins the WorkImage gray level under every contour point of the
// components of the range.
void CountContourGrayLevels(ComponentRange range);
