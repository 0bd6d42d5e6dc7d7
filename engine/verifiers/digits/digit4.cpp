#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"
#include "engine/verifiers/tie_breaks.h"

namespace {

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }
const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// The hole reaches the left side and the top of the skeleton box.
bool HoleTouchesLeftAndTop(const HoleBox& hole) { return hole.left <= Box().left + 1 && hole.top <= Box().top + 1; }

// A thinning spur cut off below the box near its right side, or left of the box at its bottom:
// the stem's foot of a '4' whose skeleton closed into a ring.
bool HasFootSpur() {
    const GlyphBoxRecord& box = Box();
    for (int k = 0; k < Glyph.PrunedSpurCount && k < MaxPrunedSpurs; ++k) {
        const PrunedSpur& spur = Glyph.PrunedSpurs[k];
        if (spur.endRow > box.bottom && spur.endCol >= box.right - Glyph.WidthUnit) return true;
        if (spur.endCol < box.left && spur.endRow >= box.bottom) return true;
    }
    return false;
}

bool HasFullHeightRightColumn() {
    for (int c = Width() / 2; c <= Width() - 1; ++c) {
        if (ColInkAt(c) >= Height() - 1) return true;
    }
    return false;
}

// The hole runs from the box's left side right to the apex junction, and from the apex down to
// the junction below it; with `filled`, it covers a tenth of the box.
bool HoleLeftOfStem(Node apex, Node below, bool filled) {
    const HoleBox& hole = LargestHole();
    if (hole.left > Box().left + 1 || hole.right < apex.x - 2) return false;
    if (hole.top > apex.y + 1 || hole.bottom < below.y - 1) return false;
    return !filled || HoleRatio(hole) >= 0.1;
}

// A stem split by the bar's junctions: steep from the apex down, less steep below the bar.
bool SplitStemFits(Node apex, Node barJunction, Node belowBar, Node foot) {
    const Stroke upper = LinkStroke(apex, barJunction);
    if (!upper.Fits({0, 1, 2}, {3, 4}) || upper.slope < 3.0) return false;
    const Stroke lower = LinkStroke(belowBar, foot);
    return lower.Fits({0}, {3, 4}) && lower.slope >= 1.4;
}

std::int16_t Match4_H1B0E0a() {
    const GlyphBoxRecord& box = Box();
    const HoleBox& hole = LargestHole();
    if (!HoleTouchesLeftAndTop(hole) || hole.bottom < box.bottom - 1 || hole.right < box.right - 1) return 0;
    if (HoleRatio(hole) < 0.3) return 0;
    return HasFootSpur() && HasFullHeightRightColumn() ? 1 : 0;
}

std::int16_t Match4_H1B1E1a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {12, 13, 14, 17, 18, 19, 23}) || !InZone5(e0, {22, 23, 24})) return 0;
    const Stroke foot = TraceStroke(e0, j0);
    if (!foot.Fits({0, 2}, {1, 2}) || foot.slope < 1.2) return 0;
    const HoleBox& hole = LargestHole();
    if (!HoleTouchesLeftAndTop(hole) || hole.right < box.right - box.width / 2) return 0;
    if (hole.bottom > box.bottom - box.height / 6 || HoleRatio(hole) < 0.1) return 0;
    return Prefer9Over4() == 0 ? 1 : 0;
}

std::int16_t Match4_H1B1E1b() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {3, 7, 8}) || !OnTopRow(e0) || !InZone5(e0, {3, 4})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3, 4})) return 0;
    const HoleBox& hole = LargestHole();
    if (hole.left > box.left + 1 || hole.right < box.right - 2) return 0;
    if (hole.top < box.top + 3 || hole.top > box.top + box.height / 2) return 0;
    return hole.bottom >= box.bottom - 1 && HoleRatio(hole) >= 0.15 ? 1 : 0;
}

std::int16_t Match4_H1B1E1c() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {22, 23}) || !InZone5(e0, {24})) return 0;
    const Stroke arm = TraceStroke(e0, j0);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.6) return 0;
    const HoleBox& hole = LargestHole();
    if (!HoleTouchesLeftAndTop(hole) || hole.right > box.right - Glyph.WidthUnit) return 0;
    return hole.bottom >= box.bottom - box.height / 4 && HoleRatio(hole) >= 0.1 ? 1 : 0;
}

