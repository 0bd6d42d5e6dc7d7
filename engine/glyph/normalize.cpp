// The normalization pass around thinning: blob rejection, border, hole filling, loose pixels,
// and the restart after thinning cut a noise piece away.
#include "engine/glyph/normalize.h"

#include <algorithm>
#include <cstring>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"

namespace {

constexpr double MaxSolidInkRatio = 4.4;      // ink per background cell of a solid blob
constexpr double MaxSolidAspectRatio = 2.2;   // ... unless it is this much taller than wide
constexpr float NoWidthAspectRatio = 8.0f;
constexpr int MaxQuietTrim = 24;              // cut pieces above this size flag the glyph
constexpr int PairFillMinHeight = 32;         // glyphs above this height also fill two-cell holes
constexpr int HoleFillMinHeight = 48;         // ... and above this, holes below H / 6 cells
constexpr int SmallHoleDivisor = 6;

// Cells listed by RemoveLoosePixels before they are cleared together.
int WhiskerCells[GridSide * GridSide];

bool Ink(int row, int col) { return Glyph.SkeletonImage.At(row, col) != 0; }

// A cell with no neighbour, or a stair cell.
bool IsLooseCode(std::uint8_t code) { return code == 0 || IsStairCode(code); }

void FillCell(int row, int col) { Glyph.SkeletonImage.Set(row, col, 1); }

// For a cell whose four side neighbours lie on the grid.
bool HasInkOnFourSides(const std::uint8_t* cell) {
    return cell[-GridSide] != 0 && cell[1] != 0 && cell[GridSide] != 0 && cell[-1] != 0;
}

// Step 2 of hole filling: a horizontal, else a vertical, pair of background cells closed in.
void FillHolePair(int row, int col) {
    if (!Ink(row, col + 1) && Ink(row - 1, col) && Ink(row - 1, col + 1) && Ink(row + 1, col) &&
        Ink(row + 1, col + 1) && Ink(row, col - 1) && Ink(row, col + 2)) {
        FillCell(row, col);
        FillCell(row, col + 1);
    } else if (!Ink(row + 1, col) && Ink(row, col - 1) && Ink(row + 1, col - 1) && Ink(row, col + 1) &&
               Ink(row + 1, col + 1) && Ink(row - 1, col) && Ink(row + 2, col)) {
        FillCell(row, col);
        FillCell(row + 1, col);
    }
}

// Step 3 of hole filling: holes below H / 6 cells are filled, all labels removed.
int FillSmallLabelledHoles() {
    std::memcpy(Glyph.GlyphImage.cells, Glyph.SkeletonImage.cells, sizeof Glyph.GlyphImage.cells);
    if (FindHoles(0) != 0) return 1;
    const int smallArea = Glyph.GlyphHeight / SmallHoleDivisor;
    for (int hole = 0; hole < Glyph.HoleCount; ++hole) {
        if (Glyph.HoleBoxes[hole].area >= smallArea) continue;
        const HoleBox& box = Glyph.HoleBoxes[hole];
        for (int row = box.top; row <= box.bottom; ++row) {
            for (int col = box.left; col <= box.right; ++col) {
                if (Glyph.SkeletonImage.At(row, col) == box.label) Glyph.GlyphImage.Set(row, col, 1);
            }
        }
    }
    std::memcpy(Glyph.SkeletonImage.cells, Glyph.GlyphImage.cells, sizeof Glyph.SkeletonImage.cells);
    return 0;
}

}  // namespace

int RejectBlob() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    // Cells beyond the grid read as background, so the scans stop at its edge.
    const int lastRow = std::min(h - 1, GridSide - 1);
    const int lastCol = std::min(w - 1, GridSide - 1);
    int ragged = 0;
    int ink = 0;
    for (int row = 0; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 0; col <= lastCol; ++col) {
            if (line[col] == 0) continue;
            ++ink;
            if (row > h - 2 || col > w - 2) continue;
            if (!Ink(row, col + 1)) ++ragged;
            if (!Ink(row + 1, col)) ++ragged;
        }
    }
    if (ragged > 2 * (w + h)) return 1;

    Glyph.InkToBackgroundRatio = static_cast<float>(static_cast<double>(ink) / (h * w - ink + 1));
    Glyph.AspectRatio = w == 0 ? NoWidthAspectRatio : static_cast<float>(static_cast<double>(h) / w);
    return static_cast<double>(Glyph.InkToBackgroundRatio) > MaxSolidInkRatio &&
                   static_cast<double>(Glyph.AspectRatio) < MaxSolidAspectRatio
               ? 1
               : 0;
}

