#include "tools/digit_census/digit_census.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/glyph/glyph_record.h"

using namespace digitrender;

namespace {

double RightShare(const Census& census) {
    int right = 0;
    int total = 0;
    for (char digit : census.characters) {
        right += census.counts.at(digit)[static_cast<int>(Outcome::Right)];
        total += census.Total(digit);
    }
    return total > 0 ? static_cast<double>(right) / total : 0.0;
}

}  // namespace

TEST(DigitCensus, FixedSetIsNeverReadWrong) {
    // DejaVu Sans and its condensed cut at three heights with a slight blur: every digit is read
    // right or not at all.
    CensusPlan plan;
    plan.fonts = {1, 2};
    plan.heights = {30, 45, 60};
    plan.blurs = {0.4};
    plan.noises = {0.0};
    const Census census = TakeCensus(plan);
    for (char digit : census.characters) {
        EXPECT_EQ(census.counts.at(digit)[static_cast<int>(Outcome::Wrong)], 0) << "digit " << digit;
        EXPECT_EQ(census.counts.at(digit)[static_cast<int>(Outcome::Ambiguous)], 0) << "digit " << digit;
    }
    EXPECT_TRUE(census.confusions.empty()) << FormatCensus(census);
}

TEST(DigitCensus, RightReadingsStayAboveTheFloor) {
    // Four fonts, 20 to 70 rows, sharp and blurred, clean and noisy: 96.7 % read right when the
    // floor was set. Later work may raise the floor, never lower it.
    CensusPlan plan;
    for (int font = 0; font < FontCount(); ++font) plan.fonts.push_back(font);
    plan.heights = {20, 30, 40, 50, 60, 70};
    plan.blurs = {0.0, 0.8};
    plan.noises = {0.0, 0.5};
    const Census census = TakeCensus(plan);
    EXPECT_GE(RightShare(census), 0.96) << FormatCensus(census);
}

TEST(DigitCensus, WideCharacterIsReadFromItsBoxNotTheWholePatch) {
    // The first font's W at 70 rows is read; its patch, paper margins included, is wider than
    // the largest glyph the grid takes.
    const GrayPatch patch = RenderCharacter('W', {0, 70, 0.0, 0.0, 1});
    ASSERT_GT(patch.width, MaxGlyphSide);
    const DigitReading r = ReadCharacter('W', patch);
    EXPECT_EQ(r.outcome, Outcome::Right) << r.candidates;
}
