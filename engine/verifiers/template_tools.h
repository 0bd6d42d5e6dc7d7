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

// A point of no list (a hole centre, the inner end of a pruned spur) for the zone and box tests:
// present, but a walk or a junction link from it is not found.
Node UnlistedNode(int x, int y);

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
// Sorted points k and k + 1 (from the left) as a pair.
NodePair SortedPair(const SortedNodes& sorted, int k);

bool InSet(int value, std::initializer_list<int> set);

// ZoneIndex of the point in the n x n grid over the skeleton box is one of the cells.
bool InZone(int n, Node p, std::initializer_list<int> cells);
inline bool InZone3(Node p, std::initializer_list<int> cells) { return InZone(3, p, cells); }
inline bool InZone4(Node p, std::initializer_list<int> cells) { return InZone(4, p, cells); }
inline bool InZone5(Node p, std::initializer_list<int> cells) { return InZone(5, p, cells); }

// On (or above) the top row, on (or below) the bottom row of the skeleton box.
bool OnTopRow(Node p);
bool OnBottomRow(Node p);
// Within one HeightUnit of the top row, of the bottom row of the skeleton box.
bool IsNearTop(Node p);
bool IsNearBottom(Node p);

// RoundedDistance between two points; a distance beyond any glyph when one is missing.
int NodeDistance(Node a, Node b);
// Two present points at most one row and one column apart.
bool AreNeighbours(Node a, Node b);

// Whether the inner end of any spur that thinning pruned lies in one of the cells of the 5 x 5
// zone grid (false when nothing was pruned).
bool HasPrunedSpurInZone5(std::initializer_list<int> cells);

// The largest hole (HoleBoxes[0]) and its area over the skeleton box, in double precision.
const HoleBox& LargestHole();
double HoleRatio(const HoleBox& hole);
// The hole comes within one pixel of every side of the skeleton box: a closed ring.
bool HoleSpansBox(const HoleBox& hole);

// What one traced stroke measured, kept so that later traces cannot change it. A stroke that
// was not traced (a failed trace, a link not found, a missing point) fails every test.
struct Stroke {
    bool traced;
    int shape;             // ClassifyTraceShape(StrokeUnit)
    int direction;         // TraceStartDirection of the far end
    int earlyDirection;    // TraceStartDirection(StrokeUnit): the first stroke unit's heading
    int lateDirection;     // TraceEndDirection(StrokeUnit): the last stroke unit seen from the end
    int nearEndDirection;  // TraceEndDirection(StrokeUnit - 1): the same, one step nearer the end
    float chordDirection;
    float slope;
    float lengthRatio;
    int length;  // PathPointCount

    // Traced, with a shape code among the listed ones (a stroke without a direction test).
    bool FitsShape(std::initializer_list<int> shapes) const;
    // Traced, with a shape code and a direction among the listed ones.
    bool Fits(std::initializer_list<int> shapes, std::initializer_list<int> directions) const;
    // Fits, with a ChordSlope of at least minSlope / at most maxSlope.
    bool FitsSteep(std::initializer_list<int> shapes, std::initializer_list<int> directions, double minSlope) const;
    bool FitsFlat(std::initializer_list<int> shapes, std::initializer_list<int> directions, double maxSlope) const;
    // A one-sided bow right of the chord: shape 1 with the lower end right of (or straight
    // below) the upper end, or shape 2 with it left.
    bool IsRightBow() const;
};

// P->Q: the marks of the previous trace cleared, then the skeleton traced from P to Q.
Stroke TraceStroke(Node from, Node to);
// walk(Ek): the walk from end point k, then the stroke from it to the point the walk stopped at.
Stroke WalkStroke(Node end);
// link(Ji, Jj): the branch between two junctions; not traced when it is not found.
Stroke LinkStroke(Node from, Node to);
// link(Ji, Jj), or link(Ji, Jk) when the first branch is not found.
Stroke LinkStrokeOr(Node from, Node to, Node otherwise);

// TraceEndDirection(k) of the stroke P->Q, for the tests that look further back from the far
// end than one stroke unit: the stroke is traced again, so the heading is its own. 0 when it
// is not traced.
int LateDirectionAt(Node from, Node to, int k);

// Whether the path of link(Ji, Jj) drifts right by more than `drift` columns both over its
// first h points and over its last h: path point 1 against point h, and point N - h against
// point N - 2, N being its length. The link is traced again. A drift whose points lie outside
// the path (h = 0, or h >= N) is no drift; a link that is not found has none either.
bool LinkDriftsRightAtBothEnds(Node from, Node to, int h, int drift);

// Two feet meeting a stem at the junction: straight strokes, the left one heading up-right
// (direction 2) to it, the right one up-left (direction 1), neither steeper than maxSlope.
inline constexpr double AnySlope = 1e9;
bool StraightFeetMeet(NodePair feet, Node junction, double maxSlope = AnySlope);
// Two arms (or serif ends) coming down to one junction: straight strokes, the left one heading
// down-right (direction 3) to it, the right one down-left (direction 4).
bool StraightArmsMeet(NodePair arms, Node junction, double maxSlope = AnySlope);
// Two forked tips of four ends sorted by x: ends 0 and 1 meet the left junction, ends 2 and 3
// the right one, as arms from above (ForkedTopsMeet) or as feet from below (ForkedFeetMeet).
bool ForkedTopsMeet(const SortedNodes& ends, NodePair junctions);
bool ForkedFeetMeet(const SortedNodes& ends, NodePair junctions);

// The group's case: its junction and end-point counts.
bool IsCase(int junctions, int ends);

// A template answers 1 when the glyph has its shape; the group accepts (2) at the first one
// that does, in the listed order.
using Template = std::int16_t (*)();
std::int16_t AcceptFirstMatch(std::initializer_list<Template> templates);
// Whether any of the templates answers 1, tried in the listed order up to the first that does.
bool MatchesAny(std::initializer_list<Template> templates);
