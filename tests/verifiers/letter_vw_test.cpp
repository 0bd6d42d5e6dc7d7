#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "support/drawn_glyph.h"
#include "support/glyph_profiles.h"
#include "support/letter_strokes.h"
#include "support/printed_letters.h"
#include "support/stale_state.h"
#include "support/test_glyphs.h"

namespace {

std::string Case() { return std::to_string(Glyph.JunctionCount) + "," + std::to_string(Glyph.EndpointCount); }

// A V of 21 rows and 19 columns whose left tip hooks out to the left before the arm comes down.
void DrawVWithHookedTip() {
    StartBlankGlyph(21, 19);
    DrawPolyline({{1, 5}, {4, 2}, {5, 2}, {20, 9}});
    SetSkeletonCell(21, 10);
    DrawStroke(20, 11, 1, 19);
    PrepareDrawnFeatures(1);
}

}  // namespace

TEST(IsLetterV, AcceptsEachCase) {
    const struct {
        Tip left;
        Bottom bottom;
        Tip right;
        int width;
        const char* expectedCase;
        const char* name;
    } forms[] = {
        {Tip::Plain, Bottom::Pointed, Tip::Plain, 17, "0,2", "one stroke"},
        {Tip::Split, Bottom::Pointed, Tip::Plain, 17, "1,3", "left tip split"},
        {Tip::Plain, Bottom::Pointed, Tip::Split, 17, "1,3", "right tip split"},
        {Tip::Plain, Bottom::Tail, Tip::Plain, 17, "1,3", "tail"},
        {Tip::Split, Bottom::Pointed, Tip::Split, 21, "2,4", "both tips split"},
        {Tip::Split, Bottom::Tail, Tip::Split, 21, "3,5", "both tips split and a tail"},
    };
    for (const auto& f : forms) {
        const auto draw = [&] { DrawArms(f.left, f.bottom, f.right, 21, f.width); };
        draw();
        EXPECT_EQ(Case(), f.expectedCase) << f.name;
        EXPECT_EQ(RejectV_TwoRunRowsHigh(), 0) << f.name;
        EXPECT_EQ(IsLetterV(), LetterAccepted) << f.name;
        ExpectVerifiersBlindToStaleState(draw, f.name);
    }
    DrawVWithHookedTip();
    ASSERT_EQ(Case(), "0,2");
    EXPECT_EQ(IsLetterV(), LetterAccepted);
    ExpectVerifiersBlindToStaleState(DrawVWithHookedTip, "hooked tip");
}

TEST(IsLetterV, OneStrokeWithManyThreeRunRowsIsNoV) {
    // Ink between the arms in the upper rows: every such row crosses three strokes.
    DrawArms(Tip::Plain, Bottom::Pointed, Tip::Plain, 21, 17);
    ASSERT_EQ(AddInkAndPrepare(2, 9, 7, 9), 0);
    ASSERT_EQ(Case(), "0,2");
    EXPECT_EQ(IsLetterV(), 0);
    // Two such rows are still few.
    DrawArms(Tip::Plain, Bottom::Pointed, Tip::Plain, 21, 17);
    ASSERT_EQ(AddInkAndPrepare(3, 9, 4, 9), 0);
    EXPECT_EQ(IsLetterV(), LetterAccepted);
}

namespace {

// A glyph of `height` rows, 9 columns: one run in every row but the listed ones, which have two.
GlyphRows TwoRunRowsAt(int height, std::initializer_list<int> twoRunRows) {
    GlyphRows rows(static_cast<std::size_t>(height), "   ###   ");
    for (int r : twoRunRows) rows[static_cast<std::size_t>(r)] = "##     ##";
    return rows;
}

}  // namespace

