// Thinning by repeated contour peeling. Contour cells are marked 2 and up while a pass runs (a
// cell passed twice is one cell thick and stays); noise pieces touching the glyph's edge are cut
// away, and the caller restarts on the image without them.
#include <array>
#include <limits>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/normalize.h"

namespace {

constexpr std::uint8_t ContourMark = 2;
constexpr int MaxContourPoints = 768;
constexpr int MaxContourListPoints = 1023;
constexpr int SpeckContourPoints = 8;  // contours shorter than this are specks
constexpr double KeepInteriorRatio = 3.8;  // interior area per interior ink cell of a kept hole
constexpr double EraseInteriorRatio = 1.2;

// Contour directions counter-clockwise from east, and where the search resumes after a move.
constexpr int ContourColStep[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int ContourRowStep[8] = {0, -1, -1, -1, 0, 1, 1, 1};
constexpr int NextSearch[8] = {1, 3, 3, 5, 5, 7, 7, 1};
constexpr int StartEast = 0;
constexpr int StartSouthWest = 5;
constexpr int StartNorthWest = 3;
constexpr int StartNorthEast = 1;

// Corner peeling: three neighbours all on one side, or two adjacent ones on one side.
constexpr std::uint8_t ThreeOnOneSideCodes[] = {NeighbourDR | NeighbourD | NeighbourDL,
                                                NeighbourUR | NeighbourR | NeighbourDR,
                                                NeighbourUL | NeighbourL | NeighbourDL,
                                                NeighbourUL | NeighbourU | NeighbourUR};
constexpr std::uint8_t TwoAboveCodes[] = {NeighbourUL | NeighbourU, NeighbourU | NeighbourUR};
constexpr std::uint8_t TwoRightCodes[] = {NeighbourUR | NeighbourR, NeighbourR | NeighbourDR};
constexpr std::uint8_t TwoBelowCodes[] = {NeighbourDR | NeighbourD, NeighbourD | NeighbourDL};
constexpr std::uint8_t TwoLeftCodes[] = {NeighbourDL | NeighbourL, NeighbourUL | NeighbourL};
// What each neighbour code asks of corner peeling, looked up once per cell.
enum PeelRule : std::uint8_t { NoPeel, PeelAlways, PeelIfTwoAbove, PeelIfTwoRight, PeelIfTwoBelow, PeelIfTwoLeft };

constexpr std::array<std::uint8_t, 256> PeelRules() {
    std::array<std::uint8_t, 256> rules{};
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<std::uint8_t>(code);
        if (CodeIn(c, ThreeOnOneSideCodes)) rules[code] = PeelAlways;
        else if (CodeIn(c, TwoAboveCodes)) rules[code] = PeelIfTwoAbove;
        else if (CodeIn(c, TwoRightCodes)) rules[code] = PeelIfTwoRight;
        else if (CodeIn(c, TwoBelowCodes)) rules[code] = PeelIfTwoBelow;
        else if (CodeIn(c, TwoLeftCodes)) rules[code] = PeelIfTwoLeft;
    }
    return rules;
}
constexpr std::array<std::uint8_t, 256> PeelRuleOfCode = PeelRules();

// A corner cell with two side neighbours at a right angle.
constexpr std::uint8_t RightAngleCodes[] = {NeighbourD | NeighbourL, NeighbourR | NeighbourD,
                                            NeighbourU | NeighbourL, NeighbourU | NeighbourR};

// Points of the contours kept in the current pass.
std::int16_t ContourRows[MaxContourListPoints];
std::int16_t ContourCols[MaxContourListPoints];
int ContourListCount = 0;

bool Ink(int row, int col) { return Glyph.SkeletonImage.At(row, col) != 0; }

bool IsSingleNeighbourCode(std::uint8_t code) { return code != 0 && (code & (code - 1)) == 0; }

// First direction from `search`, turning clockwise, that leads to a non-background cell; -1
// when all eight neighbours are background.
int FindContourMove(int row, int col, int search) {
    for (int turn = 0; turn < 8; ++turn) {
        const int d = (search - turn + 8) % 8;
        if (Ink(row + ContourRowStep[d], col + ContourColStep[d])) return d;
    }
    return -1;
}

void AppendContourPoint(int row, int col) {
    Glyph.PathX[Glyph.WalkLength] = static_cast<std::int16_t>(col);
    Glyph.PathY[Glyph.WalkLength] = static_cast<std::int16_t>(row);
    ++Glyph.WalkLength;
}

void ClearInBoth(int row, int col) {
    Glyph.SkeletonImage.Set(row, col, 0);
    Glyph.GlyphImage.Set(row, col, 0);
}

void EraseContour() {
    for (int k = 0; k < Glyph.WalkLength; ++k) ClearInBoth(Glyph.PathY[k], Glyph.PathX[k]);
}

struct Box {
    int top, bottom, left, right;
};

Box ContourBox() {
    Box box{Glyph.PathY[0], Glyph.PathY[0], Glyph.PathX[0], Glyph.PathX[0]};
    for (int k = 1; k < Glyph.WalkLength; ++k) {
        if (Glyph.PathY[k] < box.top) box.top = Glyph.PathY[k];
        if (Glyph.PathY[k] > box.bottom) box.bottom = Glyph.PathY[k];
        if (Glyph.PathX[k] < box.left) box.left = Glyph.PathX[k];
        if (Glyph.PathX[k] > box.right) box.right = Glyph.PathX[k];
    }
    return box;
}

// Interior area of the box (less its outer ring) per ink cell in it: infinite without ink, and
// undefined (compares false both ways) without interior.
double InteriorRatio(const Box& box) {
    const int height = box.bottom - box.top - 1;
    const int width = box.right - box.left - 1;
    if (height <= 0 || width <= 0) return std::numeric_limits<double>::quiet_NaN();
    const int ink = CountInkInRect(PackPoint(box.left + 1, box.top + 1), PackPoint(box.right - 1, box.bottom - 1));
    if (ink == 0) return std::numeric_limits<double>::infinity();
    return static_cast<double>(height * width) / ink;
}

// Clears the cells from (row, col) on in steps of (rowStep, colStep) through (lastRow, lastCol);
// answers the ink cells cleared.
int ClearLine(int row, int col, int rowStep, int colStep, int lastRow, int lastCol) {
    int cleared = 0;
    for (;;) {
        if (Ink(row, col)) ++cleared;
        ClearInBoth(row, col);
        if (row == lastRow && col == lastCol) return cleared;
        row += rowStep;
        col += colStep;
    }
}

// Along one line of the box, from (row, col) in steps of (rowStep, colStep) for `length` cells,
// finds the first marked cell and clears it and everything beyond it to (lastRow, lastCol) on the
// same line.
int CutLine(int row, int col, int rowStep, int colStep, int length, int lastRow, int lastCol) {
    for (int k = 0; k < length; ++k, row += rowStep, col += colStep) {
        if (Glyph.SkeletonImage.At(row, col) > 1) return ClearLine(row, col, rowStep, colStep, lastRow, lastCol);
    }
    return 0;
}

// Cuts a piece that hugs one edge of the glyph, away from the middle; -1 when no rule applies.
int CutEdgePiece(const Box& box) {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    const int boxHeight = box.bottom - box.top + 1;
    const int boxWidth = box.right - box.left + 1;
    int cut = 0;
    if (box.top == 1 && box.bottom < h / 2) {
        for (int col = box.left; col <= box.right; ++col) cut += CutLine(box.bottom, col, -1, 0, boxHeight, 1, col);
    } else if (box.bottom == h && box.top > h / 2) {
        for (int col = box.left; col <= box.right; ++col) cut += CutLine(box.top, col, 1, 0, boxHeight, box.bottom, col);
    } else if (box.left == 1 && box.right < w / 2) {
        for (int row = box.top; row <= box.bottom; ++row) cut += CutLine(row, box.right, 0, -1, boxWidth, row, 1);
    } else if (box.right == w && box.left > w / 2) {
        for (int row = box.top; row <= box.bottom; ++row) cut += CutLine(row, box.left, 0, 1, boxWidth, row, w);
    } else {
        return -1;
    }
    return cut;
}

enum class ContourFate { Keep, Erase, Cut };

struct Verdict {
    ContourFate fate;
    int cut;
};

// What becomes of the contour just followed.
Verdict JudgeContour() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    const int n = Glyph.WalkLength;
    if (n < SpeckContourPoints) return {ContourFate::Erase, 0};
    if (n >= h + w) return {ContourFate::Keep, 0};
    const Box box = ContourBox();
    const double ratio = InteriorRatio(box);
    if (ratio >= KeepInteriorRatio) return {ContourFate::Keep, 0};
    const int cut = CutEdgePiece(box);
    if (cut >= 0) return {ContourFate::Cut, cut};
    if (ratio < EraseInteriorRatio && box.bottom - box.top < h / 2 && box.right - box.left < w / 2) {
        return {ContourFate::Erase, 0};
    }
    return {ContourFate::Keep, 0};
}

