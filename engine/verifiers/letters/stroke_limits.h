// Limits on one traced stroke or junction link as the letter templates state them: its shape
// and direction sets together with a floor or a ceiling on the slope of its chord.
#pragma once

#include <initializer_list>

#include "engine/verifiers/template_tools.h"

// Traced, with a listed shape and direction, and at least this steep.
inline bool FitsSteep(const Stroke& s, std::initializer_list<int> shapes, std::initializer_list<int> directions,
                      double minSlope) {
    return s.Fits(shapes, directions) && s.slope >= minSlope;
}

// Traced, with a listed shape and direction, and at most this steep.
inline bool FitsFlat(const Stroke& s, std::initializer_list<int> shapes, std::initializer_list<int> directions,
                     double maxSlope) {
    return s.Fits(shapes, directions) && s.slope <= maxSlope;
}

// The two straight spurs of a split upper tip meeting in the tip's junction below them: the
// left one heads down-right, the right one down-left.
inline bool TipSpursMeet(Node left, Node right, Node junction) {
    return TraceStroke(left, junction).Fits({0}, {3}) && TraceStroke(right, junction).Fits({0}, {4});
}

// A straight stroke from a lower point up to a junction, at least this steep.
inline bool StraightRise(Node from, Node junction, double minSlope) {
    return FitsSteep(TraceStroke(from, junction), {0}, {1, 2}, minSlope);
}
