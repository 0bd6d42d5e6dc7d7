// What the command and the library write: gray request BMPs, photo sets named as the gate
// cameras name them, and a ground-truth text beside every image.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "support/temp_drives.h"
#include "tools/testimage/test_image.h"

namespace {

using namespace testimage;
namespace fs = std::filesystem;

const char* const ViewWords[] = {"Front", "Rearx", "Sider_01", "Sidel_01", "Sider_02", "Sidel_02"};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    const std::string text = ReadText(path);
    return {text.begin(), text.end()};
}

// The value of a "key value" line of a ground-truth text.
std::string Value(const std::string& text, const std::string& key) {
    const std::string wrapped = "\n" + text;
    const std::size_t at = wrapped.find("\n" + key + " ");
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size() + 2;
    return wrapped.substr(from, wrapped.find('\n', from) - from);
}

std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == extension) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The view words a file name holds, as the director looks for them (case-sensitive).
std::vector<std::string> ViewsIn(const std::string& name) {
    std::vector<std::string> views;
    for (const char* word : ViewWords) {
        if (name.find(word) != std::string::npos) views.push_back(word);
    }
    return views;
}

int RunCommand(const std::string& arguments) {
    const std::string command = std::string(TORVA_BIN_DIR) + "/make_test_images " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Files, GrayFrameIsAnEightBitBmpOfThePictureWithItsTruthBeside) {
    TempDrives drives;
    const Frame frame = RenderFrame(CameraFrameRequest(1, 6));
    const fs::path folder = fs::path(drives.root()) / "frames";
    ASSERT_EQ(WriteGrayFrame(folder.string(), "1_1", frame), "");
    const std::vector<std::uint8_t> bmp = ReadBytes(folder / "1_1.bmp");
    ASSERT_EQ(bmp.size(), static_cast<std::size_t>(GrayBmpHeaderBytes + 800 * 600));
    EXPECT_EQ(GetLe32(&bmp[18]), 800u);
    EXPECT_EQ(GetLe32(&bmp[22]), 600u);
    EXPECT_EQ(GetLe16(&bmp[28]), 8u);
    for (int y : {0, 123, 599}) {
        const std::uint8_t* row = &bmp[GrayBmpHeaderBytes + static_cast<std::size_t>(599 - y) * 800];
        EXPECT_TRUE(std::equal(row, row + 800, frame.gray.begin() + y * 800)) << "row " << y;
    }
    const std::string truth = ReadText(folder / "1_1.txt");
    EXPECT_EQ(Value(truth, "image"), "1_1.bmp");
    EXPECT_EQ(Value(truth, "number"), frame.truth.number);
    EXPECT_EQ(Value(truth, "size"), "800 600");
    EXPECT_EQ(Value(truth, "layout"), "one-line");
    EXPECT_NE(truth.find("\nline number " + frame.truth.number + " horizontal "), std::string::npos);
    EXPECT_EQ(WriteGrayFrame("/proc/no/such/folder", "x", frame).empty(), false);
}

