// The one level histogram of the location code and its two searches. Every use clears and
// refills it.
#pragma once

#include <cstdint>

#include "engine/camera.h"

// Counters are 32-bit so that a level shared by most of a frame cannot wrap.
extern std::uint32_t HistogramBins[HistogramBinCount];

// Peak of a windowed search: index in the low 16 bits, window sum in the high 16 bits (a sum
// above 65535 reads as 65535).
using PackedPeak = std::uint32_t;

constexpr int PeakIndex(PackedPeak peak) { return static_cast<int>(peak & 0xFFFFu); }
constexpr int PeakSum(PackedPeak peak) { return static_cast<int>(peak >> 16); }

void ClearHistogram();
// Adds one count to the bin; values outside the histogram are not counted.
void CountInHistogram(int value);
// From the start level downward: the first level L > 2 whose bins L, L - 1 and L - 2 each hold
// more than minCount (camera 1: hold together more than minCount); 2 when none does (the start
// itself when it is 2 or less).
int FindStrongLevel(int startLevel, int minCount);
// Over the centres max(low, radius) .. high - radius - 1: the centre of the window of
// 2 x radius + 1 bins with the largest sum. An equal non-zero sum moves the peak only when its
// centre bin is higher. 0 and 0 when every window is empty.
PackedPeak FindHistogramPeak(int low, int high, int radius);
