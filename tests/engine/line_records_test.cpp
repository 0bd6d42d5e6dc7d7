#include "engine/location/line_records.h"

#include <gtest/gtest.h>

#include "engine/glyph/glyph_grid.h"
#include "engine/location/components.h"
#include "engine/location/planes.h"
#include "support/location_frames.h"

namespace {

void ExpectBox(const CharBox& box, int left, int top, int right, int bottom) {
    EXPECT_EQ(box.left, left);
    EXPECT_EQ(box.top, top);
    EXPECT_EQ(box.right, right);
    EXPECT_EQ(box.bottom, bottom);
}

void SetCurrentLine(std::initializer_list<CharBox> boxes) {
    CurrentLine.charCount = 0;
    for (const CharBox& box : boxes) CurrentLine.boxes[CurrentLine.charCount++] = box;
}

// Candidate 0 gets one box per drawn character, built from the components found in its cell.
void CandidateFromCells(std::initializer_list<CharBox> cells) {
    drawing::SetCandidates({CharBox{0, 0, FrameWidth - 1, FrameHeight - 1}});
    LineCandidate& candidate = LineCandidates[0];
    ComponentBoxCount = 0;
    for (const CharBox& cell : cells) {
        const int first = ComponentBoxCount;
        ASSERT_EQ(FindComponentBoxes(BoxTopLeft(cell), BoxBottomRight(cell), ScanColumns, 0), 0);
        ASSERT_GT(ComponentBoxCount, first);
        CharBox box = ComponentBoxes[first];
        for (int c = first + 1; c < ComponentBoxCount; ++c) {
            box.left = std::min(box.left, ComponentBoxes[c].left);
            box.top = std::min(box.top, ComponentBoxes[c].top);
            box.right = std::max(box.right, ComponentBoxes[c].right);
            box.bottom = std::max(box.bottom, ComponentBoxes[c].bottom);
        }
        candidate.boxes[candidate.charCount] = box;
        candidate.boxComponents[candidate.charCount] =
            ComponentRange{static_cast<std::int16_t>(first), static_cast<std::int16_t>(ComponentBoxCount - 1)};
        ++candidate.charCount;
    }
}

// Draws a light character on a dark patch (the patch edge stays 12 pixels away).
void DrawLightOnDark(char character, int left, int top, const drawing::CharStyle& style) {
    drawing::FillRect(WorkImage, left - 12, top - 12, left + style.Width() + 11, top + style.Height() + 11, 40);
    drawing::CharStyle light = style;
    light.ink = 210;
    drawing::DrawCharacter(WorkImage, character, left, top, light);
}

CharBox Cell(int left, int top, const drawing::CharStyle& style) {
    return CharBox{static_cast<std::int16_t>(left - 3), static_cast<std::int16_t>(top - 3),
                   static_cast<std::int16_t>(left + style.Width() + 2), static_cast<std::int16_t>(top + style.Height() + 2)};
}

TEST(CandidateTableTest, FlaggedCandidatesAndBoxes) {
    drawing::SetCandidates({{0, 0, 1, 1}, {1, 0, 1, 1}, {2, 0, 1, 1}, {3, 0, 1, 1}, {4, 0, 1, 1}});
    LineCandidates[1].status = CandidateSkip;
    LineCandidates[3].status = CandidateSkip;
    LineCandidates[4].status = CandidateRedo;
    RemoveFlaggedCandidates();
    ASSERT_EQ(LineCandidateCount, 3);
    EXPECT_EQ(LineCandidates[0].rect.left, 0);
    EXPECT_EQ(LineCandidates[1].rect.left, 2);
    EXPECT_EQ(LineCandidates[2].rect.left, 4);

    LineCandidate& candidate = LineCandidates[0];
    candidate.charCount = 4;
    const CharBox boxes[] = {{0, 0, 10, 9}, {12, 0, 20, 9}, {30, 0, 40, 9}, {45, 0, 50, 9}};
    for (int i = 0; i < 4; ++i) {
        candidate.boxes[i] = boxes[i];
        candidate.boxComponents[i] = ComponentRange{static_cast<std::int16_t>(i), static_cast<std::int16_t>(i)};
    }
    EXPECT_EQ(FindWidestBoxGap(0), 2);
    candidate.boxes[3].left = 50;  // a second gap of 10: the first one wins
    EXPECT_EQ(FindWidestBoxGap(0), 2);
    EXPECT_EQ(RemoveCandidateBox(0, 1), 0);
    ASSERT_EQ(candidate.charCount, 3);
    EXPECT_EQ(candidate.boxes[1].left, 30);
    EXPECT_EQ(candidate.boxComponents[1].first, 2);
    EXPECT_EQ(RemoveCandidateBox(0, 3), 0);
    EXPECT_EQ(RemoveCandidateBox(7, 0), 0);
    EXPECT_EQ(candidate.charCount, 3);

    // Touching and overlapping boxes have no positive gap.
    candidate.boxes[1].left = 10;
    candidate.boxes[2].left = 40;
    EXPECT_EQ(FindWidestBoxGap(0), 0);
}

class CharBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(WorkImage, 180);
        VerticalModeFlag = 0;
    }
    void TearDown() override { VerticalModeFlag = 0; }
};

