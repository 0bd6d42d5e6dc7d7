#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"
#include "engine/glyph/recognize_character.h"
#include "support/test_glyphs.h"

namespace {

constexpr double Scales[] = {0.5, 0.75, 1.0, 1.375, 1.75};  // 20 to 70 rows

struct Outcome {
    int normalized = -1;
    int prepared = -1;
};

Outcome Analyse(const GlyphRows& rows) {
    DrawGlyph(rows, 0);
    Outcome outcome;
    outcome.normalized = NormalizeAndThinCharacter();
    if (outcome.normalized == 0) outcome.prepared = PrepareSkeletonFeatures();
    return outcome;
}

std::string CaseOf() {
    return "holes " + std::to_string(Glyph.HoleCount) + ", junctions " + std::to_string(Glyph.JunctionCount) +
           ", ends " + std::to_string(Glyph.EndpointCount);
}

std::string ExpectedCase(const TestGlyph& glyph) {
    return "holes " + std::to_string(glyph.holes) + ", junctions " + std::to_string(glyph.junctions) + ", ends " +
           std::to_string(glyph.ends);
}

int SkeletonPieces() {
    static bool seen[GridSide][GridSide];
    std::memset(seen, 0, sizeof seen);
    std::vector<std::pair<int, int>> stack;
    int pieces = 0;
    for (int r = 0; r < GridSide; ++r) {
        for (int c = 0; c < GridSide; ++c) {
            if (Glyph.SkeletonImage.At(r, c) == 0 || seen[r][c]) continue;
            ++pieces;
            seen[r][c] = true;
            stack.assign(1, {r, c});
            while (!stack.empty()) {
                const auto [y, x] = stack.back();
                stack.pop_back();
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (Glyph.SkeletonImage.At(y + dy, x + dx) == 0 || seen[y + dy][x + dx]) continue;
                        seen[y + dy][x + dx] = true;
                        stack.emplace_back(y + dy, x + dx);
                    }
                }
            }
        }
    }
    return pieces;
}

// What every finished skeleton must be: cells 0 or 1 inside an empty border, within the ink of
// the filled glyph, nowhere two cells thick.
void ExpectCleanSkeleton(const std::string& what) {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    int thick = 0, outsideInk = 0, onBorder = 0, marked = 0;
    for (int r = 0; r <= h + 1; ++r) {
        for (int c = 0; c <= w + 1; ++c) {
            const int v = Glyph.SkeletonImage.At(r, c);
            if (v > 1) ++marked;
            if (v == 0) continue;
            if (r == 0 || c == 0 || r == h + 1 || c == w + 1) ++onBorder;
            if (Glyph.GlyphImage.At(r, c) == 0) ++outsideInk;
            if (Glyph.SkeletonImage.At(r + 1, c) && Glyph.SkeletonImage.At(r, c + 1) && Glyph.SkeletonImage.At(r + 1, c + 1)) {
                ++thick;
            }
        }
    }
    EXPECT_EQ(marked, 0) << what;
    EXPECT_EQ(onBorder, 0) << what;
    EXPECT_EQ(outsideInk, 0) << what;
    EXPECT_EQ(thick, 0) << what;
}

// The glyph prepared for thinning the way the normalization does it, for tests of one step.
void PrepareForThinning(const GlyphRows& rows) {
    DrawGlyph(rows, 0);
    RejectBlob();
    AddImageBorder();
    FillSmallHoles();
    Glyph.GlyphMaxSide = Glyph.GlyphHeight > Glyph.GlyphWidth ? Glyph.GlyphHeight : Glyph.GlyphWidth;
    RemoveLoosePixels();
    SaveCharImage();
}

// The skeleton cut to its box: the restart after a cut may crop the glyph's empty margins.
GlyphRows SkeletonInItsBox() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    GlyphRows rows;
    for (int r = box.top; r <= box.bottom; ++r) {
        std::string line;
        for (int c = box.left; c <= box.right; ++c) line += Glyph.SkeletonImage.At(r, c) ? '#' : '.';
        rows.push_back(line);
    }
    return rows;
}

GlyphRows Blank(int height, int width) { return GlyphRows(height, std::string(width, '.')); }

void Paint(GlyphRows& rows, int top, int left, int bottom, int right) {
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) rows[r][c] = '#';
    }
}

}  // namespace

