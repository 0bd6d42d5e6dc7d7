// Every verifier answers on a glyph what it answers with junk wherever an earlier glyph or trace
// leaves data behind. The letter tests run their own glyphs through the same check.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/glyph/glyph_record.h"
#include "support/drawn_glyph.h"
#include "support/stale_state.h"

namespace {

constexpr int DigitRows = 24;
constexpr int DigitColumns = 16;

struct DrawnDigit {
    const char* name;
    const char* accepted;  // the digit family's candidates
    std::function<void()> draw;
};

void StartDigit() { StartBlankGlyph(DigitRows, DigitColumns); }

void DrawSix() {
    StartDigit();
    DrawPolyline({{1, 15}, {2, 11}, {5, 6}, {9, 3}, {12, 2}, {18, 2}, {22, 4}, {24, 8}, {22, 13}, {18, 15}, {14, 14},
                  {12, 11}, {11, 7}, {12, 3}});
}

// The '6' turned half round.
void DrawNine() {
    DrawSix();
    const SkeletonArt six = ReadGrid(Glyph.SkeletonImage, 1, DigitRows, DigitColumns);
    DrawSkeleton(MirroredLeftRight(SkeletonArt(six.rbegin(), six.rend())));
}

const DrawnDigit Digits[] = {
    {"ring", "0",
     [] {
         StartDigit();
         DrawPolyline({{1, 5}, {1, 11}, {5, 15}, {20, 15}, {24, 11}, {24, 5}, {20, 1}, {5, 1}, {1, 5}});
     }},
    {"stem", "1",
     [] {
         StartBlankGlyph(DigitRows, 5);
         DrawStroke(1, 3, DigitRows, 3);
     }},
    {"swan", "2",
     [] {
         StartDigit();
         DrawPolyline({{4, 1}, {2, 3}, {1, 5}, {1, 11}, {2, 13}, {4, 15}, {8, 15}, {22, 2}, {23, 1}, {24, 2}, {24, 16}});
     }},
    {"two bows", "3",
     [] {
         StartDigit();
         DrawPolyline({{3, 1}, {1, 4}, {1, 11}, {3, 14}, {6, 15}, {9, 14}, {11, 11}, {12, 7}});
         DrawPolyline({{11, 11}, {13, 14}, {16, 15}, {21, 14}, {23, 11}, {24, 7}, {24, 4}, {22, 1}});
     }},
    {"triangle on a stem", "",
     [] {
         StartBlankGlyph(DigitRows, 14);
         DrawPolyline({{1, 12}, {15, 2}, {16, 1}, {16, 12}, {2, 12}});
         DrawStroke(16, 12, DigitRows, 12);
     }},
    {"hook", "5",
     [] {
         StartDigit();
         DrawPolyline({{1, 15}, {1, 3}, {2, 2}, {10, 2}, {11, 3}, {11, 11}, {13, 14}, {15, 15}, {20, 15}, {23, 12},
                       {24, 9}, {24, 5}, {23, 1}});
     }},
    {"low bowl", "6", DrawSix},
    {"bar and slant", "7",
     [] {
         StartDigit();
         DrawPolyline({{1, 1}, {1, 12}, {2, 13}, {17, 5}, {DigitRows, 5}});
     }},
    {"two loops", "8",
     [] {
         StartBlankGlyph(16, 11);
         DrawPolyline({{1, 4}, {1, 8}, {3, 10}, {5, 10}, {7, 8}, {8, 7}, {8, 5}, {7, 4}, {5, 2}, {3, 2}, {1, 4}});
         DrawPolyline({{8, 5}, {11, 2}, {14, 1}, {15, 2}, {16, 3}, {16, 9}, {15, 10}, {12, 11}, {11, 10}, {8, 7}});
     }},
    {"high bowl", "9", DrawNine},
};

}  // namespace

TEST(StaleState, DigitGlyphsAnswerTheSameOverJunk) {
    for (const DrawnDigit& digit : Digits) {
        const auto build = [&digit] {
            digit.draw();
            PrepareDrawnFeatures(1);
        };
        const VerifierAnswers answers = ExpectVerifiersBlindToStaleState(build, digit.name);
        EXPECT_EQ(answers.digitCandidates, digit.accepted) << digit.name;
    }
}

TEST(StaleState, FillsOnlyWhatLiesOutsideTheGlyph) {
    DescribeDrawnSkeleton({"#...#", ".#.#.", "..#..", "..#..", "..#.."});
    const GlyphRecord before = Glyph;
    FillStaleState(200);
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int r = 0; r <= h + 1; ++r) {
        for (int c = 0; c <= w + 1; ++c) {
            EXPECT_EQ(Glyph.SkeletonImage.At(r, c), before.SkeletonImage.At(r, c));
            EXPECT_EQ(Glyph.GlyphImage.At(r, c), before.GlyphImage.At(r, c));
        }
    }
    for (int i = 0; i < h; ++i) EXPECT_EQ(Glyph.RowInkCount[i], before.RowInkCount[i]);
    for (int c = 0; c < w; ++c) EXPECT_EQ(Glyph.ColTopMargin[c], before.ColTopMargin[c]);
    for (int c = 1; c <= w; ++c) EXPECT_EQ(Glyph.ColGapCount[c], before.ColGapCount[c]);
    EXPECT_EQ(Glyph.JunctionCount, before.JunctionCount);
    EXPECT_EQ(Glyph.RowInkCount[h], 200);
    EXPECT_EQ(Glyph.ColGapCount[w + 1], 200);
    EXPECT_EQ(Glyph.PathX[0], 200);
    EXPECT_EQ(Glyph.SkeletonImage.At(h + 2, 0), 200);
}
