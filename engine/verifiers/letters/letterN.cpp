#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

// With a middle bar and an H vote, the junctions of a two-junction N must lie at least this
// many rows apart: an H's bar ends on both stems at one height.
constexpr int MinJunctionRowGap = 4;

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

bool HasHVote() {
    const int slot = LetterSlot('H');
    return slot >= 0 && slot < LetterVoteSlots && Glyph.LetterVotes[slot] != 0;
}

// The three upper ends: the spur of the upper left corner runs down into its junction, the split
// top of the right stem meets at the right junction from either side.
bool SplitTopsMeet(const SortedNodes& tops, Node left, Node right) {
    if (!TraceStroke(tops.at[0], left).Fits({0}, {3})) return false;
    return TraceStroke(tops.at[1], right).Fits({0}, {3}) && TraceStroke(tops.at[2], right).Fits({0}, {4});
}

// A straight link down, at least this steep.
bool SteepLink(Node upper, Node lower, std::initializer_list<int> shapes, double minSlope) {
    const Stroke link = LinkStroke(upper, lower);
    return link.Fits(shapes, {3, 4}) && link.slope >= minSlope;
}

// The one-stroke N: up the left stem, down the diagonal, up the right stem.
std::int16_t MatchN_H0B0E2a() {
    const GlyphBoxRecord& box = Box();
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!IsPresent(e0) || !IsPresent(e1)) return 0;
    if (e0.x < box.right - Glyph.WidthUnit || e0.y > box.top + Glyph.HeightUnit) return 0;
    if (e1.x > box.left + Glyph.WidthUnit || e1.y < box.bottom - Glyph.HeightUnit) return 0;
    const Stroke s = TraceStroke(e1, e0);
    if (!s.Fits({3}, {2}) || s.chordDirection != -1.0F) return 0;
    return InSet(s.earlyDirection, {1, 2}) && InSet(s.lateDirection, {3, 4}) ? 1 : 0;
}

// A spur at the lower right corner; the left stem and the diagonal trace as one bow.
std::int16_t MatchN_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {18, 19, 24}) || !InZone5(e0, {4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {4})) return 0;
    const Stroke left = TraceStroke(feet.left, j0);
    if (!left.Fits({1}, {2}) || left.chordDirection != -1.0F) return 0;
    return TraceStroke(feet.right, j0).Fits({0}, {1}) ? 1 : 0;
}

// A spur at the upper left corner; the diagonal and the right stem trace as one bow.
std::int16_t MatchN_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {0, 5, 6}) || !InZone5(tops.left, {0}) || !InZone5(tops.right, {3, 4})) return 0;
    if (!InZone5(e2, {20, 21})) return 0;
    if (!TraceStroke(tops.left, j0).Fits({0}, {3})) return 0;
    const Stroke right = TraceStroke(tops.right, j0);
    if (!right.Fits({2}, {1, 4}) || right.slope > 0.9) return 0;
    const Stroke stem = TraceStroke(e2, j0);
    return stem.Fits({0}, {1, 2}) && stem.slope >= 2.0 ? 1 : 0;
}

// Spurs at both corners; the diagonal links them.
std::int16_t MatchN_H0B2E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {0, 1, 5, 6, 10, 11, 12}) || !InZone5(j1, {12, 13, 14, 18, 19, 24})) return 0;
    if (!InZone5(tops.left, {0, 1}) || !InZone5(tops.right, {3, 4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TraceStroke(tops.left, j0).Fits({0}, {3}) || !TraceStroke(tops.right, j1).Fits({0, 1, 2}, {3, 4})) return 0;
    const Stroke left = TraceStroke(feet.left, j0);
    if (!left.Fits({0, 1, 2}, {1, 2}) || (left.shape == 2 && left.chordDirection < 0.0F)) return 0;
    if (!TraceStroke(feet.right, j1).Fits({0}, {1, 2})) return 0;
    return LinkStroke(j0, j1).Fits({0}, {3}) ? 1 : 0;
}

// A spur at the upper left corner, the right stem's top split; the diagonal and the right stem
// are one bow between the two junctions.
std::int16_t MatchN_H0B2E4b() {
    const SortedNodes tops = EndsByX(0, 2);
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node e3 = EndNode(3);
    if (!InZone5(junctions.left, {0, 1, 5, 6}) || !InZone5(junctions.right, {3, 4})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {3}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(e3, {20})) return 0;
    if (!SplitTopsMeet(tops, junctions.left, junctions.right)) return 0;
    const Stroke stem = TraceStroke(e3, junctions.left);
    if (!stem.Fits({0}, {1, 2}) || stem.slope < 2.0) return 0;
    const Stroke link = LinkStroke(junctions.left, junctions.right);
    return link.Fits({2}, {2, 3}) && link.slope <= 0.4 ? 1 : 0;
}

// Spurs at both corners, the right stem's top split.
std::int16_t MatchN_H0B3E5a() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 4);
    if (!InZone5(upper.left, {0, 1, 6}) || !InZone5(upper.right, {4}) || !InZone5(j2, {18, 19, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {3}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {23, 24})) return 0;
    if (!SplitTopsMeet(tops, upper.left, upper.right)) return 0;
    const Stroke stem = TraceStroke(feet.at[0], upper.left);
    if (!stem.Fits({0}, {1, 2}) || stem.slope < 2.4) return 0;
    if (!TraceStroke(feet.at[1], j2).Fits({0}, {1})) return 0;
    if (!LinkStroke(upper.left, j2).Fits({0}, {3})) return 0;
    return SteepLink(upper.right, j2, {0}, 3.0) ? 1 : 0;
}