std::int16_t Match4_H1B2E2a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(j0, {12, 13, 17, 18, 19, 24}) || !InZone5(j1, {13, 17, 18, 19, 23, 24})) return 0;
    if (!InZone5(e0, {14, 19, 24})) return 0;
    if (e0.x < box.right && e1.x < box.right) return 0;
    if (!OnBottomRow(e1) || !InZone5(e1, {21, 22, 23, 24})) return 0;
    const Stroke arm = WalkStroke(e0);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.5) return 0;
    const Stroke foot = WalkStroke(e1);
    if (!foot.Fits({0, 2}, {1, 2}) || foot.slope < 0.5) return 0;
    const HoleBox& hole = LargestHole();
    if (!HoleTouchesLeftAndTop(hole) || hole.right < j0.x - 2 || hole.bottom < j0.y - 1) return 0;
    if (HoleRatio(hole) < 0.1) return 0;
    return NodeDistance(j0, j1) <= Glyph.StrokeUnit ? 1 : 0;
}

// The foot stroke of the (2, 2) templates b and d: straight, or bowed with the lower end left
// and heading up-right; up-left or up-right, and steep enough.
bool IsSteepFoot(const Stroke& foot) {
    const bool shape = foot.shape == 0 || (foot.shape == 2 && foot.chordDirection == -1.0F && foot.direction == 2);
    return foot.traced && shape && InSet(foot.direction, {1, 2}) && foot.slope >= 0.8;
}

std::int16_t Match4_H1B2E2b() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(j0, {2, 3, 4, 7, 8, 9, 12}) || !InZone5(j1, {17, 18, 19, 23, 24})) return 0;
    if (!InZone5(e0, {2, 3, 4}) || !InZone5(e1, {20, 21, 22, 23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3, 4})) return 0;
    if (!IsSteepFoot(TraceStroke(e1, j1))) return 0;
    return HoleLeftOfStem(j0, j1, false) ? 1 : 0;
}

std::int16_t Match4_H1B2E2c() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(j0, {1, 2, 6, 7}) || !InZone5(j1, {17, 22, 23})) return 0;
    if (!InZone5(e0, {2, 3, 4}) || !InZone5(e1, {24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3, 4})) return 0;
    const Stroke foot = TraceStroke(e1, j1);
    if (!foot.traced || foot.shape != 0 || foot.direction == 3) return 0;
    return HoleLeftOfStem(j0, j1, true) ? 1 : 0;
}

std::int16_t Match4_H1B2E2d() {
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair e = InXOrder(EndNode(0), EndNode(1));
    const HoleBox& hole = LargestHole();
    if (hole.left > j.left.x + 2 || hole.right < j.right.x - 2) return 0;
    if (hole.top > Box().top + 1 || hole.bottom < j.right.y - 2 || HoleRatio(hole) < 0.1) return 0;
    if (!InZone5(j.left, {11, 15}) || !InZone5(j.right, {13, 14, 19})) return 0;
    if (!InZone5(e.left, {15}) || !InZone5(e.right, {24})) return 0;
    if (!TraceStroke(e.left, j.left).Fits({0}, {2})) return 0;
    return IsSteepFoot(TraceStroke(e.right, j.right)) ? 1 : 0;
}

std::int16_t Match4_H1B2E2e() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair e = InXOrder(EndNode(0), EndNode(1));
    if (!InZone5(j0, {13, 14, 18, 19}) || !InZone5(j1, {23, 24})) return 0;
    if (!InZone5(e.left, {21, 22}) || !InZone5(e.right, {24})) return 0;
    if (!StraightFeetMeet(e, j1)) return 0;
    const Stroke stem = LinkStroke(j0, j1);
    if (!stem.Fits({0}, {3, 4}) || stem.slope < 2.4) return 0;
    const HoleBox& hole = LargestHole();
    if (!HoleTouchesLeftAndTop(hole) || hole.right < j0.x - 2 || hole.bottom < j0.y - 2) return 0;
    return HoleRatio(hole) >= 0.1 ? 1 : 0;
}

