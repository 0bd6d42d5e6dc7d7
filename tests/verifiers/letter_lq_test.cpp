#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "engine/glyph/skeleton_trace.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"
#include "support/drawn_glyph.h"
#include "support/forked_m.h"
#include "support/glyph_profiles.h"
#include "support/stale_state.h"
#include "support/test_glyphs.h"

namespace {

std::string Case() { return std::to_string(Glyph.JunctionCount) + "," + std::to_string(Glyph.EndpointCount); }

using Draw = void (*)();
using LetterVerifierCall = std::int16_t (*)();

// The drawing is accepted by the letter's verifier, the family lists the letter, and no
// verifier reads what an earlier glyph or trace left behind.
template <typename Build>
void ExpectLetter(char letter, LetterVerifierCall verifier, Build build, const std::string& name) {
    build();
    EXPECT_EQ(verifier(), LetterAccepted) << letter << ": " << name << " (case " << Case() << ")";
    const VerifierAnswers answers = ExpectVerifiersBlindToStaleState(build, name);
    EXPECT_NE(answers.letterCandidates.find(letter), std::string::npos)
        << name << ": '" << answers.letterCandidates << "'";
}

// The skeleton in the record redrawn upside down or mirrored, with its features.
void RedrawFlipped(bool upsideDown) {
    SkeletonArt art = ReadGrid(Glyph.SkeletonImage, 1, Glyph.GlyphHeight, Glyph.GlyphWidth);
    if (upsideDown) std::reverse(art.begin(), art.end());
    DescribeDrawnSkeleton(upsideDown ? art : MirroredLeftRight(art));
}

// ---- L: a stem on the left and a foot along the bottom; spurs at the stem's top and corner.
struct LSpurs {
    bool top;
    bool corner;
};

void DrawL(LSpurs s) {
    StartBlankGlyph(25, 17);
    const int top = s.top ? 3 : 1;
    if (s.corner) {
        DrawPolyline({{top, 3}, {23, 3}, {23, 17}});
        DrawStroke(23, 3, 25, 1);
    } else {
        DrawPolyline({{top, 3}, {24, 3}, {25, 4}, {25, 17}});
    }
    if (s.top) {
        DrawStroke(3, 3, 1, 1);
        DrawStroke(3, 3, 1, 5);
    }
    PrepareDrawnFeatures(1);
}

// A one-stroke L whose foot ends on column 18, with a stray point on `dotCol` setting the
// skeleton box's right edge.
void DrawOneStrokeL(int dotCol) {
    StartBlankGlyph(25, 21);
    DrawPolyline({{1, 1}, {24, 1}, {25, 2}, {25, 18}});
    Glyph.SkeletonImage.Set(12, dotCol, 1);
    PrepareDrawnFeatures(1);
}

}  // namespace

TEST(IsLetterL, AcceptsEachSpurCase) {
    const std::pair<LSpurs, const char*> cases[] = {
        {{false, false}, "0,2"}, {{false, true}, "1,3"}, {{true, false}, "1,3"}, {{true, true}, "2,4"}};
    for (const auto& [spurs, expectedCase] : cases) {
        DrawL(spurs);
        EXPECT_EQ(Case(), expectedCase);
        ExpectLetter('L', IsLetterL, [s = spurs] { DrawL(s); }, std::string("L case ") + expectedCase);
    }
}

TEST(IsLetterL, OneStrokeFootMustReachTheRightEdge) {
    DrawOneStrokeL(20);  // the foot ends at right - 2
    EXPECT_EQ(IsLetterL(), LetterAccepted);
    DrawOneStrokeL(21);  // right - 3
    EXPECT_EQ(Case(), "0,2");
    EXPECT_EQ(IsLetterL(), 0);
    // Upside down the ends lie at the top right and the bottom left.
    DrawL({false, false});
    RedrawFlipped(true);
    EXPECT_EQ(IsLetterL(), 0);
}

