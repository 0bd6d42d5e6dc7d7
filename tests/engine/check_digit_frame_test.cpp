#include "engine/glyph/check_digit_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/framed_digits.h"
#include "support/glyph_drawing.h"

namespace {

FramedDigit Drawn;  // large: kept out of the stack

struct Outcome {
    int frameLeft;   // frame cells still inked
    int covered;     // digit cells still inked
    double kept;     // share of the digit's ink still there
};

int InkAt(int r, int c) { return Glyph.SkeletonImage.At(r, c) == 1; }

// What the removal left of the drawn digit and its frame. The kept band may have moved to the
// left, so the result is compared at the shift where it covers most of the digit.
Outcome Measure(const FramedDigit& d) {
    int best = -1, bestShift = 0;
    for (int shift = 0; shift < d.cols; ++shift) {
        int covered = 0;
        for (int r = 0; r < d.rows; ++r)
            for (int c = 0; c + shift < d.cols; ++c) covered += InkAt(r, c) && d.digit[r][c + shift];
        if (covered > best) {
            best = covered;
            bestShift = shift;
        }
    }
    int frameLeft = 0;
    for (int r = 0; r < d.rows; ++r)
        for (int c = 0; c + bestShift < d.cols; ++c) frameLeft += InkAt(r, c) && d.frame[r][c + bestShift];
    return {frameLeft, best, static_cast<double>(best) / d.digitInk};
}

std::string Describe(char digit, int rows, const FrameStyle& s) {
    return std::string("digit ") + digit + ", " + std::to_string(rows) + " rows, frame " +
           std::to_string(s.thickness) + " wide, gap " + std::to_string(s.gap);
}

// Box heights of 30 to 70 rows for the given frame.
template <typename Check>
void ForRealisticSizes(const FrameStyle& style, int minDigitRows, int maxDigitRows, Check check) {
    const int margin = 2 * (style.thickness + style.gap);
    for (int digitRows = minDigitRows; digitRows <= maxDigitRows; digitRows += 3) {
        if (digitRows + margin < 30 || digitRows + margin > 70) continue;
        check(digitRows);
    }
}

// Removes the frame from each digit of `digits` drawn at box heights of 30 to 70 rows, with
// frames 2 and 3 wide and gaps of 1 to 4: no frame cell may stay, and at least `minKept` of the
// digit's ink must.
void ExpectFrameGone(const char* digits, FrameStyle style, int minDigitRows, int maxDigitRows, double minKept) {
    for (const char* digit = digits; *digit; ++digit)
        for (style.thickness = 2; style.thickness <= 3; ++style.thickness)
            for (style.gap = 1; style.gap <= 4; ++style.gap)
                ForRealisticSizes(style, minDigitRows, maxDigitRows, [&](int digitRows) {
                    DrawFramedDigit(Drawn, *digit, digitRows, style);
                    RemoveCheckDigitFrame(static_cast<std::int16_t>(Drawn.cols), static_cast<std::int16_t>(Drawn.rows));
                    const Outcome o = Measure(Drawn);
                    EXPECT_EQ(o.frameLeft, 0) << Describe(*digit, Drawn.rows, style);
                    EXPECT_GE(o.kept, minKept) << Describe(*digit, Drawn.rows, style);
                });
}

// A deterministic pseudo-random glyph: each cell inked with probability percent / 100.
void DrawNoise(int width, int height, int percent, unsigned seed) {
    ResetGlyphRecord();
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            seed = seed * 1103515245u + 12345u;
            if ((seed >> 16) % 100 < static_cast<unsigned>(percent)) Glyph.SkeletonImage.Set(r, c, 1);
        }
}

// Fills every cell of the grid outside the box with `value`.
void FillOutsideBox(int width, int height, std::uint8_t value) {
    for (int r = 0; r < GridSide; ++r)
        for (int c = 0; c < GridSide; ++c)
            if (r >= height || c >= width) Glyph.SkeletonImage.Set(r, c, value);
}

}  // namespace

