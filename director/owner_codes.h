// Owner codes the director trusts when it completes a doubtful container number.
#pragma once

inline constexpr int OwnerCodeCount = 212;
inline constexpr int OwnerCodeEntry = 5;  // four capital letters and a NUL
inline constexpr int OwnerCodeLength = 4;
extern const char OwnerCodes[OwnerCodeCount][OwnerCodeEntry];

// The most positions 0 to 3 at which text agrees with one entry: 4 when its first four
// characters are a known owner code, 0 when no entry shares any position.
int OwnerCodeMatchLevel(const char* text);
