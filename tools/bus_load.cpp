// Load test of a recognizer as the director meets it: starts the real program on a private bus
// and drives, with a stand-in director window that takes the results, sends it requests one
// after another (each once the answer to the one before has come), and reports the rate, the
// program's memory and open files at the start and the end, and whether every request got
// exactly one answer. A request file is written once the one before it for the same file is
// gone, as a director that paces its requests does.
//
//   bus_load [--program Ferrow|Brisel] [--requests N] [--bin FOLDER] [--size WIDTHxHEIGHT]
//
// Growth of memory or files between start and end is a leak. Exit status 0 when every request
// was answered exactly once with the recognizer's own camera and the request's side.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/gray_bmp_writer.h"
#include "common/protocol.h"
#include "common/recognition_result.h"
#include "platform/files.h"
#include "platform/process_memory.h"
#include "platform/windows.h"

extern char** environ;

namespace {

constexpr int DefaultRequests = 10000;
constexpr int DefaultWidth = 160;
constexpr int DefaultHeight = 120;
constexpr int StartTimeoutMs = 30000;
constexpr int AnswerTimeoutMs = 30000;
// Requests after which the program has touched what it keeps (its tables, the window's
// painting): growth after these is what a leak would show.
constexpr int WarmUpRequests = 100;
// After the last answer, how long a late second answer is waited for.
constexpr int LateAnswerWaitMs = 500;

struct Options {
    std::string program = "Ferrow";
    std::string bin;
    int requests = DefaultRequests;
    int width = DefaultWidth;
    int height = DefaultHeight;
};

struct Sample {
    long rssKb = -1;
    int openFiles = -1;
};

class Director : public win::WindowHost {
public:
    Director() : window_(DirectorWindowCaption, this) {}

    win::LRESULT WindowProc(win::UINT message, win::WPARAM, win::LPARAM lParam) override {
        if (message != WM_RECOGNITION_RESULT) return 0;
        RecognitionResult record{};
        if (win::ReadProcessMemory(win::GetCurrentProcess(), reinterpret_cast<win::LPCVOID>(lParam), &record, sizeof record,
                                   nullptr)) {
            ++answers;
            last = record;
        } else {
            ++unreadable;
        }
        return 0;
    }

    int answers = 0;
    int unreadable = 0;
    RecognitionResult last{};

private:
    win::Window window_;
};

std::string MakeTempFolder(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

Sample SampleProcess(pid_t pid) {
    Sample sample;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) sample.rssKb = std::strtol(line.c_str() + 6, nullptr, 10);
    }
    if (DIR* dir = ::opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
        sample.openFiles = 0;
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.') ++sample.openFiles;
        }
        ::closedir(dir);
    }
    return sample;
}

pid_t Start(const std::string& program) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

template <class Condition>
bool PumpUntil(Condition done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);  // the answer comes from another process: no need to spin
    }
    return true;
}

win::HWND WaitForWindow(const char* caption, pid_t pid) {
    win::HWND found = nullptr;
    PumpUntil(
        [&] {
            const win::HWND window = win::FindWindowA(nullptr, caption);
            win::DWORD owner = 0;
            if (window && win::GetWindowThreadProcessId(window, &owner) && owner == static_cast<win::DWORD>(pid)) found = window;
            if (!found) QThread::msleep(10);
            return found != nullptr;
        },
        StartTimeoutMs);
    return found;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--program") {
            options->program = value;
        } else if (name == "--bin") {
            options->bin = value;
        } else if (name == "--requests") {
            options->requests = std::atoi(value);
        } else if (name == "--size") {
            if (std::sscanf(value, "%dx%d", &options->width, &options->height) != 2) return false;
        } else {
            return false;
        }
    }
    if (argc % 2 == 0 || options->requests <= 0 || options->width <= 0 || options->height <= 0) return false;
    return options->program == "Ferrow" || options->program == "Brisel";
}

// The program folder defaults to this tool's own: the build puts the programs beside it.
std::string OwnFolder() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

std::vector<std::uint8_t> RequestPixels(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    return pixels;
}