std::int16_t Match4_H1B3E3a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {2, 3, 6, 7, 8, 12}) || !InZone5(j1, {17, 18, 19, 23, 24})) return 0;
    if (!InZone5(j2, {17, 18, 19, 22, 23}) || NodeDistance(j1, j2) > Glyph.StrokeUnit) return 0;
    if (!OnTopRow(e0) || !InZone5(e0, {2, 3, 4})) return 0;
    if (!InZone5(e1, {19, 24}) || e1.x < box.right - Glyph.WidthUnit) return 0;
    if (!InZone5(e2, {21, 22, 23, 24}) || e2.y < box.bottom - 1) return 0;
    const Stroke diagonal = TraceStroke(e0, j0);
    if (!diagonal.Fits({0}, {3, 4}) || diagonal.slope < 0.7) return 0;
    const Stroke arm = WalkStroke(e1);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.8) return 0;
    if (!WalkStroke(e2).Fits({0, 2}, {1, 2})) return 0;
    const Stroke stem = LinkStroke(j0, j1);
    if (!stem.traced || !InSet(stem.shape, {0, 1, 2}) || stem.slope < 2.0) return 0;
    return HoleLeftOfStem(j0, j1, false) ? 1 : 0;
}

std::int16_t Match4_H1B3E3b() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const NodePair j = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node e0 = EndNode(0);
    const NodePair e = InXOrder(EndNode(1), EndNode(2));
    const HoleBox& hole = LargestHole();
    if (hole.left == box.left + 1 || hole.left > j.left.x + 1 || hole.right < j.right.x - 1) return 0;
    if (hole.top > j0.y + 1 || hole.bottom < j.right.y - 1) return 0;
    if (!InZone5(j0, {3, 4, 8, 9}) || !InZone5(j.left, {11, 15, 16}) || !InZone5(j.right, {18, 19, 24})) return 0;
    if (!OnTopRow(e0) || !InZone5(e0, {3, 4})) return 0;
    if (!InZone5(e.left, {15, 20}) || e.left.x > box.left) return 0;
    if (!InZone5(e.right, {22, 23, 24}) || !OnBottomRow(e.right)) return 0;
    const Stroke diagonal = TraceStroke(e0, j0);
    if (!diagonal.Fits({0}, {3, 4}) || diagonal.slope < 1.4) return 0;
    const Stroke arm = TraceStroke(e.left, j.left);
    if (!arm.Fits({0}, {2, 3})) return 0;
    const Stroke foot = TraceStroke(e.right, j.right);
    if (!foot.Fits({0, 2}, {1, 2}) || foot.slope < 1.2) return 0;
    if (!LinkStroke(j0, j.left).Fits({0}, {4})) return 0;
    const Stroke stem = LinkStroke(j0, j.right);
    if (!stem.Fits({0}, {3, 4}) || stem.slope < 2.2) return 0;
    const Stroke bar = LinkStroke(j.left, j.right);
    if (!bar.Fits({0}, {2, 3}) || bar.slope > 0.5) return 0;
    if (arm.length <= foot.length - Glyph.StrokeUnit) return 1;
    const int h = Height();
    return RowRunsAt(h - 3) <= 1 && RowRunsAt(h - 2) <= 1 ? 1 : 0;
}

std::int16_t Match4_H1B3E3c() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    const Node e0 = EndNode(0);
    const NodePair e = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {13, 18}) || !InZone5(j1, {13, 17, 18}) || !InZone5(j2, {22, 23})) return 0;
    if (NodeDistance(j0, j1) > Glyph.StrokeUnit) return 0;
    if (!InZone5(e0, {14, 19}) || !InZone5(e.left, {21, 22}) || !InZone5(e.right, {24})) return 0;
    const Stroke arm = TraceStroke(e0, j0);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.5) return 0;
    if (!StraightFeetMeet(e, j2, 0.8)) return 0;
    const Stroke stem = LinkStroke(j1, j2);
    if (!stem.Fits({0}, {3, 4}) || stem.slope < 2.0) return 0;
    const HoleBox& hole = LargestHole();
    if (!HoleTouchesLeftAndTop(hole) || hole.right < j2.x - 2) return 0;
    return hole.bottom >= j0.y - 1 ? 1 : 0;
}

