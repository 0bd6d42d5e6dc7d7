#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_strokes.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

// A right margin more than this much deeper within three rows below is the end of the top bar.
constexpr int TopBarEndStep = 3;
// Below the top bar the right margin stays less than this shallower than the rows above it,
// until the middle bar.
constexpr int MiddleBarStep = 3;
// How far the indent of the left side must reach in from the rows above and below it.
constexpr int IndentAbove = 1;
constexpr int IndentBelow = 2;
// The rows around the middle bar searched for its densest rows and for the indent.
constexpr int BarWindow = 3;

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// The stem's foot drawn in from its end: straight or bowed, heading up into the junction, steep.
bool FootFits(Node end, Node junction) { return StrokeFits(end, junction, {0, 2}, {1, 2}, 1.8); }

// No bottom bar: the right margin of the lower third never steps outward by half the width or
// more within three rows.
bool LacksBottomBar() {
    const int h = Glyph.GlyphHeight;
    int step = 0;
    for (int i = h - 1; i >= 2 * h / 3 + 1; --i) {
        const int margin = RowRightAt(i);
        for (int k = 1; k <= 3; ++k) {
            if (RowRightAt(i - k) - margin > step) step = RowRightAt(i - k) - margin;
        }
    }
    return step < Glyph.GlyphWidth / 2;
}

// The index of the last row of the top bar: the first profile index of the top quarter whose
// right margin is more than TopBarEndStep shallower than one of the three rows below, provided
// that a column of an index up to it holds at least W - 2 ink cells; -1 otherwise. Columns past
// the glyph (a top quarter wider than the glyph) count as empty.
int TopBarEnd() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    bool tallColumn = false;
    for (int i = 0; i < h / 4; ++i) {
        if (ColInkAt(i) >= w - 2) tallColumn = true;
        const int margin = RowRightAt(i);
        for (int k = 1; k <= 3; ++k) {
            if (RowRightAt(i + k) - margin > TopBarEndStep) return tallColumn ? i : -1;
        }
    }
    return -1;
}

// The row index where the right margin steps out again below the top bar: from i + 5 down,
// the first index whose margin is at least MiddleBarStep shallower than one of the three rows
// above; -1 when the steady stretch reaches 2H/3. A start already past 2H/3 is kept.
int MiddleBarStart(int topBarEnd) {
    const int limit = 2 * Glyph.GlyphHeight / 3;
    int j = topBarEnd + 5;
    for (; j < limit; ++j) {
        const int margin = RowRightAt(j);
        bool steps = false;
        for (int k = 1; k <= 3; ++k) steps = steps || RowRightAt(j - k) - margin >= MiddleBarStep;
        if (steps) break;
    }
    return j == limit ? -1 : j;
}

// The row index around j whose row and its two neighbours hold the most ink (the first on a
// tie); the window is kept to rows 1 to H - 2 so that both neighbours are glyph rows.
int DensestBarRow(int j) {
    const int first = j - BarWindow > 1 ? j - BarWindow : 1;
    const int last = j + BarWindow < Glyph.GlyphHeight - 2 ? j + BarWindow : Glyph.GlyphHeight - 2;
    int densest = first;
    int most = -1;
    for (int k = first; k <= last; ++k) {
        const int ink = RowInkAt(k - 1) + RowInkAt(k) + RowInkAt(k + 1);
        if (ink > most) {
            most = ink;
            densest = k;
        }
    }
    return densest;
}

// An F whose bars thinned into one bent stroke: a top bar over a nearly full-height column, the
// right margin stepping out again at the middle bar, and the skeleton's left side indented there.
bool HasMiddleBar() {
    const int topBarEnd = TopBarEnd();
    if (topBarEnd < 0) return false;
    const int j = MiddleBarStart(topBarEnd);
    if (j < 0) return false;
    const int m = DensestBarRow(j);
    return HasSkeletonLeftIndent(m - BarWindow, m + BarWindow, IndentAbove, IndentBelow);
}

// One bent stroke from the top right down to the bottom left.
std::int16_t MatchF_H0B0E2a() {
    const Node top = EndNode(0);
    const Node foot = EndNode(1);
    if (!InZone5(top, {4}) || !InZone5(foot, {20, 21}) || foot.y < Box().bottom) return 0;
    const Stroke s = TraceStroke(top, foot);
    if (!s.Fits({1}, {4}) || s.chordDirection != -1.0F || s.slope < 2.2) return 0;
    return HasMiddleBar() ? 1 : 0;
}

