#include "engine/location/level_histogram.h"

#include <algorithm>
#include <cstring>

std::uint32_t HistogramBins[HistogramBinCount];

namespace {

constexpr int LowestStrongLevel = 2;   // the search needs the two bins below the level
constexpr std::uint32_t MaxPackedSum = 0xFFFFu;
// Camera 1 takes the three bins of a level together, camera 2 each on its own.
constexpr bool SumsStrongBins = CameraNumber == 1;

constexpr PackedPeak PackPeak(int index, std::uint32_t sum) {
    return static_cast<PackedPeak>(index) | (std::min(sum, MaxPackedSum) << 16);
}

}  // namespace

void ClearHistogram() { std::memset(HistogramBins, 0, sizeof HistogramBins); }

void CountInHistogram(int value) {
    if (value >= 0 && value < HistogramBinCount) ++HistogramBins[value];
}

int FindStrongLevel(int startLevel, int minCount) {
    const auto limit = static_cast<std::uint32_t>(std::max(minCount, -1) + 1);  // "more than minCount"
    for (int level = std::min(startLevel, HistogramBinCount - 1); level > LowestStrongLevel; --level) {
        const std::uint32_t top = HistogramBins[level];
        const std::uint32_t middle = HistogramBins[level - 1];
        const std::uint32_t low = HistogramBins[level - 2];
        const bool strong = SumsStrongBins ? top + middle + low >= limit : top >= limit && middle >= limit && low >= limit;
        if (strong) return level;
    }
    return std::min(startLevel, LowestStrongLevel);
}

PackedPeak FindHistogramPeak(int low, int high, int radius) {
    radius = std::max(radius, 0);
    const int end = std::min(high, HistogramBinCount) - radius;
    int best = 0;
    std::uint32_t bestSum = 0;
    const int first = std::max(low, radius);
    // The window slides: one bin enters on the right, one leaves on the left.
    std::uint32_t sum = 0;
    for (int k = first - radius; k < first + radius && k < end + radius; ++k) sum += HistogramBins[k];
    for (int i = first; i < end; ++i) {
        sum += HistogramBins[i + radius];
        if (i > first) sum -= HistogramBins[i - radius - 1];
        if (sum > bestSum || (sum == bestSum && sum != 0 && HistogramBins[i] > HistogramBins[best])) {
            best = i;
            bestSum = sum;
        }
    }
    return PackPeak(best, bestSum);
}
