#include <initializer_list>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/letters/stroke_limits.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double SteepStroke = 1.8;   // a spur under a bottom vertex, or a stroke between junctions
constexpr double MinHoleRatio = 0.08;  // a closed V half fills at least this share of the box
constexpr int MinThreeRunRows = 3;     // inner rows crossing three strokes or more

using CellSets = std::initializer_list<std::initializer_list<int>>;

// Each of the sorted points, from the left, in its own set of cells of the n x n zones.
bool SortedInZones(int n, const SortedNodes& nodes, CellSets cells) {
    int k = 0;
    for (const std::initializer_list<int>& set : cells) {
        if (k >= MaxSortedNodes || !InZone(n, nodes.at[k], set)) return false;
        ++k;
    }
    return true;
}

// The centre of a hole's box, for the zone tests: a grid point that is no list point (index 0
// only marks it as present).
Node CentreOf(const HoleBox& hole) { return Node{(hole.left + hole.right) / 2, (hole.top + hole.bottom) / 2, 0}; }

// An upper tip in the top-left or top-right corner: on the box's side, within a height unit of
// its top.
bool AtTopLeft(Node p) {
    return IsPresent(p) && p.x <= Glyph.GlyphBox.left && p.y <= Glyph.GlyphBox.top + Glyph.HeightUnit;
}
bool AtTopRight(Node p) {
    return IsPresent(p) && p.x >= Glyph.GlyphBox.right && p.y <= Glyph.GlyphBox.top + Glyph.HeightUnit;
}

// A stroke of a listed shape and direction whose chord runs the given way.
bool FitsChord(const Stroke& s, std::initializer_list<int> shapes, std::initializer_list<int> directions,
               float chordDirection) {
    return s.Fits(shapes, directions) && s.chordDirection == chordDirection;
}

// A spur under a bottom vertex, rising steeply into its junction.
bool FootRises(Node foot, Node junction) { return StraightRise(foot, junction, SteepStroke); }

// A straight steep stroke or link heading down.
bool FallsSteeply(const Stroke& s) { return FitsSteep(s, {0}, {3, 4}, SteepStroke); }

// A long arm from an outer tip, bowed to the far side, setting off downward.
bool OuterArmFits(Node tip, Node junction, float chordDirection) {
    const Stroke arm = TraceStroke(tip, junction);
    return arm.FitsShape({2}) && arm.chordDirection == chordDirection && InSet(arm.earlyDirection, {3, 4}) &&
           arm.lengthRatio >= 1.3;
}

// The spurs of a split tip, both no longer than maxLength path points.
bool ShortSpursMeet(Node left, Node right, Node junction, int maxLength) {
    const Stroke a = TraceStroke(left, junction);
    if (!a.Fits({0}, {3}) || a.length > maxLength) return false;
    const Stroke b = TraceStroke(right, junction);
    return b.Fits({0}, {4}) && b.length <= maxLength;
}

// A closed V half large enough against the box.
bool IsLargeHole(const HoleBox& hole) { return HoleRatio(hole) >= MinHoleRatio; }

// Both V halves closed into holes: junctions at the two upper corners and two in the middle,
// and one at each bottom vertex with a spur under it.
std::int16_t MatchW_H2B6E4a() {
    const HoleBox& first = Glyph.HoleBoxes[0];
    const HoleBox& second = Glyph.HoleBoxes[1];
    const bool firstIsLeft = first.left < second.left;
    const HoleBox& a = firstIsLeft ? first : second;
    const HoleBox& b = firstIsLeft ? second : first;
    const SortedNodes js = JunctionsByX(0, 3);
    const NodePair low = InXOrder(JunctionNode(4), JunctionNode(5));
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    const bool secondIsUp = js.at[1].y < js.at[2].y;
    const Node up = secondIsUp ? js.at[1] : js.at[2];
    const Node down = secondIsUp ? js.at[2] : js.at[1];
    if (!InZone(4, CentreOf(a), {5}) || !InZone(4, CentreOf(b), {6})) return 0;
    if (!InZone(4, js.at[0], {0}) || !InZone3(js.at[1], {1}) || !InZone3(js.at[2], {1})) return 0;
    if (!InZone(4, js.at[3], {3}) || !InZone5(low.left, {16}) || !InZone5(low.right, {18})) return 0;
    if (!InZone5(feet.left, {21}) || !InZone5(feet.right, {23})) return 0;
    if (!TraceStroke(tips.left, js.at[0]).Fits({0}, {3})) return 0;
    if (!TraceStroke(tips.right, js.at[3]).Fits({0}, {4})) return 0;
    if (!FootRises(feet.left, low.left) || !FootRises(feet.right, low.right)) return 0;
    if (!LinkStroke(js.at[0], low.left).Fits({0}, {3})) return 0;
    if (!LinkStroke(js.at[3], low.right).Fits({0}, {4})) return 0;
    if (!FitsFlat(LinkStroke(js.at[0], up), {0}, {2, 3}, 0.3)) return 0;
    if (!FitsFlat(LinkStroke(js.at[3], up), {0}, {1, 4}, 0.3)) return 0;
    if (!LinkStroke(low.left, down).Fits({0}, {2})) return 0;
    if (!LinkStroke(low.right, down).Fits({0}, {1})) return 0;
    if (!IsLargeHole(second)) return 0;
    return AtTopLeft(tips.left) && AtTopRight(tips.right) ? 1 : 0;
}

