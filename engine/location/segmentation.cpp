// The per-candidate drivers of segmentation and the redo loop over all candidates.
#include "engine/location/segmentation.h"

#include <algorithm>
#include <cstdlib>

#include "engine/location/binary_regions.h"
#include "engine/location/components.h"
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
constexpr int MaxCharHeight = 88;
constexpr int MaxCharWidth = 64;
constexpr int HeightPeakLow = 24;
constexpr int SizePeakHigh = 128;
constexpr int SizePeakRadius = 2;         // widths use one more for each height class
constexpr int WidestHeightRadius = 10;    // vertical lines widen the height window up to this
constexpr int HeightRadiusStep = 2;
constexpr int MinColumnHeightSupport = 3;
constexpr int MaxColumnCharHeight = 58;   // taller vertical lines measured two characters at once
constexpr int CodeWidthSlack = 10;
constexpr int SmallCharHeight = 40;       // height classes for the width window
constexpr int MediumCharHeight = 50;
constexpr int CentrePeakLow = 20;
constexpr int CentrePeakRadius = 5;

// How the code-line and size/type drivers differ.
struct DriverRules {
    bool columnLimits;      // vertical code lines need 6 to 64 components
    bool widenHeightPeak;   // vertical code lines widen a weak height peak
    int widthPeakLow[3];    // by character height: up to 40, up to 50, above
    bool supportRules;      // weak height and width peaks reject the line before a code is found
    bool halveTallColumns;
    int widthSlack;         // W may exceed H by this much
    int (*segmenter)(int, int, int, int, int);
};

constexpr DriverRules CodeLineRules{true, true, {14, 16, 18}, true, true, CodeWidthSlack, SegmentCodeLine};
constexpr DriverRules TypeLineRules{false, false, {12, 14, 16}, false, false, 0, SegmentTypeCodeLine};

struct ComponentSize {
    int height;
    int width;
};

ComponentSize SizeOf(int c) {
    const CharBox& box = ComponentBoxes[c];
    return ComponentSize{box.bottom - box.top + 1, box.right - box.left + 1};
}

bool Contained(int c, int first, int last) { return FindContainingBox(c, first, last) >= 0; }

bool CountsForSize(int c, int first, int last) {
    const ComponentSize size = SizeOf(c);
    return !Contained(c, first, last) && size.height >= MinCharHeight && size.height <= MaxCharHeight &&
           size.width <= MaxCharWidth;
}

int CentreAcross(int c) {
    const CharBox& box = ComponentBoxes[c];
    return VerticalModeFlag == 1 ? (box.left + box.right) / 2 : (box.top + box.bottom) / 2;
}

// Peak of the histogram of component heights (or widths) of the range.
PackedPeak SizePeak(int first, int last, bool heights, int low, int radius) {
    ClearHistogram();
    for (int c = first; c <= last; ++c) {
        if (CountsForSize(c, first, last)) CountInHistogram(heights ? SizeOf(c).height : SizeOf(c).width);
    }
    return FindHistogramPeak(low, SizePeakHigh, radius);
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

    PackedPeak heightPeak = SizePeak(first, last, true, HeightPeakLow, SizePeakRadius);
    if (rules.widenHeightPeak && vertical && PeakSum(heightPeak) < MinColumnHeightSupport) {
        for (int radius = 2 * SizePeakRadius; radius <= WidestHeightRadius; radius += HeightRadiusStep) {
            heightPeak = FindHistogramPeak(HeightPeakLow, SizePeakHigh, radius);
            if (PeakSum(heightPeak) >= MinColumnHeightSupport) break;
        }
        if (PeakSum(heightPeak) < MinColumnHeightSupport) return SegmentReject;
    }
    int height = PeakIndex(heightPeak);
    const int heightSupport = PeakSum(heightPeak);
    const int band = height <= SmallCharHeight ? 0 : (height <= MediumCharHeight ? 1 : 2);
    const PackedPeak widthPeak = SizePeak(first, last, false, rules.widthPeakLow[band], SizePeakRadius + band);
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
        if (Contained(c, first, last) || h < MinCharHeight || h > MaxCharHeight || std::abs(h - height) > height / 2) {
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

// Finds the components of every candidate; false when the search failed.
bool FindAllComponents() {
    ComponentBoxCount = 0;
    for (int k = 0; k < std::min<int>(LineCandidateCount, CandidateSlots); ++k) {
        LineCandidate& candidate = LineCandidates[k];
        candidate.firstComponent = ComponentBoxCount;
        if (FindComponentBoxes(BoxTopLeft(candidate.rect), BoxBottomRight(candidate.rect), VerticalModeFlag,
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
