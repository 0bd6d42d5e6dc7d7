// How well the rear recognizer reads generated rear frames: one line on the doors, with the
// gate camera's rust, dirt, light, noise and compression.
#include "support/reading_quality.h"

namespace {

// Size/type codes have no check digit; their ceiling of wrong readings may only fall.
TEST(ReadingQuality, GeneratedRearFrames) {
    const ReadingCounts counts = ReadGeneratedFrames(19, 24);
    EXPECT_GE(counts.numbersRight, 11);
    EXPECT_EQ(counts.numbersWrong, 0);
    EXPECT_GE(counts.sizeTypesRight, 8);
    EXPECT_LE(counts.sizeTypesWrong, 1);
}

}  // namespace
