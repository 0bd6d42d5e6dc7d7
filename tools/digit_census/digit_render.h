// Single characters rendered with the test-image generator's fonts and camera as a gate camera
// would show them: dark ink on a light plate at a given cap height, blurred and noisy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace digitrender {

struct DigitStyle {
    int font = 0;          // index into the generator's code fonts
    int height = 40;       // cap height in pixels
    double blur = 0;       // lens blur, 0 (none) to 1 (the worst the generator gives)
    double noise = 0;      // sensor noise, 0 to 1
    unsigned seed = 1;     // noise seed
};

inline constexpr int PaperLevel = 200;
inline constexpr int InkLevel = 40;
inline constexpr int ReadThreshold = (PaperLevel + InkLevel) / 2;

// A gray picture, row-major, one byte a pixel, with the box (inclusive) of the pixels that the
// character's paint covers at least half; the box is empty (right < left) when none is.
struct GrayPatch {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    int inkLeft = 0;
    int inkTop = 0;
    int inkRight = -1;
    int inkBottom = -1;
};

int FontCount();
std::string FontName(int font);

// The character with a margin of paper around its ink.
GrayPatch RenderCharacter(char character, const DigitStyle& style);

}  // namespace digitrender