// The left V half closed into a hole, the middle stroke rising to a junction at the top middle
// with a spur beside it.
std::int16_t MatchW_H1B2E2a() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone3(CentreOf(LargestHole()), {3}) || !InZone5(j0, {2}) || !InZone5(j1, {7, 12})) return 0;
    if (!InZone(4, tips.left, {2})) return 0;
    if (!TraceStroke(tips.left, j0).Fits({0}, {4})) return 0;
    const Stroke arm = TraceStroke(tips.right, j1);
    if (!arm.Fits({2}, {4}) || arm.lengthRatio < 1.3) return 0;
    if (!FallsSteeply(LinkStroke(j0, j1))) return 0;
    return IsLargeHole(LargestHole()) && AtTopRight(tips.right) ? 1 : 0;
}

// The left V half closed into a hole; the right tip is the only end.
std::int16_t MatchW_H1B1E1a() {
    const Node e0 = EndNode(0);
    const Node j0 = JunctionNode(0);
    if (!InZone3(CentreOf(LargestHole()), {3}) || !InZone5(j0, {7, 12}) || !InZone5(e0, {4})) return 0;
    const Stroke arm = TraceStroke(e0, j0);
    if (!arm.Fits({2}, {4}) || arm.lengthRatio < 1.3) return 0;
    return IsLargeHole(LargestHole()) && AtTopRight(e0) ? 1 : 0;
}

// One stroke from tip to tip, long against its chord.
std::int16_t MatchW_H0B0E2a() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    if (!InZone5(tips.left, {1}) || !InZone5(tips.right, {3})) return 0;
    const Stroke s = TraceStroke(tips.left, tips.right);
    if (!FitsFlat(s, {2, 15}, {2, 3}, 0.3) || s.lengthRatio < 3.2) return 0;
    return OnTopRow(EndNode(0)) ? 1 : 0;
}

// One stroke from corner to corner.
std::int16_t MatchW_H0B0E2b() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const Stroke s = TraceStroke(tips.left, tips.right);
    if (!FitsFlat(s, {2, 15}, {2, 3}, 0.3) || s.lengthRatio < 1.4) return 0;
    if (tips.left.x > box.left || EndNode(0).y > box.top + Glyph.HeightUnit) return 0;
    return tips.right.x >= box.right ? 1 : 0;
}

// The junction at the middle apex, with a spur above it.
std::int16_t MatchW_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const SortedNodes ends = EndsByX(0, 2);
    if (!InZone5(j0, {2, 7, 12}) || !SortedInZones(5, ends, {{0, 5}, {1, 2, 3}, {3, 4}})) return 0;
    if (!OuterArmFits(ends.at[0], j0, 1.0F)) return 0;
    if (!FitsSteep(TraceStroke(ends.at[1], j0), {0, 1}, {3, 4}, 1.2)) return 0;
    return OuterArmFits(ends.at[2], j0, -1.0F) ? 1 : 0;
}

// The bottom-right vertex is the junction, with a spur under it.
std::int16_t MatchW_H0B1E3b() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node j0 = JunctionNode(0);
    if (!InZone5(j0, {18, 23}) || !InZone5(tips.left, {0, 5}) || !InZone5(tips.right, {3, 4})) return 0;
    if (!InZone5(e2, {23})) return 0;
    if (!FitsChord(TraceStroke(tips.left, j0), {2, 4}, {3}, 1.0F)) return 0;
    if (!TraceStroke(tips.right, j0).Fits({0, 1}, {3, 4})) return 0;
    return FootRises(e2, j0) ? 1 : 0;
}

// The bottom-left vertex is the junction, with a spur under it: the left arm short and straight,
// the rest of the W long, the spur no longer than twice the arm.
std::int16_t MatchW_H0B1E3c() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node j0 = JunctionNode(0);
    if (!InZone5(j0, {16, 21}) || !InZone5(tips.left, {0, 5}) || !InZone5(tips.right, {3, 4})) return 0;
    if (!InZone5(e2, {21})) return 0;
    const Stroke arm = TraceStroke(tips.left, j0);
    if (!FitsSteep(arm, {0}, {3}, 0.8)) return 0;
    const int lenA = arm.length;
    const Stroke rest = TraceStroke(tips.right, j0);
    if (!rest.Fits({2, ShapeUndecided}, {4}) || rest.length < 2 * lenA) return 0;
    const Stroke spur = TraceStroke(e2, j0);
    return FitsSteep(spur, {0}, {1, 2}, 1.2) && spur.length <= 2 * lenA ? 1 : 0;
}

