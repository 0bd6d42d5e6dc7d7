#include "engine/location/text_bands.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/camera.h"
#include "engine/location/binary_regions.h"
#include "engine/location/capped_table.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"

std::int16_t RowStrokeStarts[FrameLongSide][StrokeStartSlots];
std::int16_t RowStrokeCounts[FrameLongSide];
LineRange TextBands[TextBandSlots];
std::int16_t TextBandCount = 0;
std::uint16_t SmoothedProfile[FrameLongSide];
std::uint16_t SmoothScratch[FrameLongSide];
std::int16_t ColumnProfile[FrameWidth];

namespace {

constexpr int MaxStrokeGap = 25;           // wider background gaps separate words, not strokes
constexpr int StrokeStartWidth = 2;        // a stroke start is two ink pixels; resume after them
constexpr int RowStrokeEndBlank = 1;       // background pixels after the ink of a stroke end
constexpr int ColumnStrokeEndBlank = 2;
constexpr int RowBandThreshold = 14;       // three-row sum of starts that opens a band
// The size/type search looks for smaller print; the rear camera asks for one start more.
constexpr int FoundCodeRowBandThreshold = CameraNumber == 1 ? 8 : 7;
constexpr int MinBandRows = 16;            // a band must be taller than this
constexpr int TallBandRows = 64;           // taller bands may hold two rows of characters
constexpr int TallBandPasses = 2;
constexpr int ColumnBandThreshold = 8;
constexpr int MinBandColumns = 12;
constexpr int ColumnSmoothingPasses = 3;
constexpr int RowBandDrop = 2;             // a row band ends where the profile falls below start - 2
constexpr int ColumnBandDrop = 4;
constexpr int SmoothRadius = 2;            // five-entry average
constexpr int SmoothWidth = 2 * SmoothRadius + 1;
constexpr int SplitMargin = 10;            // no cut within 10 lines of a band end
constexpr int ValleyReach = 6;             // a valley falls over six entries and rises over six
constexpr int NoValleyLevel = 9999;
constexpr int GapFillFirst = 16;           // the location passes ignore 16 columns at each side
constexpr int GapFillStop = FrameWidth - 16;

template <typename Value>
int EntryOrZero(std::span<Value> slice, int i) {
    return i >= 0 && i < static_cast<int>(slice.size()) ? slice[i] : 0;
}

std::span<std::int16_t> CountSlice(int first, int count) {
    first = std::clamp(first, 0, FrameLongSide);
    count = std::clamp(count, 0, FrameLongSide - first);
    return std::span<std::int16_t>(RowStrokeCounts).subspan(first, count);
}

// Sum of the counts of three lines from `line`; lines past `last` count as 0.
int ThreeLineSum(int line, int last) {
    int sum = 0;
    for (int k = line; k < line + 3 && k <= last; ++k) sum += RowStrokeCounts[k];
    return sum;
}

void RecordStrokeStart(int line, int position) {
    const int slot = NextCappedSlot(RowStrokeCounts[line], StrokeStartSlots);
    RowStrokeStarts[line][slot] = static_cast<std::int16_t>(position);
}

// Scans positions first..last of one line for stroke ends followed closely by a stroke start.
// `blankAfterEnd` is how many background pixels must follow the ink of a stroke end;
// `nextInk`(p) is the first ink position from p on (past `last` when there is none), so that
// the background between strokes is passed over at once.
template <typename InkAt, typename NextInk>
void RecordStrokeStarts(int line, int first, int last, int blankAfterEnd, InkAt inkAt, NextInk nextInk) {
    auto ink = [&](int position) { return position <= last && inkAt(position); };
    RowStrokeCounts[line] = 0;
    int x = first;
    while (x < last) {
        if (!ink(x)) {
            x = nextInk(x + 1);
            continue;
        }
        bool strokeEnd = true;
        for (int k = 1; k <= blankAfterEnd && strokeEnd; ++k) strokeEnd = !ink(x + k);
        if (!strokeEnd) {
            ++x;
            continue;
        }
        int start = x + 1;
        while (start < last && !(ink(start) && ink(start + 1))) {
            start = ink(start) ? start + 1 : std::min(nextInk(start + 1), last);
        }
        if (start - x - 1 <= MaxStrokeGap) RecordStrokeStart(line, start);
        x = start + StrokeStartWidth;
    }
}

// The first ink pixel of the row from `column` to `last`, eight pixels at a time over
// background; last + 1 when there is none.
int NextInkInRow(int row, int column, int last) {
    const std::uint8_t* pixels = BinaryImage + PixelIndex(0, row);
    constexpr int WordPixels = static_cast<int>(sizeof(std::uint64_t));
    while (column + WordPixels - 1 <= last) {
        std::uint64_t word = 0;
        std::memcpy(&word, pixels + column, sizeof word);
        if (word != 0) break;
        column += WordPixels;
    }
    while (column <= last && pixels[column] == 0) ++column;
    return column;
}

void StoreBand(int start, int end) {
    const int slot = NextCappedSlot(TextBandCount, TextBandSlots);
    TextBands[slot] = LineRange{static_cast<std::int16_t>(start), static_cast<std::int16_t>(end)};
}

// The rear camera reads its size/type code with the same bands: once the number is found a
// tall band is the code with its surroundings and stays whole.
bool SplitsTallBands() { return CameraNumber != 1 || CodeFoundFlag == 0; }

// One scan for row bands; false when a tall band was cut and the scan must start again.
bool ScanRowBands(int top, int bottom, int threshold) {
    TextBandCount = 0;
    int row = top;
    while (row <= bottom) {
        if (ThreeLineSum(row, bottom) <= threshold) {
            ++row;
            continue;
        }
        const int length = MeasureProfileBand(CountSlice(row, bottom - row), BandModeRows);
        if (length <= MinBandRows) {
            ++row;
            continue;
        }
        if (length > TallBandRows && SplitsTallBands()) {
            SmoothProfile(CountSlice(row, length), TallBandPasses);
            if (SplitTallBand(CountSlice(row, length)) == 1) return false;
        }
        StoreBand(row, row + length);
        row += length + 1;
    }
    return true;
}

template <typename Value>
void SmoothStep(std::span<const Value> source, std::span<std::uint16_t> target) {
    const int count = static_cast<int>(target.size());
    std::fill(target.begin(), target.end(), 0);
    for (int i = SmoothRadius; i <= count - 2; ++i) {
        int sum = SmoothRadius;  // rounds the average
        for (int k = i - SmoothRadius; k <= i + SmoothRadius; ++k) sum += EntryOrZero(source, k);
        target[i] = static_cast<std::uint16_t>(sum / SmoothWidth);
    }
}

bool IsValley(int i) {
    for (int k = i - ValleyReach; k < i; ++k) {
        if (SmoothedProfile[k] < SmoothedProfile[k + 1]) return false;
    }
    for (int k = i; k < i + ValleyReach; ++k) {
        if (SmoothedProfile[k] > SmoothedProfile[k + 1]) return false;
    }
    return true;
}

}  // namespace

