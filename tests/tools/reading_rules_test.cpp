// The markings lie where the recognizer looks for them: the size/type code in the band it
// searches once it has the number, and the two lines of a split number where it pairs them.
// The rules are written out here from the recognizer's side, so the generator is checked
// against them rather than against itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tools/testimage/test_image.h"

namespace {

using namespace testimage;

constexpr int SeedsPerLayout = 5;

std::vector<Box> BoxesOf(const Truth& truth, LineRole role) {
    std::vector<Box> boxes;
    const LineTruth* line = FindLine(truth, role);
    if (line) {
        for (const CharTruth& c : line->chars) boxes.push_back(c.box);
    }
    return boxes;
}

int MedianOf(std::vector<int> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// The character height the recognizer would measure: the boxes' own, never more than painted.
int LineHeight(const Truth& truth, const std::vector<Box>& boxes) {
    std::vector<int> heights;
    for (const Box& box : boxes) heights.push_back(box.Height());
    return std::min(truth.charHeight, MedianOf(heights));
}

int LineCentreX(const std::vector<Box>& boxes) {
    int sum = 0;
    for (const Box& box : boxes) sum += (box.left + box.right) / 2;
    return sum / static_cast<int>(boxes.size());
}

void ExpectInBandBelow(const std::vector<Box>& sizeType, int left, int right, int top, int height, const Truth& truth) {
    ASSERT_EQ(sizeType.size(), 4u);
    for (const Box& box : sizeType) {
        EXPECT_GE(box.left, left) << truth.number << " seed " << truth.seed;
        EXPECT_LT(box.right, right) << truth.number << " seed " << truth.seed;
        EXPECT_GT(box.top, top) << truth.number << " seed " << truth.seed;
        EXPECT_LE(box.bottom, top + 2 * height) << truth.number << " seed " << truth.seed;
    }
}

Frame Render(int camera, Layout layout, std::uint64_t seed) {
    FrameRequest request = CameraFrameRequest(camera, seed);
    request.layout = layout;
    return RenderFrame(request);
}

}  // namespace

TEST(ReadingRules, OneLineSizeTypeLiesBelowWithinTwoHeightsAndLeftOfTheCheckDigit) {
    for (std::uint64_t seed = 1; seed <= SeedsPerLayout; ++seed) {
        const Frame frame = Render(seed % 2 ? 2 : 1, Layout::OneLine, seed);
        const std::vector<Box> number = BoxesOf(frame.truth, LineRole::Number);
        ASSERT_EQ(number.size(), 11u);
        ExpectInBandBelow(BoxesOf(frame.truth, LineRole::SizeType), number[0].left - 16, number[10].left,
                          std::max(number[0].bottom, number[8].bottom), LineHeight(frame.truth, number), frame.truth);
    }
}

TEST(ReadingRules, TwoLinesPairAndTheSizeTypeLiesBelowTheDigits) {
    for (std::uint64_t seed = 1; seed <= SeedsPerLayout; ++seed) {
        const Frame frame = Render(2, Layout::TwoLines, seed);
        const std::vector<Box> owner = BoxesOf(frame.truth, LineRole::Owner);
        const std::vector<Box> serial = BoxesOf(frame.truth, LineRole::Serial);
        ASSERT_EQ(owner.size(), 4u);
        ASSERT_EQ(serial.size(), 7u);
        const int height = LineHeight(frame.truth, serial);
        const int ownerCentre = LineCentreX(owner), serialCentre = LineCentreX(serial);
        EXPECT_LE(ownerCentre, serialCentre) << frame.truth.number;
        EXPECT_LE(serialCentre - ownerCentre, 3 * height) << frame.truth.number;
        EXPECT_LT(FindLine(frame.truth, LineRole::Owner)->box.bottom, FindLine(frame.truth, LineRole::Serial)->box.top);
        ExpectInBandBelow(BoxesOf(frame.truth, LineRole::SizeType), serial[0].left - 8, serial[6].right + 1,
                          std::max(serial[0].bottom, serial[4].bottom), height, frame.truth);
    }
}

TEST(ReadingRules, VerticalSizeTypeIsStackedBesideTheColumn) {
    int onLeft = 0, onRight = 0;
    for (std::uint64_t seed = 1; seed <= SeedsPerLayout + 3; ++seed) {
        const Frame frame = Render(2, Layout::Vertical, seed);
        const std::vector<Box> column = BoxesOf(frame.truth, LineRole::Number);
        const std::vector<Box> stack = BoxesOf(frame.truth, LineRole::SizeType);
        ASSERT_EQ(column.size(), 11u);
        ASSERT_EQ(stack.size(), 4u);
        std::vector<int> widths;
        for (const Box& box : column) widths.push_back(box.Width());
        const int width = MedianOf(widths);
        const bool left = std::all_of(stack.begin(), stack.end(), [&](const Box& b) {
            return b.right <= column[5].left && b.left >= column[5].left - 4 * width;
        });
        const bool right = std::all_of(stack.begin(), stack.end(), [&](const Box& b) {
            return b.left >= column[4].right && b.right <= std::min(column[4].right + 8 * width, 599);
        });
        EXPECT_TRUE(left || right) << frame.truth.number << " seed " << seed;
        onLeft += left;
        onRight += right;
        for (std::size_t i = 0; i < stack.size(); ++i) {
            EXPECT_GE(stack[i].top, column[0].top);
            EXPECT_LE(stack[i].bottom, column[10].bottom);
            if (i > 0) {
                EXPECT_GT(stack[i].top, stack[i - 1].bottom);
            }
        }
        for (std::size_t i = 1; i < column.size(); ++i) EXPECT_GT(column[i].top, column[i - 1].bottom);
    }
    EXPECT_GT(onLeft, 0);
    EXPECT_GT(onRight, 0);
}

TEST(Spacing, GapsOfAFewPixelsAndAWiderOneBetweenOwnerCodeAndSerial) {
    for (std::uint64_t seed = 1; seed <= SeedsPerLayout; ++seed) {
        FrameRequest request = CameraFrameRequest(2, seed);
        request.layout = Layout::OneLine;
        request.effects = CleanEffects();
        request.checkFrame = false;
        const Frame frame = RenderFrame(request);
        const std::vector<Box> number = BoxesOf(frame.truth, LineRole::Number);
        int widestOther = 0;
        for (std::size_t i = 0; i + 1 < number.size(); ++i) {
            const int gap = number[i + 1].left - number[i].right - 1;
            EXPECT_GE(gap, 1);
            if (i == 3 || i == 9) continue;  // after the owner code, before the check digit
            EXPECT_LE(gap, frame.truth.charHeight / 2) << frame.truth.number;
            widestOther = std::max(widestOther, gap);
        }
        EXPECT_GT(number[4].left - number[3].right - 1, widestOther) << frame.truth.number;
    }
}
