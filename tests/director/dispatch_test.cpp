// The folder button: listing, counts, the view sequence, request files, posts and thumbnails;
// the launches at start and the quit requests at close.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/gray_bmp_writer.h"
#include "director/photo_buffers.h"
#include "director_fixture.h"

namespace {

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool IsColour(QRgb pixel, const QColor& colour) {
    const int tolerance = 12;
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

constexpr QRgb White = 0xFFFFFFFF;

}  // namespace

TEST_F(DirectorTest, StartLaunchesTheFourRecognizersHiddenAndCloseTellsThemToQuitFrontFirst) {
    AddRecognizers({1, 2, 3, 4});
    ScriptedDirector director([](ScriptedDirector& d) { d.Close(); });
    director.DoModal();
    HandlePending();
    const std::vector<std::pair<std::string, win::UINT>> expectedLaunches = {
        {"TORVA1.dic", win::SW_HIDE}, {"TORVA2.dic", win::SW_HIDE},
        {"TORVA3.dic", win::SW_HIDE}, {"TORVA4.dic", win::SW_HIDE}};
    EXPECT_EQ(launches, expectedLaunches);
    EXPECT_EQ(requests, (std::vector<Request>{{4, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}));

    // Escape ends the window without telling anybody, and a missing window is skipped.
    requests.clear();
    ScriptedDirector escaped([](ScriptedDirector& d) { d.OnCancel(); });
    escaped.DoModal();
    recognizers.erase(1);
    ScriptedDirector closed([](ScriptedDirector& d) { d.Close(); });
    closed.DoModal();
    HandlePending();
    EXPECT_EQ(requests, (std::vector<Request>{{4, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
}

TEST_F(DirectorTest, SixPhotoSetIsRequestedInViewOrderAndDrawnAtHalfSize) {
    AddRecognizers({1, 2, 4});  // no camera-3 recognizer runs
    const std::vector<Photo> photos = {
        {"01_Front.jpg", QColor(200, 30, 30), 800, 600},
        {"02_Rearx.jpg", QColor(30, 200, 30), 800, 600},
        {"03_Sider_01.jpg", QColor(30, 30, 200)},
        {"04_Sidel_02.jpg", QColor(200, 200, 30)},
        {"05_Sider_02.jpg", QColor(30, 200, 200)},
        {"06_Sidel_01.jpg", QColor(200, 30, 200)},
    };
    const std::string folder = MakeFolder("six", photos);
    RunWithFolder(folder, [&](ScriptedDirector& d) {
        EXPECT_EQ(folderTitles, (std::vector<std::string>{FolderDialogTitle}));
        EXPECT_EQ(d.m_folderPath, folder);
        EXPECT_EQ(d.GetDlgItemText(IDC_FOLDER_TEXT), folder);
        EXPECT_EQ(d.m_fusion.PhotoSet, PhotoSetSix);
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(requests, (std::vector<Request>{{4, 4, 0}, {1, 1, 0}, {2, 2, 1}, {2, 2, 0}}));
        for (const char* file : {"4.syc", "1.syc", "3_0.syc", "2_1.syc", "3_1.syc", "2_0.syc"}) {
            EXPECT_TRUE(RequestFileExists(file)) << file;
        }
        // Each photo fills its half-size place, the area around them is the cleared white.
        const QImage& canvas = d.canvas();
        const struct {
            int photo, x, y, width, height;
        } places[] = {{0, 0, 0, 400, 300},   {1, 0, 408, 400, 300},   {2, 410, 0, 300, 400},
                      {3, 410, 408, 300, 400}, {4, 720, 0, 300, 400}, {5, 720, 408, 300, 400}};
        for (const auto& place : places) {
            const QColor colour = photos[static_cast<std::size_t>(place.photo)].colour;
            EXPECT_TRUE(IsColour(canvas.pixel(place.x + 2, place.y + 2), colour)) << place.photo;
            EXPECT_TRUE(IsColour(canvas.pixel(place.x + place.width - 2, place.y + place.height - 2),
                                 colour))
                << place.photo;
            EXPECT_EQ(canvas.pixel(place.x + place.width + 1, place.y + place.height), White)
                << place.photo;
        }
        EXPECT_EQ(canvas.pixel(0, 809), 0xFF000000u);  // the cleared area's frame
    });
    // The request of the last photo holds its gray, the photo's green.
    const std::vector<char> request = FileBytes(drives.root() + "/c/2_0.syc");
    ASSERT_EQ(request.size(), static_cast<std::size_t>(GrayBmpHeaderBytes + 600 * 800));
    EXPECT_NEAR(static_cast<unsigned char>(request[GrayBmpHeaderBytes + 1234]), 30, 6);
}

TEST_F(DirectorTest, WrongCountsChangeNothing) {
    AddRecognizers({1, 2, 3, 4});
    std::vector<std::string> seventeen = SixViewNames();
    for (int i = 0; i < 11; ++i) seventeen.push_back("extra_" + std::to_string(i) + ".jpg");
    std::vector<std::string> five = SixViewNames();
    five.pop_back();
    for (const auto& names : {five, seventeen}) {
        boxes.clear();
        RunWithFolder(MakeNamedFolder("n" + std::to_string(names.size()), names),
                      [&](ScriptedDirector& d) {
                          EXPECT_EQ(d.m_fileCount, names.size() == 5 ? 5 : MaxPhotoFiles);
                          EXPECT_EQ(boxes, (std::vector<Box>{{WrongPhotoCountText, "TORVA"}}));
                          EXPECT_TRUE(requests.empty());
                          EXPECT_EQ(d.m_fusion.PhotoSet, PhotoSetNone);
                          EXPECT_FALSE(RequestFileExists("4.syc"));
                      });
    }
}

TEST_F(DirectorTest, ANameThatWouldLeadOutOfTheFolderIsNotListed) {
    AddRecognizers({1, 2, 3, 4});
    MakeFolder("secret", {{"x_Rearx.jpg", QColor(10, 200, 10), 40, 30}});
    // On Linux the backslashes are part of the name; joined to the folder they would climb out.
    const std::string folder =
        MakeNamedFolder("pass", {"01_Front.jpg", "03_Sider_01.jpg", "04_Sidel_01.jpg", "..\\secret\\x_Rearx.jpg"});
    RunWithFolder(folder, [&](ScriptedDirector& d) {
        EXPECT_EQ(d.m_fileCount, 3);
        EXPECT_EQ(boxes, (std::vector<Box>{{WrongPhotoCountText, "TORVA"}}));
        EXPECT_TRUE(requests.empty());
        EXPECT_FALSE(RequestFileExists("1.syc")) << "the photo outside the folder was read";
    });
}

TEST_F(DirectorTest, APhotoNameThatIsAFifoIsNotListed) {
    AddRecognizers({1, 2, 3, 4});
    const std::string folder = MakeNamedFolder("fifo", {"01_Front.jpg", "02_Rearx.jpg", "03_Sider_01.jpg", "04_Sidel_01.jpg"});
    ASSERT_EQ(::mkfifo((folder + "/05_Sidel_02.jpg").c_str(), 0600), 0);
    RunWithFolder(folder, [&](ScriptedDirector& d) {
        EXPECT_EQ(d.m_fileCount, 4);
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(requests, (std::vector<Request>{{4, 4, 0}, {1, 1, 0}, {3, 3, 0}, {2, 2, 0}}));
    });
}

TEST_F(DirectorTest, MissingViewsStopTheSequenceWhereTheyAre) {
    AddRecognizers({1, 2, 3, 4});
    std::vector<std::string> lowerFront = SixViewNames();
    lowerFront[0] = "01_front.jpg";  // view words are case-sensitive
    RunWithFolder(MakeNamedFolder("nofront", lowerFront), [&](ScriptedDirector& d) {
        EXPECT_EQ(boxes, (std::vector<Box>{{"Box File Name error", "TORVA"}}));
        EXPECT_TRUE(requests.empty());
        EXPECT_EQ(d.m_fusion.m_layout, LayoutUndecided);
        EXPECT_EQ(d.canvas().pixel(5, 5), White) << "the results were reset";
    });

    boxes.clear();
    std::vector<std::string> noSider2 = SixViewNames();
    noSider2[4] = "05_Side_02.jpg";
    RunWithFolder(MakeNamedFolder("nosider2", noSider2), [&](ScriptedDirector&) {
        EXPECT_EQ(requests, (std::vector<Request>{{4, 4, 0}, {1, 1, 0}, {3, 3, 0}, {2, 2, 1}}));
        EXPECT_EQ(boxes, (std::vector<Box>{{"Box File Name error: Sider_02 ", "TORVA"}}));
        EXPECT_FALSE(RequestFileExists("3_1.syc"));
        EXPECT_FALSE(RequestFileExists("2_0.syc"));
    });
}

TEST_F(DirectorTest, AnswersDuringAMissingViewBoxBelongToTheNewSet) {
    AddRecognizers({1, 2, 3, 4});
    RunWithFolder(MakeNamedFolder("six", SixViewNames()), [](ScriptedDirector&) {});
    std::uint8_t photoSetDuringBox = PhotoSetNone;
    ScriptedDirector* shown = nullptr;
    onBox = [&] { photoSetDuringBox = shown->m_fusion.PhotoSet; };
    pickedFolder = MakeNamedFolder("four", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    ScriptedDirector director([&](ScriptedDirector& d) {
        shown = &d;
        d.ClickSelectFolder();
        d.Close();
    });
    director.DoModal();
    EXPECT_EQ(photoSetDuringBox, PhotoSetFour);
}

TEST_F(DirectorTest, OnePhotoMayServeTwoViewsAndFourPhotoSetsIgnoreLeftSide2) {
    AddRecognizers({1, 2, 3, 4});
    std::vector<std::string> twoWords = SixViewNames();
    twoWords[0] = "01_Front_Rearx.jpg";
    twoWords[1] = "02_spare.jpg";
    RunWithFolder(MakeNamedFolder("twowords", twoWords), [&](ScriptedDirector&) {
        EXPECT_EQ(requests, SixPhotoRequests);
        EXPECT_TRUE(boxes.empty());
    });

    requests.clear();
    const std::vector<Photo> four = {
        {"Front_Sidel_02.jpg", QColor(200, 30, 30), 1100, 40},  // wider than the buffers
        {"Rearx.jpg", QColor(30, 200, 30), 80, 60},
        {"Sider_01.jpg", QColor(30, 30, 200), 60, 80},
        {"Sidel_01.jpg", QColor(200, 200, 30), 60, 80},
    };
    RunWithFolder(MakeFolder("four", four), [&](ScriptedDirector& d) {
        EXPECT_EQ(d.m_fusion.PhotoSet, PhotoSetFour);
        EXPECT_EQ(requests, (std::vector<Request>{{4, 4, 0}, {1, 1, 0}, {3, 3, 0}, {2, 2, 0}}));
        EXPECT_FALSE(RequestFileExists("2_1.syc"));
        EXPECT_TRUE(IsColour(d.canvas().pixel(412, 410), four[3].colour));
        // The photo too wide to take is requested empty and not drawn.
        EXPECT_EQ(FileBytes(drives.root() + "/c/4.syc").size(),
                  static_cast<std::size_t>(GrayBmpHeaderBytes));
        EXPECT_EQ(d.canvas().pixel(5, 5), White);
    });
}

// Two folders of fifty Chinese characters each: well over 260 bytes, as the file system takes it.
TEST_F(DirectorTest, AFolderWithALongChinesePathIsDispatchedAsItself) {
    AddRecognizers({1, 2, 3, 4});
    const std::string first = MakeNamedFolder("six", SixViewNames());
    std::string name;
    for (int i = 0; i < 50; ++i) name += "箱";
    const std::vector<Photo> four = {
        {"Front.jpg", QColor(200, 30, 30), 80, 60},
        {"Rearx.jpg", QColor(30, 200, 30), 80, 60},
        {"Sider_01.jpg", QColor(30, 30, 200), 60, 80},
        {"Sidel_01.jpg", QColor(200, 200, 30), 60, 80},
    };
    const std::string longFolder = MakeFolder(name + "/" + name, four);
    ASSERT_GT(longFolder.size(), 300u);
    pickedFolder = first;
    ScriptedDirector director([&](ScriptedDirector& d) {
        d.ClickSelectFolder();
        HandlePending();
        requests.clear();
        pickedFolder = longFolder;
        d.ClickSelectFolder();
        HandlePending();
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(d.m_folderPath, longFolder);
        EXPECT_EQ(d.GetDlgItemText(IDC_FOLDER_TEXT), longFolder);
        EXPECT_EQ(requests, (std::vector<Request>{{4, 4, 0}, {1, 1, 0}, {3, 3, 0}, {2, 2, 0}}));
        EXPECT_TRUE(IsColour(d.canvas().pixel(412, 410), four[3].colour));
        d.Close();
    });
    director.DoModal();
}

// A path over the file system's limit, or one whose names hold a backslash (the director's
// paths would take it for a separator and read another folder), is refused with a message.
TEST_F(DirectorTest, AFolderWithoutAUsablePathDispatchesNothingAndCancellingForgetsThePathOnly) {
    AddRecognizers({1, 2, 3, 4});
    for (const char* view : {"Front.jpg", "Rearx.jpg", "Sider_01.jpg", "Sidel_01.jpg"}) {
        std::ofstream{drives.On('c', view)};  // what an empty path would list
    }
    const std::string folder = MakeNamedFolder("six", SixViewNames());
    MakeNamedFolder("a/b", SixViewNames());
    const std::string unusable[] = {"/" + std::string(win::FolderPathSize, 'x'),
                                    drives.root() + "/e/a\\b"};
    pickedFolder = unusable[0];
    ScriptedDirector director([&](ScriptedDirector& d) {
        d.ClickSelectFolder();
        HandlePending();
        EXPECT_TRUE(requests.empty()) << "nothing is listed from drive c";
        pickedFolder = folder;
        d.ClickSelectFolder();
        HandlePending();
        std::snprintf(d.m_fusion.m_code1, CodeTextSize, "%s", "ABCU1234565");
        for (const std::string& path : unusable) {
            requests.clear();
            boxes.clear();
            pickedFolder = path;
            d.ClickSelectFolder();
            HandlePending();
            EXPECT_EQ(boxes, (std::vector<Box>{{FolderPathErrorText, "TORVA"}})) << path;
            EXPECT_TRUE(requests.empty()) << path;
            EXPECT_EQ(d.m_folderPath, "");
            EXPECT_EQ(d.GetDlgItemText(IDC_FOLDER_TEXT), folder);
            EXPECT_STREQ(d.m_fusion.m_code1, "ABCU1234565");
        }
        pickedFolder = folder;
        d.ClickSelectFolder();
        HandlePending();
        std::snprintf(d.m_fusion.m_code1, CodeTextSize, "%s", "ABCU1234565");
        pickedFolder.reset();
        requests.clear();
        boxes.clear();
        d.ClickSelectFolder();
        EXPECT_EQ(d.m_folderPath, "");
        EXPECT_EQ(d.GetDlgItemText(IDC_FOLDER_TEXT), folder);
        EXPECT_STREQ(d.m_fusion.m_code1, "ABCU1234565");
        EXPECT_TRUE(requests.empty());
        EXPECT_TRUE(boxes.empty());
        d.Close();
    });
    director.DoModal();
}
