// Renders one frame: the look of the container, the markings placed where the recognizer looks,
// the paint's cover through the camera's map, the wall, and the camera's effects.
#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "tools/testimage/camera.h"
#include "tools/testimage/codes.h"
#include "tools/testimage/geometry.h"
#include "tools/testimage/glyphs.h"
#include "tools/testimage/layout.h"
#include "tools/testimage/random.h"
#include "tools/testimage/scene.h"
#include "tools/testimage/test_image.h"

namespace testimage {
namespace {

constexpr double Degree = Pi / 180;

// Sizes as painted and photographed.
constexpr int MinCharHeight = 26;  // the recognizer finds no line of boxes under 22 rows
constexpr int MaxCharHeight = 70;
constexpr int MinStroke = 3, MaxStroke = 9;
constexpr double StrokeRatioLow = 0.11, StrokeRatioHigh = 0.16;
constexpr double SizeTypeRatioLow = 0.75, SizeTypeRatioHigh = 1.0;
constexpr double AspectLow = 0.85, AspectHigh = 1.05;
constexpr double MaxRotationDegrees = 3;
constexpr double MaxKeystone = 2.5e-4;  // per pixel from the view's centre

// Limits of what a request may ask for.
constexpr int MinFrameSide = 64, MaxFrameSide = 4096;
constexpr int MinRequestedHeight = 8, MaxRequestedHeight = 200;
constexpr int MaxRequestedStroke = 40;
constexpr int MaxLevel = 255;
constexpr double MaxRequestedRotation = 45;
constexpr int MaxRequestedCheckGap = 400;

// Placement.
constexpr int FrameMargin = 8;         // without a text area, markings stay this far inside
constexpr int PlacementAttempts = 24;
constexpr int StraightAfter = 12;      // attempts with rotation and keystone before doing without
constexpr double ShrinkStep = 0.95;
constexpr double FitReserve = 0.97;
constexpr double RuleMargin = 2;       // pixels kept from each limit of the reading rules
constexpr double HeightReserve = 0.97; // the recognizer measures heights from its own boxes
constexpr double ClutterClearance = 0.5;

// The camera-2 recognizer searches x 4 to 568, y 8 to 792; camera 1 inside its default margins.
constexpr Box Camera2Region{4, 8, 568, 792};
constexpr Box Camera1Region{220, 140, 699, 349};
constexpr int RegionInset = 6;
// The rear recognizer measures characters up to 26 columns wide: a bold character of 36 rows
// is about that wide, and the rear camera sees the doors from farther away than the side.
constexpr int RearMaxCharHeight = 36;
constexpr double RearBlur = 0.3;

// Wall tones under dark paint and under light paint; containers are painted for contrast.
struct WallTones {
    Colour light;
    Colour dark;
};
constexpr WallTones WallColours[] = {
    {{180, 182, 178}, {88, 90, 94}},     // gray
    {{205, 90, 70}, {140, 38, 30}},      // red
    {{125, 160, 200}, {30, 62, 125}},    // blue
    {{135, 175, 140}, {38, 96, 62}},     // green
    {{226, 227, 221}, {150, 152, 150}},  // white
};
constexpr double WallJitter = 0.08;
constexpr double WearCover = 0.7, WearScale = 5;

struct Look {
    std::string number;
    std::string sizeType;
    Wall wall = Wall::Gray;
    Paint paint = Paint::DarkOnLight;
    Colour wallColour;
    Colour paintColour;
    int font = 0;
    double aspect = 1;
    bool checkFrame = false;
};

struct Placement {
    std::unique_ptr<GlyphCache> numberGlyphs;
    std::unique_ptr<GlyphCache> sizeTypeGlyphs;
    CodeLayout layout;   // around the origin
    Homography toImage;  // layout coordinates to image pixels
    double angle = 0;
    int charHeight = 0;
    int sizeTypeHeight = 0;
    int stroke = 0;
    int sizeTypeStroke = 0;
};

bool SameBox(const Box& a, const Box& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void Extend(Box& box, int x, int y) {
    if (box.Empty()) {
        box = {x, y, x, y};
        return;
    }
    box.left = std::min(box.left, x);
    box.top = std::min(box.top, y);
    box.right = std::max(box.right, x);
    box.bottom = std::max(box.bottom, y);
}

Box Grown(const Box& box, int by) { return {box.left - by, box.top - by, box.right + by, box.bottom + by}; }

Box UnionBox(const Box& a, const Box& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void Validate(const FrameRequest& request) {
    auto refuse = [](const std::string& why) { throw std::runtime_error("bad frame request: " + why); };
    if (request.width < MinFrameSide || request.width > MaxFrameSide || request.height < MinFrameSide ||
        request.height > MaxFrameSide) {
        refuse("frame size " + std::to_string(request.width) + " x " + std::to_string(request.height));
    }
    if (!request.number.empty() && !IsWellFormedNumber(request.number)) refuse("number \"" + request.number + "\"");
    if (!request.sizeType.empty() && !IsWellFormedSizeType(request.sizeType)) {
        refuse("size/type code \"" + request.sizeType + "\"");
    }
    for (int height : {request.charHeight, request.sizeTypeHeight}) {
        if (height != 0 && (height < MinRequestedHeight || height > MaxRequestedHeight)) {
            refuse("character height " + std::to_string(height));
        }
    }
    if (request.strokeWidth < 0 || request.strokeWidth > MaxRequestedStroke) {
        refuse("stroke width " + std::to_string(request.strokeWidth));
    }
    if (request.font < -1 || request.font >= CodeFontCount()) refuse("font " + std::to_string(request.font));
    for (const std::optional<int>& level : {request.wallLevel, request.paintLevel}) {
        if (level && (*level < 0 || *level > MaxLevel)) refuse("gray level " + std::to_string(*level));
    }
    if (request.rotationDegrees && !(std::abs(*request.rotationDegrees) <= MaxRequestedRotation)) refuse("rotation");
    if (request.checkDigitGap < 0 || request.checkDigitGap > MaxRequestedCheckGap) {
        refuse("check digit gap " + std::to_string(request.checkDigitGap));
    }
    for (const std::optional<double>& place : {request.placeX, request.placeY}) {
        if (place && !(*place >= 0 && *place <= 1)) refuse("place in the text area");
    }
    for (const EffectName& effect : EffectNames) {
        const double strength = request.effects.*effect.strength;
        if (!(strength >= 0 && strength <= 1)) refuse(std::string("strength of ") + effect.name);
    }
}

Colour Gray(int level) {
    const auto value = static_cast<float>(level);
    return {value, value, value};
}

Look DrawLook(const FrameRequest& request, Rng rng) {
    Look look;
    look.number = request.number.empty() ? RandomContainerNumber(rng) : request.number;
    look.sizeType = request.sizeType.empty() ? RandomSizeType(rng) : request.sizeType;
    look.wall = request.wall ? *request.wall : DrawWall(rng);
    look.paint = request.paint ? *request.paint : DrawPaint(look.wall, rng);
    const WallTones& tones = WallColours[static_cast<int>(look.wall)];
    const Colour& tone = look.paint == Paint::DarkOnLight ? tones.light : tones.dark;
    look.wallColour = {static_cast<float>(tone.r * (1 + rng.Symmetric(WallJitter))),
                       static_cast<float>(tone.g * (1 + rng.Symmetric(WallJitter))),
                       static_cast<float>(tone.b * (1 + rng.Symmetric(WallJitter)))};
    if (look.paint == Paint::DarkOnLight) {
        const auto level = static_cast<float>(rng.Uniform(20, 45));
        look.paintColour = {level, level, static_cast<float>(level * rng.Uniform(1.0, 1.4))};
    } else {
        const auto level = static_cast<float>(rng.Uniform(222, 242));
        look.paintColour = {level, level, static_cast<float>(level * rng.Uniform(0.96, 1.0))};
    }
    if (request.wallLevel) look.wallColour = Gray(*request.wallLevel);
    if (request.paintLevel) look.paintColour = Gray(*request.paintLevel);
    look.font = request.font >= 0 ? request.font : rng.Between(0, CodeFontCount() - 1);
    look.aspect = rng.Uniform(AspectLow, AspectHigh);
    look.checkFrame = request.checkFrame ? *request.checkFrame : rng.Chance(CheckFrameShare);
    return look;
}

Placement Arrange(const FrameRequest& request, const Look& look, Layout layout, int height, Rng& rng) {
    Placement placement;
    placement.charHeight = height;
    placement.stroke = request.strokeWidth > 0
                           ? request.strokeWidth
                           : std::clamp(static_cast<int>(std::lround(height * rng.Uniform(StrokeRatioLow, StrokeRatioHigh))), MinStroke, MaxStroke);
    placement.sizeTypeHeight =
        request.sizeTypeHeight > 0
            ? request.sizeTypeHeight
            : std::min(height, std::max(MinCharHeight, static_cast<int>(std::lround(height * rng.Uniform(SizeTypeRatioLow, SizeTypeRatioHigh)))));
    placement.sizeTypeStroke = std::clamp(static_cast<int>(std::lround(placement.stroke * placement.sizeTypeHeight / static_cast<double>(height))),
                                          std::min(MinStroke, placement.stroke), MaxStroke);
    placement.numberGlyphs = std::make_unique<GlyphCache>(GlyphStyle{look.font, false, static_cast<double>(height), look.aspect, static_cast<double>(placement.stroke)});
    placement.sizeTypeGlyphs = std::make_unique<GlyphCache>(
        GlyphStyle{look.font, false, static_cast<double>(placement.sizeTypeHeight), look.aspect, static_cast<double>(placement.sizeTypeStroke)});
    LayoutInput input{layout, look.number, look.sizeType, placement.numberGlyphs.get(), placement.sizeTypeGlyphs.get(),
                      look.checkFrame, request.sizeTypeUnderFirstNine, request.checkDigitGap};
    placement.layout = ArrangeCode(input, rng);
    const Rect bounds = placement.layout.Bounds();
    placement.layout.Shift(-bounds.CentreX(), -(bounds.top + bounds.bottom) / 2);
    return placement;
}

Rect MappedBounds(const Rect& rect, const Homography& map) {
    const Point corners[] = {map.Map(rect.left, rect.top), map.Map(rect.right, rect.top), map.Map(rect.left, rect.bottom),
                             map.Map(rect.right, rect.bottom)};
    Rect bounds{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const Point& p : corners) bounds = Union(bounds, {p.x, p.y, p.x, p.y});
    return bounds;
}

std::vector<Rect> MappedGlyphBounds(const CodeLayout& layout, const Homography& map) {
    std::vector<Rect> boxes;
    for (const PlacedGlyph& glyph : layout.glyphs) boxes.push_back(MappedBounds(glyph.Bounds(), map));
    return boxes;
}

Rect ExtentUnder(const CodeLayout& layout, const Homography& map) {
    Rect extent = MappedBounds(layout.Bounds(), map);
    for (const Rect& box : MappedGlyphBounds(layout, map)) extent = Union(extent, box);
    return extent;
}

std::vector<Rect> LineBoxes(const CodeLayout& layout, const std::vector<Rect>& boxes, int line) {
    std::vector<Rect> result;
    for (std::size_t i = 0; i < layout.glyphs.size(); ++i) {
        if (layout.glyphs[i].line == line) result.push_back(boxes[i]);
    }
    return result;
}

double MeanCentre(const std::vector<Rect>& boxes) {
    double sum = 0;
    for (const Rect& box : boxes) sum += box.CentreX();
    return sum / static_cast<double>(boxes.size());
}

// The size/type code must lie in the band where the recognizer looks once it has the number.
bool InBandBelow(const std::vector<Rect>& sizeType, double left, double right, double bandTop, double height) {
    return std::all_of(sizeType.begin(), sizeType.end(), [&](const Rect& box) {
        return box.left >= left + RuleMargin && box.right <= right - RuleMargin && box.top >= bandTop + RuleMargin &&
               box.bottom <= bandTop + 2 * height * HeightReserve - RuleMargin;
    });
}

// Under the first nine characters: from the left of character 0 to the right of character 8,
// from the middle of the bottoms of characters 0 and 9, and no character standing alone in the
// gap after the owner code (a size/type line of 5 to 8 boxes loses those).
bool UnderFirstNine(const std::vector<Rect>& number, const std::vector<Rect>& sizeType, double height) {
    const bool inGap = std::any_of(sizeType.begin(), sizeType.end(), [&](const Rect& box) {
        return box.left > number[3].right - 2 * RuleMargin && box.right < number[4].left + RuleMargin;
    });
    return !inGap && InBandBelow(sizeType, number[0].left, number[8].right, (number[0].bottom + number[9].bottom) / 2, height);
}

bool FollowsReadingRules(const Placement& placement, Layout layout, bool sizeTypeUnderFirstNine) {
    const std::vector<Rect> boxes = MappedGlyphBounds(placement.layout, placement.toImage);
    const double height = placement.charHeight;
    if (layout == Layout::OneLine && sizeTypeUnderFirstNine) {
        return UnderFirstNine(LineBoxes(placement.layout, boxes, 0), LineBoxes(placement.layout, boxes, 1), height);
    }
    if (layout == Layout::OneLine) {
        const auto number = LineBoxes(placement.layout, boxes, 0);
        return InBandBelow(LineBoxes(placement.layout, boxes, 1), number[0].left - 16, number[10].left,
                           std::max(number[0].bottom, number[8].bottom), height);
    }
    if (layout == Layout::TwoLines) {
        const auto owner = LineBoxes(placement.layout, boxes, 0);
        const auto serial = LineBoxes(placement.layout, boxes, 1);
        const double ownerCentre = MeanCentre(owner), serialCentre = MeanCentre(serial);
        return ownerCentre <= serialCentre - RuleMargin && serialCentre - ownerCentre <= 3 * height * HeightReserve &&
               InBandBelow(LineBoxes(placement.layout, boxes, 2), serial[0].left - 8, serial[6].right,
                           std::max(serial[0].bottom, serial[4].bottom), height);
    }
    const auto column = LineBoxes(placement.layout, boxes, 0);
    const auto stack = LineBoxes(placement.layout, boxes, 1);
    std::vector<double> widths;
    for (const Rect& box : column) widths.push_back(box.Width());
    std::nth_element(widths.begin(), widths.begin() + 5, widths.end());
    const double width = widths[5] * HeightReserve;
    const auto all = [&](auto test) { return std::all_of(stack.begin(), stack.end(), test); };
    const bool alongside = all([&](const Rect& b) { return b.top >= column[0].top && b.bottom <= column[10].bottom; });
    const bool left = all([&](const Rect& b) { return b.right <= column[5].left - RuleMargin && b.left >= column[5].left - 4 * width; });
    const bool right = all([&](const Rect& b) { return b.left >= column[4].right + RuleMargin && b.right <= column[4].right + 8 * width; });
    return alongside && (left || right);
}

Box AreaFor(const FrameRequest& request) {
    const Box whole{FrameMargin, FrameMargin, request.width - 1 - FrameMargin, request.height - 1 - FrameMargin};
    if (request.textArea.Empty()) return whole;
    return {std::max(0, request.textArea.left), std::max(0, request.textArea.top), std::min(request.width - 1, request.textArea.right),
            std::min(request.height - 1, request.textArea.bottom)};
}

int HighestFittingHeight(const FrameRequest& request, const Look& look, Layout layout, const Box& area, const Rng& rng) {
    Rng probe = rng.Fork(1);
    const Placement largest = Arrange(request, look, layout, MaxCharHeight, probe);
    const Rect bounds = largest.layout.Bounds();
    const double scale = std::min((area.Width() - 2) / bounds.Width(), (area.Height() - 2) / bounds.Height());
    return static_cast<int>(MaxCharHeight * scale * FitReserve);
}

// A point between low and high: drawn, or at the requested share of the way.
double PlaceWithin(Rng& rng, double low, double high, const std::optional<double>& share) {
    const double drawn = rng.Uniform(low, high);
    return share ? low + *share * (high - low) : drawn;
}

Placement PlaceMarkings(const FrameRequest& request, const Look& look, Layout layout, Rng rng) {
    const Box whole{FrameMargin, FrameMargin, request.width - 1 - FrameMargin, request.height - 1 - FrameMargin};
    Box area = AreaFor(request);
    int height = request.charHeight;
    if (height == 0) {
        int highest = HighestFittingHeight(request, look, layout, area, rng);
        if (highest < MinCharHeight && !SameBox(area, whole)) {
            area = whole;
            highest = HighestFittingHeight(request, look, layout, area, rng);
        }
        const int ceiling = request.maxCharHeight > 0 ? request.maxCharHeight : MaxCharHeight;
        height = rng.Between(MinCharHeight, std::clamp(highest, MinCharHeight, ceiling));
    }
    const Effects& effects = request.effects;
    const double drawnAngle = rng.Symmetric(MaxRotationDegrees * effects.rotation) * Degree;
    const double fixedAngle = request.rotationDegrees ? *request.rotationDegrees * Degree : 0;
    double angle = request.rotationDegrees ? fixedAngle : drawnAngle;
    double px = rng.Symmetric(MaxKeystone * effects.perspective);
    double py = rng.Symmetric(MaxKeystone * effects.perspective);
    for (int attempt = 0; attempt < PlacementAttempts; ++attempt) {
        if (attempt == StraightAfter) {
            angle = fixedAngle;
            px = py = 0;
        }
        Placement placement = Arrange(request, look, layout, height, rng);
        const Homography local = Homography::Rotation(angle) * Homography::Keystone(px, py);
        const Rect extent = ExtentUnder(placement.layout, local);
        if (extent.Width() > area.Width() - 1 || extent.Height() > area.Height() - 1) {
            if (request.charHeight == 0 && height > MinCharHeight) {
                height = std::max(MinCharHeight, static_cast<int>(height * ShrinkStep));
            } else if (!SameBox(area, whole)) {
                area = whole;
            } else if (angle != fixedAngle || px != 0 || py != 0) {
                angle = fixedAngle;
                px = py = 0;
            } else {
                break;  // too large for the frame at any placement
            }
            continue;
        }
        const double cx = PlaceWithin(rng, area.left - extent.left, area.right + 1 - extent.right, request.placeX);
        const double cy = PlaceWithin(rng, area.top - extent.top, area.bottom + 1 - extent.bottom, request.placeY);
        placement.toImage = Homography::Translation(cx, cy) * local;
        placement.angle = angle;
        if (FollowsReadingRules(placement, layout, request.sizeTypeUnderFirstNine)) return placement;
    }
    throw std::runtime_error(std::string("cannot place a ") + LayoutName(layout) + " code of character height " +
                             std::to_string(height) + " in a " + std::to_string(request.width) + " x " +
                             std::to_string(request.height) + " frame");
}

struct InkResult {
    std::vector<std::uint8_t> ink;
    std::vector<Box> glyphBoxes;
    Box frameBox;
};

// Paint cover of each pixel, sampled Supersample x Supersample times through the camera's map;
// the box of an element holds the pixels it covers at least half.
template <typename Inside>
Box Cover(const Rect& bounds, const Homography& toImage, const Homography& back, int width, int height,
          std::vector<std::uint8_t>& ink, Inside inside) {
    const Rect image = MappedBounds(bounds, toImage);
    const int x0 = std::max(0, static_cast<int>(std::floor(image.left)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(image.top)) - 1);
    const int x1 = std::min(width - 1, static_cast<int>(std::ceil(image.right)) + 1);
    const int y1 = std::min(height - 1, static_cast<int>(std::ceil(image.bottom)) + 1);
    constexpr int Samples = Supersample * Supersample;
    Box box;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int count = 0;
            for (int sy = 0; sy < Supersample; ++sy) {
                for (int sx = 0; sx < Supersample; ++sx) {
                    count += inside(back.Map(x + (sx + 0.5) / Supersample, y + (sy + 0.5) / Supersample)) ? 1 : 0;
                }
            }
            if (count == 0) continue;
            std::uint8_t& cell = ink[static_cast<std::size_t>(y) * width + x];
            cell = std::max(cell, static_cast<std::uint8_t>((count * 255 + Samples / 2) / Samples));
            if (2 * count >= Samples) Extend(box, x, y);
        }
    }
    return box;
}

InkResult RasterizeInk(const Placement& placement, int width, int height) {
    InkResult result;
    result.ink.assign(static_cast<std::size_t>(width) * height, 0);
    const Homography back = placement.toImage.Inverse();
    for (const PlacedGlyph& glyph : placement.layout.glyphs) {
        result.glyphBoxes.push_back(Cover(glyph.Bounds(), placement.toImage, back, width, height, result.ink, [&](Point p) {
            const int col = static_cast<int>(std::floor((p.x - glyph.left) * Supersample));
            const int row = static_cast<int>(std::floor((p.y - glyph.top) * Supersample));
            return col >= 0 && row >= 0 && col < glyph.mask->width && row < glyph.mask->height && glyph.mask->At(row, col);
        }));
    }
    const CheckFrame& frame = placement.layout.frame;
    if (frame.present) {
        const auto within = [](const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; };
        result.frameBox = Cover(frame.outer, placement.toImage, back, width, height, result.ink,
                                [&](Point p) { return within(frame.outer, p) && !within(frame.inner, p); });
    }
    return result;
}

SurfacePlan PlanFor(const FrameRequest& request, const Look& look, const Placement& placement) {
    const Homography back = placement.toImage.Inverse();
    const Rect view = MappedBounds({0, 0, static_cast<double>(request.width), static_cast<double>(request.height)}, back);
    SurfacePlan plan;
    plan.left = static_cast<int>(std::floor(view.left)) - 2;
    plan.top = static_cast<int>(std::floor(view.top)) - 2;
    plan.width = static_cast<int>(std::ceil(view.right)) + 2 - plan.left;
    plan.height = static_cast<int>(std::ceil(view.bottom)) + 2 - plan.top;
    plan.wall = look.wallColour;
    plan.paint = look.paintColour;
    plan.charHeight = placement.charHeight;
    plan.keepClear = placement.layout.Bounds().Grown(ClutterClearance * placement.charHeight);
    plan.doors = request.rearView;
    plan.effects = request.effects;
    return plan;
}

ImagePlanes Composite(const Surface& surface, const Look& look, const Placement& placement, const std::vector<std::uint8_t>& ink,
                      double wear, std::uint64_t wearSeed, int width, int height) {
    ImagePlanes image(width, height);
    const Homography back = placement.toImage.Inverse();
    const Colour& paint = look.paintColour;
    const NoiseField worn(wearSeed, WearScale, 0, 0, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Point at = back.Map(x + 0.5, y + 0.5);
            const SurfaceSample s = surface.At(at.x, at.y);
            const std::size_t i = image.Index(x, y);
            float cover = ink[i] / 255.0f;
            if (cover > 0 && wear > 0) {
                const double patch = std::clamp((worn.At(x, y) - 0.45) * 3, 0.0, 1.0);
                cover *= static_cast<float>(1 - wear * WearCover * patch);
            }
            const float keep = 1 - s.overCover;
            image.channel[0][i] = ((s.albedo.r * (1 - cover) + paint.r * cover) * keep + s.over.r) * s.shade;
            image.channel[1][i] = ((s.albedo.g * (1 - cover) + paint.g * cover) * keep + s.over.g) * s.shade;
            image.channel[2][i] = ((s.albedo.b * (1 - cover) + paint.b * cover) * keep + s.over.b) * s.shade;
        }
    }
    return image;
}

Truth MakeTruth(const FrameRequest& request, const Look& look, Layout layout, const Placement& placement, const InkResult& ink) {
    Truth truth;
    truth.width = request.width;
    truth.height = request.height;
    truth.seed = request.seed;
    truth.number = look.number;
    truth.sizeType = look.sizeType;
    truth.layout = layout;
    truth.charHeight = placement.charHeight;
    truth.strokeWidth = placement.stroke;
    truth.sizeTypeHeight = placement.sizeTypeHeight;
    truth.sizeTypeStroke = placement.sizeTypeStroke;
    truth.font = CodeFontName(look.font);
    truth.paint = look.paint;
    truth.wall = look.wall;
    truth.checkFrame = placement.layout.frame.present;
    truth.checkFrameBox = ink.frameBox;
    truth.rotation = placement.angle / Degree;
    truth.effects = request.effects;
    for (const PlacedLine& placed : placement.layout.lines) {
        LineTruth line;
        line.role = placed.role;
        line.text = placed.text;
        line.vertical = placed.vertical;
        truth.lines.push_back(line);
    }
    for (std::size_t i = 0; i < placement.layout.glyphs.size(); ++i) {
        LineTruth& line = truth.lines[static_cast<std::size_t>(placement.layout.glyphs[i].line)];
        line.chars.push_back({placement.layout.glyphs[i].ch, ink.glyphBoxes[i]});
        line.box = UnionBox(line.box, ink.glyphBoxes[i]);
    }
    return truth;
}

}  // namespace

