#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

// Both holes span the middle of the box across, the upper one reaching the top and ending
// above the lower third, the lower one starting below the upper third and reaching the bottom.
bool HolesStacked(const HoleBox& upper, const HoleBox& lower) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const int middle = box.width / 2;
    if (upper.top > box.top + 1 || upper.bottom > box.bottom - box.height / 3) return false;
    if (upper.left > box.left + middle || upper.right < box.right - middle) return false;
    if (HoleRatio(Glyph.HoleBoxes[1]) < 0.12) return false;
    if (lower.top < box.top + box.height / 3 || lower.bottom < box.bottom - 1) return false;
    return lower.left <= box.left + middle && lower.right >= box.right - middle;
}

// Two loops over each other, joined at the waist by two junctions.
std::int16_t Match8_H2B2E0a() {
    // On equal tops the second hole of the list is the upper one.
    const bool firstIsUpper = Glyph.HoleBoxes[0].top < Glyph.HoleBoxes[1].top;
    const HoleBox& upper = Glyph.HoleBoxes[firstIsUpper ? 0 : 1];
    const HoleBox& lower = Glyph.HoleBoxes[firstIsUpper ? 1 : 0];
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    if (!InZone5(j.left, {6, 7, 10, 11, 12}) || !InZone5(j.right, {8, 11, 12, 13, 14})) return 0;
    // The hole tests hold for every '8'; junctions that touch only spare the link between them.
    if (!HolesStacked(upper, lower)) return 0;
    if (AreNeighbours(j.left, j.right)) return 1;
    const Stroke link = LinkStroke(j.left, j.right);
    if (!link.Fits({0, 1, 15}, {2, 3})) return 0;
    return link.shape == 0 || link.lengthRatio >= 1.8 ? 1 : 0;
}

// The margin of the row on that side is deeper than the shallowest margin above or below it.
bool IsPinched(MarginSide side, int k) {
    const NotchDepths depths = MarginNotchDepths(side, k);
    return depths.above >= 1 || depths.below >= 1;
}

}  // namespace

std::int16_t Reject8_NoWaist() {
    const int h = Glyph.GlyphHeight;
    const int kRight = DeepestMarginRow(MarginSide::Right, WaistRow(2 * h / 3));
    if (kRight < 0 || kRight > h - 4) return 1;
    const int kLeft = DeepestMarginRow(MarginSide::Left, kRight);
    if (kLeft < 0 || kLeft > h - 4) return 1;
    if (!IsPinched(MarginSide::Right, kRight)) return 1;
    if (!IsPinched(MarginSide::Left, kLeft)) return 1;
    return 0;
}

std::int16_t IsDigit8() {
    if (Reject8_NoWaist() != 0) return 0;
    if (Glyph.HoleCount != 2) return 0;
    if (IsCase(2, 0)) return AcceptFirstMatch({Match8_H2B2E0a});
    return 0;
}