TEST_F(CharBoxesTest, LoadingTakesThresholdsAndTheMajorityPolarity) {
    const drawing::CharStyle style;
    drawing::DrawCharacter(WorkImage, 'T', 50, 100, style);
    drawing::DrawCharacter(WorkImage, 'H', 100, 100, style);
    DrawLightOnDark('L', 200, 100, style);
    DrawLightOnDark('E', 300, 100, style);
    drawing::BinarizeFrame(40);
    CandidateFromCells({Cell(50, 100, style), Cell(100, 100, style), Cell(200, 100, style), Cell(300, 100, style)});
    LoadCandidateIntoLine(0);
    ASSERT_EQ(CurrentLine.charCount, 4);
    ExpectBox(CurrentLine.boxes[0], 49, 99, 75, 142);
    // The outline lies on the background just outside the strokes.
    EXPECT_NEAR(CharThreshold[0], 180, 3);
    EXPECT_NEAR(CharThreshold[2], 40, 3);
    EXPECT_EQ(CharPolarity[0], InkDarker) << "two and two: a tie gives ink darker";

    drawing::BinarizeFrame(40);  // the search took the pieces out of the binary image
    CandidateFromCells({Cell(50, 100, style), Cell(200, 100, style), Cell(300, 100, style)});
    LoadCandidateIntoLine(0);
    EXPECT_EQ(CharPolarity[0], InkBrighter);
    EXPECT_EQ(CharPolarity[2], InkBrighter);
}

TEST_F(CharBoxesTest, LoadingKeepsAtMost16BoxesAndTakesTheCandidatesCharacterSize) {
    drawing::SetCandidates({CharBox{0, 0, 10, 10}});
    LineCandidates[0].charCount = 20;
    for (int i = 0; i < 20; ++i) {
        LineCandidates[0].boxes[i] = CharBox{static_cast<std::int16_t>(10 * i), 0, static_cast<std::int16_t>(10 * i + 5), 9};
        LineCandidates[0].boxComponents[i] = ComponentRange{0, -1};
    }
    LineCandidates[0].charHeight = 10;
    LineCandidates[0].charWidth = 6;
    CurrentLine.charHeight = CurrentLine.charWidth = 40;  // the line read before
    LoadCandidateIntoLine(0);
    EXPECT_EQ(CurrentLine.charCount, 16);
    EXPECT_EQ(CurrentLine.boxes[15].left, 150);
    EXPECT_EQ(CurrentLine.charHeight, 10);
    EXPECT_EQ(CurrentLine.charWidth, 6);
}

TEST_F(CharBoxesTest, RowRegularizationOfANarrowMiddleAndAShortLastBox) {
    SetCurrentLine({{100, 200, 119, 239}, {130, 205, 139, 230}, {150, 200, 169, 239}, {180, 200, 199, 239},
                    {210, 210, 219, 230}});
    // Widths 20, 10, 20, 20, 10: W = 16.
    EXPECT_EQ(MeanBoxWidth(0, 4, -1), 16);
    EXPECT_EQ(MeanBoxWidth(0, 4, 1), 17);
    EXPECT_EQ(MeanBoxWidth(0, 40, 1), 17);
    RegularizeCharBoxes();
    ExpectBox(CurrentLine.boxes[1], 126, 200, 142, 239);  // centre 134 +- 8, stretched to its neighbours
    ExpectBox(CurrentLine.boxes[4], 206, 200, 222, 243);  // centre 214 +- 8; top and bottom from box 3
    ExpectBox(CurrentLine.boxes[0], 100, 200, 119, 239);

    // A narrow middle box squeezed between close neighbours keeps 2 pixels from each.
    SetCurrentLine({{100, 200, 129, 239}, {131, 200, 136, 239}, {138, 200, 167, 239}});
    RegularizeCharBoxes();
    ExpectBox(CurrentLine.boxes[1], 131, 200, 136, 239);
}

