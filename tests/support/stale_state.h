// Junk where an earlier glyph or an earlier trace leaves data behind, and the check that no
// verifier reads it: every verifier must answer on a glyph what it answers with junk in
//   - the profile entries past the glyph's rows and columns (and the gap profiles' row and
//     column 0),
//   - the grid cells beyond the glyph's one-cell border,
//   - the trace and walk buffers (PathX / PathY and the rest of the last trace's results, the
//     walk point, JunctionBranches and SortOrder).
// Every letter and digit test file runs its glyphs through ExpectVerifiersBlindToStaleState.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/families.h"

// The junk values tried: empty-looking, skeleton-looking, mark-looking, index-looking, large.
inline constexpr std::uint8_t StaleJunk[] = {0, 1, 3, 9, 200};

inline void FillProfileTails(std::uint8_t junk) {
    for (int i = Glyph.GlyphHeight; i < GridSide; ++i) {
        if (i < 0) continue;
        Glyph.RowLeftMargin[i] = Glyph.RowRightMargin[i] = Glyph.RowRunCount[i] = Glyph.RowWideRunCount[i] = junk;
        Glyph.RowInkCount[i] = junk;
    }
    for (int c = Glyph.GlyphWidth; c < GridSide; ++c) {
        if (c < 0) continue;
        Glyph.ColTopMargin[c] = Glyph.ColBottomMargin[c] = Glyph.ColRunCount[c] = Glyph.ColWideRunCount[c] = junk;
        Glyph.ColInkCount[c] = junk;
    }
    // The gap profiles are indexed by the grid row and column: 0 and past H / W are not the glyph.
    Glyph.RowGapCount[0] = Glyph.ColGapCount[0] = junk;
    for (int i = Glyph.GlyphHeight + 1; i < GridSide; ++i) Glyph.RowGapCount[i] = junk;
    for (int c = Glyph.GlyphWidth + 1; c < GridSide; ++c) Glyph.ColGapCount[c] = junk;
}

// Cells past row H + 1 and column W + 1 of both grids.
inline void FillGridTails(std::uint8_t junk) {
    for (int row = 0; row < GridSide; ++row) {
        for (int col = 0; col < GridSide; ++col) {
            if (row <= Glyph.GlyphHeight + 1 && col <= Glyph.GlyphWidth + 1) continue;
            Glyph.SkeletonImage.Set(row, col, junk);
            Glyph.GlyphImage.Set(row, col, junk);
        }
    }
}

inline void FillTraceLeftovers(std::uint8_t junk) {
    const auto j16 = static_cast<std::int16_t>(junk);
    for (int i = 0; i < MaxPathPoints; ++i) Glyph.PathX[i] = Glyph.PathY[i] = j16;
    for (int i = 0; i < MaxPathMeasures; ++i) Glyph.PathDistance[i] = Glyph.PathSide[i] = junk;
    for (int i = 0; i < MaxChordHits; ++i) Glyph.ChordHitRows[i] = Glyph.ChordHitCols[i] = junk;
    for (std::int16_t& slot : Glyph.SortOrder) slot = j16;
    for (auto& branches : Glyph.JunctionBranches) {
        for (GlyphPoint& p : branches) p = GlyphPoint{j16, j16};
    }
    Glyph.PathPointCount = Glyph.WalkLength = Glyph.ChordLength = Glyph.ChordHitCount = j16;
    Glyph.ChordDirection = Glyph.ChordSteepness = Glyph.ChordSlope = Glyph.PathLengthRatio = junk;
    Glyph.WalkRow = Glyph.WalkCol = Glyph.WalkPrevRow = Glyph.WalkPrevCol = j16;
}

inline void FillStaleState(std::uint8_t junk) {
    FillProfileTails(junk);
    FillGridTails(junk);
    FillTraceLeftovers(junk);
}

// Everything the verifiers answer on the glyph in the record: each digit verifier on its own
// (with fresh junk before each when `junk` is given), then both families.
struct VerifierAnswers {
    std::int16_t digits[DigitCount];
    std::int16_t digitFamily;
    std::string digitCandidates;
    std::int16_t letterVotes[LetterVoteSlots];
    std::int16_t letterFamily;
    std::string letterCandidates;

    bool operator==(const VerifierAnswers&) const = default;
};

inline std::string CandidateText(const std::int16_t* candidates, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += static_cast<char>(candidates[k]);
    return text;
}

inline void PrintTo(const VerifierAnswers& a, std::ostream* os) {
    *os << "digits";
    for (std::int16_t d : a.digits) *os << ' ' << d;
    *os << ", digit family '" << a.digitCandidates << "', letter family '" << a.letterCandidates << "'";
}

template <typename Build>
VerifierAnswers RunVerifiers(Build build, const std::uint8_t* junk) {
    constexpr Verifier Digits[DigitCount] = {IsDigit0, IsDigit1, IsDigit2, IsDigit3, IsDigit4,
                                             IsDigit5, IsDigit6, IsDigit7, IsDigit8, IsDigit9};
    VerifierAnswers answers{};
    build();
    for (int d = 0; d < DigitCount; ++d) {
        if (junk != nullptr) FillStaleState(*junk);
        answers.digits[d] = Digits[d]();
    }
    build();
    if (junk != nullptr) FillStaleState(*junk);
    answers.digitFamily = ClassifyDigit();
    answers.digitCandidates = CandidateText(Glyph.DigitCandidates, Glyph.DigitCandidateCount);
    build();
    if (junk != nullptr) FillStaleState(*junk);
    answers.letterFamily = ClassifyLetter();
    answers.letterCandidates = CandidateText(Glyph.LetterCandidates, Glyph.LetterCandidateCount);
    for (int s = 0; s < LetterVoteSlots; ++s) answers.letterVotes[s] = Glyph.LetterVotes[s];
    return answers;
}

// `build` draws one glyph into a fresh record. Answers the clean run, for further checks.
template <typename Build>
VerifierAnswers ExpectVerifiersBlindToStaleState(Build build, const std::string& name) {
    const VerifierAnswers clean = RunVerifiers(build, nullptr);
    for (std::uint8_t junk : StaleJunk) {
        EXPECT_EQ(RunVerifiers(build, &junk), clean) << name << ", junk " << int(junk);
    }
    return clean;
}