TEST(IsLetterL, ASplitTopAndCornerTakeASteepFoot) {
    // The foot rises from the corner junction to (19, 10), 8 rows over 6 columns: steeper than
    // a foot beside a single corner spur may be.
    StartBlankGlyph(31, 10);
    DrawPolyline({{3, 3}, {28, 3}, {19, 10}});
    DrawStroke(28, 3, 30, 1);
    DrawStroke(3, 3, 1, 1);
    DrawStroke(3, 3, 1, 5);
    PrepareDrawnFeatures(1);
    EXPECT_EQ(Case(), "2,4");
    EXPECT_EQ(IsLetterL(), LetterAccepted);
}

TEST(IsLetterL, RefusesTallGlyphsAndHoles) {
    // 3.18 and 3.27 times as tall as wide.
    for (const auto& [height, accepted] : {std::pair{35, true}, std::pair{36, false}}) {
        StartBlankGlyph(height, 11);
        DrawPolyline({{1, 1}, {height - 1, 1}, {height, 2}, {height, 11}});
        PrepareDrawnFeatures(1);
        EXPECT_EQ(IsLetterL(), accepted ? LetterAccepted : 0) << height << " rows";
    }
    DrawL({true, true});
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterL(), 0);
    EXPECT_EQ(IsLetterM(), 0);
}

namespace {

// ---- M: two stems and two diagonals meeting in a vertex on row 21. Thinning may leave a spur
// at either stem top and below the vertex, and split either foot.
struct MSpurs {
    bool leftTop, rightTop, vertex, leftFoot, rightFoot;
};

void DrawM(MSpurs s) {
    StartBlankGlyph(31, 25);
    DrawStroke(s.leftTop ? 5 : 3, 3, s.leftFoot ? 27 : 31, 3);
    DrawStroke(s.rightTop ? 5 : 3, 23, s.rightFoot ? 27 : 31, 23);
    if (s.leftTop) {
        Glyph.SkeletonImage.Set(4, 4, 1);
        DrawStroke(3, 3, 1, 3);
    } else {
        Glyph.SkeletonImage.Set(2, 4, 1);
    }
    if (s.rightTop) {
        Glyph.SkeletonImage.Set(4, 22, 1);
        DrawStroke(3, 23, 1, 23);
    } else {
        Glyph.SkeletonImage.Set(2, 22, 1);
    }
    DrawStroke(s.leftTop ? 5 : 3, 5, 20, 12);
    DrawStroke(s.rightTop ? 5 : 3, 21, 20, 14);
    Glyph.SkeletonImage.Set(21, 13, 1);
    if (s.vertex) DrawStroke(22, 13, 31, 13);
    if (s.leftFoot) {
        Glyph.SkeletonImage.Set(28, 3, 1);
        DrawStroke(29, 2, 31, 2);
        DrawStroke(29, 4, 31, 7);
    }
    if (s.rightFoot) {
        Glyph.SkeletonImage.Set(28, 23, 1);
        DrawStroke(29, 22, 31, 19);
        DrawStroke(29, 24, 31, 24);
    }
    PrepareDrawnFeatures(1);
}

// An M with its vertex on row 14 and a spur only at the right stem's top.
void DrawMRightTopSpur() {
    StartBlankGlyph(31, 25);
    DrawStroke(5, 23, 31, 23);
    Glyph.SkeletonImage.Set(4, 22, 1);
    DrawStroke(3, 23, 1, 23);
    DrawStroke(5, 21, 13, 14);
    DrawStroke(3, 3, 31, 3);
    Glyph.SkeletonImage.Set(2, 4, 1);
    DrawStroke(3, 5, 13, 12);
    Glyph.SkeletonImage.Set(14, 13, 1);
    PrepareDrawnFeatures(1);
}

}  // namespace

