#include "engine/glyph/recognize_character.h"

#include "engine/glyph/features.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"
#include "engine/verifiers/families.h"

namespace {

// Appends the characters of one candidate list, stopping short of the string's end.
void AppendCandidates(const std::int16_t* candidates, int count, int& length) {
    for (int k = 0; k < count && length < CandidateStringSize - 1; ++k) {
        Glyph.CandidateString[length++] = static_cast<char>(candidates[k]);
    }
}

int ClampedCount(int count, int capacity) { return count < 0 ? 0 : (count > capacity ? capacity : count); }

}  // namespace

void BuildCandidateString() {
    const int digits = ClampedCount(Glyph.DigitCandidateCount, MaxDigitCandidates);
    const int letters = ClampedCount(Glyph.LetterCandidateCount, MaxLetterCandidates);
    int length = 0;
    AppendCandidates(Glyph.DigitCandidates, digits, length);
    AppendCandidates(Glyph.LetterCandidates, letters, length);
    Glyph.CandidateString[length] = '\0';
    Glyph.CandidateCount = static_cast<std::uint8_t>(length);
}

std::int16_t RecognizeCharacter(int mode) {
    // A glyph rejected before thinning must not carry the flag of the glyph read before it.
    Glyph.NoiseTrimmedFlag = 0;
    if (NormalizeAndThinCharacter() != 0) return GlyphRejected;
    if (PrepareSkeletonFeatures() != 0) return GlyphRejected;
    Glyph.DigitCandidateCount = 0;
    Glyph.LetterCandidateCount = 0;
    if (mode == ModeDigits || mode == ModeBoth) ClassifyDigit();
    if (mode == ModeLetters || mode == ModeBoth) ClassifyLetter();
    BuildCandidateString();
    return Glyph.CandidateCount;
}
