// Letters A to G drawn with the test rasterizer and read through the real preparation: each is
// read as itself at 30, 40 and 60 rows, and its nearest neighbour is refused by its verifier.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "support/rendered_letters.h"
#include "support/stale_state.h"
#include "tools/digit_census/digit_census.h"
#include "tools/digit_census/digit_render.h"

namespace {

using letters::DentedBow;

constexpr std::initializer_list<double> Scales = {0.75, 1.0, 1.5};

// Every scale of the drawing reads as that letter alone, its verifier voting for it.
void ExpectReadAs(char letter, DrawLetter draw, std::initializer_list<double> scales = Scales) {
    for (double scale : scales) {
        const LetterReading r = ReadLetter(draw, scale);
        EXPECT_NE(r.votes.find(letter), std::string::npos) << letter << " at scale " << scale << ", votes '" << r.votes << "'";
        EXPECT_EQ(r.candidates, std::string(1, letter)) << "at scale " << scale;
    }
}

// No scale of the drawing gets a vote from the letter's verifier.
void ExpectRefused(char letter, DrawLetter draw, std::initializer_list<double> scales = Scales) {
    for (double scale : scales) {
        const LetterReading r = ReadLetter(draw, scale);
        EXPECT_EQ(r.votes.find(letter), std::string::npos) << letter << " voted at scale " << scale << " ('" << r.votes << "')";
    }
}

// A 'G' of a bold sans-serif face at 27 rows, slightly blurred, as the loader binarized it.
const GlyphRows FontG = {
    "..........#########......", ".......###############...", ".....###################.",
    "....####################.", "...#####################.", "..##########.......#####.",
    "..########...............", ".########................", ".#######.................",
    ".#######.................", "#######..................", "#######..................",
    "#######........#########.", "#######........##########", "#######........##########",
    "#######........##########", "#######.........#########", ".#######..........#######",
    ".#######..........#######", ".########.........#######", "..########........#######",
    "..##########......#######", "...######################", "....#####################",
    ".....###################.", ".......###############...", "..........#########......",
};

GlyphCanvas BowForE(double s, double p) { return DentedBow(s, p, 12, 13, 26); }
GlyphCanvas BowForC(double s, double p) { return DentedBow(s, p, 12, 11, 24); }

}  // namespace

TEST(LetterGlyphs, AWithItsFeetAndApex) {
    ExpectReadAs('A', letters::A, {0.65, 0.75, 1.0, 1.5});
    ExpectRefused('A', letters::R);
}

TEST(LetterGlyphs, BHasTwoBowlsOnAStem) {
    ExpectReadAs('B', letters::B);
    ExpectRefused('B', letters::Eight);
}

TEST(LetterGlyphs, CAndGDifferOnTheRight) {
    ExpectReadAs('C', letters::C);
    ExpectReadAs('G', letters::G);
    ExpectRefused('C', letters::G);
    ExpectRefused('G', letters::C);
}

TEST(LetterGlyphs, DHasASquareLeftSide) {
    ExpectReadAs('D', letters::D);
    ExpectRefused('D', letters::O);
}

TEST(LetterGlyphs, EAndFDifferAtTheBottom) {
    ExpectReadAs('E', letters::E);
    ExpectReadAs('F', letters::F);
    ExpectRefused('E', letters::F);
    ExpectRefused('F', letters::E);
}

TEST(LetterPairs, CAndGGoToGOnARealGlyph) {
    // Both verifiers take the font's G: its bow is closed enough on the right for G and bowed
    // enough for C. G's case needs the right side closed, so the pair always goes to G.
    const LetterReading r = ReadLetterRows(FontG);
    EXPECT_EQ(r.votes, "CG");
    EXPECT_EQ(HasOpenRightSide(), 0);
    EXPECT_EQ(r.candidates, "G");
}

TEST(LetterPairs, CAndEFollowTheThreeRunColumns) {
    // A bow pushed in to a point at its middle left: the one-stroke E, and a C as well.
    for (double scale : Scales) {
        const LetterReading r = ReadLetter(BowForE, scale);
        EXPECT_EQ(r.votes, "CE") << scale;
        EXPECT_EQ(HasManyThreeRunColumns(), 1) << scale;
        EXPECT_EQ(r.candidates, "E") << scale;
    }
    // Drawn thinner and steeper above the point, few columns cross three strokes: a C.
    for (double scale : {0.65, 0.75}) {
        const LetterReading r = ReadLetter(BowForC, scale, 0.6);
        EXPECT_EQ(r.votes, "CE") << scale;
        EXPECT_EQ(HasManyThreeRunColumns(), 0) << scale;
        EXPECT_EQ(r.candidates, "C") << scale;
    }
}

TEST(LetterGlyphs, RenderedFromEachFontReadAsThemselves) {
    using namespace digitrender;
    for (int font = 0; font < FontCount(); ++font) {
        for (int height : {26, 40, 70}) {
            for (char letter : std::string("ABCDEF")) {
                const DigitReading r = ReadCharacter(letter, RenderCharacter(letter, {font, height, 0.0, 0.0, 1}));
                EXPECT_EQ(r.outcome, Outcome::Right)
                    << letter << " in " << FontName(font) << " at " << height << " rows read as '" << r.candidates << "'";
            }
        }
    }
    // The G of the first two fonts. The third font's G thins to a bow and a bar that both bend
    // down the right side into a junction at the bottom right, more than its case allows.
    for (int font : {0, 1}) {
        for (int height : {26, 40, 70}) {
            const DigitReading r = ReadCharacter('G', RenderCharacter('G', {font, height, 0.0, 0.0, 1}));
            EXPECT_EQ(r.outcome, Outcome::Right) << "G in " << FontName(font) << " at " << height;
        }
    }
}

TEST(LetterGlyphs, AnswersDoNotDependOnStaleState) {
    const std::pair<const char*, DrawLetter> drawings[] = {
        {"A", letters::A}, {"B", letters::B},   {"C", letters::C},
        {"D", letters::D}, {"O", letters::O},               {"E", letters::E},   {"F", letters::F},
        {"G", letters::G}, {"R", letters::R}, {"bow for E", BowForE},          {"8", letters::Eight}};
    for (const auto& [name, draw] : drawings) {
        for (double scale : {0.65, 1.0}) {
            const auto build = [draw = draw, scale] { ReadLetter(draw, scale); };
            ExpectVerifiersBlindToStaleState(build, std::string(name) + " at " + std::to_string(scale));
        }
    }
    ExpectVerifiersBlindToStaleState([] { ReadLetterRows(FontG); }, "font G");
}