// Case (2, 4): J0 at the top middle, J1 in the centre or bottom middle.
std::int16_t MatchW_H0B2E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone3(j0, {1}) || !InZone3(j1, {4, 7}) || !SortedInZones(4, ends, {{0}, {1}, {2}, {3}})) return 0;
    if (!FitsChord(TraceStroke(ends.at[0], j1), {2}, {3}, 1.0F)) return 0;
    if (!TipSpursMeet(ends.at[1], ends.at[2], j0)) return 0;
    if (!FitsChord(TraceStroke(ends.at[3], j1), {2}, {4}, -1.0F)) return 0;
    if (!FallsSteeply(LinkStroke(j0, j1))) return 0;
    return OnTopRow(EndNode(0)) ? 1 : 0;
}

// One junction at the bottom-right vertex, with a spur under it; the other in the middle.
std::int16_t MatchW_H0B2E4b() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone5(j0, {2, 7, 12}) || !InZone5(j1, {18, 23})) return 0;
    if (!SortedInZones(5, ends, {{0, 5}, {1, 2}, {23}, {3, 4}})) return 0;
    const Stroke arm = TraceStroke(ends.at[0], j0);
    if (!FitsChord(arm, {2}, {3}, 1.0F) || arm.lengthRatio < 1.2) return 0;
    if (!FitsSteep(TraceStroke(ends.at[1], j0), {0, 1, 2}, {3, 4}, 1.2)) return 0;
    if (!FootRises(ends.at[2], j1)) return 0;
    if (!TraceStroke(ends.at[3], j1).Fits({0, 2}, {4})) return 0;
    if (!LinkStroke(j0, j1).Fits({0}, {3})) return 0;
    return OnTopRow(EndNode(0)) ? 1 : 0;
}

// One junction at the bottom-right vertex, its spur the last end in raster order; the other in
// the middle.
std::int16_t MatchW_H0B2E4c() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const SortedNodes ends = EndsByX(0, 2);
    const Node e3 = EndNode(3);
    if (!InZone5(j0, {7, 12, 17}) || !InZone5(j1, {18, 23})) return 0;
    if (!SortedInZones(5, ends, {{0}, {1, 2, 3}, {4}}) || !InZone5(e3, {23})) return 0;
    if (!FitsChord(TraceStroke(ends.at[0], j0), {2}, {3}, 1.0F)) return 0;
    if (!TraceStroke(ends.at[1], j0).Fits({0}, {3, 4})) return 0;
    if (!TraceStroke(ends.at[2], j1).Fits({0}, {4})) return 0;
    if (!FootRises(e3, j1)) return 0;
    if (!LinkStroke(j0, j1).Fits({0}, {3})) return 0;
    return OnBottomRow(e3) ? 1 : 0;
}

// The left arm into the bottom-left vertex: straight, or bowed with its chord running right or
// level, or bowed the other way with its chord running left.
bool LeftArmIntoVertex(Node tip, Node vertex) {
    const Stroke arm = TraceStroke(tip, vertex);
    if (!arm.traced || !InSet(arm.direction, {3, 4})) return false;
    if (arm.shape == 0) return true;
    if (arm.shape == 2) return arm.chordDirection == 1.0F || arm.chordDirection == 0.0F;
    return arm.shape == 1 && arm.chordDirection == -1.0F;
}

// One junction at the bottom-left vertex, with a spur under it; the other in the middle.
std::int16_t MatchW_H0B2E4d() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const SortedNodes ends = EndsByX(0, 2);
    const Node e3 = EndNode(3);
    if (!InZone5(j0, {2, 7, 12, 13}) || !InZone5(j1, {15, 16, 17, 20, 21})) return 0;
    if (!SortedInZones(5, ends, {{0, 1}, {1, 2, 3, 7}, {3, 4}}) || !InZone5(e3, {20, 21})) return 0;
    if (!LeftArmIntoVertex(ends.at[0], j1)) return 0;
    if (!FitsSteep(TraceStroke(ends.at[1], j0), {0}, {3, 4}, 1.1)) return 0;
    if (!FitsChord(TraceStroke(ends.at[2], j0), {2, 6}, {4}, -1.0F)) return 0;
    if (!FootRises(e3, j1)) return 0;
    if (!LinkStroke(j0, j1).Fits({0}, {4})) return 0;
    return OnBottomRow(e3) ? 1 : 0;
}

