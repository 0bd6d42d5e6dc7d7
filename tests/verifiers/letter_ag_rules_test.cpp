// The group rules and profile tests of the letters A to G on real glyphs: each glyph is accepted
// as it stands, and one feature moved across a limit decides the answer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"
#include "support/drawn_glyph.h"
#include "support/rendered_letters.h"
#include "support/stale_state.h"

namespace {

constexpr std::int16_t Accepted = LetterAccepted;

// The filled glyph gets a block of ink, corners inclusive, in grid rows and columns.
void InkBlock(int top, int left, int bottom, int right) {
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) Glyph.GlyphImage.Set(r, c, 1);
    }
}

// A B whose stem sticks out above the upper bowl (`topSpur`) and below the lower one, as thinning
// leaves the square corners of a stem: short diagonal spurs to the corners of the box. The
// filled glyph keeps its square left side.
void DrawSpurredB(bool topSpur) {
    StartBlankGlyph(33, 28);
    if (topSpur) {
        DrawPolyline({{2, 1}, {5, 6}, {29, 6}, {32, 1}});
        DrawPolyline({{5, 6}, {5, 22}, {8, 26}, {14, 26}, {17, 23}});
    } else {
        // The stem turns round the corner into the upper bowl.
        DrawPolyline({{32, 1}, {29, 6}, {6, 6}, {5, 7}, {5, 22}, {8, 26}, {14, 26}, {17, 23}});
    }
    DrawPolyline({{17, 6}, {17, 23}, {20, 27}, {26, 27}, {29, 24}, {29, 6}});
    ThickenIntoGlyphImage(1);
    InkBlock(topSpur ? 2 : 4, 1, 32, 7);
    PrepareFeaturesOfDrawing();
}

// The hole that starts higher (the second of the list on a tie) and the other one.
HoleBox& UpperHole() { return Glyph.HoleBoxes[Glyph.HoleBoxes[0].top < Glyph.HoleBoxes[1].top ? 0 : 1]; }
HoleBox& LowerHole() { return Glyph.HoleBoxes[Glyph.HoleBoxes[0].top < Glyph.HoleBoxes[1].top ? 1 : 0]; }

// Gives the smaller hole the least area that makes its share of the skeleton box at least
// `floor`, less `short` cells.
void SetSmallerHoleShare(double floor, int cellsShort = 0) {
    const double box = static_cast<double>(Glyph.GlyphBox.height) * Glyph.GlyphBox.width;
    Glyph.HoleBoxes[1].area = static_cast<std::int16_t>(std::ceil(floor * box) - cellsShort);
}

}  // namespace

TEST(IsLetterA, HoleCentreTooLowIsRefusedBeforeAnyTemplate) {
    ReadLetter(letters::A, 1.0);
    ASSERT_EQ(IsLetterA(), Accepted);
    // The templates look at the top of the hole, the group at its centre: moving only the hole's
    // bottom decides between them.
    HoleBox& hole = Glyph.HoleBoxes[0];
    const int lowest = Glyph.GlyphBox.bottom - 2 * Glyph.HeightUnit;
    hole.bottom = static_cast<std::int16_t>(2 * lowest - hole.top + 1);
    ASSERT_EQ((hole.top + hole.bottom) / 2, lowest);
    EXPECT_EQ(IsLetterA(), Accepted);
    hole.bottom = static_cast<std::int16_t>(hole.bottom + 2);
    EXPECT_EQ(IsLetterA(), 0);
}

TEST(IsLetterA, TwoFeetWithARightWaistNotchIsNoA) {
    // At 30 rows thinning leaves the plain A: two feet and the crossbar's two junctions.
    ReadLetter(letters::A, 0.75);
    ASSERT_EQ(Glyph.JunctionCount, 2);
    ASSERT_EQ(Glyph.EndpointCount, 2);
    ASSERT_EQ(HasRightWaistNotch(), 0);
    ASSERT_EQ(IsLetterA(), Accepted);
    // The right side pinched in at the waist, as an R's leg is: the template's last test.
    const int waist = WaistRow(Glyph.GlyphHeight);
    ASSERT_GE(waist, 3);
    Glyph.RowRightMargin[waist] = static_cast<std::uint8_t>(Glyph.RowRightMargin[waist - 3] + 2);
    EXPECT_EQ(HasRightWaistNotch(), 1);
    EXPECT_EQ(IsLetterA(), 0);
}

