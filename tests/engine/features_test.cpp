#include "engine/glyph/features.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"
#include "support/test_glyphs.h"

namespace {

template <typename T>
std::vector<int> Profile(const T* values, int count) {
    return std::vector<int>(values, values + count);
}

// Draws rows into GlyphImage (inside the border) for the profile routines.
void DrawFilledGlyph(const GlyphRows& rows) {
    DrawGlyph(rows, 1);
    std::memcpy(Glyph.GlyphImage.cells, Glyph.SkeletonImage.cells, sizeof Glyph.GlyphImage.cells);
}

const TestGlyph& Named(const char* name) {
    for (const TestGlyph& glyph : TestGlyphs) {
        if (std::string(glyph.name) == name) return glyph;
    }
    return TestGlyphs[0];
}

int Prepare(const TestGlyph& glyph, double scale) {
    glyph.draw(scale, PenForScale(scale)).Load();
    if (NormalizeAndThinCharacter() != 0) return -1;
    return PrepareSkeletonFeatures();
}

}  // namespace

TEST(Features, UnitsAreSeventhsOfTheSkeletonBox) {
    ResetGlyphRecord();
    Glyph.GlyphHeight = 40;
    Glyph.GlyphWidth = 30;
    Glyph.GlyphBox = GlyphBoxRecord{3, 37, 5, 25, 35, 21};
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
    EXPECT_EQ(Glyph.HeightUnit, 5);
    EXPECT_EQ(Glyph.WidthUnit, 3);
    EXPECT_EQ(Glyph.StrokeUnit, 4);
}

