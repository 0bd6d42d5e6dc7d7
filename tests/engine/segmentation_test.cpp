#include "engine/location/segmentation.h"

#include <gtest/gtest.h>

#include <string_view>

#include "engine/location/components.h"
#include "engine/location/line_boxes.h"
#include "support/location_frames.h"

namespace {

constexpr int LineLeft = 40;
constexpr int LineTop = 200;
const CharBox LineRect{20, 196, 590, 270};

class SegmentationTest : public ::testing::Test {
protected:
    const drawing::CharStyle style;

    void SetUp() override {
        drawing::FillPlane(WorkImage, 180);
        VerticalModeFlag = 0;
        CodeFoundFlag = 0;
    }
    void TearDown() override {
        VerticalModeFlag = 0;
        CodeFoundFlag = 0;
    }

    int CharLeft(int position) const { return LineLeft + position * style.Pitch(); }

    // Draws the text, binarizes the frame and segments one candidate over the line.
    int SegmentText(std::string_view text, int strongLevel = 120) {
        drawing::DrawTextLine(WorkImage, text, LineLeft, LineTop, style);
        return SegmentDrawn(strongLevel);
    }

    int SegmentDrawn(int strongLevel = 120) {
        drawing::BinarizeFrame(40);
        StrongEdgeLevel = static_cast<std::int16_t>(strongLevel);
        drawing::SetCandidates({LineRect});
        return SegmentAllCandidates();
    }

    const LineCandidate& Line() const { return LineCandidates[0]; }

