#include "engine/location/gray_bmp.h"

#include <cstdio>
#include <cstring>

#include "common/gray_bmp_writer.h"
#include "engine/location/bmp_file.h"
#include "platform/files.h"

// A debug write before any image was read writes the whole frame.
int LoadedImageWidth = FrameWidth;
int LoadedImageHeight = FrameHeight;
int LoadedImageStride = 0;

namespace {

constexpr std::uint16_t BmpMagic = 0x4D42;
constexpr int BinaryHeaderBytes = 62;  // 14 + 40 + two palette entries
constexpr int HeaderBytes = BmpFileHeaderBytes + BmpInfoHeaderBytes;
constexpr int WhiteBit = 0x80;
constexpr int GrayBitCount = 8;

// Staging area, so that a file that turns out truncated leaves the load buffer untouched.
std::uint8_t StagedImage[FrameSize];

void ClearOutsideImage(int width, int height) {
    for (int row = 0; row < FrameHeight; ++row) {
        std::uint8_t* line = LoadedImage + PixelIndex(0, row);
        const int keep = row < height ? width : 0;
        std::memset(line + keep, 0, static_cast<std::size_t>(FrameWidth - keep));
    }
}

}  // namespace

int LoadGrayBmp(const char* path) {
    const BmpFile file = OpenBmpFile(path);
    if (!file) return LoadRefused;
    BmpHeader header{};
    if (!ReadBmpHeader(file.get(), &header)) return LoadRefused;
    if (header.bitCount != GrayBitCount) {
        std::printf("Not GrayImage!\n");
        return LoadRefused;
    }
    if (header.height > FrameHeight) {
        std::printf("ImgHeight Over!\n");
        return LoadTooLarge;
    }
    if (header.width > FrameWidth) {
        std::printf("ImgWidth Over!\n");
        return LoadTooLarge;
    }
    if (header.width <= 0 || header.height <= 0) return LoadRefused;  // top-down or empty: not a request image
    const int stride = GrayRowBytes(header.width);
    if (stride > FrameStride) return LoadRefused;
    if (!ReadBmpRows(file.get(), header, stride, StagedImage, FrameStride)) return LoadRefused;
    for (int row = 0; row < header.height; ++row) {
        std::memcpy(LoadedImage + PixelIndex(0, row), StagedImage + PixelIndex(0, row),
                    static_cast<std::size_t>(header.width));
    }
    ClearOutsideImage(header.width, header.height);
    LoadedImageWidth = header.width;
    LoadedImageHeight = header.height;
    LoadedImageStride = stride;
    return LoadOk;
}

int SaveGrayBmp(const char* path) {
    LoadedImageStride = GrayRowBytes(LoadedImageWidth);
    WriteGrayBmp(path, LoadedImage, LoadedImageWidth, LoadedImageHeight, FrameStride);
    return 0;
}

int SaveBinaryBmp(const char* path) {
    const int width = LoadedImageWidth;
    const int height = LoadedImageHeight;
    if (width <= 0 || height <= 0 || width > FrameWidth || height > FrameHeight) return 0;
    const int rowBytes = ((width + 7) / 8 + 3) / 4 * 4;
    LoadedImageStride = rowBytes;
    std::uint8_t header[BinaryHeaderBytes] = {};
    PutLe16(header, BmpMagic);
    PutLe32(header + 2, static_cast<std::uint32_t>(BinaryHeaderBytes + rowBytes * height));
    PutLe32(header + 10, BinaryHeaderBytes);
    PutLe32(header + 14, BmpInfoHeaderBytes);
    PutLe32(header + 18, static_cast<std::uint32_t>(width));
    PutLe32(header + 22, static_cast<std::uint32_t>(height));
    PutLe16(header + 26, 1);
    PutLe16(header + 28, 1);
    std::memset(header + HeaderBytes + 4, 0xFF, 3);  // palette entry 1: white
    const BmpFile file(win::fopen(path, "wb"));
    if (!file) return 0;
    if (std::fwrite(header, 1, sizeof header, file.get()) != sizeof header) return 0;
    std::uint8_t row[FrameWidth / 8 + 4];
    for (int i = 0; i < height; ++i) {
        std::memset(row, 0, sizeof row);
        const std::uint8_t* cells = BinaryImage + PixelIndex(0, height - 1 - i);
        for (int x = 0; x < width; ++x) {
            if (cells[x] == 0) row[x / 8] |= static_cast<std::uint8_t>(WhiteBit >> (x % 8));
        }
        if (std::fwrite(row, 1, static_cast<std::size_t>(rowBytes), file.get()) != static_cast<std::size_t>(rowBytes)) {
            return 0;
        }
    }
    return 0;
}
