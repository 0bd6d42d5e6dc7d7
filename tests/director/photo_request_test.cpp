// Photos decoded to three bytes a pixel, their gray request files, and the folder listing.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "director/photo_buffers.h"
#include "platform/file_find.h"
#include "platform/files.h"
#include "platform/photo_bitmap.h"
#include "support/temp_drives.h"

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Decodes a photo file the way the director does and takes it into the photo buffers.
void TakePhoto(const std::string& path) {
    const win::PhotoBitmap photo(path.c_str());
    win::BitmapData rows{};
    if (photo.LockBits(&rows)) {
        CopyPhotoPixels(rows.Scan0, rows.Stride, rows.Width, rows.Height);
    } else {
        CopyPhotoPixels(nullptr, 0, 0, 0);
    }
    ConvertPhotoToGray();
}

class PhotoRequest : public ::testing::Test {
protected:
    TempDrives drives;

    std::string SaveJpeg(const QImage& image, const std::string& name) {
        const std::string path = drives.On('e', name);
        EXPECT_TRUE(image.save(QString::fromStdString(path), "JPG", 100));
        return path;
    }
};

}  // namespace

TEST_F(PhotoRequest, ColourAndGrayJpegsComeAsThreeBytesAPixelGreenInTheMiddle) {
    QImage colour(24, 16, QImage::Format_RGB32);
    colour.fill(QColor(200, 60, 20));
    const win::PhotoBitmap fromColour(SaveJpeg(colour, "colour.jpg").c_str());
    win::BitmapData rows{};
    ASSERT_TRUE(fromColour.LockBits(&rows));
    EXPECT_EQ(rows.Width, 24);
    EXPECT_EQ(rows.Height, 16);
    const std::uint8_t* pixel = rows.Scan0 + rows.Stride * 9 + 3 * 13;
    EXPECT_NEAR(pixel[0], 20, 6);   // blue
    EXPECT_NEAR(pixel[1], 60, 6);   // green
    EXPECT_NEAR(pixel[2], 200, 6);  // red

    QImage gray(10, 6, QImage::Format_Grayscale8);
    gray.fill(QColor(90, 90, 90));
    const win::PhotoBitmap fromGray(SaveJpeg(gray, "gray.jpg").c_str());
    ASSERT_TRUE(fromGray.LockBits(&rows));
    pixel = rows.Scan0 + rows.Stride * 3 + 3 * 4;
    EXPECT_NEAR(pixel[1], 90, 3);
    EXPECT_EQ(pixel[0], pixel[1]);
    EXPECT_EQ(pixel[2], pixel[1]);

    std::ofstream(drives.On('e', "broken.jpg")) << "not a photo";
    const win::PhotoBitmap broken(drives.On('e', "broken.jpg").c_str());
    EXPECT_EQ(broken.GetWidth(), 0);
    EXPECT_EQ(broken.GetHeight(), 0);
    EXPECT_FALSE(broken.LockBits(&rows));
}

TEST_F(PhotoRequest, RequestFileHoldsTheGreenChannelBottomUpInPaddedRows) {
    // Odd width: the decoded rows and the file rows are both padded.
    QImage image(37, 5, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixelColor(x, y, QColor(255 - 6 * x, 40 * y + 10, 3 * x));
        }
    }
    const std::string path = SaveJpeg(image, "odd.jpg");
    TakePhoto(path);
    ASSERT_EQ(PhotoWidth, 37);
    ASSERT_EQ(PhotoHeight, 5);
    ASSERT_EQ(WriteGrayRequestBmp("c:\\2_0.syc"), 0);

    const QImage decoded = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    const std::vector<std::uint8_t> file = ReadBytes(drives.On('c', "2_0.syc"));
    const int rowBytes = 40;
    ASSERT_EQ(file.size(), static_cast<std::size_t>(GrayBmpHeaderBytes + rowBytes * 5));
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(GetLe32(&file[2]), file.size());
    EXPECT_EQ(GetLe32(&file[10]), static_cast<std::uint32_t>(GrayBmpHeaderBytes));
    EXPECT_EQ(GetLe32(&file[18]), 37u);
    EXPECT_EQ(GetLe32(&file[22]), 5u);
    EXPECT_EQ(GetLe16(&file[28]), 8u);
    EXPECT_EQ(file[54 + 4 * 200], 200);  // gray palette
    EXPECT_EQ(file[54 + 4 * 200 + 2], 200);
    for (int y = 0; y < 5; ++y) {
        const std::size_t row = GrayBmpHeaderBytes + static_cast<std::size_t>(4 - y) * rowBytes;
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(file[row + x], qGreen(decoded.pixel(x, y))) << x << "," << y;
        }
    }
}

