// The box-editing rules of the two segmenters for horizontal lines.
#include <algorithm>

#include "engine/camera.h"
#include "engine/glyph/glyph_record.h"
#include "engine/location/binary_regions.h"
#include "engine/location/capped_table.h"
#include "engine/location/edge_image.h"
#include "engine/location/line_box_sides.h"
#include "engine/location/line_boxes.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/segmentation.h"
#include "engine/location/text_bands.h"

namespace {

constexpr int ThresholdRaise = 8;          // each retry of a wide box binarizes 8 levels higher
constexpr int MaxThreshold = 255;
constexpr int CutClearance = 8;            // a cut column is cleared 8 rows past the box
constexpr int MaxCutInk = 5;               // a column with more ink is not cut
constexpr int GapOffset = 8;               // gaps are histogrammed from -8
constexpr int CloseLetterGap = 6;          // pieces of a W or M this close are one letter
constexpr int MergeSpacingPeak = 24;       // close pairs are merged only in widely spaced lines
constexpr double NoiseRatio = 5.6;
constexpr double CrowdedNoiseRatio = 3.4;
constexpr int LowLineCentre = 350;
constexpr int WideGapFloor = 64;
constexpr int LongLineSpan = 450;
constexpr int MinThinWidth = 5;
constexpr int NarrowEndWidth = 10;
constexpr double ThinEndRatio = 4.8;
constexpr double ThinEndDensity = 0.4;
constexpr double FaintDensity = 0.1;
constexpr double FaintRatio = 2.8;
constexpr int CodeLength = 11;
constexpr int OwnerCodeLength = 4;
constexpr int MinDecisiveGap = 26;
constexpr int SpeckComponents = 3;
constexpr int SpeckWidth = 4;
constexpr int CrowdedLine = 17;
constexpr int CrowdedTail = 8;
constexpr int EraseMargin = 16;
constexpr int BelowSerialDepth = 100;
constexpr int SerialDrop = 16;             // rows a seven-character serial may sit below its owner code
constexpr int LateSweepStep = 8;
constexpr int TypeLineDroppedBoxes = 2;
constexpr int TypeWideGapFactor = 3;       // size/type lines: a wide gap is gap + 8 above 3g

// The rear camera's code lines: its size/type code goes through the same rules, and its frame
// is wider and lower than the side camera's.
constexpr bool RearCamera = CameraNumber == 1;
constexpr int CodeWideGapFactor = RearCamera ? 2 : 3;
constexpr int ShortLineSpan = RearCamera ? 400 : 300;
constexpr int LowLineTop = RearCamera ? 225 : 300;
constexpr int RetryCeilingDrop = 16;       // rear camera: wide boxes are retried up to L - 16
constexpr int MinNarrowMergeLine = 5;      // rear camera: narrow boxes merge in lines of 5 or more
constexpr int LateNarrowStart = 4;         // ... from box 4 when the owner code stands apart
constexpr int OwnerGapFactor = 4;
constexpr int LeadingGaps = 3;             // rear camera: the gaps that measure rule 16's spacing

enum class Flow { Next, Restart, Rule17, Answer };

struct RuleResult {
    Flow flow;
    int answer;
};

constexpr RuleResult Next{Flow::Next, SegmentKeep};
constexpr RuleResult Restart{Flow::Restart, SegmentKeep};
constexpr RuleResult GoToRule17{Flow::Rule17, SegmentKeep};
constexpr RuleResult Answer(int answer) { return RuleResult{Flow::Answer, answer}; }

// The measures the driver hands over, and the spacing peak of the current box list.
struct Line {
    int H;
    int W;
    int C;
    int gap;
    bool codeLine;        // container-code rules; else the side camera's size/type rules
    bool wideWhenSquare;  // the rear camera's size/type code: any box not taller than wide is wide
    int wideGapFactor;    // a wide gap has gap + 8 above this many times g
    int g = 0;
    int support = 0;
};

using namespace line_box_sides;

int Width(int i) { return R(i) - L(i); }
int Height(int i) { return B(i) - T(i); }
int GapAfter(int i) { return L(i + 1) - R(i); }
int Span() { return Count() > 0 ? R(Last()) - L(0) : 0; }

void Merge(int i) { MergeBoxes(i, i + 1, MergeAlongRow); }

void RemoveRange(int first, int last) {
    for (int i = last; i >= first; --i) RemoveBox(i);
}

bool ReadsAsWideLetter(int first, int last) {
    if (BoxGrayLevelHistogram(first, last) != 1) return false;
    return Glyph.CandidateString[0] == 'W' || Glyph.CandidateString[0] == 'M';
}

bool BoxesOverlap(const CharBox& a, const CharBox& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

int RaiseWideBoxThreshold(const CharBox& box) {
    for (int e = 0; e < RetriedWideBoxCount; ++e) {
        RetriedWideBox& entry = RetriedWideBoxes[e];
        if (!BoxesOverlap(entry.box, box)) continue;
        entry.threshold = static_cast<std::uint8_t>(std::min(entry.threshold + ThresholdRaise, MaxThreshold));
        return entry.threshold;
    }
    const int slot = NextCappedSlot(RetriedWideBoxCount, RetriedWideBoxSlots);
    const int threshold = std::clamp(CurrentThreshold + ThresholdRaise, 0, MaxThreshold);
    RetriedWideBoxes[slot] = RetriedWideBox{box, static_cast<std::uint8_t>(threshold)};
    return threshold;
}

namespace {

// Clears the thinnest column near the middle of box i when it carries little ink.
bool CutThinColumn(int i, const Line& line) {
    const int middle = (L(i) + R(i)) / 2;
    const FrameRegion box = ClipToFrame(middle - line.W / 2, T(i), middle + line.W / 2, B(i));
    int cut = -1;
    int cutInk = 0;
    for (int x = box.left; x <= box.right; ++x) {
        int first = -1;
        int last = -1;
        int ink = 0;
        for (int y = box.top; y <= box.bottom; ++y) {
            if (BinaryBackup[PixelIndex(x, y)] == 0) continue;
            if (first < 0) first = y;
            last = y;
            ++ink;
        }
        const int extent = first < 0 ? 0 : last - first + 1;
        if (extent < line.H / 5 && (cut < 0 || ink < cutInk)) {
            cut = x;
            cutInk = ink;
        }
    }
    if (cut < 0 || cutInk > MaxCutInk) return false;
    ClearBackupRect(cut, T(i) - CutClearance, cut, B(i) + CutClearance);
    return true;
}

bool IsWideBox(int i, const Line& line) {
    if (line.wideWhenSquare) return Width(i) >= Height(i);
    const bool lateBox = line.codeLine && i >= Count() - 2 && i > 2;
    if (lateBox) return Width(i) >= line.W + 3 * line.W / 4;
    return RearCamera ? Width(i) >= line.W + line.W / 2 : Width(i) > line.W + line.W / 2;
}

// The threshold from which a wide box is cut rather than binarized again.
int RetryCeiling() { return RearCamera ? StrongEdgeLevel - RetryCeilingDrop : 7 * StrongEdgeLevel / 10; }

// Rule 1: boxes too wide for one character are binarized again higher, or cut.
RuleResult SplitWideBoxes(const Line& line) {
    for (int i = 0; i < Count(); ++i) {
        if (!IsWideBox(i, line)) continue;
        if (line.codeLine && !line.wideWhenSquare && ReadsAsWideLetter(i, i)) continue;
        const int threshold = RaiseWideBoxThreshold(LineBoxes[i]);
        if (threshold < RetryCeiling()) {
            ThresholdEdgeImageToCopy(BoxTopLeft(LineBoxes[i]), BoxBottomRight(LineBoxes[i]), threshold);
            return Answer(SegmentRedo);
        }
        if (CutThinColumn(i, line)) return Answer(SegmentRedo);
    }
    return Next;
}

// Rule 2: neighbours that overlap by more than half of either are one character.
void MergeOverlappingNeighbours(const Line& line) {
    int i = 0;
    while (i < Count() - 1) {
        const int overlap = R(i) - L(i + 1) + 1;
        const bool halfCovered = overlap > Width(i) / 2 || overlap > Width(i + 1) / 2;
        if (L(i + 1) < R(i) && halfCovered && R(i + 1) - L(i) < line.W + line.W / 5) {
            Merge(i);
            continue;
        }
        ++i;
    }
}

// Rule 3.
void MergeNarrowFirstBox(const Line& line) {
    while (Count() >= 2 && Width(0) <= line.W / 2 && R(1) - L(0) < line.W + line.W / 3) Merge(0);
}

// The rear camera leaves the narrow boxes of short container-code lines alone.
bool MergesNarrowBoxes() { return !RearCamera || Count() >= MinNarrowMergeLine || CodeFoundFlag == 1; }

// In the rear camera's lines whose first four boxes stand apart (an owner code), narrow boxes are
// looked for after them.
int FirstNarrowCandidate(const Line& line) {
    if (!RearCamera || Count() < MinNarrowMergeLine) return 1;
    return L(LateNarrowStart) - R(LateNarrowStart - 1) > OwnerGapFactor * line.gap ? LateNarrowStart : 1;
}

// Rule 4: narrow middle boxes join the neighbour they fit best; true after a merge.
bool MergeNarrowMiddleBoxes(const Line& line) {
    if (!MergesNarrowBoxes()) return false;
    const int limit = line.W + line.W / 5;
    for (int i = FirstNarrowCandidate(line); i <= Count() - 2; ++i) {
        if (Width(i) > line.W / 2) continue;
        const int gp = L(i) - R(i - 1);
        const int gn = L(i + 1) - R(i);
        const int mp = R(i) - L(i - 1);
        const int mn = R(i + 1) - L(i);
        if (gp <= gn && mp < limit) {
            Merge(i - 1);
        } else if (gn <= gp && mn < limit) {
            Merge(i);
        } else if (mn > mp && mp < limit) {
            Merge(i - 1);
        } else if (mn < mp && mn < limit) {
            Merge(i);
        } else if (line.codeLine && gp < gn / 2 && gp < CloseLetterGap && ReadsAsWideLetter(i - 1, i)) {
            Merge(i - 1);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

// Rule 5.
void MergeNarrowLastBox(const Line& line) {
    if (!MergesNarrowBoxes() || Count() < 2) return;
    if (Width(Last()) <= line.W / 2 && R(Last()) - L(Last() - 1) < line.W / 2 + line.W) Merge(Last() - 1);
}

// Rule 6: overlapping neighbours that read as a letter together, or overlap by a quarter.
void MergeOverlaps(const Line& line) {
    int i = 0;
    while (i < Count() - 1) {
        if (L(i + 1) < R(i)) {
            const int overlap = R(i) - L(i + 1) + 1;
            const bool quarterCovered = overlap > Width(i) / 4 || overlap > Width(i + 1) / 4;
            if ((line.codeLine && BoxGrayLevelHistogram(i, i + 1) == 1) || quarterCovered) {
                Merge(i);
                continue;
            }
        }
        ++i;
    }
}

// Rule 7: a box overlapping both neighbours, the three reading as W or M, becomes one box.
void MergeWideLetterTriples(const Line& line) {
    int i = 1;
    while (i <= Count() - 2) {
        if (L(i + 1) < R(i) && L(i) < R(i - 1) && R(i + 1) - L(i - 1) < line.gap + 2 * line.W &&
            ReadsAsWideLetter(i - 1, i + 1)) {
            RemoveBox(i);
            Merge(i - 1);
            i = 1;
            continue;
        }
        ++i;
    }
}

// Spacing peak g (gap + 8) of the box list and its support.
void MeasureSpacing(Line& line) {
    const PackedPeak peak = BoxSpacingPeak(GapAlongRow);
    line.g = PeakIndex(peak);
    line.support = PeakSum(peak);
}

// Rule 8: lines without a regular spacing are rejected; very close pairs of a widely spaced
// line are merged.
RuleResult CheckSpacing(Line& line) {
    MeasureSpacing(line);
    if (line.support < Count() / 2 && (Span() < ShortLineSpan || line.support < Count() / 3)) {
        return Answer(SegmentReject);
    }
    if (line.g <= MergeSpacingPeak) return Next;
    int i = 0;
    while (i < Count() - 1) {
        if (GapAfter(i) + GapOffset < line.g / 3 && R(i + 1) - L(i) + 1 < line.W + line.W / 2) {
            Merge(i);
            continue;
        }
        ++i;
    }
    return Next;
}

// Indices i whose gap after box i is wide (gap + 8 above `times` x g); answers their count.
int WideGaps(const Line& line, int times, int* gaps) {
    int count = 0;
    for (int i = 0; i < Count() - 1; ++i) {
        if (GapAfter(i) + GapOffset > times * line.g) gaps[count++] = i;
    }
    return count;
}

// The first wide gap after box 0 or 1 cuts off the boxes before it; in a line of 5 or 6 boxes
// a first wide gap after box f > 2 that is wider than boxes 0..f drops the boxes after it.
bool TrimAtFirstWideGap(int firstWide) {
    if (firstWide <= 1) {
        RemoveRange(0, firstWide);
        return true;
    }
    if (firstWide > 2 && (Count() == 5 || Count() == 6) && GapAfter(firstWide) > R(firstWide) - L(0)) {
        RemoveRange(firstWide + 1, Last());
        return true;
    }
    return false;
}

// Rule 9: stray boxes beyond wide gaps.
RuleResult TrimAtWideGaps(const Line& line) {
    int gaps[LineBoxSlots];
    const int wide = WideGaps(line, line.wideGapFactor, gaps);
    if (wide == 0) return Next;
    if (Count() == 7 && wide == 2 && gaps[0] == 2 && gaps[1] == 5) return Next;  // 3 + 3 + 1 layout
    if (gaps[0] <= 1) {
        RemoveRange(0, gaps[0]);
        return Restart;
    }
    const int j = gaps[wide - 1];
    if (j >= 3 && j != 9) {
        for (int m = Last(); m > j; --m) {
            if (InclusiveHeight(m) < line.H - 4 && InclusiveWidth(m) < line.W / 2) {
                RemoveBox(m);
                return Restart;
            }
        }
        if (j == Count() - 2 && GapAfter(j) > 5 * line.g && GapAfter(j) > WideGapFloor) {
            RemoveBox(Last());
            return Restart;
        }
    }
    if (Count() == 7 && line.C > LowLineCentre && gaps[0] <= 2) return Answer(SegmentReject);
    if (TrimAtFirstWideGap(gaps[0])) return Restart;
    return Next;
}

bool IsNoise(int i, const Line& line, double ratioLimit) {
    return HeightOverWidth(i) > ratioLimit || (InclusiveHeight(i) < line.H / 2 && InclusiveWidth(i) < line.W / 2);
}

// Rule 10: thin or small boxes pressed against a neighbour are noise. Box i gone, the pair is
// looked at again; box i + 1 gone, the side camera looks again too, the rear camera moves on.
constexpr bool RecheckPairAfterNextRemoved = !RearCamera;

void RemoveCrowdedNoise(const Line& line, double ratioLimit) {
    int i = 0;
    while (i < Count() - 1) {
        if (GapAfter(i) + GapOffset < line.g / 2) {
            if (IsNoise(i, line, ratioLimit)) {
                RemoveBox(i);
                continue;
            }
            if (IsNoise(i + 1, line, ratioLimit)) {
                RemoveBox(i + 1);
                if (RecheckPairAfterNextRemoved) continue;
            }
        }
        ++i;
    }
}

// Index m of the largest gap L(m) - R(m - 1) (the first of equal ones), or 0 without a gap.
int LargestGapIndex() {
    int best = 0;
    for (int i = 1; i < Count(); ++i) {
        if (best == 0 || L(i) - R(i - 1) > L(best) - R(best - 1)) best = i;
    }
    return best;
}

// Rule 11: a long line whose first few boxes stand far apart from the rest loses them.
RuleResult EraseDetachedStart(const Line& line) {
    if (Count() <= 7 || Span() <= LongLineSpan) return Next;
    const int m = LargestGapIndex();
    if (m == 0 || L(m) - R(m - 1) <= 8 * line.g || m >= 4) return Next;
    int top = T(0);
    int bottom = B(0);
    for (int i = 0; i < Last(); ++i) {
        top = std::min(top, T(i));
        bottom = std::max(bottom, B(i));
    }
    ClearBackupRect(L(0), top, R(m - 1), bottom);
    return Answer(SegmentRedo);
}

// Rule 12: slivers and faint boxes. The rear camera's rule takes the height/width ratio as a
// real number, the side camera's as the integer quotient its other rules take. The density is
// a real number in both: as an integer quotient it would be 0 or 1, and its limits would mean
// nothing.
double ThinRatio(int i) {
    return RearCamera ? static_cast<double>(InclusiveHeight(i)) / InclusiveWidth(i) : HeightOverWidth(i);
}

void RemoveThinAndFaint() {
    int i = 0;
    while (i < Count()) {
        const int w = InclusiveWidth(i);
        const int h = InclusiveHeight(i);
        const double ratio = ThinRatio(i);
        const double density =
            static_cast<double>(SumBinaryCopy2(BoxTopLeft(LineBoxes[i]), BoxBottomRight(LineBoxes[i]))) / (w * h);
        const bool thinEnd = i >= Count() - 2 && w < NarrowEndWidth && ratio > ThinEndRatio && density < ThinEndDensity;
        if (w < MinThinWidth || thinEnd || (density < FaintDensity && ratio > FaintRatio)) {
            RemoveBox(i);
            continue;
        }
        ++i;
    }
}

// Rule 13: a line of more than 11 boxes is trimmed step by step.
RuleResult TrimCrowdedLine(const Line& line) {
    if (Count() > CodeLength) {
        int i = 0;
        while (i < Count()) {
            const int h = InclusiveHeight(i);
            const int w = InclusiveWidth(i);
            if ((h < line.H / 2 && w < line.W / 2) || (w > h && h < line.H - 4)) {
                RemoveBox(i);
                continue;
            }
            ++i;
        }
    }
    if (Count() > CodeLength) RemoveCrowdedNoise(line, CrowdedNoiseRatio);
    if (Count() > CodeLength) {
        int i = CodeLength - 1;
        while (i < Count() - 1) {
            if (L(i + 1) < R(i) + 2 && R(i + 1) - L(i) < 2 * line.W) {
                Merge(i);
                continue;
            }
            ++i;
        }
    }
    if (Count() > CodeLength) {
        const int m = LargestGapIndex();
        if (m > 0 && L(m) - R(m - 1) > MinDecisiveGap) {
            if (m == CodeLength) {
                RemoveRange(CodeLength, Last());
                return GoToRule17;
            }
            if (Count() - m == CodeLength) {
                RemoveRange(0, m - 1);
                return GoToRule17;
            }
        }
    }
    if (Count() > CodeLength) {
        for (int i = 0; i <= 4 && i + 1 < Count(); ++i) {
            if (Width(i) <= line.W / 2 && R(i + 1) - L(i) < line.W + 2 * line.W / 3 &&
                BoxGrayLevelHistogram(i, i + 1) == 1) {
                Merge(i);
            }
        }
    }
    return Next;
}

// The spacing box 4 is measured against: the rear camera takes the mean of the line's first
// gaps (inclusive), the side camera the box gap.
int LeadingSpacing(const Line& line) {
    if (!RearCamera) return line.gap;
    int sum = 0;
    for (int i = 1; i <= LeadingGaps; ++i) sum += L(i) - R(i - 1) + 1;
    return sum / LeadingGaps;
}

// Rule 16's test: box 4 stands apart on both sides; the region below it is erased.
RuleResult EraseLoneFifthBox(const Line& line) {
    const int spacing = LeadingSpacing(line);
    if (L(4) - R(3) + 1 > 2 * spacing && L(5) - R(4) + 1 > 2 * spacing) {
        ClearBackupRect(L(4) - EraseMargin, T(4), R(4), B(4) + BelowSerialDepth);
        return Answer(SegmentFatal);
    }
    return Answer(SegmentKeep);
}

// Rule 14: a 12th box made of specks is dropped.
RuleResult CheckTwelveBoxes(const Line& line) {
    const ComponentRange range = LineBoxComponents[Last()];
    const int first = std::max<int>(range.first, 0);
    const int last = std::min<int>(range.last, ComponentSlots - 1);
    bool specks = last - first + 1 > SpeckComponents;
    for (int c = first; c <= last && specks; ++c) {
        const CharBox& box = ComponentBoxes[c];
        specks = box.bottom - box.top <= line.H / 2 && box.right - box.left <= SpeckWidth;
    }
    if (specks) {
        RemoveBox(Last());
        return GoToRule17;
    }
    return EraseLoneFifthBox(line);
}

// Rule 15: far too many boxes: the part before a wide gap with more than 8 boxes after it goes.
RuleResult EraseCrowdedStart(const Line& line) {
    int m = 0;
    for (int i = 1; i < Count() - 1; ++i) {
        if (GapAfter(i) > GapAfter(m)) m = i;
    }
    if (GapAfter(m) + GapOffset > 3 * line.g && Count() - m > CrowdedTail) {
        ClearBackupRect(L(0), T(0) - EraseMargin, R(m), B(m) + EraseMargin);
        return Answer(SegmentRedo);
    }
    return Next;
}

// Rule 17: an 11-box line must look like a container code.
RuleResult CheckElevenBoxes(const Line& line) {
    const int m = LargestGapIndex();
    const int largest = L(m) - R(m - 1);
    if (largest > (R(10) - L(0)) / 3) return Answer(SegmentReject);
    if ((T(0) + T(10)) / 2 > LowLineTop && largest > 5 * line.g && m != OwnerCodeLength) return Answer(SegmentReject);
    int ownerBottom = 0;
    int serialBottom = 0;
    for (int i = 0; i < OwnerCodeLength; ++i) ownerBottom += B(i);
    for (int i = OwnerCodeLength; i < CodeLength; ++i) serialBottom += B(i);
    ownerBottom /= OwnerCodeLength;
    serialBottom /= CodeLength - OwnerCodeLength;
    if (serialBottom - ownerBottom > SerialDrop && B(4) - B(3) > SerialDrop) RemoveRange(0, OwnerCodeLength - 1);
    return Answer(SegmentKeep);
}

// Rule 18: late in the sweep, a ten-box line whose first three boxes stand apart may hold two
// characters run together in one of them: cut the widest at its thinnest single stroke.
RuleResult CutRunTogetherStart(const Line& line) {
    if (SweepStep <= LateSweepStep || L(3) - R(2) <= 2 * line.gap) return Next;
    int widest = 0;
    for (int i = 1; i < 3; ++i) {
        if (Width(i) > Width(widest)) widest = i;
    }
    CountVerticalRunsPerColumn(L(widest), R(widest), T(widest), B(widest));
    int cut = -1;
    for (int x = std::max(L(widest), 0); x <= std::min(R(widest), FrameWidth - 1); ++x) {
        if (SmoothScratch[x] != 1) continue;
        if (cut < 0 || ColumnProfile[x] < ColumnProfile[cut]) cut = x;
    }
    if (cut < 0 || ColumnProfile[cut] > MaxCutInk) return Next;
    ClearBackupRect(cut, T(widest) - CutClearance, cut, B(widest) + CutClearance);
    return Answer(SegmentRedo);
}

// Rules 3 to 9, repeated while a rule asks for a restart.
RuleResult ShapeCodeLine(Line& line) {
    for (;;) {
        MergeNarrowFirstBox(line);
        if (MergeNarrowMiddleBoxes(line)) continue;
        MergeNarrowLastBox(line);
        MergeOverlaps(line);
        MergeWideLetterTriples(line);
        const RuleResult spacing = CheckSpacing(line);
        if (spacing.flow == Flow::Answer) return spacing;
        const RuleResult trimmed = TrimAtWideGaps(line);
        if (trimmed.flow != Flow::Restart) return trimmed;
    }
}

int SegmentCodeRow(Line& line) {
    const RuleResult wide = SplitWideBoxes(line);
    if (wide.flow == Flow::Answer) return wide.answer;
    MergeOverlappingNeighbours(line);
    const RuleResult shaped = ShapeCodeLine(line);
    if (shaped.flow == Flow::Answer) return shaped.answer;
    RemoveCrowdedNoise(line, NoiseRatio);
    const RuleResult detached = EraseDetachedStart(line);
    if (detached.flow == Flow::Answer) return detached.answer;
    RemoveThinAndFaint();
    RuleResult result = TrimCrowdedLine(line);
    if (result.flow != Flow::Rule17 && Count() == CodeLength + 1) result = CheckTwelveBoxes(line);
    if (result.flow == Flow::Answer) return result.answer;
    if (result.flow != Flow::Rule17) {
        if (Count() > CrowdedLine) {
            const RuleResult crowded = EraseCrowdedStart(line);
            if (crowded.flow == Flow::Answer) return crowded.answer;
        }
        if (Count() == 8) return EraseLoneFifthBox(line).answer;
    }
    if (Count() == CodeLength) return CheckElevenBoxes(line).answer;
    if (Count() == CodeLength - 1) return CutRunTogetherStart(line).answer;
    return SegmentKeep;
}

// Size/type spacing: the first wide gap trims the line as in rule 9; true after a trim.
bool TrimTypeLine(Line& line) {
    MeasureSpacing(line);
    int gaps[LineBoxSlots];
    if (WideGaps(line, line.wideGapFactor, gaps) == 0) return false;
    return TrimAtFirstWideGap(gaps[0]);
}

int SegmentTypeRow(Line& line) {
    const RuleResult wide = SplitWideBoxes(line);
    if (wide.flow == Flow::Answer) return wide.answer;
    MergeOverlappingNeighbours(line);
    for (;;) {
        MergeNarrowFirstBox(line);
        if (MergeNarrowMiddleBoxes(line)) continue;
        MergeNarrowLastBox(line);
        MergeOverlaps(line);
        if (!TrimTypeLine(line)) break;
    }
    RemoveCrowdedNoise(line, NoiseRatio);
    RemoveThinAndFaint();
    if (Count() == 6) RemoveRange(0, TypeLineDroppedBoxes - 1);
    return SegmentKeep;
}

}  // namespace

int SegmentCodeLine(int, int charHeight, int charWidth, int centreLine, int boxGap) {
    if (VerticalModeFlag == 1) return SegmentCodeColumn(charHeight, charWidth);
    Line line{charHeight, charWidth, centreLine, boxGap, true, RearCamera && CodeFoundFlag == 1, CodeWideGapFactor};
    return SegmentCodeRow(line);
}

int SegmentTypeCodeLine(int, int charHeight, int charWidth, int centreLine, int boxGap) {
    if (VerticalModeFlag == 1) return SegmentTypeColumn(charHeight, charWidth);
    Line line{charHeight, charWidth, centreLine, boxGap, false, false, TypeWideGapFactor};
    return SegmentTypeRow(line);
}
