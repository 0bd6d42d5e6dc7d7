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
constexpr int DifferenceCount = 4;
constexpr int OppositeDirection = 4;   // added to the code when the difference is negative
constexpr const char* EdgeDumpPath = "\\work\\TDBuf.bmp";
constexpr const char* BinaryDumpPath = "\\work\\BWBuf.bmp";

constexpr PackedEdge PackEdge(int magnitude, int direction) {
    return static_cast<PackedEdge>(magnitude) | (static_cast<PackedEdge>(direction) << 16);
}

void ThresholdInto(std::uint8_t* plane, PackedPoint topLeft, PackedPoint bottomRight, int threshold) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    for (int row = region.top; row <= region.bottom; ++row) {
        for (int column = region.left; column <= region.right; ++column) {
            const int index = PixelIndex(column, row);
            plane[index] = EdgeImage[index] > threshold ? 1 : 0;
        }
    }
}

}  // namespace

namespace {

// The operator at `column` of the row `here`, between the rows above and below it.
PackedEdge EdgeFromRows(const std::uint8_t* above, const std::uint8_t* here, const std::uint8_t* below, int column) {
    // Far side minus near side: right, down-right, down, down-left.
    const int differences[DifferenceCount] = {
        here[column + 1] - here[column - 1],
        below[column + 1] - above[column - 1],
        below[column] - above[column],
        below[column - 1] - above[column + 1],
    };
    int winner = 0;
    for (int k = 1; k < DifferenceCount; ++k) {
        if (std::abs(differences[k]) > std::abs(differences[winner])) winner = k;  // ties: lowest index
    }
    const int direction = winner + (differences[winner] < 0 ? OppositeDirection : 0);
    return PackEdge(std::abs(differences[winner]), direction);
}

const std::uint8_t* GrayRow(int row) { return WorkImage + PixelIndex(0, row); }

}  // namespace

PackedEdge EdgeAtPixel(int row, int column) {
    if (row < 1 || row >= FrameHeight - 1 || column < 1 || column >= FrameWidth - 1) return PackEdge(0, 0);
    return EdgeFromRows(GrayRow(row - 1), GrayRow(row), GrayRow(row + 1), column);
}

void ComputeEdgeImage(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    // The margins keep every pixel computed off the frame's edge.
    for (int row = region.top + EdgeMargin; row <= region.bottom - EdgeMargin; ++row) {
        const std::uint8_t* above = GrayRow(row - 1);
        const std::uint8_t* here = GrayRow(row);
        const std::uint8_t* below = GrayRow(row + 1);
        for (int column = region.left + EdgeMargin; column <= region.right - EdgeMargin; ++column) {
            const PackedEdge edge = EdgeFromRows(above, here, below, column);
            const int magnitude = std::min(EdgeMagnitude(edge), MaxMagnitude);
            const int index = PixelIndex(column, row);
            EdgeImage[index] = static_cast<std::uint8_t>(magnitude);
            EdgeField[index] = EdgeFieldCell{static_cast<std::uint16_t>(magnitude),
                                             static_cast<std::uint16_t>(EdgeDirection(edge))};
        }
    }
}

void ThresholdEdgeImage(PackedPoint topLeft, PackedPoint bottomRight, int threshold) {
    ThresholdInto(BinaryImage, topLeft, bottomRight, threshold);
}

void ThresholdEdgeImageToCopy(PackedPoint topLeft, PackedPoint bottomRight, int threshold) {
    ThresholdInto(BinaryBackup, topLeft, bottomRight, threshold);
}

void EdgeHistogram(PackedPoint topLeft, PackedPoint bottomRight) {
    ClearHistogram();
    const FrameRegion region = ClipToFrame(topLeft, bottomRight);
    for (int row = region.top; row <= region.bottom; ++row) {
        for (int column = region.left; column <= region.right; ++column) {
            ++HistogramBins[EdgeImage[PixelIndex(column, row)]];
        }
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
