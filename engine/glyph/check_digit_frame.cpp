#include "engine/glyph/check_digit_frame.h"

#include <algorithm>

FrameScratchRecord FrameScratch;

namespace {

constexpr std::uint8_t InkValue = 1;
constexpr int CornerRows = 10;          // rows whose left-edge pixel may be a bar end
constexpr int TopGapRows = 3;           // top rows whose bar gaps are closed
constexpr int BottomGapRows = 4;        // bottom rows whose bar gaps are closed
constexpr int CrispSideWidth = 4;       // a side run narrower than this is a side by itself
constexpr int LinkedSideWidth = 5;      // narrower than this, a side when it continues a side row
constexpr int SidePosition = 2;         // a side row's position lies this far into the side
constexpr int LeftBottomSearchRows = 10;
constexpr int RightTopMinHeight = 25;   // below this the right top bound is taken one row higher
constexpr int TopBarMinBound = 4;
constexpr int TopBarProbeRows = 4;
constexpr int TopBarLeftInkLimit = 4;
constexpr int TopBarWideRowMargin = 11;
constexpr int TallBoxHeight = 42;       // taller boxes lose two more rows of the right top corner
constexpr int BottomBarMinDepth = 4;
constexpr int SolidRangeRows = 5;       // consecutive inked rows that start or end the row range
constexpr int TopRowSpill = 15;
constexpr int TopRowStep = 5;
constexpr int ThinRowInk = 5;
constexpr int TopStepMinHeight = 30;
constexpr int MarginStep = 5;
constexpr int BottomMarginStep = 3;
constexpr int TopStepRows = 3;
constexpr int BottomStepRows = 3;
constexpr int BottomRowsInkLimit = 11;
constexpr int PairRunRows = 3;          // rows of two run ends that make a digit's two-stroke part
constexpr int LowTrimMinExcess = 4;
constexpr int HighTrimMinExcess = 3;
constexpr int TrimMinHeight = 25;
constexpr int TailMinRuns = 4;
constexpr int TailTrimRows = 2;
// Run-end patterns of bar remnants: rows below the top whose single runs confirm a lower bar,
// the notch a doubled top bar leaves at the left, and the row pairs whose run ends all differ
// in a striped top.
constexpr int LowerBarRow = 23;
constexpr int NotchFirstRow = 18, NotchLastRow = 20, NotchLastCol = 4;
constexpr int StripedRowPairs[][2] = {{2, 3}, {10, 11}, {15, 16}, {31, 32}};
constexpr int StripedTopRows = 7;
constexpr int GroupProbeMargin = 4;
constexpr int GroupFewEmptyRows = 6;
constexpr int FullColumnMargin = 6;
constexpr int WideBandColumns = 15;
constexpr int TallInkRows = 26;
constexpr int FullColumnWindow = 8;
constexpr int RightFullColumns = 6;
constexpr int LeftFullColumns = 5;

FrameScratchRecord& F = FrameScratch;

// Cells outside the box's rows and the band's columns count as empty and are never written.
bool InBox(int row, int col) {
    return row >= 0 && row < F.Rows && col >= 0 && col < std::min(F.BandWidth, F.BoxWidth);
}
std::uint8_t Cell(int row, int col) { return InBox(row, col) ? Glyph.SkeletonImage.At(row, col) : 0; }
bool Ink(int row, int col) { return Cell(row, col) == InkValue; }
bool Marked(int row, int col) { return Cell(row, col) == FrameSideMark; }
void Put(int row, int col, std::uint8_t value) {
    if (InBox(row, col)) Glyph.SkeletonImage.Set(row, col, value);
}

void ClearSpan(int row, int firstCol, int lastCol) {
    for (int c = firstCol; c <= lastCol; ++c) Put(row, c, 0);
}
void ClearRows(int firstRow, int lastRow) {
    for (int r = std::max(firstRow, 0); r <= std::min(lastRow, F.Rows - 1); ++r) ClearSpan(r, 0, F.BandWidth - 1);
}
void ClearColumns(int firstCol, int lastCol) {
    for (int r = 0; r < F.Rows; ++r) ClearSpan(r, firstCol, lastCol);
}
int CountInk(int firstRow, int lastRow, int firstCol, int lastCol) {
    int count = 0;
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstCol; c <= lastCol; ++c) count += Ink(r, c);
    return count;
}
// Cells of the rectangle that lie inside the box.
int CountCells(int firstRow, int lastRow, int firstCol, int lastCol) {
    int count = 0;
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstCol; c <= lastCol; ++c) count += InBox(r, c);
    return count;
}

