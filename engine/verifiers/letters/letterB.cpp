#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_strokes.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/template_tools.h"

namespace {

const GlyphBoxRecord& Box() { return Glyph.GlyphBox; }

int WidthUnit() { return Glyph.WidthUnit; }
int HeightUnit() { return Glyph.HeightUnit; }

int CentreRow(int top, int bottom) { return (top + bottom) / 2; }

// What the bowls of one case need: the smaller hole's share of the box, how far below the top
// the upper hole may start, and whether the case is the closed B without stroke ends (whose
// bowls reach the left side and the bottom row).
struct BowlRule {
    double minSmallerRatio;
    int upperTopMargin;
    bool closed;
};

// Two bowls, one over the other, the upper one ending near mid-height and reaching the right
// side, the lower one starting near mid-height.
bool BowlsFit(const BowlRule& rule) {
    const GlyphBoxRecord& box = Box();
    // On equal tops the second hole of the list is the upper one.
    const bool firstIsUpper = Glyph.HoleBoxes[0].top < Glyph.HoleBoxes[1].top;
    const HoleBox& upper = Glyph.HoleBoxes[firstIsUpper ? 0 : 1];
    const HoleBox& lower = Glyph.HoleBoxes[firstIsUpper ? 1 : 0];
    const int boxCentre = CentreRow(box.top, box.bottom);
    if (HoleRatio(Glyph.HoleBoxes[1]) < rule.minSmallerRatio) return false;
    if (CentreRow(upper.top, upper.bottom) > boxCentre) return false;
    if (upper.bottom > box.top + box.height / 2 + HeightUnit()) return false;
    if (upper.right < box.right - 2 * WidthUnit()) return false;
    if (upper.top > box.top + rule.upperTopMargin) return false;
    if (CentreRow(lower.top, lower.bottom) < boxCentre) return false;
    if (lower.top < box.top + box.height / 2 - HeightUnit()) return false;
    if (rule.closed) return upper.left <= box.left + 2 * WidthUnit() && lower.bottom >= box.bottom - 1;
    return lower.bottom >= box.bottom - HeightUnit() && lower.right >= box.right - WidthUnit();
}

// The middle junctions: the left one on the stem, the right one where the bowls meet.
bool WaistJunctionsIn(NodePair middle, std::initializer_list<int> leftCells) {
    return InZone5(middle.left, leftCells) && InZone5(middle.right, {8, 13, 14});
}

// The closed B: the skeleton is the two loops alone.
std::int16_t MatchB_H2B2E0a() {
    if (!BowlsFit({0.2, 1, true})) return 0;
    const NodePair j = InXOrder(JunctionNode(0), JunctionNode(1));
    if (!InZone5(j.left, {10, 11}) || !InZone5(j.right, {7, 12, 13, 14})) return 0;
    const Stroke link = LinkStroke(j.left, j.right);
    return link.Fits({1, 15}, {2, 3}) && link.slope <= 0.5 ? 1 : 0;
}

// The stem sticks out above the upper bowl and below the lower one.
std::int16_t MatchB_H2B4E2a() {
    const GlyphBoxRecord& box = Box();
    if (!BowlsFit({0.2, HeightUnit(), false})) return 0;
    const Node topLeft = JunctionNode(0);
    const NodePair middle = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node bottomLeft = JunctionNode(3);
    const Node top = EndNode(0);
    const Node bottom = EndNode(1);
    if (!InZone3(topLeft, {0}) || !WaistJunctionsIn(middle, {11, 12}) || !InZone3(bottomLeft, {6})) return 0;
    if (top.x > box.left + WidthUnit() || top.y > box.top + HeightUnit()) return 0;
    if (bottom.x > box.left + WidthUnit() || bottom.y < box.bottom - HeightUnit()) return 0;
    if (!TraceStroke(top, topLeft).Fits({0}, {3})) return 0;
    if (!TraceStroke(bottom, bottomLeft).Fits({0}, {2})) return 0;
    if (!StemLinkFits(topLeft, middle.left, SteepStem)) return 0;
    const Stroke bar = LinkStroke(middle.left, middle.right);
    if (!bar.Fits({0}, {2, 3}) || bar.slope > 0.3) return 0;
    if (!StemLinkFits(middle.left, bottomLeft, SteepStem)) return 0;
    const Stroke upperBowl = LinkStroke(topLeft, middle.right);
    if (!upperBowl.Fits({1}, {3}) || upperBowl.chordDirection != 1.0F) return 0;
    const Stroke lowerBowl = LinkStroke(middle.right, bottomLeft);
    return lowerBowl.Fits({2}, {4}) && lowerBowl.chordDirection == -1.0F ? 1 : 0;
}

// The stem sticks out below the lower bowl only.
std::int16_t MatchB_H2B3E1a() {
    const GlyphBoxRecord& box = Box();
    if (!BowlsFit({0.1, 1, false})) return 0;
    const NodePair middle = InXOrder(JunctionNode(0), JunctionNode(1));
    const Node bottomLeft = JunctionNode(2);
    const Node bottom = EndNode(0);
    if (!WaistJunctionsIn(middle, {10, 11, 12}) || !InZone3(bottomLeft, {6})) return 0;
    if (bottom.x > box.left || bottom.y < box.bottom - HeightUnit()) return 0;
    if (!TraceStroke(bottom, bottomLeft).Fits({0}, {2})) return 0;
    const Stroke bar = LinkStroke(middle.left, middle.right);
    if (!bar.Fits({1}, {2, 3}) || bar.slope > 0.3) return 0;
    if (!StemLinkFits(middle.left, bottomLeft, SteepStem)) return 0;
    const Stroke lowerBowl = LinkStroke(middle.right, bottomLeft);
    return lowerBowl.Fits({2}, {4}) && lowerBowl.chordDirection == -1.0F ? 1 : 0;
}

// The stem sticks out above the upper bowl only.
std::int16_t MatchB_H2B3E1b() {
    const GlyphBoxRecord& box = Box();
    if (!BowlsFit({0.1, 1, false})) return 0;
    const Node topLeft = JunctionNode(0);
    const NodePair middle = InXOrder(JunctionNode(1), JunctionNode(2));
    const Node top = EndNode(0);
    if (!InZone5(topLeft, {0, 1}) || !WaistJunctionsIn(middle, {11, 12})) return 0;
    if (top.x > box.left || top.y > box.top + HeightUnit()) return 0;
    if (!TraceStroke(top, topLeft).Fits({0}, {3})) return 0;
    if (!LinkStroke(topLeft, middle.right).Fits({1}, {3})) return 0;
    if (!StemLinkFits(topLeft, middle.left, SteepStem)) return 0;
    const Stroke bar = LinkStroke(middle.left, middle.right);
    return bar.Fits({0}, {2, 3}) && bar.slope <= 0.4 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterB() {
    if (RejectB_LeftWaistNotch() != 0) return 0;
    if (Glyph.HoleCount != 2) return 0;
    if (IsCase(2, 0)) return AcceptFirstMatch({MatchB_H2B2E0a});
    if (IsCase(4, 2)) return AcceptFirstMatch({MatchB_H2B4E2a});
    if (IsCase(3, 1)) return AcceptFirstMatch({MatchB_H2B3E1a, MatchB_H2B3E1b});
    return 0;
}
