// Characters drawn with the test rasterizer, designed on 40 rows and scaled to any height, with
// a pen that grows with the height the way printed strokes do.
#pragma once

#include "glyph_raster.h"

struct TestGlyph {
    const char* name;
    GlyphCanvas (*draw)(double scale, double pen);
    int holes;
    int junctions;  // -1 where the shape leaves it open
    int ends;
};

inline double PenForScale(double scale) { return 2 + 3.5 * scale; }

inline GlyphCanvas Canvas(double s, int height, int width) {
    return GlyphCanvas(static_cast<int>(height * s), static_cast<int>(width * s));
}

// The stem and upper bowl shared by P, R and B.
inline GlyphCanvas StemAndBowl(double s, double p) {
    return Canvas(s, 40, 26)
        .Line(4 * s, 2 * s, 4 * s, 38 * s, p)
        .Line(4 * s, 2 * s, 13 * s, 2 * s, p)
        .Line(4 * s, 20 * s, 13 * s, 20 * s, p)
        .Arc(13 * s, 11 * s, 9 * s, 9 * s, -90, 90, p);
}

inline const TestGlyph TestGlyphs[] = {
    {"0", [](double s, double p) { return Canvas(s, 40, 26).Ellipse(13 * s, 20 * s, 9.5 * s, 16.5 * s, p); }, 1, 0, 0},
    {"8",
     [](double s, double p) {
         return Canvas(s, 40, 26).Ellipse(13 * s, 10.5 * s, 8 * s, 8 * s, p).Ellipse(13 * s, 28.5 * s, 9.5 * s, 9.5 * s, p);
     },
     2, 2, 0},
    {"1", [](double s, double p) { return Canvas(s, 40, 8).Line(4 * s, 2 * s, 4 * s, 38 * s, p); }, 0, 0, 2},
    {"H",
     [](double s, double p) {
         return Canvas(s, 40, 26).Line(4 * s, 2 * s, 4 * s, 38 * s, p).Line(22 * s, 2 * s, 22 * s, 38 * s, p).Line(
             4 * s, 20 * s, 22 * s, 20 * s, p);
     },
     0, 2, 4},
    {"T",
     [](double s, double p) { return Canvas(s, 40, 26).Line(2 * s, 4 * s, 24 * s, 4 * s, p).Line(13 * s, 4 * s, 13 * s, 38 * s, p); },
     0, 1, 3},
    {"L",
     [](double s, double p) { return Canvas(s, 40, 24).Line(4 * s, 2 * s, 4 * s, 36 * s, p).Line(4 * s, 36 * s, 22 * s, 36 * s, p); },
     0, 0, 2},
    {"7",
     [](double s, double p) { return Canvas(s, 40, 24).Line(2 * s, 4 * s, 21 * s, 4 * s, p).Line(21 * s, 4 * s, 9 * s, 38 * s, p); },
     0, 0, 2},
    {"X",
     [](double s, double p) { return Canvas(s, 40, 26).Line(3 * s, 3 * s, 23 * s, 37 * s, p).Line(23 * s, 3 * s, 3 * s, 37 * s, p); },
     0, 2, 4},
    {"1 with foot",
     [](double s, double p) {
         return Canvas(s, 40, 20).Line(10 * s, 2 * s, 10 * s, 37 * s, p).Line(3 * s, 37 * s, 17 * s, 37 * s, p).Line(
             10 * s, 2 * s, 4 * s, 8 * s, p);
     },
     0, 1, 3},
    {"D",
     [](double s, double p) {
         return Canvas(s, 40, 26)
             .Line(4 * s, 2 * s, 4 * s, 38 * s, p)
             .Line(4 * s, 2 * s, 12 * s, 2 * s, p)
             .Line(4 * s, 38 * s, 12 * s, 38 * s, p)
             .Arc(12 * s, 20 * s, 10 * s, 18 * s, -90, 90, p);
     },
     1, 0, 0},
    {"P", [](double s, double p) { return StemAndBowl(s, p); }, 1, 1, 1},
    {"R", [](double s, double p) { return StemAndBowl(s, p).Line(12 * s, 20 * s, 23 * s, 38 * s, p); }, 1, 2, 2},
    {"B",
     [](double s, double p) {
         return StemAndBowl(s, p).Line(4 * s, 38 * s, 13 * s, 38 * s, p).Arc(13 * s, 29 * s, 9 * s, 9 * s, -90, 90, p);
     },
     2, 2, 0},
    {"6",
     [](double s, double p) {
         return Canvas(s, 40, 26).Ellipse(13 * s, 27 * s, 9 * s, 10 * s, p).Arc(21 * s, 22 * s, 17 * s, 19 * s, 180, 265, p);
     },
     1, 1, 1},
    {"9",
     [](double s, double p) {
         return Canvas(s, 40, 26).Ellipse(13 * s, 13 * s, 9 * s, 10 * s, p).Arc(5 * s, 18 * s, 17 * s, 19 * s, 0, 85, p);
     },
     1, 1, 1},
    // A pointed apex and a crossing stem may or may not leave a short spur: only the hole is sure.
    {"A",
     [](double s, double p) {
         return Canvas(s, 40, 28).Line(3 * s, 38 * s, 14 * s, 2 * s, p).Line(14 * s, 2 * s, 25 * s, 38 * s, p).Line(
             7 * s, 26 * s, 21 * s, 26 * s, p);
     },
     1, -1, -1},
    {"4",
     [](double s, double p) {
         return Canvas(s, 40, 26).Line(17 * s, 2 * s, 3 * s, 28 * s, p).Line(3 * s, 28 * s, 24 * s, 28 * s, p).Line(
             17 * s, 2 * s, 17 * s, 38 * s, p);
     },
     1, -1, -1},
};
