#include "engine/verifiers/template_tools.h"

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr std::int16_t MarkThreshold = 3;  // ClearMarks threshold that keeps the skeleton
constexpr int FarDistance = 4 * GridSide;  // farther than any two cells of the grid
// Beyond both lists, so that no walk or link starts from an unlisted point.
constexpr int UnlistedIndex = MaxEndpoints + MaxJunctions;

Node NodeOf(const GlyphPoint& p, int index) { return Node{p.x, p.y, index}; }

SortedNodes NoSortedNodes() {
    SortedNodes sorted;
    for (Node& n : sorted.at) n = MissingNode;
    return sorted;
}

// Reads the sort's order of the list indexes lo..hi back into points.
SortedNodes ReadSorted(const GlyphPoint* list, int count, int lo, int hi) {
    SortedNodes sorted = NoSortedNodes();
    for (int k = 0; k <= hi - lo && k < MaxSortedNodes; ++k) {
        const int index = Glyph.SortOrder[k];  // the sorts leave list indexes
        if (index >= lo && index <= hi && index < count) sorted.at[k] = NodeOf(list[index], index);
    }
    return sorted;
}

// Whether lo..hi is a range of the list that the sort can order.
bool IsSortRange(int lo, int hi, int count) { return lo >= 0 && lo <= hi && hi < count && hi - lo < GridSide; }

Stroke Untraced() { return Stroke{false, 0, 0, 0, 0, 0, 0.0F, 0.0F, 0.0F, 0}; }

// The measures of the trace that has just succeeded.
Stroke MeasuredStroke() {
    Stroke s;
    s.traced = true;
    s.shape = ClassifyTraceShape(Glyph.StrokeUnit);
    s.direction = TraceStartDirection(static_cast<std::int16_t>(Glyph.PathPointCount - 1));
    s.earlyDirection = TraceStartDirection(Glyph.StrokeUnit);
    s.lateDirection = TraceEndDirection(Glyph.StrokeUnit);
    s.nearEndDirection = TraceEndDirection(static_cast<std::int16_t>(Glyph.StrokeUnit - 1));
    s.chordDirection = Glyph.ChordDirection;
    s.slope = Glyph.ChordSlope;
    s.lengthRatio = Glyph.PathLengthRatio;
    s.length = Glyph.PathPointCount;
    return s;
}

Stroke TraceBetween(int row1, int col1, int row2, int col2) {
    ClearMarks(MarkThreshold);
    const std::int16_t failed =
        TraceSkeletonPath(static_cast<std::int16_t>(row1), static_cast<std::int16_t>(col1),
                          static_cast<std::int16_t>(row2), static_cast<std::int16_t>(col2));
    return failed == 0 ? MeasuredStroke() : Untraced();
}

}  // namespace

bool IsPresent(Node p) { return p.index >= 0; }

Node UnlistedNode(int x, int y) { return Node{x, y, UnlistedIndex}; }

Node EndNode(int i) {
    if (i < 0 || i >= Glyph.EndpointCount || i >= MaxEndpoints) return MissingNode;
    return NodeOf(Glyph.Endpoints[i], i);
}

Node JunctionNode(int i) {
    if (i < 0 || i >= Glyph.JunctionCount || i >= MaxJunctions) return MissingNode;
    return NodeOf(Glyph.Junctions[i], i);
}

NodePair InXOrder(Node first, Node second) {
    if (first.x < second.x) return NodePair{first, second};
    return NodePair{second, first};
}

SortedNodes EndsByX(int lo, int hi) {
    const int count = Glyph.EndpointCount < MaxEndpoints ? Glyph.EndpointCount : MaxEndpoints;
    if (!IsSortRange(lo, hi, count)) return NoSortedNodes();
    SortEndpointsByX(static_cast<std::int16_t>(lo), static_cast<std::int16_t>(hi));
    return ReadSorted(Glyph.Endpoints, count, lo, hi);
}

SortedNodes JunctionsByX(int lo, int hi) {
    const int count = Glyph.JunctionCount < MaxJunctions ? Glyph.JunctionCount : MaxJunctions;
    if (!IsSortRange(lo, hi, count)) return NoSortedNodes();
    SortJunctionsByX(static_cast<std::int16_t>(lo), static_cast<std::int16_t>(hi));
    return ReadSorted(Glyph.Junctions, count, lo, hi);
}

NodePair SortedPair(const SortedNodes& sorted, int k) {
    if (k < 0 || k + 1 >= MaxSortedNodes) return NodePair{MissingNode, MissingNode};
    return NodePair{sorted.at[k], sorted.at[k + 1]};
}

bool InSet(int value, std::initializer_list<int> set) {
    for (int member : set) {
        if (member == value) return true;
    }
    return false;
}

bool InZone(int n, Node p, std::initializer_list<int> cells) {
    if (!IsPresent(p)) return false;
    return InSet(ZoneIndex(static_cast<std::int16_t>(n), static_cast<std::int16_t>(p.x),
                           static_cast<std::int16_t>(p.y)),
                 cells);
}

bool OnTopRow(Node p) { return IsPresent(p) && p.y <= Glyph.GlyphBox.top; }

bool OnBottomRow(Node p) { return IsPresent(p) && p.y >= Glyph.GlyphBox.bottom; }

bool IsNearTop(Node p) { return IsPresent(p) && p.y <= Glyph.GlyphBox.top + Glyph.HeightUnit; }

bool IsNearBottom(Node p) { return IsPresent(p) && p.y >= Glyph.GlyphBox.bottom - Glyph.HeightUnit; }

