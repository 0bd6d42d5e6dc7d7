// The segmenters on columns of stacked boxes set by hand (H = 40, W = 20 unless a test says
// otherwise).
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "engine/location/components.h"
#include "engine/location/line_boxes.h"
#include "engine/location/segmentation.h"
#include "support/location_frames.h"

namespace {

constexpr int H = 40;
constexpr int W = 20;
constexpr int ColumnLeft = 300;

class ColumnRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::ResetSegmenterState();
        VerticalModeFlag = 1;
    }
    void TearDown() override { VerticalModeFlag = 0; }

    static void AddBox(int left, int top, int right, int bottom) {
        LineBoxes[LineBoxCount] = CharBox{static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                                          static_cast<std::int16_t>(right), static_cast<std::int16_t>(bottom)};
        LineBoxComponents[LineBoxCount] = ComponentRange{0, -1};
        ++LineBoxCount;
    }

    // `count` boxes W wide (r - l) and H high (b - t), 8 rows apart, from `top` down.
    static void SetColumn(int count, int top = 20, int left = ColumnLeft) {
        LineBoxCount = 0;
        for (int i = 0; i < count; ++i) AddBox(left, top + i * (H + 8), left + W, top + i * (H + 8) + H);
    }

    // Boxes of the given heights (b - t), 8 rows apart.
    static void SetColumnOfHeights(std::initializer_list<int> heights) {
        LineBoxCount = 0;
        int top = 20;
        for (int height : heights) {
            AddBox(ColumnLeft, top, ColumnLeft + W, top + height);
            top += height + 8;
        }
    }

    // Boxes H high with the given gaps below each (the last gap is not used).
    static void SetColumnWithGaps(std::initializer_list<int> gaps) {
        LineBoxCount = 0;
        int top = 20;
        for (int gap : gaps) {
            AddBox(ColumnLeft, top, ColumnLeft + W, top + H);
            top += H + gap;
        }
    }

    static void ShiftBox(int i, int dx) {
        LineBoxes[i].left = static_cast<std::int16_t>(LineBoxes[i].left + dx);
        LineBoxes[i].right = static_cast<std::int16_t>(LineBoxes[i].right + dx);
    }

    static int Segment(int charWidth = W) { return SegmentCodeLine(0, H, charWidth, 0, 9); }
};

TEST_F(ColumnRulesTest, BoxesOffTheAxisOfACrowdedColumnAreRemoved) {
    SetColumn(12);
    ShiftBox(6, 11);
    EXPECT_EQ(Segment(), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 11);
    EXPECT_EQ(LineBoxes[6].top, 20 + 7 * (H + 8));

    SetColumn(12);
    ShiftBox(6, 10);
    EXPECT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 12);

    SetColumn(12);
    ShiftBox(0, 30);
    EXPECT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 12) << "the top box stays";
}

TEST_F(ColumnRulesTest, TenBoxesGainAnEleventhWhereInkIsFoundBelow) {
    SetColumn(10);
    // y = b9 + (t4 - b3) + H/2 = 492 + 8 + 20; columns 310 -+ 10, rows 500 to 540.
    drawing::FillRect(EdgeImage, 304, 505, 316, 535, 255);
    EXPECT_EQ(Segment(), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 11);
    EXPECT_EQ(LineBoxes[10].left, 300);
    EXPECT_EQ(LineBoxes[10].right, 320);
    EXPECT_EQ(LineBoxes[10].top, 500);
    EXPECT_EQ(LineBoxes[10].bottom, 540);
    EXPECT_EQ(LineBoxComponents[10].first, 0);
    EXPECT_EQ(LineBoxComponents[10].last, 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(310, 520)], 1) << "binarized into the backup";

    // No ink there: the column stays at ten.
    drawing::FillPlane(EdgeImage, 0);
    SetColumn(10);
    EXPECT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 10);

    // A short tenth box ends the search before it starts.
    drawing::FillRect(EdgeImage, 304, 505, 316, 535, 255);
    drawing::FillPlane(BinaryBackup, 0);
    SetColumn(10);
    LineBoxes[9].top = static_cast<std::int16_t>(LineBoxes[9].bottom - 20);  // 21 < 3 x 41 / 5
    EXPECT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 10);
    EXPECT_EQ(BinaryBackup[PixelIndex(310, 520)], 0);
}

