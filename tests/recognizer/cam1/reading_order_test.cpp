// The rear recognizer's answer to a frame is the same whatever it read before, including frames
// of the layouts it does not read.
#include "support/reading_order.h"

namespace {

using testimage::Layout;

TEST(ReadingOrder, RearFramesGetTheSameAnswerWhateverWasReadBefore) {
    constexpr std::uint64_t FirstSeed = 1;
    const std::vector<OrderFrame> frames =
        RenderOrderFrames(FirstSeed, 60 / OrderFrameDivisor,
                          {Layout::OneLine, Layout::OneLine, Layout::TwoLines, Layout::OneLine, Layout::OneLine,
                           Layout::Vertical});
    EXPECT_EQ(ExpectAnswersIndependentOfOrder(frames, FirstSeed), 0);
}

}  // namespace
