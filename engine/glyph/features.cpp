#include "engine/glyph/features.h"

#include <cstring>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr int UnitRounding = 4;  // units are a seventh of the skeleton's size, rounded
constexpr int UnitDivisor = 7;
constexpr std::int16_t HoleLabelsFrom = FirstHoleLabel;
constexpr int CrowdedExtraBranches = 1;  // a junction of four branches

bool GlyphInk(int row, int col) { return Glyph.GlyphImage.At(row, col) != 0; }
bool SkeletonInk(int row, int col) { return Glyph.SkeletonImage.At(row, col) != 0; }

// Glyph image cells for the run counts: `line` is a row of the grid, and `col` (resp. `row`) is
// at least 0, at most two past the grid; beyond it cells read as background.
bool InkAlongRow(const std::uint8_t* line, int col) { return col < GridSide && line[col] != 0; }
bool InkDownColumn(int row, int col) { return row < GridSide && Glyph.GlyphImage.Row(row)[col] != 0; }

std::uint8_t AsByte(int value) { return static_cast<std::uint8_t>(value); }

// Entries beyond the glyph's rows and columns read 0 rather than an earlier glyph's values.
template <typename... Profiles>
void ClearProfile(Profiles&... profiles) {
    (std::memset(profiles, 0, sizeof profiles), ...);
}

}  // namespace

void ComputeMarginProfiles() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    ClearProfile(Glyph.RowLeftMargin, Glyph.RowRightMargin, Glyph.ColTopMargin, Glyph.ColBottomMargin);
    for (int row = 1; row <= h; ++row) {
        int left = 0;
        while (left < w && !GlyphInk(row, left + 1)) ++left;
        int right = 0;
        while (right < w && !GlyphInk(row, w - right)) ++right;
        Glyph.RowLeftMargin[row - 1] = AsByte(left);
        Glyph.RowRightMargin[row - 1] = AsByte(right);
    }
    for (int col = 1; col <= w; ++col) {
        int top = 0;
        while (top < h && !GlyphInk(top + 1, col)) ++top;
        int bottom = 0;
        while (bottom < h && !GlyphInk(h - bottom, col)) ++bottom;
        Glyph.ColTopMargin[col - 1] = AsByte(top);
        Glyph.ColBottomMargin[col - 1] = AsByte(bottom);
    }
}

void ComputeRunCounts() {
    ClearProfile(Glyph.RowRunCount, Glyph.ColRunCount);
    // Lines beyond the grid hold no run and keep their cleared counts.
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.GlyphImage.Row(row);
        int runs = 0;
        for (int col = 1; col <= lastCol; ++col) runs += line[col] != 0 && !InkAlongRow(line, col + 1) ? 1 : 0;
        Glyph.RowRunCount[row - 1] = AsByte(runs);
    }
    for (int col = 1; col <= lastCol; ++col) {
        int runs = 0;
        for (int row = 1; row <= lastRow; ++row) {
            runs += InkDownColumn(row, col) && !InkDownColumn(row + 1, col) ? 1 : 0;
        }
        Glyph.ColRunCount[col - 1] = AsByte(runs);
    }
}

void ComputeWideRunCounts() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    ClearProfile(Glyph.RowWideRunCount, Glyph.ColWideRunCount);
    // The second cell beyond the border must read as background too.
    for (int row = 0; row <= h + 1; ++row) Glyph.GlyphImage.Set(row, w + 2, 0);
    for (int col = 0; col <= w + 1; ++col) Glyph.GlyphImage.Set(h + 2, col, 0);
    // Lines beyond the grid hold no run and keep their cleared counts.
    const int lastRow = LastOnGrid(h);
    const int lastCol = LastOnGrid(w);
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.GlyphImage.Row(row);
        int runs = 0;
        for (int col = 1; col <= lastCol; ++col) {
            runs += line[col - 1] != 0 && line[col] != 0 && !InkAlongRow(line, col + 1) && !InkAlongRow(line, col + 2);
        }
        Glyph.RowWideRunCount[row - 1] = AsByte(runs);
    }
    for (int col = 1; col <= lastCol; ++col) {
        int runs = 0;
        for (int row = 1; row <= lastRow; ++row) {
            runs += InkDownColumn(row - 1, col) && InkDownColumn(row, col) && !InkDownColumn(row + 1, col) &&
                    !InkDownColumn(row + 2, col);
        }
        Glyph.ColWideRunCount[col - 1] = AsByte(runs);
    }
}

void ComputeInkProjections() {
    ClearProfile(Glyph.RowInkCount, Glyph.ColInkCount);
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.GlyphImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] == 0) continue;
            ++Glyph.RowInkCount[row - 1];
            ++Glyph.ColInkCount[col - 1];
        }
    }
}

void ComputeSkeletonGapCounts() {
    ClearProfile(Glyph.RowGapCount, Glyph.ColGapCount);
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    for (int row = box.top; row <= box.bottom; ++row) {
        int gaps = 0;
        for (int col = box.left; col <= box.right; ++col) {
            gaps += SkeletonInk(row, col) && !SkeletonInk(row, col + 1) && !SkeletonInk(row, col + 2);
        }
        if (row >= 0 && row < GridSide) Glyph.RowGapCount[row] = AsByte(gaps);
    }
    for (int col = box.left; col <= box.right; ++col) {
        int gaps = 0;
        for (int row = box.top; row <= box.bottom; ++row) {
            gaps += SkeletonInk(row, col) && !SkeletonInk(row + 1, col) && !SkeletonInk(row + 2, col);
        }
        if (col >= 0 && col < GridSide) Glyph.ColGapCount[col] = AsByte(gaps);
    }
}

void SortRegions() {
    for (int i = 0; i < Glyph.HoleCount - 1; ++i) {
        for (int j = i + 1; j < Glyph.HoleCount; ++j) {
            if (Glyph.HoleBoxes[i].area >= Glyph.HoleBoxes[j].area) continue;
            const HoleBox box = Glyph.HoleBoxes[i];
            Glyph.HoleBoxes[i] = Glyph.HoleBoxes[j];
            Glyph.HoleBoxes[j] = box;
            const HoleExtent extent = Glyph.HoleExtents[i];
            Glyph.HoleExtents[i] = Glyph.HoleExtents[j];
            Glyph.HoleExtents[j] = extent;
        }
    }
}

int PrepareSkeletonFeatures() {
    Glyph.WidthUnit = static_cast<std::int16_t>((Glyph.GlyphBox.width + UnitRounding) / UnitDivisor);
    Glyph.HeightUnit = static_cast<std::int16_t>((Glyph.GlyphBox.height + UnitRounding) / UnitDivisor);
    Glyph.StrokeUnit = static_cast<std::int16_t>((Glyph.HeightUnit + Glyph.WidthUnit) / 2);
    if (ResolveCrowdedSkeletonPixels() != 0) return 1;
    ComputeMarginProfiles();
    ComputeRunCounts();
    ComputeInkProjections();
    ComputeSkeletonGapCounts();
    ComputeWideRunCounts();
    // Lists cut short would leave wrong counts, and a full hole list leaves its marks behind.
    if (ListEndpoints() != 0 || ListJunctions() != 0 || FindHoles(0) != 0) return 1;
    SortRegions();
    ClearMarks(HoleLabelsFrom);
    for (int k = 0; k < Glyph.JunctionCount; ++k) {
        if (Glyph.JunctionExtraBranches[k] == CrowdedExtraBranches) return 1;
    }
    return 0;
}
