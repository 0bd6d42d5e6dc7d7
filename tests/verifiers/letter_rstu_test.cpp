#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"
#include "support/drawn_glyph.h"
#include "support/letter_strokes.h"
#include "support/printed_letters.h"
#include "support/skeleton_art.h"
#include "support/stale_state.h"
#include "support/test_glyphs.h"

namespace {

std::string Case() { return std::to_string(Glyph.JunctionCount) + "," + std::to_string(Glyph.EndpointCount); }

// Where thinning left spurs on an R of 25 rows and 18 columns, or how its bowl ended.
enum class RForm {
    Plain,              // stem, bowl closed against the stem at row 13, leg from the bowl's bar
    TopSpur,            // a spur at the top of the stem
    SplitFoot,          // the stem's foot split in two
    TopSpurSplitFoot,   // both
    OpenBowl,           // the bowl's bar stops short of the stem
    TouchingJunctions,  // the leg leaves the bar right beside the stem: no link between them
};

void DrawR(RForm form) {
    StartBlankGlyph(25, 18);
    switch (form) {
        case RForm::Plain:
            DrawPolyline({{25, 1}, {1, 1}, {1, 11}, {3, 14}, {5, 15}, {9, 15}, {11, 14}, {13, 11}, {13, 1}});
            break;
        case RForm::TopSpur:
            DrawPolyline({{25, 2}, {2, 2}, {2, 11}, {3, 14}, {5, 15}, {9, 15}, {11, 14}, {13, 11}, {13, 2}});
            DrawStroke(2, 2, 1, 1);
            break;
        case RForm::SplitFoot:
        case RForm::TopSpurSplitFoot: {
            const int top = form == RForm::SplitFoot ? 1 : 2;
            DrawPolyline({{22, 3}, {top, 3}, {top, 11}, {3, 14}, {5, 15}, {9, 15}, {11, 14}, {13, 11}, {13, 3}});
            if (form == RForm::TopSpurSplitFoot) DrawStroke(2, 3, 1, 2);
            DrawStroke(22, 3, 25, 1);
            DrawStroke(22, 3, 25, 5);
            break;
        }
        case RForm::OpenBowl:
            DrawPolyline({{25, 1}, {2, 1}, {1, 2}, {1, 10}, {3, 13}, {6, 14}, {11, 14}, {16, 11}, {15, 8}});
            DrawStroke(16, 11, 25, 18);
            break;
        case RForm::TouchingJunctions:
            DrawPolyline({{25, 1}, {22, 4}, {2, 4}, {1, 5}, {1, 11}, {3, 14}, {5, 15}, {9, 15}, {11, 14}, {13, 11},
                          {13, 4}});
            DrawStroke(14, 6, 25, 18);
            break;
    }
    if (form != RForm::OpenBowl && form != RForm::TouchingJunctions) DrawStroke(13, 8, 25, 18);
    PrepareDrawnFeatures(1);
}

// An R whose bowl's right side stands on column `bowlRight`, with or without a spur at the top
// of its stem.
void DrawNarrowR(int bowlRight, bool topSpur) {
    StartBlankGlyph(25, 18);
    const int stem = topSpur ? 2 : 1;
    DrawPolyline({{25, stem}, {stem, stem}, {stem, bowlRight - 3}, {3, bowlRight}, {11, bowlRight}, {13, bowlRight - 3},
                  {13, stem}});
    if (topSpur) DrawStroke(2, 2, 1, 1);
    DrawStroke(13, bowlRight - 4, 25, 18);
    PrepareDrawnFeatures(1);
}

// Printed letters on the 40-row design of the shared test glyphs, drawn with a round pen.
GlyphCanvas PrintedR(double s, double p) { return StemAndBowl(s, p).Line(12 * s, 20 * s, 23 * s, 38 * s, p); }
GlyphCanvas PrintedS(double s, double p) {
    return Canvas(s, 40, 26)
        .Arc(13 * s, 11 * s, 9 * s, 8.5 * s, 90, 330, p)
        .Arc(13 * s, 28 * s, 9.5 * s, 9 * s, -90, 160, p);
}
GlyphCanvas PrintedT(double s, double p) {
    return Canvas(s, 40, 26).Line(2 * s, 4 * s, 24 * s, 4 * s, p).Line(13 * s, 4 * s, 13 * s, 38 * s, p);
}
GlyphCanvas PrintedU(double s, double p) {
    return Canvas(s, 40, 26)
        .Line(4 * s, 2 * s, 4 * s, 27 * s, p)
        .Line(22 * s, 2 * s, 22 * s, 27 * s, p)
        .Arc(13 * s, 27 * s, 9 * s, 10 * s, 0, 180, p);
}

// The drawing is accepted by the verifier and, through the whole family, read as that letter
// alone; none of it depends on what earlier glyphs and traces left behind.
template <typename Draw>
void ExpectReadAs(char letter, std::int16_t (*verify)(), Draw draw, const std::string& expectedCase,
                  const std::string& name) {
    draw();
    EXPECT_EQ(Case(), expectedCase) << name;
    EXPECT_EQ(verify(), LetterAccepted) << name;
    const VerifierAnswers answers = ExpectVerifiersBlindToStaleState(draw, name);
    EXPECT_EQ(answers.letterCandidates, std::string(1, letter)) << name;
}

}  // namespace

