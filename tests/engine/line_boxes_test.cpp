#include "engine/location/line_boxes.h"

#include <gtest/gtest.h>

#include "engine/location/binary_regions.h"
#include "engine/location/edge_image.h"
#include "engine/location/planes.h"
#include "engine/location/text_bands.h"
#include "support/location_frames.h"

namespace {

void SetLineBoxes(std::initializer_list<CharBox> boxes) {
    LineBoxCount = 0;
    for (const CharBox& box : boxes) {
        LineBoxComponents[LineBoxCount] = ComponentRange{static_cast<std::int16_t>(LineBoxCount * 2),
                                                         static_cast<std::int16_t>(LineBoxCount * 2 + 1)};
        LineBoxes[LineBoxCount++] = box;
    }
}

void ExpectBox(const CharBox& box, int left, int top, int right, int bottom) {
    EXPECT_EQ(box.left, left);
    EXPECT_EQ(box.top, top);
    EXPECT_EQ(box.right, right);
    EXPECT_EQ(box.bottom, bottom);
}

TEST(LineBoxesTest, MergeKeepsTheFirstBoxsLeadingSide) {
    SetLineBoxes({{10, 20, 30, 60}, {5, 15, 40, 50}, {50, 20, 70, 60}});
    MergeBoxes(0, 1, MergeAlongRow);
    ASSERT_EQ(LineBoxCount, 2);
    ExpectBox(LineBoxes[0], 10, 15, 40, 60);  // b's left even though c's is smaller
    EXPECT_EQ(LineBoxComponents[0].first, 0);
    EXPECT_EQ(LineBoxComponents[0].last, 3);
    ExpectBox(LineBoxes[1], 50, 20, 70, 60);
    EXPECT_EQ(LineBoxComponents[1].first, 4);

    SetLineBoxes({{10, 20, 30, 60}, {5, 15, 40, 50}});
    MergeBoxes(0, 1, MergeAlongColumn);
    ExpectBox(LineBoxes[0], 5, 20, 40, 60);  // b's top even though c's is higher

    SetLineBoxes({{10, 20, 30, 60}, {5, 15, 40, 50}});
    MergeBoxes(1, 2, MergeAlongRow);  // no box 2
    MergeBoxes(0, 2, MergeAlongRow);  // not neighbours
    EXPECT_EQ(LineBoxCount, 2);
}

TEST(LineBoxesTest, RemoveBoxMovesTheRestDown) {
    SetLineBoxes({{1, 0, 2, 0}, {3, 0, 4, 0}, {5, 0, 6, 0}});
    EXPECT_EQ(RemoveBox(1), 1);
    ASSERT_EQ(LineBoxCount, 2);
    EXPECT_EQ(LineBoxes[1].left, 5);
    EXPECT_EQ(LineBoxComponents[1].first, 4);
    EXPECT_EQ(RemoveBox(2), 2);
    EXPECT_EQ(RemoveBox(-1), -1);
    EXPECT_EQ(LineBoxCount, 2);
}

TEST(LineBoxesTest, GapEstimateIsTheUsualGapPlusOne) {
    SetLineBoxes({{0, 0, 20, 40}, {28, 0, 48, 40}, {56, 0, 76, 40}, {84, 0, 104, 40}, {150, 0, 170, 40}});
    EXPECT_EQ(BoxGapEstimate(GapAlongRow), 9);
    SetLineBoxes({{0, 0, 20, 40}, {0, 45, 20, 85}, {0, 90, 20, 130}});
    EXPECT_EQ(BoxGapEstimate(GapAlongColumn), 6);
    SetLineBoxes({{0, 0, 20, 40}});
    EXPECT_EQ(BoxGapEstimate(GapAlongRow), 1) << "no pair: no gap";
    SetLineBoxes({{0, 0, 20, 40}, {10, 0, 30, 40}, {20, 0, 40, 40}});
    EXPECT_EQ(BoxGapEstimate(GapAlongRow), 1) << "overlaps beyond -8 are not counted";
}

TEST(LineBoxesTest, LineGeometry) {
    const PackedPoint a = PackPoint(100, 50);
    EXPECT_EQ(PointLineDistance(a, PackPoint(100, 150), PackPoint(93, 400)), 7);
    EXPECT_EQ(PointLineDistance(a, PackPoint(200, 50), PackPoint(93, 400)), 99);
    // x = 100 + (y - 50) / 10 along the line: at row 150 the line is at 110.
    EXPECT_EQ(PointLineDistance(a, PackPoint(110, 150), PackPoint(120, 150)), 10);
    EXPECT_EQ(PointLineDistance(a, PackPoint(110, 150), PackPoint(100, 150)), 10);
    EXPECT_EQ(PointLineDistance(a, PackPoint(110, 150), PackPoint(100, 69)), 1) << "19 / 10 truncates";
    EXPECT_EQ(LineIntersect(a, PackPoint(110, 150), 250), 120);
    EXPECT_EQ(LineIntersect(a, PackPoint(110, 150), 31), 99) << "-19 / 10 truncates toward zero";
    EXPECT_EQ(LineIntersect(a, PackPoint(100, 150), 250), 100);
    EXPECT_EQ(LineIntersect(a, PackPoint(300, 50), 250), 100);
}

TEST(LineBoxesTest, GrayLevelTestWithoutComponentsReadsNothing) {
    SetLineBoxes({{10, 10, 40, 50}});
    LineBoxComponents[0] = ComponentRange{5, 4};
    EXPECT_EQ(BoxGrayLevelHistogram(0, 0), 0);
    EXPECT_EQ(BoxGrayLevelHistogram(3, 1), 0);
}

class BinaryRegionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(BinaryImage, 0);
        drawing::FillPlane(BinaryBackup, 0);
        drawing::FillPlane(BinarySnapshot, 0);
        drawing::FillPlane(EdgeImage, 0);
    }
};

