#include <gtest/gtest.h>

#include <cstring>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"
#include "support/skeleton_art.h"

namespace {

// Two stems joined by a crossbar on row 6; the junctions are (6, 2) and (6, 9).
const SkeletonArt HShape = {
    ".#......#", ".#......#", ".#......#", ".#......#", ".#......#", ".########",
    ".#......#", ".#......#", ".#......#", ".#......#", ".#......#",
};

void ListPoint(GlyphPoint* list, std::int16_t& count, int x, int y) {
    list[count++] = GlyphPoint{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
}

void DrawTee() {
    DrawSkeleton(TeeShape);
    ListPoint(Glyph.Endpoints, Glyph.EndpointCount, 1, 1);
    ListPoint(Glyph.Endpoints, Glyph.EndpointCount, 11, 1);
    ListPoint(Glyph.Endpoints, Glyph.EndpointCount, 6, 10);
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 6, 1);
}

GlyphPoint LastWalkPoint() { return GlyphPoint{Glyph.PathX[Glyph.WalkLength - 1], Glyph.PathY[Glyph.WalkLength - 1]}; }

TEST(SkeletonWalk, WalksFromEndPointsStopWhereTheChainEnds) {
    DrawTee();
    WalkFromEndpoint(0);
    ASSERT_EQ(Glyph.WalkLength, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Glyph.PathX[i], 1 + i);
        EXPECT_EQ(Glyph.PathY[i], 1);
    }
    WalkFromEndpoint(1);
    EXPECT_EQ(Glyph.WalkLength, 5);
    EXPECT_EQ(LastWalkPoint().x, 7);
    WalkFromEndpoint(2);
    EXPECT_EQ(Glyph.WalkLength, 9);
    EXPECT_EQ(LastWalkPoint().x, 6);
    EXPECT_EQ(LastWalkPoint().y, 2);
    // A stroke from the end to where the walk stopped.
    ASSERT_EQ(TraceSkeletonPath(10, 6, LastWalkPoint().y, LastWalkPoint().x), 0);
    EXPECT_EQ(Glyph.PathPointCount, 9);

    WalkFromEndpoint(3);  // not listed
    EXPECT_EQ(Glyph.WalkLength, 0);
    WalkFromEndpoint(-1);
    EXPECT_EQ(Glyph.WalkLength, 0);
}

TEST(SkeletonWalk, WalksFromAnyCell) {
    DrawTee();
    EXPECT_EQ(WalkFromPixel(3, 1), 3);
    EXPECT_EQ(Glyph.WalkLength, 3);
    EXPECT_EQ(LastWalkPoint().x, 5);

    DrawSkeleton(Diamond);
    EXPECT_EQ(WalkFromPixel(6, 1), 2);  // round the ring and back to the start
    EXPECT_EQ(Glyph.WalkLength, 20);
    EXPECT_EQ(Glyph.WalkRow, 1);
    EXPECT_EQ(Glyph.WalkCol, 6);

    Glyph.SkeletonImage.Set(12, 12, 1);
    EXPECT_EQ(WalkFromPixel(12, 12), 0);  // an isolated cell
    EXPECT_EQ(Glyph.WalkLength, 1);
}

TEST(SkeletonWalk, JunctionBranchesInNeighbourOrder) {
    DrawTee();
    CollectJunctionBranches(0);
    const GlyphPoint* slots = Glyph.JunctionBranches[0];
    EXPECT_EQ(slots[0].x, 7);  // R
    EXPECT_EQ(slots[0].y, 1);
    EXPECT_EQ(slots[1].x, 6);  // D
    EXPECT_EQ(slots[1].y, 2);
    EXPECT_EQ(slots[2].x, 5);  // L
    EXPECT_EQ(slots[2].y, 1);

    // Four neighbours: the first three are kept.
    DrawSkeleton({".#.", "###", ".#."});
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 2, 2);
    CollectJunctionBranches(0);
    EXPECT_EQ(slots[0].y, 1);  // U
    EXPECT_EQ(slots[1].x, 3);  // R
    EXPECT_EQ(slots[2].y, 3);  // D

    // Fewer than three: the free slots point off the grid.
    DrawSkeleton({"##."});
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 1, 1);
    CollectJunctionBranches(0);
    EXPECT_EQ(slots[0].x, 2);
    EXPECT_EQ(slots[1].x, -1);
    EXPECT_EQ(slots[2].y, -1);
}

TEST(SkeletonWalk, LinkAcrossTheCrossbar) {
    DrawSkeleton(HShape);
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 2, 6);
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 9, 6);
    GlyphGrid original = Glyph.SkeletonImage;

    ASSERT_EQ(TraceBranchBetweenJunctions(0, 1), 1);
    EXPECT_EQ(Glyph.PathPointCount, 6);
    EXPECT_EQ(Glyph.PathX[0], 3);
    EXPECT_EQ(Glyph.PathX[5], 8);
    EXPECT_EQ(Glyph.PathY[5], 6);
    EXPECT_EQ(Glyph.ChordDirection, 1.0f);
    EXPECT_EQ(Glyph.ChordSteepness, -2.0f);
    EXPECT_EQ(ClassifyTraceShape(Glyph.StrokeUnit), ShapeStraight);
    ClearMarks(ChordMark);
    EXPECT_EQ(std::memcmp(original.cells, Glyph.SkeletonImage.cells, sizeof original.cells), 0);

    ASSERT_EQ(TraceBranchBetweenJunctions(1, 0), 1);
    EXPECT_EQ(Glyph.PathX[0], 8);
    EXPECT_EQ(Glyph.PathX[Glyph.PathPointCount - 1], 3);
    EXPECT_EQ(Glyph.ChordDirection, -1.0f);
    ClearMarks(ChordMark);
    EXPECT_EQ(std::memcmp(original.cells, Glyph.SkeletonImage.cells, sizeof original.cells), 0);
}

TEST(SkeletonWalk, NoLinkWhenNoBranchReachesTheOtherJunction) {
    DrawSkeleton(HShape);
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 2, 6);
    ListPoint(Glyph.Junctions, Glyph.JunctionCount, 2, 1);  // the top of the left stem
    GlyphGrid original = Glyph.SkeletonImage;
    EXPECT_EQ(TraceBranchBetweenJunctions(0, 1), 0);
    ClearMarks(ChordMark);
    EXPECT_EQ(std::memcmp(original.cells, Glyph.SkeletonImage.cells, sizeof original.cells), 0);
    EXPECT_EQ(TraceBranchBetweenJunctions(0, 2), 0);  // not listed
    EXPECT_EQ(TraceBranchBetweenJunctions(-1, 0), 0);
}

}  // namespace
