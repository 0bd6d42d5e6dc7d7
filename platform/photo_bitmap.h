// Photos as the director reads them: a JPEG decoded once and handed out as rows of three bytes
// a pixel (blue, green, red, so the middle byte is green), whatever the file held, gray JPEGs
// included; and drawn scaled into a rectangle.
#pragma once

#include <QImage>

#include <cstdint>

class QPainter;

namespace win {

struct BitmapData {
    int Width;
    int Height;
    int Stride;  // bytes from one row to the next
    const std::uint8_t* Scan0;
};

class PhotoBitmap {
public:
    // Decodes the file (a Windows or Linux path); a file that does not decode leaves an empty
    // bitmap of 0 x 0 pixels.
    explicit PhotoBitmap(const char* path);

    int GetWidth() const;
    int GetHeight() const;
    // The pixel rows for reading, valid while the bitmap lives; false when nothing decoded.
    bool LockBits(BitmapData* data) const;
    // Draws the whole photo into the rectangle (x, y, width, height), smoothly scaled.
    void DrawScaled(QPainter& painter, int x, int y, int width, int height) const;

private:
    QImage image_;
};

}  // namespace win
