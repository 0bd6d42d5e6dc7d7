#include <gtest/gtest.h>

#include <string>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "support/glyph_profiles.h"

namespace {

// A glyph of the given size, all ink.
GlyphRows Block(int height, int width) { return GlyphRows(height, std::string(width, '#')); }

// Features of a closed '4' whose skeleton lost its stem to thinning: one hole reaching every
// side of the box, no junction, no end, and the stem's foot logged as a pruned spur below the
// box near its right side.
void DescribeClosedFour(const GlyphRows& picture) {
    DrawProfileGlyph(picture);
    const std::int16_t h = Glyph.GlyphHeight;
    const std::int16_t w = Glyph.GlyphWidth;
    Glyph.HoleCount = 1;
    Glyph.HoleBoxes[0] = HoleBox{2, static_cast<std::int16_t>(h - 1), 2, static_cast<std::int16_t>(w - 1), 6,
                                 static_cast<std::int16_t>(h * w * 2 / 5)};
    Glyph.WidthUnit = static_cast<std::int16_t>((w + 4) / 7);
    Glyph.PrunedSpurCount = 1;
    Glyph.PrunedSpurs[0] = PrunedSpur{static_cast<std::uint8_t>(h + 1), static_cast<std::uint8_t>(w - 1),
                                      static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(w - 1)};
}

// A '4' picture, 14 x 20: the diagonal, the bar at rows 13-14 and the stem in columns 9-10.
GlyphRows FourPicture() {
    GlyphRows rows(20, "         ##   ");
    for (int r = 0; r < 13; ++r) rows[r][8 - r * 8 / 13] = '#';
    rows[13] = rows[14] = "##############";
    return rows;
}

}  // namespace

TEST(IsDigit0, NeedsAHoleFillingTheRing) {
    DrawProfileGlyph(Block(10, 10));
    Glyph.HoleCount = 1;
    Glyph.HoleBoxes[0] = HoleBox{2, 9, 2, 9, 6, 43};  // 43 of the 100 cells of the box
    EXPECT_EQ(IsDigit0(), 2);
    Glyph.HoleBoxes[0].area = 42;
    EXPECT_EQ(IsDigit0(), 0);
    Glyph.HoleBoxes[0] = HoleBox{3, 9, 2, 9, 6, 60};  // two rows below the top
    EXPECT_EQ(IsDigit0(), 0);
    Glyph.HoleBoxes[0] = HoleBox{2, 9, 2, 9, 6, 60};
    Glyph.EndpointCount = 2;
    EXPECT_EQ(IsDigit0(), 0);
}

TEST(IsDigit4, AcceptsAClosedFourByItsPrunedFoot) {
    DescribeClosedFour(FourPicture());
    EXPECT_EQ(Reject4_LongEdgeLine(), 0);
    EXPECT_EQ(IsDigit4(), 2);
    // The spur left of the box at its bottom row counts as well.
    Glyph.PrunedSpurs[0] = PrunedSpur{20, 0, 20, 1};
    EXPECT_EQ(IsDigit4(), 2);
    // Without the spur the ring is not a '4'.
    Glyph.PrunedSpurCount = 0;
    EXPECT_EQ(IsDigit4(), 0);
}

TEST(IsDigit4, RejectsALongLeftColumnBeforeAnyTemplate) {
    GlyphRows picture = FourPicture();
    for (int r = 0; r < 17; ++r) picture[r][1] = '#';  // 17 > H - 4 in the left quarter
    DescribeClosedFour(picture);
    EXPECT_EQ(Reject4_LongEdgeLine(), 1);
    EXPECT_EQ(IsDigit4(), 0);
    for (int r = 0; r < 17; ++r) picture[r][1] = ' ';
    picture[3][1] = ' ';
    for (int r = 0; r < 16; ++r) picture[r][1] = '#';  // 16 is not above H - 4
    DescribeClosedFour(picture);
    EXPECT_EQ(Reject4_LongEdgeLine(), 0);
}

