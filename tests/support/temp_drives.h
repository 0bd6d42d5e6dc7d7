// Points the Windows drives of the platform layer at a fresh temporary folder for one test.
#pragma once

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

class TempDrives : public TempFolderVariable {
public:
    TempDrives() : TempFolderVariable("TORVA_DRIVES", "torva-drives") {}

    // Linux path of a file on drive `letter`; its folder is created.
    std::string On(char letter, const std::string& relative) const {
        const std::filesystem::path path = root() + "/" + letter + "/" + relative;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        return path.string();
    }
};
