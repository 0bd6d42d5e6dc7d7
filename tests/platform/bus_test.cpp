#include "platform/windows.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/bus_wire.h"
#include "support/qt_test_app.h"
#include "support/raw_bus_caller.h"
#include "support/temp_bus.h"

namespace {

constexpr win::UINT TestMessage = win::WM_USER + 1;
constexpr int SilentCallers = 4;
constexpr int DribblePauseMs = 150;

struct Received {
    win::UINT message;
    win::WPARAM wParam;
    win::LPARAM lParam;
    bool onGuiThread;
};

class RecordingHost : public win::WindowHost {
public:
    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override {
        received.push_back({message, wParam, lParam, QThread::currentThread() == TestApplication().thread()});
        return static_cast<win::LRESULT>(wParam) * 10;
    }
    void ApplyShowCommand(int showCommand) override { showCommands.push_back(showCommand); }
    void BringToFront() override { ++broughtToFront; }

    std::vector<Received> received;
    std::vector<int> showCommands;
    int broughtToFront = 0;
};

class BusTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(win::AfxSocketInit());
    }
    TempBus bus_;
};

// A socket file whose process ended without removing it.
std::string MakeStaleSocket(const std::string& folder, pid_t pid, unsigned serial) {
    const std::string path = folder + "/" + win::bus::SocketName(pid, serial);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    return path;
}

TEST_F(BusTest, WindowsAreFoundByTheirCurrentCaptionWhileTheyLive) {
    RecordingHost host;
    win::HWND found = nullptr;
    {
        win::Window window("TEST-CAPTION-A", &host);
        EXPECT_EQ(win::FindWindowA(nullptr, "TEST-CAPTION-A"), window.hwnd());
        window.SetCaption("TEST-CAPTION-B");
        EXPECT_EQ(win::FindWindowA(nullptr, "TEST-CAPTION-A"), nullptr);
        found = win::FindWindowA(nullptr, "TEST-CAPTION-B");
        EXPECT_EQ(found, window.hwnd());
        win::DWORD pid = 0;
        EXPECT_EQ(win::GetWindowThreadProcessId(found, &pid), static_cast<win::DWORD>(::getpid()));
        EXPECT_EQ(pid, static_cast<win::DWORD>(::getpid()));
    }
    EXPECT_EQ(win::FindWindowA(nullptr, "TEST-CAPTION-B"), nullptr);
    win::DWORD pid = 1;
    EXPECT_EQ(win::GetWindowThreadProcessId(found, &pid), 0u);
    EXPECT_EQ(pid, 0u);
    EXPECT_TRUE(std::filesystem::is_empty(bus_.root()));
}

TEST_F(BusTest, StaleSocketsAreSkippedAndRemoved) {
    RecordingHost host;
    win::Window window("LIVE", &host);
    const std::string stale = MakeStaleSocket(bus_.root(), 1, 7);
    const win::HWND staleWindow = win::bus::MakeHandle(1, 7);
    EXPECT_FALSE(win::PostMessageA(staleWindow, TestMessage, 1, 2));
    EXPECT_FALSE(std::filesystem::exists(stale));

    MakeStaleSocket(bus_.root(), 1, 8);
    std::vector<win::HWND> seen;
    win::EnumWindows(
        [](win::HWND hwnd, win::LPARAM list) {
            reinterpret_cast<std::vector<win::HWND>*>(list)->push_back(hwnd);
            return win::TRUE;
        },
        reinterpret_cast<win::LPARAM>(&seen));
    EXPECT_EQ(seen, std::vector<win::HWND>{window.hwnd()});
    EXPECT_EQ(win::SendMessageA(win::bus::MakeHandle(1, 8), TestMessage, 1, 2), 0);
    EXPECT_EQ(win::GetPropA(win::bus::MakeHandle(1, 8), "ANY"), nullptr);
}

TEST_F(BusTest, PropertiesAreSetOnOwnWindowsAndReadByAnyone) {
    RecordingHost host;
    win::Window window("PROPS", &host);
    EXPECT_TRUE(win::SetPropA(window.hwnd(), "TORVA_XHR_2", reinterpret_cast<win::HANDLE>(2)));
    // Read from another thread while this one is busy: the service answers without the GUI thread.
    win::HANDLE value = nullptr;
    win::HANDLE missing = reinterpret_cast<win::HANDLE>(1);
    std::thread reader([&] {
        value = win::GetPropA(window.hwnd(), "TORVA_XHR_2");
        missing = win::GetPropA(window.hwnd(), "TORVA_XHR_1");
    });
    reader.join();
    EXPECT_EQ(value, reinterpret_cast<win::HANDLE>(2));
    EXPECT_EQ(missing, nullptr);
    EXPECT_FALSE(win::SetPropA(win::bus::MakeHandle(1, 1), "TORVA_XHR_2", nullptr));
}

