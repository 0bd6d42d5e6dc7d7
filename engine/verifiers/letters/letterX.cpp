#include <cstdlib>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

// The crossing of an X always reaches the verifier as two three-way junctions a little apart;
// every further junction and end comes from a forked arm tip. In the names below the upper ends
// are Es (sorted by x), the lower ends Fs.

namespace {

// A straight stroke heading this way.
bool Straight(Node from, Node to, int direction) { return TraceStroke(from, to).Fits({0}, {direction}); }
bool StraightLink(Node from, Node to, int direction) { return LinkStroke(from, to).Fits({0}, {direction}); }

// The chord of the stroke does not run leftward (ChordDirection +1 or 0).
bool RunsNotLeft(const Stroke& s) { return s.chordDirection == 1.0F || s.chordDirection == 0.0F; }

constexpr int MaxXJunctions = 6;

// The points of an X: the upper ends (list indexes 0 to upperLast) and the lower ends (the rest
// up to lowerLast), each sorted by x and read back at once, and the junctions in list order.
struct XPoints {
    SortedNodes upper;
    SortedNodes lower;
    Node j[MaxXJunctions];
};

XPoints NameXPoints(int upperLast, int lowerLast) {
    XPoints p{EndsByX(0, upperLast), EndsByX(upperLast + 1, lowerLast), {}};
    for (int k = 0; k < MaxXJunctions; ++k) p.j[k] = JunctionNode(k);
    return p;
}

// The four arms walked from their ends to the crossing.
std::int16_t MatchX_H0B2E4a() {
    const NodePair upper = InXOrder(EndNode(0), EndNode(1));
    const NodePair lower = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(JunctionNode(0), {6, 7, 11, 12, 17}) || !InZone3(JunctionNode(1), {4, 5, 7})) return 0;
    if (!InZone4(upper.left, {0, 1}) || !InZone4(upper.right, {2, 3})) return 0;
    if (!InZone4(lower.left, {12, 13}) || !InZone4(lower.right, {14, 15})) return 0;
    if (!OnTopRow(EndNode(0)) || !OnBottomRow(EndNode(3))) return 0;
    if (!WalkStroke(upper.left).Fits({0, 2}, {3}) || !WalkStroke(upper.right).Fits({0, 2}, {4})) return 0;
    if (!WalkStroke(lower.left).Fits({0, 1}, {2})) return 0;
    const Stroke lowerRight = WalkStroke(lower.right);
    return lowerRight.Fits({0, 1}, {1, 2}) && RunsNotLeft(lowerRight) ? 1 : 0;
}

// Upper-left tip forked.
std::int16_t MatchX_H0B3E5a() {
    const SortedNodes upper = EndsByX(0, 2);
    const NodePair lower = InXOrder(EndNode(3), EndNode(4));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    if (!InZone5(j0, {0, 1}) || !InZone5(j1, {7, 12}) || !InZone5(j2, {12})) return 0;
    if (!InZone5(upper.at[0], {0}) || !InZone4(upper.at[1], {1, 2}) || !InZone5(upper.at[2], {3, 4})) return 0;
    if (!InZone5(lower.left, {20, 21}) || !InZone4(lower.right, {14, 15})) return 0;
    if (!StraightArmsMeet(SortedPair(upper, 0), j0) || !TraceStroke(upper.at[2], j1).Fits({0, 2}, {4})) return 0;
    if (!TraceStroke(lower.left, j2).Fits({0, 1}, {2})) return 0;
    const Stroke lowerRight = TraceStroke(lower.right, j2);
    if (!lowerRight.Fits({0, 1}, {1}) || !RunsNotLeft(lowerRight)) return 0;
    return StraightLink(j0, j1, 3) ? 1 : 0;
}