TEST(FrameColumnBand, KeepsTheWidestRunWithTheColumnAfterItAndClearsTheRest) {
    // Marked columns 0, 1, 4, 5 and 6: the run 4..6 and column 7 move to columns 0..3.
    DrawGlyph({"##..###.#", "....#..#.", "#.#.#...#"}, 0);
    ASSERT_TRUE(KeepWidestColumnBand(9, 3));
    EXPECT_EQ(FrameScratch.BandWidth, 4);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 3, 9), (GlyphRows{"###......", "#........", "#........"}));

    // On a tie the first run stays.
    DrawGlyph({"##.##"}, 0);
    ASSERT_TRUE(KeepWidestColumnBand(5, 1));
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 1, 5), (GlyphRows{"##..."}));
}

TEST(FrameColumnBand, AGlyphWithoutTwoInkCellsSideBySideIsLeftAsItWas) {
    const GlyphRows rows = {"#...#", ".#.#.", "..#..", ".#.#.", "#...#", "..#..", "..#.."};
    DrawGlyph(rows, 0);
    RemoveCheckDigitFrame(5, 7);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 7, 5), rows);
}

TEST(FrameBridges, OneCellConnectorsAndSpecksAreCut) {
    DrawGlyph({"#.#..###..",
               "###.......",   // a one-cell connector between two vertical strokes
               "#.#..###..",
               "......#..#",   // a one-cell connector between two horizontal strokes, a speck
               "#....###..",
               "..........",
               "##########"},
              0);
    ASSERT_TRUE(KeepWidestColumnBand(10, 7));
    CutBridgesAndSpecks();
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 0, 7, 10),
              (GlyphRows{"#.#..###..", "#.#.......", "#.#..###..", "..........", "#....###..", "..........",
                         "##########"}));
}

TEST(FrameSides, SidesThinnerThanFourColumnsAreMarkedAndACrispFourColumnSideIsNot) {
    // A 20 x 24 box: a top bar, a left side of the given width per row, and a stroke at
    // columns 8 and 9 so that the rows count as side rows.
    auto draw = [](int upperWidth, int lowerWidth) {
        GlyphRows rows(20, std::string(24, '.'));
        rows[0] = std::string(24, '#');
        for (int r = 1; r < 20; ++r) {
            const int width = r < 10 ? upperWidth : lowerWidth;
            for (int c = 0; c < width; ++c) rows[r][c] = '#';
            if (r >= 2 && r <= 17) rows[r][8] = rows[r][9] = '#';
        }
        DrawGlyph(rows, 0);
        ASSERT_TRUE(KeepWidestColumnBand(24, 20));
        CountSideRows();
        MarkLeftSide();
    };
    auto markedRows = [] {
        int rows = 0;
        for (int r = 0; r < 20; ++r) rows += Glyph.SkeletonImage.At(r, 0) == FrameSideMark;
        return rows;
    };

    draw(3, 3);
    EXPECT_EQ(markedRows(), 19);
    EXPECT_EQ(ReadGrid(Glyph.SkeletonImage, 1, 1, 12), (GlyphRows{"22.........."}));  // row 1, from column 1
    EXPECT_EQ(FrameScratch.TopBound, 1);

    draw(4, 4);
    EXPECT_EQ(markedRows(), 0);
    EXPECT_EQ(FrameScratch.TopBound, 0);

    // Four columns are still a side where they continue a side found above.
    draw(3, 4);
    EXPECT_EQ(markedRows(), 19);
    EXPECT_EQ(Glyph.SkeletonImage.At(15, 3), FrameSideMark);
    EXPECT_EQ(Glyph.SkeletonImage.At(15, 8), 1);
}

