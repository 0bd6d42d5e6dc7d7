// Generated rear frames through the whole camera-1 pipeline: with the truth recognizer in place
// of the verifiers (what location, segmentation and the sweep deliver), and with the real
// verifiers (what the recognizer reads).
#include <gtest/gtest.h>

#include <cstring>

#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/threshold_sweep.h"
#include "engine/recognizer_state.h"
#include "support/truth_recognizer.h"
#include "tools/testimage/test_image.h"

namespace {

// Brisel's default search region.
const PackedPoint RegionTopLeft = PackPoint(220, 140);
const PackedPoint RegionBottomRight = PackPoint(700, 350);

testimage::Frame LoadRearFrame(testimage::FrameRequest request) {
    testimage::Frame frame = testimage::RenderFrame(request);
    std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
    ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
    return frame;
}

// A rear frame of a fixed size with only a little blur and noise.
testimage::FrameRequest PlainRearRequest(std::uint64_t seed) {
    testimage::FrameRequest request = testimage::CameraFrameRequest(1, seed);
    request.charHeight = 34;
    request.checkFrame = false;
    request.effects = testimage::CleanEffects();
    request.effects.blur = 0.5;
    request.effects.noise = 0.3;
    return request;
}

// Camera 1 answers "no contrast" or 0, found or not: whether the number was found is in the
// pipeline's flag and the record.
int Recognize() { return RecognizeContainerImage(RegionTopLeft, RegionBottomRight); }

}  // namespace

TEST(RearFrames, NumberAndSizeTypeCodeFoundWhereTheyArePainted) {
    for (const std::uint64_t seed : {21u, 23u}) {
        const testimage::Frame frame = LoadRearFrame(PlainRearRequest(seed));
        const TruthRecognizer truth(frame.truth);
        SCOPED_TRACE(frame.truth.number);
        EXPECT_NE(Recognize(), PipelineNoContrast);
        ASSERT_EQ(CodeFoundFlag, 1);
        EXPECT_EQ(RecognizerResult.code, frame.truth.number);
        EXPECT_EQ(RecognizerResult.codeFound, CodeFlagAccepted);
        EXPECT_EQ(FoundCodeLine.accepted, 1);
        EXPECT_EQ(RecognizerResult.sizeTypeFound, 1);
        EXPECT_EQ(RecognizerResult.sizeType, frame.truth.sizeType);
    }
}

TEST(RearFrames, NumberWithAWrongCheckDigitIsNotTakenNorItsSizeType) {
    const testimage::Frame frame = LoadRearFrame(PlainRearRequest(21));
    TruthRecognizer truth(frame.truth);
    const char checkDigit = frame.truth.number.back();
    truth.Misread(checkDigit, checkDigit == '9' ? '0' : checkDigit + 1);
    std::strcpy(RecognizerResult.code, "KEPT");
    EXPECT_NE(Recognize(), PipelineNoContrast);
    EXPECT_EQ(CodeFoundFlag, 0);
    EXPECT_STREQ(RecognizerResult.code, "");
    EXPECT_EQ(RecognizerResult.codeFound, 0);
    EXPECT_EQ(RecognizerResult.sizeTypeFound, 0);
}

// With the real verifiers, a few rear frames as the gate camera gives them: half the numbers are
// read and none is read wrong. tools/read_frames_cam1 runs many more.
TEST(RearFrames, ReadWithTheVerifiers) {
    constexpr int Frames = 4;
    constexpr int MinReadRight = 2;
    int right = 0;
    for (int n = 0; n < Frames; ++n) {
        const testimage::Frame frame = LoadRearFrame(testimage::CameraFrameRequest(1, 1 + n));
        EXPECT_NE(Recognize(), PipelineNoContrast) << "seed " << 1 + n;
        if (RecognizerResult.codeFound == 0) continue;
        EXPECT_EQ(RecognizerResult.code, frame.truth.number) << "seed " << 1 + n;
        right += RecognizerResult.code == frame.truth.number ? 1 : 0;
    }
    EXPECT_GE(right, MinReadRight);
}
