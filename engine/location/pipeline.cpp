#include "engine/location/pipeline.h"

#include <algorithm>
#include <cstring>

#include "common/code_rules.h"
#include "engine/location/boxes.h"
#include "engine/location/edge_image.h"
#include "engine/location/level_histogram.h"
#include "engine/location/line_drivers.h"
#include "engine/location/location_passes.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/recognizer_state.h"

LineRecord SerialLines[PairingListSlots];
std::int16_t SerialLineCount = 0;
LineRecord OwnerCodeLines[PairingListSlots];
std::int16_t OwnerCodeLineCount = 0;
LineRecord PairedSerialLine;
LineRecord PairedOwnerLine;

namespace {

// Strong-edge level: from 250 down, the first level whose bin and the two below it each hold
// more than 24 pixels. Outside 32..245 the frame has no usable contrast.
constexpr int StrongLevelStart = 250;
constexpr int StrongLevelMinCount = 24;
constexpr int MinStrongLevel = 32;
constexpr int MaxStrongLevel = 245;
constexpr int ThresholdBaseDivisor = 3;

constexpr int MinSweepThreshold = 16;
constexpr int CodeThresholdHeadroom = 16;        // thresholds stay this far below L
constexpr int HorizontalTypeThresholdHeadroom = 32;

constexpr int MaxUsableDriverAnswer = 4;  // the drivers answer 10 for a doubtful reading
constexpr int MaxUnknownCharacters = 2;
constexpr int NumberLength = 11;
constexpr int SerialLength = 7;
constexpr int OwnerCodeLength = 4;
constexpr int PairCentreSpanHeights = 3;  // the owner code sits at most 3 heights left of the serial

// Size/type lines of 5 to 8 boxes keep what lies right of their widest gap.
constexpr int MinGapSplitBoxes = 5;
constexpr int MaxGapSplitBoxes = 8;

// Where the size/type code is painted relative to the number.
constexpr int OneLineRegionLead = 16;
constexpr int PairRegionLead = 8;
constexpr int SizeTypeRegionHeights = 2;
constexpr int VerticalLeftRegionWidths = 4;
constexpr int VerticalRightRegionWidths = 8;
constexpr int OneLineLastTopBox = 8;
constexpr int OneLineLastBox = 10;
constexpr int PairMiddleBox = 4;
constexpr int PairLastBox = 6;
constexpr int VerticalBeforeMiddleBox = 4;
constexpr int VerticalMiddleBox = 5;
constexpr int VerticalLastBox = 10;

// How the number of the current frame was accepted; read by the size/type search.
NumberLayout AcceptedNumberLayout = NumberLayout::OneLine;

int ListCount(std::int16_t count) { return std::clamp<int>(count, 0, PairingListSlots); }

bool ReadingUsable(int answer, int length) {
    return answer <= MaxUsableDriverAnswer && CountUnknown(CurrentLine.text, length) <= MaxUnknownCharacters;
}

// Records with the line the threshold it was read at.
void StampLine() { CurrentLine.thresholdUsed = static_cast<std::uint8_t>(CurrentThreshold); }

void AcceptOneLineNumber(NumberLayout layout) {
    CurrentLine.accepted = 1;
    FoundCodeLine = CurrentLine;
    AcceptedNumberLayout = layout;
}

// Reads the located horizontal candidates of 11, 7 and 4 boxes; true once an 11-character
// line carries a matching check digit.
bool ReadHorizontalCandidates() {
    for (int k = 0; k < CandidatesInUse(); ++k) {
        const int boxes = LineCandidates[k].charCount;
        if (boxes != NumberLength && boxes != SerialLength && boxes != OwnerCodeLength) continue;
        LoadCandidateIntoLine(k);
        if (boxes == NumberLength) {
            if (!ReadingUsable(RecognizeContainerNumber(), NumberLength)) continue;
            StampLine();
            if (CheckDigitMatches(CurrentLine.text)) {
                AcceptOneLineNumber(NumberLayout::OneLine);
                return true;
            }
        } else if (boxes == SerialLength) {
            if (!ReadingUsable(RecognizeDigitLine(), SerialLength)) continue;
            StampLine();
            KeepForPairing(SerialLines, SerialLineCount);
        } else {
            if (!ReadingUsable(RecognizeLetterLine(), OwnerCodeLength)) continue;
            StampLine();
            KeepForPairing(OwnerCodeLines, OwnerCodeLineCount);
        }
    }
    return false;
}

// Reads the located vertical candidates of 11 boxes; true once one carries a matching check
// digit. A column of strokes reads as "1", "I" or "?" all the way and is never taken.
bool ReadVerticalCandidates() {
    for (int k = 0; k < CandidatesInUse(); ++k) {
        if (LineCandidates[k].charCount != NumberLength) continue;
        LoadCandidateIntoLine(k);
        if (!ReadingUsable(RecognizeContainerNumber(), NumberLength)) continue;
        if (IsMostlyOnes(CurrentLine.text) == 1) continue;
        StampLine();
        if (CheckDigitMatches(CurrentLine.text)) {
            AcceptOneLineNumber(NumberLayout::Vertical);
            return true;
        }
    }
    return false;
}

// One threshold of the number sweep: the horizontal pass with its pairing, then the vertical
// pass.
bool TryCodeThreshold(PackedPoint topLeft, PackedPoint bottomRight) {
    VerticalModeFlag = 0;
    BinarizeForLocation(topLeft, bottomRight);
    if (LocateHorizontalCodeLines(topLeft, bottomRight) == 0) {
        if (ReadHorizontalCandidates()) return true;
        if (PairCodeLines()) {
            AcceptedNumberLayout = NumberLayout::Pair;
            return true;
        }
    }
    VerticalModeFlag = 1;
    BinarizeForLocation(topLeft, bottomRight);
    if (LocateVerticalCodeLines(topLeft, bottomRight) != 0) return false;
    return ReadVerticalCandidates();
}

// One threshold of the size/type sweep over its region.
bool TrySizeTypeThreshold(PackedPoint topLeft, PackedPoint bottomRight) {
    BinarizeForLocation(topLeft, bottomRight);
    const int located = VerticalModeFlag == 1 ? LocateVerticalTypeLine(topLeft, bottomRight)
                                              : LocateHorizontalTypeLine(topLeft, bottomRight);
    if (located != 0) return false;
    for (int k = 0; k < CandidatesInUse(); ++k) {
        const int boxes = LineCandidates[k].charCount;
        if (boxes >= MinGapSplitBoxes && boxes <= MaxGapSplitBoxes) CutBeforeWidestGap(k);
        if (ReadSizeTypeCandidate(k)) return true;
    }
    return false;
}

// The edge image of the region alone, then the sweep around base; an empty region (the number
// at the frame's edge) has nothing to search.
bool SearchSizeTypeRegion(const FrameRegion& region, int base, int high) {
    if (IsEmptyRegion(region)) return false;
    const PackedPoint topLeft = PackPoint(region.left, region.top);
    const PackedPoint bottomRight = PackPoint(region.right, region.bottom);
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    ComputeEdgeImage(topLeft, bottomRight);
    return SweepThresholds(base, MinSweepThreshold, high, TrySizeTypeThreshold, topLeft, bottomRight);
}

// Below the number, from a little left of its first box to the left of its check digit.
FrameRegion OneLineSizeTypeRegion(const LineRecord& line) {
    const CharBox* box = line.boxes;
    const int top = std::max(box[0].bottom, box[OneLineLastTopBox].bottom);
    return ClipToFrame(box[0].left - OneLineRegionLead, top, box[OneLineLastBox].left,
                       top + SizeTypeRegionHeights * line.charHeight);
}

// Below the serial line, across its width.
FrameRegion PairSizeTypeRegion(const LineRecord& serial) {
    const CharBox* box = serial.boxes;
    const int top = std::max(box[0].bottom, box[PairMiddleBox].bottom);
    return ClipToFrame(box[0].left - PairRegionLead, top, box[PairLastBox].right,
                       top + SizeTypeRegionHeights * serial.charHeight);
}

// Beside the column, first to its left, then to its right.
FrameRegion VerticalLeftSizeTypeRegion(const LineRecord& line) {
    const CharBox* box = line.boxes;
    const int left = box[VerticalMiddleBox].left;
    return ClipToFrame(left - VerticalLeftRegionWidths * line.charWidth, box[0].top, left,
                       box[VerticalLastBox].bottom);
}

FrameRegion VerticalRightSizeTypeRegion(const LineRecord& line) {
    const CharBox* box = line.boxes;
    const int right = box[VerticalBeforeMiddleBox].right;
    return ClipToFrame(right, box[0].top, right + VerticalRightRegionWidths * line.charWidth,
                       box[VerticalLastBox].bottom);
}

void FillRecognitionResult(bool sizeTypeFound) {
    char* code = RecognizerResult.code;
    if (AcceptedNumberLayout == NumberLayout::Pair) {
        std::memcpy(code, PairedOwnerLine.text, OwnerCodeLength);
        std::memcpy(code + OwnerCodeLength, PairedSerialLine.text, SerialLength);
    } else {
        std::memcpy(code, FoundCodeLine.text, NumberLength);
    }
    code[NumberLength] = '\0';
    RecognizerResult.codeFound = CodeFlagAccepted;
    WriteSizeTypeResult(sizeTypeFound);
}

}  // namespace

