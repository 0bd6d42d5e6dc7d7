// The digit verifiers: 2 when the glyph is accepted as that digit, 0 when not; and the private
// pre-tests and vetoes of their groups (1 = not that digit).
#pragma once

#include <cstdint>

std::int16_t IsDigit0();
std::int16_t IsDigit1();
std::int16_t IsDigit2();
std::int16_t IsDigit3();
std::int16_t IsDigit4();
std::int16_t IsDigit5();
std::int16_t IsDigit6();
std::int16_t IsDigit7();
std::int16_t IsDigit8();
std::int16_t IsDigit9();

// The one-stroke templates of '1', which the I verifier also tries on a plain bar.
std::int16_t Match1_H0B0E2a();
std::int16_t Match1_H0B0E2b();
std::int16_t Match1_H0B0E2c();
std::int16_t Match1_H0B0E2d();
std::int16_t Match1_H0B0E2e();

std::int16_t Reject1_ByProfiles();
std::int16_t Reject1_CurvedStroke();
std::int16_t Reject2_ManyThreeRunRows();
std::int16_t Reject3_LongMiddleRow();
std::int16_t Reject3_FlatTopRightColumn();
std::int16_t Reject4_LongEdgeLine();
std::int16_t Reject5_TwoRunTopRows();
std::int16_t Reject7_NarrowLowStart();
std::int16_t Reject8_NoWaist();
std::int16_t Reject9_BottomHeavy();
std::int16_t Reject9_TailBump();

inline constexpr std::int16_t DigitAccepted = 2;
