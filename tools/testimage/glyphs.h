// Character shapes: fonts loaded from their files, each glyph rasterized finely and its strokes
// grown or thinned to the painted width.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testimage {

// Glyph masks have this many cells a pixel in each direction.
inline constexpr int Supersample = 4;

// Fonts are read from their files on first use.
int CodeFontCount();
// Throws std::runtime_error naming the packages to install when no code font is found.
void RequireCodeFonts();
std::string CodeFontName(int font);

struct GlyphStyle {
    int font = 0;
    bool logo = false;       // font indexes the serif logo faces (a code font when none)
    double capHeight = 40;   // pixels from the baseline to the top of "H"
    double aspect = 1;       // horizontal stretch
    double stroke = 0;       // stem width in pixels; 0 keeps the font's own
};

// Width of the font's vertical stem at this size and stretch.
double NaturalStem(const GlyphStyle& style);

// Ink cells of one character, cropped to its ink.
struct GlyphMask {
    int width = 0;   // cells
    int height = 0;
    std::vector<std::uint8_t> cells;  // 1 = ink, row-major
    double top = 0;  // pixels from the baseline to the top of the ink (negative: above)
    double Width() const { return static_cast<double>(width) / Supersample; }
    double Height() const { return static_cast<double>(height) / Supersample; }
    bool At(int row, int col) const { return cells[static_cast<std::size_t>(row) * width + col] != 0; }
};

GlyphMask MakeGlyph(const GlyphStyle& style, char ch);

// The masks of one style, made on first use; references stay valid.
class GlyphCache {
public:
    explicit GlyphCache(const GlyphStyle& style) : style_(style) {}
    const GlyphMask& Get(char ch);
    const GlyphStyle& Style() const { return style_; }

private:
    GlyphStyle style_;
    std::map<char, GlyphMask> masks_;
};

// Grows (radius > 0) or thins (radius < 0) the ink of a cell mask by a Euclidean distance.
void AdjustInk(std::vector<std::uint8_t>& cells, int width, int height, double radius);

}  // namespace testimage
