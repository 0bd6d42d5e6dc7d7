#include "tools/testimage/scene.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/testimage/camera.h"
#include "tools/testimage/glyphs.h"

namespace testimage {
namespace {


// Tone changes at full weathering.
constexpr double ToneScaleLarge = 90, ToneAmplitudeLarge = 0.15;
constexpr double ToneScaleSmall = 12, ToneAmplitudeSmall = 0.06;

// Trapezoidal corrugation: outer face, slope away from the light, inner face, slope to it.
constexpr double RibPeriodLow = 1.8, RibPeriodHigh = 3.0;  // of the character height
constexpr double MinRibPeriod = 24;
constexpr double OuterFace = 0.38, FirstSlope = 0.12, InnerFace = 0.38;
constexpr double SlopeDarkening = 0.45, InnerDarkening = 0.12, SlopeBrightening = 0.15;
constexpr int RibSamples = 8;

// Door locking bars: a round rod with brackets, casting a shadow on the wall.
constexpr double BarWidthLow = 0.3, BarWidthHigh = 0.5;  // of the character height
constexpr double MinBarWidth = 6;
constexpr double BracketReach = 1.2, ShadowReach = 0.6;  // of the bar width
constexpr double BracketSpacingLow = 2.0, BracketSpacingHigh = 4.0;  // of the character height
constexpr double ShadowDepth = 0.45;
constexpr double BracketHeight = 0.35;  // of the bar width
constexpr double BracketShade = 0.95;
// A rod lit from the upper left: darker at its sides, a highlight left of its middle.
constexpr double RodShadeBase = 0.55, RodShadeRound = 0.6;
constexpr double HighlightGain = 0.35, HighlightAt = 0.35, HighlightWidth = 0.08;
constexpr int PlacementTries = 16;

// A logo: a ring and a word in another face.
constexpr double RingRadiusLow = 1.0, RingRadiusHigh = 1.8;
constexpr double RingThickness = 0.22;
constexpr double WordHeightLow = 0.6, WordHeightHigh = 1.0;
constexpr double LetterSpacing = 0.08;  // of the word's height
constexpr double WordLineHeight = 1.4;
constexpr double RingToWord = 0.5;      // of the character height
constexpr double ClutterClearance = 0.4;  // of the character height
constexpr double DoorBars = 6;             // at full strength, up to this many
constexpr double SideClutter = 3;
constexpr int RingSamples = 4;

// Rust runs down from seams; dirt from the roof; grime sits in patches.
constexpr double RustStreaks = 14, RustPatches = 4, DirtStreaks = 8;
constexpr double GrimeScale = 40, GrimeCover = 0.2;
constexpr double RustGrain = 6;
constexpr float LightWallLevel = 128;  // green above this: dark paint and dark dirt read on it

const char* const Syllables[] = {"ka", "ro", "ve", "lin", "tra", "mo", "sa", "nor", "del", "fi", "cor", "tan"};

Colour Scaled(const Colour& c, double k) {
    return {static_cast<float>(c.r * k), static_cast<float>(c.g * k), static_cast<float>(c.b * k)};
}

Colour RandomColour(Rng& rng, Colour low, Colour high) {
    return {static_cast<float>(rng.Uniform(low.r, high.r)), static_cast<float>(rng.Uniform(low.g, high.g)),
            static_cast<float>(rng.Uniform(low.b, high.b))};
}

NoiseField FieldOver(const SurfacePlan& plan, std::uint64_t seed, double scale) {
    return NoiseField(seed, scale, plan.left, plan.top, plan.left + plan.width, plan.top + plan.height);
}

bool LightWall(const Surface& surface) { return surface.Plan().wall.g > LightWallLevel; }

// Weathering: faint, large changes of the wall's tone (repainted panels, fading).
void AddTone(Surface& surface, double strength, Rng& rng) {
    const SurfacePlan& plan = surface.Plan();
    const NoiseField large = FieldOver(plan, rng.Next(), ToneScaleLarge);
    const NoiseField small = FieldOver(plan, rng.Next(), ToneScaleSmall);
    for (int v = plan.top; v < plan.top + plan.height; ++v) {
        for (int u = plan.left; u < plan.left + plan.width; ++u) {
            const double tone = 1 + strength * (ToneAmplitudeLarge * (2 * large.At(u, v) - 1) +
                                                ToneAmplitudeSmall * (2 * small.At(u, v) - 1));
            surface.SetWall(u, v, Scaled(plan.wall, tone));
        }
    }
}

double RibFactor(double t, double strength) {
    if (t < OuterFace) return 1;
    if (t < OuterFace + FirstSlope) return 1 - SlopeDarkening * strength;
    if (t < OuterFace + FirstSlope + InnerFace) return 1 - InnerDarkening * strength;
    return 1 + SlopeBrightening * strength;
}

void AddRibs(Surface& surface, double strength, Rng& rng) {
    if (strength <= 0) return;
    const SurfacePlan& plan = surface.Plan();
    const double period = std::max(MinRibPeriod, plan.charHeight * rng.Uniform(RibPeriodLow, RibPeriodHigh));
    const double phase = rng.Uniform(0, period);
    for (int u = plan.left; u < plan.left + plan.width; ++u) {
        double sum = 0;
        for (int s = 0; s < RibSamples; ++s) {
            const double x = (u + (s + 0.5) / RibSamples + phase) / period;
            sum += RibFactor(x - std::floor(x), strength);
        }
        const auto factor = static_cast<float>(sum / RibSamples);
        for (int v = plan.top; v < plan.top + plan.height; ++v) surface.Shade()[surface.Index(u, v)] = factor;
    }
}

bool IsFree(const Rect& footprint, const std::vector<Rect>& taken, double clearance) {
    return std::none_of(taken.begin(), taken.end(), [&](const Rect& r) { return footprint.Grown(clearance).Overlaps(r); });
}

bool AddDoorBar(Surface& surface, std::vector<Rect>& taken, Rng& rng) {
    const SurfacePlan& plan = surface.Plan();
    const double width = std::max(MinBarWidth, plan.charHeight * rng.Uniform(BarWidthLow, BarWidthHigh));
    double centre = 0;
    Rect footprint;
    bool found = false;
    for (int i = 0; i < PlacementTries && !found; ++i) {
        centre = rng.Uniform(plan.left + width, plan.left + plan.width - width);
        footprint = {centre - BracketReach * width, static_cast<double>(plan.top), centre + (0.5 + ShadowReach) * width,
                     static_cast<double>(plan.top + plan.height)};
        found = IsFree(footprint, taken, ClutterClearance * plan.charHeight);
    }
    if (!found) return false;
    taken.push_back(footprint);

    const Colour metal = Scaled(plan.wall, rng.Uniform(0.8, 1.05));
    const double bracketSpacing = plan.charHeight * rng.Uniform(BracketSpacingLow, BracketSpacingHigh);
    const double bracketPhase = rng.Uniform(0, bracketSpacing);
    const double half = width / 2;
    for (int v = plan.top; v < plan.top + plan.height; ++v) {
        const double along = std::fmod(v - plan.top + bracketPhase, bracketSpacing);
        const bool bracket = along < width * BracketHeight;
        const double reach = bracket ? BracketReach * width : half;
        for (int u = static_cast<int>(std::floor(centre - reach)); u <= static_cast<int>(std::ceil(centre + half + ShadowReach * width)); ++u) {
            if (!surface.Contains(u, v)) continue;
            const double x = u + 0.5 - centre;
            float& shade = surface.Shade()[surface.Index(u, v)];
            if (std::fabs(x) <= reach) {
                const double t = (x + half) / width;
                const double highlight = (t - HighlightAt) / HighlightWidth;
                const double round = bracket ? BracketShade
                                             : RodShadeBase + RodShadeRound * std::sin(Pi * std::clamp(t, 0.0, 1.0)) +
                                                   HighlightGain * std::exp(-highlight * highlight);
                surface.Paint(u, v, metal, 1);
                shade = static_cast<float>(round);
            } else if (x > half) {
                const double fade = 1 - (x - half) / (ShadowReach * width);
                shade *= static_cast<float>(1 - ShadowDepth * std::clamp(fade, 0.0, 1.0));
            }
        }
    }
    return true;
}

std::string LogoWord(Rng& rng) {
    std::string word;
    const int syllables = rng.Between(2, 3);
    for (int i = 0; i < syllables; ++i) word += Syllables[rng.Between(0, static_cast<int>(std::size(Syllables)) - 1)];
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

bool AddLogo(Surface& surface, std::vector<Rect>& taken, Rng& rng) {
    const SurfacePlan& plan = surface.Plan();
    const double height = plan.charHeight;
    const double radius = height * rng.Uniform(RingRadiusLow, RingRadiusHigh);
    GlyphStyle style;
    style.font = rng.Between(0, 1);
    style.logo = true;
    style.capHeight = height * rng.Uniform(WordHeightLow, WordHeightHigh);
    GlyphCache glyphs(style);
    const std::string word = LogoWord(rng);
    double wordWidth = 0;
    for (char c : word) wordWidth += glyphs.Get(c).Width() + style.capHeight * LetterSpacing;
    const double footprintWidth = 2 * radius + height * RingToWord + wordWidth;
    const double footprintHeight = std::max(2 * radius, style.capHeight * WordLineHeight);

    Rect footprint;
    bool found = false;
    for (int i = 0; i < PlacementTries && !found; ++i) {
        const double left = rng.Uniform(plan.left + 4, plan.left + plan.width - 4 - footprintWidth);
        const double top = rng.Uniform(plan.top + 4, plan.top + plan.height - 4 - footprintHeight);
        footprint = {std::floor(left), std::floor(top), std::floor(left) + footprintWidth, std::floor(top) + footprintHeight};
        found = footprintWidth < plan.width - 8 && footprintHeight < plan.height - 8 &&
                IsFree(footprint, taken, ClutterClearance * height);
    }
    if (!found) return false;
    taken.push_back(footprint);

    const Colour colour = LightWall(surface)
                              ? (rng.Chance(0.5) ? Colour{30, 40, 90} : Colour{180, 45, 30})
                              : (rng.Chance(0.5) ? Colour{235, 235, 228} : Colour{240, 170, 40});
    const double cx = footprint.left + radius;
    const double cy = footprint.top + footprintHeight / 2;
    const double inner = radius * (1 - RingThickness);
    for (int v = static_cast<int>(cy - radius) - 1; v <= static_cast<int>(cy + radius) + 1; ++v) {
        for (int u = static_cast<int>(cx - radius) - 1; u <= static_cast<int>(cx + radius) + 1; ++u) {
            int inside = 0;
            for (int sy = 0; sy < RingSamples; ++sy) {
                for (int sx = 0; sx < RingSamples; ++sx) {
                    const double dx = u + (sx + 0.5) / RingSamples - cx;
                    const double dy = v + (sy + 0.5) / RingSamples - cy;
                    const double d = std::sqrt(dx * dx + dy * dy);
                    inside += d <= radius && d >= inner;
                }
            }
            if (inside && surface.Contains(u, v)) surface.Paint(u, v, colour, static_cast<float>(inside) / (RingSamples * RingSamples));
        }
    }

    // The word's cells fall on whole pixels: its origin is a whole pixel.
    int penX = static_cast<int>(footprint.left + 2 * radius + height * RingToWord);
    const int baseline = static_cast<int>(cy + style.capHeight / 2);
    for (char c : word) {
        const GlyphMask& mask = glyphs.Get(c);
        const int top = baseline + static_cast<int>(std::floor(mask.top));
        std::vector<int> counts(static_cast<std::size_t>((mask.width / Supersample + 1) * (mask.height / Supersample + 1)));
        const int columns = mask.width / Supersample + 1;
        for (int row = 0; row < mask.height; ++row) {
            for (int col = 0; col < mask.width; ++col) {
                if (mask.At(row, col)) ++counts[static_cast<std::size_t>(row / Supersample * columns + col / Supersample)];
            }
        }
        for (std::size_t i = 0; i < counts.size(); ++i) {
            const int u = penX + static_cast<int>(i) % columns;
            const int v = top + static_cast<int>(i) / columns;
            if (counts[i] && surface.Contains(u, v)) {
                surface.Paint(u, v, colour, static_cast<float>(counts[i]) / (Supersample * Supersample));
            }
        }
        penX += columns + static_cast<int>(style.capHeight * LetterSpacing);
    }
    return true;
}

// Doors carry several locking bars; a side wall one logo and perhaps a post or bar.
void AddClutter(Surface& surface, double strength, Rng& rng) {
    if (strength <= 0) return;
    std::vector<Rect> taken{surface.Plan().keepClear};
    if (surface.Plan().doors) {
        const int bars = static_cast<int>(std::lround(strength * DoorBars * rng.Uniform(0.5, 1.0)));
        for (int i = 0; i < bars; ++i) AddDoorBar(surface, taken, rng);
        return;
    }
    const int count = static_cast<int>(strength * SideClutter + rng.Uniform());
    for (int i = 0; i < count; ++i) {
        if (i == 0) {
            AddLogo(surface, taken, rng);
        } else {
            AddDoorBar(surface, taken, rng);
        }
    }
}

// A streak running down from (u0, v0): `width` across, fading over `length`.
void AddStreak(Surface& surface, double u0, double v0, double length, double width, double cover,
               const Colour& colour, double wander, Rng& rng) {
    const double phase = rng.Uniform(0, 2 * Pi);
    for (int v = static_cast<int>(v0); v < static_cast<int>(v0 + length); ++v) {
        const double t = (v - v0) / length;
        const double along = cover * std::pow(1 - std::clamp(t, 0.0, 1.0), 1.5);
        const double centre = u0 + wander * std::sin(v / 23.0 + phase);
        for (int u = static_cast<int>(centre - 3 * width); u <= static_cast<int>(centre + 3 * width); ++u) {
            if (!surface.Contains(u, v)) continue;
            const double across = (u + 0.5 - centre) / width;
            surface.Stain(u, v, colour, static_cast<float>(along * std::exp(-across * across)));
        }
    }
}

void AddRust(Surface& surface, double strength, Rng& rng) {
    if (strength <= 0) return;
    const SurfacePlan& plan = surface.Plan();
    const int streaks = static_cast<int>(std::round(strength * RustStreaks * rng.Uniform(0.5, 1.5)));
    for (int i = 0; i < streaks; ++i) {
        const Colour rust = RandomColour(rng, {110, 50, 20}, {160, 80, 40});
        AddStreak(surface, rng.Uniform(plan.left, plan.left + plan.width), rng.Uniform(plan.top, plan.top + 0.7 * plan.height),
                  plan.height * rng.Uniform(0.1, 0.5), rng.Uniform(0.8, 3.5), strength * rng.Uniform(0.35, 0.9), rust, 2.5, rng);
    }
    const int patches = static_cast<int>(std::round(strength * RustPatches * rng.Uniform(0.5, 1.5)));
    const Colour rust{95, 50, 30};
    for (int i = 0; i < patches; ++i) {
        const double cx = rng.Uniform(plan.left, plan.left + plan.width);
        const double cy = rng.Uniform(plan.top, plan.top + plan.height);
        const double radius = plan.charHeight * rng.Uniform(0.3, 1.5);
        const NoiseField roughness(rng.Next(), RustGrain, cx - radius, cy - radius, cx + radius, cy + radius);
        for (int v = static_cast<int>(cy - radius); v <= static_cast<int>(cy + radius); ++v) {
            for (int u = static_cast<int>(cx - radius); u <= static_cast<int>(cx + radius); ++u) {
                if (!surface.Contains(u, v)) continue;
                const double d = std::hypot(u - cx, v - cy) / radius;
                const double rough = roughness.At(u, v) - 0.5;
                const double cover = std::clamp((1 - d) * 1.5 + rough * 1.2 - 0.2, 0.0, 1.0) * 0.8 * strength;
                if (cover > 0) surface.Stain(u, v, rust, static_cast<float>(cover));
            }
        }
    }
}

void AddDirt(Surface& surface, double strength, Rng& rng) {
    if (strength <= 0) return;
    const SurfacePlan& plan = surface.Plan();
    const Colour grime = LightWall(surface) ? Colour{55, 52, 45} : Colour{175, 170, 155};
    const int streaks = static_cast<int>(std::round(strength * DirtStreaks * rng.Uniform(0.5, 1.5)));
    for (int i = 0; i < streaks; ++i) {
        AddStreak(surface, rng.Uniform(plan.left, plan.left + plan.width), rng.Uniform(plan.top - 0.2 * plan.height, plan.top + 0.5 * plan.height),
                  plan.height * rng.Uniform(0.3, 1.0), rng.Uniform(3, 20), strength * rng.Uniform(0.12, 0.35), grime, 6, rng);
    }
    const NoiseField patches = FieldOver(plan, rng.Next(), GrimeScale);
    for (int v = plan.top; v < plan.top + plan.height; ++v) {
        for (int u = plan.left; u < plan.left + plan.width; ++u) {
            const double patch = std::clamp((patches.At(u, v) - 0.4) * 2.5, 0.0, 1.0);
            if (patch > 0) surface.Stain(u, v, grime, static_cast<float>(strength * GrimeCover * patch));
        }
    }
}

}  // namespace

Surface::Surface(const SurfacePlan& plan) : plan_(plan) {
    const auto size = static_cast<std::size_t>(plan.width) * static_cast<std::size_t>(plan.height);
    for (auto* plane : {&r_, &g_, &b_}) *plane = TakePlane(size);  // the wall's tone sets every pixel
    for (auto* plane : {&overR_, &overG_, &overB_, &overA_}) *plane = TakePlane(size, 0.0f);
    shade_ = TakePlane(size, 1.0f);
}

Surface::~Surface() {
    for (auto* plane : {&r_, &g_, &b_, &shade_, &overR_, &overG_, &overB_, &overA_}) ReturnPlane(*plane);
}

bool Surface::Contains(int u, int v) const {
    return u >= plan_.left && v >= plan_.top && u < plan_.left + plan_.width && v < plan_.top + plan_.height;
}

std::size_t Surface::Index(int u, int v) const {
    return static_cast<std::size_t>(v - plan_.top) * static_cast<std::size_t>(plan_.width) + static_cast<std::size_t>(u - plan_.left);
}

void Surface::SetWall(int u, int v, const Colour& colour) {
    const std::size_t i = Index(u, v);
    r_[i] = colour.r;
    g_[i] = colour.g;
    b_[i] = colour.b;
}

void Surface::Paint(int u, int v, const Colour& colour, float cover) {
    const std::size_t i = Index(u, v);
    r_[i] += (colour.r - r_[i]) * cover;
    g_[i] += (colour.g - g_[i]) * cover;
    b_[i] += (colour.b - b_[i]) * cover;
}

void Surface::Stain(int u, int v, const Colour& colour, float cover) {
    const std::size_t i = Index(u, v);
    overR_[i] = colour.r * cover + overR_[i] * (1 - cover);
    overG_[i] = colour.g * cover + overG_[i] * (1 - cover);
    overB_[i] = colour.b * cover + overB_[i] * (1 - cover);
    overA_[i] = cover + overA_[i] * (1 - cover);
}

SurfaceSample Surface::At(double u, double v) const {
    const double x = std::clamp(u - plan_.left - 0.5, 0.0, plan_.width - 1.0);
    const double y = std::clamp(v - plan_.top - 0.5, 0.0, plan_.height - 1.0);
    // The surface always spans more than one pixel each way (it covers a whole camera view).
    const int x0 = std::min(static_cast<int>(x), plan_.width - 2);
    const int y0 = std::min(static_cast<int>(y), plan_.height - 2);
    const int x1 = x0 + 1;
    const int y1 = y0 + 1;
    const auto fx = static_cast<float>(x - x0);
    const auto fy = static_cast<float>(y - y0);
    const std::size_t w = static_cast<std::size_t>(plan_.width);
    const std::size_t i00 = static_cast<std::size_t>(y0) * w + static_cast<std::size_t>(x0);
    const std::size_t i01 = static_cast<std::size_t>(y0) * w + static_cast<std::size_t>(x1);
    const std::size_t i10 = static_cast<std::size_t>(y1) * w + static_cast<std::size_t>(x0);
    const std::size_t i11 = static_cast<std::size_t>(y1) * w + static_cast<std::size_t>(x1);
    auto blend = [&](const std::vector<float>& p) {
        const float top = p[i00] + (p[i01] - p[i00]) * fx;
        const float bottom = p[i10] + (p[i11] - p[i10]) * fx;
        return top + (bottom - top) * fy;
    };
    return {{blend(r_), blend(g_), blend(b_)}, blend(shade_), {blend(overR_), blend(overG_), blend(overB_)}, blend(overA_)};
}

Surface BuildSurface(const SurfacePlan& plan, Rng rng) {
    Surface surface(plan);
    Rng tone = rng.Fork(1), ribs = rng.Fork(2), clutter = rng.Fork(3), rust = rng.Fork(4), dirt = rng.Fork(5);
    AddTone(surface, plan.effects.dirt, tone);
    AddRibs(surface, plan.effects.ribs, ribs);
    AddClutter(surface, plan.effects.clutter, clutter);
    AddRust(surface, plan.effects.rust, rust);
    AddDirt(surface, plan.effects.dirt, dirt);
    return surface;
}

}  // namespace testimage
