// The framework's file finder: the files of one folder whose names match a pattern ("*.jpg",
// case-insensitively). Names come in sorted order, case folded, so a folder is listed the same
// way on every machine.
#pragma once

#include <string>
#include <vector>

namespace win {

class CFileFind {
public:
    // Starts a search for `pattern` (a folder and a name pattern, joined by "\" or "/"); true
    // when at least one file matches. Folders are not listed.
    bool FindFile(const char* pattern);
    // Moves to the next file; false when that file is the last one (it is still current).
    bool FindNextFile();
    // Name and extension of the current file.
    std::string GetFileName() const;

private:
    std::vector<std::string> names_;
    std::size_t current_ = 0;
    std::size_t next_ = 0;
};

}  // namespace win
