// Small drawn frames for the engine's tests and benchmarks: flat fields, rectangles, lines of
// block characters (a 5 x 7 dot font scaled up), blur and noise, straight into the planes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/location/planes.h"

namespace drawing {

inline constexpr int FontColumns = 5;
inline constexpr int FontRows = 7;

// Rows of each glyph, top first; '#' is ink.
struct FontGlyph {
    char character;
    const char* rows[FontRows];
};

inline constexpr FontGlyph Font[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
};

inline const FontGlyph* FindGlyph(char character) {
    for (const FontGlyph& glyph : Font) {
        if (glyph.character == character) return &glyph;
    }
    return nullptr;
}

inline void FillPlane(std::uint8_t* plane, std::uint8_t value) { std::memset(plane, value, FrameSize); }

// Sets the inclusive rectangle of a plane, clipped to the frame.
// A 30 x 30 patch of stripes two pixels wide on the work image: every edge inside it has the
// patch's contrast, which sets the strong-edge level of a frame.
inline void DrawStripePatch(int left, int top, int contrast) {
    for (int row = top; row < top + 30; ++row) {
        for (int column = left; column < left + 30; ++column) {
            WorkImage[PixelIndex(column, row)] = static_cast<std::uint8_t>((column / 2) % 2 == 0 ? contrast : 0);
        }
    }
}

inline void FillRect(std::uint8_t* plane, int left, int top, int right, int bottom, std::uint8_t value) {
    for (int row = std::max(top, 0); row <= std::min(bottom, FrameHeight - 1); ++row) {
        for (int column = std::max(left, 0); column <= std::min(right, FrameWidth - 1); ++column) {
            plane[PixelIndex(column, row)] = value;
        }
    }
}

// Draws `starts` pairs of 2-pixel bars on each row top..bottom of a binary plane from column
// `left`, 6 columns apart within a pair and 12 between pairs, so that every row records exactly
// `starts` stroke starts.
inline void DrawStrokeRows(std::uint8_t* plane, int top, int bottom, int starts, int left = 100) {
    for (int k = 0; k < starts; ++k) {
        const int x = left + 12 * k;
        FillRect(plane, x, top, x + 1, bottom, 1);
        FillRect(plane, x + 6, top, x + 7, bottom, 1);
    }
}

// Size of one drawn character: each dot of the font becomes a cell of cellWidth x cellHeight.
struct CharStyle {
    int cellWidth = 5;
    int cellHeight = 6;
    int gap = 8;  // background columns between neighbouring characters
    std::uint8_t ink = 50;

    int Width() const { return FontColumns * cellWidth; }
    int Height() const { return FontRows * cellHeight; }
    int Pitch() const { return Width() + gap; }
};

inline void DrawCharacter(std::uint8_t* plane, char character, int left, int top, const CharStyle& style) {
    const FontGlyph* glyph = FindGlyph(character);
    if (glyph == nullptr) return;
    for (int r = 0; r < FontRows; ++r) {
        for (int c = 0; c < FontColumns; ++c) {
            if (glyph->rows[r][c] != '#') continue;
            const int x = left + c * style.cellWidth;
            const int y = top + r * style.cellHeight;
            FillRect(plane, x, y, x + style.cellWidth - 1, y + style.cellHeight - 1, style.ink);
        }
    }
}

// Draws the text left to right from (left, top); a space leaves one character pitch empty.
inline void DrawTextLine(std::uint8_t* plane, std::string_view text, int left, int top, const CharStyle& style) {
    for (char character : text) {
        DrawCharacter(plane, character, left, top, style);
        left += style.Pitch();
    }
}

// Draws the text top to bottom from (left, top), `rowGap` background rows between characters.
inline void DrawTextColumn(std::uint8_t* plane, std::string_view text, int left, int top, int rowGap,
                           const CharStyle& style) {
    for (char character : text) {
        DrawCharacter(plane, character, left, top, style);
        top += style.Height() + rowGap;
    }
}

// 3 x 3 box blur of the work image (the frame border is left as it is).
inline void BlurWorkImage() {
    static std::uint8_t source[FrameSize];
    std::memcpy(source, WorkImage, sizeof source);
    for (int row = 1; row < FrameHeight - 1; ++row) {
        for (int column = 1; column < FrameWidth - 1; ++column) {
            int sum = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) sum += source[PixelIndex(column + dc, row + dr)];
            WorkImage[PixelIndex(column, row)] = static_cast<std::uint8_t>(sum / 9);
        }
    }
}

// Adds deterministic noise of -amplitude..amplitude to every pixel of the work image.
inline void AddNoise(int amplitude, std::uint32_t seed) {
    std::uint32_t state = seed;
    for (int i = 0; i < FrameSize; ++i) {
        state = state * 1664525u + 1013904223u;
        const int noise = static_cast<int>((state >> 16) % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
        WorkImage[i] = static_cast<std::uint8_t>(std::clamp(WorkImage[i] + noise, 0, 255));
    }
}

}  // namespace drawing
