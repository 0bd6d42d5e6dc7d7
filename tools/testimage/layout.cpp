#include "tools/testimage/layout.h"

#include <algorithm>
#include <cmath>

namespace testimage {
namespace {

// Spacing as painted, in fractions of the character height unless said otherwise.
constexpr double SmallestGap = 2;  // pixels of wall between two characters
constexpr double GapLow = 0.06, GapHigh = 0.16;
constexpr double OwnerGapLow = 0.45, OwnerGapHigh = 0.9;
constexpr double CheckGapLow = 0.25, CheckGapHigh = 0.55;
constexpr double LineGapLow = 0.3, LineGapHigh = 0.8;
constexpr double ColumnGapLow = 0.1, ColumnGapHigh = 0.25;
constexpr double ColumnOwnerGapLow = 0.1, ColumnOwnerGapHigh = 0.4;
constexpr double ColumnCheckGapLow = 0.05, ColumnCheckGapHigh = 0.3;
constexpr double NarrowCell = 0.75;  // narrow characters sit centred in this much of a "0"
constexpr double FrameMargin = 0.15;
constexpr double FrameThickness = 0.55;  // of the stroke width
constexpr double LeftAlignedShare = 0.65;
constexpr double LeftAlignedReach = 0.3;

// The size/type code lies within two character heights below the number; keep it this far
// clear of that band's far edge and of its left and right limits, which a slight rotation moves.
constexpr double SizeTypeGapLow = 0.3, SizeTypeGapHigh = 0.6;
constexpr double SizeTypeBand = 2.0;
constexpr double SizeTypeBandSlack = 0.3;
constexpr double BelowOneLineLeftReach = 6;  // pixels left of the first character (16 allowed)
constexpr double BelowPairLeftReach = 4;     // of the serial line (8 allowed)
constexpr double CheckDigitClearance = 0.3;
// Under the first nine characters the band's edges are those of characters 0 and 8 themselves.
constexpr double FirstNineInset = 0.12;
constexpr int LastBandCharacter = 8;
// A stacked size/type code lies within 4 character widths left or 8 right of the column.
constexpr double LeftColumnReach = 3.6;
constexpr double RightColumnReach = 7.2;
constexpr double SideGapLow = 0.3, SideGapHigh = 1.5;

double Gap(Rng& rng, double height, double low, double high) {
    return std::max(SmallestGap, std::round(height * rng.Uniform(low, high)));
}

double CapHeight(const GlyphCache* glyphs) { return glyphs->Style().capHeight; }

void PlaceRow(const std::string& text, GlyphCache& glyphs, double x, double baseline,
              const std::vector<double>& gapBefore, int line, std::vector<PlacedGlyph>& out) {
    const double cell = glyphs.Get('0').Width() * NarrowCell;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const GlyphMask& mask = glyphs.Get(text[i]);
        x += gapBefore[i];
        const double slot = std::max(mask.Width(), cell);
        out.push_back({text[i], &mask, x + (slot - mask.Width()) / 2, baseline + mask.top, line});
        x += slot;
    }
}

void PlaceColumn(const std::string& text, GlyphCache& glyphs, double centreX, double top,
                 const std::vector<double>& gapBefore, int line, std::vector<PlacedGlyph>& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const GlyphMask& mask = glyphs.Get(text[i]);
        top += gapBefore[i];
        out.push_back({text[i], &mask, centreX - mask.Width() / 2, top, line});
        top += mask.Height();
    }
}

Rect BoundsOf(const std::vector<PlacedGlyph>& glyphs, std::size_t first, std::size_t count) {
    Rect bounds = glyphs[first].Bounds();
    for (std::size_t i = first + 1; i < first + count; ++i) bounds = Union(bounds, glyphs[i].Bounds());
    return bounds;
}

double MeanCentreX(const std::vector<PlacedGlyph>& glyphs, std::size_t first, std::size_t count) {
    double sum = 0;
    for (std::size_t i = first; i < first + count; ++i) sum += glyphs[i].Bounds().CentreX();
    return sum / static_cast<double>(count);
}

void ShiftGlyphs(std::vector<PlacedGlyph>& glyphs, std::size_t first, double dx, double dy) {
    for (std::size_t i = first; i < glyphs.size(); ++i) {
        glyphs[i].left += dx;
        glyphs[i].top += dy;
    }
}

struct FrameSize {
    double margin = 0;
    double thickness = 0;
    double Room() const { return margin + thickness; }
};

FrameSize FrameSizeFor(const LayoutInput& input) {
    if (!input.checkFrame) return {};
    const GlyphStyle& style = input.numberGlyphs->Style();
    const double stroke = style.stroke > 0 ? style.stroke : NaturalStem(style);
    return {std::max(SmallestGap, std::round(style.capHeight * FrameMargin)),
            std::max(SmallestGap, std::round(stroke * FrameThickness))};
}

// The gap before the check digit: the wall drawn or asked for, and the frame's room.
double CheckGap(const LayoutInput& input, double drawn, const FrameSize& frameSize) {
    return (input.checkDigitGap > 0 ? input.checkDigitGap : drawn) + frameSize.Room();
}

