// A fresh temporary folder named by an environment variable for the life of one test, so tests
// never touch a user's files or windows and can run side by side.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

class TempFolderVariable {
public:
    TempFolderVariable(const char* variable, const char* prefix) : variable_(variable) {
        std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        EXPECT_NE(made, nullptr);
        root_ = made ? made : "/tmp";
        ::setenv(variable_, root_.c_str(), 1);
    }
    ~TempFolderVariable() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
        ::unsetenv(variable_);
    }
    TempFolderVariable(const TempFolderVariable&) = delete;
    TempFolderVariable& operator=(const TempFolderVariable&) = delete;

    const std::string& root() const { return root_; }

private:
    const char* variable_;
    std::string root_;
};
