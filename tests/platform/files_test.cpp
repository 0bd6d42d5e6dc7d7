#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_drives.h"

namespace {

std::vector<std::string> FindAll(const char* pattern) {
    std::vector<std::string> names;
    win::_finddata_t found{};
    const win::FindHandle search = win::_findfirst(pattern, &found);
    if (search == win::InvalidFindHandle) return names;
    do {
        names.emplace_back(found.name);
    } while (win::_findnext(search, &found) == 0);
    EXPECT_EQ(win::_findclose(search), 0);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FilesTest, WindowsPathsMapOntoDriveFolders) {
    TempDrives drives;
    EXPECT_EQ(win::MapPath("c:\\2_0.syc"), drives.root() + "/c/2_0.syc");
    EXPECT_EQ(win::MapPath("E:\\TORVA\\BMP\\A_3.bmp"), drives.root() + "/e/TORVA/BMP/A_3.bmp");
    EXPECT_EQ(win::MapPath("\\work\\TDBuf.bmp"), drives.root() + "/c/work/TDBuf.bmp");
    EXPECT_EQ(win::MapPath("/already/linux"), "/already/linux");
    EXPECT_TRUE(std::filesystem::is_directory(drives.root() + "/e"));
    EXPECT_FALSE(std::filesystem::exists(drives.root() + "/e/TORVA")) << "sub-folders are the programs' business";
}

TEST(FilesTest, OpenAndRemoveUseTheMappedPath) {
    TempDrives drives;
    std::FILE* file = win::fopen("c:\\1.syc", "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(std::filesystem::exists(drives.On('c', "1.syc")));
    EXPECT_EQ(win::remove("C:\\1.syc"), 0);
    EXPECT_FALSE(std::filesystem::exists(drives.On('c', "1.syc")));
    EXPECT_NE(win::remove("c:\\1.syc"), 0);
}

TEST(FilesTest, SearchMatchesNamesWithoutRegardToCase) {
    TempDrives drives;
    for (const char* name : {"a_3.bmp", "B_3.BMP", "c_3.bmpx", "d_4.bmp", "e_3.Bmp"}) {
        std::ofstream(drives.On('e', std::string("TORVA/BMP/") + name)) << "x";
    }
    EXPECT_EQ(FindAll("E:\\TORVA\\BMP\\*_3.bmp"), (std::vector<std::string>{"B_3.BMP", "a_3.bmp", "e_3.Bmp"}));
    EXPECT_EQ(FindAll("e:\\torva\\bmp\\*_3.bmp"), std::vector<std::string>{}) << "folders keep their case";
    EXPECT_EQ(FindAll("E:\\TORVA\\BMP\\?_4.*"), std::vector<std::string>{"d_4.bmp"});
    EXPECT_EQ(FindAll("E:\\MISSING\\*.bmp"), std::vector<std::string>{});
    EXPECT_EQ(win::_findclose(12345), -1);
}

TEST(FilesTest, WildcardsBacktrack) {
    EXPECT_TRUE(win::MatchesPattern("*_3.bmp", "x_3_3.bmp"));
    EXPECT_TRUE(win::MatchesPattern("*", ""));
    EXPECT_TRUE(win::MatchesPattern("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(win::MatchesPattern("a*b*c", "aXbYbZ"));
    EXPECT_FALSE(win::MatchesPattern("?", ""));
    EXPECT_FALSE(win::MatchesPattern("*.bmp", "file.bmp.old"));
}

}  // namespace
