#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/families.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr std::int16_t MarkThreshold = 3;
// Slots 0 to 25 hold the letters called first (C to Z), slots 26 to 51 the rest (A to Y).
constexpr int SecondSlotRow = 26;

constexpr int FirstRowSlot(char letter) { return letter - 'A'; }
constexpr int SecondRowSlot(char letter) { return letter - 'A' + SecondSlotRow; }

char SlotLetter(int slot) { return static_cast<char>('A' + (slot < SecondSlotRow ? slot : slot - SecondSlotRow)); }

// A pair the resolver knows, in slot order (either order when `eitherOrder`): the letter that
// wins when the test answers 1 and the one that wins when it answers 0.
struct LetterPairRule {
    char first;
    char second;
    bool eitherOrder;
    Verifier test;  // none: always `whenYes`
    char whenYes;
    char whenNo;
};

constexpr LetterPairRule LetterPairRules[] = {
    {'C', 'G', false, HasOpenRightSide, 'C', 'G'},
    {'C', 'E', false, HasManyThreeRunColumns, 'E', 'C'},
    {'X', 'H', true, AreStemsParallel, 'H', 'X'},
    {'I', 'T', false, nullptr, 'T', 'T'},
};

bool PairMatches(const LetterPairRule& rule, std::int16_t a, std::int16_t b) {
    if (a == rule.first && b == rule.second) return true;
    return rule.eitherOrder && a == rule.second && b == rule.first;
}

}  // namespace

const LetterVerifier LetterOrder[LetterCount] = {
    {'C', FirstRowSlot('C'), IsLetterC},
    {'K', FirstRowSlot('K'), IsLetterK},
    {'O', FirstRowSlot('O'), IsLetterO},
    {'P', FirstRowSlot('P'), IsLetterP},
    {'S', FirstRowSlot('S'), IsLetterS},
    {'V', FirstRowSlot('V'), IsLetterV},
    {'W', FirstRowSlot('W'), IsLetterW},
    {'X', FirstRowSlot('X'), IsLetterX},
    {'Z', FirstRowSlot('Z'), IsLetterZ},
    {'A', SecondRowSlot('A'), IsLetterA},
    {'B', SecondRowSlot('B'), IsLetterB},
    {'D', SecondRowSlot('D'), IsLetterD},
    {'E', SecondRowSlot('E'), IsLetterE},
    {'F', SecondRowSlot('F'), IsLetterF},
    {'G', SecondRowSlot('G'), IsLetterG},
    {'H', SecondRowSlot('H'), IsLetterH},
    {'I', SecondRowSlot('I'), IsLetterI},
    {'J', SecondRowSlot('J'), IsLetterJ},
    {'L', SecondRowSlot('L'), IsLetterL},
    {'M', SecondRowSlot('M'), IsLetterM},
    {'N', SecondRowSlot('N'), IsLetterN},
    {'Q', SecondRowSlot('Q'), IsLetterQ},
    {'R', SecondRowSlot('R'), IsLetterR},
    {'T', SecondRowSlot('T'), IsLetterT},
    {'U', SecondRowSlot('U'), IsLetterU},
    {'Y', SecondRowSlot('Y'), IsLetterY},
};

int LetterSlot(char letter) {
    for (const LetterVerifier& v : LetterOrder) {
        if (v.letter == letter) return v.slot;
    }
    return -1;
}

std::int16_t RunLetterFamily(const LetterVerifier (&order)[LetterCount]) {
    for (std::int16_t& vote : Glyph.LetterVotes) vote = 0;
    // Each vote is stored before the next verifier runs: I and T read the F vote, N the H vote.
    for (const LetterVerifier& v : order) {
        if (v.slot >= 0 && v.slot < LetterVoteSlots) Glyph.LetterVotes[v.slot] = v.verify();
    }
    ClearMarks(MarkThreshold);
    Glyph.LetterCandidateCount = 0;
    for (int slot = 0; slot < LetterVoteSlots; ++slot) {
        if (Glyph.LetterVotes[slot] != 0) Glyph.LetterCandidates[Glyph.LetterCandidateCount++] = SlotLetter(slot);
    }
    return FamilyAnswer(Glyph.LetterCandidates, Glyph.LetterCandidateCount, ResolveLetterPair);
}

std::int16_t ClassifyLetter() { return RunLetterFamily(LetterOrder); }

std::int16_t ResolveLetterPair() {
    if (Glyph.LetterCandidateCount != 2) return 0;
    const std::int16_t a = Glyph.LetterCandidates[0];
    const std::int16_t b = Glyph.LetterCandidates[1];
    for (const LetterPairRule& rule : LetterPairRules) {
        if (!PairMatches(rule, a, b)) continue;
        const bool yes = rule.test == nullptr || rule.test() != 0;
        Glyph.LetterCandidates[0] = yes ? rule.whenYes : rule.whenNo;
        Glyph.LetterCandidateCount = 1;
        return 1;
    }
    return 0;
}
