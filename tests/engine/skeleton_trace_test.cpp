#include "engine/glyph/skeleton_trace.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/glyph/glyph_record.h"
#include "support/skeleton_art.h"

namespace {

const SkeletonArt VerticalBar(15, "..#..");

TEST(SkeletonTrace, VerticalStrokeRunsAlongItsChord) {
    DrawSkeleton(VerticalBar);
    ASSERT_EQ(TraceSkeletonPath(1, 3, 15, 3), 0);
    ASSERT_EQ(Glyph.PathPointCount, 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(Glyph.PathX[i], 3);
        EXPECT_EQ(Glyph.PathY[i], 1 + i);
        EXPECT_EQ(Glyph.PathDistance[i], 0);
    }
    EXPECT_EQ(Glyph.ChordLength, 14);
    EXPECT_EQ(Glyph.ChordHitCount, 13);
    EXPECT_EQ(Glyph.ChordDirection, 0.0f);
    EXPECT_EQ(Glyph.ChordSteepness, 1.0f);
    EXPECT_EQ(Glyph.ChordSlope, 999.0f);
    EXPECT_EQ(Glyph.PathLengthRatio, 15.0f / 14.0f);
    EXPECT_EQ(ClassifyTraceShape(Glyph.StrokeUnit), ShapeStraight);
    EXPECT_EQ(TraceStartDirection(static_cast<std::int16_t>(Glyph.PathPointCount - 1)), DirectionDownRight);
    // The upper extension of a vertical chord reaches the grid's top row, above the box.
    EXPECT_EQ(Glyph.SkeletonImage.At(0, 3), UpperExtensionMark);
    EXPECT_EQ(CountCellsWithValue(UpperExtensionMark), 1);
    EXPECT_EQ(CountCellsWithValue(LowerExtensionMark), 0);
    EXPECT_EQ(CountCellsWithValue(ChordMark), 0);
}

TEST(SkeletonTrace, DiagonalStrokeOfTenStepsIsStraight) {
    StartBlankGlyph(11, 11);
    DrawStroke(1, 1, 11, 11);
    FitSkeletonBox();
    ASSERT_EQ(TraceSkeletonPath(1, 1, 11, 11), 0);
    EXPECT_EQ(Glyph.PathPointCount, 11);
    EXPECT_EQ(Glyph.ChordLength, 14);
    EXPECT_EQ(Glyph.ChordHitCount, 9);
    EXPECT_EQ(Glyph.ChordSlope, 1.0f);
    EXPECT_EQ(Glyph.ChordSteepness, 0.0f);
    EXPECT_EQ(IsTraceStraight(Glyph.StrokeUnit), 1);
    EXPECT_EQ(ClassifyTraceShape(Glyph.StrokeUnit), ShapeStraight);
}

struct ChordCase {
    int dr, dc;
    int length;
    float direction, steepness, slope, ratio;
};

TEST(SkeletonTrace, DigitalChordRoundsItsOffsets) {
    DrawSkeleton(Ell);
    ASSERT_EQ(TraceSkeletonPath(1, 1, 10, 8), 0);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 12, 10), (GlyphRows{
                                                            "..........",
                                                            ".#........",
                                                            ".#3.......",
                                                            ".#.3......",
                                                            ".#.3......",
                                                            ".#..3.....",
                                                            ".#...3....",
                                                            ".#....3...",
                                                            ".#....3...",
                                                            ".#.....3..",
                                                            "..#######.",
                                                            "..........",
                                                        }));
    EXPECT_EQ(Glyph.ChordHitCount, 0);
    EXPECT_EQ(Glyph.PathPointCount, 16);
    EXPECT_EQ(Glyph.ChordLength, 11);
}

TEST(SkeletonTrace, ChordMeasuresFollowTheEndPoints) {
    const ChordCase cases[] = {
        {0, 10, 10, 1.0f, -2.0f, 0.0f, 11.0f / 10.0f},
        {0, -10, 10, -1.0f, -2.0f, 0.0f, 11.0f / 10.0f},  // equal rows: the first point is the upper end
        {10, 0, 10, 0.0f, 1.0f, 999.0f, 11.0f / 10.0f},
        {3, 7, 8, 1.0f, -2.0f, 3.0f / 7.0f, 1.0f},
        {3, 6, 7, 1.0f, -1.0f, 0.5f, 1.0f},
        {4, 3, 5, 1.0f, 0.0f, 4.0f / 3.0f, 1.0f},
        {10, -3, 10, -1.0f, 1.0f, 10.0f / 3.0f, 11.0f / 10.0f},
        {5, -5, 7, -1.0f, 0.0f, 1.0f, 6.0f / 7.0f},
    };
    for (const ChordCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "dr " << c.dr << " dc " << c.dc);
        StartBlankGlyph(40, 40);
        DrawStroke(5, 20, 5 + c.dr, 20 + c.dc);
        FitSkeletonBox();
        ASSERT_EQ(TraceSkeletonPath(5, 20, static_cast<std::int16_t>(5 + c.dr), static_cast<std::int16_t>(20 + c.dc)), 0);
        EXPECT_EQ(Glyph.ChordLength, c.length);
        EXPECT_EQ(Glyph.ChordDirection, c.direction);
        EXPECT_EQ(Glyph.ChordSteepness, c.steepness);
        EXPECT_EQ(Glyph.ChordSlope, c.slope);
        EXPECT_EQ(Glyph.PathLengthRatio, c.ratio);
        EXPECT_EQ(ClassifyTraceShape(Glyph.StrokeUnit), ShapeStraight);
    }
}

