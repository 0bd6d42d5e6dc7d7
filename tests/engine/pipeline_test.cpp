#include "engine/location/pipeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/code_rules.h"
#include "engine/location/location_passes.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "support/frame_drawing.h"
#include "support/truth_recognizer.h"
#include "tools/testimage/test_image.h"

namespace {

// The region of interest of the camera-2 recognizer.
const PackedPoint RegionTopLeft = PackPoint(4, 8);
const PackedPoint RegionBottomRight = PackPoint(568, 792);

void FillWorkImage(std::uint8_t gray) { std::memset(WorkImage, gray, sizeof WorkImage); }

TEST(RecognizeContainerImage, AnswersByTheContrastOfTheFrame) {
    RecognitionResult before{};
    std::strcpy(before.code, "KEPT");
    RecognizerResult = before;
    FillWorkImage(128);
    EXPECT_EQ(RecognizeContainerImage(RegionTopLeft, RegionBottomRight), PipelineNoContrast);
    EXPECT_STREQ(RecognizerResult.code, "KEPT");

    // Three patches with their strongest edges at 38, 39 and 40: L = 40, the sweep ends at 23 (step 2), nothing found.
    FillWorkImage(0);
    drawing::DrawStripePatch(100, 100, 38);
    drawing::DrawStripePatch(200, 100, 39);
    drawing::DrawStripePatch(300, 100, 40);
    EXPECT_EQ(RecognizeContainerImage(RegionTopLeft, RegionBottomRight), PipelineNoNumber);
    EXPECT_EQ(StrongEdgeLevel, 40);
    EXPECT_EQ(ThresholdBase, 13);
    EXPECT_EQ(CurrentThreshold, 23);
    EXPECT_EQ(RecognizerResult.codeFound, 0);
    EXPECT_STREQ(RecognizerResult.code, "KEPT");
}

// A record of n boxes `width` wide and `pitch` apart from `left`, with its text.
LineRecord MakeLine(const char* text, int left, int width, int pitch, int height, int threshold) {
    LineRecord line{};
    const int n = static_cast<int>(std::strlen(text));
    line.charCount = static_cast<std::int8_t>(n);
    for (int i = 0; i < n; ++i) {
        const int boxLeft = left + i * pitch;
        line.boxes[i] = CharBox{static_cast<std::int16_t>(boxLeft), 100, static_cast<std::int16_t>(boxLeft + width - 1),
                                static_cast<std::int16_t>(100 + height - 1)};
    }
    std::strcpy(line.text, text);
    line.charHeight = static_cast<std::int16_t>(height);
    line.thresholdUsed = static_cast<std::uint8_t>(threshold);
    return line;
}

void Keep(const LineRecord& line, bool serial) {
    CurrentLine = line;
    if (serial) {
        KeepForPairing(SerialLines, SerialLineCount);
    } else {
        KeepForPairing(OwnerCodeLines, OwnerCodeLineCount);
    }
}

class PairingTest : public ::testing::Test {
protected:
    void SetUp() override {
        SerialLineCount = 0;
        OwnerCodeLineCount = 0;
    }
};

// "CSQU3054383" is a valid number: owner "CSQU", serial "3054383". Serial boxes 10 wide, 12
// apart from 200: centre (200 + 209) / 2 + 36 = 240; height 20, so the owner's centre may lie
// 60 left of it.
TEST_F(PairingTest, TheOwnerCodeMustLieLeftOfTheSerialWithinThreeHeights) {
    const LineRecord serial = MakeLine("3054383", 200, 10, 12, 20, 40);
    ASSERT_EQ(LineCentreX(serial), 240);
    Keep(serial, true);
    // Owner centre = left + 4 + 18 = left + 22.
    Keep(MakeLine("CSQU", 219, 10, 12, 20, 40), false);  // centre 241: right of the serial's
    Keep(MakeLine("CSQU", 157, 10, 12, 20, 40), false);  // centre 179: 61 left, too far
    EXPECT_FALSE(PairCodeLines());

    Keep(MakeLine("CSQU", 158, 10, 12, 20, 45), false);  // centre 180: exactly 3 heights
    ASSERT_TRUE(PairCodeLines());
    EXPECT_STREQ(CurrentLine.text, "CSQU3054383");
    EXPECT_EQ(PairedOwnerLine.boxes[0].left, 158);
    EXPECT_EQ(PairedSerialLine.thresholdUsed, 40);

    SetUp();
    Keep(serial, true);
    Keep(MakeLine("CSQU", 218, 10, 12, 20, 30), false);  // centre 240: level with the serial
    EXPECT_TRUE(PairCodeLines());
}

TEST_F(PairingTest, TakesTheFirstPairWhoseCheckDigitMatchesInListOrder) {
    Keep(MakeLine("3054384", 200, 10, 12, 20, 40), true);  // wrong check digit for any owner
    Keep(MakeLine("3054383", 300, 10, 12, 20, 35), true);
    Keep(MakeLine("CSQB", 270, 10, 12, 20, 50), false);    // near both, wrong letters
    Keep(MakeLine("CSQU", 280, 10, 12, 20, 55), false);
    ASSERT_TRUE(PairCodeLines());
    EXPECT_STREQ(PairedOwnerLine.text, "CSQU");
    EXPECT_EQ(PairedOwnerLine.thresholdUsed, 55);   // read at another threshold than its serial
    EXPECT_EQ(PairedSerialLine.boxes[0].left, 300);
}

TEST_F(PairingTest, ListsKeepTheirFirstSixtyFourLines) {
    for (int n = 0; n < PairingListSlots + 6; ++n) Keep(MakeLine("0000000", n, 10, 12, 20, 40), true);
    EXPECT_EQ(SerialLineCount, PairingListSlots);
    EXPECT_EQ(SerialLines[PairingListSlots - 1].boxes[0].left, PairingListSlots - 1);
    Keep(MakeLine("ABCD", 0, 10, 12, 20, 40), false);
    EXPECT_EQ(OwnerCodeLineCount, 1);
}

// Frames of the test-image generator read with the truth recognizer in place of the verifiers.
class PipelineFrameTest : public ::testing::Test {
protected:
    void TearDown() override { DebugDumpFlag = 0; }

