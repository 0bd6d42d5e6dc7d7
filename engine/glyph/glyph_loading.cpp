// Bringing a character box of the frame into the glyph grid: its polarity, its binarization and
// the crop to its ink.
#include <algorithm>
#include <cstring>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/location/planes.h"

namespace {

constexpr int MaxPolarityBoxSide = 124;
constexpr int MaxCropSide = MaxGlyphSide;

// Edge direction minus outside direction of a contour cell: the edge brightens inward ...
bool EdgeAgrees(int d) { return d == 0 || d == 1 || d == -7; }
// ... or outward.
bool EdgeDisagrees(int d) { return d == 4 || d == 5 || d == -4 || d == -3; }

std::uint8_t FramePixel(const std::uint8_t* plane, int col, int row) {
    return IsInsideFrame(col, row) ? plane[PixelIndex(col, row)] : 0;
}

void StoreGlyphSize(int height, int width) {
    Glyph.GlyphHeight = static_cast<std::int16_t>(height);
    Glyph.GlyphWidth = static_cast<std::int16_t>(width);
}

// Sums of the cells along row (byRows) or column index `line` of the glyph at origin 0,0;
// lines outside the glyph are empty.
int LineSum(bool byRows, int line) {
    // Lines and cells beyond the grid hold nothing.
    const int lines = std::min<int>(byRows ? Glyph.GlyphHeight : Glyph.GlyphWidth, GridSide);
    const int span = std::min<int>(byRows ? Glyph.GlyphWidth : Glyph.GlyphHeight, GridSide);
    if (line < 0 || line >= lines) return 0;
    const int first = byRows ? line * GridSide : line;
    const int step = byRows ? 1 : GridSide;
    int sum = 0;
    for (int k = 0; k < span; ++k) sum += Glyph.SkeletonImage.cells[first + k * step];
    return sum;
}

struct Span {
    int first;
    int last;
    bool found;
};

// The first line that starts, and the last that ends, three consecutive non-empty lines.
Span InkSpan(bool byRows) {
    const int lines = byRows ? Glyph.GlyphHeight : Glyph.GlyphWidth;
    int first = 0;
    while (first < lines && !(LineSum(byRows, first) && LineSum(byRows, first + 1) && LineSum(byRows, first + 2))) {
        ++first;
    }
    if (first >= lines) return Span{0, -1, false};
    int last = lines - 1;
    while (last > first && !(LineSum(byRows, last) && LineSum(byRows, last - 1) && LineSum(byRows, last - 2))) {
        --last;
    }
    return Span{first, last, true};
}

// Moves rows top.., columns left.. of the glyph to the origin as a height x width glyph and
// clears the rest of the old extent.
void MoveGlyphToOrigin(int top, int left, int height, int width) {
    // Cells beyond the grid are not written.
    const int oldHeight = std::min<int>(Glyph.GlyphHeight, GridSide);
    const int oldWidth = std::min<int>(Glyph.GlyphWidth, GridSide);
    for (int row = 0; row < oldHeight; ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 0; col < oldWidth; ++col) {
            const bool kept = row < height && col < width;
            line[col] = kept ? Glyph.SkeletonImage.At(row + top, col + left) : 0;
        }
    }
    StoreGlyphSize(height, width);
}

}  // namespace

int DecideBoxPolarity(PackedPoint topLeft, PackedPoint bottomRight) {
    const int top = PointY(topLeft);
    const int left = PointX(topLeft);
    const int h = PointY(bottomRight) - top + 1;
    const int w = PointX(bottomRight) - left + 1;
    StoreGlyphSize(h, w);
    if (h > MaxPolarityBoxSide || w > MaxPolarityBoxSide || h < 1 || w < 1) return InkBrighter;

    for (int row = 1; row <= h; ++row) {
        for (int col = 1; col <= w; ++col) {
            Glyph.SkeletonImage.Set(row, col, FramePixel(BinaryBackup, left + col - 1, top + row - 1));
        }
    }
    FillGlyphBorder(OutsideMark);
    MarkOutsideStraight();

    int agreements = 0;
    int disagreements = 0;
    for (int row = 1; row <= h + 1; ++row) {
        for (int col = 1; col <= w + 1; ++col) {
            if (Glyph.SkeletonImage.At(row, col) != 1) continue;
            const int outside = OutsideDirection(OutsideMark, row, col);
            if (outside == DirectionNone) continue;
            const int frameCol = left + col - 1;
            const int frameRow = top + row - 1;
            if (!IsInsideFrame(frameCol, frameRow)) continue;
            const int d = static_cast<int>(EdgeField[PixelIndex(frameCol, frameRow)].direction) - outside;
            if (EdgeAgrees(d)) ++agreements;
            if (EdgeDisagrees(d)) ++disagreements;
        }
    }
    return agreements < disagreements ? InkDarker : InkBrighter;
}

int LoadGlyphFromGray(PackedPoint topLeft, PackedPoint bottomRight, int polarity, int threshold) {
    std::memset(Glyph.SkeletonImage.cells, 0, sizeof Glyph.SkeletonImage.cells);
    const int top = PointY(topLeft);
    const int left = PointX(topLeft);
    const int h = PointY(bottomRight) - top + 1;
    const int w = PointX(bottomRight) - left + 1;
    StoreGlyphSize(h, w);
    if (h > MaxGlyphSide || w > MaxGlyphSide) return 1;

    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            if (!IsInsideFrame(left + col, top + row)) continue;
            const int gray = WorkImage[PixelIndex(left + col, top + row)];
            const bool ink = (polarity == InkBrighter && gray > threshold) || (polarity == InkDarker && gray < threshold);
            if (ink) Glyph.SkeletonImage.Set(row, col, 1);
        }
    }
    return 0;
}

void CropGlyph() {
    if (Glyph.GlyphHeight > MaxCropSide || Glyph.GlyphWidth > MaxCropSide) {
        StoreGlyphSize(0, 0);
        return;
    }
    for (;;) {
        const Span rows = InkSpan(true);
        const Span cols = InkSpan(false);
        if (!rows.found || !cols.found) {
            MoveGlyphToOrigin(0, 0, 0, 0);
            return;
        }
        const int height = rows.last - rows.first + 1;
        const int width = cols.last - cols.first + 1;
        if (height == Glyph.GlyphHeight && width == Glyph.GlyphWidth) {
            // The cells just outside the glyph must be background for the border to come.
            for (int col = 0; col <= width; ++col) Glyph.SkeletonImage.Set(height, col, 0);
            for (int row = 0; row <= height; ++row) Glyph.SkeletonImage.Set(row, width, 0);
            return;
        }
        MoveGlyphToOrigin(rows.first, cols.first, height, width);
    }
}
