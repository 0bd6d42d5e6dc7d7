// Runs the director's window in the test process on a private bus and private drives, with
// recognizer windows that record what reaches them (and may answer), and hooks that stand in
// for the folder dialog, the message boxes and the launches.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "director/director_dlg.h"
#include "platform/folder_dialog.h"
#include "platform/launch.h"
#include "platform/windows.h"
#include "recognizer/shell/result_sender.h"
#include "support/qt_test_app.h"
#include "support/temp_bus.h"
#include "support/temp_drives.h"

// One request as a recognizer window received it.
struct Request {
    int camera;  // whose window it reached
    int wParam;
    int lParam;
    bool operator==(const Request&) const = default;
};

inline void PrintTo(const Request& r, std::ostream* out) {
    *out << "(cam" << r.camera << ": " << r.wParam << ", " << r.lParam << ")";
}

struct Box {
    std::string text;
    std::string caption;
    bool operator==(const Box&) const = default;
};

// A recognizer window of one camera; with an answer set it sends that record for every
// recognition request, with its own camera number and the request's side.
class FakeRecognizer : public win::WindowHost {
public:
    FakeRecognizer(int camera, std::vector<Request>& log) : camera_(camera), log_(log) {
        window_ = std::make_unique<win::Window>(CameraWindowCaption(camera), this);
    }

    std::optional<RecognitionResult> answer;

    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override {
        if (message != WM_RECOGNIZE_REQUEST) return 0;
        log_.push_back({camera_, static_cast<int>(wParam), static_cast<int>(lParam)});
        if (answer && (wParam != 0 || lParam != 0)) {
            RecognitionResult result = *answer;
            result.camera = static_cast<std::int8_t>(camera_);
            result.side = static_cast<std::uint8_t>(lParam);
            SendResultToDirector(result);
        }
        return 0;
    }

private:
    int camera_;
    std::vector<Request>& log_;
    std::unique_ptr<win::Window> window_;
};

// The director's window with a script that runs once its loop handles events.
class ScriptedDirector : public CDirectorDlg {
public:
    explicit ScriptedDirector(std::function<void(ScriptedDirector&)> script)
        : script_(std::move(script)) {}

    void ClickSelectFolder() { static_cast<QPushButton*>(GetDlgItem(IDC_SELECT_FOLDER))->click(); }
    void Close() { widget()->close(); }
    using CDirectorDlg::OnCancel;

protected:
    win::BOOL OnInitDialog() override {
        CDirectorDlg::OnInitDialog();
        QTimer::singleShot(0, widget(), [this] { script_(*this); });
        return win::TRUE;
    }

private:
    std::function<void(ScriptedDirector&)> script_;
};

// Photos of the views, each of its own colour, sized as the cameras take them.
struct Photo {
    std::string name;
    QColor colour;
    int width = 600;
    int height = 800;
};

class DirectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(win::AfxSocketInit());
        win::SetMessageBoxHook([this](const char* text, const char* caption, win::UINT) {
            boxes.push_back({text, caption});
            if (onBox) onBox();
            return win::IDOK;
        });
        win::SetFolderDialogHook([this](const char* title) {
            folderTitles.emplace_back(title);
            return pickedFolder;
        });
        win::SetWinExecHook([this](const char* name, win::UINT show) {
            launches.emplace_back(name, show);
            return win::ERROR_FILE_NOT_FOUND;
        });
    }
    void TearDown() override {
        win::SetMessageBoxHook(nullptr);
        win::SetFolderDialogHook(nullptr);
        win::SetWinExecHook(nullptr);
    }

    // A folder of photos; a photo with a size of 0 is an empty file that does not decode.
    std::string MakeFolder(const std::string& folder, const std::vector<Photo>& photos) {
        for (const Photo& photo : photos) {
            const std::string path = drives.On('e', folder + "/" + photo.name);
            if (photo.width == 0) {
                std::ofstream{path};
                continue;
            }
            QImage image(photo.width, photo.height, QImage::Format_RGB32);
            image.fill(photo.colour);
            EXPECT_TRUE(image.save(QString::fromStdString(path), "JPG", 95));
        }
        return drives.root() + "/e/" + folder;
    }

    // Names only: the photos are empty files.
    std::string MakeNamedFolder(const std::string& folder, const std::vector<std::string>& names) {
        std::vector<Photo> photos;
        for (const std::string& name : names) photos.push_back({name, {}, 0, 0});
        return MakeFolder(folder, photos);
    }

    // Launches of the named recognizers start the real programs built beside the tests; every
    // other launch fails. The started processes are listed in `started`.
    void LaunchRealRecognizers(std::vector<std::string> names) {
        win::SetWinExecHook([this, names](const char* name, win::UINT show) {
            launches.emplace_back(name, show);
            if (std::find(names.begin(), names.end(), name) == names.end()) return win::ERROR_FILE_NOT_FOUND;
            const std::string program = win::FindLaunchName(name);
            EXPECT_FALSE(program.empty()) << name << " is built beside the tests";
            const long long pid = program.empty() ? 0 : win::StartProgram(program, "", show);
            if (pid != 0) started.push_back(pid);
            return pid != 0 ? win::LaunchStarted : win::ERROR_FILE_NOT_FOUND;
        });
    }

    // Alive and not yet a zombie.
    static bool IsRunning(long long pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string pidText, name, state;
        return stat >> pidText >> name >> state && state != "Z" && state != "X";
    }

    // The quit request ends the started recognizers; one still running after a while is killed
    // so that no test leaves a process behind.
    void ExpectStartedRecognizersEnd() {
        for (const long long pid : started) {
            EXPECT_TRUE(PumpUntil([&] { return !IsRunning(pid); })) << "recognizer " << pid << " ends";
            if (IsRunning(pid)) ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
    }

    void AddRecognizers(std::initializer_list<int> cameras) {
        for (const int camera : cameras) {
            recognizers[camera] = std::make_unique<FakeRecognizer>(camera, requests);
        }
    }

    // Lets the posted requests and the answers they cause be handled.
    static void HandlePending() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    bool RequestFileExists(const char* name) {
        return std::filesystem::exists(drives.root() + "/c/" + name);
    }

    // Picks `folder` with the button, handles what that posts, then runs `check` and closes.
    // Starts from no requests and no request files.
    void RunWithFolder(const std::string& folder, const std::function<void(ScriptedDirector&)>& check) {
        HandlePending();
        requests.clear();
        std::filesystem::remove_all(drives.root() + "/c");
        pickedFolder = folder;
        ScriptedDirector director([&](ScriptedDirector& d) {
            d.ClickSelectFolder();
            HandlePending();
            check(d);
            d.Close();
        });
        director.DoModal();
    }

    TempBus bus;
    TempDrives drives;
    std::vector<Request> requests;
    std::map<int, std::unique_ptr<FakeRecognizer>> recognizers;
    std::vector<Box> boxes;
    std::function<void()> onBox;
    std::vector<std::string> folderTitles;
    std::optional<std::string> pickedFolder;
    std::vector<std::pair<std::string, win::UINT>> launches;
    std::vector<long long> started;
};

inline std::vector<std::string> SixViewNames() {
    return {"01_Front.jpg", "02_Rearx.jpg", "03_Sider_01.jpg", "04_Sidel_02.jpg", "05_Sider_02.jpg",
            "06_Sidel_01.jpg"};
}

// Requests of a whole six-photo set, in dispatch order, and the quit requests after it.
inline const std::vector<Request> SixPhotoRequests = {{4, 4, 0}, {1, 1, 0}, {3, 3, 0},
                                                      {2, 2, 1}, {3, 3, 1}, {2, 2, 0}};
