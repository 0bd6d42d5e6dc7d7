// Framed check digits drawn into Glyph.SkeletonImage at origin 0,0, with the digit's own ink
// kept aside so that tests can compare what the frame removal leaves with the digit.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/glyph/glyph_record.h"

struct FrameStyle {
    int thickness = 3;   // of the frame's bars and sides
    int gap = 2;         // background between frame and digit
    bool top = true, bottom = true, left = true, right = true;
    int breakRows = 0;   // a gap of this many rows cut into both sides at mid height
    int bridges = 0;     // ink bridges of this width joining each side to the digit
};

struct FramedDigit {
    int rows = 0, cols = 0;            // the box
    int digitTop = 0, digitLeft = 0;   // the digit's bounding box in the box
    int digitRows = 0, digitCols = 0;
    bool digit[GridSide][GridSide] = {};  // the digit's own ink (box coordinates)
    bool frame[GridSide][GridSide] = {};  // the frame's bars and sides
    int digitInk = 0;
};

namespace framed_detail {

enum class Part { Digit, Frame, Bridge };

inline void Paint(FramedDigit& d, Part part, int r, int c) {
    if (r < 0 || r >= d.rows || c < 0 || c >= d.cols) return;
    Glyph.SkeletonImage.Set(r, c, 1);
    if (part == Part::Digit) d.digit[r][c] = true;
    if (part == Part::Frame) d.frame[r][c] = true;
}

inline void FillBox(FramedDigit& d, Part part, int r0, int c0, int r1, int c1) {
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) Paint(d, part, r, c);
}

// A stroke of the given thickness between two points (a capsule).
inline void Stroke(FramedDigit& d, double r0, double c0, double r1, double c1, double thick) {
    const double dr = r1 - r0, dc = c1 - c0, len2 = dr * dr + dc * dc;
    for (int r = 0; r < d.rows; ++r)
        for (int c = 0; c < d.cols; ++c) {
            double t = len2 > 0 ? ((r + 0.5 - r0) * dr + (c + 0.5 - c0) * dc) / len2 : 0;
            t = t < 0 ? 0 : t > 1 ? 1 : t;
            const double pr = r0 + t * dr - (r + 0.5), pc = c0 + t * dc - (c + 0.5);
            if (pr * pr + pc * pc <= thick * thick / 4) Paint(d, Part::Digit, r, c);
        }
}

// An elliptic ring whose outer edge has the given radii.
inline void Ring(FramedDigit& d, double cr, double cc, double rr, double rc, double thick) {
    for (int r = 0; r < d.rows; ++r)
        for (int c = 0; c < d.cols; ++c) {
            const double y = r + 0.5 - cr, x = c + 0.5 - cc;
            const double outer = (y * y) / (rr * rr) + (x * x) / (rc * rc);
            const double ir = rr - thick, ic = rc - thick;
            const double inner = (y * y) / (ir * ir) + (x * x) / (ic * ic);
            if (outer <= 1.0 && inner > 1.0) Paint(d, Part::Digit, r, c);
        }
}

inline void DrawDigit(FramedDigit& d, char digit, int top, int left, int h, int w) {
    const double s = std::max(2.0, h / 7.0);
    const double bottom = top + h, right = left + w, mid = left + w / 2.0;
    switch (digit) {
    case '1':
        Stroke(d, top + s / 2, mid, bottom - s / 2, mid, s);
        Stroke(d, top + h / 5.0, mid - w / 3.0, top + s / 2, mid, s);
        break;
    case '7':
        Stroke(d, top + s / 2, left + s / 2, top + s / 2, right - s / 2, s);
        Stroke(d, top + s / 2, right - s / 2, bottom - s / 2, left + w / 3.0, s);
        break;
    case '0':
        Ring(d, top + h / 2.0, mid, h / 2.0, w / 2.0, s);
        break;
    default:  // '8'
        Ring(d, top + h * 0.26, mid, h * 0.26 + s / 4, w * 0.42, s * 0.9);
        Ring(d, top + h * 0.72, mid, h * 0.28, w / 2.0, s);
        break;
    }
}

}  // namespace framed_detail

// Clears the grid and draws `digit` ('0', '1', '7' or '8') of `digitRows` rows inside a frame
// of the given style; without any side the box is the digit's with the gap round it.
inline void DrawFramedDigit(FramedDigit& d, char digit, int digitRows, const FrameStyle& style) {
    using namespace framed_detail;
    std::memset(&Glyph.SkeletonImage, 0, sizeof Glyph.SkeletonImage);
    std::memset(d.digit, 0, sizeof d.digit);
    std::memset(d.frame, 0, sizeof d.frame);
    const int margin = style.thickness + style.gap;
    d.digitRows = digitRows;
    d.digitCols = digitRows * 3 / 5;
    d.rows = digitRows + 2 * margin;
    d.cols = d.digitCols + 2 * margin;
    d.digitTop = margin;
    d.digitLeft = margin;
    DrawDigit(d, digit, d.digitTop, d.digitLeft, d.digitRows, d.digitCols);
    const int t = style.thickness, lastRow = d.rows - 1, lastCol = d.cols - 1;
    if (style.top) FillBox(d, Part::Frame, 0, 0, t - 1, lastCol);
    if (style.bottom) FillBox(d, Part::Frame, lastRow - t + 1, 0, lastRow, lastCol);
    if (style.left) FillBox(d, Part::Frame, 0, 0, lastRow, t - 1);
    if (style.right) FillBox(d, Part::Frame, 0, lastCol - t + 1, lastRow, lastCol);
    if (style.breakRows > 0) {
        const int r0 = d.rows / 2 - style.breakRows / 2;
        for (int r = r0; r < r0 + style.breakRows; ++r)
            for (int c = 0; c < t; ++c) {
                Glyph.SkeletonImage.Set(r, c, 0);
                Glyph.SkeletonImage.Set(r, lastCol - c, 0);
                d.frame[r][c] = d.frame[r][lastCol - c] = false;
            }
    }
    if (style.bridges > 0) {
        const int r0 = d.rows / 2 - style.bridges / 2;
        for (int r = r0; r < r0 + style.bridges; ++r) {
            for (int c = t; c < d.cols && !d.digit[r][c]; ++c) Paint(d, Part::Bridge, r, c);
            for (int c = lastCol - t; c >= 0 && !d.digit[r][c]; --c) Paint(d, Part::Bridge, r, c);
        }
    }
    d.digitInk = 0;
    for (int r = 0; r < d.rows; ++r)
        for (int c = 0; c < d.cols; ++c) d.digitInk += d.digit[r][c];
}
