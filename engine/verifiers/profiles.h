// Reads of the glyph's profiles for the verifiers. The profile tables keep the entries of earlier,
// larger glyphs past the current glyph's rows and columns, and many verifier windows reach a row
// or two past a small glyph; every read outside the glyph therefore answers 0.
#pragma once

#include <cstdint>

#include "engine/glyph/glyph_record.h"

inline bool IsGlyphRowIndex(int i) { return i >= 0 && i < Glyph.GlyphHeight && i < GridSide; }
inline bool IsGlyphColIndex(int c) { return c >= 0 && c < Glyph.GlyphWidth && c < GridSide; }

// Row profiles, index 0 = the first glyph row.
inline int RowLeftAt(int i) { return IsGlyphRowIndex(i) ? Glyph.RowLeftMargin[i] : 0; }
inline int RowRightAt(int i) { return IsGlyphRowIndex(i) ? Glyph.RowRightMargin[i] : 0; }
inline int RowRunsAt(int i) { return IsGlyphRowIndex(i) ? Glyph.RowRunCount[i] : 0; }
inline int RowInkAt(int i) { return IsGlyphRowIndex(i) ? Glyph.RowInkCount[i] : 0; }

// Column profiles, index 0 = the first glyph column.
inline int ColTopAt(int c) { return IsGlyphColIndex(c) ? Glyph.ColTopMargin[c] : 0; }
inline int ColBottomAt(int c) { return IsGlyphColIndex(c) ? Glyph.ColBottomMargin[c] : 0; }
inline int ColRunsAt(int c) { return IsGlyphColIndex(c) ? Glyph.ColRunCount[c] : 0; }
inline int ColWideRunsAt(int c) { return IsGlyphColIndex(c) ? Glyph.ColWideRunCount[c] : 0; }
inline int ColInkAt(int c) { return IsGlyphColIndex(c) ? Glyph.ColInkCount[c] : 0; }

// Skeleton gap profile, indexed by the grid column itself (glyph columns are 1 to W).
inline int ColGapsAt(int gridCol) { return IsGlyphColIndex(gridCol - 1) ? Glyph.ColGapCount[gridCol] : 0; }

// 1 when the cell of GlyphImage at the grid row and column is ink; the glyph's cells and its
// one-cell border are read, anything beyond them answers 0.
inline int GlyphImageInk(int gridRow, int gridCol) {
    const bool inside = gridRow >= 0 && gridRow <= Glyph.GlyphHeight + 1 && gridCol >= 0 &&
                        gridCol <= Glyph.GlyphWidth + 1;
    return inside && Glyph.GlyphImage.At(gridRow, gridCol) != 0 ? 1 : 0;
}
