// Ferrow as the director meets it: a separate process on the same bus and drives.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "common/protocol.h"
#include "platform/bus_wire.h"
#include "recognizer_process.h"
#include "support/raw_bus_caller.h"

namespace {

constexpr const char* Camera2Caption = "TORVA-VIDEO-CAM2";
// Few files for the program, and more waiting calls than it has files.
constexpr rlim_t ScarceFiles = 64;
constexpr int FloodCalls = 100;
constexpr int RefusalWaitMs = 10000;
constexpr int CopiesStartedTogether = 6;

// Waits without handling this side's events, so that a recognizer sending to the stand-in
// director stays blocked.
template <class Condition>
bool WaitUnpumped(Condition done, int timeoutMs = ProcessTimeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(5);
    }
    return true;
}

void WriteRequest(const char* path, int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(WriteGrayBmp(path, pixels.data(), width, height, width), 0);
}

class FerrowProcessTest : public RecognizerProcessTest {
protected:
    FerrowProcessTest() : RecognizerProcessTest("Ferrow", Camera2Caption) {}
};

class FerrowWithFewFilesTest : public RecognizerProcessTest {
protected:
    FerrowWithFewFilesTest() : RecognizerProcessTest("Ferrow", Camera2Caption, ScarceFiles) {}
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

TEST_F(FerrowProcessTest, ARequestNameThatIsAFifoIsNoFileAndTheNextRequestIsAnswered) {
    ASSERT_EQ(::mkfifo(drives_.On('c', "2_1.syc").c_str(), 0600), 0);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 1));
    WriteRequest("c:\\2_0.syc", 50, 50);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 1; }, PromptMs)) << "stalled on the FIFO";
    EXPECT_EQ(director_->results[0].record.side, 0);
    EXPECT_TRUE(Exists("2_1.syc"));
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

TEST_F(FerrowWithFewFilesTest, CallsBeyondWhatTheWindowQueuesAreRefusedAndItRecovers) {
    // Ferrow blocks in sending its answer, for this side handles no events yet.
    WriteRequest("c:\\2_0.syc", 120, 90);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0));
    ASSERT_TRUE(WaitUnpumped([] { return win::bus::QueuedMessageCount() == 1; }));
    // Sent messages that wait for its handler, more than it has files.
    win::bus::Request sent;
    sent.call = win::bus::Call::SendMessage;
    sent.message = win::WM_USER;
    std::vector<int> callers;
    for (int i = 0; i < FloodCalls; ++i) {
        const int fd = ConnectRaw(win::bus::SocketPath(window_));
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::send(fd, &sent, sizeof sent, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof sent));
        callers.push_back(fd);
    }
    // It cannot hold them all: those it does not queue are refused at once.
    const int unheld = FloodCalls - static_cast<int>(ScarceFiles);
    EXPECT_GE(CountClosedUnanswered(callers, unheld, RefusalWaitMs), unheld);
    EXPECT_EQ(win::FindWindowA(nullptr, Camera2Caption), window_) << "look-ups are answered meanwhile";

    // Once the callers are gone and its answer taken, Ferrow serves requests again.
    for (int fd : callers) ::close(fd);
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 1; }));
    WriteRequest("c:\\2_1.syc", 120, 90);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 1));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 2; }));
    EXPECT_EQ(director_->results[1].record.side, 1);
}

TEST_F(FerrowProcessTest, BlockOfARecognizerThatEndedMidSendIsFreed) {
    WriteRequest("c:\\2_0.syc", 120, 90);
    ASSERT_TRUE(win::PostMessageA(window_, WM_RECOGNIZE_REQUEST, 2, 0));
    ASSERT_TRUE(WaitUnpumped([] { return win::bus::QueuedMessageCount() == 1; }));
    recognizer_->Kill();  // while it holds its block here, waiting for the send
    // Blocks of ended processes are looked for before a new block is handed out.
    const win::HANDLE self = win::GetCurrentProcess();
    const win::LPVOID block = win::VirtualAllocEx(self, nullptr, sizeof(RecognitionResult), win::MEM_COMMIT, win::PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(win::VirtualFreeEx(self, block, 0, win::MEM_RELEASE));
    ASSERT_TRUE(PumpUntil([&] { return director_->results.size() == 1; }));
    EXPECT_FALSE(director_->results[0].readable) << "the ended recognizer's block is still held";
}

TEST(RecognizerStartTest, OfCopiesStartedTogetherOneRunsAndTheQuitEndsIt) {
    TestApplication();
    TempDrives drives;
    TempBus bus;
    ASSERT_TRUE(win::AfxSocketInit());
    std::vector<std::unique_ptr<RecognizerProcess>> copies;
    for (int i = 0; i < CopiesStartedTogether; ++i) copies.push_back(std::make_unique<RecognizerProcess>());
    const auto stillRunning = [&copies] {
        int running = 0;
        for (auto& copy : copies) running += copy->WaitForExit(0) ? 0 : 1;
        return running;
    };
    ASSERT_TRUE(WaitUnpumped([&] { return stillRunning() == 1; })) << stillRunning() << " copies stay up";
    RecognizerProcess* running = nullptr;
    for (auto& copy : copies) {
        if (copy->running()) {
            running = copy.get();
        } else {
            EXPECT_EQ(copy->WaitForExit(), 0);
        }
    }
    ASSERT_NE(running->WaitForWindow(Camera2Caption), nullptr);
    ASSERT_TRUE(win::PostMessageA(win::FindWindowA(nullptr, Camera2Caption), WM_RECOGNIZE_REQUEST, 0, 0));
    EXPECT_EQ(running->WaitForExit(), 0);
    EXPECT_EQ(win::FindWindowA(nullptr, Camera2Caption), nullptr);
}

TEST(RecognizerStartTest, ARefusedBusFolderEndsEitherRecognizerWithAnError) {
    TestApplication();
    TempDrives drives;
    TempBus bus;
    const std::string link = bus.root() + "-link";
    ASSERT_EQ(::symlink(bus.root().c_str(), link.c_str()), 0);
    ::setenv("TORVA_BUS_DIR", link.c_str(), 1);
    // Headless: nothing could close a copy that ran on unreachable, nor answer a box.
    for (const char* program : {"Brisel", "Ferrow"}) {
        RecognizerProcess recognizer(std::string(TORVA_BIN_DIR) + "/" + program);
        EXPECT_EQ(recognizer.WaitForExit(), 1) << program;
    }
    ::unlink(link.c_str());
}

}  // namespace
