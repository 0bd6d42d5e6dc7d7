// How well the side recognizer reads generated side frames of every layout, with the gate
// camera's rust, dirt, light, blur, noise and compression.
#include "support/reading_quality.h"

namespace {

// Size/type codes have no check digit; the director weighs them by their votes. Their ceiling
// of wrong readings may only fall.
TEST(ReadingQuality, GeneratedSideFramesOfEveryLayout) {
    const ReadingCounts counts = ReadGeneratedFrames(1, 24);
    EXPECT_GE(counts.numbersRight, 9);
    EXPECT_EQ(counts.numbersWrong, 0);
    EXPECT_GE(counts.sizeTypesRight, 8);
    EXPECT_LE(counts.sizeTypesWrong, 1);
}

}  // namespace
