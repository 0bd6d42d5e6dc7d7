// Time of the location stages: edge image, one binarization and text bands on a full frame;
// component search and segmentation of one line; a full horizontal and vertical location at one
// threshold.
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine/location/edge_image.h"
#include "engine/location/location_passes.h"
#include "engine/location/segmentation.h"
#include "engine/location/text_bands.h"
#include "tests/support/location_frames.h"

namespace {

void DrawBenchFrame() {
    drawing::FillPlane(WorkImage, 170);
    const drawing::CharStyle style;
    drawing::DrawTextLine(WorkImage, "TGHU1234567", 40, 150, style);
    drawing::DrawTextLine(WorkImage, "45G1", 40, 260, style);
    drawing::DrawTextColumn(WorkImage, "MSKU7654321", 520, 120, 6, style);
    drawing::BlurWorkImage();
    drawing::AddNoise(5, 2024);
}

void BM_EdgeThresholdAndBands(benchmark::State& state) {
    DrawBenchFrame();
    const PackedPoint topLeft = PackPoint(0, 0);
    const PackedPoint bottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);
    for (auto _ : state) {
        ComputeEdgeImage(topLeft, bottomRight);
        ThresholdEdgeImage(topLeft, bottomRight, 30);
        benchmark::DoNotOptimize(FindHorizontalTextBands(topLeft, bottomRight));
    }
}
BENCHMARK(BM_EdgeThresholdAndBands)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Component search and segmentation of one 11-character line, as at one threshold of the sweep.
void BM_SegmentCodeLine(benchmark::State& state) {
    drawing::FillPlane(WorkImage, 170);
    const drawing::CharStyle style;
    drawing::DrawTextLine(WorkImage, "TGHU1234567", 40, 200, style);
    drawing::BlurWorkImage();
    drawing::AddNoise(5, 2024);
    drawing::BinarizeFrame(30);
    VerticalModeFlag = 0;
    for (auto _ : state) {
        std::memcpy(BinaryImage, BinarySnapshot, sizeof BinaryImage);
        std::memcpy(BinaryBackup, BinarySnapshot, sizeof BinaryBackup);
        drawing::SetCandidates({CharBox{20, 196, 590, 250}});
        benchmark::DoNotOptimize(SegmentAllCandidates());
    }
}
BENCHMARK(BM_SegmentCodeLine)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Binarization and both code passes at one threshold of the sweep, as for every step.
void BM_LocateAtOneThreshold(benchmark::State& state) {
    DrawBenchFrame();
    drawing::BinarizeFrame(30);
    const PackedPoint topLeft = PackPoint(0, 0);
    const PackedPoint bottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);
    int located = 0;
    for (auto _ : state) {
        for (std::uint8_t vertical : {std::uint8_t{0}, std::uint8_t{1}}) {
            VerticalModeFlag = vertical;
            ThresholdEdgeImage(topLeft, bottomRight, 30);
            std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
            std::memcpy(BinarySnapshot, BinaryImage, sizeof BinarySnapshot);
            const int answer = vertical == 1 ? LocateVerticalCodeLines(topLeft, bottomRight)
                                             : LocateHorizontalCodeLines(topLeft, bottomRight);
            located += answer == 0 ? LineCandidateCount : 0;
        }
    }
    VerticalModeFlag = 0;
    state.counters["candidates"] = benchmark::Counter(located, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LocateAtOneThreshold)->Unit(benchmark::kMillisecond);

}  // namespace