TEST_F(ColumnRulesTest, TheEleventhBoxIsClippedToTheFrame) {
    // Low in the frame and at its right edge: y = 772 + 8 + 20 = 800, x = 580 -+ 20.
    LineBoxCount = 0;
    for (int i = 0; i < 10; ++i) AddBox(570, 300 + i * (H + 8), 590, 300 + i * (H + 8) + H);
    drawing::FillRect(EdgeImage, 575, 785, 599, 799, 255);
    EXPECT_EQ(SegmentCodeLine(0, H, 40, 0, 9), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 11);
    EXPECT_EQ(LineBoxes[10].left, 560);
    EXPECT_EQ(LineBoxes[10].right, FrameWidth - 1);
    EXPECT_EQ(LineBoxes[10].top, 780);
    EXPECT_EQ(LineBoxes[10].bottom, FrameHeight - 1);

    // Entirely below the frame: nothing is looked for.
    LineBoxCount = 0;
    for (int i = 0; i < 10; ++i) AddBox(570, 320 + i * (H + 8), 590, 320 + i * (H + 8) + H);
    EXPECT_EQ(SegmentCodeLine(0, H, 40, 0, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 10);
}

class ElevenBoxChecks : public ColumnRulesTest {
protected:
    void SetUp() override {
        ColumnRulesTest::SetUp();
        // Solid ink and a low strong-edge level: the tall-box rule finds nothing to cut.
        drawing::FillPlane(BinaryBackup, 1);
        StrongEdgeLevel = 40;
    }
};

TEST_F(ElevenBoxChecks, ABoxTallerThanFourCharactersRejectsTheColumn) {
    SetColumnOfHeights({40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 4 * H});  // inclusive 4H + 1
    EXPECT_EQ(Segment(), SegmentReject);
    SetColumnOfHeights({40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 4 * H - 1});
    EXPECT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 11);
}

TEST_F(ElevenBoxChecks, AMiddleBoxTallAgainstBothNeighboursRejectsTheColumn) {
    // Neighbours of inclusive height 41: the limit is 5 x 41 / 3 = 68.
    SetColumnOfHeights({40, 40, 40, 40, 40, 68, 40, 40, 40, 40, 40});
    EXPECT_EQ(Segment(), SegmentReject);
    SetColumnOfHeights({40, 40, 40, 40, 40, 67, 40, 40, 40, 40, 40});
    EXPECT_EQ(Segment(), SegmentKeep);
}

TEST_F(ElevenBoxChecks, ManyNarrowBoxesRejectTheColumn) {
    auto narrowColumn = [](int narrow) {
        SetColumn(11);
        for (int i = 0; i < narrow; ++i) LineBoxes[i].right = static_cast<std::int16_t>(LineBoxes[i].left + 8);
    };
    narrowColumn(7);
    EXPECT_EQ(Segment(), SegmentKeep);
    narrowColumn(8);
    EXPECT_EQ(Segment(), SegmentReject);
}

TEST_F(ColumnRulesTest, TallSliversGoWhenTheirQuotientIsAbove5Point6) {
    AddBox(ColumnLeft, 100, ColumnLeft + 8, 151);  // 52 / 9 is 5: treated as a tall box, binarized again
    EXPECT_EQ(Segment(), SegmentRedo);
    LineBoxCount = 0;
    AddBox(ColumnLeft, 100, ColumnLeft + 8, 153);  // 54 / 9 is 6: removed, and the column with it
    EXPECT_EQ(Segment(), SegmentReject);
}