int RowEntry(const std::int16_t* table, int row) { return row >= 0 && row < F.Rows ? table[row] : 0; }
int ColumnEntry(const std::int16_t* table, int col) { return col >= 0 && col < F.BandWidth ? table[col] : 0; }
bool RowFlagged(int row) { return row >= 0 && row < F.Rows && F.Pairs[row].first != 0; }
void FlagRow(int row, int position) { F.Pairs[row] = {1, static_cast<std::int16_t>(position)}; }

// The widest run of marked columns among 0..count-1, the first on ties; false when none.
bool FindWidestRun(int count, int& start, int& end) {
    int runs = 0;
    for (int c = 0; c < count; ++c) {
        if (!F.ColumnMarks[c] || (c > 0 && F.ColumnMarks[c - 1])) continue;
        int e = c;
        while (e < count && F.ColumnMarks[e]) ++e;
        F.Pairs[runs++] = {static_cast<std::int16_t>(c), static_cast<std::int16_t>(e)};
    }
    if (runs == 0) return false;
    int best = 0;
    for (int i = 1; i < runs; ++i)
        if (F.Pairs[i].second - F.Pairs[i].first > F.Pairs[best].second - F.Pairs[best].first) best = i;
    start = F.Pairs[best].first;
    end = F.Pairs[best].second;
    return true;
}

// One cell of the three at `col` - 1 .. `col` + 1 of `row` holds a side mark.
bool MarkNear(int row, int col) { return Marked(row, col - 1) || Marked(row, col) || Marked(row, col + 1); }

// A side run starts at ink and ends at background; a cell already marked as a side cell is
// neither, so the upward pass does not start a run on a row the downward pass marked.
bool Filled(int row, int col) { return Cell(row, col) != 0; }

// The left side's run in `row`: s the first ink column of the left quarter, e the first
// empty column after it, no farther than W'/3 + 1.
bool FindLeftSideRun(int row, int& s, int& e) {
    const int w = F.BandWidth;
    for (s = 0; s < w / 4 && !Ink(row, s); ++s) {}
    if (s >= w / 4) return false;
    for (e = s; e <= w / 3 + 1 && Filled(row, e); ++e) {}
    return e <= w / 3 + 1;
}

// The right side's run in `row`: s the last ink column from W'-1 down to `lowest`, e the
// first empty column before it, no farther than 2W'/3 - 1.
bool FindRightSideRun(int row, int lowest, int& s, int& e) {
    const int w = F.BandWidth;
    for (s = w - 1; s >= lowest && !Ink(row, s); --s) {}
    if (s < lowest) return false;
    for (e = s; e >= 2 * w / 3 - 1 && Filled(row, e); --e) {}
    return e >= 2 * w / 3 - 1;
}

bool IsSideRun(int width, int linkedRow, int s, bool crispAllowed) {
    if (crispAllowed && width < CrispSideWidth) return true;
    return width < LinkedSideWidth && RowFlagged(linkedRow) && MarkNear(linkedRow, s);
}

void MarkSpan(int row, int firstCol, int lastCol) {
    for (int c = firstCol; c <= lastCol; ++c) Put(row, c, FrameSideMark);
}

void MarkLeftRow(int row, int linkedRow, bool crispAllowed) {
    int s = 0, e = 0;
    if (!FindLeftSideRun(row, s, e) || !IsSideRun(e - s, linkedRow, s, crispAllowed)) return;
    FlagRow(row, s + SidePosition);
    MarkSpan(row, s, e - 1);
}

