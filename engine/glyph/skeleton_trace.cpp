// Tracing the skeleton between two points and measuring each path point against the chord.
#include "engine/glyph/skeleton_trace.h"

#include <algorithm>
#include <cstdlib>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"

namespace {

constexpr std::uint8_t SkeletonCell = 1;
constexpr std::uint8_t LowestMark = ChordMark;  // any cell above the skeleton's values
constexpr float NoSlope = 999.0f;
constexpr int SteepMargin = 2;  // rows (or columns) by which one axis must dominate

// A straight digital line leaving an end point: `step` cells along the major axis, each with the
// minor offset rounded from the chord's ratio. Offsets are computed exactly in integers, so a
// half rounds up whatever the ratio.
struct ChordLine {
    bool steep;         // major axis = rows
    int major, minor;   // lengths along the two axes (absolute)
    int majorStep;      // +1 / -1 along the major axis
    int minorStep;      // +1 / -1 (or 0) along the minor axis

    int Offset(int t) const { return major == 0 ? 0 : (2 * t * minor + major) / (2 * major); }
    int Row(int fromRow, int t) const { return fromRow + (steep ? majorStep * t : minorStep * Offset(t)); }
    int Col(int fromCol, int t) const { return fromCol + (steep ? minorStep * Offset(t) : majorStep * t); }
};

int Sign(int v) { return (v > 0) - (v < 0); }

// The line from (fromRow, fromCol) towards (toRow, toCol).
ChordLine LineTowards(int fromRow, int fromCol, int toRow, int toCol) {
    const int dr = toRow - fromRow;
    const int dc = toCol - fromCol;
    ChordLine line{};
    line.steep = std::abs(dr) > std::abs(dc);
    line.major = line.steep ? std::abs(dr) : std::abs(dc);
    line.minor = line.steep ? std::abs(dc) : std::abs(dr);
    line.majorStep = line.steep ? Sign(dr) : Sign(dc);
    line.minorStep = line.steep ? Sign(dc) : Sign(dr);
    return line;
}

ChordLine Reversed(ChordLine line) {
    line.majorStep = -line.majorStep;
    line.minorStep = -line.minorStep;
    return line;
}

void SetChordShape(int dr, int dc) {
    const int adc = std::abs(dc);
    Glyph.ChordDirection = static_cast<float>(Sign(dc));
    float steepness = 0.0f;
    if (dr > adc + SteepMargin) steepness = 1.0f;
    if (adc > dr + SteepMargin) steepness = -1.0f;
    if (adc > 2 * dr) steepness = -2.0f;
    Glyph.ChordSteepness = steepness;
    Glyph.ChordSlope = adc == 0 ? NoSlope : static_cast<float>(dr) / static_cast<float>(adc);
}

// Skeleton cells the chord runs through are recorded as hits; every other cell becomes a mark.
void DrawChord(int leftRow, int leftCol, int otherRow, int otherCol) {
    const ChordLine line = LineTowards(leftRow, leftCol, otherRow, otherCol);
    for (int t = 1; t < line.major; ++t) {
        const int row = line.Row(leftRow, t);
        const int col = line.Col(leftCol, t);
        if (Glyph.SkeletonImage.At(row, col) != SkeletonCell) {
            Glyph.SkeletonImage.Set(row, col, ChordMark);
        } else if (Glyph.ChordHitCount < MaxChordHits) {
            Glyph.ChordHitRows[Glyph.ChordHitCount] = static_cast<std::uint8_t>(row);
            Glyph.ChordHitCols[Glyph.ChordHitCount] = static_cast<std::uint8_t>(col);
            ++Glyph.ChordHitCount;
        }
    }
}

bool InBoxRange(int v, int low, int high) { return v >= low && v <= high; }

// Continues `outward` beyond the end (row, col) until its major coordinate passes `majorLimit`
// or its minor coordinate leaves the skeleton box; skeleton cells keep their value.
void DrawExtension(int row, int col, const ChordLine& outward, int majorLimit, std::uint8_t mark) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    for (int t = 1;; ++t) {
        const int r = outward.Row(row, t);
        const int c = outward.Col(col, t);
        const int majorValue = outward.steep ? r : c;
        if (outward.majorStep * (majorValue - majorLimit) > 0) return;
        const bool minorInside = outward.steep ? InBoxRange(c, box.left, box.right) : InBoxRange(r, box.top, box.bottom);
        if (!minorInside) return;
        if (Glyph.SkeletonImage.At(r, c) != SkeletonCell) Glyph.SkeletonImage.Set(r, c, mark);
    }
}