TEST(FrameSides, TheUpwardPassStartsARunAtInkPastTheMarksOfTheDownwardPass) {
    // A left side 3 columns wide, 2 on row 12, where a piece of ink stands at columns 3 and 4.
    // Going up, row 12's side is already marked: the run starts at that piece, which continues
    // the side below it and is marked as well.
    GlyphRows rows(20, std::string(24, '.'));
    rows[0] = std::string(24, '#');
    for (int r = 1; r < 20; ++r) {
        rows[r].replace(0, 3, r == 12 ? "##.##" : "###");
        if (r >= 2 && r <= 17) rows[r][8] = rows[r][9] = '#';
    }
    DrawGlyph(rows, 0);
    ASSERT_TRUE(KeepWidestColumnBand(24, 20));
    CountSideRows();
    MarkLeftSide();
    std::string row12;
    for (int c = 0; c < 10; ++c) row12 += static_cast<char>('0' + Glyph.SkeletonImage.At(12, c));
    EXPECT_EQ(row12, "2202200011");
}

TEST(FrameSides, TheRightSideBoundsABottomBarBelowRow100) {
    // A 126-row box: bars of 3 rows, a left side that stops short of the bottom bar (so it
    // finds no bottom bound), a right side that reaches it, and two strokes between them.
    GlyphRows rows(126, std::string(29, '.'));
    for (int r = 0; r < 126; ++r) {
        if (r < 3 || r >= 123) {
            rows[r] = std::string(29, '#');
            continue;
        }
        if (r <= 118) rows[r].replace(0, 3, "###");
        rows[r].replace(26, 3, "###");
        if (r >= 5 && r <= 120) rows[r].replace(8, 2, "##").replace(19, 2, "##");
    }
    DrawGlyph(rows, 0);
    ASSERT_TRUE(MarkFrameSides(29, 126));
    EXPECT_EQ(FrameScratch.BottomBound, 122);
    ClearBottomBar();
    int barInk = 0;
    for (int r = 123; r < 126; ++r)
        for (int c = 0; c < 29; ++c) barInk += Glyph.SkeletonImage.At(r, c) != 0;
    EXPECT_EQ(barInk, 0);
}

TEST(FrameFullColumns, MoreThanFiveFullColumnsAtTheBandStartAreCleared) {
    // A 40-row box: `full` solid columns at the left and a bar that widens the band.
    for (int full : {5, 7}) {
        GlyphRows rows(40, std::string(30, '.'));
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < full; ++c) rows[r][c] = '#';
        for (int c = full; c < 26; ++c) rows[10][c] = rows[11][c] = '#';
        DrawGlyph(rows, 0);
        ASSERT_TRUE(KeepWidestColumnBand(30, 40));
        KeepSecondColumnBand();
        ASSERT_TRUE(FindInkRows());
        ClearFullColumns();
        int cleared = 0;
        while (cleared < full && Glyph.SkeletonImage.At(20, cleared) == 0) ++cleared;
        EXPECT_EQ(cleared, full == 7 ? 3 : 0) << full << " full columns";
        EXPECT_EQ(Glyph.SkeletonImage.At(20, full - 1), 1);
    }
}

TEST(FramedDigits, AFullFrameGoesAndTheDigitStays) {
    ExpectFrameGone("078", FrameStyle{}, 24, 60, 0.85);
    ExpectFrameGone("1", FrameStyle{}, 32, 48, 0.95);
}

TEST(FramedDigits, AFrameWithGapsInItsSidesGoes) {
    FrameStyle style;
    style.breakRows = 3;
    ExpectFrameGone("078", style, 28, 60, 0.85);
    ExpectFrameGone("1", style, 32, 48, 0.95);
}

TEST(FramedDigits, AFrameTouchingTheDigitGoes) {
    FrameStyle joined;
    joined.bridges = 2;  // two rows of ink join each side to the digit
    ExpectFrameGone("078", joined, 24, 60, 0.85);
    ExpectFrameGone("1", joined, 32, 48, 0.95);
}