TEST(IsLetterR, AcceptsEachSpurPatternAndTheOpenBowl) {
    const struct {
        RForm form;
        const char* expectedCase;
        const char* name;
    } forms[] = {
        {RForm::Plain, "2,2", "closed bowl"},
        {RForm::TopSpur, "3,3", "top spur"},
        {RForm::SplitFoot, "3,3", "split foot"},
        {RForm::TopSpurSplitFoot, "4,4", "top spur and split foot"},
        {RForm::OpenBowl, "1,3", "open bowl"},
    };
    for (const auto& f : forms) ExpectReadAs('R', IsLetterR, [&] { DrawR(f.form); }, f.expectedCase, f.name);
}

TEST(IsLetterR, ALevelSpurAtTheTopOfTheStemMustBeStraight) {
    // A tall R whose spur leaves the stem top level to the left: straight, or arched up to the
    // top row and down to its end.
    auto draw = [](bool arched) {
        StartBlankGlyph(45, 18);
        DrawPolyline({{45, 7}, {7, 7}, {7, 14}, {9, 16}, {20, 16}, {22, 14}, {24, 11}, {24, 7}});
        if (arched) {
            DrawPolyline({{7, 1}, {4, 1}, {1, 4}, {3, 6}, {6, 6}, {7, 7}});
        } else {
            DrawStroke(7, 1, 7, 6);
        }
        DrawStroke(24, 12, 45, 18);
        PrepareDrawnFeatures(1);
    };
    draw(false);
    ASSERT_EQ(Case(), "3,3");
    EXPECT_EQ(IsLetterR(), LetterAccepted);
    draw(true);
    ASSERT_EQ(Case(), "3,3");
    EXPECT_EQ(IsLetterR(), 0);
}

TEST(IsLetterR, TouchingJunctionsStandInForTheBowlBar) {
    DrawR(RForm::TouchingJunctions);
    ASSERT_EQ(Case(), "2,2");
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    EXPECT_FALSE(LinkStroke(j.left, j.right).traced);
    EXPECT_TRUE(AreNeighbours(j.left, j.right));
    ExpectReadAs('R', IsLetterR, [] { DrawR(RForm::TouchingJunctions); }, "2,2", "touching junctions");
    // The same skeleton in a glyph with a solid right edge, where no waist notch can be, is not
    // an R.
    DrawR(RForm::TouchingJunctions);
    ASSERT_EQ(AddInkAndPrepare(1, 18, 25, 18), 0);
    ASSERT_EQ(Case(), "2,2");
    EXPECT_EQ(IsLetterR(), 0);
}

