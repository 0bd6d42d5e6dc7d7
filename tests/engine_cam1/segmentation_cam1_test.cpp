// The rear camera's segmentation: its driver's character sizes and the constants of its
// code-line rules, on components and boxes set by hand.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "engine/location/components.h"
#include "engine/location/line_boxes.h"
#include "engine/location/segmentation.h"
#include "engine/location/text_bands.h"
#include "support/location_frames.h"

namespace {

constexpr int H = 40;
constexpr int W = 20;
constexpr int Gap = 9;
constexpr int Centre = 220;

using drawing::SetRow;

// `count` boxes W wide, 8 apart, with the given widths where set.
void SetEven(int count, std::initializer_list<std::pair<int, int>> widths = {}, int top = 200) {
    std::vector<int> w(static_cast<std::size_t>(count), W);
    for (const auto& [index, width] : widths) w[static_cast<std::size_t>(index)] = width;
    SetRow(w, std::vector<int>(static_cast<std::size_t>(count), 8), top);
}

int Segment(int centre = Centre, int gap = Gap) { return SegmentCodeLine(0, H, W, centre, gap); }

class RearSegmentRulesTest : public ::testing::Test {
protected:
    void SetUp() override { drawing::ResetSegmenterState(); }
    void TearDown() override { CodeFoundFlag = 0; }
};

TEST_F(RearSegmentRulesTest, WideBoxesFromHalfAWidthMore) {
    SetEven(11, {{5, 29}});
    EXPECT_NE(Segment(), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 0);
    SetEven(11, {{5, 30}});
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 1);

    // The last of twelve needs W + 3W/4.
    RetriedWideBoxCount = 0;
    SetEven(12, {{11, 34}});
    EXPECT_NE(Segment(), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 0);
    SetEven(12, {{11, 35}});
    EXPECT_EQ(Segment(), SegmentRedo);

    // The size/type code: a box is wide when it is not taller than wide.
    CodeFoundFlag = 1;
    RetriedWideBoxCount = 0;
    SetRow({12, 12, 19, 12}, {8, 8, 8}, 200, 20);
    EXPECT_NE(SegmentCodeLine(0, 20, W, 210, Gap), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 0);
    SetRow({12, 12, 20, 12}, {8, 8, 8}, 200, 20);
    EXPECT_EQ(SegmentCodeLine(0, 20, W, 210, Gap), SegmentRedo);
}

TEST_F(RearSegmentRulesTest, WideBoxesAreBinarizedAgainUpToSixteenBelowTheStrongLevel) {
    StrongEdgeLevel = 100;
    drawing::FillPlane(BinaryBackup, 1);  // solid: no column to cut
    SetEven(11, {{5, 30}});
    const CharBox wide = LineBoxes[5];
    CurrentThreshold = 75;
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 83);
    EXPECT_EQ(BinaryBackup[PixelIndex(wide.left + 3, 220)], 0) << "binarized again at 83 < 100 - 16";

    drawing::FillPlane(BinaryBackup, 1);
    RetriedWideBoxCount = 0;
    CurrentThreshold = 76;
    SetEven(11, {{5, 30}});
    EXPECT_NE(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(wide.left + 3, 220)], 1) << "at 84 it is cut, and has no thin column";
}

TEST_F(RearSegmentRulesTest, CutColumnIsChosenByTheBoxOwnInk) {
    // A wide box at the top of the frame: two solid halves joined by a bridge of 2 ink rows, and
    // one column further on with a stroke of 6 rows. A profile left over from elsewhere says the
    // opposite of the box's own ink.
    StrongEdgeLevel = 50;
    SetEven(11, {{5, 30}}, 2);
    const CharBox wide = LineBoxes[5];
    const int bridge = wide.left + 12;
    const int stroke = wide.left + 16;
    drawing::FillRect(BinaryBackup, wide.left, 2, bridge - 1, 42, 1);
    drawing::FillRect(BinaryBackup, bridge, 20, stroke - 1, 21, 1);
    drawing::FillRect(BinaryBackup, stroke, 18, stroke, 23, 1);
    drawing::FillRect(BinaryBackup, stroke + 1, 2, wide.right, 42, 1);
    for (int x = 0; x < FrameWidth; ++x) ColumnProfile[x] = 50;
    ColumnProfile[stroke] = 0;
    ASSERT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(bridge, 20)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(bridge, 21)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(bridge + 1, 20)], 1);
    EXPECT_EQ(BinaryBackup[PixelIndex(stroke, 20)], 1);
}

