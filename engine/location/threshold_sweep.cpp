#include "engine/location/threshold_sweep.h"

#include <algorithm>
#include <cstring>

#include "common/code_rules.h"
#include "engine/location/edge_image.h"
#include "engine/location/line_drivers.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/recognizer_state.h"

LineRecord FoundCodeLine;
LineRecord SizeTypeLine;

namespace {

constexpr int LastSweepStep = 13;
constexpr int CheckDigitIndex = 10;
constexpr int SizeTypeLength = 4;
constexpr int MinSizeTypeMatchLevel = 3;

int NextSweepStep(int step) { return step > 0 ? -step : 1 - step; }

}  // namespace

bool SweepThresholds(int base, int low, int high, SweepStepRoutine tryThreshold, PackedPoint topLeft,
                     PackedPoint bottomRight) {
    for (int step = 0; step <= LastSweepStep; step = NextSweepStep(step)) {
        const int threshold = base + SweepThresholdStride * step;
        if (threshold < low || threshold > high) continue;
        SweepStep = static_cast<std::int16_t>(step);
        CurrentThreshold = static_cast<std::int16_t>(threshold);
        if (tryThreshold(topLeft, bottomRight)) return true;
    }
    return false;
}

void BinarizeForLocation(PackedPoint topLeft, PackedPoint bottomRight) {
    ThresholdEdgeImage(topLeft, bottomRight, CurrentThreshold);
    std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
    std::memcpy(BinarySnapshot, BinaryImage, sizeof BinarySnapshot);
    DumpBinaryImage();
}

int CandidatesInUse() { return std::clamp<int>(LineCandidateCount, 0, CandidateSlots); }

bool CheckDigitMatches(const char* text) {
    return ComputeCheckDigit(text) == static_cast<std::uint8_t>(text[CheckDigitIndex]);
}

void CutBeforeWidestGap(int k) {
    const int leading = FindWidestBoxGap(k);
    for (int n = 0; n < leading; ++n) RemoveCandidateBox(k, 0);
}

bool ReadSizeTypeCandidate(int k) {
    if (LineCandidates[k].charCount != SizeTypeLength) return false;
    LoadCandidateIntoLine(k);
    RecognizeSizeTypeCode();
    if (SizeTypeMatchLevel(CurrentLine.text) < MinSizeTypeMatchLevel) return false;
    CurrentLine.accepted = 1;
    SizeTypeLine = CurrentLine;
    return true;
}

void WriteSizeTypeResult(bool found) {
    RecognizerResult.sizeTypeFound = found ? 1 : 0;
    if (found) std::memcpy(RecognizerResult.sizeType, SizeTypeLine.text, SizeTypeLength);
    RecognizerResult.sizeType[found ? SizeTypeLength : 0] = '\0';
}
