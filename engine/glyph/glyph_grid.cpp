#include "engine/glyph/glyph_grid.h"

#include <cmath>

#include "engine/glyph/glyph_record.h"

namespace {

constexpr int JunctionMinNeighbours = 3;
constexpr double DistanceRounding = 0.4;
constexpr int NoPoint = -1;

// Offsets (row, column) in the walk order U, R, D, L, UL, UR, DR, DL.
constexpr int WalkRowStep[8] = {-1, 0, 1, 0, -1, -1, 1, 1};
constexpr int WalkColStep[8] = {0, 1, 0, -1, -1, 1, 1, -1};

// Offsets (row, column) and bits of the neighbour code, from UL clockwise.
constexpr int CodeRowStep[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
constexpr int CodeColStep[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
constexpr std::uint8_t CodeBit[8] = {NeighbourUL, NeighbourU, NeighbourUR, NeighbourR,
                                     NeighbourDR, NeighbourD, NeighbourDL, NeighbourL};

bool IsOne(int row, int col) { return Glyph.SkeletonImage.At(row, col) == 1; }

// Walk-point neighbours of value 1.
bool WalkOne(int rowStep, int colStep) { return IsOne(Glyph.WalkRow + rowStep, Glyph.WalkCol + colStep); }

GlyphPoint MakeGlyphPoint(int row, int col) {
    return GlyphPoint{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row)};
}

void SetWalkPoint(int row, int col) {
    Glyph.WalkRow = static_cast<std::int16_t>(row);
    Glyph.WalkCol = static_cast<std::int16_t>(col);
    Glyph.WalkPrevRow = NoPoint;
    Glyph.WalkPrevCol = NoPoint;
}

}  // namespace

void FillGlyphBorder(std::uint8_t value) {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int col = 0; col <= w + 1; ++col) {
        Glyph.SkeletonImage.Set(0, col, value);
        Glyph.SkeletonImage.Set(h + 1, col, value);
    }
    for (int row = 0; row <= h + 1; ++row) {
        Glyph.SkeletonImage.Set(row, 0, value);
        Glyph.SkeletonImage.Set(row, w + 1, value);
    }
}

void ClampGlyphToOne() {
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] > 1) line[col] = 1;
        }
    }
}

namespace {
const std::uint8_t* CellPointer(int row, int col) { return Glyph.SkeletonImage.cells + row * GridSide + col; }

int InteriorOnesAround(const std::uint8_t* cell) {
    const std::uint8_t* up = cell - GridSide;
    const std::uint8_t* down = cell + GridSide;
    return (up[-1] == 1) + (up[0] == 1) + (up[1] == 1) + (cell[1] == 1) + (down[1] == 1) + (down[0] == 1) +
           (down[-1] == 1) + (cell[-1] == 1);
}
}  // namespace

std::uint8_t glyph_detail::EdgeNeighbourCode(int row, int col) {
    std::uint8_t code = 0;
    for (int k = 0; k < 8; ++k) {
        if (Glyph.SkeletonImage.At(row + CodeRowStep[k], col + CodeColStep[k]) != 0) code |= CodeBit[k];
    }
    return code;
}

int CountNeighbours(int row, int col) {
    if (HasAllNeighboursOnGrid(row, col)) return InteriorOnesAround(CellPointer(row, col));
    int count = 0;
    for (int k = 0; k < 8; ++k) {
        if (IsOne(row + CodeRowStep[k], col + CodeColStep[k])) ++count;
    }
    return count;
}

int StepWalk() {
    for (int k = 0; k < 8; ++k) {
        const int row = Glyph.WalkRow + WalkRowStep[k];
        const int col = Glyph.WalkCol + WalkColStep[k];
        if (!IsOne(row, col)) continue;
        if (row == Glyph.WalkPrevRow && col == Glyph.WalkPrevCol) continue;
        Glyph.WalkRow = static_cast<std::int16_t>(row);
        Glyph.WalkCol = static_cast<std::int16_t>(col);
        return 1;
    }
    return 0;
}

int PointRemovable(int row, int col) { return RemovableCodes[NeighbourCode(row, col)]; }

int WalkPointRemovable() {
    // The previous walk point is hidden for the test and then given its value back.
    const std::uint8_t previous = Glyph.SkeletonImage.At(Glyph.WalkPrevRow, Glyph.WalkPrevCol);
    Glyph.SkeletonImage.Set(Glyph.WalkPrevRow, Glyph.WalkPrevCol, 0);
    const int removable = PointRemovable(Glyph.WalkRow, Glyph.WalkCol);
    Glyph.SkeletonImage.Set(Glyph.WalkPrevRow, Glyph.WalkPrevCol, previous);
    return removable;
}

int IsDiagonalCorner() {
    const bool up = WalkOne(-1, 0);
    const bool right = WalkOne(0, 1);
    const bool down = WalkOne(1, 0);
    const bool left = WalkOne(0, -1);
    return (WalkOne(-1, -1) && (up || left)) || (WalkOne(-1, 1) && (up || right)) ||
                   (WalkOne(1, 1) && (right || down)) || (WalkOne(1, -1) && (left || down))
               ? 1
               : 0;
}

int IsTeePoint() {
    const bool up = WalkOne(-1, 0);
    const bool right = WalkOne(0, 1);
    const bool down = WalkOne(1, 0);
    const bool left = WalkOne(0, -1);
    return (up && left && right) || (right && up && down) || (down && right && left) || (left && up && down) ? 1 : 0;
}

int RoundedDistance(int x1, int y1, int x2, int y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy) + DistanceRounding);
}

int ListEndpoints() {
    Glyph.EndpointCount = 0;
    Glyph.IsolatedPointCount = 0;
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] != 1) continue;
            const int neighbours = CountNeighbours(row, col);
            if (neighbours == 1) {
                if (Glyph.EndpointCount >= MaxEndpoints) return 1;
                Glyph.Endpoints[Glyph.EndpointCount++] = MakeGlyphPoint(row, col);
            } else if (neighbours == 0) {
                if (Glyph.IsolatedPointCount >= MaxIsolatedPoints) return 1;
                Glyph.IsolatedPoints[Glyph.IsolatedPointCount++] = MakeGlyphPoint(row, col);
            }
        }
    }
    return 0;
}

int ListJunctions() {
    Glyph.JunctionCount = 0;
    for (int row = 1; row <= Glyph.GlyphHeight; ++row) {
        for (int col = 1; col <= Glyph.GlyphWidth; ++col) {
            if (!IsOne(row, col)) continue;
            const int neighbours = CountNeighbours(row, col);
            if (neighbours < JunctionMinNeighbours) continue;
            if (neighbours == JunctionMinNeighbours) {
                SetWalkPoint(row, col);
                if (IsDiagonalCorner() || IsTeePoint()) continue;
            }
            if (Glyph.JunctionCount >= MaxJunctions) return 1;
            Glyph.JunctionExtraBranches[Glyph.JunctionCount] =
                static_cast<std::uint8_t>(neighbours - JunctionMinNeighbours);
            Glyph.Junctions[Glyph.JunctionCount++] = MakeGlyphPoint(row, col);
        }
    }
    return 0;
}
