// Skeleton pieces for the drawn letters of the verifier tests: single cells, upper tips that
// thinning left plain or split into two short spurs, ink that the skeleton does not show, and
// the letter family run with some of its verifiers replaced.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/families.h"
#include "support/drawn_glyph.h"
#include "support/skeleton_art.h"

// One skeleton cell (row, column).
inline void SetSkeletonCell(int row, int col) { Glyph.SkeletonImage.Set(row, col, 1); }

enum class Tip { Plain, Split };

// The upper tip of an arm at (1, col). A split tip is a junction `inward` columns from there, on
// row 3, with two spurs up to row 1 four columns to either side. Answers the cell the arm runs
// down from.
inline std::pair<int, int> UpperTip(Tip tip, int col, int inward) {
    if (tip == Tip::Plain) return {1, col};
    const int junction = col + inward;
    DrawStroke(3, junction, 1, junction - 4);
    DrawStroke(3, junction, 1, junction + 4);
    return {3, junction};
}

enum class Bottom { Pointed, Tail, Round };

// Two arms from the top corners of a box of `height` rows and `width` columns joined at the
// bottom middle: in a point, in a junction with a short tail below it, or round. Either upper
// tip may be split.
inline void DrawArms(Tip left, Bottom bottom, Tip right, int height, int width) {
    StartBlankGlyph(height, width);
    const int mid = (width + 1) / 2;
    const std::pair<int, int> l = UpperTip(left, 1, 4);
    const std::pair<int, int> r = UpperTip(right, width, -4);
    switch (bottom) {
        case Bottom::Pointed:
            DrawStroke(l.first, l.second, height - 1, mid - 1);
            SetSkeletonCell(height, mid);
            DrawStroke(height - 1, mid + 1, r.first, r.second);
            break;
        case Bottom::Tail:
            DrawStroke(l.first, l.second, height - 4, mid);
            DrawStroke(height - 4, mid, r.first, r.second);
            DrawStroke(height - 4, mid, height, mid);
            break;
        case Bottom::Round:
            DrawPolyline(
                {l, {height - 4, l.second}, {height, l.second + 4}, {height, r.second - 4}, {height - 4, r.second}, r});
            break;
    }
    PrepareDrawnFeatures(1);
}

// The letter family's order with the verifiers of the given letters answering `vote` whatever the
// glyph: an earlier letter's vote that a later verifier reads, or a rival that the pair resolver
// has to settle.
inline std::int16_t StandInVote;
inline std::int16_t StandInVerifier() { return StandInVote; }

inline std::int16_t RunLetterFamilyWith(const std::string& standIns, std::int16_t vote = 2) {
    static LetterVerifier order[LetterCount];
    for (int k = 0; k < LetterCount; ++k) {
        order[k] = LetterOrder[k];
        if (standIns.find(order[k].letter) != std::string::npos) order[k].verify = StandInVerifier;
    }
    StandInVote = vote;
    return RunLetterFamily(order);
}

// Ink added to the filled glyph (rows top..bottom, columns left..right) with the skeleton left as
// it is, and the features prepared again: a bar or a filled notch that thinning would have
// left out of the skeleton.
inline int AddInkAndPrepare(int top, int left, int bottom, int right) {
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) Glyph.GlyphImage.Set(r, c, 1);
    }
    return PrepareSkeletonFeatures();
}