TEST_F(RearSegmentRulesTest, NarrowBoxesMergeInLinesOfFiveOrInTheSizeTypeCode) {
    // Narrow middle box 1 fits box 0; the narrow last box fits box 2.
    const std::vector<int> widths{14, 6, 20, 6};
    const std::vector<int> gaps{2, 8, 2};
    SetRow(widths, gaps);
    ASSERT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 4);

    CodeFoundFlag = 1;
    SetRow(widths, gaps);
    ASSERT_EQ(Segment(), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 2);
    EXPECT_EQ(LineBoxes[0].right, 30 + 14 + 2 + 6);
    EXPECT_EQ(LineBoxes[1].right, 30 + 14 + 2 + 6 + 8 + 20 + 2 + 6);

    CodeFoundFlag = 0;
    SetRow({14, 6, 20, 20, 20}, {2, 8, 8, 8});
    ASSERT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 4);
}

TEST_F(RearSegmentRulesTest, NarrowBoxesOfAnOwnerCodeStandingApartStay) {
    // Narrow box 2 fits box 1; box 4 starts 4 x gap + 1 after box 3.
    std::vector<int> widths(11, W);
    widths[1] = 12;
    widths[2] = 6;
    std::vector<int> gaps(10, 8);
    gaps[1] = 2;
    gaps[3] = 4 * Gap + 1;
    SetRow(widths, gaps);
    ASSERT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 11);

    gaps[3] = 4 * Gap;
    SetRow(widths, gaps);
    ASSERT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 10);
}

TEST_F(RearSegmentRulesTest, GapsTwiceTheSpacingPeakAreWide) {
    // Spacing peak g = 16 (gap 8); a first gap of 25 (+ 8 = 33) cuts off box 0, 24 does not.
    SetRow(std::vector<int>(6, W), {25, 8, 8, 8, 8});
    ASSERT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 5);
    SetRow(std::vector<int>(6, W), {24, 8, 8, 8, 8});
    ASSERT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 6);
}

TEST_F(RearSegmentRulesTest, SevenBoxesInGroupsOfThreeThreeAndOnePassTheWideGaps) {
    // A low line (centre 400) of seven boxes with its first wide gap after box 2.
    const std::vector<int> widths(7, W);
    SetRow(widths, {8, 8, 30, 8, 8, 30});
    ASSERT_EQ(Segment(400), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 7);
    SetRow(widths, {8, 8, 30, 8, 30, 8});
    EXPECT_EQ(Segment(400), SegmentReject);
}

TEST_F(RearSegmentRulesTest, IrregularSpacingRejectsLinesShorterThan400) {
    // Six boxes 40 wide whose gaps + 8 are 60, 60, 14, 30 and 44: a spacing peak held by two
    // gaps, less than half the boxes but a third of them.
    auto segment = [](int lastWidth) {
        SetRow({40, 40, 40, 40, 40, lastWidth}, {52, 52, 6, 22, 36}, 200, 60);
        return SegmentCodeLine(0, 60, 40, Centre, Gap);
    };
    EXPECT_EQ(segment(31), SegmentReject) << "span 399";
    EXPECT_EQ(segment(32), SegmentKeep) << "span 400";
    EXPECT_EQ(LineBoxCount, 6);
    // With no two gaps alike the line is rejected at any length.
    SetRow({40, 40, 40, 40, 40, 32}, {52, 68, 6, 22, 36}, 200, 60);
    EXPECT_EQ(SegmentCodeLine(0, 60, 40, Centre, Gap), SegmentReject);
}

