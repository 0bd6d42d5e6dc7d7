#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

// The tail may close a second hole; it must be this many times smaller than the bowl's.
constexpr double MinHoleAreaRatio = 20.0;

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// The bowl's hole runs from the top of the box to its lower third, from `leftMargin` of the
// left edge to `rightMargin` of the right edge, and fills at least `minRatio` of the box.
bool HoleIsFullBowl(int leftMargin, int rightMargin, double minRatio) {
    const GlyphBoxRecord& box = Box();
    const HoleBox& hole = LargestHole();
    if (hole.top > box.top + 1 || hole.bottom < box.bottom - box.height / 3) return false;
    if (hole.left > box.left + leftMargin || hole.right < box.right - rightMargin) return false;
    return HoleRatio(hole) >= minRatio;
}

bool StrictlyInsideHole(Node p) {
    const HoleBox& hole = LargestHole();
    return IsPresent(p) && hole.left < p.x && p.x < hole.right && hole.top < p.y && p.y < hole.bottom;
}

// The tail crosses the ring: it starts inside the hole and leaves it at the lower right.
std::int16_t MatchQ_H1B2E2a() {
    if (!HoleIsFullBowl(1, Glyph.WidthUnit, 0.4)) return 0;
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone3(junctions.left, {7, 8}) || !InZone3(junctions.right, {8}) || !InZone5(e1, {24})) return 0;
    if (!TraceStroke(e0, junctions.left).Fits({0}, {3})) return 0;
    if (!TraceStroke(e1, junctions.right).Fits({0}, {1})) return 0;
    return StrictlyInsideHole(e0) && OnBottomRow(e1) ? 1 : 0;
}

// A tail under the ring: its two ends, at the lower corners, meet at one junction, which links
// up to a junction on the ring.
std::int16_t MatchQ_H1B2E2b() {
    if (!HoleIsFullBowl(Glyph.WidthUnit, Box().width / 3, 0.3)) return 0;
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair ends = InXOrder(EndNode(0), EndNode(1));
    if (!InZone5(j0, {17}) || !InZone5(j1, {21}) || !InZone5(ends.left, {20}) || !InZone5(ends.right, {24})) return 0;
    if (!TraceStroke(ends.left, j1).Fits({0}, {2})) return 0;
    if (!TraceStroke(ends.right, j1).Fits({2}, {1})) return 0;
    return LinkStroke(j0, j1).Fits({0}, {4}) ? 1 : 0;
}

// Two ends at the lower corners, each rising to a junction of its own under the ring.
std::int16_t MatchQ_H1B2E2c() {
    if (!HoleIsFullBowl(Glyph.WidthUnit, Box().width / 3, 0.3)) return 0;
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair ends = InXOrder(EndNode(0), EndNode(1));
    if (!InZone5(junctions.left, {16, 17, 22}) || !InZone5(junctions.right, {22})) return 0;
    if (!InZone5(ends.left, {20}) || !InZone5(ends.right, {23, 24})) return 0;
    if (!TraceStroke(ends.left, junctions.left).Fits({0}, {2})) return 0;
    return TraceStroke(ends.right, junctions.right).Fits({0, 2}, {1}) ? 1 : 0;
}

// A closed ring with the tail leaving its bottom towards the lower right corner.
std::int16_t MatchQ_H1B1E1a() {
    const GlyphBoxRecord& box = Box();
    if (!HoleIsFullBowl(1, box.width / 3, 0.3)) return 0;
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {21, 22, 23}) || !TraceStroke(e0, j0).Fits({0}, {1})) return 0;
    return e0.x >= box.right - Glyph.WidthUnit && e0.y >= box.bottom - Glyph.HeightUnit ? 1 : 0;
}

// The tail closed a small second hole under the ring, inside the ring's columns.
std::int16_t MatchQ_H2B3E1a() {
    const HoleBox& hole = LargestHole();
    const HoleBox& small = Glyph.HoleBoxes[1];
    if (hole.area < MinHoleAreaRatio * small.area) return 0;
    if (!HoleIsFullBowl(1, Box().width / 3, 0.3)) return 0;
    if (small.top >= hole.bottom || small.left < hole.left || small.right > hole.right) return 0;
    const SortedNodes junctions = JunctionsByX(0, 2);
    const Node e0 = EndNode(0);
    if (!InZone5(junctions.at[0], {16}) || !InZone5(junctions.at[1], {17}) || !InZone5(junctions.at[2], {18})) return 0;
    if (!InZone5(e0, {24})) return 0;
    return TraceStroke(e0, junctions.at[2]).Fits({0}, {1}) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterQ() {
    if (Glyph.HoleCount == 1) {
        if (IsCase(2, 2)) return AcceptFirstMatch({MatchQ_H1B2E2a, MatchQ_H1B2E2b, MatchQ_H1B2E2c});
        if (IsCase(1, 1)) return AcceptFirstMatch({MatchQ_H1B1E1a});
        return 0;
    }
    if (Glyph.HoleCount == 2 && IsCase(3, 1)) return AcceptFirstMatch({MatchQ_H2B3E1a});
    return 0;
}
