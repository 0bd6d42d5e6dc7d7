#include <initializer_list>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double SteepStem = 2.2;      // the stem below the fork is at least this steep
constexpr double SteepLoneStem = 2.4;  // ... and this steep when it runs into the fork itself
constexpr double LeaningStem = 1.2;    // a stem under a split right tip may lean this far

// The stem from the foot end up to the fork: bowed at most to one side, heading up.
bool StemRisesTo(Node foot, Node fork, std::initializer_list<int> shapes, double minSlope) {
    const Stroke stem = TraceStroke(foot, fork);
    return stem.Fits(shapes, {1, 2}) && stem.slope >= minSlope;
}

// The straight stem between the fork's junction and the foot's junction.
bool StemLinks(Node fork, Node foot) {
    const Stroke stem = LinkStroke(fork, foot);
    return stem.Fits({0}, {3, 4}) && stem.slope >= SteepStem;
}

// Two arms down to one junction, the left one heading down-right, the right one down-left.
bool ArmsMeet(Node left, Node right, Node junction, std::initializer_list<int> shapes) {
    return TraceStroke(left, junction).Fits(shapes, {3}) && TraceStroke(right, junction).Fits(shapes, {4});
}

// Three arms meeting in one junction near the centre.
std::int16_t MatchY_H0B1E3a() {
    const SortedNodes arms = EndsByX(0, 1);
    const Node es0 = arms.at[0];
    const Node es1 = arms.at[1];
    const Node e2 = EndNode(2);
    const Node j0 = JunctionNode(0);
    if (!InZone5(j0, {6, 7, 11, 12}) || !InZone5(es0, {0, 1}) || !InZone5(es1, {4})) return 0;
    if (!InZone5(e2, {21, 22, 23})) return 0;
    const Stroke left = TraceStroke(es0, j0);
    if (!left.Fits({0, 2}, {3}) || left.chordDirection != 1.0F) return 0;
    const Stroke right = TraceStroke(es1, j0);
    if (!right.Fits({0, 2}, {4}) || right.chordDirection != -1.0F) return 0;
    if (!StemRisesTo(e2, j0, {0, 2}, SteepLoneStem)) return 0;
    return OnTopRow(EndNode(0)) && OnBottomRow(e2) ? 1 : 0;
}

// The foot split in two.
std::int16_t MatchY_H0B2E4a() {
    const SortedNodes arms = EndsByX(0, 1);
    const NodePair foot = InXOrder(EndNode(2), EndNode(3));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone5(j0, {11, 12}) || !InZone5(j1, {21, 22})) return 0;
    if (!InZone5(arms.at[0], {0, 1}) || !InZone5(arms.at[1], {3, 4})) return 0;
    if (!InZone5(foot.left, {20, 21}) || !InZone5(foot.right, {23})) return 0;
    if (!ArmsMeet(arms.at[0], arms.at[1], j0, {0, 1, 2}) || !StraightFeetMeet(foot, j1)) return 0;
    if (!StemLinks(j0, j1)) return 0;
    return EndNode(0).y <= Glyph.GlyphBox.top + 2 ? 1 : 0;
}

// The upper-right tip split in two.
std::int16_t MatchY_H0B2E4b() {
    const SortedNodes tips = EndsByX(0, 2);
    const Node e3 = EndNode(3);
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone5(j0, {3, 4}) || !InZone5(j1, {11, 12})) return 0;
    if (!InZone5(tips.at[0], {0, 1}) || !InZone5(tips.at[1], {3}) || !InZone5(tips.at[2], {4})) return 0;
    if (!InZone5(e3, {21, 22, 23})) return 0;
    if (!TraceStroke(tips.at[0], j1).Fits({0, 2}, {3})) return 0;
    if (!ArmsMeet(tips.at[1], tips.at[2], j0, {0})) return 0;
    if (!StemRisesTo(e3, j1, {0, 2}, LeaningStem)) return 0;
    return LinkStroke(j0, j1).Fits({0}, {4}) ? 1 : 0;
}

// The upper-left tip and the foot split.
std::int16_t MatchY_H0B3E5a() {
    const SortedNodes tips = EndsByX(0, 2);
    const NodePair foot = InXOrder(EndNode(3), EndNode(4));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    if (!InZone5(j0, {0, 1}) || !InZone5(j1, {12}) || !InZone5(j2, {22})) return 0;
    if (!InZone5(tips.at[0], {0}) || !InZone5(tips.at[1], {1, 2}) || !InZone5(tips.at[2], {4})) return 0;
    if (!InZone5(foot.left, {21}) || !InZone5(foot.right, {23})) return 0;
    if (!ArmsMeet(tips.at[0], tips.at[1], j0, {0})) return 0;
    if (!TraceStroke(tips.at[2], j1).Fits({0}, {4})) return 0;
    if (!StraightFeetMeet(foot, j2)) return 0;
    if (!LinkStroke(j0, j1).Fits({0}, {3}) || !StemLinks(j1, j2)) return 0;
    return OnTopRow(EndNode(0)) ? 1 : 0;
}

