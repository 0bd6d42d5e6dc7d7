#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_strokes.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double TallBandShare = 0.32;  // the band between the two-stem parts, of the height

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// The first row index from `from` on (below H) where the rows i and i + 1 both have `runs`
// runs; H when there is none, or `from` when it is already at or past H.
int FirstRowPairWithRuns(int from, int runs) {
    const int h = Glyph.GlyphHeight;
    int i = from;
    while (i < h && !(RowRunsAt(i) == runs && RowRunsAt(i + 1) == runs)) ++i;
    return i;
}

// Top ends and feet near the corners of the skeleton box.
bool NearTopLeft(Node p) { return IsNearTop(p) && p.x <= Box().left + Glyph.WidthUnit; }
bool NearTopRight(Node p) { return IsNearTop(p) && p.x >= Box().right - Glyph.WidthUnit; }
bool NearBottomLeft(Node p, int reach) { return IsNearBottom(p) && p.x <= Box().left + reach; }

// A straight, steep stem between two junctions.
bool StemLinks(Node upper, Node lower) { return StemLinkFits(upper, lower, SteepStem); }

// The crossbar between the two stems: straight, heading right, at most this steep.
bool CrossbarLinks(Node left, Node right, double maxSlope) {
    return LinkStroke(left, right).FitsFlat({0}, {2, 3}, maxSlope);
}

// A stem from its end up to its junction: bowed at most to one side, at least this steep.
bool StemRises(Node end, Node junction, std::initializer_list<int> shapes, double minSlope) {
    return TraceStroke(end, junction).FitsSteep(shapes, {1, 2}, minSlope);
}

// A stem from its top end down to its junction.
bool StemFalls(Node end, Node junction, std::initializer_list<int> shapes, double minSlope) {
    return TraceStroke(end, junction).FitsSteep(shapes, {3, 4}, minSlope);
}

// Two plain stems joined by a crossbar.
std::int16_t MatchH_H0B2E4a() {
    const NodePair bar = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(bar.left, {5, 6, 10, 11}) || !InZone5(bar.right, {9, 13, 14})) return 0;
    if (!InZone5(top.left, {0, 1}) || !InZone5(top.right, {3, 4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!StemFalls(top.left, bar.left, {0, 1, 2}, 1.5) || !StemFalls(top.right, bar.right, {0, 1, 2}, 1.5)) return 0;
    if (!StemRises(feet.left, bar.left, {0, 1, 2}, 1.5) || !StemRises(feet.right, bar.right, {0, 1, 2}, 1.5)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.5) ? 1 : 0;
}

// The top of the left stem split in two.
std::int16_t MatchH_H0B3E5a() {
    const Node j0 = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 4);
    if (!InZone5(j0, {0}) || !InZone5(bar.left, {6, 11}) || !InZone5(bar.right, {8, 13})) return 0;
    if (!NearTopLeft(tops.at[0]) || !InZone5(tops.at[1], {1}) || !InZone5(tops.at[2], {3, 4})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {23, 24})) return 0;
    if (!TraceStroke(tops.at[0], j0).Fits({0}, {2, 3}) || !TraceStroke(tops.at[1], j0).Fits({0}, {4})) return 0;
    if (!StemFalls(tops.at[2], bar.right, {0, 1, 2}, 1.8)) return 0;
    if (!StemRises(feet.at[0], bar.left, {0, 1, 2}, 2.2) || !StemRises(feet.at[1], bar.right, {0, 1, 2}, 2.2)) return 0;
    if (!StemLinks(j0, bar.left)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.2) ? 1 : 0;
}

// The top of the right stem split in two.
std::int16_t MatchH_H0B3E5b() {
    const Node j0 = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 4);
    if (!InZone5(j0, {3, 4}) || !InZone5(bar.left, {6, 10, 11}) || !InZone5(bar.right, {8, 13})) return 0;
    if (!InZone5(tops.at[0], {0, 1}) || !InZone5(tops.at[1], {2, 3, 4}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {23, 24})) return 0;
    if (!TraceStroke(tops.at[0], bar.left).Fits({0, 1}, {3, 4})) return 0;
    if (!StraightArmsMeet(SortedPair(tops, 1), j0)) return 0;
    if (!StemRises(feet.at[0], bar.left, {0, 2}, 1.4) || !StemRises(feet.at[1], bar.right, {0, 2}, 1.4)) return 0;
    if (!StemLinks(j0, bar.right)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.2) ? 1 : 0;
}

