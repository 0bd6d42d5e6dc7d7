#include "engine/location/position_reading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/location/planes.h"
#include "support/frame_drawing.h"
#include "support/stub_recognizer.h"

namespace {

constexpr int StripeRows = 40;
constexpr int StripeWidth = 3;  // ink columns of a stripe, followed by as many of paper

// Vertical stripes, one per gray value, on paper of the given gray, in a box at (100, 100);
// the box becomes position 0 of a one-position line. A stripe is ink when its gray lies on the
// ink side of the threshold, so each threshold has its own ink count.
void DrawStripes(const std::vector<int>& grays, int paper, int polarity, int threshold) {
    drawing::FillPlane(WorkImage, static_cast<std::uint8_t>(paper));
    const int left = 100;
    const int top = 100;
    for (std::size_t j = 0; j < grays.size(); ++j) {
        const int x = left + static_cast<int>(j) * 2 * StripeWidth;
        drawing::FillRect(WorkImage, x, top, x + StripeWidth - 1, top + StripeRows - 1, static_cast<std::uint8_t>(grays[j]));
    }
    const int right = left + static_cast<int>(grays.size()) * 2 * StripeWidth - 1;
    CurrentLine.charCount = 1;
    CurrentLine.boxes[0] = CharBox{static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                                   static_cast<std::int16_t>(right), static_cast<std::int16_t>(top + StripeRows - 1)};
    CurrentLine.polarity[0] = static_cast<std::uint8_t>(polarity);
    CurrentLine.threshold[0] = static_cast<std::uint8_t>(threshold);
    CheckDigitPosition = NoCheckDigit;
}

int StripeInk(int stripes) { return stripes * StripeWidth * StripeRows; }

std::vector<int> Grays(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> grays;
    for (const auto& [count, gray] : runs) grays.insert(grays.end(), static_cast<std::size_t>(count), gray);
    return grays;
}

std::vector<int> InkOfCalls(const StubRecognizer& stub) {
    std::vector<int> ink;
    for (const StubCall& call : stub.calls()) ink.push_back(call.ink);
    return ink;
}

class PositionReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlyphRecord();
        std::memset(&CurrentLine, 0, sizeof CurrentLine);
        std::memset(PositionReadings, 0, sizeof PositionReadings);
        std::memset(BinaryImage, 0, sizeof BinaryImage);
    }
    StubRecognizer stub;
};

}  // namespace

TEST_F(PositionReadingTest, SegmentLoadCopiesTheBoxAndRefusesOversizedOnes) {
    CurrentLine.charCount = 2;
    CurrentLine.boxes[0] = CharBox{10, 20, 19, 34};  // 10 wide, 15 tall
    drawing::FillRect(BinaryImage, 12, 20, 14, 34, 1);
    drawing::FillRect(BinaryImage, 9, 20, 9, 34, 1);  // just outside the box
    Glyph.SkeletonImage.Set(100, 100, 1);             // left over from an earlier glyph
    ASSERT_EQ(LoadSegmentImage(0), 0);
    EXPECT_EQ(Glyph.GlyphHeight, 15);
    EXPECT_EQ(Glyph.GlyphWidth, 10);
    EXPECT_EQ(CountInkPixels(), 45);
    EXPECT_EQ(Glyph.SkeletonImage.At(0, 2), 1);
    EXPECT_EQ(Glyph.SkeletonImage.At(100, 100), 0);

    // 126 rows still fit the grid with its border; 127 and 130 do not.
    CurrentLine.boxes[1] = CharBox{10, 20, 19, 145};
    EXPECT_EQ(LoadSegmentImage(1), 0);
    CurrentLine.boxes[1] = CharBox{10, 20, 19, 149};
    EXPECT_EQ(LoadSegmentImage(1), 1);
    EXPECT_EQ(Glyph.GlyphHeight, 130);
    EXPECT_EQ(Glyph.GlyphWidth, 10);
    CurrentLine.boxes[1] = CharBox{0, 20, 126, 30};
    EXPECT_EQ(LoadSegmentImage(1), 1);

    // A position outside the line, or a box reaching past the frame.
    EXPECT_EQ(LoadSegmentImage(2), 1);
    EXPECT_EQ(LoadSegmentImage(-1), 1);
    CurrentLine.boxes[1] = CharBox{FrameWidth - 5, FrameHeight - 5, FrameWidth + 4, FrameHeight + 4};
    drawing::FillRect(BinaryImage, FrameWidth - 5, FrameHeight - 5, FrameWidth - 1, FrameHeight - 1, 1);
    EXPECT_EQ(LoadSegmentImage(1), 0);
    EXPECT_EQ(CountInkPixels(), 25);

    EXPECT_TRUE(CutOutPosition(0));
    EXPECT_FALSE(CutOutPosition(2));
    CurrentLine.boxes[1] = CharBox{10, 20, 19, 149};
    EXPECT_FALSE(CutOutPosition(1));
    EXPECT_EQ(CurrentLine.status[1], StatusUnreadable);
    CurrentLine.boxes[1] = CharBox{300, 300, 320, 330};  // nothing inked there
    CurrentLine.status[1] = 0;
    EXPECT_FALSE(CutOutPosition(1));
    EXPECT_EQ(CurrentLine.status[1], StatusUnreadable);
}

