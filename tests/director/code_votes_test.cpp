#include "director/code_votes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "director/owner_codes.h"
#include "fusion_fixture.h"

namespace {

struct VoteResult {
    int decided;
    std::string code;
    bool operator==(const VoteResult&) const = default;
};

VoteResult DecideCodeOf(const std::vector<std::string>& texts) {
    CodeVoting votes{};
    std::snprintf(votes.DecidedCode, sizeof votes.DecidedCode, "untouched");
    votes.ClearCodeVotes();
    for (const auto& t : texts) votes.VoteContainerCode(t.c_str());
    const int decided = votes.DecideContainerCode();
    return {decided, votes.DecidedCode};
}

VoteResult DecideTypeOf(const std::vector<std::string>& texts) {
    CodeVoting votes{};
    votes.ClearSizeTypeVotes();
    for (const auto& t : texts) votes.VoteSizeTypeCode(t.c_str());
    const int decided = votes.DecideSizeTypeCode();
    return {decided, votes.DecidedSizeType};
}

// The number with the first digit at `position` (ascending) that makes it valid, or "".
std::string FirstValidWithDigitAt(std::string number, int position) {
    for (char d = '0'; d <= '9'; ++d) {
        number[position] = d;
        if (IsCheckDigitValid(number.c_str())) return number;
    }
    return "";
}

}  // namespace

TEST(CodeTables, SymbolsOwnerCodesAndCheckDigit) {
    EXPECT_EQ(SymbolToChar(0), '0');
    EXPECT_EQ(SymbolToChar(9), '9');
    EXPECT_EQ(SymbolToChar(10), 'A');
    EXPECT_EQ(SymbolToChar(35), 'Z');
    for (int s = 0; s < SymbolCount; ++s) EXPECT_EQ(SymbolOf(SymbolToChar(s)), s);
    for (const char c : {'?', 'a', '\0', '/', ':', '@', '[', '\xff'}) EXPECT_EQ(SymbolOf(c), NoSymbol);

    EXPECT_EQ(std::string(OwnerCodes[0]), "ABLU");
    EXPECT_EQ(std::string(OwnerCodes[OwnerCodeCount - 1]), "ZRMU");
    EXPECT_EQ(std::string(OwnerCodes[117]), "MOGU");
    EXPECT_EQ(std::string(OwnerCodes[120]), "MOGU");
    for (const auto& entry : OwnerCodes) EXPECT_EQ(OwnerCodeMatchLevel(entry), 4) << entry;
    EXPECT_EQ(OwnerCodeMatchLevel("HLCU1234567"), 4);
    EXPECT_EQ(OwnerCodeMatchLevel("MSCX"), 3);
    EXPECT_EQ(OwnerCodeMatchLevel("QQQQ"), 0);
    EXPECT_EQ(OwnerCodeMatchLevel("MS"), 2);  // a short text is not read past its end

    EXPECT_EQ(IsCheckDigitValid("CSQU3054383"), 1);
    EXPECT_EQ(IsCheckDigitValid("CSQU3054384"), 0);
    EXPECT_EQ(IsCheckDigitValid(Number("HLCU123456").c_str()), 1);
    EXPECT_EQ(IsCheckDigitValid("CSQU30?4383"), 0);
    // The "unknown" answer of the check digit never matches, whatever stands at the end.
    EXPECT_EQ(IsCheckDigitValid("CSQU30?438\xff"), 0);
}

TEST(SizeTypeVotes, MajorityLowestSymbolOnTieAndUnknownPositions) {
    EXPECT_EQ(DecideTypeOf({"45G1", "45G1", "42R1"}).code, "45G1");
    EXPECT_EQ(DecideTypeOf({"45R1", "45G1"}).code, "45G1");  // tie: "G" before "R"
    EXPECT_EQ(DecideTypeOf({"L5G1", "45G1"}).code, "45G1");  // tie: digits before letters
    const VoteResult unknown = DecideTypeOf({"22?1", "2??1"});
    EXPECT_EQ(unknown.decided, 0);
    EXPECT_EQ(unknown.code, "22?1");
    EXPECT_EQ(DecideTypeOf({}).code, "????");
    EXPECT_EQ(DecideTypeOf({"22G1"}).decided, 1);
}

TEST(SizeTypeVotes, ThreeCountsAsTwoInTheLengthDigitOnly) {
    CodeVoting votes{};
    votes.ClearSizeTypeVotes();
    for (const char* t : {"22G1", "32G1", "22G1"}) votes.VoteSizeTypeCode(t);
    EXPECT_EQ(votes.SizeTypeVotes[0][2], 3);
    EXPECT_EQ(votes.SizeTypeVotes[0][3], 0);
    // Codes in use with a "3" after the length digit keep it, read once or by every camera.
    for (const char* code : {"4310", "2232", "2263", "4332"}) {
        EXPECT_EQ(DecideTypeOf({code}), (VoteResult{1, code}));
        EXPECT_EQ(DecideTypeOf({code, code, code}), (VoteResult{1, code}));
    }
}

