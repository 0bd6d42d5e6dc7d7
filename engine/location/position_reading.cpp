#include "engine/location/position_reading.h"

#include <algorithm>
#include <cstring>

#include "engine/glyph/check_digit_frame.h"
#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "engine/location/planes.h"

PositionReading PositionReadings[LineRecordBoxSlots];
int CheckDigitPosition = NoCheckDigit;
CharacterReader PositionRecognizer = RecognizeCharacter;
CharBox GlyphSourceBox{};

namespace {

constexpr int ThresholdStep = 8;
constexpr int LineRetryRounds = 3;
constexpr int SizeTypeRetryRounds = 7;
constexpr int MaxThreshold = 255;
constexpr int MinRetryHeight = 15;
constexpr double MinInkRatio = 0.01;
constexpr double MaxInkRatio = 0.82;
constexpr double MaxOwnerCodeInkRatio = 0.76;  // the letters of the owner code are thinner
constexpr int OwnerCodePositions = 4;
constexpr double MinInkChange = 0.7;
constexpr double MaxInkChange = 1.3;
constexpr double MinSizeTypeInkRatio = 0.02;
constexpr double MaxSizeTypeInkRatio = 0.8;

bool IsSlot(int position) { return position >= 0 && position < LineRecordBoxSlots; }

bool IsLinePosition(int position) {
    return position >= 0 && position < std::clamp<int>(CurrentLine.charCount, 0, LineRecordBoxSlots);
}

bool GlyphIsEmpty() { return Glyph.GlyphHeight <= 0 || Glyph.GlyphWidth <= 0; }

void MeasureInk() {
    Glyph.InkCount = static_cast<std::int16_t>(CountInkPixels());
    const int area = GlyphIsEmpty() ? 0 : Glyph.GlyphHeight * Glyph.GlyphWidth;
    Glyph.InkRatio = area > 0 ? static_cast<float>(static_cast<double>(Glyph.InkCount) / area) : 0.0f;
}

enum Direction { Upward, Downward, DirectionCount };
constexpr int DirectionSign[DirectionCount] = {1, -1};

// True when the glyph of a retry stops its direction for good.
using RetryStopTest = bool (*)(Direction direction, int position);

bool LineRetryStops(Direction direction, int position) {
    const int verdict = CheckSegmentInk(position);
    // Going up the glyph gains ink, so a solid one is still worth a reading there.
    if (direction == Upward) return verdict != InkAcceptable && verdict != InkTooSolid;
    return verdict != InkAcceptable;
}

bool SizeTypeRetryStops(Direction, int) {
    const double ratio = Glyph.InkRatio;
    return !(ratio > MinSizeTypeInkRatio && ratio < MaxSizeTypeInkRatio);
}

struct RetryPlan {
    CharBox box;
    int polarity;
    int threshold;
    int mode;
    int rounds;
    int position;     // for the ink test
    bool checkDigit;  // prepare each glyph as a framed check digit
    RetryStopTest stops;
};

// Rounds k = 1.. of an upward (t + 8k) and a downward (t - 8k) binarization of the box from
// the gray image. A direction stops for good when its threshold leaves the gray range or its
// ink test says so; a box too large to load or a glyph without ink ends the retries.
int RetryAtShiftedThresholds(const RetryPlan& plan) {
    bool stopped[DirectionCount] = {false, false};
    for (int k = 1; k <= plan.rounds; ++k) {
        for (const Direction direction : {Upward, Downward}) {
            if (stopped[Upward] && stopped[Downward]) return 0;
            const int threshold = plan.threshold + DirectionSign[direction] * ThresholdStep * k;
            // Past the gray range the box would come out binarized with the opposite sense.
            if (threshold < 0 || threshold > MaxThreshold) {
                stopped[direction] = true;
                continue;
            }
            GlyphSourceBox = plan.box;
            if (LoadGlyphFromGray(BoxTopLeft(plan.box), BoxBottomRight(plan.box), plan.polarity, threshold) != 0) {
                return 0;
            }
            CropGlyph();
            if (GlyphIsEmpty()) return 0;
            if (plan.checkDigit) PrepareCheckDigit();
            MeasureInk();
            if (stopped[direction]) continue;
            if (plan.stops(direction, plan.position)) {
                stopped[direction] = true;
                continue;
            }
            const int count = ReadGlyph(plan.mode);
            if (count > 0) return count;
        }
    }
    return 0;
}

}  // namespace

