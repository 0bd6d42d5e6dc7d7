// The letter verifiers: 2 when the glyph is accepted as that letter, 0 when not (the K verifier
// accepts with 1 or 2); and the private pre-tests and vetoes of their groups (1 = not that
// letter). One section per group of letters.
#pragma once

#include <cstdint>

inline constexpr std::int16_t LetterAccepted = 2;

// A to G.

// H to K, and X.

// L to Q.
std::int16_t IsLetterL();
std::int16_t IsLetterM();
std::int16_t IsLetterN();
std::int16_t IsLetterO();
std::int16_t IsLetterP();
std::int16_t IsLetterQ();
std::int16_t RejectM_FewTripleRunRows();
std::int16_t RejectP_TwoRunRowsLow();
// The last M template of the three-junction case, in a file of its own: the camera-1 build
// puts its own form of it in its place.
std::int16_t MatchM_H0B3E5f();

// R to W.

// Y and Z.
