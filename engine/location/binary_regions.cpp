#include "engine/location/binary_regions.h"

#include <cstring>

#include "engine/location/boxes.h"
#include "engine/location/planes.h"
#include "engine/location/text_bands.h"

namespace {

const std::uint8_t* SourcePlane(int source) {
    if (source == SourceBinaryImage) return BinaryImage;
    if (source == SourceBinaryBackup) return BinaryBackup;
    return nullptr;
}

std::int32_t InkInColumn(const std::uint8_t* plane, int column, int top, int bottom) {
    std::int32_t ink = 0;
    for (int row = top; row <= bottom; ++row) ink += plane[PixelIndex(column, row)] != 0 ? 1 : 0;
    return ink;
}

// A run ends at an ink pixel whose lower neighbour is background; that neighbour may lie below
// the range, and outside the frame counts as background.
bool IsBackupInk(int column, int row) {
    return IsInsideFrame(column, row) && BinaryBackup[PixelIndex(column, row)] != 0;
}

std::int32_t SumPlane(const std::uint8_t* plane, PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion box = ClipToFrame(topLeft, bottomRight);
    std::int32_t sum = 0;
    for (int column = box.left; column <= box.right; ++column) sum += InkInColumn(plane, column, box.top, box.bottom);
    return sum;
}

}  // namespace

void ColumnProfileOfBox(int left, int right, int top, int bottom, int source) {
    std::memset(ColumnProfile, 0, sizeof ColumnProfile);
    const std::uint8_t* plane = SourcePlane(source);
    const FrameRegion box = ClipToFrame(left, top, right, bottom);
    if (plane == nullptr) return;
    for (int column = box.left; column <= box.right; ++column) {
        ColumnProfile[column] = static_cast<std::int16_t>(InkInColumn(plane, column, box.top, box.bottom));
    }
}

void CountVerticalRunsPerColumn(int left, int right, int top, int bottom) {
    const FrameRegion box = ClipToFrame(left, top, right, bottom);
    for (int column = box.left; column <= box.right; ++column) {
        int runs = 0;
        for (int row = box.top; row <= box.bottom; ++row) {
            if (IsBackupInk(column, row) && !IsBackupInk(column, row + 1)) ++runs;
        }
        ColumnProfile[column] = static_cast<std::int16_t>(InkInColumn(BinaryBackup, column, box.top, box.bottom));
        SmoothScratch[column] = static_cast<std::uint16_t>(runs);
    }
}

void CopyBinaryRegion(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion box = ClipToFrame(topLeft, bottomRight);
    if (IsEmptyRegion(box)) return;
    for (int row = box.top; row <= box.bottom; ++row) {
        const int index = PixelIndex(box.left, row);
        std::memcpy(BinaryImage + index, BinaryBackup + index, static_cast<std::size_t>(box.right - box.left + 1));
    }
}

void ClearBackupRect(int left, int top, int right, int bottom) {
    const FrameRegion box = ClipToFrame(left, top, right, bottom);
    if (IsEmptyRegion(box)) return;
    for (int row = box.top; row <= box.bottom; ++row) {
        std::memset(BinaryBackup + PixelIndex(box.left, row), 0, static_cast<std::size_t>(box.right - box.left + 1));
    }
}

void RestoreBinaryImage() { std::memcpy(BinaryImage, BinaryBackup, sizeof BinaryImage); }

std::int32_t SumBinaryCopy1(PackedPoint topLeft, PackedPoint bottomRight) {
    return SumPlane(BinaryBackup, topLeft, bottomRight);
}

std::int32_t SumBinaryCopy2(PackedPoint topLeft, PackedPoint bottomRight) {
    return SumPlane(BinarySnapshot, topLeft, bottomRight);
}
