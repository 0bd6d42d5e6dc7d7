// Removal of the rectangular frame painted round a container's check digit: the frame's sides,
// its top and bottom bars and the bridges that join it to the digit go, so that the digit
// verifiers see the digit alone. Works in place on Glyph.SkeletonImage with the box at origin
// 0,0 (rows 0..H-1, columns 0..W-1, ink 1, no border); the caller crops the rest afterwards.
#pragma once

#include <cstdint>

#include "engine/glyph/glyph_record.h"

// Transient cell value of a cell found to belong to a frame side.
inline constexpr std::uint8_t FrameSideMark = 2;
// Bottom bound meaning "no bottom bar found": below every row a box can have.
inline constexpr int NoBottomBound = GridSide;

// A run of marked columns (start, end = first unmarked column after it), or, in the side
// searches, one row's side flag and position.
struct FramePair {
    std::int16_t first;
    std::int16_t second;
};

// State and scratch tables of one frame removal; every table is indexed by a row or column of
// the box and read through bounds-checked helpers (outside the box counts as empty).
struct FrameScratchRecord {
    std::int16_t Rows;       // H
    std::int16_t BoxWidth;   // W: the columns the box occupies in the grid
    std::int16_t BandWidth;  // W': columns of the kept band, moved to column 0
    std::int16_t LeftSideRows;
    std::int16_t RightSideRows;
    std::int16_t TopBound;     // first row below the top bar, 0 = none
    std::int16_t BottomBound;  // last row above the bottom bar, NoBottomBound = none
    bool SidesFoundTogether;   // both sides agree on the top bound
    std::int16_t InkTop;       // first kept row of the row range
    std::int16_t InkEnd;       // one past the last kept row
    std::int16_t BandStart;    // second column band: first column ...
    std::int16_t BandEnd;      // ... and the first unmarked column after it
    std::uint8_t ColumnMarks[GridSide];  // marked columns; later the full columns
    FramePair Pairs[GridSide];           // column runs; later per-row side flag and position
    std::int16_t RowCounts[GridSide];    // per-row ink or run-end counts
    std::int16_t LeftGaps[GridSide];     // per-row margin before three ink cells, from the left
    std::int16_t RightGaps[GridSide];    // the same from the right
    std::int16_t ColumnCounts[GridSide];
};

extern FrameScratchRecord FrameScratch;

// Removes the frame from the check-digit box of `width` columns and `height` rows. Changes
// neither Glyph.GlyphHeight nor Glyph.GlyphWidth. A box larger than a glyph may be, or one
// without two ink cells side by side, is left as it is.
void RemoveCheckDigitFrame(std::int16_t width, std::int16_t height);

// The stages of RemoveCheckDigitFrame, in their order; each works on FrameScratch and the grid.
// Keeps the widest run of columns that hold a horizontal ink pair (and the column after it),
// moved to column 0; false, with nothing changed, when no column qualifies.
bool KeepWidestColumnBand(int width, int height);
void CutBridgesAndSpecks();
void TrimTopLeftCorner();
void CountSideRows();
void CloseBarGaps();
void MarkLeftSide();
void MarkRightSide();
// The stages up to here: the band kept and the frame's sides marked with their bounds; false
// when there is no band.
bool MarkFrameSides(int width, int height);
void ClearTopBar();
void ClearBottomBar();
void EraseSideMarks();
void KeepRowRange();
void MeasureRowMargins();
void TrimTopStep();
void TrimBottomStep();
void KeepSecondColumnBand();
void TrimByRunEnds();
void ClearEdgePatterns();
// False when no ink is left, so that the remaining stages have nothing to do.
bool FindInkRows();
void SplitColumnGroups();
void ClearFullColumns();
void RemoveOneRowPieces();
void RemoveProtrusions();