// Start direction of a contour at a cell by its first background side: U, R, D, else L.
int ContourStart(int row, int col) {
    if (!Ink(row - 1, col)) return StartEast;
    if (!Ink(row, col + 1)) return StartSouthWest;
    if (!Ink(row + 1, col)) return StartNorthWest;
    return StartNorthEast;
}

// For a cell on the grid.
bool IsContourStart(int row, int col) {
    return Glyph.SkeletonImage.Row(row)[col] == 1 &&
           (!Ink(row - 1, col) || !Ink(row, col + 1) || !Ink(row + 1, col) || !Ink(row, col - 1));
}

// Moves (row, col) to the first contour start at or after it in column order, through row
// lastRow and column lastCol of the grid; false when there is none.
bool NextContourStart(int& row, int& col, int lastRow, int lastCol) {
    for (; col <= lastCol; ++col, row = 1) {
        for (; row <= lastRow; ++row) {
            if (IsContourStart(row, col)) return true;
        }
    }
    return false;
}

bool Deletable(int row, int col) { return DeletableCodes[NeighbourCode(row, col)] != 0; }

bool HoldsContourMark(int k) { return Glyph.SkeletonImage.At(ContourRows[k], ContourCols[k]) == ContourMark; }

// Peels the cells passed once by the pass's contours; answers whether any was cleared.
bool PeelContourList() {
    bool cleared = false;
    for (int k = 0; k < ContourListCount; ++k) {
        const int row = ContourRows[k];
        const int col = ContourCols[k];
        if (!HoldsContourMark(k)) continue;
        const std::uint8_t code = NeighbourCode(row, col);
        if (DeletableCodes[code] == 0) continue;
        if (IsSingleNeighbourCode(code)) {
            // A stroke's tip stays while the contour beside it is still needed.
            const bool last = k + 1 == ContourListCount;
            if (!last && HoldsContourMark(k + 1) && !Deletable(ContourRows[k + 1], ContourCols[k + 1])) continue;
            if (last && k > 0 && HoldsContourMark(k - 1)) continue;
        }
        Glyph.SkeletonImage.Set(row, col, 0);
        cleared = true;
    }
    return cleared;
}

