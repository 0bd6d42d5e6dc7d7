#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"
#include "engine/glyph/recognize_character.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "support/drawn_glyph.h"
#include "support/glyph_profiles.h"
#include "support/stale_state.h"
#include "support/test_glyphs.h"

namespace {

// Which tips of a Y thinning split into two short spurs.
struct YSplits {
    bool left;
    bool right;
    bool foot;
};

constexpr int ForkRow = 13;
constexpr int ForkCol = 11;

// An arm from the top corner in `cornerCol` down to the fork. Split, it starts four columns
// further in and three rows lower, in a junction with two spurs up to the top row.
void DrawArm(bool split, int cornerCol, int inward) {
    if (!split) {
        DrawStroke(1, cornerCol, ForkRow, ForkCol);
        return;
    }
    const int col = cornerCol + 4 * inward;
    DrawStroke(4, col, ForkRow, ForkCol);
    DrawStroke(4, col, 1, col - 3);
    DrawStroke(4, col, 1, col + 3);
}

// A Y of 25 rows and 21 columns: the arms from the top corners meet the stem in a fork at the
// centre, and the stem runs down to the bottom row. A split tip ends in a junction with two
// short spurs (a V over an arm, a spread foot under the stem).
void DrawY(YSplits split) {
    StartBlankGlyph(25, 21);
    DrawArm(split.left, 1, 1);
    DrawArm(split.right, 21, -1);
    if (split.foot) {
        DrawStroke(ForkRow, ForkCol, 22, ForkCol);
        DrawStroke(22, ForkCol, 25, 8);
        DrawStroke(22, ForkCol, 25, 14);
    } else {
        DrawStroke(ForkRow, ForkCol, 25, ForkCol);
    }
    PrepareDrawnFeatures(1);
}

// Which corners of a Z thinning forked: none (one stroke), the top-right one, or both.
enum class ZForks { None, TopRight, Both };

// A Z of 21 rows and 17 columns: top bar, diagonal and bottom bar. An unforked corner is a
// pointed turn; a forked one is a junction with a short spur beyond the bar.
void DrawZ(ZForks forks) {
    StartBlankGlyph(21, 17);
    if (forks == ZForks::None) {
        DrawStroke(1, 1, 1, 16);
        Glyph.SkeletonImage.Set(2, 17, 1);
        DrawStroke(3, 16, 19, 2);
    } else {
        DrawStroke(1, 1, 1, 13);
        DrawStroke(1, 15, 1, 17);
        DrawStroke(2, 14, 1, 15);
        DrawStroke(2, 14, forks == ZForks::Both ? 20 : 19, forks == ZForks::Both ? 4 : 2);
    }
    if (forks == ZForks::Both) {
        DrawStroke(20, 4, 21, 3);
        Glyph.SkeletonImage.Set(21, 2, 1);
        DrawStroke(21, 5, 21, 17);
    } else {
        Glyph.SkeletonImage.Set(20, 1, 1);
        DrawStroke(21, 2, 21, 17);
    }
    PrepareDrawnFeatures(1);
}

// Printed letters on the 40-row design of the shared test glyphs, drawn with a round pen.
GlyphCanvas PrintedY(double s, double p) {
    return Canvas(s, 40, 26).Line(3 * s, 2 * s, 13 * s, 20 * s, p).Line(23 * s, 2 * s, 13 * s, 20 * s, p).Line(
        13 * s, 20 * s, 13 * s, 38 * s, p);
}
GlyphCanvas PrintedZ(double s, double p) {
    return Canvas(s, 40, 26).Line(3 * s, 4 * s, 23 * s, 4 * s, p).Line(23 * s, 4 * s, 3 * s, 36 * s, p).Line(
        3 * s, 36 * s, 23 * s, 36 * s, p);
}
using DrawLetter = GlyphCanvas (*)(double scale, double pen);

// The drawing loaded, normalized, thinned and prepared as a character box would be.
void LoadPrepared(DrawLetter draw, double scale) {
    draw(scale, PenForScale(scale)).Load();
    ASSERT_EQ(NormalizeAndThinCharacter(), 0);
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
}

std::string ReadLetters(DrawLetter draw, double scale) {
    draw(scale, PenForScale(scale)).Load();
    if (RecognizeCharacter(ModeLetters) < 0) return "rejected";
    return Glyph.CandidateString;
}

std::string Case() { return std::to_string(Glyph.JunctionCount) + "," + std::to_string(Glyph.EndpointCount); }

}  // namespace

TEST(IsLetterY, AcceptsEachSpurCase) {
    const struct {
        YSplits split;
        const char* expectedCase;
    } cases[] = {
        {{false, false, false}, "1,3"}, {{false, false, true}, "2,4"}, {{false, true, false}, "2,4"},
        {{true, false, true}, "3,5"},   {{true, true, false}, "3,5"},  {{false, true, true}, "3,5"},
        {{true, true, true}, "4,6"},
    };
    for (const auto& c : cases) {
        const std::string name = std::string("Y splits ") + (c.split.left ? "L" : "-") + (c.split.right ? "R" : "-") +
                                 (c.split.foot ? "F" : "-");
        DrawY(c.split);
        EXPECT_EQ(Case(), c.expectedCase) << name;
        EXPECT_EQ(IsLetterY(), LetterAccepted) << name;
        const VerifierAnswers answers = ExpectVerifiersBlindToStaleState([&] { DrawY(c.split); }, name);
        EXPECT_EQ(answers.letterCandidates, "Y") << name;
        EXPECT_EQ(answers.letterFamily, 'Y') << name;
    }
}

