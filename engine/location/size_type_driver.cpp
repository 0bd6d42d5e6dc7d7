#include <algorithm>
#include <cstring>

#include "engine/camera.h"
#include "engine/location/line_drivers.h"
#include "engine/location/position_reading.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "engine/location/line_records.h"

namespace {

constexpr int SizeTypeLength = 4;
constexpr int TypeLetterPosition = 2;
constexpr int SizeLetterPositions = 2;  // positions 0 and 1 may hold "L" or "N" (as in "L5G1")
constexpr const char* TypeLetters = "GRTU";
constexpr const char* SizeLetters = "LN";
constexpr bool UnknownTypeMeansG = CameraNumber == 1;

// The first candidate of a reading that answered `count` that is one of `wanted`; NUL when
// there is none (a reading without candidates leaves an earlier glyph's string behind).
char FirstCandidateAmong(int count, const char* wanted) {
    if (count <= 0) return '\0';
    const int available = std::min<int>(Glyph.CandidateCount, CandidateStringSize - 1);
    for (int k = 0; k < available && Glyph.CandidateString[k] != '\0'; ++k) {
        if (std::strchr(wanted, Glyph.CandidateString[k]) != nullptr) return Glyph.CandidateString[k];
    }
    return '\0';
}

char FirstCandidate(int count) {
    return count > 0 && Glyph.CandidateCount > 0 ? Glyph.CandidateString[0] : '\0';
}

// A type letter among the letter candidates becomes the reading's first candidate.
char TypeLetterOf(int count) {
    const char letter = FirstCandidateAmong(count, TypeLetters);
    if (letter != '\0') Glyph.CandidateString[0] = letter;
    return letter;
}

void KeepCharacter(int position, char character) {
    PositionReadings[position].candidates[0] = character;
    PositionReadings[position].candidates[1] = '\0';
}

bool HoldsCharacter(int position) { return PositionReadings[position].candidates[0] != '\0'; }

void TakeNoiseFlag(int position) { CurrentLine.status[position] = Glyph.NoiseTrimmedFlag; }

// The type letter position at the first pass: a letter "G", "R", "T" or "U", else the glyph's
// digit reading (a "6" or a "4" there is a "G", see the substitutions).
void ReadTypeLetterFirstPass() {
    const char letter = TypeLetterOf(ReadGlyph(ModeLetters));
    TakeNoiseFlag(TypeLetterPosition);
    if (letter != '\0') {
        KeepCharacter(TypeLetterPosition, letter);
        return;
    }
    if (!CutOutPosition(TypeLetterPosition)) return;
    const int count = ReadGlyph(ModeDigits);
    TakeNoiseFlag(TypeLetterPosition);
    KeepCharacter(TypeLetterPosition, FirstCandidate(count));
}

void ReadSizeTypeFirstPass(int position) {
    KeepCharacter(position, '\0');
    if (!CutOutPosition(position)) return;
    if (position == TypeLetterPosition) {
        ReadTypeLetterFirstPass();
        return;
    }
    const int count = ReadGlyph(ModeDigits);
    TakeNoiseFlag(position);
    KeepCharacter(position, FirstCandidate(count));
}

void RetrySizeTypePosition(int position) {
    const CharBox& box = CurrentLine.boxes[position];
    const int polarity = CurrentLine.polarity[position];
    const int threshold = CurrentLine.threshold[position];
    char read = '\0';
    if (position == TypeLetterPosition) read = TypeLetterOf(RetrySizeTypeThreshold(box, polarity, threshold, ModeLetters));
    if (read == '\0') read = FirstCandidate(RetrySizeTypeThreshold(box, polarity, threshold, ModeDigits));
    KeepCharacter(position, read);
}

// Size codes that start with a letter ("L5G1", "LNG1").
void ReadSizeLetter(int position) {
    if (CurrentLine.status[position] == StatusUnreadable || HoldsCharacter(position)) return;
    if (!CutOutPosition(position)) return;
    const int count = ReadGlyph(ModeLetters);
    TakeNoiseFlag(position);
    KeepCharacter(position, FirstCandidateAmong(count, SizeLetters));
}

}  // namespace

int RecognizeSizeTypeCode() {
    BinarizeCharBoxes();
    CheckDigitPosition = NoCheckDigit;
    int retries[SizeTypeLength];
    int retryCount = 0;
    for (int i = 0; i < SizeTypeLength; ++i) {
        ReadSizeTypeFirstPass(i);
        if (CurrentLine.status[i] == StatusUnreadable || HoldsCharacter(i)) continue;
        CurrentLine.status[i] = static_cast<std::uint8_t>(CurrentLine.status[i] + RetryStatusOffset);
        retries[retryCount++] = i;
    }
    for (int k = 0; k < retryCount; ++k) RetrySizeTypePosition(retries[k]);
    for (int i = 0; i < SizeLetterPositions; ++i) ReadSizeLetter(i);
    WriteLineText(SizeTypeLength);
    SubstituteSizeTypeCharacters();
    return 0;
}

void SubstituteSizeTypeCharacters() {
    char* code = CurrentLine.text;
    // A "6" or a "4" in the type position is a "G" (but "2263" and "2265" are codes).
    if ((code[2] == '6' && code[3] != '3' && code[3] != '5') || code[2] == '4') code[2] = 'G';
    if (code[3] == '7') code[3] = '1';
    if (code[0] == '7') code[0] = '2';
    if (code[1] == '7') code[1] = '2';
    if (code[0] == '1' && code[1] == '5') code[0] = '4';
    if (code[2] == 'T' && code[3] == '0') code[2] = '1';
    if (code[2] == 'T' && (code[3] == '3' || code[3] == '4')) code[2] = '7';
    // On the rear photo an unread type letter beside three read characters is taken as "G".
    if (UnknownTypeMeansG && code[2] == UnknownCharacter && code[0] != UnknownCharacter &&
        code[1] != UnknownCharacter && code[3] != UnknownCharacter) {
        code[2] = 'G';
    }
    // A first character read only at a retry after a noise blob was cut is not trusted.
    if (CurrentLine.status[0] == StatusRetriedTrimmed) code[0] = UnknownCharacter;
}