void KeepForPairing(LineRecord (&list)[PairingListSlots], std::int16_t& count) {
    if (count < 0) count = 0;
    if (count >= PairingListSlots) return;
    list[count] = CurrentLine;
    ++count;
}

bool PairCodeLines() {
    for (int i = 0; i < ListCount(SerialLineCount); ++i) {
        const LineRecord& serial = SerialLines[i];
        const int serialCentre = LineCentreX(serial);
        for (int j = 0; j < ListCount(OwnerCodeLineCount); ++j) {
            const LineRecord& owner = OwnerCodeLines[j];
            const int ownerCentre = LineCentreX(owner);
            if (ownerCentre > serialCentre || serialCentre - ownerCentre > PairCentreSpanHeights * serial.charHeight) {
                continue;
            }
            std::memcpy(CurrentLine.text, owner.text, OwnerCodeLength);
            std::memcpy(CurrentLine.text + OwnerCodeLength, serial.text, SerialLength);
            CurrentLine.text[NumberLength] = '\0';
            if (CheckDigitMatches(CurrentLine.text)) {
                PairedOwnerLine = owner;
                PairedSerialLine = serial;
                return true;
            }
        }
    }
    return false;
}

bool SearchSizeTypeCode(NumberLayout layout) {
    VerticalModeFlag = layout == NumberLayout::Vertical ? 1 : 0;
    const int level = StrongEdgeLevel;
    switch (layout) {
        case NumberLayout::OneLine:
            return SearchSizeTypeRegion(OneLineSizeTypeRegion(FoundCodeLine), FoundCodeLine.thresholdUsed,
                                        level - HorizontalTypeThresholdHeadroom);
        case NumberLayout::Pair:
            return SearchSizeTypeRegion(PairSizeTypeRegion(PairedSerialLine),
                                        (PairedOwnerLine.thresholdUsed + PairedSerialLine.thresholdUsed) / 2,
                                        level - HorizontalTypeThresholdHeadroom);
        case NumberLayout::Vertical:
            return SearchSizeTypeRegion(VerticalLeftSizeTypeRegion(FoundCodeLine), FoundCodeLine.thresholdUsed,
                                        level - CodeThresholdHeadroom) ||
                   SearchSizeTypeRegion(VerticalRightSizeTypeRegion(FoundCodeLine), FoundCodeLine.thresholdUsed,
                                        level - CodeThresholdHeadroom);
    }
    return false;
}

int RecognizeContainerImage(PackedPoint topLeft, PackedPoint bottomRight) {
    VerticalModeFlag = 0;
    CodeFoundFlag = 0;
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    ComputeEdgeImage(topLeft, bottomRight);
    DumpEdgeImage();
    SerialLineCount = 0;
    OwnerCodeLineCount = 0;
    EdgeHistogram(topLeft, bottomRight);
    StrongEdgeLevel = static_cast<std::int16_t>(FindStrongLevel(StrongLevelStart, StrongLevelMinCount));
    if (StrongEdgeLevel < MinStrongLevel || StrongEdgeLevel > MaxStrongLevel) return PipelineNoContrast;
    ThresholdBase = static_cast<std::int16_t>(StrongEdgeLevel / ThresholdBaseDivisor);
    SweepStep = 0;
    if (!SweepThresholds(ThresholdBase, MinSweepThreshold, StrongEdgeLevel - CodeThresholdHeadroom, TryCodeThreshold,
                         topLeft, bottomRight)) {
        return PipelineNoNumber;
    }
    CodeFoundFlag = 1;
    FillRecognitionResult(SearchSizeTypeCode(AcceptedNumberLayout));
    return PipelineNumberFound;
}