TEST_F(ColumnRulesTest, AColumnThatLosesItsOnlyBoxIsRejected) {
    AddBox(ColumnLeft, 100, ColumnLeft + 5, 200);  // a sliver far taller than a character
    EXPECT_EQ(Segment(), SegmentReject);
    AddBox(ColumnLeft, 100, ColumnLeft + 5, 200);
    EXPECT_EQ(SegmentTypeCodeLine(0, H, W, 0, 9), SegmentReject);
}

// Two 21 x 44 blocks joined by a 3-pixel bridge on rows 144 to 146.
void DrawJoinedPair(int left) {
    drawing::FillRect(BinaryBackup, left, 100, left + W, 143, 1);
    drawing::FillRect(BinaryBackup, left + 8, 144, left + 10, 146, 1);
    drawing::FillRect(BinaryBackup, left, 147, left + W, 190, 1);
}

TEST_F(ColumnRulesTest, TallBoxesAreCutAtTheirThinnestRowWithinTheFrame) {
    DrawJoinedPair(0);
    drawing::FillRect(BinaryBackup, 560, 143, 599, 143, 1);  // the end of the row above
    AddBox(0, 100, W, 190);
    EXPECT_EQ(Segment(), SegmentRedo);
    for (int x = 0; x <= W + 40; ++x) EXPECT_EQ(BinaryBackup[PixelIndex(x, 144)], 0) << "column " << x;
    for (int x = 560; x < FrameWidth; ++x) ASSERT_EQ(BinaryBackup[PixelIndex(x, 143)], 1) << "column " << x;

    drawing::FillPlane(BinaryBackup, 0);
    DrawJoinedPair(FrameWidth - 1 - W);
    drawing::FillRect(BinaryBackup, 0, 145, 40, 145, 1);  // the start of the row below
    LineBoxCount = 0;
    AddBox(FrameWidth - 1 - W, 100, FrameWidth - 1, 190);
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(FrameWidth - 1, 144)], 0);
    for (int x = 0; x <= 40; ++x) ASSERT_EQ(BinaryBackup[PixelIndex(x, 145)], 1) << "column " << x;
}

TEST_F(ColumnRulesTest, InkRunningOnPastTheBoxEndsNoRunInsideIt) {
    // Two blocks joined by bridges of 3 on rows 144 and 146; row 145 holds only the 2 last columns
    // of the box, its ink going on to the right: no run ends there, so row 144 is cut.
    drawing::FillRect(BinaryBackup, ColumnLeft, 100, ColumnLeft + W, 143, 1);
    drawing::FillRect(BinaryBackup, ColumnLeft + 8, 144, ColumnLeft + 10, 144, 1);
    drawing::FillRect(BinaryBackup, ColumnLeft + W - 1, 145, ColumnLeft + W + 10, 145, 1);
    drawing::FillRect(BinaryBackup, ColumnLeft + 8, 146, ColumnLeft + 10, 146, 1);
    drawing::FillRect(BinaryBackup, ColumnLeft, 147, ColumnLeft + W, 190, 1);
    AddBox(ColumnLeft, 100, ColumnLeft + W, 190);
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(ColumnLeft + 9, 144)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(ColumnLeft + W, 145)], 1);
}

TEST_F(ColumnRulesTest, SolidTallBoxesAreBinarizedAgainBelowTheStrongEdgeLevel) {
    drawing::FillRect(BinaryBackup, ColumnLeft, 100, ColumnLeft + W, 190, 1);
    StrongEdgeLevel = 49;  // the first raise reaches 48
    AddBox(ColumnLeft, 100, ColumnLeft + W, 190);
    EXPECT_EQ(Segment(), SegmentRedo);
    ASSERT_EQ(RetriedWideBoxCount, 1);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 48);
    EXPECT_EQ(BinaryBackup[PixelIndex(ColumnLeft + 5, 150)], 0) << "binarized again from the empty edge plane";

    drawing::FillRect(BinaryBackup, ColumnLeft, 100, ColumnLeft + W, 190, 1);
    RetriedWideBoxCount = 0;
    StrongEdgeLevel = 48;
    LineBoxCount = 0;
    AddBox(ColumnLeft, 100, ColumnLeft + W, 190);
    EXPECT_NE(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(ColumnLeft + 5, 150)], 1);
}

