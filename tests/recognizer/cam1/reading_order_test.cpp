// The rear recognizer's answer to a frame is the same whatever it read before, including frames
// of the layouts it does not read. Two blocks of 30 frames, two thirds of them one-line.
#include "support/reading_order.h"

namespace {

using testimage::Layout;

class RearReadingOrder : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(RearReadingOrder, FramesGetTheSameAnswerWhateverWasReadBefore) {
    ExpectBlockIndependentOfOrder(GetParam(), {Layout::OneLine, Layout::OneLine, Layout::TwoLines, Layout::OneLine,
                                               Layout::OneLine, Layout::Vertical});
}

INSTANTIATE_TEST_SUITE_P(FirstSeeds, RearReadingOrder, ::testing::Values(1u, 31u));

}  // namespace
