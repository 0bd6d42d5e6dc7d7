#include "engine/location/components.h"

#include <gtest/gtest.h>

#include "engine/location/planes.h"
#include "support/location_frames.h"

namespace {

constexpr int Unfiltered = 0;
constexpr int Filtered = 1;

class ComponentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(BinaryImage, 0);
        drawing::FillPlane(BinaryBackup, 0);
        ComponentBoxCount = 0;
    }

    // Draws an ink rectangle into both binary planes.
    static void Ink(int left, int top, int right, int bottom) {
        drawing::FillRect(BinaryImage, left, top, right, bottom, 1);
        drawing::FillRect(BinaryBackup, left, top, right, bottom, 1);
    }

    static int FindIn(int left, int top, int right, int bottom, int mode, int filter) {
        return FindComponentBoxes(PackPoint(left, top), PackPoint(right, bottom), mode, filter);
    }
};

TEST_F(ComponentsTest, OutlinedGlyphsInLineOrder) {
    drawing::FillPlane(WorkImage, 180);
    const drawing::CharStyle style;
    drawing::DrawTextLine(WorkImage, "TLHUX123571", 40, 200, style);
    drawing::BinarizeFrame(40);
    ComponentBoxCount = 0;
    ASSERT_EQ(FindIn(20, 190, 590, 250, ScanColumns, Filtered), 0);
    ASSERT_EQ(ComponentBoxCount, 11);
    for (int i = 0; i < 11; ++i) {
        const CharBox& box = ComponentBoxes[i];
        EXPECT_EQ(box.top, 199) << i;
        EXPECT_EQ(box.bottom, 242) << i;
        EXPECT_LE(box.left, 40 + i * style.Pitch() + 15) << i;
        if (i > 0) {
            EXPECT_GT(box.left, ComponentBoxes[i - 1].right) << i;
        }
        // The contour list starts in the leftmost column and ends with the end mark.
        const ContourPoint* points = ComponentPoints[i];
        EXPECT_EQ(points[0].x, box.left);
        int n = 0;
        while (n < ComponentPointSlots && !(points[n].x == -1 && points[n].y == -1)) ++n;
        EXPECT_GT(n, 7);
        EXPECT_LT(n, ComponentPointSlots);
    }
    // Every piece was taken out of the binary image; the backup keeps the accepted ones.
    for (int y = 190; y <= 250; ++y)
        for (int x = 20; x <= 590; ++x) ASSERT_EQ(BinaryImage[PixelIndex(x, y)], 0) << x << "," << y;
    EXPECT_EQ(BinaryBackup[PixelIndex(ComponentPoints[0][0].x, ComponentPoints[0][0].y)], 1);
}

TEST_F(ComponentsTest, FilterRejectsSpecksAndBarsAndErasesThem) {
    Ink(100, 100, 119, 139);  // a character-sized piece
    Ink(130, 110, 132, 112);  // a speck: 8 outline points, 3 x 3
    Ink(140, 120, 199, 123);  // a flat bar: ratio 4 / 60
    drawing::FillRect(BinaryImage, 105, 105, 114, 134, 0);
    drawing::FillRect(BinaryBackup, 105, 105, 114, 134, 0);
    Ink(110, 120, 110, 120);  // a speck inside the accepted box: kept in the backup
    ASSERT_EQ(FindIn(90, 95, 250, 145, ScanColumns, Filtered), 0);
    ASSERT_EQ(ComponentBoxCount, 1);
    EXPECT_EQ(ComponentBoxes[0].left, 100);
    EXPECT_EQ(ComponentBoxes[0].bottom, 139);
    EXPECT_EQ(BinaryBackup[PixelIndex(131, 111)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(170, 121)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(110, 120)], 1);
    EXPECT_EQ(BinaryBackup[PixelIndex(100, 120)], 1);

    // Without the filter every piece counts.
    ComponentBoxCount = 0;
    Ink(130, 110, 132, 112);
    Ink(140, 120, 199, 123);
    ASSERT_EQ(FindIn(125, 95, 250, 145, ScanColumns, Unfiltered), 0);
    EXPECT_EQ(ComponentBoxCount, 2);
}

TEST_F(ComponentsTest, TallAndHangingPieces) {
    // Region rows 100..160 (H = 60). A bar from row 150 down to 300 hangs in from below: it is
    // left as ink and the scan stops above it, so the piece under its top is not found either.
    Ink(50, 150, 53, 300);
    Ink(60, 152, 75, 158);  // below the new scan limit (149)
    Ink(80, 110, 95, 140);
    ASSERT_EQ(FindIn(40, 100, 120, 160, ScanColumns, Unfiltered), 0);
    ASSERT_EQ(ComponentBoxCount, 1);
    EXPECT_EQ(ComponentBoxes[0].left, 80);
    EXPECT_EQ(BinaryImage[PixelIndex(50, 200)], 1);
    EXPECT_EQ(BinaryImage[PixelIndex(50, 150)], 1) << "the hanging piece's contour is ink again";

    // A piece taller than 128 rows whose centre lies in the region is still no component.
    drawing::FillPlane(BinaryImage, 0);
    ComponentBoxCount = 0;
    Ink(300, 10, 303, 300);
    ASSERT_EQ(FindIn(290, 0, 320, 310, ScanColumns, Unfiltered), 0);
    EXPECT_EQ(ComponentBoxCount, 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(301, 100)], 0) << "erased from the backup";
    // In a vertical line the same piece is a component.
    Ink(300, 10, 303, 300);
    ASSERT_EQ(FindIn(290, 0, 320, 310, ScanRows, Unfiltered), 0);
    EXPECT_EQ(ComponentBoxCount, 1);
}

