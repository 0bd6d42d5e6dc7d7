#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

bool IsSingleRunRow(int i) { return RowRunsAt(i) == 1; }

// The middle arm of the '3' meets the two bows in one junction.
std::int16_t Match3_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {6, 7, 8, 12, 13, 14}) || !InZone5(e0, {0, 1, 5})) return 0;
    if (!InZone5(e1, {6, 7, 10, 11, 12}) || !InZone5(e2, {15, 16, 20})) return 0;
    const Stroke upper = TraceStroke(e0, j0);
    if (!upper.Fits({0, 1}, {3}) || upper.chordDirection != 1.0 || upper.lengthRatio < 1.1) return 0;
    const Stroke arm = TraceStroke(e1, j0);
    if (!arm.Fits({0}, {2, 3}) || arm.slope > 1.0) return 0;
    const Stroke lower = TraceStroke(e2, j0);
    return lower.Fits({2, 10}, {2}) && lower.chordDirection == -1.0 && lower.lengthRatio >= 1.2 ? 1 : 0;
}

bool HasThreeStrokeColumn() {
    for (int c = 1; c <= Width() - 2; ++c) {
        if (ColRunsAt(c) >= 3) return true;
    }
    return false;
}

// Columns of the right third whose bottom edge lies in the upper half: a '3' ending on the
// bottom row may not have its right side cut short there.
bool RightSideEndsHigh() {
    const int h = Height();
    const int w = Width();
    int n = 0;
    for (int c = w - 2; c >= 2 * w / 3 + 1; --c) {
        if (ColBottomAt(c) > h / 2) ++n;
    }
    return n > 2 || (n > 0 && n > w - 2 * w / 3 - 4);
}

// The '3' thinned to one bowed stroke, its middle arm gone.
std::int16_t Match3_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(e0, {0, 1, 3, 5}) || !InZone5(e1, {15, 20, 21})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({1, 2, 9, 10, 15}, {3, 4})) return 0;
    if (InSet(s.shape, {1, 2}) && !s.IsRightBow()) return 0;
    if (s.lengthRatio < 1.2) return 0;
    if (!HasThreeStrokeColumn()) return 0;
    return e1.y == Glyph.GlyphBox.bottom && RightSideEndsHigh() ? 0 : 1;
}

}  // namespace

std::int16_t Reject3_LongMiddleRow() {
    const int h = Height();
    for (int i = h / 3; i < 2 * h / 3; ++i) {
        if (IsSingleRunRow(i) && RowInkAt(i) > 4 * Width() / 5) return 1;
    }
    return 0;
}

std::int16_t Reject3_FlatTopRightColumn() {
    const int h = Height();
    const int w = Width();
    bool flatTop = false;
    for (int i = 0; i < h / 5 && !flatTop; ++i) flatTop = RowInkAt(i) > w - 3 && IsSingleRunRow(i);
    int c = -1;
    for (int j = w - 1; j > w - w / 3; --j) {
        if (ColInkAt(j) > h - 4 && ColRunsAt(j) == 1) c = j;
    }
    if (!flatTop || c < 0) return 0;
    int m = 0;
    for (int j = w / 4; j < c; ++j) {
        if (ColRunsAt(j) == 3) ++m;
    }
    const bool threeStrokes = m > 2 || (m >= 1 && w < 14);
    return threeStrokes ? 0 : 1;
}

std::int16_t IsDigit3() {
    if (Reject3_FlatTopRightColumn() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(1, 3)) return Reject3_LongMiddleRow() == 0 ? AcceptFirstMatch({Match3_H0B1E3a}) : 0;
    if (IsCase(0, 2)) return Glyph.IsolatedPointCount == 0 ? AcceptFirstMatch({Match3_H0B0E2a}) : 0;
    return 0;
}
