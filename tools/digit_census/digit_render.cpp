#include "tools/digit_census/digit_render.h"

#include <algorithm>
#include <cmath>

#include "tools/testimage/camera.h"
#include "tools/testimage/glyphs.h"
#include "tools/testimage/random.h"

namespace digitrender {

int FontCount() { return testimage::CodeFontCount(); }

std::string FontName(int font) { return testimage::CodeFontName(font); }

GrayPatch RenderCharacter(char character, const DigitStyle& style) {
    testimage::GlyphStyle glyphStyle;
    glyphStyle.font = style.font;
    glyphStyle.capHeight = style.height;
    const testimage::GlyphMask mask = testimage::MakeGlyph(glyphStyle, character);
    constexpr int cell = testimage::Supersample;
    const int inkWidth = (mask.width + cell - 1) / cell;
    const int inkHeight = (mask.height + cell - 1) / cell;
    const int margin = std::max(4, style.height / 4);
    testimage::ImagePlanes picture(inkWidth + 2 * margin, inkHeight + 2 * margin);
    GrayPatch patch;
    patch.inkLeft = picture.width;
    patch.inkTop = picture.height;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            // The share of the pixel's cells that hold ink shades it from paper to ink.
            int ink = 0;
            for (int r = (y - margin) * cell; r < (y - margin + 1) * cell; ++r) {
                for (int c = (x - margin) * cell; c < (x - margin + 1) * cell; ++c) {
                    ink += r >= 0 && r < mask.height && c >= 0 && c < mask.width && mask.At(r, c) ? 1 : 0;
                }
            }
            const float level = static_cast<float>(PaperLevel - (PaperLevel - InkLevel) * ink / (cell * cell));
            for (auto& channel : picture.channel) channel[picture.Index(x, y)] = level;
            if (2 * ink < cell * cell) continue;
            patch.inkLeft = std::min(patch.inkLeft, x);
            patch.inkTop = std::min(patch.inkTop, y);
            patch.inkRight = std::max(patch.inkRight, x);
            patch.inkBottom = std::max(patch.inkBottom, y);
        }
    }
    testimage::ApplyBlur(picture, style.blur, 0);
    testimage::ApplyNoise(picture, style.noise, testimage::Rng(style.seed));
    patch.width = picture.width;
    patch.height = picture.height;
    patch.pixels.resize(picture.channel[0].size());
    for (std::size_t i = 0; i < patch.pixels.size(); ++i) {
        patch.pixels[i] = static_cast<std::uint8_t>(std::clamp(std::lround(picture.channel[0][i]), 0L, 255L));
    }
    return patch;
}

}  // namespace digitrender