TEST(SkeletonTrace, ReversedTraceKeepsChordAndMarks) {
    StartBlankGlyph(16, 14);
    DrawStroke(3, 3, 13, 8);
    Glyph.SkeletonImage.Set(1, 1, 1);  // dots widen the box so both extensions have room
    Glyph.SkeletonImage.Set(16, 14, 1);
    FitSkeletonBox();

    ASSERT_EQ(TraceSkeletonPath(3, 3, 13, 8), 0);
    GlyphGrid forwardGrid = Glyph.SkeletonImage;
    const int count = Glyph.PathPointCount;
    std::int16_t forwardX[MaxPathPoints], forwardY[MaxPathPoints];
    std::memcpy(forwardX, Glyph.PathX, sizeof forwardX);
    std::memcpy(forwardY, Glyph.PathY, sizeof forwardY);
    const float direction = Glyph.ChordDirection, steepness = Glyph.ChordSteepness, slope = Glyph.ChordSlope;
    const int hits = Glyph.ChordHitCount;
    EXPECT_GT(CountCellsWithValue(UpperExtensionMark), 0);
    EXPECT_GT(CountCellsWithValue(LowerExtensionMark), 0);

    ClearMarks(ChordMark);
    ASSERT_EQ(TraceSkeletonPath(13, 8, 3, 3), 0);
    EXPECT_EQ(Glyph.PathX[0], 8);
    EXPECT_EQ(Glyph.PathY[0], 13);
    ASSERT_EQ(Glyph.PathPointCount, count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(Glyph.PathX[i], forwardX[count - 1 - i]);
        EXPECT_EQ(Glyph.PathY[i], forwardY[count - 1 - i]);
    }
    EXPECT_EQ(Glyph.ChordDirection, direction);
    EXPECT_EQ(Glyph.ChordSteepness, steepness);
    EXPECT_EQ(Glyph.ChordSlope, slope);
    EXPECT_EQ(Glyph.ChordHitCount, hits);
    EXPECT_EQ(std::memcmp(forwardGrid.cells, Glyph.SkeletonImage.cells, sizeof forwardGrid.cells), 0);
}

TEST(SkeletonTrace, ExtensionsRunToTheBoxAndKeepSkeletonCells) {
    StartBlankGlyph(10, 12);
    DrawStroke(5, 4, 5, 9);
    Glyph.SkeletonImage.Set(2, 1, 1);
    Glyph.SkeletonImage.Set(9, 12, 1);
    Glyph.SkeletonImage.Set(5, 11, 1);  // a skeleton cell on the lower extension stays
    FitSkeletonBox();
    ASSERT_EQ(TraceSkeletonPath(5, 4, 5, 9), 0);
    EXPECT_EQ(Glyph.ChordHitCount, 4);
    for (int col = 1; col <= 3; ++col) EXPECT_EQ(Glyph.SkeletonImage.At(5, col), UpperExtensionMark) << col;
    EXPECT_EQ(Glyph.SkeletonImage.At(5, 10), LowerExtensionMark);
    EXPECT_EQ(Glyph.SkeletonImage.At(5, 11), 1);
    EXPECT_EQ(Glyph.SkeletonImage.At(5, 12), LowerExtensionMark);
    EXPECT_EQ(Glyph.SkeletonImage.At(5, 0), 0);   // left of the box
    EXPECT_EQ(Glyph.SkeletonImage.At(5, 13), 0);  // right of the box
    EXPECT_EQ(CountCellsWithValue(ChordMark), 0);
}

