// Skeletons of the three-junction M whose template differs between the cameras: each camera's
// verifier tests draw them.
#pragma once

#include "support/drawn_glyph.h"
#include "support/skeleton_art.h"

// The upper-left end runs down to the junction on (15, 9), the left and middle feet rise to the
// junction at (lowRow, 8), the upper-right end and the right foot meet at (12, 18), which links
// back to (15, 9).
inline void DrawForkedM(int lowRow) {
    StartBlankGlyph(31, 25);
    DrawStroke(1, 3, 14, 8);
    Glyph.SkeletonImage.Set(15, 9, 1);
    DrawStroke(16, 8, lowRow, 8);
    DrawStroke(lowRow + 1, 7, 31, 2);
    DrawStroke(lowRow + 1, 9, 31, 13);
    DrawStroke(15, 10, 12, 17);
    Glyph.SkeletonImage.Set(12, 18, 1);
    DrawStroke(1, 22, 11, 19);
    DrawStroke(13, 18, 31, 23);
    PrepareDrawnFeatures(1);
}

// The same kind of M with its junctions in three neighbouring columns: (lowRow, 14 + shift),
// (15, 15 + shift) and (8, 16 + shift). The link from the third runs down to the second, not
// towards its left, so it fails the link test.
inline void DrawForkedMInThreeColumns(int lowRow, int shift = 0) {
    StartBlankGlyph(31, 25 + shift);
    DrawStroke(1, 10 + shift, 14, 14 + shift);
    Glyph.SkeletonImage.Set(15, 15 + shift, 1);
    DrawStroke(16, 14 + shift, lowRow, 14 + shift);
    DrawStroke(lowRow + 1, 13 + shift, 31, 6 + shift);
    DrawStroke(lowRow + 1, 15 + shift, 31, 13 + shift);
    DrawPolyline({{9, 15 + shift}, {10, 15 + shift}, {11, 16 + shift}, {14, 16 + shift}});
    Glyph.SkeletonImage.Set(8, 16 + shift, 1);
    DrawStroke(1, 16 + shift, 7, 16 + shift);
    DrawPolyline({{9, 17 + shift}, {11, 19 + shift}, {31, 21 + shift}});
    PrepareDrawnFeatures(1);
}

// The forked M with the right stem and foot meeting low in the middle, at (17, 13), which links
// up-left to (15, 9): every test but the zone of that junction passes.
inline void DrawForkedMWithCentralRightJunction() {
    StartBlankGlyph(31, 25);
    DrawStroke(1, 3, 14, 8);
    Glyph.SkeletonImage.Set(15, 9, 1);
    Glyph.SkeletonImage.Set(16, 8, 1);
    DrawStroke(17, 7, 31, 2);
    DrawStroke(17, 9, 31, 13);
    DrawStroke(15, 10, 16, 12);
    Glyph.SkeletonImage.Set(17, 13, 1);
    DrawStroke(1, 22, 16, 14);
    DrawStroke(18, 14, 31, 20);
    PrepareDrawnFeatures(1);
}
