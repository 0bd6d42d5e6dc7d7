// Reading one character position of the current line (CurrentLine): its box cut out of the
// binary image into the glyph grid, the ink measures, the check-digit preparation and the
// retries that binarize the box again from the gray image at shifted thresholds.
#pragma once

#include <cstdint>

#include "engine/location/boxes.h"
#include "engine/location/line_records.h"

// Per-position status in CurrentLine.status.
inline constexpr std::uint8_t StatusRead = 0;            // read at the first pass
inline constexpr std::uint8_t StatusReadTrimmed = 1;     // the same, thinning cut a noise blob
inline constexpr std::uint8_t StatusRetried = 2;         // not read at the first pass
inline constexpr std::uint8_t StatusRetriedTrimmed = 3;  // the same, noise blob cut
inline constexpr std::uint8_t StatusUnreadable = 255;    // too large, or no ink after cropping
// Added to the first pass's status of a position that goes to the retries.
inline constexpr std::uint8_t RetryStatusOffset = StatusRetried;

// The first candidates a position keeps.
inline constexpr int KeptCandidates = 5;
inline constexpr int NoCheckDigit = -1;
inline constexpr char UnknownCharacter = '?';
// The text of a line needs room for its NUL.
inline constexpr int MaxLineLength = LineRecordBoxSlots - 1;

// What the drivers keep per position of the line being read.
struct PositionReading {
    char candidates[KeptCandidates + 1];  // NUL-terminated; empty = nothing read
    std::int16_t firstHeight;             // the first pass's glyph, for the ink test of the retries
    std::int16_t firstWidth;
    std::int16_t firstInk;
};

extern PositionReading PositionReadings[LineRecordBoxSlots];
// The position that is prepared as a framed check digit, or NoCheckDigit.
extern int CheckDigitPosition;

// The character recognizer the drivers ask: RecognizeCharacter, unless a test puts a stand-in
// here.
using CharacterReader = std::int16_t (*)(int mode);
extern CharacterReader PositionRecognizer;
// The frame box the glyph now in the grid was cut out of: a position's box at the first pass,
// the box of a retry after it. Lets a stand-in recognizer tell which character it is shown.
extern CharBox GlyphSourceBox;

// Answers of CheckSegmentInk.
inline constexpr int InkAcceptable = 0;
inline constexpr int InkTooShort = 1;   // glyph lower than 15 rows
inline constexpr int InkTooFaint = 2;   // ink ratio below 0.01
inline constexpr int InkTooSolid = 3;   // ink ratio above 0.82 (0.76 at positions 0 to 3)
inline constexpr int InkChanged = 4;    // ink more than 30 % off the first pass's

// 1 when box `position` of CurrentLine is taller or wider than 126 pixels (or not one of the
// line's boxes), else 0 after copying its binary pixels into the cleared glyph grid at origin
// 0,0. GlyphHeight and GlyphWidth are set in both cases.
int LoadSegmentImage(int position);
// Non-zero cells in rows 0..GlyphHeight-1, columns 0..GlyphWidth-1.
int CountInkPixels();
// Removes the frame painted round a check digit, then crops what is left.
void PrepareCheckDigit();
// 0 when the glyph's ink (Glyph.InkCount, Glyph.InkRatio) is plausible for a retry of the
// position, else the reason (InkTooShort ... InkChanged) to stop retrying in that direction.
int CheckSegmentInk(int position);

// Cuts the position out of the binary image and crops it; false, with status 255, when it
// cannot be read.
bool CutOutPosition(int position);
// The recognizer's answer for the glyph in the grid.
std::int16_t ReadGlyph(int mode);
// Keeps the first candidates (at most 5) of the last reading for the position.
void KeepCandidates(int position);

// Writes the first n positions of the line's text, each its first kept candidate or "?" when
// the position is unreadable or kept nothing, and the NUL after them.
void WriteLineText(int n);

// Reads the glyph of a position at the first pass: load, crop, check-digit preparation, the
// first-pass ink, recognition. Sets the status; true when the position needs a retry.
bool ReadPositionFirstPass(int position, int mode);

// Retries a line position at thresholds t + 8k and t - 8k, k = 1..3: the candidate count of
// the first successful reading, else 0.
int RetryWithShiftedThreshold(int position, int mode);
// The same for a size/type box, k = 1..7, with its own ink test.
int RetrySizeTypeThreshold(const CharBox& box, int polarity, int threshold, int mode);
