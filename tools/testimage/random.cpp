#include "tools/testimage/random.h"

#include <algorithm>
#include <cmath>

namespace testimage {
namespace {

constexpr std::uint64_t GoldenGamma = 0x9E3779B97F4A7C15ull;
constexpr double TwoToMinus53 = 1.0 / 9007199254740992.0;
constexpr int GaussianTerms = 4;                  // Irwin-Hall: variance 4/12
constexpr double GaussianScale = 1.7320508075688772;  // sqrt(12/4)

std::uint64_t RotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

double LatticeValue(std::uint64_t seed, long ix, long iy) {
    const std::uint64_t h = MixSeed(seed, static_cast<std::uint64_t>(ix), static_cast<std::uint64_t>(iy));
    return static_cast<double>(h >> 11) * TwoToMinus53;
}

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

std::uint64_t Mix(std::uint64_t value) {
    value += GoldenGamma;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t a, std::uint64_t b) {
    return Mix(Mix(Mix(seed) ^ a) ^ RotateLeft(b, 17));
}

Rng::Rng(std::uint64_t seed) : seed_(seed) {
    std::uint64_t s = seed;
    for (auto& word : state_) {
        s += GoldenGamma;
        word = Mix(s);
    }
}

std::uint64_t Rng::Next() {
    // xoshiro256**
    const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = RotateLeft(state_[3], 45);
    return result;
}

double Rng::Uniform() { return static_cast<double>(Next() >> 11) * TwoToMinus53; }

double Rng::Uniform(double low, double high) { return low + (high - low) * Uniform(); }

double Rng::Symmetric(double amplitude) { return Uniform(-amplitude, amplitude); }

int Rng::Between(int low, int high) {
    if (high <= low) return low;
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(Next() % span);
}

bool Rng::Chance(double probability) { return Uniform() < probability; }

double Rng::Gaussian() {
    double sum = 0;
    for (int i = 0; i < GaussianTerms; ++i) sum += Uniform();
    return (sum - GaussianTerms / 2.0) * GaussianScale;
}

Rng Rng::Fork(std::uint64_t purpose) const { return Rng(MixSeed(seed_, purpose)); }

NoiseField::NoiseField(std::uint64_t seed, double scale, double left, double top, double right, double bottom)
    : scale_(scale) {
    left_ = static_cast<long>(std::floor(left / scale));
    top_ = static_cast<long>(std::floor(top / scale));
    columns_ = static_cast<long>(std::floor(right / scale)) - left_ + 2;
    rows_ = static_cast<long>(std::floor(bottom / scale)) - top_ + 2;
    values_.resize(static_cast<std::size_t>(columns_ * rows_));
    for (long y = 0; y < rows_; ++y) {
        for (long x = 0; x < columns_; ++x) values_[static_cast<std::size_t>(y * columns_ + x)] = LatticeValue(seed, left_ + x, top_ + y);
    }
}

double NoiseField::At(double x, double y) const {
    // Within the lattice, so that a cell and its right and lower neighbours exist.
    const double fx = std::clamp(x / scale_ - static_cast<double>(left_), 0.0, static_cast<double>(columns_ - 2));
    const double fy = std::clamp(y / scale_ - static_cast<double>(top_), 0.0, static_cast<double>(rows_ - 2));
    const long ix = std::min(static_cast<long>(fx), columns_ - 2);
    const long iy = std::min(static_cast<long>(fy), rows_ - 2);
    const double tx = Smooth(fx - static_cast<double>(ix));
    const double ty = Smooth(fy - static_cast<double>(iy));
    const double* row = values_.data() + iy * columns_ + ix;
    const double top = row[0] * (1 - tx) + row[1] * tx;
    const double bottom = row[columns_] * (1 - tx) + row[columns_ + 1] * tx;
    return top * (1 - ty) + bottom * ty;
}

}  // namespace testimage
