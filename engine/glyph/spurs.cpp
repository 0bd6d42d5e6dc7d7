// Clean-up of the thinned skeleton: short spurs that thinning leaves at strokes and corners are
// pruned one at a time, shortest first, and the skeleton's box is taken.
#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"

namespace {

constexpr int SpurLengthDivisor = 20;  // spurs are short against the glyph's larger side
constexpr int SpurLengthRounding = 10;
constexpr int MinSpurLength = 1;
constexpr int MaxSpurLength = 18;
constexpr int MaxSpurCandidates = 500;
constexpr int MaxSpurPoints = 20;
constexpr int MaxCrossableBranches = 4;  // a junction of more branches ends the spur before it

struct SpurCandidate {
    std::int16_t rows[MaxSpurPoints];
    std::int16_t cols[MaxSpurPoints];
    int collected;  // cells to remove; the cell where the walk stood follows them
};

SpurCandidate Candidates[MaxSpurCandidates];
int CandidateCount = 0;

int SpurLengthLimit() {
    const int limit = (Glyph.GlyphMaxSide + SpurLengthRounding) / SpurLengthDivisor;
    return limit < MinSpurLength ? MinSpurLength : (limit > MaxSpurLength ? MaxSpurLength : limit);
}

void StartWalk(const GlyphPoint& end) {
    Glyph.WalkRow = end.y;
    Glyph.WalkCol = end.x;
    Glyph.WalkPrevRow = -1;
    Glyph.WalkPrevCol = -1;
}

// Adds the walk point to the candidate: false once it holds more than `limit` cells.
bool Collect(SpurCandidate& spur, int limit) {
    if (spur.collected >= MaxSpurPoints - 1) return false;
    spur.rows[spur.collected] = Glyph.WalkRow;
    spur.cols[spur.collected] = Glyph.WalkCol;
    ++spur.collected;
    return spur.collected <= limit;
}

// Whether the walk point can go together with the junction cell (row, col) that the spur takes.
bool RemovableWithout(int row, int col) {
    const std::uint8_t junction = Glyph.SkeletonImage.At(row, col);
    Glyph.SkeletonImage.Set(row, col, 0);
    const int removable = PointRemovable(Glyph.WalkRow, Glyph.WalkCol);
    Glyph.SkeletonImage.Set(row, col, junction);
    return removable != 0;
}

// Crosses a junction that the spur can take with it: the junction cell and, when it too can go,
// the cell beyond. The previous walk point stays the last cell before the junction. The cell
// beyond must also be removable once the junction cell is gone, or pruning would cut the stroke
// the spur hangs on.
bool CrossJunction(SpurCandidate& spur, int limit) {
    const int branches = CountNeighbours(Glyph.WalkRow, Glyph.WalkCol);
    if (branches > MaxCrossableBranches || !WalkPointRemovable()) return true;
    if (!Collect(spur, limit)) return false;
    const int junctionRow = Glyph.WalkRow;
    const int junctionCol = Glyph.WalkCol;
    if (StepWalk() && WalkPointRemovable() && RemovableWithout(junctionRow, junctionCol)) {
        if (!Collect(spur, limit)) return false;
        StepWalk();
    }
    return true;
}

// Walks from an end point toward the skeleton: true with the spur filled in when the walk met a
// junction within the limit.
bool WalkSpur(const GlyphPoint& end, int limit, SpurCandidate& spur) {
    spur.collected = 0;
    StartWalk(end);
    if (!Collect(spur, limit)) return false;
    for (;;) {
        const int fromRow = Glyph.WalkRow;
        const int fromCol = Glyph.WalkCol;
        if (!StepWalk()) return false;
        const int neighbours = CountNeighbours(Glyph.WalkRow, Glyph.WalkCol);
        if (neighbours == 1) return false;  // a whole stroke between two ends
        if (neighbours >= 3) {
            Glyph.WalkPrevRow = static_cast<std::int16_t>(fromRow);
            Glyph.WalkPrevCol = static_cast<std::int16_t>(fromCol);
            if (!CrossJunction(spur, limit)) return false;
            spur.rows[spur.collected] = Glyph.WalkRow;
            spur.cols[spur.collected] = Glyph.WalkCol;
            return true;
        }
        Glyph.WalkPrevRow = static_cast<std::int16_t>(fromRow);
        Glyph.WalkPrevCol = static_cast<std::int16_t>(fromCol);
        if (!Collect(spur, limit)) return false;
    }
}

void GatherSpurCandidates(int limit) {
    CandidateCount = 0;
    for (int k = 0; k < Glyph.EndpointCount; ++k) {
        // A full table keeps replacing its last entry.
        const int slot = CandidateCount < MaxSpurCandidates ? CandidateCount : MaxSpurCandidates - 1;
        if (WalkSpur(Glyph.Endpoints[k], limit, Candidates[slot]) && CandidateCount < MaxSpurCandidates) {
            ++CandidateCount;
        }
    }
}

// Whether grid row (byRows) or column `line` holds skeleton cells inside the glyph.
bool LineHasInk(bool byRows, int line) {
    const int span = byRows ? Glyph.GlyphWidth : Glyph.GlyphHeight;
    for (int k = 1; k <= span; ++k) {
        if ((byRows ? Glyph.SkeletonImage.At(line, k) : Glyph.SkeletonImage.At(k, line)) != 0) return true;
    }
    return false;
}

int ShortestCandidate() {
    int best = 0;
    for (int k = 1; k < CandidateCount; ++k) {
        if (Candidates[k].collected < Candidates[best].collected) best = k;
    }
    return best;
}

void RemoveSpur(const SpurCandidate& spur) {
    for (int k = 0; k < spur.collected; ++k) Glyph.SkeletonImage.Set(spur.rows[k], spur.cols[k], 0);
    if (Glyph.PrunedSpurCount >= MaxPrunedSpurs) return;
    const int last = spur.collected - 1;
    Glyph.PrunedSpurs[Glyph.PrunedSpurCount++] =
        PrunedSpur{static_cast<std::uint8_t>(spur.rows[0]), static_cast<std::uint8_t>(spur.cols[0]),
                   static_cast<std::uint8_t>(spur.rows[last]), static_cast<std::uint8_t>(spur.cols[last])};
}

}  // namespace

void PruneShortSpurs() {
    const int limit = SpurLengthLimit();
    Glyph.PrunedSpurCount = 0;
    for (;;) {
        GatherSpurCandidates(limit);
        if (CandidateCount == 0) return;
        RemoveSpur(Candidates[ShortestCandidate()]);
        ListEndpoints();
    }
}

void ComputeSkeletonBox() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    int top = 1;
    while (top <= h && !LineHasInk(true, top)) ++top;
    if (top > h) {
        // An empty skeleton: a box that spans no cells.
        Glyph.GlyphBox = GlyphBoxRecord{1, 0, 1, 0, 0, 0};
        return;
    }
    int bottom = h;
    while (bottom >= 2 && !LineHasInk(true, bottom)) --bottom;
    int left = 1;
    while (left <= w && !LineHasInk(false, left)) ++left;
    int right = w;
    while (right >= 2 && !LineHasInk(false, right)) --right;
    Glyph.GlyphBox = GlyphBoxRecord{static_cast<std::int16_t>(top),
                                    static_cast<std::int16_t>(bottom),
                                    static_cast<std::int16_t>(left),
                                    static_cast<std::int16_t>(right),
                                    static_cast<std::int16_t>(bottom - top + 1),
                                    static_cast<std::int16_t>(right - left + 1)};
}