// One junction at each bottom vertex, each with a spur under it.
std::int16_t MatchW_H0B2E4e() {
    const NodePair low = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(low.left, {15, 16, 21}) || !InZone5(low.right, {18, 19, 23})) return 0;
    if (!InZone5(tips.left, {0}) || !InZone5(tips.right, {4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!FitsChord(TraceStroke(tips.left, low.left), {0}, {3}, 1.0F)) return 0;
    if (!TraceStroke(tips.right, low.right).Fits({0}, {4})) return 0;
    if (!FootRises(feet.left, low.left) || !FootRises(feet.right, low.right)) return 0;
    return FitsFlat(LinkStroke(low.left, low.right), {1}, {2, 3}, 0.3) ? 1 : 0;
}

// The two spurs of a split outer tip, both gently sloped.
bool OuterTipSplit(Node left, Node right, Node junction) {
    const Stroke a = TraceStroke(left, junction);
    if (!FitsChord(a, {0}, {3}, 1.0F) || a.slope > 0.9) return false;
    return FitsFlat(TraceStroke(right, junction), {0}, {4}, 0.9);
}

// One junction at each outer tip.
std::int16_t MatchW_H0B2E4f() {
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone5(tips.left, {0, 5}) || !InZone5(tips.right, {4, 9})) return 0;
    if (!SortedInZones(5, ends, {{0}, {1}, {3}, {4}})) return 0;
    if (!OuterTipSplit(ends.at[0], ends.at[1], tips.left)) return 0;
    if (!OuterTipSplit(ends.at[2], ends.at[3], tips.right)) return 0;
    if (!FitsFlat(LinkStroke(tips.left, tips.right), {2}, {2, 3}, 0.3)) return 0;
    return OnTopRow(EndNode(0)) ? 1 : 0;
}

// J0 at the right tip, J1 in the middle.
std::int16_t MatchW_H0B2E4g() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone5(j0, {4}) || !InZone5(j1, {12, 17})) return 0;
    if (!SortedInZones(5, ends, {{0}, {1, 2, 3}, {3}, {4}})) return 0;
    if (!TraceStroke(ends.at[0], j1).Fits({2}, {3})) return 0;
    if (!FitsSteep(TraceStroke(ends.at[1], j1), {0}, {3, 4}, 0.9)) return 0;
    if (!TipSpursMeet(ends.at[2], ends.at[3], j0)) return 0;
    return LinkStroke(j0, j1).Fits({2}, {4}) ? 1 : 0;
}

// J0 at the left tip, J1 in the middle.
std::int16_t MatchW_H0B2E4h() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone5(j0, {0}) || !InZone5(j1, {2, 12, 17})) return 0;
    if (!SortedInZones(5, ends, {{0}, {0, 1}, {2}, {3, 4}})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], j0)) return 0;
    if (!FitsSteep(TraceStroke(ends.at[2], j1), {0}, {3, 4}, 0.9)) return 0;
    if (!TraceStroke(ends.at[3], j1).Fits({2}, {4})) return 0;
    return LinkStroke(j0, j1).Fits({2}, {3}) ? 1 : 0;
}

// The nodes of the (3, 5) templates a, c and d: the junctions in raster order, the four upper
// ends in x order and the lowest end.
struct ThreeJunctionW {
    Node j0;
    Node j1;
    Node j2;
    SortedNodes ends;
    Node e4;
};

ThreeJunctionW NameThreeJunctionW() {
    return ThreeJunctionW{JunctionNode(0), JunctionNode(1), JunctionNode(2), EndsByX(0, 3), EndNode(4)};
}

// What templates a and c share: J0 at the top middle with the spurs of the split apex, a steep
// link down to J1 in the centre, and the spur E4 rising from the bottom row into J2.
bool SplitApexOverCentre(const ThreeJunctionW& w) {
    if (!InZone5(w.j0, {2, 7}) || !InZone5(w.j1, {7, 12})) return false;
    if (!TipSpursMeet(w.ends.at[1], w.ends.at[2], w.j0) || !FootRises(w.e4, w.j2)) return false;
    return FallsSteeply(LinkStroke(w.j0, w.j1)) && OnBottomRow(w.e4);
}

// Case (3, 5): J0 at the top middle, J1 in the centre, J2 at the bottom-left vertex.
std::int16_t MatchW_H0B3E5a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const ThreeJunctionW w = NameThreeJunctionW();
    if (!InZone3(w.j2, {6, 7}) || !SortedInZones(5, w.ends, {{0}, {1}, {3}, {4}})) return 0;
    if (!SplitApexOverCentre(w)) return 0;
    if (!FitsChord(TraceStroke(w.ends.at[0], w.j2), {0, 2}, {3}, 1.0F)) return 0;
    if (!FitsChord(TraceStroke(w.ends.at[3], w.j1), {2}, {4}, -1.0F)) return 0;
    if (!LinkStroke(w.j1, w.j2).Fits({0}, {4})) return 0;
    return w.e4.x <= box.left + box.width / 2 ? 1 : 0;
}