// A spur at the upper left corner, the right stem's top and the left stem's foot split; the
// diagonal and the right stem are one bow.
std::int16_t MatchN_H0B3E5b() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 4);
    if (!InZone5(upper.left, {0, 1, 6}) || !InZone5(upper.right, {4}) || !InZone5(j2, {20, 21})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {3}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22})) return 0;
    if (!SplitTopsMeet(tops, upper.left, upper.right)) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, j2)) return 0;
    if (!SteepLink(upper.left, j2, {0, 1, 2}, 2.2)) return 0;
    const Stroke link = LinkStroke(upper.left, upper.right);
    return link.Fits({2}, {2, 3}) && link.slope <= 0.5 ? 1 : 0;
}

// Spurs at both corners, the left stem's foot split.
std::int16_t MatchN_H0B3E5c() {
    const Node j0 = JunctionNode(0);
    const NodePair lower = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 1);
    const SortedNodes feet = EndsByX(2, 4);
    if (!InZone5(j0, {0, 1, 6}) || !InZone5(lower.left, {20, 21}) || !InZone5(lower.right, {18, 19, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {3, 4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21}) || !InZone5(feet.at[2], {23, 24})) return 0;
    if (!TraceStroke(tops.at[0], j0).Fits({0}, {3})) return 0;
    if (!TraceStroke(tops.at[1], lower.right).Fits({0, 1}, {3, 4})) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, lower.left)) return 0;
    if (!TraceStroke(feet.at[2], lower.right).Fits({0}, {1, 2})) return 0;
    if (!LinkStroke(j0, lower.right).Fits({0}, {3})) return 0;
    return SteepLink(j0, lower.left, {0}, 3.0) ? 1 : 0;
}

// The right stem's top and the left stem's foot split, a spur at the lower right corner; the left
// stem and the diagonal are one bow.
std::int16_t MatchN_H0B3E5d() {
    const Node j0 = JunctionNode(0);
    const NodePair lower = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 1);
    const SortedNodes feet = EndsByX(2, 4);
    if (!InZone5(j0, {3, 4}) || !InZone5(lower.left, {20, 21}) || !InZone5(lower.right, {18, 19, 24})) return 0;
    if (!InZone5(tops.at[0], {2, 3}) || !InZone5(tops.at[1], {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22}) || !InZone5(feet.at[2], {23, 24})) return 0;
    if (!TraceStroke(tops.at[0], j0).Fits({0}, {3}) || !TraceStroke(tops.at[1], j0).Fits({0}, {4})) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, lower.left)) return 0;
    if (!TraceStroke(feet.at[2], lower.right).Fits({0}, {1, 2})) return 0;
    if (!SteepLink(j0, lower.right, {0}, 1.4)) return 0;
    const Stroke link = LinkStroke(lower.left, lower.right);
    return link.Fits({1}, {2}) && link.slope <= 1.0 ? 1 : 0;
}

// Spurs at both corners, the right stem's top and the left stem's foot split.
std::int16_t MatchN_H0B4E6a() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair lower = InXOrder(JunctionNode(2), JunctionNode(3));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 5);
    if (!InZone5(upper.left, {0, 1, 6}) || !InZone5(upper.right, {4})) return 0;
    if (!InZone5(lower.left, {20}) || !InZone5(lower.right, {18, 19, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {3}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21}) || !InZone5(feet.at[2], {23, 24})) return 0;
    if (!SplitTopsMeet(tops, upper.left, upper.right)) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, lower.left)) return 0;
    if (!TraceStroke(feet.at[2], lower.right).Fits({0}, {1})) return 0;
    if (!SteepLink(upper.left, lower.left, {0, 1}, 3.0) || !SteepLink(upper.right, lower.right, {0, 2}, 3.0)) return 0;
    return LinkStroke(upper.left, lower.right).Fits({0}, {3}) ? 1 : 0;
}

// An H-like glyph with two junctions: with a middle bar and an H vote, the junctions must not
// lie at one height.
bool JunctionsApartFromH() {
    if (LacksMiddleBar() != 0 || !HasHVote()) return true;
    return JunctionNode(1).y >= JunctionNode(0).y + MinJunctionRowGap;
}

}  // namespace

std::int16_t IsLetterN() {
    if (HasSteadyRightBottomProfile() == 0 || Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchN_H0B0E2a});
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchN_H0B1E3a, MatchN_H0B1E3b});
    if (IsCase(2, 4)) return JunctionsApartFromH() ? AcceptFirstMatch({MatchN_H0B2E4a, MatchN_H0B2E4b}) : 0;
    if (IsCase(3, 5)) return AcceptFirstMatch({MatchN_H0B3E5a, MatchN_H0B3E5b, MatchN_H0B3E5c, MatchN_H0B3E5d});
    if (IsCase(4, 6)) return AcceptFirstMatch({MatchN_H0B4E6a});
    return 0;
}