TEST(IsLetterB, EachCaseAcceptsItsDrawnB) {
    const LetterReading closed = ReadLetter(letters::B, 1.0);
    ASSERT_EQ(Glyph.JunctionCount, 2);
    ASSERT_EQ(Glyph.EndpointCount, 0);
    EXPECT_EQ(closed.candidates, "B");
    DrawSpurredB(true);
    ASSERT_EQ(Glyph.JunctionCount, 4);
    ASSERT_EQ(Glyph.EndpointCount, 2);
    EXPECT_EQ(IsLetterB(), Accepted);
    DrawSpurredB(false);
    ASSERT_EQ(Glyph.JunctionCount, 3);
    ASSERT_EQ(Glyph.EndpointCount, 1);
    EXPECT_EQ(IsLetterB(), Accepted);
}

TEST(IsLetterB, SmallerBowlShareDependsOnTheCase) {
    // The closed B and the B with two spurs need a fifth of the box, the one-spur B a tenth.
    ReadLetter(letters::B, 1.0);
    SetSmallerHoleShare(0.2);
    EXPECT_EQ(IsLetterB(), Accepted);
    SetSmallerHoleShare(0.2, 1);
    EXPECT_EQ(IsLetterB(), 0);
    DrawSpurredB(true);
    SetSmallerHoleShare(0.2);
    EXPECT_EQ(IsLetterB(), Accepted);
    SetSmallerHoleShare(0.2, 1);
    EXPECT_EQ(IsLetterB(), 0);
    DrawSpurredB(false);
    SetSmallerHoleShare(0.1);
    EXPECT_EQ(IsLetterB(), Accepted);
    SetSmallerHoleShare(0.1, 1);
    EXPECT_EQ(IsLetterB(), 0);
}

TEST(IsLetterB, UpperBowlTopDependsOnTheCase) {
    // With a spur above, the upper bowl may start a height unit below the top.
    DrawSpurredB(true);
    UpperHole().top = static_cast<std::int16_t>(Glyph.GlyphBox.top + Glyph.HeightUnit);
    EXPECT_EQ(IsLetterB(), Accepted);
    UpperHole().top = static_cast<std::int16_t>(UpperHole().top + 1);
    EXPECT_EQ(IsLetterB(), 0);
    // Without it, at most one row below.
    DrawSpurredB(false);
    UpperHole().top = static_cast<std::int16_t>(Glyph.GlyphBox.top + 1);
    EXPECT_EQ(IsLetterB(), Accepted);
    UpperHole().top = static_cast<std::int16_t>(UpperHole().top + 1);
    EXPECT_EQ(IsLetterB(), 0);
}

TEST(IsLetterB, LowerBowlBottomDependsOnTheCase) {
    // The closed B's lower bowl reaches the last row but one; with spurs, a height unit is left.
    ReadLetter(letters::B, 1.0);
    LowerHole().bottom = static_cast<std::int16_t>(Glyph.GlyphBox.bottom - 1);
    EXPECT_EQ(IsLetterB(), Accepted);
    LowerHole().bottom = static_cast<std::int16_t>(Glyph.GlyphBox.bottom - 2);
    EXPECT_EQ(IsLetterB(), 0);
    DrawSpurredB(true);
    LowerHole().bottom = static_cast<std::int16_t>(Glyph.GlyphBox.bottom - Glyph.HeightUnit);
    EXPECT_EQ(IsLetterB(), Accepted);
    LowerHole().bottom = static_cast<std::int16_t>(LowerHole().bottom - 1);
    EXPECT_EQ(IsLetterB(), 0);
}

TEST(IsLetterB, DeepestLeftMarginInTheLastThreeRowsRejects) {
    // A B of 26 rows: a waist at two thirds of the height puts the last rows in its window.
    ReadLetter(letters::B, 0.65);
    ASSERT_EQ(IsLetterB(), Accepted);
    const int h = Glyph.GlyphHeight;
    ASSERT_LT(h, 30);
    // No one-run row before two thirds of the height: the waist is there.
    for (int i = 1; i < 2 * h / 3; ++i) Glyph.RowRunCount[i] = 2;
    // The deepest left margin of the window in the third-last row: not a B.
    Glyph.RowLeftMargin[h - 3] = 9;
    EXPECT_EQ(RejectB_LeftWaistNotch(), 1);
    EXPECT_EQ(IsLetterB(), 0);
    // One row higher, with the rows below it only one column shallower, it is no notch.
    Glyph.RowLeftMargin[h - 4] = 9;
    Glyph.RowLeftMargin[h - 3] = Glyph.RowLeftMargin[h - 2] = Glyph.RowLeftMargin[h - 1] = 8;
    EXPECT_EQ(RejectB_LeftWaistNotch(), 0);
    EXPECT_EQ(IsLetterB(), Accepted);
}