// The edge of the skeleton box that `outward` runs towards along its major axis.
int MajorLimit(const ChordLine& outward) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    if (outward.steep) return outward.majorStep < 0 ? box.top : box.bottom;
    return outward.majorStep < 0 ? box.left : box.right;
}

void DrawExtensions(int rowA, int colA, int rowB, int colB) {
    const ChordLine beyondA = Reversed(LineTowards(rowA, colA, rowB, colB));
    const ChordLine beyondB = Reversed(LineTowards(rowB, colB, rowA, colA));
    // A vertical chord's upper extension reaches the top row of the grid, not just of the box.
    const int upperLimit = colA == colB ? 0 : MajorLimit(beyondA);
    DrawExtension(rowA, colA, beyondA, upperLimit, UpperExtensionMark);
    DrawExtension(rowB, colB, beyondB, MajorLimit(beyondB), LowerExtensionMark);
}

struct PointMeasure {
    std::uint8_t distance;
    std::uint8_t side;
};

// Checks one cell of a search ring; `farSide` tells whether a mark there lies across the chord.
bool TakeMark(int row, int col, bool farSide, int k, PointMeasure& found) {
    if (!IsInSkeletonBox(static_cast<std::int16_t>(row), static_cast<std::int16_t>(col))) return false;
    const std::uint8_t value = Glyph.SkeletonImage.At(row, col);
    if (value < LowestMark) return false;
    found.distance = static_cast<std::uint8_t>(k);
    found.side = static_cast<std::uint8_t>(farSide ? value + FarSideOffset : value);
    return true;
}

// Checks the ring at distance k in the search's order; true when it holds a mark.
bool SearchRing(int row, int col, int k, bool rightIsFar, PointMeasure& found) {
    for (int m = 1; m <= 2 * k; ++m) {
        if (TakeMark(row - k, col - k + m, true, k, found) || TakeMark(row - k + m, col + k, rightIsFar, k, found) ||
            TakeMark(row + k, col + k - m, false, k, found) || TakeMark(row + k - m, col - k, !rightIsFar, k, found)) {
            return true;
        }
    }
    return false;
}

// Chessboard distance from each cell of the skeleton box (on the grid) to the nearest mark in
// it, so that a point's search can start at the ring that holds its nearest mark: the rings
// inside it hold none. Filled on the first measure of a trace, the marks staying as drawn while
// the path is walked.
constexpr std::uint8_t NoMarkInBox = 255;
std::uint8_t MarkDistance[GridSide * GridSide];
bool MarkDistanceReady = false;

struct GridBox {
    int top, bottom, left, right;
};

GridBox SkeletonBoxOnGrid() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    return GridBox{std::max<int>(box.top, 0), std::min<int>(box.bottom, GridSide - 1), std::max<int>(box.left, 0),
                   std::min<int>(box.right, GridSide - 1)};
}

// The smaller of `distance` and the distance through `neighbour`.
int RelaxDistance(int distance, int neighbour) {
    return std::min(distance, std::min<int>(MarkDistance[neighbour] + 1, NoMarkInBox));
}