TEST(SizeTypeVotes, CharactersOutsideTheSymbolsAndTextEndGiveNoVote) {
    CodeVoting votes{};
    votes.ClearSizeTypeVotes();
    const char shortText[8] = {'2', '\0', 'Q', 'Q', 0, 0, 0, 0};  // bytes after the end
    votes.VoteSizeTypeCode(shortText);
    votes.VoteSizeTypeCode("a\x01\xff:");
    int total = 0;
    for (const auto& row : votes.SizeTypeVotes) {
        for (const int count : row) total += count;
    }
    EXPECT_EQ(total, 1);
    EXPECT_EQ(votes.SizeTypeVotes[0][2], 1);
    EXPECT_EQ(votes.DecideSizeTypeCode(), 0);
    EXPECT_STREQ(votes.DecidedSizeType, "2???");
}

TEST(ContainerVotes, SurePositionsNeedNoTests) {
    // Every position sure: the majority stands although neither owner nor digit is checked.
    const std::string wrong = WrongNumber("QQQU123456");
    std::string other = wrong;
    other[10] = other[10] == '7' ? '8' : '7';
    const VoteResult r = DecideCodeOf({wrong, other, wrong});
    EXPECT_EQ(r.decided, 1);
    EXPECT_EQ(r.code, wrong);
    // One answer alone: every single becomes sure.
    EXPECT_EQ(DecideCodeOf({wrong}).code, wrong);
    // Letters count only in the owner code, digits only after it.
    const std::string msc = Number("MSCU123456");
    std::string misread = msc;
    misread[1] = '5';
    misread[9] = 'B';
    EXPECT_EQ(DecideCodeOf({msc, misread}).code, msc);
}

TEST(ContainerVotes, TiedCheckDigitTriedInAscendingOrder) {
    const std::string valid = Number("MSCU123456");
    const char right = valid[10];
    std::string low = valid, high = valid;
    low[10] = right == '0' ? '1' : '0';
    high[10] = right == '9' ? '8' : '9';
    // Two votes each at positions 0 to 9 and one each for two digits at position 10.
    EXPECT_EQ(DecideCodeOf({valid, valid.substr(0, 10) + low[10], valid.substr(0, 10)}).code,
              valid);
    EXPECT_EQ(DecideCodeOf({valid, low}).code, valid);
    EXPECT_EQ(DecideCodeOf({high, valid}).code, valid);
    const VoteResult neither = DecideCodeOf({low, high});
    EXPECT_EQ(neither.decided, 0);
    EXPECT_EQ(neither.code, "untouched");
    // A sure number of an unknown owner is fine; an unsure one must be a known owner's.
    EXPECT_EQ(DecideCodeOf({Number("QQQU123456"), WrongNumber("QQQU123456")}).decided, 0);
}

TEST(ContainerVotes, PositionWithoutVotesIsFilledFromAllItsSymbols) {
    // Every answer has a letter at position 9: the ten digits are tried there.
    std::string misread = Number("TGHU123457");
    misread[9] = 'O';
    const std::string expected = FirstValidWithDigitAt(misread, 9);
    ASSERT_FALSE(expected.empty());
    CodeVoting votes{};
    votes.ClearCodeVotes();
    for (int i = 0; i < 2; ++i) votes.VoteContainerCode(misread.c_str());
    EXPECT_EQ(votes.DecideContainerCode(), 1);
    EXPECT_EQ(std::string(votes.DecidedCode), expected);
    for (int s = 0; s < DigitCount; ++s) EXPECT_EQ(votes.CodeVotes[9][s], 1);
    EXPECT_EQ(votes.CodeVotes[9][SymbolOf('O')], 0);

    // An unread owner letter is completed from the owner table.
    const std::string msc = Number("MSCU765432");
    EXPECT_EQ(DecideCodeOf({"?SCU" + msc.substr(4)}).code, msc);
    const std::string hlcu = Number("HLCU481516");
    EXPECT_EQ(DecideCodeOf({"HL?U" + hlcu.substr(4), "HL?U" + hlcu.substr(4)}).code, hlcu);
}

TEST(ContainerVotes, LowestUnknownPositionVariesSlowest) {
    // Positions 8 and 10 are unknown; two combinations pass. Ascending order at position 8
    // must win over ascending order at position 10.
    const std::string base = "OOLU123406";
    for (char a = '0'; a <= '9'; ++a) {
        for (char b = a + 1; b <= '9'; ++b) {
            std::string withA = base, withB = base;
            withA[8] = a;
            withB[8] = b;
            const std::string numberA = Number(withA), numberB = Number(withB);
            if (numberB[10] >= numberA[10]) continue;
            EXPECT_EQ(DecideCodeOf({numberA, numberB}).code, numberA);
            EXPECT_EQ(DecideCodeOf({numberB, numberA}).code, numberA);
            return;
        }
    }
    FAIL() << "no pair of serials found";
}

TEST(ContainerVotes, MoreThanThreeUnknownPositionsDecideNothing) {
    EXPECT_EQ(DecideCodeOf({"MSCU12????5"}).decided, 0);
    EXPECT_EQ(DecideCodeOf({}).decided, 0);
    EXPECT_EQ(DecideCodeOf({"MSCU123????"}).decided, 0);
    const VoteResult three = DecideCodeOf({"MSCU1234???"});
    EXPECT_EQ(three.decided, 1);
    EXPECT_EQ(IsCheckDigitValid(three.code.c_str()), 1);
    EXPECT_EQ(three.code.substr(0, 10), "MSCU123400");
    // Two sure positions and ties everywhere else.
    EXPECT_EQ(DecideCodeOf({"ABCU1234567", "XYZU7654321"}).decided, 0);
}
