// What the camera adds to the scene: uneven light, lens and motion blur, sensor noise, JPEG.
#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

#include "tools/testimage/random.h"

namespace testimage {

// Full-size float planes are recycled: fresh memory pages cost more than drawing on them.
std::vector<float> TakePlane(std::size_t size, float fill);
// A plane whose every element the caller writes before reading it.
std::vector<float> TakePlane(std::size_t size);
void ReturnPlane(std::vector<float>& plane);

// Three float planes (red, green, blue) of one picture, 0 to 255.
struct ImagePlanes {
    int width = 0;
    int height = 0;
    std::vector<float> channel[3];
    ImagePlanes(int w, int h);  // every pixel to be written
    ~ImagePlanes();
    ImagePlanes(ImagePlanes&&) = default;
    ImagePlanes(const ImagePlanes&) = delete;
    ImagePlanes& operator=(const ImagePlanes&) = delete;
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width + x; }
};

void ApplyLight(ImagePlanes& image, double strength, Rng rng);
void ApplyBlur(ImagePlanes& image, double blur, double motion);
void ApplyNoise(ImagePlanes& image, double strength, Rng rng);
QImage ToColourImage(const ImagePlanes& image);

// 0 for no compression, else the JPEG quality this strength gives.
int JpegQuality(double strength);
// Throws std::runtime_error when Qt cannot write JPEG.
QByteArray EncodeJpeg(const QImage& image, int quality);

}  // namespace testimage
