// Gives one test its own window bus, so that it never sees or disturbs a user's windows and
// tests can run side by side.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

class TempBus {
public:
    TempBus() {
        char pattern[] = "/tmp/torva-bus-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        folder_ = made ? made : "/tmp";
        ::setenv("TORVA_BUS_DIR", folder_.c_str(), 1);
    }
    ~TempBus() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        ::unsetenv("TORVA_BUS_DIR");
    }
    TempBus(const TempBus&) = delete;
    TempBus& operator=(const TempBus&) = delete;

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};