Effects SeenByCamera(Effects effects, int camera) {
    if (camera == 1) {
        effects.blur = std::min(effects.blur, RearBlur);
        effects.motion = 0;
    }
    return effects;
}

FrameRequest CameraFrameRequest(int camera, std::uint64_t seed) {
    FrameRequest request;
    request.seed = seed;
    if (camera == 1) {
        request.width = 800;
        request.height = 600;
        request.textArea = Grown(Camera1Region, -RegionInset);
        request.layout = Layout::OneLine;  // the rear recognizer reads one horizontal line
        request.rearView = true;
        request.sizeTypeUnderFirstNine = true;
        request.maxCharHeight = RearMaxCharHeight;
        request.effects = SeenByCamera(request.effects, camera);
    } else {
        request.textArea = Grown(Camera2Region, -RegionInset);
    }
    return request;
}

Frame RenderFrame(const FrameRequest& request) {
    RequireCodeFonts();
    Validate(request);
    const Rng rng(request.seed);
    const Look look = DrawLook(request, rng.Fork(1));
    Rng layoutRng = rng.Fork(2);
    const Layout layout = request.layout ? *request.layout : static_cast<Layout>(layoutRng.Between(0, 2));
    const Placement placement = PlaceMarkings(request, look, layout, rng.Fork(3));
    InkResult ink = RasterizeInk(placement, request.width, request.height);

    const Surface surface = BuildSurface(PlanFor(request, look, placement), rng.Fork(4));
    ImagePlanes image = Composite(surface, look, placement, ink.ink, request.effects.wear, rng.Fork(5).Next(), request.width, request.height);
    ApplyLight(image, request.effects.light, rng.Fork(6));
    ApplyBlur(image, request.effects.blur, request.effects.motion);
    ApplyNoise(image, request.effects.noise, rng.Fork(7));

    Frame frame;
    frame.colour = ToColourImage(image);
    if (const int quality = JpegQuality(request.effects.jpeg)) {
        frame.jpeg = EncodeJpeg(frame.colour, quality);
        frame.colour = QImage::fromData(frame.jpeg, "JPG").convertToFormat(QImage::Format_RGB888);
    }
    frame.gray.resize(static_cast<std::size_t>(request.width) * request.height);
    for (int y = 0; y < request.height; ++y) {
        const uchar* line = frame.colour.constScanLine(y);
        for (int x = 0; x < request.width; ++x) frame.gray[static_cast<std::size_t>(y) * request.width + x] = line[3 * x + 1];
    }
    frame.truth = MakeTruth(request, look, layout, placement, ink);
    frame.ink = std::move(ink.ink);
    return frame;
}

}  // namespace testimage
