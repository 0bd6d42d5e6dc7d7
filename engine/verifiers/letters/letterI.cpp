#include <algorithm>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double MinSlenderness = 1.2;     // an I is at least this much taller than wide
constexpr double MinBarSlenderness = 1.3;  // ... and a plain bar this much
constexpr int MaxRightStep = 2;            // the right edge may step out this far in the lower half
constexpr double FlatSerif = 0.7;          // serif strokes are at most this steep

// A stem with serifs split at both ends.
std::int16_t MatchI_H0B2E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {1, 2}) || !InZone5(j1, {22})) return 0;
    if (!InZone5(top.left, {0, 1}) || !InZone5(top.right, {3, 4})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {23, 24})) return 0;
    if (!StraightArmsMeet(top, j0, FlatSerif) || !StraightFeetMeet(feet, j1, FlatSerif)) return 0;
    return LinkStroke(j0, j1).FitsSteep({0}, {3, 4}, 4.0) ? 1 : 0;
}

// A plain bar: what a one-stroke '1' would be.
std::int16_t MatchI_H0B0E2a() {
    if (Glyph.AspectRatio < MinBarSlenderness) return 0;
    return MatchesAny({Match1_H0B0E2a, Match1_H0B0E2b, Match1_H0B0E2c, Match1_H0B0E2d, Match1_H0B0E2e}) ? 1 : 0;
}

}  // namespace

// The right edge steps outwards in the lower half (the foot of an L, the bar of a J), or the
// glyph is already an F. The step is measured from row 2 on, so that both rows it looks back to
// are glyph rows.
std::int16_t RejectI_RightStepOrF() {
    const int h = Glyph.GlyphHeight;
    int step = 0;
    for (int p = std::max(h / 2, 2); p <= h - 1; ++p) {
        step = std::max({step, RowRightAt(p - 1) - RowRightAt(p), RowRightAt(p - 2) - RowRightAt(p)});
    }
    if (step > MaxRightStep) return 1;
    return Glyph.LetterVotes[LetterSlot('F')] != 0 ? 1 : 0;
}

std::int16_t IsLetterI() {
    if (RejectI_RightStepOrF() != 0) return 0;
    if (Glyph.AspectRatio < MinSlenderness) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchI_H0B2E4a});
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchI_H0B0E2a});
    return 0;
}
