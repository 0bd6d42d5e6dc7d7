// Shape and direction codes of the last trace, read from its per-point distances and sides.
#include <algorithm>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr std::uint8_t UpperNearSide = UpperExtensionMark;
constexpr std::uint8_t UpperFarSide = UpperExtensionMark + FarSideOffset;
constexpr std::uint8_t LowerNearSide = LowerExtensionMark;
constexpr std::uint8_t LowerFarSide = LowerExtensionMark + FarSideOffset;

// Points of the last trace that carry a distance and a side.
int MeasuredCount() { return std::clamp<int>(Glyph.PathPointCount, 0, MaxPathMeasures); }

bool IsHitPoint(int i) { return IsChordHit(Glyph.PathY[i], Glyph.PathX[i]) != 0; }

int LargestDistance(int from, int to) {
    int largest = 0;
    for (int i = std::max(from, 0); i < to; ++i) largest = std::max<int>(largest, Glyph.PathDistance[i]);
    return largest;
}

// Points from..to-1 off the chord with side `side`.
int CountOffChordSide(int from, int to, std::uint8_t side) {
    int count = 0;
    for (int i = std::max(from, 0); i < to; ++i) {
        if (Glyph.PathSide[i] == side && !IsHitPoint(i)) ++count;
    }
    return count;
}

bool SideRun(int i, std::uint8_t before, std::uint8_t after) {
    const std::uint8_t* s = Glyph.PathSide;
    return s[i - 1] == before && s[i] == before && s[i + 1] == after && s[i + 2] == after;
}

struct TraceFigures {
    int n, unit, chord, heightUnit, boxHeight;
    float direction;
    int toFarCount = 0, toFarFirst = 0, toFarLast = 0;    // crossings side 3 to 13 (list X)
    int toNearCount = 0, toNearFirst = 0, toNearLast = 0;  // crossings side 13 to 3 (list Y)
    int upperToFar = 0, upperToNear = 0, lowerToFar = 0, lowerToNear = 0;
    int nearCount = 0, farCount = 0;  // off-chord points on side 3 and on side 13
};

// Whether some point 2..unit+1 steps away from i (towards `way`) lies off the chord on `side`.
bool LeftChordOn(const TraceFigures& f, int i, int way, std::uint8_t side) {
    for (int m = 2; m <= f.unit + 1; ++m) {
        const int j = i + way * m;
        if (j < 0 || j >= f.n) return false;
        if (Glyph.PathDistance[j] > 0 && Glyph.PathSide[j] == side) return true;
    }
    return false;
}

// Side pattern before, before, after, after at i, where the path really leaves the chord.
bool IsChordCrossing(const TraceFigures& f, int i, std::uint8_t before, std::uint8_t after) {
    if (!SideRun(i, before, after)) return false;
    if (Glyph.PathDistance[i - 1] != 0 || Glyph.PathDistance[i + 1] != 0) return true;
    return LeftChordOn(f, i, -1, before) && LeftChordOn(f, i, +1, after);
}

void Record(int i, int& count, int& first, int& last) {
    if (count == 0) first = i;
    last = i;
    ++count;
}

void CountChordCrossings(TraceFigures& f) {
    const int q = (f.n + 3) / 8 + 2;
    for (int i = q; i <= f.n - q - 2; ++i) {
        if (IsChordCrossing(f, i, ChordSide, ChordFarSide)) Record(i, f.toFarCount, f.toFarFirst, f.toFarLast);
        if (IsChordCrossing(f, i, ChordFarSide, ChordSide)) Record(i, f.toNearCount, f.toNearFirst, f.toNearLast);
    }
}

void CountExtensionCrossings(TraceFigures& f) {
    for (int i = std::max(f.unit, 1); i <= std::min(f.n - f.unit - 1, f.n - 3); ++i) {
        if (Glyph.PathDistance[i - 1] == 0 && Glyph.PathDistance[i + 1] == 0) continue;
        if (SideRun(i, UpperNearSide, UpperFarSide)) ++f.upperToFar;
        if (SideRun(i, UpperFarSide, UpperNearSide)) ++f.upperToNear;
        if (SideRun(i, LowerNearSide, LowerFarSide)) ++f.lowerToFar;
        if (SideRun(i, LowerFarSide, LowerNearSide)) ++f.lowerToNear;
    }
}