// Both stem tops split.
std::int16_t MatchH_H0B4E6a() {
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair bar = InXOrder(JunctionNode(2), JunctionNode(3));
    const SortedNodes tops = EndsByX(0, 3);
    const NodePair feet = InXOrder(EndNode(4), EndNode(5));
    if (!InZone5(serifs.left, {0}) || !InZone5(serifs.right, {4})) return 0;
    if (!InZone5(bar.left, {11}) || !InZone5(bar.right, {13})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {1}) || !InZone5(tops.at[2], {3}) ||
        !InZone5(tops.at[3], {4})) {
        return 0;
    }
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!StemRises(feet.left, bar.left, {0, 2}, 2.0) || !StemRises(feet.right, bar.right, {0, 2}, 2.0)) return 0;
    if (!StemLinks(serifs.left, bar.left) || !StemLinks(serifs.right, bar.right)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.3) ? 1 : 0;
}

// The right stem split at its top and at its foot.
std::int16_t MatchH_H0B4E6b() {
    const Node j0 = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node j3 = JunctionNode(3);
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 5);
    if (!InZone5(j0, {3, 4}) || !InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {13, 14})) return 0;
    if (!InZone5(j3, {23, 24})) return 0;
    if (!InZone5(tops.at[0], {0, 1}) || !InZone5(tops.at[1], {2, 3}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(feet.at[0], {20, 21}) || !InZone5(feet.at[1], {22, 23}) || !InZone5(feet.at[2], {24})) return 0;
    if (!StemFalls(tops.at[0], bar.left, {0, 1}, 1.4) || !StraightArmsMeet(SortedPair(tops, 1), j0)) return 0;
    if (!StemRises(feet.at[0], bar.left, {0, 2}, 1.4) || !StraightFeetMeet(SortedPair(feet, 1), j3)) return 0;
    if (!StemLinks(j0, bar.right) || !StemLinks(bar.right, j3)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.3) ? 1 : 0;
}

// Both stem tops and the left foot split.
std::int16_t MatchH_H0B5E7a() {
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair bar = InXOrder(JunctionNode(2), JunctionNode(3));
    const Node j4 = JunctionNode(4);
    const SortedNodes tops = EndsByX(0, 3);
    const SortedNodes feet = EndsByX(4, 6);
    if (!InZone5(serifs.left, {0}) || !InZone5(serifs.right, {4})) return 0;
    if (!InZone5(bar.left, {11}) || !InZone5(bar.right, {13}) || !InZone5(j4, {20})) return 0;
    if (!NearTopLeft(tops.at[0]) || !InZone5(tops.at[1], {1}) || !InZone5(tops.at[2], {3})) return 0;
    if (!NearTopRight(tops.at[3]) || !NearBottomLeft(feet.at[0], Glyph.WidthUnit)) return 0;
    if (!InZone5(feet.at[1], {21}) || !InZone5(feet.at[2], {23})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!StraightFeetMeet(SortedPair(feet, 0), j4)) return 0;
    const Stroke rightStem = TraceStroke(feet.at[2], bar.right);
    if (!rightStem.FitsSteep({2}, {2}, 2.2) || rightStem.chordDirection != -1.0F) return 0;
    if (!StemLinks(serifs.left, bar.left) || !StemLinks(serifs.right, bar.right) || !StemLinks(bar.left, j4)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.2) ? 1 : 0;
}

// The right stem split at its top, both feet split.
std::int16_t MatchH_H0B5E7b() {
    const Node j0 = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const NodePair footJunctions = InXOrder(JunctionNode(3), JunctionNode(4));
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes feet = EndsByX(3, 6);
    if (!InZone5(j0, {3, 4}) || !InZone5(bar.left, {11}) || !InZone5(bar.right, {13})) return 0;
    if (!InZone5(footJunctions.left, {20, 21}) || !InZone5(footJunctions.right, {23, 24})) return 0;
    if (!InZone5(tops.at[0], {0, 1, 2}) || !InZone5(tops.at[1], {2, 3}) || !InZone5(tops.at[2], {4})) return 0;
    if (!InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22}) || !InZone5(feet.at[2], {22, 23})) return 0;
    if (!InZone5(feet.at[3], {24})) return 0;
    if (!StemFalls(tops.at[0], bar.left, {0, 1}, 1.0) || !StraightArmsMeet(SortedPair(tops, 1), j0)) return 0;
    if (!ForkedFeetMeet(feet, footJunctions)) return 0;
    if (!StemLinks(j0, bar.right) || !StemLinks(bar.left, footJunctions.left)) return 0;
    if (!StemLinks(bar.right, footJunctions.right)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.3) ? 1 : 0;
}

