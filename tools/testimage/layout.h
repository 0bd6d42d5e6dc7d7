// Where each painted character goes: the three layouts of the container number with the
// size/type code where the recognizer looks for it, in scene pixels around the origin.
#pragma once

#include <string>
#include <vector>

#include "tools/testimage/geometry.h"
#include "tools/testimage/glyphs.h"
#include "tools/testimage/random.h"
#include "tools/testimage/test_image.h"

namespace testimage {

struct PlacedGlyph {
    char ch = 0;
    const GlyphMask* mask = nullptr;
    double left = 0;  // top-left corner of the ink
    double top = 0;
    int line = 0;     // index into CodeLayout::lines
    Rect Bounds() const { return {left, top, left + mask->Width(), top + mask->Height()}; }
};

struct PlacedLine {
    LineRole role = LineRole::Number;
    std::string text;
    bool vertical = false;
};

// The frame painted round the check digit: a ring between its outer and inner rectangles.
struct CheckFrame {
    bool present = false;
    Rect outer;
    Rect inner;
};

struct CodeLayout {
    std::vector<PlacedLine> lines;
    std::vector<PlacedGlyph> glyphs;
    CheckFrame frame;
    Rect Bounds() const;
    void Shift(double dx, double dy);
};

struct LayoutInput {
    Layout layout = Layout::OneLine;
    std::string number;
    std::string sizeType;
    GlyphCache* numberGlyphs = nullptr;
    GlyphCache* sizeTypeGlyphs = nullptr;
    bool checkFrame = false;
    bool sizeTypeUnderFirstNine = false;
    int checkDigitGap = 0;  // pixels of wall before the check digit or its frame; 0: drawn
};

// Arranges the markings with spacing drawn from `rng`, as painted on containers: gaps of a few
// pixels, a wider one between owner code and serial, room for the frame of the check digit.
CodeLayout ArrangeCode(const LayoutInput& input, Rng& rng);

}  // namespace testimage