CheckFrame FrameAround(const Rect& digit, const FrameSize& size) {
    if (size.thickness <= 0) return {};
    CheckFrame frame;
    frame.present = true;
    frame.inner = digit.Grown(size.margin);
    frame.outer = frame.inner.Grown(size.thickness);
    return frame;
}

// Puts the size/type code in a row below `bandTop`, its left edge between the limits, mostly
// near the left one as it is painted.
void PlaceSizeTypeBelow(const LayoutInput& input, Rng& rng, double leftLimit, double rightLimit,
                        double bandTop, CodeLayout& layout) {
    const double height = CapHeight(input.numberGlyphs);
    const double sizeHeight = CapHeight(input.sizeTypeGlyphs);
    const double gap = Gap(rng, sizeHeight, GapLow, GapHigh);
    const std::size_t first = layout.glyphs.size();
    const int line = static_cast<int>(layout.lines.size());
    layout.lines.push_back({LineRole::SizeType, input.sizeType, false});
    PlaceRow(input.sizeType, *input.sizeTypeGlyphs, 0, 0, {0, gap, gap, gap}, line, layout.glyphs);
    const Rect row = BoundsOf(layout.glyphs, first, input.sizeType.size());

    double drop = height * rng.Uniform(SizeTypeGapLow, SizeTypeGapHigh);
    drop = std::max(SmallestGap + 1, std::min(drop, (SizeTypeBand - SizeTypeBandSlack) * height - row.Height()));
    const double lastLeft = std::max(leftLimit, rightLimit - row.Width());
    double left = rng.Chance(LeftAlignedShare)
                      ? rng.Uniform(leftLimit, std::min(lastLeft, leftLimit + LeftAlignedReach * height))
                      : rng.Uniform(leftLimit, lastLeft);
    ShiftGlyphs(layout.glyphs, first, left - row.left, bandTop + drop - row.top);
}

void ArrangeOneLine(const LayoutInput& input, Rng& rng, CodeLayout& layout) {
    const double height = CapHeight(input.numberGlyphs);
    const double gap = Gap(rng, height, GapLow, GapHigh);
    const FrameSize frameSize = FrameSizeFor(input);
    const double ownerGap = std::max(2 * gap, height * rng.Uniform(OwnerGapLow, OwnerGapHigh));
    const double checkGap = CheckGap(input, std::max(gap, height * rng.Uniform(CheckGapLow, CheckGapHigh)), frameSize);
    layout.lines.push_back({LineRole::Number, input.number, false});
    PlaceRow(input.number, *input.numberGlyphs, 0, 0,
             {0, gap, gap, gap, ownerGap, gap, gap, gap, gap, gap, checkGap}, 0, layout.glyphs);
    const Rect check = layout.glyphs[10].Bounds();
    layout.frame = FrameAround(check, frameSize);
    const double checkLeft = layout.frame.present ? layout.frame.outer.left : check.left;
    const double first = layout.glyphs[0].left;
    const double bandTop = BoundsOf(layout.glyphs, 0, 11).bottom;
    if (input.sizeTypeUnderFirstNine) {
        const double inset = std::max(SmallestGap * 2, FirstNineInset * height);
        PlaceSizeTypeBelow(input, rng, first + inset, layout.glyphs[LastBandCharacter].Bounds().right - inset, bandTop,
                           layout);
        return;
    }
    PlaceSizeTypeBelow(input, rng, first - std::min(BelowOneLineLeftReach, FrameMargin * height),
                       checkLeft - std::max(SmallestGap * 2, CheckDigitClearance * height), bandTop, layout);
}

void ArrangeTwoLines(const LayoutInput& input, Rng& rng, CodeLayout& layout) {
    const double height = CapHeight(input.numberGlyphs);
    const double gap = Gap(rng, height, GapLow, GapHigh);
    const FrameSize frameSize = FrameSizeFor(input);
    const double checkGap = CheckGap(input, std::max(gap, height * rng.Uniform(CheckGapLow, CheckGapHigh)), frameSize);
    layout.lines.push_back({LineRole::Owner, input.number.substr(0, 4), false});
    layout.lines.push_back({LineRole::Serial, input.number.substr(4), false});
    PlaceRow(layout.lines[0].text, *input.numberGlyphs, 0, 0, {0, gap, gap, gap}, 0, layout.glyphs);
    const double serialBaseline = height * rng.Uniform(LineGapLow, LineGapHigh) + height;
    PlaceRow(layout.lines[1].text, *input.numberGlyphs, 0, serialBaseline, {0, gap, gap, gap, gap, gap, checkGap},
             1, layout.glyphs);

    // The recognizer pairs the lines only when the owner line's centre is not right of the
    // serial line's centre and within three character heights of it.
    const double ownerCentre = MeanCentreX(layout.glyphs, 0, 4);
    const double serialCentre = MeanCentreX(layout.glyphs, 4, 7);
    const double highest = serialCentre - ownerCentre - std::max(3.0, FrameMargin * height);
    const double lowest = serialCentre - ownerCentre - (3 - SizeTypeBandSlack) * height;
    const double dx = rng.Chance(LeftAlignedShare)
                          ? std::clamp(rng.Uniform(-0.1 * height, LeftAlignedReach * height), lowest, highest)
                          : rng.Uniform(lowest, highest);
    for (std::size_t i = 0; i < 4; ++i) layout.glyphs[i].left += dx;

    const Rect check = layout.glyphs[10].Bounds();
    layout.frame = FrameAround(check, frameSize);
    const double checkLeft = layout.frame.present ? layout.frame.outer.left - gap : check.left;
    PlaceSizeTypeBelow(input, rng, layout.glyphs[4].left - BelowPairLeftReach,
                       std::min(layout.glyphs[9].Bounds().right, checkLeft),
                       BoundsOf(layout.glyphs, 4, 7).bottom, layout);
}

