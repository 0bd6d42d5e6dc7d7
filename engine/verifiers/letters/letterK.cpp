#include <cstdlib>
#include <initializer_list>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

// The K verifier votes 1 or 2 by template; either makes K a candidate.
constexpr std::int16_t LowVote = 1;
constexpr std::int16_t HighVote = 2;
// Junctions with no branch between them may lie this many columns apart in the first template.
constexpr int MaxUnlinkedColumns = 3;

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// A template with the vote it gives when it matches.
struct VotingTemplate {
    Template match;
    std::int16_t vote;
};

std::int16_t VoteOfFirstMatch(std::initializer_list<VotingTemplate> templates) {
    for (const VotingTemplate& t : templates) {
        if (t.match() != 0) return t.vote;
    }
    return 0;
}

// The top end of the stem: on the top row or the one below it, at most `reach` right of the
// left side.
bool StemTopNearLeft(Node p, int reach) { return IsPresent(p) && p.y <= Box().top + 1 && p.x <= Box().left + reach; }

// A foot within one HeightUnit of the bottom, left or right of a column.
bool FootLeftOf(Node p, int column) { return IsNearBottom(p) && p.x <= column; }
bool FootRightOf(Node p, int column) { return IsNearBottom(p) && p.x >= column; }

// The two junctions lie within `limit` rows of each other.
bool RowsClose(Node a, Node b, int limit) { return IsPresent(a) && IsPresent(b) && std::abs(a.y - b.y) <= limit; }

// A straight link between two junctions, heading one of the directions, at least / at most
// this steep.
bool LinkSteep(Node from, Node to, std::initializer_list<int> directions, double minSlope) {
    return LinkStroke(from, to).FitsSteep({0}, directions, minSlope);
}
bool LinkFlat(Node from, Node to, std::initializer_list<int> directions, double maxSlope) {
    return LinkStroke(from, to).FitsFlat({0}, directions, maxSlope);
}

// The link between the junctions where the arms meet the stem. When no branch joins them the
// arms met almost at one point, and `closeEnough` decides instead.
bool ArmJunctionsJoin(Node from, Node to, std::initializer_list<int> directions, bool closeEnough) {
    const Stroke link = LinkStroke(from, to);
    if (!link.traced) return closeEnough;
    return link.Fits({0}, directions);
}

// The strokes of the plain K templates a, c and e: the stem's top end (TL) down to its
// junction, the upper arm's end (TR) down-left to its junction, the stem's foot (BL) up to its
// junction, the lower arm's foot (BR) up-left to its junction.
struct PlainK {
    NodePair top;
    Node topLeftTo;
    Node topRightTo;
    NodePair feet;
    Node footLeftTo;
    Node footRightTo;
};

bool PlainStrokesFit(const PlainK& k) {
    if (!TraceStroke(k.top.left, k.topLeftTo).FitsSteep({0, 1}, {3, 4}, 2.0)) return false;
    if (!TraceStroke(k.top.right, k.topRightTo).Fits({0, 1}, {4})) return false;
    if (!TraceStroke(k.feet.left, k.footLeftTo).FitsSteep({0, 2}, {1, 2}, 2.0)) return false;
    return TraceStroke(k.feet.right, k.footRightTo).Fits({0, 2}, {1});
}

// Arms meeting the stem at two junctions side by side; the arms' junctions may be unlinked.
std::int16_t MatchK_H0B2E4a() {
    const NodePair joints = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(joints.left, {10, 11, 15, 16}) || !InZone5(joints.right, {10, 11, 12, 16, 17})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {8, 9})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!PlainStrokesFit({top, joints.left, joints.right, feet, joints.left, joints.right})) return 0;
    const bool close = joints.right.x - joints.left.x <= MaxUnlinkedColumns;
    return ArmJunctionsJoin(joints.left, joints.right, {2, 3}, close) ? 1 : 0;
}

