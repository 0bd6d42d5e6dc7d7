// The camera-1 recognizer's window, settings and test buttons, driven inside the test process.
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "engine/location/cam1/color_bmp.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "platform/file_dialog.h"
#include "platform/files.h"
#include "recognizer/cam1/brisel_dlg.h"
#include "support/color_bmp_file.h"
#include "support/message_box_recorder.h"
#include "support/qt_test_app.h"
#include "support/temp_bus.h"
#include "support/temp_drives.h"

namespace {

constexpr const char* Caption = "TORVA-VIDEO-CAM1";
constexpr const char* DefaultSettings = "[Settings]\r\nFace1_TOP=140\r\nFace1_BOTTOM=250\r\nFace1_LEFT=220\r\nFace1_RIGHT=100\r\n";
constexpr int DialogEnded = -7;  // what a test's safety stop answers

class BriselDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(win::AfxSocketInit());
    }
    void TearDown() override {
        win::SetFileDialogHook(nullptr);
        DebugDumpFlag = 0;
    }

    // Runs `script` inside the dialog's modal loop; the dialog then ends by the script or, at
    // the latest, by the safety stop. Answers how it ended.
    win::INT_PTR RunInDialog(CRecognizerDlg& dialog, const std::function<void()>& script) {
        QTimer::singleShot(0, dialog.widget(), script);
        QTimer::singleShot(EventTimeoutMs, dialog.widget(), [&] { dialog.EndDialog(DialogEnded); });
        return dialog.DoModal();
    }
    static void Key(CRecognizerDlg& dialog, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog.GetDlgItem(IDC_SEQUENCE_TEST), &press);  // the focused button
    }

    void WriteGray(const char* path, int width, int height, std::uint8_t value) {
        std::filesystem::create_directories(std::filesystem::path(win::MapPath(path)).parent_path());
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), value);
        ASSERT_EQ(WriteGrayBmp(path, pixels.data(), width, height, width), 0);
    }
    std::string Settings() const {
        std::ifstream in(drives_.root() + "/c/TORVA_VIDEO.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool SettingsExist() const { return std::filesystem::exists(drives_.root() + "/c/TORVA_VIDEO.ini"); }

    TempDrives drives_;
    TempBus bus_;
    MessageBoxRecorder recorder_;
    std::vector<RecordedBox>& boxes_ = recorder_.boxes;
};

TEST_F(BriselDialogTest, WindowCarriesItsAddressMarkAndTextsAndNoOkOrCancel) {
    DebugDumpFlag = 1;
    CRecognizerDlg dialog;
    EXPECT_EQ(RunInDialog(dialog,
                          [&] {
                              EXPECT_EQ(win::FindWindowA(nullptr, Caption), dialog.GetSafeHwnd());
                              EXPECT_EQ(win::GetPropA(dialog.GetSafeHwnd(), "TORVA_XHR_1"), reinterpret_cast<win::HANDLE>(1));
                              EXPECT_TRUE(dialog.widget()->windowFlags().testFlag(Qt::Tool)) << "no taskbar button";
                              EXPECT_EQ(DebugDumpFlag, 0);
                              EXPECT_EQ(dialog.GetDlgItemText(IDC_CAMERA_LABEL), "相机 1");
                              EXPECT_EQ(dialog.GetDlgItemText(IDC_SEQUENCE_TEST), "顺序打开待识图像");
                              EXPECT_EQ(dialog.GetDlgItemText(IDC_OPEN_IMAGE), "打开单个灰度图像");
                              EXPECT_EQ(dialog.GetDlgItemText(IDC_RECOG_LIB), "测试识别库");
                              EXPECT_EQ(dialog.GetDlgItemText(IDC_RESULT_TEXT), "");
                              EXPECT_EQ(dialog.GetDlgItem(win::IDOK), nullptr);
                              EXPECT_EQ(dialog.GetDlgItem(win::IDCANCEL), nullptr);
                              dialog.EndDialog(win::IDOK);
                          }),
              win::IDOK);
    EXPECT_EQ(win::FindWindowA(nullptr, Caption), nullptr);
}

TEST_F(BriselDialogTest, WithoutSettingsTheDefaultsHoldAndEscapeWritesThem) {
    CRecognizerDlg dialog;
    EXPECT_EQ(RunInDialog(dialog,
                          [&] {
                              const SearchMargins m = dialog.Margins();
                              EXPECT_EQ(m.top, 140);
                              EXPECT_EQ(m.bottom, 250);
                              EXPECT_EQ(m.left, 220);
                              EXPECT_EQ(m.right, 100);
                              EXPECT_FALSE(SettingsExist()) << "reading creates nothing";
                              QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                              QCoreApplication::sendEvent(dialog.widget(), &escape);
                          }),
              win::IDCANCEL);
    EXPECT_EQ(Settings(), DefaultSettings);

    std::filesystem::remove(drives_.root() + "/c/TORVA_VIDEO.ini");
    CRecognizerDlg closed;
    EXPECT_EQ(RunInDialog(closed, [&] { closed.widget()->close(); }), win::IDCANCEL);
    EXPECT_EQ(Settings(), DefaultSettings) << "closing the window saves too";
}

TEST_F(BriselDialogTest, EnterEndsTheDialogWithoutSavingOrPressingAButton) {
    WriteGray("E:\\TORVA\\BMP\\1882_1.bmp", 33, 10, 1);  // what the focused sequence button would load
    LoadedImageWidth = 800;
    CRecognizerDlg dialog;
    EXPECT_EQ(RunInDialog(dialog, [&] { Key(dialog, Qt::Key_Return); }), win::IDOK);
    EXPECT_FALSE(SettingsExist());
    EXPECT_EQ(LoadedImageWidth, 800) << "the focused button was not pressed";
}

TEST_F(BriselDialogTest, SettingsAreReadAsNumbersAndWrittenBackKeepingTheRestOfTheFile) {
    std::ofstream(drives_.On('c', "TORVA_VIDEO.ini"), std::ios::binary)
        << "[Camera]\r\nName=rear\r\n[settings]\r\nface1_top=12x\r\nFace1_BOTTOM=abc\r\nFace1_LEFT= -5\r\nOther=1\r\n";
    CRecognizerDlg dialog;
    EXPECT_EQ(RunInDialog(dialog,
                          [&] {
                              const SearchMargins m = dialog.Margins();
                              EXPECT_EQ(m.top, 12);
                              EXPECT_EQ(m.bottom, 0);
                              EXPECT_EQ(m.left, -5);
                              EXPECT_EQ(m.right, 100) << "a missing key takes its default";
                              dialog.widget()->close();
                          }),
              win::IDCANCEL);
    EXPECT_EQ(Settings(),
              "[Camera]\r\nName=rear\r\n[settings]\r\nFace1_TOP=12\r\nFace1_BOTTOM=0\r\nFace1_LEFT=-5\r\nOther=1\r\n"
              "Face1_RIGHT=100\r\n");
}

TEST_F(BriselDialogTest, MarginsBeyondThirtyTwoBitsAreHeldAtTheEndsNotWrapped) {
    std::ofstream(drives_.On('c', "TORVA_VIDEO.ini"), std::ios::binary)
        << "[Settings]\r\nFace1_TOP=99999999999\r\nFace1_BOTTOM=-99999999999\r\nFace1_LEFT=2147483648\r\n"
           "Face1_RIGHT=999999999999999999999999\r\n";
    CRecognizerDlg dialog;
    EXPECT_EQ(RunInDialog(dialog,
                          [&] {
                              const SearchMargins m = dialog.Margins();
                              EXPECT_EQ(m.top, 2147483647);
                              EXPECT_EQ(m.bottom, -2147483647 - 1);
                              EXPECT_EQ(m.left, 2147483647);
                              EXPECT_EQ(m.right, 2147483647);
                              dialog.widget()->close();
                          }),
              win::IDCANCEL);
    EXPECT_EQ(Settings(),
              "[Settings]\r\nFace1_TOP=2147483647\r\nFace1_BOTTOM=-2147483648\r\nFace1_LEFT=2147483647\r\n"
              "Face1_RIGHT=2147483647\r\n");
}

TEST_F(BriselDialogTest, AReadOnlySettingsFileIsLeftAsItWasAndSaidSo) {
    namespace fs = std::filesystem;
    const std::string path = drives_.On('c', "TORVA_VIDEO.ini");
    std::ofstream(path, std::ios::binary) << "[Settings]\r\nFace1_TOP=7\r\n";
    fs::permissions(path, fs::perms::owner_read);
    CRecognizerDlg dialog;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunInDialog(dialog, [&] { dialog.widget()->close(); }), win::IDCANCEL);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Settings(), "[Settings]\r\nFace1_TOP=7\r\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read);
    EXPECT_NE(said.find("TORVA_VIDEO.ini is read-only"), std::string::npos) << said;
}