void AddImageBorder() {
    // Each row moves one down and one right, from the last row up; what would land beyond the
    // grid is dropped.
    const int rows = std::min<int>(Glyph.GlyphHeight, GridSide - 1);
    const int cols = std::min<int>(Glyph.GlyphWidth, GridSide - 1);
    for (int row = rows - 1; row >= 0; --row) {
        if (cols > 0) std::memcpy(Glyph.SkeletonImage.Row(row + 1) + 1, Glyph.SkeletonImage.Row(row), cols);
    }
    FillGlyphBorder(0);
}

void RemoveImageBorder() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int row = 0; row <= h + 1; ++row) {
        for (int col = 0; col <= w + 1; ++col) {
            // The vacated last row and column are cleared, so no stale ink trails the glyph.
            const bool inGlyph = row < h && col < w;
            Glyph.SkeletonImage.Set(row, col, inGlyph ? Glyph.SkeletonImage.At(row + 1, col + 1) : 0);
        }
    }
}

int FillSmallHoles() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    // Beyond the last interior row or column of the grid no cell is closed in on four sides, nor
    // can a pair be: the scan stops there.
    const int lastRow = std::min(h - 1, GridSide - 2);
    const int lastCol = std::min(w - 1, GridSide - 2);
    for (int row = 2; row <= lastRow; ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 2; col <= lastCol; ++col) {
            if (line[col] != 0) continue;
            if (HasInkOnFourSides(line + col)) {
                line[col] = 1;
            } else if (h > PairFillMinHeight) {
                FillHolePair(row, col);
            }
        }
    }
    if (h > HoleFillMinHeight) return FillSmallLabelledHoles();
    return 0;
}

void RemoveLoosePixels() {
    ClearInkByCode(IsLooseCode);
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    int listed = 0;
    for (int row = 1; row <= lastRow; ++row) {
        const std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= lastCol; ++col) {
            if (line[col] != 0 && CountNeighbours(row, col) == 1) WhiskerCells[listed++] = row * GridSide + col;
        }
    }
    for (int k = 0; k < listed; ++k) Glyph.SkeletonImage.cells[WhiskerCells[k]] = 0;
}

void SaveCharImage() {
    std::memcpy(Glyph.GlyphImage.cells, Glyph.SkeletonImage.cells, sizeof Glyph.GlyphImage.cells);
    Glyph.SavedGlyphHeight = Glyph.GlyphHeight;
    Glyph.SavedGlyphWidth = Glyph.GlyphWidth;
}

void RestoreCharImage() {
    std::memcpy(Glyph.SkeletonImage.cells, Glyph.GlyphImage.cells, sizeof Glyph.SkeletonImage.cells);
    Glyph.GlyphHeight = Glyph.SavedGlyphHeight;
    Glyph.GlyphWidth = Glyph.SavedGlyphWidth;
}

int NormalizeAndThinCharacter() {
    if (RejectBlob() != 0) return 1;
    Glyph.NoiseTrimmedFlag = 0;
    AddImageBorder();
    if (FillSmallHoles() != 0) return 1;
    for (;;) {
        Glyph.GlyphMaxSide = Glyph.GlyphHeight > Glyph.GlyphWidth ? Glyph.GlyphHeight : Glyph.GlyphWidth;
        RemoveLoosePixels();
        SaveCharImage();
        const int thinned = ThinCharacter();
        if (thinned == ThinContourOverflow) return 1;
        if (thinned < ThinPieceCut) break;
        if (thinned - ThinPieceCut > MaxQuietTrim) Glyph.NoiseTrimmedFlag = 1;
        RestoreCharImage();
        RemoveImageBorder();
        CropGlyph();
        AddImageBorder();
        if (FillSmallHoles() != 0) return 1;
    }
    RemoveStairPixels();
    ListEndpoints();
    PruneShortSpurs();
    ComputeSkeletonBox();
    return 0;
}
