#include "engine/location/gray_bmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "support/temp_drives.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A header of an 8-bit (or other) BMP with the given fields and `rows` padded rows of pixels.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, int rows) {
    const int rowBytes = GrayRowBytes(width < 0 ? -width : width);
    std::vector<std::uint8_t> bytes(GrayBmpHeaderBytes + static_cast<std::size_t>(rowBytes) * rows, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe32(&bytes[10], GrayBmpHeaderBytes);
    PutLe32(&bytes[14], 40);
    PutLe32(&bytes[18], static_cast<std::uint32_t>(width));
    PutLe32(&bytes[22], static_cast<std::uint32_t>(height));
    PutLe16(&bytes[26], 1);
    PutLe16(&bytes[28], static_cast<std::uint32_t>(bits));
    return bytes;
}

class GrayBmpTest : public ::testing::Test {
protected:
    TempDrives drives;
    void SetUp() override { std::memset(LoadedImage, 0x5A, sizeof LoadedImage); }
};

}  // namespace

TEST_F(GrayBmpTest, RoundTripsAtNarrowAndFullWidths) {
    for (int width : {1, FrameWidth - 3, FrameWidth - 2, FrameWidth - 1, FrameWidth}) {
        const int height = width == 1 ? 3 : FrameHeight;
        std::vector<std::uint8_t> source(static_cast<std::size_t>(FrameSize));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) source[PixelIndex(x, y)] = static_cast<std::uint8_t>(x * 7 + y * 13);
        ASSERT_EQ(WriteGrayBmp("c:\\round.bmp", source.data(), width, height, FrameStride), 0);
        const auto file = ReadFile(drives.On('c', "round.bmp"));
        ASSERT_EQ(file.size(), static_cast<std::size_t>(GrayBmpHeaderBytes + GrayRowBytes(width) * height));
        EXPECT_EQ(GetLe32(&file[2]), file.size());
        EXPECT_EQ(file[54 + 4 * 200], 200);  // gray palette

        ASSERT_EQ(LoadGrayBmp("c:\\round.bmp"), LoadOk) << width;
        EXPECT_EQ(LoadedImageWidth, width);
        EXPECT_EQ(LoadedImageHeight, height);
        EXPECT_EQ(LoadedImageStride, GrayRowBytes(width));
        bool same = true;
        for (int y = 0; y < FrameHeight; ++y)
            for (int x = 0; x < FrameWidth; ++x) {
                const bool inside = x < width && y < height;
                same &= LoadedImage[PixelIndex(x, y)] == (inside ? source[PixelIndex(x, y)] : 0);
            }
        EXPECT_TRUE(same) << "width " << width << ": pixels differ or the rest of the frame is not cleared";

        // Written back from the load buffer, the file is the same byte for byte.
        ASSERT_EQ(SaveGrayBmp("c:\\again.bmp"), 0);
        EXPECT_EQ(ReadFile(drives.On('c', "again.bmp")), file);
    }
}

TEST_F(GrayBmpTest, NonGrayPaletteLoadsTheSame) {
    auto bmp = MakeBmp(4, 2, 8, 2);
    for (int i = 54; i < GrayBmpHeaderBytes; ++i) bmp[i] = static_cast<std::uint8_t>(i * 31);
    bmp[GrayBmpHeaderBytes + 4] = 77;  // bottom file row is image row 1
    WriteFile(drives.On('c', "pal.bmp"), bmp);
    ASSERT_EQ(LoadGrayBmp("c:\\pal.bmp"), LoadOk);
    EXPECT_EQ(LoadedImage[PixelIndex(0, 0)], 77);
}

