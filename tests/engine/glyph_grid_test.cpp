#include "engine/glyph/glyph_grid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "support/glyph_drawing.h"

namespace {

// The 8-connectivity number counted from the picture instead of the bit formula: the number of
// background 4-neighbours from which the ring of neighbours, walked counter-clockwise, does not
// stay in the background through the next diagonal and the next 4-neighbour.
int RingConnectivity(int code) {
    // Ring from R counter-clockwise: R, UR, U, UL, L, DL, D, DR.
    const int ring[8] = {0x10, 0x20, 0x40, 0x80, 0x01, 0x02, 0x04, 0x08};
    int number = 0;
    for (int side = 0; side < 8; side += 2) {
        const bool sideInk = code & ring[side];
        const bool gapClosed = !(code & ring[side + 1]) && !(code & ring[(side + 2) % 8]);
        if (!sideInk && !gapClosed) ++number;
    }
    return number;
}

std::vector<std::pair<int, int>> Points(const GlyphPoint* list, int count) {
    std::vector<std::pair<int, int>> points;
    for (int k = 0; k < count; ++k) points.emplace_back(list[k].y, list[k].x);
    return points;
}

using PointList = std::vector<std::pair<int, int>>;  // (row, column)

std::pair<int, int> WalkPoint() { return {Glyph.WalkRow, Glyph.WalkCol}; }

}  // namespace

TEST(GlyphTables, MatchTheConnectivityOfEveryNeighbourhood) {
    int removable = 0;
    int deletable = 0;
    for (int code = 0; code < 256; ++code) {
        const int number = RingConnectivity(code);
        EXPECT_EQ(RemovableCodes[code], number <= 1 ? 1 : 0) << code;
        EXPECT_EQ(DeletableCodes[code], number == 1 ? 1 : 0) << code;
        removable += RemovableCodes[code];
        deletable += DeletableCodes[code];
    }
    EXPECT_EQ(removable, 133);
    EXPECT_EQ(deletable, 116);
    // A lone cell and a cell inside solid ink may go; the middle of a line may not.
    EXPECT_EQ(RemovableCodes[0], 1);
    EXPECT_EQ(RemovableCodes[0xFF], 1);
    EXPECT_EQ(DeletableCodes[0xFF], 0);
    EXPECT_EQ(RemovableCodes[NeighbourU | NeighbourD], 0);
    EXPECT_EQ(RemovableCodes[NeighbourUL | NeighbourDR], 0);
    EXPECT_EQ(DeletableCodes[NeighbourU], 1);
}

TEST(GlyphNeighbours, CodeSeesAnyValueWhileCountsSeeOnlyOnes) {
    DrawGlyph({"#.#", ".#.", "..#"}, 1);
    Glyph.SkeletonImage.Set(3, 1, 4);  // a mark on DL of the centre
    EXPECT_EQ(NeighbourCode(2, 2), NeighbourUL | NeighbourUR | NeighbourDR | NeighbourDL);
    EXPECT_EQ(CountNeighbours(2, 2), 3);
    EXPECT_EQ(NeighbourCode(0, 0), NeighbourDR);  // the grid corner reads nothing outside it
}

TEST(GlyphBorder, FillsTheRingAroundTheGlyphAndClampKeepsTheBorder) {
    DrawGlyph({"##", "##"}, 1);
    Glyph.SkeletonImage.Set(1, 1, 7);
    FillGlyphBorder(5);
    ClampGlyphToOne();
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 5, 5),
              (GlyphRows{"5555.", "5##5.", "5##5.", "5555.", "....."}));
}

TEST(GlyphWalk, StepsInItsOrderAndNeverBack) {
    // A walk point with U, R and DL: U first, then R once U is the previous point.
    DrawGlyph({".#.", ".##", "#.."}, 1);
    Glyph.WalkRow = 2;
    Glyph.WalkCol = 2;
    Glyph.WalkPrevRow = -1;
    Glyph.WalkPrevCol = -1;
    ASSERT_EQ(StepWalk(), 1);
    EXPECT_EQ(WalkPoint(), std::make_pair(1, 2));

    Glyph.WalkRow = 2;
    Glyph.WalkCol = 2;
    Glyph.WalkPrevRow = 1;
    Glyph.WalkPrevCol = 2;
    ASSERT_EQ(StepWalk(), 1);
    EXPECT_EQ(WalkPoint(), std::make_pair(2, 3));

    // From the lone DL cell, with the centre as previous point, there is nowhere to go.
    Glyph.WalkRow = 3;
    Glyph.WalkCol = 1;
    Glyph.WalkPrevRow = 2;
    Glyph.WalkPrevCol = 2;
    EXPECT_EQ(StepWalk(), 0);
    EXPECT_EQ(Glyph.WalkRow, 3);
    EXPECT_EQ(Glyph.WalkCol, 1);
}