TEST(IsLetterM, AcceptsEachSpurPattern) {
    const std::pair<MSpurs, const char*> cases[] = {
        {{false, false, false, false, false}, "0,2"}, {{false, false, true, false, false}, "1,3"},
        {{true, true, false, false, false}, "2,4"},   {{true, false, true, false, false}, "2,4"},
        {{false, true, true, false, false}, "2,4"},   {{true, true, true, false, false}, "3,5"},
        {{true, true, false, true, false}, "3,5"},    {{false, true, true, false, true}, "3,5"},
        {{true, true, false, false, true}, "3,5"},    {{true, false, true, false, true}, "3,5"},
        {{true, true, true, false, true}, "4,6"},     {{true, true, false, true, true}, "4,6"},
        {{true, true, true, true, false}, "4,6"},     {{true, true, true, true, true}, "5,7"},
    };
    for (const auto& [spurs, expectedCase] : cases) {
        DrawM(spurs);
        const std::string name = std::string("M spurs ") + (spurs.leftTop ? "L" : "-") + (spurs.rightTop ? "R" : "-") +
                                 (spurs.vertex ? "V" : "-") + (spurs.leftFoot ? "l" : "-") + (spurs.rightFoot ? "r" : "-");
        EXPECT_EQ(Case(), expectedCase) << name;
        ExpectLetter('M', IsLetterM, [s = spurs] { DrawM(s); }, name);
    }
    // One top spur: the other stem and both diagonals trace as one stroke.
    ExpectLetter('M', IsLetterM, DrawMRightTopSpur, "right top spur");
    ExpectLetter('M', IsLetterM, [] { DrawMRightTopSpur(); RedrawFlipped(false); }, "left top spur");
    ExpectLetter('M', IsLetterM, [] { DrawForkedM(16); }, "forked M");
}

TEST(IsLetterM, RefusesWAndStrayPointInOneStroke) {
    DrawM({false, false, false, false, false});
    RedrawFlipped(true);
    EXPECT_EQ(IsLetterM(), 0);
    DrawM({false, false, false, false, false});
    Glyph.IsolatedPointCount = 1;
    EXPECT_EQ(IsLetterM(), 0);
    DrawM({true, true, true, false, false});
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterM(), 0);
}

TEST(RejectM_FewTripleRunRows, CountsRowsFromTheThirdToTheThirdLast) {
    const std::string three = "#..#..#";
    const std::string two = "#.....#";
    const GlyphRows glyphs[] = {
        GlyphRows(4, three),                    // too short whatever its rows
        {two, two, three, three, two, two},     // two counted rows
        {two, three, three, two, three, two},   // index 1 and index H - 2 are not counted
    };
    const std::int16_t expected[] = {1, 0, 1};
    for (int k = 0; k < 3; ++k) {
        DrawProfileGlyph(glyphs[k]);
        EXPECT_EQ(RejectM_FewTripleRunRows(), expected[k]) << "glyph " << k;
    }
    constexpr std::int16_t (*Tests[])() = {RejectM_FewTripleRunRows, RejectP_TwoRunRowsLow};
    ExpectBlindToProfileTails(Tests, glyphs);
}

TEST(MatchM_H0B3E5f, NeedsDiagonalLowerJunctionsAndTheLink) {
    DrawForkedM(16);
    EXPECT_EQ(Case(), "3,5");
    EXPECT_EQ(MatchM_H0B3E5f(), 1);
    DrawForkedM(17);  // the lower junction a row further down
    EXPECT_EQ(Case(), "3,5");
    EXPECT_EQ(MatchM_H0B3E5f(), 0);
}

TEST(MatchM_H0B3E5f, ThreeNeighbouringColumnsGetTheSameRowAndLinkTests) {
    // Every zone and stroke passes; with the rows right the link still decides, and it fails.
    DrawForkedMInThreeColumns(16);
    const SortedNodes junctions = JunctionsByX(0, 2);
    EXPECT_EQ(junctions.at[1].x, junctions.at[0].x + 1);
    EXPECT_EQ(junctions.at[2].x, junctions.at[1].x + 1);
    EXPECT_EQ(MatchM_H0B3E5f(), 0);
    DrawForkedMInThreeColumns(17);
    EXPECT_EQ(MatchM_H0B3E5f(), 0);
}

TEST(MatchM_H0B3E5f, RefusesTheRightJunctionInTheCentreZone) {
    DrawForkedMWithCentralRightJunction();
    const SortedNodes junctions = JunctionsByX(0, 2);
    EXPECT_EQ(ZoneIndex(5, junctions.at[2].x, junctions.at[2].y), 12);
    EXPECT_EQ(MatchM_H0B3E5f(), 0);
}