    // The boxes sit on the characters drawn at these positions of the line.
    void ExpectBoxesAt(std::initializer_list<int> positions) const {
        ASSERT_EQ(Line().charCount, static_cast<int>(positions.size()));
        int i = 0;
        for (int position : positions) {
            const CharBox& box = Line().boxes[i++];
            EXPECT_GE(box.left, CharLeft(position) - 1) << "box " << i - 1;
            EXPECT_LE(box.right, CharLeft(position) + style.Width()) << "box " << i - 1;
            EXPECT_GT(box.right - box.left, style.Width() / 2) << "box " << i - 1;
        }
    }
};

TEST_F(SegmentationTest, CleanLinesGiveOneBoxPerCharacter) {
    ASSERT_EQ(SegmentText("TGHU1234567"), SegmentKeep);
    EXPECT_EQ(Line().status, CandidatePending);
    ExpectBoxesAt({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(Line().charHeight, style.Height() + 2);
    EXPECT_EQ(Line().centreLine, LineTop + style.Height() / 2 - 1);
    EXPECT_EQ(Line().boxGap, 8);
    EXPECT_EQ(Line().retryCount, 0);

    drawing::FillPlane(WorkImage, 180);
    ASSERT_EQ(SegmentText("MSKU"), SegmentKeep);
    ExpectBoxesAt({0, 1, 2, 3});

    drawing::FillPlane(WorkImage, 180);
    ASSERT_EQ(SegmentText("1234567"), SegmentKeep);
    EXPECT_EQ(Line().charCount, 7);

    drawing::FillPlane(WorkImage, 180);
    ASSERT_EQ(SegmentText("TGHU1111111"), SegmentKeep);
    EXPECT_EQ(Line().charCount, 11) << "narrow ones stay separate boxes";
}

TEST_F(SegmentationTest, NoiseSpecksDoNotBecomeBoxes) {
    drawing::FillRect(WorkImage, 105, 190, 107, 192, 50);   // above the line
    drawing::FillRect(WorkImage, 167, 220, 169, 222, 50);   // in a gap
    drawing::FillRect(WorkImage, 420, 205, 422, 207, 50);   // after the line
    ASSERT_EQ(SegmentText("TGHU1234567"), SegmentKeep);
    ExpectBoxesAt({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
}

TEST_F(SegmentationTest, TwoComponentsAreSkipped) {
    ASSERT_EQ(SegmentText("TG"), SegmentKeep);
    EXPECT_EQ(Line().status, CandidateSkip);
}

TEST_F(SegmentationTest, ThreeThreeOneLayoutPassesTheWideGapRule) {
    ASSERT_EQ(SegmentText("TGH  123  4"), SegmentKeep);
    ExpectBoxesAt({0, 1, 2, 5, 6, 7, 10});
    // A first wide gap after box 1 cuts off the first two boxes.
    drawing::FillPlane(WorkImage, 180);
    ASSERT_EQ(SegmentText("TG  HU1  23"), SegmentKeep);
    ExpectBoxesAt({4, 5, 6, 9, 10});
    // One wide gap after box 3 with nothing to drop behind it: the rules go on to the end.
    drawing::FillPlane(WorkImage, 180);
    ASSERT_EQ(SegmentText("TGHU  1234567"), SegmentKeep);
    ExpectBoxesAt({0, 1, 2, 3, 6, 7, 8, 9, 10, 11, 12});
}

TEST_F(SegmentationTest, SizeTypeLine) {
    CodeFoundFlag = 1;
    drawing::DrawTextLine(WorkImage, "45G1", LineLeft, LineTop, style);
    drawing::BinarizeFrame(40);
    drawing::SetCandidates({LineRect});
    ComponentBoxCount = 0;
    LineCandidates[0].firstComponent = 0;
    ASSERT_EQ(FindComponentBoxes(BoxTopLeft(LineRect), BoxBottomRight(LineRect), ScanColumns, 1), 0);
    LineCandidates[0].lastComponent = static_cast<std::int16_t>(ComponentBoxCount - 1);
    ASSERT_EQ(SegmentTypeCandidate(0), SegmentKeep);
    ExpectBoxesAt({0, 1, 2, 3});
}

TEST_F(SegmentationTest, ASerialNumberSetLowerLosesTheOwnerCode) {
    drawing::DrawTextLine(WorkImage, "TGHU", LineLeft, LineTop, style);
    drawing::DrawTextLine(WorkImage, "1234567", CharLeft(4), LineTop + 20, style);
    ASSERT_EQ(SegmentDrawn(), SegmentKeep);
    ExpectBoxesAt({4, 5, 6, 7, 8, 9, 10});
}

TEST_F(SegmentationTest, ATwelfthBoxOfSpecksIsDropped) {
    // Dots 3 wide, 6 high, stacked 12 rows apart beyond the 11th character.
    auto dots = [&](int count) {
        const int x = CharLeft(11) + 6;
        for (int k = 0; k < count; ++k) drawing::FillRect(WorkImage, x, LineTop + 2 + 12 * k, x + 2, LineTop + 7 + 12 * k, 50);
    };
    drawing::DrawTextLine(WorkImage, "TGHU1234567", LineLeft, LineTop, style);
    dots(4);
    ASSERT_EQ(SegmentDrawn(), SegmentKeep);
    EXPECT_EQ(Line().charCount, 11);

    drawing::FillPlane(WorkImage, 180);
    drawing::DrawTextLine(WorkImage, "TGHU1234567", LineLeft, LineTop, style);
    dots(3);
    ASSERT_EQ(SegmentDrawn(), SegmentKeep);
    EXPECT_EQ(Line().charCount, 12);
}

TEST_F(SegmentationTest, RunTogetherCharactersAreCutAtTheirBridge) {
    // "3" and "4" joined by a 2-row bridge across their gap: one wide piece.
    drawing::DrawTextLine(WorkImage, "TGHU1234567", LineLeft, LineTop, style);
    drawing::FillRect(WorkImage, CharLeft(6) + style.Width(), LineTop + 26, CharLeft(7), LineTop + 27, 50);
    // At a low strong-edge level the first threshold raise is already too high: the box is cut.
    ASSERT_EQ(SegmentDrawn(60), SegmentKeep);
    EXPECT_EQ(Line().retryCount, 1);
    EXPECT_EQ(RetriedWideBoxCount, 1);
    EXPECT_EQ(Line().charCount, 11);
}

TEST_F(SegmentationTest, WideBoxesAreBinarizedHigherUntilTheRetriesRunOut) {
    // A solid block of full contrast stays one wide piece at every threshold.
    drawing::DrawTextLine(WorkImage, "TGHU12", LineLeft, LineTop, style);
    drawing::FillRect(WorkImage, CharLeft(6), LineTop, CharLeft(6) + 60, LineTop + style.Height() - 1, 0);
    ASSERT_EQ(SegmentDrawn(245), SegmentKeep);
    EXPECT_EQ(Line().status, CandidateSkip);
    EXPECT_EQ(Line().retryCount, 11);
    ASSERT_EQ(RetriedWideBoxCount, 1);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 40 + 8 * 11);
}

// The segmenter alone, on boxes set by hand (W = 20, H = 40).
class SegmentRulesTest : public ::testing::Test {
protected:
    void SetUp() override { drawing::ResetSegmenterState(); }

    // Boxes 20 wide (r - l), 40 high, 8 apart, with the given widths where set.
    static void SetBoxes(int count, std::initializer_list<std::pair<int, int>> widths = {}) {
        LineBoxCount = 0;
        int left = 30;
        for (int i = 0; i < count; ++i) {
            int width = 20;
            for (const auto& [index, w] : widths) {
                if (index == i) width = w;
            }
            LineBoxes[i] = CharBox{static_cast<std::int16_t>(left), 200, static_cast<std::int16_t>(left + width), 240};
            LineBoxComponents[i] = ComponentRange{0, -1};
            left += width + 8;
            ++LineBoxCount;
        }
    }
};

TEST_F(SegmentRulesTest, WideBoxLimits) {
    SetBoxes(11, {{5, 30}});
    EXPECT_NE(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 0);

    SetBoxes(11, {{5, 31}});
    drawing::FillRect(BinaryBackup, 0, 0, FrameWidth - 1, 300, 1);
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    ASSERT_EQ(RetriedWideBoxCount, 1);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 48);
    EXPECT_EQ(BinaryBackup[PixelIndex(LineBoxes[5].left + 3, 220)], 0) << "the box was binarized again";
    EXPECT_EQ(BinaryBackup[PixelIndex(LineBoxes[5].left - 3, 220)], 1);
    // Met again, the same box is tried 8 levels higher.
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxCount, 1);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 56);

    // One of the last two boxes (index above 2) is wide only from W + 3W/4 = 35.
    RetriedWideBoxCount = 0;
    SetBoxes(11, {{9, 34}});
    EXPECT_NE(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    SetBoxes(11, {{9, 35}});
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    // The size/type segmenter has no such allowance.
    RetriedWideBoxCount = 0;
    SetBoxes(4, {{3, 31}});
    EXPECT_EQ(SegmentTypeCodeLine(0, 40, 20, 220, 9), SegmentRedo);
}

TEST_F(SegmentRulesTest, RetryThresholdsNeverWrap) {
    RetriedWideBoxCount = 1;
    RetriedWideBoxes[0] = RetriedWideBox{CharBox{0, 0, FrameWidth - 1, FrameHeight - 1}, 250};
    StrongEdgeLevel = 245;
    drawing::FillPlane(BinaryBackup, 1);  // no thin column to cut
    SetBoxes(11, {{5, 31}});
    EXPECT_NE(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 255);
    EXPECT_NE(SegmentCodeLine(0, 40, 20, 220, 9), SegmentRedo);
    EXPECT_EQ(RetriedWideBoxes[0].threshold, 255);
}

TEST_F(SegmentRulesTest, AnIsolatedFifthBoxOfEightIsFatal) {
    SetBoxes(8);
    for (int i = 4; i < 8; ++i) {
        LineBoxes[i].left = static_cast<std::int16_t>(LineBoxes[i].left + 22);
        LineBoxes[i].right = static_cast<std::int16_t>(LineBoxes[i].right + 22);
    }
    for (int i = 5; i < 8; ++i) {
        LineBoxes[i].left = static_cast<std::int16_t>(LineBoxes[i].left + 22);
        LineBoxes[i].right = static_cast<std::int16_t>(LineBoxes[i].right + 22);
    }
    drawing::FillPlane(BinaryBackup, 1);
    const CharBox fifth = LineBoxes[4];
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentFatal);
    EXPECT_EQ(BinaryBackup[PixelIndex(fifth.left - 16, 300)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(fifth.right, 340)], 0);
    EXPECT_EQ(BinaryBackup[PixelIndex(fifth.right + 1, 300)], 1);
}

// Ten boxes 30 apart (g = 38) with a sliver 6 wide 6 columns after box 5, `height` high
// (inclusive sizes).
void SetLineWithSliver(int height) {
    drawing::SetRow({20, 20, 20, 20, 20, 20, 5, 20, 20, 20, 20}, {30, 30, 30, 30, 30, 6, 30, 30, 30, 30});
    LineBoxes[6].bottom = static_cast<std::int16_t>(LineBoxes[6].top + height - 1);
}

TEST_F(SegmentRulesTest, NoiseBesideACloseNeighbourHasAHeightOverWidthQuotientAbove5Point6) {
    SetLineWithSliver(35);  // 35 / 6 is 5 as an integer quotient
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 11);
    SetLineWithSliver(36);
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 10);
}

