#include "engine/location/cam1/pipeline_cam1.h"

#include <cstring>

#include "engine/location/edge_image.h"
#include "engine/location/level_histogram.h"
#include "engine/location/line_drivers.h"
#include "engine/location/location_passes.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/threshold_sweep.h"
#include "engine/recognizer_state.h"

namespace {

// Strong-edge level: from 250 down, the first level whose bin and the two below it hold more
// than 56 pixels together. Below 48 the region has no usable contrast.
constexpr int StrongLevelStart = 250;
constexpr int StrongLevelMinCount = 56;
constexpr int MinStrongLevel = 48;
// The sweep starts at 3/5 of the level.
constexpr int ThresholdBaseNumerator = 3;
constexpr int ThresholdBaseDenominator = 5;
constexpr int MinSweepThreshold = 72;
constexpr int NumberThresholdHeadroom = 40;    // number thresholds stay this far below L
constexpr int SizeTypeThresholdHeadroom = 32;

constexpr int MaxUsableDriverAnswer = 4;  // the number's driver answers 10 for a doubtful reading
constexpr int NumberLength = 11;

// The owner code ends at box 3 and the serial number starts at box 4; a size/type box standing
// between them (from 2 pixels left of box 3's right edge) is a stray piece.
constexpr int LastOwnerBox = 3;
constexpr int FirstSerialBox = 4;
constexpr int OwnerGapSlack = 2;
// Size/type lines of 5 to 8 boxes are trimmed to the code.
constexpr int MinTrimmedBoxes = 5;
constexpr int MaxTrimmedBoxes = 8;
constexpr int SizeTypeLength = 4;

// The size/type band: boxes 0 to 8 wide, starting between the bottoms of boxes 0 and 9.
constexpr int BandLastBox = 8;
constexpr int BandBottomBox = 9;
constexpr int BandHeights = 2;

// Reads the located candidates of 11 boxes; true once one carries a matching check digit. Any
// "?" among its characters simply fails the check-digit comparison.
bool TryNumberThreshold(PackedPoint topLeft, PackedPoint bottomRight) {
    BinarizeForLocation(topLeft, bottomRight);
    if (LocateHorizontalCodeLines(topLeft, bottomRight) != 0) return false;
    for (int k = 0; k < CandidatesInUse(); ++k) {
        if (LineCandidates[k].charCount != NumberLength) continue;
        LoadCandidateIntoLine(k);
        if (RecognizeContainerNumber() > MaxUsableDriverAnswer) continue;
        if (CheckDigitMatches(CurrentLine.text)) {
            CurrentLine.accepted = 1;
            FoundCodeLine = CurrentLine;
            return true;
        }
    }
    return false;
}

bool InOwnerGap(const CharBox& box) {
    const CharBox* number = FoundCodeLine.boxes;
    return box.left > number[LastOwnerBox].right - OwnerGapSlack && box.right < number[FirstSerialBox].left;
}

bool TrySizeTypeThreshold(PackedPoint topLeft, PackedPoint bottomRight) {
    BinarizeForLocation(topLeft, bottomRight);
    if (LocateHorizontalCodeLines(topLeft, bottomRight) != 0) return false;
    for (int k = 0; k < CandidatesInUse(); ++k) {
        TrimSizeTypeCandidate(k);
        if (ReadSizeTypeCandidate(k)) return true;
    }
    return false;
}

// The sweep over the band below the number, around the number's base, on the edge image of the
// whole region.
bool SearchSizeTypeCode() {
    const FrameRegion region = SizeTypeRegionBelow(FoundCodeLine);
    if (IsEmptyRegion(region)) return false;
    return SweepThresholds(ThresholdBase, MinSweepThreshold, StrongEdgeLevel - SizeTypeThresholdHeadroom,
                           TrySizeTypeThreshold, PackPoint(region.left, region.top),
                           PackPoint(region.right, region.bottom));
}

void WriteNumberResult(bool found) {
    if (found) {
        std::memcpy(RecognizerResult.code, FoundCodeLine.text, NumberLength);
        RecognizerResult.code[NumberLength] = '\0';
        RecognizerResult.codeFound = FoundCodeLine.accepted;
    } else {
        std::memset(RecognizerResult.code, 0, sizeof RecognizerResult.code);
        RecognizerResult.codeFound = 0;
    }
}

}  // namespace

FrameRegion SizeTypeRegionBelow(const LineRecord& number) {
    const CharBox* box = number.boxes;
    const int top = (box[0].bottom + box[BandBottomBox].bottom) / 2;
    return ClipToFrame(box[0].left, top, box[BandLastBox].right, top + BandHeights * number.charHeight);
}

void TrimSizeTypeCandidate(int k) {
    LineCandidate& candidate = LineCandidates[k];
    if (candidate.charCount < MinTrimmedBoxes || candidate.charCount > MaxTrimmedBoxes) return;
    for (int i = 0; i < candidate.charCount;) {
        if (InOwnerGap(candidate.boxes[i])) {
            RemoveCandidateBox(k, i);
        } else {
            ++i;
        }
    }
    if (candidate.charCount > SizeTypeLength) CutBeforeWidestGap(k);
}

int RecognizeContainerImage(PackedPoint topLeft, PackedPoint bottomRight) {
    VerticalModeFlag = 0;
    CodeFoundFlag = 0;
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    ComputeEdgeImage(topLeft, bottomRight);
    DumpEdgeImage();
    EdgeHistogram(topLeft, bottomRight);
    StrongEdgeLevel = static_cast<std::int16_t>(FindStrongLevel(StrongLevelStart, StrongLevelMinCount));
    if (StrongEdgeLevel < MinStrongLevel) return PipelineNoContrast;
    ThresholdBase = static_cast<std::int16_t>(ThresholdBaseNumerator * StrongEdgeLevel / ThresholdBaseDenominator);
    const bool found = SweepThresholds(ThresholdBase, MinSweepThreshold, StrongEdgeLevel - NumberThresholdHeadroom,
                                       TryNumberThreshold, topLeft, bottomRight);
    bool sizeTypeFound = false;
    if (found) {
        std::memset(BinaryImage, 0, sizeof BinaryImage);
        CodeFoundFlag = 1;
        sizeTypeFound = SearchSizeTypeCode();
    }
    WriteNumberResult(found);
    WriteSizeTypeResult(sizeTypeFound);
    return found ? PipelineNumberFound : PipelineNoNumber;
}
