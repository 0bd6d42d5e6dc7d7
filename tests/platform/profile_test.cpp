#include "platform/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_drives.h"

namespace {

constexpr const char* IniPath = "C:\\settings.ini";

class ProfileTest : public ::testing::Test {
protected:
    std::string Read(const char* section, const char* key, const char* fallback = "dflt", win::DWORD size = 128) {
        char buffer[128] = "untouched";
        const win::DWORD length = win::GetPrivateProfileStringA(section, key, fallback, buffer, size, IniPath);
        EXPECT_EQ(length, std::string(buffer).size());
        return buffer;
    }
    void WriteFile(const std::string& text) { std::ofstream(drives.On('c', "settings.ini"), std::ios::binary) << text; }
    std::string File() const {
        std::ifstream in(drives.root() + "/c/settings.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempDrives drives;
};

TEST_F(ProfileTest, ReadsMatchNamesWhateverTheirCaseAndFallBackToTheDefault) {
    EXPECT_EQ(Read("Settings", "Face1_TOP", "140"), "140") << "no file";
    WriteFile("; comment\r\n[Other]\r\nFace1_TOP=1\r\n[ settings ]\r\n  face1_top =  77 \r\nQuoted=\"a b \"\r\n"
              "Empty=\r\nFace1_TOP=99\r\n[Last]\nx=last line without its end");
    EXPECT_EQ(Read("SETTINGS", "FACE1_TOP"), "77") << "the first of two keys counts";
    EXPECT_EQ(Read("Other", "face1_top"), "1");
    EXPECT_EQ(Read("Settings", "Quoted"), "a b ");
    EXPECT_EQ(Read("Settings", "Empty"), "") << "an empty value is a value";
    EXPECT_EQ(Read("Settings", "Missing", "250"), "250");
    EXPECT_EQ(Read("Nowhere", "Face1_TOP", "  220  "), "220") << "the default loses its blanks too";
    EXPECT_EQ(Read("Last", "x"), "last line without its end");
    EXPECT_EQ(Read("Last", "x", "", 5), "last") << "cut to the buffer, terminated";
}

TEST_F(ProfileTest, WritesChangeOrAddOneKeyAndKeepEveryOtherLine) {
    ASSERT_TRUE(win::WritePrivateProfileStringA("Settings", "Face1_TOP", "140", IniPath));
    EXPECT_EQ(File(), "[Settings]\r\nFace1_TOP=140\r\n") << "a missing file is created";

    WriteFile("; keep me\n[Settings]\nface1_top = 5 ; old\nOther=x\n\n[More]\nKey=1");
    ASSERT_TRUE(win::WritePrivateProfileStringA("Settings", "Face1_TOP", "12", IniPath));
    ASSERT_TRUE(win::WritePrivateProfileStringA("settings", "Face1_LEFT", "220", IniPath));
    ASSERT_TRUE(win::WritePrivateProfileStringA("More", "Added", "2", IniPath));
    ASSERT_TRUE(win::WritePrivateProfileStringA("New", "Key", "3", IniPath));
    EXPECT_EQ(File(),
              "; keep me\n[Settings]\nFace1_TOP=12\nOther=x\nFace1_LEFT=220\r\n\n[More]\nKey=1\r\nAdded=2\r\n"
              "[New]\r\nKey=3\r\n");
    EXPECT_EQ(Read("Settings", "face1_top"), "12");
    EXPECT_EQ(Read("more", "key"), "1");
}

TEST_F(ProfileTest, AnUnwritableFileIsReportedAndLeftAsItWas) {
    EXPECT_FALSE(win::WritePrivateProfileStringA("S", "k", "v", "C:\\no\\such\\folder\\x.ini"));
    EXPECT_FALSE(std::filesystem::exists(drives.root() + "/c/no"));
    EXPECT_FALSE(win::WritePrivateProfileStringA("S", nullptr, "v", IniPath));
    EXPECT_FALSE(std::filesystem::exists(drives.root() + "/c/settings.ini"));
}

TEST_F(ProfileTest, ANamePlantedWhereTheNewTextCouldGoIsNotFollowed) {
    const std::string victim = drives.On('c', "victim.txt");
    std::ofstream(victim) << "keep";
    WriteFile("[Settings]\r\nFace1_TOP=1\r\n");
    std::filesystem::create_symlink(victim, drives.On('c', "settings.ini.new"));
    ASSERT_TRUE(win::WritePrivateProfileStringA("Settings", "Face1_TOP", "140", IniPath));
    EXPECT_EQ(File(), "[Settings]\r\nFace1_TOP=140\r\n");
    EXPECT_FALSE(std::filesystem::is_symlink(drives.root() + "/c/settings.ini"));
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "keep");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(drives.root() + "/c")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"settings.ini", "settings.ini.new", "victim.txt"}))
        << "no temporary file left";
}

TEST_F(ProfileTest, TheFileKeepsItsModeAndAReadOnlyOneIsLeftAsItWas) {
    namespace fs = std::filesystem;
    const std::string path = drives.On('c', "settings.ini");
    WriteFile("[Settings]\r\nFace1_TOP=1\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(win::WritePrivateProfileStringA("Settings", "Face1_TOP", "2", IniPath));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(path, readOnly);
    EXPECT_FALSE(win::WritePrivateProfileStringA("Settings", "Face1_TOP", "3", IniPath));
    EXPECT_EQ(File(), "[Settings]\r\nFace1_TOP=2\r\n");
    EXPECT_EQ(fs::status(path).permissions(), readOnly);
}

TEST_F(ProfileTest, AByteOrderMarkIsNoPartOfTheFirstLine) {
    WriteFile("\xEF\xBB\xBF[Settings]\r\nFace1_TOP=7\r\n");
    EXPECT_EQ(Read("Settings", "Face1_TOP"), "7");
    ASSERT_TRUE(win::WritePrivateProfileStringA("Settings", "Face1_TOP", "8", IniPath));
    EXPECT_EQ(File(), "\xEF\xBB\xBF[Settings]\r\nFace1_TOP=8\r\n") << "one section, the mark kept";
}

TEST(ProfileWithoutHome, NothingFallsBackToASharedFolder) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::unsetenv("HOME");
    ::unsetenv("TORVA_DRIVES");
    testing::internal::CaptureStderr();
    const win::BOOL written = win::WritePrivateProfileStringA("Settings", "Face1_TOP", "140", "C:\\TORVA_VIDEO.ini");
    char value[8] = "";
    win::GetPrivateProfileStringA("Settings", "Face1_TOP", "250", value, sizeof value, "C:\\TORVA_VIDEO.ini");
    const std::string said = testing::internal::GetCapturedStderr();
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
    EXPECT_FALSE(written);
    EXPECT_STREQ(value, "250");
    EXPECT_NE(said.find("HOME"), std::string::npos) << "the refusal is explained: " << said;
}

}  // namespace
