#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

int WidthUnit() { return Glyph.WidthUnit; }
int HeightUnit() { return Glyph.HeightUnit; }

// One bowl filling the box: from near its top to near its bottom, from its left third to its
// right side, and over a good share of it.
bool HoleFillsBox() {
    const HoleBox& hole = LargestHole();
    const GlyphBoxRecord& box = Box();
    if (hole.top > box.top + HeightUnit() || hole.bottom < box.bottom - HeightUnit()) return false;
    if (hole.left > box.left + box.width / 3 || hole.right < box.right - 1) return false;
    return HoleRatio(hole) >= 0.28;
}

// The centre of the hole in the middle row of the box, at or right of its centre.
bool HoleCentred() {
    const HoleBox& hole = LargestHole();
    return InZone5(UnlistedNode((hole.left + hole.right) / 2, (hole.top + hole.bottom) / 2), {12, 13});
}

// A stem that sticks out above the bowl and below it.
std::int16_t MatchD_H1B2E2a() {
    const GlyphBoxRecord& box = Box();
    const Node top = EndNode(0);
    const Node bottom = EndNode(1);
    const Node upperCorner = JunctionNode(0);
    const Node lowerCorner = JunctionNode(1);
    if (!HoleCentred() || !InZone3(upperCorner, {0}) || !InZone3(lowerCorner, {6})) return 0;
    if (top.x > box.left + WidthUnit() || top.y > box.top + HeightUnit()) return 0;
    if (bottom.x > box.left + WidthUnit() || bottom.y < box.bottom - HeightUnit()) return 0;
    if (!TraceStroke(top, upperCorner).Fits({0}, {3})) return 0;
    if (!TraceStroke(bottom, lowerCorner).Fits({0}, {2})) return 0;
    const Stroke stem = LinkStroke(upperCorner, lowerCorner);
    const bool bowed = (stem.shape == 1 && stem.chordDirection == -1.0F) || (stem.shape == 2 && stem.chordDirection == 1.0F);
    return stem.traced && bowed && stem.slope >= 8.0 ? 1 : 0;
}

// A closed loop with the square left side of a D.
std::int16_t MatchD_H1B0E0a() {
    const HoleBox& hole = LargestHole();
    const GlyphBoxRecord& box = Box();
    if (hole.top > box.top + 1 || hole.bottom < box.bottom - 1) return 0;
    if (hole.left > box.left + 1 || hole.right < box.right - 1) return 0;
    return IsNotDShapedLoop() == 0 ? 1 : 0;
}

// A stem that sticks out above the bowl.
std::int16_t MatchD_H1B1E1a() {
    const HoleBox& hole = LargestHole();
    const GlyphBoxRecord& box = Box();
    const Node top = EndNode(0);
    const Node corner = JunctionNode(0);
    if (hole.top > box.top + HeightUnit() || hole.bottom < box.bottom - 1 || HoleRatio(hole) < 0.4) return 0;
    if (!HoleCentred() || !InZone3(corner, {0})) return 0;
    if (top.x > box.left || top.y > box.top + 2) return 0;
    return TraceStroke(top, corner).Fits({0}, {3}) ? 1 : 0;
}

// A stem that sticks out below the bowl.
std::int16_t MatchD_H1B1E1b() {
    const HoleBox& hole = LargestHole();
    const GlyphBoxRecord& box = Box();
    const Node bottom = EndNode(0);
    const Node corner = JunctionNode(0);
    if (hole.top > box.top + 1 || hole.bottom < box.bottom - HeightUnit() || HoleRatio(hole) < 0.4) return 0;
    if (!HoleCentred() || !InZone3(corner, {6})) return 0;
    if (bottom.x > box.left + 1 || bottom.y < box.bottom - 1) return 0;
    return TraceStroke(bottom, corner).Fits({0}, {2}) ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterD() {
    if (Glyph.HoleCount != 1 || !HoleFillsBox()) return 0;
    if (IsCase(2, 2)) return AcceptFirstMatch({MatchD_H1B2E2a});
    if (IsCase(0, 0)) return AcceptFirstMatch({MatchD_H1B0E0a});
    if (IsCase(1, 1)) return AcceptFirstMatch({MatchD_H1B1E1a, MatchD_H1B1E1b});
    return 0;
}
