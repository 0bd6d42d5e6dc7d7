#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"
#include "engine/verifiers/tie_breaks.h"

namespace {

constexpr int NarrowWidth = 14;   // below this width a '7' must start near the top-left
constexpr int LowStartRows = 5;   // ... within this many rows

// The bar and the stem as one bowed stroke.
std::int16_t Match7_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(e0, {0, 1, 5}) || !InZone5(e1, {20, 21, 22, 23, 24}) || !OnBottomRow(e1)) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.IsRightBow() || !InSet(s.direction, {3, 4}) || s.slope < 1.9) return 0;
    if (s.lengthRatio < 1.0) return 0;
    return Prefer7Over3() == 1 ? 1 : 0;
}

// The bar's right end split from the stem at the top-right corner.
std::int16_t Match7_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const NodePair bar = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {3, 4}) || !InZone5(bar.left, {0, 5}) || !InZone5(bar.right, {4})) return 0;
    if (!InZone5(e2, {20, 21, 22})) return 0;
    const Stroke left = TraceStroke(bar.left, j0);
    if (!left.Fits({0, 1}, {2, 3}) || (left.shape == 1 && left.chordDirection != -1.0F)) return 0;
    if (left.slope > 0.4) return 0;
    if (!TraceStroke(bar.right, j0).Fits({0}, {4})) return 0;
    return TraceStroke(e2, j0).Fits({0}, {2}) ? 1 : 0;
}

}  // namespace

std::int16_t Reject7_NarrowLowStart() {
    return Glyph.GlyphWidth < NarrowWidth && ColTopAt(0) > LowStartRows ? 1 : 0;
}

std::int16_t IsDigit7() {
    if (Reject7_NarrowLowStart() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return Glyph.IsolatedPointCount == 0 ? AcceptFirstMatch({Match7_H0B0E2a}) : 0;
    if (IsCase(1, 3)) return AcceptFirstMatch({Match7_H0B1E3a});
    return 0;
}