std::int16_t MatchK_H0B2E4b() {
    const GlyphBoxRecord& box = Box();
    const NodePair joints = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone4(joints.left, {8, 9, 12, 13}) || !InZone4(joints.right, {5, 9, 10, 14})) return 0;
    if (!StemTopNearLeft(e0, Glyph.WidthUnit) || !InZone4(e1, {3, 5, 6, 7})) return 0;
    if (!FootLeftOf(feet.left, box.left + box.width / 2) || !FootRightOf(feet.right, box.right - box.width / 3)) {
        return 0;
    }
    if (!TraceStroke(e0, joints.left).Fits({0}, {3, 4})) return 0;
    const Stroke arm = TraceStroke(e1, joints.right);
    if (!arm.Fits({0, 2}, {3, 4}) || (arm.shape == 2 && arm.chordDirection == 1.0F)) return 0;
    const Stroke stemFoot = TraceStroke(feet.left, joints.left);
    if (!stemFoot.Fits({0, 2}, {1, 2}) || (stemFoot.shape == 2 && stemFoot.chordDirection == -1.0F)) return 0;
    if (!TraceStroke(feet.right, joints.right).Fits({0}, {1})) return 0;
    return LinkStroke(joints.left, joints.right).Fits({0}, {2, 3}) ? 1 : 0;
}

std::int16_t MatchK_H0B2E4c() {
    const NodePair joints = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(joints.left, {10, 11}) || !InZone5(joints.right, {6, 7, 10, 11, 12})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {3, 4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!PlainStrokesFit({top, joints.left, joints.right, feet, joints.left, joints.right})) return 0;
    return ArmJunctionsJoin(joints.left, joints.right, {2, 3}, AreNeighbours(joints.left, joints.right)) ? 1 : 0;
}

// The upper arm meets the stem above the lower arm's junction.
std::int16_t MatchK_H0B2E4d() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {5, 6, 7, 10, 11}) || !InZone5(j1, {10, 15, 16})) return 0;
    if (!InZone5(top.left, {0, 1}) || !InZone5(top.right, {3, 4, 8, 9})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    const Stroke stemTop = TraceStroke(top.left, j0);
    if (!stemTop.FitsSteep({0, 1}, {3, 4}, 1.9) || (stemTop.shape == 1 && stemTop.chordDirection != -1.0F)) return 0;
    if (!TraceStroke(top.right, j0).Fits({0, 1}, {4})) return 0;
    const Stroke stemFoot = TraceStroke(feet.left, j1);
    if (!stemFoot.FitsSteep({0, 2}, {1, 2}, 2.0) || (stemFoot.shape == 2 && stemFoot.chordDirection < 0.0F)) return 0;
    if (!TraceStroke(feet.right, j1).Fits({0, 2}, {1})) return 0;
    return LinkSteep(j0, j1, {3, 4}, 0.6) ? 1 : 0;
}

