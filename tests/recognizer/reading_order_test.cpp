// The side recognizer's answer to a frame is the same whatever it read before: no table, flag
// or record of an earlier frame (or of another line of the same frame) reaches the reading.
// Four blocks of 30 frames, a third of them of each layout.
#include "support/reading_order.h"

namespace {

using testimage::Layout;

class SideReadingOrder : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(SideReadingOrder, FramesGetTheSameAnswerWhateverWasReadBefore) {
    ExpectBlockIndependentOfOrder(GetParam(), {Layout::OneLine, Layout::OneLine, Layout::TwoLines, Layout::TwoLines,
                                               Layout::Vertical, Layout::Vertical});
}

INSTANTIATE_TEST_SUITE_P(FirstSeeds, SideReadingOrder, ::testing::Values(1u, 31u, 61u, 91u));

}  // namespace
