// How well a recognizer reads a fixed set of generated frames of its camera, read as a request
// is read: inside the recognizer's default search region. Reading-quality tests hold floors of
// readings right that may only rise, and no number read wrong, since a wrong number that passes
// its check digit goes unnoticed at the gate.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "recognizer/dialog/recognizer_camera.h"
#include "recognizer/dialog/recognizer_dlg.h"
#include "tools/testimage/test_image.h"

struct ReadingCounts {
    int numbersRight = 0;
    int numbersWrong = 0;
    int sizeTypesRight = 0;
    int sizeTypesWrong = 0;
};

// Frames of seeds first .. first + count - 1 as `make_test_images frames DIR --camera N --seed
// first --count count` writes them; each number read wrong is reported with its seed.
inline ReadingCounts ReadGeneratedFrames(std::uint64_t first, int count) {
    ReadingCounts counts;
    for (int n = 0; n < count; ++n) {
        const std::uint64_t seed = first + static_cast<std::uint64_t>(n);
        const testimage::Frame frame = testimage::RenderFrame(testimage::CameraFrameRequest(CameraNumber, seed));
        EXPECT_EQ(frame.gray.size(), sizeof WorkImage);
        if (frame.gray.size() != sizeof WorkImage) continue;
        std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
        ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
        RecognizeInRegion(ThisCamera.margins, FrameWidth, FrameHeight);

        const RecognitionResult& result = RecognizerResult;
        if (result.codeFound != 0) {
            const bool right = frame.truth.number == result.code;
            ++(right ? counts.numbersRight : counts.numbersWrong);
            EXPECT_TRUE(right) << "seed " << seed << " (" << testimage::LayoutName(frame.truth.layout)
                               << "): " << frame.truth.number << " read as " << result.code;
        }
        if (result.sizeTypeFound != 0) {
            ++(frame.truth.sizeType == result.sizeType ? counts.sizeTypesRight : counts.sizeTypesWrong);
        }
    }
    ::testing::Test::RecordProperty("numbers_right", counts.numbersRight);
    ::testing::Test::RecordProperty("size_types_right", counts.sizeTypesRight);
    ::testing::Test::RecordProperty("size_types_wrong", counts.sizeTypesWrong);
    return counts;
}
