#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_strokes.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

// A right margin this much deeper within three rows below is the end of the middle bar.
constexpr int BarEndStep = 4;
// How far the indent of the bow's left side must reach in from the rows above and below it.
constexpr int IndentDepth = 2;
// The indent window: rows above and below the row where the margin steps.
constexpr int IndentRowsAbove = 5;
constexpr int IndentRowsBelow = 4;

// The lower arm drawn in from its end: a bow, up-left into the junction.
bool LowerArmFits(Node end, Node junction) {
    const Stroke s = TraceStroke(end, junction);
    return s.Fits({2}, {1}) && s.chordDirection == 1.0F;
}

// The bottom bar's two ends: the left one straight up-right into the corner, the right one
// straight or bowed, heading left into it.
bool BottomBarFits(NodePair bottom, Node corner) {
    if (!TraceStroke(bottom.left, corner).Fits({0}, {2})) return false;
    return TraceStroke(bottom.right, corner).Fits({0, 2}, {1, 4});
}

// Top and bottom arms bowing into a junction on each side of the bar, which ends on the right.
std::int16_t MatchE_H0B2E4a() {
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    const Node e3 = EndNode(3);
    if (!InZone3(j.left, {3}) || !InZone3(j.right, {4, 5})) return 0;
    if (!InZone5(e0, {3, 4, 9}) || !InZone5(e1, {7, 8}) || !InZone5(e2, {12, 13, 17, 18}) || !InZone5(e3, {19, 24})) return 0;
    if (!UpperArmFits(e0, j.left)) return 0;
    if (!TraceStroke(e1, j.right).Fits({0}, {4})) return 0;
    if (!TraceStroke(e2, j.right).Fits({0}, {1})) return 0;
    if (!LowerArmFits(e3, j.left)) return 0;
    return BarLinkFits(j.left, j.right, 0.3) ? 1 : 0;
}

// The upper arm bows into the bar's junction; the bottom bar meets the stem in a corner.
std::int16_t MatchE_H0B2E4b() {
    const Node middle = JunctionNode(0);
    const Node corner = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const NodePair bottom = InXOrder(EndNode(2), EndNode(3));
    if (!InZone3(middle, {3}) || !InZone3(corner, {6})) return 0;
    if (!InZone5(e0, {3, 4, 9}) || !InZone5(e1, {8, 11, 12, 13, 18})) return 0;
    if (!InZone5(bottom.left, {20}) || !InZone5(bottom.right, {19, 24})) return 0;
    if (!UpperArmFits(e0, middle)) return 0;
    if (!MiddleBarFits(e1, middle, 0.9)) return 0;
    if (!BottomBarFits(bottom, corner)) return 0;
    return StemLinkFits(middle, corner, 2.4) ? 1 : 0;
}

// The top bar meets the stem in a corner; the lower arm bows into the bar's junction.
std::int16_t MatchE_H0B2E4c() {
    const Node corner = JunctionNode(0);
    const Node middle = JunctionNode(1);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node e3 = EndNode(3);
    if (!InZone3(corner, {0}) || !InZone3(middle, {3})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4, 9})) return 0;
    if (!InZone5(e2, {7, 8, 12, 13, 17, 18}) || !InZone5(e3, {19, 24})) return 0;
    if (!TopBarFits(top, corner, 0.9)) return 0;
    if (!TraceStroke(e2, middle).Fits({0, 1, 2}, {1, 4})) return 0;
    if (!TraceStroke(e3, middle).Fits({2}, {1, 4})) return 0;
    return StemLinkFits(corner, middle, 2.4) ? 1 : 0;
}

// Both arms and the bar meet in one junction at the middle left.
std::int16_t MatchE_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    if (!InZone3(j0, {3, 4})) return 0;
    if (!InZone5(e0, {2, 3, 4}) || !InZone5(e1, {8, 12, 13, 14}) || !InZone5(e2, {19, 22, 23, 24})) return 0;
    if (!UpperArmFits(e0, j0)) return 0;
    if (!MiddleBarFits(e1, j0, 0.8)) return 0;
    return LowerArmFits(e2, j0) ? 1 : 0;
}

