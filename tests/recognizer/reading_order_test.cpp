// The side recognizer's answer to a frame is the same whatever it read before: no table, flag
// or record of an earlier frame (or of another line of the same frame) reaches the reading.
#include "support/reading_order.h"

namespace {

using testimage::Layout;

TEST(ReadingOrder, SideFramesGetTheSameAnswerWhateverWasReadBefore) {
    constexpr std::uint64_t FirstSeed = 1;
    const std::vector<OrderFrame> frames =
        RenderOrderFrames(FirstSeed, 120 / OrderFrameDivisor,
                          {Layout::OneLine, Layout::OneLine, Layout::TwoLines, Layout::TwoLines, Layout::Vertical,
                           Layout::Vertical});
    EXPECT_EQ(ExpectAnswersIndependentOfOrder(frames, FirstSeed), 0);
}

}  // namespace
