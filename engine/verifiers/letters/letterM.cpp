#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letterM_parts.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profiles.h"

namespace {

constexpr int MinGlyphHeight = 5;     // no M is this short or shorter
constexpr int MinTripleRunRows = 2;   // rows that cross both diagonals between the stems

// Both stem tops run straight down, the left one to the right, the right one to the left.
bool TopsRunDown(NodePair tops, Node left, Node right) {
    return TraceStroke(tops.left, left).Fits({0}, {3}) && TraceStroke(tops.right, right).Fits({0}, {4});
}

// A straight link down, at least this steep.
bool SteepLink(Node upper, Node lower, double minSlope) {
    const Stroke link = LinkStroke(upper, lower);
    return link.Fits({0}, {3, 4}) && link.slope >= minSlope;
}

// The link across the top between the stem junctions: both diagonals in one shallow bow.
bool FlatTopLink(Node left, Node right) {
    const Stroke link = LinkStroke(left, right);
    return link.Fits({2}, {2, 3}) && link.slope <= 0.3;
}

// The closed-up M: one bowed stroke from foot to foot, nearly twice as long as its chord.
std::int16_t MatchM_H0B0E2a() {
    const NodePair ends = InXOrder(EndNode(0), EndNode(1));
    if (!InZone5(ends.left, {20}) || !InZone5(ends.right, {24})) return 0;
    const Stroke s = TraceStroke(ends.left, ends.right);
    return s.Fits({1, 8}, {2, 3}) && s.slope <= 0.2 && s.lengthRatio >= 1.8 ? 1 : 0;
}

// A spur below the middle vertex; each stem and its diagonal trace as one bow.
std::int16_t MatchM_H0B1E3a() {
    const SortedNodes feet = EndsByX(0, 2);
    const Node j0 = JunctionNode(0);
    if (!InZone5(j0, {17, 22}) || !InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {22})) return 0;
    if (!InZone5(feet.at[2], {24})) return 0;
    const Stroke left = TraceStroke(feet.at[0], j0);
    if (!left.Fits({1, 15}, {2}) || left.lengthRatio < 1.8) return 0;
    if (!FootRisesTo(feet.at[1], j0, {0}, 1.8)) return 0;
    const Stroke right = TraceStroke(feet.at[2], j0);
    return right.Fits({1, 15}, {1}) && right.lengthRatio >= 1.8 ? 1 : 0;
}

// A spur at the right stem's top; the left stem and both diagonals trace as one stroke.
std::int16_t MatchM_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {4, 8, 9}) || !InZone5(e0, {3, 4})) return 0;
    if (!InZone5(feet.left, {20}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3, 4})) return 0;
    const Stroke left = TraceStroke(feet.left, j0);
    if (!left.Fits({1, 3}, {2}) || left.chordDirection != -1.0F || left.lengthRatio < 1.1) return 0;
    return FootRisesTo(feet.right, j0, {0, 1, 2}, 1.8) ? 1 : 0;
}

// A spur at the left stem's top; the right stem and both diagonals trace as one stroke.
std::int16_t MatchM_H0B1E3c() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {0, 5, 6}) || !InZone5(e0, {0})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3})) return 0;
    if (!FootRisesTo(feet.left, j0, {0, 2}, 1.8)) return 0;
    const Stroke right = TraceStroke(feet.right, j0);
    return right.Fits({1, 4}, {1}) && right.chordDirection == 1.0F && right.lengthRatio >= 1.4 ? 1 : 0;
}

// Spurs at both stem tops; the two diagonals link them in one flat stroke.
std::int16_t MatchM_H0B2E4a() {
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(junctions.left, {0, 5, 6, 10}) || !InZone5(junctions.right, {4, 8, 9, 14})) return 0;
    if (!InZone5(tops.left, {0, 1}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TopsRunDown(tops, junctions.left, junctions.right)) return 0;
    if (!FootRisesTo(feet.left, junctions.left, {0, 2}, 1.8)) return 0;
    if (!FootRisesTo(feet.right, junctions.right, {0, 2}, 1.8)) return 0;
    const Stroke link = LinkStroke(junctions.left, junctions.right);
    return link.Fits({0, 2}, {2, 3}) && link.slope <= 0.5 ? 1 : 0;
}