TEST(IsLetterR, ClosedBowlWithoutSpursKeepsItsOwnHoleLimits) {
    // Right edges of the hole 10 and 11 lie between right - width / 2 = 9 and right - width / 3
    // = 12: the closed bowl without spurs is an R...
    for (int bowlRight : {11, 12}) {
        DrawNarrowR(bowlRight, false);
        ASSERT_EQ(Case(), "2,2");
        EXPECT_EQ(Glyph.HoleBoxes[0].right, bowlRight - 1);
        EXPECT_EQ(IsLetterR(), LetterAccepted) << "bowl right " << bowlRight;
        // ... while a spur at the top of the stem brings in the R hole test, which wants the hole
        // to reach right - width / 3.
        DrawNarrowR(bowlRight, true);
        ASSERT_EQ(Case(), "3,3");
        EXPECT_EQ(IsLetterR(), 0) << "bowl right " << bowlRight << " with a top spur";
    }
    DrawNarrowR(15, true);
    EXPECT_EQ(IsLetterR(), LetterAccepted);
}

TEST(IsLetterR, OpenBowlNeedsAShortLooseEndAndLeg) {
    // A loose end longer than half the leg: the bowl's bar reaches back towards the stem.
    StartBlankGlyph(25, 18);
    DrawPolyline({{25, 1}, {2, 1}, {1, 2}, {1, 10}, {3, 13}, {6, 14}, {11, 14}, {16, 11}, {15, 6}});
    DrawStroke(16, 11, 25, 18);
    PrepareDrawnFeatures(1);
    ASSERT_EQ(Case(), "1,3");
    EXPECT_EQ(IsLetterR(), 0);
    // A closed bowl with a free end is no R case.
    DrawR(RForm::OpenBowl);
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterR(), 0);
}

TEST(IsLetterS, AcceptsOneCurveAndTheCurveWithSpurs) {
    ExpectReadAs('S', IsLetterS, [] { DescribeDrawnSkeleton(SCurve); }, "0,2", "one curve");
    const auto splitEnds = [] {
        StartBlankGlyph(23, 17);
        DrawPolyline({{3, 15}, {1, 12}, {1, 5}, {3, 2}, {8, 2}, {11, 5}, {11, 12}, {13, 15}, {19, 15}, {21, 12},
                      {21, 5}, {19, 3}});
        DrawStroke(3, 15, 1, 17);
        DrawStroke(3, 15, 6, 17);
        DrawStroke(19, 3, 16, 1);
        DrawStroke(19, 3, 23, 1);
        PrepareDrawnFeatures(1);
    };
    ExpectReadAs('S', IsLetterS, splitEnds, "2,4", "split ends");
}

TEST(IsLetterS, RefusesTheMirroredCurveAndHoles) {
    // Mirrored, the curve runs down to the lower right: a Z-like stroke.
    DescribeDrawnSkeleton(MirroredLeftRight(SCurve));
    ASSERT_EQ(Case(), "0,2");
    EXPECT_EQ(IsLetterS(), 0);
    DescribeDrawnSkeleton(SCurve);
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterS(), 0);
}

namespace {

// A T of 25 rows and 17 columns whose stem's foot thinning split in two.
void DrawTWithSplitFoot() {
    StartBlankGlyph(25, 17);
    DrawStroke(1, 1, 1, 17);
    DrawStroke(1, 9, 22, 9);
    DrawStroke(22, 9, 25, 6);
    DrawStroke(22, 9, 25, 12);
    PrepareDrawnFeatures(1);
}

// A T whose skeleton kept only the stem; the bar, three rows deep, is in the filled glyph.
void DrawTStemUnderBar(bool withBar) {
    StartBlankGlyph(25, 17);
    DrawStroke(1, 9, 25, 9);
    PrepareDrawnFeatures(1);
    if (withBar) AddInkAndPrepare(1, 1, 3, 17);
}

}  // namespace

TEST(IsLetterT, AcceptsEachCase) {
    ExpectReadAs('T', IsLetterT, [] { DescribeDrawnSkeleton(TeeShape); }, "1,3", "bar and stem");
    ExpectReadAs('T', IsLetterT, DrawTWithSplitFoot, "2,4", "split foot");
    ExpectReadAs('T', IsLetterT, [] { DrawTStemUnderBar(true); }, "0,2", "stem under a bar");
}

