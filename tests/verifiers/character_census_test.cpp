#include <gtest/gtest.h>

#include <string>

#include "tools/digit_census/digit_census.h"
#include "tools/digit_census/digit_render.h"

using namespace digitrender;

TEST(CharacterCensus, RenderedYAndZReadAsThemselvesInEveryFont) {
    for (int font = 0; font < FontCount(); ++font) {
        for (int height : {24, 40, 64}) {
            for (char letter : {'Y', 'Z'}) {
                const DigitReading r = ReadCharacter(letter, RenderCharacter(letter, {font, height, 0.0, 0.0, 1}));
                EXPECT_EQ(r.outcome, Outcome::Right)
                    << letter << " in " << FontName(font) << " at " << height << " rows read as '" << r.candidates << "'";
            }
        }
    }
}

TEST(CharacterCensus, DigitsInDigitModeLettersInLetterMode) {
    CensusPlan plan;
    plan.fonts = {0};
    plan.heights = {40};
    plan.blurs = {0.0};
    plan.noises = {0.0};
    plan.characters = "7Z";
    const Census census = TakeCensus(plan);
    // Read in the other family's mode, each would be rejected (or taken for the other).
    EXPECT_EQ(census.counts.at('7')[static_cast<int>(Outcome::Right)], 1);
    EXPECT_EQ(census.counts.at('Z')[static_cast<int>(Outcome::Right)], 1);
    EXPECT_EQ(census.Total('7'), 1);
    EXPECT_EQ(census.Total('Y'), 0);
    const std::string table = FormatCensus(census);
    EXPECT_LT(table.find("| 7 | 1 | 100.0%"), table.find("| Z | 1 | 100.0%"));
    EXPECT_NE(table.find("| Z | 1 | 100.0%"), std::string::npos);
}
