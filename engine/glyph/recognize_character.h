// The one call through which location and reading ask which characters a glyph can be.
#pragma once

#include <cstdint>

inline constexpr int ModeLetters = 0;
inline constexpr int ModeDigits = 1;
inline constexpr int ModeBoth = 2;
inline constexpr std::int16_t GlyphRejected = -1;

// Recognizes the glyph that the caller loaded into Glyph.SkeletonImage at origin 0,0 (ink 1,
// GlyphHeight x GlyphWidth, at most 126 each). Answers the number of candidates in
// Glyph.CandidateString (digits first, then letters), or GlyphRejected; after a rejection
// CandidateString and CandidateCount still describe an earlier glyph, so callers must act on
// the -1 alone.
std::int16_t RecognizeCharacter(int mode);

// Rebuilds CandidateString and CandidateCount from the two candidate lists.
void BuildCandidateString();
