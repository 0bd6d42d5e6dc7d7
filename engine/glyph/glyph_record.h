// The feature state of the glyph being recognized: one static record per recognizer, filled by
// the glyph code and read by the verifiers. Refilled for every glyph, never freed.
#pragma once

#include <cstdint>

inline constexpr int GridSide = 128;        // grids are GridSide x GridSide, row stride GridSide
inline constexpr int MaxGlyphSide = 126;    // glyph rows/columns without the one-cell border
inline constexpr int MaxEndpoints = 128;
inline constexpr int MaxIsolatedPoints = 24;
inline constexpr int MaxJunctions = 128;
inline constexpr int JunctionBranchSlots = 3;
inline constexpr int MaxHoles = 32;
inline constexpr int MaxPathPoints = 2000;
inline constexpr int MaxChordHits = 256;
inline constexpr int MaxPathMeasures = 1024;  // PathDistance / PathSide entries
inline constexpr int MaxPrunedSpurs = 32;
inline constexpr int MaxDigitCandidates = 10;
inline constexpr int MaxLetterCandidates = 52;
inline constexpr int LetterVoteSlots = 52;
inline constexpr int CandidateStringSize = 37;  // 36 characters and a NUL

constexpr bool IsInsideGrid(int row, int col) {
    return row >= 0 && row < GridSide && col >= 0 && col < GridSide;
}

// Whether all eight neighbours of the cell lie on the grid, so they can be read unchecked.
constexpr bool HasAllNeighboursOnGrid(int row, int col) {
    return row >= 1 && row < GridSide - 1 && col >= 1 && col < GridSide - 1;
}

// The last of rows (columns) 1..n that lies on the grid: a scan that skips background cells may
// stop there, as cells beyond the grid read as background.
constexpr int LastOnGrid(int n) { return n < GridSide - 1 ? n : GridSide - 1; }

// A 128 x 128 byte grid addressed by (row, column); reads outside answer 0 and writes outside
// are dropped, so no tracing or scanning routine can step off the grid.
struct GlyphGrid {
    std::uint8_t cells[GridSide * GridSide];

    std::uint8_t At(int row, int col) const { return IsInsideGrid(row, col) ? cells[row * GridSide + col] : 0; }
    // Row 0 <= row < GridSide, for scans whose columns stay on the grid.
    std::uint8_t* Row(int row) { return cells + row * GridSide; }
    void Set(int row, int col, std::uint8_t value) {
        if (IsInsideGrid(row, col)) cells[row * GridSide + col] = value;
    }
};

struct GlyphPoint {
    std::int16_t x;  // column
    std::int16_t y;  // row
};

struct GlyphBoxRecord {
    std::int16_t top, bottom, left, right, height, width;
};

struct HoleBox {
    std::int16_t top, bottom, left, right, label, area;
};

// First and last column of the first run of hole cells in the hole's top row, the same for
// its bottom row; first and last row of the first run in its left column, and in its right.
struct HoleExtent {
    std::int16_t topFirst, topLast, bottomFirst, bottomLast;
    std::int16_t leftFirst, leftLast, rightFirst, rightLast;
};

struct PrunedSpur {
    std::uint8_t endRow, endCol, innerRow, innerCol;
};

struct GlyphRecord {
    // Grids.
    GlyphGrid SkeletonImage;  // glyph on entry, skeleton after thinning, trace marks 3 to 5
    GlyphGrid GlyphImage;     // the filled, cleaned glyph as it stood before thinning
    std::int16_t SavedGlyphHeight;  // size of the glyph saved in GlyphImage
    std::int16_t SavedGlyphWidth;

    // Size.
    std::int16_t GlyphHeight;
    std::int16_t GlyphWidth;
    std::int16_t GlyphMaxSide;
    GlyphBoxRecord GlyphBox;  // bounding box of the skeleton cells

    // Units: the length scale of every verifier tolerance.
    std::int16_t WidthUnit;
    std::int16_t HeightUnit;
    std::int16_t StrokeUnit;

    // Shape ratios.
    float AspectRatio;
    float InkToBackgroundRatio;

    std::uint8_t NoiseTrimmedFlag;

    // End points, isolated points, junctions (row-major scan order).
    GlyphPoint Endpoints[MaxEndpoints];
    std::int16_t EndpointCount;
    GlyphPoint IsolatedPoints[MaxIsolatedPoints];
    std::int16_t IsolatedPointCount;
    GlyphPoint Junctions[MaxJunctions];
    std::int16_t JunctionCount;
    std::uint8_t JunctionExtraBranches[MaxJunctions];
    GlyphPoint JunctionBranches[MaxJunctions][JunctionBranchSlots];

    // Holes, largest first.
    std::int16_t HoleCount;
    HoleBox HoleBoxes[MaxHoles];
    HoleExtent HoleExtents[MaxHoles];

    // Profiles of GlyphImage, index = row - 1 or column - 1.
    std::uint8_t RowLeftMargin[GridSide];
    std::uint8_t RowRightMargin[GridSide];
    std::uint8_t ColTopMargin[GridSide];
    std::uint8_t ColBottomMargin[GridSide];
    std::uint8_t RowRunCount[GridSide];
    std::uint8_t ColRunCount[GridSide];
    std::uint8_t RowWideRunCount[GridSide];
    std::uint8_t ColWideRunCount[GridSide];
    std::int16_t RowInkCount[GridSide];
    std::int16_t ColInkCount[GridSide];
    // Profiles of the skeleton, indexed by the grid row or column itself.
    std::uint8_t RowGapCount[GridSide];
    std::uint8_t ColGapCount[GridSide];

    std::int16_t SortOrder[GridSide];

    // Results of the last trace or walk.
    std::int16_t PathX[MaxPathPoints];
    std::int16_t PathY[MaxPathPoints];
    std::int16_t PathPointCount;
    std::int16_t WalkLength;
    std::int16_t ChordLength;
    std::int16_t ChordHitCount;
    std::uint8_t ChordHitRows[MaxChordHits];
    std::uint8_t ChordHitCols[MaxChordHits];
    float ChordDirection;
    float ChordSteepness;
    float ChordSlope;
    float PathLengthRatio;
    std::uint8_t PathDistance[MaxPathMeasures];
    std::uint8_t PathSide[MaxPathMeasures];
    std::int16_t WalkRow, WalkCol, WalkPrevRow, WalkPrevCol;  // -1 = none

    // Spur log of thinning.
    PrunedSpur PrunedSpurs[MaxPrunedSpurs];
    std::uint8_t PrunedSpurCount;

    // Ink measures written by the per-position drivers.
    std::int16_t InkCount;
    float InkRatio;

    // Candidates.
    std::int16_t DigitCandidates[MaxDigitCandidates];
    std::int16_t DigitCandidateCount;
    std::int16_t LetterCandidates[MaxLetterCandidates];
    std::int16_t LetterCandidateCount;
    std::int16_t LetterVotes[LetterVoteSlots];
    char CandidateString[CandidateStringSize];
    std::uint8_t CandidateCount;
};

extern GlyphRecord Glyph;

// Clears the whole record, so that a test starts from a known glyph state.
void ResetGlyphRecord();
