// The box-editing rules of the two segmenters for columns of stacked characters. They mirror
// the rules for horizontal lines with rows and columns exchanged, and add what only a column
// needs: bars of thin strokes, an axis through the box centres, and a missing check digit.
#include <algorithm>
#include <cstdlib>
#include <span>

#include "engine/location/binary_regions.h"
#include "engine/location/edge_image.h"
#include "engine/location/line_box_sides.h"
#include "engine/location/line_boxes.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/profile_runs.h"
#include "engine/location/segmentation.h"
#include "engine/location/text_bands.h"

namespace {

constexpr int GoOn = -1;                 // a rule that has no answer of its own
constexpr int CodeLength = 11;
constexpr int StrokeBarLine = 28;        // only columns of more boxes are searched for bars
constexpr double ThinStrokeRatio = 3.2;
constexpr int ThinStrokeWidth = 8;
constexpr int AlignedEdgeSlack = 5;      // right edges of one bar differ by less than this
constexpr int StrokeTriple = 3;
constexpr int MaxChainMembers = 127;
constexpr double BarBend = 0.25;         // a chain whose drift falls by more is no straight bar
constexpr int BarHalfWidth = 5;
constexpr int BarRowMargin = 11;         // a bar is cleared on rows 11 to the 11th from the bottom (789)
constexpr double SliverRatio = 5.6;
constexpr int MaxSliverWidth = 9;
constexpr int MaxCutInk = 5;             // a row with more ink is not cut
constexpr int SingleRunClearance = 40;   // a cut through a single stroke runs 40 columns past the box
constexpr int NarrowRowClearance = 8;
constexpr int MinSplitBox = 6;           // short middle boxes: H/2 + 6 / i
constexpr int GapOffset = 8;             // gaps are histogrammed from -8
constexpr int ColumnGapPeakLow = 3;
constexpr int ColumnGapPeakRadius = 3;
constexpr int ShortLineLow = 5;          // a column of 5 or 6 boxes may start with a stray box
constexpr int ShortLineHigh = 6;
constexpr int DetachedFirstFactor = 5;
constexpr int TinyBoxSide = 8;
constexpr int SpeckWidth = 6;
constexpr int SpeckHeight = 16;
constexpr int OffsideSlack = 4;
constexpr int LooseFirstLine = 8;
constexpr int LooseFirstGap = 20;
constexpr int TightSecondGap = 10;
constexpr int AxisSumLimit = 9999;
constexpr int CheckDigitGapRows = 2;     // the looked-for check digit starts this far below box 9
constexpr int EleventhBoxThresholdDrop = 8;
constexpr int MinEleventhInk = 24;
constexpr int NoFilter = 0;
constexpr int SmallSide = 10;            // scoring of an 11-box column
constexpr int HugeWidth = 128;
constexpr int HugeWidthScore = 4;
constexpr int MaxOddScore = 7;
constexpr int NarrowRunWidth = 6;
constexpr int DetachedRunGap = 8;
constexpr int RunClearance = 2;

// The measures the driver hands over, the spacing peak and the fitted axis.
struct Column {
    int H;
    int W;
    bool codeLine;  // container code; else size/type code
    int g = 0;
    int support = 0;
    bool hasAxis = false;
    PackedPoint axisA = 0;
    PackedPoint axisB = 0;
};

using namespace line_box_sides;

int Height(int i) { return B(i) - T(i); }
int GapAfter(int i) { return T(i + 1) - B(i); }
int CentreX(int i) { return (L(i) + R(i)) / 2; }
int CentreY(int i) { return (T(i) + B(i)) / 2; }
PackedPoint Centre(int i) { return PackPoint(CentreX(i), CentreY(i)); }

void Merge(int i) { MergeBoxes(i, i + 1, MergeAlongColumn); }

void ClearBox(int i) { ClearBackupRect(L(i), T(i), R(i), B(i)); }

// Merges every overlapping pair (t_(i+1) < b_i) that the test accepts; a merged box is
// examined again with its next neighbour.
template <typename Test>
void MergeOverlapping(Test accepts) {
    int i = 0;
    while (i < Count() - 1) {
        if (T(i + 1) < B(i) && accepts(i, B(i) - T(i + 1))) {
            Merge(i);
            continue;
        }
        ++i;
    }
}

bool OverlapsHalf(int i, int overlap) { return overlap > Height(i) / 2 || overlap > Height(i + 1) / 2; }

// Rule 1 (no size limit) and rule 4 (the merged box must stay below H + count - i).
void MergeHalfOverlaps() { MergeOverlapping(OverlapsHalf); }

void MergeHalfOverlapsThatFit(const Column& col) {
    MergeOverlapping([&](int i, int overlap) { return OverlapsHalf(i, overlap) && B(i + 1) - T(i) < col.H + Count() - i; });
}

// Rule 2: a long straight bar made of thin strokes (a door rod, a corrugation edge) is cleared
// along its whole length; thin strokes that do not line up are cleared one by one.
int ClearThinStrokeBars() {
    if (Count() <= StrokeBarLine) return GoOn;
    int listed[LineBoxSlots];
    int count = 0;
    for (int i = 0; i < Count(); ++i) {
        if (HeightOverWidth(i) > ThinStrokeRatio && InclusiveWidth(i) < ThinStrokeWidth) listed[count++] = i;
    }
    std::stable_sort(listed, listed + count, [](int a, int b) { return CentreY(a) < CentreY(b); });
    int chain[LineBoxSlots];
    int members = 0;
    for (int j = 0; j + StrokeTriple <= count; ++j) {
        const bool aligned = std::abs(R(listed[j + 1]) - R(listed[j])) < AlignedEdgeSlack &&
                             std::abs(R(listed[j + 2]) - R(listed[j + 1])) < AlignedEdgeSlack;
        if (aligned) chain[members++] = listed[j];
    }
    if (members < 2 || members > MaxChainMembers) return GoOn;
    double drift[LineBoxSlots];
    for (int j = 0; j + 1 < members; ++j) {
        const int rise = CentreY(chain[j + 1]) - CentreY(chain[j]);
        if (rise == 0) return GoOn;
        drift[j] = static_cast<double>(CentreX(chain[j]) - CentreX(chain[j + 1])) / rise;
    }
    for (int j = 0; j + 2 < members; ++j) {
        if (drift[j] - drift[j + 1] > BarBend) {
            for (int k = 0; k < count; ++k) ClearBox(listed[k]);
            return SegmentRedo;
        }
    }
    const int xf = CentreX(chain[0]);
    const int yf = CentreY(chain[0]);
    const int xl = CentreX(chain[members - 1]);
    const int yl = CentreY(chain[members - 1]);
    const double slope = static_cast<double>(xf - xl) / (yl - yf);
    for (int y = BarRowMargin; y <= FrameHeight - BarRowMargin; ++y) {
        const int x = xl + static_cast<int>((yl - y) * slope);
        ClearBackupRect(x - BarHalfWidth, y, x + BarHalfWidth, y);
    }
    return SegmentRedo;
}

// Ink of one row of BinaryBackup between two columns, its runs (ink whose right neighbour is
// background, read beyond the range too; outside the frame it is background) and its extent
// (last minus first ink column, plus 1; 0 when empty).
struct RowInk {
    int ink;
    int runs;
    int extent;
};

RowInk MeasureRow(int row, int left, int right) {
    RowInk measured{0, 0, 0};
    int first = -1;
    for (int x = left; x <= right; ++x) {
        if (BinaryBackup[PixelIndex(x, row)] == 0) continue;
        ++measured.ink;
        if (first < 0) first = x;
        measured.extent = x - first + 1;
        if (x + 1 >= FrameWidth || BinaryBackup[PixelIndex(x + 1, row)] == 0) ++measured.runs;
    }
    return measured;
}

struct ChosenRow {
    int row;  // -1 when no row passed the test
    int ink;
};

// Among the window rows that pass the test, the one with the least ink (the first of equal ones).
template <typename Test>
ChosenRow ThinnestRow(const FrameRegion& window, Test passes) {
    ChosenRow chosen{-1, 0};
    for (int y = window.top; y <= window.bottom; ++y) {
        const RowInk measured = MeasureRow(y, window.left, window.right);
        if (!passes(measured)) continue;
        if (chosen.row < 0 || measured.ink < chosen.ink) chosen = ChosenRow{y, measured.ink};
    }
    return chosen;
}

// Cuts a tall box (two characters run together) at its thinnest row, or binarizes it again.
int CutTallBox(int i, const Column& col) {
    const int middle = CentreY(i);
    const FrameRegion window = ClipToFrame(L(i), middle - col.H / 2, R(i), middle + col.H / 2);
    if (IsEmptyRegion(window)) return GoOn;
    const ChosenRow single = ThinnestRow(window, [](const RowInk& row) { return row.runs == 1; });
    if (single.row >= 0 && single.ink <= MaxCutInk) {
        ClearBackupRect(L(i) - SingleRunClearance, single.row, R(i) + SingleRunClearance, single.row);
        return SegmentRedo;
    }
    const int threshold = RaiseWideBoxThreshold(LineBoxes[i]);
    if (threshold < StrongEdgeLevel) {
        ThresholdEdgeImageToCopy(BoxTopLeft(LineBoxes[i]), BoxBottomRight(LineBoxes[i]), threshold);
        return SegmentRedo;
    }
    const ChosenRow narrow = ThinnestRow(window, [&](const RowInk& row) { return row.extent < col.W / 3; });
    if (narrow.row >= 0 && narrow.ink <= MaxCutInk) {
        ClearBackupRect(L(i) - NarrowRowClearance, narrow.row, R(i) + NarrowRowClearance, narrow.row);
        return SegmentRedo;
    }
    return GoOn;
}

// Rule 3: boxes much taller than a character.
int TreatTallBoxes(const Column& col) {
    const int m = std::min(Count(), CodeLength);
    int i = 0;
    while (i <= col.H / 2 && i < Count()) {
        if (Height(i) <= col.H + 2 * m - i) {
            ++i;
            continue;
        }
        const int width = InclusiveWidth(i);
        if (width >= 1 && width <= MaxSliverWidth && HeightOverWidth(i) > SliverRatio) {
            RemoveBox(i);
            continue;
        }
        const int answer = CutTallBox(i, col);
        if (answer != GoOn) return answer;
        ++i;
    }
    return GoOn;
}

// Rule 5.
void MergeShortFirstBox(const Column& col) {
    while (Count() >= 2 && Height(0) < col.H / 2 && B(1) - T(0) < col.H + col.H / 5) Merge(0);
}

// Rule 6: short middle boxes join the neighbour they fit best; true after a merge.
bool MergeShortMiddleBoxes(const Column& col) {
    const int limit = col.H + col.H / 5;
    for (int i = 1; i <= Count() - 2; ++i) {
        if (Height(i) >= col.H / 2 + MinSplitBox / i) continue;
        const int gp = T(i) - B(i - 1);
        const int gn = T(i + 1) - B(i);
        const int mp = B(i) - T(i - 1);
        const int mn = B(i + 1) - T(i);
        if (gn > gp && mp < limit) {
            Merge(i - 1);
        } else if (gn < gp && mn < limit) {
            Merge(i);
        } else if (mn > mp && mp < limit) {
            Merge(i - 1);
        } else if (mn < mp && mn < limit) {
            Merge(i);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

// Rule 7.
void MergeShortLastBox(const Column& col) {
    if (Count() >= 2 && Height(Last()) < col.H / 2 && B(Last()) - T(Last() - 1) < col.H) Merge(Last() - 1);
}

// Rules 5 to 7, going back to rule 5 after a middle box was merged; a column left without a
// box is rejected.
int ShapeColumn(const Column& col) {
    for (;;) {
        if (Count() == 0) return SegmentReject;
        MergeShortFirstBox(col);
        if (!MergeShortMiddleBoxes(col)) break;
    }
    MergeShortLastBox(col);
    return GoOn;
}

// Rule 8: overlapping neighbours that cover a third, or a quarter and fit one character, or
// (in container codes) read as a letter together.
void MergeOverlapsByShare(const Column& col) {
    MergeOverlapping([&](int i, int overlap) {
        if (overlap > Height(i) / 3 || overlap > Height(i + 1) / 3) return true;
        const int merged = B(i + 1) - T(i);
        if ((overlap >= Height(i) / 4 || overlap >= Height(i + 1) / 4) && merged < col.H) return true;
        return col.codeLine && merged < col.H + Count() - i && BoxGrayLevelHistogram(i, i + 1) == 1;
    });
}

// Rule 9: a column without a regular spacing is rejected; a first box set apart from a column
// of 5 or 6 boxes (or, in container codes, of more than 11) is dropped.
int CheckColumnSpacing(Column& col) {
    const int supportDivisor = col.codeLine ? 2 : 3;
    for (;;) {
        const PackedPeak peak = BoxSpacingPeak(GapAlongColumn, ColumnGapPeakLow, ColumnGapPeakRadius);
        col.g = PeakIndex(peak);
        col.support = PeakSum(peak);
        if (col.support < Count() / supportDivisor) return SegmentReject;
        int firstWide = -1;
        for (int i = 0; i < Count() - 1 && firstWide < 0; ++i) {
            if (GapAfter(i) + GapOffset > 3 * col.g / 2) firstWide = i;
        }
        const bool shortLine = Count() >= ShortLineLow && Count() <= ShortLineHigh;
        if (firstWide != 0 || !(shortLine || (col.codeLine && Count() > CodeLength))) return GoOn;
        RemoveBox(0);
    }
}

// Rules 10 to 12: stray boxes of a crowded column.
void RemoveStrayBoxes(const Column& col) {
    if (Count() > CodeLength && GapAfter(0) > 3 * col.g && GapAfter(0) > DetachedFirstFactor * GapAfter(1) &&
        GapAfter(0) > DetachedFirstFactor * GapAfter(2)) {
        RemoveBox(0);
    }
    if (Count() > CodeLength) {
        int i = 0;
        while (i < Count()) {
            const int w = InclusiveWidth(i);
            const int h = InclusiveHeight(i);
            const int half = Count() / 2;
            bool offside = false;
            if (i < half && i + 1 < Count()) offside = R(i) < L(i + 1) + OffsideSlack;
            if (i > half) offside = R(i) < L(i - 1) + OffsideSlack;
            const bool tiny = h < TinyBoxSide && w < TinyBoxSide;
            const bool flat = w > h && h < col.H - 4;
            const bool speck = w < SpeckWidth && h < SpeckHeight && offside;
            if (tiny || flat || speck) {
                RemoveBox(i);
                continue;
            }
            ++i;
        }
    }
    if (Count() > LooseFirstLine && GapAfter(0) > LooseFirstGap && GapAfter(1) < TightSecondGap) RemoveBox(0);
}

// Rule 13: the line through two box centres that keeps the other centres closest.
void FitAxis(Column& col) {
    col.hasAxis = false;
    std::int32_t best = AxisSumLimit;
    for (int a = 0; a < Count(); ++a) {
        for (int b = a + 1; b < Count(); ++b) {
            std::int32_t sum = 0;
            for (int k = 0; k < Count(); ++k) {
                if (k != a && k != b) sum += PointLineDistance(Centre(a), Centre(b), Centre(k));
            }
            if (sum >= best) continue;
            best = sum;
            col.hasAxis = true;
            col.axisA = Centre(a);
            col.axisB = Centre(b);
        }
    }
}

int AxisColumn(const Column& col, int row) { return LineIntersect(col.axisA, col.axisB, row); }

// Rule 14: boxes off the axis go; the top box stays whatever its distance.
void RemoveOffAxisBoxes(const Column& col) {
    if (Count() <= CodeLength || !col.hasAxis) return;
    for (int i = Last(); i >= 1; --i) {
        if (std::abs(CentreX(i) - AxisColumn(col, CentreY(i))) > col.W / 2) RemoveBox(i);
    }
}

// Rule 15: a ten-box column may have lost its check digit; it is looked for on the axis below
// the tenth box, as far below it as the owner code stands above the serial number.
int AddMissingEleventhBox(const Column& col) {
    if (3 * InclusiveHeight(8) / 5 > InclusiveHeight(9)) return SegmentKeep;
    if (!col.hasAxis) return GoOn;
    const int y = B(9) + (T(4) - B(3)) + col.H / 2;
    const int x = AxisColumn(col, y);
    const FrameRegion region = ClipToFrame(x - col.W / 2, std::max(y - col.H / 2, B(9) + CheckDigitGapRows),
                                           x + col.W / 2, y + col.H / 2);
    if (IsEmptyRegion(region)) return GoOn;
    const PackedPoint topLeft = PackPoint(region.left, region.top);
    const PackedPoint bottomRight = PackPoint(region.right, region.bottom);
    ThresholdEdgeImageToCopy(topLeft, bottomRight, CurrentThreshold - EleventhBoxThresholdDrop);
    CopyBinaryRegion(topLeft, bottomRight);
    if (SumBinaryCopy1(topLeft, bottomRight) <= MinEleventhInk) return GoOn;
    const std::int16_t first = ComponentBoxCount;
    FindComponentBoxes(topLeft, bottomRight, ScanRows, NoFilter);
    if (ComponentBoxCount == first) return GoOn;
    LineBoxes[LineBoxCount] = CharBox{static_cast<std::int16_t>(region.left), static_cast<std::int16_t>(region.top),
                                      static_cast<std::int16_t>(region.right), static_cast<std::int16_t>(region.bottom)};
    LineBoxComponents[LineBoxCount] = ComponentRange{first, static_cast<std::int16_t>(ComponentBoxCount - 1)};
    ++LineBoxCount;
    return GoOn;
}

// Rule 17: an 11-box column must look like a container code.
bool LooksLikeCode(const Column& col) {
    int score = 0;
    for (int i = 0; i < CodeLength; ++i) {
        const int h = InclusiveHeight(i);
        const int w = InclusiveWidth(i);
        if (h > 4 * col.H) return false;
        if (i >= 1 && i <= CodeLength - 2 && h > 3 * col.H / 2 && h > 5 * InclusiveHeight(i - 1) / 3 &&
            h > 5 * InclusiveHeight(i + 1) / 3) {
            return false;
        }
        score += (w < SmallSide ? 1 : 0) + (h < SmallSide ? 1 : 0) + (w > HugeWidth ? HugeWidthScore : 0);
    }
    return score <= MaxOddScore;
}

// Rule 18: a wide box may carry a narrow stroke set apart at its side; it is cleared.
bool ClearDetachedSideStrokes(int i, const Column& col) {
    ColumnProfileOfBox(L(i), R(i), T(i), B(i), SourceBinaryBackup);
    const int runs = FindProfileRuns(std::span<const std::int16_t>(ColumnProfile), L(i), R(i));
    if (runs <= 1) return false;
    const LineRange last = ProfileRuns[runs - 1];
    const bool lastDetached = last.start - ProfileRuns[runs - 2].end > DetachedRunGap;
    bool cleared = false;
    int remaining = runs;
    if (last.end - last.start < NarrowRunWidth && lastDetached) {
        ClearBackupRect(last.start, T(i), last.end + RunClearance, B(i));
        cleared = true;
        --remaining;
    }
    const LineRange first = ProfileRuns[0];
    if (remaining > 1 && first.end - first.start < NarrowRunWidth &&
        ProfileRuns[remaining - 1].end - first.start > col.W + col.W / 2 && lastDetached) {
        ClearBackupRect(first.start - RunClearance, T(i), first.end, B(i));
        cleared = true;
    }
    return cleared;
}

int CheckElevenBoxes(const Column& col) {
    if (!LooksLikeCode(col)) return SegmentReject;
    for (int i = 0; i < CodeLength; ++i) {
        if (InclusiveWidth(i) > 2 * col.W && ClearDetachedSideStrokes(i, col)) return SegmentRedo;
    }
    return SegmentKeep;
}

// Rules 1 to 8 (the bar rule 2 only where asked for), shared by both segmenters.
int ShapeBoxes(const Column& col, bool barRule) {
    MergeHalfOverlaps();
    if (barRule) {
        const int bars = ClearThinStrokeBars();
        if (bars != GoOn) return bars;
    }
    const int tall = TreatTallBoxes(col);
    if (tall != GoOn) return tall;
    MergeHalfOverlapsThatFit(col);
    const int shaped = ShapeColumn(col);
    if (shaped != GoOn) return shaped;
    MergeOverlapsByShare(col);
    return GoOn;
}

}  // namespace

int SegmentCodeColumn(int charHeight, int charWidth) {
    Column col{charHeight, charWidth, true};
    int answer = ShapeBoxes(col, true);
    if (answer == GoOn) answer = CheckColumnSpacing(col);
    if (answer != GoOn) return answer;
    RemoveStrayBoxes(col);
    FitAxis(col);
    RemoveOffAxisBoxes(col);
    if (Count() == CodeLength - 1) {
        answer = AddMissingEleventhBox(col);
        if (answer != GoOn) return answer;
    }
    if (Count() == CodeLength + 1) MergeOverlapping([&](int i, int) { return B(i + 1) - T(i) < 2 * col.H; });
    if (Count() == CodeLength) return CheckElevenBoxes(col);
    return SegmentKeep;
}

int SegmentTypeColumn(int charHeight, int charWidth) {
    Column col{charHeight, charWidth, false};
    int answer = ShapeBoxes(col, false);
    if (answer == GoOn) answer = CheckColumnSpacing(col);
    return answer == GoOn ? SegmentKeep : answer;
}