TEST(GlyphWalk, RemovabilityHidesThePreviousPointAndRestoresIt) {
    // Middle of a vertical line: not removable, but it is once the cell above is hidden.
    DrawGlyph({"#", "#", "#"}, 1);
    EXPECT_EQ(PointRemovable(2, 1), 0);
    Glyph.WalkRow = 2;
    Glyph.WalkCol = 1;
    Glyph.WalkPrevRow = 1;
    Glyph.WalkPrevCol = 1;
    EXPECT_EQ(WalkPointRemovable(), 1);
    EXPECT_EQ(Glyph.SkeletonImage.At(1, 1), 1);
}

TEST(GlyphJunctions, ThreeNeighboursMakeAJunctionOnlyWithoutCornerOrTee) {
    struct Case {
        GlyphRows rows;
        int junctions;
    };
    const Case cases[] = {
        {{".#.", ".#.", "#.#"}, 1},  // U, DL, DR
        {{".#.", "###", "..."}, 0},  // tee U, L, R
        {{".##", ".#.", ".#."}, 0},  // U, UR, D: a diagonal beside an ink side
        {{"#.#", ".#.", ".#."}, 1},  // UL, UR, D
    };
    for (const Case& c : cases) {
        DrawGlyph(c.rows, 1);
        Glyph.SkeletonImage.Set(0, 0, 0);
        ASSERT_EQ(ListJunctions(), 0);
        int atCentre = 0;
        for (int k = 0; k < Glyph.JunctionCount; ++k) atCentre += Glyph.Junctions[k].x == 2 && Glyph.Junctions[k].y == 2;
        EXPECT_EQ(atCentre, c.junctions) << c.rows[0] << "/" << c.rows[1] << "/" << c.rows[2];
    }
}

TEST(GlyphPoints, EndsAndJunctionsOfDrawnSkeletons) {
    struct Case {
        const char* name;
        GlyphRows rows;
        PointList ends;
        PointList junctions;
    };
    const Case cases[] = {
        {"1", {"#", "#", "#", "#", "#"}, {{1, 1}, {5, 1}}, {}},
        {"L", {"#...", "#...", "#...", "####"}, {{1, 1}, {4, 4}}, {}},
        {"T", {"###.###", "...#...", "...#...", "...#..."}, {{1, 1}, {1, 7}, {4, 4}}, {{2, 4}}},
        {"X", {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}, {{1, 1}, {1, 5}, {5, 1}, {5, 5}}, {{3, 3}}},
        {"+", {"..#..", "..#..", "#####", "..#..", "..#.."}, {{1, 3}, {3, 1}, {3, 5}, {5, 3}},
         {{2, 3}, {3, 2}, {3, 3}, {3, 4}, {4, 3}}},
    };
    for (const Case& c : cases) {
        DrawGlyph(c.rows, 1);
        ASSERT_EQ(ListEndpoints(), 0) << c.name;
        ASSERT_EQ(ListJunctions(), 0) << c.name;
        EXPECT_EQ(Points(Glyph.Endpoints, Glyph.EndpointCount), c.ends) << c.name;
        EXPECT_EQ(Points(Glyph.Junctions, Glyph.JunctionCount), c.junctions) << c.name;
        EXPECT_EQ(Glyph.IsolatedPointCount, 0) << c.name;
    }
    // The crossings of the X and the + have four branches.
    DrawGlyph({"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}, 1);
    ListJunctions();
    EXPECT_EQ(Glyph.JunctionExtraBranches[0], 1);
}

TEST(GlyphPoints, FullListsStopTheScan) {
    // Thirteen rows of isolated dots, two per row: the 25th isolated point overflows.
    GlyphRows dots;
    for (int r = 0; r < 13; ++r) dots.insert(dots.end(), {"#.#", "..."});
    DrawGlyph(dots, 1);
    EXPECT_EQ(ListEndpoints(), 1);
    EXPECT_EQ(Glyph.IsolatedPointCount, MaxIsolatedPoints);

    DrawManyStrokeEnds();
    EXPECT_EQ(ListEndpoints(), 1);
    EXPECT_EQ(Glyph.EndpointCount, MaxEndpoints);
}

TEST(GlyphDistance, RoundsUpFromSixTenths) {
    EXPECT_EQ(RoundedDistance(0, 0, 3, 4), 5);
    EXPECT_EQ(RoundedDistance(0, 0, 1, 1), 1);
    EXPECT_EQ(RoundedDistance(0, 0, 2, 3), 4);  // 3.606 + 0.4
    EXPECT_EQ(RoundedDistance(5, 5, 3, 4), 2);  // 2.236 + 0.4
    EXPECT_EQ(RoundedDistance(7, 7, 7, 7), 0);
}

TEST(GlyphOutsideDirection, PointsAtTheMiddleOfTheMarkedRun) {
    struct Case {
        GlyphRows rows;  // 3 x 3 around the centre; '5' marks the value looked for
        int direction;
    };
    const Case cases[] = {
        {{"...", "..5", "..."}, 4},  // R
        {{"...", "5..", "..."}, 0},  // L
        {{"...", "5..", "5.."}, 7},  // L and DL
        {{"5..", "5..", "..."}, 1},  // L and UL
        {{"...", "...", "5.."}, 7},  // DL
        {{"...", "...", ".5."}, 6},  // D
        {{"...", "...", "..5"}, 5},  // DR
        {{"..5", "...", "..."}, 3},  // UR
        {{"555", "...", "..."}, 2},  // UL, U, UR
        {{"...", "...", "..."}, DirectionNone},
        {{"555", "5.5", "555"}, DirectionNone},
        {{"5.5", "5.5", "555"}, 6},  // all but U: the run wraps through DL and L
    };
    for (const Case& c : cases) {
        ResetGlyphRecord();
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 3; ++col) {
                if (c.rows[r][col] == '5') Glyph.SkeletonImage.Set(10 + r, 10 + col, 5);
            }
        }
        EXPECT_EQ(OutsideDirection(5, 11, 11), c.direction) << c.rows[0] << "/" << c.rows[1] << "/" << c.rows[2];
    }
}