TEST(Reject4_LongEdgeLine, WideGlyphsMayNotHaveAFullTopRow) {
    GlyphRows rows(20, "          ######");
    rows[0] = "    ############";  // 12 of 16: not above W - 4
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject4_LongEdgeLine(), 0);
    rows[0] = "   #############";
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject4_LongEdgeLine(), 1);
    // Below 16 columns the top rows are not looked at.
    GlyphRows narrow(20, "         #####");
    narrow[0] = "  ############";
    DrawProfileGlyph(narrow);
    EXPECT_EQ(Reject4_LongEdgeLine(), 0);
}

TEST(Reject1_ByProfiles, TopColumnsAndARightStep) {
    // This step reads the column profile at the row indexes of the top quarter (columns 0 to 5
    // here): two of those columns at least W - 2 high, and the right margin growing by 3 within
    // two rows of the top quarter, reject.
    GlyphRows rows(24, "##    ####");
    rows[0] = rows[1] = rows[2] = "##########";
    rows[3] = "#######   ";
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject1_ByProfiles(), 1);
    // One such column is not enough.
    for (int r = 4; r < 24; ++r) rows[r] = "#     ####";
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject1_ByProfiles(), 0);
}

TEST(Reject1_ByProfiles, StackedStrokesAndSolidBlobs) {
    // Five columns cut by two background gaps in the upper three quarters: a bar glyph.
    GlyphRows bars(24, "##        ");
    bars[2] = bars[6] = bars[10] = bars[14] = "##########";
    DrawProfileGlyph(bars);
    EXPECT_EQ(Reject1_ByProfiles(), 1);

    // A plain '1' stem passes.
    DrawProfileGlyph(GlyphRows(30, "   ####   "));
    EXPECT_EQ(Reject1_ByProfiles(), 0);

    // A solid glyph wider than 10 with ink far above the background.
    DrawProfileGlyph(Block(24, 12));
    Glyph.InkToBackgroundRatio = 3.3F;
    EXPECT_EQ(Reject1_ByProfiles(), 1);
}

TEST(Reject1_ByProfiles, ATopEndIsLookedAtOnlyWhenThereIsOne) {
    DrawProfileGlyph(GlyphRows(30, "   ####   "));
    for (int c = 1; c <= 10; ++c) Glyph.ColGapCount[c] = 3;
    // No end point: the stale first entry of the list is not read.
    Glyph.EndpointCount = 0;
    Glyph.Endpoints[0] = GlyphPoint{5, 1};
    EXPECT_EQ(Reject1_ByProfiles(), 0);
    Glyph.EndpointCount = 2;
    EXPECT_EQ(Reject1_ByProfiles(), 1);
}

TEST(Reject1_CurvedStroke, LooksForCurvesUnlessVerySlender) {
    // A stem whose lower part sweeps out to the right: the left margin shrinks by 6 in 3 rows.
    GlyphRows rows(24, "    ####        ");
    for (int r = 16; r < 24; ++r) {
        const std::size_t indent = static_cast<std::size_t>(2 * (23 - r));
        rows[r] = std::string(indent, ' ') + "##" + std::string(14 - indent, ' ');
    }
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject1_CurvedStroke(), 1);
    Glyph.AspectRatio = 3.1F;
    EXPECT_EQ(Reject1_CurvedStroke(), 0);

    DrawProfileGlyph(GlyphRows(24, "    ####    "));
    EXPECT_EQ(Reject1_CurvedStroke(), 0);
}

TEST(Reject2_ManyThreeRunRows, CountsAgainstAFifthOfTheHeight) {
    GlyphRows rows(20, "##      ##");
    for (int r = 1; r <= 4; ++r) rows[r] = "##  ##  ##";  // 4 = H/5: allowed
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject2_ManyThreeRunRows(), 0);
    rows[5] = "##  ##  ##";
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject2_ManyThreeRunRows(), 1);
}

