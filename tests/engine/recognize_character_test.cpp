#include "engine/glyph/recognize_character.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/glyph/glyph_record.h"

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