TEST_F(SegmentRulesTest, CrowdedLinesLoseCloseBoxesWhoseQuotientIsAbove3Point4) {
    // Twelve boxes 30 apart and one 10 wide 6 columns after box 6: 35 / 10 is 3, so it stays.
    const auto setLine = [](int height) {
        drawing::SetRow({20, 20, 20, 20, 20, 20, 20, 9, 20, 20, 20, 20, 20},
                        {30, 30, 30, 30, 30, 30, 6, 30, 30, 30, 30, 30});
        LineBoxes[7].bottom = static_cast<std::int16_t>(LineBoxes[7].top + height - 1);
    };
    setLine(35);
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 13);
    // 40 / 10 is 4: it goes.
    setLine(40);
    SegmentCodeLine(0, 40, 20, 220, 9);
    EXPECT_EQ(LineBoxCount, 12);
}

TEST_F(SegmentRulesTest, ThinAndFaintBoxesAreMeasuredByTheIntegerQuotient) {
    // Box 5 is 14 wide without ink (41 / 14 is 2); the last box 9 wide and 44 high (44 / 9 is
    // 4) with ink in two of its columns, a density of a fifth.
    const auto setLine = [](int faintWidth, int lastWidth) {
        drawing::SetRow({20, 20, 20, 20, 20, faintWidth - 1, 20, 20, 20, 20, lastWidth - 1},
                        {30, 30, 30, 30, 30, 30, 30, 30, 30, 30});
        LineBoxes[10].bottom = static_cast<std::int16_t>(LineBoxes[10].top + 43);
        for (int i : {5, 10}) {
            const CharBox& box = LineBoxes[i];
            drawing::FillRect(BinarySnapshot, box.left, box.top, box.right, box.bottom, 0);
        }
        const CharBox& last = LineBoxes[10];
        drawing::FillRect(BinarySnapshot, last.left, last.top, last.left + 1, last.bottom, 1);
    };
    setLine(14, 9);
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 11);
    // 41 / 13 is 3 and 44 / 8 is 5: both go.
    drawing::FillPlane(BinarySnapshot, 1);
    setLine(13, 8);
    EXPECT_EQ(SegmentCodeLine(0, 40, 20, 220, 9), SegmentKeep);
    EXPECT_EQ(LineBoxCount, 9);
}

TEST_F(SegmentRulesTest, TypeLinesOfSixLoseTheirFirstTwo) {
    SetBoxes(6);
    EXPECT_EQ(SegmentTypeCodeLine(0, 40, 20, 220, 9), SegmentKeep);
    ASSERT_EQ(LineBoxCount, 4);
    EXPECT_EQ(LineBoxes[0].left, 30 + 2 * 28);
}

}  // namespace
