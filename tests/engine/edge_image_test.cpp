#include "engine/location/edge_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>

#include "engine/location/boxes.h"
#include "engine/location/gray_bmp.h"
#include "engine/location/level_histogram.h"
#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "support/frame_drawing.h"
#include "support/temp_drives.h"

namespace {

constexpr PackedPoint FrameTopLeft = PackPoint(0, 0);
constexpr PackedPoint FrameBottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);

// Writes a 3 x 3 patch (rows top first) of the work image centred on (row, column).
void SetPatch(int row, int column, const int (&patch)[3][3]) {
    for (int dr = 0; dr < 3; ++dr)
        for (int dc = 0; dc < 3; ++dc)
            WorkImage[PixelIndex(column + dc - 1, row + dr - 1)] = static_cast<std::uint8_t>(patch[dr][dc]);
}

struct EdgeCase {
    int patch[3][3];
    int magnitude;
    int direction;
};

class EdgeImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(WorkImage, 100);
        drawing::FillPlane(EdgeImage, 0);
        drawing::FillPlane(BinaryImage, 7);
    }
};

TEST_F(EdgeImageTest, DirectionsAndTiesOnPatches) {
    const EdgeCase cases[] = {
        {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0, 0},              // flat
        {{{10, 0, 90}, {10, 0, 90}, {10, 0, 90}}, 80, 0},       // brighter right; diagonals equal: lowest wins
        {{{90, 0, 10}, {90, 0, 10}, {90, 0, 10}}, 80, 4},       // brighter left
        {{{0, 0, 0}, {0, 0, 0}, {60, 60, 60}}, 60, 1},          // down-right equals down: diagonal index 1 first
        {{{0, 0, 0}, {0, 0, 0}, {0, 70, 0}}, 70, 2},            // only below brighter
        {{{0, 70, 0}, {0, 0, 0}, {0, 0, 0}}, 70, 6},            // only above brighter
        {{{0, 0, 0}, {0, 0, 0}, {50, 0, 0}}, 50, 3},            // down-left
        {{{0, 0, 50}, {0, 0, 0}, {0, 0, 0}}, 50, 7},            // up-right
        {{{50, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 50, 5},            // up-left
        {{{0, 0, 0}, {0, 0, 0}, {0, 0, 255}}, 255, 1},          // full contrast
        {{{0, 0, 0}, {30, 0, 0}, {0, 0, 30}}, 30, 4},           // horizontal -30 ties diagonal +30: horizontal code
    };
    for (const EdgeCase& c : cases) {
        SetPatch(10, 10, c.patch);
        const PackedEdge edge = EdgeAtPixel(10, 10);
        EXPECT_EQ(EdgeMagnitude(edge), c.magnitude);
        EXPECT_EQ(EdgeDirection(edge), c.direction) << "magnitude " << c.magnitude;
    }
}

TEST_F(EdgeImageTest, FrameBorderPixelsHaveNoEdge) {
    drawing::FillRect(WorkImage, 0, 0, 0, FrameHeight - 1, 0);
    for (int row : {0, FrameHeight - 1}) EXPECT_EQ(EdgeAtPixel(row, 5), 0u);
    for (int column : {0, FrameWidth - 1, -3, FrameWidth + 4}) EXPECT_EQ(EdgeAtPixel(5, column), 0u);
    EXPECT_EQ(EdgeMagnitude(EdgeAtPixel(5, 1)), 100);
}

TEST_F(EdgeImageTest, StepEdgeMarksTwoPixelsAndKeepsTheMargin) {
    constexpr int Contrast = 90;
    drawing::FillPlane(WorkImage, 40);
    drawing::FillRect(WorkImage, 50, 0, FrameWidth - 1, FrameHeight - 1, 40 + Contrast);  // step between 49 and 50
    std::memset(EdgeField, 0xAB, sizeof EdgeField);
    ComputeEdgeImage(PackPoint(30, 20), PackPoint(70, 60));
    for (int row = 22; row <= 58; ++row) {
        for (int column = 32; column <= 68; ++column) {
            const int expected = (column == 49 || column == 50) ? Contrast : 0;
            ASSERT_EQ(EdgeImage[PixelIndex(column, row)], expected) << column << "," << row;
            ASSERT_EQ(EdgeField[PixelIndex(column, row)].magnitude, expected);
        }
        EXPECT_EQ(EdgeField[PixelIndex(49, row)].direction, 0);
    }
    // Nothing of the 2-pixel margin (or outside) was written.
    for (int column = 28; column <= 72; ++column) {
        for (int row : {19, 20, 21, 59, 60, 61}) {
            ASSERT_EQ(EdgeImage[PixelIndex(column, row)], 0);
            ASSERT_EQ(EdgeField[PixelIndex(column, row)].magnitude, 0xABAB);
        }
    }
    for (int row = 20; row <= 60; ++row) {
        for (int column : {30, 31, 69, 70}) ASSERT_EQ(EdgeField[PixelIndex(column, row)].magnitude, 0xABAB);
    }
}

// Gray levels whose differences tie often, in both signs, up to the full 255.
void FillWithTyingLevels(std::uint32_t seed) {
    constexpr std::uint8_t Levels[] = {0, 1, 128, 254, 255};
    std::uint32_t state = seed;
    for (std::uint8_t& pixel : WorkImage) {
        state = state * 1664525u + 1013904223u;
        pixel = Levels[(state >> 16) % std::size(Levels)];
    }
}

bool IsInside(int column, int row, const FrameRegion& region) {
    return column >= region.left && column <= region.right && row >= region.top && row <= region.bottom;
}

// The row loops work in blocks of columns, the last one overlapping: regions narrower than a
// block, one block wide, one column more, at the frame's edges and past them.
TEST_F(EdgeImageTest, PlanesMatchThePixelOperatorOverRegionsOfAnyWidth) {
    constexpr std::uint8_t Untouched = 0xEE;
    const FrameRegion regions[] = {
        {-3, -3, FrameWidth + 3, FrameHeight + 3}, {7, 5, 26, 40}, {9, 11, 29, 30}, {3, 3, 21, 20},
        {101, 50, FrameWidth - 1, 91}, {40, 40, 44, 44}, {60, 70, 50, 80},
    };
    FillWithTyingLevels(2026);
    for (const FrameRegion& r : regions) {
        std::memset(EdgeImage, Untouched, sizeof EdgeImage);
        std::memset(EdgeField, Untouched, sizeof EdgeField);
        ComputeEdgeImage(PackPoint(r.left, r.top), PackPoint(r.right, r.bottom));
        const FrameRegion clipped = ClipToFrame(r.left, r.top, r.right, r.bottom);
        const FrameRegion written{clipped.left + 2, clipped.top + 2, clipped.right - 2, clipped.bottom - 2};
        for (int row = 0; row < FrameHeight; ++row) {
            for (int column = 0; column < FrameWidth; ++column) {
                const int index = PixelIndex(column, row);
                const PackedEdge edge = EdgeAtPixel(row, column);
                const bool inside = IsInside(column, row, written);
                ASSERT_EQ(EdgeImage[index], inside ? EdgeMagnitude(edge) : Untouched) << column << "," << row;
                ASSERT_EQ(EdgeField[index].magnitude, inside ? EdgeMagnitude(edge) : 0xEEEE) << column << "," << row;
                ASSERT_EQ(EdgeField[index].direction, inside ? EdgeDirection(edge) : 0xEEEE) << column << "," << row;
            }
        }
        // The histogram counts the region's levels exactly as one pass would.
        std::uint32_t expectedBins[HistogramBinCount] = {};
        for (int row = clipped.top; row <= clipped.bottom; ++row)
            for (int column = clipped.left; column <= clipped.right; ++column)
                ++expectedBins[EdgeImage[PixelIndex(column, row)]];
        EdgeHistogram(PackPoint(r.left, r.top), PackPoint(r.right, r.bottom));
        for (int bin = 0; bin < HistogramBinCount; ++bin) ASSERT_EQ(HistogramBins[bin], expectedBins[bin]) << bin;
        // Thresholds below, at and beyond the levels answer as a plain comparison would.
        for (int threshold : {-300, -1, 0, 127, 254, 255, 300}) {
            drawing::FillPlane(BinaryImage, 7);
            ThresholdEdgeImage(PackPoint(r.left, r.top), PackPoint(r.right, r.bottom), threshold);
            for (int index = 0; index < FrameSize; ++index) {
                const bool inside = IsInside(index % FrameStride, index / FrameStride, r);
                const int expected = EdgeImage[index] > threshold ? 1 : 0;
                ASSERT_EQ(BinaryImage[index], inside ? expected : 7) << index << " at " << threshold;
            }
        }
    }
}

TEST_F(EdgeImageTest, RegionsReachingPastTheFrameAreClipped) {
    drawing::FillRect(WorkImage, 0, 0, FrameWidth - 1, 3, 250);
    drawing::FillRect(WorkImage, 0, FrameHeight - 3, FrameWidth - 1, FrameHeight - 1, 0);
    ComputeEdgeImage(PackPoint(-40, -40), PackPoint(FrameWidth + 40, FrameHeight + 40));
    EXPECT_EQ(EdgeImage[PixelIndex(10, 4)], 150);
    EXPECT_EQ(EdgeImage[PixelIndex(10, FrameHeight - 4)], 100);
    EXPECT_EQ(EdgeImage[PixelIndex(1, 10)], 0);  // margin of the clipped region
    ThresholdEdgeImage(PackPoint(-5, -5), PackPoint(FrameWidth + 5, FrameHeight + 5), 120);
    EXPECT_EQ(BinaryImage[PixelIndex(10, 4)], 1);
    EXPECT_EQ(BinaryImage[PixelIndex(10, FrameHeight - 4)], 0);
    EdgeHistogram(PackPoint(-5, -5), PackPoint(FrameWidth + 5, FrameHeight + 5));
    std::uint32_t total = 0;
    for (std::uint32_t bin : HistogramBins) total += bin;
    EXPECT_EQ(total, static_cast<std::uint32_t>(FrameSize));
    // An inverted region touches nothing.
    drawing::FillPlane(BinaryImage, 7);
    ThresholdEdgeImage(PackPoint(20, 20), PackPoint(10, 10), 0);
    EXPECT_EQ(BinaryImage[PixelIndex(15, 15)], 7);
}

TEST_F(EdgeImageTest, ThresholdIsStrictAndStaysInsideItsRegion) {
    EdgeImage[PixelIndex(10, 10)] = 40;
    EdgeImage[PixelIndex(11, 10)] = 41;
    EdgeImage[PixelIndex(30, 10)] = 200;
    ThresholdEdgeImage(PackPoint(5, 5), PackPoint(20, 20), 40);
    EXPECT_EQ(BinaryImage[PixelIndex(10, 10)], 0);
    EXPECT_EQ(BinaryImage[PixelIndex(11, 10)], 1);
    EXPECT_EQ(BinaryImage[PixelIndex(5, 5)], 0);
    EXPECT_EQ(BinaryImage[PixelIndex(30, 10)], 7);  // outside the region: untouched
    EXPECT_EQ(BinaryImage[PixelIndex(4, 5)], 7);
}

TEST_F(EdgeImageTest, FlatFrameHasNoContrastAndAnAllZeroBinaryImage) {
    ComputeEdgeImage(FrameTopLeft, FrameBottomRight);
    ThresholdEdgeImage(FrameTopLeft, FrameBottomRight, 0);
    for (int i = 0; i < FrameSize; ++i) ASSERT_EQ(BinaryImage[i], 0);
    EdgeHistogram(FrameTopLeft, FrameBottomRight);
    EXPECT_EQ(HistogramBins[0], static_cast<std::uint32_t>(FrameSize));  // no wrap at 16 bits
    EXPECT_EQ(FindStrongLevel(250, 24), 2);
}

TEST_F(EdgeImageTest, BlurredNoisyTextFrameHasAUsableStrongLevel) {
    drawing::FillPlane(WorkImage, 175);
    const drawing::CharStyle style;
    drawing::DrawTextLine(WorkImage, "TGHU1234567", 60, 200, style);
    drawing::DrawTextLine(WorkImage, "45G1", 60, 300, style);
    drawing::BlurWorkImage();
    drawing::AddNoise(6, 12345);
    ComputeEdgeImage(FrameTopLeft, FrameBottomRight);
    EdgeHistogram(FrameTopLeft, FrameBottomRight);
    const int level = FindStrongLevel(250, 24);
    EXPECT_GE(level, 32);
    EXPECT_LE(level, 245);
}

TEST_F(EdgeImageTest, DebugDumpWritesTheEdgeImageOnlyWhenAsked) {
    TempDrives drives;
    const std::string path = drives.On('c', "work/TDBuf.bmp");
    LoadedImageWidth = FrameWidth;
    LoadedImageHeight = FrameHeight;
    EdgeImage[PixelIndex(3, 2)] = 77;
    DebugDumpFlag = 0;
    DumpEdgeImage();
    EXPECT_FALSE(std::filesystem::exists(path));
    DebugDumpFlag = 1;
    DumpEdgeImage();
    DebugDumpFlag = 0;
    ASSERT_TRUE(std::filesystem::exists(path));
    std::memset(LoadedImage, 0, sizeof LoadedImage);
    ASSERT_EQ(LoadGrayBmp("\\work\\TDBuf.bmp"), LoadOk);
    EXPECT_EQ(LoadedImage[PixelIndex(3, 2)], 77);
    EXPECT_EQ(LoadedImage[PixelIndex(4, 2)], 0);
}

}  // namespace
