#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fusion_fixture.h"

namespace {

class FourPhotos : public FusionTest {
protected:
    void SetUp() override { StartSet(PhotoSetFour); }
};

}  // namespace

TEST_F(FourPhotos, FoundCodeShownAtOnceAndTypeAsSoonAsVoted) {
    const std::string number = Number("TGHU860311");
    Send(Answer(4, 0, number, ""));
    EXPECT_EQ(Shown(), (Fields{number, "", "", ""}));
    EXPECT_EQ(fusion.m_layout, LayoutFourPhotos);
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);

    Send(Answer(1, 0, "", "22?1"));  // a vote with an unknown position shows nothing yet
    EXPECT_EQ(Shown(), (Fields{number, "", "", ""}));
    EXPECT_EQ(fusion.m_type1Decided, 0);

    Send(Answer(3, 0, "", "22G1"));
    EXPECT_EQ(Shown(), (Fields{number, "22G1", "", ""}));
    EXPECT_EQ(fusion.m_type1Decided, 1);

    // Decided fields are not voted again: a later reading changes nothing.
    Send(Answer(2, 0, Number("MSCU000001"), "42G1"));
    EXPECT_EQ(Shown(), (Fields{number, "22G1", "", ""}));
    EXPECT_EQ(fusion.m_resultCount, 4);
    EXPECT_EQ(window.invalidations, 4);
}

TEST_F(FourPhotos, AnyOrderOfAgreeingAnswersGivesTheSameFields) {
    const std::string number = Number("OOLU812345");
    std::vector<RecognitionResult> answers = {
        Answer(4, 0, number, "22G1"), Answer(1, 0, "", ""), Answer(3, 0, number, "22?1"),
        Answer(2, 0, "", "22G1")};
    std::vector<int> order = {0, 1, 2, 3};
    do {
        StartSet(PhotoSetFour);
        for (const int i : order) Send(answers[i]);
        EXPECT_EQ(Shown(), (Fields{number, "22G1", "", ""}));
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(FourPhotos, FourthAnswerVotesCodesBeforeFallingBack) {
    // No answer has an accepted code: at the fourth the votes run over every found code.
    const std::string number = Number("CMAU123456");
    SendAll({Fallback(4, 0, number), Answer(1, 0, "", "45G1"), Fallback(3, 0, number)});
    EXPECT_EQ(Shown(), (Fields{"", "45G1", "", ""}));
    Send(Answer(2, 0, "", ""));
    EXPECT_EQ(Shown(), (Fields{number, "45G1", "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);
}

TEST_F(FourPhotos, UndecidableVotesFallBackToTheFirstFallbackCode) {
    const std::string first = "ABCU1234567", second = "XYZU7654321";
    SendAll({Answer(4, 0, "", ""), Fallback(1, 0, first), Fallback(3, 0, second)});
    EXPECT_EQ(Shown(), (Fields{"", "", "", ""}));
    Send(Answer(2, 0, "", ""));
    EXPECT_EQ(Shown(), (Fields{first, FourPhotoDefaultType, "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeFromFallback);
    EXPECT_EQ(fusion.m_type1Decided, 0);

    // An accepted code arriving late still replaces the fallback.
    const std::string late = Number("MSCU555555");
    Send(Answer(4, 0, late, ""));
    EXPECT_EQ(fusion.m_code1, late);
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);
}

TEST_F(FourPhotos, NothingFoundShowsTheDefaultTypeOnly) {
    SendAll({Answer(4, 0, "", ""), Answer(1, 0, "", "?5G1"), Answer(3, 0, "", "")});
    EXPECT_EQ(Shown(), (Fields{"", "", "", ""}));
    Send(Answer(2, 0, "", "???1"));
    EXPECT_EQ(Shown(), (Fields{"", "22G1", "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeOpen);
    EXPECT_EQ(fusion.m_type1Decided, 0);
}

TEST_F(FourPhotos, EarlyTypeIsVotedAgainAtTheFourthWhileTheCodeIsOpen) {
    SendAll({Answer(4, 0, "", "42G1"), Answer(1, 0, "", "45G1"), Answer(3, 0, "", "45G1")});
    EXPECT_EQ(fusion.m_type1, std::string("42G1"));
    Send(Answer(2, 0, "", ""));
    EXPECT_EQ(fusion.m_type1, std::string("45G1"));

    // With the code decided as well, the first decision stands.
    StartSet(PhotoSetFour);
    const std::string number = Number("EISU100200");
    SendAll({Answer(4, 0, number, "42G1"), Answer(1, 0, "", "45G1"), Answer(3, 0, "", "45G1"),
             Answer(2, 0, "", "")});
    EXPECT_EQ(Shown(), (Fields{number, "42G1", "", ""}));
}