// Thin strokes 3 wide and `height` high (12: a quotient of 4), 13 rows apart, their left edges
// at the given columns.
void SetThinStrokes(const std::vector<int>& lefts, int height = 12) {
    LineBoxCount = 0;
    int top = 30;
    for (int left : lefts) {
        LineBoxes[LineBoxCount] = CharBox{static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                                          static_cast<std::int16_t>(left + 2), static_cast<std::int16_t>(top + height - 1)};
        LineBoxComponents[LineBoxCount] = ComponentRange{0, -1};
        ++LineBoxCount;
        top += 13;
    }
}

TEST_F(ColumnRulesTest, AStraightBarOfThinStrokesIsClearedOverTheWholeFrame) {
    drawing::FillPlane(BinaryBackup, 1);
    SetThinStrokes(std::vector<int>(30, 300));
    EXPECT_EQ(Segment(), SegmentRedo);
    // Stroke centres at column 301: columns 296 to 306 on rows 11 to 789.
    for (int y : {11, 400, FrameHeight - 11}) {
        EXPECT_EQ(BinaryBackup[PixelIndex(295, y)], 1) << "row " << y;
        for (int x = 296; x <= 306; ++x) EXPECT_EQ(BinaryBackup[PixelIndex(x, y)], 0) << "row " << y;
        EXPECT_EQ(BinaryBackup[PixelIndex(307, y)], 1) << "row " << y;
    }
    EXPECT_EQ(BinaryBackup[PixelIndex(301, 10)], 1);
    EXPECT_EQ(BinaryBackup[PixelIndex(301, FrameHeight - 10)], 1);
}

TEST_F(ColumnRulesTest, ABarAtTheFrameEdgeIsClippedRowByRow) {
    drawing::FillPlane(BinaryBackup, 1);
    // Slanting right by one column a stroke: above the first stroke the bar leaves the frame.
    std::vector<int> lefts;
    for (int i = 0; i < 30; ++i) lefts.push_back(1 + i);
    SetThinStrokes(lefts);
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(0, 11)], 0);
    for (int y = 11; y < 40; ++y) {
        for (int x = FrameWidth - 10; x < FrameWidth; ++x) ASSERT_EQ(BinaryBackup[PixelIndex(x, y - 1)], 1) << "row " << y - 1;
    }
}

TEST_F(ColumnRulesTest, BentChainsOfThinStrokesAreClearedStrokeByStroke) {
    drawing::FillPlane(BinaryBackup, 1);
    std::vector<int> lefts(15, 300);
    for (int i = 1; i <= 15; ++i) lefts.push_back(300 + 4 * i);  // the drift falls from 0 to -1/3
    SetThinStrokes(lefts);
    const CharBox first = LineBoxes[0];
    EXPECT_EQ(Segment(), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(first.left + 1, first.top + 5)], 0) << "a stroke is cleared";
    EXPECT_EQ(BinaryBackup[PixelIndex(first.left + 1, first.bottom + 1)], 1) << "the rows between stay";
    EXPECT_EQ(BinaryBackup[PixelIndex(first.left + 1, 600)], 1) << "no bar is drawn through the frame";
}

TEST_F(ColumnRulesTest, FewThinStrokesAreLeftAlone) {
    drawing::FillPlane(BinaryBackup, 1);
    SetThinStrokes(std::vector<int>(28, 300));
    Segment();
    EXPECT_EQ(BinaryBackup[PixelIndex(301, 600)], 1);
}

TEST_F(ColumnRulesTest, StrokesWhoseQuotientIsNotAbove3Point2AreNoThinStrokes) {
    drawing::FillPlane(BinaryBackup, 1);
    SetThinStrokes(std::vector<int>(30, 300), 11);  // 11 / 3 is 3
    Segment();
    EXPECT_EQ(BinaryBackup[PixelIndex(301, 600)], 1);
}

