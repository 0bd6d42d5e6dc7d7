#include "engine/location/text_bands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <span>
#include <cstdint>

#include "engine/location/binary_regions.h"
#include "engine/location/edge_image.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "support/frame_drawing.h"

namespace {

constexpr PackedPoint FrameTopLeft = PackPoint(0, 0);
constexpr PackedPoint FrameBottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);
void DrawStrokeRows(int top, int bottom, int starts) { drawing::DrawStrokeRows(BinaryImage, top, bottom, starts); }

void EdgesAndBinary(int threshold) {
    ComputeEdgeImage(FrameTopLeft, FrameBottomRight);
    ThresholdEdgeImage(FrameTopLeft, FrameBottomRight, threshold);
}

class TextBandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(BinaryImage, 0);
        drawing::FillPlane(EdgeImage, 0);
        drawing::FillPlane(WorkImage, 180);
        CodeFoundFlag = 0;
    }
    void TearDown() override { CodeFoundFlag = 0; }
};

TEST_F(TextBandsTest, StrokeStartsOnDrawnRows) {
    const int row = 50;
    // Row 50: a stroke ends at 13 and the next starts after a gap of 25 columns; row 51: 26.
    drawing::FillRect(BinaryImage, 10, row, 13, row + 3, 1);
    drawing::FillRect(BinaryImage, 39, row, 40, row, 1);
    drawing::FillRect(BinaryImage, 40, row + 1, 41, row + 1, 1);
    // Row 52: a single ink pixel is no stroke start; the pair at 30 is.
    BinaryImage[PixelIndex(20, row + 2)] = 1;
    drawing::FillRect(BinaryImage, 30, row + 2, 31, row + 2, 1);
    // Row 53: nothing follows the stroke; the region's right edge (column 30) counts as a start.
    FindHorizontalTextBands(PackPoint(0, row), PackPoint(FrameWidth - 1, row + 2));
    ASSERT_EQ(RowStrokeCounts[row], 1);
    EXPECT_EQ(RowStrokeStarts[row][0], 39);
    EXPECT_EQ(RowStrokeCounts[row + 1], 0);
    ASSERT_EQ(RowStrokeCounts[row + 2], 1);
    EXPECT_EQ(RowStrokeStarts[row + 2][0], 30);
    FindHorizontalTextBands(PackPoint(0, row + 3), PackPoint(30, row + 3));
    ASSERT_EQ(RowStrokeCounts[row + 3], 1);
    EXPECT_EQ(RowStrokeStarts[row + 3][0], 30);
    FindHorizontalTextBands(PackPoint(0, row + 3), PackPoint(40, row + 3));
    EXPECT_EQ(RowStrokeCounts[row + 3], 0) << "the right edge lies 26 columns on";
}

TEST_F(TextBandsTest, AtMost79StrokeStartsPerLine) {
    // Bars 2 wide and 1 apart: a start at every other bar, 3 + 6k, across the whole frame
    // (100 of them in a 600-column frame, 133 in an 800-column one).
    for (int x = 0; x + 1 < FrameWidth; x += 3) drawing::FillRect(BinaryImage, x, 10, x + 1, 10, 1);
    FindHorizontalTextBands(PackPoint(0, 10), PackPoint(FrameWidth - 1, 10));
    const int lastStart = 3 + 6 * ((FrameWidth - 2 - 3) / 6);
    EXPECT_EQ(RowStrokeCounts[10], 79);
    EXPECT_EQ(RowStrokeStarts[10][78], 3 + 6 * 78);
    EXPECT_EQ(RowStrokeStarts[10][79], lastStart) << "later starts land in the last slot uncounted";
}

TEST_F(TextBandsTest, BandsMustBeTallerThan16Rows) {
    DrawStrokeRows(100, 115, 5);  // 16 rows
    EXPECT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 1);
    EXPECT_EQ(TextBandCount, 0);
    DrawStrokeRows(300, 316, 5);  // 17 rows
    EXPECT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 1);
    EXPECT_EQ(TextBands[0].start, 300);
    EXPECT_EQ(TextBands[0].end, 317);
}

