#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

int WidthUnit() { return Glyph.WidthUnit; }
int HeightUnit() { return Glyph.HeightUnit; }

// The triangle above the crossbar: its centre well above the feet, clear of both sides, and not
// a sliver.
bool HoleFitsA() {
    const HoleBox& hole = LargestHole();
    const GlyphBoxRecord& box = Box();
    if ((hole.top + hole.bottom) / 2 > box.bottom - 2 * HeightUnit()) return false;
    if (hole.left < box.left + WidthUnit() / 2 || hole.right > box.right - WidthUnit() / 2) return false;
    return HoleRatio(hole) >= 0.06;
}

bool HoleTopAtMost(int row) { return LargestHole().top <= row; }

// The crossbar junctions on both sides of the middle column, each at least `margin` in from
// its side and no higher than a third of the box down.
bool CrossbarAround(NodePair bar, int margin) {
    const GlyphBoxRecord& box = Box();
    const int middle = box.left + box.width / 2;
    if (bar.left.x < box.left + margin || bar.left.x > middle) return false;
    if (bar.right.x < middle || bar.right.x > box.right - margin) return false;
    return bar.left.y >= box.top + box.height / 3 && bar.right.y >= box.top + box.height / 3;
}

// The crossbar of the serifed cases: a full width unit in from each side, and above the last
// height unit.
bool SerifCrossbarPlaced(NodePair bar) {
    const int lowest = Box().bottom - HeightUnit();
    return CrossbarAround(bar, WidthUnit()) && bar.left.y <= lowest && bar.right.y <= lowest;
}

// The apex spur end on the top row, straight down into the apex junction at least this steep.
bool ApexSpurFits(Node end, Node apex, double minSlope) {
    const Stroke s = TraceStroke(end, apex);
    return s.Fits({0}, {3, 4}) && s.slope >= minSlope;
}

// Straight legs from the apex down to the crossbar ends, and a straight, nearly level crossbar.
bool ApexTriangleFits(Node apex, NodePair bar) {
    if (!LinkStroke(apex, bar.left).Fits({0}, {4})) return false;
    if (!LinkStroke(apex, bar.right).Fits({0}, {3})) return false;
    const Stroke crossbar = LinkStroke(bar.left, bar.right);
    return crossbar.Fits({0}, {2, 3}) && crossbar.slope <= 0.3;
}

// The plain A with two feet.
std::int16_t MatchA_H1B2E2a() {
    const GlyphBoxRecord& box = Box();
    if (!HoleTopAtMost(box.top + 1)) return 0;
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    const int middle = box.left + box.width / 2;
    if (j.left.x < box.left + WidthUnit() || j.left.x > middle) return 0;
    if (j.right.x < middle || j.right.x > box.right - WidthUnit() + 2) return 0;
    for (const Node& n : {j.left, j.right}) {
        if (n.y < box.top + box.height / 3 || n.y > box.bottom - HeightUnit()) return 0;
    }
    if (LargestHole().right > j.right.x + WidthUnit()) return 0;
    const NodePair e = InXOrder(EndNode(0), EndNode(1));
    const int lowest = box.bottom - 2 * HeightUnit();
    if (e.left.x > box.left + box.width / 3 || e.left.y < lowest) return 0;
    if (e.right.x < box.right - box.width / 3 || e.right.y < lowest) return 0;
    const Stroke leftLeg = TraceStroke(e.left, j.left);
    if (!leftLeg.FitsShape({0, 1, 2})) return 0;
    if (leftLeg.shape == 2 ? !InSet(leftLeg.direction, {1, 2}) : leftLeg.direction != 2) return 0;
    const Stroke rightLeg = TraceStroke(e.right, j.right);
    if (!rightLeg.Fits({0, 1, 2}, {1, 2})) return 0;
    if (rightLeg.shape == 2 ? rightLeg.chordDirection != -1.0F : rightLeg.chordDirection < 0.0F) return 0;
    const Stroke apexPath = LinkStroke(j.left, j.right);
    if (!apexPath.Fits({1, 15}, {2, 3}) || apexPath.slope > 0.3 || apexPath.lengthRatio < 1.2) return 0;
    return HasRightWaistNotch() == 0 ? 1 : 0;
}