int FindHorizontalTextBands(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    TextBandCount = 0;
    if (IsEmptyRegion(region)) return 1;
    for (int row = region.top; row <= region.bottom; ++row) {
        RecordStrokeStarts(
            row, region.left, region.right, RowStrokeEndBlank,
            [row](int column) { return BinaryImage[PixelIndex(column, row)] != 0; },
            [row, &region](int column) { return NextInkInRow(row, column, region.right); });
    }
    const int threshold = CodeFoundFlag == 1 ? FoundCodeRowBandThreshold : RowBandThreshold;
    // Each cut zeroes at least one non-zero count inside a band, so the restarts end.
    while (!ScanRowBands(region.top, region.bottom, threshold)) {
    }
    return TextBandCount == 0 ? 1 : 0;
}

int FindVerticalTextBands(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    TextBandCount = 0;
    if (IsEmptyRegion(region)) return 1;
    for (int column = region.left; column <= region.right; ++column) {
        auto inkAt = [column](int row) { return BinaryImage[PixelIndex(column, row)] != 0; };
        RecordStrokeStarts(column, region.top, region.bottom, ColumnStrokeEndBlank, inkAt, [&](int row) {
            while (row <= region.bottom && !inkAt(row)) ++row;
            return row;
        });
    }
    ColumnProfileOfBox(region.left, region.right, region.top, region.bottom - 1, SourceBinaryImage);
    const int columns = region.right - region.left + 1;
    SmoothProfile(std::span<const std::int16_t>(ColumnProfile).subspan(region.left, columns), ColumnSmoothingPasses);
    for (int i = 0; i < columns; ++i) ColumnProfile[region.left + i] = static_cast<std::int16_t>(SmoothedProfile[i]);

    int column = region.left;
    while (column < region.right - MinBandColumns) {
        if (ThreeLineSum(column, region.right) > ColumnBandThreshold) {
            const int length = MeasureProfileBand(CountSlice(column, region.right - column), BandModeColumns);
            if (length > MinBandColumns) {
                StoreBand(column, std::min(column + length, region.right));
                column += length + 1;
                continue;
            }
        }
        ++column;
    }
    return TextBandCount == 0 ? 1 : 0;
}