void MarkRightRow(int row, int linkedRow, int lowest, bool crispAllowed) {
    int s = 0, e = 0;
    if (!FindRightSideRun(row, lowest, s, e) || !IsSideRun(s - e, linkedRow, s, crispAllowed)) return;
    FlagRow(row, s - SidePosition);
    MarkSpan(row, e + 1, s);
}

// A flagged row whose neighbour row `step` away is not flagged and is inked at its position.
bool IsSideEnd(int row, int step) {
    return RowFlagged(row) && !RowFlagged(row + step) && Ink(row + step, F.Pairs[row].second);
}

int FirstSideTop(int lastRow) {
    for (int r = 1; r <= lastRow; ++r)
        if (IsSideEnd(r, -1)) return r;
    return 0;
}

int FirstSideBottom(int aboveRow) {
    for (int r = F.Rows - 2; r > aboveRow && r >= 0; --r)
        if (IsSideEnd(r, 1)) return r;
    return NoBottomBound;
}

// True when rows first..first+count-1 all have a positive entry in `table`.
bool RowsAllPositive(const std::int16_t* table, int first, int count) {
    for (int r = first; r < first + count; ++r)
        if (RowEntry(table, r) <= 0) return false;
    return true;
}

// Number of columns of `row` passed before three consecutive ink cells, from column 1
// rightward, resp. from column W'-1 leftward.
int LeftMargin(int row) {
    int passed = 0;
    for (int c = 1; c < F.BandWidth && !(Ink(row, c) && Ink(row, c + 1) && Ink(row, c + 2)); ++c) ++passed;
    return passed;
}
int RightMargin(int row) {
    int passed = 0;
    for (int c = F.BandWidth - 1; c > 0 && !(Ink(row, c) && Ink(row, c - 1) && Ink(row, c - 2)); --c) ++passed;
    return passed;
}

// Per row of the band: cells of ink followed by background, over columns first..W'-1.
void CountRunEnds(int firstCol) {
    for (int r = 0; r < F.Rows; ++r) {
        int ends = 0;
        for (int c = firstCol; c < F.BandWidth; ++c) ends += Ink(r, c) && !Ink(r, c + 1);
        F.RowCounts[r] = static_cast<std::int16_t>(ends);
    }
}
int RunEnds(int row) { return RowEntry(F.RowCounts, row); }

bool AllRunEnds(int firstRow, int lastRow, int value) {
    for (int r = firstRow; r <= lastRow; ++r)
        if (RunEnds(r) != value) return false;
    return true;
}

// Consecutive rows with two run ends from `row` on, moving by `step` while `inside` holds.
template <typename Inside>
int PairRunRowsFrom(int row, int step, Inside inside) {
    int n = 0;
    for (int r = row; inside(r) && RunEnds(r) == 2; r += step) ++n;
    return n;
}

int ColumnGroupStarts() {
    int groups = 0;
    for (int c = 0; c < F.BandWidth; ++c) groups += ColumnEntry(F.ColumnCounts, c) > 0 && ColumnEntry(F.ColumnCounts, c - 1) == 0;
    return groups;
}

bool ColumnEmpty(int col) { return CountInk(0, F.Rows - 1, col, col) == 0; }

bool FullColumn(int col) { return col >= 0 && col < F.BandWidth && F.ColumnMarks[col] != 0; }

int FullColumnsFrom(int col, int step) {
    int n = 0;
    while (n < FullColumnWindow && FullColumn(col + n * step)) ++n;
    return n;
}