TEST(Reject3, MiddleRowAndFlatTopWithRightColumn) {
    GlyphRows three(18, "         ###");
    three[0] = three[1] = three[8] = three[16] = three[17] = "############";
    DrawProfileGlyph(three);
    // A full row in the middle third with one run.
    EXPECT_EQ(Reject3_LongMiddleRow(), 1);
    // A flat top and a full right column, and three-run columns between them: still a '3'.
    EXPECT_EQ(Reject3_FlatTopRightColumn(), 0);
    // Without the strokes across the middle it is a flat-topped right column (a '7' or a 'J').
    GlyphRows seven(18, "         ###");
    seven[0] = seven[1] = "############";
    DrawProfileGlyph(seven);
    EXPECT_EQ(Reject3_LongMiddleRow(), 0);
    EXPECT_EQ(Reject3_FlatTopRightColumn(), 1);
    EXPECT_EQ(IsDigit3(), 0);
}

TEST(Reject5_TwoRunTopRows, ThreeTwoRunRowsOrARaisedRightColumn) {
    GlyphRows five(18, "###         ");
    five[0] = five[1] = "############";
    for (int r = 8; r < 18; ++r) five[r] = "############";
    DrawProfileGlyph(five);
    EXPECT_EQ(Reject5_TwoRunTopRows(), 0);
    for (int r = 2; r < 5; ++r) five[r] = "###      ###";
    DrawProfileGlyph(five);
    EXPECT_EQ(Reject5_TwoRunTopRows(), 1);
    GlyphRows raised(18, "############");
    for (int r = 7; r < 18; ++r) raised[r][9] = ' ';  // column W - 3 ends above H/3 from the bottom
    DrawProfileGlyph(raised);
    EXPECT_EQ(Reject5_TwoRunTopRows(), 1);
}

TEST(Reject7_NarrowLowStart, NarrowGlyphsMustStartHigh) {
    GlyphRows rows(20, "     ##      ");
    for (int r = 6; r < 20; ++r) rows[r][0] = '#';
    DrawProfileGlyph(rows);  // 13 wide, first column from row 6
    EXPECT_EQ(Reject7_NarrowLowStart(), 1);
    EXPECT_EQ(IsDigit7(), 0);
    rows[5][0] = '#';
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject7_NarrowLowStart(), 0);
    for (std::string& row : rows) row += ' ';
    rows[0] = "      #      #";
    for (int r = 0; r < 6; ++r) rows[r][0] = ' ';
    DrawProfileGlyph(rows);  // 14 wide
    EXPECT_EQ(Reject7_NarrowLowStart(), 0);
}

namespace {

// An '8' outline (it passes the waist pre-test) with two holes and junctions set by hand; its
// skeleton is left empty, so any link the template traced would fail.
const GlyphRows EightOutline = {
    " ########## ", "###      ###", "###      ###", "###      ###", "###      ###", "###      ###",
    " ###    ### ", "  ########  ", "  ########  ", " ###    ### ", "###      ###", "###      ###",
    "###      ###", "###      ###", "###      ###", "###      ###", "###      ###", " ########## ",
};

void DescribeEight(std::int16_t upperArea, std::int16_t lowerArea, int rightJunctionX) {
    DrawProfileGlyph(EightOutline);
    Glyph.HoleCount = 2;
    const HoleBox upper{2, 7, 3, 10, 6, upperArea};
    const HoleBox lower{10, 17, 3, 10, 7, lowerArea};
    Glyph.HoleBoxes[0] = upperArea >= lowerArea ? upper : lower;
    Glyph.HoleBoxes[1] = upperArea >= lowerArea ? lower : upper;
    Glyph.JunctionCount = 2;
    Glyph.Junctions[0] = GlyphPoint{6, 9};
    Glyph.Junctions[1] = GlyphPoint{static_cast<std::int16_t>(rightJunctionX), 9};
}

}  // namespace

