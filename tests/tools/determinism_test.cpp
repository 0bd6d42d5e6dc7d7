// The same seed gives the same picture, byte for byte, whatever was rendered before it.
#include <gtest/gtest.h>

#include "tools/testimage/test_image.h"

namespace {

using namespace testimage;

bool SameImage(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format()) return false;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<std::size_t>(a.bytesPerLine())) != 0) return false;
    }
    return true;
}

}  // namespace

TEST(Determinism, ASeedGivesTheSameFrameAfterOtherRenders) {
    const FrameRequest request = CameraFrameRequest(2, 1234);
    const Frame first = RenderFrame(request);
    FrameRequest other = CameraFrameRequest(1, 99);
    other.effects.clutter = 1;
    const Frame between = RenderFrame(other);  // other sizes and fonts in the caches and pools
    const Frame again = RenderFrame(request);
    EXPECT_EQ(first.gray, again.gray);
    EXPECT_EQ(first.ink, again.ink);
    EXPECT_EQ(first.jpeg, again.jpeg);
    EXPECT_TRUE(SameImage(first.colour, again.colour));
    EXPECT_EQ(DescribeTruth(first.truth), DescribeTruth(again.truth));

    const Frame next = RenderFrame(CameraFrameRequest(2, 1235));
    EXPECT_NE(first.gray, next.gray);
    EXPECT_NE(first.truth.number, next.truth.number);
}

TEST(Determinism, ASeedGivesTheSamePhotoSet) {
    const Effects effects = GateCameraEffects();
    const PhotoSet first = RenderPhotoSet(PassKind::FourPhotos, 8, 3, effects);
    const PhotoSet again = RenderPhotoSet(PassKind::FourPhotos, 8, 3, effects);
    ASSERT_EQ(first.photos.size(), again.photos.size());
    EXPECT_EQ(first.prefix, again.prefix);
    for (std::size_t i = 0; i < first.photos.size(); ++i) {
        EXPECT_EQ(first.photos[i].fileName, again.photos[i].fileName);
        EXPECT_EQ(first.photos[i].frame.jpeg, again.photos[i].frame.jpeg);
    }
}
