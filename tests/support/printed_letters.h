// Printed letters read the way a character box is: loaded into the glyph grid, normalized,
// thinned, prepared and classified.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/glyph/features.h"
#include "engine/glyph/normalize.h"
#include "engine/glyph/recognize_character.h"
#include "support/test_glyphs.h"

using DrawLetter = GlyphCanvas (*)(double scale, double pen);

// The candidate letters of the drawing at that scale, or "rejected".
inline std::string ReadLetters(DrawLetter draw, double scale) {
    draw(scale, PenForScale(scale)).Load();
    if (RecognizeCharacter(ModeLetters) < 0) return "rejected";
    return Glyph.CandidateString;
}

// The drawing loaded, normalized, thinned and prepared, for the verifiers to run on.
inline void LoadPrepared(DrawLetter draw, double scale) {
    draw(scale, PenForScale(scale)).Load();
    ASSERT_EQ(NormalizeAndThinCharacter(), 0);
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
}
