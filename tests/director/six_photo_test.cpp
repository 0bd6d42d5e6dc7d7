#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fusion_fixture.h"

namespace {

class SixPhotos : public FusionTest {
protected:
    void SetUp() override { StartSet(PhotoSetSix); }

    // Every order of the six answers ends with the same fields.
    void ExpectAnyOrderGives(const std::vector<RecognitionResult>& answers, const Fields& fields) {
        std::vector<int> order = {0, 1, 2, 3, 4, 5};
        int orders = 0;
        do {
            StartSet(PhotoSetSix);
            for (const int i : order) Send(answers[i]);
            ASSERT_EQ(Shown(), fields) << "order " << orders;
            ++orders;
        } while (std::next_permutation(order.begin(), order.end()));
        EXPECT_EQ(orders, 720);
    }
};

// The six views of a set: front, rear, right side 1, left side 2, right side 2, left side 1.
struct View {
    int camera;
    int side;
};
constexpr View Front{4, 0}, Rear{1, 0}, RightA{3, 0}, LeftB{2, 1}, RightB{3, 1}, LeftA{2, 0};

RecognitionResult At(View view, const std::string& code, const std::string& type) {
    return Answer(view.camera, view.side, code, type);
}

RecognitionResult FallbackAt(View view, const std::string& code) {
    return Fallback(view.camera, view.side, code);
}

}  // namespace

