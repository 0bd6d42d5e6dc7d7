// Tidying and per-character binarization of the boxes of the current line.
#include <algorithm>
#include <cstring>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/location/edge_image.h"
#include "engine/location/level_histogram.h"
#include "engine/location/line_records.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"

namespace {

constexpr int NoSkip = -1;
constexpr int EdgeSlack = 2;            // sides within 2 pixels of a neighbour's are left alone
constexpr int NeighbourClearance = 2;   // a widened box stays this far from its neighbour
constexpr int LastBottomDrop = 4;       // a short last box reaches this far below its neighbour
constexpr int MaxEdgeLineSum = 9999;
constexpr int MinRegularBoxes = 7;
constexpr int FirstBoxExtraHeight = 6;
constexpr int HeightMargin = 3;         // a box this much taller than the next is left alone
constexpr int FirstBoxHighestTop = 8;
constexpr int CheckDigit = 10;          // the 11th box of a vertical number
constexpr int VerticalNumberBoxes = 11;
constexpr int LowestCheckDigitBottom = FrameHeight - 16;
constexpr int BinarizeGrowth = 2;
constexpr int StrongLevelStart = 250;
constexpr int StrongLevelMinCount = CameraNumber == 1 ? 5 : 4;
constexpr int FirstEdgeDivisor = 3;
constexpr int LastEdgeDivisor = 6;
// The strong pixels of a box are gathered as in a point list of 2000 entries: camera 2 stops
// two short of it, camera 1 fills it, and neither goes past it.
constexpr int MaxCollectedPixels = CameraNumber == 1 ? MaxPathPoints : MaxPathPoints - 2;
// Camera 1 has no stacked lines, and its per-box binarization only adds ink to what the
// location left in the binary image; camera 2 starts from an empty one.
constexpr bool HasColumnLines = CameraNumber == 2;
constexpr bool ClearsBinaryFirst = CameraNumber == 2;

int Width(const CharBox& box) { return box.right - box.left + 1; }
int Height(const CharBox& box) { return box.bottom - box.top; }
int CentreX(const CharBox& box) { return (box.left + box.right) / 2; }
int CentreY(const CharBox& box) { return (box.top + box.bottom) / 2; }

void Set(std::int16_t& side, int value) { side = static_cast<std::int16_t>(value); }

void ClampToFrame(CharBox& box) {
    Set(box.left, std::clamp<int>(box.left, 0, FrameWidth - 1));
    Set(box.right, std::clamp<int>(box.right, 0, FrameWidth - 1));
    Set(box.top, std::clamp<int>(box.top, 0, FrameHeight - 1));
    Set(box.bottom, std::clamp<int>(box.bottom, 0, FrameHeight - 1));
}

// Widens a narrow box symmetrically around its centre to the mean width W.
void WidenAroundCentre(CharBox& box, int meanWidth) {
    const int centre = CentreX(box);
    const int half = meanWidth / 2;
    if (centre - half < box.left) Set(box.left, centre - half);
    if (centre + half > box.right) Set(box.right, centre + half);
}

void KeepRightOf(CharBox& box, const CharBox& before) {
    if (box.left <= before.right) Set(box.left, before.right + NeighbourClearance);
}

void KeepLeftOf(CharBox& box, const CharBox& after) {
    if (box.right >= after.left) Set(box.right, after.left - NeighbourClearance);
}

void RegularizeRow(CharBox* boxes, int n) {
    for (int i = 1; i <= n - 2; ++i) ExtendBoxToNeighbours(i);
    const int meanWidth = MeanBoxWidth(0, n - 1, NoSkip);

    CharBox& last = boxes[n - 1];
    if (Width(last) < meanWidth - meanWidth / 8) {
        WidenAroundCentre(last, meanWidth);
        if (n >= 2) KeepRightOf(last, boxes[n - 2]);
    }
    for (int i = 1; i <= n - 2; ++i) {
        if (Width(boxes[i]) >= meanWidth - meanWidth / 4) continue;
        WidenAroundCentre(boxes[i], meanWidth);
        KeepRightOf(boxes[i], boxes[i - 1]);
        KeepLeftOf(boxes[i], boxes[i + 1]);
    }
    CharBox& first = boxes[0];
    if (Width(first) < meanWidth - meanWidth / 8) {
        WidenAroundCentre(first, meanWidth);
        if (n >= 2) KeepLeftOf(first, boxes[1]);
    }
    if (n < 2) return;
    if (boxes[1].top < first.top - EdgeSlack) first.top = boxes[1].top;
    if (first.bottom < boxes[1].bottom - EdgeSlack) first.bottom = boxes[1].bottom;
    const CharBox& beforeLast = boxes[n - 2];
    if (last.top > beforeLast.top - EdgeSlack) last.top = beforeLast.top;
    if (last.bottom < beforeLast.bottom + EdgeSlack) Set(last.bottom, beforeLast.bottom + LastBottomDrop);
}

struct EdgeLine {
    PackedPoint a;
    PackedPoint b;
    bool found;
};

// The line through two of the points that keeps the others closest (the first pair of equal sums).
EdgeLine FitEdgeLine(const PackedPoint* points, const bool* regular, int n) {
    EdgeLine best{0, 0, false};
    int bestSum = MaxEdgeLineSum;
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            if (!regular[a] || !regular[b]) continue;
            int sum = 0;
            for (int k = 0; k < n; ++k) {
                if (regular[k] && k != a && k != b) sum += PointLineDistance(points[a], points[b], points[k]);
            }
            if (sum < bestSum) {
                bestSum = sum;
                best = EdgeLine{points[a], points[b], true};
            }
        }
    }
    return best;
}

