// Single characters rendered from the project's fonts as a camera would show them: dark ink on
// a light plate, scaled to an exact ink height, then blurred and given sensor noise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace digitrender {

struct DigitStyle {
    int font = 0;          // index into the census fonts
    int height = 40;       // rows of ink from the top of the character to its bottom
    double blur = 0;       // standard deviation of the Gaussian blur, pixels
    double noise = 0;      // standard deviation of the Gaussian noise, gray levels
    unsigned seed = 1;     // noise seed
};

inline constexpr int PaperLevel = 200;
inline constexpr int InkLevel = 40;
inline constexpr int ReadThreshold = (PaperLevel + InkLevel) / 2;

// A gray picture, row-major, one byte a pixel.
struct GrayPatch {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

int FontCount();
// The family name of a census font; throws std::runtime_error naming the package to install
// when its file is missing.
std::string FontName(int font);

// The character with a margin of paper around its ink.
GrayPatch RenderCharacter(char character, const DigitStyle& style);

}  // namespace digitrender
