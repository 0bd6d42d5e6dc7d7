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
// drivers' ink measures are theirs, not the reading's, and the path lists are kept up to the
// longest list in use. Glyphs are far smaller than their grids, so each grid is kept as the
// rectangle from the origin to its last ink; every byte kept costs memory the process must first
// be given, and a rear frame reads a few dozen glyphs where a side frame reads hundreds.
constexpr int RememberedReadingSlots = CameraNumber == 1 ? 16 : 128;
constexpr std::uint64_t HashMultiplier = 0x9E3779B97F4A7C15ull;
constexpr int HashShift = 29;
constexpr std::size_t GridBytes = sizeof(GlyphGrid::cells);

// The record after its two grids, in three parts around the path lists.
constexpr std::size_t RecordTailOffset = offsetof(GlyphRecord, SavedGlyphHeight);
constexpr std::size_t PathXOffset = offsetof(GlyphRecord, PathX);
constexpr std::size_t PathYOffset = offsetof(GlyphRecord, PathY);
constexpr std::size_t AfterPathsOffset = offsetof(GlyphRecord, PathPointCount);
static_assert(RecordTailOffset == 2 * GridBytes);
static_assert(PathYOffset == PathXOffset + sizeof(GlyphRecord::PathX));
static_assert(AfterPathsOffset == PathYOffset + sizeof(GlyphRecord::PathY));
constexpr std::size_t RecordTailBytes = sizeof(GlyphRecord) - RecordTailOffset;
constexpr std::size_t RememberedBytes = RecordTailBytes + 3 * GridBytes;

// The ink rectangle of a grid: rows and columns from the origin to its last ink.
struct GridPatch {
    int rows;
    int cols;
};

struct RememberedReading {
    std::uint64_t hash;
    std::int16_t mode;
    std::int16_t loadedHeight;
    std::int16_t loadedWidth;
    std::int16_t answer;
    GridPatch loaded;
    GridPatch skeleton;
    GridPatch glyph;
    int pathPoints;
    std::size_t leftAt;  // where the record the reading left starts in `bytes`
    // Used from the start only: the loaded patch, the record's tail, then its two grid patches.
    std::uint8_t bytes[RememberedBytes];
};

RememberedReading Remembered[RememberedReadingSlots];
int RememberedCount = 0;
int NextRememberedSlot = 0;

// Rows and columns are scanned a word of cells at a time; a word's last ink cell is found once.
constexpr int CellsPerWord = static_cast<int>(sizeof(std::uint64_t));
constexpr int WordsPerRow = GridSide / CellsPerWord;

int LastInkCell(std::uint64_t word) {
    int cells = CellsPerWord;
    std::uint8_t bytes[CellsPerWord];
    std::memcpy(bytes, &word, sizeof word);
    while (cells > 0 && bytes[cells - 1] == 0) --cells;
    return cells;
}

GridPatch InkPatch(const GlyphGrid& grid) {
    std::uint64_t columns[WordsPerRow] = {};
    int rows = 0;
    for (int row = 0; row < GridSide; ++row) {
        std::uint64_t ink = 0;
        for (int k = 0; k < WordsPerRow; ++k) {
            std::uint64_t word = 0;
            std::memcpy(&word, grid.cells + row * GridSide + k * CellsPerWord, sizeof word);
            columns[k] |= word;
            ink |= word;
        }
        if (ink != 0) rows = row + 1;
    }
    int words = WordsPerRow;
    while (words > 0 && columns[words - 1] == 0) --words;
    const int cols = words == 0 ? 0 : (words - 1) * CellsPerWord + LastInkCell(columns[words - 1]);
    return {rows, cols};
}

std::size_t PathBytes(int points) { return static_cast<std::size_t>(points) * sizeof(std::int16_t); }

// The longest path list the record holds: the last trace and the last walk share it.
int PathPointsInUse() {
    const int points = Glyph.PathPointCount > Glyph.WalkLength ? Glyph.PathPointCount : Glyph.WalkLength;
    return ClampedCount(points, MaxPathPoints);
}

// Appends `size` bytes at `to` + `at`, and moves `at` past them.
void Put(std::uint8_t* to, std::size_t& at, const void* from, std::size_t size) {
    std::memcpy(to + at, from, size);
    at += size;
}

void Take(void* to, const std::uint8_t* from, std::size_t& at, std::size_t size) {
    std::memcpy(to, from + at, size);
    at += size;
}

void PutPatch(std::uint8_t* to, std::size_t& at, const GlyphGrid& grid, GridPatch patch) {
    for (int row = 0; row < patch.rows; ++row) Put(to, at, grid.cells + row * GridSide, static_cast<std::size_t>(patch.cols));
}

// The grid cleared, then the patch put back at the origin.
void TakePatch(GlyphGrid& grid, const std::uint8_t* from, std::size_t& at, GridPatch patch) {
    std::memset(grid.cells, 0, GridBytes);
    for (int row = 0; row < patch.rows; ++row) Take(grid.cells + row * GridSide, from, at, static_cast<std::size_t>(patch.cols));
}