std::int16_t Match4_H1B3E3d() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    const Node e0 = EndNode(0);
    const NodePair e = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {2, 3, 7, 8}) || !InZone5(j1, {17, 18}) || !InZone5(j2, {22, 23})) return 0;
    if (!OnTopRow(e0) || !InZone5(e0, {3, 4})) return 0;
    if (!InZone5(e.left, {21, 22, 23}) || !InZone5(e.right, {24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3, 4})) return 0;
    if (!StraightFeetMeet(e, j2)) return 0;
    if (!SplitStemFits(j0, j1, j1, j2)) return 0;
    return HoleLeftOfStem(j0, j1, true) ? 1 : 0;
}

std::int16_t Match4_H1B3E3e() {
    const GlyphBoxRecord& box = Box();
    const int su = Glyph.StrokeUnit;
    const SortedNodes js = JunctionsByX(0, 2);
    const NodePair e = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const HoleBox& hole = LargestHole();
    if (hole.top > box.top + 1 || hole.bottom < js.at[1].y - 2) return 0;
    if (hole.left > js.at[0].x + 1 || hole.right < js.at[1].x - 2 || HoleRatio(hole) < 0.1) return 0;
    const int dx = js.at[1].x - js.at[2].x;
    const int dy = js.at[1].y - js.at[2].y;
    if (dx > su || -dx > su || dy > su || -dy > su) return 0;
    if (!InZone5(js.at[0], {10, 15, 16}) || !InZone5(js.at[1], {17, 18, 19}) || !InZone5(js.at[2], {17, 18, 19})) {
        return 0;
    }
    if (!InZone5(e.left, {15}) || e.left.x > box.left + 1) return 0;
    if (!InZone5(e.right, {19}) || !InZone5(e2, {23, 24})) return 0;
    const Stroke armLeft = TraceStroke(e.left, js.at[0]);
    if (!armLeft.Fits({0}, {2, 3}) || armLeft.slope > 0.8) return 0;
    const Stroke armRight = TraceStroke(e.right, js.at[2]);
    if (!armRight.Fits({0}, {1, 4}) || armRight.slope > 0.8) return 0;
    const Stroke foot = WalkStroke(e2);
    if (!foot.Fits({0, 2}, {1, 2}) || foot.slope < 0.3) return 0;
    const Stroke bar = LinkStroke(js.at[0], js.at[1]);
    return bar.Fits({0, 1}, {2, 3}) && bar.slope <= 0.3 ? 1 : 0;
}

std::int16_t Match4_H1B4E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    const Node j3 = JunctionNode(3);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const NodePair e = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {2, 3, 7, 8}) || !InZone5(j1, {12, 13, 17, 18, 19}) || !InZone5(j2, {17, 18, 19})) return 0;
    if (NodeDistance(j1, j2) > Glyph.StrokeUnit || !InZone5(j3, {22, 23})) return 0;
    if (!OnTopRow(e0) || !InZone5(e0, {2, 3, 4}) || !InZone5(e1, {19})) return 0;
    if (!InZone5(e.left, {21, 22}) || !InZone5(e.right, {23, 24})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3, 4})) return 0;
    const Stroke arm = WalkStroke(e1);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.5) return 0;
    if (!StraightFeetMeet(e, j3)) return 0;
    if (!SplitStemFits(j0, j1, j2, j3)) return 0;
    return HoleLeftOfStem(j0, j1, true) ? 1 : 0;
}

// The hole tests of the apex templates: the hole reaches right to the apex junction, up to it,
// and down to the left end of the bar.
bool HoleUnderApex(Node apex, Node barLeft) {
    const HoleBox& hole = LargestHole();
    if (hole.right < apex.x - 2 || hole.top > apex.y + 1) return false;
    return hole.bottom >= barLeft.y - 1 && HoleRatio(hole) >= 0.1;
}

