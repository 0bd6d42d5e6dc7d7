#include "engine/location/edge_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/location/boxes.h"
#include "engine/location/gray_bmp.h"
#include "engine/location/level_histogram.h"
#include "engine/location/planes.h"
#include "engine/recognizer_state.h"

namespace {

constexpr int EdgeMargin = 2;          // the operator reaches one pixel; keep one more clear
constexpr int MaxMagnitude = 255;
constexpr int OppositeDirection = 4;   // added to the code when the difference is negative
// Columns done together by the per-row loops. A constant count lets the compiler turn the loop
// into whole vectors at -O2, where it vectorizes no loop that would need a scalar remainder.
constexpr int ColumnBlock = 16;
constexpr const char* EdgeDumpPath = "\\work\\TDBuf.bmp";
constexpr const char* BinaryDumpPath = "\\work\\BWBuf.bmp";

// A difference of two gray levels, -255 to 255; 16 bits keep twice as many in a vector as int.
using LevelDifference = std::int16_t;

// One of the operator's differences and its index (0 right, 1 down-right, 2 down, 3 down-left).
struct Difference {
    LevelDifference value;
    LevelDifference index;
};

struct StrongestEdge {
    LevelDifference magnitude;
    LevelDifference direction;
};

// The later difference wins only when it is larger: a tie keeps the lower index. A selection,
// not a branch, so that whole rows vectorize.
Difference Stronger(Difference earlier, Difference later) {
    return std::abs(later.value) > std::abs(earlier.value) ? later : earlier;
}

constexpr PackedEdge PackEdge(int magnitude, int direction) {
    return static_cast<PackedEdge>(magnitude) | (static_cast<PackedEdge>(direction) << 16);
}

const std::uint8_t* GrayRow(int row) { return WorkImage + PixelIndex(0, row); }

// The operator at `column` of the row `here`, between the rows above and below it. Inline: the
// row blocks vectorize only with it inlined.
inline StrongestEdge EdgeFromRows(const std::uint8_t* above, const std::uint8_t* here, const std::uint8_t* below,
                                  int column) {
    // Far side minus near side, in direction order.
    const Difference right{static_cast<LevelDifference>(here[column + 1] - here[column - 1]), 0};
    const Difference downRight{static_cast<LevelDifference>(below[column + 1] - above[column - 1]), 1};
    const Difference down{static_cast<LevelDifference>(below[column] - above[column]), 2};
    const Difference downLeft{static_cast<LevelDifference>(below[column - 1] - above[column + 1]), 3};
    const Difference strongest = Stronger(Stronger(Stronger(right, downRight), down), downLeft);
    const int direction = strongest.index + (strongest.value < 0 ? OppositeDirection : 0);
    return StrongestEdge{static_cast<LevelDifference>(std::abs(strongest.value)),
                         static_cast<LevelDifference>(direction)};
}

void StoreEdge(int index, StrongestEdge edge) {
    const int magnitude = std::min<int>(edge.magnitude, MaxMagnitude);
    EdgeImage[index] = static_cast<std::uint8_t>(magnitude);
    EdgeField[index] = EdgeFieldCell{static_cast<std::uint16_t>(magnitude), static_cast<std::uint16_t>(edge.direction)};
}

// ColumnBlock columns of a row from `column` on.
void EdgeBlock(int row, int column) {
    const std::uint8_t* above = GrayRow(row - 1);
    const std::uint8_t* here = GrayRow(row);
    const std::uint8_t* below = GrayRow(row + 1);
    for (int i = 0; i < ColumnBlock; ++i) {
        StoreEdge(PixelIndex(column + i, row), EdgeFromRows(above, here, below, column + i));
    }
}

// Calls block(column) for blocks of ColumnBlock columns that cover first..last, which holds at
// least ColumnBlock columns. The last block ends at `last` and may overlap the one before it,
// which is harmless as each block rewrites the same values.
template <typename Block>
void CoverWithBlocks(int first, int last, Block block) {
    for (int column = first; column <= last - ColumnBlock; column += ColumnBlock) block(column);
    block(last + 1 - ColumnBlock);
}

bool HoldsABlock(int first, int last) { return last - first + 1 >= ColumnBlock; }

void EdgeRow(int row, int first, int last) {
    if (HoldsABlock(first, last)) {
        CoverWithBlocks(first, last, [row](int column) { EdgeBlock(row, column); });
        return;
    }
    for (int column = first; column <= last; ++column) {
        StoreEdge(PixelIndex(column, row), EdgeFromRows(GrayRow(row - 1), GrayRow(row), GrayRow(row + 1), column));
    }
}

// A threshold in the 8 bits of the edge levels, so that a vector compares 16 of them at once.
struct LevelThreshold {
    std::uint8_t level;        // the threshold brought into 0 to 255
    std::uint8_t everyLevel;   // 1 when the threshold is negative: every level lies above it
};

LevelThreshold ToLevelThreshold(int threshold) {
    return LevelThreshold{static_cast<std::uint8_t>(std::clamp(threshold, 0, MaxMagnitude)),
                          static_cast<std::uint8_t>(threshold < 0 ? 1 : 0)};
}

std::uint8_t IsAbove(std::uint8_t edge, LevelThreshold threshold) {
    return static_cast<std::uint8_t>((edge > threshold.level ? 1 : 0) | threshold.everyLevel);
}

// The plane is a template argument so that the compiler knows it is not EdgeImage.
template <std::uint8_t (&Plane)[FrameSize]>
void ThresholdBlock(int index, LevelThreshold threshold) {
    for (int i = 0; i < ColumnBlock; ++i) Plane[index + i] = IsAbove(EdgeImage[index + i], threshold);
}

template <std::uint8_t (&Plane)[FrameSize]>
void ThresholdInto(PackedPoint topLeft, PackedPoint bottomRight, int threshold) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    const LevelThreshold levelThreshold = ToLevelThreshold(threshold);
    for (int row = region.top; row <= region.bottom; ++row) {
        if (HoldsABlock(region.left, region.right)) {
            CoverWithBlocks(region.left, region.right, [row, levelThreshold](int column) {
                ThresholdBlock<Plane>(PixelIndex(column, row), levelThreshold);
            });
            continue;
        }
        for (int column = region.left; column <= region.right; ++column) {
            const int index = PixelIndex(column, row);
            Plane[index] = IsAbove(EdgeImage[index], levelThreshold);
        }
    }
}

