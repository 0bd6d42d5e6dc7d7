#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/letters/stroke_limits.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double MinBottomSpan = 0.26;  // share of the width the second-last row spans
constexpr double LongBody = 2.6;        // the U body's path against its chord
constexpr int ArmDrift = 2;             // columns a V arm drifts over a third of the height

// The bottom of a U is round: the second-last row still spans a good part of the width, where
// a V has come to its point.
bool HasWideBottom() {
    const int w = Glyph.GlyphWidth;
    const int i = Glyph.GlyphHeight - 2;
    const int span = w - RowLeftAt(i) - RowRightAt(i);
    return w > 0 && static_cast<double>(span) / w >= MinBottomSpan;
}

// The left tip split: the body runs from the tip's junction to the right tip.
std::int16_t MatchU_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const SortedNodes ends = EndsByX(0, 2);
    if (!InZone5(j0, {0, 1}) || !InZone5(ends.at[0], {0})) return 0;
    if (!InZone5(ends.at[1], {1, 2}) || !InZone5(ends.at[2], {3, 4})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], j0)) return 0;
    const Stroke body = TraceStroke(ends.at[2], j0);
    if (!FitsFlat(body, {2, 15}, {1, 4}, 0.4) || body.lengthRatio < LongBody) return 0;
    if (ends.at[0].x > Glyph.GlyphBox.left) return 0;
    return HasWideBottom() ? 1 : 0;
}

// The right tip split: the body runs from the left tip to the tip's junction.
std::int16_t MatchU_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const SortedNodes ends = EndsByX(0, 2);
    if (!InZone5(j0, {3, 4}) || !InZone5(ends.at[0], {0, 1})) return 0;
    if (!InZone5(ends.at[1], {2, 3}) || !InZone5(ends.at[2], {4})) return 0;
    const Stroke body = TraceStroke(ends.at[0], j0);
    if (!FitsFlat(body, {2, 15}, {2, 3}, 0.5) || body.lengthRatio < LongBody) return 0;
    if (!TipSpursMeet(ends.at[1], ends.at[2], j0)) return 0;
    return HasWideBottom() ? 1 : 0;
}

// Both tips split; the body is the link between the two tip junctions. A body whose ends both
// drift right like the arms of a V is not a U.
std::int16_t MatchU_H0B2E4a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    const SortedNodes ends = EndsByX(0, 3);
    if (!InZone5(tips.left, {0, 1}) || !InZone5(tips.right, {3, 4})) return 0;
    if (!InZone5(ends.at[0], {0}) || !InZone5(ends.at[1], {1, 2})) return 0;
    if (!InZone5(ends.at[2], {2, 3}) || !InZone5(ends.at[3], {4})) return 0;
    if (!TipSpursMeet(ends.at[0], ends.at[1], tips.left)) return 0;
    if (!TipSpursMeet(ends.at[2], ends.at[3], tips.right)) return 0;
    const Stroke body = LinkStroke(tips.left, tips.right);
    if (!FitsFlat(body, {2, 15}, {2, 3}, 0.3) || body.lengthRatio < LongBody) return 0;
    if (ends.at[0].x > box.left || ends.at[3].x < box.right) return 0;
    return LinkDriftsRightAtBothEnds(tips.left, tips.right, box.height / 3, ArmDrift) ? 0 : 1;
}

// One stroke from tip to tip whose two ends run parallel.
std::int16_t MatchU_H0B0E2a() {
    const SortedNodes ends = EndsByX(0, 1);
    if (!InZone5(ends.at[0], {0, 1, 2, 5}) || !InZone5(ends.at[1], {2, 3, 4})) return 0;
    const Stroke body = TraceStroke(ends.at[0], ends.at[1]);
    if (!FitsFlat(body, {2, 10, 15}, {2, 3}, 0.8) || body.lengthRatio < 2.8) return 0;
    return AreStrokeEndsParallel() == 1 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterU() {
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchU_H0B1E3a, MatchU_H0B1E3b});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchU_H0B2E4a});
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchU_H0B0E2a});
    return 0;
}