TEST(Thinning, DrawnCharactersKeepTheirHolesJunctionsAndEndsAtEveryHeight) {
    for (const TestGlyph& glyph : TestGlyphs) {
        for (double scale : Scales) {
            const std::string what = std::string(glyph.name) + " at " + std::to_string(static_cast<int>(40 * scale)) + " rows";
            const Outcome outcome = Analyse(glyph.draw(scale, PenForScale(scale)).Rows());
            ASSERT_EQ(outcome.normalized, 0) << what;
            ASSERT_EQ(outcome.prepared, 0) << what;
            ExpectCleanSkeleton(what);
            EXPECT_EQ(SkeletonPieces(), 1) << what;
            EXPECT_EQ(Glyph.IsolatedPointCount, 0) << what;
            if (glyph.junctions < 0) {
                EXPECT_EQ(Glyph.HoleCount, glyph.holes) << what;
                EXPECT_EQ(Glyph.EndpointCount, Glyph.JunctionCount + 2 - 2 * glyph.holes) << what;
            } else {
                EXPECT_EQ(CaseOf(), ExpectedCase(glyph)) << what;
            }
        }
    }
}

TEST(Thinning, ASpeckOfNoiseChangesNothing) {
    struct Case {
        const char* name;
        int row, col;  // top-left of a 2 x 2 speck in the 40-row design, clear of the strokes
    };
    const Case cases[] = {{"0", 19, 12}, {"H", 8, 12}, {"7", 30, 2}, {"8", 10, 12}, {"T", 30, 3}};
    for (const Case& c : cases) {
        const TestGlyph* glyph = nullptr;
        for (const TestGlyph& g : TestGlyphs) glyph = std::string(g.name) == c.name ? &g : glyph;
        ASSERT_NE(glyph, nullptr);
        GlyphRows clean = glyph->draw(1.0, PenForScale(1.0)).Rows();
        ASSERT_EQ(Analyse(clean).prepared, 0) << c.name;
        const std::string cleanCase = CaseOf();
        const GlyphRows cleanSkeleton = SkeletonInItsBox();

        GlyphRows noisy = clean;
        ASSERT_EQ(noisy[c.row].substr(c.col - 1, 4) + noisy[c.row + 1].substr(c.col - 1, 4), "........") << c.name;
        Paint(noisy, c.row, c.col, c.row + 1, c.col + 1);
        ASSERT_EQ(Analyse(noisy).prepared, 0) << c.name;
        EXPECT_EQ(CaseOf(), cleanCase) << c.name;
        EXPECT_EQ(SkeletonInItsBox(), cleanSkeleton) << c.name;
    }
}

TEST(Thinning, ASevenCellBarThinsToItsMiddleRow) {
    GlyphRows rows = Blank(21, 30);
    Paint(rows, 7, 0, 13, 29);
    ASSERT_EQ(Analyse(rows).prepared, 0);
    int cells = 0, offRow = 0;
    for (int r = 0; r < GridSide; ++r) {
        for (int c = 0; c < GridSide; ++c) {
            if (Glyph.SkeletonImage.At(r, c) == 0) continue;
            ++cells;
            offRow += r != 11 ? 1 : 0;  // bar rows 7..13 lie in grid rows 8..14
        }
    }
    EXPECT_EQ(offRow, 0);
    EXPECT_GT(cells, 20);
    EXPECT_EQ(CaseOf(), "holes 0, junctions 0, ends 2");
    EXPECT_EQ(Glyph.GlyphBox.top, 11);
    EXPECT_EQ(Glyph.GlyphBox.height, 1);
}

TEST(Thinning, NoiseHuggingTheEdgeIsCutAwayAndLargePiecesFlagTheGlyph) {
    // A bar with a solid blob in the top-left corner, away from it.
    const GlyphRows bar = GlyphCanvas(40, 16).Line(11, 2, 11, 38, 5).Rows();
    struct Case {
        int height, width;
        int flag;
    };
    int barWidth = 0;
    for (std::size_t c = 0; c < bar[0].size(); ++c) {
        bool inked = false;
        for (const std::string& row : bar) inked = inked || row[c] == '#';
        barWidth += inked ? 1 : 0;
    }
    for (const Case& c : {Case{5, 6, 1}, Case{3, 4, 0}, Case{4, 6, 0}, Case{5, 5, 1}}) {
        GlyphRows rows = bar;
        Paint(rows, 0, 0, c.height - 1, c.width - 1);
        PrepareForThinning(rows);
        EXPECT_EQ(ThinCharacter(), ThinPieceCut + c.height * c.width) << c.height << "x" << c.width;
        // The saved image lost the piece as well.
        EXPECT_EQ(Glyph.GlyphImage.At(1, 1), 0);

        ASSERT_EQ(Analyse(rows).prepared, 0);
        EXPECT_EQ(Glyph.NoiseTrimmedFlag, c.flag) << c.height << "x" << c.width;
        EXPECT_EQ(CaseOf(), "holes 0, junctions 0, ends 2");
        EXPECT_EQ(Glyph.GlyphWidth, barWidth);  // cropped to the bar
    }
}

