#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/digits/digit_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr double MinSlenderness = 1.3;  // a one-stroke '1' is at least this much taller than wide

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

// Grid columns 2 to W - 1 holding more than one ink cell (in grid rows 1 to 3H/4 - 1) with
// background in the two cells below it: strokes stacked above each other.
bool HasManySplitColumns() {
    int split = 0;
    for (int c = 2; c <= Width() - 1; ++c) {
        int ends = 0;
        for (int r = 1; r <= 3 * Height() / 4 - 1; ++r) {
            if (GlyphImageInk(r, c) != 0 && GlyphImageInk(r + 1, c) == 0 && GlyphImageInk(r + 2, c) == 0) ++ends;
        }
        if (ends > 1) ++split;
    }
    return split > 4;
}

// A wide top bar that ends well left of the right side (the top of a '7' or a 'T').
bool HasShortWideTopRows() {
    const int w = Width();
    int rows = 0;
    for (int i = 0; i < Height() / 4; ++i) {
        if (RowInkAt(i) > 3 * w / 5 && RowRightAt(i) <= w / 4) ++rows;
    }
    return rows > 1;
}

// Step 3 reads the column profile at row indexes, as the '1' test always has; columns past the
// glyph's width read 0.
bool HasFullTopAndRightStep() {
    const int w = Width();
    int full = 0;
    int step = 0;
    for (int i = 0; i < Height() / 4; ++i) {
        if (ColInkAt(i) >= w - 2) ++full;
        if (RowRightAt(i + 1) - RowRightAt(i) > step) step = RowRightAt(i + 1) - RowRightAt(i);
        if (RowRightAt(i + 2) - RowRightAt(i) > step) step = RowRightAt(i + 2) - RowRightAt(i);
    }
    return full > 1 && step > 2;
}

int CountWideRowsInTopQuarter(int minInk) {
    int rows = 0;
    for (int i = 0; i < Height() / 4; ++i) {
        if (RowInkAt(i) > minInk) ++rows;
    }
    return rows;
}

// A filled top-left corner under a wide top.
bool HasSquareTopLeft() {
    int corner = 0;
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 3; ++c) corner += GlyphImageInk(r, c);
    }
    return corner > 4 && ColTopAt(0) < 5 && CountWideRowsInTopQuarter(4 * Width() / 5) > 1;
}

bool LeftEdgeJumpsInLowerHalf() {
    const int h = Height();
    const int limit = Width() / 4;
    for (int i = h / 2; i < h - 3; ++i) {
        if (RowLeftAt(i + 1) - RowLeftAt(i) > limit || RowLeftAt(i + 2) - RowLeftAt(i) > limit) return true;
    }
    return false;
}

bool LowerRowsSplitThenStepRight() {
    const int h = Height();
    for (int i = 2 * h / 3; i < h - 2; ++i) {
        if (RowRunsAt(i) > 1 && RowRunsAt(i + 1) > 1 && RowLeftAt(i + 2) - RowLeftAt(i + 1) > 2) return true;
    }
    return false;
}

// A top end with several gapped skeleton columns: a bar or a flag across the top.
bool TopEndOverGappedColumns() {
    if (!OnTopRow(EndNode(0))) return false;
    int gapped = 0;
    for (int c = Glyph.GlyphBox.left; c <= Glyph.GlyphBox.right; ++c) {
        if (ColGapsAt(c) > 2) ++gapped;
    }
    return gapped > 1;
}

}  // namespace

std::int16_t Match1_H0B0E2a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (e0.y > box.top + box.height / 3 || e0.x > box.left || !OnBottomRow(e1)) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({0, 1}, {3}) || s.chordDirection == -1.0) return 0;
    if (s.shape == 0 && s.slope < 8.0) return 0;
    if (s.slope < 1.6) return 0;
    return InSet(s.earlyDirection, {2, 3}) ? 1 : 0;
}

std::int16_t Match1_H0B0E2b() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!OnTopRow(e0) || !OnBottomRow(e1)) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({0}, {3, 4}) || s.slope < 4.0) return 0;
    return box.width <= 4 ? 1 : 0;
}

std::int16_t Match1_H0B0E2c() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (e0.y > box.top + box.height / 3 || e1.y < box.bottom - 1) return 0;
    if (!InZone5(e0, {0, 1, 2, 3}) || !InZone5(e1, {20, 21, 22})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({0, 1, 2}, {3, 4}) || (s.shape != 0 && !s.IsRightBow())) return 0;
    if (s.slope < 3.0) return 0;
    return InSet(s.earlyDirection, {2, 3}) ? 1 : 0;
}

std::int16_t Match1_H0B0E2d() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (e0.y > box.top + box.height / 3 || !OnBottomRow(e1)) return 0;
    if (!InZone5(e0, {0, 1}) || !InZone5(e1, {23, 24})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({0, 1, 2, 4, 6}, {3}) || s.slope < 1.8) return 0;
    if (s.earlyDirection == 1) return 0;
    return s.earlyDirection != 4 || s.slope >= 7.0 ? 1 : 0;
}

std::int16_t Match1_H0B0E2e() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!OnTopRow(e0) || e0.x < box.right - box.width / 2 || !OnBottomRow(e1)) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({0, 1, 2}, {4}) || s.slope < 3.0) return 0;
    return box.width <= 8 ? 1 : 0;
}

namespace {

// A '1' with a foot serif: the stem ends in a junction with the two foot ends.
std::int16_t Match1_H0B1E3a() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {17, 21, 22, 23}) || !InZone5(e0, {0, 1, 2})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {24})) return 0;
    const Stroke stem = TraceStroke(e0, j0);
    if (!stem.Fits({0, 1}, {3}) || stem.slope < 2.0) return 0;
    return StraightFeetMeet(feet, j0) ? 1 : 0;
}

