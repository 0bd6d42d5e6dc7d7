#include "engine/location/location_passes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>

#include "engine/camera.h"
#include "engine/location/binary_regions.h"
#include "engine/location/capped_table.h"
#include "engine/location/level_histogram.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/profile_runs.h"
#include "engine/location/segmentation.h"
#include "engine/location/text_bands.h"

namespace {

constexpr int NothingLocated = 1;
constexpr int Located = 0;
// Every redo works on an image with something erased, but a redo may also just binarize a box
// higher; the rounds are bounded so that a pass always ends.
constexpr int MaxRounds = 32;
constexpr bool RearCamera = CameraNumber == 1;
// Stroke-start gaps closed within a code line; the rear camera's one pass also serves the
// size/type code.
constexpr int CodeGapFill = RearCamera ? 72 : 64;
constexpr int TypeGapFill = 58;
constexpr int RunSearchMargin = 16;       // columns left out at each side of the region
// A line reaches this far left of its first stroke start and right of its last one.
constexpr int CandidateLead = RearCamera ? 26 : 32;
constexpr int CandidateTrail = RearCamera ? 26 : 0;
constexpr int LeftmostCandidateColumn = RearCamera ? 0 : 16;
// The rear camera keeps its bands through a redo; the side camera looks for them again.
constexpr bool RedoFindsBandsAgain = !RearCamera;
constexpr int RunGroupGap = 32;           // rows between two groups of a column of characters
constexpr int MinGroupSpan = 64;          // a first group longer than this is a line of its own
// Wide-line cut.
constexpr int CutProfileLead = 32;
constexpr int WideLineRuns = 8;
constexpr int WideLineColumns = 420;
constexpr int WeakRunLength = 5;
constexpr std::uint32_t WeakRunSum = 6;
constexpr int RunGapBins = 256;
constexpr int RunGapPeakLow = 2;
constexpr int RunGapPeakRadius = 2;
constexpr int BigGapFactor = 10;
constexpr int RegularGapSlack = 2;
constexpr int RegularGroupGaps = 2;

using CandidateBuilder = void (*)(const FrameRegion&);

struct PassRules {
    int (*findBands)(PackedPoint, PackedPoint);
    CandidateBuilder addCandidates;
    bool wideLineCut;
    int (*segmentAll)();
};

void AddCandidate(int left, int top, int right, int bottom) {
    const int slot = NextCappedSlot(LineCandidateCount, CandidateSlots);
    LineCandidate& candidate = LineCandidates[slot];
    candidate = LineCandidate{};
    candidate.rect = CharBox{static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                             static_cast<std::int16_t>(right), static_cast<std::int16_t>(bottom)};
    candidate.status = CandidatePending;
}

int BandCount() { return std::clamp<int>(TextBandCount, 0, TextBandSlots); }

// One candidate per cluster of stroke starts along each row band.
template <int GapFill>
void AddRowCandidates(const FrameRegion& region) {
    for (int b = 0; b < BandCount(); ++b) {
        const LineRange band = TextBands[b];
        std::fill(SmoothedProfile, SmoothedProfile + FrameWidth, 0);
        for (int row = std::max<int>(band.start, 0); row <= std::min<int>(band.end, FrameLongSide - 1); ++row) {
            const int starts = std::clamp<int>(RowStrokeCounts[row], 0, StrokeStartSlots);
            for (int s = 0; s < starts; ++s) {
                const int x = RowStrokeStarts[row][s];
                if (x >= 0 && x < FrameWidth) ++SmoothedProfile[x];
            }
        }
        FillShortProfileGaps(GapFill);
        FindProfileRuns(std::span<const std::uint16_t>(SmoothedProfile, FrameWidth), region.left + RunSearchMargin,
                        region.right - RunSearchMargin);
        for (int r = 0; r < ProfileRunCount; ++r) {
            AddCandidate(std::max(ProfileRuns[r].start - CandidateLead, LeftmostCandidateColumn), band.start,
                         std::min(ProfileRuns[r].end + CandidateTrail, FrameWidth - 1), band.end);
        }
    }
}

int RowInk(int row, int left, int right) {
    int ink = 0;
    for (int x = left; x <= right; ++x) ink += BinaryImage[PixelIndex(x, row)] != 0 ? 1 : 0;
    return ink;
}

// Keeps the first group of ink runs: a run far below a group already as long as two characters
// belongs to something else.
void KeepFirstRunGroup() {
    int taken = 1;
    while (taken < ProfileRunCount) {
        const bool farBelow = ProfileRuns[taken].start - ProfileRuns[taken - 1].end > RunGroupGap;
        if (farBelow && ProfileRuns[taken - 1].end - ProfileRuns[0].start > MinGroupSpan) break;
        ++taken;
    }
    ProfileRunCount = static_cast<std::int16_t>(taken);
}

// One candidate per column band, over the rows of its first group of ink.
void AddColumnCandidates(const FrameRegion& region) {
    for (int b = 0; b < BandCount(); ++b) {
        const FrameRegion band = ClipToFrame(TextBands[b].start, region.top, TextBands[b].end, region.bottom);
        if (IsEmptyRegion(band)) continue;
        std::fill(SmoothedProfile, SmoothedProfile + FrameHeight, 0);
        for (int row = band.top; row <= band.bottom; ++row) {
            SmoothedProfile[row] = static_cast<std::uint16_t>(RowInk(row, band.left, band.right));
        }
        if (FindProfileRuns(std::span<const std::uint16_t>(SmoothedProfile, FrameHeight), band.top, band.bottom) == 0) {
            continue;
        }
        KeepFirstRunGroup();
        AddCandidate(band.left, std::max(ProfileRuns[0].start - 1, region.top), band.right,
                     std::min(ProfileRuns[ProfileRunCount - 1].end + 1, region.bottom));
    }
}

int RunGap(int i) { return ProfileRuns[i + 1].start - ProfileRuns[i].end - 1; }

// A candidate that holds, after irregular clutter, a group of evenly spaced characters set apart
// by a big gap is cut: everything left of that group is cleared. True when cut.
bool CutWideLine(const LineCandidate& candidate) {
    const CharBox& rect = candidate.rect;
    const int first = rect.left + CutProfileLead;
    ColumnProfileOfBox(first, rect.right, rect.top, rect.bottom, SourceBinaryImage);
    const int runs = FindProfileRuns(std::span<const std::int16_t>(ColumnProfile), first, rect.right);
    if (runs > WideLineRuns && rect.right - first > WideLineColumns) DropWeakProfileRuns(WeakRunLength, WeakRunSum);
    ClearHistogram();
    for (int i = 0; i + 1 < ProfileRunCount; ++i) {
        if (RunGap(i) >= 0 && RunGap(i) < RunGapBins) CountInHistogram(RunGap(i));
    }
    const PackedPeak peak = FindHistogramPeak(RunGapPeakLow, RunGapBins, RunGapPeakRadius);
    const int g = PeakIndex(peak);
    if (PeakSum(peak) >= ProfileRunCount / 2) return false;
    int groupStart = 0;
    for (int e = 0; e + 1 < ProfileRunCount; ++e) {
        if (RunGap(e) <= BigGapFactor * g) continue;
        int regular = 0;
        for (int i = groupStart; i <= e - 2; ++i) regular += std::abs(RunGap(i) - g) <= RegularGapSlack ? 1 : 0;
        if (regular >= RegularGroupGaps) {
            // A first regular group at the line's start has nothing left of it to cut.
            if (groupStart == 0) return false;
            ClearBackupRect(0, 0, ProfileRuns[groupStart].start, FrameHeight - 1);
            return true;
        }
        groupStart = e + 1;
    }
    return false;
}

bool CutWideLines() {
    for (int k = 0; k < std::min<int>(LineCandidateCount, CandidateSlots); ++k) {
        if (CutWideLine(LineCandidates[k])) return true;
    }
    return false;
}

int KeepSegmentedCandidates() {
    RemoveFlaggedCandidates();
    return LineCandidateCount == 0 ? NothingLocated : Located;
}

int RunPass(PackedPoint topLeft, PackedPoint bottomRight, const PassRules& rules) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    if (rules.findBands(topLeft, bottomRight) != 0) return NothingLocated;
    for (int round = 0; round < MaxRounds; ++round) {
        LineCandidateCount = 0;
        rules.addCandidates(region);
        if (LineCandidateCount == 0) return NothingLocated;
        const bool cut = rules.wideLineCut && CodeFoundFlag == 0 && CutWideLines();
        if (!cut && rules.segmentAll() != SegmentRedo) return KeepSegmentedCandidates();
        RestoreBinaryImage();
        if ((cut || RedoFindsBandsAgain) && rules.findBands(topLeft, bottomRight) != 0) return NothingLocated;
    }
    return NothingLocated;
}

