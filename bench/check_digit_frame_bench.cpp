// Framed check digits through frame removal and cropping, against the same digits drawn
// without a frame: how often the cropped box and the hole count come out as the digit's own.
// Reported as counters (shares of the drawn cases); the time is that of one whole set.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/glyph/check_digit_frame.h"
#include "engine/glyph/glyph_grid.h"
#include "tests/support/framed_digits.h"

namespace {

struct CroppedGlyph {
    int rows, cols, holes;
};

// Crops the box at origin 0,0 and counts the holes of what is left.
CroppedGlyph CropAndCountHoles(int rows, int cols) {
    Glyph.GlyphHeight = static_cast<std::int16_t>(rows);
    Glyph.GlyphWidth = static_cast<std::int16_t>(cols);
    CropGlyph();
    const int h = Glyph.GlyphHeight, w = Glyph.GlyphWidth;
    for (int r = h - 1; r >= 0; --r)
        for (int c = w - 1; c >= 0; --c) Glyph.SkeletonImage.Set(r + 1, c + 1, Glyph.SkeletonImage.At(r, c));
    for (int i = 0; i <= w + 1; ++i) Glyph.SkeletonImage.Set(0, i, 0);
    for (int i = 0; i <= h + 1; ++i) Glyph.SkeletonImage.Set(i, 0, 0);
    FindHoles(0);
    return {h, w, Glyph.HoleCount};
}

FramedDigit Drawn;

struct Tally {
    int cases = 0, sameBox = 0, nearBox = 0, sameHoles = 0;
};

void RemoveFramesOf(benchmark::State& state, char digit) {
    Tally tally;
    for (auto _ : state) {
        tally = {};
        for (int thickness = 2; thickness <= 4; ++thickness)
            for (int gap = 1; gap <= 4; ++gap)
                for (int digitRows = 24; digitRows <= 60; digitRows += 4) {
                    FrameStyle none;
                    none.top = none.bottom = none.left = none.right = false;
                    none.thickness = none.gap = 0;
                    DrawFramedDigit(Drawn, digit, digitRows, none);
                    const CroppedGlyph own = CropAndCountHoles(Drawn.rows, Drawn.cols);

                    FrameStyle style;
                    style.thickness = thickness;
                    style.gap = gap;
                    DrawFramedDigit(Drawn, digit, digitRows, style);
                    RemoveCheckDigitFrame(static_cast<std::int16_t>(Drawn.cols), static_cast<std::int16_t>(Drawn.rows));
                    const CroppedGlyph left = CropAndCountHoles(Drawn.rows, Drawn.cols);

                    ++tally.cases;
                    tally.sameBox += left.rows == own.rows && left.cols == own.cols;
                    tally.nearBox += std::abs(left.rows - own.rows) <= 2 && std::abs(left.cols - own.cols) <= 2;
                    tally.sameHoles += left.holes == own.holes;
                }
    }
    state.counters["cases"] = tally.cases;
    state.counters["same_box"] = static_cast<double>(tally.sameBox) / tally.cases;
    state.counters["box_within_2"] = static_cast<double>(tally.nearBox) / tally.cases;
    state.counters["same_holes"] = static_cast<double>(tally.sameHoles) / tally.cases;
}

void BM_FrameRemoval_1(benchmark::State& state) { RemoveFramesOf(state, '1'); }
void BM_FrameRemoval_7(benchmark::State& state) { RemoveFramesOf(state, '7'); }
void BM_FrameRemoval_0(benchmark::State& state) { RemoveFramesOf(state, '0'); }
void BM_FrameRemoval_8(benchmark::State& state) { RemoveFramesOf(state, '8'); }

// One removal on a framed 8 in a box of 70 rows (the grid is restored before each).
void BM_RemoveCheckDigitFrame(benchmark::State& state) {
    DrawFramedDigit(Drawn, '8', 60, FrameStyle{});
    const GlyphGrid framed = Glyph.SkeletonImage;
    for (auto _ : state) {
        Glyph.SkeletonImage = framed;
        RemoveCheckDigitFrame(static_cast<std::int16_t>(Drawn.cols), static_cast<std::int16_t>(Drawn.rows));
        benchmark::DoNotOptimize(Glyph.SkeletonImage);
    }
}

}  // namespace

BENCHMARK(BM_RemoveCheckDigitFrame);
BENCHMARK(BM_FrameRemoval_1);
BENCHMARK(BM_FrameRemoval_7);
BENCHMARK(BM_FrameRemoval_0);
BENCHMARK(BM_FrameRemoval_8);