namespace {

// ---- N: two stems and the diagonal; spurs at the upper-left and lower-right corners, the right
// stem's top and the left stem's foot may split.
struct NSpurs {
    bool topLeft, bottomRight, rightTop, leftFoot;
};

void DrawN(NSpurs s) {
    StartBlankGlyph(31, 25);
    DrawStroke(s.topLeft ? 5 : 3, 3, s.leftFoot ? 28 : 31, 3);
    if (s.topLeft) {
        Glyph.SkeletonImage.Set(4, 4, 1);
        DrawStroke(3, 3, 1, 3);
    } else {
        Glyph.SkeletonImage.Set(2, 4, 1);
    }
    DrawStroke(s.topLeft ? 5 : 3, 5, 27, 21);
    if (s.leftFoot) {
        Glyph.SkeletonImage.Set(29, 3, 1);
        DrawStroke(30, 2, 31, 1);
        DrawStroke(30, 4, 31, 6);
    }
    if (s.bottomRight) {
        Glyph.SkeletonImage.Set(28, 22, 1);
        DrawStroke(29, 23, 31, 23);
    } else {
        DrawStroke(28, 21, 29, 21);
        Glyph.SkeletonImage.Set(30, 22, 1);
        DrawStroke(29, 23, 28, 23);
    }
    DrawStroke(27, 23, s.rightTop ? 5 : 1, 23);
    if (s.rightTop) {
        Glyph.SkeletonImage.Set(4, 23, 1);
        DrawStroke(3, 22, 1, 20);
        DrawStroke(3, 24, 1, 24);
    }
    PrepareDrawnFeatures(1);
}

// A two-junction N: the upper-left corner spur's junction on row 3, the right stem's split top
// at `rightRow`.
void DrawHighJunctionN(int rightRow) {
    StartBlankGlyph(31, 25);
    DrawStroke(4, 3, 31, 3);
    Glyph.SkeletonImage.Set(3, 4, 1);
    DrawStroke(2, 3, 1, 3);
    DrawStroke(4, 5, 27, 21);
    DrawStroke(28, 21, 29, 21);
    Glyph.SkeletonImage.Set(30, 22, 1);
    DrawStroke(29, 23, rightRow + 1, 23);
    Glyph.SkeletonImage.Set(rightRow, 23, 1);
    DrawStroke(rightRow - 1, 22, 1, 24 - rightRow);
    DrawStroke(rightRow - 1, 24, 1, 24);
    PrepareDrawnFeatures(1);
}

// The filled glyph given a bar across the middle and a solid lower right, so that it has a
// middle bar but still a steady bottom edge on the right.
void PaintMiddleBar() {
    const auto fill = [](int top, int bottom, int left, int right, bool ink) {
        for (int r = top; r <= bottom; ++r) {
            for (int c = left; c <= right; ++c) Glyph.GlyphImage.Set(r, c, ink ? 1 : 0);
        }
    };
    fill(4, 13, 6, 20, false);
    fill(14, 17, 3, 23, true);
    fill(18, 31, 6, 11, false);
    fill(18, 31, 12, 23, true);
    ComputeTestProfiles();
}

void SetHVote(bool voted) { Glyph.LetterVotes[LetterSlot('H')] = voted ? LetterAccepted : 0; }

}  // namespace

TEST(IsLetterN, AcceptsEachSpurPattern) {
    const std::pair<NSpurs, const char*> cases[] = {
        {{false, false, false, false}, "0,2"}, {{false, true, false, false}, "1,3"}, {{true, false, false, false}, "1,3"},
        {{true, true, false, false}, "2,4"},   {{true, false, true, false}, "2,4"},  {{true, true, true, false}, "3,5"},
        {{true, false, true, true}, "3,5"},    {{true, true, false, true}, "3,5"},   {{false, true, true, true}, "3,5"},
        {{true, true, true, true}, "4,6"},
    };
    for (const auto& [spurs, expectedCase] : cases) {
        DrawN(spurs);
        const std::string name = std::string("N spurs ") + (spurs.topLeft ? "T" : "-") + (spurs.bottomRight ? "B" : "-") +
                                 (spurs.rightTop ? "R" : "-") + (spurs.leftFoot ? "l" : "-");
        EXPECT_EQ(Case(), expectedCase) << name;
        ExpectLetter('N', IsLetterN, [s = spurs] { DrawN(s); }, name);
        RedrawFlipped(false);
        EXPECT_EQ(IsLetterN(), 0) << "mirrored " << name;
    }
}

