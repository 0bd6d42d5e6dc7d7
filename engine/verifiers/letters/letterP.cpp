#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profiles.h"
#include "engine/verifiers/template_tools.h"

namespace {

constexpr int FootRows = 6;          // the rows at the bottom where a P has its stem alone
constexpr int MaxTwoRunFootRows = 2;

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

// The bowl's hole: in the upper part of the box, from near its top to the right edge, big enough.
bool HoleIsUpperBowl() {
    const GlyphBoxRecord& box = Box();
    const HoleBox& hole = LargestHole();
    if ((hole.top + hole.bottom) / 2 > (box.top + box.bottom) / 2) return false;
    if (hole.top > box.top + Glyph.HeightUnit || hole.bottom > box.bottom - box.height / 6) return false;
    if (hole.left > box.left + box.width / 2 || hole.right < box.right - 1) return false;
    return HoleRatio(hole) >= 0.17;
}

// The bowl from its top junction round to the stem: bowed to the right, heading down.
bool BowlRunsDown(Node top, Node stem) {
    const Stroke bowl = LinkStroke(top, stem);
    return bowl.IsRightBow() && InSet(bowl.direction, {3, 4});
}

// The stem's top near the top-left corner of the box.
bool NearTopLeft(Node p) {
    return IsPresent(p) && p.x <= Box().left + Glyph.WidthUnit && p.y <= Box().top + Glyph.HeightUnit;
}

// The bowl closed on the stem's top: the stem rises from the bottom-left to the one junction.
std::int16_t MatchP_H1B1E1a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node e0 = EndNode(0);
    if (!InZone3(j0, {3, 4, 6})) return 0;
    const Stroke stem = TraceStroke(e0, j0);
    if (!stem.Fits({0, 1, 2}, {1, 2}) || stem.slope < 0.6) return 0;
    if (LargestHole().top > box.top + 1) return 0;
    return e0.x <= box.left + box.width / 2 && e0.y >= box.bottom - 1 ? 1 : 0;
}

// The stem's top stands above the bowl; the bowl joins the stem at a second junction.
std::int16_t MatchP_H1B2E2a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone(4, j0, {0, 1}) || !InZone(4, j1, {4, 5, 8, 9, 12, 13})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {3})) return 0;
    const Stroke stem = TraceStroke(e1, j1);
    const bool straight = stem.Fits({0}, {1, 2});
    const bool bowed = stem.Fits({2}, {1}) && stem.chordDirection != -1.0F;
    if (!straight && !bowed) return 0;
    if (!BowlRunsDown(j0, j1) || !NearTopLeft(e0)) return 0;
    return e1.x <= box.right - box.width / 3 && e1.y >= box.bottom - 1 ? 1 : 0;
}

// The stem's foot split; the bowl closed on the stem's top.
std::int16_t MatchP_H1B2E2b() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const NodePair feet = InXOrder(EndNode(0), EndNode(1));
    if (LargestHole().top > Box().top + 1) return 0;
    if (!InZone5(j0, {10, 11, 16}) || !InZone5(j1, {20, 21})) return 0;
    if (!InZone5(feet.left, {20}) || !InZone5(feet.right, {21, 22})) return 0;
    if (!StraightFeetMeet(feet, j1)) return 0;
    const Stroke stem = LinkStroke(j0, j1);
    return stem.Fits({0}, {3, 4}) && stem.slope >= 2.2 ? 1 : 0;
}

// The stem's top above the bowl and its foot split.
std::int16_t MatchP_H1B3E3a() {
    const GlyphBoxRecord& box = Box();
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node j2 = JunctionNode(2);
    const Node e0 = EndNode(0);
    const NodePair feet = InXOrder(EndNode(1), EndNode(2));
    if (!InZone(4, j0, {0, 1}) || !InZone(4, j1, {5, 8, 9, 13}) || !InZone(4, j2, {12, 13})) return 0;
    if (!InZone3(feet.right, {7, 8})) return 0;
    // Heading up-right, the top must meet the junction on its own row.
    const Stroke top = TraceStroke(e0, j0);
    if (!top.FitsShape({0}) || (top.direction == 2 && j0.y < e0.y)) return 0;
    if (!StraightFeetMeet(feet, j2)) return 0;
    if (!BowlRunsDown(j0, j1) || !LinkStroke(j1, j2).Fits({0}, {3, 4})) return 0;
    if (!NearTopLeft(e0) || feet.left.x > box.left + Glyph.WidthUnit) return 0;
    return feet.left.y >= box.bottom - Glyph.HeightUnit && feet.right.y >= box.bottom - Glyph.HeightUnit ? 1 : 0;
}

}  // namespace

std::int16_t RejectP_TwoRunRowsLow() {
    const int h = Glyph.GlyphHeight;
    int rows = 0;
    // A glyph shorter than the window has only its own rows counted.
    for (int i = h > FootRows ? h - FootRows : 0; i < h; ++i) {
        if (RowRunsAt(i) > 1) ++rows;
    }
    return rows > MaxTwoRunFootRows ? 1 : 0;
}

std::int16_t IsLetterP() {
    if (RejectP_TwoRunRowsLow() != 0) return 0;
    if (Glyph.HoleCount != 1 || !HoleIsUpperBowl()) return 0;
    if (IsCase(1, 1)) return AcceptFirstMatch({MatchP_H1B1E1a});
    if (IsCase(2, 2)) return AcceptFirstMatch({MatchP_H1B2E2a, MatchP_H1B2E2b});
    if (IsCase(3, 3)) return AcceptFirstMatch({MatchP_H1B3E3a});
    return 0;
}