std::int16_t Match4_H1B4E4b() {
    const Node j0 = JunctionNode(0);
    const SortedNodes js = JunctionsByX(1, 3);
    const Node e0 = EndNode(0);
    const NodePair e = InXOrder(EndNode(1), EndNode(2));
    const Node e3 = EndNode(3);
    if (!HoleUnderApex(j0, js.at[0])) return 0;
    if (!InZone5(j0, {2, 3, 7, 8}) || !InZone5(js.at[0], {10, 15})) return 0;
    if (!InZone5(js.at[1], {17, 18}) || !InZone5(js.at[2], {17, 18, 19})) return 0;
    if (NodeDistance(js.at[1], js.at[2]) > Glyph.StrokeUnit) return 0;
    if (!InZone5(e0, {3, 4}) || !OnTopRow(e0)) return 0;
    if (!InZone5(e.left, {15, 20}) || !InZone5(e.right, {19}) || !InZone5(e3, {21, 22, 23, 24})) return 0;
    const Stroke diagonal = TraceStroke(e0, j0);
    if (!diagonal.Fits({0}, {3, 4}) || diagonal.slope < 0.4) return 0;
    if (!TraceStroke(e.left, js.at[0]).Fits({0}, {2})) return 0;
    const Stroke arm = WalkStroke(e.right);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.3) return 0;
    const Stroke foot = WalkStroke(e3);
    if (!foot.Fits({0, 2}, {1, 2}) || foot.slope < 0.8) return 0;
    if (!LinkStroke(j0, js.at[0]).Fits({0}, {4})) return 0;
    const Stroke stem = LinkStrokeOr(j0, js.at[1], js.at[2]);
    if (!stem.Fits({0}, {3, 4}) || stem.slope < 2.2) return 0;
    const Stroke bar = LinkStrokeOr(js.at[0], js.at[1], js.at[2]);
    return bar.Fits({0}, {2, 3}) && bar.slope <= 0.8 ? 1 : 0;
}

std::int16_t Match4_H1B4E4c() {
    const GlyphBoxRecord& box = Box();
    const SortedNodes js = JunctionsByX(0, 2);
    const Node j3 = JunctionNode(3);
    const NodePair e = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    const HoleBox& hole = LargestHole();
    if (hole.left > js.at[0].x + 1 || hole.right < js.at[1].x - 2) return 0;
    if (hole.top > box.top + 1 || hole.bottom < js.at[1].y - 2 || HoleRatio(hole) < 0.1) return 0;
    if (!InZone5(js.at[0], {10, 15}) || !InZone5(js.at[1], {17, 18}) || !InZone5(js.at[2], {17, 18})) return 0;
    if (!InZone5(j3, {22, 23, 24}) || NodeDistance(js.at[1], js.at[2]) > Glyph.StrokeUnit) return 0;
    if (!InZone5(e.left, {15}) || e.left.x > box.left || !InZone5(e.right, {19})) return 0;
    if (!InZone5(feet.left, {22, 23}) || !InZone5(feet.right, {24})) return 0;
    if (!TraceStroke(e.left, js.at[0]).Fits({0}, {2})) return 0;
    const Stroke arm = TraceStroke(e.right, js.at[2]);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.8) return 0;
    if (!StraightFeetMeet(feet, j3, 0.8)) return 0;
    const Stroke bar = LinkStroke(js.at[0], js.at[1]);
    if (!bar.Fits({0, 1}, {2, 3}) || bar.slope > 0.3) return 0;
    const Stroke stem = LinkStrokeOr(j3, js.at[1], js.at[2]);
    return stem.Fits({0}, {1, 2}) && stem.slope >= 2.2 ? 1 : 0;
}