std::int16_t MatchK_H0B2E4e() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {6, 7, 10, 11}) || !InZone5(j1, {10, 11, 12})) return 0;
    if (!InZone5(top.left, {0, 1}) || !InZone5(top.right, {3, 4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!PlainStrokesFit({top, j0, j0, feet, j1, j1})) return 0;
    return ArmJunctionsJoin(j0, j1, {3, 4}, AreNeighbours(j0, j1)) ? 1 : 0;
}

// The stem's foot split; the junctions placed by box fractions rather than zones.
std::int16_t MatchK_H0B3E5a() {
    const GlyphBoxRecord& box = Box();
    const int q = box.height / 4;
    const NodePair joints = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const SortedNodes feet = EndsByX(2, 4);
    const auto inMiddleRows = [&box, q](Node p) { return p.y >= box.top + q && p.y <= box.bottom - q; };
    if (!IsPresent(joints.left) || !IsPresent(joints.right) || !IsPresent(j2)) return 0;
    if (joints.left.x > box.left + box.width / 2 || !inMiddleRows(joints.left)) return 0;
    if (joints.right.x > box.right - box.width / 4 || !inMiddleRows(joints.right)) return 0;
    if (joints.right.x - joints.left.x > box.width / 2) return 0;
    if (!RowsClose(joints.left, joints.right, Glyph.HeightUnit)) return 0;
    if (j2.x > box.left + box.width / 2 || j2.y < box.bottom - q) return 0;
    if (!StemTopNearLeft(e0, 2 * Glyph.WidthUnit)) return 0;
    if (!IsPresent(e1) || e1.x < box.right - Glyph.WidthUnit) return 0;
    if (!FootLeftOf(feet.at[0], box.left + Glyph.WidthUnit) || !FootLeftOf(feet.at[1], box.right - box.width / 3)) {
        return 0;
    }
    if (!FootRightOf(feet.at[2], box.right - box.width / 3)) return 0;
    const Stroke stemTop = TraceStroke(e0, joints.left);
    if (!stemTop.FitsSteep({0, 1}, {3, 4}, 1.5) || (stemTop.shape == 1 && stemTop.chordDirection != 1.0F)) return 0;
    if (!TraceStroke(e1, joints.right).Fits({0}, {4})) return 0;
    if (!TraceStroke(feet.at[0], j2).Fits({0}, {2, 3}) || !TraceStroke(feet.at[1], j2).Fits({0}, {1, 4})) return 0;
    if (!TraceStroke(feet.at[2], joints.right).Fits({0}, {1})) return 0;
    if (!LinkFlat(joints.left, joints.right, {2, 3}, 0.8)) return 0;
    return LinkSteep(joints.left, j2, {3, 4}, 2.4) ? 1 : 0;
}

// The upper arm's tip split.
std::int16_t MatchK_H0B3E5b() {
    const Node j0 = JunctionNode(0);
    const NodePair joints = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 2);
    const NodePair feet = InXOrder(EndNode(3), EndNode(4));
    if (!InZone5(j0, {3, 7, 8, 13}) || !InZone5(joints.left, {10, 15, 16}) || !InZone5(joints.right, {11, 16, 17})) {
        return 0;
    }
    if (!RowsClose(joints.left, joints.right, Glyph.HeightUnit)) return 0;
    if (!InZone5(tops.at[0], {0, 1}) || !InZone5(tops.at[1], {3, 6, 7, 8}) || !InZone5(tops.at[2], {4, 8, 9})) return 0;
    if (!InZone5(feet.left, {20, 21, 22}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TraceStroke(tops.at[0], joints.left).FitsSteep({0, 1}, {3, 4}, 1.6)) return 0;
    if (!StraightArmsMeet(SortedPair(tops, 1), j0, 0.8)) return 0;
    if (!TraceStroke(feet.left, joints.left).FitsSteep({0, 2}, {1, 2}, 1.4)) return 0;
    if (!TraceStroke(feet.right, joints.right).Fits({0, 1, 2}, {1})) return 0;
    if (!LinkStroke(j0, joints.right).Fits({0}, {4})) return 0;
    return LinkFlat(joints.left, joints.right, {2, 3}, 0.8) ? 1 : 0;
}

// The lower arm's foot split.
std::int16_t MatchK_H0B3E5c() {
    const GlyphBoxRecord& box = Box();
    const NodePair joints = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const SortedNodes feet = EndsByX(2, 4);
    if (!InZone4(joints.left, {8, 9}) || !InZone4(joints.right, {9, 10}) || !InZone4(j2, {14, 15})) return 0;
    if (!StemTopNearLeft(e0, Glyph.WidthUnit) || !InZone4(e1, {7})) return 0;
    if (!FootLeftOf(feet.at[0], box.left + Glyph.WidthUnit) || !FootRightOf(feet.at[1], box.right - box.width / 2)) {
        return 0;
    }
    if (!FootRightOf(feet.at[2], box.right - box.width / 4)) return 0;
    if (!TraceStroke(e0, joints.left).Fits({0}, {3, 4}) || !TraceStroke(e1, joints.right).Fits({0}, {4})) return 0;
    if (!TraceStroke(feet.at[0], joints.left).Fits({0}, {1, 2})) return 0;
    if (!TraceStroke(feet.at[1], j2).Fits({0}, {2, 3}) || !TraceStroke(feet.at[2], j2).Fits({0}, {1})) return 0;
    if (!LinkStroke(joints.left, joints.right).Fits({0}, {2, 3})) return 0;
    return LinkStroke(joints.right, j2).Fits({0}, {3}) ? 1 : 0;
}

// The upper arm's tip and the lower arm's foot split.
std::int16_t MatchK_H0B4E6a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const NodePair joints = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node j3 = JunctionNode(3);
    const Node e0 = EndNode(0);
    const NodePair tip = InXOrder(EndNode(1), EndNode(2));
    const SortedNodes feet = EndsByX(3, 5);
    if (!InZone4(j0, {5, 6}) || !InZone4(joints.left, {8, 9}) || !InZone4(joints.right, {9, 10})) return 0;
    if (!InZone4(j3, {14, 15})) return 0;
    if (!IsPresent(e0) || e0.y > box.top + 1 || e0.x > box.left + box.width / 3) return 0;
    // The left tip is placed on the 5 x 5 grid and the right one on the 4 x 4 grid.
    if (!InZone5(tip.left, {6, 7}) || !InZone4(tip.right, {6, 7})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {22, 23}) || !InZone5(feet.at[2], {24})) return 0;
    if (!TraceStroke(e0, joints.left).Fits({0, 1}, {3, 4})) return 0;
    if (!TraceStroke(tip.left, j0).Fits({0}, {2, 3}) || !TraceStroke(tip.right, j0).Fits({0}, {1, 4})) return 0;
    if (!TraceStroke(feet.at[0], joints.left).Fits({0, 2}, {1, 2})) return 0;
    if (!StraightFeetMeet(SortedPair(feet, 1), j3)) return 0;
    if (!LinkStroke(j0, joints.right).Fits({0}, {4})) return 0;
    return LinkStroke(joints.right, j3).Fits({0}, {3}) ? 1 : 0;
}

