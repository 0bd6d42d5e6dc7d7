#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/letters/stroke_limits.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double SteepTail = 1.8;  // a spur under the point of the V rises at least this steeply

// The lowest pair of adjacent rows that both have two runs (the arms side by side), scanned
// upward from one row below the glyph, which reads as empty: the first pair that can qualify is
// the last two glyph rows. Row 2 when there is none; the glyph's height when it has no room to
// scan.
int LowestTwoRunPair() {
    const int h = Glyph.GlyphHeight;
    if (h <= 2) return h;
    for (int k = h; k >= 3; --k) {
        if (RowRunsAt(k) == 2 && RowRunsAt(k - 1) == 2) return k;
    }
    return 2;
}

// The tops test of the one-stroke templates: the first end on the top row, both tips in the
// upper third.
bool TipsOnTop(NodePair tips) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const int limit = box.top + box.height / 3;
    return OnTopRow(EndNode(0)) && tips.left.y <= limit && tips.right.y <= limit;
}

std::int16_t MatchV_H0B0E2a() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    if (!TipsOnTop(tips)) return 0;
    if (!InZone5(tips.left, {0, 1}) || !InZone5(tips.right, {3, 4})) return 0;
    const Stroke s = TraceStroke(tips.left, tips.right);
    if (!FitsFlat(s, {2, 15}, {2, 3}, 0.3) || s.earlyDirection != 3) return 0;
    return InSet(LateDirectionAt(tips.left, tips.right, s.length / 4), {3, 4}) ? 1 : 0;
}

// Both tips within one height unit of the top.
std::int16_t MatchV_H0B0E2b() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    const int limit = Glyph.GlyphBox.top + Glyph.HeightUnit;
    if (!OnTopRow(EndNode(0)) || tips.left.y > limit || tips.right.y > limit) return 0;
    if (!InZone3(tips.left, {0}) || !InZone3(tips.right, {2})) return 0;
    const Stroke s = TraceStroke(tips.left, tips.right);
    if (!FitsFlat(s, {2, 15}, {2, 3}, 0.3)) return 0;
    return s.earlyDirection == 4 && s.lateDirection == 3 ? 1 : 0;
}

// The right tip on the right edge.
std::int16_t MatchV_H0B0E2c() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    if (!TipsOnTop(tips) || tips.right.x < Glyph.GlyphBox.right) return 0;
    if (!InZone3(tips.left, {0})) return 0;
    const Stroke s = TraceStroke(tips.left, tips.right);
    if (!FitsFlat(s, {2}, {2, 3}, 0.6) || s.earlyDirection != 4) return 0;
    return LateDirectionAt(tips.left, tips.right, 2 * Glyph.StrokeUnit) == 4 ? 1 : 0;
}

// The left tip on the left edge, the right one short of the right third.
std::int16_t MatchV_H0B0E2d() {
    const NodePair tips = InXOrder(EndNode(0), EndNode(1));
    if (!TipsOnTop(tips) || tips.left.x > Glyph.GlyphBox.left) return 0;
    if (!InZone3(tips.left, {0}) || !InZone5(tips.right, {2, 3})) return 0;
    const Stroke s = TraceStroke(tips.left, tips.right);
    return FitsFlat(s, {2}, {2, 3}, 0.6) && s.earlyDirection == 3 ? 1 : 0;
}

// The left tip split; the body runs from the right tip to the tip's junction.
std::int16_t MatchV_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const SortedNodes ends = EndsByX(0, 2);
    if (!InZone3(j0, {0}) || !InZone(4, ends.at[0], {0})) return 0;
    if (!InZone(4, ends.at[1], {1, 2}) || !InZone(4, ends.at[2], {2, 3})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], j0)) return 0;
    const Stroke body = TraceStroke(ends.at[2], j0);
    return FitsFlat(body, {2}, {4}, 0.6) && body.chordDirection == -1.0F ? 1 : 0;
}