// Spurs at the left stem's top and below the vertex; the right stem and its diagonal are one bow.
std::int16_t MatchM_H0B2E4b() {
    const Node e0 = EndNode(0);
    const SortedNodes feet = EndsByX(1, 3);
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone5(j0, {0}) || !InZone5(j1, {17, 22}) || !InZone5(e0, {0})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {22}) || !InZone5(feet.at[2], {23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3})) return 0;
    if (!FootRisesTo(feet.at[0], j0, {0, 2}, 1.4) || !FootRisesTo(feet.at[1], j1, {0}, 1.1)) return 0;
    const Stroke right = TraceStroke(feet.at[2], j1);
    if (!right.Fits({1, 15}, {1}) || right.lengthRatio < 1.8) return 0;
    return LinkStroke(j0, j1).Fits({0}, {3}) ? 1 : 0;
}

// Spurs at the right stem's top and below the vertex; the left stem and its diagonal are one bow.
std::int16_t MatchM_H0B2E4c() {
    const Node e0 = EndNode(0);
    const SortedNodes feet = EndsByX(1, 3);
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone5(j0, {3, 4, 9}) || !InZone5(j1, {12, 17, 22}) || !InZone5(e0, {3, 4})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {22}) || !InZone5(feet.at[2], {23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {4})) return 0;
    const Stroke left = TraceStroke(feet.at[0], j1);
    if (!left.Fits({1}, {2}) || left.lengthRatio < 1.8) return 0;
    if (!FootRisesTo(feet.at[1], j1, {0}, 1.1) || !FootRisesTo(feet.at[2], j0, {0, 2}, 1.2)) return 0;
    return LinkStroke(j0, j1).Fits({0}, {4}) ? 1 : 0;
}

// Spurs at both stem tops and below the vertex.
std::int16_t MatchM_H0B3E5a() {
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 4);
    if (!InZone5(junctions.left, {0, 1, 5, 6, 10, 11})) return 0;
    if (!InZone5(junctions.right, {3, 4, 8, 9, 13, 14, 18})) return 0;
    if (!InZone5(j2, {12, 16, 17, 18, 22}) || !ThreeFootEndsInZones(tops, feet)) return 0;
    if (!ThreeFootStrokesFit(tops, feet, {junctions.left, junctions.right, junctions.left, j2, junctions.right})) {
        return 0;
    }
    // The left diagonal may be so short that its direction says nothing.
    const Stroke left = LinkStroke(junctions.left, j2);
    if (!left.FitsShape({0}) || (left.length > 2 && left.direction != 3)) return 0;
    return LinkStroke(junctions.right, j2).Fits({0}, {4}) ? 1 : 0;
}

// Spurs at both stem tops, the left stem's foot split; the diagonals trace as one shallow bow.
std::int16_t MatchM_H0B3E5b() {
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 4);
    if (!InZone5(junctions.left, {0, 6}) || !InZone5(junctions.right, {4, 8}) || !InZone5(j2, {20})) return 0;
    if (!InZone5(tops.left, {0}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21}) || !InZone5(feet.at[2], {23, 24})) return 0;
    if (!TopsRunDown(tops, junctions.left, junctions.right)) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, j2)) return 0;
    if (!FootRisesTo(feet.at[2], junctions.right, {0, 2}, 1.8)) return 0;
    return SteepLink(junctions.left, j2, 1.8) && FlatTopLink(junctions.left, junctions.right) ? 1 : 0;
}

// Spurs at the right stem's top and below the vertex, the right stem's foot split; the left stem
// and its diagonal are one bow.
std::int16_t MatchM_H0B3E5c() {
    const Node j0 = JunctionNode(0);
    const NodePair lower = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node e0 = EndNode(0);
    const SortedNodes feet = EndsByX(1, 4);
    if (!InZone5(j0, {3, 4}) || !InZone5(lower.left, {17}) || !InZone5(lower.right, {24})) return 0;
    if (!InZone5(e0, {4}) || !InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {22})) return 0;
    if (!InZone5(feet.at[2], {23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {4})) return 0;
    const Stroke left = TraceStroke(feet.at[0], lower.left);
    if (!left.Fits({1}, {2}) || left.chordDirection != -1.0F || left.lengthRatio < 1.8) return 0;
    if (!FootRisesTo(feet.at[1], lower.left, {0}, 1.8)) return 0;
    if (!StraightFeetMeet({feet.at[2], feet.at[3]}, lower.right)) return 0;
    return LinkStroke(j0, lower.left).Fits({0}, {4}) && SteepLink(j0, lower.right, 1.8) ? 1 : 0;
}