// The stem's top end on the top row (the raw first end point).
bool FirstEndOnTopRow() { return OnTopRow(EndNode(0)); }

// Both feet split.
std::int16_t MatchK_H0B4E6b() {
    const NodePair joints = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair footJoints = InXOrder(JunctionNode(2), JunctionNode(3));
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 5);
    if (!InZone5(joints.left, {10, 11}) || !InZone5(joints.right, {11, 12})) return 0;
    if (!InZone5(footJoints.left, {20, 21}) || !InZone5(footJoints.right, {23, 24})) return 0;
    if (!FirstEndOnTopRow() || !InZone5(top.left, {0, 1}) || !InZone5(top.right, {4})) return 0;
    if (!FootLeftOf(feet.at[0], Box().left + Glyph.WidthUnit) || !InZone5(feet.at[1], {21})) return 0;
    if (!InZone5(feet.at[2], {23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!TraceStroke(top.left, joints.left).FitsSteep({0, 1}, {3, 4}, 2.0)) return 0;
    if (!TraceStroke(top.right, joints.right).Fits({0}, {4})) return 0;
    if (!ForkedFeetMeet(feet, footJoints)) return 0;
    if (!LinkStroke(joints.left, joints.right).Fits({0}, {2, 3})) return 0;
    if (!LinkSteep(joints.left, footJoints.left, {3, 4}, 1.8)) return 0;
    return LinkStroke(joints.right, footJoints.right).Fits({0}, {3}) ? 1 : 0;
}

// The templates c, d and e of case (4, 6): the stem's foot split at J3, one top split at J0,
// the lower arm's foot B3 straight up to the right junction. `topToLeft` is T1's stroke to
// the left junction (template c: none, T1 and T2 split the stem's top at J0 instead).
struct SplitTopK {
    std::initializer_list<int> j0Cells;
    std::initializer_list<int> leftCells;
    std::initializer_list<int> rightCells;
    std::initializer_list<int> t1Cells;
    std::initializer_list<int> t2Cells;
    std::initializer_list<int> t3Cells;
    std::initializer_list<int> b2Cells;
    std::initializer_list<int> b3Shapes;
};

// Zones of a split-top K: J3 in the bottom-left cell, B1 there too, B3 in the bottom-right.
bool SplitTopZonesFit(const SplitTopK& k, Node j0, NodePair joints, const SortedNodes& tops, const SortedNodes& feet) {
    if (!InZone5(j0, k.j0Cells) || !InZone5(joints.left, k.leftCells) || !InZone5(joints.right, k.rightCells)) {
        return false;
    }
    if (!InZone5(JunctionNode(3), {20}) || !FirstEndOnTopRow()) return false;
    if (!InZone5(tops.at[0], k.t1Cells) || !InZone5(tops.at[1], k.t2Cells) || !InZone5(tops.at[2], k.t3Cells)) {
        return false;
    }
    return InZone5(feet.at[0], {20}) && InZone5(feet.at[1], k.b2Cells) && InZone5(feet.at[2], {23, 24});
}

// The feet and the links shared by the split-top templates, after their top strokes.
bool SplitTopLowerFits(const SplitTopK& k, NodePair joints, const SortedNodes& feet) {
    return StraightFeetMeet(SortedPair(feet, 0), JunctionNode(3)) &&
           TraceStroke(feet.at[2], joints.right).Fits(k.b3Shapes, {1});
}

// The stem's top split at J0 in the top-left cell; the upper arm runs to the right junction.
std::int16_t MatchK_H0B4E6c() {
    const SplitTopK k{{0}, {10, 11}, {11, 12}, {0}, {1, 2}, {3, 4}, {21}, {0}};
    const Node j0 = JunctionNode(0);
    const NodePair joints = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 5);
    if (!SplitTopZonesFit(k, j0, joints, tops, feet)) return 0;
    if (!StraightArmsMeet(SortedPair(tops, 0), j0)) return 0;
    if (!TraceStroke(tops.at[2], joints.right).Fits({0}, {4})) return 0;
    if (!SplitTopLowerFits(k, joints, feet)) return 0;
    if (!LinkSteep(j0, joints.left, {3, 4}, 2.0) || !LinkStroke(joints.left, joints.right).Fits({0}, {2, 3})) return 0;
    return LinkSteep(joints.left, JunctionNode(3), {3, 4}, 2.0) ? 1 : 0;
}

