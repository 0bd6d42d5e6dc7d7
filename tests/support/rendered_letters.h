// Letters drawn with the test rasterizer on a 40-row design and read through the real
// preparation: the canvas is loaded the way the drivers load a character box, cropped, and
// recognized in letter mode.
#pragma once

#include <string>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "support/glyph_raster.h"
#include "support/test_glyphs.h"

using DrawLetter = GlyphCanvas (*)(double scale, double pen);

// What the letter family made of a glyph: the letters whose verifiers voted (in slot order)
// and the candidate string left after the pair resolver ("rejected" when the glyph was).
struct LetterReading {
    std::string votes;
    std::string candidates;
};

inline std::string LetterVotesCast() {
    std::string votes;
    for (int slot = 0; slot < LetterVoteSlots; ++slot) {
        if (Glyph.LetterVotes[slot] != 0) votes += static_cast<char>('A' + slot % 26);
    }
    return votes;
}

// Loads the rows the way a character box is loaded (origin 0,0), crops and recognizes them.
inline LetterReading ReadLetterRows(const GlyphRows& rows) {
    DrawGlyph(rows, 0);
    CropGlyph();
    if (RecognizeCharacter(ModeLetters) < 0) return {"", "rejected"};
    return {LetterVotesCast(), Glyph.CandidateString};
}

// The drawing at the given scale (1 = 40 rows) with its pen widened by `penFactor`.
inline LetterReading ReadLetter(DrawLetter draw, double scale, double penFactor = 1.0) {
    return ReadLetterRows(draw(scale, PenForScale(scale) * penFactor).Rows());
}

namespace letters {

inline GlyphCanvas A(double s, double p) {
    return Canvas(s, 40, 28).Line(3 * s, 38 * s, 14 * s, 2 * s, p).Line(14 * s, 2 * s, 25 * s, 38 * s, p).Line(
        7 * s, 26 * s, 21 * s, 26 * s, p);
}

inline GlyphCanvas B(double s, double p) {
    return StemAndBowl(s, p).Line(4 * s, 38 * s, 13 * s, 38 * s, p).Arc(13 * s, 29 * s, 9 * s, 9 * s, -90, 90, p);
}

inline GlyphCanvas R(double s, double p) { return StemAndBowl(s, p).Line(12 * s, 20 * s, 23 * s, 38 * s, p); }

inline GlyphCanvas Eight(double s, double p) {
    return Canvas(s, 40, 26).Ellipse(13 * s, 10.5 * s, 8 * s, 8 * s, p).Ellipse(13 * s, 28.5 * s, 9.5 * s, 9.5 * s, p);
}

inline GlyphCanvas C(double s, double p) { return Canvas(s, 40, 28).Arc(15 * s, 20 * s, 11 * s, 17 * s, 40, 320, p); }

inline GlyphCanvas D(double s, double p) {
    return Canvas(s, 40, 26)
        .Line(4 * s, 2 * s, 4 * s, 38 * s, p)
        .Line(4 * s, 2 * s, 12 * s, 2 * s, p)
        .Line(4 * s, 38 * s, 12 * s, 38 * s, p)
        .Arc(12 * s, 20 * s, 10 * s, 18 * s, -90, 90, p);
}

inline GlyphCanvas O(double s, double p) { return Canvas(s, 40, 26).Ellipse(13 * s, 20 * s, 10 * s, 17 * s, p); }

inline GlyphCanvas F(double s, double p) {
    return Canvas(s, 40, 24).Line(4 * s, 2 * s, 4 * s, 38 * s, p).Line(4 * s, 2 * s, 22 * s, 2 * s, p).Line(
        4 * s, 20 * s, 19 * s, 20 * s, p);
}

inline GlyphCanvas E(double s, double p) { return F(s, p).Line(4 * s, 38 * s, 22 * s, 38 * s, p); }

inline GlyphCanvas G(double s, double p) {
    return Canvas(s, 40, 28)
        .Arc(15 * s, 20 * s, 11 * s, 17 * s, 10, 320, p)
        .Line(16 * s, 23 * s, 26 * s, 23 * s, p)
        .Line(26 * s, 23 * s, 26 * s, 34 * s, p);
}

// One stroke round the left like a C, its left side pushed in to a point at mid-height (the
// middle bar of an E that thinned away): the point at column `dent`, reached from row
// `upperRow` on the left side and left towards row `lowerRow`.
inline GlyphCanvas DentedBow(double s, double p, double dent, double upperRow, double lowerRow) {
    GlyphCanvas c = Canvas(s, 40, 28);
    const double points[][2] = {{24, 7},  {20, 3},        {13, 2},  {7, 4},  {5, 6},  {4, 8},   {4, upperRow}, {dent, 20},
                                {4, lowerRow}, {4, 32}, {5, 34}, {7, 37}, {14, 38}, {18, 37}, {18, 34}};
    for (std::size_t k = 0; k + 1 < sizeof points / sizeof points[0]; ++k) {
        c.Line(points[k][0] * s, points[k][1] * s, points[k + 1][0] * s, points[k + 1][1] * s, p);
    }
    return c;
}

}  // namespace letters
