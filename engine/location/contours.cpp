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

int StepOffset(int d) { return ContourDirections[d].dx + FrameStride * ContourDirections[d].dy; }

// The first non-background neighbour, trying d, d - 1, d - 2, ... (clockwise on the image).
int NextContourStep(int x, int y, int direction) {
    if (x > 0 && x < FrameWidth - 1 && y > 0 && y < FrameHeight - 1) {
        const std::uint8_t* pixel = BinaryImage + PixelIndex(x, y);
        for (int k = 0; k < ContourDirectionCount; ++k) {
            const int d = Wrap(direction - k);
            if (pixel[StepOffset(d)] != 0) return d;
        }
        return NoStep;
    }
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

// Where contour marks (values above 1) may lie in BinaryImage, so that a piece can be marked and
// cleared from its own contour instead of sweeping its whole box: the points of the open trace
// (traced and not yet cleared or restored), and a region that covers every mark an earlier trace
// or a lone neighbour marking left behind.
struct MarkLedger {
    std::int32_t traced[MaxPathPoints];
    int tracedCount;
    FrameRegion tracedBox;
    bool traceOpen;
    FrameRegion leftBehind;
};

constexpr FrameRegion NoRegion{1, 1, 0, 0};
MarkLedger Marks{{}, 0, NoRegion, false, NoRegion};

// Seeds first, then every ink pixel the marking reached; each pixel enters once.
constexpr int FillCapacity = FrameSize + MaxPathPoints;
std::int32_t FillQueue[FillCapacity];
int FillCount = 0;

FrameRegion UnionOf(const FrameRegion& a, const FrameRegion& b) {
    if (IsEmptyRegion(a)) return b;
    if (IsEmptyRegion(b)) return a;
    return FrameRegion{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                       std::max(a.bottom, b.bottom)};
}

bool Contains(const FrameRegion& outer, const FrameRegion& inner) {
    return IsEmptyRegion(inner) || (outer.left <= inner.left && outer.top <= inner.top &&
                                    outer.right >= inner.right && outer.bottom >= inner.bottom);
}

bool Intersects(const FrameRegion& a, const FrameRegion& b) {
    return !IsEmptyRegion(a) && !IsEmptyRegion(b) && a.left <= b.right && b.left <= a.right && a.top <= b.bottom &&
           b.top <= a.bottom;
}

void OpenTrace() {
    if (Marks.traceOpen) Marks.leftBehind = UnionOf(Marks.leftBehind, Marks.tracedBox);
    Marks.tracedCount = 0;
    Marks.tracedBox = NoRegion;
    Marks.traceOpen = true;
}

void NoteTracedPoint(int x, int y) {
    if (Marks.tracedCount >= MaxPathPoints) return;
    Marks.traced[Marks.tracedCount++] = PixelIndex(x, y);
    Marks.tracedBox = UnionOf(Marks.tracedBox, FrameRegion{x, y, x, y});
}

void PushFill(int index) {
    if (FillCount < FillCapacity) FillQueue[FillCount++] = index;
}

void MarkIfInk(int index) {
    if (BinaryImage[index] != 1) return;
    BinaryImage[index] = PieceInkMark;
    PushFill(index);
}

// Spreads from the queued seeds into 4-connected ink inside the box, marking it 5: the result
// the repeated sweeps of the box reach, in time proportional to the piece.
void SpreadMarks(const FrameRegion& box) {
    for (int head = 0; head < FillCount; ++head) {
        const int index = FillQueue[head];
        const int x = index % FrameStride;
        const int y = index / FrameStride;
        if (x > box.left) MarkIfInk(index - 1);
        if (x < box.right) MarkIfInk(index + 1);
        if (y > box.top) MarkIfInk(index - FrameStride);
        if (y < box.bottom) MarkIfInk(index + FrameStride);
    }
}

// Every mark of the box as a seed.
void SeedFromBox(const FrameRegion& box) {
    FillCount = 0;
    for (int y = box.top; y <= box.bottom; ++y) {
        const int rowStart = PixelIndex(0, y);
        for (int x = box.left; x <= box.right; ++x) {
            if (BinaryImage[rowStart + x] > 1) PushFill(rowStart + x);
        }
    }
}

// The open trace's points that still hold their mark as seeds.
void SeedFromTrace() {
    FillCount = 0;
    for (int i = 0; i < Marks.tracedCount; ++i) {
        if (BinaryImage[Marks.traced[i]] > 1) PushFill(Marks.traced[i]);
    }
}

void ClearFilled() {
    for (int i = 0; i < FillCount; ++i) BinaryImage[FillQueue[i]] = 0;
}

bool HasMarks(const std::uint8_t* plane, const FrameRegion& region) {
    for (int y = region.top; y <= region.bottom; ++y) {
        const std::uint8_t* row = plane + PixelIndex(0, y);
        std::uint8_t highest = 0;
        for (int x = region.left; x <= region.right; ++x) highest = std::max(highest, row[x]);
        if (highest > 1) return true;
    }
    return false;
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
    OpenTrace();
    if (!IsInsideFrame(column, row)) return 0;
    StorePathPoint(column, row);
    NoteTracedPoint(column, row);
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
        NoteTracedPoint(x, y);
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
    SeedFromBox(box);
    SpreadMarks(box);
    Marks.leftBehind = UnionOf(Marks.leftBehind, box);
}

void MarkAndClearRegion(PackedPoint topLeft, PackedPoint bottomRight) {
    const FrameRegion box = ClipToFrame(topLeft, bottomRight);
    if (IsEmptyRegion(box)) return;
    const bool ownTrace = Marks.traceOpen && Contains(box, Marks.tracedBox);
    const bool marksLeftBehind = Intersects(box, Marks.leftBehind);
    if (ownTrace && !marksLeftBehind) {
        SeedFromTrace();
    } else {
        SeedFromBox(box);
    }
    SpreadMarks(box);
    ClearFilled();
    if (ownTrace) Marks.traceOpen = false;
    // Once the planes were binarized afresh, the earlier marks are gone.
    if (marksLeftBehind && !HasMarks(BinaryImage, Marks.leftBehind) && !HasMarks(BinaryBackup, Marks.leftBehind)) {
        Marks.leftBehind = NoRegion;
    }
}

void RestoreTracedContour() {
    for (int i = 0; i < Marks.tracedCount; ++i) BinaryImage[Marks.traced[i]] = 1;
    Marks.traceOpen = false;
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