TraceFigures MeasureTrace() {
    TraceFigures f{};
    f.n = MeasuredCount();
    f.unit = Glyph.StrokeUnit;
    f.chord = Glyph.ChordLength;
    f.heightUnit = Glyph.HeightUnit;
    f.boxHeight = Glyph.GlyphBox.height;
    f.direction = Glyph.ChordDirection;
    CountChordCrossings(f);
    CountExtensionCrossings(f);
    f.nearCount = CountOffChordSide(0, f.n, ChordSide);
    f.farCount = CountOffChordSide(0, f.n, ChordFarSide);
    return f;
}

// The tail of the decision once no crossing pattern has answered.
int DecideRest(const TraceFigures& f) {
    if ((f.lowerToFar == 1 || f.lowerToNear == 1) && f.n > f.boxHeight) return ShapeCrossesLowerExtension;
    if (f.toNearCount > 0 || f.toFarCount > 0) return ShapeUndecided;
    constexpr int LoopRatio = 3;
    constexpr int ShortChordUnits = 5;
    const bool noExtensionCrossing = f.upperToFar == 0 && f.upperToNear == 0 && f.lowerToFar == 0 && f.lowerToNear == 0;
    // A chord of length 0 (a failed trace between equal points) describes no loop.
    if (noExtensionCrossing && f.chord > 0 && f.n / f.chord > LoopRatio && f.chord < ShortChordUnits * f.unit) {
        return ShapeLoopLike;
    }
    if (f.nearCount + f.farCount > f.chord / 2) return f.nearCount > f.farCount ? ShapeBowNearSide : ShapeBowFarSide;
    return ShapeUndecided;
}

int DecideUpperToNear(const TraceFigures& f) {
    if (f.upperToNear == 1 && f.n > f.boxHeight) return ShapeCrossesUpperExtension;
    return DecideRest(f);
}

int DecideUpperToFar(const TraceFigures& f) {
    if (f.upperToFar == 1) return f.n > f.boxHeight ? ShapeCrossesUpperExtension : DecideRest(f);
    return DecideUpperToNear(f);
}

bool BothSidesWide(const TraceFigures& f) { return f.nearCount > f.heightUnit && f.farCount > f.heightUnit; }

int DecideSLowerRight(const TraceFigures& f) {
    if (f.direction == 1.0f && BothSidesWide(f)) return ShapeSLowerRight;
    return DecideUpperToNear(f);
}

int DecideSLowerLeft(const TraceFigures& f) {
    if (f.direction == -1.0f && BothSidesWide(f)) return ShapeSLowerLeft;
    return DecideSLowerRight(f);
}

constexpr int NoAnswer = -1;

// A single crossing at p: flat on both sides of it, or flat on one side and bowed on the other.
int HookAtCrossing(const TraceFigures& f, int p, int hookAfter, int hookBefore) {
    const int before = LargestDistance(0, p);
    const int after = LargestDistance(p, f.n);
    const int halfUnit = (f.unit + 1) / 2;
    if (before < f.unit && after < f.unit) return ShapeStraight;
    if (before < halfUnit && after >= f.unit) return hookAfter;
    if (before >= f.unit && after < halfUnit) return hookBefore;
    return NoAnswer;
}

// One crossing from side 3 to side 13 and none back.
int DecideSingleCrossingToFar(const TraceFigures& f) {
    if (f.upperToFar > 0) return DecideUpperToFar(f);
    if (f.upperToNear > 0) return f.lowerToFar > 0 ? DecideUpperToNear(f) : DecideSLowerLeft(f);
    if (f.lowerToFar > 0) return DecideRest(f);
    if (f.lowerToNear > 0) return DecideSLowerLeft(f);
    const int hook = HookAtCrossing(f, f.toFarFirst, ShapeHookAfterCrossingToFar, ShapeHookBeforeCrossingToFar);
    if (hook != NoAnswer) return hook;
    if (f.direction == -1.0f) return ShapeSLowerLeft;
    return DecideSLowerRight(f);
}

// No crossing from side 3 to side 13.
int DecideNoCrossingToFar(const TraceFigures& f) {
    if (f.toNearCount != 1 || f.lowerToFar != 0) return DecideUpperToFar(f);
    const int hook = HookAtCrossing(f, f.toNearFirst, ShapeHookAfterCrossingToNear, ShapeHookBeforeCrossingToNear);
    if (hook != NoAnswer) return hook;
    if (f.direction == 1.0f) return ShapeSLowerRight;
    return DecideUpperToFar(f);
}

int DecideDoubleCrossing(const TraceFigures& f) {
    const bool withSlope = (f.nearCount >= f.farCount && f.direction != -1.0f) ||
                           (f.nearCount < f.farCount && f.direction == -1.0f);
    return withSlope ? ShapeDoubleCrossingWithSlope : ShapeDoubleCrossingAgainstSlope;
}

