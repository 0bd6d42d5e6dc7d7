// A small rasterizer of thick strokes for test glyphs: segments and elliptic arcs drawn with a
// round pen into a canvas, which is then loaded into the glyph grid at origin 0,0 the way the
// callers load a character box.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "engine/glyph/glyph_record.h"
#include "glyph_drawing.h"

class GlyphCanvas {
public:
    GlyphCanvas(int height, int width) : height_(height), width_(width), ink_(height * width, false) {}

    // A segment from (x0, y0) to (x1, y1) with a pen of the given width.
    GlyphCanvas& Line(double x0, double y0, double x1, double y1, double pen) {
        const double length = std::hypot(x1 - x0, y1 - y0);
        const int steps = static_cast<int>(length * 4) + 1;
        for (int k = 0; k <= steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            Dot(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, pen);
        }
        return *this;
    }

    // An arc of the ellipse around (cx, cy) with radii rx, ry from angle `from` to `to` in
    // degrees (0 = right, 90 = down, as rows grow downward).
    GlyphCanvas& Arc(double cx, double cy, double rx, double ry, double from, double to, double pen) {
        const double pi = std::acos(-1.0);
        const int steps = static_cast<int>((to - from) * (rx > ry ? rx : ry) / 10) + 8;
        for (int k = 0; k <= steps; ++k) {
            const double a = (from + (to - from) * k / steps) * pi / 180;
            Dot(cx + rx * std::cos(a), cy + ry * std::sin(a), pen);
        }
        return *this;
    }

    GlyphCanvas& Ellipse(double cx, double cy, double rx, double ry, double pen) { return Arc(cx, cy, rx, ry, 0, 360, pen); }

    // A filled rectangle of cells, corners inclusive.
    GlyphCanvas& Block(int top, int left, int bottom, int right) {
        for (int r = top; r <= bottom; ++r) {
            for (int c = left; c <= right; ++c) Put(r, c, true);
        }
        return *this;
    }

    GlyphCanvas& Cell(int row, int col, bool ink) {
        Put(row, col, ink);
        return *this;
    }

    GlyphRows Rows() const {
        GlyphRows rows;
        for (int r = 0; r < height_; ++r) {
            std::string line;
            for (int c = 0; c < width_; ++c) line += ink_[r * width_ + c] ? '#' : '.';
            rows.push_back(line);
        }
        return rows;
    }

    // Loads the canvas into a cleared glyph record at origin 0,0.
    void Load() const { DrawGlyph(Rows(), 0); }

private:
    void Put(int row, int col, bool ink) {
        if (row >= 0 && row < height_ && col >= 0 && col < width_) ink_[row * width_ + col] = ink;
    }

    // Inks every cell whose centre lies within the pen's radius of (x, y).
    void Dot(double x, double y, double pen) {
        const double radius = pen / 2;
        for (int r = static_cast<int>(y - radius) - 1; r <= static_cast<int>(y + radius) + 1; ++r) {
            for (int c = static_cast<int>(x - radius) - 1; c <= static_cast<int>(x + radius) + 1; ++c) {
                if (std::hypot(c + 0.5 - x, r + 0.5 - y) <= radius) Put(r, c, true);
            }
        }
    }

    int height_;
    int width_;
    std::vector<bool> ink_;
};