// The eight protrusion shapes: a cell whose one side is open while the cells beyond its other
// side continue the stroke, or a cell standing out of a stroke by one cell.
bool IsProtrusion(int r, int c) {
    const bool ul = Ink(r - 1, c - 1), u = Ink(r - 1, c), ur = Ink(r - 1, c + 1);
    const bool l = Ink(r, c - 1), rr = Ink(r, c + 1);
    const bool dl = Ink(r + 1, c - 1), d = Ink(r + 1, c), dr = Ink(r + 1, c + 1);
    const bool uu = Ink(r - 2, c), dd = Ink(r + 2, c), ll = Ink(r, c - 2), r2 = Ink(r, c + 2);
    return (!ul && !u && !ur && !l && !dl && rr && r2 && d && dr && dd) ||
           (!ul && !l && !dl && !d && !dr && u && uu && ur && rr && r2) ||
           (!ul && !u && !ur && !rr && !dr && l && ll && dl && d && dd) ||
           (!ur && !rr && !dr && !d && !dl && u && uu && ul && l && ll) ||
           (!ul && !u && !ur && !l && !rr && dl + d + dr >= 2) ||
           (!l && !rr && !dl && !d && !dr && ul + u + ur >= 2) ||
           (!ul && !u && !l && !dl && !d && ur + rr + dr >= 2) ||
           (!u && !ur && !rr && !dr && !d && ul + l + dl >= 2);
}

}  // namespace

bool KeepWidestColumnBand(int width, int height) {
    F.Rows = static_cast<std::int16_t>(height);
    F.BoxWidth = static_cast<std::int16_t>(width);
    F.BandWidth = static_cast<std::int16_t>(width);
    for (int c = 0; c < width; ++c) {
        bool marked = false;
        for (int r = 0; r < height && !marked; ++r) marked = Ink(r, c) && (Ink(r, c - 1) || Ink(r, c + 1));
        F.ColumnMarks[c] = marked;
    }
    int start = 0, end = 0;
    if (!FindWidestRun(width, start, end)) return false;
    // The kept run moves to column 0 together with the unmarked column after it (which is
    // emptied); the columns it leaves behind are cleared.
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) Put(r, c, start + c < end ? Cell(r, start + c) : 0);
    F.BandWidth = static_cast<std::int16_t>(end - start + 1);
    return true;
}

void CutBridgesAndSpecks() {
    for (int r = 1; r < F.Rows; ++r) {
        for (int c = 1; c < F.BandWidth; ++c) {
            if (!Ink(r, c)) continue;
            const bool u = Ink(r - 1, c), d = Ink(r + 1, c), l = Ink(r, c - 1), rr = Ink(r, c + 1);
            const bool leftColumn = Ink(r - 1, c - 1) && l && Ink(r + 1, c - 1);
            const bool rightColumn = Ink(r - 1, c + 1) && rr && Ink(r + 1, c + 1);
            const bool upperRow = Ink(r - 1, c - 1) && u && Ink(r - 1, c + 1);
            const bool lowerRow = Ink(r + 1, c - 1) && d && Ink(r + 1, c + 1);
            if ((leftColumn && rightColumn && !u && !d) || (upperRow && lowerRow && !l && !rr) || (!u && !d && !l && !rr))
                Put(r, c, 0);
        }
    }
}

void TrimTopLeftCorner() {
    for (int r = 0; r < CornerRows; ++r)
        if (Ink(r, 0) && Ink(r, 1) && Ink(r, 2)) Put(r, 0, 0);
}

void CountSideRows() {
    const int w = F.BandWidth;
    F.LeftSideRows = F.RightSideRows = 0;
    for (int r = 0; r < F.Rows; ++r) {
        int starts = 0, ends = 0;
        for (int i = 0; i <= w / 2 - 3; ++i) starts += Ink(r, i) && !Ink(r, i - 1);
        for (int i = w; i >= w / 2 + 2; --i) ends += !Ink(r, i) && Ink(r, i - 1);
        F.LeftSideRows += starts > 1;
        F.RightSideRows += ends > 1;
    }
}

void CloseBarGaps() {
    for (int r = 0; r < TopGapRows; ++r)
        for (int k = 0; k <= F.BandWidth - 2; ++k)
            if (Ink(r, k) && Ink(r, k + 2) && Ink(r, k + 3)) Put(r, k + 1, InkValue);
    for (int r = F.Rows - 1; r >= F.Rows - BottomGapRows; --r)
        for (int k = 0; k <= F.BandWidth - 2; ++k)
            if (Ink(r, k) && Ink(r, k + 2)) Put(r, k + 1, InkValue);
}

