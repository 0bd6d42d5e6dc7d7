// Time to normalize, thin and prepare the features of one glyph.
#include <benchmark/benchmark.h>

#include "engine/glyph/features.h"
#include "engine/glyph/normalize.h"
#include "tests/support/test_glyphs.h"

namespace {

void NormalizeThinAndPrepare(benchmark::State& state, const char* name) {
    const double scale = static_cast<double>(state.range(0)) / 40;
    const TestGlyph* glyph = &TestGlyphs[0];
    for (const TestGlyph& g : TestGlyphs) glyph = std::string(g.name) == name ? &g : glyph;
    const GlyphRows rows = glyph->draw(scale, PenForScale(scale)).Rows();
    for (auto _ : state) {
        DrawGlyph(rows, 0);
        benchmark::DoNotOptimize(NormalizeAndThinCharacter());
        benchmark::DoNotOptimize(PrepareSkeletonFeatures());
    }
}

}  // namespace

BENCHMARK_CAPTURE(NormalizeThinAndPrepare, Eight, "8")->Arg(40)->Arg(70)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NormalizeThinAndPrepare, H, "H")->Arg(40)->Arg(70)->Unit(benchmark::kMicrosecond);