TEST_F(RearSegmentRulesTest, ElevenBoxLinesMustLookLikeANumber) {
    // The largest gap, before the check digit, against a third of the span.
    std::vector<int> gaps(10, 8);
    gaps[9] = 150;  // span 442
    SetRow(std::vector<int>(11, W), gaps);
    EXPECT_EQ(Segment(), SegmentReject);
    gaps[9] = 140;  // span 432
    SetRow(std::vector<int>(11, W), gaps);
    EXPECT_EQ(Segment(), SegmentKeep);

    // Below row 225 a gap above 5g anywhere but after the owner code rejects the line.
    gaps[9] = 100;
    SetRow(std::vector<int>(11, W), gaps, 226);
    EXPECT_EQ(Segment(), SegmentReject);
    SetRow(std::vector<int>(11, W), gaps, 225);
    EXPECT_EQ(Segment(), SegmentKeep);
}

TEST_F(RearSegmentRulesTest, AfterANoiseBoxRightOfItsNeighbourGoesTheScanMovesOn) {
    // W 8: a box, two slivers 1 apart, a box, a wide gap and four boxes 26 apart (g = 34). The
    // first sliver goes as the noise beside the first box; the second is then next to the first
    // box, but the scan has moved on to its pair with the fourth box, 9 apart, which is not close.
    SetRow({8, 5, 5, 8, 8, 8, 8, 8}, {1, 1, 9, 300, 26, 26, 26});
    const CharBox secondSliver = LineBoxes[2];
    ASSERT_EQ(SegmentCodeLine(0, H, 8, Centre, Gap), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 7);
    EXPECT_EQ(LineBoxes[1].left, secondSliver.left);
}

TEST_F(RearSegmentRulesTest, ALoneFifthBoxIsMeasuredAgainstTheFirstGaps) {
    // Eight boxes at the bottom of the frame: first gaps 8 (inclusive 9), box 4 with 18 columns
    // (inclusive 19 > 2 x 9) on both sides; the box gap handed over does not matter.
    drawing::FillPlane(BinaryBackup, 1);
    SetRow(std::vector<int>(8, W), {8, 8, 8, 18, 18, 8, 8}, FrameHeight - 1 - H);
    const CharBox fifth = LineBoxes[4];
    EXPECT_EQ(Segment(Centre, 30), SegmentFatal);
    EXPECT_EQ(BinaryBackup[PixelIndex(fifth.left - 16, FrameHeight - 1)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(fifth.right + 1, FrameHeight - 1)], 1);

    drawing::FillPlane(BinaryBackup, 1);
    SetRow(std::vector<int>(8, W), {8, 8, 8, 17, 18, 8, 8}, FrameHeight - 1 - H);
    EXPECT_EQ(Segment(Centre, 1), SegmentKeep);
}

TEST_F(RearSegmentRulesTest, RegionEditsAtTheFrameEdgesStayInside) {
    // Rule 15 at the top: twenty boxes with a wide gap after box 5 clear up to 16 rows above.
    drawing::FillPlane(BinaryBackup, 1);
    std::vector<int> gaps(19, 8);
    gaps[5] = 60;
    SetRow(std::vector<int>(20, W), gaps, 4);
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(30, 0)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(LineBoxes[5].right + 1, 0)], 1);

    // Rule 18 at the top: ten boxes late in the sweep, the first three apart from the rest; the
    // widest of them has a one-run column of 2 pixels.
    drawing::FillPlane(BinaryBackup, 0);
    SweepStep = 9;
    SetRow({20, 26, 20, 20, 20, 20, 20, 20, 20, 20}, {8, 8, 30, 8, 8, 8, 8, 8, 8}, 1);
    const CharBox widest = LineBoxes[1];
    drawing::FillRect(BinaryBackup, widest.left, 1, widest.right, 41, 1);
    drawing::FillRect(BinaryBackup, widest.left + 10, 1, widest.left + 10, 41, 0);
    drawing::FillRect(BinaryBackup, widest.left + 10, 20, widest.left + 10, 21, 1);
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(widest.left + 10, 20)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(widest.left + 11, 20)], 1);

    // Rule 1 at the bottom: a wide box in the last rows, cut at an empty column 8 rows past it.
    drawing::FillPlane(BinaryBackup, 0);
    SweepStep = 0;
    StrongEdgeLevel = 50;
    RetriedWideBoxCount = 0;
    SetEven(11, {{5, 30}}, FrameHeight - 1 - H);
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 1);
}

