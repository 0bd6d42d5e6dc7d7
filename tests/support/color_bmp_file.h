// 24-bit BMP files for the colour reader's tests, drawn from a channel function.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"

// The blue, green and red bytes of pixel (x, y) of the drawn test images.
inline std::uint8_t TestChannel(int x, int y, int channel) { return static_cast<std::uint8_t>(x * 3 + y * 5 + channel * 70); }

// A BMP of `bits` per pixel with `rows` of its padded rows present (fewer than the height cuts
// the file short); 24-bit pixels follow TestChannel.
inline std::vector<std::uint8_t> MakeTestBmp(int width, int height, int bits, int rows) {
    const int rowBytes = (std::abs(width) * bits / 8 + 3) / 4 * 4;
    const int offset = BmpFileHeaderBytes + BmpInfoHeaderBytes;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(offset + rowBytes * rows), 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe32(&bytes[2], static_cast<std::uint32_t>(bytes.size()));
    PutLe32(&bytes[10], static_cast<std::uint32_t>(offset));
    PutLe32(&bytes[14], BmpInfoHeaderBytes);
    PutLe32(&bytes[18], static_cast<std::uint32_t>(width));
    PutLe32(&bytes[22], static_cast<std::uint32_t>(height));
    PutLe16(&bytes[26], 1);
    PutLe16(&bytes[28], static_cast<std::uint32_t>(bits));
    if (bits != 24) return bytes;
    for (int i = 0; i < rows; ++i) {
        const int y = height - 1 - i;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) bytes[offset + i * rowBytes + x * 3 + c] = TestChannel(x, y, c);
    }
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
