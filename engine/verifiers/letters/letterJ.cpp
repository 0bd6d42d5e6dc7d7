#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

// One stroke from the top down the right side, hooking left into a tail that stops short of
// the bottom row.
std::int16_t MatchJ_H0B0E2a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!OnTopRow(e0) || e0.x < box.left + Glyph.StrokeUnit) return 0;
    if (!InZone5(e1, {15, 20}) || e1.y == box.bottom) return 0;
    const Stroke hook = TraceStroke(e0, e1);
    return hook.Fits({2, 6, 10}, {4}) && hook.chordDirection == -1.0F ? 1 : 0;
}

// The J with a top bar: the bar's two ends meet the stem in a junction near the top right.
std::int16_t MatchJ_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const NodePair bar = InXOrder(EndNode(0), EndNode(1));
    const Node tail = EndNode(2);
    if (!InZone5(j0, {2, 3, 4})) return 0;
    if (!IsPresent(bar.right) || bar.right.x < Glyph.GlyphBox.right) return 0;
    if (!InZone5(bar.left, {0, 1}) || !InZone5(bar.right, {4})) return 0;
    if (!InZone5(tail, {15, 20}) || tail.x > Glyph.GlyphBox.left + 1) return 0;
    if (!StraightArmsMeet(bar, j0)) return 0;
    const Stroke hook = TraceStroke(tail, j0);
    return hook.Fits({2}, {2}) && hook.chordDirection == -1.0F ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterJ() {
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchJ_H0B0E2a});
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchJ_H0B1E3a});
    return 0;
}