TEST_F(CharBoxesTest, RowRegularizationOfOneBoxAndAtTheFrameEdges) {
    SetCurrentLine({{10, 20, 30, 60}});
    RegularizeCharBoxes();
    ExpectBox(CurrentLine.boxes[0], 10, 20, 30, 60);
    // An empty line leaves the stale boxes of its slots alone, even one out of the frame.
    SetCurrentLine({{FrameWidth - 8, 20, FrameWidth + 8, 60}});
    CurrentLine.charCount = 0;
    RegularizeCharBoxes();
    EXPECT_EQ(CurrentLine.charCount, 0);
    ExpectBox(CurrentLine.boxes[0], FrameWidth - 8, 20, FrameWidth + 8, 60);

    // A short first box at the left edge and a short last box at the right edge stay in the frame.
    SetCurrentLine({{0, 20, 3, 60}, {10, 20, 69, 60}, {80, 20, 139, 60}, {FrameWidth - 4, 20, FrameWidth - 1, 60}});
    RegularizeCharBoxes();
    EXPECT_EQ(CurrentLine.boxes[0].left, 0);
    EXPECT_EQ(CurrentLine.boxes[3].right, FrameWidth - 1);
    EXPECT_EQ(CurrentLine.boxes[3].bottom, 64);
}

TEST_F(CharBoxesTest, ColumnRegularization) {
    if (CameraNumber == 1) GTEST_SKIP() << "camera 1 has no stacked lines";
    VerticalModeFlag = 1;
    CurrentLine.charWidth = 24;
    // Eleven stacked boxes 40 high, 50 apart; an owner gap of 30 after box 3.
    auto column = [](int irregular) {
        CurrentLine.charCount = 11;
        for (int i = 0; i < 11; ++i) {
            const int top = 100 + 50 * i + (i >= 4 ? 20 : 0);
            const int width = i < irregular ? 8 : 24;
            CurrentLine.boxes[i] = CharBox{300, static_cast<std::int16_t>(top), static_cast<std::int16_t>(300 + width),
                                           static_cast<std::int16_t>(top + 40)};
        }
    };
    column(5);  // six regular boxes: no box goes onto an edge line
    RegularizeCharBoxes();
    EXPECT_EQ(CurrentLine.boxes[2].right, 308);
    EXPECT_EQ(CurrentLine.boxes[0].top, 100 + 40 - 40 - 6) << "the first box reaches 6 above the second's height";

    column(3);  // eight regular boxes: the narrow ones get the fitted edges
    CurrentLine.boxes[10].left = 302;
    RegularizeCharBoxes();
    EXPECT_EQ(CurrentLine.boxes[1].left, 300);
    EXPECT_EQ(CurrentLine.boxes[1].right, 324);
    EXPECT_EQ(CurrentLine.boxes[10].left, 300);

    // A check digit close under box 9 reaches twice box 9's height below it, but not past 16 rows above
    // the frame's bottom.
    column(0);
    for (int i = 0; i < 11; ++i) {
        CurrentLine.boxes[i].top = static_cast<std::int16_t>(CurrentLine.boxes[i].top + 160);
        CurrentLine.boxes[i].bottom = static_cast<std::int16_t>(CurrentLine.boxes[i].bottom + 160);
    }
    CurrentLine.boxes[10].top = static_cast<std::int16_t>(CurrentLine.boxes[9].bottom + 2);
    CurrentLine.boxes[10].bottom = static_cast<std::int16_t>(CurrentLine.boxes[10].top + 20);
    RegularizeCharBoxes();
    EXPECT_EQ(CurrentLine.boxes[10].bottom, FrameHeight - 16);
}

TEST_F(CharBoxesTest, BinarizationOfDarkAndLightGlyphs) {
    const drawing::CharStyle style;
    drawing::DrawCharacter(WorkImage, 'H', 50, 100, style);
    DrawLightOnDark('H', 200, 100, style);
    drawing::BinarizeFrame(40);
    SetCurrentLine({{49, 99, 75, 142}, {199, 99, 225, 142}, {400, 400, 430, 440}});
    CurrentLine.polarity[0] = InkDarker;
    CurrentLine.polarity[1] = InkBrighter;
    CurrentLine.polarity[2] = InkDarker;
    CurrentLine.threshold[2] = 77;  // a box without edges keeps its threshold
    BinarizeCharBoxes();
    EXPECT_EQ(CurrentLine.threshold[2], 77);
    EXPECT_NEAR(CurrentLine.threshold[0], (50 + 180) / 2, 10);
    EXPECT_NEAR(CurrentLine.threshold[1], (40 + 210) / 2, 10);
    // Ink exactly on the strokes of both H's, nothing outside the boxes.
    for (int offset : {0, 150}) {
        EXPECT_EQ(BinaryImage[PixelIndex(52 + offset, 110)], 1);  // left bar
        EXPECT_EQ(BinaryImage[PixelIndex(62 + offset, 110)], 0);  // between the bars
        EXPECT_EQ(BinaryImage[PixelIndex(62 + offset, 120)], 1);  // cross bar
    }
    EXPECT_EQ(BinaryImage[PixelIndex(45, 120)], 0);
    EXPECT_EQ(BinaryImage[PixelIndex(410, 410)], 0);
}

}  // namespace
