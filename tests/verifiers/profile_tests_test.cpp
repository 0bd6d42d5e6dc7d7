#include "engine/verifiers/profile_tests.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/glyph/glyph_record.h"
#include "support/glyph_profiles.h"

namespace {

// A D: a straight full-height left side and a rounded right side.
const GlyphRows DShape = {
    "#######   ", "##    ##  ", "##     ## ", "##      ##", "##      ##", "##      ##",
    "##      ##", "##     ## ", "##    ##  ", "#######   ",
};

// An O: rounded on every side.
const GlyphRows OShape = {
    "   ####   ", " ##    ## ", "##      ##", "##      ##", "##      ##",
    "##      ##", "##      ##", " ##    ## ", "   ####   ",
};

// Two bowls joined at a waist row (row 6, one run); row `notchRow` is drawn as `notch`.
GlyphRows TwoBowls(int height, int notchRow, const std::string& notch) {
    GlyphRows rows(height, "###      ###");
    rows[0] = rows[height - 1] = "############";
    rows[6] = "############";
    rows[notchRow] = notch;
    return rows;
}

// A C of the given width: bars on rows 0-1 and 18-19, a left stem, and a short two-row stub
// at rows 4-5 in columns 20-21 that gives two columns three wide crossings.
GlyphRows CWithStub(int width) {
    GlyphRows rows(20, "###" + std::string(width - 3, ' '));
    rows[0] = rows[1] = rows[18] = rows[19] = std::string(width, '#');
    rows[4][20] = rows[4][21] = rows[5][20] = rows[5][21] = '#';
    return rows;
}

}  // namespace

TEST(IsNotDShapedLoop, SeesTheSquareLeftSide) {
    DrawProfileGlyph(DShape);
    EXPECT_EQ(IsNotDShapedLoop(), 0);
    DrawProfileGlyph(OShape);
    EXPECT_EQ(IsNotDShapedLoop(), 1);

    // An ink top-right corner answers 1 whatever the left side is like.
    GlyphRows cornered = DShape;
    cornered[0] = "##########";
    DrawProfileGlyph(cornered);
    EXPECT_EQ(IsNotDShapedLoop(), 1);
    GlyphRows bottomCornered = DShape;
    bottomCornered[9] = "##########";
    DrawProfileGlyph(bottomCornered);
    EXPECT_EQ(IsNotDShapedLoop(), 1);
}

TEST(HasFewThreeRunRows, CountsRowsCrossingThreeStrokes) {
    GlyphRows rows(12, "##   ##");
    rows[3] = rows[5] = "## # ##";
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasFewThreeRunRows(), 1);
    rows[7] = "## # ##";
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasFewThreeRunRows(), 0);
    // The first two and last two rows are not looked at.
    rows[3] = rows[5] = rows[7] = "##   ##";
    rows[0] = rows[1] = rows[10] = rows[11] = "## # ##";
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasFewThreeRunRows(), 1);
    // A glyph of at most 4 rows has none to look at.
    DrawProfileGlyph({"# # #", "# # #", "# # #", "# # #"});
    EXPECT_EQ(HasFewThreeRunRows(), 1);
}

TEST(HasSteadyRightBottomProfile, MeasuresTheBottomEdgeRise) {
    // Full columns but for column 10, whose ink ends at row 8 (bottom margin 3 of 12 rows).
    GlyphRows steady(12, "############");
    for (int r = 9; r < 12; ++r) steady[r][10] = ' ';
    DrawProfileGlyph(steady);
    EXPECT_EQ(HasSteadyRightBottomProfile(), 1);

    // Column 10 ending at row 1: the bottom edge rises by 10 > H/3 within one column.
    GlyphRows risen(12, "############");
    for (int r = 2; r < 12; ++r) risen[r][10] = ' ';
    DrawProfileGlyph(risen);
    EXPECT_EQ(HasSteadyRightBottomProfile(), 0);

    // Two columns left of the right stem with their bottom in the upper half.
    GlyphRows twoHigh(12, "############");
    for (int r = 2; r < 12; ++r) twoHigh[r][9] = twoHigh[r][10] = ' ';
    DrawProfileGlyph(twoHigh);
    EXPECT_EQ(HasSteadyRightBottomProfile(), 0);

    // More than two rows crossing four strokes.
    GlyphRows crowded(12, "############");
    for (int r = 3; r < 6; ++r) crowded[r] = "# # # # ####";
    DrawProfileGlyph(crowded);
    EXPECT_EQ(HasSteadyRightBottomProfile(), 0);
}

