// A point or box corner travels as one 32-bit value: column (x) in the low 16 bits,
// row (y) in the high 16 bits, both signed.
#pragma once

#include <cstdint>

using PackedPoint = std::uint32_t;

constexpr PackedPoint PackPoint(int x, int y) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(x)) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(y))) << 16);
}

constexpr std::int16_t PointX(PackedPoint p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p & 0xFFFFu));
}

constexpr std::int16_t PointY(PackedPoint p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p >> 16));
}
