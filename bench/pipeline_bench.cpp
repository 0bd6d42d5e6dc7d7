// Time of one whole recognition of a frame of the camera the engine is built for: generated
// frames of each layout that camera reads, and a frame with no code, on which every step of the
// threshold sweep runs. Built into torva_bench (camera 2) and torva_bench_cam1 (camera 1).
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "tools/testimage/test_image.h"

namespace {

// The recognizer's default region of interest.
const PackedPoint RegionTopLeft = CameraNumber == 1 ? PackPoint(220, 140) : PackPoint(4, 8);
const PackedPoint RegionBottomRight = CameraNumber == 1 ? PackPoint(700, 350) : PackPoint(568, 792);
constexpr int FramesPerLayout = 4;

// A few frames rendered once, each recognized in turn.
struct FrameSet {
    std::vector<std::vector<std::uint8_t>> frames;
};

FrameSet RenderLayout(testimage::Layout layout) {
    FrameSet set;
    for (int n = 0; n < FramesPerLayout; ++n) {
        testimage::FrameRequest request = testimage::CameraFrameRequest(CameraNumber, 500 + n);
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
// Camera 1 reads only the one-line layout.
void LayoutsOfThisCamera(benchmark::internal::Benchmark* bench) {
    bench->Arg(static_cast<int>(testimage::Layout::OneLine));
    if (CameraNumber == 1) return;
    bench->Arg(static_cast<int>(testimage::Layout::TwoLines));
    bench->Arg(static_cast<int>(testimage::Layout::Vertical));
}
BENCHMARK(BM_RecognizeLayout)->Apply(LayoutsOfThisCamera)->Unit(benchmark::kMillisecond);

// A wall with ribs, dirt and noise but no markings: the full sweep, nothing accepted.
void BM_RecognizeFrameWithoutCode(benchmark::State& state) {
    testimage::FrameRequest request = testimage::CameraFrameRequest(CameraNumber, 900);
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
