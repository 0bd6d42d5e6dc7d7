#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_strokes.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double MaxAspectRatio = 3.0;

// The open bow: both ends on the right, the upper one in the upper half, the stroke bowing out
// to the left between them.
std::int16_t MatchC_H0B0E2a() {
    const Stroke bow = OpenBow();
    if (!bow.traced || (bow.shape == 2 && bow.chordDirection == -1.0F)) return 0;
    if (InSet(bow.shape, {2, 9, 10}) && HasOpenRightSide() != 1) return 0;
    return HasMiddleBarSpur() ? 0 : 1;
}

}  // namespace

std::int16_t IsLetterC() {
    if (Glyph.HoleCount != 0) return 0;
    if (Glyph.AspectRatio > MaxAspectRatio) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchC_H0B0E2a});
    return 0;
}
