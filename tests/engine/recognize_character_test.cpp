#include "engine/glyph/recognize_character.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "support/rendered_letters.h"

TEST(CandidateString, ListsDigitsBeforeLettersInListOrder) {
    ResetGlyphRecord();
    Glyph.DigitCandidates[0] = '0';
    Glyph.DigitCandidates[1] = '8';
    Glyph.DigitCandidateCount = 2;
    Glyph.LetterCandidates[0] = 'O';
    Glyph.LetterCandidates[1] = 'D';
    Glyph.LetterCandidateCount = 2;
    BuildCandidateString();
    EXPECT_STREQ(Glyph.CandidateString, "08OD");
    EXPECT_EQ(Glyph.CandidateCount, 4);

    // The fullest lists possible (ten digits, one letter per verifier) just fit.
    for (int k = 0; k < 10; ++k) Glyph.DigitCandidates[k] = static_cast<std::int16_t>('0' + k);
    for (int k = 0; k < 26; ++k) Glyph.LetterCandidates[k] = static_cast<std::int16_t>('A' + k);
    Glyph.DigitCandidateCount = 10;
    Glyph.LetterCandidateCount = 26;
    BuildCandidateString();
    EXPECT_STREQ(Glyph.CandidateString, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(Glyph.CandidateCount, 36);
}

TEST(RecognizeCharacter, AnUnknownModeClassifiesNothing) {
    ResetGlyphRecord();
    // A plain bar loaded at the origin, and the answer of an earlier glyph still in place.
    Glyph.GlyphHeight = 30;
    Glyph.GlyphWidth = 4;
    for (int r = 0; r < 30; ++r) {
        for (int c = 0; c < 4; ++c) Glyph.SkeletonImage.Set(r, c, 1);
    }
    std::strcpy(Glyph.CandidateString, "7T");
    Glyph.CandidateCount = 2;
    Glyph.DigitCandidateCount = 1;
    EXPECT_EQ(RecognizeCharacter(3), 0);
    EXPECT_STREQ(Glyph.CandidateString, "");
    EXPECT_EQ(Glyph.CandidateCount, 0);
    EXPECT_EQ(Glyph.DigitCandidateCount, 0);
}

// Glyphs read again are answered from the first reading: the answer and the record must be the
// first reading's, per mode, and the drivers' ink measures must stay the drivers'.
TEST(RecognizeCharacter, AGlyphReadAgainAnswersAsItsFirstReadingInThatMode) {
    const auto loadO = [] {
        ResetGlyphRecord();
        DrawGlyph(letters::O(1.0, PenForScale(1.0)).Rows(), 0);
        CropGlyph();
    };
    loadO();
    const std::int16_t asDigit = RecognizeCharacter(ModeDigits);
    const std::string digits = Glyph.CandidateString;
    const GlyphRecord first = Glyph;
    loadO();
    ASSERT_GT(RecognizeCharacter(ModeLetters), 0);
    const std::string asLetters = Glyph.CandidateString;
    ASSERT_NE(asLetters, digits);

    loadO();
    Glyph.InkCount = 321;
    Glyph.InkRatio = 0.25f;
    EXPECT_EQ(RecognizeCharacter(ModeDigits), asDigit);
    EXPECT_EQ(Glyph.InkCount, 321);
    EXPECT_EQ(Glyph.InkRatio, 0.25f);
    Glyph.InkCount = first.InkCount;
    Glyph.InkRatio = first.InkRatio;
    // Path entries past the lists in use are scratch.
    const auto bytes = [](const GlyphRecord& record, std::size_t from, std::size_t to) {
        return std::string(reinterpret_cast<const char*>(&record) + from, to - from);
    };
    const int points = std::max(first.PathPointCount, first.WalkLength);
    const std::size_t pathX = offsetof(GlyphRecord, PathX);
    const std::size_t pathY = offsetof(GlyphRecord, PathY);
    const std::size_t afterPaths = offsetof(GlyphRecord, PathPointCount);
    for (const auto& [from, to] : {std::pair{std::size_t{0}, pathX}, {pathX, pathX + 2 * points},
                                   {pathY, pathY + 2 * points}, {afterPaths, sizeof(GlyphRecord)}}) {
        EXPECT_EQ(bytes(Glyph, from, to), bytes(first, from, to)) << from;
    }
    loadO();
    RecognizeCharacter(ModeLetters);
    EXPECT_EQ(Glyph.CandidateString, asLetters);
}
