// What the recognition pipelines of both cameras share: the threshold sweep around a base, the
// binarization each of its steps starts from, the lines they keep, and the reading of a located
// size/type candidate.
#pragma once

#include <cstdint>

#include "engine/camera.h"
#include "engine/location/line_records.h"
#include "engine/packed_point.h"

// Neighbouring steps of a sweep lie this many levels apart.
inline constexpr int SweepThresholdStride = CameraNumber == 1 ? 6 : 5;

extern LineRecord FoundCodeLine;  // an accepted one-line (or, on camera 2, vertical) number
extern LineRecord SizeTypeLine;   // the accepted size/type code

// The work of one threshold of a sweep: true once it has accepted what it looks for.
using SweepStepRoutine = bool (*)(PackedPoint topLeft, PackedPoint bottomRight);

// Tries base + stride x step for the steps 0, 1, -1, 2, -2, ..., 13, -13, skipping thresholds
// outside low..high. Before each try SweepStep and CurrentThreshold are set. Answers true as
// soon as a try does.
bool SweepThresholds(int base, int low, int high, SweepStepRoutine tryThreshold, PackedPoint topLeft,
                     PackedPoint bottomRight);

// Binarizes the edge image of the region at CurrentThreshold and takes the two copies the
// location passes restore from; writes the debug image when asked.
void BinarizeForLocation(PackedPoint topLeft, PackedPoint bottomRight);

// The located candidates in use, within the table.
int CandidatesInUse();

// True when the first ten characters of the text carry its 11th as their check digit.
bool CheckDigitMatches(const char* text);

// Removes the boxes of candidate k left of its widest gap (none when no gap is positive).
void CutBeforeWidestGap(int k);

// A candidate of exactly 4 boxes is read as a size/type code; a reading that agrees with an
// accepted code in at least three places goes into SizeTypeLine. True when it did.
bool ReadSizeTypeCandidate(int k);

// The size/type fields of RecognizerResult: the text of SizeTypeLine when found, else empty.
void WriteSizeTypeResult(bool found);
