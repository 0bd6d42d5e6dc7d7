// A frame with the default effects has what a gate camera gives: edges at the characters that
// stand out from the wall, and a spread of edge strengths whose strong-edge level is neither
// tiny nor saturated. A clean two-level rendering has no such spread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tools/testimage/test_image.h"

namespace {

using namespace testimage;

constexpr int Levels = 256;
constexpr int TopLevel = 250;
constexpr int BinMinimum = 24;

// Edge strength of each pixel: the largest absolute difference of the two neighbours across
// it, horizontally, vertically or diagonally.
std::vector<int> EdgeStrength(const Frame& frame) {
    const int width = frame.truth.width, height = frame.truth.height;
    std::vector<int> strength(frame.gray.size(), 0);
    auto at = [&](int x, int y) { return static_cast<int>(frame.gray[static_cast<std::size_t>(y) * width + x]); };
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const int differences[] = {at(x + 1, y) - at(x - 1, y), at(x + 1, y + 1) - at(x - 1, y - 1),
                                       at(x, y + 1) - at(x, y - 1), at(x - 1, y + 1) - at(x + 1, y - 1)};
            int largest = 0;
            for (int d : differences) largest = std::max(largest, std::abs(d));
            strength[static_cast<std::size_t>(y) * width + x] = std::min(largest, Levels - 1);
        }
    }
    return strength;
}

// From the top down, the first level whose bin and the two bins below it each hold more than a
// few dozen pixels: how strong the strong edges of the frame are.
int StrongEdgeLevel(const std::vector<int>& strength) {
    std::vector<int> bins(Levels, 0);
    for (int s : strength) ++bins[static_cast<std::size_t>(s)];
    for (int level = TopLevel; level > 2; --level) {
        if (bins[level] > BinMinimum && bins[level - 1] > BinMinimum && bins[level - 2] > BinMinimum) return level;
    }
    return 2;
}

}  // namespace

TEST(EdgeStrength, DefaultFramesHaveAStrongEdgeLevelInTheUsableRange) {
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        const int camera = seed % 3 == 0 ? 1 : 2;
        FrameRequest request = CameraFrameRequest(camera, seed);
        request.wall = static_cast<Wall>(seed % 5);
        const Frame frame = RenderFrame(request);
        const int level = StrongEdgeLevel(EdgeStrength(frame));
        EXPECT_GE(level, 32) << "seed " << seed;
        EXPECT_LE(level, 245) << "seed " << seed;
    }
}

TEST(EdgeStrength, ACleanRenderingHasNoSpreadOfEdgeStrengths) {
    FrameRequest request = CameraFrameRequest(2, 3);
    request.effects = CleanEffects();
    const int level = StrongEdgeLevel(EdgeStrength(RenderFrame(request)));
    EXPECT_TRUE(level < 32 || level > 245) << level;
}

TEST(EdgeStrength, CharacterEdgesStandOutFromTheWall) {
    for (std::uint64_t seed = 20; seed <= 23; ++seed) {
        FrameRequest request = CameraFrameRequest(2, seed);
        request.effects.clutter = 0;  // nothing but ribs, rust and dirt beside the code
        const Frame frame = RenderFrame(request);
        const std::vector<int> strength = EdgeStrength(frame);
        // Pixels at the rim of the paint against pixels well away from any marking.
        std::vector<int> rim, wall;
        const int width = frame.truth.width;
        for (std::size_t i = 0; i < strength.size(); ++i) {
            const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
            if (x < 1 || y < 1 || x + 1 >= width || y + 1 >= frame.truth.height) continue;
            const int ink = frame.ink[i];
            if (ink >= 64 && ink <= 192) rim.push_back(strength[i]);
        }
        for (const LineTruth& line : frame.truth.lines) {
            const Box box = line.box;
            // A band of wall as high as the line, left or right of it, clear of every line.
            const int side = box.left > width / 2 ? 4 : width - 5 - box.Width() / 4;
            for (int y = box.top; y <= box.bottom; ++y) {
                for (int x = side; x < side + box.Width() / 4 && x < width - 1; ++x) {
                    if (frame.ink[static_cast<std::size_t>(y) * width + x] == 0) wall.push_back(strength[static_cast<std::size_t>(y) * width + x]);
                }
            }
        }
        ASSERT_FALSE(rim.empty());
        ASSERT_FALSE(wall.empty());
        std::sort(rim.begin(), rim.end());
        std::sort(wall.begin(), wall.end());
        const int rimMedian = rim[rim.size() / 2];
        const int wallMedian = wall[wall.size() / 2];
        EXPECT_GE(rimMedian, 40) << "seed " << seed;
        EXPECT_GT(rimMedian, 3 * wallMedian) << "seed " << seed;
    }
}