TEST_F(SixPhotos, LongTypeMeansOneContainer) {
    const std::string number = Number("MSCU401234");
    Send(At(Rear, "", "45G1"));
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
    EXPECT_EQ(Shown(), (Fields{"", "45G1", "", ""}));
    Send(At(LeftB, number, ""));
    EXPECT_EQ(Shown(), (Fields{number, "45G1", "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);

    for (const char* type : {"L5G1", "9500"}) {
        StartSet(PhotoSetSix);
        Send(At(Front, "", type));
        EXPECT_EQ(fusion.m_layout, LayoutOneContainer) << type;
    }
}

TEST_F(SixPhotos, OneContainerInAnyOrder) {
    const std::string number = Number("CMAU771100");
    const std::string misread = "CMAU77110?" + number.substr(10);
    ExpectAnyOrderGives({At(Front, "", "45G1"), At(Rear, number, "45G1"), FallbackAt(RightA, misread),
                         At(LeftB, number, "45G1"), At(RightB, "", ""), At(LeftA, number, "45G1")},
                        {number, "45G1", "", ""});
}

TEST_F(SixPhotos, UnknownTypeCharactersAreTakenFromLaterReadings) {
    SendAll({At(Front, "", "45?1"), At(Rear, "", "4??1"), At(RightA, "", "?5G?")});
    EXPECT_EQ(fusion.m_type1, std::string("45G1"));
    EXPECT_EQ(fusion.m_type1Decided, CodeDecided);
}

TEST_F(SixPhotos, OneContainerVotedAtTheSixth) {
    // No accepted code: the sixth answer votes the found codes and the types.
    const std::string number = Number("TCNU246800");
    SendAll({At(Front, "", "4??1"), FallbackAt(Rear, number), FallbackAt(RightA, number),
             At(LeftB, "", ""), At(RightB, "", "")});
    EXPECT_EQ(Shown(), (Fields{"", "4??1", "", ""}));
    Send(At(LeftA, "", ""));
    EXPECT_EQ(Shown(), (Fields{number, OneContainerDefaultType, "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);
    EXPECT_EQ(fusion.m_type1Decided, 0);
}

TEST_F(SixPhotos, ShortTypeMeansTwoContainersByRole) {
    const std::string a = Number("TGHU111111"), b = Number("OOLU222222");
    Send(At(LeftB, b, "22R1"));
    EXPECT_EQ(fusion.m_layout, LayoutTwoContainers);
    EXPECT_EQ(Shown(), (Fields{"", "", b, ""}));
    Send(At(RightA, a, ""));
    // Both numbers in: the types are voted per role, the undecided one shown as the default.
    EXPECT_EQ(Shown(), (Fields{a, TwoContainerDefaultType, b, "22R1"}));
    Send(At(Front, "", "22G0"));
    EXPECT_EQ(Shown(), (Fields{a, "22G0", b, "22R1"}));
}

TEST_F(SixPhotos, TwoContainersInAnyOrder) {
    const std::string a = Number("EISU300400"), b = Number("HLCU500600");
    ExpectAnyOrderGives({At(Front, a, "22G1"), At(Rear, b, "22U1"), At(RightA, a, "22G1"),
                         At(LeftB, b, ""), At(RightB, "", "22U1"), At(LeftA, "", "")},
                        {a, "22G1", b, "22U1"});
}

TEST_F(SixPhotos, TwoContainersVotedPerRoleAtTheSixth) {
    const std::string a = Number("MOGU123123");
    const std::string b = Number("YMLU456456");
    SendAll({At(Front, "", "22G1"), FallbackAt(Rear, b), FallbackAt(RightA, a),
             FallbackAt(LeftB, b), FallbackAt(RightB, "ZZZU0000000")});
    EXPECT_EQ(Shown(), (Fields{"", "", "", ""}));
    Send(FallbackAt(LeftA, a));
    // Role B outvotes its misreading two to one at every position.
    EXPECT_EQ(fusion.m_code1, a);
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);
    EXPECT_EQ(fusion.m_code2, b);
    EXPECT_EQ(Shown(), (Fields{a, "22G1", b, TwoContainerDefaultType}));
}

TEST_F(SixPhotos, UndecidedLayoutFirstTypeCharacter) {
    for (const char* type : {"12G1", "?2G1", "52G1", "A2G1"}) {
        StartSet(PhotoSetSix);
        Send(At(Front, "", type));
        EXPECT_EQ(fusion.m_layout, LayoutUndecided) << type;
    }
    Send(At(Rear, "", "22G1"));
    EXPECT_EQ(fusion.m_layout, LayoutTwoContainers);
}

TEST_F(SixPhotos, NoTypeDifferentCodesOfTheRolesAreTwoContainers) {
    const std::string a = Number("APLU909090"), b = Number("APLU909091");
    SendAll({At(Front, "", ""), At(Rear, "", ""), At(RightA, a, ""), At(LeftB, "", ""),
             At(RightB, b, ""), At(LeftA, "", "")});
    EXPECT_EQ(fusion.m_layout, LayoutTwoContainers);
    EXPECT_EQ(Shown(), (Fields{a, TwoContainerDefaultType, b, TwoContainerDefaultType}));
}

TEST_F(SixPhotos, NoTypeEqualCodesOfTheRolesAreOneContainer) {
    const std::string number = Number("WHLU123987");
    SendAll({At(Front, number, ""), At(Rear, "", ""), At(RightA, "", ""), At(LeftB, number, ""),
             At(RightB, "", ""), At(LeftA, "", "")});
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
    EXPECT_EQ(Shown(), (Fields{number, OneContainerDefaultType, "", ""}));
}

TEST_F(SixPhotos, NoTypeCodesOfOneRoleOnly) {
    const std::string a = Number("SEAU000111"), b = Number("SEAU000222");
    SendAll({At(Front, "", ""), At(Rear, "", ""), At(RightA, a, ""), At(LeftB, "", ""),
             At(RightB, "", ""), At(LeftA, Number("SEAU999999"), "")});
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
    EXPECT_EQ(Shown(), (Fields{a, "", "", ""}));

    StartSet(PhotoSetSix);
    SendAll({At(Front, "", ""), At(Rear, b, ""), At(RightA, "", ""), At(LeftB, "", ""),
             At(RightB, "", ""), At(LeftA, "", "")});
    EXPECT_EQ(Shown(), (Fields{b, "", "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);
}

TEST_F(SixPhotos, NoFoundCodeRoleVotesThatDifferAreTwoContainers) {
    const std::string a = Number("KKFU123450"), b = Number("NYKU678901");
    SendAll({FallbackAt(Front, a), FallbackAt(Rear, b), At(RightA, "", ""), At(LeftB, "", ""),
             At(RightB, "", ""), At(LeftA, "", "")});
    EXPECT_EQ(fusion.m_layout, LayoutTwoContainers);
    EXPECT_EQ(Shown(), (Fields{a, "", b, ""}));
}

TEST_F(SixPhotos, NoFoundCodeRoleVotesThatAgreeAreVotedAsOne) {
    // The roles decide numbers that differ in one position: one container, voted over all.
    const std::string number = Number("GESU123456");
    const std::string misread = WrongNumber("GESU123456");
    SendAll({FallbackAt(Front, misread), FallbackAt(Rear, number), At(RightA, "", ""),
             At(LeftB, "", ""), At(RightB, "", ""), At(LeftA, "", "")});
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
    EXPECT_EQ(Shown(), (Fields{number, "", "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeDecided);
}

TEST_F(SixPhotos, NoFoundCodeUndecidableVotesTakeTheFirstFoundCode) {
    const std::string first = "ABCU1234567";
    SendAll({At(Front, "", ""), FallbackAt(Rear, first), FallbackAt(LeftB, "XYZU7654321"),
             At(RightA, "", ""), At(RightB, "", ""), At(LeftA, "", "")});
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
    EXPECT_EQ(Shown(), (Fields{first, "", "", ""}));
    EXPECT_EQ(fusion.m_code1Decided, CodeFromFallback);

    StartSet(PhotoSetSix);  // nothing found at all
    for (int i = 0; i < 6; ++i) Send(At(Front, "", ""));
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
    EXPECT_EQ(Shown(), (Fields{"", "", "", ""}));
}

TEST_F(SixPhotos, AnswersBeyondTheSixthAreStoredAndChangeNoDecision) {
    const std::string a = Number("TCKU100001"), b = Number("TCKU200002");
    SendAll({At(Front, a, "22G1"), At(Rear, b, "22G1"), At(RightA, a, ""), At(LeftB, b, ""),
             At(RightB, "", ""), At(LeftA, "", "")});
    const Fields decided = Shown();
    EXPECT_EQ(decided, (Fields{a, "22G1", b, "22G1"}));
    SendAll({At(Front, Number("MSKU777777"), "45G1"), At(Rear, "", "")});
    EXPECT_EQ(fusion.m_resultCount, 8);
    EXPECT_EQ(Shown(), decided);
}

TEST_F(SixPhotos, UnsetPhotoSetRunsTheSixPhotoSteps) {
    StartSet(PhotoSetNone);
    Send(At(Front, "", "45G1"));
    EXPECT_EQ(fusion.m_layout, LayoutOneContainer);
}
