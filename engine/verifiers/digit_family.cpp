#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/families.h"
#include "engine/glyph/skeleton_trace.h"
#include "engine/verifiers/tie_breaks.h"

namespace {

constexpr std::int16_t MarkThreshold = 3;

constexpr Verifier DigitVerifiers[DigitCount] = {IsDigit0, IsDigit1, IsDigit2, IsDigit3, IsDigit4,
                                                 IsDigit5, IsDigit6, IsDigit7, IsDigit8, IsDigit9};

// A pair the resolver knows. The larger digit wins when the tie-break answers 1, or always
// when the pair has none.
struct DigitPairRule {
    char smaller;
    char larger;
    Verifier preferLarger;
};

constexpr DigitPairRule DigitPairRules[] = {
    {'1', '2', nullptr},      {'1', '3', nullptr},      {'1', '7', Prefer7Over1},
    {'3', '7', Prefer7Over3}, {'4', '6', Prefer6Over4}, {'4', '9', Prefer9Over4},
};

}  // namespace

std::int16_t RunDigitFamily(const Verifier (&verifiers)[DigitCount]) {
    std::int16_t answers[DigitCount];
    for (int d = 0; d < DigitCount; ++d) answers[d] = verifiers[d]();
    ClearMarks(MarkThreshold);
    Glyph.DigitCandidateCount = 0;
    for (int d = 0; d < DigitCount; ++d) {
        if (answers[d] != 0) Glyph.DigitCandidates[Glyph.DigitCandidateCount++] = static_cast<std::int16_t>('0' + d);
    }
    return FamilyAnswer(Glyph.DigitCandidates, Glyph.DigitCandidateCount, ResolveDigitPair);
}

std::int16_t ClassifyDigit() { return RunDigitFamily(DigitVerifiers); }

std::int16_t ResolveDigitPair() {
    if (Glyph.DigitCandidateCount != 2) return 0;
    for (const DigitPairRule& rule : DigitPairRules) {
        if (Glyph.DigitCandidates[0] != rule.smaller || Glyph.DigitCandidates[1] != rule.larger) continue;
        const bool larger = rule.preferLarger == nullptr || rule.preferLarger() != 0;
        Glyph.DigitCandidates[0] = larger ? rule.larger : rule.smaller;
        Glyph.DigitCandidateCount = 1;
        return 1;
    }
    return 0;
}