std::int16_t Match4_H1B4E4d() {
    const Node j0 = JunctionNode(0);
    const SortedNodes js = JunctionsByX(1, 2);
    const Node j3 = JunctionNode(3);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!HoleUnderApex(j0, js.at[0])) return 0;
    if (!InZone5(j0, {2, 3, 7, 8}) || !InZone5(js.at[0], {15, 16}) || !InZone5(js.at[1], {17, 18})) return 0;
    if (!InZone5(j3, {23, 24}) || !InZone5(e0, {3}) || !OnTopRow(e0) || !InZone5(e1, {15})) return 0;
    if (!InZone5(feet.left, {21, 22}) || !InZone5(feet.right, {24})) return 0;
    const Stroke diagonal = TraceStroke(e0, j0);
    if (!diagonal.Fits({0}, {3, 4}) || diagonal.slope < 0.4) return 0;
    if (!TraceStroke(e1, js.at[0]).Fits({0}, {2})) return 0;
    if (!StraightFeetMeet(feet, j3, 0.8)) return 0;
    if (!LinkStroke(j0, js.at[0]).Fits({0}, {4})) return 0;
    const Stroke bar = LinkStroke(js.at[0], js.at[1]);
    if (!bar.Fits({0}, {2, 3}) || bar.slope > 0.5) return 0;
    const Stroke stem = LinkStroke(js.at[1], j3);
    return stem.Fits({0}, {3, 4}) && stem.slope >= 1.4 ? 1 : 0;
}

std::int16_t Match4_H1B5E5a() {
    const Node j0 = JunctionNode(0);
    const SortedNodes js = JunctionsByX(1, 3);
    const Node j4 = JunctionNode(4);
    const Node e0 = EndNode(0);
    const NodePair e = InXOrder(EndNode(1), EndNode(2));
    const NodePair feet = InXOrder(EndNode(3), EndNode(4));
    if (!HoleUnderApex(j0, js.at[0])) return 0;
    if (!InZone5(j0, {2, 3, 7, 8}) || !InZone5(js.at[0], {15})) return 0;
    if (!InZone5(js.at[1], {17, 18}) || !InZone5(js.at[2], {17, 18})) return 0;
    if (NodeDistance(js.at[1], js.at[2]) > Glyph.StrokeUnit || !InZone5(j4, {22, 23})) return 0;
    if (!InZone5(e0, {3}) || !OnTopRow(e0) || !InZone5(e.left, {15}) || !InZone5(e.right, {19})) return 0;
    if (!InZone5(feet.left, {21, 22}) || !InZone5(feet.right, {24})) return 0;
    const Stroke diagonal = TraceStroke(e0, j0);
    if (!diagonal.Fits({0}, {3, 4}) || diagonal.slope < 0.4) return 0;
    if (!TraceStroke(e.left, js.at[0]).Fits({0}, {2})) return 0;
    const Stroke arm = WalkStroke(e.right);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.3) return 0;
    if (!StraightFeetMeet(feet, j4)) return 0;
    if (!LinkStroke(j0, js.at[0]).Fits({0}, {4})) return 0;
    const Stroke upperStem = LinkStrokeOr(j0, js.at[1], js.at[2]);
    if (!upperStem.Fits({0}, {3, 4}) || upperStem.slope < 2.2) return 0;
    const Stroke bar = LinkStrokeOr(js.at[0], js.at[1], js.at[2]);
    if (!bar.Fits({0}, {2, 3}) || bar.slope > 0.8) return 0;
    const Stroke lowerStem = LinkStrokeOr(j4, js.at[1], js.at[2]);
    return lowerStem.Fits({0}, {1, 2}) && lowerStem.slope >= 1.4 ? 1 : 0;
}

// An open '4': the diagonal and the stem do not meet at the top.
std::int16_t Match4_H0B2E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    const Node e3 = EndNode(3);
    if (!InZone5(j0, {17, 18, 22}) || !InZone5(j1, {17, 18, 22})) return 0;
    if (!InZone5(e0, {2, 3}) || !OnTopRow(e0) || !InZone5(e1, {3, 8})) return 0;
    if (!InZone5(e2, {19}) || !InZone5(e3, {22, 23})) return 0;
    const Stroke diagonal = WalkStroke(e0);
    if (!diagonal.Fits({2}, {3, 4}) || diagonal.slope < 2.4) return 0;
    const Stroke upperStem = TraceStroke(e1, j0);
    if (!upperStem.Fits({0}, {3, 4}) || upperStem.slope < 3.0) return 0;
    const Stroke arm = WalkStroke(e2);
    if (!arm.Fits({0}, {1, 4}) || arm.slope > 0.5) return 0;
    const Stroke lowerStem = TraceStroke(e3, j1);
    if (!lowerStem.Fits({0}, {1, 2}) || lowerStem.slope < 3.0) return 0;
    return NodeDistance(j0, j1) <= Glyph.StrokeUnit ? 1 : 0;
}

