// Points the Windows drives of the platform layer at a fresh temporary folder for one test,
// so tests never touch a user's files and can run side by side.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

class TempDrives {
public:
    TempDrives() {
        char pattern[] = "/tmp/torva-drives-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        root_ = made ? made : "/tmp";
        ::setenv("TORVA_DRIVES", root_.c_str(), 1);
    }
    ~TempDrives() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
        ::unsetenv("TORVA_DRIVES");
    }
    TempDrives(const TempDrives&) = delete;
    TempDrives& operator=(const TempDrives&) = delete;

    const std::string& root() const { return root_; }
    // Linux path of a file on drive `letter`; its folder is created.
    std::string On(char letter, const std::string& relative) const {
        const std::filesystem::path path = root_ + "/" + letter + "/" + relative;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        return path.string();
    }

private:
    std::string root_;
};
