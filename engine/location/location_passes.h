// Location passes: the binary image of one threshold becomes a list of segmented text-line
// candidates (LineCandidates), for container-code lines and size/type lines, laid out in rows
// or in columns of stacked characters.
#pragma once

#include "engine/location/line_records.h"
#include "engine/packed_point.h"

// Each pass searches the inclusive region and answers 0 when segmented candidates are left in
// LineCandidates, 1 when none is. VerticalModeFlag must be set for the layout beforehand.
int LocateHorizontalCodeLines(PackedPoint topLeft, PackedPoint bottomRight);
int LocateVerticalCodeLines(PackedPoint topLeft, PackedPoint bottomRight);
int LocateHorizontalTypeLine(PackedPoint topLeft, PackedPoint bottomRight);
int LocateVerticalTypeLine(PackedPoint topLeft, PackedPoint bottomRight);

// Mean of the box centres (left + right) / 2 of the record's boxes; 0 without a box.
int LineCentreX(LineRecord record);