// The upper arm's tip split at J0; the stem runs from T1 to the left junction.
std::int16_t SplitArmTipK(const SplitTopK& k) {
    const Node j0 = JunctionNode(0);
    const NodePair joints = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 5);
    if (!SplitTopZonesFit(k, j0, joints, tops, feet)) return 0;
    if (!TraceStroke(tops.at[0], joints.left).FitsSteep({0, 1}, {3, 4}, 1.2)) return 0;
    if (!StraightArmsMeet(SortedPair(tops, 1), j0)) return 0;
    if (!SplitTopLowerFits(k, joints, feet)) return 0;
    if (!LinkStroke(j0, joints.right).Fits({0}, {4}) || !LinkStroke(joints.left, joints.right).Fits({0}, {2, 3})) {
        return 0;
    }
    return LinkSteep(joints.left, JunctionNode(3), {3, 4}, 2.0) ? 1 : 0;
}

std::int16_t MatchK_H0B4E6d() { return SplitArmTipK({{3, 4}, {10, 11}, {11, 12}, {0, 1}, {2, 3}, {4}, {21}, {0, 1}}); }

// The same with the arms meeting the stem low, in the fourth row of the grid.
std::int16_t MatchK_H0B4E6e() {
    return SplitArmTipK({{8, 9}, {15, 16}, {16, 17}, {0, 1}, {7, 8}, {9}, {21, 22}, {0, 1, 2}});
}

// Serifs on both tops, the stem's foot split.
std::int16_t MatchK_H0B5E7a() {
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair joints = InXOrder(JunctionNode(2), JunctionNode(3));
    const Node j4 = JunctionNode(4);
    const SortedNodes tops = EndsByX(0, 3);
    const SortedNodes feet = EndsByX(4, 6);
    if (!InZone5(serifs.left, {0}) || !InZone5(serifs.right, {3, 4})) return 0;
    if (!InZone5(joints.left, {10, 11}) || !InZone5(joints.right, {11, 12}) || !InZone5(j4, {20})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {1, 2}) || !InZone5(tops.at[2], {2, 3})) return 0;
    if (!InZone5(tops.at[3], {4}) || !InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22})) return 0;
    if (!InZone5(feet.at[2], {22, 23, 24})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!StraightFeetMeet(SortedPair(feet, 0), j4) || !TraceStroke(feet.at[2], joints.right).Fits({0}, {1})) return 0;
    if (!LinkSteep(serifs.left, joints.left, {3, 4}, 1.8) || !LinkStroke(serifs.right, joints.right).Fits({0}, {4})) {
        return 0;
    }
    if (!LinkSteep(joints.left, j4, {3, 4}, 1.8)) return 0;
    return LinkFlat(joints.left, joints.right, {2, 3}, 0.3) ? 1 : 0;
}

// The stem's top and both feet split.
std::int16_t MatchK_H0B5E7b() {
    const Node j0 = JunctionNode(0);
    const NodePair joints = InXOrder(JunctionNode(1), JunctionNode(2));
    const NodePair footJoints = InXOrder(JunctionNode(3), JunctionNode(4));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 6);
    if (!InZone5(j0, {0}) || !InZone5(joints.left, {10, 11}) || !InZone5(joints.right, {11, 12})) return 0;
    if (!InZone5(footJoints.left, {20}) || !InZone5(footJoints.right, {23, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {1, 2}) || !InZone5(tops.at[2], {3, 4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22}) || !InZone5(feet.at[2], {22, 23, 24})) return 0;
    if (!InZone5(feet.at[3], {24})) return 0;
    if (!StraightArmsMeet(SortedPair(tops, 0), j0) || !TraceStroke(tops.at[2], joints.right).Fits({0}, {4})) return 0;
    if (!ForkedFeetMeet(feet, footJoints)) return 0;
    if (!LinkSteep(j0, joints.left, {3, 4}, 2.2) || !LinkSteep(joints.left, footJoints.left, {3, 4}, 2.2)) return 0;
    if (!LinkStroke(joints.right, footJoints.right).Fits({0}, {3})) return 0;
    return LinkFlat(joints.left, joints.right, {2, 3}, 0.3) ? 1 : 0;
}