TEST_F(PositionReadingTest, InkCheckGivesItsReasonsInOrder) {
    PositionReadings[4].firstInk = 100;
    PositionReadings[3].firstInk = 100;
    Glyph.GlyphHeight = 20;
    Glyph.InkCount = 100;
    Glyph.InkRatio = 0.5f;
    EXPECT_EQ(CheckSegmentInk(4), InkAcceptable);

    Glyph.GlyphHeight = 14;
    Glyph.InkRatio = 0.005f;
    EXPECT_EQ(CheckSegmentInk(4), InkTooShort);
    Glyph.GlyphHeight = 15;
    EXPECT_EQ(CheckSegmentInk(4), InkTooFaint);

    Glyph.InkRatio = 0.8f;  // solid for a letter of the owner code, not for a digit
    EXPECT_EQ(CheckSegmentInk(3), InkTooSolid);
    EXPECT_EQ(CheckSegmentInk(4), InkAcceptable);
    Glyph.InkRatio = 0.83f;
    EXPECT_EQ(CheckSegmentInk(4), InkTooSolid);

    Glyph.InkRatio = 0.5f;
    for (const auto& [ink, verdict] : std::vector<std::pair<int, int>>{
             {69, InkChanged}, {70, InkAcceptable}, {130, InkAcceptable}, {131, InkChanged}}) {
        Glyph.InkCount = static_cast<std::int16_t>(ink);
        EXPECT_EQ(CheckSegmentInk(4), verdict) << ink;
    }

    // Without a first pass's ink there is nothing to compare with (and nothing to divide by).
    PositionReadings[4].firstInk = 0;
    EXPECT_EQ(CheckSegmentInk(4), InkChanged);
    EXPECT_EQ(CheckSegmentInk(LineRecordBoxSlots), InkChanged);
}

TEST_F(PositionReadingTest, RetriesGoUpThenDownAndAnswerTheFirstReading) {
    // t = 100, ink darker: 10 stripes at 70 are ink from the start, 2 at 105 join at 108.
    DrawStripes(Grays({{10, 70}, {2, 105}}), 250, InkDarker, 100);
    PositionReadings[0].firstInk = static_cast<std::int16_t>(StripeInk(10));
    stub.SetOthers(StubAnswers{{"-", "", "K"}, {}, 0});
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeLetters), 1);
    // Up at 108 (12 stripes), down at 92, up at 116: the third reading answers.
    EXPECT_EQ(InkOfCalls(stub), (std::vector<int>{StripeInk(12), StripeInk(10), StripeInk(12)}));
    EXPECT_STREQ(Glyph.CandidateString, "K");
    EXPECT_FLOAT_EQ(Glyph.InkRatio, static_cast<float>(StripeInk(12)) / (StripeRows * (12 * 6 - 3)));
}

TEST_F(PositionReadingTest, RetryWhoseInkChangesTooMuchStopsThatDirection) {
    // 4 stripes at 105 join at 108: 40 % more ink than the first pass, so upward stops at once.
    DrawStripes(Grays({{10, 70}, {4, 105}}), 250, InkDarker, 100);
    PositionReadings[0].firstInk = static_cast<std::int16_t>(StripeInk(10));
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_EQ(InkOfCalls(stub), (std::vector<int>(3, StripeInk(10)))) << "only the downward readings";

    // The same from below: at 92 the 5 stripes at 95 drop out, a third of the ink.
    DrawStripes(Grays({{10, 70}, {5, 95}}), 250, InkDarker, 100);
    PositionReadings[0].firstInk = static_cast<std::int16_t>(StripeInk(15));
    stub.Reset();
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_EQ(InkOfCalls(stub), (std::vector<int>(3, StripeInk(15)))) << "only the upward readings";
}