// Puts the sides of the irregular boxes on the lines fitted through the regular ones.
void AlignColumnEdges(CharBox* boxes, int n) {
    const int charWidth = CurrentLine.charWidth;
    PackedPoint leftEdges[LineRecordBoxSlots];
    PackedPoint rightEdges[LineRecordBoxSlots];
    bool regular[LineRecordBoxSlots];
    int regularCount = 0;
    for (int i = 0; i < n; ++i) {
        const int width = boxes[i].right - boxes[i].left;
        regular[i] = 2 * charWidth / 3 <= width && width <= charWidth + charWidth / 2;
        leftEdges[i] = PackPoint(boxes[i].left, CentreY(boxes[i]));
        rightEdges[i] = PackPoint(boxes[i].right, CentreY(boxes[i]));
        regularCount += regular[i] ? 1 : 0;
    }
    if (regularCount < MinRegularBoxes) return;
    const EdgeLine leftLine = FitEdgeLine(leftEdges, regular, n);
    const EdgeLine rightLine = FitEdgeLine(rightEdges, regular, n);
    if (!leftLine.found || !rightLine.found) return;
    for (int i = 0; i < n; ++i) {
        if (regular[i]) continue;
        Set(boxes[i].left, LineIntersect(leftLine.a, leftLine.b, CentreY(boxes[i])));
        Set(boxes[i].right, LineIntersect(rightLine.a, rightLine.b, CentreY(boxes[i])));
    }
    CharBox& last = boxes[n - 1];
    Set(last.left, std::min<int>(last.left, LineIntersect(leftLine.a, leftLine.b, CentreY(last))));
    Set(last.right, std::max<int>(last.right, LineIntersect(rightLine.a, rightLine.b, CentreY(last))));
}

