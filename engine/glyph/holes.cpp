// Hole labelling and the outside direction of a contour cell.
#include "engine/glyph/glyph_grid.h"

#include "engine/glyph/glyph_record.h"

namespace {

constexpr int SmallHoleCells = 3;  // regions below this many cells are pinholes

// Cells waiting in a 4-connected flood; each grid cell enters at most once.
int FloodRows[GridSide * GridSide];
int FloodCols[GridSide * GridSide];
int FloodTop = 0;

bool InsideGlyph(int row, int col) {
    return row >= 1 && row <= Glyph.GlyphHeight && col >= 1 && col <= Glyph.GlyphWidth;
}

// Turns a glyph cell of value `from` into `to` and queues it.
void ClaimCell(int row, int col, std::uint8_t from, std::uint8_t to) {
    if (!InsideGlyph(row, col) || Glyph.SkeletonImage.At(row, col) != from) return;
    if (FloodTop >= GridSide * GridSide) return;
    Glyph.SkeletonImage.Set(row, col, to);
    FloodRows[FloodTop] = row;
    FloodCols[FloodTop] = col;
    ++FloodTop;
}

// Spreads `to` from the queued cells over the 4-connected cells of value `from`; answers the
// cells that were claimed on the way.
int DrainFlood(std::uint8_t from, std::uint8_t to) {
    int claimed = 0;
    while (FloodTop > 0) {
        --FloodTop;
        const int row = FloodRows[FloodTop];
        const int col = FloodCols[FloodTop];
        const int before = FloodTop;
        ClaimCell(row - 1, col, from, to);
        ClaimCell(row, col + 1, from, to);
        ClaimCell(row + 1, col, from, to);
        ClaimCell(row, col - 1, from, to);
        claimed += FloodTop - before;
    }
    return claimed;
}

// Marks cells from (row, col) in steps of (rowStep, colStep) until a cell of value 1.
void MarkRay(int row, int col, int rowStep, int colStep) {
    while (InsideGlyph(row, col) && Glyph.SkeletonImage.At(row, col) != 1) {
        Glyph.SkeletonImage.Set(row, col, OutsideMark);
        row += rowStep;
        col += colStep;
    }
}

struct Run {
    std::int16_t first;
    std::int16_t last;
};

// The run of `label` that starts at the first label cell met going from (row, col) in steps of
// (rowStep, colStep): its first and last row when stepping down, else its columns.
Run LabelRun(int label, int row, int col, int rowStep, int colStep) {
    while (InsideGlyph(row, col) && Glyph.SkeletonImage.At(row, col) != label) {
        row += rowStep;
        col += colStep;
    }
    const int first = rowStep != 0 ? row : col;
    while (InsideGlyph(row + rowStep, col + colStep) && Glyph.SkeletonImage.At(row + rowStep, col + colStep) == label) {
        row += rowStep;
        col += colStep;
    }
    const int last = rowStep != 0 ? row : col;
    return Run{static_cast<std::int16_t>(first), static_cast<std::int16_t>(last)};
}

void ClearOutsideMarks() {
    for (int row = 1; row <= Glyph.GlyphHeight; ++row) {
        for (int col = 1; col <= Glyph.GlyphWidth; ++col) {
            if (Glyph.SkeletonImage.At(row, col) == OutsideMark) Glyph.SkeletonImage.Set(row, col, 0);
        }
    }
}

}  // namespace

void MarkOutsideStraight() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int row = 1; row <= h; ++row) {
        MarkRay(row, 1, 0, 1);
        MarkRay(row, w, 0, -1);
    }
    for (int col = 1; col <= w; ++col) {
        MarkRay(1, col, 1, 0);
        MarkRay(h, col, -1, 0);
    }
}

void SpreadOutside() {
    FloodTop = 0;
    for (int row = 1; row <= Glyph.GlyphHeight; ++row) {
        for (int col = 1; col <= Glyph.GlyphWidth; ++col) {
            if (Glyph.SkeletonImage.At(row, col) != OutsideMark) continue;
            // Already marked, so queue it directly rather than through ClaimCell.
            FloodRows[FloodTop] = row;
            FloodCols[FloodTop] = col;
            ++FloodTop;
        }
    }
    DrainFlood(0, OutsideMark);
}

