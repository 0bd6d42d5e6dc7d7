#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"

namespace {

constexpr int WaistWindowAbove = 3;  // rows searched above the waist row
constexpr int WaistWindowBelow = 6;  // rows searched below it

int MarginAt(MarginSide side, int i) { return side == MarginSide::Left ? RowLeftAt(i) : RowRightAt(i); }

int SmallestMargin(MarginSide side, int from, int to) {
    int smallest = MarginAt(side, from);
    for (int i = from + 1; i <= to; ++i) {
        const int m = MarginAt(side, i);
        if (m < smallest) smallest = m;
    }
    return smallest;
}

// How a waist test answers: where the waist row search stops, what a glyph without a notch
// candidate and one with its deepest row among the last rows answer, and the depth rule.
struct WaistRule {
    MarginSide side;
    int limit;
    std::int16_t noCandidate;
    int lastRows;  // k > H - lastRows answers lastRowsAnswer
    std::int16_t lastRowsAnswer;
    bool (*notched)(NotchDepths);
};

std::int16_t RunWaistTest(const WaistRule& rule) {
    const int h = Glyph.GlyphHeight;
    const int k = DeepestMarginRow(rule.side, WaistRow(rule.limit));
    if (k < 0) return rule.noCandidate;
    if (k > h - rule.lastRows) return rule.lastRowsAnswer;
    return rule.notched(MarginNotchDepths(rule.side, k)) ? 1 : 0;
}

bool DeepOnBothSides(NotchDepths d) { return d.above >= 2 && d.below >= 2; }
bool ShallowOnOneSide(NotchDepths d) { return d.above < 2 || d.below < 2; }
bool LeftNotched(NotchDepths d) { return (d.above >= 1 && d.below >= 3) || (d.above >= 2 && d.below >= 2); }
bool RightNotched(NotchDepths d) { return d.above >= 1 && d.below >= 1; }

int TwoThirdsOfHeight() { return 2 * Glyph.GlyphHeight / 3; }

}  // namespace

int WaistRow(int limit) {
    const int h = Glyph.GlyphHeight;
    int r = 1;
    while (r < h / 2 && RowRunsAt(r) != 2) ++r;
    int w = r + 1;
    while (w < limit && RowRunsAt(w) != 1) ++w;
    return w;
}

int DeepestMarginRow(MarginSide side, int centre) {
    int deepest = -1;
    int deepestMargin = 0;
    for (int i = centre - WaistWindowAbove; i <= centre + WaistWindowBelow; ++i) {
        if (!IsGlyphRowIndex(i)) continue;
        const int m = MarginAt(side, i);
        if (m > deepestMargin) {
            deepest = i;
            deepestMargin = m;
        }
    }
    return deepest;
}

NotchDepths MarginNotchDepths(MarginSide side, int k) {
    const int m = MarginAt(side, k);
    return NotchDepths{m - SmallestMargin(side, 0, k), m - SmallestMargin(side, k, Glyph.GlyphHeight - 1)};
}

std::int16_t RejectB_LeftWaistNotch() {
    return RunWaistTest(WaistRule{MarginSide::Left, TwoThirdsOfHeight(), 0, 4, 1, DeepOnBothSides});
}

std::int16_t LacksRightWaistNotch() {
    return RunWaistTest(WaistRule{MarginSide::Right, TwoThirdsOfHeight(), 1, 4, 1, ShallowOnOneSide});
}

std::int16_t HasLeftWaistNotch() {
    return RunWaistTest(WaistRule{MarginSide::Left, Glyph.GlyphHeight, 0, 3, 0, LeftNotched});
}

std::int16_t HasRightWaistNotch() {
    return RunWaistTest(WaistRule{MarginSide::Right, Glyph.GlyphHeight, 0, 3, 0, RightNotched});
}
