#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"

namespace {

// One S-shaped stroke from the upper end down to the lower left. It must not set off down to
// the right, and its last stroke unit comes in from the right of its lower end: from below right
// when that end sits as high as the third row of cells, where only a curled tail reaches.
std::int16_t MatchS_H0B0E2a() {
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    if (!InZone(4, e0, {1, 2, 3, 7}) || !InZone(4, e1, {8, 12, 13})) return 0;
    const Stroke s = TraceStroke(e0, e1);
    if (!s.Fits({3}, {4}) || s.chordDirection != -1.0F) return 0;
    if (s.earlyDirection == 3) return 0;
    if (!InSet(s.lateDirection, {2, 3})) return 0;
    if (InZone(4, e1, {8}) && s.lateDirection != 3) return 0;
    return s.lengthRatio >= 1.2 ? 1 : 0;
}

// Both tips split: a short spur at each end of the S-shaped body between the two junctions.
std::int16_t MatchS_H0B2E4a() {
    const Node j0 = JunctionNode(0);
    const Node j1 = JunctionNode(1);
    const Node e0 = EndNode(0);
    const Node e1 = EndNode(1);
    const Node e2 = EndNode(2);
    const Node e3 = EndNode(3);
    if (!InZone5(j0, {4}) || !InZone5(j1, {20})) return 0;
    if (!InZone5(e0, {4}) || !InZone5(e1, {9}) || !InZone5(e2, {15}) || !InZone5(e3, {20})) return 0;
    if (!TraceStroke(e0, j0).Fits({0}, {4}) || !TraceStroke(e1, j0).Fits({0}, {1})) return 0;
    if (!TraceStroke(e2, j1).Fits({0}, {3}) || !TraceStroke(e3, j1).Fits({0}, {2})) return 0;
    const Stroke body = LinkStroke(j0, j1);
    if (!body.FitsShape({3}) || body.chordDirection != -1.0F) return 0;
    return body.earlyDirection == 1 && body.lengthRatio >= 1.3 ? 1 : 0;
}

}  // namespace

std::int16_t IsLetterS() {
    if (Glyph.HoleCount != 0) return 0;
    if (IsCase(0, 2)) return AcceptFirstMatch({MatchS_H0B0E2a});
    if (IsCase(2, 4)) return AcceptFirstMatch({MatchS_H0B2E4a});
    return 0;
}