TEST_F(GrayBmpTest, RefusalsLeaveTheBufferAndSizesAlone) {
    std::vector<std::uint8_t> ok(static_cast<std::size_t>(FrameSize), 9);
    ASSERT_EQ(WriteGrayBmp("c:\\ok.bmp", ok.data(), 10, 10, FrameStride), 0);
    ASSERT_EQ(LoadGrayBmp("c:\\ok.bmp"), LoadOk);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int expected;
        const char* message;
    };
    auto truncatedPixels = MakeBmp(20, 20, 8, 19);
    auto truncatedHeader = MakeBmp(20, 20, 8, 0);
    truncatedHeader.resize(30);
    const Case cases[] = {
        {"24bit.bmp", MakeBmp(8, 8, 24, 8), LoadRefused, "Not GrayImage!\n"},
        {"tall.bmp", MakeBmp(FrameWidth + 1, FrameHeight + 1, 8, 0), LoadTooLarge, "ImgHeight Over!\n"},
        {"taller.bmp", MakeBmp(FrameWidth, FrameHeight + 1, 8, 0), LoadTooLarge, "ImgHeight Over!\n"},
        {"wide.bmp", MakeBmp(FrameWidth + 1, FrameHeight, 8, 0), LoadTooLarge, "ImgWidth Over!\n"},
        {"zero.bmp", MakeBmp(0, 10, 8, 0), LoadRefused, ""},
        {"negative.bmp", MakeBmp(10, -10, 8, 10), LoadRefused, ""},
        {"short.bmp", truncatedPixels, LoadRefused, ""},
        {"header.bmp", truncatedHeader, LoadRefused, ""},
    };
    for (const Case& c : cases) {
        WriteFile(drives.On('c', c.name), c.bytes);
        testing::internal::CaptureStdout();
        const int answer = LoadGrayBmp((std::string("c:\\") + c.name).c_str());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message) << c.name;
        EXPECT_EQ(answer, c.expected) << c.name;
        EXPECT_EQ(LoadedImageWidth, 10) << c.name;
        EXPECT_EQ(LoadedImageHeight, 10) << c.name;
        EXPECT_EQ(LoadedImage[PixelIndex(0, 0)], 9) << c.name;
        EXPECT_EQ(LoadedImage[PixelIndex(10, 0)], 0) << c.name;
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadGrayBmp("c:\\missing.bmp"), LoadRefused);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The debug writers after a refusal write the last image that did load.
    ASSERT_EQ(SaveGrayBmp("c:\\after.bmp"), 0);
    EXPECT_EQ(ReadFile(drives.On('c', "after.bmp")).size(), static_cast<std::size_t>(GrayBmpHeaderBytes + 12 * 10));
    ASSERT_EQ(SaveBinaryBmp("c:\\after1.bmp"), 0);
    EXPECT_EQ(ReadFile(drives.On('c', "after1.bmp")).size(), 62u + 4 * 10);
}

TEST_F(GrayBmpTest, BinaryImageBitOrderAndPolarityAtTheCorners) {
    LoadedImageWidth = 13;  // two bytes of bits, padded to four
    LoadedImageHeight = 3;
    std::memset(BinaryImage, 0, sizeof BinaryImage);
    BinaryImage[PixelIndex(0, 0)] = 1;   // top-left ink
    BinaryImage[PixelIndex(12, 2)] = 3;  // bottom-right mark counts as ink
    BinaryImage[PixelIndex(13, 2)] = 1;  // outside the image: never written
    std::filesystem::create_directories(drives.On('c', "work"));
    ASSERT_EQ(SaveBinaryBmp("c:\\work\\BWBuf.bmp"), 0);
    const auto file = ReadFile(drives.On('c', "work/BWBuf.bmp"));
    ASSERT_EQ(file.size(), 62u + 3 * 4);
    EXPECT_EQ(LoadedImageStride, 4);
    EXPECT_EQ(GetLe16(&file[28]), 1u);
    EXPECT_EQ(file[58], 255);  // palette entry 1 is white
    const std::uint8_t* bottom = &file[62];
    const std::uint8_t* top = &file[62 + 8];
    EXPECT_EQ(top[0], 0x7F);  // leftmost pixel in the high bit, black
    EXPECT_EQ(top[1], 0xF8);  // columns 8 to 12 white, bits past the width constant 0
    EXPECT_EQ(bottom[0], 0xFF);
    EXPECT_EQ(bottom[1], 0xF0);  // column 12 black
    EXPECT_EQ(bottom[2], 0);
}
