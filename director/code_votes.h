// Position-by-position votes over the answers of one set, and the codes decided from them.
#pragma once

#include <cstdint>

inline constexpr int SymbolCount = 36;  // "0" to "9" are 0 to 9, "A" to "Z" are 10 to 35
inline constexpr int DigitCount = 10;
inline constexpr int NoSymbol = -1;
inline constexpr int ContainerCodeLength = 11;
inline constexpr int SizeTypeLength = 4;
inline constexpr int DecidedCodeSize = 16;
inline constexpr int DecidedSizeTypeSize = 8;

// Symbol of a digit or capital letter; NoSymbol for any other character.
int SymbolOf(char c);
// "0" to "9" for 0 to 9, "A" to "Z" for 10 to 35.
char SymbolToChar(int symbol);
// 1 when the 11th character is the check digit of the first ten, else 0.
int IsCheckDigitValid(const char* text);

// The vote tables hold nothing between decisions: each decision clears and refills them.
struct CodeVoting {
    std::uint8_t CodeVotes[ContainerCodeLength][SymbolCount];
    std::uint8_t SizeTypeVotes[SizeTypeLength][SymbolCount];
    char DecidedCode[DecidedCodeSize];
    char DecidedSizeType[DecidedSizeTypeSize];

    void ClearCodeVotes();
    void ClearSizeTypeVotes();
    // One vote per position for a four-character size/type code; "?" gives none.
    void VoteSizeTypeCode(const char* text);
    // Writes DecidedSizeType; 1 when it holds no "?".
    int DecideSizeTypeCode();
    // One vote per position for an eleven-character container number: letters count in the
    // owner code, digits in the serial and check digit.
    void VoteContainerCode(const char* text);
    // Writes DecidedCode and answers 1 when the votes decide a number, else 0.
    int DecideContainerCode();

private:
    bool FillUnknownPositions(char* candidate, const int* unknown, int count, int depth) const;
};
