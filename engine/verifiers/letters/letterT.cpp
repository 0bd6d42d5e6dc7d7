#include <algorithm>
#include <initializer_list>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/letters/stroke_limits.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double FlatBarArm = 0.8;  // a straight half of the bar rises at most this much

// How much a margin grows from row i to row i + 1 or i + 2, and at least 0.
int MarginGrowth(int (*margin)(int), int i) {
    return std::max({0, margin(i + 1) - margin(i), margin(i + 2) - margin(i)});
}

// The right end of the bar: within the top quarter the right margin steps in by more than one
// column. A glyph of fewer than 8 rows has no room for it.
bool BarEndStepsIn() {
    const int quarter = Glyph.GlyphHeight / 4;
    if (quarter < 2) return false;
    int growth = 0;
    for (int i = 1; i <= quarter - 1; ++i) growth = std::max(growth, MarginGrowth(RowRightAt, i));
    return growth > 1;
}

// A bar that thinning lost: a (nearly) full-width row in the top quarter, and a margin that
// steps in by more than two columns below it.
bool HasCrossBar() {
    const int quarter = Glyph.GlyphHeight / 4;
    if (quarter < 1) return false;
    bool fullRow = false;
    int growth = 0;
    for (int i = 0; i < quarter; ++i) {
        fullRow = fullRow || RowInkAt(i) >= Glyph.GlyphWidth - 1;
        growth = std::max({growth, MarginGrowth(RowLeftAt, i), MarginGrowth(RowRightAt, i)});
    }
    return fullRow && growth > 2;
}

// A one-stroke skeleton that the F verifier has accepted in this run is an F, not a T.
bool FHasVoted() {
    const int slot = LetterSlot('F');
    return slot >= 0 && slot < LetterVoteSlots && Glyph.LetterVotes[slot] != 0;
}

// The bar's two halves and the stem meet in one junction.
std::int16_t MatchT_H0B1E3a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const NodePair bar = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    const Node j0 = JunctionNode(0);
    if (!InZone5(j0, {1, 2}) || !InZone5(bar.left, {0, 5}) || !InZone5(bar.right, {4, 9})) return 0;
    if (!InZone5(e2, {20, 21, 22, 23, 24})) return 0;
    if (!TraceStroke(bar.left, j0).Fits({0, 1}, {2, 3})) return 0;
    if (!TraceStroke(bar.right, j0).Fits({0, 1}, {1, 4})) return 0;
    const Stroke stem = TraceStroke(e2, j0);
    if (!FitsSteep(stem, {0, 2}, {1, 2}, 2.0)) return 0;
    // A stem bowed to the far side: its chord direction must go with its heading (+1 up-left,
    // -1 up-right).
    if (stem.shape == 2 && stem.chordDirection != (stem.direction == 1 ? 1.0F : -1.0F)) return 0;
    if (bar.left.x > box.left || bar.right.x < box.right || e2.y < box.bottom - 1) return 0;
    return BarEndStepsIn() ? 1 : 0;
}

// A half of the bar into the junction: straight and flat, or bowed and heading `bowDirection`.
bool BarHalfFits(Node end, Node junction, std::initializer_list<int> directions, int bowDirection) {
    const Stroke half = TraceStroke(end, junction);
    if (!half.Fits({0, 1}, directions)) return false;
    return half.shape == 0 ? half.slope <= FlatBarArm : half.direction == bowDirection;
}

// The foot of the stem split in two.
std::int16_t MatchT_H0B2E4a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const NodePair bar = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    if (!InZone5(j0, {2}) || !InZone5(j1, {22})) return 0;
    if (!InZone5(bar.left, {0, 5}) || !InZone5(bar.right, {4, 9})) return 0;
    if (!InZone5(feet.left, {20, 21, 22}) || !InZone5(feet.right, {22, 23, 24})) return 0;
    if (!BarHalfFits(bar.left, j0, {2, 3}, 2) || !BarHalfFits(bar.right, j0, {1, 4}, 1)) return 0;
    if (!StraightFeetMeet(feet, j1)) return 0;
    if (!FitsSteep(LinkStroke(j0, j1), {0}, {3, 4}, 2.2)) return 0;
    if (bar.left.x > box.left || bar.right.x < box.right) return 0;
    const int footRow = box.bottom - Glyph.HeightUnit;
    return feet.left.y >= footRow && feet.right.y >= footRow ? 1 : 0;
}

// Only the stem left of the skeleton; the bar is read from the row profiles.
std::int16_t MatchT_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (e0.y > Glyph.GlyphBox.top + 1 || !OnBottomRow(e1)) return 0;
    if (!FitsSteep(TraceStroke(e0, e1), {0, 1}, {3, 4}, 3.0)) return 0;
    return HasCrossBar() ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterT() {
    if (EdgeColumnsReachLowerHalf() == 1) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(1, 3)) return AcceptFirstMatch({MatchT_H0B1E3a});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchT_H0B2E4a});
    if (IsCase(0, 2) && !FHasVoted()) return AcceptFirstMatch({MatchT_H0B0E2a});
    return 0;
}
