#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fusion_fixture.h"

namespace {

class ReceivedRecords : public FusionTest {
protected:
    void SetUp() override { StartSet(PhotoSetSix); }
};

RecognitionResult Unterminated(int camera, int side) {
    RecognitionResult r{};
    r.camera = static_cast<std::int8_t>(camera);
    r.side = static_cast<std::uint8_t>(side);
    std::memset(r.code, 'M', sizeof r.code);
    std::memset(r.sizeType, '4', sizeof r.sizeType);
    r.codeFound = CodeFlagAccepted;
    r.sizeTypeFound = 1;
    return r;
}

}  // namespace

TEST_F(ReceivedRecords, EachAnswerIsLoggedAndShown) {
    const std::string number = Number("MSCU123456");
    Send(Answer(2, 1, number, "45G1"));
    Send(Answer(1, 0, "", ""));
    const std::string log = number + " 45G1\r\n \r\n";
    EXPECT_EQ(std::string(fusion.ResultLog), log);
    ASSERT_EQ(window.shownLogs.size(), 2u);
    EXPECT_EQ(window.shownLogs.back(), log);
    EXPECT_EQ(fusion.m_resultCount, 2);
    EXPECT_EQ(fusion.ResultList[0].side, 1);

    fusion.ResetResultState();
    EXPECT_EQ(std::string(fusion.ResultLog), "");
    EXPECT_EQ(Shown(), (Fields{"", "", "", ""}));
    EXPECT_EQ(fusion.m_layout, LayoutUndecided);
    EXPECT_EQ(fusion.m_resultCount, 0);
}

TEST_F(ReceivedRecords, SizeTypeOfOneCharacterWithItsFlagSetIsNoVote) {
    RecognitionResult r = Answer(4, 0, "", "");
    r.sizeType[0] = '2';
    r.sizeTypeFound = 1;
    Send(r);
    EXPECT_EQ(fusion.m_layout, LayoutUndecided);
    EXPECT_EQ(fusion.m_resultCount, 1);
    EXPECT_EQ(std::string(fusion.ResultLog), " 2\r\n");

    StartSet(PhotoSetFour);
    for (int i = 0; i < 4; ++i) Send(r);
    EXPECT_EQ(Shown(), (Fields{"", FourPhotoDefaultType, "", ""}));
    EXPECT_EQ(fusion.m_type1Decided, 0);
}

TEST_F(ReceivedRecords, UnterminatedStringsAreCutAtTheirFieldsEnd) {
    Send(Unterminated(4, 0));
    EXPECT_EQ(std::string(fusion.ResultLog), std::string(15, 'M') + " " + std::string(7, '4') + "\r\n");
    EXPECT_EQ(fusion.m_layout, LayoutUndecided);
    EXPECT_EQ(fusion.ResultList[0].codeFound, CodeFlagNone);
    EXPECT_EQ(fusion.ResultList[0].sizeTypeFound, 0);

    // Such answers still count: the sixth decides, from the sound answers only.
    const std::string number = Number("ZIMU314159");
    for (int i = 0; i < 4; ++i) Send(Unterminated(1, 0));
    Send(Answer(2, 0, number, ""));
    EXPECT_EQ(fusion.m_resultCount, 6);
    EXPECT_EQ(Shown(), (Fields{number, "", "", ""}));
}

TEST_F(ReceivedRecords, FieldsOutsideTheProtocolTakeNoPart) {
    const std::string number = Number("MSCU123456");
    std::string lower = number;
    lower[0] = 'm';
    std::string high = number;
    high[5] = '\xb1';
    RecognitionResult badFlag = Answer(4, 0, number, "45G1");
    badFlag.codeFound = 7;
    badFlag.sizeTypeFound = 9;
    RecognitionResult shortCode = Answer(4, 0, "MSCU12", "45G");

    SendAll({Answer(4, 0, lower, "45g1"), Answer(1, 0, high, "4\x01G1"), badFlag, shortCode,
             Answer(3, 0, "", "")});
    EXPECT_EQ(fusion.m_layout, LayoutUndecided);
    for (int i = 0; i < fusion.m_resultCount; ++i) {
        EXPECT_EQ(fusion.ResultList[i].codeFound, CodeFlagNone) << i;
        EXPECT_EQ(fusion.ResultList[i].sizeTypeFound, 0) << i;
    }
    Send(Answer(3, 1, "", ""));
    EXPECT_EQ(Shown(), (Fields{"", "", "", ""}));
    EXPECT_EQ(fusion.m_resultCount, 6);
}

TEST_F(ReceivedRecords, RefusedReadStoresAndLogsNothing) {
    const std::string number = Number("MSCU123456");
    Send(Answer(4, 0, number, "45G1"));
    // A block that is gone (or never written) is refused; the earlier record is not reused.
    EXPECT_EQ(fusion.OnRecognizerResult(0, 0x1234), 0);
    EXPECT_EQ(fusion.m_resultCount, 1);
    EXPECT_EQ(window.shownLogs.size(), 1u);
    EXPECT_EQ(window.invalidations, 1);
    EXPECT_EQ(std::string(fusion.ResultLog), number + " 45G1\r\n");

    // A block too small for the record is refused as well.
    std::vector<unsigned char> half(sizeof(RecognitionResult) / 2, 'A');
    const auto address = reinterpret_cast<std::uintptr_t>(half.data());
    window.blocks[address] = half;
    EXPECT_EQ(fusion.OnRecognizerResult(0, static_cast<std::intptr_t>(address)), 0);
    EXPECT_EQ(fusion.m_resultCount, 1);
}

TEST_F(ReceivedRecords, MoreAnswersThanTheListHoldsAreLoggedAsFarAsThereIsRoom) {
    const std::string number = Number("MSCU123456");
    for (int i = 0; i < ResultListCapacity + 6; ++i) Send(Answer(2, i % 2, number, "45G1"));
    EXPECT_EQ(fusion.m_resultCount, ResultListCapacity);
    EXPECT_EQ(window.shownLogs.size(), static_cast<std::size_t>(ResultListCapacity + 6));
    const std::string line = number + " 45G1\r\n";
    std::string expected;
    while (expected.size() + line.size() <= ResultLogSize - 1) expected += line;
    expected += line.substr(0, ResultLogSize - 1 - expected.size());
    EXPECT_EQ(std::string(fusion.ResultLog), expected);
    EXPECT_EQ(Shown(), (Fields{number, "45G1", "", ""}));
}
