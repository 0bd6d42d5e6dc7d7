#include "director/code_votes.h"

#include <cstring>

#include "common/code_rules.h"
#include "director/owner_codes.h"

namespace {

constexpr int FirstLetterSymbol = 10;
constexpr int CheckDigitPosition = 10;
constexpr int SureVoteCount = 2;          // a position is sure with a clear lead of this many
constexpr int MaxUnknownPositions = 3;    // beyond this the owner code and check digit can't tell
// A "3" in the length digit of a size/type code is a misread "2": no code in use starts with
// it. Elsewhere "3" is a digit of real codes (4310, 2232, 2263) and is voted as read.
constexpr int MisreadSizeTypeSymbol = 3;
constexpr int MeantSizeTypeSymbol = 2;
constexpr int LengthPosition = 0;

bool IsOwnerPosition(int position) { return position < OwnerCodeLength; }

// The range of symbols that may stand at a position of a container number.
int FirstSymbolAt(int position) { return IsOwnerPosition(position) ? FirstLetterSymbol : 0; }
int EndSymbolAt(int position) { return IsOwnerPosition(position) ? SymbolCount : DigitCount; }

}  // namespace

int SymbolOf(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + FirstLetterSymbol;
    return NoSymbol;
}

char SymbolToChar(int symbol) {
    return static_cast<char>(symbol < FirstLetterSymbol ? '0' + symbol
                                                        : 'A' + symbol - FirstLetterSymbol);
}

int IsCheckDigitValid(const char* text) {
    const std::uint8_t digit = ComputeCheckDigit(text);
    return digit != UnknownCheckDigit &&
                   static_cast<std::uint8_t>(text[CheckDigitPosition]) == digit
               ? 1
               : 0;
}

void CodeVoting::ClearCodeVotes() { std::memset(CodeVotes, 0, sizeof CodeVotes); }

void CodeVoting::ClearSizeTypeVotes() { std::memset(SizeTypeVotes, 0, sizeof SizeTypeVotes); }

void CodeVoting::VoteSizeTypeCode(const char* text) {
    for (int p = 0; p < SizeTypeLength && text[p] != '\0'; ++p) {
        int symbol = SymbolOf(text[p]);
        if (symbol == NoSymbol) continue;
        if (p == LengthPosition && symbol == MisreadSizeTypeSymbol) symbol = MeantSizeTypeSymbol;
        ++SizeTypeVotes[p][symbol];
    }
}

int CodeVoting::DecideSizeTypeCode() {
    int decided = 1;
    for (int p = 0; p < SizeTypeLength; ++p) {
        int best = NoSymbol;
        int bestCount = 0;
        for (int s = 0; s < SymbolCount; ++s) {
            if (SizeTypeVotes[p][s] > bestCount) {
                best = s;
                bestCount = SizeTypeVotes[p][s];
            }
        }
        if (best == NoSymbol) decided = 0;
        DecidedSizeType[p] = best == NoSymbol ? '?' : SymbolToChar(best);
    }
    DecidedSizeType[SizeTypeLength] = '\0';
    return decided;
}

void CodeVoting::VoteContainerCode(const char* text) {
    for (int p = 0; p < ContainerCodeLength && text[p] != '\0'; ++p) {
        const int symbol = SymbolOf(text[p]);
        if (symbol >= FirstSymbolAt(p) && symbol < EndSymbolAt(p)) ++CodeVotes[p][symbol];
    }
}

int CodeVoting::DecideContainerCode() {
    char candidate[DecidedCodeSize] = {};
    bool sure[ContainerCodeLength] = {};
    int single[ContainerCodeLength];
    bool anySure = false;
    for (int p = 0; p < ContainerCodeLength; ++p) {
        int best = NoSymbol;
        int bestCount = 0;
        bool tied = false;
        for (int s = 0; s < SymbolCount; ++s) {
            const int count = CodeVotes[p][s];
            if (count > bestCount) {
                best = s;
                bestCount = count;
                tied = false;
            } else if (count > 0 && count == bestCount) {
                tied = true;
            }
        }
        sure[p] = bestCount >= SureVoteCount && !tied;
        single[p] = bestCount == 1 ? best : NoSymbol;
        if (sure[p]) candidate[p] = SymbolToChar(best);
        anySure |= sure[p];
    }
    int unknown[ContainerCodeLength];
    int unknownCount = 0;
    for (int p = 0; p < ContainerCodeLength; ++p) {
        if (!anySure && single[p] != NoSymbol) {
            sure[p] = true;
            candidate[p] = SymbolToChar(single[p]);
        }
        if (sure[p]) continue;
        unknown[unknownCount++] = p;
        bool voted = false;
        for (int s = 0; s < SymbolCount; ++s) voted |= CodeVotes[p][s] != 0;
        if (voted) continue;
        for (int s = FirstSymbolAt(p); s < EndSymbolAt(p); ++s) CodeVotes[p][s] = 1;
    }
    if (unknownCount > MaxUnknownPositions) return 0;
    if (unknownCount > 0 && !FillUnknownPositions(candidate, unknown, unknownCount, 0)) return 0;
    std::memcpy(DecidedCode, candidate, sizeof DecidedCode);
    return 1;
}

// Tries the voted symbols of each unknown position, the lowest position varying slowest,
// until the number is a known owner's with a valid check digit.
bool CodeVoting::FillUnknownPositions(char* candidate, const int* unknown, int count,
                                      int depth) const {
    if (depth == count) {
        return OwnerCodeMatchLevel(candidate) == OwnerCodeLength && IsCheckDigitValid(candidate);
    }
    const int p = unknown[depth];
    for (int s = 0; s < SymbolCount; ++s) {
        if (CodeVotes[p][s] == 0) continue;
        candidate[p] = SymbolToChar(s);
        if (FillUnknownPositions(candidate, unknown, count, depth + 1)) return true;
    }
    return false;
}
