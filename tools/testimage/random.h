// Seeded random numbers of our own. The standard distributions may give other numbers with
// another standard library, and a seed must give the same picture wherever the same packages
// are installed.
#pragma once

#include <cstdint>
#include <vector>

namespace testimage {

// Mixes one 64-bit value into a well-spread one (the finaliser of splitmix64).
std::uint64_t Mix(std::uint64_t value);
// Mixes several values into one seed, for independent streams per purpose.
std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0);

class Rng {
public:
    explicit Rng(std::uint64_t seed);
    std::uint64_t Next();
    double Uniform();                       // [0, 1)
    double Uniform(double low, double high);
    double Symmetric(double amplitude);     // [-amplitude, amplitude)
    int Between(int low, int high);         // low to high, both included
    bool Chance(double probability);
    double Gaussian();                      // mean 0, deviation 1 (sum of uniforms: no libm)
    // An independent stream for one purpose, so that adding draws to one purpose does not
    // change what the others draw.
    Rng Fork(std::uint64_t purpose) const;

private:
    std::uint64_t seed_;
    std::uint64_t state_[4];
};

// Smooth value noise in [0, 1) over a rectangle: random values on a lattice `scale` pixels
// apart, blended in between. The lattice is drawn once, as sampling is done per pixel.
class NoiseField {
public:
    NoiseField(std::uint64_t seed, double scale, double left, double top, double right, double bottom);
    double At(double x, double y) const;  // outside the rectangle: the nearest lattice values

private:
    double scale_;
    long left_ = 0;
    long top_ = 0;
    long columns_ = 0;
    long rows_ = 0;
    std::vector<double> values_;
};

}  // namespace testimage