TEST(IsLetterY, RejectsHolesAndJunctionlessStrokes) {
    // A single stroke is never a Y.
    StartBlankGlyph(25, 21);
    DrawStroke(1, 11, 25, 11);
    PrepareDrawnFeatures(1);
    EXPECT_EQ(IsLetterY(), 0);
    // A Y whose skeleton closed a hole.
    DrawY({false, false, false});
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterY(), 0);
    // The same three arms turned upside down: the fork's tips are below it.
    StartBlankGlyph(25, 21);
    DrawStroke(25, 1, 13, 11);
    DrawStroke(25, 21, 13, 11);
    DrawStroke(13, 11, 1, 11);
    PrepareDrawnFeatures(1);
    EXPECT_EQ(Case(), "1,3");
    EXPECT_EQ(IsLetterY(), 0);
}

TEST(IsLetterZ, AcceptsEachCornerCase) {
    const struct {
        ZForks forks;
        const char* expectedCase;
        const char* name;
    } cases[] = {{ZForks::None, "0,2", "one stroke"}, {ZForks::TopRight, "1,3", "top fork"}, {ZForks::Both, "2,4", "two forks"}};
    for (const auto& c : cases) {
        DrawZ(c.forks);
        EXPECT_EQ(Case(), c.expectedCase) << c.name;
        EXPECT_EQ(RejectZ_SecondBar(), 0) << c.name;
        EXPECT_EQ(IsLetterZ(), LetterAccepted) << c.name;
        const VerifierAnswers answers = ExpectVerifiersBlindToStaleState([&] { DrawZ(c.forks); }, c.name);
        EXPECT_EQ(answers.letterCandidates, "Z") << c.name;
    }
}

TEST(PrintedLetters, YAndZReadAsThemselves) {
    for (double scale : {0.75, 1.0, 1.5}) {
        EXPECT_EQ(ReadLetters(PrintedY, scale), "Y") << "scale " << scale;
        EXPECT_EQ(ReadLetters(PrintedZ, scale), "Z") << "scale " << scale;
    }
    const std::pair<const char*, DrawLetter> printed[] = {{"printed Y", PrintedY}, {"printed Z", PrintedZ}};
    for (const auto& [name, draw] : printed) {
        ExpectVerifiersBlindToStaleState([draw = draw] { LoadPrepared(draw, 1.0); }, name);
    }
}

TEST(IsLetterZ, OneStrokeMustRunFromTopLeftToBottomRight) {
    // Mirrored, the single stroke runs from the top right to the bottom left.
    DrawZ(ZForks::None);
    const SkeletonArt z = ReadGrid(Glyph.SkeletonImage, 1, Glyph.GlyphHeight, Glyph.GlyphWidth);
    DescribeDrawnSkeleton(MirroredLeftRight(z));
    EXPECT_EQ(Case(), "0,2");
    EXPECT_EQ(IsLetterZ(), 0);
    // A hole rules a Z out whatever its strokes.
    DrawZ(ZForks::TopRight);
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterZ(), 0);
    // Three junctions is no Z case.
    DrawZ(ZForks::Both);
    Glyph.JunctionCount = 3;
    EXPECT_EQ(IsLetterZ(), 0);
}

namespace {

// 20 rows of 12 columns: a top bar (rows 0-1), then the given rows from row 2, then a narrow
// stroke down to the bottom.
GlyphRows BarOver(std::initializer_list<const char*> below) {
    GlyphRows rows(20, "  ####      ");
    rows[0] = rows[1] = "############";
    int r = 2;
    for (const char* row : below) rows[r++] = row;
    return rows;
}

}  // namespace

TEST(RejectZ_SecondBar, WideRowAndInwardStepBelowTheTopBar) {
    // Row 2 leaves the left half (left margin 7 > W/2) and is still wider than off - 8 = 4;
    // row 3 steps the right outline in by 6. The scan below the bar counts from row 2 itself.
    DrawProfileGlyph(BarOver({"       #####"}));
    EXPECT_EQ(RejectZ_SecondBar(), 1);
    EXPECT_EQ(IsLetterZ(), 0);
    // No wide row: row 2 one cell narrower.
    DrawProfileGlyph(BarOver({"        ####"}));
    EXPECT_EQ(RejectZ_SecondBar(), 0);
    // No inward step of more than 4: the rows below row 2 end at the right edge as well.
    GlyphRows noStep = BarOver({"       #####"});
    for (int r = 3; r < 20; ++r) noStep[r] = "      ######";
    DrawProfileGlyph(noStep);
    EXPECT_EQ(RejectZ_SecondBar(), 0);
}

TEST(RejectZ_SecondBar, PassesWithoutABarInTheUpperHalf) {
    // Every row below the bar keeps its left margin in the left half down to mid-height.
    DrawProfileGlyph(BarOver({"      ######"}));
    EXPECT_EQ(RejectZ_SecondBar(), 0);
    // The first wide row lies at mid-height: no top bar.
    GlyphRows low(20, "  ####      ");
    low[10] = low[11] = "############";
    low[12] = "       #####";
    DrawProfileGlyph(low);
    EXPECT_EQ(RejectZ_SecondBar(), 0);
    // Two-run rows under the bar (H/8 = 2 of them) before the scan leaves the left half mark a
    // bowl, not a Z's diagonal; one such row does not.
    DrawProfileGlyph(BarOver({"##        ##", "##        ##", "       #####"}));
    EXPECT_EQ(RejectZ_SecondBar(), 0);
    DrawProfileGlyph(BarOver({"##        ##", "  ######    ", "       #####"}));
    EXPECT_EQ(RejectZ_SecondBar(), 1);
}
