// The camera-2 recognizer's window, buttons and shell, driven inside the test process.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "platform/files.h"
#include "recognizer/cam2/ferrow_dlg.h"
#include "recognizer/shell/batch_names.h"
#include "recognizer/shell/recognizer_shell.h"
#include "recognizer/shell/result_sender.h"
#include "recognizer_process.h"
#include "support/message_box_recorder.h"
#include "support/qt_test_app.h"
#include "support/temp_bus.h"
#include "support/temp_drives.h"

namespace {

class RecognizerDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(win::AfxSocketInit());
    }

    // Runs `script` inside the dialog's modal loop, then ends the dialog.
    void RunInDialog(CRecognizerDlg& dialog, const std::function<void()>& script) {
        QTimer::singleShot(0, dialog.widget(), [&] {
            script();
            dialog.EndDialog(win::IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), win::IDOK);
    }

    // Writes a gray image at a Windows path, making its folder as a user would have.
    void WriteImage(const char* path, int width, int height) {
        std::filesystem::create_directories(std::filesystem::path(win::MapPath(path)).parent_path());
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 128);
        ASSERT_EQ(WriteGrayBmp(path, pixels.data(), width, height, width), 0);
    }

    TempDrives drives_;
    TempBus bus_;
    MessageBoxRecorder recorder_;
    std::vector<RecordedBox>& boxes_ = recorder_.boxes;
};

int BmpWidth(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::uint8_t header[26] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return in ? static_cast<int>(GetLe32(header + 18)) : -1;
}

TEST_F(RecognizerDialogTest, WindowCarriesItsAddressMarkAndTexts) {
    DebugDumpFlag = 1;
    CRecognizerDlg dialog;
    RunInDialog(dialog, [&] {
        EXPECT_EQ(win::FindWindowA(nullptr, "TORVA-VIDEO-CAM2"), dialog.GetSafeHwnd());
        EXPECT_EQ(win::GetPropA(dialog.GetSafeHwnd(), "TORVA_XHR_2"), reinterpret_cast<win::HANDLE>(2));
        EXPECT_TRUE(dialog.widget()->windowFlags().testFlag(Qt::Tool)) << "no taskbar button";
        EXPECT_EQ(DebugDumpFlag, 0);
        EXPECT_EQ(dialog.GetDlgItemText(win::IDOK), "确定");
        EXPECT_EQ(dialog.GetDlgItemText(win::IDCANCEL), "取消");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_OPEN_IMAGE), "打开单个图像");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_BOX_LABEL), "箱号1");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_RECOG_LIB), "Recog Lib");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_BAT_TEST), "Bat Test");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_RESULT_TEXT), "");
    });
    EXPECT_EQ(win::FindWindowA(nullptr, "TORVA-VIDEO-CAM2"), nullptr);
}

TEST_F(RecognizerDialogTest, OpenImageShowsOnlyItsOwnResultAndTurnsOnTheDebugImages) {
    CRecognizerDlg dialog;
    RunInDialog(dialog, [&] {
        OnOpenImage(dialog);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, TestImagePath);
        EXPECT_EQ(boxes_[0].caption, "Not exast");
        EXPECT_EQ(DebugDumpFlag, 1);

        WriteImage(TestImagePath, 600, 800);
        std::strcpy(RecognizerResult.code, "ABCU1234567");  // what an earlier image left
        std::strcpy(RecognizerResult.sizeType, "22G1");
        dialog.SetDlgItemTextA(IDC_RESULT_TEXT, "ABCU1234567 22G1");
        OnOpenImage(dialog);
        EXPECT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_RESULT_TEXT), " ");
    });
    DebugDumpFlag = 0;
    // With the debug images on, the pipeline wrote its edge image through the load buffer at the
    // image's size: the flat gray image has no edge anywhere.
    ASSERT_EQ(LoadGrayBmp("\\work\\TDBuf.bmp"), LoadOk);
    EXPECT_EQ(LoadedImageWidth, 600);
    EXPECT_EQ(LoadedImageHeight, 800);
    EXPECT_EQ(std::count(LoadedImage, LoadedImage + FrameSize, 0), FrameSize);
}

TEST_F(RecognizerDialogTest, BatchTestWritesEachLoadableFileAndCountsTheOthers) {
    WriteImage("E:\\TORVA\\BMP\\a_3.bmp", 40, 30);
    WriteImage("E:\\TORVA\\BMP\\d_3.BMP", 17, 5);
    WriteImage("E:\\TORVA\\BMP\\e_4.bmp", 8, 8);  // does not match the pattern
    std::ofstream(drives_.On('e', "TORVA/BMP/b_3.bmp")) << "BM truncated";
    WriteImage("E:\\TORVA\\BMP\\c_3.bmp", 700, 10);  // wider than the frame
    std::filesystem::create_directories(drives_.root() + "/e/TEMP");
    CRecognizerDlg dialog;
    EXPECT_EQ(OnBatTest(dialog), 2);
    EXPECT_EQ(BatchFileCount, 4);
    const std::string out = drives_.root() + "/e/TEMP/";
    EXPECT_EQ(BmpWidth(out + "a_3.bmp"), 40);
    EXPECT_EQ(BmpWidth(out + "d_3.BMP"), 17);
    EXPECT_FALSE(std::filesystem::exists(out + "b_3.bmp")) << "no output from another file's image";
    EXPECT_FALSE(std::filesystem::exists(out + "c_3.bmp"));
    EXPECT_FALSE(std::filesystem::exists(out + "e_4.bmp"));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "2 of 4 files not loaded");
}

