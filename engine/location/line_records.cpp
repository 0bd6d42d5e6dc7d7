#include "engine/location/line_records.h"

#include <algorithm>
#include <cstring>

#include "engine/glyph/glyph_grid.h"
#include "engine/location/level_histogram.h"

LineCandidate LineCandidates[CandidateSlots];
std::int16_t LineCandidateCount = 0;
LineRecord CurrentLine;

namespace {

constexpr int ThresholdPeakLow = 3;
constexpr int ThresholdPeakHigh = 256;
constexpr int ThresholdPeakRadius = 3;
constexpr int ExtendSlack = 2;  // a middle box may fall this far short of its neighbours

bool IsCandidate(int k) { return k >= 0 && k < std::min<int>(LineCandidateCount, CandidateSlots); }

int RecordBoxCount() { return std::clamp<int>(CurrentLine.charCount, 0, LineRecordBoxSlots); }

}  // namespace

void RemoveFlaggedCandidates() {
    const int count = std::clamp<int>(LineCandidateCount, 0, CandidateSlots);
    int kept = 0;
    for (int k = 0; k < count; ++k) {
        if (LineCandidates[k].status == CandidateSkip) continue;
        if (kept != k) LineCandidates[kept] = LineCandidates[k];
        ++kept;
    }
    LineCandidateCount = static_cast<std::int16_t>(kept);
}

int RemoveCandidateBox(int k, int i) {
    if (!IsCandidate(k)) return 0;
    LineCandidate& candidate = LineCandidates[k];
    const int count = std::clamp<int>(candidate.charCount, 0, CandidateBoxSlots);
    if (i < 0 || i >= count) return 0;
    for (int j = i; j + 1 < count; ++j) {
        candidate.boxes[j] = candidate.boxes[j + 1];
        candidate.boxComponents[j] = candidate.boxComponents[j + 1];
    }
    candidate.charCount = static_cast<std::int8_t>(count - 1);
    return 0;
}

int FindWidestBoxGap(int k) {
    if (!IsCandidate(k)) return 0;
    const LineCandidate& candidate = LineCandidates[k];
    const int count = std::clamp<int>(candidate.charCount, 0, CandidateBoxSlots);
    int widest = 0;
    int widestGap = 0;
    for (int i = 1; i < count; ++i) {
        const int gap = candidate.boxes[i].left - candidate.boxes[i - 1].right;
        if (gap > widestGap) {
            widest = i;
            widestGap = gap;
        }
    }
    return widest;
}

void LoadCandidateIntoLine(int k) {
    if (!IsCandidate(k)) return;
    const LineCandidate& candidate = LineCandidates[k];
    // The reading code takes lines of at most 16 characters; longer ones keep their first 16.
    const int count = std::clamp<int>(candidate.charCount, 0, LineRecordBoxSlots);
    CurrentLine.charCount = static_cast<std::int8_t>(count);
    // The reading measures boxes against the line's own character size, never that of the line
    // read before it.
    CurrentLine.charHeight = candidate.charHeight;
    CurrentLine.charWidth = candidate.charWidth;
    int brighter = 0;
    int darker = 0;
    for (int i = 0; i < count; ++i) {
        CurrentLine.boxes[i] = candidate.boxes[i];
        ClearHistogram();
        CountContourGrayLevels(candidate.boxComponents[i]);
        const PackedPeak peak = FindHistogramPeak(ThresholdPeakLow, ThresholdPeakHigh, ThresholdPeakRadius);
        CurrentLine.threshold[i] = static_cast<std::uint8_t>(PeakIndex(peak));
    }
    for (int i = 0; i < count; ++i) {
        const CharBox& box = CurrentLine.boxes[i];
        if (DecideBoxPolarity(BoxTopLeft(box), BoxBottomRight(box)) == InkBrighter) {
            ++brighter;
        } else {
            ++darker;
        }
    }
    const std::uint8_t polarity = brighter > darker ? InkBrighter : InkDarker;
    std::memset(CurrentLine.polarity, polarity, sizeof CurrentLine.polarity);
}

int MeanBoxWidth(int first, int last, int skip) {
    int sum = 0;
    int boxes = 0;
    for (int i = std::max(first, 0); i <= std::min(last, RecordBoxCount() - 1); ++i) {
        if (i == skip) continue;
        sum += CurrentLine.boxes[i].right - CurrentLine.boxes[i].left + 1;
        ++boxes;
    }
    return boxes == 0 ? 0 : sum / boxes;
}

void ExtendBoxToNeighbours(int i) {
    if (i < 1 || i > RecordBoxCount() - 2) return;
    CharBox& box = CurrentLine.boxes[i];
    const CharBox& before = CurrentLine.boxes[i - 1];
    const CharBox& after = CurrentLine.boxes[i + 1];
    const int top = std::min(before.top, after.top);
    const int bottom = std::max(before.bottom, after.bottom);
    if (box.top > top + ExtendSlack) box.top = static_cast<std::int16_t>(top);
    if (box.bottom < bottom - ExtendSlack) box.bottom = static_cast<std::int16_t>(bottom);
}
