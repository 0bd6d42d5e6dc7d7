#include "engine/verifiers/profile_tests.h"

#include <cmath>

#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/profiles.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

constexpr std::int16_t MarkThreshold = 3;
// A walk needs this many points before its fifths or halves are points of this walk.
constexpr int MinWalkPoints = 5;
constexpr double ParallelEndsTolerance = 0.3;
constexpr double ParallelStemsTolerance = 0.2;

int Height() { return Glyph.GlyphHeight; }
int Width() { return Glyph.GlyphWidth; }

int CountRows(int from, int to, bool (*holds)(int)) {
    int count = 0;
    for (int i = from; i <= to; ++i) {
        if (holds(i)) ++count;
    }
    return count;
}

// Walks from end point e; false when the glyph has no such end point or the walk is too short
// to measure.
bool WalkMeasurable(int e) {
    if (e >= Glyph.EndpointCount) return false;
    ClearMarks(MarkThreshold);
    WalkFromEndpoint(static_cast<std::int16_t>(e));
    return Glyph.WalkLength >= MinWalkPoints && Glyph.WalkLength <= MaxPathPoints;
}

struct Step {
    int dx;
    int dy;
};

Step WalkStep(int from, int to) {
    return Step{Glyph.PathX[from] - Glyph.PathX[to], Glyph.PathY[from] - Glyph.PathY[to]};
}

// The step of the first half of the walk from end point e, from its third point.
bool StemStep(int e, Step& step) {
    if (!WalkMeasurable(e)) return false;
    step = WalkStep(2, Glyph.WalkLength / 2 + 2);
    return true;
}

double Run(Step s) { return static_cast<double>(s.dx) / s.dy; }

}  // namespace

std::int16_t IsNotDShapedLoop() {
    const int h = Height();
    const int w = Width();
    if (RowRightAt(0) == 0 && ColTopAt(w - 1) == 0) return 1;
    if (RowRightAt(h - 1) == 0 && ColBottomAt(w - 1) == 0) return 1;
    int signs = 0;
    if (RowLeftAt(0) < 2 || RowLeftAt(h - 1) < 2) ++signs;
    if (ColTopAt(0) < 2 || ColBottomAt(0) < 2) ++signs;
    int tallestStem = 0;
    for (int c = 0; c < w / 3; ++c) {
        if (ColRunsAt(c) == 1 && ColInkAt(c) > tallestStem) tallestStem = ColInkAt(c);
    }
    if (tallestStem > h - 2) ++signs;
    return signs <= 1 ? 1 : 0;
}

std::int16_t HasFewThreeRunRows() {
    const int rows = CountRows(2, Height() - 3, [](int i) { return RowRunsAt(i) > 2; });
    return rows > 2 ? 0 : 1;
}

std::int16_t HasSteadyRightBottomProfile() {
    const int h = Height();
    const int w = Width();
    const bool fewCrowdedRows = CountRows(2, h - 3, [](int i) { return RowRunsAt(i) > 3; }) <= 2;
    int c = w / 2;
    for (int j = w - 1; j >= w / 2 + 1; --j) {
        if (ColInkAt(j) > h - 4) {
            c = j;
            break;
        }
    }
    int highBottoms = 0;
    for (int k = w / 2 + 3; k <= c - 1; ++k) {
        if (ColBottomAt(k) > h / 2) ++highBottoms;
    }
    if (!fewCrowdedRows || highBottoms > 1) return 0;
    int rise = 0;
    for (int j = w - 1; j >= w / 2 + 1; --j) {
        const int bottom = ColBottomAt(j);
        if (ColBottomAt(j - 1) - bottom > rise) rise = ColBottomAt(j - 1) - bottom;
        if (ColBottomAt(j - 2) - bottom > rise) rise = ColBottomAt(j - 2) - bottom;
    }
    return rise <= h / 3 ? 1 : 0;
}

std::int16_t AreStrokeEndsParallel() {
    if (!WalkMeasurable(0)) return 0;
    const int n = Glyph.WalkLength;
    const int f = n / 5;
    const int g = n - f;
    const Step first = WalkStep(1, f + 1);
    const Step last = WalkStep(n - 2, g - 2);
    if (first.dy == 0 || last.dy == 0) return 0;
    return std::fabs(Run(first) - Run(last)) <= ParallelEndsTolerance ? 1 : 0;
}

std::int16_t EdgeColumnsReachLowerHalf() {
    const int h = Height();
    const int w = Width();
    if (w <= 5) return 1;
    return ColBottomAt(2) <= h / 2 && ColBottomAt(w - 3) <= h / 2 ? 1 : 0;
}

std::int16_t HasOpenRightSide() {
    const int h = Height();
    const int w = Width();
    int s = h / 2 - 1;
    while (s > 2 && RowRunsAt(s) != 1) --s;
    int openRows = 0;
    int u = s;
    for (; u > 2 && RowRunsAt(u) <= 1; --u) {
        if (RowRightAt(u) > w / 3) ++openRows;
    }
    int v = s + 1;
    for (; v < h - 2 && RowRunsAt(v) <= 1; ++v) {
        if (RowRightAt(v) > w / 3) ++openRows;
    }
    const double share = static_cast<double>(openRows) / h;
    const double balance = static_cast<double>(u) / (h - v + 1);
    int threeStrokeColumns = 0;
    for (int j = w / 3; j < w - 2; ++j) {
        if (ColWideRunsAt(j) == 3) ++threeStrokeColumns;
    }
    if (threeStrokeColumns > 2) return 0;
    if (w < 32 && threeStrokeColumns > 1) return 0;
    if (share < 0.38 && threeStrokeColumns > 0 && balance < 0.6) return 0;
    if (balance < 0.2) return 0;
    return 1;
}

std::int16_t HasManyThreeRunColumns() {
    int count = 0;
    for (int j = 2; j < 2 * Width() / 3; ++j) {
        if (ColRunsAt(j) == 3) ++count;
    }
    return count > 3 ? 1 : 0;
}

std::int16_t AreStemsParallel() {
    Step first{};
    Step second{};
    if (!StemStep(0, first) || !StemStep(1, second)) return 0;
    if (first.dy == 0 || second.dy == 0) return 0;
    return std::fabs(Run(first) - Run(second)) <= ParallelStemsTolerance ? 1 : 0;
}

std::int16_t LacksMiddleBar() {
    const int h = Height();
    const int w = Width();
    const auto isBar = [w](int i) { return RowRunsAt(i) == 1 && RowInkAt(i) > w / 2; };
    bool found = false;
    for (int i = 0; i < h / 8 && !found; ++i) found = isBar(h / 2 - i) || isBar(h / 2 + i);
    if (!found) return 1;
    const int threeRunRows = CountRows(h / 4, h - h / 4 - 1, [](int i) { return RowRunsAt(i) == 3; });
    return threeRunRows > 2 ? 1 : 0;
}
