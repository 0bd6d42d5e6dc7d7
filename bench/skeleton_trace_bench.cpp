// Time of the stroke tests the verifiers run many times per glyph: one trace with its shape code
// on an S of 19 rows, and the longest trace there can be, round a closed ring until its lists fill.
#include <benchmark/benchmark.h>

#include "engine/glyph/skeleton_trace.h"
#include "tests/support/skeleton_art.h"

namespace {

void BM_TraceAndClassifyS(benchmark::State& state) {
    DrawSkeleton(SCurve);
    for (auto _ : state) {
        ClearMarks(ChordMark);
        benchmark::DoNotOptimize(TraceSkeletonPath(1, 11, 19, 1));
        benchmark::DoNotOptimize(ClassifyTraceShape(Glyph.StrokeUnit));
    }
}
BENCHMARK(BM_TraceAndClassifyS)->Unit(benchmark::kMicrosecond);

void BM_TraceRoundAClosedRing(benchmark::State& state) {
    DrawSkeleton(Diamond);
    for (auto _ : state) {
        ClearMarks(ChordMark);
        benchmark::DoNotOptimize(TraceSkeletonPath(1, 6, 6, 6));
    }
}
BENCHMARK(BM_TraceRoundAClosedRing)->Unit(benchmark::kMicrosecond);

}  // namespace