// Spurs at both stem tops, the right stem's foot split; the diagonals trace as one shallow bow.
std::int16_t MatchM_H0B3E5d() {
    const NodePair junctions = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 4);
    if (!InZone5(junctions.left, {0, 5, 6}) || !InZone5(junctions.right, {4, 8}) || !InZone5(j2, {24})) return 0;
    if (!InZone5(tops.left, {0}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {23}) || !InZone5(feet.at[2], {24})) return 0;
    if (!TopsRunDown(tops, junctions.left, junctions.right)) return 0;
    if (!FootRisesTo(feet.at[0], junctions.left, {0, 2}, 1.2)) return 0;
    if (!StraightFeetMeet({feet.at[1], feet.at[2]}, j2)) return 0;
    return SteepLink(junctions.right, j2, 1.8) && FlatTopLink(junctions.left, junctions.right) ? 1 : 0;
}

// Spurs at the left stem's top and below the vertex, the right stem's foot split; the right
// diagonal and the right stem are one bow. The junctions are named in x order.
std::int16_t MatchM_H0B3E5e() {
    const SortedNodes junctions = JunctionsByX(0, 2);
    const Node e0 = EndNode(0);
    const SortedNodes feet = EndsByX(1, 4);
    if (!InZone5(junctions.at[0], {0, 5}) || !InZone5(junctions.at[1], {12, 17})) return 0;
    if (!InZone5(junctions.at[2], {23, 24}) || !InZone5(e0, {0})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {22})) return 0;
    if (!InZone5(feet.at[2], {23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!TraceStroke(e0, junctions.at[0]).Fits({0}, {3})) return 0;
    if (!FootRisesTo(feet.at[0], junctions.at[0], {0, 2}, 1.2)) return 0;
    if (!FootRisesTo(feet.at[1], junctions.at[1], {0}, 1.2)) return 0;
    if (!StraightFeetMeet({feet.at[2], feet.at[3]}, junctions.at[2])) return 0;
    if (!LinkStroke(junctions.at[0], junctions.at[1]).Fits({0}, {3})) return 0;
    return LinkStroke(junctions.at[1], junctions.at[2]).Fits({1}, {3}) ? 1 : 0;
}

// Spurs at both stem tops and below the vertex, the right stem's foot split.
std::int16_t MatchM_H0B4E6a() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const Node j3 = JunctionNode(3);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 5);
    if (!InZone5(upper.left, {0}) || !InZone5(upper.right, {3, 4, 8})) return 0;
    if (!InZone5(j2, {17, 22}) || !InZone5(j3, {23, 24})) return 0;
    if (!InZone5(tops.left, {0}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {22})) return 0;
    if (!InZone5(feet.at[2], {23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!TopsRunDown(tops, upper.left, upper.right)) return 0;
    if (!FootRisesTo(feet.at[0], upper.left, {0, 2}, 2.4) || !FootRisesTo(feet.at[1], j2, {0}, 1.8)) return 0;
    if (!StraightFeetMeet({feet.at[2], feet.at[3]}, j3)) return 0;
    if (!LinkStroke(upper.left, j2).Fits({0}, {3}) || !LinkStroke(upper.right, j2).Fits({0}, {4})) return 0;
    return SteepLink(upper.right, j3, 2.4) ? 1 : 0;
}

// Spurs at both stem tops, both feet split; the diagonals trace as one shallow bow.
std::int16_t MatchM_H0B4E6b() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair lower = InXOrder(JunctionNode(2), JunctionNode(3));
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 5);
    if (!InZone5(upper.left, {0, 1, 5, 6}) || !InZone5(upper.right, {3, 4, 8})) return 0;
    if (!InZone5(lower.left, {20, 21}) || !InZone5(lower.right, {23, 24})) return 0;
    if (!InZone5(tops.left, {0}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {20, 21})) return 0;
    if (!InZone5(feet.at[2], {23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!TopsRunDown(tops, upper.left, upper.right)) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, lower.left)) return 0;
    if (!StraightFeetMeet({feet.at[2], feet.at[3]}, lower.right)) return 0;
    if (!FlatTopLink(upper.left, upper.right)) return 0;
    return SteepLink(upper.left, lower.left, 2.4) && SteepLink(upper.right, lower.right, 2.4) ? 1 : 0;
}

