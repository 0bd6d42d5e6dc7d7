#include <gtest/gtest.h>

#include <vector>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"
#include "support/skeleton_art.h"

namespace {

// The same bend the other way round: along the top, then down the right side.
const SkeletonArt Gamma = {
    "#######.", ".......#", ".......#", ".......#", ".......#",
    ".......#", ".......#", ".......#", ".......#", ".......#",
};

int TraceAndClassify(int row1, int col1, int row2, int col2) {
    EXPECT_EQ(TraceSkeletonPath(static_cast<std::int16_t>(row1), static_cast<std::int16_t>(col1),
                                static_cast<std::int16_t>(row2), static_cast<std::int16_t>(col2)),
              0);
    return ClassifyTraceShape(Glyph.StrokeUnit);
}

TEST(ShapeCodes, ArcsGiveTheirBulgeSide) {
    DrawSkeleton(LeftArc);
    EXPECT_EQ(TraceAndClassify(1, 8, 21, 8), ShapeBowFarSide);
    EXPECT_EQ(TraceStartDirection(2), DirectionDownLeft);
    EXPECT_EQ(TraceEndDirection(3), DirectionUpLeft);
    EXPECT_GT(MaxTraceDistance(), 3);

    DrawSkeleton(MirroredLeftRight(LeftArc));
    EXPECT_EQ(TraceAndClassify(1, 1, 21, 1), ShapeBowNearSide);
    EXPECT_EQ(TraceStartDirection(2), DirectionDownRight);
}

TEST(ShapeCodes, SCurvesCrossTheirChordOnce) {
    DrawSkeleton(SCurve);
    EXPECT_EQ(TraceAndClassify(1, 11, 19, 1), ShapeSLowerLeft);
    EXPECT_EQ(Glyph.ChordDirection, -1.0f);

    DrawSkeleton(MirroredLeftRight(SCurve));
    EXPECT_EQ(TraceAndClassify(1, 1, 19, 11), ShapeSLowerRight);
    EXPECT_EQ(Glyph.ChordDirection, 1.0f);
}

TEST(ShapeCodes, BentStrokesAreOneSidedBows) {
    DrawSkeleton(Ell);
    EXPECT_EQ(TraceAndClassify(1, 1, 10, 8), ShapeBowFarSide);
    EXPECT_EQ(IsTraceStraight(Glyph.StrokeUnit), 0);
    DrawSkeleton(Gamma);
    EXPECT_EQ(TraceAndClassify(1, 1, 10, 8), ShapeBowNearSide);
}

// A trace given directly by its per-point sides and distances; no point lies on the chord.
struct SyntheticTrace {
    std::vector<int> sides;
    std::vector<int> distances;
    int chordLength = 20;
    int strokeUnit = 2;
    int heightUnit = 3;
    int boxHeight = 20;
    float direction = 0.0f;
};

void Load(const SyntheticTrace& t) {
    ResetGlyphRecord();
    const int n = static_cast<int>(t.sides.size());
    Glyph.PathPointCount = static_cast<std::int16_t>(n);
    for (int i = 0; i < n; ++i) {
        Glyph.PathX[i] = static_cast<std::int16_t>(i + 1);
        Glyph.PathY[i] = static_cast<std::int16_t>(i + 1);
        Glyph.PathSide[i] = static_cast<std::uint8_t>(t.sides[i]);
        Glyph.PathDistance[i] = static_cast<std::uint8_t>(t.distances[i]);
    }
    Glyph.ChordLength = static_cast<std::int16_t>(t.chordLength);
    Glyph.StrokeUnit = static_cast<std::int16_t>(t.strokeUnit);
    Glyph.HeightUnit = static_cast<std::int16_t>(t.heightUnit);
    Glyph.GlyphBox.height = static_cast<std::int16_t>(t.boxHeight);
    Glyph.ChordDirection = t.direction;
}

// Runs of equal values: {{value, count}, ...}.
std::vector<int> Runs(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> values;
    for (const auto& [value, count] : runs) values.insert(values.end(), count, value);
    return values;
}

int Classify(const SyntheticTrace& t, int tol = 2) {
    Load(t);
    return ClassifyTraceShape(static_cast<std::int16_t>(tol));
}

TEST(ShapeCodes, SingleCrossingToTheFarSide) {
    SyntheticTrace t;
    t.sides = Runs({{3, 10}, {13, 20}});
    t.distances = Runs({{0, 10}, {5, 20}});
    EXPECT_EQ(Classify(t), ShapeHookAfterCrossingToFar);
    t.distances = Runs({{5, 9}, {0, 21}});
    EXPECT_EQ(Classify(t), ShapeHookBeforeCrossingToFar);

    t.distances = Runs({{5, 30}});
    t.direction = -1.0f;
    EXPECT_EQ(Classify(t), ShapeSLowerLeft);
    t.direction = 1.0f;
    EXPECT_EQ(Classify(t), ShapeSLowerRight);
    t.heightUnit = 25;  // too few points on either side for an S
    EXPECT_EQ(Classify(t), ShapeUndecided);
    t.heightUnit = 3;
    t.direction = 0.0f;
    EXPECT_EQ(Classify(t), ShapeUndecided);

    // Both halves closer than a unit: flat, though too bowed to count as straight.
    t.strokeUnit = 4;
    t.distances = Runs({{3, 30}});
    Load(t);
    EXPECT_EQ(IsTraceStraight(1), 0);
    EXPECT_EQ(Classify(t, 1), ShapeStraight);
}

TEST(ShapeCodes, CrossingsCountOnlyAwayFromThePathEnds) {
    // 30 points: crossings count at positions 6 to 22.
    SyntheticTrace t;
    t.sides = Runs({{3, 7}, {13, 23}});
    t.distances = Runs({{0, 7}, {5, 23}});
    EXPECT_EQ(Classify(t), ShapeHookAfterCrossingToFar);
    t.sides = Runs({{3, 6}, {13, 24}});
    t.distances = Runs({{0, 6}, {5, 24}});
    EXPECT_EQ(Classify(t), ShapeBowFarSide);
    t.sides = Runs({{3, 23}, {13, 7}});
    t.distances = Runs({{5, 30}});
    EXPECT_EQ(Classify(t), ShapeUndecided);
    t.sides = Runs({{3, 24}, {13, 6}});
    EXPECT_EQ(Classify(t), ShapeBowNearSide);
}

TEST(ShapeCodes, SingleCrossingToTheNearSide) {
    SyntheticTrace t;
    t.sides = Runs({{13, 10}, {3, 20}});
    t.distances = Runs({{0, 10}, {5, 20}});
    EXPECT_EQ(Classify(t), ShapeHookAfterCrossingToNear);
    t.distances = Runs({{5, 9}, {0, 21}});
    EXPECT_EQ(Classify(t), ShapeHookBeforeCrossingToNear);
    t.distances = Runs({{5, 30}});
    t.direction = 1.0f;
    EXPECT_EQ(Classify(t), ShapeSLowerRight);
    t.direction = -1.0f;
    EXPECT_EQ(Classify(t), ShapeUndecided);
}

TEST(ShapeCodes, SeveralCrossings) {
    SyntheticTrace t;
    t.sides = Runs({{3, 10}, {13, 10}, {3, 10}});
    t.distances = Runs({{5, 30}});
    t.direction = 1.0f;
    EXPECT_EQ(Classify(t), ShapeDoubleCrossingWithSlope);
    t.direction = -1.0f;
    EXPECT_EQ(Classify(t), ShapeDoubleCrossingAgainstSlope);
    t.sides = Runs({{13, 10}, {3, 10}, {13, 10}});
    EXPECT_EQ(Classify(t), ShapeDoubleCrossingWithSlope);
    t.direction = 1.0f;
    EXPECT_EQ(Classify(t), ShapeDoubleCrossingAgainstSlope);

    // Close to the chord through all crossings, then far out on one side: a hook.
    t = SyntheticTrace{};
    t.sides = Runs({{3, 8}, {13, 6}, {3, 6}, {13, 10}});
    t.distances = Runs({{1, 25}, {6, 1}, {1, 4}});
    EXPECT_EQ(Classify(t), ShapeHookAfterCrossingToFar);
    t.sides = Runs({{13, 8}, {3, 6}, {13, 6}, {3, 10}});
    EXPECT_EQ(Classify(t), ShapeHookAfterCrossingToNear);
    t.distances = Runs({{1, 25}, {3, 1}, {1, 4}});  // not far enough out
    EXPECT_EQ(Classify(t), ShapeUndecided);

    // Two crossings to the far side and none back.
    t = SyntheticTrace{};
    t.sides = Runs({{3, 8}, {13, 6}, {4, 2}, {3, 6}, {13, 8}});
    t.distances = Runs({{5, 30}});
    EXPECT_EQ(Classify(t), ShapeUndecided);
}

TEST(ShapeCodes, ExtensionCrossingsOfLongPaths) {
    SyntheticTrace t;
    t.distances = Runs({{5, 30}});
    t.sides = Runs({{4, 15}, {14, 15}});
    EXPECT_EQ(Classify(t), ShapeCrossesUpperExtension);
    t.sides = Runs({{14, 15}, {4, 15}});
    EXPECT_EQ(Classify(t), ShapeCrossesUpperExtension);
    t.sides = Runs({{5, 15}, {15, 15}});
    EXPECT_EQ(Classify(t), ShapeCrossesLowerExtension);
    t.sides = Runs({{15, 15}, {5, 15}});
    EXPECT_EQ(Classify(t), ShapeCrossesLowerExtension);
    t.boxHeight = 40;  // a path shorter than the glyph is high
    EXPECT_EQ(Classify(t), ShapeUndecided);
    t.sides = Runs({{4, 15}, {14, 15}});
    EXPECT_EQ(Classify(t), ShapeUndecided);

    // A crossing of the chord and one of its upper extension.
    t = SyntheticTrace{};
    t.sides = Runs({{3, 8}, {13, 8}, {4, 7}, {14, 7}});
    t.distances = Runs({{5, 30}});
    EXPECT_EQ(Classify(t), ShapeCrossesUpperExtension);
}

TEST(ShapeCodes, OneSidedPathsAndLoops) {
    SyntheticTrace t;
    t.distances = Runs({{5, 30}});
    t.sides = Runs({{13, 30}});
    EXPECT_EQ(Classify(t), ShapeBowFarSide);
    t.sides = Runs({{3, 30}});
    EXPECT_EQ(Classify(t), ShapeBowNearSide);
    t.chordLength = 100;  // too few points off the chord for a bow
    EXPECT_EQ(Classify(t), ShapeUndecided);
    t.chordLength = 5;  // six path points per chord step on a short chord
    EXPECT_EQ(Classify(t), ShapeLoopLike);
    t.chordLength = 0;  // a failed trace between equal points describes no loop
    EXPECT_EQ(Classify(t), ShapeBowNearSide);
}

TEST(ShapeCodes, StraightnessRules) {
    SyntheticTrace t;
    t.sides = Runs({{3, 30}});
    t.distances = Runs({{3, 30}});
    t.distances[5] = 4;
    Load(t);
    Glyph.ChordHitCount = 20;
    EXPECT_EQ(IsTraceStraight(2), 0);  // anything farther than 3 is bowed
    Glyph.PathDistance[5] = 3;
    EXPECT_EQ(IsTraceStraight(2), 1);  // mostly on the chord

    // Shorter than the chord by one: straight within one more than the tolerance.
    t = SyntheticTrace{};
    t.sides = Runs({{3, 20}});
    t.distances = Runs({{2, 20}});
    t.chordLength = 21;
    Load(t);
    EXPECT_EQ(IsTraceStraight(1), 1);
    Glyph.ChordLength = 20;
    EXPECT_EQ(IsTraceStraight(1), 0);
    Glyph.ChordLength = 22;
    Glyph.PathDistance[3] = 3;
    EXPECT_EQ(IsTraceStraight(1), 1);

    // At most half of the points may sit at the limit; a limit of 0 counts as 1.
    t = SyntheticTrace{};
    t.sides = Runs({{3, 1}, {13, 9}, {3, 10}});
    t.chordLength = 15;
    t.distances = Runs({{2, 10}, {0, 10}});
    Load(t);
    EXPECT_EQ(IsTraceStraight(2), 1);
    Glyph.PathDistance[10] = 2;
    EXPECT_EQ(IsTraceStraight(2), 0);
    t.distances = Runs({{1, 10}, {0, 10}});
    Load(t);
    EXPECT_EQ(IsTraceStraight(0), 1);
}

TEST(ShapeCodes, SideBalanceDecidesTheToleranceOfShortStrokes) {
    // 20 points with a unit of 4: short, so the full tolerance needs points on both sides.
    SyntheticTrace t;
    t.strokeUnit = 4;
    t.chordLength = 15;
    t.distances = Runs({{2, 8}, {0, 12}});
    const struct {
        int near, far;
        int straight;
    } cases[] = {{14, 1, 1}, {15, 1, 0}, {1, 16, 1}, {1, 17, 0}, {12, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.near << " near, " << c.far << " far");
        // Point 0 and the last point do not count; the rest lies beside the upper extension.
        t.sides = Runs({{3, 1}, {3, c.near}, {13, c.far}, {4, 18 - c.near - c.far}, {3, 1}});
        Load(t);
        EXPECT_EQ(IsTraceStraight(2), c.straight);
    }
}

TEST(ShapeCodes, CrossingMarksAndSmoothing) {
    SyntheticTrace t;
    t.sides = {3, 13, 13, 13, 3, 13, 13};
    t.distances = {0, 2, 2, 2, 2, 2, 2};
    Load(t);
    Glyph.ChordHitCount = 2;  // path points 2 and 3 lie on the chord
    Glyph.ChordHitRows[0] = Glyph.ChordHitCols[0] = 3;
    Glyph.ChordHitRows[1] = Glyph.ChordHitCols[1] = 4;
    MarkChordCrossings();
    EXPECT_EQ(std::vector<int>(Glyph.PathSide, Glyph.PathSide + 7), (std::vector<int>{3, 13, 13, 13, 13, 13, 13}));
    EXPECT_EQ(std::vector<int>(Glyph.PathDistance, Glyph.PathDistance + 7), (std::vector<int>{0, 2, 0, 0, 2, 2, 2}));

    // A run of chord points takes the side of the point before it.
    t.sides = {13, 3, 3, 3, 3};
    t.distances = {1, 1, 1, 1, 1};
    Load(t);
    Glyph.ChordHitCount = 2;
    Glyph.ChordHitRows[0] = Glyph.ChordHitCols[0] = 2;
    Glyph.ChordHitRows[1] = Glyph.ChordHitCols[1] = 3;
    MarkChordCrossings();
    EXPECT_EQ(std::vector<int>(Glyph.PathSide, Glyph.PathSide + 5), (std::vector<int>{13, 13, 13, 3, 3}));

    t.sides = std::vector<int>(7, 3);
    t.distances = {0, 3, 6, 3, 0, 0, 9};
    t.strokeUnit = 1;  // window of 5
    Load(t);
    SmoothTraceDistances();
    EXPECT_EQ(std::vector<int>(Glyph.PathDistance, Glyph.PathDistance + 7), (std::vector<int>{0, 0, 2, 2, 3, 0, 0}));
    t.strokeUnit = 2;  // fewer than 4 units of points: window of 3
    Load(t);
    SmoothTraceDistances();
    EXPECT_EQ(std::vector<int>(Glyph.PathDistance, Glyph.PathDistance + 7), (std::vector<int>{0, 3, 4, 3, 1, 3, 0}));
    t.sides = {3, 3};
    t.distances = {5, 7};
    Load(t);
    SmoothTraceDistances();
    EXPECT_EQ(Glyph.PathDistance[0] + Glyph.PathDistance[1], 0);
    EXPECT_EQ(Glyph.PathDistance[2], 0);
}

TEST(ShapeCodes, DirectionsOfThePathEnds) {
    SyntheticTrace t;
    t.sides = std::vector<int>(5, 3);
    t.distances = std::vector<int>(5, 0);
    Load(t);
    const std::int16_t xs[] = {5, 3, 6, 6, 5};
    const std::int16_t ys[] = {5, 5, 4, 7, 6};
    for (int i = 0; i < 5; ++i) {
        Glyph.PathX[i] = xs[i];
        Glyph.PathY[i] = ys[i];
    }
    // Seen from point 0: an equal row counts as up, an equal column as right.
    EXPECT_EQ(TraceStartDirection(0), DirectionUpLeft);
    EXPECT_EQ(TraceStartDirection(1), DirectionUpLeft);
    EXPECT_EQ(TraceStartDirection(2), DirectionUpRight);
    EXPECT_EQ(TraceStartDirection(3), DirectionDownRight);
    EXPECT_EQ(TraceStartDirection(4), DirectionDownRight);
    EXPECT_EQ(TraceStartDirection(99), DirectionDownRight);
    // Seen from the last point.
    EXPECT_EQ(TraceEndDirection(1), DirectionDownRight);
    EXPECT_EQ(TraceEndDirection(2), DirectionDownRight);
    EXPECT_EQ(TraceEndDirection(3), DirectionUpRight);
    EXPECT_EQ(TraceEndDirection(4), DirectionUpLeft);
    EXPECT_EQ(TraceEndDirection(5), DirectionUpRight);
    EXPECT_EQ(TraceEndDirection(99), DirectionUpRight);
}

}  // namespace
