#include "engine/verifiers/template_tools.h"

#include <gtest/gtest.h>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/profile_tests.h"
#include "support/skeleton_art.h"

namespace {

// Draws the skeleton and lists its end points and junctions.
void DrawListedSkeleton(const SkeletonArt& art) {
    DrawSkeleton(art);
    ListEndpoints();
    ListJunctions();
}

// An H: stems in columns 1 and 9, crossbar on row 6; the junctions are the bar's second and
// second-last cells (the stem cells beside them are tees).
const SkeletonArt HSkeleton = {
    "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########", "#.......#",
    "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
};

// An X: two diagonals crossing at one junction.
const SkeletonArt XSkeleton = {
    "#.........#", ".#.......#.", "..#.....#..", "...#...#...", "....#.#....", ".....#.....",
    "....#.#....", "...#...#...", "..#.....#..", ".#.......#.", "#.........#",
};

// A U: one stroke down, round the bottom and up again.
const SkeletonArt USkeleton = {
    "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
    "#.......#", "#.......#", "#.......#", ".#.....#.", "..#####..",
};

// A V: the two strokes meet at the bottom at an angle.
const SkeletonArt VSkeleton = {
    "#.......#", "#.......#", ".#.....#.", ".#.....#.", "..#...#..", "..#...#..",
    "...#.#...", "...#.#...", "....#....",
};

}  // namespace

TEST(TemplateTools, PointsInXOrderAndSorted) {
    // Ends in raster order: (1,1), (9,1), (1,12), (9,12); junctions (2,6), (8,6).
    DrawListedSkeleton(HSkeleton);
    ASSERT_EQ(Glyph.EndpointCount, 4);
    ASSERT_EQ(Glyph.JunctionCount, 2);
    const NodePair top = InXOrder(EndNode(1), EndNode(0));
    EXPECT_EQ(top.left.index, 0);
    EXPECT_EQ(top.right.index, 1);
    // Equal x: the later-listed point is the left one.
    const NodePair column = InXOrder(EndNode(0), EndNode(2));
    EXPECT_EQ(column.left.index, 2);
    EXPECT_EQ(column.right.index, 0);

    // A range starting past the first entry reads back the list's own entries; equal x keep
    // list order.
    const SortedNodes ends = EndsByX(1, 3);
    EXPECT_EQ(ends.at[0].index, 2);
    EXPECT_EQ(ends.at[1].index, 1);
    EXPECT_EQ(ends.at[2].index, 3);
    EXPECT_EQ(ends.at[3].index, -1);
    // A later sort leaves the first one's roles alone.
    const SortedNodes junctions = JunctionsByX(0, 1);
    EXPECT_EQ(junctions.at[0].x, 2);
    EXPECT_EQ(ends.at[1].x, 9);
    // A range past the list names nobody.
    EXPECT_EQ(EndsByX(3, 5).at[0].index, -1);
    EXPECT_EQ(EndNode(4).index, -1);
}

TEST(TemplateTools, StrokesWalksAndLinks) {
    DrawListedSkeleton(HSkeleton);
    const Stroke stem = TraceStroke(EndNode(0), JunctionNode(0));
    ASSERT_TRUE(stem.traced);
    EXPECT_EQ(stem.shape, 0);
    EXPECT_EQ(stem.direction, 3);
    EXPECT_EQ(stem.length, 5);
    EXPECT_FLOAT_EQ(stem.slope, 5.0F);

    const Stroke walk = WalkStroke(EndNode(3));
    ASSERT_TRUE(walk.traced);
    EXPECT_TRUE(walk.Fits({0}, {1, 2}));
    EXPECT_EQ(walk.length, 6);  // up to the stem cell beside the junction, where the chain ends

    const Stroke bar = LinkStroke(JunctionNode(0), JunctionNode(1));
    ASSERT_TRUE(bar.traced);
    EXPECT_FLOAT_EQ(bar.slope, 0.0F);
    // A missing point traces nothing; the fallback link is tried when the first is not found.
    EXPECT_FALSE(TraceStroke(EndNode(0), JunctionNode(2)).traced);
    EXPECT_FALSE(LinkStroke(JunctionNode(0), MissingNode).traced);
    EXPECT_TRUE(LinkStrokeOr(JunctionNode(0), MissingNode, JunctionNode(1)).traced);
}

TEST(WalkingProfileTests, ParallelStemsAndStrokeEnds) {
    DrawListedSkeleton(HSkeleton);
    EXPECT_EQ(AreStemsParallel(), 1);
    DrawListedSkeleton(XSkeleton);
    EXPECT_EQ(AreStemsParallel(), 0);

    DrawListedSkeleton(USkeleton);
    EXPECT_EQ(AreStrokeEndsParallel(), 1);
    DrawListedSkeleton(VSkeleton);
    EXPECT_EQ(AreStrokeEndsParallel(), 0);
}

TEST(WalkingProfileTests, ShortWalksAnswerZero) {
    // Four-point walks: their halves and fifths would reach past the walk into what an earlier
    // walk left in the path lists.
    const SkeletonArt shortStems = {"#.....#", "#.....#", "#.....#", "#######", "#.....#", "#.....#", "#.....#", "#.....#"};
    DrawListedSkeleton(shortStems);
    // Left over from an earlier walk: points far below that would make any two steps parallel.
    for (int i = 0; i < MaxPathPoints; ++i) {
        Glyph.PathX[i] = 0;
        Glyph.PathY[i] = 100;
    }
    EXPECT_EQ(AreStemsParallel(), 0);
    EXPECT_EQ(AreStrokeEndsParallel(), 0);
    // No end point to walk from.
    DrawListedSkeleton({"#####", "#...#", "#####"});
    EXPECT_EQ(AreStemsParallel(), 0);
    EXPECT_EQ(AreStrokeEndsParallel(), 0);
}