TEST_F(TextBandsTest, ThreeRowSumMustExceedTheBandThreshold) {
    // Rows of 4, then 5 starts: the triple 4 + 5 + 5 = 14 does not open a band, 15 does.
    DrawStrokeRows(200, 200, 4);
    DrawStrokeRows(201, 240, 5);
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    EXPECT_EQ(TextBands[0].start, 201);

    // Three starts a row (triples of 9) open a band only once a code was found.
    drawing::FillPlane(BinaryImage, 0);
    DrawStrokeRows(400, 440, 3);
    EXPECT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 1);
    CodeFoundFlag = 1;
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    EXPECT_EQ(TextBands[0].start, 400) << "with the lower threshold the triple 3 + 3 + 3 opens it, 0 + 3 + 3 does not";
}

TEST_F(TextBandsTest, TallBandsAreSplitAtTheirValley) {
    DrawStrokeRows(100, 163, 5);  // 64 rows: kept whole
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 1);
    EXPECT_EQ(TextBands[0].start, 100);
    EXPECT_EQ(TextBands[0].end, 164);

    // Two rows of characters that touch: 10 starts a row with a dip to 8 between them.
    drawing::FillPlane(BinaryImage, 0);
    DrawStrokeRows(300, 379, 10);
    drawing::FillRect(BinaryImage, 0, 330, FrameWidth - 1, 332, 0);
    DrawStrokeRows(330, 330, 9);
    DrawStrokeRows(331, 331, 8);
    DrawStrokeRows(332, 332, 9);
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 2);
    EXPECT_EQ(TextBands[0].start, 299) << "the triple 0 + 10 + 10 opens the band a row early";
    EXPECT_EQ(TextBands[0].end, 330);
    EXPECT_EQ(RowStrokeCounts[330], 0);
    EXPECT_EQ(RowStrokeCounts[331], 0);
    EXPECT_EQ(RowStrokeCounts[332], 0);
    EXPECT_EQ(TextBands[1].end, 380);
}

TEST_F(TextBandsTest, SplitCutsAtTheFirstOfEqualValleys) {
    std::array<std::int16_t, 90> profile{};
    profile.fill(10);
    for (int centre : {30, 60}) {
        profile[centre - 1] = 9;
        profile[centre] = 8;
        profile[centre + 1] = 9;
    }
    SmoothProfile(profile, 2);
    ASSERT_EQ(SplitTallBand(profile), 1);
    EXPECT_EQ(profile[29], 0);
    EXPECT_EQ(profile[30], 0);
    EXPECT_EQ(profile[31], 0);
    EXPECT_EQ(profile[60], 8);

    // Rising throughout: no valley, no cut; a band shorter than 20 is never cut.
    for (int i = 0; i < 90; ++i) profile[i] = static_cast<std::int16_t>(i);
    SmoothProfile(profile, 2);
    EXPECT_EQ(SplitTallBand(profile), 0);
    std::array<std::int16_t, 19> shortProfile{};
    shortProfile.fill(4);
    SmoothProfile(shortProfile, 2);
    EXPECT_EQ(SplitTallBand(shortProfile), 0);
}

TEST_F(TextBandsTest, BandLengthByMode) {
    const std::int16_t falling[] = {10, 10, 10, 10, 7, 7, 10, 10};
    EXPECT_EQ(MeasureProfileBand(falling, BandModeRows), 4);
    EXPECT_EQ(MeasureProfileBand(falling, BandModeColumns), 7) << "never 5 below: count - 1";
    const std::int16_t gap[] = {3, 3, 3, 0, 0, 3};
    EXPECT_EQ(MeasureProfileBand(gap, BandModeColumns), 3);
    const std::int16_t lone[] = {9};
    EXPECT_EQ(MeasureProfileBand(lone, BandModeRows), 0);
    EXPECT_EQ(MeasureProfileBand(std::span<const std::int16_t>(), BandModeRows), 0);
}

TEST_F(TextBandsTest, SmoothingNeverReadsPastItsSlice) {
    std::array<std::int16_t, 12> backing{};
    backing.fill(5);
    backing[10] = 1000;  // just past the slice
    backing[11] = 1000;
    SmoothProfile(std::span<const std::int16_t>(backing).first(10), 0);
    EXPECT_EQ(SmoothedProfile[0], 0);
    EXPECT_EQ(SmoothedProfile[1], 0);
    EXPECT_EQ(SmoothedProfile[9], 0);
    EXPECT_LE(SmoothedProfile[8], 5);
    EXPECT_EQ(SmoothScratch[5], 5);  // first step: (5 x 5 + 2) / 5
    EXPECT_EQ(SmoothScratch[8], 4);  // (5 + 5 + 5 + 5 + 0 + 2) / 5
}

