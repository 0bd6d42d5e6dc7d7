// Pieces shared by the letter templates: the open bow of C and of the E whose middle bar
// thinned away, the bars and arms of E and F, the stem links of B, E, F and H.
#pragma once

#include <initializer_list>

#include "engine/verifiers/template_tools.h"

// A stroke from P to Q: one of the shapes and directions, its slope within minSlope..maxSlope.
bool StrokeFits(Node from, Node to, std::initializer_list<int> shapes, std::initializer_list<int> directions,
                double minSlope = 0.0, double maxSlope = AnySlope);
// Straight links between two junctions: a stem piece heading down, at least minSlope steep, and
// a bar heading right, at most maxSlope steep.
bool StemLinkFits(Node from, Node to, double minSlope);
bool BarLinkFits(Node from, Node to, double maxSlope);
// How steep the stem pieces of B and H stand at least.
inline constexpr double SteepStem = 2.2;

// The upper arm drawn in from its end: a bow to the left, heading down-left into the junction.
bool UpperArmFits(Node end, Node junction);
// The middle bar drawn in from its end: straight or bowed, up- or down-left into the junction,
// no steeper than maxSlope.
bool MiddleBarFits(Node end, Node junction, double maxSlope);
// The top bar's two ends: the left one straight down-right into the corner, the right one
// straight or bowed, heading left into it, no steeper than maxSlope.
bool TopBarFits(NodePair top, Node corner, double maxSlope);

// The open bow from end point 0 to end point 1 that C and the E without a middle bar share:
// both ends in the right half of the box, the upper one in its upper half and the lower one in
// its lower half; a bow (shape 1 with the lower end left of the upper one, or shape 2, 9, 10 or
// 15) heading down, neither starting off down-right nor arriving from the upper right. A
// stroke that is not traced when any of that fails.
Stroke OpenBow();
// A spur that thinning pruned at the middle left of the box: the stub of an E's middle bar on a
// bow that would otherwise read as C.
bool HasMiddleBarSpur();