TEST_F(PhotoRequest, ARequestFileReplacesALinkAtItsNameAndItsDriveIsPrivate) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::gray);
    TakePhoto(SaveJpeg(image, "small.jpg"));
    const std::string request = win::MapPath("c:\\4.syc");  // makes drive c
    struct stat drive {};
    ASSERT_EQ(::stat((drives.root() + "/c").c_str(), &drive), 0);
    EXPECT_EQ(drive.st_mode & 0777, 0700u);

    const std::string target = drives.On('e', "target.txt");
    std::ofstream(target) << "kept";
    ASSERT_EQ(::symlink(target.c_str(), request.c_str()), 0);
    ASSERT_EQ(WriteGrayRequestBmp("c:\\4.syc"), 0);
    struct stat written {};
    ASSERT_EQ(::lstat(request.c_str(), &written), 0);
    EXPECT_TRUE(S_ISREG(written.st_mode)) << "the link itself is replaced";
    EXPECT_EQ(written.st_mode & 0777, 0600u);
    EXPECT_EQ(written.st_size, GrayBmpHeaderBytes + 8 * 4);
    EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
}

TEST_F(PhotoRequest, PhotosBeyondTheBuffersAreTakenAsUndecodedButStillRequested) {
    QImage wide(PhotoMaxSide + 1, 8, QImage::Format_RGB32);
    wide.fill(Qt::white);
    TakePhoto(SaveJpeg(wide, "wide.jpg"));
    EXPECT_EQ(PhotoWidth, 0);
    EXPECT_EQ(PhotoHeight, 0);
    ASSERT_EQ(WriteGrayRequestBmp("c:\\4.syc"), 0);
    const std::vector<std::uint8_t> file = ReadBytes(drives.On('c', "4.syc"));
    ASSERT_EQ(file.size(), static_cast<std::size_t>(GrayBmpHeaderBytes));
    EXPECT_EQ(GetLe32(&file[18]), 0u);
    EXPECT_EQ(GetLe32(&file[22]), 0u);

    QImage tall(8, PhotoMaxSide + 1, QImage::Format_RGB32);
    tall.fill(Qt::white);
    TakePhoto(SaveJpeg(tall, "tall.jpg"));
    EXPECT_EQ(PhotoHeight, 0);

    // The largest photo the buffers hold is taken whole, its last pixel included.
    QImage largest(PhotoMaxSide, PhotoMaxSide, QImage::Format_RGB32);
    largest.fill(QColor(0, 0, 0));
    largest.setPixelColor(PhotoMaxSide - 1, PhotoMaxSide - 1, QColor(255, 255, 255));
    TakePhoto(SaveJpeg(largest, "largest.jpg"));
    EXPECT_EQ(PhotoWidth, PhotoMaxSide);
    EXPECT_EQ(PhotoHeight, PhotoMaxSide);
    EXPECT_GT(PhotoGray[PhotoMaxSide * PhotoGrayStride - 1], 128);
}

TEST_F(PhotoRequest, FolderListingIsSortedCaseFoldedJpgFilesOnly) {
    for (const char* name : {"b_Sidel_01.JPG", "A_Front.jpg", "c.jpeg", "d_Rearx.Jpg", "B_x.jpg", "B_X.jpg"}) {
        std::ofstream(drives.On('e', std::string("set/") + name)) << "x";
    }
    std::filesystem::create_directories(drives.On('e', "set/folder.jpg"));
    const std::string pattern = drives.root() + "/e/set\\*.jpg";

    win::CFileFind finder;
    std::vector<std::string> listed;
    bool more = finder.FindFile(pattern.c_str());
    while (more) {
        more = finder.FindNextFile();
        listed.push_back(finder.GetFileName());
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"A_Front.jpg", "b_Sidel_01.JPG", "B_X.jpg",
                                                 "B_x.jpg", "d_Rearx.Jpg"}));
    EXPECT_FALSE(finder.FindFile((drives.root() + "/e/missing\\*.jpg").c_str()));
}