// Junctions at the bottom-left vertex, in the middle and at the bottom-right vertex.
std::int16_t MatchW_H0B3E5b() {
    const SortedNodes js = JunctionsByX(0, 2);
    const SortedNodes ends = EndsByX(0, 4);
    if (!SortedInZones(5, js, {{10, 11, 15, 16, 20, 21}, {2, 7, 12}, {12, 13, 18, 19, 23}})) return 0;
    if (!SortedInZones(5, ends, {{0, 1}, {16, 20, 21}, {1, 2, 3, 7}, {22, 23, 24}, {3, 4}})) return 0;
    if (!FitsChord(TraceStroke(ends.at[0], js.at[0]), {0, 2}, {3}, 1.0F)) return 0;
    if (!FootRises(ends.at[1], js.at[0])) return 0;
    if (!FitsSteep(TraceStroke(ends.at[2], js.at[1]), {0}, {3, 4}, 0.9)) return 0;
    if (!FootRises(ends.at[3], js.at[2])) return 0;
    if (!TraceStroke(ends.at[4], js.at[2]).Fits({0, 2}, {4})) return 0;
    if (!LinkStroke(js.at[0], js.at[1]).Fits({0}, {2})) return 0;
    return LinkStroke(js.at[1], js.at[2]).Fits({0}, {3}) ? 1 : 0;
}

// J0 at the top middle, J1 in the centre, J2 at the bottom-right vertex.
std::int16_t MatchW_H0B3E5c() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const ThreeJunctionW w = NameThreeJunctionW();
    if (!InZone3(w.j2, {7, 8}) || !SortedInZones(5, w.ends, {{0}, {1}, {2, 3}, {4}})) return 0;
    if (!SplitApexOverCentre(w)) return 0;
    if (!FitsChord(TraceStroke(w.ends.at[0], w.j1), {2}, {3}, 1.0F)) return 0;
    if (!FitsChord(TraceStroke(w.ends.at[3], w.j2), {0, 2}, {4}, -1.0F)) return 0;
    if (!LinkStroke(w.j1, w.j2).Fits({0}, {3})) return 0;
    return w.e4.x >= box.right - box.width / 2 ? 1 : 0;
}

// Junctions at the right tip, in the middle and at the bottom-left vertex.
std::int16_t MatchW_H0B3E5d() {
    const ThreeJunctionW w = NameThreeJunctionW();
    if (!InZone5(w.j0, {3, 4}) || !InZone5(w.j1, {7, 12}) || !InZone5(w.j2, {21})) return 0;
    if (!SortedInZones(5, w.ends, {{0, 1}, {1, 2, 3}, {3}, {4}}) || !InZone5(w.e4, {21})) return 0;
    if (!TraceStroke(w.ends.at[0], w.j2).Fits({0, 2}, {3})) return 0;
    if (!FitsSteep(TraceStroke(w.ends.at[1], w.j1), {0, 1}, {3, 4}, 0.8)) return 0;
    if (!TipSpursMeet(w.ends.at[2], w.ends.at[3], w.j0)) return 0;
    if (!StraightRise(w.e4, w.j2, 1.4)) return 0;
    if (!LinkStroke(w.j0, w.j1).Fits({2}, {4})) return 0;
    if (!LinkStroke(w.j1, w.j2).Fits({0}, {4})) return 0;
    return OnBottomRow(w.e4) ? 1 : 0;
}

// Junctions at the left tip, in the middle and at the bottom-left vertex.
std::int16_t MatchW_H0B3E5e() {
    const SortedNodes js = JunctionsByX(0, 2);
    const SortedNodes ends = EndsByX(0, 3);
    const Node e4 = EndNode(4);
    if (!SortedInZones(5, js, {{0, 1}, {21}, {7, 12}})) return 0;
    if (!SortedInZones(5, ends, {{0}, {0, 1}, {1, 2, 3}, {3, 4}}) || !InZone5(e4, {21})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], js.at[0])) return 0;
    if (!TraceStroke(ends.at[2], js.at[2]).Fits({0, 1}, {3, 4})) return 0;
    if (!TraceStroke(ends.at[3], js.at[2]).Fits({2}, {4})) return 0;
    if (!StraightRise(e4, js.at[1], 1.4)) return 0;
    if (!LinkStroke(js.at[0], js.at[1]).Fits({0}, {3})) return 0;
    if (!LinkStroke(js.at[2], js.at[1]).Fits({0}, {4})) return 0;
    return OnBottomRow(e4) ? 1 : 0;
}

