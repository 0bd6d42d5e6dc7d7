// How well the camera-2 recognizer reads: a fixed set of generated side frames of every layout,
// with the gate camera's rust, dirt, light, blur, noise and compression, read as a request is
// read. The floors may only rise as the engine improves; no number may ever be read wrong, since
// a wrong number that passes its check digit goes unnoticed at the gate.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "recognizer/cam2/ferrow_dlg.h"
#include "tools/testimage/test_image.h"

namespace {

// Seeds 1 to 24 of the frame generator with the layout drawn from the seed, as
// `make_test_images frames DIR --count 24` writes them.
constexpr std::uint64_t FirstSeed = 1;
constexpr int FrameCount = 24;
constexpr int NumbersRightFloor = 9;
constexpr int SizeTypesRightFloor = 8;
// Size/type codes are not guarded by a check digit; the fusion of the director weighs them by
// their vote. This ceiling may only fall.
constexpr int SizeTypesWrongCeiling = 1;

struct Counts {
    int right = 0;
    int wrong = 0;
};

void Judge(bool found, const char* read, const std::string& truth, Counts& counts) {
    if (!found) return;
    ++(truth == read ? counts.right : counts.wrong);
}

TEST(ReadingQuality, GeneratedSideFramesOfEveryLayout) {
    Counts numbers;
    Counts sizeTypes;
    for (int n = 0; n < FrameCount; ++n) {
        const std::uint64_t seed = FirstSeed + static_cast<std::uint64_t>(n);
        const testimage::Frame frame = testimage::RenderFrame(testimage::CameraFrameRequest(2, seed));
        ASSERT_EQ(frame.gray.size(), sizeof WorkImage);
        std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
        ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
        PackedPoint topLeft = 0;
        PackedPoint bottomRight = 0;
        ASSERT_TRUE(ClipSearchRegion(FerrowMargins, FrameWidth, FrameHeight, &topLeft, &bottomRight));
        RecognizeContainerImage(topLeft, bottomRight);

        const RecognitionResult& result = RecognizerResult;
        const int wrongBefore = numbers.wrong;
        Judge(result.codeFound != 0, result.code, frame.truth.number, numbers);
        Judge(result.sizeTypeFound != 0, result.sizeType, frame.truth.sizeType, sizeTypes);
        EXPECT_EQ(numbers.wrong, wrongBefore)
            << "seed " << seed << " (" << testimage::LayoutName(frame.truth.layout) << "): "
            << frame.truth.number << " read as " << result.code;
    }
    RecordProperty("numbers_right", numbers.right);
    RecordProperty("size_types_right", sizeTypes.right);
    EXPECT_GE(numbers.right, NumbersRightFloor);
    EXPECT_EQ(numbers.wrong, 0);
    EXPECT_GE(sizeTypes.right, SizeTypesRightFloor);
    EXPECT_LE(sizeTypes.wrong, SizeTypesWrongCeiling);
}

}  // namespace
