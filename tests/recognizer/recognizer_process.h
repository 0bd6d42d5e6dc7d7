// A real recognizer program started by a test on the test's own bus and drives, and the test's
// stand-in for the director: a window with the director's caption that keeps every record it is
// sent.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QThread>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/protocol.h"
#include "common/recognition_result.h"
#include "platform/process_memory.h"
#include "platform/windows.h"
#include "support/qt_test_app.h"
#include "support/temp_bus.h"
#include "support/temp_drives.h"

extern char** environ;

inline constexpr int ProcessTimeoutMs = 20000;
// What a program that waits on nothing takes to handle one more message, with room for a
// loaded machine.
inline constexpr int PromptMs = 3000;

class RecognizerProcess {
public:
    // With `fileLimit` the program may open no more files than that.
    explicit RecognizerProcess(const std::string& program = std::string(TORVA_BIN_DIR) + "/Ferrow", rlim_t fileLimit = 0) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        // The limit is inherited: lowered here for the start only.
        rlimit own{};
        const bool limited = fileLimit > 0 && ::getrlimit(RLIMIT_NOFILE, &own) == 0;
        if (limited) {
            const rlimit lowered{fileLimit, own.rlim_max};
            ::setrlimit(RLIMIT_NOFILE, &lowered);
        }
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
        if (limited) ::setrlimit(RLIMIT_NOFILE, &own);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RecognizerProcess() {
        if (running()) Kill();
    }
    RecognizerProcess(const RecognizerProcess&) = delete;
    RecognizerProcess& operator=(const RecognizerProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running() const { return pid_ > 0 && !status_; }

    // The exit code, or nothing when the process is still running after `timeoutMs`.
    std::optional<int> WaitForExit(int timeoutMs = ProcessTimeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (running()) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (clock.elapsed() > timeoutMs) return std::nullopt;
            QThread::msleep(5);
        }
        return status_;
    }

    void Kill() {
        ::kill(pid_, SIGKILL);
        WaitForExit();
    }

    // The process's window with `caption`, once it is on the bus.
    win::HWND WaitForWindow(const char* caption, int timeoutMs = ProcessTimeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (running() && clock.elapsed() < timeoutMs) {
            const win::HWND window = win::FindWindowA(nullptr, caption);
            win::DWORD owner = 0;
            if (window && win::GetWindowThreadProcessId(window, &owner) && owner == static_cast<win::DWORD>(pid_)) return window;
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) status_ = -1;
            QThread::msleep(10);
        }
        return nullptr;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

struct ReceivedResult {
    bool readable;
    RecognitionResult record;
};

class DirectorStandIn : public win::WindowHost {
public:
    DirectorStandIn() : window_(DirectorWindowCaption, this) {}

    win::LRESULT WindowProc(win::UINT message, win::WPARAM, win::LPARAM lParam) override {
        if (message != WM_RECOGNITION_RESULT) return 0;
        ReceivedResult received{};
        received.readable = win::ReadProcessMemory(win::GetCurrentProcess(), reinterpret_cast<win::LPCVOID>(lParam),
                                                   &received.record, sizeof received.record, nullptr);
        results.push_back(received);
        if (onResult) onResult();
        return 0;
    }

    std::vector<ReceivedResult> results;
    // Runs inside the handler, while the recognizer still waits for its send to return.
    std::function<void()> onResult;

private:
    win::Window window_;
};

// One recognizer program started for each test on the test's own bus and drives, with the
// director's stand-in waiting for its answers.
class RecognizerProcessTest : public ::testing::Test {
protected:
    RecognizerProcessTest(const char* program, const char* caption, rlim_t fileLimit = 0)
        : program_(program), caption_(caption), fileLimit_(fileLimit) {}

    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(win::AfxSocketInit());
        director_ = std::make_unique<DirectorStandIn>();
        recognizer_ = std::make_unique<RecognizerProcess>(std::string(TORVA_BIN_DIR) + "/" + program_, fileLimit_);
        window_ = recognizer_->WaitForWindow(caption_);
        ASSERT_NE(window_, nullptr) << program_ << " did not come up";
    }
    void TearDown() override {
        recognizer_.reset();
        director_.reset();
    }

    // Whether a file is on drive c.
    bool Exists(const std::string& relative) const { return std::filesystem::exists(drives_.root() + "/c/" + relative); }

    const char* program_;
    const char* caption_;
    rlim_t fileLimit_;
    TempDrives drives_;
    TempBus bus_;
    std::unique_ptr<DirectorStandIn> director_;
    std::unique_ptr<RecognizerProcess> recognizer_;
    win::HWND window_ = nullptr;
};