int LoadSegmentImage(int position) {
    std::memset(Glyph.SkeletonImage.cells, 0, sizeof Glyph.SkeletonImage.cells);
    if (!IsLinePosition(position)) {
        Glyph.GlyphHeight = 0;
        Glyph.GlyphWidth = 0;
        return 1;
    }
    const CharBox& box = CurrentLine.boxes[position];
    GlyphSourceBox = box;
    const int height = box.bottom - box.top + 1;
    const int width = box.right - box.left + 1;
    Glyph.GlyphHeight = static_cast<std::int16_t>(height);
    Glyph.GlyphWidth = static_cast<std::int16_t>(width);
    if (height > MaxGlyphSide || width > MaxGlyphSide) return 1;
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const int x = box.left + col;
            const int y = box.top + row;
            if (IsInsideFrame(x, y) && BinaryImage[PixelIndex(x, y)] != 0) Glyph.SkeletonImage.Set(row, col, 1);
        }
    }
    return 0;
}

int CountInkPixels() {
    int ink = 0;
    for (int row = 0; row < Glyph.GlyphHeight; ++row) {
        for (int col = 0; col < Glyph.GlyphWidth; ++col) ink += Glyph.SkeletonImage.At(row, col) != 0 ? 1 : 0;
    }
    return ink;
}

void PrepareCheckDigit() {
    RemoveCheckDigitFrame(Glyph.GlyphWidth, Glyph.GlyphHeight);
    CropGlyph();
}

int CheckSegmentInk(int position) {
    if (Glyph.GlyphHeight < MinRetryHeight) return InkTooShort;
    const double ratio = Glyph.InkRatio;
    if (ratio < MinInkRatio) return InkTooFaint;
    if (ratio > (position < OwnerCodePositions ? MaxOwnerCodeInkRatio : MaxInkRatio)) return InkTooSolid;
    const int firstInk = IsSlot(position) ? PositionReadings[position].firstInk : 0;
    if (firstInk <= 0) return InkChanged;  // nothing to compare with
    const double change = static_cast<double>(Glyph.InkCount) / firstInk;
    if (change < MinInkChange || change > MaxInkChange) return InkChanged;
    return InkAcceptable;
}

bool CutOutPosition(int position) {
    if (LoadSegmentImage(position) == 0) {
        CropGlyph();
        if (!GlyphIsEmpty()) return true;
    }
    if (IsSlot(position)) CurrentLine.status[position] = StatusUnreadable;
    return false;
}

std::int16_t ReadGlyph(int mode) { return PositionRecognizer(mode); }

void KeepCandidates(int position) {
    if (!IsSlot(position)) return;
    char* kept = PositionReadings[position].candidates;
    const int available = std::min<int>(Glyph.CandidateCount, CandidateStringSize - 1);
    int n = 0;
    while (n < KeptCandidates && n < available && Glyph.CandidateString[n] != '\0') {
        kept[n] = Glyph.CandidateString[n];
        ++n;
    }
    kept[n] = '\0';
}

bool ReadPositionFirstPass(int position, int mode) {
    if (!IsSlot(position)) return false;
    PositionReading& reading = PositionReadings[position];
    reading.candidates[0] = '\0';
    if (!CutOutPosition(position)) return false;
    if (position == CheckDigitPosition) PrepareCheckDigit();
    reading.firstHeight = Glyph.GlyphHeight;
    reading.firstWidth = Glyph.GlyphWidth;
    reading.firstInk = static_cast<std::int16_t>(CountInkPixels());
    const int count = ReadGlyph(mode);
    CurrentLine.status[position] = Glyph.NoiseTrimmedFlag;
    if (count > 0) {
        KeepCandidates(position);
        return false;
    }
    CurrentLine.status[position] = static_cast<std::uint8_t>(CurrentLine.status[position] + RetryStatusOffset);
    return true;
}

int RetryWithShiftedThreshold(int position, int mode) {
    if (!IsLinePosition(position)) return 0;
    // A first pass without ink (the frame removal took the whole check digit) leaves no
    // measure for the ink test of the retries.
    if (PositionReadings[position].firstInk <= 0) return 0;
    const RetryPlan plan{CurrentLine.boxes[position], CurrentLine.polarity[position], CurrentLine.threshold[position],
                         mode, LineRetryRounds, position, position == CheckDigitPosition, LineRetryStops};
    return RetryAtShiftedThresholds(plan);
}

int RetrySizeTypeThreshold(const CharBox& box, int polarity, int threshold, int mode) {
    const RetryPlan plan{box, polarity, threshold, mode, SizeTypeRetryRounds, NoCheckDigit, false, SizeTypeRetryStops};
    return RetryAtShiftedThresholds(plan);
}

void WriteLineText(int n) {
    const int length = std::clamp(n, 0, MaxLineLength);
    for (int i = 0; i < length; ++i) {
        const bool read = CurrentLine.status[i] != StatusUnreadable && PositionReadings[i].candidates[0] != '\0';
        CurrentLine.text[i] = read ? PositionReadings[i].candidates[0] : UnknownCharacter;
    }
    CurrentLine.text[length] = '\0';
}