// Two passes over the box, each taking the distances of the four neighbours already passed.
void FillMarkDistances() {
    const GridBox b = SkeletonBoxOnGrid();
    for (int row = b.top; row <= b.bottom; ++row) {
        for (int col = b.left; col <= b.right; ++col) {
            const int i = row * GridSide + col;
            int distance = Glyph.SkeletonImage.cells[i] >= LowestMark ? 0 : NoMarkInBox;
            if (row > b.top) {
                distance = RelaxDistance(distance, i - GridSide);
                if (col > b.left) distance = RelaxDistance(distance, i - GridSide - 1);
                if (col < b.right) distance = RelaxDistance(distance, i - GridSide + 1);
            }
            if (col > b.left) distance = RelaxDistance(distance, i - 1);
            MarkDistance[i] = static_cast<std::uint8_t>(distance);
        }
    }
    for (int row = b.bottom; row >= b.top; --row) {
        for (int col = b.right; col >= b.left; --col) {
            const int i = row * GridSide + col;
            int distance = MarkDistance[i];
            if (row < b.bottom) {
                distance = RelaxDistance(distance, i + GridSide);
                if (col > b.left) distance = RelaxDistance(distance, i + GridSide - 1);
                if (col < b.right) distance = RelaxDistance(distance, i + GridSide + 1);
            }
            if (col < b.right) distance = RelaxDistance(distance, i + 1);
            MarkDistance[i] = static_cast<std::uint8_t>(distance);
        }
    }
    MarkDistanceReady = true;
}

// The first ring that can hold a mark: 1 unless the distance map knows better; beyond `reach`
// when the box holds no mark.
int FirstRingWithMark(int row, int col, int reach) {
    const GridBox b = SkeletonBoxOnGrid();
    if (row < b.top || row > b.bottom || col < b.left || col > b.right) return 1;
    if (!MarkDistanceReady) FillMarkDistances();
    const int distance = MarkDistance[row * GridSide + col];
    if (distance == NoMarkInBox) return reach + 1;
    return std::max(distance, 1);
}

// The nearest mark around a path point, searched ring by ring. The search ends once the ring
// lies wholly outside the skeleton box; a point with no mark in reach (chord and extensions all
// skeleton) counts as lying on the chord.
PointMeasure MeasureFromMarks(int row, int col) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const bool rightIsFar = Glyph.ChordDirection >= 0.0f;
    const int reach = std::max({std::abs(row - box.top), std::abs(row - box.bottom), std::abs(col - box.left),
                                std::abs(col - box.right)});
    PointMeasure found{0, ChordSide};
    for (int k = FirstRingWithMark(row, col, reach); k <= reach; ++k) {
        if (SearchRing(row, col, k, rightIsFar, found)) return found;
    }
    return PointMeasure{0, ChordSide};
}

bool AppendPathPoint(int row, int col, PointMeasure measure) {
    const int i = Glyph.PathPointCount;
    if (i >= MaxPathMeasures) return false;
    Glyph.PathX[i] = static_cast<std::int16_t>(col);
    Glyph.PathY[i] = static_cast<std::int16_t>(row);
    Glyph.PathDistance[i] = measure.distance;
    Glyph.PathSide[i] = measure.side;
    Glyph.PathPointCount = static_cast<std::int16_t>(i + 1);
    return true;
}

// How close to the target a walk may run into a junction and still count as arrived.
constexpr int ArrivalReach = 2;
constexpr int JunctionNeighbourCount = 3;

}  // namespace

void ClearMarks(std::int16_t threshold) {
    const int lastRow = std::min(Glyph.GlyphHeight + 1, GridSide - 1);
    const int lastCol = std::min(Glyph.GlyphWidth + 1, GridSide - 1);
    for (int row = 0; row <= lastRow; ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 0; col <= lastCol; ++col) {
            if (line[col] >= threshold) line[col] = 0;
        }
    }
}

std::int16_t IsInSkeletonBox(std::int16_t row, std::int16_t col) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    return InBoxRange(row, box.top, box.bottom) && InBoxRange(col, box.left, box.right) ? 1 : 0;
}

std::int16_t IsChordHit(std::int16_t row, std::int16_t col) {
    const int count = std::clamp<int>(Glyph.ChordHitCount, 0, MaxChordHits);
    for (int i = 0; i < count; ++i) {
        if (Glyph.ChordHitRows[i] == row && Glyph.ChordHitCols[i] == col) return 1;
    }
    return 0;
}

