#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

int CountThreeRunColumns() {
    int count = 0;
    for (int c = 1; c <= Width() - 2; ++c) {
        if (ColRunsAt(c) == 3) ++count;
    }
    return count;
}

// One S-shaped stroke from the top right to the lower left.
std::int16_t Match5_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone5(e0, {2, 3, 4}) || !InZone5(e1, {15, 16, 20, 21})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({3}, {4}) || s.chordDirection != -1.0F) return 0;
    return CountThreeRunColumns() >= 2 ? 1 : 0;
}

// The top bar, the short stub left of the stem's top, and the bowl meet in one junction.
std::int16_t Match5_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {5, 6, 10, 11}) || !InZone5(e0, {2, 3, 4})) return 0;
    if (!InZone5(e1, {5, 10, 15}) || !InZone5(e2, {15, 16, 20, 21})) return 0;
    const Stroke bar = TraceStroke(e0, j0);
    if (!bar.Fits({1}, {4})) return 0;
    const Stroke stub = TraceStroke(e1, j0);
    if (!stub.Fits({0}, {1, 2})) return 0;
    const Stroke bowl = TraceStroke(e2, j0);
    if (!bowl.Fits({1, 2, 10, 15}, {1, 2})) return 0;
    return stub.length <= bar.length / 3 && stub.length <= bowl.length / 4 ? 1 : 0;
}

// Rows of the top quarter that are one full-width run: the '5' top bar.
int CountFullTopRows() {
    int rows = 0;
    for (int i = 1; i <= Height() / 4 - 1; ++i) {
        if (RowRunsAt(i) == 1 && RowInkAt(i) >= Width() - 1) ++rows;
    }
    return rows;
}

// A '5' whose bowl closed against the stem.
std::int16_t Match5_H1B1E1a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {5, 6, 10, 11}) || !InZone5(e0, {4})) return 0;
    const Stroke bar = TraceStroke(e0, j0);
    if (!bar.Fits({1}, {4}) || bar.chordDirection != -1.0F) return 0;
    const HoleBox& hole = LargestHole();
    if (hole.left > box.left + 2 || hole.right < box.right - 3) return 0;
    if (hole.top < box.top + box.height / 3 || hole.bottom < box.bottom - 1 || HoleRatio(hole) < 0.2) return 0;
    if (Reject5_TwoRunTopRows() == 1) return 0;
    return CountFullTopRows() >= 2 ? 1 : 0;
}

}  // namespace

std::int16_t Reject5_TwoRunTopRows() {
    const int h = Height();
    for (int i = 1; i < h / 3; ++i) {
        if (RowRunsAt(i) == 2 && RowRunsAt(i + 1) == 2 && RowRunsAt(i + 2) == 2) return 1;
    }
    return ColBottomAt(Width() - 3) > h / 3 ? 1 : 0;
}

std::int16_t IsDigit5() {
    if (Glyph.HoleCount == 0) {
        if (IsCase(0, 2)) return AcceptFirstMatch({Match5_H0B0E2a});
        if (IsCase(1, 3)) return AcceptFirstMatch({Match5_H0B1E3a});
        return 0;
    }
    if (Glyph.HoleCount == 1 && IsCase(1, 1)) return AcceptFirstMatch({Match5_H1B1E1a});
    return 0;
}