// Lower-left tip forked.
std::int16_t MatchX_H0B3E5b() {
    const XPoints p = NameXPoints(1, 4);
    if (!InZone3(p.j[0], {4}) || !InZone3(p.j[1], {4}) || !InZone5(p.j[2], {20, 21})) return 0;
    if (!InZone5(p.upper.at[0], {0, 2}) || !InZone5(p.upper.at[1], {3, 4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone3(p.lower.at[1], {6, 7}) || !InZone5(p.lower.at[2], {24})) return 0;
    if (!TraceStroke(p.upper.at[0], p.j[0]).Fits({0, 2}, {3}) ||
        !TraceStroke(p.upper.at[1], p.j[0]).Fits({0, 2}, {4})) {
        return 0;
    }
    if (!StraightFeetMeet(SortedPair(p.lower, 0), p.j[2]) || !Straight(p.lower.at[2], p.j[1], 1)) return 0;
    return StraightLink(p.j[1], p.j[2], 4) ? 1 : 0;
}

// Upper-right tip forked: its two short prongs, each at most half the upper-left arm.
std::int16_t MatchX_H0B3E5c() {
    const XPoints p = NameXPoints(2, 4);
    if (!InZone3(p.j[0], {2}) || !InZone3(p.j[1], {4}) || !InZone3(p.j[2], {4})) return 0;
    if (!InZone5(p.upper.at[0], {0}) || !InZone5(p.upper.at[1], {3}) || !InZone5(p.upper.at[2], {4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {24})) return 0;
    const Stroke arm = TraceStroke(p.upper.at[0], p.j[1]);
    if (!arm.Fits({0}, {3})) return 0;
    const Stroke prong = TraceStroke(p.upper.at[1], p.j[0]);
    if (!prong.Fits({0}, {3}) || 2 * prong.length > arm.length) return 0;
    const Stroke otherProng = TraceStroke(p.upper.at[2], p.j[0]);
    if (!otherProng.Fits({0}, {4}) || 2 * otherProng.length > arm.length) return 0;
    const Stroke lowerLeft = TraceStroke(p.lower.at[0], p.j[2]);
    if (!lowerLeft.Fits({0}, {2}) || lowerLeft.length < 2 * prong.length) return 0;
    const Stroke lowerRight = TraceStroke(p.lower.at[1], p.j[2]);
    if (!lowerRight.Fits({0}, {1}) || lowerRight.length < 2 * prong.length) return 0;
    return StraightLink(p.j[0], p.j[1], 4) ? 1 : 0;
}

// Lower-right tip forked: its prongs no longer than the upper-right arm.
std::int16_t MatchX_H0B3E5d() {
    const int minArm = 2 * Glyph.StrokeUnit;
    const XPoints p = NameXPoints(1, 4);
    if (!InZone5(p.j[0], {6, 7, 11, 12}) || !InZone5(p.j[1], {11, 12, 16}) || !InZone5(p.j[2], {23, 24})) return 0;
    if (!InZone5(p.upper.at[0], {0, 1, 2}) || !InZone5(p.upper.at[1], {2, 3, 4})) return 0;
    if (!InZone5(p.lower.at[0], {20, 21}) || !InZone5(p.lower.at[1], {22, 23}) || !InZone5(p.lower.at[2], {24})) {
        return 0;
    }
    const Stroke upperLeft = TraceStroke(p.upper.at[0], p.j[0]);
    if (!upperLeft.Fits({0, 2}, {3}) || upperLeft.length < minArm) return 0;
    const Stroke upperRight = TraceStroke(p.upper.at[1], p.j[0]);
    if (!upperRight.Fits({0, 2}, {4}) || upperRight.length < minArm) return 0;
    const Stroke lowerLeft = TraceStroke(p.lower.at[0], p.j[1]);
    if (!lowerLeft.Fits({0}, {2}) || lowerLeft.length < minArm) return 0;
    const Stroke prong = TraceStroke(p.lower.at[1], p.j[2]);
    if (!prong.Fits({0}, {2}) || prong.length > upperRight.length) return 0;
    const Stroke otherProng = TraceStroke(p.lower.at[2], p.j[2]);
    if (!otherProng.Fits({0}, {1}) || otherProng.length > upperRight.length) return 0;
    return StraightLink(p.j[1], p.j[2], 3) ? 1 : 0;
}

// Upper-left and lower-right tips forked.
std::int16_t MatchX_H0B4E6a() {
    const XPoints p = NameXPoints(2, 5);
    if (!InZone5(p.j[0], {1}) || !InZone5(p.j[1], {7, 12}) || !InZone5(p.j[2], {12}) || !InZone5(p.j[3], {23})) {
        return 0;
    }
    if (!InZone5(p.upper.at[0], {0}) || !InZone4(p.upper.at[1], {1, 2}) || !InZone5(p.upper.at[2], {4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone4(p.lower.at[1], {14}) || !InZone5(p.lower.at[2], {24})) return 0;
    if (!StraightArmsMeet(SortedPair(p.upper, 0), p.j[0]) || !Straight(p.upper.at[2], p.j[1], 4)) return 0;
    if (!Straight(p.lower.at[0], p.j[2], 2) || !StraightFeetMeet(SortedPair(p.lower, 1), p.j[3])) return 0;
    return StraightLink(p.j[0], p.j[1], 3) && StraightLink(p.j[2], p.j[3], 3) ? 1 : 0;
}

// Upper-left and lower-left tips forked.
std::int16_t MatchX_H0B4E6b() {
    const XPoints p = NameXPoints(2, 5);
    if (!InZone5(p.j[0], {0, 1}) || !InZone5(p.j[1], {7, 12}) || !InZone5(p.j[2], {12}) || !InZone5(p.j[3], {20, 21})) {
        return 0;
    }
    if (!InZone5(p.upper.at[0], {0}) || !InZone5(p.upper.at[1], {1, 2}) || !InZone5(p.upper.at[2], {3, 4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {21, 22}) || !InZone5(p.lower.at[2], {24})) return 0;
    if (!StraightArmsMeet(SortedPair(p.upper, 0), p.j[0]) || !TraceStroke(p.upper.at[2], p.j[1]).Fits({0, 2}, {4})) {
        return 0;
    }
    if (!StraightFeetMeet(SortedPair(p.lower, 0), p.j[3]) || !Straight(p.lower.at[2], p.j[2], 1)) return 0;
    return StraightLink(p.j[0], p.j[1], 3) && StraightLink(p.j[2], p.j[3], 4) ? 1 : 0;
}

// Upper-right and lower-left tips forked: each fork's prongs at most half its arm's length.
std::int16_t MatchX_H0B4E6c() {
    const XPoints p = NameXPoints(2, 5);
    if (!InZone5(p.j[0], {3, 4}) || !InZone5(p.j[1], {7, 12}) || !InZone5(p.j[2], {12}) || !InZone5(p.j[3], {20, 21})) {
        return 0;
    }
    if (!InZone5(p.upper.at[0], {0, 1, 2}) || !InZone5(p.upper.at[1], {2, 3}) || !InZone5(p.upper.at[2], {4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {21, 22}) || !InZone5(p.lower.at[2], {24})) return 0;
    const Stroke upperLeft = TraceStroke(p.upper.at[0], p.j[1]);
    if (!upperLeft.Fits({0}, {3})) return 0;
    const Stroke prong = TraceStroke(p.upper.at[1], p.j[0]);
    if (!prong.Fits({0}, {3})) return 0;
    const Stroke otherProng = TraceStroke(p.upper.at[2], p.j[0]);
    if (!otherProng.Fits({0}, {4})) return 0;
    if (upperLeft.length < 2 * prong.length || upperLeft.length < 2 * otherProng.length) return 0;
    const Stroke footProng = TraceStroke(p.lower.at[0], p.j[3]);
    if (!footProng.Fits({0}, {2})) return 0;
    const Stroke otherFootProng = TraceStroke(p.lower.at[1], p.j[3]);
    if (!otherFootProng.Fits({0}, {1})) return 0;
    const Stroke lowerRight = TraceStroke(p.lower.at[2], p.j[2]);
    if (!lowerRight.Fits({0}, {1})) return 0;
    if (lowerRight.length < 2 * footProng.length || lowerRight.length < 2 * otherFootProng.length) return 0;
    return StraightLink(p.j[0], p.j[1], 4) && StraightLink(p.j[2], p.j[3], 4) ? 1 : 0;
}

// A straight prong of a forked tip, at most half as long as the arm.
bool ShortProng(Node end, Node fork, int direction, const Stroke& arm) {
    const Stroke prong = TraceStroke(end, fork);
    return prong.Fits({0}, {direction}) && 2 * prong.length <= arm.length;
}

// Both lower tips forked: the prongs at most half the upper arm on their side, and the two
// upper arms of about one length.
std::int16_t MatchX_H0B4E6d() {
    const NodePair upper = InXOrder(EndNode(0), EndNode(1));
    const NodePair forks = InXOrder(JunctionNode(2), JunctionNode(3));
    const SortedNodes lower = EndsByX(2, 5);
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone5(j0, {6, 7, 12}) || !InZone5(j1, {12, 17})) return 0;
    if (!InZone5(forks.left, {20, 21}) || !InZone5(forks.right, {23, 24})) return 0;
    if (!InZone5(upper.left, {0, 1, 2}) || !InZone5(upper.right, {2, 3, 4})) return 0;
    if (!InZone5(lower.at[0], {20}) || !InZone5(lower.at[1], {21, 22}) || !InZone5(lower.at[2], {22, 23})) return 0;
    if (!InZone5(lower.at[3], {24})) return 0;
    const Stroke upperLeft = TraceStroke(upper.left, j0);
    if (!upperLeft.Fits({0, 2}, {3})) return 0;
    const Stroke upperRight = TraceStroke(upper.right, j0);
    if (!upperRight.Fits({0, 2}, {4}) || std::abs(upperLeft.length - upperRight.length) > upperLeft.length / 2) {
        return 0;
    }
    if (!ShortProng(lower.at[0], forks.left, 2, upperLeft) || !ShortProng(lower.at[1], forks.left, 1, upperLeft)) {
        return 0;
    }
    if (!ShortProng(lower.at[2], forks.right, 2, upperRight) || !ShortProng(lower.at[3], forks.right, 1, upperRight)) {
        return 0;
    }
    return StraightLink(j1, forks.left, 4) && StraightLink(j1, forks.right, 3) ? 1 : 0;
}

// Both upper tips forked: short prongs, the lower arms at least twice as long.
std::int16_t MatchX_H0B4E6e() {
    const int maxProng = 3 * Glyph.StrokeUnit;
    const NodePair forks = InXOrder(JunctionNode(0), JunctionNode(1));
    const SortedNodes upper = EndsByX(0, 3);
    const NodePair lower = InXOrder(EndNode(4), EndNode(5));
    const Node j2 = JunctionNode(2);
    const Node j3 = JunctionNode(3);
    if (!InZone5(forks.left, {0, 1}) || !InZone5(forks.right, {3, 4}) || !InZone5(j2, {7, 12}) || !InZone5(j3, {12})) {
        return 0;
    }
    if (!InZone5(upper.at[0], {0}) || !InZone5(upper.at[1], {1, 2}) || !InZone5(upper.at[2], {2, 3})) return 0;
    if (!InZone5(upper.at[3], {4}) || !InZone5(lower.left, {20, 21, 22}) || !InZone5(lower.right, {22, 23, 24})) {
        return 0;
    }
    const Stroke leftProng = TraceStroke(upper.at[0], forks.left);
    if (!leftProng.Fits({0}, {3}) || leftProng.length > maxProng) return 0;
    const Stroke second = TraceStroke(upper.at[1], forks.left);
    if (!second.Fits({0}, {4}) || second.length > maxProng) return 0;
    const Stroke third = TraceStroke(upper.at[2], forks.right);
    if (!third.Fits({0}, {3}) || third.length > maxProng) return 0;
    const Stroke rightProng = TraceStroke(upper.at[3], forks.right);
    if (!rightProng.Fits({0}, {4}) || rightProng.length > maxProng) return 0;
    const Stroke lowerLeft = TraceStroke(lower.left, j3);
    if (!lowerLeft.Fits({0, 1}, {2}) || lowerLeft.length < 2 * leftProng.length) return 0;
    const Stroke lowerRight = TraceStroke(lower.right, j3);
    if (!lowerRight.Fits({0, 1}, {1}) || lowerRight.length < 2 * rightProng.length) return 0;
    const Stroke leftLink = LinkStroke(forks.left, j2);
    if (!leftLink.Fits({0}, {3}) || leftLink.length < leftProng.length) return 0;
    const Stroke rightLink = LinkStroke(forks.right, j2);
    return rightLink.Fits({0}, {4}) && rightLink.length >= rightProng.length ? 1 : 0;
}

// Upper-right and lower-right tips forked.
std::int16_t MatchX_H0B4E6f() {
    const XPoints p = NameXPoints(2, 5);
    if (!InZone5(p.j[0], {3, 4}) || !InZone5(p.j[1], {7, 11, 12}) || !InZone5(p.j[2], {11, 12}) ||
        !InZone5(p.j[3], {23, 24})) {
        return 0;
    }
    if (!InZone5(p.upper.at[0], {0, 1}) || !InZone5(p.upper.at[1], {2, 3}) || !InZone5(p.upper.at[2], {4})) return 0;
    if (!InZone5(p.lower.at[0], {20, 21}) || !InZone5(p.lower.at[1], {22, 23}) || !InZone5(p.lower.at[2], {24})) {
        return 0;
    }
    if (!TraceStroke(p.upper.at[0], p.j[1]).Fits({0, 2}, {3}) ||
        !TraceStroke(p.upper.at[1], p.j[0]).Fits({0, 2}, {3})) {
        return 0;
    }
    if (!Straight(p.upper.at[2], p.j[0], 4) || !TraceStroke(p.lower.at[0], p.j[2]).Fits({0, 1}, {2})) return 0;
    if (!StraightFeetMeet(SortedPair(p.lower, 1), p.j[3])) return 0;
    return StraightLink(p.j[0], p.j[1], 4) && StraightLink(p.j[2], p.j[3], 3) ? 1 : 0;
}

// Upper-left, upper-right and lower-right tips forked.
std::int16_t MatchX_H0B5E7a() {
    const NodePair forks = InXOrder(JunctionNode(0), JunctionNode(1));
    const XPoints p = NameXPoints(3, 6);
    if (!InZone5(forks.left, {0, 1}) || !InZone5(forks.right, {3})) return 0;
    if (!InZone3(p.j[2], {4}) || !InZone3(p.j[3], {4}) || !InZone5(p.j[4], {23})) return 0;
    if (!InZone5(p.upper.at[0], {0}) || !InZone4(p.upper.at[1], {1, 2}) || !InZone4(p.upper.at[2], {2})) return 0;
    if (!InZone5(p.upper.at[3], {4}) || !InZone5(p.lower.at[0], {20}) || !InZone4(p.lower.at[1], {13, 14})) return 0;
    if (!InZone5(p.lower.at[2], {24})) return 0;
    if (!ForkedTopsMeet(p.upper, forks)) return 0;
    const Stroke lowerLeft = TraceStroke(p.lower.at[0], p.j[3]);
    if (!lowerLeft.Fits({0, 1}, {2}) || lowerLeft.chordDirection != -1.0F) return 0;
    if (!StraightFeetMeet(SortedPair(p.lower, 1), p.j[4])) return 0;
    if (!StraightLink(forks.left, p.j[2], 3) || !StraightLink(forks.right, p.j[2], 4)) return 0;
    return StraightLink(p.j[3], p.j[4], 3) ? 1 : 0;
}

// Upper-right and both lower tips forked.
std::int16_t MatchX_H0B5E7b() {
    const NodePair forks = InXOrder(JunctionNode(3), JunctionNode(4));
    const XPoints p = NameXPoints(2, 6);
    if (!InZone5(p.j[0], {3, 4}) || !InZone5(p.j[1], {12}) || !InZone5(p.j[2], {12})) return 0;
    if (!InZone5(forks.left, {20, 21}) || !InZone5(forks.right, {23, 24})) return 0;
    if (!InZone5(p.upper.at[0], {0, 1}) || !InZone5(p.upper.at[1], {2, 3}) || !InZone5(p.upper.at[2], {4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {21}) || !InZone5(p.lower.at[2], {22, 23})) return 0;
    if (!InZone5(p.lower.at[3], {24})) return 0;
    if (!TraceStroke(p.upper.at[0], p.j[1]).Fits({0, 2}, {3}) || !StraightArmsMeet(SortedPair(p.upper, 1), p.j[0])) {
        return 0;
    }
    if (!ForkedFeetMeet(p.lower, forks)) return 0;
    if (!StraightLink(p.j[0], p.j[1], 4)) return 0;
    return StraightLink(p.j[2], forks.left, 4) && StraightLink(p.j[2], forks.right, 3) ? 1 : 0;
}

// Both upper tips and the lower-left tip forked.
std::int16_t MatchX_H0B5E7c() {
    const NodePair forks = InXOrder(JunctionNode(0), JunctionNode(1));
    const XPoints p = NameXPoints(3, 6);
    if (!InZone5(forks.left, {0, 1}) || !InZone5(forks.right, {3, 4})) return 0;
    if (!InZone5(p.j[2], {12}) || !InZone5(p.j[3], {12}) || !InZone5(p.j[4], {20, 21})) return 0;
    if (!InZone5(p.upper.at[0], {0}) || !InZone5(p.upper.at[1], {1, 2}) || !InZone5(p.upper.at[2], {3})) return 0;
    if (!InZone5(p.upper.at[3], {4}) || !InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {21})) return 0;
    if (!InZone5(p.lower.at[2], {24})) return 0;
    if (!ForkedTopsMeet(p.upper, forks)) return 0;
    if (!StraightFeetMeet(SortedPair(p.lower, 0), p.j[4]) || !Straight(p.lower.at[2], p.j[3], 1)) return 0;
    if (!StraightLink(forks.left, p.j[2], 3) || !StraightLink(forks.right, p.j[2], 4)) return 0;
    return StraightLink(p.j[3], p.j[4], 4) ? 1 : 0;
}

// Upper-left and both lower tips forked.
std::int16_t MatchX_H0B5E7d() {
    const NodePair forks = InXOrder(JunctionNode(3), JunctionNode(4));
    const XPoints p = NameXPoints(2, 6);
    if (!InZone5(p.j[0], {0, 1}) || !InZone5(p.j[1], {12}) || !InZone5(p.j[2], {12})) return 0;
    if (!InZone5(forks.left, {20, 21}) || !InZone5(forks.right, {23, 24})) return 0;
    if (!InZone5(p.upper.at[0], {0}) || !InZone5(p.upper.at[1], {1, 2}) || !InZone5(p.upper.at[2], {3, 4})) return 0;
    if (!InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {21, 22}) || !InZone5(p.lower.at[2], {22, 23})) {
        return 0;
    }
    if (!InZone5(p.lower.at[3], {24})) return 0;
    if (!StraightArmsMeet(SortedPair(p.upper, 0), p.j[0]) || !TraceStroke(p.upper.at[2], p.j[1]).Fits({0, 2}, {4})) {
        return 0;
    }
    if (!ForkedFeetMeet(p.lower, forks)) return 0;
    if (!StraightLink(p.j[0], p.j[1], 3)) return 0;
    return StraightLink(p.j[2], forks.left, 4) && StraightLink(p.j[2], forks.right, 3) ? 1 : 0;
}

// All four tips forked.
std::int16_t MatchX_H0B6E8a() {
    const NodePair upperForks = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair lowerForks = InXOrder(JunctionNode(4), JunctionNode(5));
    const XPoints p = NameXPoints(3, 7);
    if (!InZone5(upperForks.left, {0, 1}) || !InZone5(upperForks.right, {3, 4})) return 0;
    if (!InZone5(p.j[2], {12}) || !InZone5(p.j[3], {12})) return 0;
    if (!InZone5(lowerForks.left, {20, 21}) || !InZone5(lowerForks.right, {23})) return 0;
    if (!InZone5(p.upper.at[0], {0}) || !InZone5(p.upper.at[1], {1, 2}) || !InZone5(p.upper.at[2], {2, 3})) return 0;
    if (!InZone5(p.upper.at[3], {4}) || !InZone5(p.lower.at[0], {20}) || !InZone5(p.lower.at[1], {21, 22})) return 0;
    if (!InZone5(p.lower.at[2], {22, 23}) || !InZone5(p.lower.at[3], {24})) return 0;
    if (!ForkedTopsMeet(p.upper, upperForks) || !ForkedFeetMeet(p.lower, lowerForks)) return 0;
    if (!StraightLink(upperForks.left, p.j[2], 3) || !StraightLink(upperForks.right, p.j[2], 4)) return 0;
    return StraightLink(lowerForks.left, p.j[3], 2) && StraightLink(lowerForks.right, p.j[3], 1) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterX() {
    if (HasLeftWaistNotch() == 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchX_H0B2E4a});
    if (IsCase(3, 5)) return AcceptFirstMatch({MatchX_H0B3E5a, MatchX_H0B3E5b, MatchX_H0B3E5c, MatchX_H0B3E5d});
    if (IsCase(4, 6)) {
        return AcceptFirstMatch(
            {MatchX_H0B4E6a, MatchX_H0B4E6b, MatchX_H0B4E6c, MatchX_H0B4E6d, MatchX_H0B4E6e, MatchX_H0B4E6f});
    }
    if (IsCase(5, 7)) return AcceptFirstMatch({MatchX_H0B5E7a, MatchX_H0B5E7b, MatchX_H0B5E7c, MatchX_H0B5E7d});
    if (IsCase(6, 8)) return AcceptFirstMatch({MatchX_H0B6E8a});
    return 0;
}
