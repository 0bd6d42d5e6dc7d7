#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

}  // namespace