void MarkLeftSide() {
    F.TopBound = 0;
    F.BottomBound = NoBottomBound;
    F.SidesFoundTogether = false;
    if (F.LeftSideRows < F.Rows / 4) return;
    for (int r = 0; r < F.Rows; ++r) {
        F.Pairs[r] = {0, 0};
        MarkLeftRow(r, r - 1, true);
    }
    for (int r = F.Rows - 1; r >= 1; --r) MarkLeftRow(r, r + 1, false);
    F.TopBound = static_cast<std::int16_t>(FirstSideTop(F.Rows / 4 - 1));
    F.BottomBound = static_cast<std::int16_t>(FirstSideBottom(F.Rows - LeftBottomSearchRows));
    if (CountInk(0, 3, 6, F.BandWidth - 1) == 0) F.RightSideRows = 0;
}

void MarkRightSide() {
    if (F.RightSideRows < F.Rows / 4) return;
    const int quarter = 3 * F.BandWidth / 4;
    for (int r = 0; r < F.Rows; ++r) {
        F.Pairs[r] = {0, 0};
        MarkRightRow(r, r - 1, quarter, true);
    }
    for (int r = F.Rows - 1; r >= 1; --r) MarkRightRow(r, r + 1, quarter + 1, false);
    const int top = FirstSideTop(F.Rows / 5 - 1);
    if (top != 0) {
        if (F.TopBound != 0 && F.TopBound <= top) {
            F.TopBound = static_cast<std::int16_t>(top);
            F.SidesFoundTogether = true;
        }
        if (F.Rows < RightTopMinHeight) F.TopBound = static_cast<std::int16_t>(std::max(F.TopBound - 1, 0));
    }
    const int bottom = FirstSideBottom(4 * F.Rows / 5);
    if (bottom < F.BottomBound) F.BottomBound = static_cast<std::int16_t>(bottom);
}

void ClearTopBar() {
    int t = F.TopBound;
    if (t == 0) return;
    const int w = F.BandWidth;
    if (t > TopBarMinBound) {
        const int leftInk = CountInk(t + 1, t + TopBarProbeRows, 0, w / 3 - 1);
        bool wideRow = false;
        for (int r = t + TopBarProbeRows + 1; r <= F.Rows - TopBarWideRowMargin && !wideRow; ++r)
            wideRow = CountInk(r, r, 0, w - 1) > 2 * w / 3;
        const int ink = CountInk(1, t - 1, w / 4, 3 * w / 4 - 1);
        const int background = CountCells(1, t - 1, w / 4, 3 * w / 4 - 1) - ink;
        if (9 * background <= 2 * ink && leftInk < TopBarLeftInkLimit && !wideRow) t /= 2;
    }
    int y = 0;
    while (y < F.Rows && CountInk(y, y, w / 2, w - 1) == 0) ++y;
    ClearRows(0, t - 1);
    if (y > 1) {
        ClearRows(t, t);
        ClearSpan(t + 1, w / 2, w - 1);
        if (!F.SidesFoundTogether && F.Rows > TallBoxHeight) {
            ClearSpan(t + 2, w / 2, w - 1);
            ClearSpan(t + 3, w / 2, w - 1);
        }
    }
}

void ClearBottomBar() {
    int u = F.BottomBound;
    if (u == NoBottomBound) return;
    const int w = F.BandWidth;
    const int d = F.Rows - u;
    if (d > BottomBarMinDepth) {
        const int ink = CountInk(u, F.Rows - 2, w / 4, 3 * w / 4 - 1);
        const int background = CountCells(u, F.Rows - 2, w / 4, 3 * w / 4 - 1) - ink;
        if (5 * background < ink) u += 1 + d / 2;
    }
    ClearRows(u + 1, F.Rows - 1);
}