// Case (4, 6): junctions at both outer tips, in the middle, and one more with a spur under it.
std::int16_t MatchW_H0B4E6a() {
    const SortedNodes js = JunctionsByX(0, 2);
    const Node j3 = JunctionNode(3);
    const SortedNodes ends = EndsByX(0, 4);
    const Node e5 = EndNode(5);
    if (!SortedInZones(5, js, {{0, 5}, {7}, {4}})) return 0;
    if (!InZone5(ends.at[1], {1}) || !InZone5(ends.at[2], {2}) || !InZone5(ends.at[3], {3})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], js.at[0])) return 0;
    if (!FallsSteeply(TraceStroke(ends.at[2], js.at[1]))) return 0;
    if (!TipSpursMeet(ends.at[3], ends.at[4], js.at[2])) return 0;
    if (!FootRises(e5, j3)) return 0;
    const Stroke leftV = LinkStroke(js.at[0], js.at[1]);
    if (!FitsFlat(leftV, {2}, {2, 3}, 0.5) || leftV.lengthRatio < 1.4) return 0;
    if (!LinkStroke(js.at[1], j3).Fits({0}, {3})) return 0;
    if (!LinkStroke(j3, js.at[2]).Fits({0}, {2})) return 0;
    return AtTopLeft(ends.at[0]) && AtTopRight(ends.at[4]) ? 1 : 0;
}

// Junctions at both bottom vertices, in the middle and at the right tip.
std::int16_t MatchW_H0B4E6b() {
    const SortedNodes js = JunctionsByX(0, 3);
    const SortedNodes ends = EndsByX(0, 3);
    const NodePair feet = InXOrder(EndNode(4), EndNode(5));
    if (!SortedInZones(5, js, {{15, 16}, {7, 12}, {18, 23}, {3, 4}})) return 0;
    if (!SortedInZones(5, ends, {{0, 5}, {2}, {3, 4}, {4}})) return 0;
    if (!InZone5(feet.left, {20}) || !InZone5(feet.right, {22, 23})) return 0;
    if (!TraceStroke(ends.at[0], js.at[0]).Fits({0, 2}, {3})) return 0;
    if (!FallsSteeply(TraceStroke(ends.at[1], js.at[1]))) return 0;
    if (!TipSpursMeet(ends.at[2], ends.at[3], js.at[3])) return 0;
    if (!FootRises(feet.left, js.at[0]) || !FootRises(feet.right, js.at[2])) return 0;
    if (!LinkStroke(js.at[0], js.at[1]).Fits({0}, {2})) return 0;
    if (!LinkStroke(js.at[1], js.at[2]).Fits({0}, {3})) return 0;
    return LinkStroke(js.at[2], js.at[3]).Fits({0}, {2}) ? 1 : 0;
}

// Junctions at the top middle, below it, and at both bottom vertices.
std::int16_t MatchW_H0B4E6c() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair low = InXOrder(JunctionNode(2), JunctionNode(3));
    const SortedNodes ends = EndsByX(0, 3);
    const NodePair feet = InXOrder(EndNode(4), EndNode(5));
    if (!InZone5(j0, {2}) || !InZone5(j1, {7, 12})) return 0;
    if (!InZone5(low.left, {15, 16, 21}) || !InZone5(low.right, {18, 23})) return 0;
    if (!SortedInZones(5, ends, {{0}, {1, 2}, {2, 3}, {4}})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {22, 23, 24})) return 0;
    if (!TraceStroke(ends.at[0], low.left).Fits({0, 2}, {3})) return 0;
    if (!TipSpursMeet(ends.at[1], ends.at[2], j0)) return 0;
    if (!TraceStroke(ends.at[3], low.right).Fits({0, 2}, {4})) return 0;
    if (!FootRises(feet.left, low.left) || !FootRises(feet.right, low.right)) return 0;
    if (!LinkStroke(j0, j1).Fits({0}, {3, 4})) return 0;
    if (!LinkStroke(j1, low.left).Fits({0}, {4})) return 0;
    return LinkStroke(j1, low.right).Fits({0}, {3}) ? 1 : 0;
}

// Junctions at the left tip, at both bottom vertices and in the middle.
std::int16_t MatchW_H0B4E6d() {
    const SortedNodes js = JunctionsByX(0, 3);
    const SortedNodes ends = EndsByX(0, 3);
    const NodePair feet = InXOrder(EndNode(4), EndNode(5));
    if (!SortedInZones(5, js, {{0}, {16, 21}, {7, 12}, {18, 23}})) return 0;
    if (!SortedInZones(5, ends, {{0}, {0, 1}, {2}, {4}})) return 0;
    if (!InZone5(feet.left, {21}) || !InZone5(feet.right, {23})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], js.at[0])) return 0;
    if (!FallsSteeply(TraceStroke(ends.at[2], js.at[2]))) return 0;
    if (!TraceStroke(ends.at[3], js.at[3]).Fits({0}, {4})) return 0;
    if (!FootRises(feet.left, js.at[1]) || !FootRises(feet.right, js.at[3])) return 0;
    if (!LinkStroke(js.at[0], js.at[1]).Fits({0}, {3})) return 0;
    if (!LinkStroke(js.at[1], js.at[2]).Fits({0}, {2})) return 0;
    return LinkStroke(js.at[2], js.at[3]).Fits({0}, {3}) ? 1 : 0;
}