TEST(IsLetterT, OneStrokeIsNoTOnceFHasVoted) {
    DrawTStemUnderBar(true);
    EXPECT_EQ(RunLetterFamilyWith("F"), 'F');
    EXPECT_EQ(CandidateText(Glyph.LetterCandidates, Glyph.LetterCandidateCount), "F");
    // The junction cases do not look at the F vote.
    DescribeDrawnSkeleton(TeeShape);
    RunLetterFamilyWith("F");
    EXPECT_EQ(CandidateText(Glyph.LetterCandidates, Glyph.LetterCandidateCount), "FT");
    DrawTWithSplitFoot();
    RunLetterFamilyWith("F");
    EXPECT_EQ(CandidateText(Glyph.LetterCandidates, Glyph.LetterCandidateCount), "FT");
    // Without a bar in the filled glyph the lone stem is no T either.
    DrawTStemUnderBar(false);
    EXPECT_EQ(IsLetterT(), 0);
}

TEST(IsLetterT, BarEndMustStepInWithinTheTopQuarter) {
    // Seven rows leave the bar-end test no room: GlyphHeight / 4 is 1.
    DescribeDrawnSkeleton(SkeletonArt(TeeShape.begin(), TeeShape.begin() + 7));
    ASSERT_EQ(Case(), "1,3");
    EXPECT_EQ(IsLetterT(), 0);
    // A bar as deep as the top quarter and one row more: its right end never steps in there.
    DescribeDrawnSkeleton(TeeShape);
    ASSERT_EQ(AddInkAndPrepare(1, 1, 4, 11), 0);
    EXPECT_EQ(IsLetterT(), 0);
}

TEST(IsLetterT, EdgeColumnsReachingTheLowerHalfAreNoT) {
    // Ink hanging from both ends of the bar down past mid-height (a table rather than a T).
    DrawTWithSplitFoot();
    ASSERT_EQ(AddInkAndPrepare(1, 3, 16, 3), 0);
    ASSERT_EQ(AddInkAndPrepare(1, 15, 16, 15), 0);
    ASSERT_EQ(Case(), "2,4");
    EXPECT_EQ(IsLetterT(), 0);
}

TEST(IsLetterT, PairWithIResolvesToT) {
    DescribeDrawnSkeleton(TeeShape);
    EXPECT_EQ(RunLetterFamilyWith("I"), 'T');
    EXPECT_EQ(CandidateText(Glyph.LetterCandidates, Glyph.LetterCandidateCount), "T");
}

TEST(IsLetterU, AcceptsEachCase) {
    const struct {
        Tip left;
        Tip right;
        int width;
        const char* expectedCase;
        const char* name;
    } forms[] = {
        {Tip::Plain, Tip::Plain, 17, "0,2", "one stroke"},
        {Tip::Split, Tip::Plain, 17, "1,3", "left tip split"},
        {Tip::Plain, Tip::Split, 17, "1,3", "right tip split"},
        {Tip::Split, Tip::Split, 21, "2,4", "both tips split"},
    };
    for (const auto& f : forms) {
        DrawArms(f.left, Bottom::Round, f.right, 21, f.width);
        EXPECT_EQ(Case(), f.expectedCase) << f.name;
        EXPECT_EQ(IsLetterU(), LetterAccepted) << f.name;
        ExpectVerifiersBlindToStaleState([&] { DrawArms(f.left, Bottom::Round, f.right, 21, f.width); }, f.name);
    }
}

