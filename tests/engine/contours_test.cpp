#include "engine/location/contours.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "engine/glyph/glyph_record.h"
#include "engine/location/boxes.h"
#include "engine/location/planes.h"
#include "support/frame_drawing.h"

namespace {

using Point = std::pair<int, int>;  // column, row

std::set<Point> PathPoints() {
    std::set<Point> points;
    for (int i = 0; i < Glyph.WalkLength; ++i) points.insert({Glyph.PathX[i], Glyph.PathY[i]});
    return points;
}

// Every step of the path, and the step from its end back to its start, goes to an 8-neighbour.
void ExpectClosedChain() {
    const int n = Glyph.WalkLength;
    ASSERT_GT(n, 1);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        const int dx = std::abs(Glyph.PathX[j] - Glyph.PathX[i]);
        const int dy = std::abs(Glyph.PathY[j] - Glyph.PathY[i]);
        ASSERT_LE(dx, 1) << "step " << i;
        ASSERT_LE(dy, 1) << "step " << i;
        ASSERT_GT(dx + dy, 0) << "step " << i;
    }
}

// Ink pixels with a 4-neighbour of background that can be reached from the box's outside.
std::set<Point> OuterBoundary(int left, int top, int right, int bottom) {
    static std::uint8_t outside[FrameSize];
    std::memset(outside, 0, sizeof outside);
    // Flood the background from the ring around the box.
    std::vector<Point> stack;
    for (int x = left - 1; x <= right + 1; ++x) stack.push_back({x, top - 1}), stack.push_back({x, bottom + 1});
    for (int y = top; y <= bottom; ++y) stack.push_back({left - 1, y}), stack.push_back({right + 1, y});
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        if (x < left - 1 || x > right + 1 || y < top - 1 || y > bottom + 1) continue;
        const int index = PixelIndex(x, y);
        if (outside[index] || BinaryImage[index] != 0) continue;
        outside[index] = 1;
        stack.push_back({x + 1, y}), stack.push_back({x - 1, y}), stack.push_back({x, y + 1}), stack.push_back({x, y - 1});
    }
    std::set<Point> boundary;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (BinaryImage[PixelIndex(x, y)] == 0) continue;
            if (outside[PixelIndex(x + 1, y)] || outside[PixelIndex(x - 1, y)] || outside[PixelIndex(x, y + 1)] ||
                outside[PixelIndex(x, y - 1)]) {
                boundary.insert({x, y});
            }
        }
    }
    return boundary;
}

class ContourTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(BinaryImage, 0);
        drawing::FillPlane(BinaryBackup, 0);
    }

    // Traces from the top-left ink pixel of the box, as the component search starts.
    int TraceFromTopLeft(int left, int top, int right, int bottom) {
        for (int x = left; x <= right; ++x)
            for (int y = top; y <= bottom; ++y)
                if (BinaryImage[PixelIndex(x, y)] == 1) return TraceContour(y, x, 2);
        return -1;
    }

    // Traces the drawn piece and checks that the path is exactly its outer boundary.
    void ExpectOuterOutline(int left, int top, int right, int bottom) {
        const std::set<Point> expected = OuterBoundary(left, top, right, bottom);
        ASSERT_EQ(TraceFromTopLeft(left, top, right, bottom), 0);
        ExpectClosedChain();
        EXPECT_EQ(PathPoints(), expected);
        const CharBox box = PathBoundingBox();
        EXPECT_EQ(box.left, left);
        EXPECT_EQ(box.top, top);
        EXPECT_EQ(box.right, right);
        EXPECT_EQ(box.bottom, bottom);
    }
};

TEST_F(ContourTest, SinglePixelAndPair) {
    BinaryImage[PixelIndex(30, 40)] = 1;
    EXPECT_EQ(TraceContour(40, 30, 2), 0);
    EXPECT_EQ(Glyph.WalkLength, 1);
    EXPECT_EQ(BinaryImage[PixelIndex(30, 40)], ContourStartMark);

    drawing::FillRect(BinaryImage, 50, 40, 51, 40, 1);
    EXPECT_EQ(TraceContour(40, 50, 2), 0);
    EXPECT_EQ(Glyph.WalkLength, 2) << "the repeated start is not counted";
}

TEST_F(ContourTest, RingsTraceOnlyTheirOuterOutline) {
    drawing::FillRect(BinaryImage, 10, 10, 19, 19, 1);
    drawing::FillRect(BinaryImage, 12, 12, 17, 17, 0);
    ExpectOuterOutline(10, 10, 19, 19);
    EXPECT_EQ(Glyph.WalkLength, 36);
    // An edge-image ring: a 2-pixel outline of a round blob.
    for (int y = -12; y <= 12; ++y) {
        for (int x = -12; x <= 12; ++x) {
            const int r2 = x * x + y * y;
            if (r2 <= 144 && r2 >= 81) BinaryImage[PixelIndex(100 + x, 100 + y)] = 1;
        }
    }
    ExpectOuterOutline(88, 88, 112, 112);
}

