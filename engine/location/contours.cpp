#include "engine/location/contours.h"

#include <algorithm>

#include "engine/glyph/glyph_record.h"
#include "engine/location/boxes.h"
#include "engine/location/planes.h"

const ContourStep ContourDirections[ContourDirectionCount] = {
    {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1},
};

namespace {

constexpr int NoStep = -1;

int Wrap(int direction) { return direction & (ContourDirectionCount - 1); }

std::uint8_t PixelOrBackground(const std::uint8_t* plane, int x, int y) {
    return IsInsideFrame(x, y) ? plane[PixelIndex(x, y)] : 0;
}

// The first non-background neighbour, trying d, d - 1, d - 2, ... (clockwise on the image).
int NextContourStep(int x, int y, int direction) {
    for (int k = 0; k < ContourDirectionCount; ++k) {
        const int d = Wrap(direction - k);
        if (PixelOrBackground(BinaryImage, x + ContourDirections[d].dx, y + ContourDirections[d].dy) != 0) return d;
    }
    return NoStep;
}

// Where the search starts after a step: one turn back from an even step, two from a diagonal
// one, so that the search begins on the background just passed and no outline pixel is skipped.
int SearchDirectionAfter(int step) { return Wrap(step + ((step & 1) == 0 ? 1 : 2)); }

void StorePathPoint(int x, int y) {
    Glyph.PathX[Glyph.WalkLength] = static_cast<std::int16_t>(x);
    Glyph.PathY[Glyph.WalkLength] = static_cast<std::int16_t>(y);
    ++Glyph.WalkLength;
}

// One sweep of the neighbour marking; answers whether it marked anything.
bool SweepMarks(const FrameRegion& box, int rowStep, int columnStep) {
    bool changed = false;
    const int firstRow = rowStep > 0 ? box.top : box.bottom;
    const int firstColumn = columnStep > 0 ? box.left : box.right;
    auto markIfInk = [&](int x, int y) {
        if (x < box.left || x > box.right || y < box.top || y > box.bottom) return;
        std::uint8_t& pixel = BinaryImage[PixelIndex(x, y)];
        if (pixel == 1) {
            pixel = PieceInkMark;
            changed = true;
        }
    };
    for (int y = firstRow; y >= box.top && y <= box.bottom; y += rowStep) {
        for (int x = firstColumn; x >= box.left && x <= box.right; x += columnStep) {
            if (BinaryImage[PixelIndex(x, y)] <= 1) continue;
            markIfInk(x + columnStep, y);
            markIfInk(x, y + rowStep);
        }
    }
    return changed;
}

// Pixel `along` of line `line`, the lines being the box's columns or its rows.
int LinePixel(bool byColumns, int line, int along) { return byColumns ? PixelIndex(line, along) : PixelIndex(along, line); }

// Per line of the box, clears BinaryBackup from the first to the last contour mark.
void EraseBetweenMarksAlong(const FrameRegion& box, bool byColumns) {
    const int firstLine = byColumns ? box.left : box.top;
    const int lastLine = byColumns ? box.right : box.bottom;
    const int start = byColumns ? box.top : box.left;
    const int end = byColumns ? box.bottom : box.right;
    for (int line = firstLine; line <= lastLine; ++line) {
        int first = start;
        while (first <= end && BinaryImage[LinePixel(byColumns, line, first)] <= 1) ++first;
        int last = end;
        while (last > first && BinaryImage[LinePixel(byColumns, line, last)] <= 1) --last;
        for (int along = first; along <= last; ++along) BinaryBackup[LinePixel(byColumns, line, along)] = 0;
    }
}

}  // namespace

int TraceContour(int row, int column, int direction) {
    Glyph.WalkLength = 0;
    if (!IsInsideFrame(column, row)) return 0;
    StorePathPoint(column, row);
    BinaryImage[PixelIndex(column, row)] = ContourStartMark;
    int x = column;
    int y = row;
    int search = Wrap(direction);
    for (;;) {
        const int step = NextContourStep(x, y, search);
        if (step == NoStep) return 0;  // a single pixel
        x += ContourDirections[step].dx;
        y += ContourDirections[step].dy;
        StorePathPoint(x, y);
        std::uint8_t& pixel = BinaryImage[PixelIndex(x, y)];
        pixel = static_cast<std::uint8_t>(std::min(pixel + 1, 255));
        if (Glyph.WalkLength >= MaxPathPoints) return 1;
        search = SearchDirectionAfter(step);
        if (x == column && y == row) {
            // Closed when the step after the start repeats the first step.
            const int ahead = NextContourStep(x, y, search);
            if (ahead != NoStep && x + ContourDirections[ahead].dx == Glyph.PathX[1] &&
                y + ContourDirections[ahead].dy == Glyph.PathY[1]) {
                --Glyph.WalkLength;
                return 0;
            }
        }
    }
}

void MarkContourNeighbours(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion box = ClipToFrame(topLeft, bottomRight);
    if (IsEmptyRegion(box)) return;
    bool changed = true;
    while (changed) {
        changed = false;
        changed |= SweepMarks(box, 1, 1);
        changed |= SweepMarks(box, 1, -1);
        changed |= SweepMarks(box, -1, 1);
        changed |= SweepMarks(box, -1, -1);
    }
}

void MarkAndClearRegion(PackedPoint topLeft, PackedPoint bottomRight) {
    MarkContourNeighbours(topLeft, bottomRight);
    const FrameRegion box = ClipToFrame(topLeft, bottomRight);
    for (int y = box.top; y <= box.bottom; ++y) {
        for (int x = box.left; x <= box.right; ++x) {
            std::uint8_t& pixel = BinaryImage[PixelIndex(x, y)];
            if (pixel > 1) pixel = 0;
        }
    }
}

void EraseRegionMarks(PackedPoint topLeft, PackedPoint bottomRight, int direction, int kind) {
    const FrameRegion box = ClipToFrame(topLeft, bottomRight);
    if (IsEmptyRegion(box)) return;
    if (kind == EraseWholeBox) {
        for (int y = box.top; y <= box.bottom; ++y)
            for (int x = box.left; x <= box.right; ++x) BinaryBackup[PixelIndex(x, y)] = 0;
    } else if (kind == EraseBetweenMarks && (direction == EraseByColumns || direction == EraseByRows)) {
        EraseBetweenMarksAlong(box, direction == EraseByColumns);
    }
}

void ClearTracedContour() {
    const int count = std::clamp<int>(Glyph.WalkLength, 0, MaxPathPoints);
    for (int i = 0; i < count; ++i) {
        const int x = Glyph.PathX[i];
        const int y = Glyph.PathY[i];
        if (!IsInsideFrame(x, y)) continue;
        BinaryBackup[PixelIndex(x, y)] = 0;
        BinaryImage[PixelIndex(x, y)] = 0;
    }
}
