#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double FlatBar = 0.3;             // a bar rises at most this much per column
constexpr double LongDiagonalPath = 1.4;    // bar and diagonal together, against their chord
constexpr double LongSinglePath = 1.3;      // the whole Z as one stroke, against its chord
constexpr int TopBarInkShortfall = 5;       // a top bar row lacks at most this much ink ...
constexpr int SecondBarInkShortfall = 8;    // ... a second bar row at most this much
constexpr int InwardStep = 4;               // the right outline steps in by more than this

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

// The top bar from its left end to the junction: straight or bowed to one side, and flat. Its
// direction is not tested.
bool TopBarIsFlat(Node left, Node junction) {
    const Stroke bar = TraceStroke(left, junction);
    return bar.FitsShape({0, 1}) && bar.slope <= FlatBar;
}

// One junction near the top-right corner, where the top bar meets the diagonal.
std::int16_t MatchZ_H0B1E3a() {
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node j0 = JunctionNode(0);
    if (!InZone3(j0, {1, 2}) || !InZone5(top.left, {0, 5}) || !InZone5(top.right, {4})) return 0;
    if (!InZone5(e2, {19, 24})) return 0;
    if (!TopBarIsFlat(top.left, j0)) return 0;
    if (!TraceStroke(top.right, j0).Fits({0}, {4})) return 0;
    const Stroke rest = TraceStroke(e2, j0);
    return rest.Fits({2}, {1}) && rest.chordDirection >= 0.0F && rest.lengthRatio >= LongDiagonalPath ? 1 : 0;
}

// The whole Z as one S-shaped stroke from the top left to the bottom right.
std::int16_t MatchZ_H0B0E2a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Stroke s = TraceStroke(e0, e1);
    if (!s.FitsShape({4}) || s.chordDirection != 1.0F) return 0;
    if (!InSet(s.earlyDirection, {2, 3}) || s.lateDirection == 2 || s.lengthRatio < LongSinglePath) return 0;
    if (e0.x > box.left + Glyph.WidthUnit || e0.y > box.top + box.height / 2) return 0;
    return e1.x >= box.right - Glyph.WidthUnit && e1.y >= box.bottom - box.height / 2 ? 1 : 0;
}

// One junction at each corner where the diagonal meets a bar.
std::int16_t MatchZ_H0B2E4a() {
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair bottom = InXOrder(EndNode(2), EndNode(3));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone3(j0, {1, 2}) || !InZone3(j1, {6})) return 0;
    if (!InZone5(top.left, {0}) || !InZone5(top.right, {4})) return 0;
    if (!InZone5(bottom.left, {20}) || !InZone5(bottom.right, {19, 24})) return 0;
    if (!TopBarIsFlat(top.left, j0)) return 0;
    if (!TraceStroke(top.right, j0).Fits({0}, {4})) return 0;
    if (!TraceStroke(bottom.left, j1).Fits({0}, {2})) return 0;
    const Stroke base = TraceStroke(bottom.right, j1);
    if (!base.Fits({0, 2}, {1, 4}) || base.slope > FlatBar) return 0;
    return LinkStroke(j0, j1).Fits({0}, {4}) ? 1 : 0;
}

// The number of columns counted from the right edge, up to the first column whose ink starts
// above mid-height (at most half the width), taken from the width.
int WidthLeftOfLowRightColumns() {
    const int w = Width();
    int low = 0;
    while (low < w / 2 && ColTopAt(w - 1 - low) >= Height() / 2) ++low;
    return w - low;
}

}  // namespace

std::int16_t RejectZ_SecondBar() {
    const int h = Height();
    const int w = Width();
    const int off = WidthLeftOfLowRightColumns();
    int j = 1;
    while (j < h / 2 && RowInkAt(j) <= off - TopBarInkShortfall) ++j;
    if (j >= h / 2) return 0;
    // Below the top bar, rows that still start in the left half.
    int i = j + 1;
    int twoRunRows = 0;
    for (; i < h / 2 && RowLeftAt(i) <= w / 2; ++i) {
        if (RowRunsAt(i) == 2) ++twoRunRows;
    }
    if (i >= h / 2 || twoRunRows >= h / 8) return 0;
    int wideRows = 0;
    int inwardSteps = 0;
    for (int k = i; k < 3 * h / 5; ++k) {
        if (RowInkAt(k) > off - SecondBarInkShortfall) ++wideRows;
        if (RowRightAt(k + 1) - RowRightAt(k) > InwardStep) ++inwardSteps;
    }
    return wideRows > 0 && inwardSteps > 0 ? 1 : 0;
}

std::int16_t IsLetterZ() {
    if (RejectZ_SecondBar() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchZ_H0B1E3a});
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchZ_H0B0E2a});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchZ_H0B2E4a});
    return 0;
}
