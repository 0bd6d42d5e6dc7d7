// The director's platform calls: launching by launch name and the folder dialog.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/folder_dialog.h"
#include "platform/launch.h"
#include "support/temp_drives.h"

namespace {

std::string ReadWhenWritten(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().find('\n') != std::string::npos) return text.str();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

class PathFolder {
public:
    explicit PathFolder(const std::string& folder) : saved_(std::getenv("PATH")) {
        ::setenv("PATH", (folder + ":" + saved_.value_or("")).c_str(), 1);
    }
    ~PathFolder() {
        if (saved_) ::setenv("PATH", saved_->c_str(), 1);
    }

private:
    std::optional<std::string> saved_;
};

}  // namespace

TEST(Launch, NamesAreFoundBesideTheProgramThenOnPathAndStartedWithTheShowCommand) {
    TempDrives drives;
    const std::string folder = drives.root() + "/bin";
    const std::string out = drives.root() + "/started.txt";
    std::filesystem::create_directories(folder);
    {
        std::ofstream script(folder + "/probe.dic");
        script << "#!/bin/sh\necho \"$TORVA_SHOW_COMMAND $*\" > " << out << "\n";
    }
    ::chmod((folder + "/probe.dic").c_str(), 0755);
    std::ofstream(folder + "/plain.dic") << "not a program";
    PathFolder onPath(folder);

    EXPECT_EQ(win::FindLaunchName("TORVA2.dic"), TORVA_BIN_DIR "/TORVA2.dic");
    EXPECT_EQ(win::FindLaunchName("probe.dic"), folder + "/probe.dic");
    EXPECT_EQ(win::FindLaunchName("plain.dic"), "");
    EXPECT_EQ(win::FindLaunchName(folder + "/probe.dic"), "") << "names only, no paths";

    EXPECT_EQ(win::WinExec("probe.dic first second", win::SW_HIDE), win::LaunchStarted);
    EXPECT_EQ(ReadWhenWritten(out), "0 first second\n");
    EXPECT_EQ(win::WinExec("missing.dic", win::SW_HIDE), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(win::WinExec("plain.dic", win::SW_HIDE), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(win::WinExec("", win::SW_HIDE), win::ERROR_FILE_NOT_FOUND);
}

TEST(FolderDialog, PickedFolderGivesItsPathAndNameUnlessThePathCannotBeUsed) {
    std::string askedTitle;
    std::optional<std::string> answer = "/data/passes/2024-05-01";
    win::SetFolderDialogHook([&](const char* title) {
        askedTitle = title;
        return answer;
    });
    char name[win::MAX_PATH] = {};
    win::BROWSEINFOA browse{nullptr, nullptr, name, "pick", win::BIF_RETURNONLYFSDIRS};
    win::PIDLIST_ABSOLUTE folder = win::SHBrowseForFolderA(&browse);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(askedTitle, "pick");
    EXPECT_STREQ(name, "2024-05-01");
    char path[win::FolderPathSize];
    ASSERT_TRUE(win::SHGetPathFromIDListA(folder, path));
    EXPECT_STREQ(path, "/data/passes/2024-05-01");
    win::CoTaskMemFree(folder);

    const std::string longest = "/" + std::string(win::FolderPathSize - 2, 'x');
    for (const std::string& picked : {longest, longest + "x", std::string("/data/a\\b")}) {
        answer = picked;
        folder = win::SHBrowseForFolderA(&browse);
        ASSERT_NE(folder, nullptr);
        EXPECT_EQ(win::SHGetPathFromIDListA(folder, path) != win::FALSE, picked == longest);
        if (picked == longest) {
            EXPECT_EQ(path, longest);
        }
        win::CoTaskMemFree(folder);
    }

    answer.reset();
    EXPECT_EQ(win::SHBrowseForFolderA(&browse), nullptr);
    win::SetFolderDialogHook(nullptr);
}