TEST(EdgeColumnsReachLowerHalf, LooksAtTheThirdColumnFromEachSide) {
    GlyphRows t(12, "     ##     ");
    t[0] = t[1] = "############";
    DrawProfileGlyph(t);
    EXPECT_EQ(EdgeColumnsReachLowerHalf(), 0);
    DrawProfileGlyph(GlyphRows(12, "############"));
    EXPECT_EQ(EdgeColumnsReachLowerHalf(), 1);
    // A glyph narrower than six columns always answers 1.
    GlyphRows narrowT(12, "  #  ");
    narrowT[0] = "#####";
    DrawProfileGlyph(narrowT);
    EXPECT_EQ(EdgeColumnsReachLowerHalf(), 1);
}

TEST(HasOpenRightSide, WideGlyphsMayHaveTwoThreeCrossingColumns) {
    DrawProfileGlyph(CWithStub(32));
    EXPECT_EQ(HasOpenRightSide(), 1);
    DrawProfileGlyph(CWithStub(31));
    EXPECT_EQ(HasOpenRightSide(), 0);

    // Closed on the right below mid-height: the open stretch lies mostly above.
    GlyphRows g(20, "###         ");
    g[0] = g[1] = g[18] = g[19] = "############";
    for (int r = 10; r < 18; ++r) g[r] = "###      ###";
    DrawProfileGlyph(g);
    EXPECT_EQ(HasOpenRightSide(), 0);
}

TEST(HasManyThreeRunColumns, NeedsMoreThanThreeColumns) {
    // Columns 2 to 4 cross three strokes: three columns are not enough.
    GlyphRows rows(12, "##          ");
    rows[0] = rows[6] = rows[11] = "#####       ";
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasManyThreeRunColumns(), 0);
    rows[0] = rows[6] = rows[11] = "######      ";
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasManyThreeRunColumns(), 1);
    // Only the left two thirds (columns below 2W/3 = 8) count.
    rows[0] = rows[6] = rows[11] = "##     #####";
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasManyThreeRunColumns(), 0);
}

TEST(LacksMiddleBar, FindsABarNearMidHeight) {
    GlyphRows h(16, "##      ##");
    h[8] = "##########";
    DrawProfileGlyph(h);
    EXPECT_EQ(LacksMiddleBar(), 0);
    // A bar outside the window of H/8 rows around the middle is not seen.
    h[8] = "##      ##";
    h[5] = "##########";
    DrawProfileGlyph(h);
    EXPECT_EQ(LacksMiddleBar(), 1);
    // A bar with more than two three-run rows between H/4 and 3H/4 (a diagonal) still lacks one.
    h[5] = "##      ##";
    h[8] = "##########";
    h[4] = h[6] = h[10] = "##  #   ##";
    DrawProfileGlyph(h);
    EXPECT_EQ(LacksMiddleBar(), 1);
    // Fewer than 8 rows: never a bar.
    GlyphRows small(7, "##   ##");
    small[3] = "#######";
    DrawProfileGlyph(small);
    EXPECT_EQ(LacksMiddleBar(), 1);
}

TEST(WaistScan, FindsTheWaistRowBelowTheFirstTwoRunRow) {
    DrawProfileGlyph(TwoBowls(16, 6, "############"));
    EXPECT_EQ(WaistRow(2 * 16 / 3), 6);
    EXPECT_EQ(DeepestMarginRow(MarginSide::Right, 6), -1);
    // No one-run row before the limit: the limit itself.
    EXPECT_EQ(WaistRow(5), 5);
}