void ClearOutside(std::uint8_t* plane, const FrameRegion& region) {
    for (int row = 0; row < FrameHeight; ++row) {
        std::uint8_t* line = plane + PixelIndex(0, row);
        if (row < region.top || row > region.bottom) {
            std::memset(line, 0, FrameWidth);
            continue;
        }
        std::memset(line, 0, static_cast<std::size_t>(region.left));
        std::memset(line + region.right + 1, 0, static_cast<std::size_t>(FrameWidth - 1 - region.right));
    }
}

// The size/type search works beside an accepted code: ink left from the code's own search
// outside the region must not reach its components.
void ClearOutsideRegion(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    if (IsEmptyRegion(region)) return;
    ClearOutside(BinaryImage, region);
    ClearOutside(BinaryBackup, region);
}

constexpr PassRules HorizontalCodeRules{FindHorizontalTextBands, AddRowCandidates<CodeGapFill>, !RearCamera,
                                        SegmentAllCandidates};
constexpr PassRules VerticalCodeRules{FindVerticalTextBands, AddColumnCandidates, false, SegmentAllCandidates};
constexpr PassRules HorizontalTypeRules{FindHorizontalTextBands, AddRowCandidates<TypeGapFill>, false,
                                        SegmentAllTypeCandidates};
constexpr PassRules VerticalTypeRules{FindVerticalTextBands, AddColumnCandidates, false, SegmentAllTypeCandidates};

}  // namespace

int LocateHorizontalCodeLines(PackedPoint topLeft, PackedPoint bottomRight) {
    return RunPass(topLeft, bottomRight, HorizontalCodeRules);
}

int LocateVerticalCodeLines(PackedPoint topLeft, PackedPoint bottomRight) {
    return RunPass(topLeft, bottomRight, VerticalCodeRules);
}

int LocateHorizontalTypeLine(PackedPoint topLeft, PackedPoint bottomRight) {
    ClearOutsideRegion(topLeft, bottomRight);
    return RunPass(topLeft, bottomRight, HorizontalTypeRules);
}

int LocateVerticalTypeLine(PackedPoint topLeft, PackedPoint bottomRight) {
    ClearOutsideRegion(topLeft, bottomRight);
    return RunPass(topLeft, bottomRight, VerticalTypeRules);
}

int LineCentreX(LineRecord record) {
    const int count = std::clamp<int>(record.charCount, 0, LineRecordBoxSlots);
    if (count == 0) return 0;
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += (record.boxes[i].left + record.boxes[i].right) / 2;
    return sum / count;
}
