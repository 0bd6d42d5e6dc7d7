// Brisel as the director meets it: a separate process on the same bus and drives.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "common/protocol.h"
#include "recognizer_process.h"

namespace {

constexpr const char* Camera1Caption = "TORVA-VIDEO-CAM1";
constexpr const char* DefaultSettings = "[Settings]\r\nFace1_TOP=140\r\nFace1_BOTTOM=250\r\nFace1_LEFT=220\r\nFace1_RIGHT=100\r\n";

class BriselProcessTest : public RecognizerProcessTest {
protected:
    BriselProcessTest() : RecognizerProcessTest("Brisel", Camera1Caption) {}

    void WriteRequest(int width, int height) {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 99);
        ASSERT_EQ(WriteGrayBmp("c:\\1.syc", pixels.data(), width, height, width), 0);
    }
    std::string Settings() const {
        std::ifstream in(drives_.root() + "/c/TORVA_VIDEO.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(BriselProcessTest, EveryRequestReadsItsOneFileAndAnswersAsCameraOneSideZero) {
    // No file: no answer, and the next request is still handled.
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 1, 0));
    WriteRequest(801, 600);  // wider than the frame: refused, and left on disk
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 1, 0));
    ASSERT_TRUE(PumpUntil([&] { return win::SendMessageA(window_, win::WM_USER, 0, 0) == 0; }));
    EXPECT_TRUE(director_->results.empty());
    EXPECT_TRUE(Exists("1.syc"));

    // Whatever camera and side the request names, the file is "c:\1.syc" and the answer camera 1, side 0.
    WriteRequest(800, 600);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 1));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 1; }));
    const ReceivedResult& answer = director_->results[0];
    ASSERT_TRUE(answer.readable);
    EXPECT_EQ(answer.record.camera, 1);
    EXPECT_EQ(answer.record.side, 0);
    EXPECT_STREQ(answer.record.code, "");
    EXPECT_STREQ(answer.record.sizeType, "");
    EXPECT_EQ(answer.record.codeFound, 0);
    EXPECT_EQ(answer.record.sizeTypeFound, 0);
    EXPECT_TRUE(PumpUntil([&] { return !Exists("1.syc"); }));
    EXPECT_TRUE(recognizer_->running());
}

TEST_F(BriselProcessTest, RequestWrittenAsTheAnswerArrivesIsReadNotDeleted) {
    WriteRequest(80, 60);
    director_->onResult = [&] {
        if (director_->results.size() != 1) return;
        WriteRequest(80, 60);
        win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 1, 0);
    };
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 1, 0));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 2; })) << "the second request was lost";
    EXPECT_EQ(director_->results[1].record.camera, 1);
    EXPECT_TRUE(PumpUntil([&] { return !Exists("1.syc"); }));
}

TEST_F(BriselProcessTest, QuitRequestWritesTheSettingsAndEnds) {
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 0, 0));
    EXPECT_EQ(recognizer_->WaitForExit(), 0);
    EXPECT_EQ(Settings(), DefaultSettings);
    EXPECT_EQ(win::FindWindowA(nullptr, Camera1Caption), nullptr);
}

TEST_F(BriselProcessTest, ClosingTheWindowWritesTheSettingsAndEnds) {
    ASSERT_TRUE(win::PostMessageA(window_, win::WM_CLOSE, 0, 0));
    EXPECT_EQ(recognizer_->WaitForExit(), 0);
    EXPECT_EQ(Settings(), DefaultSettings);
}

class BriselWithFifoSettingsTest : public BriselProcessTest {
protected:
    void SetUp() override {
        ASSERT_EQ(::mkfifo(drives_.On('c', "TORVA_VIDEO.ini").c_str(), 0600), 0);
        BriselProcessTest::SetUp();
    }
};

TEST_F(BriselWithFifoSettingsTest, ASettingsNameThatIsAFifoIsNoFileAndTheQuitIsHandled) {
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 0, 0));
    EXPECT_EQ(recognizer_->WaitForExit(PromptMs), 0);
    struct stat settings {};
    ASSERT_EQ(::lstat(drives_.On('c', "TORVA_VIDEO.ini").c_str(), &settings), 0);
    EXPECT_TRUE(S_ISFIFO(settings.st_mode)) << "left as it is, as a file that cannot be written";
}

TEST_F(BriselProcessTest, ALaunchByItsNameFindsTheRunningCopyAndEnds) {
    RecognizerProcess launched(std::string(TORVA_BIN_DIR) + "/TORVA1.dic");
    EXPECT_EQ(launched.WaitForExit(), 0);
    EXPECT_TRUE(recognizer_->running());
    EXPECT_EQ(win::FindWindowA(nullptr, Camera1Caption), window_);
    EXPECT_EQ(win::GetPropA(window_, "TORVA_XHR_1"), reinterpret_cast<win::HANDLE>(1));
}

}  // namespace