TEST(SkeletonTrace, ClearMarksRemovesMarksAndKeepsTheSkeleton) {
    DrawSkeleton(LeftArc);
    const int skeletonCells = CountCellsWithValue(1);
    ASSERT_EQ(TraceSkeletonPath(1, 8, 21, 8), 0);
    EXPECT_EQ(Glyph.ChordHitCount, 0);
    EXPECT_EQ(CountCellsWithValue(ChordMark), 19);  // rows 2 to 20 of column 8
    EXPECT_EQ(CountCellsWithValue(UpperExtensionMark), 1);
    EXPECT_EQ(CountCellsWithValue(1), skeletonCells);

    Glyph.SkeletonImage.Set(3, 3, 7);                          // a hole label
    Glyph.SkeletonImage.Set(Glyph.GlyphHeight + 2, 3, 7);      // beyond the glyph's border
    ClearMarks(6);
    EXPECT_EQ(Glyph.SkeletonImage.At(3, 3), 0);
    EXPECT_EQ(Glyph.SkeletonImage.At(Glyph.GlyphHeight + 2, 3), 7);
    EXPECT_EQ(CountCellsWithValue(ChordMark), 19);

    ClearMarks(ChordMark);
    EXPECT_EQ(CountCellsWithValue(ChordMark) + CountCellsWithValue(UpperExtensionMark) +
                  CountCellsWithValue(LowerExtensionMark),
              0);
    EXPECT_EQ(CountCellsWithValue(1), skeletonCells);
}

// A new trace after the marks of the last one are cleared.
std::int16_t Retrace(int row1, int col1, int row2, int col2) {
    ClearMarks(ChordMark);
    return TraceSkeletonPath(static_cast<std::int16_t>(row1), static_cast<std::int16_t>(col1),
                             static_cast<std::int16_t>(row2), static_cast<std::int16_t>(col2));
}

TEST(SkeletonTrace, JunctionsEndOrStopTheWalk) {
    DrawSkeleton(TeeShape);
    // From the stem's end the walk meets the crossing cells next to the target and stops there.
    ASSERT_EQ(Retrace(10, 6, 1, 6), 0);
    EXPECT_EQ(Glyph.PathPointCount, 9);
    EXPECT_EQ(Glyph.PathY[8], 2);

    // Leaving the junction takes its first neighbour in the order U, R, D, L: along the bar.
    EXPECT_EQ(Retrace(1, 6, 10, 6), 1);
    EXPECT_EQ(Glyph.PathX[1], 7);
    EXPECT_EQ(Glyph.PathY[1], 1);

    // Along the bar the walk runs into the crossing far from the target.
    EXPECT_EQ(Retrace(1, 1, 1, 11), 1);
    EXPECT_EQ(Glyph.PathX[Glyph.PathPointCount - 1], 5);

    // Within two rows and columns of the target the crossing counts as arrival.
    ASSERT_EQ(Retrace(1, 1, 2, 6), 0);
    EXPECT_EQ(Glyph.PathPointCount, 5);
    EXPECT_EQ(Glyph.PathX[4], 5);

    // Leaving along the bar away from the target ends at the bar's end: a dead end.
    EXPECT_EQ(Retrace(1, 8, 1, 1), 1);
    EXPECT_EQ(Glyph.PathX[Glyph.PathPointCount - 1], 11);
}

TEST(SkeletonTrace, EndlessAndEmptyTracesFail) {
    DrawSkeleton(Diamond);
    // Round a closed ring towards a point off it: the walk stops when its lists are full.
    EXPECT_EQ(TraceSkeletonPath(1, 6, 6, 6), 1);
    EXPECT_EQ(Glyph.PathPointCount, MaxPathMeasures);

    ClearMarks(ChordMark);
    EXPECT_EQ(TraceSkeletonPath(1, 6, 1, 6), 1);
    EXPECT_EQ(Glyph.ChordLength, 0);
    EXPECT_EQ(Glyph.PathPointCount, 1);
    EXPECT_EQ(CountCellsWithValue(ChordMark) + CountCellsWithValue(UpperExtensionMark) +
                  CountCellsWithValue(LowerExtensionMark),
              0);
}

TEST(SkeletonTrace, ChordHitsAndBoxMembership) {
    DrawSkeleton(VerticalBar);
    ASSERT_EQ(TraceSkeletonPath(1, 3, 15, 3), 0);
    EXPECT_EQ(IsChordHit(2, 3), 1);
    EXPECT_EQ(IsChordHit(14, 3), 1);
    EXPECT_EQ(IsChordHit(1, 3), 0);  // the ends are not part of the chord
    EXPECT_EQ(IsChordHit(15, 3), 0);
    EXPECT_EQ(IsInSkeletonBox(1, 3), 1);
    EXPECT_EQ(IsInSkeletonBox(15, 3), 1);
    EXPECT_EQ(IsInSkeletonBox(16, 3), 0);
    EXPECT_EQ(IsInSkeletonBox(8, 2), 0);
}

}  // namespace
