// The small operations on the glyph grid (Glyph.SkeletonImage) from which normalization,
// thinning, feature preparation and tracing are built. H and W below are Glyph.GlyphHeight and
// Glyph.GlyphWidth; while a glyph is worked on its cells lie in rows 1..H, columns 1..W.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/glyph/glyph_record.h"
#include "engine/packed_point.h"

// Neighbour code bits: a bit is set when that neighbour's cell is non-zero.
inline constexpr std::uint8_t NeighbourUL = 0x80;
inline constexpr std::uint8_t NeighbourU = 0x40;
inline constexpr std::uint8_t NeighbourUR = 0x20;
inline constexpr std::uint8_t NeighbourR = 0x10;
inline constexpr std::uint8_t NeighbourDR = 0x08;
inline constexpr std::uint8_t NeighbourD = 0x04;
inline constexpr std::uint8_t NeighbourDL = 0x02;
inline constexpr std::uint8_t NeighbourL = 0x01;

// A stair cell: two neighbours next to each other, one of them on a side.
inline constexpr std::uint8_t StairCodes[] = {
    NeighbourDL | NeighbourL,  NeighbourD | NeighbourDL, NeighbourDR | NeighbourD, NeighbourR | NeighbourDR,
    NeighbourUR | NeighbourR,  NeighbourU | NeighbourUR, NeighbourUL | NeighbourL, NeighbourUL | NeighbourU};

template <std::size_t N>
constexpr bool CodeIn(std::uint8_t code, const std::uint8_t (&codes)[N]) {
    for (std::uint8_t c : codes) {
        if (code == c) return true;
    }
    return false;
}

constexpr bool IsStairCode(std::uint8_t code) { return CodeIn(code, StairCodes); }

// Cell values with a fixed meaning while holes are labelled.
inline constexpr std::uint8_t OutsideMark = 5;
inline constexpr std::uint8_t FirstHoleLabel = 6;

// Outside direction codes, clockwise from west; -1 = none.
inline constexpr int DirectionNone = -1;

// Polarity codes of a character box.
inline constexpr int InkBrighter = 1;
inline constexpr int InkDarker = 2;

namespace glyph_detail {

// Neighbour bits in the order R, UR, U, UL, L, DL, D, DR: the x1..x8 of the 8-connectivity
// number (Yokoi), each the next one counter-clockwise.
inline constexpr std::uint8_t ConnectivityOrder[8] = {NeighbourR, NeighbourUR, NeighbourU, NeighbourUL,
                                                      NeighbourL, NeighbourDL, NeighbourD, NeighbourDR};

constexpr int ConnectivityNumber(int code) {
    int number = 0;
    for (int k = 0; k < 8; k += 2) {
        const int a = (code & ConnectivityOrder[k]) ? 0 : 1;
        const int b = (code & ConnectivityOrder[(k + 1) % 8]) ? 0 : 1;
        const int c = (code & ConnectivityOrder[(k + 2) % 8]) ? 0 : 1;
        number += a - a * b * c;
    }
    return number;
}

constexpr std::array<std::uint8_t, 256> CodesWithConnectivity(bool atMostOne) {
    std::array<std::uint8_t, 256> table{};
    for (int code = 0; code < 256; ++code) {
        const int number = ConnectivityNumber(code);
        table[code] = (atMostOne ? number <= 1 : number == 1) ? 1 : 0;
    }
    return table;
}

constexpr std::uint8_t BitIf(bool set, std::uint8_t bit) { return set ? bit : 0; }

// The 3 x 3 block around an interior cell, read through the rows above and below it.
inline std::uint8_t InteriorNeighbourCode(const std::uint8_t* cell) {
    const std::uint8_t* up = cell - GridSide;
    const std::uint8_t* down = cell + GridSide;
    return static_cast<std::uint8_t>(
        BitIf(up[-1] != 0, NeighbourUL) | BitIf(up[0] != 0, NeighbourU) | BitIf(up[1] != 0, NeighbourUR) |
        BitIf(cell[1] != 0, NeighbourR) | BitIf(down[1] != 0, NeighbourDR) | BitIf(down[0] != 0, NeighbourD) |
        BitIf(down[-1] != 0, NeighbourDL) | BitIf(cell[-1] != 0, NeighbourL));
}

// The neighbour code of a cell at the grid's edge, whose outside neighbours read as background.
std::uint8_t EdgeNeighbourCode(int row, int col);

}  // namespace glyph_detail