TEST(Reject8_NoWaist, NeedsAPinchOnBothSides) {
    // Two bowls pinched in at rows 7-8.
    const GlyphRows& eight = EightOutline;
    DrawProfileGlyph(eight);
    EXPECT_EQ(Reject8_NoWaist(), 0);
    // Pinched on the right only.
    GlyphRows rightOnly = eight;
    rightOnly[6] = "#####   ### ";
    rightOnly[7] = rightOnly[8] = "##########  ";
    rightOnly[9] = "#####   ### ";
    for (int r = 1; r < 17; ++r) rightOnly[r][0] = '#';
    rightOnly[0] = "########### ";
    rightOnly[17] = "########### ";
    DrawProfileGlyph(rightOnly);
    EXPECT_EQ(Reject8_NoWaist(), 1);
    // The deepest right margin near the waist in the last three rows.
    GlyphRows lowWaist(12, "###      ###");
    lowWaist[0] = lowWaist[11] = "############";
    lowWaist[3] = "############";
    lowWaist[9] = "  ########  ";
    DrawProfileGlyph(lowWaist);
    EXPECT_EQ(Reject8_NoWaist(), 1);
    EXPECT_EQ(IsDigit8(), 0);
}

TEST(IsDigit8, TouchingJunctionsNeedNoLink) {
    DescribeEight(30, 48, 7);
    EXPECT_EQ(IsDigit8(), 2);
    // Three columns apart the link is traced, and there is no skeleton to trace.
    DescribeEight(30, 48, 8);
    EXPECT_EQ(IsDigit8(), 0);
}

TEST(IsDigit8, TheSmallerHoleCoversATwelfthOfTheBox) {
    // The box holds 12 x 18 = 216 cells: 26 of them are 12 %, 25 are not, upper or lower.
    DescribeEight(26, 48, 7);
    EXPECT_EQ(IsDigit8(), 2);
    DescribeEight(25, 48, 7);
    EXPECT_EQ(IsDigit8(), 0);
    DescribeEight(48, 26, 7);
    EXPECT_EQ(IsDigit8(), 2);
    DescribeEight(48, 25, 7);
    EXPECT_EQ(IsDigit8(), 0);
}

TEST(Reject9_BottomHeavy, LowerInkNeedsALeftStep) {
    // More ink below than above and a straight left side: a '6' or a 'b', not a '9'.
    GlyphRows heavy(20, "###         ");
    for (int r = 10; r < 20; ++r) heavy[r] = "############";
    DrawProfileGlyph(heavy);
    EXPECT_EQ(Reject9_BottomHeavy(), 1);
    EXPECT_EQ(IsDigit9(), 0);
    // A tail sweeping in from the left: the left margin steps by more than 3.
    for (int r = 14; r < 19; ++r) heavy[r] = "     #######";
    DrawProfileGlyph(heavy);
    EXPECT_EQ(Reject9_BottomHeavy(), 0);
    // More ink above: never rejected here.
    GlyphRows light(20, "         ###");
    for (int r = 0; r < 10; ++r) light[r] = "############";
    DrawProfileGlyph(light);
    EXPECT_EQ(Reject9_BottomHeavy(), 0);
}

TEST(Reject9_TailBump, SteadyTailWithATallRightColumn) {
    // A '9' bowl on a straight tail down the right side: steady tail, tall right column.
    GlyphRows rows(20, "         ###");
    for (int r = 0; r < 8; ++r) rows[r] = "###      ###";
    rows[0] = rows[8] = "############";
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject9_TailBump(), 1);
    // A top receding to the right (the right margin grows twice) is never a bump.
    rows[1] = "########### ";
    rows[2] = "##########  ";
    rows[3] = "#########   ";
    DrawProfileGlyph(rows);
    EXPECT_EQ(Reject9_TailBump(), 0);
}

TEST(DigitPreTests, ReadNothingPastTheGlyph) {
    using Test = std::int16_t (*)();
    const Test tests[] = {Reject1_ByProfiles,  Reject1_CurvedStroke,       Reject2_ManyThreeRunRows,
                          Reject3_LongMiddleRow, Reject3_FlatTopRightColumn, Reject4_LongEdgeLine,
                          Reject5_TwoRunTopRows, Reject7_NarrowLowStart,     Reject8_NoWaist,
                          Reject9_BottomHeavy,   Reject9_TailBump};
    const GlyphRows glyphs[] = {{"#"}, {"##", "##", "##"}, {"###", "# #", "###", "  #"}, Block(6, 3), FourPicture()};
    ExpectBlindToProfileTails(tests, glyphs);
}