TEST(FramedDigits, AFrameOnSomeSidesOnlyGoes) {
    const char* sides[] = {"lr", "tb", "l", "r", "tlr"};
    for (const char* set : sides) {
        SCOPED_TRACE(set);
        FrameStyle style;
        style.top = std::strchr(set, 't') != nullptr;
        style.bottom = std::strchr(set, 'b') != nullptr;
        style.left = std::strchr(set, 'l') != nullptr;
        style.right = std::strchr(set, 'r') != nullptr;
        ExpectFrameGone("078", style, 27, 60, 0.85);
    }
}

TEST(FramedDigits, ADigitWithoutAFrameKeepsItsInkAndGainsNone) {
    // The trims for bar remnants shave a few rows or corner cells off some unframed digits;
    // nothing is added and the digit stays nearly whole.
    FrameStyle none;
    none.top = none.bottom = none.left = none.right = false;
    none.thickness = none.gap = 0;
    struct Range {
        char digit;
        int maxRows;
    };
    for (const Range range : {Range{'0', 70}, Range{'1', 44}, Range{'7', 70}, Range{'8', 70}}) {
        for (int rows = 30; rows <= range.maxRows; rows += 2) {
            DrawFramedDigit(Drawn, range.digit, rows, none);
            RemoveCheckDigitFrame(static_cast<std::int16_t>(Drawn.cols), static_cast<std::int16_t>(Drawn.rows));
            const Outcome o = Measure(Drawn);
            EXPECT_GE(o.kept, 0.88) << range.digit << " of " << rows << " rows";
            EXPECT_EQ(CountCellsEqual(Glyph.SkeletonImage, 1), o.covered) << range.digit << " of " << rows << " rows";
        }
    }
}

TEST(FrameBounds, NothingOutsideTheLargestBoxIsReadOrWritten) {
    // The same box with an empty and with a fully inked surrounding must give the same result,
    // and the surrounding must stay as it was. Noise of every density exercises every stage.
    constexpr int side = MaxGlyphSide;
    static GlyphGrid clean;
    for (int percent : {0, 10, 35, 60, 85, 100}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            DrawNoise(side, side, percent, seed);
            RemoveCheckDigitFrame(side, side);
            clean = Glyph.SkeletonImage;

            DrawNoise(side, side, percent, seed);
            FillOutsideBox(side, side, 9);
            RemoveCheckDigitFrame(side, side);
            for (int r = 0; r < GridSide; ++r)
                for (int c = 0; c < GridSide; ++c) {
                    const bool inside = r < side && c < side;
                    ASSERT_EQ(Glyph.SkeletonImage.At(r, c), inside ? clean.At(r, c) : 9)
                        << percent << "% seed " << seed << " at " << r << "," << c;
                }
        }
    }
    // A framed digit filling the largest box.
    FrameStyle style;
    DrawFramedDigit(Drawn, '8', side - 2 * (style.thickness + style.gap), style);
    ASSERT_EQ(Drawn.rows, side);
    FillOutsideBox(Drawn.cols, side, 9);
    RemoveCheckDigitFrame(static_cast<std::int16_t>(Drawn.cols), side);
    EXPECT_EQ(Measure(Drawn).frameLeft, 0);
    EXPECT_EQ(Glyph.SkeletonImage.At(side, 0), 9);
    EXPECT_EQ(Glyph.SkeletonImage.At(0, Drawn.cols), 9);
}

TEST(FrameBounds, BoxesLargerThanAGlyphAreRefused) {
    DrawNoise(GridSide, GridSide, 50, 7);
    const GlyphGrid before = Glyph.SkeletonImage;
    RemoveCheckDigitFrame(MaxGlyphSide + 1, 40);
    RemoveCheckDigitFrame(40, MaxGlyphSide + 1);
    RemoveCheckDigitFrame(0, 40);
    EXPECT_EQ(std::memcmp(&before, &Glyph.SkeletonImage, sizeof before), 0);
}
