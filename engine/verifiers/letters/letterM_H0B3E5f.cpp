#include "engine/camera.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/letters/letterM_parts.h"

namespace {

// The rear camera sees this M with a wider spread: its right junction may sit a zone lower, and
// three lower junctions side by side in neighbouring columns are taken as the M at once.
constexpr bool AcceptsWideSpread = CameraNumber == 1;

bool RightJunctionInZone(Node right) {
    return AcceptsWideSpread ? InZone5(right, {8, 9, 12, 13, 14}) : InZone5(right, {8, 9, 13, 14});
}

}  // namespace

// Two junctions standing diagonally next to each other, the right one a row higher, take the
// left stem (at the higher one) and the left and middle feet (at the lower one); the right
// stem and the right foot meet at the third junction, which links back to the pair.
std::int16_t MatchM_H0B3E5f() {
    const SortedNodes junctions = JunctionsByX(0, 2);
    const NodePair tops = InXOrder(EndNode(0), EndNode(1));
    const SortedNodes feet = EndsByX(2, 4);
    const Node low = junctions.at[0];
    const Node high = junctions.at[1];
    const Node right = junctions.at[2];
    if (!InZone5(high, {5, 6, 10, 11, 12}) || !RightJunctionInZone(right)) return 0;
    if (!InZone5(low, {11, 12, 17, 18}) || !ThreeFootEndsInZones(tops, feet)) return 0;
    if (!ThreeFootStrokesFit(tops, feet, {high, right, low, low, right})) return 0;
    if (high.x != low.x + 1) return 0;
    if (AcceptsWideSpread && right.x == high.x + 1) return 1;
    if (low.y != high.y + 1) return 0;
    return LinkStroke(right, high).Fits({0}, {1, 4}) ? 1 : 0;
}