    // A frame with a number and size/type code drawn from the seed.
    static testimage::Frame Render(testimage::Layout layout, std::uint64_t seed) {
        testimage::FrameRequest request = testimage::CameraFrameRequest(2, seed);
        request.layout = layout;
        request.charHeight = 36;
        request.checkFrame = false;
        request.effects = testimage::CleanEffects();
        request.effects.blur = 0.5;
        request.effects.noise = 0.3;
        testimage::Frame frame = testimage::RenderFrame(request);
        std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
        ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
        return frame;
    }

    static int Recognize() { return RecognizeContainerImage(RegionTopLeft, RegionBottomRight); }
};

TEST_F(PipelineFrameTest, ReadsEachLayoutWithItsSizeTypeCode) {
    const testimage::Layout layouts[] = {testimage::Layout::OneLine, testimage::Layout::TwoLines,
                                         testimage::Layout::Vertical};
    std::uint64_t seed = 11;
    for (const testimage::Layout layout : layouts) {
        SCOPED_TRACE(testimage::LayoutName(layout));
        const testimage::Frame frame = Render(layout, seed++);
        const TruthRecognizer truth(frame.truth);
        ASSERT_EQ(Recognize(), PipelineNumberFound);
        EXPECT_EQ(RecognizerResult.code, frame.truth.number);
        EXPECT_EQ(RecognizerResult.codeFound, CodeFlagAccepted);
        EXPECT_EQ(RecognizerResult.sizeTypeFound, 1);
        EXPECT_EQ(RecognizerResult.sizeType, frame.truth.sizeType);
        EXPECT_EQ(CodeFoundFlag, 1);
        EXPECT_EQ(SizeTypeLine.accepted, 1);
        if (layout == testimage::Layout::TwoLines) {
            EXPECT_EQ(PairedOwnerLine.text, frame.truth.number.substr(0, 4));
        } else {
            EXPECT_EQ(FoundCodeLine.accepted, 1);
            EXPECT_EQ(VerticalModeFlag, layout == testimage::Layout::Vertical ? 1 : 0);
        }
    }
}

TEST_F(PipelineFrameTest, AcceptsNoNumberWithoutItsCheckDigitAndThenNoSizeType) {
    const testimage::Frame frame = Render(testimage::Layout::OneLine, 11);
    {
        TruthRecognizer truth(frame.truth);
        const char checkDigit = frame.truth.number.back();
        truth.Misread(checkDigit, checkDigit == '9' ? '0' : checkDigit + 1);  // the check digit reads wrong
        EXPECT_EQ(Recognize(), PipelineNoNumber);
        EXPECT_EQ(RecognizerResult.codeFound, 0);
    }
    {
        // Only the size/type code can be read: no number, so no size/type code either.
        const TruthRecognizer truth(frame.truth, {testimage::LineRole::SizeType});
        EXPECT_EQ(Recognize(), PipelineNoNumber);
        EXPECT_EQ(RecognizerResult.sizeTypeFound, 0);
        EXPECT_STREQ(RecognizerResult.sizeType, "");
    }
}

}  // namespace

