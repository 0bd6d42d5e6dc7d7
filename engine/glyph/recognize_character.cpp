#include "engine/glyph/recognize_character.h"

#include <cstddef>
#include <cstring>

#include "engine/camera.h"
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

// The sweep cuts the same box at several thresholds and the segmentation rules read boxes that
// the positions then read again, so a frame recognizes many glyphs more than once. What a
// reading leaves in the record depends on the loaded grid, its size and the mode alone (the
// rest of the record is scratch it writes before it reads), so a glyph identical to one read
// before takes the record that reading left: the answer is the same whatever came before. The
// drivers' ink measures are theirs, not the reading's. Grids are kept down to their last row
// with ink, as glyphs are far smaller than the grid. A rear frame reads a few dozen glyphs, a
// side frame hundreds; every slot in use costs memory the process must first be given.
constexpr int RememberedReadingSlots = CameraNumber == 1 ? 16 : 128;
constexpr std::uint64_t HashMultiplier = 0x9E3779B97F4A7C15ull;
constexpr int HashShift = 29;
constexpr std::size_t GridBytes = sizeof(GlyphGrid::cells);

struct RememberedReading {
    std::uint64_t hash;
    std::int16_t mode;
    std::int16_t loadedHeight;
    std::int16_t loadedWidth;
    std::int16_t answer;
    int loadedRows;    // rows of the loaded grid up to its last ink; the rest is clear
    int skeletonRows;  // the same for the two grids the reading left
    int glyphRows;
    GlyphGrid loaded;
    GlyphRecord left;  // grids beyond their rows in use are not kept
};

RememberedReading Remembered[RememberedReadingSlots];
int RememberedCount = 0;
int NextRememberedSlot = 0;

bool RowIsClear(const GlyphGrid& grid, int row) {
    const std::uint8_t* cells = grid.cells + row * GridSide;
    std::uint64_t ink = 0;
    for (int col = 0; col < GridSide; col += static_cast<int>(sizeof(std::uint64_t))) {
        std::uint64_t word = 0;
        std::memcpy(&word, cells + col, sizeof word);
        ink |= word;
    }
    return ink == 0;
}

int RowsInUse(const GlyphGrid& grid) {
    int rows = GridSide;
    while (rows > 0 && RowIsClear(grid, rows - 1)) --rows;
    return rows;
}

std::size_t RowBytes(int rows) { return static_cast<std::size_t>(rows) * GridSide; }

// Copies the rows in use and clears the rest.
void CopyGridRows(GlyphGrid& to, const GlyphGrid& from, int rows) {
    std::memcpy(to.cells, from.cells, RowBytes(rows));
    std::memset(to.cells + RowBytes(rows), 0, GridBytes - RowBytes(rows));
}

// Everything in the record after its two grids.
constexpr std::size_t RecordTailOffset = offsetof(GlyphRecord, SavedGlyphHeight);
static_assert(RecordTailOffset == 2 * GridBytes);

void CopyRecordTail(GlyphRecord& to, const GlyphRecord& from) {
    std::memcpy(reinterpret_cast<std::uint8_t*>(&to) + RecordTailOffset,
                reinterpret_cast<const std::uint8_t*>(&from) + RecordTailOffset, sizeof(GlyphRecord) - RecordTailOffset);
}

// A filter only: a match is confirmed on the grid itself.
std::uint64_t HashLoadedGlyph(int mode, int rows) {
    std::uint64_t hash = static_cast<std::uint64_t>(mode) ^ (static_cast<std::uint64_t>(rows) << 8) ^
                         (static_cast<std::uint64_t>(static_cast<std::uint16_t>(Glyph.GlyphHeight)) << 16) ^
                         (static_cast<std::uint64_t>(static_cast<std::uint16_t>(Glyph.GlyphWidth)) << 32);
    for (std::size_t offset = 0; offset < RowBytes(rows); offset += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, Glyph.SkeletonImage.cells + offset, sizeof word);
        hash = (hash ^ word) * HashMultiplier;
        hash ^= hash >> HashShift;
    }
    return hash;
}

bool IsRememberedGlyph(const RememberedReading& reading, std::uint64_t hash, int mode, int rows) {
    return reading.hash == hash && reading.mode == mode && reading.loadedRows == rows &&
           reading.loadedHeight == Glyph.GlyphHeight && reading.loadedWidth == Glyph.GlyphWidth &&
           std::memcmp(reading.loaded.cells, Glyph.SkeletonImage.cells, RowBytes(rows)) == 0;
}

const RememberedReading* FindRememberedReading(std::uint64_t hash, int mode, int rows) {
    for (int k = 0; k < RememberedCount; ++k) {
        if (IsRememberedGlyph(Remembered[k], hash, mode, rows)) return &Remembered[k];
    }
    return nullptr;
}

void TakeRememberedRecord(const RememberedReading& reading) {
    const std::int16_t inkCount = Glyph.InkCount;
    const float inkRatio = Glyph.InkRatio;
    CopyGridRows(Glyph.SkeletonImage, reading.left.SkeletonImage, reading.skeletonRows);
    CopyGridRows(Glyph.GlyphImage, reading.left.GlyphImage, reading.glyphRows);
    CopyRecordTail(Glyph, reading.left);
    Glyph.InkCount = inkCount;
    Glyph.InkRatio = inkRatio;
}

void KeepReadingLeft(RememberedReading& reading) {
    reading.skeletonRows = RowsInUse(Glyph.SkeletonImage);
    reading.glyphRows = RowsInUse(Glyph.GlyphImage);
    std::memcpy(reading.left.SkeletonImage.cells, Glyph.SkeletonImage.cells, RowBytes(reading.skeletonRows));
    std::memcpy(reading.left.GlyphImage.cells, Glyph.GlyphImage.cells, RowBytes(reading.glyphRows));
    CopyRecordTail(reading.left, Glyph);
}

std::int16_t ReadLoadedGlyph(int mode) {
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
    const int rows = RowsInUse(Glyph.SkeletonImage);
    const std::uint64_t hash = HashLoadedGlyph(mode, rows);
    if (const RememberedReading* reading = FindRememberedReading(hash, mode, rows)) {
        TakeRememberedRecord(*reading);
        return reading->answer;
    }
    RememberedReading& slot = Remembered[NextRememberedSlot];
    NextRememberedSlot = (NextRememberedSlot + 1) % RememberedReadingSlots;
    if (RememberedCount < RememberedReadingSlots) ++RememberedCount;
    slot.hash = hash;
    slot.mode = static_cast<std::int16_t>(mode);
    slot.loadedHeight = Glyph.GlyphHeight;
    slot.loadedWidth = Glyph.GlyphWidth;
    slot.loadedRows = rows;
    std::memcpy(slot.loaded.cells, Glyph.SkeletonImage.cells, RowBytes(rows));
    slot.answer = ReadLoadedGlyph(mode);
    KeepReadingLeft(slot);
    return slot.answer;
}