void EraseSideMarks() {
    const int w = F.BandWidth;
    for (int r = 0; r < F.Rows; ++r) {
        for (int c = 0; c < w / 2; ++c)
            if (Ink(r, c) && (Marked(r - 1, c) || Marked(r - 1, c + 1)) && !Ink(r, c - 1)) Put(r, c, FrameSideMark);
        for (int c = w; c >= w / 2 + 1; --c)
            if (Ink(r, c) && (Marked(r - 1, c) || Marked(r + 1, c)) && !Ink(r, c + 2)) Put(r, c, FrameSideMark);
    }
    for (int r = 0; r < F.Rows; ++r)
        for (int c = 0; c < w; ++c)
            if (Marked(r, c)) Put(r, c, 0);
}

void KeepRowRange() {
    const int w = F.BandWidth;
    for (int r = 0; r < F.Rows; ++r) {
        const int ink = CountInk(r, r, 0, w - 1);
        F.RowCounts[r] = static_cast<std::int16_t>(ink == 1 ? 0 : ink);
    }
    int t = 0;
    while (t < F.Rows && !RowsAllPositive(F.RowCounts, t, SolidRangeRows)) ++t;
    const int spill = RowEntry(F.RowCounts, 0) - RowEntry(F.RowCounts, 1);
    if (t == 0 && (spill > TopRowSpill || (spill > TopRowStep && RowEntry(F.RowCounts, 1) < ThinRowInk))) t = 2;
    int last = F.Rows - 1;
    while (last > 0 && !RowsAllPositive(F.RowCounts, last - SolidRangeRows + 1, SolidRangeRows)) --last;
    const int b = last + 1;
    ClearRows(0, t - 1);
    ClearRows(b, F.Rows - 1);
    for (int r = t + 1; r < b; ++r)
        for (int c = 1; c <= w - 2; ++c)
            if (Ink(r, c) && !Ink(r - 1, c) && !Ink(r + 1, c) && !Ink(r, c - 1) && !Ink(r, c + 1)) Put(r, c, 0);
    F.InkTop = static_cast<std::int16_t>(t);
    F.InkEnd = static_cast<std::int16_t>(b);
}

void MeasureRowMargins() {
    for (int r = 0; r < F.Rows; ++r) {
        const bool inRange = r >= F.InkTop && r < F.InkEnd;
        F.LeftGaps[r] = static_cast<std::int16_t>(inRange ? LeftMargin(r) : 0);
        F.RightGaps[r] = static_cast<std::int16_t>(inRange ? RightMargin(r) : 0);
    }
}

void TrimTopStep() {
    if (F.InkTop != 0 || F.Rows <= TopStepMinHeight) return;
    const int half = (F.BandWidth - 1) / 2;
    const int l0 = RowEntry(F.LeftGaps, 0), l1 = RowEntry(F.LeftGaps, 1), l2 = RowEntry(F.LeftGaps, 2);
    if ((l2 < half && l2 - l1 > MarginStep) || (l1 < half && l1 - l0 > MarginStep)) {
        F.InkTop = TopStepRows;
        for (int r = 0; r < TopStepRows; ++r) ClearSpan(r, 0, F.BandWidth - 2);
    }
}

void TrimBottomStep() {
    const int b = F.InkEnd;
    if (b - BottomStepRows < F.InkTop) return;
    if (RowEntry(F.RightGaps, b - 3) - RowEntry(F.RightGaps, b - 2) > BottomMarginStep &&
        CountInk(b - 2, b - 1, 0, F.BandWidth - 2) <= BottomRowsInkLimit) {
        F.InkEnd = static_cast<std::int16_t>(b - BottomStepRows);
        ClearRows(F.InkEnd, F.Rows - 1);
    }
}

void KeepSecondColumnBand() {
    for (int c = 0; c < F.BandWidth; ++c) {
        bool marked = false;
        for (int r = 2; r < F.Rows && !marked; ++r)
            marked = Ink(r, c) && (Ink(r, c + 1) || (Ink(r, c - 1) && Ink(r, c - 2)));
        F.ColumnMarks[c] = marked;
    }
    int start = 0, end = 0;
    if (!FindWidestRun(F.BandWidth, start, end)) {
        F.BandStart = F.BandEnd = 0;
        return;
    }
    ClearColumns(0, start - 1);
    ClearColumns(end, F.BandWidth - 1);
    F.BandStart = static_cast<std::int16_t>(start);
    F.BandEnd = static_cast<std::int16_t>(end);
}