TEST(Thinning, ARestartAfterALaterPassThinsWhatThatPassHadTraced) {
    // The square shrinks for some passes before it is erased; the bar, traced in the same pass,
    // must be thinned after the restart, not kept as it stood.
    GlyphRows rows = Blank(40, 36);
    Paint(rows, 0, 0, 39, 7);
    Paint(rows, 9, 14, 30, 35);
    const Outcome outcome = Analyse(rows);
    ASSERT_EQ(outcome.normalized, 0);
    ASSERT_EQ(outcome.prepared, 0);
    ExpectCleanSkeleton("bar beside a square");
    EXPECT_EQ(CaseOf(), "holes 0, junctions 0, ends 2");
}

TEST(Thinning, PiecesWithoutInteriorAreCutAndHollowOnesKept) {
    const GlyphRows bar = GlyphCanvas(40, 30).Line(20, 2, 20, 38, 5).Rows();
    // Two rows of noise along the top: no interior, so the edge rule decides.
    GlyphRows lined = bar;
    Paint(lined, 0, 0, 1, 9);
    PrepareForThinning(lined);
    EXPECT_EQ(ThinCharacter(), ThinPieceCut + 20);

    // A thin ring in the same corner has an empty interior: it is kept as part of the glyph.
    GlyphRows ringed = bar;
    Paint(ringed, 0, 0, 0, 7);
    Paint(ringed, 7, 0, 7, 7);
    Paint(ringed, 0, 0, 7, 0);
    Paint(ringed, 0, 7, 7, 7);
    ASSERT_EQ(Analyse(ringed).prepared, 0);
    EXPECT_EQ(Glyph.NoiseTrimmedFlag, 0);
    EXPECT_EQ(Glyph.HoleCount, 1);
}

TEST(Thinning, AOneCellStrokeIsFollowedTwiceAndKeepsItsInnerCells) {
    ResetGlyphRecord();
    Glyph.GlyphHeight = 5;
    Glyph.GlyphWidth = 12;
    for (int c = 1; c <= 10; ++c) Glyph.SkeletonImage.Set(3, c, 1);
    ASSERT_EQ(FollowContour(3, 1, 0), 0);
    EXPECT_EQ(Glyph.WalkLength, 18);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 4, 12)[3], ".2333333332.");

    // A lone cell is a contour of one point.
    ResetGlyphRecord();
    Glyph.GlyphHeight = Glyph.GlyphWidth = 3;
    Glyph.SkeletonImage.Set(2, 2, 1);
    ASSERT_EQ(FollowContour(2, 2, 0), 0);
    EXPECT_EQ(Glyph.WalkLength, 1);

    // Thinning an L one cell thick peels only its two tips, then no pass traces it again; the
    // right-angle corner goes at the end.
    DrawGlyph({"#.........", "#.........", "#.........", "#.........", "##########"}, 1);
    ASSERT_EQ(ThinCharacter(), 0);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 1, 5, 10),
              (GlyphRows{"..........", "#.........", "#.........", "#.........", ".########."}));
}

TEST(Thinning, OverlongContoursRejectTheGlyph) {
    // A serpentine one cell thick: its contour passes about 2 x 500 cells.
    ResetGlyphRecord();
    Glyph.GlyphHeight = 9;
    Glyph.GlyphWidth = 120;
    for (int row = 1; row <= 9; row += 2) {
        for (int c = 1; c <= 120; ++c) Glyph.SkeletonImage.Set(row, c, 1);
    }
    for (int row = 2; row <= 8; row += 2) Glyph.SkeletonImage.Set(row, row % 4 == 0 ? 1 : 120, 1);
    EXPECT_EQ(FollowContour(1, 1, 0), 1);
    EXPECT_EQ(Glyph.WalkLength, 769);
    ClampGlyphToOne();
    EXPECT_EQ(ThinCharacter(), ThinContourOverflow);
}

TEST(Normalization, SolidAndRaggedBlobsAreRejectedAndKeepThePreviousAnswer) {
    GlyphRows solid = Blank(20, 20);
    Paint(solid, 0, 0, 19, 19);
    GlyphRows checker = Blank(20, 20);
    for (int r = 0; r < 20; ++r) {
        for (int c = r % 2; c < 20; c += 2) checker[r][c] = '#';
    }
    for (const GlyphRows& rows : {solid, checker}) {
        DrawGlyph(rows, 0);
        std::strcpy(Glyph.CandidateString, "7T");
        Glyph.CandidateCount = 2;
        EXPECT_EQ(RecognizeCharacter(ModeBoth), GlyphRejected);
        EXPECT_STREQ(Glyph.CandidateString, "7T");
        EXPECT_EQ(Glyph.CandidateCount, 2);
    }

    // A solid bar much taller than wide is not a blob.
    GlyphRows bar = Blank(50, 10);
    Paint(bar, 0, 0, 49, 9);
    DrawGlyph(bar, 0);
    EXPECT_EQ(RejectBlob(), 0);
    EXPECT_FLOAT_EQ(Glyph.AspectRatio, 5.0f);
    EXPECT_FLOAT_EQ(Glyph.InkToBackgroundRatio, 500.0f);
}

