// Skeletons drawn cell by cell into the glyph record for the tracing tests: rows of '#' (skeleton)
// and '.' (background) placed inside the one-cell border, with the skeleton box and the length
// units that feature preparation would give them.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/glyph/glyph_record.h"
#include "glyph_drawing.h"

using SkeletonArt = GlyphRows;

// An arc from (1, 8) to (21, 8) bulging to the left; no cell lies on its chord.
inline const SkeletonArt LeftArc = {
    ".......#", ".....##.", "....#...", "...#....", "..#.....", "..#.....", ".#......",
    ".#......", "#.......", "#.......", "#.......", "#.......", "#.......", ".#......",
    ".#......", "..#.....", "..#.....", "...#....", "....#...", ".....##.", ".......#",
};

// A horizontal bar on row 1 with a stem down from column 6.
inline const SkeletonArt TeeShape = {
    "###########", ".....#.....", ".....#.....", ".....#.....", ".....#.....",
    ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#.....",
};

// A closed diamond around (6, 6).
inline const SkeletonArt Diamond = {
    ".....#.....", "....#.#....", "...#...#...", "..#.....#..", ".#.......#.", "#.........#",
    ".#.......#.", "..#.....#..", "...#...#...", "....#.#....", ".....#.....",
};

// A bent stroke: down the left side, then along the bottom.
inline const SkeletonArt Ell = {
    "#.......", "#.......", "#.......", "#.......", "#.......",
    "#.......", "#.......", "#.......", "#.......", ".#######",
};

// An S from its upper end (1, 11) to its lower end (19, 1).
inline const SkeletonArt SCurve = {
    "...########", "..#........", ".#.........", ".#.........", ".#.........", ".#.........", ".#.........",
    "..#........", "...#####...", "........#..", ".........#.", ".........#.", ".........#.", ".........#.",
    ".........#.", ".........#.", "........#..", ".......#...", "#######....",
};

// Box of the cells of value 1, and the units derived from it.
inline void FitSkeletonBox() {
    GlyphBoxRecord box{GridSide, -1, GridSide, -1, 0, 0};
    for (int row = 0; row < GridSide; ++row) {
        for (int col = 0; col < GridSide; ++col) {
            if (Glyph.SkeletonImage.At(row, col) != 1) continue;
            box.top = static_cast<std::int16_t>(std::min<int>(box.top, row));
            box.bottom = static_cast<std::int16_t>(std::max<int>(box.bottom, row));
            box.left = static_cast<std::int16_t>(std::min<int>(box.left, col));
            box.right = static_cast<std::int16_t>(std::max<int>(box.right, col));
        }
    }
    box.height = static_cast<std::int16_t>(box.bottom - box.top + 1);
    box.width = static_cast<std::int16_t>(box.right - box.left + 1);
    Glyph.GlyphBox = box;
    Glyph.WidthUnit = static_cast<std::int16_t>((box.width + 4) / 7);
    Glyph.HeightUnit = static_cast<std::int16_t>((box.height + 4) / 7);
    Glyph.StrokeUnit = static_cast<std::int16_t>((Glyph.WidthUnit + Glyph.HeightUnit) / 2);
}

// A fresh record holding the drawn skeleton at rows 1.., columns 1...
inline void DrawSkeleton(const SkeletonArt& art) {
    DrawGlyph(art, 1);
    FitSkeletonBox();
}

inline SkeletonArt MirroredLeftRight(const SkeletonArt& art) {
    const std::size_t width = static_cast<std::size_t>(WidestRow(art));
    SkeletonArt mirrored;
    for (const std::string& row : art) {
        std::string padded = row + std::string(width - row.size(), '.');
        mirrored.emplace_back(padded.rbegin(), padded.rend());
    }
    return mirrored;
}

// A minimal 8-connected straight stroke of value 1 between two grid cells, both included.
inline void DrawStroke(int row0, int col0, int row1, int col1) {
    const int dr = std::abs(row1 - row0);
    const int dc = std::abs(col1 - col0);
    const int stepRow = row0 < row1 ? 1 : -1;
    const int stepCol = col0 < col1 ? 1 : -1;
    int error = dc - dr;
    for (;;) {
        Glyph.SkeletonImage.Set(row0, col0, 1);
        if (row0 == row1 && col0 == col1) return;
        const int doubled = 2 * error;
        if (doubled > -dr) {
            error -= dr;
            col0 += stepCol;
        }
        if (doubled < dc) {
            error += dc;
            row0 += stepRow;
        }
    }
}

// A fresh glyph of the given size holding only the straight strokes drawn afterwards.
inline void StartBlankGlyph(int height, int width) {
    ResetGlyphRecord();
    Glyph.GlyphHeight = static_cast<std::int16_t>(height);
    Glyph.GlyphWidth = static_cast<std::int16_t>(width);
}

inline int CountCellsWithValue(std::uint8_t value) { return CountCellsEqual(Glyph.SkeletonImage, value); }
