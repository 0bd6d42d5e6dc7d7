#include "engine/glyph/glyph_record.h"
#include "engine/verifiers/profile_tests.h"
#include "engine/verifiers/profiles.h"

namespace {

// The indent above is measured against the rows from this one down, clear of the top end.
constexpr int FirstComparedRow = 3;

// The smallest of W and the first set columns of rows from..to (W when the range is empty).
int ShallowestFirstColumn(int from, int to) {
    int smallest = Glyph.GlyphWidth;
    for (int m = from; m <= to; ++m) {
        const int first = FirstSetColumn(m);
        if (first < smallest) smallest = first;
    }
    return smallest;
}

}  // namespace

bool HasSkeletonLeftIndent(int firstRow, int lastRow, int above, int below) {
    int deepest = FirstSetColumn(firstRow);
    int deepestRow = firstRow;
    for (int m = firstRow + 1; m <= lastRow; ++m) {
        const int first = FirstSetColumn(m);
        if (first > deepest) {
            deepest = first;
            deepestRow = m;
        }
    }
    if (deepest - ShallowestFirstColumn(FirstComparedRow, deepestRow) < above) return false;
    return deepest - ShallowestFirstColumn(deepestRow, Glyph.GlyphHeight - 1) >= below;
}
