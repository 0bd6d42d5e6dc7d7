// Reads of the glyph's profiles and grids for the verifiers. Every verifier reads the profiles
// and the grid cells through these functions and never indexes the tables itself.
//
// Profiles. The tables keep the entries of earlier, larger glyphs past the current glyph's rows
// and columns, and many verifier windows reach a row or two past a small glyph (or before its
// first row). Every profile read therefore goes through ProfileEntry, which answers 0 outside
// the glyph:
//   - the margin, run, wide-run and ink profiles are indexed from 0 for the first glyph row or
//     column: rows 0 to H - 1, columns 0 to W - 1;
//   - the skeleton gap profiles are indexed by the grid row or column itself: rows 1 to H,
//     columns 1 to W.
//
// Grid cells. Rows 0 and H + 1 and columns 0 and W + 1 are the glyph's empty border and are read
// as they stand; a scan that reaches further (outside the grid included) reads empty border
// there, so no scan reads an earlier glyph's cells or memory outside the grid.
#pragma once

#include <cstdint>

#include "engine/glyph/glyph_record.h"

// The one bounded profile read: entry `index` of the table when it lies in first..last, else 0.
template <typename Entry>
int ProfileEntry(const Entry (&profile)[GridSide], int index, int first, int last) {
    const bool inside = index >= first && index <= last && index >= 0 && index < GridSide;
    return inside ? static_cast<int>(profile[index]) : 0;
}

inline bool IsGlyphRowIndex(int i) { return i >= 0 && i < Glyph.GlyphHeight && i < GridSide; }

// Row profiles, index 0 = the first glyph row.
inline int RowProfile(const std::uint8_t (&profile)[GridSide], int i) {
    return ProfileEntry(profile, i, 0, Glyph.GlyphHeight - 1);
}
inline int RowLeftAt(int i) { return RowProfile(Glyph.RowLeftMargin, i); }
inline int RowRightAt(int i) { return RowProfile(Glyph.RowRightMargin, i); }
inline int RowRunsAt(int i) { return RowProfile(Glyph.RowRunCount, i); }
inline int RowInkAt(int i) { return ProfileEntry(Glyph.RowInkCount, i, 0, Glyph.GlyphHeight - 1); }

// Column profiles, index 0 = the first glyph column.
inline int ColProfile(const std::uint8_t (&profile)[GridSide], int c) {
    return ProfileEntry(profile, c, 0, Glyph.GlyphWidth - 1);
}
inline int ColTopAt(int c) { return ColProfile(Glyph.ColTopMargin, c); }
inline int ColBottomAt(int c) { return ColProfile(Glyph.ColBottomMargin, c); }
inline int ColRunsAt(int c) { return ColProfile(Glyph.ColRunCount, c); }
inline int ColWideRunsAt(int c) { return ColProfile(Glyph.ColWideRunCount, c); }
inline int ColInkAt(int c) { return ProfileEntry(Glyph.ColInkCount, c, 0, Glyph.GlyphWidth - 1); }

// Skeleton gap profile, indexed by the grid column itself (glyph columns 1 to W).
inline int ColGapsAt(int gridCol) { return ProfileEntry(Glyph.ColGapCount, gridCol, 1, Glyph.GlyphWidth); }

// The glyph's cells and its one-cell border.
inline bool IsGlyphOrBorderCell(int gridRow, int gridCol) {
    return gridRow >= 0 && gridRow <= Glyph.GlyphHeight + 1 && gridCol >= 0 && gridCol <= Glyph.GlyphWidth + 1;
}

// 1 when the cell of GlyphImage (the filled glyph) is ink.
inline int GlyphImageInk(int gridRow, int gridCol) {
    return IsGlyphOrBorderCell(gridRow, gridCol) && Glyph.GlyphImage.At(gridRow, gridCol) != 0 ? 1 : 0;
}

// A "set" cell of SkeletonImage holds the value 1. After a trace the grid also holds the chord
// marks 3 to 5, which are not ink; every skeleton scan reads cells by this one rule, so it needs
// no ClearMarks of its own.
inline constexpr std::uint8_t SkeletonSetValue = 1;
inline bool IsSkeletonSet(int gridRow, int gridCol) {
    return IsGlyphOrBorderCell(gridRow, gridCol) && Glyph.SkeletonImage.At(gridRow, gridCol) == SkeletonSetValue;
}

// The first column 1..W of the skeleton row that is set; W + 1 when the row has none (also for
// border rows and rows beyond them).
inline int FirstSetColumn(int gridRow) {
    int col = 1;
    while (col <= Glyph.GlyphWidth && !IsSkeletonSet(gridRow, col)) ++col;
    return col;
}
