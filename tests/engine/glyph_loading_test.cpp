#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/location/planes.h"
#include "support/glyph_drawing.h"

namespace {

std::uint8_t Gray(int col, int row) { return WorkImage[PixelIndex(col, row)]; }

// The frame's edge operator over a region: direction toward the brighter side (0 right, then
// clockwise in steps of 45 degrees), and BinaryBackup = 1 where the magnitude passes `threshold`.
void ComputeEdges(int top, int left, int bottom, int right, int threshold) {
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            const int d[4] = {Gray(c + 1, r) - Gray(c - 1, r), Gray(c + 1, r + 1) - Gray(c - 1, r - 1),
                              Gray(c, r + 1) - Gray(c, r - 1), Gray(c - 1, r + 1) - Gray(c + 1, r - 1)};
            int best = 0;
            for (int k = 1; k < 4; ++k) best = std::abs(d[k]) > std::abs(d[best]) ? k : best;
            EdgeField[PixelIndex(c, r)].direction = static_cast<std::uint16_t>(best + (d[best] < 0 ? 4 : 0));
            BinaryBackup[PixelIndex(c, r)] = std::abs(d[best]) > threshold ? 1 : 0;
        }
    }
}

// A ring 4 pixels thick in the rectangle rows 100..129, columns 200..219 of a flat frame.
void PaintRing(std::uint8_t background, std::uint8_t ink) {
    std::memset(WorkImage, background, sizeof WorkImage);
    for (int r = 100; r < 130; ++r) {
        for (int c = 200; c < 220; ++c) {
            const bool inHole = r >= 104 && r < 126 && c >= 204 && c < 216;
            if (!inHole) WorkImage[PixelIndex(c, r)] = ink;
        }
    }
    ComputeEdges(95, 195, 134, 224, 40);
}

}  // namespace

TEST(GlyphPolarity, FollowsTheEdgeDirectionsAlongTheOuterContour) {
    const PackedPoint topLeft = PackPoint(197, 97);
    const PackedPoint bottomRight = PackPoint(222, 132);
    PaintRing(40, 200);
    EXPECT_EQ(DecideBoxPolarity(topLeft, bottomRight), InkBrighter);
    EXPECT_EQ(Glyph.GlyphHeight, 36);
    EXPECT_EQ(Glyph.GlyphWidth, 26);
    PaintRing(200, 40);
    EXPECT_EQ(DecideBoxPolarity(topLeft, bottomRight), InkDarker);
}

TEST(GlyphPolarity, OversizedOrOffFrameBoxesAreSafe) {
    PaintRing(200, 40);
    EXPECT_EQ(DecideBoxPolarity(PackPoint(0, 0), PackPoint(124, 10)), InkBrighter);  // 125 columns: not looked at
    // A box hanging over the frame corner reads only the pixels inside it.
    EXPECT_EQ(DecideBoxPolarity(PackPoint(FrameWidth - 5, FrameHeight - 5), PackPoint(FrameWidth + 20, FrameHeight + 20)),
              InkBrighter);
}

TEST(GlyphLoading, BinarizesTheBoxByPolarityAtTheOrigin) {
    std::memset(WorkImage, 0, sizeof WorkImage);
    const int gray[3][4] = {{10, 90, 100, 110}, {200, 100, 99, 101}, {0, 255, 100, 50}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) WorkImage[PixelIndex(40 + c, 60 + r)] = static_cast<std::uint8_t>(gray[r][c]);
    }
    const PackedPoint topLeft = PackPoint(40, 60);
    const PackedPoint bottomRight = PackPoint(43, 62);
    std::memset(Glyph.SkeletonImage.cells, 9, sizeof Glyph.SkeletonImage.cells);

    ASSERT_EQ(LoadGlyphFromGray(topLeft, bottomRight, InkBrighter, 100), 0);
    EXPECT_EQ(Glyph.GlyphHeight, 3);
    EXPECT_EQ(Glyph.GlyphWidth, 4);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 4, 5), (GlyphRows{"...#.", "#..#.", ".#...", "....."}));
    EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), 4);

    ASSERT_EQ(LoadGlyphFromGray(topLeft, bottomRight, InkDarker, 100), 0);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 3, 4), (GlyphRows{"##..", "..#.", "#..#"}));

    ASSERT_EQ(LoadGlyphFromGray(topLeft, bottomRight, 3, 100), 0);
    EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), 0);
}

TEST(GlyphLoading, RefusesTooLargeBoxesAndClipsToTheFrame) {
    std::memset(WorkImage, 255, sizeof WorkImage);
    EXPECT_EQ(LoadGlyphFromGray(PackPoint(0, 0), PackPoint(9, 126), InkBrighter, 100), 1);
    EXPECT_EQ(Glyph.GlyphHeight, 127);
    EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), 0);

    // Three columns of the box lie inside the frame, two beyond its right edge.
    ASSERT_EQ(LoadGlyphFromGray(PackPoint(FrameWidth - 3, 0), PackPoint(FrameWidth + 1, 1), InkBrighter, 100), 0);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 2, 5), (GlyphRows{"###..", "###.."}));
}

TEST(GlyphCrop, DropsNoiseLinesAndCropsAgainUntilStable) {
    DrawGlyph({"##########",
               "..........",
               "..####....",
               "..#..#....",
               "..#..#....",
               "..####....",
               "..#..#....",
               "..#..#....",
               "..####....",
               "..........",
               "#########.",
               "#########."},
              0);
    CropGlyph();
    EXPECT_EQ(Glyph.GlyphHeight, 7);
    EXPECT_EQ(Glyph.GlyphWidth, 4);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 12, 11),
              (GlyphRows{"####.......", "#..#.......", "#..#.......", "####.......", "#..#.......", "#..#.......",
                         "####.......", "...........", "...........", "...........", "...........", "..........."}));
}

TEST(GlyphCrop, ClearsTheRowAndColumnBesideAStableGlyph) {
    DrawGlyph({"###", "#.#", "###"}, 0);
    Glyph.SkeletonImage.Set(3, 1, 1);
    Glyph.SkeletonImage.Set(0, 3, 1);
    CropGlyph();
    EXPECT_EQ(Glyph.GlyphHeight, 3);
    EXPECT_EQ(Glyph.GlyphWidth, 3);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 4, 4), (GlyphRows{"###.", "#.#.", "###.", "...."}));
}

TEST(GlyphCrop, GlyphsWithoutThreeInkedLinesEndEmpty) {
    const GlyphRows shapes[] = {
        {".....", ".....", "....."},       // no ink
        {".....", "#####", "#####", "....."},  // only two inked rows
        {"#.#.#", "#.#.#", "#.#.#"},       // columns never three in a row
    };
    for (const GlyphRows& shape : shapes) {
        DrawGlyph(shape, 0);
        CropGlyph();
        EXPECT_EQ(Glyph.GlyphHeight, 0) << shape[1];
        EXPECT_EQ(Glyph.GlyphWidth, 0) << shape[1];
        EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), 0) << shape[1];
    }

    DrawGlyph({"###", "###", "###"}, 0);
    Glyph.GlyphHeight = 127;
    CropGlyph();
    EXPECT_EQ(Glyph.GlyphHeight, 0);
    EXPECT_EQ(Glyph.GlyphWidth, 0);
}
