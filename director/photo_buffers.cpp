#include "director/photo_buffers.h"

#include <cstring>

#include "common/gray_bmp_writer.h"

std::int32_t PhotoWidth = 0;
std::int32_t PhotoHeight = 0;
std::uint8_t PhotoPixels[PhotoMaxSide * PhotoPixelsStride];
std::uint8_t PhotoGray[PhotoMaxSide * PhotoGrayStride];

namespace {

constexpr int GreenByte = 1;

bool FitsBuffers(const std::uint8_t* scan0, int stride, int width, int height) {
    return scan0 != nullptr && width > 0 && height > 0 && width <= PhotoMaxSide &&
           height <= PhotoMaxSide && stride >= width * PhotoPixelBytes;
}

}  // namespace

void CopyPhotoPixels(const std::uint8_t* scan0, int stride, int width, int height) {
    if (!FitsBuffers(scan0, stride, width, height)) {
        PhotoWidth = 0;
        PhotoHeight = 0;
        return;
    }
    PhotoWidth = width;
    PhotoHeight = height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * PhotoPixelBytes;
    for (int y = 0; y < height; ++y) {
        std::memcpy(PhotoPixels + static_cast<std::size_t>(y) * PhotoPixelsStride,
                    scan0 + static_cast<std::size_t>(y) * stride, rowBytes);
    }
}

void ConvertPhotoToGray() {
    for (int y = 0; y < PhotoHeight; ++y) {
        const std::uint8_t* pixel = PhotoPixels + static_cast<std::size_t>(y) * PhotoPixelsStride;
        std::uint8_t* gray = PhotoGray + static_cast<std::size_t>(y) * PhotoGrayStride;
        for (int x = 0; x < PhotoWidth; ++x) gray[x] = pixel[PhotoPixelBytes * x + GreenByte];
    }
}

int WriteGrayRequestBmp(const char* path) {
    WriteGrayBmp(path, PhotoGray, PhotoWidth, PhotoHeight, PhotoGrayStride);
    return 0;
}
