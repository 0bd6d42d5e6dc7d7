// The vocabulary every character template is written in: named skeleton points, zone and set
// tests, hole tests, and strokes (traces, walks and junction links) with what they measured.
//
// Rules every template keeps, so that none can read stale or outside data:
//   - Points are named through EndNode / JunctionNode, InXOrder and the sorts below; a point the
//     glyph does not have is MissingNode, which fails every zone, row and stroke test.
//   - A sort hands the template its own copy of the points in x order (SortedNodes). A template
//     never reads SortOrder itself: a second sort in the same template would overwrite it, and
//     the roles named from the first sort would silently come from the second.
//   - Every stroke test clears the marks of the previous trace, traces, and keeps what it
//     measured in a Stroke; a template never reads PathX / PathY or the chord fields itself.
//   - A junction link that TraceBranchBetweenJunctions does not find (any answer 0, also when the
//     trace along the branch failed) is a Stroke that is not traced; the junction-distance
//     fallbacks of the tables (AreNeighbours, a column distance) test exactly that.
//   - Profiles and grid cells are read through profiles.h (0 outside the glyph, "set" = value 1).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/glyph/glyph_record.h"

// A skeleton point named by a template, with its index in its own list (end points or
// junctions); index -1 marks a point the glyph does not have.
struct Node {
    int x;
    int y;
    int index;
};

inline constexpr Node MissingNode{-1, -1, -1};

bool IsPresent(Node p);

// End point i and junction i in raster order (E_i, J_i).
Node EndNode(int i);
Node JunctionNode(int i);

// Two points in x order by a direct comparison: the first is the left one only when it lies
// strictly left of the second, so a tie makes the later-listed point the left one.
struct NodePair {
    Node left;
    Node right;
};
NodePair InXOrder(Node first, Node second);

// Points lo..hi of one list in x order (SortEndpointsByX / SortJunctionsByX: ties keep list
// order), copied out of SortOrder at once. at[k] is the k-th from the left (Es_k, Js_k); slots
// past hi - lo, and every slot of a range the glyph does not have, hold MissingNode.
inline constexpr int MaxSortedNodes = 8;
struct SortedNodes {
    Node at[MaxSortedNodes];
};
SortedNodes EndsByX(int lo, int hi);
SortedNodes JunctionsByX(int lo, int hi);

bool InSet(int value, std::initializer_list<int> set);

// ZoneIndex of the point in the n x n grid over the skeleton box is one of the cells.
bool InZone(int n, Node p, std::initializer_list<int> cells);
inline bool InZone3(Node p, std::initializer_list<int> cells) { return InZone(3, p, cells); }
inline bool InZone5(Node p, std::initializer_list<int> cells) { return InZone(5, p, cells); }

// On (or above) the top row, on (or below) the bottom row of the skeleton box.
bool OnTopRow(Node p);
bool OnBottomRow(Node p);

// RoundedDistance between two points; a distance beyond any glyph when one is missing.
int NodeDistance(Node a, Node b);
// Two present points at most one row and one column apart.
bool AreNeighbours(Node a, Node b);

// The largest hole (HoleBoxes[0]) and its area over the skeleton box, in double precision.
const HoleBox& LargestHole();
double HoleRatio(const HoleBox& hole);
// The hole comes within one pixel of every side of the skeleton box: a closed ring.
bool HoleSpansBox(const HoleBox& hole);

// What one traced stroke measured, kept so that later traces cannot change it. A stroke that
// was not traced (a failed trace, a link not found, a missing point) fails every test.
struct Stroke {
    bool traced;
    int shape;           // ClassifyTraceShape(StrokeUnit)
    int direction;       // TraceStartDirection of the far end
    int earlyDirection;  // TraceStartDirection(StrokeUnit): the first stroke unit's heading
    int lateDirection;   // TraceEndDirection(StrokeUnit): the last stroke unit seen from the end
    float chordDirection;
    float slope;
    float lengthRatio;
    int length;  // PathPointCount

    // Traced, with a shape code among the listed ones (a stroke without a direction test).
    bool FitsShape(std::initializer_list<int> shapes) const;
    // Traced, with a shape code and a direction among the listed ones.
    bool Fits(std::initializer_list<int> shapes, std::initializer_list<int> directions) const;
    // A one-sided bow right of the chord: shape 1 with the lower end right of (or straight
    // below) the upper end, or shape 2 with it left.
    bool IsRightBow() const;
    // A one-sided bow left of the chord: shape 2 with the lower end right of the upper end, or
    // shape 1 with it straight below or left.
    bool IsLeftBow() const;
};

// P->Q: the marks of the previous trace cleared, then the skeleton traced from P to Q.
Stroke TraceStroke(Node from, Node to);
// walk(Ek): the walk from end point k, then the stroke from it to the point the walk stopped at.
Stroke WalkStroke(Node end);
// link(Ji, Jj): the branch between two junctions; not traced when it is not found.
Stroke LinkStroke(Node from, Node to);
// link(Ji, Jj), or link(Ji, Jk) when the first branch is not found.
Stroke LinkStrokeOr(Node from, Node to, Node otherwise);

// Two feet meeting a stem at the junction: straight strokes, the left one heading up-right
// (direction 2) to it, the right one up-left (direction 1), neither steeper than maxSlope.
inline constexpr double AnySlope = 1e9;
bool StraightFeetMeet(NodePair feet, Node junction, double maxSlope = AnySlope);

// The group's case: its junction and end-point counts.
bool IsCase(int junctions, int ends);

// A template answers 1 when the glyph has its shape; the group accepts (2) at the first one
// that does, in the listed order.
using Template = std::int16_t (*)();
std::int16_t AcceptFirstMatch(std::initializer_list<Template> templates);
