#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

// One S-shaped stroke from the upper left to the lower right.
std::int16_t Match2_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(e0, {0, 1, 2, 5}) || !InZone5(e1, {19, 21, 22, 23, 24})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    return s.Fits({4}, {3}) && s.lengthRatio >= 1.2 ? 1 : 0;
}

// A '2' in two pieces: the bow and, apart from it, the base bar.
std::int16_t Match2_H0B0E4a() {
    const Node e0 = EndNode(0);
    const SortedNodes lower = EndsByX(1, 3);
    const Node es0 = lower.at[0];
    const Node es1 = lower.at[1];
    const Node es2 = lower.at[2];
    if (OnTopRow(e0) || !InZone5(e0, {0, 5})) return 0;
    if (!InZone5(es0, {20}) || !InZone5(es1, {16}) || !InZone5(es2, {24})) return 0;
    const Stroke bow = TraceStroke(e0, es1);
    if (!bow.IsRightBow() || !InSet(bow.direction, {3, 4}) || bow.lengthRatio < 1.28) return 0;
    const Stroke base = TraceStroke(es0, es2);
    return base.Fits({0}, {2}) && base.lengthRatio <= 1.1 ? 1 : 0;
}

// The bow meets the base bar in a junction near the lower left.
std::int16_t Match2_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair base = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {20, 21, 22})) return 0;
    if (OnTopRow(e0) || !InZone5(e0, {0, 1, 5})) return 0;
    if (!InZone5(base.left, {20}) || !InZone5(base.right, {19, 24})) return 0;
    const Stroke bow = TraceStroke(e0, j0);
    if (!bow.Fits({1, 9}, {3, 4}) || bow.lengthRatio < 1.3) return 0;
    if (!TraceStroke(base.left, j0).Fits({0}, {2})) return 0;
    return TraceStroke(base.right, j0).Fits({0, 2}, {1, 4}) ? 1 : 0;
}

}  // namespace

std::int16_t Reject2_ManyThreeRunRows() {
    const int h = Glyph.GlyphHeight;
    int rows = 0;
    for (int i = 1; i <= h - 2; ++i) {
        if (RowRunsAt(i) > 2) ++rows;
    }
    return rows > h / 5 ? 1 : 0;
}

std::int16_t IsDigit2() {
    if (Reject2_ManyThreeRunRows() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({Match2_H0B0E2a});
    if (IsCase(0, 4)) return AcceptFirstMatch({Match2_H0B0E4a});
    if (IsCase(1, 3)) return AcceptFirstMatch({Match2_H0B1E3a});
    return 0;
}
