#include "engine/location/binary_regions.h"

#include <cstdint>
#include <cstring>

#include "engine/location/boxes.h"
#include "engine/location/planes.h"
#include "engine/location/text_bands.h"

namespace {

const std::uint8_t* SourcePlane(int source) {
    if (source == SourceBinaryImage) return BinaryImage;
    if (source == SourceBinaryBackup) return BinaryBackup;
    return nullptr;
}

}  // namespace

void ColumnProfileOfBox(int left, int right, int top, int bottom, int source) {
    std::memset(ColumnProfile, 0, sizeof ColumnProfile);
    const std::uint8_t* plane = SourcePlane(source);
    const FrameRegion region = ClipToFrame(left, top, right, bottom);
    if (plane == nullptr) return;
    for (int column = region.left; column <= region.right; ++column) {
        int ink = 0;
        for (int row = region.top; row <= region.bottom; ++row) ink += plane[PixelIndex(column, row)] != 0 ? 1 : 0;
        ColumnProfile[column] = static_cast<std::int16_t>(ink);
    }
}