// Appends the contour just followed to the pass's list: false when the list is full.
bool ListContour() {
    for (int k = 0; k < Glyph.WalkLength; ++k) {
        if (ContourListCount >= MaxContourListPoints) return false;
        ContourRows[ContourListCount] = Glyph.PathY[k];
        ContourCols[ContourListCount] = Glyph.PathX[k];
        ++ContourListCount;
    }
    return true;
}

// The restart after a cut thins the saved image afresh: the contour marks of the pass that cut
// become plain ink, or their cells would never start a contour again.
void SavePartlyThinned() {
    ClampGlyphToOne();
    SaveCharImage();
}

void RemoveRightAngleCorners() {
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    for (int col = 1; col <= lastCol; ++col) {
        for (int row = 1; row <= lastRow; ++row) {
            std::uint8_t& cell = Glyph.SkeletonImage.Row(row)[col];
            if (cell == 1 && CodeIn(NeighbourCode(row, col), RightAngleCodes)) cell = 0;
        }
    }
}

bool RulePeels(std::uint8_t rule, int row, int col, int h, int w) {
    return rule == PeelAlways || (rule == PeelIfTwoAbove && row > 2 && Ink(row - 2, col)) ||
           (rule == PeelIfTwoRight && col < w - 1 && Ink(row, col + 2)) ||
           (rule == PeelIfTwoBelow && row < h - 1 && Ink(row + 2, col)) ||
           (rule == PeelIfTwoLeft && col > 2 && Ink(row, col - 2));
}

}  // namespace

