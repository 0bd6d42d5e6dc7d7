// Whether a recognizer's answer to a frame depends on what it read before. A set of generated
// frames of every layout is read three ways: in order, in reverse order, and each frame right
// after a frame of another layout; every frame must get the same answer all three times.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "recognizer/dialog/recognizer_camera.h"
#include "recognizer/dialog/recognizer_dlg.h"
#include "tools/testimage/test_image.h"

struct FrameAnswer {
    int answer = -1;
    std::string code;
    std::string sizeType;

    bool operator==(const FrameAnswer&) const = default;
};

inline void PrintTo(const FrameAnswer& a, std::ostream* os) {
    *os << "answer " << a.answer << " '" << a.code << "' '" << a.sizeType << "'";
}

struct OrderFrame {
    testimage::Layout layout;
    std::vector<std::uint8_t> gray;
};

// Frames of seeds first .. first + count - 1, frame n of the layout pattern[n % size].
inline std::vector<OrderFrame> RenderOrderFrames(std::uint64_t first, int count,
                                                 const std::vector<testimage::Layout>& pattern) {
    std::vector<OrderFrame> frames;
    for (int n = 0; n < count; ++n) {
        testimage::FrameRequest request = testimage::CameraFrameRequest(CameraNumber, first + static_cast<std::uint64_t>(n));
        request.layout = pattern[static_cast<std::size_t>(n) % pattern.size()];
        testimage::Frame frame = testimage::RenderFrame(request);
        frames.push_back({*request.layout, std::move(frame.gray)});
    }
    return frames;
}

// Reads the frame as a request is read: a fresh result, the recognizer's default search region.
inline FrameAnswer ReadOrderFrame(const OrderFrame& frame) {
    FrameAnswer answer;
    if (frame.gray.size() != sizeof WorkImage) return answer;
    std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
    ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
    answer.answer = RecognizeInRegion(ThisCamera.margins, FrameWidth, FrameHeight);
    answer.code = RecognizerResult.code;
    answer.sizeType = RecognizerResult.sizeType;
    return answer;
}

// The frames taken from the layouts in turn, so that neighbours differ in layout while every
// layout has frames left.
inline std::vector<std::size_t> LayoutsInTurn(const std::vector<OrderFrame>& frames) {
    std::vector<std::vector<std::size_t>> byLayout;
    std::vector<testimage::Layout> layouts;
    for (std::size_t n = 0; n < frames.size(); ++n) {
        std::size_t k = 0;
        while (k < layouts.size() && layouts[k] != frames[n].layout) ++k;
        if (k == layouts.size()) {
            layouts.push_back(frames[n].layout);
            byLayout.emplace_back();
        }
        byLayout[k].push_back(n);
    }
    std::vector<std::size_t> order;
    for (std::size_t round = 0; order.size() < frames.size(); ++round) {
        for (const std::vector<std::size_t>& queue : byLayout) {
            if (round < queue.size()) order.push_back(queue[round]);
        }
    }
    return order;
}

// The next frame after n (cyclically) whose layout differs from frame n's.
inline std::size_t OtherLayoutFrame(const std::vector<OrderFrame>& frames, std::size_t n) {
    for (std::size_t k = 1; k < frames.size(); ++k) {
        const std::size_t other = (n + k) % frames.size();
        if (frames[other].layout != frames[n].layout) return other;
    }
    return n;
}

// Answers how many frames got different answers; each one is reported with its seed.
inline int ExpectAnswersIndependentOfOrder(const std::vector<OrderFrame>& frames, std::uint64_t first) {
    const std::size_t count = frames.size();
    std::vector<FrameAnswer> inOrder(count), reversed(count), afterOther(count);
    for (std::size_t n = 0; n < count; ++n) inOrder[n] = ReadOrderFrame(frames[n]);
    for (std::size_t n = count; n-- > 0;) reversed[n] = ReadOrderFrame(frames[n]);
    std::size_t last = count;
    for (std::size_t n : LayoutsInTurn(frames)) {
        if (last == count || frames[last].layout == frames[n].layout) ReadOrderFrame(frames[OtherLayoutFrame(frames, n)]);
        afterOther[n] = ReadOrderFrame(frames[n]);
        last = n;
    }
    int changed = 0;
    for (std::size_t n = 0; n < count; ++n) {
        const std::string seed = "seed " + std::to_string(first + n) + " (" + testimage::LayoutName(frames[n].layout) + ")";
        EXPECT_EQ(reversed[n], inOrder[n]) << seed << " read in reverse order";
        EXPECT_EQ(afterOther[n], inOrder[n]) << seed << " read after a frame of another layout";
        changed += reversed[n] == inOrder[n] && afterOther[n] == inOrder[n] ? 0 : 1;
    }
    return changed;
}

// The frames are read in blocks of consecutive seeds, one test each, so that the blocks run side
// by side. The sanitizer build reads a third of each block: it runs many times slower.
inline constexpr int OrderBlockFrames = 30;
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int OrderBlockDivisor = 3;
#else
inline constexpr int OrderBlockDivisor = 1;
#endif

inline void ExpectBlockIndependentOfOrder(std::uint64_t first, const std::vector<testimage::Layout>& pattern) {
    const std::vector<OrderFrame> frames = RenderOrderFrames(first, OrderBlockFrames / OrderBlockDivisor, pattern);
    EXPECT_EQ(ExpectAnswersIndependentOfOrder(frames, first), 0);
}
