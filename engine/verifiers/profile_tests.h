// Tests that judge a glyph by its row and column profiles, or by short walks along its skeleton,
// shared by several verifiers and by the letter pair resolver. Each answers 1 or 0.
#pragma once

#include <cstdint>

std::int16_t IsNotDShapedLoop();
std::int16_t HasFewThreeRunRows();
std::int16_t HasSteadyRightBottomProfile();
std::int16_t AreStrokeEndsParallel();
std::int16_t EdgeColumnsReachLowerHalf();
std::int16_t HasOpenRightSide();
std::int16_t HasManyThreeRunColumns();
std::int16_t LacksRightWaistNotch();
std::int16_t AreStemsParallel();
std::int16_t HasLeftWaistNotch();
std::int16_t LacksMiddleBar();
std::int16_t HasRightWaistNotch();
// The B verifier's pre-test: 1 when the left side is notched at the waist (not a B).
std::int16_t RejectB_LeftWaistNotch();

// The waist scan behind the notch tests, in steps that the '8' verifier reuses on its own.
enum class MarginSide { Left, Right };

// The first one-run row below the first two-run row of the upper half, searched up to (not
// including) the limit row.
int WaistRow(int limit);
// The row in centre - 3 to centre + 6 with the deepest margin on that side (the first on a tie;
// only a margin above 0 counts), or -1 when every margin there is 0.
int DeepestMarginRow(MarginSide side, int centre);

// How much deeper the margin of row k is than the shallowest margin above it (rows 0 to k) and
// below it (rows k to H - 1).
struct NotchDepths {
    int above;
    int below;
};
NotchDepths MarginNotchDepths(MarginSide side, int k);

// The skeleton's left side indented at a row of the window firstRow..lastRow (grid rows; rows
// outside the glyph read as empty): A is the largest first set column of the window's rows and
// B the first row that has it. The indent holds when A lies at least `above` columns right of
// the smallest of W and the first set columns of rows 3 to B, and at least `below` columns right
// of the smallest of W and those of rows B to H - 1. The one-stroke E and F read their middle
// bar from it.
bool HasSkeletonLeftIndent(int firstRow, int lastRow, int above, int below);