// Both stem tops and the right foot split.
std::int16_t MatchH_H0B5E7c() {
    const GlyphBoxRecord& box = Box();
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair bar = InXOrder(JunctionNode(2), JunctionNode(3));
    const Node j4 = JunctionNode(4);
    const SortedNodes tops = EndsByX(0, 3);
    const SortedNodes feet = EndsByX(4, 6);
    if (!InZone5(serifs.left, {0, 1}) || !InZone5(serifs.right, {3, 4})) return 0;
    if (!InZone5(bar.left, {11}) || !InZone5(bar.right, {13}) || !InZone5(j4, {23, 24})) return 0;
    if (!NearTopLeft(tops.at[0]) || !InZone5(tops.at[1], {1, 2}) || !InZone5(tops.at[2], {2, 3})) return 0;
    if (!NearTopRight(tops.at[3]) || !NearBottomLeft(feet.at[0], box.width / 2)) return 0;
    if (!InZone5(feet.at[1], {21, 22}) || !InZone5(feet.at[2], {24})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!TraceStroke(feet.at[0], bar.left).Fits({0, 2}, {1, 2}) || !StraightFeetMeet(SortedPair(feet, 1), j4)) return 0;
    if (!StemLinks(serifs.left, bar.left) || !StemLinks(serifs.right, bar.right) || !StemLinks(bar.right, j4)) return 0;
    return CrossbarLinks(bar.left, bar.right, 0.2) ? 1 : 0;
}

// Every stem end split.
std::int16_t MatchH_H0B6E8a() {
    const NodePair serifs = InXOrder(JunctionNode(0), JunctionNode(1));
    const NodePair bar = InXOrder(JunctionNode(2), JunctionNode(3));
    const NodePair footJunctions = InXOrder(JunctionNode(4), JunctionNode(5));
    const SortedNodes tops = EndsByX(0, 3);
    const SortedNodes feet = EndsByX(4, 7);
    if (!InZone5(serifs.left, {0, 1}) || !InZone5(serifs.right, {3, 4})) return 0;
    if (!InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {13, 14})) return 0;
    if (!InZone5(footJunctions.left, {20, 21}) || !InZone5(footJunctions.right, {23, 24})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[1], {1, 2}) || !InZone5(tops.at[2], {2, 3})) return 0;
    if (!InZone5(tops.at[3], {4}) || !InZone5(feet.at[0], {20}) || !InZone5(feet.at[1], {21, 22})) return 0;
    if (!InZone5(feet.at[2], {22, 23}) || !InZone5(feet.at[3], {24})) return 0;
    if (!ForkedTopsMeet(tops, serifs)) {
        return 0;
    }
    if (!ForkedFeetMeet(feet, footJunctions)) return 0;
    if (!StemLinks(serifs.left, bar.left) || !StemLinks(serifs.right, bar.right)) return 0;
    if (!StemLinks(bar.left, footJunctions.left) || !CrossbarLinks(bar.left, bar.right, 0.2)) return 0;
    return StemLinks(bar.right, footJunctions.right) ? 1 : 0;
}

}  // namespace

// The two-stem rows above and below the crossbar band: an H's band of one-stem rows (the
// crossbar) is short. The pair scans read one row past the glyph, which reads 0.
std::int16_t RejectH_TallCrossbarBand() {
    const int h = Glyph.GlyphHeight;
    if (h <= 0) return 1;
    const int i = FirstRowPairWithRuns(1, 2);
    const int j = FirstRowPairWithRuns(i + 1, 1);
    const int k = FirstRowPairWithRuns(j + 1, 2);
    return static_cast<double>(k - j) / h > TallBandShare ? 1 : 0;
}

std::int16_t IsLetterH() {
    if (RejectH_TallCrossbarBand() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchH_H0B2E4a});
    if (IsCase(3, 5)) return AcceptFirstMatch({MatchH_H0B3E5a, MatchH_H0B3E5b});
    if (IsCase(4, 6)) return AcceptFirstMatch({MatchH_H0B4E6a, MatchH_H0B4E6b});
    if (IsCase(5, 7)) return AcceptFirstMatch({MatchH_H0B5E7a, MatchH_H0B5E7b, MatchH_H0B5E7c});
    if (IsCase(6, 8)) return AcceptFirstMatch({MatchH_H0B6E8a});
    return 0;
}
