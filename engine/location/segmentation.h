// Character segmentation: turns the components of each candidate text line into its
// character boxes, editing the image and asking for a new component search where needed.
#pragma once

#include <cstdint>

#include "engine/location/boxes.h"

inline constexpr int RetriedWideBoxSlots = 100;  // at most 99 are counted

// A wide box that was binarized again at a raised edge threshold in the current run.
struct RetriedWideBox {
    CharBox box;
    std::uint8_t threshold;
};

extern RetriedWideBox RetriedWideBoxes[RetriedWideBoxSlots];
extern std::uint8_t RetriedWideBoxCount;

// Answers of the segmenters.
inline constexpr int SegmentKeep = 0;
inline constexpr int SegmentReject = 1;
inline constexpr int SegmentRedo = 2;   // the image was edited: restore and search again
inline constexpr int SegmentFatal = 3;  // a region was erased: look for bands again

// Raises the retry threshold of a box that is binarized again (an overlapping entry rises by 8,
// a new entry starts 8 above the sweep's threshold) and answers it.
int RaiseWideBoxThreshold(const CharBox& box);

// Segments every candidate, repeating the component search after image edits. 0 done; 2 when
// the pass must restore the image and start again.
int SegmentAllCandidates();
// The same with the size/type driver; a fatal answer stays the candidate's status. 2 only when
// the component search failed.
int SegmentAllTypeCandidates();
// Measures candidate k's characters, collects its line boxes and segments them as a container
// code line (size/type line).
int SegmentCandidateLine(int k);
int SegmentTypeCandidate(int k);
// Edits LineBoxes into character boxes: keep, reject, redo or fatal.
int SegmentCodeLine(int k, int charHeight, int charWidth, int centreLine, int boxGap);
int SegmentTypeCodeLine(int k, int charHeight, int charWidth, int centreLine, int boxGap);
// Their branches for a column of stacked characters (boxes ordered top to bottom).
int SegmentCodeColumn(int charHeight, int charWidth);
int SegmentTypeColumn(int charHeight, int charWidth);