// A spur left on the apex, two feet.
std::int16_t MatchA_H1B3E3a() {
    const GlyphBoxRecord& box = Box();
    if (!HoleTopAtMost(box.top + box.height / 2)) return 0;
    const Node apex = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node tip = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone3(apex, {1, 2}) || !CrossbarAround(bar, WidthUnit() / 2)) return 0;
    if (!OnTopRow(tip) || !InZone5(tip, {0, 1, 2, 3, 4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!TraceStroke(tip, apex).Fits({0}, {3, 4})) return 0;
    if (!TraceStroke(feet.left, bar.left).Fits({0, 1, 2}, {2})) return 0;
    const Stroke rightLeg = TraceStroke(feet.right, bar.right);
    if (!rightLeg.Fits({0, 1, 2}, {1, 2}) || (rightLeg.shape == 1 && rightLeg.chordDirection < 0.0F)) return 0;
    if (!LinkStroke(apex, bar.left).Fits({0, 1}, {3, 4})) return 0;
    if (!LinkStroke(apex, bar.right).Fits({0, 1}, {3})) return 0;
    const Stroke crossbar = LinkStroke(bar.left, bar.right);
    if (!crossbar.Fits({0, 2}, {2, 3})) return 0;
    return crossbar.slope <= 0.5 || bar.right.x - bar.left.x <= 2 ? 1 : 0;
}

// All three ends at the bottom: a left foot, and a right foot split in two by thinning.
std::int16_t MatchA_H1B3E3b() {
    const GlyphBoxRecord& box = Box();
    if (!HoleTopAtMost(box.top + 1)) return 0;
    const SortedNodes js = JunctionsByX(0, 2);
    const SortedNodes es = EndsByX(0, 2);
    if (!InZone5(js.at[0], {11}) || !InZone5(js.at[1], {13}) || !InZone5(js.at[2], {23, 24})) return 0;
    if (!InZone5(es.at[0], {20}) || !InZone5(es.at[1], {23}) || !InZone5(es.at[2], {24})) return 0;
    if (es.at[0].x > box.left + 2 * WidthUnit() || es.at[2].x < box.right) return 0;
    for (int k = 0; k < 3; ++k) {
        if (es.at[k].y < box.bottom - HeightUnit()) return 0;
    }
    if (!TraceStroke(es.at[0], js.at[0]).Fits({0, 1}, {2})) return 0;
    if (!StraightFeetMeet({es.at[1], es.at[2]}, js.at[2])) return 0;
    const Stroke crossbar = LinkStroke(js.at[0], js.at[1]);
    if (!crossbar.Fits({1}, {2, 3}) || crossbar.slope > 0.3) return 0;
    return LinkStroke(js.at[1], js.at[2]).Fits({0}, {3}) ? 1 : 0;
}

// All three ends at the bottom: a left foot split in two by thinning, and a right foot.
std::int16_t MatchA_H1B3E3c() {
    const GlyphBoxRecord& box = Box();
    if (!HoleTopAtMost(box.top + 1)) return 0;
    const SortedNodes js = JunctionsByX(0, 2);
    const SortedNodes es = EndsByX(0, 2);
    if (!InZone5(js.at[0], {20}) || !InZone5(js.at[1], {11}) || !InZone5(js.at[2], {12, 13, 14})) return 0;
    if (!InZone5(es.at[0], {20}) || !InZone5(es.at[1], {21}) || !InZone5(es.at[2], {23, 24})) return 0;
    if (es.at[0].x > box.left) return 0;
    for (int k = 0; k < 3; ++k) {
        if (es.at[k].y < box.bottom - HeightUnit()) return 0;
    }
    if (!StraightFeetMeet({es.at[0], es.at[1]}, js.at[0])) return 0;
    if (!TraceStroke(es.at[2], js.at[2]).Fits({0, 1, 2}, {1, 2})) return 0;
    const Stroke crossbar = LinkStroke(js.at[1], js.at[2]);
    if (!crossbar.Fits({1}, {2, 3}) || crossbar.slope > 0.3) return 0;
    return LinkStroke(js.at[1], js.at[0]).Fits({0}, {4}) ? 1 : 0;
}

// An apex spur and a right foot split in two, joined by a serif junction.
std::int16_t MatchA_H1B4E4a() {
    const GlyphBoxRecord& box = Box();
    if (!HoleTopAtMost(box.top + box.height / 3)) return 0;
    const Node apex = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node serif = JunctionNode(3);
    const Node tip = EndNode(0);
    const SortedNodes es = EndsByX(1, 3);
    if (!InZone3(apex, {1}) || !SerifCrossbarPlaced(bar) || !InZone(4, serif, {14, 15})) return 0;
    if (!OnTopRow(tip) || !InZone5(tip, {2})) return 0;
    if (es.at[0].y < box.bottom - HeightUnit() || !InZone(4, es.at[1], {14})) return 0;
    if (es.at[2].x < box.right - box.width / 3 || es.at[2].y < box.bottom - HeightUnit()) return 0;
    if (!ApexSpurFits(tip, apex, 1.8)) return 0;
    if (!TraceStroke(es.at[0], bar.left).Fits({0}, {2})) return 0;
    if (!StraightFeetMeet({es.at[1], es.at[2]}, serif)) return 0;
    if (!ApexTriangleFits(apex, bar)) return 0;
    return LinkStroke(bar.right, serif).Fits({0}, {3}) ? 1 : 0;
}

// Both feet split in two by thinning, no apex spur.
std::int16_t MatchA_H1B4E4b() {
    if (!HoleTopAtMost(Box().top + 1)) return 0;
    const NodePair bar = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair feet = InXOrder(JunctionNode(2), JunctionNode(3));
    const SortedNodes es = EndsByX(0, 3);
    if (!InZone5(bar.left, {11, 16}) || !InZone5(bar.right, {12, 13, 18})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!InZone5(es.at[0], {20}) || !InZone5(es.at[1], {20, 21, 22})) return 0;
    if (!InZone5(es.at[2], {22, 23}) || !InZone5(es.at[3], {24})) return 0;
    if (!StraightFeetMeet({es.at[0], es.at[1]}, feet.left, 0.8)) return 0;
    if (!TraceStroke(es.at[2], feet.right).Fits({0}, {2})) return 0;
    const Stroke outer = TraceStroke(es.at[3], feet.right);
    if (!outer.Fits({0}, {1}) || outer.slope > 0.8) return 0;
    const Stroke crossbar = LinkStroke(bar.left, bar.right);
    if (!crossbar.Fits({1}, {2, 3}) || crossbar.slope > 0.2) return 0;
    if (!LinkStroke(bar.left, feet.left).Fits({0}, {4})) return 0;
    return LinkStroke(bar.right, feet.right).Fits({0}, {3}) ? 1 : 0;
}

// An apex spur and a left foot split in two, joined by a serif junction.
std::int16_t MatchA_H1B4E4c() {
    if (!HoleTopAtMost(Box().top + Box().height / 3)) return 0;
    const Node apex = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node serif = JunctionNode(3);
    const Node tip = EndNode(0);
    const SortedNodes es = EndsByX(1, 3);
    if (!InZone3(apex, {1}) || !SerifCrossbarPlaced(bar) || !InZone(4, serif, {12})) return 0;
    if (!OnTopRow(tip) || !InZone5(tip, {2, 3})) return 0;
    if (!InZone5(es.at[0], {20}) || !InZone5(es.at[1], {21}) || !InZone5(es.at[2], {23, 24})) return 0;
    if (!ApexSpurFits(tip, apex, 1.8)) return 0;
    if (!StraightFeetMeet({es.at[0], es.at[1]}, serif)) return 0;
    const Stroke rightLeg = TraceStroke(es.at[2], bar.right);
    if (!rightLeg.Fits({0}, {1}) && !rightLeg.Fits({1}, {1, 2})) return 0;
    if (!ApexTriangleFits(apex, bar)) return 0;
    return LinkStroke(bar.left, serif).Fits({0}, {4}) ? 1 : 0;
}

// An apex spur and both feet split in two.
std::int16_t MatchA_H1B5E5a() {
    if (!HoleTopAtMost(Box().top + Box().height / 3)) return 0;
    const Node apex = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const NodePair feet = InXOrder(JunctionNode(3), JunctionNode(4));
    const Node tip = EndNode(0);
    const SortedNodes es = EndsByX(1, 4);
    if (!InZone3(apex, {1}) || !InZone5(bar.left, {11, 15, 16}) || !InZone5(bar.right, {13, 18, 19})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!OnTopRow(tip) || !InZone5(tip, {1, 2, 3})) return 0;
    if (!InZone5(es.at[0], {20}) || !InZone5(es.at[1], {21, 22})) return 0;
    if (!InZone5(es.at[2], {22, 23}) || !InZone5(es.at[3], {24})) return 0;
    if (!ApexSpurFits(tip, apex, 1.2)) return 0;
    if (!StraightFeetMeet({es.at[0], es.at[1]}, feet.left, 0.8)) return 0;
    if (!StraightFeetMeet({es.at[2], es.at[3]}, feet.right, 0.8)) return 0;
    if (!ApexTriangleFits(apex, bar)) return 0;
    if (!LinkStroke(feet.left, bar.left).Fits({0}, {2})) return 0;
    return LinkStroke(feet.right, bar.right).Fits({0}, {1}) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterA() {
    if (Glyph.HoleCount != 1 || !HoleFitsA()) return 0;
    if (IsCase(2, 2)) return AcceptFirstMatch({MatchA_H1B2E2a});
    if (IsCase(3, 3)) return AcceptFirstMatch({MatchA_H1B3E3a, MatchA_H1B3E3b, MatchA_H1B3E3c});
    if (IsCase(4, 4)) return AcceptFirstMatch({MatchA_H1B4E4a, MatchA_H1B4E4b, MatchA_H1B4E4c});
    if (IsCase(5, 5)) return AcceptFirstMatch({MatchA_H1B5E5a});
    return 0;
}
