#include "engine/location/line_drivers.h"

#include <algorithm>
#include <cstdint>

#include "engine/location/position_reading.h"
#include "engine/camera.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "engine/location/edge_image.h"
#include "engine/location/line_records.h"

namespace {

constexpr int ContainerNumberLength = 11;
constexpr int FirstSerialDigit = 4;  // the owner code's four letters come first
constexpr int NumberCheckDigit = 10;
constexpr int NoDigits = LineRecordBoxSlots;

// Camera 1 trusts a reading with up to four doubtful positions and up to n - 4 retried ones;
// camera 2 one with fewer than half doubtful and up to half plus two retried.
constexpr int Camera1MaxDoubtful = 4;
constexpr int Camera1SurePositions = 4;
constexpr int Camera2RetryMargin = 2;

bool TooManyDoubtful(int doubtful, int n) {
    return CameraNumber == 1 ? doubtful > Camera1MaxDoubtful : doubtful >= n / 2;
}

bool TooManyRetried(int retried, int n) {
    return CameraNumber == 1 ? retried > n - Camera1SurePositions : retried > n / 2 + Camera2RetryMargin;
}

// Camera 1 writes the number's per-box binarization out as well; camera 2 leaves that to the
// pipeline's dump of the located binary image.
constexpr bool NumberDumpsBinarization = CameraNumber == 1;

int ModeAt(int position, int firstDigit) { return position >= firstDigit ? ModeDigits : ModeLetters; }

// Reads positions 0..n-1 of CurrentLine, letters before firstDigit and digits from it on:
// a first pass over all of them, then the retries of the unread ones in order.
int ReadLine(int n, int firstDigit, int checkDigit) {
    CheckDigitPosition = checkDigit;
    std::int8_t retries[LineRecordBoxSlots];
    int retryCount = 0;
    for (int i = 0; i < n; ++i) {
        if (ReadPositionFirstPass(i, ModeAt(i, firstDigit))) retries[retryCount++] = static_cast<std::int8_t>(i);
    }
    for (int k = 0; k < retryCount; ++k) {
        const int i = retries[k];
        if (RetryWithShiftedThreshold(i, ModeAt(i, firstDigit)) != 0 && Glyph.CandidateCount > 0) {
            KeepCandidates(i);
        } else {
            PositionReadings[i].candidates[0] = '\0';
        }
    }
    WriteLineText(n);
    return IsNumberDoubtful(n) == 1 ? ReadingDoubtful : ReadingPlain;
}

void PrepareLineBoxes() {
    RegularizeCharBoxes();
    BinarizeCharBoxes();
}

int LineLength() { return std::clamp<int>(CurrentLine.charCount, 0, MaxLineLength); }

}  // namespace

int RecognizeContainerNumber() {
    PrepareLineBoxes();
    if (NumberDumpsBinarization) DumpBinaryImage();
    return ReadLine(ContainerNumberLength, FirstSerialDigit, NumberCheckDigit);
}

int RecognizeDigitLine() {
    PrepareLineBoxes();
    DumpBinaryImage();
    const int n = LineLength();
    return ReadLine(n, 0, n > 0 ? n - 1 : NoCheckDigit);
}

int RecognizeLetterLine() {
    PrepareLineBoxes();
    DumpBinaryImage();
    return ReadLine(LineLength(), NoDigits, NoCheckDigit);
}

int IsNumberDoubtful(int n) {
    const int length = std::clamp(n, 0, LineRecordBoxSlots);
    int doubtful = 0;
    int retried = 0;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t status = CurrentLine.status[i];
        const char read = CurrentLine.text[i];
        if (status == StatusReadTrimmed || status == StatusRetriedTrimmed || read == UnknownCharacter) {
            ++doubtful;
        } else if (status == StatusRetried && (read == '1' || read == 'I')) {
            ++doubtful;  // a lone stroke that only a retry made out
        }
        if (status == StatusRetried) ++retried;
    }
    if (TooManyDoubtful(doubtful, length)) return 1;
    return TooManyRetried(retried, length) ? 1 : 0;
}