bool PatchMatches(const std::uint8_t* from, const GlyphGrid& grid, GridPatch patch) {
    for (int row = 0; row < patch.rows; ++row) {
        const std::size_t cols = static_cast<std::size_t>(patch.cols);
        if (std::memcmp(from + row * cols, grid.cells + row * GridSide, cols) != 0) return false;
    }
    return true;
}

// A filter only: a match is confirmed on the grid itself.
std::uint64_t HashLoadedGlyph(int mode, GridPatch patch) {
    std::uint64_t hash = static_cast<std::uint64_t>(mode) ^ (static_cast<std::uint64_t>(patch.rows) << 8) ^
                         (static_cast<std::uint64_t>(patch.cols) << 24) ^
                         (static_cast<std::uint64_t>(static_cast<std::uint16_t>(Glyph.GlyphHeight)) << 32) ^
                         (static_cast<std::uint64_t>(static_cast<std::uint16_t>(Glyph.GlyphWidth)) << 48);
    for (int row = 0; row < patch.rows; ++row) {
        for (int col = 0; col < patch.cols; col += static_cast<int>(sizeof(std::uint64_t))) {
            std::uint64_t word = 0;
            std::memcpy(&word, Glyph.SkeletonImage.cells + row * GridSide + col, sizeof word);
            hash = (hash ^ word) * HashMultiplier;
            hash ^= hash >> HashShift;
        }
    }
    return hash;
}

bool IsRememberedGlyph(const RememberedReading& reading, std::uint64_t hash, int mode, GridPatch patch) {
    return reading.hash == hash && reading.mode == mode && reading.loaded.rows == patch.rows &&
           reading.loaded.cols == patch.cols && reading.loadedHeight == Glyph.GlyphHeight &&
           reading.loadedWidth == Glyph.GlyphWidth && PatchMatches(reading.bytes, Glyph.SkeletonImage, patch);
}

const RememberedReading* FindRememberedReading(std::uint64_t hash, int mode, GridPatch patch) {
    for (int k = 0; k < RememberedCount; ++k) {
        if (IsRememberedGlyph(Remembered[k], hash, mode, patch)) return &Remembered[k];
    }
    return nullptr;
}

void TakeRememberedRecord(const RememberedReading& reading) {
    const std::int16_t inkCount = Glyph.InkCount;
    const float inkRatio = Glyph.InkRatio;
    auto* record = reinterpret_cast<std::uint8_t*>(&Glyph);
    std::size_t at = reading.leftAt;
    Take(record + RecordTailOffset, reading.bytes, at, PathXOffset - RecordTailOffset);
    Take(Glyph.PathX, reading.bytes, at, PathBytes(reading.pathPoints));
    Take(Glyph.PathY, reading.bytes, at, PathBytes(reading.pathPoints));
    Take(record + AfterPathsOffset, reading.bytes, at, sizeof(GlyphRecord) - AfterPathsOffset);
    TakePatch(Glyph.SkeletonImage, reading.bytes, at, reading.skeleton);
    TakePatch(Glyph.GlyphImage, reading.bytes, at, reading.glyph);
    Glyph.InkCount = inkCount;
    Glyph.InkRatio = inkRatio;
}

void KeepReadingLeft(RememberedReading& reading) {
    const auto* record = reinterpret_cast<const std::uint8_t*>(&Glyph);
    reading.pathPoints = PathPointsInUse();
    reading.skeleton = InkPatch(Glyph.SkeletonImage);
    reading.glyph = InkPatch(Glyph.GlyphImage);
    std::size_t at = reading.leftAt;
    Put(reading.bytes, at, record + RecordTailOffset, PathXOffset - RecordTailOffset);
    Put(reading.bytes, at, Glyph.PathX, PathBytes(reading.pathPoints));
    Put(reading.bytes, at, Glyph.PathY, PathBytes(reading.pathPoints));
    Put(reading.bytes, at, record + AfterPathsOffset, sizeof(GlyphRecord) - AfterPathsOffset);
    PutPatch(reading.bytes, at, Glyph.SkeletonImage, reading.skeleton);
    PutPatch(reading.bytes, at, Glyph.GlyphImage, reading.glyph);
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
    const GridPatch loaded = InkPatch(Glyph.SkeletonImage);
    const std::uint64_t hash = HashLoadedGlyph(mode, loaded);
    if (const RememberedReading* reading = FindRememberedReading(hash, mode, loaded)) {
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
    slot.loaded = loaded;
    slot.leftAt = 0;
    PutPatch(slot.bytes, slot.leftAt, Glyph.SkeletonImage, loaded);
    slot.answer = ReadLoadedGlyph(mode);
    KeepReadingLeft(slot);
    return slot.answer;
}