TEST(IsLetterN, MiddleBarWithHVoteNeedsJunctionsFourRowsApart) {
    for (const auto& [rightRow, gapAccepted] : {std::pair{6, false}, std::pair{7, true}}) {  // 3 and 4 rows apart
        DrawHighJunctionN(rightRow);
        ASSERT_EQ(Case(), "2,4");
        ASSERT_EQ(JunctionNode(1).y - JunctionNode(0).y, rightRow - 3);
        EXPECT_EQ(IsLetterN(), LetterAccepted) << "without a bar";
        SetHVote(true);
        EXPECT_EQ(IsLetterN(), LetterAccepted) << "no bar: the rows are not compared";
        PaintMiddleBar();
        ASSERT_EQ(LacksMiddleBar(), 0);
        EXPECT_EQ(IsLetterN(), gapAccepted ? LetterAccepted : 0) << rightRow - 3 << " rows apart";
        SetHVote(false);
        EXPECT_EQ(IsLetterN(), LetterAccepted) << "no H vote: the rows are not compared";
    }
}

namespace {

// ---- O, P and Q.
void DrawRing() {
    StartBlankGlyph(31, 25);
    DrawPolyline({{1, 8}, {1, 18}, {8, 25}, {24, 25}, {31, 18}, {31, 8}, {24, 1}, {8, 1}, {1, 8}});
    PrepareDrawnFeatures(1);
}

// A loop with a straight full-height left side.
void DrawDShapedRing() {
    StartBlankGlyph(31, 25);
    DrawPolyline({{1, 1}, {1, 15}, {8, 25}, {24, 25}, {31, 15}, {31, 1}, {1, 1}});
    PrepareDrawnFeatures(1);
}

// The bowl on rows 1 to 14; the stem leaves its lower-left corner down to row 31.
void DrawP() {
    StartBlankGlyph(31, 16);
    DrawPolyline({{13, 1}, {2, 1}, {1, 2}, {1, 11}, {5, 15}, {6, 16}, {10, 16}, {14, 12}, {14, 3}});
    Glyph.SkeletonImage.Set(14, 2, 1);
    DrawStroke(15, 1, 31, 1);
    PrepareDrawnFeatures(1);
}

// A ring on rows 1 to 27 and a tail from its bottom down to the lower right corner.
void DrawQ() {
    StartBlankGlyph(31, 21);
    DrawPolyline({{1, 8}, {1, 14}, {7, 20}, {20, 20}, {27, 13}, {27, 8}, {20, 1}, {7, 1}, {1, 7}});
    DrawStroke(27, 14, 31, 18);
    PrepareDrawnFeatures(1);
}

// A ring whose tail leaves on the right and whose V-shaped bottom a short stroke cuts off as a
// small second hole.
void DrawTwoHoleQ() {
    StartBlankGlyph(29, 25);
    DrawPolyline({{1, 7}, {1, 17}, {7, 23}, {15, 23}, {26, 12}, {27, 11}, {26, 10}, {17, 1}, {7, 1}, {1, 7}});
    DrawPolyline({{22, 8}, {21, 9}, {21, 11}, {23, 13}});
    DrawStroke(22, 18, 29, 25);
    PrepareDrawnFeatures(1);
}

}  // namespace

TEST(IsLetterO, RingButNotDShapedLoop) {
    ExpectLetter('O', IsLetterO, DrawRing, "ring");
    DrawDShapedRing();
    EXPECT_EQ(Case(), "0,0");
    EXPECT_EQ(IsLetterO(), 0);
    DrawQ();
    EXPECT_EQ(IsLetterO(), 0);
}

