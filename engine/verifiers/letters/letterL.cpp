#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double MaxAspectRatio = 3.2;  // taller than this is a bar, not a corner

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// A split corner: the lower-left spur heads up-right into the junction, the foot comes in from
// the right (level or from above), at most `maxFootSlope` steep.
bool SplitCornerMeets(NodePair lower, Node corner, double maxFootSlope) {
    if (!TraceStroke(lower.left, corner).Fits({0}, {2})) return false;
    const Stroke foot = TraceStroke(lower.right, corner);
    return foot.Fits({0, 2}, {1, 4}) && foot.slope <= maxFootSlope;
}

// A split stem top: two short spurs running down into the junction from either side.
bool SplitTopMeets(NodePair upper, Node top) {
    return TraceStroke(upper.left, top).Fits({0}, {3}) && TraceStroke(upper.right, top).Fits({0}, {4});
}

// One bent stroke from the top-left down and round to the right end of the foot.
std::int16_t MatchL_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(e0, {0, 1}) || !InZone5(e1, {14, 19, 24})) return 0;
    if (!TraceStroke(e0, e1).Fits({2, 6}, {3})) return 0;
    return OnTopRow(e0) && e1.x >= Box().right - 2 ? 1 : 0;
}

// A spur at the corner.
std::int16_t MatchL_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair lower = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {20, 21}) || !InZone5(e0, {0, 1, 2})) return 0;
    if (!InZone5(lower.left, {20}) || !InZone5(lower.right, {19, 24})) return 0;
    const Stroke stem = TraceStroke(e0, j0);
    if (!stem.Fits({0, 1}, {3, 4}) || stem.slope < 2.8) return 0;
    return SplitCornerMeets(lower, j0, 1.2) ? 1 : 0;
}

// The stem's top split; the stem and the foot trace as one bent stroke.
std::int16_t MatchL_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const NodePair upper = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {0, 1}) || !InZone5(upper.left, {0}) || !InZone5(upper.right, {1, 2})) return 0;
    if (!InZone5(e2, {19, 24}) || !SplitTopMeets(upper, j0)) return 0;
    const Stroke foot = TraceStroke(e2, j0);
    return foot.FitsShape({2}) && (foot.chordDirection == -1.0F || foot.direction == 1) ? 1 : 0;
}

// Both the stem top and the corner split.
std::int16_t MatchL_H0B2E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair upper = InXOrder(EndNode(0), EndNode(1));
    const NodePair lower = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {0, 1}) || !InZone5(j1, {20, 21})) return 0;
    if (!InZone5(upper.left, {0}) || !InZone5(upper.right, {1, 2})) return 0;
    if (!InZone5(lower.left, {20}) || !InZone5(lower.right, {19, 24})) return 0;
    if (!SplitTopMeets(upper, j0) || !SplitCornerMeets(lower, j1, AnySlope)) return 0;
    const Stroke stem = LinkStroke(j0, j1);
    return stem.Fits({0}, {3, 4}) && stem.slope >= 3.0 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterL() {
    if (Glyph.HoleCount != 0 || Glyph.AspectRatio > MaxAspectRatio) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchL_H0B0E2a});
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchL_H0B1E3a, MatchL_H0B1E3b});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchL_H0B2E4a});
    return 0;
}
