#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

// A bowl in the lower part with the upper stroke curving up to the right from it.
std::int16_t Match6_H1B1E1a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {5, 6, 7, 10, 11}) || !InZone5(e0, {2, 3, 4, 9})) return 0;
    const Stroke s = TraceStroke(e0, j0);
    if (!s.Fits({0, 1}, {4}) || s.chordDirection != -1.0F) return 0;
    const HoleBox& hole = LargestHole();
    if (hole.left > box.left + box.width / 2 || hole.right < box.right - box.width / 2) return 0;
    if (hole.top < box.top + box.height / 4 || hole.bottom < box.bottom - 1) return 0;
    return HoleRatio(hole) >= 0.2 ? 1 : 0;
}

}  // namespace

std::int16_t IsDigit6() {
    if (Glyph.HoleCount != 1) return 0;
    if (IsCase(1, 1)) return AcceptFirstMatch({Match6_H1B1E1a});
    return 0;
}