TEST(Features, ProfilesOfARectangleOutline) {
    DrawFilledGlyph({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."});
    ComputeMarginProfiles();
    ComputeRunCounts();
    ComputeWideRunCounts();
    ComputeInkProjections();
    EXPECT_EQ(Profile(Glyph.RowLeftMargin, 6), (std::vector<int>{7, 1, 1, 1, 1, 7}));
    EXPECT_EQ(Profile(Glyph.RowRightMargin, 6), (std::vector<int>{7, 1, 1, 1, 1, 7}));
    EXPECT_EQ(Profile(Glyph.ColTopMargin, 7), (std::vector<int>{6, 1, 1, 1, 1, 1, 6}));
    EXPECT_EQ(Profile(Glyph.ColBottomMargin, 7), (std::vector<int>{6, 1, 1, 1, 1, 1, 6}));
    EXPECT_EQ(Profile(Glyph.RowRunCount, 6), (std::vector<int>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(Profile(Glyph.ColRunCount, 7), (std::vector<int>{0, 1, 2, 2, 2, 1, 0}));
    EXPECT_EQ(Profile(Glyph.RowWideRunCount, 6), (std::vector<int>{0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(Profile(Glyph.ColWideRunCount, 7), (std::vector<int>{0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Profile(Glyph.RowInkCount, 6), (std::vector<int>{0, 5, 2, 2, 5, 0}));
    EXPECT_EQ(Profile(Glyph.ColInkCount, 7), (std::vector<int>{0, 4, 2, 2, 2, 4, 0}));
}

TEST(Features, ProfilesOfADrawnRingAreSymmetric) {
    DrawFilledGlyph(GlyphCanvas(30, 30).Ellipse(15, 15, 11, 11, 5).Rows());
    ComputeMarginProfiles();
    ComputeRunCounts();
    for (int k = 0; k < 30; ++k) {
        EXPECT_EQ(Glyph.RowLeftMargin[k], Glyph.ColTopMargin[k]) << k;
        EXPECT_EQ(Glyph.RowLeftMargin[k], Glyph.RowRightMargin[k]) << k;
        EXPECT_EQ(Glyph.RowRunCount[k], Glyph.ColRunCount[k]) << k;
    }
    EXPECT_EQ(Glyph.RowRunCount[15], 2);
    EXPECT_EQ(Glyph.RowRunCount[2], 1);
    EXPECT_EQ(Glyph.RowLeftMargin[0], 30);
}

TEST(Features, WideRunsAndGapsReachPastTheLastColumnSafely) {
    // A glyph as wide as the grid allows, ink up to its last column: the cells two beyond it
    // read as background.
    ResetGlyphRecord();
    Glyph.GlyphHeight = 3;
    Glyph.GlyphWidth = MaxGlyphSide;
    for (int c = MaxGlyphSide - 3; c <= MaxGlyphSide; ++c) Glyph.GlyphImage.Set(2, c, 1);
    ComputeWideRunCounts();
    EXPECT_EQ(Glyph.RowWideRunCount[1], 1);

    Glyph.SkeletonImage.Set(2, MaxGlyphSide, 1);
    Glyph.SkeletonImage.Set(2, 5, 1);
    Glyph.GlyphBox = GlyphBoxRecord{2, 2, 5, MaxGlyphSide, 1, MaxGlyphSide - 4};
    ComputeSkeletonGapCounts();
    EXPECT_EQ(Glyph.RowGapCount[2], 2);
    EXPECT_EQ(Glyph.ColGapCount[MaxGlyphSide], 1);
    EXPECT_EQ(Glyph.ColGapCount[6], 0);
}

TEST(Features, GapCountsBelongToTheCurrentGlyphOnly) {
    ASSERT_EQ(Prepare(Named("H"), 1.75), 0);
    ASSERT_GT(Glyph.GlyphBox.bottom, 60);
    ASSERT_EQ(Prepare(Named("H"), 0.5), 0);
    for (int k = Glyph.GlyphBox.bottom + 1; k < GridSide; ++k) EXPECT_EQ(Glyph.RowGapCount[k], 0) << k;
    for (int k = Glyph.GlyphBox.right + 1; k < GridSide; ++k) EXPECT_EQ(Glyph.ColGapCount[k], 0) << k;
    // Between its stems every row inside the box has the left stem's gap.
    EXPECT_GE(Glyph.RowGapCount[Glyph.GlyphBox.top + 2], 1);
}

TEST(Features, HolesAreSortedLargestFirstAndTheirLabelsCleared) {
    // Areas found in the order 5, 5, 9 end as 9, the second 5, the first 5.
    ResetGlyphRecord();
    Glyph.HoleCount = 3;
    const std::int16_t areas[] = {5, 5, 9};
    for (int k = 0; k < 3; ++k) {
        Glyph.HoleBoxes[k] = HoleBox{0, 0, 0, 0, static_cast<std::int16_t>(FirstHoleLabel + k), areas[k]};
        Glyph.HoleExtents[k].topFirst = static_cast<std::int16_t>(k);
    }
    SortRegions();
    EXPECT_EQ((std::vector<int>{Glyph.HoleBoxes[0].label, Glyph.HoleBoxes[1].label, Glyph.HoleBoxes[2].label}),
              (std::vector<int>{8, 7, 6}));
    EXPECT_EQ((std::vector<int>{Glyph.HoleExtents[0].topFirst, Glyph.HoleExtents[1].topFirst,
                                Glyph.HoleExtents[2].topFirst}),
              (std::vector<int>{2, 1, 0}));

    // The lower bowl of this 8 is the larger: it comes first, found second.
    ASSERT_EQ(Prepare(Named("8"), 1.0), 0);
    ASSERT_EQ(Glyph.HoleCount, 2);
    EXPECT_GT(Glyph.HoleBoxes[0].area, Glyph.HoleBoxes[1].area);
    EXPECT_GT(Glyph.HoleBoxes[0].top, Glyph.HoleBoxes[1].bottom);
    EXPECT_EQ(Glyph.HoleBoxes[0].label, FirstHoleLabel + 1);
    EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 0) + CountCellsEqual(Glyph.SkeletonImage, 1), GridSide * GridSide);
}

TEST(Features, APlusCrossingLosesItsCentreAndItsUpperArmMovesRight) {
    GlyphRows plus(11, std::string(11, '.'));
    for (int k = 0; k < 11; ++k) plus[k][5] = plus[5][k] = '#';
    DrawGlyph(plus, 1);
    ASSERT_EQ(ResolveCrowdedSkeletonPixels(), 0);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 4, 5, 5), (GlyphRows{"..#..", "...#.", "##.##", "..#..", "..#.."}));
    ASSERT_EQ(ListJunctions(), 0);
    EXPECT_EQ(Glyph.JunctionCount, 2);
    EXPECT_EQ(Glyph.JunctionExtraBranches[0] + Glyph.JunctionExtraBranches[1], 0);
}

TEST(Features, MovesAreRewrittenByTheTable) {
    // Code 27 (R, DR, DL, L): two strokes meet from below; the crowded cell moves up.
    DrawGlyph({".......", ".......", "#.###.#", ".##.##.", "##...##"}, 1);
    ASSERT_EQ(NeighbourCode(3, 4), NeighbourR | NeighbourDR | NeighbourDL | NeighbourL);
    ASSERT_EQ(ResolveCrowdedSkeletonPixels(), 0);
    EXPECT_EQ(Glyph.SkeletonImage.At(3, 4), 0);
    EXPECT_EQ(Glyph.SkeletonImage.At(2, 4), 1);
}

TEST(Features, CrowdingThatNoRewriteSettlesRejectsTheGlyph) {
    // A cell with UR, D, DL, L (code 39) whose neighbours all run on as strokes.
    GlyphRows rows(15, std::string(15, '.'));
    const int r = 7, c = 7;
    rows[r][c] = '#';
    for (int k = 1; k <= 4; ++k) {
        rows[r - k][c + k] = '#';  // up-right
        rows[r + k][c] = '#';      // down
        rows[r + k][c - k] = '#';  // down-left
        rows[r][c - k] = '#';      // left
    }
    DrawGlyph(rows, 1);
    ASSERT_EQ(NeighbourCode(r + 1, c + 1), NeighbourUR | NeighbourD | NeighbourDL | NeighbourL);
    EXPECT_EQ(ResolveCrowdedSkeletonPixels(), 1);
    Glyph.GlyphBox = GlyphBoxRecord{1, 15, 1, 15, 15, 15};
    EXPECT_EQ(PrepareSkeletonFeatures(), 1);
}

TEST(Features, CrowdingOnTheFirstRowRejectsTheGlyph) {
    // The rewrite never looks at row 1: a four-branch junction there remains.
    DrawGlyph({"..###..", ".##.##.", "#.....#"}, 1);
    ASSERT_EQ(CountNeighbours(1, 4), 4);
    Glyph.GlyphBox = GlyphBoxRecord{1, 3, 1, 7, 3, 7};
    EXPECT_EQ(PrepareSkeletonFeatures(), 1);
}

TEST(Features, FullListsRejectTheGlyph) {
    // 36 diamonds, each around a hole of five cells: the hole list fills.
    ResetGlyphRecord();
    Glyph.GlyphHeight = Glyph.GlyphWidth = 36;
    const int diamond[8][2] = {{0, 2}, {1, 1}, {1, 3}, {2, 0}, {2, 4}, {3, 1}, {3, 3}, {4, 2}};
    for (int top = 1; top < 36; top += 6) {
        for (int left = 1; left < 36; left += 6) {
            for (const auto& cell : diamond) Glyph.SkeletonImage.Set(top + cell[0], left + cell[1], 1);
        }
    }
    Glyph.GlyphBox = GlyphBoxRecord{1, 35, 1, 35, 35, 35};
    EXPECT_EQ(PrepareSkeletonFeatures(), 1);
    EXPECT_EQ(Glyph.HoleCount, MaxHoles);

    DrawManyStrokeEnds();
    Glyph.GlyphBox = GlyphBoxRecord{1, 5, 1, 125, 5, 125};
    EXPECT_EQ(PrepareSkeletonFeatures(), 1);
}

TEST(Features, DoNotDependOnTheGlyphBefore) {
    struct Snapshot {
        GlyphRows skeleton, image;
        std::vector<int> numbers;
    };
    auto snapshot = [] {
        Snapshot s;
        s.skeleton = ReadGrid(Glyph.SkeletonImage, 0, GridSide, GridSide);
        s.image = ReadGrid(Glyph.GlyphImage, 0, GridSide, GridSide);
        const GlyphBoxRecord& b = Glyph.GlyphBox;
        s.numbers = {Glyph.HoleCount, Glyph.JunctionCount, Glyph.EndpointCount, b.top, b.bottom, b.left, b.right,
                     Glyph.WidthUnit, Glyph.HeightUnit, Glyph.StrokeUnit, Glyph.PrunedSpurCount, Glyph.NoiseTrimmedFlag};
        for (int k = 0; k < GridSide; ++k) {
            s.numbers.insert(s.numbers.end(), {Glyph.RowLeftMargin[k], Glyph.RowRightMargin[k], Glyph.ColTopMargin[k],
                                               Glyph.ColBottomMargin[k], Glyph.RowRunCount[k], Glyph.ColRunCount[k],
                                               Glyph.RowWideRunCount[k], Glyph.ColWideRunCount[k], Glyph.RowInkCount[k],
                                               Glyph.ColInkCount[k], Glyph.RowGapCount[k], Glyph.ColGapCount[k]});
        }
        return s;
    };
    const GlyphRows glyph = Named("R").draw(1.0, PenForScale(1.0)).Rows();

    // After a solid block that was rejected.
    DrawGlyph(GlyphRows(60, std::string(60, '#')), 0);
    EXPECT_EQ(NormalizeAndThinCharacter(), 1);
    DrawGlyph(glyph, 0);
    ASSERT_EQ(NormalizeAndThinCharacter(), 0);
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
    const Snapshot afterBlock = snapshot();

    // After a large glyph with many features, without clearing the record.
    Named("B").draw(1.75, PenForScale(1.75)).Load();
    ASSERT_EQ(NormalizeAndThinCharacter(), 0);
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
    std::memset(Glyph.SkeletonImage.cells, 0, sizeof Glyph.SkeletonImage.cells);
    for (std::size_t r = 0; r < glyph.size(); ++r) {
        for (std::size_t c = 0; c < glyph[r].size(); ++c) {
            if (glyph[r][c] == '#') Glyph.SkeletonImage.Set(static_cast<int>(r), static_cast<int>(c), 1);
        }
    }
    Glyph.GlyphHeight = static_cast<std::int16_t>(glyph.size());
    Glyph.GlyphWidth = static_cast<std::int16_t>(glyph[0].size());
    ASSERT_EQ(NormalizeAndThinCharacter(), 0);
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
    const Snapshot afterGlyph = snapshot();

    // After a blank.
    DrawGlyph(GlyphRows(30, std::string(30, '.')), 0);
    EXPECT_EQ(NormalizeAndThinCharacter(), 0);
    EXPECT_EQ(Glyph.GlyphBox.height, 0);
    EXPECT_EQ(PrepareSkeletonFeatures(), 0);
    EXPECT_EQ(Glyph.EndpointCount + Glyph.JunctionCount + Glyph.HoleCount, 0);
    DrawGlyph(glyph, 0);
    ASSERT_EQ(NormalizeAndThinCharacter(), 0);
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
    const Snapshot afterBlank = snapshot();

    EXPECT_EQ(afterBlock.skeleton, afterBlank.skeleton);
    EXPECT_EQ(afterBlock.image, afterBlank.image);
    EXPECT_EQ(afterBlock.numbers, afterBlank.numbers);
    EXPECT_EQ(afterGlyph.skeleton, afterBlank.skeleton);
    EXPECT_EQ(afterGlyph.image, afterBlank.image);
    EXPECT_EQ(afterGlyph.numbers, afterBlank.numbers);
}
