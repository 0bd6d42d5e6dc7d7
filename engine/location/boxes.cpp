#include "engine/location/boxes.h"

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