TEST(Normalization, RejectBlobMeasuresTheGlyph) {
    GlyphRows rows = Blank(30, 10);
    Paint(rows, 0, 0, 9, 9);
    DrawGlyph(rows, 0);
    EXPECT_EQ(RejectBlob(), 0);
    EXPECT_EQ(Glyph.InkToBackgroundRatio, static_cast<float>(100.0 / 201.0));
    EXPECT_EQ(Glyph.AspectRatio, 3.0f);

    DrawGlyph({}, 0);
    Glyph.GlyphHeight = 12;
    EXPECT_EQ(RejectBlob(), 0);
    EXPECT_EQ(Glyph.AspectRatio, 8.0f);
}

TEST(Normalization, SmallHolesAreFilledBeforeThinning) {
    // A pinhole in any glyph; a two-cell hole only above 32 rows; larger holes only above 48.
    auto holed = [](int height) {
        GlyphRows rows = Blank(height, 30);
        Paint(rows, 0, 0, height - 1, 29);
        rows[5][5] = '.';
        rows[10][5] = rows[10][6] = '.';
        for (int r = 20; r < 23; ++r) rows[r].replace(5, 3, "...");
        return rows;
    };
    for (int height : {30, 40, 60}) {
        DrawGlyph(holed(height), 0);
        AddImageBorder();
        ASSERT_EQ(FillSmallHoles(), 0);
        EXPECT_EQ(Glyph.SkeletonImage.At(6, 6), 1) << height;
        EXPECT_EQ(Glyph.SkeletonImage.At(11, 6), height > 32 ? 1 : 0) << height;
        EXPECT_EQ(Glyph.SkeletonImage.At(22, 7), height > 48 ? 1 : 0) << height;
        EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), 30 * height - (height > 48 ? 0 : height > 32 ? 9 : 11)) << height;
    }
}

TEST(Normalization, LoosePixelsAndWhiskerTipsGo) {
    DrawGlyph({"#.......",
               "........",
               "...###..",
               "...###..",
               "...#####",
               "...###..",
               "...#..#."},
              1);
    RemoveLoosePixels();
    // The lone cell, the stair cell below the block and the tips of the two whiskers are gone.
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 1, 7, 8),
              (GlyphRows{"........", "........", "...###..", "...###..", "...####.", "...###..", "........"}));
}

TEST(Pruning, TheShorterSpurGoesFirstAndTheStemStaysWhole) {
    GlyphRows rows = Blank(50, 20);
    for (auto& row : rows) row[9] = '#';
    rows[17][10] = rows[16][11] = '#';                   // two cells up-right
    rows[34][8] = rows[33][7] = rows[32][6] = '#';      // three cells up-left
    DrawGlyph(rows, 1);
    Glyph.GlyphMaxSide = 50;  // spurs of up to 3 cells
    ListEndpoints();
    PruneShortSpurs();
    ASSERT_EQ(Glyph.PrunedSpurCount, 2);
    const PrunedSpur& first = Glyph.PrunedSpurs[0];
    const PrunedSpur& second = Glyph.PrunedSpurs[1];
    EXPECT_EQ((std::vector<int>{first.endRow, first.endCol, first.innerRow, first.innerCol}),
              (std::vector<int>{17, 12, 18, 11}));
    EXPECT_EQ((std::vector<int>{second.endRow, second.endCol, second.innerRow, second.innerCol}),
              (std::vector<int>{33, 7, 35, 9}));
    EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), 50);
    EXPECT_EQ(SkeletonPieces(), 1);

    // With the glyph's larger side below 30 only one-cell spurs go.
    DrawGlyph(rows, 1);
    Glyph.GlyphMaxSide = 29;
    ListEndpoints();
    PruneShortSpurs();
    EXPECT_EQ(Glyph.PrunedSpurCount, 0);
}

TEST(SkeletonBox, SpansTheSkeletonOrNothing) {
    DrawGlyph({"......", "..#...", "...#..", "....#.", "......"}, 1);
    ComputeSkeletonBox();
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    EXPECT_EQ((std::vector<int>{box.top, box.bottom, box.left, box.right, box.height, box.width}),
              (std::vector<int>{2, 4, 3, 5, 3, 3}));

    DrawGlyph(Blank(5, 6), 1);
    ComputeSkeletonBox();
    EXPECT_EQ(Glyph.GlyphBox.height, 0);
    EXPECT_EQ(Glyph.GlyphBox.width, 0);
    EXPECT_GT(Glyph.GlyphBox.top, Glyph.GlyphBox.bottom);
}
