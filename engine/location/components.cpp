#include "engine/location/components.h"

#include <algorithm>

#include "engine/location/capped_table.h"
#include "engine/location/contours.h"
#include "engine/location/level_histogram.h"
#include "engine/location/planes.h"

CharBox ComponentBoxes[ComponentSlots];
std::int16_t ComponentBoxCount = 0;
ContourPoint ComponentPoints[ComponentSlots][ComponentPointSlots];

namespace {

constexpr int MaxLineComponentHeight = 128;  // taller pieces are never characters of a line
constexpr int MinContourPoints = 7;          // pieces need more points than this
constexpr int MinPieceSide = 5;              // ... and a side longer than this
constexpr double MinColumnsRatio = 0.3;      // height / width in horizontal lines
constexpr double MinRowsRatio = 0.8;         // ... in vertical lines
constexpr double MaxRowsRatio = 16.0;
constexpr int RowsFilterRelaxCount = 9;      // a table with more pieces than this relaxes the vertical filter
constexpr int RowsBarRelaxCount = 1;

// Directions whose two counter-clockwise neighbours are background make a start on the outline.
constexpr int ColumnStartOrder[ContourDirectionCount] = {2, 1, 0, 7, 6, 5, 4, 3};
constexpr int RowStartOrder[ContourDirectionCount] = {0, 1, 2, 3, 4, 5, 6, 7};

enum class PieceOutcome { Accepted, PassedOver, Hanging, Overlong, TableFull };

bool IsBackground(int x, int y) { return !IsInsideFrame(x, y) || BinaryImage[PixelIndex(x, y)] == 0; }

// The start direction for a trace from (x, y), or -1 for an interior pixel.
int StartDirection(int x, int y, int mode) {
    const int* order = mode == ScanColumns ? ColumnStartOrder : RowStartOrder;
    for (int k = 0; k < ContourDirectionCount; ++k) {
        const int d = order[k];
        const ContourStep a = ContourDirections[(d + 1) % ContourDirectionCount];
        const ContourStep b = ContourDirections[(d + 2) % ContourDirectionCount];
        if (IsBackground(x + a.dx, y + a.dy) && IsBackground(x + b.dx, y + b.dy)) return d;
    }
    return -1;
}

bool BoxContains(const CharBox& outer, const CharBox& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool InsideAcceptedBox(const CharBox& box) {
    for (int i = 0; i < std::min<int>(ComponentBoxCount, ComponentSlots); ++i) {
        if (BoxContains(ComponentBoxes[i], box)) return true;
    }
    return false;
}

// A vertical pass relaxes the filter by the components of the whole table, those of the
// candidates searched before this one included.
bool PassesFilter(int mode, int points, int height, int width) {
    const double ratio = static_cast<double>(height) / width;
    const bool sized = height > MinPieceSide || width > MinPieceSide;
    if (mode == ScanColumns) return points > MinContourPoints && sized && ratio >= MinColumnsRatio;
    const bool many = ComponentBoxCount > RowsFilterRelaxCount;
    return (points > MinContourPoints || many) && sized && (ratio >= MinRowsRatio || many) &&
           (ratio <= MaxRowsRatio || ComponentBoxCount > RowsBarRelaxCount);
}

void StoreComponent(int slot, const CharBox& box) {
    ComponentBoxes[slot] = box;
    const int count = std::clamp<int>(Glyph.WalkLength, 0, ComponentPointSlots);
    for (int i = 0; i < count; ++i) ComponentPoints[slot][i] = ContourPoint{Glyph.PathX[i], Glyph.PathY[i]};
    if (count < ComponentPointSlots) ComponentPoints[slot][count] = ContourListEnd;
}

struct ScanState {
    FrameRegion region;
    int mode;
    int filter;
    int bottomLimit;  // horizontal mode: lowered above pieces that hang into the line from below
};

// Traces the piece at (x, y) and decides its fate; the piece's box is left in `box`.
PieceOutcome ExaminePiece(ScanState& scan, int x, int y, int direction, CharBox& box) {
    const int traced = TraceContour(y, x, direction);
    box = PathBoundingBox();
    const int height = box.bottom - box.top + 1;
    const int width = box.right - box.left + 1;
    if (traced == 1) {
        EraseRegionMarks(BoxTopLeft(box), BoxBottomRight(box), scan.mode, EraseBetweenMarks);
        return PieceOutcome::Overlong;
    }
    bool passedOver = false;
    if (scan.mode == ScanColumns) {
        const int regionHeight = scan.region.bottom - scan.region.top;
        if (height > 3 * regionHeight / 5) {
            if (box.top > scan.region.bottom - regionHeight / 4) return PieceOutcome::Hanging;
            const int centre = box.top + height / 2;
            passedOver = centre < scan.region.top || centre > scan.region.bottom;
        }
        passedOver = passedOver || height > MaxLineComponentHeight;
    }
    if (!passedOver && scan.filter != 0) {
        passedOver = !PassesFilter(scan.mode, Glyph.WalkLength, height, width);
    }
    if (passedOver) {
        if (!InsideAcceptedBox(box)) {
            EraseRegionMarks(BoxTopLeft(box), BoxBottomRight(box), scan.mode, EraseBetweenMarks);
        }
        return PieceOutcome::PassedOver;
    }
    const std::int16_t countBefore = ComponentBoxCount;
    const int slot = NextCappedSlot(ComponentBoxCount, ComponentSlots);
    StoreComponent(slot, box);
    if (ComponentBoxCount == countBefore) {
        EraseRegionMarks(BoxTopLeft(box), BoxBottomRight(box), scan.mode, EraseBetweenMarks);
        return PieceOutcome::TableFull;
    }
    return PieceOutcome::Accepted;
}

int ScanByColumns(ScanState& scan) {
    int scanStart = scan.region.left;
    int column = scanStart;
    while (column <= scan.region.right) {
        int resumeAt = -1;
        for (int row = scan.region.top; row <= scan.bottomLimit && resumeAt < 0; ++row) {
            if (BinaryImage[PixelIndex(column, row)] != 1) continue;
            const int direction = StartDirection(column, row, scan.mode);
            if (direction < 0) continue;
            CharBox box{};
            const PieceOutcome outcome = ExaminePiece(scan, column, row, direction, box);
            if (outcome == PieceOutcome::Overlong || outcome == PieceOutcome::TableFull) return 1;
            if (outcome == PieceOutcome::Hanging) {
                RestoreTracedContour();
                scan.bottomLimit = box.top - 1;
                resumeAt = scanStart;
                continue;
            }
            MarkAndClearRegion(BoxTopLeft(box), BoxBottomRight(box));
            scanStart = std::max<int>(box.left, scan.region.left);
            resumeAt = scanStart;
        }
        column = resumeAt >= 0 ? resumeAt : column + 1;
    }
    return 0;
}

int ScanByRows(ScanState& scan) {
    int row = scan.region.top;
    while (row <= scan.region.bottom) {
        int resumeAt = -1;
        for (int column = scan.region.left; column <= scan.region.right && resumeAt < 0; ++column) {
            if (BinaryImage[PixelIndex(column, row)] != 1) continue;
            const int direction = StartDirection(column, row, scan.mode);
            if (direction < 0) continue;
            CharBox box{};
            const PieceOutcome outcome = ExaminePiece(scan, column, row, direction, box);
            if (outcome == PieceOutcome::TableFull) return 1;
            MarkAndClearRegion(BoxTopLeft(box), BoxBottomRight(box));
            if (outcome == PieceOutcome::Accepted) scan.region.left = std::min<int>(scan.region.left, box.left);
            resumeAt = std::max<int>(box.top, scan.region.top);
        }
        row = resumeAt >= 0 ? resumeAt : row + 1;
    }
    return 0;
}

}  // namespace

int FindComponentBoxes(PackedPoint topLeft, PackedPoint bottomRight, int mode, int filter) {
    ScanState scan{ClipToFrame(topLeft, bottomRight), mode, filter, 0};
    if (IsEmptyRegion(scan.region)) return 0;
    scan.bottomLimit = scan.region.bottom;
    return mode == ScanColumns ? ScanByColumns(scan) : ScanByRows(scan);
}

int FindContainingBox(int c, int first, int last) {
    if (c < 0 || c >= ComponentSlots) return -1;
    for (int i = std::max(first, 0); i <= std::min(last, ComponentSlots - 1); ++i) {
        if (i != c && BoxContains(ComponentBoxes[i], ComponentBoxes[c])) return i;
    }
    return -1;
}

void CountContourGrayLevels(ComponentRange range) {
    for (int c = std::max<int>(range.first, 0); c <= std::min<int>(range.last, ComponentSlots - 1); ++c) {
        for (const ContourPoint& point : ComponentPoints[c]) {
            if (point.x == ContourListEnd.x && point.y == ContourListEnd.y) break;
            if (IsInsideFrame(point.x, point.y)) CountInHistogram(WorkImage[PixelIndex(point.x, point.y)]);
        }
    }
}
