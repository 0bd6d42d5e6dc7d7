// Test glyphs for the verifiers: a picture drawn into GlyphImage with the row and column profiles
// worked out from it by their definitions, so a test can state a glyph by drawing it.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "engine/glyph/glyph_record.h"
#include "support/glyph_drawing.h"
#include "support/stale_state.h"

namespace glyph_profiles_detail {

inline int Cell(int row, int col) { return Glyph.GlyphImage.At(row, col) != 0 ? 1 : 0; }

// Scans one glyph row or column (cells 1..length along it) for its profile entries.
struct LineProfile {
    int leading;   // background cells before the first ink cell (length when empty)
    int trailing;  // the same from the other end
    int runs;      // ink cells followed by background
    int wideRuns;  // two ink cells followed by two background cells
    int ink;
};

template <typename CellAt>
LineProfile ScanLine(int length, CellAt at) {
    LineProfile p{length, length, 0, 0, 0};
    for (int k = 1; k <= length; ++k) {
        if (at(k) == 0) continue;
        ++p.ink;
        if (p.leading == length) p.leading = k - 1;
        p.trailing = length - k;
        if (at(k + 1) == 0) ++p.runs;
        if (at(k + 1) != 0 && at(k + 2) == 0 && at(k + 3) == 0) ++p.wideRuns;
    }
    return p;
}

}  // namespace glyph_profiles_detail

// Fills the margin, run, wide-run and ink profiles from GlyphImage, rows 1..H, columns 1..W.
inline void ComputeTestProfiles() {
    using namespace glyph_profiles_detail;
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int r = 1; r <= h; ++r) {
        const LineProfile p = ScanLine(w, [r](int c) { return Cell(r, c); });
        Glyph.RowLeftMargin[r - 1] = static_cast<std::uint8_t>(p.leading);
        Glyph.RowRightMargin[r - 1] = static_cast<std::uint8_t>(p.trailing);
        Glyph.RowRunCount[r - 1] = static_cast<std::uint8_t>(p.runs);
        Glyph.RowWideRunCount[r - 1] = static_cast<std::uint8_t>(p.wideRuns);
        Glyph.RowInkCount[r - 1] = static_cast<std::int16_t>(p.ink);
    }
    for (int c = 1; c <= w; ++c) {
        const LineProfile p = ScanLine(h, [c](int r) { return Cell(r, c); });
        Glyph.ColTopMargin[c - 1] = static_cast<std::uint8_t>(p.leading);
        Glyph.ColBottomMargin[c - 1] = static_cast<std::uint8_t>(p.trailing);
        Glyph.ColRunCount[c - 1] = static_cast<std::uint8_t>(p.runs);
        Glyph.ColWideRunCount[c - 1] = static_cast<std::uint8_t>(p.wideRuns);
        Glyph.ColInkCount[c - 1] = static_cast<std::int16_t>(p.ink);
    }
}

// Clears the record, draws the picture as the filled glyph inside its border (GlyphImage,
// rows and columns from 1), sets the sizes, a skeleton box over the whole glyph, the aspect
// ratio, and the profiles.
inline void DrawProfileGlyph(const GlyphRows& rows) {
    DrawGlyph(rows, 1);
    Glyph.GlyphImage = Glyph.SkeletonImage;
    Glyph.SkeletonImage = GlyphGrid{};
    const std::int16_t h = Glyph.GlyphHeight;
    const std::int16_t w = Glyph.GlyphWidth;
    Glyph.GlyphBox = GlyphBoxRecord{1, h, 1, w, h, w};
    Glyph.AspectRatio = w == 0 ? 8.0F : static_cast<float>(h) / static_cast<float>(w);
    ComputeTestProfiles();
}

// Each test answers on each drawn glyph what it answers with junk in the profile tails (and in
// everything else an earlier glyph or trace leaves behind).
template <std::size_t TestCount, std::size_t GlyphCount>
void ExpectBlindToProfileTails(std::int16_t (*const (&tests)[TestCount])(), const GlyphRows (&glyphs)[GlyphCount]) {
    for (const GlyphRows& glyph : glyphs) {
        for (std::size_t t = 0; t < TestCount; ++t) {
            DrawProfileGlyph(glyph);
            const std::int16_t clean = tests[t]();
            for (std::uint8_t junk : StaleJunk) {
                DrawProfileGlyph(glyph);
                FillStaleState(junk);
                EXPECT_EQ(tests[t](), clean) << "test " << t << ", junk " << int(junk) << ", glyph of " << glyph.size() << " rows";
            }
        }
    }
}
