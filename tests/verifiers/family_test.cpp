#include "engine/verifiers/families.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/glyph_grid.h"
#include "support/glyph_profiles.h"
#include "support/skeleton_art.h"

namespace {

// Stub verifiers answering from a table the test sets.
std::int16_t StubDigitAnswers[DigitCount];

template <int D>
std::int16_t StubDigit() {
    return StubDigitAnswers[D];
}

constexpr Verifier StubDigits[DigitCount] = {StubDigit<0>, StubDigit<1>, StubDigit<2>, StubDigit<3>, StubDigit<4>,
                                             StubDigit<5>, StubDigit<6>, StubDigit<7>, StubDigit<8>, StubDigit<9>};

void AcceptDigits(const std::string& digits) {
    for (std::int16_t& a : StubDigitAnswers) a = 0;
    for (char d : digits) StubDigitAnswers[d - '0'] = 2;
}

std::string DigitList() {
    std::string list;
    for (int k = 0; k < Glyph.DigitCandidateCount; ++k) list += static_cast<char>(Glyph.DigitCandidates[k]);
    return list;
}

std::string LetterList() {
    std::string list;
    for (int k = 0; k < Glyph.LetterCandidateCount; ++k) list += static_cast<char>(Glyph.LetterCandidates[k]);
    return list;
}

// A glyph whose profiles every tie-break can read: a plain 12 x 30 bar.
void DrawPlainBar() {
    GlyphRows rows(30, std::string(12, '#'));
    DrawProfileGlyph(rows);
}

}  // namespace

TEST(DigitFamily, ListsAcceptedDigitsInAscendingOrder) {
    DrawPlainBar();
    AcceptDigits("8");
    EXPECT_EQ(RunDigitFamily(StubDigits), '8');
    EXPECT_EQ(DigitList(), "8");

    AcceptDigits("");
    EXPECT_EQ(RunDigitFamily(StubDigits), 0);
    EXPECT_EQ(Glyph.DigitCandidateCount, 0);

    // Three candidates are left for the caller, unresolved.
    AcceptDigits("721");
    EXPECT_EQ(RunDigitFamily(StubDigits), 0);
    EXPECT_EQ(DigitList(), "127");

    // Any answer other than 0 is an acceptance.
    AcceptDigits("");
    StubDigitAnswers[5] = 1;
    EXPECT_EQ(RunDigitFamily(StubDigits), '5');
}

TEST(DigitFamily, UnknownPairsStayForTheCaller) {
    DrawPlainBar();
    for (const char* pair : {"08", "56", "38", "02"}) {
        AcceptDigits(pair);
        EXPECT_EQ(RunDigitFamily(StubDigits), 0) << pair;
        EXPECT_EQ(DigitList(), pair);
        EXPECT_EQ(ResolveDigitPair(), 0);
    }
}

TEST(DigitFamily, PairsWithoutTieBreakGoToTheLargerDigit) {
    DrawPlainBar();
    AcceptDigits("12");
    EXPECT_EQ(RunDigitFamily(StubDigits), '2');
    EXPECT_EQ(DigitList(), "2");
    AcceptDigits("13");
    EXPECT_EQ(RunDigitFamily(StubDigits), '3');
}

TEST(DigitFamily, FourAndSixFollowTheHolePlace) {
    // No hole: 6.
    DrawPlainBar();
    AcceptDigits("46");
    EXPECT_EQ(RunDigitFamily(StubDigits), '6');

    // A hole high in the glyph (top 5, bottom 20 of 30 rows: 5 / 11 is not above 2.6): 4.
    DrawPlainBar();
    Glyph.HoleCount = 1;
    Glyph.HoleBoxes[0] = HoleBox{5, 20, 3, 9, 6, 60};
    AcceptDigits("46");
    EXPECT_EQ(RunDigitFamily(StubDigits), '4');

    // A hole low in the glyph (top 22, bottom 27: 22 / 4 = 5.5): 6.
    Glyph.HoleBoxes[0] = HoleBox{22, 27, 3, 9, 6, 30};
    AcceptDigits("46");
    EXPECT_EQ(RunDigitFamily(StubDigits), '6');
}

