// Hole labelling and the outside direction of a contour cell.
#include "engine/glyph/glyph_grid.h"

#include <array>

#include "engine/glyph/glyph_record.h"

namespace {

constexpr int SmallHoleCells = 3;  // regions below this many cells are pinholes
constexpr int DirectionCount = 8;

constexpr int FloodCapacity = GridSide * GridSide;

// Cells (row * GridSide + column) waiting in a 4-connected flood; each enters at most once.
int FloodCells[FloodCapacity];
int FloodTop = 0;

// Glyph cells on the grid: the labelling reads and writes no other cell.
bool InsideGlyph(int row, int col) {
    return row >= 1 && row <= LastOnGrid(Glyph.GlyphHeight) && col >= 1 && col <= LastOnGrid(Glyph.GlyphWidth);
}

int CellIndex(int row, int col) { return row * GridSide + col; }

// Turns a glyph cell of value `from` into `to` and queues it; `cell` is a CellIndex inside the glyph.
void ClaimCell(int cell, std::uint8_t from, std::uint8_t to) {
    if (Glyph.SkeletonImage.cells[cell] != from || FloodTop >= FloodCapacity) return;
    Glyph.SkeletonImage.cells[cell] = to;
    FloodCells[FloodTop++] = cell;
}

// Spreads `to` from the queued cells over the 4-connected cells of value `from` inside the
// glyph; answers the cells that were claimed on the way.
int DrainFlood(std::uint8_t from, std::uint8_t to) {
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    int claimed = 0;
    while (FloodTop > 0) {
        const int cell = FloodCells[--FloodTop];
        const int row = cell / GridSide;
        const int col = cell % GridSide;
        const int before = FloodTop;
        if (row > 1) ClaimCell(cell - GridSide, from, to);
        if (col < lastCol) ClaimCell(cell + 1, from, to);
        if (row < lastRow) ClaimCell(cell + GridSide, from, to);
        if (col > 1) ClaimCell(cell - 1, from, to);
        claimed += FloodTop - before;
    }
    return claimed;
}

// Marks cells from (row, col) in steps of (rowStep, colStep) until a cell of value 1.
void MarkRay(int row, int col, int rowStep, int colStep) {
    while (InsideGlyph(row, col)) {
        std::uint8_t& cell = Glyph.SkeletonImage.cells[CellIndex(row, col)];
        if (cell == 1) return;
        cell = OutsideMark;
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
    while (InsideGlyph(row, col) && Glyph.SkeletonImage.cells[CellIndex(row, col)] != label) {
        row += rowStep;
        col += colStep;
    }
    const int first = rowStep != 0 ? row : col;
    while (InsideGlyph(row + rowStep, col + colStep) &&
           Glyph.SkeletonImage.cells[CellIndex(row + rowStep, col + colStep)] == label) {
        row += rowStep;
        col += colStep;
    }
    const int last = rowStep != 0 ? row : col;
    return Run{static_cast<std::int16_t>(first), static_cast<std::int16_t>(last)};
}

// Neighbours in direction-code order: L, UL, U, UR, R, DR, D, DL.
constexpr int DirectionRowStep[DirectionCount] = {0, -1, -1, -1, 0, 1, 1, 1};
constexpr int DirectionColStep[DirectionCount] = {-1, -1, 0, 1, 1, 1, 0, -1};

// The outside direction of a cell whose neighbours equal to the value looked for are the bits of
// `marks`, bit k for direction code k.
constexpr int DirectionOfMarks(int marks) {
    bool marked[DirectionCount] = {};
    int markedCount = 0;
    for (int k = 0; k < DirectionCount; ++k) {
        marked[k] = (marks >> k & 1) != 0;
        if (marked[k]) ++markedCount;
    }
    if (markedCount == 0 || markedCount == DirectionCount) return DirectionNone;
    int firstMarked = -1, lastMarked = -1, firstUnmarked = -1, lastUnmarked = -1;
    for (int k = 0; k < DirectionCount; ++k) {
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
        return direction >= DirectionCount ? direction - DirectionCount : direction;
    }
    if (west) return firstUnmarked / 2;
    if (southWest) return (lastUnmarked + DirectionCount) / 2;
    return (firstMarked + lastMarked) / 2;
}

constexpr std::array<std::int8_t, 256> OutsideDirections() {
    std::array<std::int8_t, 256> directions{};
    for (int marks = 0; marks < 256; ++marks) directions[marks] = static_cast<std::int8_t>(DirectionOfMarks(marks));
    return directions;
}
constexpr std::array<std::int8_t, 256> OutsideDirectionOfMarks = OutsideDirections();

int MarkBit(bool marked, int k) { return marked ? 1 << k : 0; }

// The neighbours of an interior cell equal to `value`, read through the rows above and below it.
int InteriorMarks(int value, const std::uint8_t* cell) {
    const std::uint8_t* up = cell - GridSide;
    const std::uint8_t* down = cell + GridSide;
    return MarkBit(cell[-1] == value, 0) | MarkBit(up[-1] == value, 1) | MarkBit(up[0] == value, 2) |
           MarkBit(up[1] == value, 3) | MarkBit(cell[1] == value, 4) | MarkBit(down[1] == value, 5) |
           MarkBit(down[0] == value, 6) | MarkBit(down[-1] == value, 7);
}

// The neighbours of (row, col) equal to `value`, as bits in direction-code order.
int MarkedNeighbours(int value, int row, int col) {
    if (HasAllNeighboursOnGrid(row, col)) return InteriorMarks(value, Glyph.SkeletonImage.cells + CellIndex(row, col));
    int marks = 0;
    for (int k = 0; k < DirectionCount; ++k) {
        marks |= MarkBit(Glyph.SkeletonImage.At(row + DirectionRowStep[k], col + DirectionColStep[k]) == value, k);
    }
    return marks;
}

void ClearOutsideMarks() {
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] == OutsideMark) line[col] = 0;
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
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            // Already marked, so queued directly rather than through ClaimCell.
            if (line[col] == OutsideMark) FloodCells[FloodTop++] = CellIndex(row, col);
        }
    }
    DrainFlood(0, OutsideMark);
}

void DescribeRegion(int label) {
    int top = -1, bottom = -1, left = -1, right = -1;
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] != label) continue;
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
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        for (int col = 1; col <= lastCol; ++col) {
            if (Glyph.SkeletonImage.Row(row)[col] != 0) continue;
            const auto label = static_cast<std::uint8_t>(Glyph.HoleCount + FirstHoleLabel);
            FloodTop = 0;
            ClaimCell(CellIndex(row, col), 0, label);
            const int area = 1 + DrainFlood(0, label);
            if (area >= SmallHoleCells || keepSmall != 0) {
                DescribeRegion(label);
                Glyph.HoleBoxes[Glyph.HoleCount].area = static_cast<std::int16_t>(area);
                ++Glyph.HoleCount;
                if (Glyph.HoleCount >= MaxHoles) return 1;
            } else {
                // A pinhole counts as outside.
                FloodTop = 0;
                ClaimCell(CellIndex(row, col), label, OutsideMark);
                DrainFlood(label, OutsideMark);
            }
        }
    }
    ClearOutsideMarks();
    return 0;
}

int OutsideDirection(int value, int row, int col) {
    return OutsideDirectionOfMarks[MarkedNeighbours(value, row, col)];
}