// Serifs on both tops, the lower arm's foot split.
std::int16_t MatchK_H0B5E7c() {
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair joints = InXOrder(JunctionNode(2), JunctionNode(3));
    const Node j4 = JunctionNode(4);
    const SortedNodes tops = EndsByX(0, 3);
    const SortedNodes feet = EndsByX(4, 6);
    if (!InZone5(serifs.left, {0}) || !InZone5(serifs.right, {3, 4})) return 0;
    if (!InZone5(joints.left, {10, 11}) || !InZone5(joints.right, {11, 12}) || !InZone5(j4, {23, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {1, 2}) || !InZone5(tops.at[2], {2, 3})) return 0;
    if (!InZone5(tops.at[3], {4}) || !InZone5(feet.at[0], {20, 21, 22}) || !InZone5(feet.at[1], {22, 23})) return 0;
    if (!InZone5(feet.at[2], {24})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!TraceStroke(feet.at[0], joints.left).Fits({0, 2}, {1, 2}) || !StraightFeetMeet(SortedPair(feet, 1), j4)) {
        return 0;
    }
    if (!LinkSteep(serifs.left, joints.left, {3, 4}, 2.2) || !LinkStroke(serifs.right, joints.right).Fits({0}, {4})) {
        return 0;
    }
    if (!LinkStroke(joints.right, j4).Fits({0}, {3})) return 0;
    return LinkFlat(joints.left, joints.right, {2, 3}, 0.5) ? 1 : 0;
}

// Every end split.
std::int16_t MatchK_H0B6E8a() {
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair joints = InXOrder(JunctionNode(2), JunctionNode(3));
    const NodePair footJoints = InXOrder(JunctionNode(4), JunctionNode(5));
    const SortedNodes tops = EndsByX(0, 3);
    const SortedNodes feet = EndsByX(4, 7);
    if (!InZone5(serifs.left, {0}) || !InZone5(serifs.right, {3, 4})) return 0;
    if (!InZone5(joints.left, {10, 11}) || !InZone5(joints.right, {11, 12})) return 0;
    if (!InZone5(footJoints.left, {20}) || !InZone5(footJoints.right, {23, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {1, 2}) || !InZone5(tops.at[2], {2, 3})) return 0;
    if (!InZone5(tops.at[3], {4}) || !InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22})) return 0;
    if (!InZone5(feet.at[2], {22, 23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!ForkedFeetMeet(feet, footJoints)) return 0;
    if (!LinkSteep(serifs.left, joints.left, {3, 4}, 1.8) || !LinkStroke(serifs.right, joints.right).Fits({0}, {4})) {
        return 0;
    }
    if (!LinkSteep(joints.left, footJoints.left, {3, 4}, 1.8)) return 0;
    return LinkStroke(joints.right, footJoints.right).Fits({0}, {3}) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterK() {
    if (HasLeftWaistNotch() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(2, 4)) {
        if (LacksRightWaistNotch() != 0) return 0;
        return VoteOfFirstMatch({{MatchK_H0B2E4a, LowVote},
                                 {MatchK_H0B2E4b, LowVote},
                                 {MatchK_H0B2E4c, HighVote},
                                 {MatchK_H0B2E4d, HighVote},
                                 {MatchK_H0B2E4e, HighVote}});
    }
    if (IsCase(3, 5)) {
        return VoteOfFirstMatch({{MatchK_H0B3E5a, LowVote}, {MatchK_H0B3E5b, LowVote}, {MatchK_H0B3E5c, LowVote}});
    }
    if (IsCase(4, 6)) {
        return VoteOfFirstMatch({{MatchK_H0B4E6a, LowVote},
                                 {MatchK_H0B4E6b, HighVote},
                                 {MatchK_H0B4E6c, HighVote},
                                 {MatchK_H0B4E6d, HighVote},
                                 {MatchK_H0B4E6e, LowVote}});
    }
    if (IsCase(5, 7)) {
        return VoteOfFirstMatch({{MatchK_H0B5E7a, HighVote}, {MatchK_H0B5E7b, HighVote}, {MatchK_H0B5E7c, HighVote}});
    }
    if (IsCase(6, 8)) return VoteOfFirstMatch({{MatchK_H0B6E8a, HighVote}});
    return 0;
}