void DescribeRegion(int label) {
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int row = 1; row <= Glyph.GlyphHeight; ++row) {
        for (int col = 1; col <= Glyph.GlyphWidth; ++col) {
            if (Glyph.SkeletonImage.At(row, col) != label) continue;
            if (top < 0) top = row;
            bottom = row;
            if (left < 0 || col < left) left = col;
            if (col > right) right = col;
        }
    }
    if (top < 0 || Glyph.HoleCount < 0 || Glyph.HoleCount >= MaxHoles) return;
    HoleBox& box = Glyph.HoleBoxes[Glyph.HoleCount];
    box.top = static_cast<std::int16_t>(top);
    box.bottom = static_cast<std::int16_t>(bottom);
    box.left = static_cast<std::int16_t>(left);
    box.right = static_cast<std::int16_t>(right);
    box.label = static_cast<std::int16_t>(label);
    HoleExtent& extent = Glyph.HoleExtents[Glyph.HoleCount];
    const Run topRun = LabelRun(label, top, 1, 0, 1);
    const Run bottomRun = LabelRun(label, bottom, 1, 0, 1);
    const Run leftRun = LabelRun(label, 1, left, 1, 0);
    const Run rightRun = LabelRun(label, 1, right, 1, 0);
    extent = HoleExtent{topRun.first,  topRun.last,  bottomRun.first, bottomRun.last,
                        leftRun.first, leftRun.last, rightRun.first,  rightRun.last};
}

int FindHoles(int keepSmall) {
    Glyph.HoleCount = 0;
    MarkOutsideStraight();
    SpreadOutside();
    for (int row = 1; row <= Glyph.GlyphHeight; ++row) {
        for (int col = 1; col <= Glyph.GlyphWidth; ++col) {
            if (Glyph.SkeletonImage.At(row, col) != 0) continue;
            const auto label = static_cast<std::uint8_t>(Glyph.HoleCount + FirstHoleLabel);
            FloodTop = 0;
            ClaimCell(row, col, 0, label);
            const int area = 1 + DrainFlood(0, label);
            if (area >= SmallHoleCells || keepSmall != 0) {
                DescribeRegion(label);
                Glyph.HoleBoxes[Glyph.HoleCount].area = static_cast<std::int16_t>(area);
                ++Glyph.HoleCount;
                if (Glyph.HoleCount >= MaxHoles) return 1;
            } else {
                // A pinhole counts as outside.
                FloodTop = 0;
                ClaimCell(row, col, label, OutsideMark);
                DrainFlood(label, OutsideMark);
            }
        }
    }
    ClearOutsideMarks();
    return 0;
}

int OutsideDirection(int value, int row, int col) {
    // Neighbours in direction-code order: L, UL, U, UR, R, DR, D, DL.
    constexpr int rowStep[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    constexpr int colStep[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    bool marked[8];
    int markedCount = 0;
    for (int k = 0; k < 8; ++k) {
        marked[k] = Glyph.SkeletonImage.At(row + rowStep[k], col + colStep[k]) == value;
        if (marked[k]) ++markedCount;
    }
    if (markedCount == 0 || markedCount == 8) return DirectionNone;
    int firstMarked = -1, lastMarked = -1, firstUnmarked = -1, lastUnmarked = -1;
    for (int k = 0; k < 8; ++k) {
        if (marked[k]) {
            if (firstMarked < 0) firstMarked = k;
            lastMarked = k;
        } else {
            if (firstUnmarked < 0) firstUnmarked = k;
            lastUnmarked = k;
        }
    }
    const bool west = marked[0];
    const bool southWest = marked[7];
    if (west && southWest) {
        const int direction = (firstUnmarked + lastUnmarked) / 2 + 4;
        return direction > 7 ? direction - 8 : direction;
    }
    if (west) return firstUnmarked / 2;
    if (southWest) return (lastUnmarked + 8) / 2;
    return (firstMarked + lastMarked) / 2;
}