TEST_F(ContourTest, DiagonalStrokesAndAShape) {
    for (int k = 0; k < 20; ++k) BinaryImage[PixelIndex(200 + k, 50 + k)] = 1;  // one pixel wide
    ExpectOuterOutline(200, 50, 219, 69);
    EXPECT_EQ(Glyph.WalkLength, 38);
    for (int k = 0; k < 20; ++k) drawing::FillRect(BinaryImage, 300 - k, 50 + k, 301 - k, 50 + k, 1);  // two wide
    ExpectOuterOutline(281, 50, 301, 69);

    // An A: two slanted legs 2 wide, joined at the top and by a bar.
    for (int y = 0; y < 30; ++y) {
        const int offset = y / 3;
        drawing::FillRect(BinaryImage, 64 - offset, 300 + y, 65 - offset, 300 + y, 1);
        drawing::FillRect(BinaryImage, 65 + offset, 300 + y, 66 + offset, 300 + y, 1);
    }
    drawing::FillRect(BinaryImage, 55, 315, 75, 316, 1);
    ExpectOuterOutline(55, 300, 75, 329);
}

TEST_F(ContourTest, LongContoursStopAt2000Points) {
    // A comb: a base line with 60 teeth, far more than 2000 outline points.
    drawing::FillRect(BinaryImage, 5, 100, 594, 100, 1);
    for (int x = 5; x < 595; x += 10) drawing::FillRect(BinaryImage, x, 101, x, 130, 1);
    EXPECT_EQ(TraceContour(100, 5, 2), 1);
    EXPECT_EQ(Glyph.WalkLength, 2000);
}

TEST_F(ContourTest, MarkingClearsTheTracedPieceOnly) {
    drawing::FillRect(BinaryImage, 10, 10, 29, 29, 1);
    drawing::FillRect(BinaryImage, 13, 13, 26, 26, 0);
    drawing::FillRect(BinaryImage, 18, 18, 20, 20, 1);  // a dot inside the ring
    drawing::FillRect(BinaryImage, 31, 10, 33, 12, 1);  // a piece outside the box
    ASSERT_EQ(TraceContour(10, 10, 2), 0);
    MarkAndClearRegion(PackPoint(10, 10), PackPoint(29, 29));
    for (int y = 10; y <= 29; ++y) {
        for (int x = 10; x <= 29; ++x) {
            const bool dot = x >= 18 && x <= 20 && y >= 18 && y <= 20;
            ASSERT_EQ(BinaryImage[PixelIndex(x, y)], dot ? 1 : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(BinaryImage[PixelIndex(32, 11)], 1);
}

TEST_F(ContourTest, NeighbourMarkingFollowsWindingInk) {
    // A spiral-like zigzag needs several rounds of the four sweeps.
    for (int k = 0; k < 6; ++k) {
        const int y = 10 + 4 * k;
        drawing::FillRect(BinaryImage, 10, y, 40, y, 1);
        const int x = k % 2 == 0 ? 40 : 10;
        drawing::FillRect(BinaryImage, x, y, x, y + 4, 1);
    }
    BinaryImage[PixelIndex(10, 10)] = 3;  // a contour mark at one end
    MarkContourNeighbours(PackPoint(0, 0), PackPoint(50, 50));
    for (int y = 0; y <= 50; ++y)
        for (int x = 0; x <= 50; ++x) ASSERT_NE(BinaryImage[PixelIndex(x, y)], 1) << x << "," << y;
}

TEST_F(ContourTest, ErasingBetweenMarksAndWholeBoxes) {
    drawing::FillPlane(BinaryBackup, 1);
    BinaryImage[PixelIndex(10, 5)] = 2;
    BinaryImage[PixelIndex(10, 9)] = 3;
    BinaryImage[PixelIndex(12, 7)] = 1;  // plain ink is no mark
    EraseRegionMarks(PackPoint(8, 0), PackPoint(14, 20), EraseByColumns, EraseBetweenMarks);
    for (int y = 0; y <= 20; ++y) EXPECT_EQ(BinaryBackup[PixelIndex(10, y)], y >= 5 && y <= 9 ? 0 : 1) << y;
    EXPECT_EQ(BinaryBackup[PixelIndex(12, 7)], 1);

    drawing::FillPlane(BinaryBackup, 1);
    EraseRegionMarks(PackPoint(0, 0), PackPoint(30, 30), EraseByRows, EraseBetweenMarks);
    EXPECT_EQ(BinaryBackup[PixelIndex(10, 5)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(9, 5)], 1);
    EXPECT_EQ(BinaryBackup[PixelIndex(10, 7)], 1) << "row 7 holds no mark";

    EraseRegionMarks(PackPoint(0, 0), PackPoint(30, 30), EraseByRows, 7);
    EXPECT_EQ(BinaryBackup[PixelIndex(9, 5)], 1) << "other kinds do nothing";
    EraseRegionMarks(PackPoint(-20, FrameHeight - 3), PackPoint(2, FrameHeight + 30), EraseByRows, EraseWholeBox);
    EXPECT_EQ(BinaryBackup[PixelIndex(2, FrameHeight - 1)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(3, FrameHeight - 1)], 1);
}

TEST_F(ContourTest, ClearTracedContourClearsBothPlanes) {
    drawing::FillRect(BinaryImage, 10, 10, 14, 14, 1);
    drawing::FillRect(BinaryBackup, 10, 10, 14, 14, 1);
    ASSERT_EQ(TraceContour(10, 10, 2), 0);
    ClearTracedContour();
    EXPECT_EQ(BinaryImage[PixelIndex(10, 10)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(14, 12)], 0);
    EXPECT_EQ(BinaryImage[PixelIndex(12, 12)], 1);
    EXPECT_EQ(BinaryBackup[PixelIndex(12, 12)], 1);
}

}  // namespace