// The right tip split; the body runs from the left tip to the tip's junction.
std::int16_t MatchV_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const SortedNodes ends = EndsByX(0, 2);
    if (!InZone3(j0, {2}) || !InZone(4, ends.at[0], {0})) return 0;
    if (!InZone(4, ends.at[1], {1}) || !InZone(4, ends.at[2], {3})) return 0;
    const Stroke body = TraceStroke(ends.at[0], j0);
    if (!body.FitsShape({2}) || body.slope > 0.3) return 0;
    if (body.earlyDirection != 3 || !InSet(body.lateDirection, {3, 4})) return 0;
    if (!TipSpursMeet(ends.at[1], ends.at[2], j0)) return 0;
    return ends.at[0].x <= Glyph.GlyphBox.left ? 1 : 0;
}

// A spur under the point: the two arms and a short tail meet in one junction.
std::int16_t MatchV_H0B1E3c() {
    const Node j0 = JunctionNode(0);
    const SortedNodes arms = EndsByX(0, 1);
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {16, 17}) || !InZone5(arms.at[0], {0, 1, 2})) return 0;
    if (!InZone5(arms.at[1], {2, 3, 4}) || !InZone5(e2, {21, 22})) return 0;
    const Stroke left = TraceStroke(arms.at[0], j0);
    if (!left.Fits({0, 2}, {3})) return 0;
    const Stroke right = TraceStroke(arms.at[1], j0);
    if (!right.Fits({0, 2}, {4})) return 0;
    const Stroke tail = TraceStroke(e2, j0);
    if (!FitsSteep(tail, {0}, {1, 2}, SteepTail)) return 0;
    return tail.length <= 3 * left.length / 5 && tail.length <= 3 * right.length / 5 ? 1 : 0;
}

// Both tips split; the body is the link between the tip junctions.
std::int16_t MatchV_H0B2E4a() {
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone3(tips.left, {0}) || !InZone3(tips.right, {2})) return 0;
    if (!InZone(4, ends.at[0], {0}) || !InZone(4, ends.at[1], {1})) return 0;
    if (!InZone(4, ends.at[2], {2}) || !InZone(4, ends.at[3], {3})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], tips.left)) return 0;
    if (!TipSpursMeet(ends.at[2], ends.at[3], tips.right)) return 0;
    return FitsFlat(LinkStroke(tips.left, tips.right), {2}, {2, 3}, 0.3) ? 1 : 0;
}

// Both tips split and a spur under the point.
std::int16_t MatchV_H0B3E5a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node j2 = JunctionNode(2);
    const SortedNodes ends = EndsByX(0, 3);
    const Node e4 = EndNode(4);
    if (!InZone3(tips.left, {0}) || !InZone3(tips.right, {2}) || !InZone3(j2, {7})) return 0;
    if (!InZone5(ends.at[0], {0}) || !InZone5(ends.at[1], {1, 2})) return 0;
    if (!InZone5(ends.at[2], {2, 3}) || !InZone5(ends.at[3], {4}) || !InZone5(e4, {22})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], tips.left)) return 0;
    if (!TipSpursMeet(ends.at[2], ends.at[3], tips.right)) return 0;
    if (!StraightRise(e4, j2, SteepTail)) return 0;
    if (!LinkStroke(tips.left, j2).Fits({0}, {3}) || !LinkStroke(tips.right, j2).Fits({0}, {4})) return 0;
    if (ends.at[0].x > box.left || ends.at[3].x < box.right) return 0;
    return OnBottomRow(e4) ? 1 : 0;
}

}  // namespace

std::int16_t RejectV_TwoRunRowsHigh() { return LowestTwoRunPair() < Glyph.GlyphHeight / 3 ? 1 : 0; }

std::int16_t IsLetterV() {
    if (RejectV_TwoRunRowsHigh() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) {
        // A one-stroke skeleton with parallel arm ends is a U.
        if (HasFewThreeRunRows() != 1 || AreStrokeEndsParallel() == 1) return 0;
        return AcceptFirstMatch({MatchV_H0B0E2a, MatchV_H0B0E2b, MatchV_H0B0E2c, MatchV_H0B0E2d});
    }
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchV_H0B1E3a, MatchV_H0B1E3b, MatchV_H0B1E3c});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchV_H0B2E4a});
    if (IsCase(3, 5)) return AcceptFirstMatch({MatchV_H0B3E5a});
    return 0;
}
