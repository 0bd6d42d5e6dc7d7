// Boxes and regions of the frame. A rectangle travels as two packed points (top-left,
// bottom-right), both corners inclusive.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/camera.h"
#include "engine/packed_point.h"

// A character or component box in frame pixels, all four sides inclusive.
struct CharBox {
    std::int16_t left;
    std::int16_t top;
    std::int16_t right;
    std::int16_t bottom;
};

// A run of lines or positions, both ends inclusive.
struct LineRange {
    std::int16_t start;
    std::int16_t end;
};

// An inclusive rectangle already clipped to the frame; empty when left > right or top > bottom.
struct FrameRegion {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr PackedPoint BoxTopLeft(const CharBox& box) { return PackPoint(box.left, box.top); }
constexpr PackedPoint BoxBottomRight(const CharBox& box) { return PackPoint(box.right, box.bottom); }

constexpr bool IsEmptyRegion(const FrameRegion& region) {
    return region.left > region.right || region.top > region.bottom;
}

// The part of the rectangle that lies inside the frame.
constexpr FrameRegion ClipToFrame(int left, int top, int right, int bottom) {
    if (left > right || top > bottom || right < 0 || bottom < 0 || left >= FrameWidth || top >= FrameHeight) {
        return FrameRegion{1, 1, 0, 0};
    }
    return FrameRegion{std::clamp(left, 0, FrameWidth - 1), std::clamp(top, 0, FrameHeight - 1),
                       std::clamp(right, 0, FrameWidth - 1), std::clamp(bottom, 0, FrameHeight - 1)};
}

constexpr FrameRegion ClipToFrame(PackedPoint topLeft, PackedPoint bottomRight) {
    return ClipToFrame(PointX(topLeft), PointY(topLeft), PointX(bottomRight), PointY(bottomRight));
}

// Bounding box of the first WalkLength points of the glyph record's PathX (columns) and PathY
// (rows): the last traced contour or walk. Without points: {999, 999, 0, 0}.
CharBox PathBoundingBox();

// Horizontal distance from q to the line through a and b at q's row: the plain column distance
// for a vertical line, 99 for a horizontal one.
int PointLineDistance(PackedPoint a, PackedPoint b, PackedPoint q);
// Column of the line through a and b at row y (a's column when the line is vertical or
// horizontal).
int LineIntersect(PackedPoint a, PackedPoint b, int y);