TEST(BriselSearchRegion, StaysInsideTheFrameWhateverTheMargins) {
    struct Case {
        SearchMargins margins;
        int width, height;
        bool found;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {DefaultBriselMargins, 800, 600, true, 220, 140, 700, 350},
        {{0, 0, 0, 0}, 800, 600, true, 0, 0, 799, 599},
        {{-5, -5, -5, -5}, 800, 600, true, 0, 0, 799, 599},
        {{0, 0, 0, 0}, 300, 200, true, 0, 0, 299, 199},
        {DefaultBriselMargins, 500, 300, true, 220, 140, 499, 299},
        {{0, 0, 500, 300}, 800, 600, true, 500, 0, 500, 599},
        {{0, 0, 500, 301}, 800, 600, false, 0, 0, 0, 0},
        {{300, 301, 0, 0}, 800, 600, false, 0, 0, 0, 0},
        {{0, 0, 900, 0}, 800, 600, false, 0, 0, 0, 0},
        {{0, -2147483647 - 1, 0, -2147483647 - 1}, 800, 600, true, 0, 0, 799, 599},
        {{2147483647, 0, 0, 0}, 800, 600, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        PackedPoint topLeft = 0;
        PackedPoint bottomRight = 0;
        ASSERT_EQ(ClipSearchRegion(c.margins, c.width, c.height, &topLeft, &bottomRight), c.found)
            << c.margins.top << " " << c.margins.bottom << " " << c.margins.left << " " << c.margins.right;
        if (!c.found) continue;
        EXPECT_EQ(topLeft, PackPoint(c.left, c.top));
        EXPECT_EQ(bottomRight, PackPoint(c.right, c.bottom));
    }
}

TEST_F(BriselDialogTest, OpenImageRecognizesTheChosenFileOrElseThePreviousImage) {
    WriteGray("d:\\pics\\a.bmp", 640, 480, 77);
    std::vector<win::FileDialogRequest> requests;
    std::optional<std::string> answer = win::MapPath("d:\\pics\\a.bmp");
    win::SetFileDialogHook([&](const win::FileDialogRequest& request) {
        requests.push_back(request);
        return answer;
    });
    CRecognizerDlg dialog;
    RunInDialog(dialog, [&] {
        std::strcpy(RecognizerResult.code, "ABCU1234567");  // what an earlier image left
        dialog.SetDlgItemTextA(IDC_RESULT_TEXT, "ABCU1234567 ");
        std::memset(WorkImage, 0, sizeof WorkImage);
        OnOpenImage(dialog);
        EXPECT_EQ(DebugDumpFlag, 1);
        EXPECT_EQ(LoadedImageWidth, 640);
        EXPECT_EQ(WorkImage[PixelIndex(639, 479)], 77);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_RESULT_TEXT), " ") << "never the text of an earlier image";

        // A file that does not load: the image before it is recognized again, even when a debug
        // image has gone through the load buffer since.
        answer = win::MapPath("d:\\pics\\missing.bmp");
        std::memset(LoadedImage, 0, sizeof LoadedImage);
        std::strcpy(RecognizerResult.code, "ABCU1234567");
        OnOpenImage(dialog);
        EXPECT_EQ(WorkImage[PixelIndex(639, 479)], 77);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_RESULT_TEXT), " ");

        // Cancelled: nothing happens.
        answer.reset();
        std::memset(WorkImage, 0, sizeof WorkImage);
        OnOpenImage(dialog);
        EXPECT_EQ(WorkImage[PixelIndex(639, 479)], 0);
        dialog.EndDialog(win::IDOK);
    });
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].open);
    EXPECT_EQ(requests[0].defaultExtension, "BMP");
    EXPECT_EQ(requests[0].fileName, "*.BMP");
    EXPECT_EQ(requests[0].filter, "Image (*.BMP)|*.BMP|");
    EXPECT_EQ(requests[0].flags, win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT | win::OFN_NOCHANGEDIR);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(BriselDialogTest, SequenceTestRecognizesTheNumberedImagesAndLeavesItsCaption) {
    WriteGray("E:\\TORVA\\BMP\\1881_1.bmp", 10, 10, 1);  // before the first number
    WriteGray("E:\\TORVA\\BMP\\1882_1.bmp", 20, 10, 2);
    WriteGray("E:\\TORVA\\BMP\\3000_1.bmp", 30, 10, 3);
    std::ofstream(drives_.On('e', "TORVA/BMP/3001_1.bmp")) << "BM truncated";
    WriteGray("E:\\TORVA\\BMP\\4399_1.bmp", 40, 10, 4);
    WriteGray("E:\\TORVA\\BMP\\4400_1.bmp", 50, 10, 5);  // after the last
    CRecognizerDlg dialog;
    RunInDialog(dialog, [&] {
        DebugDumpFlag = 1;
        EXPECT_EQ(OnSequenceTest(dialog), 3);
        EXPECT_EQ(DebugDumpFlag, 0);
        EXPECT_EQ(LoadedImageWidth, 40) << "the last image was number 4399";
        EXPECT_EQ(dialog.widget()->windowTitle().toStdString(), "OK!");
        EXPECT_EQ(win::FindWindowA(nullptr, Caption), nullptr) << "the director no longer finds the window";
        EXPECT_EQ(win::FindWindowA(nullptr, "OK!"), dialog.GetSafeHwnd());
        dialog.EndDialog(win::IDOK);
    });
}

