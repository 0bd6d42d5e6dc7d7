// The per-candidate drivers of segmentation and the redo loop over all candidates.
#include "engine/location/segmentation.h"

#include <algorithm>
#include <cstdlib>

#include "engine/camera.h"
#include "engine/location/binary_regions.h"
#include "engine/location/components.h"
#include "engine/location/edge_image.h"
#include "engine/location/level_histogram.h"
#include "engine/location/line_boxes.h"
#include "engine/location/line_records.h"
#include "engine/location/pipeline_state.h"

RetriedWideBox RetriedWideBoxes[RetriedWideBoxSlots];
std::uint8_t RetriedWideBoxCount = 0;

namespace {

constexpr int MaxRetries = 10;
constexpr int FilterPieces = 1;
constexpr int MinComponents = 3;
constexpr int MinColumnComponents = 6;
constexpr int MaxColumnComponents = 64;
constexpr int MinCharHeight = 16;         // component heights that can be a character
constexpr int WidestHeightRadius = 10;    // vertical lines widen the height window up to this
constexpr int HeightRadiusStep = 2;
constexpr int MinColumnHeightSupport = 3;
constexpr int MaxColumnCharHeight = 58;   // taller vertical lines measured two characters at once
constexpr int CodeWidthSlack = 10;
constexpr int SmallCharHeight = 40;       // height classes for the width window
constexpr int MediumCharHeight = 50;
constexpr int CentrePeakLow = 20;
constexpr int CentrePeakRadius = 5;
constexpr int SizePeakRadius = 2;

// How the drivers differ: code lines and size/type lines, and the two cameras' character sizes.
struct DriverRules {
    bool columnLimits;      // vertical code lines need 6 to 64 components
    bool widenHeightPeak;   // vertical code lines widen a weak height peak
    int maxCharHeight;      // components measured: heights 16 up to this ...
    int maxCharWidth;       // ... and widths up to this
    int heightPeakLow;
    int heightPeakHigh;
    int widthPeakLow[3];    // by character height: up to 40, up to 50, above
    int widthPeakHigh;
    int widthRadiusStep;    // the width window grows by this for each height class
    bool supportRules;      // weak height and width peaks reject the line before a code is found
    bool halveTallColumns;
    int widthSlack;         // W may exceed H by this much
    int (*segmenter)(int, int, int, int, int);
};

constexpr DriverRules SideCodeLineRules{
    .columnLimits = true, .widenHeightPeak = true,
    .maxCharHeight = 88, .maxCharWidth = 64, .heightPeakLow = 24, .heightPeakHigh = 128,
    .widthPeakLow = {14, 16, 18}, .widthPeakHigh = 128, .widthRadiusStep = 1,
    .supportRules = true, .halveTallColumns = true, .widthSlack = CodeWidthSlack, .segmenter = SegmentCodeLine};
// The rear camera's characters are smaller and its lines only horizontal.
constexpr DriverRules RearCodeLineRules{
    .columnLimits = false, .widenHeightPeak = false,
    .maxCharHeight = 64, .maxCharWidth = 26, .heightPeakLow = 15, .heightPeakHigh = 64,
    .widthPeakLow = {10, 10, 10}, .widthPeakHigh = 52, .widthRadiusStep = 0,
    .supportRules = true, .halveTallColumns = false, .widthSlack = CodeWidthSlack, .segmenter = SegmentCodeLine};
constexpr DriverRules CodeLineRules = CameraNumber == 1 ? RearCodeLineRules : SideCodeLineRules;
constexpr DriverRules TypeLineRules{
    .columnLimits = false, .widenHeightPeak = false,
    .maxCharHeight = 88, .maxCharWidth = 64, .heightPeakLow = 24, .heightPeakHigh = 128,
    .widthPeakLow = {12, 14, 16}, .widthPeakHigh = 128, .widthRadiusStep = 1,
    .supportRules = false, .halveTallColumns = false, .widthSlack = 0, .segmenter = SegmentTypeCodeLine};

struct ComponentSize {
    int height;
    int width;
};

ComponentSize SizeOf(int c) {
    const CharBox& box = ComponentBoxes[c];
    return ComponentSize{box.bottom - box.top + 1, box.right - box.left + 1};
}

bool Contained(int c, int first, int last) { return FindContainingBox(c, first, last) >= 0; }

bool IsCharHeight(int h, const DriverRules& rules) { return h >= MinCharHeight && h <= rules.maxCharHeight; }

bool CountsForSize(int c, int first, int last, const DriverRules& rules) {
    const ComponentSize size = SizeOf(c);
    return !Contained(c, first, last) && IsCharHeight(size.height, rules) && size.width <= rules.maxCharWidth;
}

int CentreAcross(int c) {
    const CharBox& box = ComponentBoxes[c];
    return VerticalModeFlag == 1 ? (box.left + box.right) / 2 : (box.top + box.bottom) / 2;
}

// Peak of the histogram of component heights (or widths) of the range.
PackedPeak SizePeak(int first, int last, bool heights, const DriverRules& rules, int low, int high, int radius) {
    ClearHistogram();
    for (int c = first; c <= last; ++c) {
        if (CountsForSize(c, first, last, rules)) CountInHistogram(heights ? SizeOf(c).height : SizeOf(c).width);
    }
    return FindHistogramPeak(low, high, radius);
}

int Segment(int k, const DriverRules& rules) {
    if (k < 0 || k >= std::min<int>(LineCandidateCount, CandidateSlots)) return SegmentReject;
    LineCandidate& candidate = LineCandidates[k];
    const int first = std::max<int>(candidate.firstComponent, 0);
    const int last = std::min<int>(candidate.lastComponent, ComponentSlots - 1);
    const int components = last - first + 1;
    const bool vertical = VerticalModeFlag == 1;
    if (components < MinComponents) return SegmentReject;
    if (rules.columnLimits && vertical && (components < MinColumnComponents || components > MaxColumnComponents)) {
        return SegmentReject;
    }

    PackedPeak heightPeak =
        SizePeak(first, last, true, rules, rules.heightPeakLow, rules.heightPeakHigh, SizePeakRadius);
    if (rules.widenHeightPeak && vertical && PeakSum(heightPeak) < MinColumnHeightSupport) {
        for (int radius = 2 * SizePeakRadius; radius <= WidestHeightRadius; radius += HeightRadiusStep) {
            heightPeak = FindHistogramPeak(rules.heightPeakLow, rules.heightPeakHigh, radius);
            if (PeakSum(heightPeak) >= MinColumnHeightSupport) break;
        }
        if (PeakSum(heightPeak) < MinColumnHeightSupport) return SegmentReject;
    }
    int height = PeakIndex(heightPeak);
    const int heightSupport = PeakSum(heightPeak);
    const int band = height <= SmallCharHeight ? 0 : (height <= MediumCharHeight ? 1 : 2);
    const PackedPeak widthPeak = SizePeak(first, last, false, rules, rules.widthPeakLow[band], rules.widthPeakHigh,
                                          SizePeakRadius + rules.widthRadiusStep * band);
    const int width = PeakIndex(widthPeak);
    const int widthSupport = PeakSum(widthPeak);

    // Until a code is found, a line needs two heights and three widths that agree (or three and two).
    if (rules.supportRules && CodeFoundFlag == 0) {
        if ((heightSupport < 2 && widthSupport < 3) || (heightSupport < 3 && widthSupport < 2)) return SegmentReject;
    }
    if (heightSupport == 0 || widthSupport == 0) return SegmentReject;
    if (rules.halveTallColumns && vertical && height > MaxColumnCharHeight) height /= 2;
    if (width > height + rules.widthSlack) return SegmentReject;

    ClearHistogram();
    for (int c = first; c <= last; ++c) {
        const int h = SizeOf(c).height;
        if (Contained(c, first, last) || !IsCharHeight(h, rules) || std::abs(h - height) > height / 2) {
            continue;
        }
        CountInHistogram(CentreAcross(c));
    }
    const int axisLength = vertical ? FrameWidth : FrameHeight;
    const int centre = PeakIndex(FindHistogramPeak(CentrePeakLow, axisLength, CentrePeakRadius));
    candidate.charHeight = static_cast<std::int16_t>(height);
    candidate.charWidth = static_cast<std::int16_t>(width);
    candidate.centreLine = static_cast<std::int16_t>(centre);

    const int reach = vertical ? 3 * width : 2 * height / 3;
    LineBoxCount = 0;
    for (int c = first; c <= last; ++c) {
        if (std::abs(CentreAcross(c) - centre) > reach) continue;
        if (LineBoxCount >= LineBoxSlots - 1) return SegmentReject;
        LineBoxes[LineBoxCount] = ComponentBoxes[c];
        LineBoxComponents[LineBoxCount] = ComponentRange{static_cast<std::int16_t>(c), static_cast<std::int16_t>(c)};
        ++LineBoxCount;
    }
    if (LineBoxCount == 0) return SegmentReject;

    const int mode = vertical ? GapAlongColumn : GapAlongRow;
    const int gap = BoxGapEstimate(mode);
    const int answer = rules.segmenter(k, height, width, centre, gap);
    candidate.charCount = static_cast<std::int8_t>(LineBoxCount);
    if (answer != SegmentKeep) return answer;
    std::copy(LineBoxes, LineBoxes + LineBoxCount, candidate.boxes);
    std::copy(LineBoxComponents, LineBoxComponents + LineBoxCount, candidate.boxComponents);
    candidate.boxGap = static_cast<std::int16_t>(BoxGapEstimate(mode));
    return SegmentKeep;
}

// The rear camera reads horizontal lines only.
int ComponentScanMode() { return CameraNumber == 1 ? ScanColumns : VerticalModeFlag; }

// The rear camera shows the binary image each component search starts from.
void DumpSearchImage() {
    if constexpr (CameraNumber == 1) DumpBinaryImage();
}

// Finds the components of every candidate; false when the search failed.
bool FindAllComponents() {
    ComponentBoxCount = 0;
    for (int k = 0; k < std::min<int>(LineCandidateCount, CandidateSlots); ++k) {
        LineCandidate& candidate = LineCandidates[k];
        candidate.firstComponent = ComponentBoxCount;
        if (FindComponentBoxes(BoxTopLeft(candidate.rect), BoxBottomRight(candidate.rect), ComponentScanMode(),
                               FilterPieces) != 0) {
            return false;
        }
        candidate.lastComponent = static_cast<std::int16_t>(ComponentBoxCount - 1);
        if (candidate.lastComponent < candidate.firstComponent) candidate.status = CandidateSkip;
    }
    return true;
}

// One segmentation run over all candidates with the given driver. A fatal answer ends the run
// for the code lines and stays the candidate's status for size/type lines.
int SegmentEveryCandidate(int (*driver)(int), bool fatalEndsRun) {
    const int count = std::min<int>(LineCandidateCount, CandidateSlots);
    for (int k = 0; k < count; ++k) LineCandidates[k].retryCount = 0;
    RetriedWideBoxCount = 0;
    DumpSearchImage();
    bool searchAgain = true;
    while (searchAgain) {
        searchAgain = false;
        if (!FindAllComponents()) return SegmentRedo;
        for (int k = 0; k < count && !searchAgain; ++k) {
            LineCandidate& candidate = LineCandidates[k];
            if (candidate.status == CandidateSkip) continue;
            const int answer = driver(k);
            candidate.status = static_cast<std::uint8_t>(answer);
            if (answer == SegmentFatal && fatalEndsRun) return SegmentRedo;
            if (answer == SegmentRedo) {
                ++candidate.retryCount;
                RestoreBinaryImage();
                DumpSearchImage();
                if (candidate.retryCount <= MaxRetries) {
                    searchAgain = true;
                } else {
                    candidate.status = CandidateSkip;
                }
            } else if (candidate.retryCount > candidate.charCount) {
                candidate.status = CandidateSkip;
            }
        }
    }
    return SegmentKeep;
}

}  // namespace

int SegmentAllCandidates() { return SegmentEveryCandidate(SegmentCandidateLine, true); }

int SegmentAllTypeCandidates() { return SegmentEveryCandidate(SegmentTypeCandidate, false); }

int SegmentCandidateLine(int k) { return Segment(k, CodeLineRules); }

int SegmentTypeCandidate(int k) { return Segment(k, TypeLineRules); }