void ArrangeVertical(const LayoutInput& input, Rng& rng, CodeLayout& layout) {
    const double height = CapHeight(input.numberGlyphs);
    const double gap = Gap(rng, height, ColumnGapLow, ColumnGapHigh);
    const FrameSize frameSize = FrameSizeFor(input);
    const double ownerGap = gap + height * rng.Uniform(ColumnOwnerGapLow, ColumnOwnerGapHigh);
    const double checkGap = CheckGap(input, gap + height * rng.Uniform(ColumnCheckGapLow, ColumnCheckGapHigh), frameSize);
    layout.lines.push_back({LineRole::Number, input.number, true});
    PlaceColumn(input.number, *input.numberGlyphs, 0, 0,
                {0, gap, gap, gap, ownerGap, gap, gap, gap, gap, gap, checkGap}, 0, layout.glyphs);
    layout.frame = FrameAround(layout.glyphs[10].Bounds(), frameSize);
    Rect column = BoundsOf(layout.glyphs, 0, 11);
    if (layout.frame.present) column = Union(column, layout.frame.outer);

    std::vector<double> widths;
    for (std::size_t i = 0; i < 11; ++i) widths.push_back(layout.glyphs[i].mask->Width());
    std::nth_element(widths.begin(), widths.begin() + 5, widths.end());
    const double charWidth = widths[5];

    const double sizeHeight = CapHeight(input.sizeTypeGlyphs);
    const std::size_t first = layout.glyphs.size();
    const double sizeGap = Gap(rng, sizeHeight, ColumnGapLow, ColumnGapHigh);
    layout.lines.push_back({LineRole::SizeType, input.sizeType, true});
    PlaceColumn(input.sizeType, *input.sizeTypeGlyphs, 0, 0, {0, sizeGap, sizeGap, sizeGap}, 1, layout.glyphs);
    const Rect stack = BoundsOf(layout.glyphs, first, 4);

    const double gapLow = std::max(SmallestGap + 1, SideGapLow * charWidth);
    const double leftRoom = column.left - stack.Width() - (layout.glyphs[5].left - LeftColumnReach * charWidth);
    const double rightRoom =
        layout.glyphs[4].Bounds().right + RightColumnReach * charWidth - stack.Width() - column.right;
    const bool onLeft = leftRoom >= gapLow && (rightRoom < gapLow || rng.Chance(0.5));
    const double room = onLeft ? leftRoom : rightRoom;
    const double sideGap = rng.Uniform(gapLow, std::max(gapLow, std::min(room, SideGapHigh * charWidth)));
    const double left = onLeft ? column.left - sideGap - stack.Width() : column.right + sideGap;

    const double firstTop = layout.glyphs[0].top + SizeTypeBandSlack * height;
    const double lastTop = layout.glyphs[10].Bounds().bottom - SizeTypeBandSlack * height - stack.Height();
    const double top = lastTop > firstTop ? rng.Uniform(firstTop, lastTop) : (firstTop + lastTop) / 2;
    ShiftGlyphs(layout.glyphs, first, left - stack.left, top - stack.top);
}

}  // namespace

Rect CodeLayout::Bounds() const {
    Rect bounds = BoundsOf(glyphs, 0, glyphs.size());
    return frame.present ? Union(bounds, frame.outer) : bounds;
}

void CodeLayout::Shift(double dx, double dy) {
    ShiftGlyphs(glyphs, 0, dx, dy);
    if (!frame.present) return;
    frame.outer = {frame.outer.left + dx, frame.outer.top + dy, frame.outer.right + dx, frame.outer.bottom + dy};
    frame.inner = {frame.inner.left + dx, frame.inner.top + dy, frame.inner.right + dx, frame.inner.bottom + dy};
}

CodeLayout ArrangeCode(const LayoutInput& input, Rng& rng) {
    CodeLayout layout;
    switch (input.layout) {
        case Layout::OneLine: ArrangeOneLine(input, rng, layout); break;
        case Layout::TwoLines: ArrangeTwoLines(input, rng, layout); break;
        case Layout::Vertical: ArrangeVertical(input, rng, layout); break;
    }
    return layout;
}

}  // namespace testimage
