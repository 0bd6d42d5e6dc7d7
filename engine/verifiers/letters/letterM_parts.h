// Parts of the M templates shared by letterM.cpp and the template kept in a file of its own
// (which a camera build may replace with its own form).
#pragma once

#include <initializer_list>

#include "engine/verifiers/template_tools.h"

// A foot stroke from the lower end up to the junction: the shape among the listed ones,
// heading up, and at least this steep.
bool FootRisesTo(Node foot, Node junction, std::initializer_list<int> shapes, double minSlope);

// An M with three junctions and the stem tops unsplit: the two tops (EL, ER of E0, E1) and the
// three feet (sorted by x) lie in their corners and under the middle.
bool ThreeFootEndsInZones(NodePair tops, const SortedNodes& feet);

// Where the five strokes of that M run to.
struct ThreeFootTargets {
    Node leftTop;
    Node rightTop;
    Node leftFoot;
    Node middleFoot;
    Node rightFoot;
};

// Both tops run straight down, the three feet rise steeply.
bool ThreeFootStrokesFit(NodePair tops, const SortedNodes& feet, const ThreeFootTargets& to);