TEST_F(TextBandsTest, ShortProfileGapsAreFilled) {
    std::fill(std::begin(SmoothedProfile), std::end(SmoothedProfile), std::uint16_t{0});
    SmoothedProfile[100] = 5;
    SmoothedProfile[163] = 3;  // 63 apart: closed at the lower level
    SmoothedProfile[300] = 5;
    SmoothedProfile[364] = 5;  // 64 apart: left open
    SmoothedProfile[5] = 5;
    SmoothedProfile[12] = 5;  // before column 16: left open
    FillShortProfileGaps(64);
    for (int i = 101; i <= 162; ++i) ASSERT_EQ(SmoothedProfile[i], 3) << i;
    for (int i = 301; i <= 363; ++i) ASSERT_EQ(SmoothedProfile[i], 0) << i;
    for (int i = 6; i <= 11; ++i) ASSERT_EQ(SmoothedProfile[i], 0) << i;
}

TEST_F(TextBandsTest, LinesOfCharactersGiveOneBandEach) {
    const drawing::CharStyle style;  // 25 x 42 characters
    drawing::DrawTextLine(WorkImage, "TGHU1234567", 60, 200, style);
    EdgesAndBinary(40);
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 1);
    EXPECT_NEAR(TextBands[0].start, 200, 2);
    EXPECT_NEAR(TextBands[0].end, 200 + style.Height(), 2);

    // A second line ten rows below the first: two bands.
    drawing::DrawTextLine(WorkImage, "MSKU7654321", 60, 200 + style.Height() + 10, style);
    EdgesAndBinary(40);
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 2);
    EXPECT_NEAR(TextBands[0].end, 200 + style.Height(), 2);
    EXPECT_NEAR(TextBands[1].start, 200 + style.Height() + 10, 2);
    EXPECT_NEAR(TextBands[1].end, 200 + 2 * style.Height() + 10, 2);
}

TEST_F(TextBandsTest, AColumnOfCharactersGivesOneVerticalBand) {
    const drawing::CharStyle style;
    drawing::DrawTextColumn(WorkImage, "TGHU1234567", 300, 60, 8, style);
    EdgesAndBinary(40);
    ASSERT_EQ(FindVerticalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 1);
    EXPECT_NEAR(TextBands[0].start, 300, 3);
    EXPECT_NEAR(TextBands[0].end, 300 + style.Width(), 3);
    // A flat frame has no band either way.
    drawing::FillPlane(BinaryImage, 0);
    EXPECT_EQ(FindVerticalTextBands(FrameTopLeft, FrameBottomRight), 1);
    EXPECT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 1);
}

TEST_F(TextBandsTest, VerticalStrokeEndsAtTheFrameBottomReadNothingBelow) {
    // A column inked down to the last frame row: its stroke end test looks past the last row.
    drawing::FillRect(BinaryImage, 50, FrameHeight - 10, 50, FrameHeight - 1, 1);
    drawing::FillRect(BinaryImage, 51, FrameHeight - 12, 51, FrameHeight - 2, 1);
    EXPECT_EQ(FindVerticalTextBands(PackPoint(40, FrameHeight - 40), PackPoint(60, FrameHeight + 20)), 1);
    EXPECT_EQ(RowStrokeCounts[51], 1) << "ink ends a row short; the region's bottom is the next start";
    EXPECT_EQ(RowStrokeCounts[50], 0);
}

TEST_F(TextBandsTest, ColumnProfileOfBoxCountsTheChosenPlane) {
    drawing::FillPlane(BinaryBackup, 0);
    drawing::FillRect(BinaryImage, 10, 10, 12, 19, 1);
    drawing::FillRect(BinaryBackup, 11, 15, 11, 16, 1);
    ColumnProfile[300] = 9;
    ColumnProfileOfBox(10, 12, 12, 13, SourceBinaryImage);
    EXPECT_EQ(ColumnProfile[10], 2);
    EXPECT_EQ(ColumnProfile[12], 2);
    EXPECT_EQ(ColumnProfile[300], 0) << "the whole profile is cleared first";
    ColumnProfileOfBox(10, 12, 0, FrameHeight + 50, SourceBinaryBackup);
    EXPECT_EQ(ColumnProfile[10], 0);
    EXPECT_EQ(ColumnProfile[11], 2);
    ColumnProfileOfBox(10, 12, 0, 40, 7);
    EXPECT_EQ(ColumnProfile[11], 0);
}

}  // namespace