std::int16_t TraceSkeletonPath(std::int16_t row1, std::int16_t col1, std::int16_t row2, std::int16_t col2) {
    Glyph.ChordLength = static_cast<std::int16_t>(RoundedDistance(col1, row1, col2, row2));
    Glyph.ChordHitCount = 0;
    const bool firstIsUpper = row1 <= row2;
    const int rowA = firstIsUpper ? row1 : row2;
    const int colA = firstIsUpper ? col1 : col2;
    const int rowB = firstIsUpper ? row2 : row1;
    const int colB = firstIsUpper ? col2 : col1;
    SetChordShape(rowB - rowA, colB - colA);

    Glyph.PathPointCount = 0;
    AppendPathPoint(row1, col1, PointMeasure{0, ChordSide});
    if (row1 == row2 && col1 == col2) return 1;  // no chord to measure against

    if (colB < colA) {
        DrawChord(rowB, colB, rowA, colA);
    } else {
        DrawChord(rowA, colA, rowB, colB);
    }
    DrawExtensions(rowA, colA, rowB, colB);
    MarkDistanceReady = false;

    Glyph.WalkRow = row1;
    Glyph.WalkCol = col1;
    Glyph.WalkPrevRow = -1;
    Glyph.WalkPrevCol = -1;
    for (;;) {
        const std::int16_t row = Glyph.WalkRow;
        const std::int16_t col = Glyph.WalkCol;
        if (StepWalk() == 0) return 1;
        Glyph.WalkPrevRow = row;
        Glyph.WalkPrevCol = col;
        const int r = Glyph.WalkRow;
        const int c = Glyph.WalkCol;
        const bool atTarget = r == row2 && c == col2;
        const PointMeasure measure = atTarget || IsChordHit(Glyph.WalkRow, Glyph.WalkCol)
                                         ? PointMeasure{0, ChordSide}
                                         : MeasureFromMarks(r, c);
        if (!AppendPathPoint(r, c, measure)) return 1;
        if (atTarget) break;
        if (CountNeighbours(Glyph.WalkRow, Glyph.WalkCol) >= JunctionNeighbourCount) {
            if (std::abs(r - row2) > ArrivalReach || std::abs(c - col2) > ArrivalReach) return 1;
            break;
        }
    }
    MarkChordCrossings();
    SmoothTraceDistances();
    Glyph.PathLengthRatio = static_cast<float>(Glyph.PathPointCount) / static_cast<float>(Glyph.ChordLength);
    return 0;
}

void MarkChordCrossings() {
    const int n = std::clamp<int>(Glyph.PathPointCount, 0, MaxPathMeasures);
    for (int i = 0; i < n; ++i) {
        if (IsChordHit(Glyph.PathY[i], Glyph.PathX[i]) == 0) continue;
        Glyph.PathDistance[i] = 0;
        if (i > 0) Glyph.PathSide[i] = Glyph.PathSide[i - 1];
    }
    // A single point whose side disagrees with both its neighbours takes theirs.
    for (int i = 1; i + 1 < n; ++i) {
        const std::uint8_t before = Glyph.PathSide[i - 1];
        if (before == Glyph.PathSide[i + 1] && Glyph.PathSide[i] != before) Glyph.PathSide[i] = before;
    }
}

void SmoothTraceDistances() {
    constexpr int WideWindow = 5;
    constexpr int NarrowWindow = 3;
    constexpr int ShortPathUnits = 4;
    const int n = std::clamp<int>(Glyph.PathPointCount, 0, MaxPathMeasures);
    const int window = n < ShortPathUnits * Glyph.StrokeUnit ? NarrowWindow : WideWindow;
    const int half = (window - 1) / 2;
    std::uint8_t original[MaxPathMeasures];
    std::copy(Glyph.PathDistance, Glyph.PathDistance + n, original);
    for (int i = 0; i < n; ++i) {
        if (i < half || i >= n - half) {
            Glyph.PathDistance[i] = 0;
            continue;
        }
        int sum = 0;
        for (int j = i - half; j <= i + half; ++j) sum += original[j];
        // The mean rounded down: adding a half before dividing by the window never carries.
        Glyph.PathDistance[i] = static_cast<std::uint8_t>(sum / window);
    }
}
