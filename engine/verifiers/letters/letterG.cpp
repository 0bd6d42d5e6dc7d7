#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

// The bow from the upper tip: one of the shapes, heading down, and not starting off down-right.
bool BowFits(const Stroke& bow, std::initializer_list<int> shapes) {
    return bow.Fits(shapes, {3, 4}) && bow.earlyDirection != 3;
}

// The bar: its left end drawn in down-right to the junction, its right end in the given
// direction.
bool BarFits(NodePair bar, Node junction, int rightDirection) {
    if (!TraceStroke(bar.left, junction).Fits({0}, {3})) return false;
    return TraceStroke(bar.right, junction).Fits({0}, {rightDirection});
}

// One stroke from the upper tip round to the lower right, closed on the right.
std::int16_t MatchG_H0B0E2a() {
    const Node tip = EndNode(0);
    const Node tail = EndNode(1);
    if (!InZone5(tip, {2, 3, 4, 9}) || !InZone5(tail, {12, 13, 14, 18, 19})) return 0;
    const Stroke bow = TraceStroke(tip, tail);
    if (!BowFits(bow, {1, 2, 3, 9, 10, 15}) || bow.nearEndDirection == 1) return 0;
    return HasOpenRightSide() == 0 ? 1 : 0;
}

// The bow ends in the bar's junction at the right.
std::int16_t MatchG_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node tip = EndNode(0);
    const NodePair bar = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {13, 14, 18, 19}) || !InZone5(tip, {3, 4, 8, 9})) return 0;
    if (!InZone5(bar.left, {12, 13}) || !InZone5(bar.right, {14})) return 0;
    const Stroke bow = TraceStroke(tip, j0);
    if (!BowFits(bow, {10}) || !InSet(bow.nearEndDirection, {3, 4})) return 0;
    return BarFits(bar, j0, 4) ? 1 : 0;
}

// The bow ends in a junction at the bottom right, from which the right side rises to the bar.
std::int16_t MatchG_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const Node tip = EndNode(0);
    const NodePair bar = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {23, 24}) || !InZone5(tip, {3, 4, 8, 9})) return 0;
    if (!InZone5(bar.left, {12, 13}) || !InZone5(bar.right, {24})) return 0;
    const Stroke bow = TraceStroke(tip, j0);
    if (!BowFits(bow, {1}) || bow.slope < 2.0 || !InSet(bow.nearEndDirection, {3, 4})) return 0;
    return BarFits(bar, j0, 1) ? 1 : 0;
}

// The bar's junction at the right and a spur at the bottom right.
std::int16_t MatchG_H0B2E4a() {
    const Node barFork = JunctionNode(0);
    const Node lowFork = JunctionNode(1);
    const Node tip = EndNode(0);
    const NodePair bar = InXOrder(EndNode(1), EndNode(2));
    const Node spur = EndNode(3);
    if (!InZone5(barFork, {13, 14, 18, 19}) || !InZone5(lowFork, {23, 24}) || !InZone5(tip, {3, 4, 8, 9})) return 0;
    if (!InZone5(bar.left, {12, 13}) || !InZone5(bar.right, {14}) || !InZone5(spur, {24})) return 0;
    const Stroke bow = TraceStroke(tip, lowFork);
    if (!BowFits(bow, {1, 2, 10}) || bow.slope < 2.2) return 0;
    if (!BarFits(bar, barFork, 4)) return 0;
    const Stroke tail = TraceStroke(spur, lowFork);
    if (!tail.Fits({0}, {1, 2}) || tail.slope < 0.8) return 0;
    const Stroke side = LinkStroke(barFork, lowFork);
    return side.Fits({0}, {3, 4}) && side.slope >= 2.2 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterG() {
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchG_H0B0E2a});
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchG_H0B1E3a, MatchG_H0B1E3b});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchG_H0B2E4a});
    return 0;
}
