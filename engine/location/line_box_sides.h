// Short names for the sides of the line boxes being segmented, for the segmenters' rules:
// box i has left L(i), top T(i), right R(i) and bottom B(i), all inclusive.
#pragma once

#include <algorithm>

#include "engine/location/line_boxes.h"

namespace line_box_sides {

inline int Count() { return LineBoxCount; }
inline int Last() { return Count() - 1; }
inline int L(int i) { return LineBoxes[i].left; }
inline int T(int i) { return LineBoxes[i].top; }
inline int R(int i) { return LineBoxes[i].right; }
inline int B(int i) { return LineBoxes[i].bottom; }
inline int InclusiveWidth(int i) { return R(i) - L(i) + 1; }
inline int InclusiveHeight(int i) { return B(i) - T(i) + 1; }
// Inclusive height over inclusive width, an integer quotient truncated toward zero as the
// rules take their quotients; never a division by zero.
inline int HeightOverWidth(int i) { return InclusiveHeight(i) / std::max(InclusiveWidth(i), 1); }

}  // namespace line_box_sides