// Short spurs at the left tip and at the top middle, a junction in the middle, and one at the
// bottom-right vertex.
std::int16_t MatchW_H0B4E6e() {
    const int shortSpur = 3 * Glyph.StrokeUnit;
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const Node j3 = JunctionNode(3);
    const SortedNodes ends = EndsByX(0, 4);
    const Node e5 = EndNode(5);
    if (!InZone5(tips.left, {0}) || !InZone5(tips.right, {1, 2})) return 0;
    if (!InZone5(j2, {7, 12}) || !InZone5(j3, {18, 23})) return 0;
    if (!SortedInZones(5, ends, {{0}, {0, 1}, {1, 2}, {2, 3}, {4}}) || !InZone5(e5, {23})) return 0;
    if (!ShortSpursMeet(ends.at[0], ends.at[1], tips.left, shortSpur)) return 0;
    if (!ShortSpursMeet(ends.at[2], ends.at[3], tips.right, shortSpur)) return 0;
    const Stroke rightArm = TraceStroke(ends.at[4], j3);
    if (!FitsSteep(rightArm, {0, 2}, {4}, 1.1) || rightArm.length < 2 * Glyph.StrokeUnit) return 0;
    if (!FootRises(e5, j3)) return 0;
    if (!LinkStroke(tips.left, j2).Fits({2}, {3})) return 0;
    if (!FallsSteeply(LinkStroke(tips.right, j2))) return 0;
    return LinkStroke(j2, j3).Fits({0}, {3}) ? 1 : 0;
}

// The nodes of the five-junction templates: the tip junctions J0, J1 and the bottom vertices
// J3, J4 in x order, the middle junction J2, the sorted upper ends and the feet.
struct FiveJunctionW {
    NodePair tips;
    Node middle;
    NodePair low;
    SortedNodes ends;
    NodePair feet;
};

FiveJunctionW NameFiveJunctionW() {
    return FiveJunctionW{InXOrder(JunctionNode(0), JunctionNode(1)), JunctionNode(2),
                         InXOrder(JunctionNode(3), JunctionNode(4)), EndsByX(0, 4), InXOrder(EndNode(5), EndNode(6))};
}

bool FeetUnderVertices(const FiveJunctionW& w) {
    return InZone5(w.low.left, {16, 21}) && InZone5(w.low.right, {18, 23}) && InZone5(w.feet.left, {21}) &&
           InZone5(w.feet.right, {23}) && FootRises(w.feet.left, w.low.left) && FootRises(w.feet.right, w.low.right);
}

// Cases (5, 7) and (6, 8): spurs at the left tip and at the top middle, junctions at both
// bottom vertices.
std::int16_t MatchW_H0B5E7a() {
    const FiveJunctionW w = NameFiveJunctionW();
    if (!InZone5(w.tips.left, {0, 1}) || !InZone5(w.tips.right, {2}) || !InZone5(w.middle, {7})) return 0;
    if (!SortedInZones(5, w.ends, {{0}, {1, 2}, {2}, {3}, {4}})) return 0;
    if (!TipSpursMeet(w.ends.at[0], w.ends.at[1], w.tips.left)) return 0;
    if (!TipSpursMeet(w.ends.at[2], w.ends.at[3], w.tips.right)) return 0;
    if (!TraceStroke(w.ends.at[4], w.low.right).Fits({0, 2}, {4})) return 0;
    if (!FeetUnderVertices(w)) return 0;
    if (!LinkStroke(w.tips.left, w.low.left).Fits({0}, {3})) return 0;
    if (!LinkStroke(w.tips.right, w.middle).Fits({0}, {3, 4})) return 0;
    if (!LinkStroke(w.middle, w.low.left).Fits({0}, {4})) return 0;
    return LinkStroke(w.middle, w.low.right).Fits({0}, {3}) ? 1 : 0;
}