TEST_F(RecognizerDialogTest, NameTableSkipsNamesTooLongForASlotAndStopsWhenFull) {
    const std::string fits = std::string(BatchNameBytes - 7, 'f') + "_3.bmp";   // 63 characters
    const std::string tooLong = std::string(BatchNameBytes - 6, 'g') + "_3.bmp";  // 64
    std::ofstream(drives_.On('e', "L/" + fits)) << "x";
    std::ofstream(drives_.On('e', "L/" + tooLong)) << "x";
    EXPECT_EQ(ListFilesToNameTable("E:\\L\\*_3.bmp"), 1);
    EXPECT_EQ(std::string(BatchFileNames[0]), fits);

    const std::string folder = drives_.root() + "/e/MANY/";
    std::filesystem::create_directories(folder);
    for (int i = 0; i <= BatchNameCapacity; ++i) std::ofstream(folder + std::to_string(i) + "_3.bmp");
    EXPECT_EQ(ListFilesToNameTable("E:\\MANY\\*_3.bmp"), BatchNameCapacity);
    EXPECT_EQ(ListFilesToNameTable("E:\\NONE\\*_3.bmp"), 0);
}

TEST_F(RecognizerDialogTest, ResultReachesTheDirectorAsAWrittenBlockFreedAfterwards) {
    RecognitionResult result{};
    ResetRecognitionResult(result, 2, 1);
    std::strcpy(result.code, "ABCU1234567");
    std::strcpy(result.sizeType, "22G1");
    result.codeFound = 1;
    result.sizeTypeFound = 1;
    SendResultToDirector(result);  // no director: nothing happens

    std::vector<win::LPARAM> addresses;
    class AddressKeeper : public DirectorStandIn {
    public:
        explicit AddressKeeper(std::vector<win::LPARAM>& seen) : seen_(seen) {}
        win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override {
            seen_.push_back(lParam);
            return DirectorStandIn::WindowProc(message, wParam, lParam);
        }

    private:
        std::vector<win::LPARAM>& seen_;
    } director(addresses);
    SendResultToDirector(result);
    ASSERT_EQ(director.results.size(), 1u);
    ASSERT_TRUE(director.results[0].readable);
    EXPECT_EQ(std::memcmp(&director.results[0].record, &result, sizeof result), 0);
    RecognitionResult copy{};
    EXPECT_FALSE(win::ReadProcessMemory(win::GetCurrentProcess(), reinterpret_cast<win::LPCVOID>(addresses[0]), &copy,
                                        sizeof copy, nullptr))
        << "the block is freed after the send";
}

TEST_F(RecognizerDialogTest, StartHandsOverToARunningCopyOfTheSameCamera) {
    class Marked : public win::WindowHost {
    public:
        win::LRESULT WindowProc(win::UINT, win::WPARAM, win::LPARAM) override { return 0; }
        void ApplyShowCommand(int command) override { shown.push_back(command); }
        void BringToFront() override { ++fronted; }
        std::vector<int> shown;
        int fronted = 0;
    };
    Marked otherCamera;
    win::Window other("TORVA-VIDEO-CAM1", &otherCamera);
    win::SetPropA(other.hwnd(), "TORVA_XHR_2", reinterpret_cast<win::HANDLE>(1));
    int dialogs = 0;
    EXPECT_FALSE(StartRecognizerInstance("TORVA_XHR_2", 2, [&] { ++dialogs; }));
    EXPECT_EQ(dialogs, 1) << "a window marked for another camera is not a running copy";

    Marked running;
    win::Window copy("TORVA-VIDEO-CAM2", &running);
    win::SetPropA(copy.hwnd(), "TORVA_XHR_2", reinterpret_cast<win::HANDLE>(2));
    EXPECT_FALSE(StartRecognizerInstance("TORVA_XHR_2", 2, [&] { ++dialogs; }));
    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(PumpUntil([&] { return running.fronted == 1; }));
    EXPECT_EQ(running.shown, std::vector<int>{win::SW_SHOWNORMAL});
    EXPECT_TRUE(otherCamera.shown.empty());
    EXPECT_TRUE(boxes_.empty());
}

TEST(RecognitionRegionTest, IsCutToTheLoadedImage) {
    PackedPoint topLeft = 0;
    PackedPoint bottomRight = 0;
    ASSERT_TRUE(ClipSearchRegion(FerrowMargins, 600, 800, &topLeft, &bottomRight));
    EXPECT_EQ(topLeft, PackPoint(4, 8));
    EXPECT_EQ(bottomRight, PackPoint(568, 792));
    ASSERT_TRUE(ClipSearchRegion(FerrowMargins, 300, 400, &topLeft, &bottomRight));
    EXPECT_EQ(bottomRight, PackPoint(299, 399));
    ASSERT_TRUE(ClipSearchRegion(FerrowMargins, 5, 9, &topLeft, &bottomRight));
    EXPECT_EQ(bottomRight, PackPoint(4, 8));
    EXPECT_FALSE(ClipSearchRegion(FerrowMargins, 4, 800, &topLeft, &bottomRight));
    EXPECT_FALSE(ClipSearchRegion(FerrowMargins, 600, 8, &topLeft, &bottomRight));
}

TEST(ResultTextTest, IsCodeBlankSizeTypeCutAtTheFields) {
    RecognitionResult result{};
    std::memset(result.code, 'A', sizeof result.code);  // no terminator: the field still ends
    std::strcpy(result.sizeType, "45R1");
    char text[ResultTextBytes];
    FormatResultText(result, text, sizeof text);
    EXPECT_EQ(std::string(text), std::string(15, 'A') + " 45R1");
}

}  // namespace
