// Outer contours of the pieces of the binary image, and the marks they leave behind.
#pragma once

#include <cstdint>

#include "engine/packed_point.h"

inline constexpr int ContourDirectionCount = 8;

// Neighbour steps by direction code (x right, y down): 0 east, 1 north-east, 2 north,
// 3 north-west, 4 west, 5 south-west, 6 south, 7 south-east.
struct ContourStep {
    std::int8_t dx;
    std::int8_t dy;
};
extern const ContourStep ContourDirections[ContourDirectionCount];

// Binary-image values while pieces are traced.
inline constexpr std::uint8_t ContourStartMark = 2;  // the start pixel; passed pixels rise by 1
inline constexpr std::uint8_t PieceInkMark = 5;      // ink reached from a contour

// Follows the outer contour of the piece at (row, column) clockwise from the given search
// direction, into the glyph record's PathX/PathY/WalkLength, marking it in BinaryImage.
// 1 when the contour reached 2000 points, else 0.
int TraceContour(int row, int column, int direction);
// Spreads the contour marks of the box into the 4-connected ink of the traced piece.
void MarkContourNeighbours(PackedPoint topLeft, PackedPoint bottomRight);
// MarkContourNeighbours, then every marked pixel of the box becomes background. A box that holds
// the last trace and no mark of an earlier one is done from the trace's points alone.
void MarkAndClearRegion(PackedPoint topLeft, PackedPoint bottomRight);
// Sets the points of the last trace back to plain ink.
void RestoreTracedContour();

inline constexpr int EraseWholeBox = 0;
inline constexpr int EraseBetweenMarks = 1;
inline constexpr int EraseByColumns = 0;
inline constexpr int EraseByRows = 1;

// Clears BinaryBackup in the box: all of it (kind 0), or per column (direction 0) or per row
// (direction 1) between the first and last contour mark of BinaryImage (kind 1).
void EraseRegionMarks(PackedPoint topLeft, PackedPoint bottomRight, int direction, int kind);
// Clears BinaryBackup and BinaryImage at every point of the last traced contour.
void ClearTracedContour();
