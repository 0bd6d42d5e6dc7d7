#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

// A closed ring: the hole reaches within a pixel of every side of the skeleton box.
std::int16_t Match0_H1B0E0a() {
    const HoleBox& hole = LargestHole();
    return HoleSpansBox(hole) && HoleRatio(hole) >= 0.43 ? 1 : 0;
}

}  // namespace

std::int16_t IsDigit0() {
    if (Glyph.HoleCount != 1) return 0;
    if (IsCase(0, 0)) return AcceptFirstMatch({Match0_H1B0E0a});
    return 0;
}
