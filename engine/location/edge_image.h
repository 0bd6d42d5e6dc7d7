// The edge image of the gray frame, its binarization and its level histogram.
#pragma once

#include <cstdint>

#include "engine/packed_point.h"

// Edge of one pixel: magnitude in the low 16 bits, direction code 0 to 7 in the high 16 bits.
using PackedEdge = std::uint32_t;

constexpr int EdgeMagnitude(PackedEdge edge) { return static_cast<int>(edge & 0xFFFFu); }
constexpr int EdgeDirection(PackedEdge edge) { return static_cast<int>(edge >> 16); }

// Largest central difference of WorkImage around (row, column) and the direction in which it
// brightens (0 right, 1 down-right, 2 down, 3 down-left, 4 to 7 the opposites). A pixel on the
// frame border has no full neighbourhood and answers 0.
PackedEdge EdgeAtPixel(int row, int column);
// Fills EdgeImage and EdgeField over the region less a 2-pixel margin.
void ComputeEdgeImage(PackedPoint topLeft, PackedPoint bottomRight);
// BinaryImage = 1 where EdgeImage > threshold, else 0, over the inclusive region.
void ThresholdEdgeImage(PackedPoint topLeft, PackedPoint bottomRight, int threshold);
// The same into BinaryBackup.
void ThresholdEdgeImageToCopy(PackedPoint topLeft, PackedPoint bottomRight, int threshold);
// Clears HistogramBins and counts every EdgeImage value of the inclusive region.
void EdgeHistogram(PackedPoint topLeft, PackedPoint bottomRight);
// When the debug flag is set: the edge image goes through the load buffer into "\work\TDBuf.bmp".
void DumpEdgeImage();
// When the debug flag is set: the binary image goes into "\work\BWBuf.bmp".
void DumpBinaryImage();
