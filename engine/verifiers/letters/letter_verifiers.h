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
std::int16_t IsLetterH();
std::int16_t IsLetterI();
std::int16_t IsLetterJ();
std::int16_t IsLetterK();
std::int16_t IsLetterX();
std::int16_t RejectH_TallCrossbarBand();
std::int16_t RejectI_RightStepOrF();

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
std::int16_t IsLetterR();
std::int16_t IsLetterS();
std::int16_t IsLetterT();
std::int16_t IsLetterU();
std::int16_t IsLetterV();
std::int16_t IsLetterW();
std::int16_t RejectV_TwoRunRowsHigh();

// Y and Z.
std::int16_t IsLetterY();
std::int16_t IsLetterZ();
std::int16_t RejectZ_SecondBar();