TEST_F(BusTest, PostedMessagesArriveInOrderOnTheGuiThread) {
    RecordingHost host;
    win::Window window("POSTS", &host);
    constexpr int Count = 40;
    std::thread poster([&] {
        for (int i = 0; i < Count; ++i) EXPECT_TRUE(win::PostMessageA(window.hwnd(), TestMessage, i, -i));
    });
    // Posting from this thread too: once the call returns, the message is queued.
    poster.join();
    EXPECT_TRUE(win::PostMessageA(window.hwnd(), TestMessage, Count, -Count));
    EXPECT_TRUE(host.received.empty());
    ASSERT_TRUE(PumpUntil([&] { return host.received.size() == Count + 1; }));
    for (int i = 0; i <= Count; ++i) {
        EXPECT_EQ(host.received[i].wParam, static_cast<win::WPARAM>(i));
        EXPECT_EQ(host.received[i].lParam, -i);
        EXPECT_TRUE(host.received[i].onGuiThread);
    }
}

TEST_F(BusTest, SendWaitsForTheHandlerAndAnswersItsResult) {
    RecordingHost host;
    win::Window window("SENDS", &host);
    std::atomic<win::LRESULT> answer{-1};
    std::thread sender([&] { answer = win::SendMessageA(window.hwnd(), TestMessage, 7, 0); });
    ASSERT_TRUE(PumpUntil([&] { return answer != -1; }));
    sender.join();
    EXPECT_EQ(answer, 70);
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_TRUE(host.received[0].onGuiThread);
    // From the window's own thread the handler runs at once.
    EXPECT_EQ(win::SendMessageA(window.hwnd(), TestMessage, 3, 0), 30);
    EXPECT_EQ(host.received.size(), 2u);
}

TEST_F(BusTest, SendReturnsWhenTheWindowGoesBeforeHandlingIt) {
    RecordingHost host;
    auto window = std::make_unique<win::Window>("GOING", &host);
    const win::HWND hwnd = window->hwnd();
    std::atomic<bool> returned{false};
    win::LRESULT answer = -1;
    std::thread sender([&] {
        answer = win::SendMessageA(hwnd, TestMessage, 5, 0);
        returned = true;
    });
    // Wait until the message is queued; its handler cannot run, no events are handled here.
    while (win::bus::QueuedMessageCount() == 0 && !returned) QThread::msleep(1);
    window.reset();
    sender.join();
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(host.received.empty());
}

TEST_F(BusTest, ShowAndForegroundReachTheWindowsGuiThread) {
    RecordingHost host;
    win::Window window("SHOWN", &host);
    EXPECT_TRUE(win::ShowWindow(window.hwnd(), win::SW_SHOWNORMAL));
    EXPECT_TRUE(win::SetForegroundWindow(window.hwnd()));
    ASSERT_TRUE(PumpUntil([&] { return host.broughtToFront == 1; }));
    EXPECT_EQ(host.showCommands, std::vector<int>{win::SW_SHOWNORMAL});
    EXPECT_FALSE(win::ShowWindow(nullptr, win::SW_SHOWNORMAL));
}

TEST_F(BusTest, SocketNamesAndHandlesRoundTrip) {
    pid_t pid = 0;
    unsigned serial = 0;
    ASSERT_TRUE(win::bus::ParseSocketName(win::bus::SocketName(4194303, 1048575), &pid, &serial));
    EXPECT_EQ(pid, 4194303);
    EXPECT_EQ(serial, 1048575u);
    const win::HWND handle = win::bus::MakeHandle(pid, serial);
    EXPECT_EQ(win::bus::HandlePid(handle), pid);
    EXPECT_EQ(win::bus::HandleSerial(handle), serial);
    for (const char* name : {".w12-1", "w12-1x", "w12-", "w-1", "w12-0", "w0-3", "x12-1"}) {
        EXPECT_FALSE(win::bus::ParseSocketName(name, &pid, &serial)) << name;
    }
}