// The diagonal of an open '4' coming down to the bar: shape 2 with the lower end right of the
// upper end (bowed left of the chord), or shape 1 with it left of or straight below the upper
// end (bowed left of a leaning chord, right of an upright one).
bool IsOpenDiagonal(const Stroke& s) {
    return s.traced && ((s.shape == 2 && s.chordDirection == 1.0F) || (s.shape == 1 && s.chordDirection <= 0.0F));
}

std::int16_t Match4_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {19, 23, 24}) || !InZone5(e0, {1, 2, 3})) return 0;
    if (!InZone5(e1, {14, 19}) || !InZone5(e2, {23, 24})) return 0;
    const Stroke diagonal = TraceStroke(e0, j0);
    if (!IsOpenDiagonal(diagonal) || !InSet(diagonal.direction, {3, 4}) || diagonal.slope < 2.4) return 0;
    const Stroke arm = TraceStroke(e1, j0);
    if (!arm.Fits({0}, {4}) || arm.slope < 1.0) return 0;
    const Stroke foot = TraceStroke(e2, j0);
    return foot.Fits({0}, {1, 2}) && foot.slope >= 1.0 ? 1 : 0;
}

// The right edge does not jump outward in the upper half (which a '4' arm would not make).
bool RightEdgeSteadyInUpperHalf() {
    const int limit = Width() / 3;
    for (int i = 1; i <= Height() / 2 - 1; ++i) {
        if (RowRightAt(i + 1) - RowRightAt(i) > limit) return false;
    }
    return true;
}

std::int16_t Match4_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(e0, {2, 3}) || !InZone5(e1, {19})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!IsOpenDiagonal(s) || !InSet(s.direction, {3, 4}) || s.slope < 2.8) return 0;
    return RightEdgeSteadyInUpperHalf() ? 1 : 0;
}

std::int16_t MatchHoled4() {
    if (Glyph.JunctionCount != Glyph.EndpointCount) return 0;
    switch (Glyph.JunctionCount) {
        case 3:
            return AcceptFirstMatch(
                {Match4_H1B3E3a, Match4_H1B3E3b, Match4_H1B3E3c, Match4_H1B3E3d, Match4_H1B3E3e});
        case 2:
            return AcceptFirstMatch(
                {Match4_H1B2E2a, Match4_H1B2E2b, Match4_H1B2E2c, Match4_H1B2E2d, Match4_H1B2E2e});
        case 1: return AcceptFirstMatch({Match4_H1B1E1a, Match4_H1B1E1b, Match4_H1B1E1c});
        case 4: return AcceptFirstMatch({Match4_H1B4E4a, Match4_H1B4E4b, Match4_H1B4E4c, Match4_H1B4E4d});
        case 5: return AcceptFirstMatch({Match4_H1B5E5a});
        case 0: return AcceptFirstMatch({Match4_H1B0E0a});
        default: return 0;
    }
}

}  // namespace

std::int16_t Reject4_LongEdgeLine() {
    const int h = Height();
    const int w = Width();
    for (int c = 0; c < w / 4; ++c) {
        if (ColInkAt(c) > h - 4) return 1;
    }
    if (w >= 16) {
        for (int i = 0; i < h / 5; ++i) {
            if (RowInkAt(i) > w - 4) return 1;
        }
    }
    return 0;
}

std::int16_t IsDigit4() {
    if (Reject4_LongEdgeLine() != 0) return 0;
    if (Glyph.HoleCount == 1) return MatchHoled4();
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(2, 4)) return AcceptFirstMatch({Match4_H0B2E4a});
    if (IsCase(1, 3)) return AcceptFirstMatch({Match4_H0B1E3a});
    if (IsCase(0, 2)) return AcceptFirstMatch({Match4_H0B0E2a});
    return 0;
}
