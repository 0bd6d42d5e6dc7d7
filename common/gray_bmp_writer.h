// Writer of the 8-bit gray BMP format shared by request files and debug images.
#pragma once

#include <cstdint>

inline constexpr int GrayBmpHeaderBytes = 1078;  // 14 + 40 + 256 palette entries of 4 bytes
inline constexpr int BmpFileHeaderBytes = 14;
inline constexpr int BmpInfoHeaderBytes = 40;
inline constexpr int GrayPaletteBytes = 1024;

// Padded row length of an 8-bit image.
constexpr int GrayRowBytes(int width) { return (width + 3) / 4 * 4; }

// Writes width x height pixels (top row first, `stride` bytes a row) bottom-up with a gray
// palette; pad bytes are zero. A 0 x 0 image gives the headers and palette alone. Answers 0,
// or 1 when the file cannot be written.
int WriteGrayBmp(const char* path, const std::uint8_t* pixels, int width, int height, int stride);

// Little-endian header fields.
void PutLe16(std::uint8_t* at, std::uint32_t value);
void PutLe32(std::uint8_t* at, std::uint32_t value);
std::uint32_t GetLe16(const std::uint8_t* at);
std::uint32_t GetLe32(const std::uint8_t* at);