int NodeDistance(Node a, Node b) {
    if (!IsPresent(a) || !IsPresent(b)) return FarDistance;
    return RoundedDistance(a.x, a.y, b.x, b.y);
}

bool AreNeighbours(Node a, Node b) {
    if (!IsPresent(a) || !IsPresent(b)) return false;
    const int dx = a.x - b.x;
    const int dy = a.y - b.y;
    return dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

bool HasPrunedSpurInZone5(std::initializer_list<int> cells) {
    for (int k = 0; k < Glyph.PrunedSpurCount && k < MaxPrunedSpurs; ++k) {
        const PrunedSpur& spur = Glyph.PrunedSpurs[k];
        if (InZone5(UnlistedNode(spur.innerCol, spur.innerRow), cells)) return true;
    }
    return false;
}

const HoleBox& LargestHole() { return Glyph.HoleBoxes[0]; }

double HoleRatio(const HoleBox& hole) {
    const double boxArea = static_cast<double>(Glyph.GlyphBox.height) * Glyph.GlyphBox.width;
    return boxArea > 0.0 ? hole.area / boxArea : 0.0;
}

bool HoleSpansBox(const HoleBox& hole) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const bool rows = hole.top <= box.top + 1 && hole.bottom >= box.bottom - 1;
    return rows && hole.left <= box.left + 1 && hole.right >= box.right - 1;
}

bool Stroke::FitsShape(std::initializer_list<int> shapes) const { return traced && InSet(shape, shapes); }

bool Stroke::Fits(std::initializer_list<int> shapes, std::initializer_list<int> directions) const {
    return FitsShape(shapes) && InSet(direction, directions);
}

bool Stroke::FitsSteep(std::initializer_list<int> shapes, std::initializer_list<int> directions,
                       double minSlope) const {
    return Fits(shapes, directions) && slope >= minSlope;
}

bool Stroke::FitsFlat(std::initializer_list<int> shapes, std::initializer_list<int> directions, double maxSlope) const {
    return Fits(shapes, directions) && slope <= maxSlope;
}

bool Stroke::IsRightBow() const {
    return traced && ((shape == 1 && chordDirection >= 0.0F) || (shape == 2 && chordDirection == -1.0F));
}

Stroke TraceStroke(Node from, Node to) {
    if (!IsPresent(from) || !IsPresent(to)) return Untraced();
    return TraceBetween(from.y, from.x, to.y, to.x);
}

Stroke WalkStroke(Node end) {
    if (!IsPresent(end) || end.index >= Glyph.EndpointCount) return Untraced();
    ClearMarks(MarkThreshold);
    WalkFromEndpoint(static_cast<std::int16_t>(end.index));
    const int last = Glyph.WalkLength - 1;
    if (last < 0 || last >= MaxPathPoints) return Untraced();
    return TraceBetween(end.y, end.x, Glyph.PathY[last], Glyph.PathX[last]);
}

Stroke LinkStroke(Node from, Node to) {
    if (!IsPresent(from) || !IsPresent(to)) return Untraced();
    const std::int16_t found = TraceBranchBetweenJunctions(static_cast<std::int16_t>(from.index),
                                                           static_cast<std::int16_t>(to.index));
    // 0 is "not found" whatever the reason; only then do the trace fields not describe the link.
    return found != 0 ? MeasuredStroke() : Untraced();
}

Stroke LinkStrokeOr(Node from, Node to, Node otherwise) {
    const Stroke first = LinkStroke(from, to);
    return first.traced ? first : LinkStroke(from, otherwise);
}

int LateDirectionAt(Node from, Node to, int k) {
    const Stroke s = TraceStroke(from, to);
    return s.traced ? TraceEndDirection(static_cast<std::int16_t>(k)) : 0;
}

bool LinkDriftsRightAtBothEnds(Node from, Node to, int h, int drift) {
    const Stroke link = LinkStroke(from, to);
    const int n = link.length;
    if (!link.traced || h <= 0 || h >= n || n > MaxPathPoints) return false;
    const std::int16_t* x = Glyph.PathX;
    return x[n - 2] > x[n - h] + drift && x[1] < x[h] - drift;
}

bool StraightFeetMeet(NodePair feet, Node junction, double maxSlope) {
    const Stroke left = TraceStroke(feet.left, junction);
    if (!left.Fits({0}, {2}) || left.slope > maxSlope) return false;
    const Stroke right = TraceStroke(feet.right, junction);
    return right.Fits({0}, {1}) && right.slope <= maxSlope;
}

bool StraightArmsMeet(NodePair arms, Node junction, double maxSlope) {
    return TraceStroke(arms.left, junction).FitsFlat({0}, {3}, maxSlope) &&
           TraceStroke(arms.right, junction).FitsFlat({0}, {4}, maxSlope);
}

bool ForkedTopsMeet(const SortedNodes& ends, NodePair junctions) {
    return StraightArmsMeet(SortedPair(ends, 0), junctions.left) &&
           StraightArmsMeet(SortedPair(ends, 2), junctions.right);
}

bool ForkedFeetMeet(const SortedNodes& ends, NodePair junctions) {
    return StraightFeetMeet(SortedPair(ends, 0), junctions.left) &&
           StraightFeetMeet(SortedPair(ends, 2), junctions.right);
}

bool IsCase(int junctions, int ends) { return Glyph.JunctionCount == junctions && Glyph.EndpointCount == ends; }

bool MatchesAny(std::initializer_list<Template> templates) {
    for (Template t : templates) {
        if (t() != 0) return true;
    }
    return false;
}

std::int16_t AcceptFirstMatch(std::initializer_list<Template> templates) {
    constexpr std::int16_t Accepted = 2;
    return MatchesAny(templates) ? Accepted : 0;
}