std::int16_t Match1_H0B1E3b() {
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone5(j0, {21, 22}) || !InZone5(e0, {1, 2, 3})) return 0;
    if (!InZone5(feet.left, {20}) || !InZone5(feet.right, {24})) return 0;
    const Stroke stem = TraceStroke(e0, j0);
    if (!stem.Fits({0}, {3, 4}) || stem.slope < 2.5) return 0;
    return StraightFeetMeet(feet, j0) ? 1 : 0;
}

// A '1' whose flag split at the top: the two flag ends meet the stem in a junction near the top.
std::int16_t Match1_H0B1E3c() {
    const Node j0 = JunctionNode(0);
    const NodePair flag = InXOrder(EndNode(0), EndNode(1));
    const Node e2 = EndNode(2);
    if (!InZone5(j0, {2, 3, 7, 8}) || !InZone5(flag.left, {0, 5}) || !InZone5(flag.right, {3, 4})) return 0;
    if (!InZone5(e2, {21, 22, 23, 24})) return 0;
    if (!TraceStroke(flag.left, j0).Fits({0}, {2, 3})) return 0;
    if (!TraceStroke(flag.right, j0).Fits({0}, {4})) return 0;
    const Stroke stem = TraceStroke(e2, j0);
    if (!stem.Fits({0, 1}, {1, 2}) || stem.slope < 4.0) return 0;
    return RowRunsAt(1) > 1 && RowRunsAt(2) > 1 ? 0 : 1;
}

// A '1' with split ends at both the top and the foot.
std::int16_t Match1_H0B2E4a() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const int su = Glyph.StrokeUnit;
    const int hu = Glyph.HeightUnit;
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair top = InXOrder(EndNode(0), EndNode(1));
    const NodePair feet = InXOrder(EndNode(2), EndNode(3));
    if (!InZone5(j0, {1, 2, 3}) || !InZone5(j1, {21, 22, 23})) return 0;
    if (!InZone5(top.left, {0, 1}) || !InZone5(top.right, {2, 3})) return 0;
    if (!InZone5(feet.left, {20, 21}) || !InZone5(feet.right, {24})) return 0;
    const Stroke topLeft = TraceStroke(top.left, j0);
    if (!topLeft.Fits({0}, {2, 3}) || topLeft.length > 3 * su) return 0;
    const Stroke topRight = TraceStroke(top.right, j0);
    if (!topRight.Fits({0}, {4}) || topRight.slope < 0.9 || topRight.length > 3 * su) return 0;
    const Stroke footLeft = TraceStroke(feet.left, j1);
    if (!footLeft.Fits({0}, {2}) || footLeft.slope > 0.8 || footLeft.length > 3 * hu) return 0;
    const Stroke footRight = TraceStroke(feet.right, j1);
    if (!footRight.Fits({0}, {1}) || footRight.slope > 0.8 || footRight.length > 2 * hu) return 0;
    const Stroke stem = LinkStroke(j0, j1);
    if (!stem.Fits({0}, {3, 4}) || stem.slope < 3.8) return 0;
    // "2 x height / 3" is read as the integer two thirds of the height, as every fraction here.
    return stem.length >= 2 * box.height / 3 ? 1 : 0;
}

}  // namespace

std::int16_t Reject1_ByProfiles() {
    const int w = Width();
    if (w > 2 && HasManySplitColumns()) return 1;
    if (w > 28 && Glyph.AspectRatio < 1.6 && HasShortWideTopRows()) return 1;
    if (HasFullTopAndRightStep()) return 1;
    if (w > 12 && HasSquareTopLeft()) return 1;
    if (w > 10) {
        if (LeftEdgeJumpsInLowerHalf()) return 1;
        if (Glyph.AspectRatio < 2.4) {
            if (LowerRowsSplitThenStepRight()) return 1;
            if (Glyph.InkToBackgroundRatio > 3.2) return 1;
        }
    }
    return TopEndOverGappedColumns() ? 1 : 0;
}

std::int16_t Reject1_CurvedStroke() {
    const int h = Height();
    const int w = Width();
    if (Glyph.AspectRatio > 3.0) return 0;
    int k = 0;
    for (int c = 2; c < w - 2; ++c) {
        if (ColRunsAt(c) == 3) ++k;
    }
    if (k > 1) return 1;
    if (k == 1) {
        int g3 = 0;
        int g4 = 0;
        for (int c = Glyph.GlyphBox.left + 2; c < Glyph.GlyphBox.right; ++c) {
            if (ColGapsAt(c) == 3) ++g3;
            if (ColGapsAt(c) == 4) ++g4;
        }
        if (g4 >= 1 && g3 > 1) return 1;
    }
    for (int i = h - 2; i > h / 2; --i) {
        if (RowLeftAt(i - 3) - RowLeftAt(i) > 4) return 1;
    }
    return 0;
}

std::int16_t IsDigit1() {
    if (Reject1_ByProfiles() != 0) return 0;
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) {
        if (Glyph.AspectRatio < MinSlenderness || Reject1_CurvedStroke() != 0) return 0;
        return AcceptFirstMatch({Match1_H0B0E2a, Match1_H0B0E2b, Match1_H0B0E2c, Match1_H0B0E2d, Match1_H0B0E2e});
    }
    if (IsCase(1, 3)) return AcceptFirstMatch({Match1_H0B1E3a, Match1_H0B1E3b, Match1_H0B1E3c});
    if (IsCase(2, 4)) return AcceptFirstMatch({Match1_H0B2E4a});
    return 0;
}