TEST(IsLetterU, OneStrokeArmsSeparateUFromV) {
    // Parallel arm ends make a U and never a V; converging ones a V and never a U.
    ExpectReadAs('U', IsLetterU, [] { DrawArms(Tip::Plain, Bottom::Round, Tip::Plain, 21, 17); }, "0,2", "round");
    ExpectReadAs('V', IsLetterV, [] { DrawArms(Tip::Plain, Bottom::Pointed, Tip::Plain, 21, 17); }, "0,2", "pointed");
    DrawArms(Tip::Plain, Bottom::Pointed, Tip::Plain, 21, 17);
    EXPECT_EQ(IsLetterU(), 0);
    DrawArms(Tip::Plain, Bottom::Round, Tip::Plain, 21, 17);
    EXPECT_EQ(IsLetterV(), 0);
}

TEST(IsLetterU, BodyDriftingRightAtBothEndsIsAV) {
    // Both tips split; the body between their junctions runs down and up like a V's arms.
    DrawArms(Tip::Split, Bottom::Pointed, Tip::Split, 37, 31);
    ASSERT_EQ(Case(), "2,4");
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    EXPECT_TRUE(LinkDriftsRightAtBothEnds(tips.left, tips.right, Glyph.GlyphBox.height / 3, 2));
    EXPECT_EQ(IsLetterU(), 0);
    EXPECT_EQ(IsLetterV(), LetterAccepted);
    // The same box with a round bottom: the body goes straight down at both ends.
    DrawArms(Tip::Split, Bottom::Round, Tip::Split, 37, 31);
    const NodePair round = InXOrder(JunctionNode(0), JunctionNode(1));
    EXPECT_FALSE(LinkDriftsRightAtBothEnds(round.left, round.right, Glyph.GlyphBox.height / 3, 2));
    EXPECT_EQ(IsLetterU(), LetterAccepted);
}

TEST(IsLetterU, DriftIsNotMeasuredOutsideTheLinkPath) {
    // A third of the height of 0 points, or as many as the path has, reads no drift: the veto
    // is skipped instead of reading before the path or past its end.
    DrawArms(Tip::Split, Bottom::Pointed, Tip::Split, 37, 31);
    const NodePair tips = InXOrder(JunctionNode(0), JunctionNode(1));
    const int n = LinkStroke(tips.left, tips.right).length;
    ASSERT_GT(n, 2);
    for (std::uint8_t junk : StaleJunk) {
        FillTraceLeftovers(junk);
        EXPECT_FALSE(LinkDriftsRightAtBothEnds(tips.left, tips.right, 0, 2)) << int(junk);
        EXPECT_FALSE(LinkDriftsRightAtBothEnds(tips.left, tips.right, n, 2)) << int(junk);
        EXPECT_FALSE(LinkDriftsRightAtBothEnds(tips.left, tips.right, n + 50, 2)) << int(junk);
    }
    EXPECT_TRUE(LinkDriftsRightAtBothEnds(tips.left, tips.right, n - 1, 2));
    // A link that is not found drifts nowhere.
    EXPECT_FALSE(LinkDriftsRightAtBothEnds(tips.left, MissingNode, 10, 2));
}

TEST(IsLetterU, NeedsAWideBottom) {
    // A round U whose second-last row was cut to a few cells: its bottom comes to a point.
    DrawArms(Tip::Split, Bottom::Round, Tip::Plain, 21, 17);
    ASSERT_EQ(IsLetterU(), LetterAccepted);
    for (int c = 1; c <= 17; ++c) {
        if (c < 8 || c > 10) Glyph.GlyphImage.Set(20, c, 0);
    }
    ASSERT_EQ(PrepareSkeletonFeatures(), 0);
    EXPECT_EQ(IsLetterU(), 0);
}

TEST(PrintedLetters, RSTUReadAsThemselves) {
    const std::pair<char, DrawLetter> printed[] = {{'R', PrintedR}, {'S', PrintedS}, {'T', PrintedT}, {'U', PrintedU}};
    for (const auto& [letter, draw] : printed) {
        for (double scale : {0.75, 1.0, 1.25, 1.5}) {
            EXPECT_EQ(ReadLetters(draw, scale), std::string(1, letter)) << letter << " at scale " << scale;
        }
        ExpectVerifiersBlindToStaleState([draw = draw] { LoadPrepared(draw, 1.0); }, std::string("printed ") + letter);
    }
}
