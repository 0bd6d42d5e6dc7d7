#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr int TailStepLimit = 2;   // a steady tail's right edge moves at most this much per row
constexpr int LeftStepMinimum = 3; // a tail sweeping left steps the left edge by more than this

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

// A bowl in the upper part with the tail leaving it downward to the left.
std::int16_t Match9_H1B1E1a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {12, 13, 14, 18, 19}) || !InZone5(e0, {15, 16, 20, 21})) return 0;
    const Stroke tail = TraceStroke(e0, j0);
    const bool shape = tail.shape == 0 || (tail.shape == 2 && tail.chordDirection == -1.0F);
    if (!tail.traced || !shape || tail.direction != 2) return 0;
    const HoleBox& hole = LargestHole();
    if (hole.left > box.left + box.width / 3 || hole.right < box.right - box.width / 3) return 0;
    if (hole.top > box.top + 1 || hole.bottom > box.bottom - box.height / 3) return 0;
    return HoleRatio(hole) >= 0.2 ? 1 : 0;
}

// A '9' with a straight tail coming from the bowl's lower right.
std::int16_t Match9_H1B1E1b() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone5(j0, {13, 14, 17, 18, 19}) || !InZone5(e0, {20, 21, 22, 23})) return 0;
    const Stroke tail = TraceStroke(e0, j0);
    if (!tail.Fits({0}, {2}) || tail.slope < 1.0) return 0;
    const HoleBox& hole = LargestHole();
    if (hole.left > box.left + 1 || hole.right < j0.x - 1 || hole.top > box.top + 1) return 0;
    if (hole.bottom > box.top + box.height / 2 + Glyph.HeightUnit || HoleRatio(hole) < 0.2) return 0;
    return Reject9_TailBump() == 0 ? 1 : 0;
}

int SumRowInk(int from, int to) {
    int sum = 0;
    for (int i = from; i <= to; ++i) sum += RowInkAt(i);
    return sum;
}

// The right margin grows twice in the upper rows, at most two equal steps apart: a top that
// recedes to the right like a bowl's.
bool RightEdgeRecedesAt(int i) {
    const auto r = [](int row) { return RowRightAt(row); };
    if (r(i + 1) <= r(i)) return false;
    if (r(i + 2) > r(i + 1)) return true;
    if (r(i + 2) == r(i + 1) && r(i + 3) > r(i + 2)) return true;
    return r(i + 2) == r(i + 1) && r(i + 3) == r(i + 2) && r(i + 4) > r(i + 3);
}

}  // namespace

std::int16_t Reject9_BottomHeavy() {
    const int h = Height();
    if (SumRowInk(h / 2 + 1, h - 2) <= SumRowInk(1, h / 2 - 1)) return 0;
    for (int i = h - 1; i > h / 2 + 1; --i) {
        if (RowLeftAt(i - 1) - RowLeftAt(i) > LeftStepMinimum) return 0;
        if (RowLeftAt(i - 2) - RowLeftAt(i) > LeftStepMinimum) return 0;
    }
    return 1;
}

std::int16_t Reject9_TailBump() {
    const int h = Height();
    for (int i = 1; i < h / 2 - 2; ++i) {
        if (RightEdgeRecedesAt(i)) return 0;
    }
    for (int i = h / 2 - 2; i < h - 2; ++i) {
        const int step = RowRightAt(i + 1) - RowRightAt(i);
        if (step > TailStepLimit || -step > TailStepLimit) return 1;
    }
    for (int c = Width() / 2; c <= Width() - 1; ++c) {
        if (ColInkAt(c) > h - 3) return 1;
    }
    return 0;
}

std::int16_t IsDigit9() {
    if (Reject9_BottomHeavy() != 0) return 0;
    if (Glyph.HoleCount != 1) return 0;
    if (IsCase(1, 1)) return AcceptFirstMatch({Match9_H1B1E1a, Match9_H1B1E1b});
    return 0;
}