// The same with the ends further right and the junction on the left side.
std::int16_t MatchE_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    if (!InZone3(j0, {3})) return 0;
    if (!InZone5(e0, {4, 9}) || !InZone5(e1, {8, 11, 12, 17}) || !InZone5(e2, {19, 24})) return 0;
    if (!UpperArmFits(e0, j0)) return 0;
    if (!TraceStroke(e1, j0).Fits({0, 1, 2}, {1, 4})) return 0;
    return LowerArmFits(e2, j0) ? 1 : 0;
}

// Square corners top and bottom, and a middle bar split at its end.
std::int16_t MatchE_H0B4E6a() {
    const Node topCorner = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node bottomCorner = JunctionNode(3);
    const SortedNodes tops = EndsByX(0, 2);
    const SortedNodes bottoms = EndsByX(3, 5);
    if (!InZone5(topCorner, {0, 1}) || !InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {12, 13})) return 0;
    if (!InZone5(bottomCorner, {20, 21})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[2], {4, 9}) || !InZone5(tops.at[1], {7, 8, 9, 13})) return 0;
    if (!InZone5(bottoms.at[1], {13, 17, 18, 19}) || !InZone5(bottoms.at[0], {20}) || !InZone5(bottoms.at[2], {19, 24})) return 0;
    if (!TopBarFits({tops.at[0], tops.at[2]}, topCorner, AnySlope)) return 0;
    if (!TraceStroke(tops.at[1], bar.right).Fits({0}, {4})) return 0;
    if (!TraceStroke(bottoms.at[1], bar.right).Fits({0}, {1, 2})) return 0;
    if (!BottomBarFits({bottoms.at[0], bottoms.at[2]}, bottomCorner)) return 0;
    if (!StemLinkFits(topCorner, bar.left, 1.5)) return 0;
    if (!BarLinkFits(bar.left, bar.right, 0.3)) return 0;
    return StemLinkFits(bar.left, bottomCorner, 1.5) ? 1 : 0;
}

// Square corners top and bottom, one junction on the stem for the bar.
std::int16_t MatchE_H0B3E5a() {
    const Node topCorner = JunctionNode(0);
    const Node middle = JunctionNode(1);
    const Node bottomCorner = JunctionNode(2);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node barEnd = EndNode(2);
    const NodePair bottom = InXOrder(EndNode(3), EndNode(4));
    if (!InZone5(topCorner, {0, 1}) || !InZone5(middle, {6, 10, 11}) || !InZone5(bottomCorner, {20, 21})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4, 9}) || !InZone5(barEnd, {8, 12, 13, 18})) return 0;
    if (!InZone5(bottom.left, {20}) || !InZone5(bottom.right, {19, 24})) return 0;
    if (!TopBarFits(top, topCorner, AnySlope)) return 0;
    if (!MiddleBarFits(barEnd, middle, 0.8)) return 0;
    if (!BottomBarFits(bottom, bottomCorner)) return 0;
    if (!StemLinkFits(topCorner, middle, 1.5)) return 0;
    return StemLinkFits(middle, bottomCorner, 1.5) ? 1 : 0;
}

// A bowed upper arm, a middle bar split at its end, a square bottom corner.
std::int16_t MatchE_H0B3E5b() {
    const NodePair bar = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node bottomCorner = JunctionNode(2);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    const NodePair bottom = InXOrder(EndNode(3), EndNode(4));
    if (!InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {12, 13}) || !InZone5(bottomCorner, {20, 21})) return 0;
    if (!InZone5(e0, {4, 9}) || !InZone5(e1, {8, 9, 13}) || !InZone5(e2, {13, 18})) return 0;
    if (!InZone5(bottom.left, {20}) || !InZone5(bottom.right, {19, 24})) return 0;
    if (!TraceStroke(e0, bar.left).Fits({1}, {4})) return 0;
    if (!TraceStroke(e1, bar.right).Fits({0}, {4})) return 0;
    if (!TraceStroke(e2, bar.right).Fits({0}, {1})) return 0;
    if (!BottomBarFits(bottom, bottomCorner)) return 0;
    if (!BarLinkFits(bar.left, bar.right, 0.5)) return 0;
    return StemLinkFits(bar.left, bottomCorner, 1.8) ? 1 : 0;
}