TEST(DigitFamily, OneAndSevenFollowTheTieBreak) {
    // A bar more than 3.5 times as tall as wide is a '1'.
    DrawProfileGlyph(GlyphRows(40, std::string(8, '#')));
    AcceptDigits("17");
    EXPECT_EQ(RunDigitFamily(StubDigits), '1');

    // A '7': a full-width top bar over a stem that moves right.
    DrawProfileGlyph({
        "##############",
        "##############",
        "##############",
        "        ####  ",
        "        ####  ",
        "       ####   ",
        "       ####   ",
        "      ####    ",
        "      ####    ",
        "     ####     ",
        "     ####     ",
        "    ####      ",
        "    ####      ",
        "    ####      ",
        "   ####       ",
        "   ####       ",
        "   ####       ",
        "   ####       ",
    });
    AcceptDigits("17");
    EXPECT_EQ(RunDigitFamily(StubDigits), '7');
}

TEST(DigitFamily, ThreeAndSevenFollowTheRightWaistNotch) {
    // A notch in the right side at mid-height, four pixels deeper than the edge above and below.
    GlyphRows rows(14, "##########");
    rows[6] = rows[7] = "######    ";
    DrawProfileGlyph(rows);
    AcceptDigits("37");
    EXPECT_EQ(RunDigitFamily(StubDigits), '3');

    // A notch only one pixel deep is no waist.
    rows[6] = rows[7] = "######### ";
    DrawProfileGlyph(rows);
    AcceptDigits("37");
    EXPECT_EQ(RunDigitFamily(StubDigits), '7');

    // Three adjacent columns crossing three strokes (as a '3' has) decide for 3 without a notch.
    GlyphRows three(14, "#        #");
    three[0] = three[6] = three[13] = "##########";
    DrawProfileGlyph(three);
    AcceptDigits("37");
    EXPECT_EQ(RunDigitFamily(StubDigits), '3');
}

TEST(DigitFamily, FourAndNineFollowTheRightColumns) {
    // Two nearly full-height columns in the right half: a '4' stem.
    DrawProfileGlyph(GlyphRows(20, std::string(10, '#')));
    AcceptDigits("49");
    EXPECT_EQ(RunDigitFamily(StubDigits), '4');

    // A right half without tall columns and a steady right edge: 9.
    GlyphRows rows(20, std::string(10, '#'));
    for (int r = 0; r < 4; ++r) rows[r] = "#####     ";
    DrawProfileGlyph(rows);
    AcceptDigits("49");
    EXPECT_EQ(RunDigitFamily(StubDigits), '9');
}

namespace {

std::int16_t StubLetterAnswers[LetterVoteSlots];
bool StubIReadsF;  // the I stub refuses once F voted, as the I verifier does
bool StubNNeedsH;  // the N stub accepts only after an H vote

std::int16_t StubLetterVote(char letter) {
    const int slot = LetterSlot(letter);
    if (letter == 'I' && StubIReadsF && Glyph.LetterVotes[LetterSlot('F')] != 0) return 0;
    if (letter == 'N' && StubNNeedsH && Glyph.LetterVotes[LetterSlot('H')] == 0) return 0;
    return StubLetterAnswers[slot];
}

template <char L>
std::int16_t StubLetter() {
    return StubLetterVote(L);
}

// The real call order with every verifier replaced by its stub.
LetterVerifier StubOrder[LetterCount];

template <std::size_t... I>
void FillStubOrder(std::index_sequence<I...>) {
    constexpr char Letters[] = "CKOPSVWXZABDEFGHIJLMNQRTUY";
    ((StubOrder[I] = LetterVerifier{Letters[I], LetterSlot(Letters[I]), StubLetter<Letters[I]>}), ...);
}

void AcceptLetters(const std::string& letters, std::int16_t vote = 2) {
    for (std::int16_t& a : StubLetterAnswers) a = 0;
    for (char l : letters) StubLetterAnswers[LetterSlot(l)] = vote;
    StubIReadsF = StubNNeedsH = false;
    FillStubOrder(std::make_index_sequence<LetterCount>{});
}

const LetterVerifier (&StubLetters())[LetterCount] { return StubOrder; }

}  // namespace