TEST(Files, PhotoSetsAreNamedAsTheGateCamerasNameThem) {
    const QRegularExpression pattern(R"(^\d\d_\d{6}_\d{6}_CAR\d{4}_(Front|Rearx|Sider_01|Sidel_01|Sider_02|Sidel_02)\.jpg$)");
    struct Expected {
        PassKind kind;
        std::size_t photos;
        const char* firsts;
    };
    for (const Expected& expected : {Expected{PassKind::FourPhotos, 4, "2"}, Expected{PassKind::SixOneContainer, 6, "4L9"},
                                     Expected{PassKind::SixTwoContainers, 6, "2"}}) {
        TempDrives drives;
        const PhotoSet set = RenderPhotoSet(expected.kind, 5, 7, GateCameraEffects());
        const fs::path folder = fs::path(drives.root()) / "pass";
        ASSERT_EQ(WritePhotoSet(folder.string(), set), "");
        const std::vector<fs::path> photos = FilesIn(folder, ".jpg");
        ASSERT_EQ(photos.size(), expected.photos);
        std::set<std::string> views;
        std::map<char, std::set<std::string>> numbers;
        for (const fs::path& path : photos) {
            const std::string name = path.filename().string();
            EXPECT_TRUE(pattern.match(QString::fromStdString(name)).hasMatch()) << name;
            EXPECT_NE(name.find("_CAR0007_"), std::string::npos) << name;
            ASSERT_EQ(ViewsIn(name).size(), 1u) << name;
            const std::string view = ViewsIn(name)[0];
            views.insert(view);

            QImage image;
            ASSERT_TRUE(image.load(QString::fromStdString(path.string()), "JPG")) << name;
            EXPECT_FALSE(image.isGrayscale()) << name;
            const int maxWidth = view.rfind("Sidel", 0) == 0 ? 600 : view == "Rearx" ? 800 : 1024;
            const int maxHeight = view.rfind("Sidel", 0) == 0 ? 800 : view == "Rearx" ? 600 : 1024;
            EXPECT_LE(image.width(), maxWidth) << name;
            EXPECT_LE(image.height(), maxHeight) << name;

            fs::path truthPath = path;
            truthPath.replace_extension(".txt");
            const std::string truth = ReadText(truthPath);
            EXPECT_EQ(Value(truth, "image"), name);
            EXPECT_EQ(Value(truth, "view"), view);
            const std::string sizeType = Value(truth, "size_type");
            ASSERT_EQ(sizeType.size(), 4u);
            EXPECT_NE(std::string(expected.firsts).find(sizeType[0]), std::string::npos) << sizeType;
            const std::string container = Value(truth, "container");
            ASSERT_EQ(container.size(), 1u);
            numbers[container[0]].insert(Value(truth, "number") + " " + sizeType);
            // Front and the first photos show container A, the rear and second ones container B.
            if (expected.kind == PassKind::SixTwoContainers) {
                EXPECT_EQ(container, view == "Front" || view.find("_01") != std::string::npos ? "A" : "B") << name;
            } else {
                EXPECT_EQ(container, "A");
            }
        }
        EXPECT_EQ(views.size(), expected.photos);
        EXPECT_TRUE(views.count("Sidel_01") && views.count("Rearx") && views.count("Front") && views.count("Sider_01"));
        for (const auto& [container, seen] : numbers) EXPECT_EQ(seen.size(), 1u) << container;  // one number a container
        EXPECT_EQ(numbers.size(), expected.kind == PassKind::SixTwoContainers ? 2u : 1u);
    }
}

TEST(Files, CommandWritesFramesAndPhotoSetsAndRefusesBadArguments) {
    TempDrives drives;
    const std::string root = drives.root();
    EXPECT_EQ(RunCommand(""), 2);
    EXPECT_EQ(RunCommand("pictures " + root + "/x"), 2);
    EXPECT_EQ(RunCommand("frames " + root + "/x --count 0"), 2);
    EXPECT_EQ(RunCommand("frames " + root + "/x --camera 3"), 2);
    EXPECT_EQ(RunCommand("frames " + root + "/x --layout diagonal"), 2);
    EXPECT_EQ(RunCommand("frames " + root + "/x --effect blur=2"), 2);
    EXPECT_EQ(RunCommand("frames " + root + "/x --effect haze=0.5"), 2);
    EXPECT_EQ(RunCommand("frames " + root + "/x --seed"), 2);
    EXPECT_FALSE(fs::exists(root + "/x"));

    ASSERT_EQ(RunCommand("frames " + root + "/cam2 --count 2 --seed 9 --layout vertical --effect noise=0.2"), 0);
    EXPECT_EQ(FilesIn(root + "/cam2", ".bmp").size(), 2u);
    EXPECT_EQ(FilesIn(root + "/cam2", ".txt").size(), 2u);
    const std::string truth = ReadText(root + "/cam2/2_3.txt");
    EXPECT_EQ(Value(truth, "layout"), "vertical");
    EXPECT_EQ(Value(truth, "seed"), "10");
    EXPECT_NE(Value(truth, "effects").find("noise=0.20"), std::string::npos);

    ASSERT_EQ(RunCommand("frames " + root + "/cam1 --camera 1 --clean --first 5 --count 2"), 0);
    EXPECT_TRUE(fs::exists(root + "/cam1/5_1.bmp"));
    EXPECT_TRUE(fs::exists(root + "/cam1/6_1.txt"));

    ASSERT_EQ(RunCommand("photos " + root + "/sets --count 1 --pass four"), 0);
    EXPECT_EQ(FilesIn(root + "/sets/pass_0001", ".jpg").size(), 4u);
    EXPECT_EQ(RunCommand("photos /proc/no/such/folder --count 1 --pass four"), 1);
}