// Both upper tips split.
std::int16_t MatchY_H0B3E5b() {
    const NodePair forks = InXOrder(JunctionNode(0), JunctionNode(1));
    const SortedNodes tips = EndsByX(0, 3);
    const Node e4 = EndNode(4);
    const Node j2 = JunctionNode(2);
    if (!InZone5(forks.left, {0, 1}) || !InZone5(forks.right, {3, 4}) || !InZone5(j2, {12})) return 0;
    if (!InZone5(tips.at[0], {0}) || !InZone5(tips.at[1], {1, 2})) return 0;
    if (!InZone5(tips.at[2], {2, 3}) || !InZone5(tips.at[3], {4})) return 0;
    if (!InZone5(e4, {21, 22, 23})) return 0;
    if (!ArmsMeet(tips.at[0], tips.at[1], forks.left, {0})) return 0;
    if (!ArmsMeet(tips.at[2], tips.at[3], forks.right, {0})) return 0;
    if (!StemRisesTo(e4, j2, {0}, SteepStem)) return 0;
    if (!LinkStroke(forks.left, j2).Fits({0}, {3}) || !LinkStroke(forks.right, j2).Fits({0}, {4})) return 0;
    return OnTopRow(EndNode(0)) ? 1 : 0;
}

// The upper-right tip and the foot split.
std::int16_t MatchY_H0B3E5c() {
    const SortedNodes tips = EndsByX(0, 2);
    const NodePair foot = InXOrder(EndNode(3), EndNode(4));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    if (!InZone5(j0, {3, 4}) || !InZone5(j1, {12}) || !InZone5(j2, {22})) return 0;
    if (!InZone5(tips.at[0], {0}) || !InZone5(tips.at[1], {2, 3}) || !InZone5(tips.at[2], {4})) return 0;
    if (!InZone5(foot.left, {21}) || !InZone5(foot.right, {23})) return 0;
    if (!TraceStroke(tips.at[0], j1).Fits({0, 1}, {3})) return 0;
    if (!ArmsMeet(tips.at[1], tips.at[2], j0, {0})) return 0;
    if (!StraightFeetMeet(foot, j2)) return 0;
    if (!LinkStroke(j0, j1).Fits({0}, {4}) || !StemLinks(j1, j2)) return 0;
    return EndNode(0).y <= Glyph.GlyphBox.top + 2 ? 1 : 0;
}

// All three tips split. The junctions and the end points are sorted one after the other; each
// sort keeps its own copy, so the fork roles survive the second sort.
std::int16_t MatchY_H0B4E6a() {
    const SortedNodes forks = JunctionsByX(0, 1);
    const SortedNodes tips = EndsByX(0, 3);
    const NodePair foot = InXOrder(EndNode(4), EndNode(5));
    const Node j2 = JunctionNode(2);
    const Node j3 = JunctionNode(3);
    if (!InZone5(forks.at[0], {0, 1}) || !InZone5(forks.at[1], {3, 4})) return 0;
    if (!InZone5(j2, {12}) || !InZone5(j3, {22})) return 0;
    if (!InZone5(tips.at[0], {0}) || !InZone5(tips.at[1], {1, 2})) return 0;
    if (!InZone5(tips.at[2], {2, 3}) || !InZone5(tips.at[3], {4})) return 0;
    if (!InZone5(foot.left, {21}) || !InZone5(foot.right, {23})) return 0;
    if (!ArmsMeet(tips.at[0], tips.at[1], forks.at[0], {0})) return 0;
    if (!ArmsMeet(tips.at[2], tips.at[3], forks.at[1], {0})) return 0;
    if (!StraightFeetMeet(foot, j3)) return 0;
    if (!LinkStroke(forks.at[0], j2).Fits({0}, {3}) || !LinkStroke(forks.at[1], j2).Fits({0}, {4})) return 0;
    return StemLinks(j2, j3) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterY() {
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchY_H0B1E3a});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchY_H0B2E4a, MatchY_H0B2E4b});
    if (IsCase(3, 5)) return AcceptFirstMatch({MatchY_H0B3E5a, MatchY_H0B3E5b, MatchY_H0B3E5c});
    if (IsCase(4, 6)) return AcceptFirstMatch({MatchY_H0B4E6a});
    return 0;
}
