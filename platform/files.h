// The programs name files by Windows paths ("c:\2_0.syc", "\work\TDBuf.bmp"). Each drive
// letter is a folder <drives>/<letter>/ (TORVA_DRIVES, else ~/.local/share/torva/drives); a path
// without a drive is on drive c; a path that starts with "/" is already a Linux path (its
// backslashes become slashes all the same).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace win {

// Folder that holds the drive folders; empty (said once on standard error) when neither
// TORVA_DRIVES nor HOME is set.
std::string DrivesRoot();
// Linux path for a Windows path; creates the drive folder (not sub-folders) when missing. Empty,
// which names no file, for a path on a drive when there is no drives folder.
std::string MapPath(const char* windowsPath);

std::FILE* fopen(const char* windowsPath, const char* mode);
int remove(const char* windowsPath);

// _findfirst/_findnext/_findclose: the name part of the pattern may hold "*" and "?", matched
// case-insensitively; names come in directory order. A name that holds a backslash is not
// listed: joined to its folder it would be a path, not a name.
inline constexpr int MaxFindName = 260;
struct _finddata_t {
    unsigned attrib;
    std::int64_t size;
    char name[MaxFindName];
};
using FindHandle = std::intptr_t;
inline constexpr FindHandle InvalidFindHandle = -1;

FindHandle _findfirst(const char* pattern, _finddata_t* data);
int _findnext(FindHandle handle, _finddata_t* data);  // 0 found, -1 no more
int _findclose(FindHandle handle);

// Case-insensitive wildcard match of one file name.
bool MatchesPattern(const char* pattern, const char* name);

}  // namespace win
