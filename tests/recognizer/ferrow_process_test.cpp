// Ferrow as the director meets it: a separate process on the same bus and drives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "common/protocol.h"
#include "platform/bus_wire.h"
#include "recognizer_process.h"

namespace {

constexpr const char* Camera2Caption = "TORVA-VIDEO-CAM2";

void WriteRequest(const char* path, int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(WriteGrayBmp(path, pixels.data(), width, height, width), 0);
}

class FerrowProcessTest : public RecognizerProcessTest {
protected:
    FerrowProcessTest() : RecognizerProcessTest("Ferrow", Camera2Caption) {}
};

TEST_F(FerrowProcessTest, RequestIsAnsweredWithItsOwnCameraAndSideAndItsFileDeleted) {
    WriteRequest("c:\\2_0.syc", 120, 90);
    // Only the low byte of lParam is the side; the record's camera is Ferrow's own.
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 256));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 1; }));
    const ReceivedResult& first = director_->results[0];
    ASSERT_TRUE(first.readable) << "the director was handed an address without a written record";
    EXPECT_EQ(first.record.camera, 2);
    EXPECT_EQ(first.record.side, 0);
    EXPECT_STREQ(first.record.code, "");
    EXPECT_STREQ(first.record.sizeType, "");
    EXPECT_EQ(first.record.codeFound, 0);
    EXPECT_EQ(first.record.sizeTypeFound, 0);
    EXPECT_TRUE(PumpUntil([&] { return !Exists("2_0.syc"); }));

    // wParam 0 with a side is a request, not the quit request.
    WriteRequest("c:\\2_1.syc", 600, 800);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 0, 1));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 2; }));
    EXPECT_TRUE(director_->results[1].readable);
    EXPECT_EQ(director_->results[1].record.camera, 2);
    EXPECT_EQ(director_->results[1].record.side, 1);
    EXPECT_TRUE(PumpUntil([&] { return !Exists("2_1.syc"); }));
    EXPECT_TRUE(recognizer_->running());
}

TEST_F(FerrowProcessTest, MissingOrUnreadableRequestGetsNoAnswerAndItsFileStays) {
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 1));  // no file at all
    WriteRequest("c:\\2_1.syc", 601, 10);                                    // wider than the frame
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 1));
    WriteRequest("c:\\2_0.syc", 50, 50);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0));
    // Requests are handled in order: once side 0 is answered, both side-1 requests were handled.
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 1; }));
    EXPECT_EQ(director_->results[0].record.side, 0);
    EXPECT_TRUE(Exists("2_1.syc"));
    EXPECT_TRUE(PumpUntil([&] { return !Exists("2_0.syc"); }));
    EXPECT_EQ(director_->results.size(), 1u);
}

TEST_F(FerrowProcessTest, RequestWrittenAsTheAnswerArrivesIsReadNotDeleted) {
    WriteRequest("c:\\2_0.syc", 60, 40);
    director_->onResult = [&] {
        if (director_->results.size() != 1) return;
        WriteRequest("c:\\2_0.syc", 60, 40);
        win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0);
    };
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 2; })) << "the second request was lost";
    EXPECT_EQ(director_->results[1].record.side, 0);
    EXPECT_TRUE(PumpUntil([&] { return !Exists("2_0.syc"); }));
}

TEST_F(FerrowProcessTest, QuitRequestEndsTheProcessWithCodeZero) {
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 0, 0));
    // Delivered even though this side handles no events from here on.
    EXPECT_EQ(recognizer_->WaitForExit(), 0);
    EXPECT_EQ(win::FindWindowA(nullptr, Camera2Caption), nullptr);
}

TEST_F(FerrowProcessTest, ClosingTheWindowEndsTheDialogAndTheProgram) {
    ASSERT_TRUE(win::PostMessageA(window_, win::WM_CLOSE, 0, 0));
    EXPECT_EQ(recognizer_->WaitForExit(), 0);
    EXPECT_EQ(win::FindWindowA(nullptr, Camera2Caption), nullptr);
    EXPECT_FALSE(std::filesystem::exists(win::bus::SocketPath(window_))) << "the window took itself off the bus";
}

TEST_F(FerrowProcessTest, SecondCopyEndsAtOnceAndTheFirstStays) {
    RecognizerProcess second;
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_TRUE(recognizer_->running());
    std::vector<win::HWND> cameras;
    win::EnumWindows(
        [](win::HWND window, win::LPARAM list) {
            if (win::GetPropA(window, "TORVA_XHR_2") == reinterpret_cast<win::HANDLE>(2)) {
                reinterpret_cast<std::vector<win::HWND>*>(list)->push_back(window);
            }
            return win::TRUE;
        },
        reinterpret_cast<win::LPARAM>(&cameras));
    EXPECT_EQ(cameras, std::vector<win::HWND>{window_});
    // The launch name starts the same program, which also finds the first copy.
    RecognizerProcess launched(std::string(TORVA_BIN_DIR) + "/TORVA2.dic");
    EXPECT_EQ(launched.WaitForExit(), 0);
    EXPECT_EQ(win::FindWindowA(nullptr, Camera2Caption), window_);
}

TEST_F(FerrowProcessTest, SendReturnsWhenTheReceiverDiesInItsHandlerOrIsGone) {
    // The quit request, sent: the handler ends the process instead of answering.
    EXPECT_EQ(win::SendMessageA(window_, WM_RECOGNIZE_REQUEST, 0, 0), 0);
    EXPECT_EQ(recognizer_->WaitForExit(), 0);
    EXPECT_EQ(win::SendMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0), 0);

    RecognizerProcess killed;
    const win::HWND window = killed.WaitForWindow(Camera2Caption);
    ASSERT_NE(window, nullptr);
    killed.Kill();  // leaves its socket behind
    EXPECT_EQ(win::SendMessageA(window, WM_RECOGNIZE_REQUEST, 2, 0), 0);
    EXPECT_FALSE(win::PostMessageA(window, WM_RECOGNIZE_REQUEST, 2, 0));
    EXPECT_EQ(win::FindWindowA(nullptr, Camera2Caption), nullptr);
    EXPECT_FALSE(std::filesystem::exists(win::bus::SocketPath(window))) << "the stale socket is removed";
}

}  // namespace
