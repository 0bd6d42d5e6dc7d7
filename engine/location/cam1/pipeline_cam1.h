// The camera-1 recognition pipeline: the rear photo's number is read as one horizontal line of
// 11 characters with the camera's own sweep constants, and its size/type code in a band below it.
#pragma once

#include "engine/location/boxes.h"
#include "engine/location/line_records.h"

// Where the size/type code is looked for below an accepted number: from the left of box 0 to
// the right of box 8, from the middle of the bottoms of boxes 0 and 9 down two character
// heights; the part inside the frame.
FrameRegion SizeTypeRegionBelow(const LineRecord& number);

// A located size/type candidate of 5 to 8 boxes loses the boxes that stand in the gap between
// the owner code and the serial number of FoundCodeLine, then, while more than 4 are left,
// those before its widest gap.
void TrimSizeTypeCandidate(int k);
