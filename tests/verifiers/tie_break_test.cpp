#include "engine/verifiers/tie_breaks.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/glyph/glyph_record.h"
#include "support/glyph_profiles.h"

namespace {

// A 12 x 20 glyph whose right edge steps out by `out` columns at row 11 (a '4' arm or the
// bottom of a '9' bowl) and, when `back` is set, steps in again at row 14.
GlyphRows RightEdgeStep(bool back) {
    GlyphRows rows(20, "####        ");
    for (int r = 11; r < (back ? 14 : 20); ++r) rows[r] = "############";
    return rows;
}

}  // namespace

TEST(Prefer9Over4, AnArmThatStepsOutAndBackIsAFour) {
    DrawProfileGlyph(RightEdgeStep(true));
    EXPECT_EQ(Prefer9Over4(), 0);
    DrawProfileGlyph(RightEdgeStep(false));
    EXPECT_EQ(Prefer9Over4(), 1);
    // A step back below row H - 4 is not looked at.
    GlyphRows low = RightEdgeStep(false);
    low[18] = low[19] = "####        ";
    DrawProfileGlyph(low);
    EXPECT_EQ(Prefer9Over4(), 1);
}

TEST(Prefer7Over1, WeighsTheLeftMarginDropAgainstTheWidth) {
    // A '1' with a short flag: the left margin grows by only 2 of 10 columns.
    GlyphRows one(24, "   ####   ");
    one[0] = one[1] = " #####    ";
    DrawProfileGlyph(one);
    EXPECT_EQ(Prefer7Over1(), 0);

    // The margin growth above W/2 + 1 is a '7' bar.
    GlyphRows seven(24, "      ####");
    seven[0] = seven[1] = "##########";
    for (int r = 2; r < 24; ++r) seven[r] = std::string(6 - r / 5, ' ') + "####" + std::string(r / 5, ' ');
    DrawProfileGlyph(seven);
    EXPECT_EQ(Prefer7Over1(), 1);

    // Too slender for a '7', whatever its margins.
    GlyphRows slender(40, "       #");
    slender[0] = "########";
    DrawProfileGlyph(slender);
    EXPECT_EQ(Prefer7Over1(), 0);
}

TEST(TieBreaks, ReadNothingPastTheGlyph) {
    using Test = std::int16_t (*)();
    const Test tests[] = {Prefer9Over4, Prefer6Over4, Prefer7Over1, Prefer7Over3};
    const GlyphRows glyphs[] = {{"#"}, {"##", "##", "##"}, {"###", "# #", "###", "  #"},
                                RightEdgeStep(true), RightEdgeStep(false)};
    ExpectBlindToProfileTails(tests, glyphs);
}