void TrimByRunEnds() {
    CountRunEnds(0);
    int t = F.InkTop, b = F.InkEnd;
    const int lowStart = 2 * F.Rows / 3;
    int n = PairRunRowsFrom(lowStart, 1, [b](int r) { return r < b; });
    if (n > PairRunRows) {
        const int x = b - (lowStart + n);
        if (x > LowTrimMinExcess && b - t > TrimMinHeight) {
            b -= (x - x / 3) / 2;
            ClearRows(b, F.Rows - 1);
        }
    }
    const int highStart = F.Rows / 3;
    n = PairRunRowsFrom(highStart, -1, [](int r) { return r > 0; });
    if (n > PairRunRows) {
        const int x = (highStart - n) - t;
        if (x > HighTrimMinExcess && b - t > TrimMinHeight) {
            t += 1 + x / 3;
            ClearRows(0, t - 1);
        }
    }
    int r = b - 1, singles = 0, pairs = 0;
    for (; r > b / 2 && RunEnds(r) != 2; --r) singles += RunEnds(r) == 1;
    for (; r > b / 2 && RunEnds(r) == 2; --r) ++pairs;
    if (pairs > PairRunRows && singles > TailMinRuns && b - t > TrimMinHeight) {
        b -= TailTrimRows;
        ClearRows(b, F.Rows - 1);
    }
    F.InkTop = static_cast<std::int16_t>(t);
    F.InkEnd = static_cast<std::int16_t>(b);
}

void ClearEdgePatterns() {
    const int t = F.InkTop, b = F.InkEnd;
    const bool bothSingle = RunEnds(t) == 1 && RunEnds(t + 1) == 1;
    if ((bothSingle && RunEnds(t + 2) == 2 && AllRunEnds(t + 3, t + 6, 1) && AllRunEnds(t + LowerBarRow, t + LowerBarRow + 1, 1)) ||
        (!bothSingle && AllRunEnds(t + 2, t + 4, 1) && t <= 1))
        ClearRows(t, t + 1);
    if (RunEnds(b - 1) > 2) ClearRows(b - 2, b - 1);
    if (AllRunEnds(t, t + 1, 3) && AllRunEnds(t + 2, t + 3, 1)) {
        ClearRows(0, t + 1);
        for (int r = t + NotchFirstRow; r <= t + NotchLastRow; ++r) ClearSpan(r, 0, NotchLastCol);
    }
    bool striped = true;
    for (const auto& pair : StripedRowPairs) striped = striped && RunEnds(pair[0]) != RunEnds(pair[1]);
    if (striped) ClearRows(0, StripedTopRows - 1);
}

bool FindInkRows() {
    int top = 0;
    while (top < F.Rows && CountInk(top, top, 0, F.BandWidth - 1) == 0) ++top;
    if (top == F.Rows) return false;
    int last = F.Rows - 1;
    while (CountInk(last, last, 0, F.BandWidth - 1) == 0) --last;
    F.InkTop = static_cast<std::int16_t>(top);
    F.InkEnd = static_cast<std::int16_t>(last + 1);
    return true;
}