void PrintSample(const std::string& when, const Sample& sample) {
    std::printf("  %-20s RSS %ld kB, open files %d\n", when.c_str(), sample.rssKb, sample.openFiles);
}

int Run(const Options& options) {
    const bool camera1 = options.program == "Brisel";
    const char* caption = camera1 ? "TORVA-VIDEO-CAM1" : "TORVA-VIDEO-CAM2";
    const int camera = camera1 ? 1 : 2;
    if (!win::AfxSocketInit()) return 2;
    Director director;
    const pid_t pid = Start((options.bin.empty() ? OwnFolder() : options.bin) + "/" + options.program);
    const win::HWND window = pid > 0 ? WaitForWindow(caption, pid) : nullptr;
    if (!window) {
        std::fprintf(stderr, "%s did not come up\n", options.program.c_str());
        return 2;
    }
    const std::vector<std::uint8_t> pixels = RequestPixels(options.width, options.height);
    const Sample start = SampleProcess(pid);
    Sample warm = start;
    int missing = 0;
    int extra = 0;
    int wrong = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < options.requests; ++i) {
        if (i == WarmUpRequests) warm = SampleProcess(pid);
        const int side = camera1 ? 0 : i % 2;
        const std::string path = camera1 ? "c:\\1.syc" : "c:\\2_" + std::to_string(side) + ".syc";
        const int before = director.answers;
        // The recognizer removes a request file after answering it: a new request for the same
        // file waits until then, or it would be removed unread.
        const std::string file = win::MapPath(path.c_str());
        if (!PumpUntil([&] { return !std::filesystem::exists(file); }, AnswerTimeoutMs)) {
            ++missing;
            continue;
        }
        WriteGrayBmp(path.c_str(), pixels.data(), options.width, options.height, options.width);
        if (!win::PostMessageA(window, WM_RECOGNIZE_REQUEST, static_cast<win::WPARAM>(camera), side) ||
            !PumpUntil([&] { return director.answers > before; }, AnswerTimeoutMs)) {
            ++missing;
            continue;
        }
        extra += director.answers - before - 1;
        if (director.last.camera != camera || director.last.side != side) ++wrong;
    }
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    const int answersBefore = director.answers;
    PumpUntil([] { return false; }, LateAnswerWaitMs);
    extra += director.answers - answersBefore;
    const Sample end = SampleProcess(pid);
    win::PostMessageA(window, WM_RECOGNIZE_REQUEST, 0, 0);
    if (!PumpUntil([pid] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, StartTimeoutMs)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }

    std::printf("%s: %d requests of %dx%d in %.1f s, %.1f requests/s\n", options.program.c_str(), options.requests,
                options.width, options.height, seconds, options.requests / seconds);
    PrintSample("start", start);
    PrintSample("after " + std::to_string(std::min(WarmUpRequests, options.requests)) + " requests", warm);
    PrintSample("end", end);
    std::printf("  answered once: %d, unanswered: %d, extra answers: %d, unreadable: %d, wrong camera or side: %d\n",
                options.requests - missing, missing, extra, director.unreadable, wrong);
    const bool sound = missing == 0 && extra == 0 && director.unreadable == 0 && wrong == 0;
    std::printf("  %s\n", sound ? "every request got exactly one answer" : "NOT every request got exactly one answer");
    return sound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "usage: %s [--program Ferrow|Brisel] [--requests N] [--bin FOLDER] [--size WxH]\n", argv[0]);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string bus = MakeTempFolder("torva-load-bus");
    const std::string drives = MakeTempFolder("torva-load-drives");
    if (bus.empty() || drives.empty()) return 2;
    ::setenv("TORVA_BUS_DIR", bus.c_str(), 1);
    ::setenv("TORVA_DRIVES", drives.c_str(), 1);
    int result = 2;
    {
        QApplication app(argc, argv);
        result = Run(options);
    }
    std::error_code ignored;
    std::filesystem::remove_all(bus, ignored);
    std::filesystem::remove_all(drives, ignored);
    return result;
}