namespace {

// A bow drawn round the left like a C, `height` rows high, its left side pushed in by four
// columns at mid-height: the skeleton an E leaves when its middle bar thins away.
void DrawDentedBow(int height) {
    const int width = height * 2 / 3 > 6 ? height * 2 / 3 : 6;
    const int middle = (height + 1) / 2;
    StartBlankGlyph(height, width);
    DrawPolyline({{2, width}, {1, width - 1}, {1, 3}, {2, 2}, {3, 1}, {middle - 2, 1}, {middle, 5}, {middle + 1, 1},
                  {height - 2, 1}, {height - 1, 2}, {height, 3}, {height, width - 3}, {height - 1, width - 2}});
    PrepareDrawnFeatures(1);
}

// A spur that thinning pruned, its inner end at the point's cell.
void LogPrunedSpur(Node inner) {
    Glyph.PrunedSpurs[Glyph.PrunedSpurCount++] = PrunedSpur{static_cast<std::uint8_t>(inner.y), static_cast<std::uint8_t>(inner.x - 1),
                                                             static_cast<std::uint8_t>(inner.y), static_cast<std::uint8_t>(inner.x)};
}

// The point of the skeleton box at the centre of cell `cell` of its 5 x 5 zone grid.
Node ZoneCentre(int cell) {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    return UnlistedNode(box.left + (2 * (cell % 5) + 1) * box.width / 10, box.top + (2 * (cell / 5) + 1) * box.height / 10);
}

}  // namespace

TEST(IsLetterE, CaseFollowsTheJunctionsAndHolesAllowTheBow) {
    ReadLetter(letters::E, 1.0);
    ASSERT_EQ(Glyph.JunctionCount, 1);
    EXPECT_EQ(IsLetterE(), Accepted);
    // A junction count with its own case and another end count is not tried as a bow.
    Glyph.EndpointCount = 2;
    EXPECT_EQ(IsLetterE(), 0);
    ReadLetter(letters::E, 1.0);
    Glyph.HoleCount = 1;
    EXPECT_EQ(IsLetterE(), 0);

    // The one-stroke E is tried whatever holes the glyph has; the C takes none.
    DrawDentedBow(18);
    EXPECT_EQ(IsLetterE(), Accepted);
    EXPECT_EQ(IsLetterC(), Accepted);
    Glyph.HoleCount = 1;
    Glyph.HoleBoxes[0] = HoleBox{8, 10, 3, 5, 0, 6};
    EXPECT_EQ(IsLetterE(), Accepted);
    EXPECT_EQ(IsLetterC(), 0);
}

TEST(IsLetterE, PrunedSpurAtTheMiddleLeftMakesTheBowAnE) {
    DrawDentedBow(18);
    ASSERT_EQ(IsLetterC(), Accepted);
    ASSERT_EQ(IsLetterE(), Accepted);
    // The stub of a middle bar, pruned in zone 11: not a C, and still an E.
    LogPrunedSpur(ZoneCentre(11));
    ASSERT_TRUE(InZone5(ZoneCentre(11), {11}));
    EXPECT_EQ(IsLetterC(), 0);
    EXPECT_EQ(IsLetterE(), Accepted);
    // A spur pruned elsewhere only: a C, and no E (whose pruned spurs must include the stub).
    DrawDentedBow(18);
    LogPrunedSpur(ZoneCentre(0));
    EXPECT_EQ(IsLetterC(), Accepted);
    EXPECT_EQ(IsLetterE(), 0);
    LogPrunedSpur(ZoneCentre(6));
    EXPECT_EQ(IsLetterE(), Accepted);
}

