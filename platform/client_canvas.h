// Drawing on a window's client area outside its paint handler. What is drawn there goes onto a
// canvas the window keeps, and the paint handler shows the canvas, so nothing vanishes when the
// window is covered and uncovered. Also the GDI text calls the programs paint with.
#pragma once

#include <QImage>

#include <cstdint>

#include "platform/photo_bitmap.h"

class QPainter;

namespace win {

using COLORREF = std::uint32_t;  // 0x00BBGGRR

class ClientCanvas {
public:
    // A transparent canvas: the window's own background shows where nothing was drawn.
    ClientCanvas(int width, int height);

    // GDI's Rectangle with the default pen and brush: a black one-pixel frame filled white, the
    // right and bottom coordinates excluded.
    void Rectangle(int left, int top, int right, int bottom);
    // The whole photo scaled into the rectangle (x, y, width, height).
    void DrawPhoto(const PhotoBitmap& photo, int x, int y, int width, int height);
    // Shows the canvas at the client area's top left.
    void PaintOnto(QPainter& painter) const;
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

// Sets the painter's font to `tenthsOfPoint` / 10 points of `face` (or the nearest installed
// face of the same kind) and its text colour.
void SelectPointFont(QPainter& painter, int tenthsOfPoint, const char* face, COLORREF color);
// GDI's TextOut with a transparent background: the text cell's top left at (x, y).
void TextOutA(QPainter& painter, int x, int y, const char* text);

}  // namespace win
