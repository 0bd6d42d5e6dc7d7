// The letter verifiers: 2 when the glyph is accepted as that letter, 0 when not (the K verifier
// accepts with 1 or 2); and the private pre-tests and vetoes of their groups (1 = not that
// letter). One section per group of letters.
#pragma once

#include <cstdint>

inline constexpr std::int16_t LetterAccepted = 2;

// A to G.
std::int16_t IsLetterA();
std::int16_t IsLetterB();
std::int16_t IsLetterC();
std::int16_t IsLetterD();
std::int16_t IsLetterE();
std::int16_t IsLetterF();
std::int16_t IsLetterG();

// H to K, and X.

// L to Q.

// R to W.

// Y and Z.
std::int16_t IsLetterY();
std::int16_t IsLetterZ();
std::int16_t RejectZ_SecondBar();