TEST(GlyphHoles, SmallHolesCountOnlyWhenKept) {
    const GlyphRows ring = {"#####", "#.#.#", "#####", "#...#", "#####"};
    DrawGlyph(ring, 1);
    ASSERT_EQ(FindHoles(0), 0);
    EXPECT_EQ(Glyph.HoleCount, 1);
    EXPECT_EQ(Glyph.HoleBoxes[0].area, 3);
    EXPECT_EQ(Glyph.HoleBoxes[0].label, FirstHoleLabel);
    // Pinholes end as background, the kept hole keeps its label.
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 1, 5, 5), (GlyphRows{"#####", "#.#.#", "#####", "#666#", "#####"}));

    DrawGlyph(ring, 1);
    ASSERT_EQ(FindHoles(1), 0);
    EXPECT_EQ(Glyph.HoleCount, 3);
    EXPECT_EQ(Glyph.HoleBoxes[2].area, 3);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 1, 5, 5), (GlyphRows{"#####", "#6#7#", "#####", "#888#", "#####"}));
}

TEST(GlyphHoles, BackgroundDoesNotLeakThroughADiagonalStepButFloodsAroundCorners) {
    // The inner region touches the outside only between two diagonal ink cells: the background
    // is 4-connected, so an 8-connected ring still closes a hole.
    DrawGlyph({"#####.", "#....#", "#....#", "######"}, 1);
    ASSERT_EQ(FindHoles(0), 0);
    EXPECT_EQ(Glyph.HoleCount, 1);
    EXPECT_EQ(Glyph.HoleBoxes[0].area, 8);
    EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, OutsideMark), 0);

    // A spiral pocket is reached only by the flood, not by straight lines from the border.
    DrawGlyph({".#######",
               ".#.....#",
               ".#.###.#",
               ".#.#...#",
               ".#.#####",
               "........"},
              1);
    ASSERT_EQ(FindHoles(0), 0);
    EXPECT_EQ(Glyph.HoleCount, 0);
}

TEST(GlyphHoles, RecordsBoxAndEdgeRunsOfAnIrregularHole) {
    // A hole shaped like a step: rows 2..4, columns 2..5.
    DrawGlyph({"#######",
               "#...###",
               "#.....#",
               "###...#",
               "#######"},
              1);
    ASSERT_EQ(FindHoles(0), 0);
    ASSERT_EQ(Glyph.HoleCount, 1);
    const HoleBox& box = Glyph.HoleBoxes[0];
    EXPECT_EQ((std::vector<int>{box.top, box.bottom, box.left, box.right, box.area}),
              (std::vector<int>{2, 4, 2, 6, 3 + 5 + 3}));
    const HoleExtent& e = Glyph.HoleExtents[0];
    EXPECT_EQ((std::vector<int>{e.topFirst, e.topLast, e.bottomFirst, e.bottomLast, e.leftFirst, e.leftLast,
                                e.rightFirst, e.rightLast}),
              (std::vector<int>{2, 4, 4, 6, 2, 3, 3, 4}));
}

TEST(GlyphHoles, TheThirtySecondHoleFillsTheList) {
    // Rows of one-cell pinholes, kept: 31 fit, the 32nd stops the labelling.
    auto draw = [](int holes) {
        ResetGlyphRecord();
        Glyph.GlyphHeight = 3;
        Glyph.GlyphWidth = static_cast<std::int16_t>(2 * holes + 1);
        for (int r = 1; r <= 3; ++r) {
            for (int c = 1; c <= Glyph.GlyphWidth; ++c) Glyph.SkeletonImage.Set(r, c, 1);
        }
        for (int k = 0; k < holes; ++k) Glyph.SkeletonImage.Set(2, 2 + 2 * k, 0);
    };
    draw(31);
    EXPECT_EQ(FindHoles(1), 0);
    EXPECT_EQ(Glyph.HoleCount, 31);
    EXPECT_EQ(Glyph.SkeletonImage.At(2, 62), FirstHoleLabel + 30);

    draw(33);
    EXPECT_EQ(FindHoles(1), 1);
    EXPECT_EQ(Glyph.HoleCount, MaxHoles);
    EXPECT_EQ(Glyph.SkeletonImage.At(2, 66), 0);  // never reached
}
