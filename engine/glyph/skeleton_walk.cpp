// Walks along chains of the skeleton and the link between two junctions.
#include <cstdlib>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr std::uint8_t SkeletonCell = 1;
constexpr int ChainNeighbourCount = 2;
constexpr int JunctionNeighbourCount = 3;
constexpr std::int16_t NoPoint = -1;

void AppendWalkPoint() {
    const int i = Glyph.WalkLength;
    Glyph.PathX[i] = Glyph.WalkCol;
    Glyph.PathY[i] = Glyph.WalkRow;
    Glyph.WalkLength = static_cast<std::int16_t>(i + 1);
}

// Walks from (row, col) along cells with two skeleton neighbours into PathX/PathY. Stops at the
// first cell without exactly two neighbours (appended), at a dead end, back at the start when
// `stopAtStart` is set (not appended again), or when the point lists are full. Answers the
// neighbour count of the cell where it stopped.
std::int16_t WalkChain(std::int16_t row, std::int16_t col, bool stopAtStart) {
    Glyph.WalkRow = row;
    Glyph.WalkCol = col;
    Glyph.WalkPrevRow = NoPoint;
    Glyph.WalkPrevCol = NoPoint;
    Glyph.WalkLength = 0;
    for (;;) {
        AppendWalkPoint();
        const std::int16_t fromRow = Glyph.WalkRow;
        const std::int16_t fromCol = Glyph.WalkCol;
        if (StepWalk() == 0) break;
        Glyph.WalkPrevRow = fromRow;
        Glyph.WalkPrevCol = fromCol;
        if (stopAtStart && Glyph.WalkRow == row && Glyph.WalkCol == col) break;
        if (CountNeighbours(Glyph.WalkRow, Glyph.WalkCol) != ChainNeighbourCount || Glyph.WalkLength >= MaxPathPoints - 1) {
            AppendWalkPoint();
            break;
        }
    }
    return CountNeighbours(Glyph.WalkRow, Glyph.WalkCol);
}

bool IsJunctionIndex(int j) { return j >= 0 && j < Glyph.JunctionCount && j < MaxJunctions; }

void SetBranchCells(int junction, std::uint8_t value) {
    for (const GlyphPoint& branch : Glyph.JunctionBranches[junction]) Glyph.SkeletonImage.Set(branch.y, branch.x, value);
}

bool IsNextToBranchOf(int junction, int row, int col) {
    for (const GlyphPoint& branch : Glyph.JunctionBranches[junction]) {
        if (branch.x != NoPoint && std::abs(branch.y - row) <= 1 && std::abs(branch.x - col) <= 1) return true;
    }
    return false;
}

}  // namespace

void WalkFromEndpoint(std::int16_t endpoint) {
    if (endpoint < 0 || endpoint >= Glyph.EndpointCount || endpoint >= MaxEndpoints) {
        Glyph.WalkLength = 0;
        return;
    }
    const GlyphPoint start = Glyph.Endpoints[endpoint];
    WalkChain(start.y, start.x, false);
}

std::int16_t WalkFromPixel(std::int16_t x, std::int16_t y) { return WalkChain(y, x, true); }

void CollectJunctionBranches(std::int16_t junction) {
    if (!IsJunctionIndex(junction)) return;
    // Neighbour offsets in the order UL, U, UR, R, DR, D, DL, L.
    constexpr int RowStep[] = {-1, -1, -1, 0, 1, 1, 1, 0};
    constexpr int ColStep[] = {-1, 0, 1, 1, 1, 0, -1, -1};
    const GlyphPoint centre = Glyph.Junctions[junction];
    GlyphPoint* slots = Glyph.JunctionBranches[junction];
    int found = 0;
    for (int k = 0; k < 8 && found < JunctionBranchSlots; ++k) {
        const int row = centre.y + RowStep[k];
        const int col = centre.x + ColStep[k];
        if (Glyph.SkeletonImage.At(row, col) != SkeletonCell) continue;
        slots[found++] = GlyphPoint{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row)};
    }
    // Unused slots point off the grid, where clearing or restoring a cell does nothing.
    for (; found < JunctionBranchSlots; ++found) slots[found] = GlyphPoint{NoPoint, NoPoint};
}

std::int16_t TraceBranchBetweenJunctions(std::int16_t from, std::int16_t to) {
    if (!IsJunctionIndex(from) || !IsJunctionIndex(to)) return 0;
    ClearMarks(ChordMark);
    CollectJunctionBranches(from);
    CollectJunctionBranches(to);
    const GlyphPoint centre = Glyph.Junctions[from];
    Glyph.SkeletonImage.Set(centre.y, centre.x, 0);
    std::int16_t answer = 0;
    for (const GlyphPoint& branch : Glyph.JunctionBranches[from]) {
        if (branch.x == NoPoint) continue;
        // Only this branch stays attached, so the walk cannot leave along another one.
        SetBranchCells(from, 0);
        Glyph.SkeletonImage.Set(branch.y, branch.x, SkeletonCell);
        const std::int16_t stopCount = WalkFromPixel(branch.x, branch.y);
        if (stopCount < JunctionNeighbourCount || !IsNextToBranchOf(to, Glyph.WalkRow, Glyph.WalkCol)) continue;
        const int last = Glyph.WalkLength - 1;
        answer = TraceSkeletonPath(Glyph.PathY[0], Glyph.PathX[0], Glyph.PathY[last], Glyph.PathX[last]) == 0 ? 1 : 0;
        break;
    }
    Glyph.SkeletonImage.Set(centre.y, centre.x, SkeletonCell);
    SetBranchCells(from, SkeletonCell);
    return answer;
}