TEST(IsLetterP, BowlAboveTheStem) {
    ExpectLetter('P', IsLetterP, DrawP, "P");
    DrawP();
    RedrawFlipped(true);  // the bowl at the bottom
    EXPECT_EQ(Glyph.HoleCount, 1);
    EXPECT_EQ(IsLetterP(), 0);
    DrawP();
    DrawStroke(26, 8, 31, 8);  // a second stroke at the bottom: the last six rows cross two strokes
    PrepareDrawnFeatures(1);
    EXPECT_EQ(RejectP_TwoRunRowsLow(), 1);
    EXPECT_EQ(IsLetterP(), 0);
}

TEST(RejectP_TwoRunRowsLow, CountsOnlyTheRowsOfAShortGlyph) {
    const std::string two = "#..#";
    const std::string one = "#...";
    DrawProfileGlyph({one, one, one, two, two, two, one, one, one, one});
    EXPECT_EQ(RejectP_TwoRunRowsLow(), 0);  // the row of index 3 lies above the last six
    DrawProfileGlyph({one, one, one, one, two, two, one, one, one, two});
    EXPECT_EQ(RejectP_TwoRunRowsLow(), 1);
    DrawProfileGlyph({two, two, one});
    EXPECT_EQ(RejectP_TwoRunRowsLow(), 0);
    DrawProfileGlyph({two, two, two});
    EXPECT_EQ(RejectP_TwoRunRowsLow(), 1);
}

TEST(IsLetterQ, RingWithTailToTheLowerRight) {
    ExpectLetter('Q', IsLetterQ, DrawQ, "Q");
    DrawQ();
    RedrawFlipped(false);
    EXPECT_EQ(IsLetterQ(), 0);
    DrawRing();
    EXPECT_EQ(IsLetterQ(), 0);
}

TEST(IsLetterQ, SecondHoleAtMostATwentiethOfTheFirst) {
    ExpectLetter('Q', IsLetterQ, DrawTwoHoleQ, "two-hole Q");
    EXPECT_EQ(Case(), "3,1");
    const auto withAreas = [](int area, int secondArea) {
        DrawTwoHoleQ();
        Glyph.HoleBoxes[0].area = static_cast<std::int16_t>(area);
        Glyph.HoleBoxes[1].area = static_cast<std::int16_t>(secondArea);
        return IsLetterQ();
    };
    EXPECT_EQ(withAreas(360, 18), LetterAccepted);
    EXPECT_EQ(withAreas(360, 19), 0);
    EXPECT_EQ(withAreas(360, 180), 0);
    // The second hole must lie within the first hole's columns.
    DrawTwoHoleQ();
    Glyph.HoleBoxes[1].right = static_cast<std::int16_t>(Glyph.HoleBoxes[0].right + 1);
    EXPECT_EQ(IsLetterQ(), 0);
}

