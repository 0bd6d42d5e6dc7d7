// The location passes on generated gate-camera frames, swept over thresholds in the reading
// code's order until the expected lines appear.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "engine/location/location_passes.h"
#include "support/generated_frames.h"

namespace {

using generated::Region;
using testimage::Layout;
using testimage::LineRole;

// The region the camera-2 recognizer searches.
const PackedPoint SearchTopLeft = PackPoint(4, 8);
const PackedPoint SearchBottomRight = PackPoint(568, 792);

class GeneratedLocationTest : public ::testing::Test {
protected:
    testimage::Frame frame;
    int strongLevel = 0;

    void TearDown() override {
        VerticalModeFlag = 0;
        CodeFoundFlag = 0;
    }

    void Render(Layout layout, std::uint64_t seed) {
        testimage::FrameRequest request = testimage::CameraFrameRequest(2, seed);
        request.layout = layout;
        frame = testimage::RenderFrame(request);
        ASSERT_EQ(frame.gray.size(), static_cast<std::size_t>(FrameSize));
        strongLevel = generated::LoadFrame(frame, Region{SearchTopLeft, SearchBottomRight});
    }

    std::optional<int> SweepCodePass(bool vertical, std::initializer_list<LineRole> roles) {
        VerticalModeFlag = vertical ? 1 : 0;
        auto pass = [&] {
            return vertical ? LocateVerticalCodeLines(SearchTopLeft, SearchBottomRight)
                            : LocateHorizontalCodeLines(SearchTopLeft, SearchBottomRight);
        };
        return generated::Sweep(strongLevel / 3, 16, strongLevel - 16, pass,
                                [&] { return generated::FoundAll(frame.truth, roles); });
    }

    int FindCandidate(LineRole role) const { return generated::FindCandidate(frame.truth, role); }

    // The size/type search of the reading code: edges of the region only, thresholds around
    // the one the number was found at.
    std::optional<int> SweepTypePass(const Region& region, int base, bool vertical) {
        CodeFoundFlag = 1;
        generated::ComputeEdges(region);
        auto pass = [&] {
            return vertical ? LocateVerticalTypeLine(region.topLeft, region.bottomRight)
                            : LocateHorizontalTypeLine(region.topLeft, region.bottomRight);
        };
        return generated::Sweep(base, 16, strongLevel - (vertical ? 16 : 32), pass,
                                [&] { return FindCandidate(LineRole::SizeType) >= 0; });
    }
};

TEST_F(GeneratedLocationTest, OneLineNumberAndTheSizeTypeCodeBelowIt) {
    Render(Layout::OneLine, 2);
    const std::optional<int> threshold = SweepCodePass(false, {LineRole::Number});
    ASSERT_TRUE(threshold.has_value());

    const LineCandidate line = LineCandidates[FindCandidate(LineRole::Number)];
    const int top = std::max(line.boxes[0].bottom, line.boxes[8].bottom);
    const Region below{PackPoint(line.boxes[0].left - 16, top), PackPoint(line.boxes[10].left, top + 2 * line.charHeight)};
    EXPECT_TRUE(SweepTypePass(below, *threshold, false).has_value());
}

TEST_F(GeneratedLocationTest, OwnerCodeOverSerialNumberGivesLinesThatPair) {
    Render(Layout::TwoLines, 3);
    ASSERT_TRUE(SweepCodePass(false, {LineRole::Owner, LineRole::Serial}).has_value());
    LoadCandidateIntoLine(FindCandidate(LineRole::Owner));
    const int c4 = LineCentreX(CurrentLine);
    const int serial = FindCandidate(LineRole::Serial);
    LoadCandidateIntoLine(serial);
    const int c7 = LineCentreX(CurrentLine);
    EXPECT_LE(c4, c7);
    EXPECT_LE(c7 - c4, 3 * LineCandidates[serial].charHeight);
}

TEST_F(GeneratedLocationTest, StackedNumberAndTheSizeTypeCodeBesideIt) {
    // Seed 2 paints the size/type code left of the number, seed 7 right of it.
    for (std::uint64_t seed : {2u, 7u}) {
        SCOPED_TRACE(seed);
        Render(Layout::Vertical, seed);
        const std::optional<int> threshold = SweepCodePass(true, {LineRole::Number});
        ASSERT_TRUE(threshold.has_value());

        // The reading code's regions: four character widths left of box 5, else eight right of box 4.
        const LineCandidate line = LineCandidates[FindCandidate(LineRole::Number)];
        const Region left{PackPoint(line.boxes[5].left - 4 * line.charWidth, line.boxes[0].top),
                          PackPoint(line.boxes[5].left, line.boxes[10].bottom)};
        const Region right{PackPoint(line.boxes[4].right, line.boxes[0].top),
                           PackPoint(std::min(line.boxes[4].right + 8 * line.charWidth, FrameWidth - 1),
                                     line.boxes[10].bottom)};
        EXPECT_TRUE(SweepTypePass(left, *threshold, true).has_value() ||
                    SweepTypePass(right, *threshold, true).has_value());
    }
}

}  // namespace
