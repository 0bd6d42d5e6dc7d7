// The two verifier families: each runs its verifiers over the prepared glyph, lists the
// characters they accepted and cuts a known pair down to one.
#pragma once

#include <cstdint>

inline constexpr int DigitCount = 10;
inline constexpr int LetterCount = 26;

// Answer: the character code of the single remaining candidate, or 0.
std::int16_t ClassifyDigit();
std::int16_t ClassifyLetter();

// Cut a two-entry candidate list to one when the pair is known: 1 when decided, else 0.
std::int16_t ResolveDigitPair();
std::int16_t ResolveLetterPair();

using Verifier = std::int16_t (*)();

// A family's answer from its finished candidate list: the single candidate, else the winner
// when the list is a pair that `resolvePair` decides, else 0.
inline std::int16_t FamilyAnswer(const std::int16_t* candidates, const std::int16_t& count, Verifier resolvePair) {
    if (count == 2) resolvePair();
    return count == 1 ? candidates[0] : 0;
}

// The digit family over the given verifiers of '0' to '9'.
std::int16_t RunDigitFamily(const Verifier (&verifiers)[DigitCount]);

// One letter verifier in the family's call order, with the vote slot it writes.
struct LetterVerifier {
    char letter;
    int slot;
    Verifier verify;
};

// The family's order: the slots rise along it, and F runs before I and T, H before N, because
// those verifiers read the earlier votes.
extern const LetterVerifier LetterOrder[LetterCount];

// The letter family over the given verifiers, in the given order.
std::int16_t RunLetterFamily(const LetterVerifier (&order)[LetterCount]);

// The slot that holds the vote of a letter ('A' to 'Z').
int LetterSlot(char letter);
