#include "engine/verifiers/letters/letter_strokes.h"

#include "engine/glyph/glyph_record.h"

bool StrokeFits(Node from, Node to, std::initializer_list<int> shapes, std::initializer_list<int> directions,
                double minSlope, double maxSlope) {
    const Stroke s = TraceStroke(from, to);
    return s.Fits(shapes, directions) && s.slope >= minSlope && s.slope <= maxSlope;
}

namespace {

bool StraightLinkFits(Node from, Node to, std::initializer_list<int> directions, double minSlope, double maxSlope) {
    const Stroke s = LinkStroke(from, to);
    return s.Fits({0}, directions) && s.slope >= minSlope && s.slope <= maxSlope;
}

}  // namespace

bool StemLinkFits(Node from, Node to, double minSlope) { return StraightLinkFits(from, to, {3, 4}, minSlope, AnySlope); }

bool BarLinkFits(Node from, Node to, double maxSlope) { return StraightLinkFits(from, to, {2, 3}, 0.0, maxSlope); }

bool UpperArmFits(Node end, Node junction) {
    const Stroke s = TraceStroke(end, junction);
    return s.Fits({1}, {4}) && s.chordDirection == -1.0F;
}

bool MiddleBarFits(Node end, Node junction, double maxSlope) {
    return StrokeFits(end, junction, {0, 1, 2}, {1, 4}, 0.0, maxSlope);
}

bool TopBarFits(NodePair top, Node corner, double maxSlope) {
    if (!StrokeFits(top.left, corner, {0}, {3})) return false;
    return StrokeFits(top.right, corner, {0, 1}, {1, 4}, 0.0, maxSlope);
}

Stroke OpenBow() {
    const GlyphBoxRecord& box = Glyph.GlyphBox;
    const Node upper = EndNode(0);
    const Node lower = EndNode(1);
    const int middleColumn = box.left + box.width / 2;
    const int middleRow = box.top + box.height / 2;
    const Stroke notABow{};
    if (!IsPresent(upper) || !IsPresent(lower)) return notABow;
    if (upper.x < middleColumn || lower.x < middleColumn) return notABow;
    if (upper.y > middleRow || lower.y < middleRow) return notABow;
    const Stroke bow = TraceStroke(upper, lower);
    if (!bow.Fits({1, 2, 9, 10, 15}, {3, 4})) return notABow;
    if (bow.shape == 1 && bow.chordDirection != -1.0F) return notABow;
    if (bow.earlyDirection == 3 || bow.nearEndDirection == 2) return notABow;
    return bow;
}

bool HasMiddleBarSpur() { return HasPrunedSpurInZone5({6, 10, 11, 12}); }
