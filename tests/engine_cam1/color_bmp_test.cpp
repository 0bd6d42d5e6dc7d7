#include "engine/location/cam1/color_bmp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/location/gray_bmp.h"
#include "support/color_bmp_file.h"
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

const MessageBoxFunction Unhooked = ColorBmpMessageBox;

class ColorBmpTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes.clear();
        ColorBmpMessageBox = RecordBox;
        std::memset(ColorImage, 0xA5, sizeof ColorImage);
    }
    void TearDown() override { ColorBmpMessageBox = Unhooked; }

    void Write(const char* name, const std::vector<std::uint8_t>& bytes) {
        WriteBytes(drives.On('d', std::string("work/") + name), bytes);
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
    Write("odd.bmp", MakeTestBmp(width, height, 24, height));
    ASSERT_EQ(Load("odd.bmp"), 0);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(LoadedImageWidth, width);
    EXPECT_EQ(LoadedImageHeight, height);
    EXPECT_EQ(LoadedImageStride, 2396);
    bool same = true;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) same &= ColorAt(x, y, c) == TestChannel(x, y, c);
    EXPECT_TRUE(same);
    EXPECT_EQ(ColorAt(width - 1, height - 1, 2), TestChannel(width - 1, height - 1, 2)) << "last column of the last row";
    EXPECT_EQ(ColorAt(width, 0, 0), 0) << "no earlier image shows beside the new one";
    EXPECT_EQ(ColorAt(0, height, 0), 0) << "nor below it";

    ConvertColorImageToGray();
    EXPECT_EQ(LoadedImage[PixelIndex(5, 3)], TestChannel(5, 3, 1)) << "the middle byte is the gray value";
    EXPECT_EQ(LoadedImage[PixelIndex(width - 1, height - 1)], TestChannel(width - 1, height - 1, 1));
    EXPECT_EQ(LoadedImage[PixelIndex(FrameWidth - 1, FrameHeight - 1)], 0);
}

TEST_F(ColorBmpTest, FullFrameLoads) {
    Write("full.bmp", MakeTestBmp(FrameWidth, FrameHeight, 24, FrameHeight));
    ASSERT_EQ(Load("full.bmp"), 0);
    EXPECT_EQ(ColorAt(FrameWidth - 1, FrameHeight - 1, 0), TestChannel(FrameWidth - 1, FrameHeight - 1, 0));
    EXPECT_EQ(ColorAt(0, 0, 2), TestChannel(0, 0, 2));
}

TEST_F(ColorBmpTest, RefusalsShowTheirBoxAndChangeNothing) {
    Write("small.bmp", MakeTestBmp(10, 10, 24, 10));
    ASSERT_EQ(Load("small.bmp"), 0);
    Boxes.clear();

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* text;  // nullptr: refused without a box
    };
    auto truncatedHeader = MakeTestBmp(20, 20, 24, 0);
    truncatedHeader.resize(40);
    const Case cases[] = {
        {"gray.bmp", MakeTestBmp(8, 8, 8, 8), "不是24位彩色BMP图象!"},
        {"tall.bmp", MakeTestBmp(FrameWidth, FrameHeight + 1, 24, 0), "图象高度越界!"},
        {"both.bmp", MakeTestBmp(FrameWidth + 1, FrameHeight + 1, 24, 0), "图象高度越界!"},
        {"wide.bmp", MakeTestBmp(FrameWidth + 1, FrameHeight, 24, 0), "图象宽度越界!"},
        {"short.bmp", MakeTestBmp(20, 20, 24, 19), nullptr},
        {"header.bmp", truncatedHeader, nullptr},
        {"zero.bmp", MakeTestBmp(0, 5, 24, 0), nullptr},
        {"topdown.bmp", MakeTestBmp(5, -5, 24, 5), nullptr},
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
        EXPECT_EQ(ColorAt(9, 9, 1), TestChannel(9, 9, 1)) << c.name;
    }
    Boxes.clear();
    EXPECT_EQ(Load("missing.bmp"), 1);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ColorBmpTest, ColourFileHandedToTheGrayReaderIsNotGray) {
    Write("colour.bmp", MakeTestBmp(8, 8, 24, 8));
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadGrayBmp("d:\\work\\colour.bmp"), LoadRefused);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not GrayImage!\n");
}