TEST_F(BinaryRegionsTest, SumsCopiesAndEdgeThresholds) {
    drawing::FillRect(BinaryBackup, 10, 10, 19, 19, 1);
    drawing::FillRect(BinarySnapshot, 10, 10, 14, 19, 1);
    EXPECT_EQ(SumBinaryCopy1(PackPoint(0, 0), PackPoint(29, 29)), 100);
    EXPECT_EQ(SumBinaryCopy2(PackPoint(0, 0), PackPoint(29, 29)), 50);
    EXPECT_EQ(SumBinaryCopy1(PackPoint(15, 15), PackPoint(15, 15)), 1);
    EXPECT_EQ(SumBinaryCopy1(PackPoint(-50, -50), PackPoint(FrameWidth + 9, FrameHeight + 9)), 100);

    CopyBinaryRegion(PackPoint(15, 0), PackPoint(40, 40));
    EXPECT_EQ(BinaryImage[PixelIndex(14, 12)], 0);
    EXPECT_EQ(BinaryImage[PixelIndex(15, 12)], 1);

    EdgeImage[PixelIndex(50, 50)] = 60;
    EdgeImage[PixelIndex(51, 50)] = 61;
    BinaryBackup[PixelIndex(52, 50)] = 1;
    BinaryBackup[PixelIndex(60, 50)] = 1;
    ThresholdEdgeImageToCopy(PackPoint(50, 50), PackPoint(55, 55), 60);
    EXPECT_EQ(BinaryBackup[PixelIndex(50, 50)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(51, 50)], 1);
    EXPECT_EQ(BinaryBackup[PixelIndex(52, 50)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(60, 50)], 1);

    RestoreBinaryImage();
    EXPECT_EQ(BinaryImage[PixelIndex(60, 50)], 1);
    EXPECT_EQ(BinaryImage[PixelIndex(12, 12)], 1);
}

TEST_F(BinaryRegionsTest, VerticalRunsPerColumn) {
    // Column 100: one run, and ink reaching past the range's bottom, which ends no run inside
    // it; column 101: one run.
    drawing::FillRect(BinaryBackup, 100, 10, 100, 12, 1);
    drawing::FillRect(BinaryBackup, 100, 18, 100, 40, 1);
    drawing::FillRect(BinaryBackup, 101, 15, 101, 16, 1);
    CountVerticalRunsPerColumn(100, 102, 5, 20);
    EXPECT_EQ(ColumnProfile[100], 6);
    EXPECT_EQ(SmoothScratch[100], 1);
    EXPECT_EQ(ColumnProfile[101], 2);
    EXPECT_EQ(SmoothScratch[101], 1);
    EXPECT_EQ(ColumnProfile[102], 0);
    EXPECT_EQ(SmoothScratch[102], 0);
}

}  // namespace