TEST(WaistScan, OnePixelNotchCountsForOneTestAndNotTheOther) {
    DrawProfileGlyph(TwoBowls(16, 6, "########### "));
    EXPECT_EQ(DeepestMarginRow(MarginSide::Right, 6), 6);
    EXPECT_EQ(HasRightWaistNotch(), 1);
    EXPECT_EQ(LacksRightWaistNotch(), 1);

    DrawProfileGlyph(TwoBowls(16, 6, "##########  "));
    EXPECT_EQ(HasRightWaistNotch(), 1);
    EXPECT_EQ(LacksRightWaistNotch(), 0);

    // No margin in the window: no notch to lack, none to have.
    DrawProfileGlyph(TwoBowls(16, 6, "############"));
    EXPECT_EQ(HasRightWaistNotch(), 0);
    EXPECT_EQ(LacksRightWaistNotch(), 1);
    EXPECT_EQ(HasLeftWaistNotch(), 0);
    EXPECT_EQ(RejectB_LeftWaistNotch(), 0);
}

TEST(WaistScan, LeftNotchNeedsDepthOnBothSides) {
    DrawProfileGlyph(TwoBowls(16, 6, "  ##########"));
    EXPECT_EQ(HasLeftWaistNotch(), 1);
    EXPECT_EQ(RejectB_LeftWaistNotch(), 1);
    DrawProfileGlyph(TwoBowls(16, 6, " ###########"));
    EXPECT_EQ(HasLeftWaistNotch(), 0);
    EXPECT_EQ(RejectB_LeftWaistNotch(), 0);

    // One pixel deeper than the rows above and three deeper than those below.
    GlyphRows rows = TwoBowls(16, 6, "   #########");
    for (int r = 0; r < 6; ++r) rows[r][0] = ' ';
    rows[0] = " ###########";
    DrawProfileGlyph(rows);
    const NotchDepths depths = MarginNotchDepths(MarginSide::Left, 6);
    EXPECT_EQ(depths.above, 2);
    EXPECT_EQ(depths.below, 3);
    EXPECT_EQ(HasLeftWaistNotch(), 1);
}

TEST(WaistScan, DeepestRowNearTheBottom) {
    // Twelve rows, the deepest margins of the window on row 9 = H - 3.
    GlyphRows rows = TwoBowls(12, 9, "   ######   ");
    DrawProfileGlyph(rows);
    ASSERT_EQ(DeepestMarginRow(MarginSide::Right, WaistRow(8)), 9);
    EXPECT_EQ(RejectB_LeftWaistNotch(), 1);
    EXPECT_EQ(LacksRightWaistNotch(), 1);
    EXPECT_EQ(HasLeftWaistNotch(), 1);
    EXPECT_EQ(HasRightWaistNotch(), 1);

    // On row 10 = H - 2 the notch tests give up at once.
    rows = TwoBowls(12, 10, "   ######   ");
    DrawProfileGlyph(rows);
    EXPECT_EQ(HasLeftWaistNotch(), 0);
    EXPECT_EQ(HasRightWaistNotch(), 0);
}

TEST(ProfileTests, ReadNothingPastTheGlyph) {
    using Test = std::int16_t (*)();
    const Test tests[] = {IsNotDShapedLoop,     HasFewThreeRunRows, HasSteadyRightBottomProfile,
                          EdgeColumnsReachLowerHalf, HasOpenRightSide, HasManyThreeRunColumns,
                          LacksRightWaistNotch, HasLeftWaistNotch,  LacksMiddleBar,
                          HasRightWaistNotch,   RejectB_LeftWaistNotch};
    const GlyphRows glyphs[] = {{"#"}, {"##", "##"}, {"###", "# #", "###"}, DShape, OShape,
                                TwoBowls(12, 9, "   ######   "), CWithStub(32)};
    ExpectBlindToProfileTails(tests, glyphs);
}
