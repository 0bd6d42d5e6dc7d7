#include "engine/location/cam1/color_bmp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "engine/location/gray_bmp.h"
#include "support/temp_drives.h"

namespace {

struct Box {
    std::string text;
    std::string caption;
    win::UINT type;
};
std::vector<Box> Boxes;

int RecordBox(win::HWND, const char* text, const char* caption, win::UINT type) {
    Boxes.push_back({text, caption, type});
    return win::IDOK;
}

// The blue, green and red bytes of pixel (x, y) of the drawn test images.
std::uint8_t Channel(int x, int y, int channel) { return static_cast<std::uint8_t>(x * 3 + y * 5 + channel * 70); }

// A BMP of `bits` per pixel with `rows` of its padded rows present (fewer than the height cuts
// the file short); 24-bit pixels follow Channel.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, int rows) {
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
            for (int c = 0; c < 3; ++c) bytes[offset + i * rowBytes + x * 3 + c] = Channel(x, y, c);
    }
    return bytes;
}

class ColorBmpTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes.clear();
        ColorBmpMessageBox = RecordBox;
        std::memset(ColorImage, 0xA5, sizeof ColorImage);
    }

    void Write(const char* name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(drives.On('d', std::string("work/") + name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    int Load(const char* name) { return LoadColorBmp((std::string("d:\\work\\") + name).c_str()); }

    TempDrives drives;
};

std::uint8_t ColorAt(int x, int y, int channel) { return ColorImage[y * ColorRowBytes + x * 3 + channel]; }

}  // namespace

TEST_F(ColorBmpTest, RowsOfAnOddWidthReadWithoutDrift) {
    // 798 pixels of 3 bytes: 2394 bytes padded to 2396 a row.
    const int width = FrameWidth - 2;
    const int height = 7;
    Write("odd.bmp", MakeBmp(width, height, 24, height));
    ASSERT_EQ(Load("odd.bmp"), 0);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(LoadedImageWidth, width);
    EXPECT_EQ(LoadedImageHeight, height);
    EXPECT_EQ(LoadedImageStride, 2396);
    bool same = true;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) same &= ColorAt(x, y, c) == Channel(x, y, c);
    EXPECT_TRUE(same);
    EXPECT_EQ(ColorAt(width - 1, height - 1, 2), Channel(width - 1, height - 1, 2)) << "last column of the last row";
    EXPECT_EQ(ColorAt(width, 0, 0), 0) << "no earlier image shows beside the new one";
    EXPECT_EQ(ColorAt(0, height, 0), 0) << "nor below it";

    ConvertColorImageToGray();
    EXPECT_EQ(LoadedImage[PixelIndex(5, 3)], Channel(5, 3, 1)) << "the middle byte is the gray value";
    EXPECT_EQ(LoadedImage[PixelIndex(width - 1, height - 1)], Channel(width - 1, height - 1, 1));
    EXPECT_EQ(LoadedImage[PixelIndex(FrameWidth - 1, FrameHeight - 1)], 0);
}

TEST_F(ColorBmpTest, FullFrameLoads) {
    Write("full.bmp", MakeBmp(FrameWidth, FrameHeight, 24, FrameHeight));
    ASSERT_EQ(Load("full.bmp"), 0);
    EXPECT_EQ(ColorAt(FrameWidth - 1, FrameHeight - 1, 0), Channel(FrameWidth - 1, FrameHeight - 1, 0));
    EXPECT_EQ(ColorAt(0, 0, 2), Channel(0, 0, 2));
}

TEST_F(ColorBmpTest, RefusalsShowTheirBoxAndChangeNothing) {
    Write("small.bmp", MakeBmp(10, 10, 24, 10));
    ASSERT_EQ(Load("small.bmp"), 0);
    Boxes.clear();

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* text;  // nullptr: refused without a box
    };
    auto truncatedHeader = MakeBmp(20, 20, 24, 0);
    truncatedHeader.resize(40);
    const Case cases[] = {
        {"gray.bmp", MakeBmp(8, 8, 8, 8), "不是24位彩色BMP图象!"},
        {"tall.bmp", MakeBmp(FrameWidth, FrameHeight + 1, 24, 0), "图象高度越界!"},
        {"both.bmp", MakeBmp(FrameWidth + 1, FrameHeight + 1, 24, 0), "图象高度越界!"},
        {"wide.bmp", MakeBmp(FrameWidth + 1, FrameHeight, 24, 0), "图象宽度越界!"},
        {"short.bmp", MakeBmp(20, 20, 24, 19), nullptr},
        {"header.bmp", truncatedHeader, nullptr},
        {"zero.bmp", MakeBmp(0, 5, 24, 0), nullptr},
        {"topdown.bmp", MakeBmp(5, -5, 24, 5), nullptr},
    };
    for (const Case& c : cases) {
        Boxes.clear();
        Write(c.name, c.bytes);
        EXPECT_EQ(Load(c.name), 1) << c.name;
        if (c.text) {
            ASSERT_EQ(Boxes.size(), 1u) << c.name;
            EXPECT_EQ(Boxes[0].text, c.text);
            EXPECT_EQ(Boxes[0].caption, "kemra-ReadBMP");
            EXPECT_EQ(Boxes[0].type, win::MB_OK);
        } else {
            EXPECT_TRUE(Boxes.empty()) << c.name;
        }
        EXPECT_EQ(LoadedImageWidth, 10) << c.name;
        EXPECT_EQ(LoadedImageHeight, 10) << c.name;
        EXPECT_EQ(ColorAt(9, 9, 1), Channel(9, 9, 1)) << c.name;
    }
    Boxes.clear();
    EXPECT_EQ(Load("missing.bmp"), 1);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ColorBmpTest, ColourFileHandedToTheGrayReaderIsNotGray) {
    Write("colour.bmp", MakeBmp(8, 8, 24, 8));
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadGrayBmp("d:\\work\\colour.bmp"), LoadRefused);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not GrayImage!\n");
}
