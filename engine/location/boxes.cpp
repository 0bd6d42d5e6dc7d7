#include "engine/location/boxes.h"

#include <cstdlib>

#include "engine/glyph/glyph_record.h"

namespace {
constexpr std::int16_t NoPointCorner = 999;
}

CharBox PathBoundingBox() {
    CharBox box{NoPointCorner, NoPointCorner, 0, 0};
    const int count = std::clamp<int>(Glyph.WalkLength, 0, MaxPathPoints);
    for (int i = 0; i < count; ++i) {
        box.left = std::min(box.left, Glyph.PathX[i]);
        box.top = std::min(box.top, Glyph.PathY[i]);
        box.right = std::max(box.right, Glyph.PathX[i]);
        box.bottom = std::max(box.bottom, Glyph.PathY[i]);
    }
    return box;
}

namespace {
constexpr int HorizontalLineDistance = 99;
}

int PointLineDistance(PackedPoint a, PackedPoint b, PackedPoint q) {
    const int dx = PointX(b) - PointX(a);
    const int dy = PointY(b) - PointY(a);
    if (dx == 0) return std::abs(PointX(q) - PointX(a));
    if (dy == 0) return HorizontalLineDistance;
    return std::abs(PointX(q) - PointX(a) - (PointY(q) - PointY(a)) * dx / dy);
}

int LineIntersect(PackedPoint a, PackedPoint b, int y) {
    const int dx = PointX(b) - PointX(a);
    const int dy = PointY(b) - PointY(a);
    if (dx == 0 || dy == 0) return PointX(a);
    return PointX(a) + (y - PointY(a)) * dx / dy;
}