TEST(RejectV_TwoRunRowsHigh, LowestPairOfTwoRunRowsMustReachTheUpperThirdsEnd) {
    // 12 rows: the lowest pair must end at row index 4 (= 12 / 3) or lower.
    DrawProfileGlyph(TwoRunRowsAt(12, {3, 4}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 0);
    DrawProfileGlyph(TwoRunRowsAt(12, {2, 3}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 1);
    // The lowest pair counts, not the highest.
    DrawProfileGlyph(TwoRunRowsAt(12, {0, 1, 9, 10}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 0);
    // Single two-run rows are no pair; without a pair the glyph is refused.
    DrawProfileGlyph(TwoRunRowsAt(12, {3, 5, 7, 9}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 1);
    // The last two glyph rows are the lowest pair there can be.
    DrawProfileGlyph(TwoRunRowsAt(12, {10, 11}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 0);
    // Below 9 rows the scan's floor (row 2) is never above the upper third's end: nothing is
    // refused. A glyph of 2 rows is not scanned at all.
    DrawProfileGlyph(TwoRunRowsAt(8, {}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 0);
    DrawProfileGlyph(TwoRunRowsAt(9, {}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 1);
    DrawProfileGlyph(TwoRunRowsAt(2, {0, 1}));
    EXPECT_EQ(RejectV_TwoRunRowsHigh(), 0);
}

TEST(RejectV_TwoRunRowsHigh, RowPastTheGlyphReadsAsEmpty) {
    // An earlier, larger glyph left two runs in the row under this one: the pair it would form
    // with the last row is not this glyph's.
    for (const GlyphRows& rows : {TwoRunRowsAt(12, {11}), TwoRunRowsAt(12, {2, 3, 11})}) {
        DrawProfileGlyph(rows);
        const std::int16_t clean = RejectV_TwoRunRowsHigh();
        EXPECT_EQ(clean, 1);
        for (std::uint8_t junk : {2, 3, 200}) {
            DrawProfileGlyph(rows);
            Glyph.RowRunCount[Glyph.GlyphHeight] = junk;
            EXPECT_EQ(RejectV_TwoRunRowsHigh(), clean) << int(junk);
        }
    }
}

namespace {

enum class Apex { Pointed, Spur, Split };

// Where thinning left spurs on a W of 25 rows and 33 columns: at each upper tip, under each
// bottom vertex, and at the middle apex (pointed, pulled down to a junction with one spur up to
// the top row, or with that spur split at its top).
struct WSpurs {
    bool leftTip;
    bool leftFoot;
    Apex apex;
    bool rightFoot;
    bool rightTip;
};

constexpr int WHeight = 25;
constexpr int WWidth = 33;
constexpr int ApexJunctionRow = 12;

// The stroke from `from` down to the bottom vertex at `col` and up to `to`; a vertex with a
// foot is a junction three rows above the bottom with a spur straight down.
void BottomVertex(bool foot, int col, std::pair<int, int> from, std::pair<int, int> to) {
    if (foot) {
        DrawStroke(from.first, from.second, WHeight - 3, col);
        DrawStroke(WHeight - 3, col, to.first, to.second);
        DrawStroke(WHeight - 3, col, WHeight, col);
        return;
    }
    DrawStroke(from.first, from.second, WHeight - 1, col - 1);
    SetSkeletonCell(WHeight, col);
    DrawStroke(WHeight - 1, col + 1, to.first, to.second);
}

void DrawW(WSpurs w) {
    StartBlankGlyph(WHeight, WWidth);
    const int quarter = (WWidth - 1) / 4;
    const int apex = 1 + 2 * quarter;
    const std::pair<int, int> leftTip = UpperTip(w.leftTip ? Tip::Split : Tip::Plain, 1, 4);
    const std::pair<int, int> rightTip = UpperTip(w.rightTip ? Tip::Split : Tip::Plain, WWidth, -4);
    std::pair<int, int> apexLeft{ApexJunctionRow, apex};
    std::pair<int, int> apexRight{ApexJunctionRow, apex};
    switch (w.apex) {
        case Apex::Pointed:
            SetSkeletonCell(5, apex);
            apexLeft = {6, apex - 1};
            apexRight = {6, apex + 1};
            break;
        case Apex::Spur:
            DrawStroke(ApexJunctionRow, apex, 1, apex);
            break;
        case Apex::Split:
            DrawStroke(ApexJunctionRow, apex, 4, apex);
            DrawStroke(4, apex, 1, apex - 2);
            DrawStroke(4, apex, 1, apex + 2);
            break;
    }
    BottomVertex(w.leftFoot, 1 + quarter, leftTip, apexLeft);
    BottomVertex(w.rightFoot, 1 + 3 * quarter, apexRight, rightTip);
    PrepareDrawnFeatures(1);
}

std::string Describe(WSpurs w) {
    const char* apex[] = {"pointed", "spur", "split"};
    return std::string("tips ") + (w.leftTip ? "S" : "-") + (w.rightTip ? "S" : "-") + ", feet " +
           (w.leftFoot ? "F" : "-") + (w.rightFoot ? "F" : "-") + ", apex " + apex[static_cast<int>(w.apex)];
}

// The left arm from the top-left corner down to its vertex and up to the middle junction
// (12, 15) of a W of 25 rows and 29 columns, and the open right half from beside that junction
// to the top-right corner.
void DrawWArmsAroundMiddle() {
    StartBlankGlyph(25, 29);
    DrawStroke(2, 2, 24, 8);
    SetSkeletonCell(25, 9);
    DrawStroke(24, 10, 12, 15);
    DrawStroke(13, 16, 24, 20);
    SetSkeletonCell(25, 21);
    DrawStroke(24, 22, 1, 29);
}

// The left V half closed into a hole by a stroke from its tip to the middle junction; the right
// tip is the only end.
void DrawWWithClosedLeftHalf() {
    DrawWArmsAroundMiddle();
    DrawStroke(12, 15, 2, 4);
    SetSkeletonCell(1, 3);
    PrepareDrawnFeatures(1);
}

// The left V half closed along the top into the middle stroke, which rises to a junction at the
// top middle with a spur up to the right.
void DrawWWithClosedLeftHalfAndSpur() {
    DrawWArmsAroundMiddle();
    DrawPolyline({{5, 15}, {1, 11}, {1, 4}, {2, 3}});
    DrawStroke(12, 15, 5, 15);
    DrawStroke(5, 15, 1, 19);
    PrepareDrawnFeatures(1);
}

// Both V halves closed: a bar along the top joins the tip junctions to the middle, and spurs
// stand at both tips and under both bottom vertices.
void DrawWWithTwoClosedHalves() {
    StartBlankGlyph(25, 33);
    DrawStroke(1, 1, 3, 4);
    DrawStroke(1, 33, 3, 30);
    DrawStroke(3, 4, 3, 30);
    DrawStroke(3, 17, 7, 17);
    DrawStroke(3, 4, 20, 9);
    DrawStroke(3, 30, 20, 25);
    DrawStroke(20, 9, 7, 17);
    DrawStroke(20, 25, 7, 17);
    DrawStroke(20, 9, 25, 9);
    DrawStroke(20, 25, 25, 25);
    PrepareDrawnFeatures(1);
}

}  // namespace

TEST(IsLetterW, AcceptsEachSpurPattern) {
    const struct {
        WSpurs spurs;
        const char* expectedCase;
    } forms[] = {
        {{false, false, Apex::Pointed, false, false}, "0,2"}, {{false, false, Apex::Spur, false, false}, "1,3"},
        {{false, false, Apex::Pointed, true, false}, "1,3"},  {{false, true, Apex::Pointed, false, false}, "1,3"},
        {{false, false, Apex::Split, false, false}, "2,4"},   {{false, false, Apex::Spur, true, false}, "2,4"},
        {{false, true, Apex::Spur, false, false}, "2,4"},     {{false, true, Apex::Pointed, true, false}, "2,4"},
        {{true, false, Apex::Pointed, false, true}, "2,4"},   {{false, false, Apex::Spur, false, true}, "2,4"},
        {{true, false, Apex::Spur, false, false}, "2,4"},     {{false, true, Apex::Spur, true, false}, "3,5"},
        {{false, true, Apex::Spur, false, true}, "3,5"},      {{true, true, Apex::Spur, false, false}, "3,5"},
        {{true, true, Apex::Spur, true, false}, "4,6"},       {{true, false, Apex::Split, true, false}, "4,6"},
        {{false, true, Apex::Split, true, false}, "4,6"},     {{false, true, Apex::Split, true, true}, "5,7"},
        {{true, true, Apex::Split, true, true}, "6,8"},
    };
    for (const auto& f : forms) {
        const std::string name = Describe(f.spurs);
        DrawW(f.spurs);
        ASSERT_EQ(Glyph.HoleCount, 0) << name;
        EXPECT_EQ(Case(), f.expectedCase) << name;
        EXPECT_EQ(IsLetterW(), LetterAccepted) << name;
        ExpectVerifiersBlindToStaleState([&] { DrawW(f.spurs); }, name);
    }
}

TEST(IsLetterW, AcceptsClosedHalves) {
    const struct {
        void (*draw)();
        int holes;
        const char* expectedCase;
        const char* name;
    } forms[] = {
        {DrawWWithClosedLeftHalf, 1, "1,1", "left half closed"},
        {DrawWWithClosedLeftHalfAndSpur, 1, "2,2", "left half closed, spur at the top middle"},
        {DrawWWithTwoClosedHalves, 2, "6,4", "both halves closed"},
    };
    for (const auto& f : forms) {
        f.draw();
        EXPECT_EQ(Glyph.HoleCount, f.holes) << f.name;
        EXPECT_EQ(Case(), f.expectedCase) << f.name;
        EXPECT_EQ(IsLetterW(), LetterAccepted) << f.name;
        const VerifierAnswers answers = ExpectVerifiersBlindToStaleState(f.draw, f.name);
        EXPECT_EQ(answers.letterCandidates, "W") << f.name;
    }
}

TEST(IsLetterW, EachHoleCountHasItsOwnCases) {
    // The one-stroke W read with a hole, and the holed ones read without.
    DrawW({false, false, Apex::Pointed, false, false});
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterW(), 0);
    DrawWWithClosedLeftHalfAndSpur();
    Glyph.HoleCount = 0;
    EXPECT_EQ(IsLetterW(), 0);
    Glyph.HoleCount = 2;
    EXPECT_EQ(IsLetterW(), 0);
    DrawWWithTwoClosedHalves();
    Glyph.HoleCount = 3;
    EXPECT_EQ(IsLetterW(), 0);
    // (6, 4) is a case of two holes only.
    DrawWWithTwoClosedHalves();
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterW(), 0);
}

TEST(IsLetterW, OnlyInnerRowsCrossingThreeStrokesCount) {
    const auto drawWithRuns = [](std::initializer_list<std::pair<int, int>> runs) {
        DrawW({false, false, Apex::Pointed, false, false});
        for (int i = 0; i < WHeight; ++i) Glyph.RowRunCount[i] = 2;
        for (const auto& [row, count] : runs) Glyph.RowRunCount[row] = static_cast<std::uint8_t>(count);
    };
    drawWithRuns({{5, 3}, {10, 4}, {20, 3}});
    EXPECT_EQ(IsLetterW(), LetterAccepted);
    // Two inner rows are too few, whatever the first and the last row cross.
    drawWithRuns({{0, 4}, {10, 4}, {20, 3}, {WHeight - 1, 4}});
    EXPECT_EQ(IsLetterW(), 0);
    // Rows of two runs never count.
    drawWithRuns({});
    EXPECT_EQ(IsLetterW(), 0);
    // A glyph of fewer than 3 rows has no inner rows.
    DrawProfileGlyph(GlyphRows(2, "# # # #"));
    EXPECT_EQ(IsLetterW(), 0);
}

TEST(IsLetterW, RefusesTheMirroredLetter) {
    // Upside down the one-stroke W is an M: its tips are at the bottom.
    DrawW({false, false, Apex::Pointed, false, false});
    const SkeletonArt w = ReadGrid(Glyph.SkeletonImage, 1, WHeight, WWidth);
    DescribeDrawnSkeleton(SkeletonArt(w.rbegin(), w.rend()));
    ASSERT_EQ(Case(), "0,2");
    EXPECT_EQ(IsLetterW(), 0);
}

namespace {

GlyphCanvas PrintedV(double s, double p) {
    return Canvas(s, 40, 26)
        .Line(3 * s, 2 * s, 11.5 * s, 37 * s, p)
        .Line(23 * s, 2 * s, 14.5 * s, 37 * s, p)
        .Line(11.5 * s, 37 * s, 14.5 * s, 37 * s, p);
}
GlyphCanvas PrintedW(double s, double p) {
    return Canvas(s, 40, 34)
        .Line(2 * s, 2 * s, 9 * s, 38 * s, p)
        .Line(9 * s, 38 * s, 17 * s, 8 * s, p)
        .Line(17 * s, 8 * s, 25 * s, 38 * s, p)
        .Line(25 * s, 38 * s, 32 * s, 2 * s, p);
}
}  // namespace

TEST(PrintedLetters, VAndWReadAsThemselves) {
    const std::pair<char, DrawLetter> printed[] = {{'V', PrintedV}, {'W', PrintedW}};
    for (const auto& [letter, draw] : printed) {
        for (double scale : {0.75, 1.0, 1.25, 1.5}) {
            EXPECT_EQ(ReadLetters(draw, scale), std::string(1, letter)) << letter << " at scale " << scale;
        }
        ExpectVerifiersBlindToStaleState([draw = draw] { LoadPrepared(draw, 1.0); }, std::string("printed ") + letter);
    }
}