// Indexed by a neighbour code: 1 when the cell's 8-connectivity number is at most 1 (removing
// it cannot split its neighbours), resp. exactly 1 (a contour cell that thinning may peel).
inline constexpr std::array<std::uint8_t, 256> RemovableCodes = glyph_detail::CodesWithConnectivity(true);
inline constexpr std::array<std::uint8_t, 256> DeletableCodes = glyph_detail::CodesWithConnectivity(false);

// Writes `value` into row 0, row H+1, column 0 and column W+1.
void FillGlyphBorder(std::uint8_t value);
// In rows 1..H, columns 1..W every cell above 1 becomes 1.
void ClampGlyphToOne();
// Interior cells, the ones met in the hot scans, are read inline.
inline std::uint8_t NeighbourCode(int row, int col) {
    if (!HasAllNeighboursOnGrid(row, col)) return glyph_detail::EdgeNeighbourCode(row, col);
    return glyph_detail::InteriorNeighbourCode(Glyph.SkeletonImage.cells + row * GridSide + col);
}
// Number of 8-neighbours whose value is exactly 1.
int CountNeighbours(int row, int col);
// In scan order over rows 1..H and columns 1..W, clears every ink cell whose neighbour code, as
// the earlier clears left it, `clears` accepts.
template <typename CodeTest>
void ClearInkByCode(CodeTest clears) {
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int row = 1; row <= lastRow; ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] != 0 && clears(NeighbourCode(row, col))) line[col] = 0;
        }
    }
}

// Moves the walk point to its first neighbour (U, R, D, L, UL, UR, DR, DL) of value 1 that is
// not the previous walk point: 1 moved, 0 dead end. The previous point is left to the caller.
int StepWalk();
int PointRemovable(int row, int col);
// Removability of the walk point as if the previous walk point were background.
int WalkPointRemovable();
// Tests on the walk point.
int IsDiagonalCorner();
int IsTeePoint();

// Hole labelling: background reached from the border becomes OutsideMark, enclosed background
// regions get the labels FirstHoleLabel + n and are recorded in HoleBoxes / HoleExtents.
void MarkOutsideStraight();
void SpreadOutside();
void DescribeRegion(int label);
// 0 done, 1 when the hole list filled (marks and labels then stay in the grid).
int FindHoles(int keepSmall);
// Direction code of the middle of the run of neighbours equal to `value`, or DirectionNone when
// none or all eight are.
int OutsideDirection(int value, int row, int col);

// InkBrighter or InkDarker for a character box of BinaryBackup, from the edge directions along
// its outer contour.
int DecideBoxPolarity(PackedPoint topLeft, PackedPoint bottomRight);
// Binarizes a box of WorkImage into the cleared grid at origin 0,0: 0 loaded, 1 too large.
// Pixels outside the frame are background.
int LoadGlyphFromGray(PackedPoint topLeft, PackedPoint bottomRight, int polarity, int threshold);
// Crops the glyph at origin 0,0 to its rows and columns that start or end three consecutive
// inked ones; one without them ends as 0 x 0. Cells left behind are cleared.
void CropGlyph();

// Integer part of the distance plus 0.4.
int RoundedDistance(int x1, int y1, int x2, int y2);
// Fill Endpoints/IsolatedPoints and Junctions/JunctionExtraBranches in row-major order:
// 0 done, 1 when a list filled (the glyph is then rejected by the callers).
int ListEndpoints();
int ListJunctions();