void PeelCorners() {
    const int h = Glyph.GlyphHeight;
    const int w = Glyph.GlyphWidth;
    for (int row = 1; row <= LastOnGrid(h); ++row) {
        std::uint8_t* line = Glyph.SkeletonImage.Row(row);
        for (int col = 1; col <= LastOnGrid(w); ++col) {
            if (line[col] == 0) continue;
            const std::uint8_t rule = PeelRuleOfCode[NeighbourCode(row, col)];
            if (rule != NoPeel && RulePeels(rule, row, col, h, w)) line[col] = 0;
        }
    }
}

int FollowContour(int row, int col, int direction) {
    const int startRow = row;
    const int startCol = col;
    Glyph.WalkLength = 0;
    Glyph.SkeletonImage.Set(row, col, ContourMark);
    AppendContourPoint(row, col);
    int search = NextSearch[direction & 7];
    for (;;) {
        const int move = FindContourMove(row, col, search);
        if (move < 0) return 0;  // a lone cell
        row += ContourRowStep[move];
        col += ContourColStep[move];
        search = NextSearch[move];
        if (row == startRow && col == startCol && Glyph.WalkLength > 1) {
            // Back at the start: closed when the next move repeats the first one.
            const int again = FindContourMove(row, col, search);
            if (row + ContourRowStep[again] == Glyph.PathY[1] && col + ContourColStep[again] == Glyph.PathX[1]) return 0;
        }
        AppendContourPoint(row, col);
        Glyph.SkeletonImage.Set(row, col, static_cast<std::uint8_t>(Glyph.SkeletonImage.At(row, col) + 1));
        if (Glyph.WalkLength > MaxContourPoints) return 1;
    }
}

int CountInkInRect(PackedPoint topLeft, PackedPoint bottomRight) {
    int ink = 0;
    for (int row = PointY(topLeft); row <= PointY(bottomRight); ++row) {
        for (int col = PointX(topLeft); col <= PointX(bottomRight); ++col) ink += Ink(row, col) ? 1 : 0;
    }
    return ink;
}

int ThinCharacter() {
    // Thinning leaves the glyph's size alone.
    const int lastRow = LastOnGrid(Glyph.GlyphHeight);
    const int lastCol = LastOnGrid(Glyph.GlyphWidth);
    int passes = 0;
    for (;;) {
        PeelCorners();
        ContourListCount = 0;
        // Traced cells no longer hold 1 and stay ink, so no cell already passed has become a
        // contour start: the scan goes on from the last one.
        for (int col = 1, row = 1; NextContourStart(row, col, lastRow, lastCol); ++row) {
            if (FollowContour(row, col, ContourStart(row, col)) != 0) return ThinContourOverflow;
            const Verdict verdict = JudgeContour();
            if (verdict.fate == ContourFate::Erase) EraseContour();
            if (verdict.fate != ContourFate::Keep) {
                if (passes > 0) SavePartlyThinned();
                return ThinPieceCut + verdict.cut;
            }
            if (!ListContour()) return ThinContourOverflow;
        }
        ++passes;
        if (!PeelContourList()) break;
    }
    ClampGlyphToOne();
    RemoveRightAngleCorners();
    return 0;
}

void RemoveStairPixels() { ClearInkByCode(IsStairCode); }
