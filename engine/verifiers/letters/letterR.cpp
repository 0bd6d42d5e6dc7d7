#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/letters/stroke_limits.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double SteepStem = 1.8;  // the stem between two junctions

// Where the bowl's hole lies: its top near the top of the box, its bottom between a quarter of
// the height below the top and a third above the bottom, reaching within the given fractions of
// the width of both sides, and filling at least the given share of the box.
struct BowlLimits {
    int topSlack;      // hole.top <= top + topSlack
    int leftDivisor;   // hole.left <= left + width / leftDivisor
    int rightDivisor;  // hole.right >= right - width / rightDivisor
    double minRatio;
};

bool BowlFits(const BowlLimits& limits) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const HoleBox& hole = LargestHole();
    if (hole.top > box.top + limits.topSlack) return false;
    if (hole.bottom < box.top + box.height / 4 || hole.bottom > box.bottom - box.height / 3) return false;
    if (hole.left > box.left + box.width / limits.leftDivisor) return false;
    if (hole.right < box.right - box.width / limits.rightDivisor) return false;
    return HoleRatio(hole) >= limits.minRatio;
}

// The R hole test, run first by the closed-bowl templates with spurs.
bool PassesRHoleTest() { return BowlFits({Glyph.HeightUnit, 2, 3, 0.12}); }

// The stem from its foot up to the junction under the bowl.
bool StemRises(Node foot, Node junction, double minSlope) {
    return FitsSteep(TraceStroke(foot, junction), {0, 2}, {1, 2}, minSlope);
}

// The leg from its foot up-left to the bowl.
bool LegRises(Node foot, Node junction) { return TraceStroke(foot, junction).Fits({0, 2}, {1}); }

// A straight steep piece of the stem between two junctions.
bool StemLinks(Node upper, Node lower) { return FitsSteep(LinkStroke(upper, lower), {0}, {3, 4}, SteepStem); }

// The bowl's lower bar from the stem to the leg, or two touching junction pixels when no link
// between them is found.
bool BowlBarJoins(Node stem, Node leg) {
    const Stroke bar = LinkStroke(stem, leg);
    if (!bar.traced) return AreNeighbours(stem, leg);
    if (!bar.Fits({0, 1, 15}, {2, 3})) return false;
    return bar.shape == 0 ? bar.slope <= 0.5 : bar.lengthRatio >= 2.1;
}

// A closed bowl over the stem, the leg leaving the bowl at its lower right. It has its own hole
// limits instead of the R hole test.
std::int16_t MatchR_H1B2E2a() {
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair feet = InXOrder(EndNode(0), EndNode(1));
    if (!BowlFits({1, 3, 2, 0.2})) return 0;
    if (!InZone5(j.left, {5, 10, 11}) || !InZone5(j.right, {11, 12, 13, 14})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!StemRises(feet.left, j.left, 2.0) || !LegRises(feet.right, j.right)) return 0;
    if (!BowlBarJoins(j.left, j.right)) return 0;
    return HasRightWaistNotch() == 1 ? 1 : 0;
}

// A spur at the top left of the stem.
std::int16_t MatchR_H1B3E3a() {
    const Node j0 = JunctionNode(0);
    const NodePair j = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node e0 = EndNode(0);
    const SortedNodes feet = EndsByX(1, 2);
    if (!PassesRHoleTest()) return 0;
    if (!InZone5(j0, {0, 1}) || !InZone5(j.left, {10, 11}) || !InZone5(j.right, {12, 13})) return 0;
    if (!InZone5(e0, {0}) || !InZone5(feet.at[0], {20, 21, 22}) || !InZone5(feet.at[1], {24})) return 0;
    // The spur is straight and runs down to the right into the corner, or level to the right.
    const Stroke spur = TraceStroke(e0, j0);
    if (!spur.Fits({0}, {3}) && !(spur.Fits({0}, {2}) && j0.y >= e0.y)) return 0;
    if (!StemRises(feet.at[0], j.left, 1.5) || !LegRises(feet.at[1], j.right)) return 0;
    if (!StemLinks(j0, j.left)) return 0;
    return LinkStroke(j.left, j.right).Fits({0}, {2, 3}) ? 1 : 0;
}

// The foot of the stem split in two.
std::int16_t MatchR_H1B3E3b() {
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const SortedNodes ends = EndsByX(0, 2);
    if (!PassesRHoleTest()) return 0;
    if (!InZone5(j.left, {10, 11}) || !InZone5(j.right, {12, 13}) || !InZone5(j2, {20, 21})) return 0;
    if (!InZone5(ends.at[0], {20}) || !InZone5(ends.at[1], {21}) || !InZone5(ends.at[2], {24})) return 0;
    if (!StraightFeetMeet({ends.at[0], ends.at[1]}, j2)) return 0;
    if (!TraceStroke(ends.at[2], j.right).Fits({0, 1, 2}, {1})) return 0;
    if (!StemLinks(j.left, j2)) return 0;
    return FitsFlat(LinkStroke(j.left, j.right), {0, 1, 15}, {2, 3}, 0.8) ? 1 : 0;
}

// A spur at the top left of the stem and the foot split in two.
std::int16_t MatchR_H1B4E4a() {
    const Node j0 = JunctionNode(0);
    const Node j3 = JunctionNode(3);
    const NodePair j = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node e0 = EndNode(0);
    const SortedNodes feet = EndsByX(1, 3);
    if (!PassesRHoleTest()) return 0;
    if (!InZone5(j0, {0, 1}) || !InZone5(j.left, {10, 11}) || !InZone5(j.right, {12, 13})) return 0;
    if (!InZone5(j3, {20, 21}) || !InZone5(e0, {0})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22}) || !InZone5(feet.at[2], {24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3})) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, j3) || !LegRises(feet.at[2], j.right)) return 0;
    if (!StemLinks(j0, j.left) || !StemLinks(j.left, j3)) return 0;
    return LinkStroke(j.left, j.right).Fits({0}, {2, 3}) ? 1 : 0;
}

// A bowl that did not close: the stem bows round into the junction, where the bowl's loose end
// and the leg meet it. The loose end is short against the leg, the leg short against the stem.
std::int16_t MatchR_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const SortedNodes ends = EndsByX(0, 2);
    if (!InZone5(j0, {11, 12, 16, 17, 18}) || !InZone5(ends.at[0], {20})) return 0;
    if (!InZone5(ends.at[1], {11, 12}) || !InZone5(ends.at[2], {24})) return 0;
    const Stroke stem = TraceStroke(ends.at[0], j0);
    if (!stem.Fits({1}, {2})) return 0;
    const Stroke loose = TraceStroke(ends.at[1], j0);
    if (!loose.Fits({0}, {3})) return 0;
    const Stroke leg = TraceStroke(ends.at[2], j0);
    if (!leg.Fits({0}, {1})) return 0;
    return loose.length <= leg.length / 2 && leg.length <= stem.length / 3 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterR() {
    if (Glyph.HoleCount == 1) {
        if (IsCase(2, 2)) return AcceptFirstMatch({MatchR_H1B2E2a});
        if (IsCase(3, 3)) return AcceptFirstMatch({MatchR_H1B3E3a, MatchR_H1B3E3b});
        if (IsCase(4, 4)) return AcceptFirstMatch({MatchR_H1B4E4a});
        return 0;
    }
    if (Glyph.HoleCount == 0 && IsCase(1, 3)) return AcceptFirstMatch({MatchR_H0B1E3a});
    return 0;
}