TEST_F(ColumnRulesTest, NarrowStrokesBesideAWideBoxAreCleared) {
    // Box 5 of an 11-box column is 51 wide; its ink is drawn in the given rectangles.
    auto segmentWideBox = [](std::initializer_list<CharBox> inks) {
        drawing::FillPlane(BinaryBackup, 0);
        SetColumn(11);
        LineBoxes[5] = CharBox{280, 260, 330, 300};
        for (const CharBox& ink : inks) drawing::FillRect(BinaryBackup, ink.left, ink.top, ink.right, ink.bottom, 1);
        return Segment();
    };
    // A body and a 4-column stroke 10 columns to its right.
    EXPECT_EQ(segmentWideBox({{280, 260, 315, 300}, {326, 270, 329, 290}}), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(327, 280)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(315, 280)], 1);
    // A narrow first stroke, and the body far enough right of it.
    EXPECT_EQ(segmentWideBox({{281, 270, 284, 290}, {295, 260, 330, 300}}), SegmentRedo);
    EXPECT_EQ(BinaryBackup[PixelIndex(282, 280)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(295, 280)], 1);
}

TEST_F(ColumnRulesTest, PiecesOfOneCharacterAreMerged) {
    // Character 5 broken into a top of 16 rows and a bottom of 20, 4 rows apart.
    SetColumn(11);
    LineBoxes[5].bottom = static_cast<std::int16_t>(LineBoxes[5].top + 16);
    for (int i = LineBoxCount; i > 6; --i) {
        LineBoxes[i] = LineBoxes[i - 1];
        LineBoxComponents[i] = LineBoxComponents[i - 1];
    }
    ++LineBoxCount;
    LineBoxes[6] = CharBox{ColumnLeft, static_cast<std::int16_t>(LineBoxes[5].bottom + 4), ColumnLeft + W,
                           static_cast<std::int16_t>(LineBoxes[5].top + H)};
    EXPECT_EQ(Segment(), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 11);
    EXPECT_EQ(LineBoxes[5].top, 20 + 5 * (H + 8));
    EXPECT_EQ(LineBoxes[5].bottom, 20 + 5 * (H + 8) + H);
}

TEST_F(ColumnRulesTest, SpacingDropsASetApartFirstBoxOrRejects) {
    // 12 boxes, the first 40 rows above the others.
    SetColumn(12);
    for (int i = 1; i < 12; ++i) {
        LineBoxes[i].top = static_cast<std::int16_t>(LineBoxes[i].top + 32);
        LineBoxes[i].bottom = static_cast<std::int16_t>(LineBoxes[i].bottom + 32);
    }
    EXPECT_EQ(Segment(), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 11);
    EXPECT_EQ(LineBoxes[0].top, 20 + H + 40);

    // Seven boxes keep a set-apart first box.
    SetColumn(7);
    LineBoxes[0].top = static_cast<std::int16_t>(LineBoxes[0].top - 30);
    LineBoxes[0].bottom = static_cast<std::int16_t>(LineBoxes[0].bottom - 30);
    EXPECT_EQ(Segment(), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 7);

    // No regular spacing: rejected.
    SetColumnWithGaps({0, 9, 18, 27, 36, 45, 54, 0});
    EXPECT_EQ(Segment(), SegmentReject);
}

TEST_F(ColumnRulesTest, SizeTypeColumns) {
    // Six boxes, the first set apart: it goes, five remain.
    SetColumn(6);
    LineBoxes[0].top = static_cast<std::int16_t>(LineBoxes[0].top - 30);
    LineBoxes[0].bottom = static_cast<std::int16_t>(LineBoxes[0].bottom - 30);
    EXPECT_EQ(SegmentTypeCodeLine(0, H, W, 0, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 5);

    // A spacing support of a third of the boxes is enough for size/type codes.
    SetColumnWithGaps({8, 8, 30, 50, 70, 0});
    EXPECT_EQ(SegmentTypeCodeLine(0, H, W, 0, 9), SegmentKeep);
    SetColumnWithGaps({8, 8, 30, 50, 70, 0});
    EXPECT_EQ(Segment(), SegmentReject);
}

}  // namespace
