// Time of one whole recognition of a camera-2 frame: generated frames of each layout, and a
// frame with no code, on which every step of the threshold sweep runs.
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "tools/testimage/test_image.h"

namespace {

const PackedPoint RegionTopLeft = PackPoint(4, 8);
const PackedPoint RegionBottomRight = PackPoint(568, 792);
constexpr int FramesPerLayout = 4;

// A few frames rendered once, each recognized in turn.
struct FrameSet {
    std::vector<std::vector<std::uint8_t>> frames;
};

FrameSet RenderLayout(testimage::Layout layout) {
    FrameSet set;
    for (int n = 0; n < FramesPerLayout; ++n) {
        testimage::FrameRequest request = testimage::CameraFrameRequest(2, 500 + n);
        request.layout = layout;
        set.frames.push_back(testimage::RenderFrame(request).gray);
    }
    return set;
}

void RecognizeFrames(benchmark::State& state, const FrameSet& set) {
    std::size_t next = 0;
    for (auto _ : state) {
        std::memcpy(WorkImage, set.frames[next].data(), sizeof WorkImage);
        next = (next + 1) % set.frames.size();
        ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
        benchmark::DoNotOptimize(RecognizeContainerImage(RegionTopLeft, RegionBottomRight));
    }
}

void BM_RecognizeLayout(benchmark::State& state) {
    const auto layout = static_cast<testimage::Layout>(state.range(0));
    state.SetLabel(testimage::LayoutName(layout));
    RecognizeFrames(state, RenderLayout(layout));
}
BENCHMARK(BM_RecognizeLayout)
    ->Arg(static_cast<int>(testimage::Layout::OneLine))
    ->Arg(static_cast<int>(testimage::Layout::TwoLines))
    ->Arg(static_cast<int>(testimage::Layout::Vertical))
    ->Unit(benchmark::kMillisecond);

// A wall with ribs, dirt and noise but no markings: the full sweep, nothing accepted.
void BM_RecognizeFrameWithoutCode(benchmark::State& state) {
    testimage::FrameRequest request = testimage::CameraFrameRequest(2, 900);
    request.layout = testimage::Layout::OneLine;
    testimage::Frame frame = testimage::RenderFrame(request);
    // Paint the wall's own pixels (those the markings do not cover) over the markings' rows.
    const int width = frame.truth.width;
    for (int row = 0; row < frame.truth.height; ++row) {
        std::uint8_t wall = 0;
        for (int column = 0; column < width; ++column) {
            const std::size_t index = static_cast<std::size_t>(row) * width + column;
            if (frame.ink[index] == 0) wall = frame.gray[index];
            else frame.gray[index] = wall;
        }
    }
    FrameSet set;
    set.frames.push_back(frame.gray);
    RecognizeFrames(state, set);
}
BENCHMARK(BM_RecognizeFrameWithoutCode)->Unit(benchmark::kMillisecond);

}  // namespace