// A square top corner, a middle bar split at its end, a bowed lower arm; the top bar's right
// part is the longer one, and the lower arm the longest stroke.
std::int16_t MatchE_H0B3E5c() {
    const Node topCorner = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node e3 = EndNode(3);
    const Node e4 = EndNode(4);
    if (!InZone5(topCorner, {0, 1}) || !InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {12, 13})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4, 9})) return 0;
    if (!InZone5(e2, {8, 13}) || !InZone5(e3, {13, 18}) || !InZone5(e4, {19, 24})) return 0;
    const Stroke topLeft = TraceStroke(top.left, topCorner);
    if (!topLeft.Fits({0}, {3})) return 0;
    const Stroke topRight = TraceStroke(top.right, topCorner);
    if (!topRight.Fits({0, 1}, {1, 4}) || topRight.length < 2 * topLeft.length) return 0;
    // The bar's end split in two: the upper piece heads down-left into the junction, the lower
    // one up-left, and neither is half as long as the top bar's right part.
    const Stroke upperPiece = TraceStroke(e2, bar.right);
    if (!upperPiece.Fits({0}, {4}) || topRight.length < 2 * upperPiece.length) return 0;
    const Stroke lowerPiece = TraceStroke(e3, bar.right);
    if (!lowerPiece.Fits({0}, {1}) || topRight.length < 2 * lowerPiece.length) return 0;
    const Stroke lowerArm = TraceStroke(e4, bar.left);
    if (!lowerArm.Fits({2}, {1}) || lowerArm.length < topLeft.length + topRight.length) return 0;
    if (!StemLinkFits(topCorner, bar.left, 1.8)) return 0;
    return BarLinkFits(bar.left, bar.right, 0.3) ? 1 : 0;
}

// Where the right margin steps out by the bar's end below the middle: the first profile index
// from H/2 - 4 to before 2H/3 (and no further than H - 4, so that the three rows below are
// glyph rows) with a margin at least BarEndStep deeper within the three rows below; -1 when
// there is none.
int BarEndRow() {
    const int h = Glyph.GlyphHeight;
    const int first = h / 2 - 4 > 0 ? h / 2 - 4 : 0;
    for (int l = first; l < 2 * h / 3 && l <= h - 4; ++l) {
        const int margin = RowRightAt(l);
        for (int k = 1; k <= 3; ++k) {
            if (RowRightAt(l + k) - margin >= BarEndStep) return l;
        }
    }
    return -1;
}

// An E whose middle bar thinned away: one open bow like a C, with the stub of the bar pruned at
// the middle left, the right margin stepping out below the bar and the skeleton's left side
// indented there.
std::int16_t MatchE_H0B0E2a() {
    const Stroke bow = OpenBow();
    if (!bow.traced || (InSet(bow.shape, {2, 9}) && bow.chordDirection == -1.0F)) return 0;
    if (Glyph.PrunedSpurCount > 0 && !HasMiddleBarSpur()) return 0;
    const int l = BarEndRow();
    if (l < 0) return 0;
    return HasSkeletonLeftIndent(l - IndentRowsAbove, l + IndentRowsBelow, IndentDepth, IndentDepth) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterE() {
    if (Glyph.HoleCount == 0) {
        if (IsCase(2, 4)) return AcceptFirstMatch({MatchE_H0B2E4a, MatchE_H0B2E4b, MatchE_H0B2E4c});
        if (IsCase(1, 3)) return AcceptFirstMatch({MatchE_H0B1E3a, MatchE_H0B1E3b});
        if (IsCase(4, 6)) return AcceptFirstMatch({MatchE_H0B4E6a});
        if (IsCase(3, 5)) return AcceptFirstMatch({MatchE_H0B3E5a, MatchE_H0B3E5b, MatchE_H0B3E5c});
    }
    // With holes, or with a junction count of no case above: only the bow whose middle bar
    // thinned away.
    return IsCase(0, 2) ? AcceptFirstMatch({MatchE_H0B0E2a}) : 0;
}