// The driver on components set by hand.
class RearSegmentDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::ResetSegmenterState();
        drawing::SetCandidates({CharBox{0, 150, 600, 300}});
    }

    // Components of the given size, 8 columns apart from `left`, rows 200 to 200 + h - 1.
    static void AddRow(int count, int width, int height, int left = 30) {
        for (int i = 0; i < count; ++i) {
            AddComponent(CharBox{static_cast<std::int16_t>(left), 200, static_cast<std::int16_t>(left + width - 1),
                                 static_cast<std::int16_t>(200 + height - 1)});
            left += width + 8;
        }
    }
    static void AddComponent(const CharBox& box) {
        ComponentBoxes[ComponentBoxCount] = box;
        ComponentPoints[ComponentBoxCount][0] = ContourListEnd;
        ++ComponentBoxCount;
        LineCandidates[0].firstComponent = 0;
        LineCandidates[0].lastComponent = static_cast<std::int16_t>(ComponentBoxCount - 1);
    }
};

TEST_F(RearSegmentDriverTest, CharactersUpTo26Wide) {
    AddRow(6, 26, 60);
    ASSERT_EQ(SegmentCandidateLine(0), SegmentKeep);
    EXPECT_EQ(LineCandidates[0].charHeight, 60);
    EXPECT_EQ(LineCandidates[0].charWidth, 26);
    EXPECT_EQ(LineCandidates[0].charCount, 6);

    ComponentBoxCount = 0;
    AddRow(6, 27, 40);
    EXPECT_EQ(SegmentCandidateLine(0), SegmentReject);
}

TEST_F(RearSegmentDriverTest, LineBoxesWithinTwoThirdsOfTheHeightOfTheCentre) {
    // H = 30, centre row 214; a short component (not measured) 20 rows lower is a line box, one
    // 21 rows lower is not.
    AddRow(6, 18, 30);
    AddComponent(CharBox{186, 227, 203, 241});  // centre 234
    ASSERT_EQ(SegmentCandidateLine(0), SegmentKeep);
    EXPECT_EQ(LineCandidates[0].centreLine, 214);
    EXPECT_EQ(LineCandidates[0].charCount, 7);

    ComponentBoxCount = 0;
    AddRow(6, 18, 30);
    AddComponent(CharBox{186, 228, 203, 242});  // centre 235
    ASSERT_EQ(SegmentCandidateLine(0), SegmentKeep);
    EXPECT_EQ(LineCandidates[0].charCount, 6);

    // A component inside another's box (found right after it) is listed as well, and joins it.
    ComponentBoxCount = 0;
    AddRow(1, 18, 30);
    AddComponent(CharBox{34, 205, 40, 215});
    AddRow(5, 18, 30, 56);
    ASSERT_EQ(SegmentCandidateLine(0), SegmentKeep);
    ASSERT_EQ(LineCandidates[0].charCount, 6);
    EXPECT_EQ(LineCandidates[0].boxComponents[0].first, 0);
    EXPECT_EQ(LineCandidates[0].boxComponents[0].last, 1);
}

}  // namespace