TEST_F(ComponentsTest, VerticalScanFindsPiecesTopDown) {
    drawing::FillPlane(WorkImage, 180);
    const drawing::CharStyle style;
    drawing::DrawTextColumn(WorkImage, "TLHU", 300, 100, 10, style);
    drawing::BinarizeFrame(40);
    ComponentBoxCount = 0;
    ASSERT_EQ(FindIn(290, 90, 340, 320, ScanRows, Filtered), 0);
    ASSERT_EQ(ComponentBoxCount, 4);
    for (int i = 1; i < 4; ++i) EXPECT_GT(ComponentBoxes[i].top, ComponentBoxes[i - 1].bottom);
}

TEST_F(ComponentsTest, TheVerticalFilterRelaxesWithTheComponentsOfEarlierCandidates) {
    Ink(300, 100, 329, 109);  // a flat piece (ratio 10 / 30), refused while the table is short
    ComponentBoxCount = 9;
    ASSERT_EQ(FindIn(290, 90, 340, 120, ScanRows, Filtered), 0);
    EXPECT_EQ(ComponentBoxCount, 9);
    Ink(300, 100, 329, 109);
    ComponentBoxCount = 10;   // ten components of the candidates searched before
    ASSERT_EQ(FindIn(290, 90, 340, 120, ScanRows, Filtered), 0);
    EXPECT_EQ(ComponentBoxCount, 11);
}

TEST_F(ComponentsTest, TheTableCountsAtMost799) {
    // 2 x 2 pieces, 4 pixels apart.
    int drawn = 0;
    for (int x = 10; x < FrameWidth - 10 && drawn < 800; x += 4) {
        for (int y = 10; y < 100 && drawn < 800; y += 4, ++drawn) Ink(x, y, x + 1, y + 1);
    }
    ASSERT_EQ(FindIn(0, 0, FrameWidth - 1, 120, ScanColumns, Unfiltered), 1);
    EXPECT_EQ(ComponentBoxCount, 799);
    EXPECT_EQ(ComponentBoxes[798].bottom - ComponentBoxes[798].top, 1);

    drawing::FillPlane(BinaryImage, 0);
    ComponentBoxCount = 0;
    drawn = 0;
    for (int x = 10; x < FrameWidth - 10 && drawn < 799; x += 4) {
        for (int y = 10; y < 100 && drawn < 799; y += 4, ++drawn) Ink(x, y, x + 1, y + 1);
    }
    EXPECT_EQ(FindIn(0, 0, FrameWidth - 1, 120, ScanColumns, Unfiltered), 0) << "the 799th is accepted";
    EXPECT_EQ(ComponentBoxCount, 799);
}

TEST_F(ComponentsTest, OverlongContours) {
    // A comb whose outline exceeds 2000 points: a horizontal search fails, a vertical one goes on.
    auto comb = [] {
        Ink(5, 100, 594, 100);
        for (int x = 5; x < 595; x += 10) Ink(x, 101, x, 130);
    };
    comb();
    Ink(20, 200, 40, 230);
    EXPECT_EQ(FindIn(0, 90, FrameWidth - 1, 240, ScanColumns, Unfiltered), 1);
    drawing::FillPlane(BinaryImage, 0);
    ComponentBoxCount = 0;
    comb();
    Ink(20, 200, 40, 230);
    EXPECT_EQ(FindIn(0, 90, FrameWidth - 1, 240, ScanRows, Unfiltered), 0);
    EXPECT_GE(ComponentBoxCount, 1);
    EXPECT_EQ(ComponentBoxes[ComponentBoxCount - 1].top, 200);
}

TEST_F(ComponentsTest, ContainingBox) {
    ComponentBoxes[0] = CharBox{10, 10, 50, 50};
    ComponentBoxes[1] = CharBox{20, 20, 30, 30};
    ComponentBoxes[2] = CharBox{10, 10, 50, 50};  // equal sides count as containing
    ComponentBoxes[3] = CharBox{5, 20, 30, 30};
    EXPECT_EQ(FindContainingBox(1, 0, 3), 0);
    EXPECT_EQ(FindContainingBox(1, 1, 3), 2);
    EXPECT_EQ(FindContainingBox(0, 0, 3), 2);
    EXPECT_EQ(FindContainingBox(3, 0, 3), -1);
    EXPECT_EQ(FindContainingBox(1, 2, 900), 2);
    EXPECT_EQ(FindContainingBox(-1, 0, 3), -1);
}

}  // namespace
