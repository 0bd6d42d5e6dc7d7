// Rules about the two codes: the ISO 6346 check digit, the accepted size/type codes, and two
// tests on a read line. Shared by the recognizers and the director.
#pragma once

#include <cstdint>

inline constexpr int SizeTypeCodeCount = 40;
inline constexpr int SizeTypeCodeEntry = 5;  // four characters and a NUL
extern const char SizeTypeCodes[SizeTypeCodeCount][SizeTypeCodeEntry];
extern const std::uint16_t LetterValues[26];

inline constexpr std::uint8_t UnknownCheckDigit = 255;

// ASCII check digit over the first ten characters, or 255 when one is "?" (or is not a letter
// in positions 0 to 3, not a digit in 4 to 9).
std::uint8_t ComputeCheckDigit(const char* text);
// 4, 3 or 2 for the most positions that agree with some accepted code; 0 for fewer.
int SizeTypeMatchLevel(const char* text);
// Number of "?" among the first n characters.
int CountUnknown(const char* text, int n);
// 1 when more than 9 of the 11 characters are "1", "?" or "I".
int IsMostlyOnes(const char* text);
