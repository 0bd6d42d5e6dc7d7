#include "tools/testimage/camera.h"

#include "tools/testimage/geometry.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace testimage {
namespace {

// Light: a gradient across the view, a hot spot, a soft shadow, exposure and haze.
constexpr double LightGradient = 0.5;
constexpr double HotSpotFalloff = 0.35;
constexpr double ExposureSpread = 0.12;
constexpr double ShadowChance = 0.6;
constexpr double ShadowDepthLow = 0.2, ShadowDepthHigh = 0.45;
constexpr double ShadowEdgeLow = 3, ShadowEdgeHigh = 20;
constexpr double HazeLow = 0.04, HazeHigh = 0.18;
constexpr float HazeLevel = 175;

// Lens blur sigma 0.35 to 1.5 pixels; a passing truck smears up to 4 pixels sideways.
constexpr double BlurBase = 0.35, BlurRange = 1.15;
constexpr double MotionRange = 4;
constexpr double KernelReach = 3;  // sigmas

// Noise: a floor plus a part that grows with the signal (photon noise).
constexpr double NoiseFloor = 5;
constexpr double ShotGain = 0.08;

constexpr double JpegBest = 95, JpegRange = 65;

constexpr std::size_t PooledPlanes = 16;  // a surface and a picture

std::vector<std::vector<float>>& PlanePool() {
    thread_local std::vector<std::vector<float>> pool;
    return pool;
}

double SmoothStep(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Convolves every row (horizontal) or column with a kernel whose centre is at `offset`; the
// edge pixels repeat outwards.
void Convolve(ImagePlanes& image, const std::vector<float>& kernel, int offset, bool horizontal) {
    const int length = horizontal ? image.width : image.height;
    const int lines = horizontal ? image.height : image.width;
    const std::size_t step = horizontal ? 1 : static_cast<std::size_t>(image.width);
    const int taps = static_cast<int>(kernel.size());
    std::vector<float> line(static_cast<std::size_t>(length + taps));
    for (auto& plane : image.channel) {
        for (int l = 0; l < lines; ++l) {
            float* start = plane.data() + (horizontal ? image.Index(0, l) : image.Index(l, 0));
            for (int i = 0; i < length + taps; ++i) line[static_cast<std::size_t>(i)] = start[std::clamp(i - offset, 0, length - 1) * step];
            for (int i = 0; i < length; ++i) {
                float sum = 0;
                for (int k = 0; k < taps; ++k) sum += kernel[static_cast<std::size_t>(k)] * line[static_cast<std::size_t>(i + k)];
                start[i * step] = sum;
            }
        }
    }
}

std::vector<float> GaussianKernel(double sigma) {
    const int reach = static_cast<int>(std::ceil(KernelReach * sigma));
    std::vector<float> kernel(static_cast<std::size_t>(2 * reach + 1));
    double sum = 0;
    for (int i = -reach; i <= reach; ++i) sum += kernel[static_cast<std::size_t>(i + reach)] = static_cast<float>(std::exp(-0.5 * i * i / (sigma * sigma)));
    for (float& k : kernel) k = static_cast<float>(k / sum);
    return kernel;
}

// A box of fractional length: whole pixels of weight 1, the ends share the rest.
std::vector<float> BoxKernel(double length) {
    const int whole = static_cast<int>(std::floor(length));
    const double rest = length - whole;
    std::vector<float> kernel(static_cast<std::size_t>(whole + 2), 1.0f);
    kernel.front() = kernel.back() = static_cast<float>(rest / 2);
    for (float& k : kernel) k = static_cast<float>(k / length);
    return kernel;
}

}  // namespace

std::vector<float> TakePlane(std::size_t size) {
    std::vector<std::vector<float>>& pool = PlanePool();
    std::vector<float> plane;
    if (!pool.empty()) {
        plane = std::move(pool.back());
        pool.pop_back();
    }
    plane.resize(size);
    return plane;
}

std::vector<float> TakePlane(std::size_t size, float fill) {
    std::vector<float> plane = TakePlane(size);
    std::fill(plane.begin(), plane.end(), fill);
    return plane;
}

void ReturnPlane(std::vector<float>& plane) {
    std::vector<std::vector<float>>& pool = PlanePool();
    if (plane.capacity() > 0 && pool.size() < PooledPlanes) pool.push_back(std::move(plane));
    plane = {};
}

ImagePlanes::ImagePlanes(int w, int h) : width(w), height(h) {
    for (auto& plane : channel) plane = TakePlane(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
}

ImagePlanes::~ImagePlanes() {
    for (auto& plane : channel) ReturnPlane(plane);
}

void ApplyLight(ImagePlanes& image, double strength, Rng rng) {
    if (strength <= 0) return;
    const double gx = rng.Symmetric(LightGradient), gy = rng.Symmetric(LightGradient);
    const double hx = rng.Uniform(0, image.width), hy = rng.Uniform(0, image.height);
    const double exposure = 1 + rng.Symmetric(ExposureSpread) * strength;
    const bool shadow = rng.Chance(ShadowChance * strength);
    const double angle = rng.Uniform(0, 2 * Pi);
    const double sx = rng.Uniform(0, image.width), sy = rng.Uniform(0, image.height);
    const double depth = strength * rng.Uniform(ShadowDepthLow, ShadowDepthHigh);
    const double edge = rng.Uniform(ShadowEdgeLow, ShadowEdgeHigh);
    const double haze = strength * rng.Uniform(HazeLow, HazeHigh);
    const double diagonal2 = static_cast<double>(image.width) * image.width + static_cast<double>(image.height) * image.height;
    const double nx = std::cos(angle), ny = std::sin(angle);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double r2 = ((x - hx) * (x - hx) + (y - hy) * (y - hy)) / diagonal2;
            double gain = exposure * (1 + strength * (gx * (x / static_cast<double>(image.width) - 0.5) +
                                                      gy * (y / static_cast<double>(image.height) - 0.5)));
            gain *= 1 - strength * HotSpotFalloff * r2;
            if (shadow) gain *= 1 - depth * SmoothStep(((x - sx) * nx + (y - sy) * ny) / edge + 0.5);
            for (auto& plane : image.channel) {
                float& value = plane[image.Index(x, y)];
                value = static_cast<float>(value * gain * (1 - haze) + haze * HazeLevel);
            }
        }
    }
}