TEST_F(BusTest, SlowOrSilentCallersDelayNoOtherCall) {
    RecordingHost host;
    win::Window window("BUSY", &host);
    const std::string path = win::bus::SocketPath(window.hwnd());
    std::vector<int> silent;
    for (int i = 0; i < SilentCallers; ++i) silent.push_back(ConnectRaw(path));
    // A caller that writes its request a byte at a time, each well within the time of a read.
    const int dribbling = ConnectRaw(path);
    std::size_t dribbled = 0;
    std::thread dribbler([&] {
        win::bus::Request request;
        const auto* bytes = reinterpret_cast<const char*>(&request);
        while (dribbled < sizeof request && ::send(dribbling, bytes + dribbled, 1, MSG_NOSIGNAL) == 1) {
            ++dribbled;
            QThread::msleep(DribblePauseMs);
        }
    });
    const auto answer = win::bus::Ask(window.hwnd(), win::bus::Request{});
    ASSERT_TRUE(answer) << "the look-up waited behind the silent callers";
    EXPECT_EQ(answer->payload, "BUSY");
    dribbler.join();
    EXPECT_LT(dribbled, sizeof(win::bus::Request)) << "the whole request has one deadline, not each read";
    for (int fd : silent) ::close(fd);
    ::close(dribbling);
}

TEST_F(BusTest, OwnWindowsAreLookedUpWithoutTheirSockets) {
    RecordingHost host;
    win::Window window("OWN", &host);
    ASSERT_TRUE(win::SetPropA(window.hwnd(), "TORVA_XHR_2", reinterpret_cast<win::HANDLE>(2)));
    // Something that never answers sits at the window's socket.
    const std::string path = win::bus::SocketPath(window.hwnd());
    ::unlink(path.c_str());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int mute = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(mute, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(mute, 8), 0);
    EXPECT_EQ(win::FindWindowA(nullptr, "OWN"), window.hwnd());
    EXPECT_EQ(win::GetPropA(window.hwnd(), "TORVA_XHR_2"), reinterpret_cast<win::HANDLE>(2));
    ::close(mute);
}

TEST(BusFolderTest, UnusableFolderFailsTheStart) {
    TestApplication();
    char file[] = "/tmp/torva-notafolder-XXXXXX";
    const int fd = ::mkstemp(file);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ::setenv("TORVA_BUS_DIR", file, 1);
    EXPECT_FALSE(win::AfxSocketInit());
    ::unlink(file);
    // A folder whose sockets' names would not fit a socket address.
    ::setenv("TORVA_BUS_DIR", ("/tmp/" + std::string(100, 'b')).c_str(), 1);
    EXPECT_FALSE(win::AfxSocketInit());
    ::unsetenv("TORVA_BUS_DIR");
}

TEST(BusFolderTest, OnlyAPrivateFolderOfThisUserIsUsedAndItIsCheckedAtEveryUse) {
    TestApplication();
    TempFolderVariable scratch("TORVA_TEST_SCRATCH", "torva-folders");
    const std::string folder = scratch.root() + "/bus";
    const std::string link = scratch.root() + "/link";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(folder.c_str(), link.c_str()), 0);
    const auto mode = [&folder] {
        struct stat st {};
        ::stat(folder.c_str(), &st);
        return st.st_mode & 0777;
    };

    // A symbolic link is refused, even to a private folder, and the refusal is told.
    ::setenv("TORVA_BUS_DIR", link.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(win::AfxSocketInit());
    EXPECT_NE(testing::internal::GetCapturedStderr().find(link), std::string::npos);

    // One's own folder open to others is made private.
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    ::setenv("TORVA_BUS_DIR", folder.c_str(), 1);
    ASSERT_TRUE(win::AfxSocketInit());
    EXPECT_EQ(mode(), 0700u);

    RecordingHost host;
    win::Window window("CHECKED", &host);
    const win::bus::Request describe;
    ASSERT_TRUE(win::bus::Ask(window.hwnd(), describe));
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    EXPECT_TRUE(win::bus::Ask(window.hwnd(), describe));
    EXPECT_EQ(mode(), 0700u) << "the mode is checked at every use";
    // The folder swapped for a link to it after the start: no call goes through it any more.
    const std::string moved = folder + ".moved";
    ASSERT_EQ(::rename(folder.c_str(), moved.c_str()), 0);
    ASSERT_EQ(::symlink(moved.c_str(), folder.c_str()), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(win::bus::Ask(window.hwnd(), describe));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(folder), std::string::npos);
    ::unlink(folder.c_str());
    ASSERT_EQ(::rename(moved.c_str(), folder.c_str()), 0);

    // Another user's folder is refused (only a superuser can hand a folder to another user).
    if (::chown(folder.c_str(), 65534, 65534) == 0) {
        EXPECT_FALSE(win::AfxSocketInit());
    }
    ::unsetenv("TORVA_BUS_DIR");
}

}  // namespace