// Spurs at the top middle and at the right tip, each at most half as long as the left arm.
std::int16_t MatchW_H0B5E7b() {
    const FiveJunctionW w = NameFiveJunctionW();
    if (!InZone5(w.tips.left, {2}) || !InZone5(w.tips.right, {3, 4}) || !InZone5(w.middle, {7, 12})) return 0;
    if (!SortedInZones(5, w.ends, {{0}, {1, 2}, {2, 3}, {3}, {4}})) return 0;
    const Stroke arm = TraceStroke(w.ends.at[0], w.low.left);
    if (!arm.Fits({0}, {3})) return 0;
    const int halfArm = arm.length / 2;
    if (!ShortSpursMeet(w.ends.at[1], w.ends.at[2], w.tips.left, halfArm)) return 0;
    if (!ShortSpursMeet(w.ends.at[3], w.ends.at[4], w.tips.right, halfArm)) return 0;
    if (!FeetUnderVertices(w)) return 0;
    if (!FallsSteeply(LinkStroke(w.tips.left, w.middle))) return 0;
    if (!LinkStroke(w.tips.right, w.low.right).Fits({0}, {4})) return 0;
    if (!LinkStroke(w.middle, w.low.left).Fits({0}, {4})) return 0;
    return LinkStroke(w.middle, w.low.right).Fits({0}, {3}) ? 1 : 0;
}

// Spurs at every tip and under both bottom vertices.
std::int16_t MatchW_H0B6E8a() {
    const SortedNodes js = JunctionsByX(0, 2);
    const Node j3 = JunctionNode(3);
    const NodePair low = InXOrder(JunctionNode(4), JunctionNode(5));
    const SortedNodes ends = EndsByX(0, 5);
    const NodePair feet = InXOrder(EndNode(6), EndNode(7));
    if (!SortedInZones(5, js, {{0, 1}, {2}, {3, 4}}) || !InZone5(j3, {7, 12, 17})) return 0;
    if (!InZone5(low.left, {16, 21}) || !InZone5(low.right, {18, 23})) return 0;
    if (!SortedInZones(5, ends, {{0}, {0, 1}, {1, 2}, {2, 3}, {3}, {4}})) return 0;
    if (!InZone5(feet.left, {21}) || !InZone5(feet.right, {23})) return 0;
    for (int k = 0; k < 3; ++k) {
        if (!TipSpursMeet(ends.at[2 * k], ends.at[2 * k + 1], js.at[k])) return 0;
    }
    if (!FootRises(feet.left, low.left) || !FootRises(feet.right, low.right)) return 0;
    if (!LinkStroke(js.at[0], low.left).Fits({0}, {3})) return 0;
    if (!FallsSteeply(LinkStroke(js.at[1], j3))) return 0;
    if (!LinkStroke(js.at[2], low.right).Fits({0}, {4})) return 0;
    if (!LinkStroke(j3, low.left).Fits({0}, {4})) return 0;
    return LinkStroke(j3, low.right).Fits({0}, {3}) ? 1 : 0;
}

// Inner rows (all but the first and the last) of the filled glyph that cross three strokes or
// more: a W has several, between its arms.
bool HasThreeStrokeRows() {
    const int h = Glyph.GlyphHeight;
    if (h < 3) return false;
    int rows = 0;
    for (int i = 1; i <= h - 2; ++i) {
        if (RowRunsAt(i) > 2) ++rows;
    }
    return rows >= MinThreeRunRows;
}

std::int16_t NoHoleW() {
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchW_H0B0E2a, MatchW_H0B0E2b});
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchW_H0B1E3a, MatchW_H0B1E3b, MatchW_H0B1E3c});
    if (IsCase(2, 4)) {
        return AcceptFirstMatch({MatchW_H0B2E4a, MatchW_H0B2E4b, MatchW_H0B2E4c, MatchW_H0B2E4d, MatchW_H0B2E4e,
                                 MatchW_H0B2E4f, MatchW_H0B2E4g, MatchW_H0B2E4h});
    }
    if (IsCase(3, 5)) {
        return AcceptFirstMatch({MatchW_H0B3E5a, MatchW_H0B3E5b, MatchW_H0B3E5c, MatchW_H0B3E5d, MatchW_H0B3E5e});
    }
    if (IsCase(4, 6)) {
        return AcceptFirstMatch({MatchW_H0B4E6a, MatchW_H0B4E6b, MatchW_H0B4E6c, MatchW_H0B4E6d, MatchW_H0B4E6e});
    }
    if (IsCase(5, 7)) return AcceptFirstMatch({MatchW_H0B5E7a, MatchW_H0B5E7b});
    if (IsCase(6, 8)) return AcceptFirstMatch({MatchW_H0B6E8a});
    return 0;
}

}  // namespace

std::int16_t IsLetterW() {
    if (!HasThreeStrokeRows()) return 0;
    switch (Glyph.HoleCount) {
        case 0:
            return NoHoleW();
        case 1:
            if (IsCase(2, 2)) return AcceptFirstMatch({MatchW_H1B2E2a});
            if (IsCase(1, 1)) return AcceptFirstMatch({MatchW_H1B1E1a});
            return 0;
        case 2:
            return IsCase(6, 4) ? AcceptFirstMatch({MatchW_H2B6E4a}) : 0;
        default:
            return 0;
    }
}
