// The location passes on generated gate-camera frames, swept over thresholds in the reading
// code's order until the expected lines appear.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/location/edge_image.h"
#include "engine/location/level_histogram.h"
#include "engine/location/location_passes.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "tools/testimage/test_image.h"

namespace {

using testimage::Layout;
using testimage::LineRole;

// The region the camera-2 recognizer searches.
const PackedPoint SearchTopLeft = PackPoint(4, 8);
const PackedPoint SearchBottomRight = PackPoint(568, 792);
constexpr int LastSweepStep = 13;
constexpr int TruthSlack = 3;  // binarized edges reach a little past the painted character

struct Region {
    PackedPoint topLeft;
    PackedPoint bottomRight;
};

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
        std::memcpy(WorkImage, frame.gray.data(), FrameSize);
        ComputeEdges(Region{SearchTopLeft, SearchBottomRight});
        EdgeHistogram(SearchTopLeft, SearchBottomRight);
        strongLevel = FindStrongLevel(250, 24);
        StrongEdgeLevel = static_cast<std::int16_t>(strongLevel);
        CodeFoundFlag = 0;
    }

    static void ComputeEdges(const Region& region) {
        std::memset(EdgeImage, 0, sizeof EdgeImage);
        ComputeEdgeImage(region.topLeft, region.bottomRight);
    }

    static void Binarize(int threshold) {
        ThresholdEdgeImage(PackPoint(0, 0), PackPoint(FrameWidth - 1, FrameHeight - 1), threshold);
        std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
        std::memcpy(BinarySnapshot, BinaryImage, sizeof BinarySnapshot);
        CurrentThreshold = static_cast<std::int16_t>(threshold);
    }

    // Runs the pass at the thresholds base, base + 5, base - 5, ... within low..high until
    // `found` holds of its candidates; answers that threshold.
    template <typename Pass, typename Found>
    static std::optional<int> Sweep(int base, int low, int high, Pass pass, Found found) {
        for (int step = 0; step <= LastSweepStep; step = step > 0 ? -step : 1 - step) {
            const int threshold = base + 5 * step;
            if (threshold < low || threshold > high) continue;
            SweepStep = static_cast<std::int16_t>(step);
            Binarize(threshold);
            if (pass() == 0 && found()) return threshold;
        }
        return std::nullopt;
    }

    std::optional<int> SweepCodePass(bool vertical, std::initializer_list<LineRole> roles) {
        VerticalModeFlag = vertical ? 1 : 0;
        auto pass = [&] {
            return vertical ? LocateVerticalCodeLines(SearchTopLeft, SearchBottomRight)
                            : LocateHorizontalCodeLines(SearchTopLeft, SearchBottomRight);
        };
        auto found = [&] {
            for (LineRole role : roles) {
                if (FindCandidate(role) < 0) return false;
            }
            return true;
        };
        return Sweep(strongLevel / 3, 16, strongLevel - 16, pass, found);
    }

    // The candidate whose boxes hold, one each, the painted characters of the line; -1 when none.
    int FindCandidate(LineRole role) const {
        const testimage::LineTruth* line = testimage::FindLine(frame.truth, role);
        if (line == nullptr) return -1;
        for (int k = 0; k < LineCandidateCount; ++k) {
            if (OnTruth(LineCandidates[k], *line)) return k;
        }
        return -1;
    }

    static bool OnTruth(const LineCandidate& candidate, const testimage::LineTruth& line) {
        if (candidate.charCount != static_cast<int>(line.chars.size())) return false;
        for (int i = 0; i < candidate.charCount; ++i) {
            const CharBox& box = candidate.boxes[i];
            const testimage::Box& truth = line.chars[static_cast<std::size_t>(i)].box;
            const int x = (box.left + box.right) / 2;
            const int y = (box.top + box.bottom) / 2;
            if (x < truth.left - TruthSlack || x > truth.right + TruthSlack || y < truth.top - TruthSlack ||
                y > truth.bottom + TruthSlack) {
                return false;
            }
        }
        return true;
    }

    // The size/type search of the reading code: edges of the region only, thresholds around
    // the one the number was found at.
    std::optional<int> SweepTypePass(const Region& region, int base, bool vertical) {
        CodeFoundFlag = 1;
        ComputeEdges(region);
        auto pass = [&] {
            return vertical ? LocateVerticalTypeLine(region.topLeft, region.bottomRight)
                            : LocateHorizontalTypeLine(region.topLeft, region.bottomRight);
        };
        return Sweep(base, 16, strongLevel - (vertical ? 16 : 32), pass,
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
