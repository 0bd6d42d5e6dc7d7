// The container wall the markings are painted on, in scene pixels (the view before the
// camera's rotation and keystone): colour, corrugation ribs, door bars, a logo, rust and dirt.
#pragma once

#include <vector>

#include "tools/testimage/geometry.h"
#include "tools/testimage/random.h"
#include "tools/testimage/test_image.h"

namespace testimage {

struct Colour {
    float r = 0;
    float g = 0;
    float b = 0;
};

struct SurfacePlan {
    int left = 0;  // scene pixels covered
    int top = 0;
    int width = 0;
    int height = 0;
    Colour wall;
    Colour paint;
    double charHeight = 40;
    Rect keepClear;      // the markings with room round them: no clutter goes there
    bool doors = false;  // a rear view: door bars rather than a logo
    Effects effects{};
};

// What lies at one scene point.
struct SurfaceSample {
    Colour albedo;     // wall, bars, logo
    float shade = 1;   // ribs and the bars' roundness
    Colour over;       // rust and dirt over everything painted, premultiplied by its cover
    float overCover = 0;
};

class Surface {
public:
    explicit Surface(const SurfacePlan& plan);
    ~Surface();
    Surface(Surface&&) = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    SurfaceSample At(double u, double v) const;  // bilinear between pixel centres

    // Building blocks, used while the surface is made.
    std::size_t Index(int u, int v) const;  // u, v in scene pixels, inside
    bool Contains(int u, int v) const;
    void SetWall(int u, int v, const Colour& colour);
    void Paint(int u, int v, const Colour& colour, float cover);
    void Stain(int u, int v, const Colour& colour, float cover);
    const SurfacePlan& Plan() const { return plan_; }
    std::vector<float>& Shade() { return shade_; }

private:
    SurfacePlan plan_;
    std::vector<float> r_, g_, b_, shade_, overR_, overG_, overB_, overA_;
};

Surface BuildSurface(const SurfacePlan& plan, Rng rng);

}  // namespace testimage
