#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

// A ring whose hole fills the skeleton box to within a pixel on every side, and whose left
// side is not the straight stem of a D.
std::int16_t MatchO_H1B0E0a() {
    const HoleBox& hole = LargestHole();
    if (!HoleSpansBox(hole) || HoleRatio(hole) < 0.5) return 0;
    return IsNotDShapedLoop() == 1 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterO() {
    if (Glyph.HoleCount != 1) return 0;
    if (IsCase(0, 0)) return AcceptFirstMatch({MatchO_H1B0E0a});
    return 0;
}
