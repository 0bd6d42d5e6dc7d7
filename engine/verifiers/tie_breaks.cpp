#include "engine/verifiers/tie_breaks.h"

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/profiles.h"

namespace {

constexpr double HoleLowRatio = 2.6;     // hole top over the rows below it: a '6' bowl sits low
constexpr double TallOneRatio = 3.5;     // a glyph this slender is a '1'
constexpr int LeftGrowthRows = 4;        // rows over which the left margin's growth is measured
constexpr int FlagWindowColumns = 4;     // columns of the ink window under a '7' bar
constexpr int WaistHalfWindow = 3;       // rows either side of mid-height searched for the waist

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

// The right edge steps outward below row i, within one or two rows.
bool RightEdgeStepsOut(int i) { return RowRightAt(i) - RowRightAt(i + 1) > 1 || RowRightAt(i) - RowRightAt(i + 2) > 1; }
// The right edge steps back inward below row i.
bool RightEdgeStepsIn(int i) { return RowRightAt(i + 1) - RowRightAt(i) > 1 || RowRightAt(i + 2) - RowRightAt(i) > 1; }

int CountTallRightColumns(int minInk) {
    int count = 0;
    for (int c = Width() / 2; c <= Width() - 1; ++c) {
        if (ColInkAt(c) > minInk) ++count;
    }
    return count;
}

// The largest growth of the left margin within four rows, over the upper half.
int LeftMarginDrop() {
    int drop = 0;
    for (int i = 1; i <= Height() / 2 - 1; ++i) {
        for (int k = 1; k <= LeftGrowthRows; ++k) {
            if (RowLeftAt(i + k) - RowLeftAt(i) > drop) drop = RowLeftAt(i + k) - RowLeftAt(i);
        }
    }
    return drop;
}

bool HasFullWidthTopRow() {
    for (int i = 0; i < 3; ++i) {
        if (RowInkAt(i) == Width()) return true;
    }
    return false;
}

// Leading columns (at most half the width) that start in the lower half: the empty space left
// of a '7' stem's foot.
int LowStartingColumns() {
    int s = 0;
    while (s < Width() / 2 && ColTopAt(s) >= Height() / 2) ++s;
    return s;
}

int InkUnderFlag(int r, int s) {
    int m = 0;
    for (int row = r; row <= r + 1; ++row) {
        for (int col = s; col < s + FlagWindowColumns; ++col) m += GlyphImageInk(row + 1, col + 1);
    }
    return m;
}

int CountGappedColumns() {
    int count = 0;
    for (int c = Glyph.GlyphBox.left + 2; c < Glyph.GlyphBox.right; ++c) {
        if (ColGapsAt(c) > 2) ++count;
    }
    return count;
}

bool HasThreeAdjacentThreeRunColumns() {
    for (int c = 2; c < Width() - 4; ++c) {
        if (ColRunsAt(c) == 3 && ColRunsAt(c + 1) == 3 && ColRunsAt(c + 2) == 3) return true;
    }
    return false;
}

int SmallestRightMargin(int from, int to) {
    int smallest = RowRightAt(from);
    for (int i = from + 1; i <= to; ++i) {
        if (RowRightAt(i) < smallest) smallest = RowRightAt(i);
    }
    return smallest;
}

}  // namespace

std::int16_t Prefer9Over4() {
    const int h = Height();
    int i = h / 2 - 2;
    while (i < h - 2 && !RightEdgeStepsOut(i)) ++i;
    if (i < h - 2) {
        for (int j = i + 1; j < h - 4; ++j) {
            if (RightEdgeStepsIn(j)) return 0;
        }
    }
    return CountTallRightColumns(h - 3) > 1 ? 0 : 1;
}

std::int16_t Prefer6Over4() {
    if (Glyph.HoleCount == 0) return 1;
    const HoleBox& hole = Glyph.HoleBoxes[0];
    const double below = Height() - hole.bottom + 1;
    return below > 0.0 && hole.top / below > HoleLowRatio ? 1 : 0;
}

std::int16_t Prefer7Over1() {
    const int w = Width();
    if (Glyph.AspectRatio > TallOneRatio) return 0;
    const int drop = LeftMarginDrop();
    if (drop > w / 2 + 1) return 1;
    if (drop < (w + 1) / 2 - 2) return 0;
    if (HasFullWidthTopRow()) return 1;
    const int s = LowStartingColumns();
    int r = 0;
    while (r < 2 && RowLeftAt(r) - s >= 2) ++r;
    const int m = InkUnderFlag(r, s);
    if (m > 5) return 1;
    return drop > w / 2 && m > 2 && drop > 4 ? 1 : 0;
}

std::int16_t Prefer7Over3() {
    const int h = Height();
    if (CountGappedColumns() > 2) return 0;
    if (HasThreeAdjacentThreeRunColumns()) return 0;
    int k = -1;
    for (int i = h / 2 - WaistHalfWindow; i <= h / 2 + WaistHalfWindow; ++i) {
        if (IsGlyphRowIndex(i) && (k < 0 || RowRightAt(i) > RowRightAt(k))) k = i;
    }
    if (k < 0 || k > h - 4) return 1;
    const int a = SmallestRightMargin(0, k);
    const int b = SmallestRightMargin(k, h - 1);
    return RowRightAt(k) - a > 1 && RowRightAt(k) - b > 1 ? 0 : 1;
}
