// A whole glyph described from a skeleton drawn cell by cell, for the verifier tests: the
// skeleton as drawn (so a test controls exactly where thinning would have left spurs and
// junctions), the filled glyph as that skeleton thickened by a few cells, and the features
// prepared from them by the engine's own feature preparation.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"
#include "support/skeleton_art.h"

// Straight strokes from each (row, column) grid cell to the next.
inline void DrawPolyline(std::initializer_list<std::pair<int, int>> cells) {
    const std::pair<int, int>* previous = nullptr;
    for (const std::pair<int, int>& cell : cells) {
        if (previous != nullptr) DrawStroke(previous->first, previous->second, cell.first, cell.second);
        previous = &cell;
    }
}

// Every cell within `radius` rows and columns of a skeleton cell becomes ink of GlyphImage,
// inside rows 1..H and columns 1..W.
inline void ThickenIntoGlyphImage(int radius) {
    Glyph.GlyphImage = GlyphGrid{};
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int r = 1; r <= h; ++r) {
        for (int c = 1; c <= w; ++c) {
            if (Glyph.SkeletonImage.At(r, c) != 1) continue;
            for (int rr = std::max(1, r - radius); rr <= std::min(h, r + radius); ++rr) {
                for (int cc = std::max(1, c - radius); cc <= std::min(w, c + radius); ++cc) Glyph.GlyphImage.Set(rr, cc, 1);
            }
        }
    }
}

// Prepares every feature the verifiers read from the skeleton in the record (cells of value 1
// in rows 1..H, columns 1..W) and the filled glyph already in GlyphImage. Answers what feature
// preparation answers (0 ready, 1 rejected).
inline int PrepareFeaturesOfDrawing() {
    ComputeSkeletonBox();
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    int ink = 0;
    for (int r = 1; r <= h; ++r) {
        for (int c = 1; c <= w; ++c) ink += Glyph.GlyphImage.At(r, c) != 0 ? 1 : 0;
    }
    Glyph.AspectRatio = w == 0 ? 8.0F : static_cast<float>(h) / static_cast<float>(w);
    Glyph.InkToBackgroundRatio = static_cast<float>(ink) / static_cast<float>(h * w - ink + 1);
    return PrepareSkeletonFeatures();
}

// The same with the filled glyph made of the skeleton's strokes, `inkRadius` cells thicker on
// each side.
inline int PrepareDrawnFeatures(int inkRadius) {
    ThickenIntoGlyphImage(inkRadius);
    return PrepareFeaturesOfDrawing();
}

// A fresh record holding the drawn skeleton (rows 1.., columns 1..) and its features.
inline int DescribeDrawnSkeleton(const SkeletonArt& art, int inkRadius = 1) {
    DrawSkeleton(art);
    return PrepareDrawnFeatures(inkRadius);
}