TEST_F(PositionReadingTest, SolidGlyphIsStillReadUpwardButStopsDownward) {
    drawing::FillPlane(WorkImage, 250);
    drawing::FillRect(WorkImage, 100, 100, 123, 135, 70);  // 36 rows always ink
    drawing::FillRect(WorkImage, 100, 136, 123, 139, 103); // 4 more from t = 104 on
    CurrentLine.charCount = 5;
    CurrentLine.boxes[4] = CharBox{98, 98, 125, 141};
    CurrentLine.polarity[4] = InkDarker;
    CurrentLine.threshold[4] = 100;
    PositionReadings[4].firstInk = 36 * 24;
    CheckDigitPosition = NoCheckDigit;
    EXPECT_EQ(RetryWithShiftedThreshold(4, ModeDigits), 0);
    EXPECT_EQ(InkOfCalls(stub), (std::vector<int>(3, 40 * 24)));
}

TEST_F(PositionReadingTest, RetryThresholdLeavingTheGrayRangeStopsThatDirection) {
    // t = 250: 258 is no threshold; read downward at 242, 234 and 226.
    DrawStripes(Grays({{10, 70}}), 250, InkDarker, 250);
    PositionReadings[0].firstInk = static_cast<std::int16_t>(StripeInk(10));
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_EQ(stub.calls().size(), 3u);

    // t = 10, ink brighter: up at 18, down at 2, up at 26, then -6 is no threshold: up at 34.
    DrawStripes(Grays({{10, 200}}), 0, InkBrighter, 10);
    stub.Reset();
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_EQ(stub.calls().size(), 4u);

    // The size/type retries run seven rounds: 250 + 8 is out at once, 250 - 56 is still in.
    DrawStripes(Grays({{10, 70}}), 250, InkDarker, 250);
    stub.Reset();
    EXPECT_EQ(RetrySizeTypeThreshold(CurrentLine.boxes[0], InkDarker, 250, ModeDigits), 0);
    EXPECT_EQ(stub.calls().size(), 7u);
}

TEST_F(PositionReadingTest, RetriesEndWithoutReadingWhenThereIsNothingToCompareOrLoad) {
    DrawStripes(Grays({{10, 70}}), 250, InkDarker, 100);
    // A first pass without ink (the frame removal emptied the check digit) stops the retries.
    PositionReadings[0].firstInk = 0;
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_TRUE(stub.calls().empty());

    // A glyph that loses all its ink going up ends the retries, the downward ones too.
    DrawStripes(Grays({{10, 70}}), 0, InkBrighter, 65);
    PositionReadings[0].firstInk = static_cast<std::int16_t>(StripeInk(10));
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_TRUE(stub.calls().empty());

    // A box too large to load.
    CurrentLine.boxes[0].bottom = static_cast<std::int16_t>(CurrentLine.boxes[0].top + 129);
    EXPECT_EQ(RetryWithShiftedThreshold(0, ModeDigits), 0);
    EXPECT_EQ(RetrySizeTypeThreshold(CurrentLine.boxes[0], InkDarker, 100, ModeDigits), 0);
    EXPECT_EQ(RetryWithShiftedThreshold(1, ModeDigits), 0) << "not a position of the line";
    EXPECT_TRUE(stub.calls().empty());
}

TEST_F(PositionReadingTest, SizeTypeRetriesStopADirectionOutsideItsInkRange) {
    // A solid block (ratio 1) at every threshold: no reading at all.
    drawing::FillPlane(WorkImage, 250);
    drawing::FillRect(WorkImage, 100, 100, 123, 139, 70);
    const CharBox box{98, 98, 125, 141};
    EXPECT_EQ(RetrySizeTypeThreshold(box, InkDarker, 100, ModeDigits), 0);
    EXPECT_TRUE(stub.calls().empty());

    // Stripes read at every threshold until one answers: up 108, down 92, up 116.
    DrawStripes(Grays({{10, 70}}), 250, InkDarker, 100);
    stub.SetOthers(StubAnswers{{}, {"", "", "3"}, 0});
    EXPECT_EQ(RetrySizeTypeThreshold(CurrentLine.boxes[0], InkDarker, 100, ModeDigits), 1);
    EXPECT_EQ(stub.calls().size(), 3u);
}

TEST_F(PositionReadingTest, KeepsOnlyTheFirstFiveCandidates) {
    CurrentLine.charCount = 3;
    std::strcpy(Glyph.CandidateString, "0123456789");
    Glyph.CandidateCount = 10;
    KeepCandidates(2);
    EXPECT_STREQ(PositionReadings[2].candidates, "01234");
    std::strcpy(Glyph.CandidateString, "08");
    Glyph.CandidateCount = 2;
    KeepCandidates(2);
    EXPECT_STREQ(PositionReadings[2].candidates, "08");

    // No such slot: no reading is written.
    PositionReading before[LineRecordBoxSlots];
    std::memcpy(before, PositionReadings, sizeof before);
    KeepCandidates(LineRecordBoxSlots);
    KeepCandidates(-1);
    EXPECT_EQ(std::memcmp(before, PositionReadings, sizeof before), 0);
}
