#include "common/gray_bmp_writer.h"

#include <cstdio>

#include "platform/files.h"

namespace {

constexpr std::uint16_t BmpMagic = 0x4D42;  // "BM"
constexpr int MaxWrittenRow = 1024;         // widest source any program writes

}  // namespace

void PutLe16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::uint8_t* at, std::uint32_t value) {
    PutLe16(at, value & 0xFFFFu);
    PutLe16(at + 2, value >> 16);
}

std::uint32_t GetLe16(const std::uint8_t* at) { return at[0] | (static_cast<std::uint32_t>(at[1]) << 8); }

std::uint32_t GetLe32(const std::uint8_t* at) { return GetLe16(at) | (GetLe16(at + 2) << 16); }

int WriteGrayBmp(const char* path, const std::uint8_t* pixels, int width, int height, int stride) {
    // An empty image (a photo that failed to decode) still gives the headers and the palette.
    if (width < 0 || height < 0 || width > stride || width > MaxWrittenRow) return 1;
    const int rowBytes = GrayRowBytes(width);
    std::uint8_t header[GrayBmpHeaderBytes] = {};
    PutLe16(header, BmpMagic);
    PutLe32(header + 2, static_cast<std::uint32_t>(GrayBmpHeaderBytes + rowBytes * height));
    PutLe32(header + 10, GrayBmpHeaderBytes);
    PutLe32(header + 14, BmpInfoHeaderBytes);
    PutLe32(header + 18, static_cast<std::uint32_t>(width));
    PutLe32(header + 22, static_cast<std::uint32_t>(height));
    PutLe16(header + 26, 1);
    PutLe16(header + 28, 8);
    std::uint8_t* palette = header + BmpFileHeaderBytes + BmpInfoHeaderBytes;
    for (int i = 0; i < 256; ++i) {
        palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<std::uint8_t>(i);
    }
    // The image replaces what stands at its name, a link planted there included, and is the
    // user's alone.
    win::ReplacingFile file(win::MapPath(path), win::PrivateFileMode);
    if (!file.get()) return 1;
    bool ok = std::fwrite(header, 1, sizeof header, file.get()) == sizeof header;
    std::uint8_t row[MaxWrittenRow + 3] = {};
    for (int i = 0; ok && i < height; ++i) {
        const std::uint8_t* source = pixels + static_cast<long>(height - 1 - i) * stride;
        for (int x = 0; x < width; ++x) row[x] = source[x];
        ok = std::fwrite(row, 1, static_cast<std::size_t>(rowBytes), file.get()) == static_cast<std::size_t>(rowBytes);
    }
    return ok && file.Commit() ? 0 : 1;
}
