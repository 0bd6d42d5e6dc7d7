// Time of the first location stage on a full frame: edge image, one binarization, text bands.
#include <benchmark/benchmark.h>

#include "engine/location/edge_image.h"
#include "engine/location/text_bands.h"
#include "tests/support/frame_drawing.h"

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