namespace {

// ---- Printed letters on the 40-row design of the shared test glyphs.
GlyphCanvas PrintedL(double s, double p) {
    return Canvas(s, 40, 24).Line(4 * s, 2 * s, 4 * s, 36 * s, p).Line(4 * s, 36 * s, 22 * s, 36 * s, p);
}
GlyphCanvas MirroredL(double s, double p) {
    return Canvas(s, 40, 24).Line(20 * s, 2 * s, 20 * s, 36 * s, p).Line(20 * s, 36 * s, 2 * s, 36 * s, p);
}
GlyphCanvas PrintedM(double s, double p) {
    return Canvas(s, 40, 30).Line(4 * s, 38 * s, 4 * s, 2 * s, p).Line(4 * s, 2 * s, 15 * s, 28 * s, p).Line(
        15 * s, 28 * s, 26 * s, 2 * s, p).Line(26 * s, 2 * s, 26 * s, 38 * s, p);
}
GlyphCanvas PrintedW(double s, double p) {
    return Canvas(s, 40, 30).Line(4 * s, 2 * s, 4 * s, 38 * s, p).Line(4 * s, 38 * s, 15 * s, 12 * s, p).Line(
        15 * s, 12 * s, 26 * s, 38 * s, p).Line(26 * s, 38 * s, 26 * s, 2 * s, p);
}
GlyphCanvas PrintedN(double s, double p) {
    return Canvas(s, 40, 26).Line(4 * s, 38 * s, 4 * s, 2 * s, p).Line(4 * s, 2 * s, 22 * s, 38 * s, p).Line(
        22 * s, 38 * s, 22 * s, 2 * s, p);
}
GlyphCanvas MirroredN(double s, double p) {
    return Canvas(s, 40, 26).Line(22 * s, 38 * s, 22 * s, 2 * s, p).Line(22 * s, 2 * s, 4 * s, 38 * s, p).Line(
        4 * s, 38 * s, 4 * s, 2 * s, p);
}
GlyphCanvas PrintedO(double s, double p) { return Canvas(s, 40, 28).Ellipse(14 * s, 20 * s, 11 * s, 17 * s, p); }
GlyphCanvas PrintedD(double s, double p) {
    return Canvas(s, 40, 26)
        .Line(4 * s, 2 * s, 4 * s, 38 * s, p)
        .Line(4 * s, 2 * s, 12 * s, 2 * s, p)
        .Line(4 * s, 38 * s, 12 * s, 38 * s, p)
        .Arc(12 * s, 20 * s, 10 * s, 18 * s, -90, 90, p);
}
GlyphCanvas PrintedP(double s, double p) { return StemAndBowl(s, p); }
GlyphCanvas PrintedLowBowl(double s, double p) {
    return Canvas(s, 40, 26)
        .Line(4 * s, 2 * s, 4 * s, 38 * s, p)
        .Line(4 * s, 20 * s, 13 * s, 20 * s, p)
        .Line(4 * s, 38 * s, 13 * s, 38 * s, p)
        .Arc(13 * s, 29 * s, 9 * s, 9 * s, -90, 90, p);
}
GlyphCanvas PrintedQ(double s, double p) {
    return Canvas(s, 40, 28).Ellipse(14 * s, 19 * s, 11 * s, 16 * s, p).Line(16 * s, 29 * s, 25 * s, 38 * s, p);
}
GlyphCanvas LeftTailQ(double s, double p) {
    return Canvas(s, 40, 28).Ellipse(14 * s, 19 * s, 11 * s, 16 * s, p).Line(12 * s, 29 * s, 3 * s, 38 * s, p);
}

using DrawPrinted = GlyphCanvas (*)(double scale, double pen);

// The drawing handed over as the line drivers hand a character box over: loaded and cropped,
// then recognized in letter mode. Answers what the letter's verifier says.
std::int16_t ReadPrinted(DrawPrinted draw, double scale, LetterVerifierCall verifier, std::string& candidates) {
    draw(scale, PenForScale(scale)).Load();
    CropGlyph();
    candidates = RecognizeCharacter(ModeLetters) < 0 ? "rejected" : Glyph.CandidateString;
    return verifier();
}

}  // namespace

TEST(PrintedLetters, LToQReadAsThemselvesAndRefuseTheirNearMisses) {
    const struct {
        char letter;
        LetterVerifierCall verifier;
        DrawPrinted printed;
        DrawPrinted nearMiss;
        std::initializer_list<double> scales;
    } letters[] = {
        {'L', IsLetterL, PrintedL, MirroredL, {0.75, 1.0, 1.5}}, {'M', IsLetterM, PrintedM, PrintedW, {0.75, 1.0, 1.5}},
        {'N', IsLetterN, PrintedN, MirroredN, {0.75, 1.0, 1.5}}, {'O', IsLetterO, PrintedO, PrintedD, {0.75, 1.0, 1.5}},
        {'P', IsLetterP, PrintedP, PrintedLowBowl, {0.75, 1.0, 1.5}},
        // At 30 rows thinning prunes the tail of this Q, which then reads as an O.
        {'Q', IsLetterQ, PrintedQ, LeftTailQ, {1.0, 1.5}},
    };
    for (const auto& l : letters) {
        for (double scale : l.scales) {
            std::string read;
            EXPECT_EQ(ReadPrinted(l.printed, scale, l.verifier, read), LetterAccepted)
                << l.letter << " at scale " << scale;
            EXPECT_EQ(read, std::string(1, l.letter)) << "at scale " << scale;
            EXPECT_EQ(ReadPrinted(l.nearMiss, scale, l.verifier, read), 0)
                << "near-miss of " << l.letter << " at " << scale;
        }
    }
}