void ApplyBlur(ImagePlanes& image, double blur, double motion) {
    if (blur > 0) {
        const std::vector<float> kernel = GaussianKernel(BlurBase + BlurRange * blur);
        const int offset = static_cast<int>(kernel.size() / 2);
        Convolve(image, kernel, offset, true);
        Convolve(image, kernel, offset, false);
    }
    if (motion > 0) {
        const double length = 1 + MotionRange * motion;
        const std::vector<float> kernel = BoxKernel(length);
        Convolve(image, kernel, static_cast<int>(kernel.size() / 2), true);
    }
}

void ApplyNoise(ImagePlanes& image, double strength, Rng rng) {
    if (strength <= 0) return;
    const double floor2 = NoiseFloor * strength * NoiseFloor * strength;
    for (auto& plane : image.channel) {
        for (float& value : plane) {
            const double sigma = std::sqrt(floor2 + strength * ShotGain * std::max(0.0f, value));
            value = static_cast<float>(value + sigma * rng.Gaussian());
        }
    }
}

QImage ToColourImage(const ImagePlanes& image) {
    QImage colour(image.width, image.height, QImage::Format_RGB888);
    for (int y = 0; y < image.height; ++y) {
        uchar* line = colour.scanLine(y);
        for (int x = 0; x < image.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                line[3 * x + c] = static_cast<uchar>(std::clamp(image.channel[c][image.Index(x, y)], 0.0f, 255.0f) + 0.5f);
            }
        }
    }
    return colour;
}

int JpegQuality(double strength) {
    if (strength <= 0) return 0;
    return static_cast<int>(std::lround(JpegBest - JpegRange * std::min(strength, 1.0)));
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", quality)) {
        throw std::runtime_error("Qt cannot write JPEG here: its image-format plugin is missing");
    }
    return bytes;
}

}  // namespace testimage
