// Line candidates (located text lines with their character boxes) and the line record that
// the reading code fills from one of them.
#pragma once

#include <cstdint>

#include "engine/location/boxes.h"
#include "engine/location/components.h"

inline constexpr int CandidateSlots = 80;       // at most 79 are counted
inline constexpr int CandidateBoxSlots = 64;
inline constexpr int LineRecordBoxSlots = 16;

// Status of a candidate.
inline constexpr std::uint8_t CandidatePending = 0;
inline constexpr std::uint8_t CandidateSkip = 1;
inline constexpr std::uint8_t CandidateRedo = 2;
inline constexpr std::uint8_t CandidateFatal = 3;

struct LineCandidate {
    CharBox rect;
    std::int16_t firstComponent;
    std::int16_t lastComponent;
    std::int8_t charCount;
    CharBox boxes[CandidateBoxSlots];
    ComponentRange boxComponents[CandidateBoxSlots];
    std::uint8_t status;
    std::int16_t charHeight;
    std::int16_t charWidth;
    std::int16_t centreLine;
    std::int16_t boxGap;
    std::uint8_t cleanResult;
    std::int16_t retryCount;
};

struct LineRecord {
    std::int8_t charCount;
    CharBox boxes[LineRecordBoxSlots];
    std::uint8_t polarity[LineRecordBoxSlots];   // InkBrighter or InkDarker
    std::uint8_t threshold[LineRecordBoxSlots];  // gray threshold per character
    std::uint8_t status[LineRecordBoxSlots];
    char text[LineRecordBoxSlots];
    std::uint8_t accepted;
    std::int16_t charHeight;
    std::int16_t charWidth;
    std::uint8_t thresholdUsed;
};

extern LineCandidate LineCandidates[CandidateSlots];
extern std::int16_t LineCandidateCount;
extern LineRecord CurrentLine;

inline std::uint8_t (&CharPolarity)[LineRecordBoxSlots] = CurrentLine.polarity;
inline std::uint8_t (&CharThreshold)[LineRecordBoxSlots] = CurrentLine.threshold;

// Drops every candidate whose status is CandidateSkip, keeping the order of the others.
void RemoveFlaggedCandidates();
// Removes box i of candidate k with its component range. Answers 0.
int RemoveCandidateBox(int k, int i);
// Index i of the largest gap box[i].left - box[i - 1].right of candidate k (the first of equal
// gaps); 0 when no gap is positive.
int FindWidestBoxGap(int k);
// Fills CurrentLine's boxes, character height and width, gray thresholds and polarity from
// candidate k.
void LoadCandidateIntoLine(int k);
// Mean inclusive width of boxes first..last of CurrentLine, leaving out index skip.
int MeanBoxWidth(int first, int last, int skip);
// Stretches middle box i of CurrentLine to the top and bottom of its neighbours when it falls
// more than 2 short of them.
void ExtendBoxToNeighbours(int i);
// Evens out the boxes of CurrentLine.
void RegularizeCharBoxes();
// Rebuilds BinaryImage inside the boxes of CurrentLine from WorkImage with per-box thresholds.
void BinarizeCharBoxes();