TEST(IsLetterE, BowOfAnyHeightReadsOnlyItsOwnRows) {
    // From 6 rows up the bar-end scan and the indent window reach before the first profile
    // entry and above the glyph; what lies there (junk of earlier glyphs, rows outside the
    // grid) must not change any answer.
    for (int height = 6; height <= 18; ++height) {
        const VerifierAnswers answers =
            ExpectVerifiersBlindToStaleState([height] { DrawDentedBow(height); }, "bow of " + std::to_string(height) + " rows");
        // Once the indent window lies inside the glyph, the bow is an E.
        if (height >= 15) {
            EXPECT_EQ(answers.letterVotes[LetterSlot('E')], Accepted) << height;
        }
    }
}

namespace {

// An F whose bars thinned into one bent stroke, `height` x `width`: the top bar `barRows` rows
// of ink, the middle bar three rows of ink down from grid row `barRow` - 1, left in the skeleton
// as a bump `bump` columns to the right.
struct OneStrokeF {
    int height;
    int width;
    int barRows;
    int barRow;
    int bump;

    void Draw() const {
        StartBlankGlyph(height, width);
        DrawPolyline({{1, width}, {1, 2}, {2, 1}, {barRow - bump, 1}, {barRow, 1 + bump}, {barRow + bump, 1}, {height, 1}});
        ThickenIntoGlyphImage(1);
        InkBlock(1, 1, barRows, width);
        InkBlock(barRow - 1, 1, barRow + 1, width - 2);
        PrepareFeaturesOfDrawing();
    }
};

}  // namespace

TEST(IsLetterF, OneStrokeNeedsTheMiddleBarIndent) {
    // Narrow (the top-quarter scan runs past the last column), plain, and short.
    const OneStrokeF shapes[] = {{40, 6, 11, 20, 3}, {24, 9, 2, 12, 2}, {12, 6, 2, 9, 3}};
    for (const OneStrokeF& f : shapes) {
        const std::string name = std::to_string(f.height) + " x " + std::to_string(f.width);
        const VerifierAnswers bent = ExpectVerifiersBlindToStaleState([&f] { f.Draw(); }, name);
        EXPECT_EQ(bent.letterVotes[LetterSlot('F')], Accepted) << name;
        ASSERT_EQ(Glyph.JunctionCount, 0);
        // A straight stem past the bar: no middle bar thinned into it.
        OneStrokeF straight = f;
        straight.bump = 0;
        const VerifierAnswers plain = ExpectVerifiersBlindToStaleState([&straight] { straight.Draw(); }, name + " straight");
        EXPECT_EQ(plain.letterVotes[LetterSlot('F')], 0) << name;
    }
}

TEST(IsLetterF, ShortGlyphReadsEmptyRowsAboveItself) {
    // Thirteen rows, a straight stroke, a one-row middle bar lighter than the top bar: the rows
    // densest in ink are the top bar's, so the indent window is centred on grid row 2 and
    // reaches a row above the grid. That row and the border row read as empty, the widest
    // "indent" of the window, and the template takes the stroke for an F.
    const auto draw = [] {
        StartBlankGlyph(13, 6);
        DrawPolyline({{1, 6}, {1, 2}, {2, 1}, {13, 1}});
        ThickenIntoGlyphImage(1);
        InkBlock(6, 1, 6, 5);
        PrepareFeaturesOfDrawing();
    };
    const VerifierAnswers answers = ExpectVerifiersBlindToStaleState(draw, "short F");
    EXPECT_EQ(answers.letterVotes[LetterSlot('F')], Accepted);
}

TEST(IsLetterF, LowerRightStepOfHalfTheWidthIsABottomBar) {
    ReadLetter(letters::F, 1.0);
    ASSERT_EQ(Glyph.JunctionCount, 1);
    ASSERT_EQ(IsLetterF(), Accepted);
    // The lower third's right margins level, then the last row stepping out by `step`.
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    const auto stepOut = [h, w](int step) {
        for (int i = 2 * h / 3 - 2; i < h; ++i) Glyph.RowRightMargin[i] = static_cast<std::uint8_t>(w - 3);
        Glyph.RowRightMargin[h - 1] = static_cast<std::uint8_t>(w - 3 - step);
    };
    stepOut(w / 2 - 1);
    EXPECT_EQ(IsLetterF(), Accepted);
    stepOut(w / 2);
    EXPECT_EQ(IsLetterF(), 0);
}