int MeasureProfileBand(std::span<const std::int16_t> slice, int mode) {
    const int count = static_cast<int>(slice.size());
    const int startLevel = (EntryOrZero(slice, 0) + EntryOrZero(slice, 1) + EntryOrZero(slice, 2)) / 3;
    const int drop = mode == BandModeRows ? RowBandDrop : ColumnBandDrop;
    for (int n = 0; n <= count - 2; ++n) {
        const int here = slice[n];
        const int next = slice[n + 1];
        const bool fallen = here - startLevel < -drop && next - startLevel < -drop;
        const bool empty = here == 0 && next == 0;
        if (fallen || empty) return n;
    }
    return count > 1 ? count - 1 : 0;
}

void SmoothProfile(std::span<const std::int16_t> slice, int passes) {
    const std::size_t count = std::min<std::size_t>(slice.size(), FrameLongSide);
    const std::span<std::uint16_t> scratch = std::span<std::uint16_t>(SmoothScratch).first(count);
    const std::span<std::uint16_t> smoothed = std::span<std::uint16_t>(SmoothedProfile).first(count);
    SmoothStep(slice.first(count), scratch);
    SmoothStep<std::uint16_t>(scratch, smoothed);
    for (int pass = 0; pass < passes; ++pass) {
        SmoothStep<std::uint16_t>(smoothed, scratch);
        SmoothStep<std::uint16_t>(scratch, smoothed);
    }
}

int SplitTallBand(std::span<std::int16_t> slice) {
    const int count = std::min(static_cast<int>(slice.size()), FrameLongSide);
    int cut = -1;
    int lowest = NoValleyLevel;
    for (int i = SplitMargin; i <= count - SplitMargin; ++i) {
        if (IsValley(i) && slice[i] < lowest) {
            cut = i;
            lowest = slice[i];
        }
    }
    if (cut < 0) return 0;
    slice[cut - 1] = 0;
    slice[cut] = 0;
    slice[cut + 1] = 0;
    return 1;
}

void FillShortProfileGaps(int maxGap) {
    int i = GapFillFirst;
    while (i < GapFillStop) {
        if (SmoothedProfile[i] != 0 && SmoothedProfile[i + 1] == 0) {
            int next = i + 2;
            while (next < GapFillStop && SmoothedProfile[next] == 0) ++next;
            if (next - i < maxGap) {
                const std::uint16_t level = std::min(SmoothedProfile[i], SmoothedProfile[next]);
                std::fill(SmoothedProfile + i + 1, SmoothedProfile + next, level);
                i = next;
                continue;
            }
        }
        ++i;
    }
}