TEST_F(BriselDialogTest, LibraryTestTurnsTheColourImageGrayWritesItAndRecognizesIt) {
    WriteBytes(drives_.On('d', "work/2437_1.bmp"), MakeTestBmp(800, 600, 24, 600));
    CRecognizerDlg dialog;
    RunInDialog(dialog, [&] {
        EXPECT_EQ(OnRecogLib(dialog), PipelineNoNumber);
        EXPECT_EQ(DebugDumpFlag, 1);
        EXPECT_EQ(WorkImage[PixelIndex(799, 599)], TestChannel(799, 599, 1)) << "the middle byte of each pixel";
        ASSERT_EQ(LoadGrayBmp("d:\\work\\1_1.bmp"), LoadOk);
        EXPECT_EQ(LoadedImageWidth, 800);
        EXPECT_EQ(LoadedImage[PixelIndex(10, 20)], TestChannel(10, 20, 1));
        EXPECT_TRUE(boxes_.empty());

        // A gray file where a colour one is expected: the reader's box, and the last colour
        // image is used again.
        WriteGray("d:\\work\\2437_1.bmp", 8, 8, 9);
        OnRecogLib(dialog);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, "不是24位彩色BMP图象!");
        EXPECT_EQ(boxes_[0].caption, "kemra-ReadBMP");
        EXPECT_EQ(WorkImage[PixelIndex(799, 599)], TestChannel(799, 599, 1));
        dialog.EndDialog(win::IDOK);
    });
}

}  // namespace