// Spurs at both stem tops and below the vertex, the left stem's foot split.
std::int16_t MatchM_H0B4E6c() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const Node j3 = JunctionNode(3);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 5);
    if (!InZone5(upper.left, {0}) || !InZone5(upper.right, {4, 8, 9})) return 0;
    if (!InZone5(j2, {17, 22}) || !InZone5(j3, {20, 21})) return 0;
    if (!InZone5(tops.left, {0}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21})) return 0;
    if (!InZone5(feet.at[2], {22}) || !InZone5(feet.at[3], {23, 24})) return 0;
    if (!TopsRunDown(tops, upper.left, upper.right)) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, j3)) return 0;
    if (!FootRisesTo(feet.at[2], j2, {0}, 1.2) || !FootRisesTo(feet.at[3], upper.right, {0, 2}, 1.4)) return 0;
    if (!LinkStroke(upper.left, j2).Fits({0}, {3}) || !LinkStroke(upper.right, j2).Fits({0}, {4})) return 0;
    return SteepLink(upper.left, j3, 2.4) ? 1 : 0;
}

// Spurs at both stem tops and below the vertex, both feet split.
std::int16_t MatchM_H0B5E7a() {
    const NodePair upper = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const NodePair lower = InXOrder(JunctionNode(3), JunctionNode(4));
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 6);
    if (!InZone5(upper.left, {0, 6}) || !InZone5(upper.right, {3, 4, 8}) || !InZone5(j2, {17, 22})) return 0;
    if (!InZone5(lower.left, {20}) || !InZone5(lower.right, {23, 24})) return 0;
    if (!InZone5(tops.left, {0}) || !InZone5(tops.right, {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {20, 21}) || !InZone5(feet.at[2], {22})) return 0;
    if (!InZone5(feet.at[3], {23}) || !InZone5(feet.at[4], {24})) return 0;
    if (!TopsRunDown(tops, upper.left, upper.right)) return 0;
    if (!StraightFeetMeet({feet.at[0], feet.at[1]}, lower.left)) return 0;
    if (!FootRisesTo(feet.at[2], j2, {0}, 1.8)) return 0;
    if (!StraightFeetMeet({feet.at[3], feet.at[4]}, lower.right)) return 0;
    if (!LinkStroke(upper.left, j2).Fits({0}, {3}) || !LinkStroke(upper.right, j2).Fits({0}, {4})) return 0;
    return SteepLink(upper.left, lower.left, 2.4) && SteepLink(upper.right, lower.right, 2.4) ? 1 : 0;
}

}  // namespace

bool FootRisesTo(Node foot, Node junction, std::initializer_list<int> shapes, double minSlope) {
    const Stroke s = TraceStroke(foot, junction);
    return s.Fits(shapes, {1, 2}) && s.slope >= minSlope;
}

bool ThreeFootEndsInZones(NodePair tops, const SortedNodes& feet) {
    if (!InZone5(tops.left, {0, 1}) || !InZone5(tops.right, {3, 4})) return false;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {12, 17, 21, 22, 23})) return false;
    return InZone5(feet.at[2], {23, 24});
}

bool ThreeFootStrokesFit(NodePair tops, const SortedNodes& feet, const ThreeFootTargets& to) {
    if (!TraceStroke(tops.left, to.leftTop).Fits({0}, {3, 4})) return false;
    if (!TraceStroke(tops.right, to.rightTop).Fits({0}, {3, 4})) return false;
    if (!FootRisesTo(feet.at[0], to.leftFoot, {0}, 1.7)) return false;
    return FootRisesTo(feet.at[1], to.middleFoot, {0}, 1.8) && FootRisesTo(feet.at[2], to.rightFoot, {0, 2}, 1.8);
}

std::int16_t RejectM_FewTripleRunRows() {
    const int h = Glyph.GlyphHeight;
    if (h < MinGlyphHeight) return 1;
    int rows = 0;
    for (int i = 2; i < h - 2; ++i) {
        if (RowRunsAt(i) > 2) ++rows;
    }
    return rows >= MinTripleRunRows ? 0 : 1;
}

std::int16_t IsLetterM() {
    if (RejectM_FewTripleRunRows() != 0 || Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return Glyph.IsolatedPointCount == 0 ? AcceptFirstMatch({MatchM_H0B0E2a}) : 0;
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchM_H0B1E3a, MatchM_H0B1E3b, MatchM_H0B1E3c});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchM_H0B2E4a, MatchM_H0B2E4b, MatchM_H0B2E4c});
    if (IsCase(3, 5)) {
        return AcceptFirstMatch(
            {MatchM_H0B3E5a, MatchM_H0B3E5b, MatchM_H0B3E5c, MatchM_H0B3E5d, MatchM_H0B3E5e, MatchM_H0B3E5f});
    }
    if (IsCase(4, 6)) return AcceptFirstMatch({MatchM_H0B4E6a, MatchM_H0B4E6b, MatchM_H0B4E6c});
    if (IsCase(5, 7)) return AcceptFirstMatch({MatchM_H0B5E7a});
    return 0;
}
