#include "engine/verifiers/template_tools.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"
#include "engine/verifiers/profiles.h"
#include "support/drawn_glyph.h"
#include "support/glyph_profiles.h"
#include "support/stale_state.h"

namespace {

std::vector<int> Indexes(const SortedNodes& sorted, int count) {
    std::vector<int> indexes;
    for (int k = 0; k < count; ++k) indexes.push_back(sorted.at[k].index);
    return indexes;
}

void SetPoints(GlyphPoint* list, std::int16_t& count, std::initializer_list<GlyphPoint> points) {
    count = 0;
    for (const GlyphPoint& p : points) list[count++] = p;
}

}  // namespace

TEST(TemplateSafety, EachSortKeepsItsOwnRoles) {
    ResetGlyphRecord();
    SetPoints(Glyph.Endpoints, Glyph.EndpointCount, {{9, 1}, {2, 1}, {5, 1}, {2, 7}, {4, 9}});
    SetPoints(Glyph.Junctions, Glyph.JunctionCount, {{7, 3}, {3, 3}, {1, 5}});

    // A template that sorts its end points and then its junctions: the roles named from the
    // first sort still name the end points after the second.
    const SortedNodes ends = EndsByX(0, 3);
    const SortedNodes forks = JunctionsByX(0, 1);
    EXPECT_EQ(Indexes(ends, 4), (std::vector<int>{1, 3, 2, 0}));  // equal x keep list order
    EXPECT_EQ(ends.at[3].x, 9);
    EXPECT_EQ(ends.at[1].y, 7);
    EXPECT_EQ(Indexes(forks, 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(forks.at[0].x, 3);
    EXPECT_EQ(ends.at[4].index, -1);  // past the range

    // A range that does not start at 0 names the points of that range, in x order.
    const SortedNodes lower = EndsByX(2, 4);
    EXPECT_EQ(Indexes(lower, 3), (std::vector<int>{3, 4, 2}));
    EXPECT_EQ(lower.at[0].x, 2);
    EXPECT_EQ(lower.at[0].y, 7);
    const SortedNodes inner = JunctionsByX(1, 2);
    EXPECT_EQ(Indexes(inner, 2), (std::vector<int>{2, 1}));

    // A range the glyph does not have names no point at all.
    for (const SortedNodes& none : {EndsByX(3, 5), JunctionsByX(2, 1), EndsByX(-1, 2)}) {
        for (const Node& n : none.at) EXPECT_FALSE(IsPresent(n));
    }

    // Two points put in order directly: on equal x the later-listed one is the left one.
    const NodePair tie = InXOrder(EndNode(1), EndNode(3));
    EXPECT_EQ(tie.left.index, 3);
    EXPECT_EQ(tie.right.index, 1);
    EXPECT_FALSE(IsPresent(EndNode(5)));
    EXPECT_FALSE(IsPresent(JunctionNode(-1)));
}

TEST(TemplateSafety, MissingPointsFailEveryTest) {
    ResetGlyphRecord();
    Glyph.GlyphBox = GlyphBoxRecord{1, 10, 1, 10, 10, 10};
    EXPECT_FALSE(InZone5(MissingNode, {0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(OnTopRow(MissingNode));
    EXPECT_FALSE(OnBottomRow(MissingNode));
    EXPECT_FALSE(AreNeighbours(MissingNode, MissingNode));
    EXPECT_GT(NodeDistance(MissingNode, Node{1, 1, 0}), GridSide);
    EXPECT_FALSE(TraceStroke(MissingNode, Node{1, 1, 0}).traced);
    EXPECT_FALSE(LinkStroke(Node{1, 1, 0}, MissingNode).FitsShape({0, 1, 2}));

    EXPECT_TRUE(AreNeighbours(Node{4, 4, 0}, Node{5, 3, 1}));
    EXPECT_FALSE(AreNeighbours(Node{4, 4, 0}, Node{6, 4, 1}));
}

TEST(ProfileReads, AnswerZeroOutsideTheGlyph) {
    DrawProfileGlyph({"####", "#  #", "####"});
    Glyph.ColGapCount[1] = 2;
    Glyph.ColGapCount[4] = 3;
    FillStaleState(77);
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    EXPECT_EQ(RowInkAt(h - 1), 4);
    EXPECT_EQ(RowRightAt(1), 0);
    EXPECT_EQ(ColRunsAt(w - 1), 1);
    for (int i : {-1, h, GridSide, 1000}) {
        EXPECT_EQ(RowLeftAt(i), 0) << i;
        EXPECT_EQ(RowRightAt(i), 0) << i;
        EXPECT_EQ(RowRunsAt(i), 0) << i;
        EXPECT_EQ(RowInkAt(i), 0) << i;
    }
    for (int c : {-1, w, GridSide, -1000}) {
        EXPECT_EQ(ColTopAt(c), 0) << c;
        EXPECT_EQ(ColBottomAt(c), 0) << c;
        EXPECT_EQ(ColRunsAt(c), 0) << c;
        EXPECT_EQ(ColWideRunsAt(c), 0) << c;
        EXPECT_EQ(ColInkAt(c), 0) << c;
    }
    // The gap profile counts grid columns: 1 to W are the glyph, 0 and W + 1 are not.
    EXPECT_EQ(ColGapsAt(1), 2);
    EXPECT_EQ(ColGapsAt(w), 3);
    EXPECT_EQ(ColGapsAt(0), 0);
    EXPECT_EQ(ColGapsAt(w + 1), 0);
}

TEST(GridReads, BorderAsItStandsBeyondItEmpty) {
    // A bow to the right: its chord runs left of the skeleton, so a trace leaves chord marks in
    // rows that hold skeleton further right.
    DescribeDrawnSkeleton({
        "#....",
        ".#...",
        "..#..",
        "...#.",
        "...#.",
        "...#.",
        "..#..",
        ".#...",
        "#....",
    });
    FillStaleState(1);
    const int w = Glyph.GlyphWidth;
    ASSERT_TRUE(TraceStroke(EndNode(0), EndNode(1)).traced);
    EXPECT_EQ(Glyph.SkeletonImage.At(5, 1), ChordMark);
    EXPECT_FALSE(IsSkeletonSet(5, 1));
    EXPECT_TRUE(IsSkeletonSet(5, 4));
    EXPECT_EQ(FirstSetColumn(5), 4);
    EXPECT_EQ(FirstSetColumn(1), 1);
    // The border rows are empty; rows beyond them (junk here) and outside the grid read empty.
    for (int row : {0, Glyph.GlyphHeight + 1, Glyph.GlyphHeight + 2, -1, GridSide, 5000}) {
        EXPECT_EQ(FirstSetColumn(row), w + 1) << row;
        EXPECT_EQ(GlyphImageInk(row, 2), 0) << row;
    }
    EXPECT_EQ(GlyphImageInk(5, w + 2), 0);
    EXPECT_EQ(GlyphImageInk(5, 4), 1);
}

TEST(TemplateSafety, LinkNotFoundIsNotTraced) {
    // Two forked pieces apart: each has a junction, no branch joins them.
    DescribeDrawnSkeleton({
        "#...#.......",
        ".#.#........",
        "..#.........",
        "..#....#...#",
        "..#.....#.#.",
        ".........#..",
        ".........#..",
    });
    ASSERT_EQ(Glyph.JunctionCount, 2);
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Stroke none = LinkStroke(j0, j1);
    EXPECT_FALSE(none.traced);
    EXPECT_FALSE(none.Fits({0, 1, 2, 999}, {1, 2, 3, 4}));
    EXPECT_FALSE(AreNeighbours(j0, j1));
    EXPECT_FALSE(LinkStrokeOr(j0, j1, j1).traced);
}