// Several crossings: a hook when all of them lie before the farthest point and the path stays
// close to the chord up to the last one.
int DecideManyCrossings(const TraceFigures& f) {
    const int largest = LargestDistance(0, f.n);
    int farthest = 0;
    while (farthest < f.n && Glyph.PathDistance[farthest] != largest) ++farthest;
    const int lastCrossing = std::max(f.toFarLast, f.toNearLast);
    if (lastCrossing < farthest && LargestDistance(0, lastCrossing) <= f.unit && largest >= 2 * f.unit) {
        return Glyph.PathSide[farthest] == ChordFarSide ? ShapeHookAfterCrossingToFar : ShapeHookAfterCrossingToNear;
    }
    return DecideUpperToFar(f);
}

// Quadrant of path point `index` seen from path point `from`.
std::int16_t DirectionSeenFrom(int index, int from) {
    const bool left = Glyph.PathX[index] < Glyph.PathX[from];
    const bool down = Glyph.PathY[index] > Glyph.PathY[from];
    if (down) return left ? DirectionDownLeft : DirectionDownRight;
    return left ? DirectionUpLeft : DirectionUpRight;
}

int LastPathIndex() { return std::clamp<int>(Glyph.PathPointCount - 1, 0, MaxPathPoints - 1); }

}  // namespace

std::int16_t MaxTraceDistance() { return static_cast<std::int16_t>(LargestDistance(0, MeasuredCount())); }

std::int16_t IsTraceStraight(std::int16_t tol) {
    constexpr int MaxStraightDistance = 3;
    const int n = MeasuredCount();
    const int unit = Glyph.StrokeUnit;
    const int excess = n - Glyph.ChordLength;  // path points beyond the chord's length
    const std::uint8_t* d = Glyph.PathDistance;
    if (MaxTraceDistance() > MaxStraightDistance) return 0;
    if (n < 2 * unit) return 1;
    if (Glyph.ChordHitCount > (2 * n) / 5) return 1;
    if (n < 5 * unit && excess < 2 && Glyph.ChordHitCount >= unit) return 1;
    if (excess < -1) return 1;
    if (excess == -1 && std::all_of(d, d + n, [tol](std::uint8_t v) { return v <= tol + 1; })) return 1;

    // Points on both sides in comparable numbers allow the full tolerance on shorter strokes.
    constexpr double MinSideRatio = 0.0625;
    constexpr double MaxSideRatio = 14.0;
    const int near = CountOffChordSide(1, n - 1, ChordSide);
    const int far = CountOffChordSide(1, n - 1, ChordFarSide);
    const double sideRatio = far > 0 ? static_cast<double>(near) / far : 0.0;
    const bool balanced = near > 0 && far > 0 && sideRatio >= MinSideRatio && sideRatio <= MaxSideRatio;
    int limit = n >= 6 * unit || balanced ? tol : (tol + 1) / 2;
    if (limit == 0) limit = 1;
    if (std::any_of(d, d + n, [limit](std::uint8_t v) { return v > limit; })) return 0;
    const auto atLimit = std::count(d, d + n, limit);
    return atLimit <= n / 2 ? 1 : 0;
}

std::int16_t ClassifyTraceShape(std::int16_t tol) {
    if (IsTraceStraight(tol) == 1) return ShapeStraight;
    const TraceFigures f = MeasureTrace();
    int code;
    if (f.toFarCount == 0) {
        code = DecideNoCrossingToFar(f);
    } else if (f.toFarCount == 1 && f.toNearCount == 0) {
        code = DecideSingleCrossingToFar(f);
    } else if (f.toFarCount == 1 && f.toNearCount == 1) {
        code = DecideDoubleCrossing(f);
    } else if (f.toNearCount >= 1) {
        code = DecideManyCrossings(f);
    } else {
        code = DecideUpperToFar(f);
    }
    return static_cast<std::int16_t>(code);
}

std::int16_t TraceStartDirection(std::int16_t k) {
    int index = std::min<int>(k, Glyph.PathPointCount - 1);
    if (index < 1) index = 1;
    return DirectionSeenFrom(std::min(index, MaxPathPoints - 1), 0);
}

std::int16_t TraceEndDirection(std::int16_t k) {
    const int n = Glyph.PathPointCount;
    const int back = std::max(std::min<int>(k, n), 2);
    const int index = std::clamp(n - back, 0, MaxPathPoints - 1);
    return DirectionSeenFrom(index, LastPathIndex());
}
