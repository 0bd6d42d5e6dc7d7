// Skeleton cells with four skeleton neighbours confuse end-point, junction and tracing logic; each
// known neighbourhood is rewritten into a plain crossing or bend, and the cells around it that
// have become redundant are trimmed.
#include "engine/glyph/features.h"
#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"

namespace {

constexpr int CrowdedNeighbours = 4;
constexpr int MaxResolvePasses = 8;
constexpr int TrimReach = 2;  // trimming covers the 5 x 5 cells around a crowded cell

struct Offset {
    std::int8_t row, col;
};

// The crowded cell and its neighbours.
constexpr Offset X{0, 0}, U{-1, 0}, R{0, 1}, D{1, 0}, L{0, -1}, UL{-1, -1}, UR{-1, 1}, DR{1, 1}, DL{1, -1};

enum class Op : std::uint8_t { None, Move, Trim };

// One step of a rewrite, in offsets from the crowded cell: Move clears `from` and sets `to`;
// Trim clears `from` when it is ink and removable.
struct Step {
    Op op;
    Offset from, to;
};

constexpr Step Move(Offset from, Offset to) { return Step{Op::Move, from, to}; }
constexpr Step Trim(Offset cell) { return Step{Op::Trim, cell, X}; }

constexpr int MaxSteps = 2;

struct Rewrite {
    std::uint8_t code;
    Step steps[MaxSteps];
};

constexpr Rewrite Rewrites[] = {
    {27, {Move(X, U)}},
    {43, {Move(DL, {1, -2}), Trim({2, -2})}},
    {45, {Move(X, U), Trim(UR)}},
    {51, {Move(X, D), Trim(DL)}},
    {75, {Move(X, R), Trim(DR)}},
    {90, {Move(X, L), Trim(DL)}},
    {102, {Move(X, R), Trim(UR)}},
    {105, {Move(X, D), Trim(DR)}},
    {106, {Move(UR, {-2, 1}), Trim({-2, 2})}},
    {108, {Move(X, L)}},
    {150, {Move(X, U), Trim(UL)}},
    {153, {Move(X, D), Trim(DR)}},
    {154, {Move(DR, {1, 2}), Trim({2, 2})}},
    {165, {Move(X, R), Trim(UR)}},
    {166, {Move(DL, {2, -1}), Trim({2, -2})}},
    {169, {Move(UL, {-1, -2}), Trim({-2, -2})}},
    {172, {Move(DR, {2, 1}), Trim({2, 2})}},
    {177, {Move(X, D)}},
    {178, {Move(UR, {-1, 2}), Trim({-2, 2})}},
    {180, {Move(X, L), Trim(UL)}},
    {198, {Move(X, R)}},
    {202, {Move(UL, {-2, -1}), Trim({-2, -2})}},
    {204, {Move(X, R), Trim(DR)}},
    {210, {Move(X, D), Trim(DL)}},
};

// A four-way crossing: the first arm whose far side shows which way the stroke bends moves there.
struct CrossingChoice {
    Offset set, clear;  // the telling cells: this one ink, that one background
    Step move;
};

constexpr CrossingChoice CrossingChoices[] = {
    {{2, -1}, {2, 1}, Move(D, DL)},   {{2, 1}, {2, -1}, Move(D, DR)},   {{-1, 2}, {1, 2}, Move(R, UR)},
    {{1, 2}, {-1, 2}, Move(R, DR)},   {{-2, -1}, {-2, 1}, Move(U, UL)}, {{-2, 1}, {-2, -1}, Move(U, UR)},
    {{-1, -2}, {1, -2}, Move(L, UL)}, {{1, -2}, {-1, -2}, Move(L, DL)},
};
constexpr Step CrossingDefault = Move(U, UR);

constexpr std::uint8_t PlusCode = NeighbourU | NeighbourR | NeighbourD | NeighbourL;                 // 85
constexpr std::uint8_t BendCode = NeighbourUL | NeighbourR | NeighbourDR | NeighbourD;               // 156
constexpr std::uint8_t DiagonalsCode = NeighbourUL | NeighbourUR | NeighbourDR | NeighbourDL;       // 170
// The surroundings a bend of code 156 must have: the codes of its R, DR and D cells.
constexpr std::uint8_t BendRightCode = 39;
constexpr std::uint8_t BendDiagonalCode = 201;
constexpr std::uint8_t BendDownCode = 114;

bool InsideGlyph(int row, int col) {
    return row >= 1 && row <= Glyph.GlyphHeight && col >= 1 && col <= Glyph.GlyphWidth;
}

bool Ink(int row, int col) { return Glyph.SkeletonImage.At(row, col) != 0; }

void SetCell(int row, int col, std::uint8_t value) {
    if (InsideGlyph(row, col)) Glyph.SkeletonImage.Set(row, col, value);
}

void TrimCell(int row, int col) {
    if (InsideGlyph(row, col) && Ink(row, col) && PointRemovable(row, col)) Glyph.SkeletonImage.Set(row, col, 0);
}

// Runs one step at the crowded cell (row, col). A move whose target lies outside the glyph is
// skipped whole, so the border stays empty and no stroke loses a cell.
void RunStep(const Step& step, int row, int col) {
    if (step.op == Op::Trim) {
        TrimCell(row + step.from.row, col + step.from.col);
    } else if (step.op == Op::Move && InsideGlyph(row + step.to.row, col + step.to.col)) {
        SetCell(row + step.from.row, col + step.from.col, 0);
        SetCell(row + step.to.row, col + step.to.col, 1);
    }
}

void ResolvePlus(int row, int col) {
    Glyph.SkeletonImage.Set(row, col, 0);
    for (const CrossingChoice& choice : CrossingChoices) {
        if (Ink(row + choice.set.row, col + choice.set.col) && !Ink(row + choice.clear.row, col + choice.clear.col)) {
            RunStep(choice.move, row, col);
            return;
        }
    }
    RunStep(CrossingDefault, row, col);
}

void ResolveBend(int row, int col) {
    if (NeighbourCode(row, col + 1) != BendRightCode || NeighbourCode(row + 1, col + 1) != BendDiagonalCode ||
        NeighbourCode(row + 1, col) != BendDownCode || !InsideGlyph(row + 1, col + 2)) {
        return;
    }
    SetCell(row + 1, col + 1, 0);
    SetCell(row + 1, col, 0);
    SetCell(row + 1, col + 2, 1);
    SetCell(row + 1, col - 1, 1);
    TrimCell(row + 2, col - 1);
    TrimCell(row + 2, col + 2);
}

void ResolveDiagonals(int row, int col) {
    SetCell(row, col + 1, 1);
    RunStep(Move(UR, {-1, 2}), row, col);
    RunStep(Move(DR, {1, 2}), row, col);
    TrimCell(row - 1, col + 3);
    TrimCell(row - 2, col + 2);
    TrimCell(row + 1, col + 3);
    TrimCell(row + 2, col + 2);
}

void RewriteCrowdedCell(int row, int col) {
    const std::uint8_t code = NeighbourCode(row, col);
    if (code == PlusCode) return ResolvePlus(row, col);
    if (code == BendCode) return ResolveBend(row, col);
    if (code == DiagonalsCode) return ResolveDiagonals(row, col);
    for (const Rewrite& rewrite : Rewrites) {
        if (rewrite.code != code) continue;
        for (const Step& step : rewrite.steps) RunStep(step, row, col);
        return;
    }
}

// Removes the cells around a crowded cell that no longer hold the skeleton together.
void TrimAround(int row, int col) {
    for (int r = row - TrimReach; r <= row + TrimReach; ++r) {
        for (int c = col - TrimReach; c <= col + TrimReach; ++c) {
            if (InsideGlyph(r, c) && Ink(r, c) && CountNeighbours(r, c) != CrowdedNeighbours && PointRemovable(r, c)) {
                Glyph.SkeletonImage.Set(r, c, 0);
            }
        }
    }
}

// One pass over the inner rows and columns: whether it met a crowded cell.
bool ResolvePass() {
    bool met = false;
    for (int row = 2; row <= Glyph.GlyphHeight - 1; ++row) {
        for (int col = 2; col <= Glyph.GlyphWidth - 1; ++col) {
            if (Glyph.SkeletonImage.At(row, col) != 1 || CountNeighbours(row, col) != CrowdedNeighbours) continue;
            met = true;
            RewriteCrowdedCell(row, col);
            TrimAround(row, col);
        }
    }
    return met;
}

}  // namespace

int ResolveCrowdedSkeletonPixels() {
    for (int pass = 0; pass < MaxResolvePasses; ++pass) {
        if (!ResolvePass()) return 0;
    }
    return 1;
}