void SplitColumnGroups() {
    const int w = F.BandWidth;
    const int first = F.InkTop + GroupProbeMargin, last = F.InkEnd - 1 - GroupProbeMargin;
    F.ColumnCounts[0] = 0;
    for (int c = 1; c < w; ++c) F.ColumnCounts[c] = static_cast<std::int16_t>(CountInk(first, last, c, c));
    if (ColumnGroupStarts() != 2) return;
    int g = 0;
    while (!(ColumnEntry(F.ColumnCounts, g) > 0 && ColumnEntry(F.ColumnCounts, g + 1) == 0)) ++g;
    ++g;
    int t1 = 0, t2 = 0;
    for (int c = 0; c < w; ++c) (c < g ? t1 : t2) += F.ColumnCounts[c];
    int emptyRows = 0;
    for (int r = first; r <= last; ++r)
        emptyRows += (CountInk(r, r, 1, g - 1) == 0) + (CountInk(r, r, g, w - 3) == 0);
    bool emptyColumnNearSplit = false;
    for (int c = g - 2; c <= g + 3; ++c) emptyColumnNearSplit = emptyColumnNearSplit || ColumnEmpty(c);
    if (2 * t2 < t1 && emptyRows < GroupFewEmptyRows) {
        ClearColumns(g, w - 1);
        ClearRows(F.InkTop, F.InkTop + 2);
    }
    if ((2 * t1 < t2 && emptyRows < GroupFewEmptyRows) || (3 * t1 < 2 * t2 && emptyColumnNearSplit)) {
        int f = w - 1;
        while (!(ColumnEntry(F.ColumnCounts, f) > 0 && ColumnEntry(F.ColumnCounts, f - 1) == 0)) --f;
        ClearColumns(0, f - 1);
        ClearRows(F.InkTop, F.InkTop + 2);
    }
}

void ClearFullColumns() {
    if (F.BandEnd - F.BandStart <= WideBandColumns || F.InkEnd - F.InkTop <= TallInkRows) return;
    const int first = F.InkTop + FullColumnMargin, last = F.InkEnd - 1 - FullColumnMargin;
    for (int c = 0; c < F.BandWidth; ++c)
        F.ColumnMarks[c] = CountInk(first, last, c, c) == last - first + 1;
    for (int x = F.BandEnd; x >= F.BandEnd - 2; --x) {
        if (FullColumnsFrom(x, -1) > RightFullColumns) {
            ClearColumns(x - 3, F.BandWidth - 1);
            break;
        }
    }
    for (int x = F.BandStart; x <= F.BandStart + 3; ++x) {
        if (FullColumnsFrom(x, 1) > LeftFullColumns) {
            ClearColumns(F.BandStart, x + 2);
            break;
        }
    }
}

void RemoveOneRowPieces() {
    CountRunEnds(1);
    for (int r = 1; r < F.Rows; ++r) {
        if (RunEnds(r - 2) != 1 && RunEnds(r - 1) != 1 && RunEnds(r + 1) != 1 && RunEnds(r + 2) != 1) continue;
        for (int c = 0; c < F.BandWidth; ++c)
            if (Ink(r, c) && !Ink(r - 1, c) && !Ink(r + 1, c)) Put(r, c, 0);
    }
    if (RunEnds(2) == 0 && RunEnds(3) == 0) ClearRows(0, 1);
}

void RemoveProtrusions() {
    for (int r = 0; r < F.Rows; ++r)
        for (int c = 0; c < F.BandWidth; ++c)
            if (Ink(r, c) && IsProtrusion(r, c)) Put(r, c, 0);
}

bool MarkFrameSides(int width, int height) {
    if (!KeepWidestColumnBand(width, height)) return false;
    CutBridgesAndSpecks();
    TrimTopLeftCorner();
    CountSideRows();
    CloseBarGaps();
    MarkLeftSide();
    MarkRightSide();
    return true;
}

void RemoveCheckDigitFrame(std::int16_t width, std::int16_t height) {
    if (width < 1 || height < 1 || width > MaxGlyphSide || height > MaxGlyphSide) return;
    if (!MarkFrameSides(width, height)) return;
    ClearTopBar();
    ClearBottomBar();
    EraseSideMarks();
    KeepRowRange();
    MeasureRowMargins();
    TrimTopStep();
    TrimBottomStep();
    KeepSecondColumnBand();
    TrimByRunEnds();
    ClearEdgePatterns();
    if (!FindInkRows()) return;
    SplitColumnGroups();
    ClearFullColumns();
    RemoveOneRowPieces();
    RemoveProtrusions();
}
