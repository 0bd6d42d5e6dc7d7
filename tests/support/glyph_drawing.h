// Draws test glyphs into the glyph grid from rows of text ('#' = ink, anything else background)
// and reads the grid back the same way.
#pragma once

#include <string>
#include <vector>

#include "engine/glyph/glyph_record.h"

using GlyphRows = std::vector<std::string>;

inline int WidestRow(const GlyphRows& rows) {
    std::size_t width = 0;
    for (const std::string& row : rows) width = row.size() > width ? row.size() : width;
    return static_cast<int>(width);
}

// Clears the record and draws the rows with their top-left cell at (origin, origin): origin 0
// is how callers load a glyph, origin 1 is a glyph inside its border. Sets GlyphHeight/Width.
inline void DrawGlyph(const GlyphRows& rows, int origin) {
    ResetGlyphRecord();
    Glyph.GlyphHeight = static_cast<std::int16_t>(rows.size());
    Glyph.GlyphWidth = static_cast<std::int16_t>(WidestRow(rows));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (rows[r][c] == '#') Glyph.SkeletonImage.Set(static_cast<int>(r) + origin, static_cast<int>(c) + origin, 1);
        }
    }
}

// The cells of `grid` in rows first..first+height-1 and columns first..first+width-1 as text:
// '.' for 0, '#' for 1, the digit or letter of any other value ('a' for 10, ...).
inline GlyphRows ReadGrid(const GlyphGrid& grid, int first, int height, int width) {
    GlyphRows rows;
    for (int r = first; r < first + height; ++r) {
        std::string line;
        for (int c = first; c < first + width; ++c) {
            const int v = grid.At(r, c);
            line += v == 0 ? '.' : v == 1 ? '#' : v < 10 ? static_cast<char>('0' + v) : static_cast<char>('a' + v - 10);
        }
        rows.push_back(line);
    }
    return rows;
}

inline int CountCellsEqual(const GlyphGrid& grid, int value) {
    int count = 0;
    for (int r = 0; r < GridSide; ++r) {
        for (int c = 0; c < GridSide; ++c) count += grid.At(r, c) == value ? 1 : 0;
    }
    return count;
}

// Two bands of 63 vertical two-cell strokes inside the border: 252 end points, more than any
// list holds.
inline void DrawManyStrokeEnds() {
    ResetGlyphRecord();
    Glyph.GlyphHeight = 5;
    Glyph.GlyphWidth = 125;
    for (int col = 1; col <= 125; col += 2) {
        for (int row : {1, 2, 4, 5}) Glyph.SkeletonImage.Set(row, col, 1);
    }
}
