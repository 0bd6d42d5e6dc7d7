#include "engine/location/line_boxes.h"

#include <algorithm>

#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/recognize_character.h"
#include "engine/location/level_histogram.h"

CharBox LineBoxes[LineBoxSlots];
std::int16_t LineBoxCount = 0;
ComponentRange LineBoxComponents[LineBoxSlots];

namespace {

constexpr int GapOffset = 8;        // gaps from -8 on are counted
constexpr int LevelBins = 256;     // gaps and gray levels
constexpr int GapPeakLow = 5;
constexpr int GapPeakRadius = 5;
constexpr int GapAnswerOffset = 7;  // peak - 8 is the gap; one more is the answer
constexpr int GrayPeakLow = 4;
constexpr int GrayPeakRadius = 3;

int BoxCountInRange() { return std::clamp<int>(LineBoxCount, 0, LineBoxSlots); }

// Union of the component boxes of line boxes first..last; false when they have no component.
bool ComponentUnion(int first, int last, CharBox& united) {
    bool any = false;
    for (int i = std::max(first, 0); i <= std::min(last, BoxCountInRange() - 1); ++i) {
        const ComponentRange range = LineBoxComponents[i];
        for (int c = std::max<int>(range.first, 0); c <= std::min<int>(range.last, ComponentSlots - 1); ++c) {
            const CharBox& box = ComponentBoxes[c];
            if (!any) {
                united = box;
                any = true;
                continue;
            }
            united.left = std::min(united.left, box.left);
            united.top = std::min(united.top, box.top);
            united.right = std::max(united.right, box.right);
            united.bottom = std::max(united.bottom, box.bottom);
        }
    }
    return any;
}

}  // namespace

void MergeBoxes(int b, int c, int flag) {
    if (b < 0 || c != b + 1 || c >= BoxCountInRange()) return;
    const CharBox from = LineBoxes[b];
    CharBox& into = LineBoxes[c];
    LineBoxComponents[c].first = LineBoxComponents[b].first;
    if (flag == MergeAlongRow) {
        into.top = std::min(into.top, from.top);
        into.left = from.left;
    } else {
        into.left = std::min(into.left, from.left);
        into.top = from.top;
    }
    into.right = std::max(into.right, from.right);
    into.bottom = std::max(into.bottom, from.bottom);
    RemoveBox(b);
}

int RemoveBox(int k) {
    const int count = BoxCountInRange();
    if (k < 0 || k >= count) return k;
    for (int i = k; i + 1 < count; ++i) {
        LineBoxes[i] = LineBoxes[i + 1];
        LineBoxComponents[i] = LineBoxComponents[i + 1];
    }
    LineBoxCount = static_cast<std::int16_t>(count - 1);
    return k;
}

PackedPeak BoxSpacingPeak(int mode) { return BoxSpacingPeak(mode, GapPeakLow, GapPeakRadius); }

PackedPeak BoxSpacingPeak(int mode, int low, int radius) {
    ClearHistogram();
    for (int i = 1; i < BoxCountInRange(); ++i) {
        const int gap = mode == GapAlongRow ? LineBoxes[i].left - LineBoxes[i - 1].right
                                            : LineBoxes[i].top - LineBoxes[i - 1].bottom;
        if (gap + GapOffset >= 0 && gap + GapOffset < LevelBins) CountInHistogram(gap + GapOffset);
    }
    return FindHistogramPeak(low, LevelBins, radius);
}

int BoxGapEstimate(int mode) {
    const int estimate = PeakIndex(BoxSpacingPeak(mode)) - GapAnswerOffset;
    return estimate < 0 ? 1 : estimate;
}

int BoxGrayLevelHistogram(int first, int last) {
    CharBox united{};
    if (!ComponentUnion(first, last, united)) return 0;
    ClearHistogram();
    for (int i = std::max(first, 0); i <= std::min(last, BoxCountInRange() - 1); ++i) {
        CountContourGrayLevels(LineBoxComponents[i]);
    }
    const int threshold = PeakIndex(FindHistogramPeak(GrayPeakLow, LevelBins, GrayPeakRadius));
    const int polarity = DecideBoxPolarity(BoxTopLeft(united), BoxBottomRight(united));
    if (LoadGlyphFromGray(BoxTopLeft(united), BoxBottomRight(united), polarity, threshold) != 0) return 0;
    CropGlyph();
    return RecognizeCharacter(ModeLetters) > 0 ? 1 : 0;
}