// Neighbouring pixels count into different tables: most of a region has no edge, and a run of
// one level into one table would make every count wait for the one before to be stored.
constexpr int CountingTables = 4;
constexpr int LevelCount = MaxMagnitude + 1;
static_assert(LevelCount <= HistogramBinCount);
using LevelCounts = std::uint32_t[CountingTables][LevelCount];

void CountRowLevels(LevelCounts& counts, int row, int first, int last) {
    static_assert(CountingTables == 4, "one line per table below");
    int column = first;
    for (; column + CountingTables - 1 <= last; column += CountingTables) {
        // Written out: at -O2 a loop over the tables stays rolled and costs more than the counts.
        const std::uint8_t* levels = EdgeImage + PixelIndex(column, row);
        ++counts[0][levels[0]];
        ++counts[1][levels[1]];
        ++counts[2][levels[2]];
        ++counts[3][levels[3]];
    }
    for (; column <= last; ++column) ++counts[0][EdgeImage[PixelIndex(column, row)]];
}

}  // namespace

PackedEdge EdgeAtPixel(int row, int column) {
    if (row < 1 || row >= FrameHeight - 1 || column < 1 || column >= FrameWidth - 1) return PackEdge(0, 0);
    const StrongestEdge edge = EdgeFromRows(GrayRow(row - 1), GrayRow(row), GrayRow(row + 1), column);
    return PackEdge(edge.magnitude, edge.direction);
}

void ComputeEdgeImage(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    // The margins keep every pixel computed off the frame's edge.
    for (int row = region.top + EdgeMargin; row <= region.bottom - EdgeMargin; ++row) {
        EdgeRow(row, region.left + EdgeMargin, region.right - EdgeMargin);
    }
}

void ThresholdEdgeImage(PackedPoint topLeft, PackedPoint bottomRight, int threshold) {
    ThresholdInto<BinaryImage>(topLeft, bottomRight, threshold);
}

void ThresholdEdgeImageToCopy(PackedPoint topLeft, PackedPoint bottomRight, int threshold) {
    ThresholdInto<BinaryBackup>(topLeft, bottomRight, threshold);
}

void EdgeHistogram(PackedPoint topLeft, PackedPoint bottomRight) {
    ClearHistogram();
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    LevelCounts counts = {};
    for (int row = region.top; row <= region.bottom; ++row) CountRowLevels(counts, row, region.left, region.right);
    for (int level = 0; level < LevelCount; ++level) {
        std::uint32_t total = 0;
        for (const auto& table : counts) total += table[level];
        HistogramBins[level] = total;
    }
}

void DumpEdgeImage() {
    if (DebugDumpFlag != 1) return;
    std::memcpy(LoadedImage, EdgeImage, sizeof LoadedImage);
    SaveGrayBmp(EdgeDumpPath);
}

void DumpBinaryImage() {
    if (DebugDumpFlag == 1) SaveBinaryBmp(BinaryDumpPath);
}