// The top arm, the middle bar and the stem meet in one junction at the middle left.
std::int16_t MatchF_H0B1E3a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node foot = EndNode(2);
    if (foot.y < box.bottom || foot.x > box.left + Glyph.WidthUnit + box.width / 2) return 0;
    if (!InZone3(j0, {3, 4}) || !InZone5(e0, {4, 9}) || !InZone5(e1, {8, 9, 12, 13, 14, 17, 18, 19})) return 0;
    if (!UpperArmFits(e0, j0)) return 0;
    if (!MiddleBarFits(e1, j0, 0.6)) return 0;
    const Stroke stem = TraceStroke(foot, j0);
    if (!stem.Fits({0, 2}, {1, 2})) return 0;
    if (stem.shape == 0 ? stem.slope < 2.4 : stem.chordDirection < 0.0F) return 0;
    return LacksBottomBar() ? 1 : 0;
}

// The top arm bows into the bar's junction; the foot is split in two.
std::int16_t MatchF_H0B2E4a() {
    const Node middle = JunctionNode(0);
    const Node footFork = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(middle, {6, 10, 11}) || !InZone5(footFork, {20, 21})) return 0;
    if (!InZone5(e0, {4, 9}) || !InZone5(e1, {8, 9}) || !InZone5(feet.left, {20}) || !InZone5(feet.right, {21, 22})) return 0;
    if (!UpperArmFits(e0, middle)) return 0;
    if (!MiddleBarFits(e1, middle, 0.8)) return 0;
    if (!StraightFeetMeet(feet, footFork)) return 0;
    return StemLinkFits(middle, footFork, 1.8) ? 1 : 0;
}

// The top arm bows into the stem's junction; the middle bar's end is split in two.
std::int16_t MatchF_H0B2E4b() {
    const NodePair bar = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    const Node foot = EndNode(3);
    if (!InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {12, 13})) return 0;
    if (!InZone5(e0, {4, 9}) || !InZone5(e1, {7, 8, 9, 13}) || !InZone5(e2, {12, 13, 17, 18}) || !InZone5(foot, {20, 21})) {
        return 0;
    }
    if (!UpperArmFits(e0, bar.left)) return 0;
    if (!StrokeFits(e1, bar.right, {0}, {3, 4}, 1.4)) return 0;
    if (!StrokeFits(e2, bar.right, {0}, {1}, 1.2)) return 0;
    if (!FootFits(foot, bar.left)) return 0;
    return BarLinkFits(bar.left, bar.right, 0.5) ? 1 : 0;
}

// A square top corner and the middle bar's junction on the stem.
std::int16_t MatchF_H0B2E4c() {
    const Node corner = JunctionNode(0);
    const Node middle = JunctionNode(1);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node barEnd = EndNode(2);
    const Node foot = EndNode(3);
    if (!InZone5(corner, {0, 1}) || !InZone5(middle, {10, 11})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4, 9})) return 0;
    if (!InZone5(barEnd, {8, 9, 13, 14, 18, 19}) || !InZone5(foot, {20, 21, 22})) return 0;
    if (!TopBarFits(top, corner, 0.8)) return 0;
    if (!MiddleBarFits(barEnd, middle, 0.8)) return 0;
    if (!FootFits(foot, middle)) return 0;
    return StemLinkFits(corner, middle, 2.2) ? 1 : 0;
}

// The top arm bows into the bar, the bar's end is split, and so is the foot.
std::int16_t MatchF_H0B3E5a() {
    const GlyphBoxRecord& box = Box();
    const NodePair bar = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node footFork = JunctionNode(2);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    const NodePair feet = InXOrder(EndNode(3), EndNode(4));
    if (!InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {12, 13}) || !InZone5(footFork, {20, 21})) return 0;
    if (!InZone5(e0, {4, 9}) || !InZone5(e1, {8, 9}) || !InZone5(e2, {13, 18})) return 0;
    if (feet.left.x > box.left || feet.left.y < box.bottom - Glyph.HeightUnit) return 0;
    if (!InZone5(feet.right, {21, 22})) return 0;
    if (!UpperArmFits(e0, bar.left)) return 0;
    if (!StrokeFits(e1, bar.right, {0}, {4})) return 0;
    if (!StrokeFits(e2, bar.right, {0}, {1, 2})) return 0;
    if (!StraightFeetMeet(feet, footFork)) return 0;
    if (!BarLinkFits(bar.left, bar.right, 0.3)) return 0;
    return StemLinkFits(bar.left, footFork, 2.2) ? 1 : 0;
}

// A square top corner, the bar's junction on the stem, the foot split in two.
std::int16_t MatchF_H0B3E5b() {
    const Node corner = JunctionNode(0);
    const Node middle = JunctionNode(1);
    const Node footFork = JunctionNode(2);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node barEnd = EndNode(2);
    const NodePair feet = InXOrder(EndNode(3), EndNode(4));
    if (!InZone5(corner, {0, 1}) || !InZone5(middle, {6, 11}) || !InZone5(footFork, {20, 21})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4, 9}) || !InZone5(barEnd, {8, 9, 13, 18})) return 0;
    if (!InZone5(feet.left, {20}) || !InZone5(feet.right, {21, 22})) return 0;
    if (!TopBarFits(top, corner, 0.5)) return 0;
    if (!MiddleBarFits(barEnd, middle, 0.8)) return 0;
    if (!StraightFeetMeet(feet, footFork)) return 0;
    if (!StemLinkFits(corner, middle, 1.8)) return 0;
    return StemLinkFits(middle, footFork, 2.2) ? 1 : 0;
}