void RegularizeColumn(CharBox* boxes, int n) {
    AlignColumnEdges(boxes, n);
    if (n < 2) return;
    if (Height(boxes[0]) < Height(boxes[1]) + HeightMargin) {
        Set(boxes[0].top, std::max(boxes[0].bottom - Height(boxes[1]) - FirstBoxExtraHeight, FirstBoxHighestTop));
    }
    for (int k = 1; k <= std::min(CheckDigit - 1, n - 2); ++k) {
        if (Height(boxes[k]) >= Height(boxes[k + 1]) + HeightMargin) continue;
        const int bottom = boxes[k].top + Height(boxes[k - 1]);
        if (boxes[k].bottom < bottom && bottom < boxes[k + 1].top) Set(boxes[k].bottom, bottom);
    }
    if (n < VerticalNumberBoxes) return;
    CharBox& checkDigit = boxes[CheckDigit];
    const CharBox& beforeCheck = boxes[CheckDigit - 1];
    // The owner code and the serial number are set apart; the check digit sits closer.
    const int ownerGap = boxes[4].top - boxes[3].bottom;
    const int checkGap = 4 * ownerGap / 5;
    if (checkDigit.top - beforeCheck.bottom > checkGap) {
        Set(checkDigit.top, beforeCheck.bottom + checkGap);
    }
    if (Height(checkDigit) < Height(beforeCheck)) {
        Set(checkDigit.bottom, checkDigit.top + Height(beforeCheck));
    }
    if (checkDigit.top - beforeCheck.bottom < Height(beforeCheck)) {
        const int bottom = std::max<int>(checkDigit.bottom, beforeCheck.bottom + 2 * Height(beforeCheck));
        Set(checkDigit.bottom, std::min(bottom, LowestCheckDigitBottom));
    }
}

// Mean gray level of the first pixels of the grown box whose edge is above level / divisor;
// false when none is.
bool MeanGrayOfStrongEdges(const FrameRegion& grown, int level, int divisor, int& mean) {
    std::int32_t sum = 0;
    int collected = 0;
    for (int row = grown.top; row <= grown.bottom && collected < MaxCollectedPixels; ++row) {
        for (int column = grown.left; column <= grown.right && collected < MaxCollectedPixels; ++column) {
            const int index = PixelIndex(column, row);
            if (EdgeImage[index] <= level / divisor) continue;
            sum += WorkImage[index];
            ++collected;
        }
    }
    if (collected == 0) return false;
    mean = sum / collected;
    return true;
}

void ThresholdFromEdges(int i) {
    const CharBox& box = CurrentLine.boxes[i];
    const FrameRegion grown = ClipToFrame(box.left - BinarizeGrowth, box.top - BinarizeGrowth,
                                          box.right + BinarizeGrowth, box.bottom + BinarizeGrowth);
    EdgeHistogram(PackPoint(grown.left, grown.top), PackPoint(grown.right, grown.bottom));
    const int level = FindStrongLevel(StrongLevelStart, StrongLevelMinCount);
    for (int divisor = FirstEdgeDivisor; divisor <= LastEdgeDivisor; ++divisor) {
        int mean = 0;
        if (MeanGrayOfStrongEdges(grown, level, divisor, mean)) {
            CurrentLine.threshold[i] = static_cast<std::uint8_t>(mean);
            return;
        }
    }
}

void InkBox(int i) {
    const CharBox& box = CurrentLine.boxes[i];
    const FrameRegion region = ClipToFrame(box.left, box.top, box.right, box.bottom);
    const int threshold = CurrentLine.threshold[i];
    const int polarity = CurrentLine.polarity[i];
    for (int row = region.top; row <= region.bottom; ++row) {
        for (int column = region.left; column <= region.right; ++column) {
            const int index = PixelIndex(column, row);
            const int gray = WorkImage[index];
            if ((polarity == InkBrighter && gray > threshold) || (polarity == InkDarker && gray < threshold)) {
                BinaryImage[index] = 1;
            }
        }
    }
}

}  // namespace

void RegularizeCharBoxes() {
    const int n = std::clamp<int>(CurrentLine.charCount, 0, LineRecordBoxSlots);
    if (n == 0) return;
    if (HasColumnLines && VerticalModeFlag == 1) {
        RegularizeColumn(CurrentLine.boxes, n);
    } else {
        RegularizeRow(CurrentLine.boxes, n);
    }
    for (int i = 0; i < n; ++i) ClampToFrame(CurrentLine.boxes[i]);
}

void BinarizeCharBoxes() {
    if (ClearsBinaryFirst) std::memset(BinaryImage, 0, sizeof BinaryImage);
    const int n = std::clamp<int>(CurrentLine.charCount, 0, LineRecordBoxSlots);
    for (int i = 0; i < n; ++i) ThresholdFromEdges(i);
    for (int i = 0; i < n; ++i) InkBox(i);
}
