// Zones of the skeleton box and the column order of end points and junctions.
#include <algorithm>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr std::int16_t TakenX = 999;  // beyond every column: an entry already placed
static_assert(MaxEndpoints <= GridSide && MaxJunctions <= GridSide, "SortOrder holds one slot per listed point");

// Band of `offset` when `size` is cut into n equal bands; a box without extent has one band.
int ZoneBand(int offset, int size, int n) {
    if (size <= 0) return 0;
    return static_cast<int>(offset / (static_cast<double>(size) / n));
}

// Writes the list indexes lo..hi to SortOrder by ascending x; equal x keep list order.
void SortPointsByX(const GlyphPoint* points, int capacity, int lo, int hi) {
    lo = std::max(lo, 0);
    hi = std::min(hi, capacity - 1);
    if (hi < lo) return;
    const int count = hi - lo + 1;
    std::int16_t x[GridSide];
    for (int i = 0; i < count; ++i) x[i] = points[lo + i].x;
    for (int slot = 0; slot < count; ++slot) {
        int best = 0;
        for (int i = 1; i < count; ++i) {
            if (x[i] < x[best]) best = i;
        }
        Glyph.SortOrder[slot] = static_cast<std::int16_t>(lo + best);
        x[best] = TakenX;
    }
}

}  // namespace

std::int16_t ZoneIndex(std::int16_t n, std::int16_t x, std::int16_t y) {
    if (n <= 0) return 0;
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    return static_cast<std::int16_t>(n * ZoneBand(y - box.top, box.height, n) + ZoneBand(x - box.left, box.width, n));
}

void SortEndpointsByX(std::int16_t lo, std::int16_t hi) { SortPointsByX(Glyph.Endpoints, MaxEndpoints, lo, hi); }

void SortJunctionsByX(std::int16_t lo, std::int16_t hi) { SortPointsByX(Glyph.Junctions, MaxJunctions, lo, hi); }