TEST(LetterFamily, CallOrderMakesEarlierVotesReadable) {
    // The slots rise along the call order, so call order is listing order.
    for (int k = 1; k < LetterCount; ++k) EXPECT_LT(LetterOrder[k - 1].slot, LetterOrder[k].slot);
    const std::string order = [] {
        std::string s;
        for (const LetterVerifier& v : LetterOrder) s += v.letter;
        return s;
    }();
    EXPECT_EQ(order, "CKOPSVWXZABDEFGHIJLMNQRTUY");
    EXPECT_LT(order.find('F'), order.find('I'));
    EXPECT_LT(order.find('F'), order.find('T'));
    EXPECT_LT(order.find('H'), order.find('N'));
    // Each slot stands for its letter: 'A' + i below 26, 'A' + i - 26 from 26 on.
    for (const LetterVerifier& v : LetterOrder) EXPECT_EQ('A' + v.slot % 26, v.letter);
}

TEST(LetterFamily, VotesAreListedInSlotOrder) {
    DrawPlainBar();
    AcceptLetters("YAZ");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 0);
    EXPECT_EQ(LetterList(), "ZAY");
    EXPECT_EQ(Glyph.LetterVotes[LetterSlot('Z')], 2);
    EXPECT_EQ(Glyph.LetterVotes[LetterSlot('B')], 0);

    // A K vote of 1 is an acceptance.
    AcceptLetters("K", 1);
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'K');

    AcceptLetters("");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 0);
    EXPECT_EQ(Glyph.LetterCandidateCount, 0);
}

TEST(LetterFamily, LaterVerifiersReadEarlierVotes) {
    DrawPlainBar();
    // I refuses once F voted.
    AcceptLetters("FI");
    StubIReadsF = true;
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'F');
    EXPECT_EQ(LetterList(), "F");

    // N follows the H vote.
    AcceptLetters("N");
    StubNNeedsH = true;
    EXPECT_EQ(RunLetterFamily(StubLetters()), 0);
    AcceptLetters("HN");
    StubNNeedsH = true;
    EXPECT_EQ(RunLetterFamily(StubLetters()), 0);
    EXPECT_EQ(LetterList(), "HN");
}

TEST(LetterFamily, KnownPairsAreResolved) {
    DrawPlainBar();
    AcceptLetters("IT");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'T');

    // C and K are not a known pair.
    AcceptLetters("CK");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 0);
    EXPECT_EQ(LetterList(), "CK");

    // C and E: a glyph with more than three three-run columns in its left two thirds is an E.
    GlyphRows e(15, std::string(12, ' '));
    for (int r : {0, 1, 7, 13, 14}) e[r] = "############";
    for (std::string& row : e) row[0] = row[1] = '#';
    DrawProfileGlyph(e);
    AcceptLetters("CE");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'E');
    DrawPlainBar();
    AcceptLetters("CE");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'C');
}

TEST(LetterFamily, CAndGFollowTheOpenRightSide) {
    // A C: open on the right from the top bow to the bottom bow.
    GlyphRows c(20, "###         ");
    c[0] = c[1] = c[18] = c[19] = "############";
    DrawProfileGlyph(c);
    AcceptLetters("CG");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'C');

    // A G: its right side closes again below mid-height (a bar and a stem).
    GlyphRows g = c;
    for (int r = 10; r < 18; ++r) g[r] = "###      ###";
    g[10] = "###   ######";
    DrawProfileGlyph(g);
    AcceptLetters("CG");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'G');
}

TEST(LetterFamily, XAndHFollowTheStems) {
    // Parallel stems from the first two end points: H.
    DrawSkeleton({"#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########",
                  "#.......#", "#.......#", "#.......#", "#.......#", "#.......#"});
    ListEndpoints();
    ListJunctions();
    AcceptLetters("HX");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'H');
    // Crossing strokes: X.
    DrawSkeleton({"#.......#", ".#.....#.", "..#...#..", "...#.#...", "....#....", "...#.#...", "..#...#..",
                  ".#.....#.", "#.......#"});
    ListEndpoints();
    ListJunctions();
    AcceptLetters("XH");
    EXPECT_EQ(RunLetterFamily(StubLetters()), 'X');
}