namespace {

// A number record whose boxes stand at the given places, for the size/type regions.
LineRecord NumberAt(int left, int top, int pitch, int rowPitch, int side) {
    LineRecord line{};
    line.charCount = 11;
    for (int i = 0; i < 11; ++i) {
        const int x = left + i * pitch;
        const int y = top + i * rowPitch;
        line.boxes[i] = CharBox{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                static_cast<std::int16_t>(x + side - 1), static_cast<std::int16_t>(y + side - 1)};
    }
    line.charHeight = static_cast<std::int16_t>(side);
    line.charWidth = static_cast<std::int16_t>(side);
    line.thresholdUsed = 40;
    return line;
}

TEST(SizeTypeRegions, StayInsideTheFrameAndAnEmptyOneIsSkipped) {
    for (std::size_t i = 0; i < sizeof WorkImage; ++i) WorkImage[i] = static_cast<std::uint8_t>((i * 7919) % 251);
    StrongEdgeLevel = 200;
    // A line at the bottom edge: its region would reach 120 rows below the frame.
    FoundCodeLine = NumberAt(10, FrameHeight - 60, 50, 0, 60);
    EXPECT_FALSE(SearchSizeTypeCode(NumberLayout::OneLine));
    // A column at the left edge and one at the right edge: regions left and right of it.
    FoundCodeLine = NumberAt(0, 10, 0, 60, 40);
    EXPECT_FALSE(SearchSizeTypeCode(NumberLayout::Vertical));
    FoundCodeLine = NumberAt(FrameWidth - 41, 10, 0, 60, 40);
    EXPECT_FALSE(SearchSizeTypeCode(NumberLayout::Vertical));

    // Boxes read backwards leave no region at all: nothing is computed.
    std::memset(EdgeImage, 77, sizeof EdgeImage);
    FoundCodeLine = NumberAt(500, 100, -40, 0, 30);
    EXPECT_FALSE(SearchSizeTypeCode(NumberLayout::OneLine));
    EXPECT_EQ(EdgeImage[PixelIndex(300, 300)], 77);
    VerticalModeFlag = 0;
}

// Noise holds no number: nothing may be accepted from it. (How generated frames are read is
// measured over the recognizer's request path in the reading-quality test.)
TEST(RecognizeContainerImage, AcceptsNothingFromNoise) {
    std::uint32_t state = 12345;
    for (int n = 0; n < 2; ++n) {
        for (std::uint8_t& pixel : WorkImage) {
            state = state * 1664525u + 1013904223u;
            pixel = static_cast<std::uint8_t>(state >> 24);
        }
        ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
        const int answer = RecognizeContainerImage(RegionTopLeft, RegionBottomRight);
        EXPECT_NE(answer, PipelineNumberFound);
        EXPECT_EQ(RecognizerResult.codeFound, 0);
    }
}

}  // namespace
