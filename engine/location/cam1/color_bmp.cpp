#include "engine/location/cam1/color_bmp.h"

#include <cstdio>
#include <cstring>

#include "engine/location/bmp_file.h"
#include "engine/location/gray_bmp.h"

std::uint8_t ColorImage[ColorImageSize];

namespace {

constexpr int ColorBitCount = 24;
constexpr int GreenByte = 1;

// Staging area, so that a file that turns out truncated leaves the colour image untouched.
std::uint8_t StagedColorImage[ColorImageSize];

int PrintMessage(win::HWND, const char* text, const char* caption, win::UINT) {
    std::printf("%s: %s\n", caption, text);
    return win::IDOK;
}

int RefuseWithMessage(const char* text) {
    ColorBmpMessageBox(nullptr, text, ReadBmpCaption, win::MB_OK);
    return LoadRefused;
}

constexpr int ColorFileRowBytes(int width) { return (width * ColorBytesPerPixel + 3) / 4 * 4; }

}  // namespace

MessageBoxFunction ColorBmpMessageBox = PrintMessage;

int LoadColorBmp(const char* path) {
    const BmpFile file = OpenBmpFile(path);
    if (!file) return LoadRefused;
    BmpHeader header{};
    if (!ReadBmpHeader(file.get(), &header)) return LoadRefused;
    if (header.bitCount != ColorBitCount) return RefuseWithMessage(NotColorBmpText);
    if (header.height > FrameHeight) return RefuseWithMessage(ColorHeightOverText);
    if (header.width > FrameWidth) return RefuseWithMessage(ColorWidthOverText);
    if (header.width <= 0 || header.height <= 0) return LoadRefused;  // top-down or empty
    const int stride = ColorFileRowBytes(header.width);
    if (stride > ColorRowBytes) return LoadRefused;
    if (!ReadBmpRows(file.get(), header, stride, StagedColorImage, ColorRowBytes)) return LoadRefused;
    const int used = header.width * ColorBytesPerPixel;
    for (int row = 0; row < FrameHeight; ++row) {
        std::uint8_t* line = ColorImage + static_cast<long>(row) * ColorRowBytes;
        const int keep = row < header.height ? used : 0;
        std::memcpy(line, StagedColorImage + static_cast<long>(row) * ColorRowBytes, static_cast<std::size_t>(keep));
        std::memset(line + keep, 0, static_cast<std::size_t>(ColorRowBytes - keep));
    }
    LoadedImageWidth = header.width;
    LoadedImageHeight = header.height;
    LoadedImageStride = stride;
    return LoadOk;
}

void ConvertColorImageToGray() {
    for (int i = 0; i < FrameSize; ++i) LoadedImage[i] = ColorImage[i * ColorBytesPerPixel + GreenByte];
}