// A short stroke's length is at most `units` stroke units; a long one's at least.
bool AtMostUnits(const Stroke& s, int units) { return s.length <= units * Glyph.StrokeUnit; }
bool AtLeastUnits(const Stroke& s, int units) { return s.length >= units * Glyph.StrokeUnit; }

// A square top corner with a short left stub, a middle bar with its end split in two short
// pieces, a long foot.
std::int16_t MatchF_H0B3E5c() {
    const Node corner = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node e3 = EndNode(3);
    const Node foot = EndNode(4);
    if (!InZone5(corner, {0, 1}) || !InZone5(bar.left, {6, 10, 11}) || !InZone5(bar.right, {12, 13})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4, 9})) return 0;
    if (!InZone5(e2, {8, 9, 13}) || !InZone5(e3, {13, 17, 18}) || !InZone5(foot, {20, 21, 22})) return 0;
    const Stroke stub = TraceStroke(top.left, corner);
    if (!stub.Fits({0}, {3}) || !AtMostUnits(stub, 2)) return 0;
    const Stroke topBar = TraceStroke(top.right, corner);
    if (!topBar.Fits({0, 1}, {1, 4}) || topBar.slope > 0.8 || !AtLeastUnits(topBar, 3)) return 0;
    const Stroke upperPiece = TraceStroke(e2, bar.right);
    if (!upperPiece.Fits({0}, {4}) || upperPiece.slope < 0.3 || !AtMostUnits(upperPiece, 2)) return 0;
    const Stroke lowerPiece = TraceStroke(e3, bar.right);
    if (!lowerPiece.Fits({0}, {1}) || lowerPiece.slope < 0.4 || !AtMostUnits(lowerPiece, 2)) return 0;
    const Stroke stem = TraceStroke(foot, bar.left);
    if (!stem.Fits({0, 2}, {1, 2}) || !AtLeastUnits(stem, 2)) return 0;
    const Stroke upperStem = LinkStroke(corner, bar.left);
    if (!upperStem.Fits({0}, {3, 4}) || upperStem.slope < 1.8 || !AtLeastUnits(upperStem, 2)) return 0;
    return BarLinkFits(bar.left, bar.right, 0.3) ? 1 : 0;
}

// A square top corner, a middle bar with its end split, and a split foot.
std::int16_t MatchF_H0B4E6a() {
    const Node corner = JunctionNode(0);
    const NodePair bar = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node footFork = JunctionNode(3);
    const SortedNodes tops = EndsByX(0, 2);
    const Node e3 = EndNode(3);
    const NodePair feet = InXOrder(EndNode(4), EndNode(5));
    if (!InZone5(corner, {0, 1}) || !InZone5(bar.left, {10, 11}) || !InZone5(bar.right, {12, 13})) return 0;
    if (!InZone5(footFork, {20, 21})) return 0;
    if (!InZone5(tops.at[0], {0}) || !InZone5(tops.at[2], {4, 9}) || !InZone5(tops.at[1], {8, 9})) return 0;
    if (!InZone5(e3, {13, 14, 17, 18, 19}) || !InZone5(feet.left, {20}) || !InZone5(feet.right, {21, 22})) return 0;
    if (!StrokeFits(tops.at[0], corner, {0}, {3}, 0.0, 0.8)) return 0;
    if (!StrokeFits(tops.at[2], corner, {0, 1}, {1, 4}, 0.0, 0.8)) return 0;
    if (!StrokeFits(tops.at[1], bar.right, {0}, {4}, 1.1)) return 0;
    if (!StrokeFits(e3, bar.right, {0}, {1}, 1.1)) return 0;
    if (!StraightFeetMeet(feet, footFork, 0.8)) return 0;
    if (!StemLinkFits(corner, bar.left, 1.8)) return 0;
    if (!BarLinkFits(bar.left, bar.right, 0.3)) return 0;
    return StemLinkFits(bar.left, footFork, 1.8) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterF() {
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchF_H0B0E2a});
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchF_H0B1E3a});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchF_H0B2E4a, MatchF_H0B2E4b, MatchF_H0B2E4c});
    if (IsCase(3, 5)) return AcceptFirstMatch({MatchF_H0B3E5a, MatchF_H0B3E5b, MatchF_H0B3E5c});
    if (IsCase(4, 6)) return AcceptFirstMatch({MatchF_H0B4E6a});
    return 0;
}
