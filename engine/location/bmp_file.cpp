#include "engine/location/bmp_file.h"

#include "common/gray_bmp_writer.h"
#include "platform/files.h"

namespace {

constexpr int HeaderBytes = BmpFileHeaderBytes + BmpInfoHeaderBytes;
constexpr int PixelOffsetField = 10;
constexpr int WidthField = 18;
constexpr int HeightField = 22;
constexpr int BitCountField = 28;

}  // namespace

BmpFile OpenBmpFile(const char* path) { return BmpFile(win::fopen(path, "rb")); }

bool ReadBmpHeader(std::FILE* file, BmpHeader* header) {
    std::uint8_t bytes[HeaderBytes];
    if (std::fread(bytes, 1, HeaderBytes, file) != HeaderBytes) return false;
    header->width = static_cast<std::int32_t>(GetLe32(bytes + WidthField));
    header->height = static_cast<std::int32_t>(GetLe32(bytes + HeightField));
    header->bitCount = static_cast<int>(GetLe16(bytes + BitCountField));
    header->pixelOffset = static_cast<long>(GetLe32(bytes + PixelOffsetField));
    return true;
}

bool ReadBmpRows(std::FILE* file, const BmpHeader& header, int rowBytes, std::uint8_t* rows, int rowStride) {
    if (std::fseek(file, header.pixelOffset, SEEK_SET) != 0) return false;
    const auto length = static_cast<std::size_t>(rowBytes);
    for (int i = 0; i < header.height; ++i) {
        std::uint8_t* row = rows + static_cast<long>(header.height - 1 - i) * rowStride;
        if (std::fread(row, 1, length, file) != length) return false;
    }
    return true;
}
