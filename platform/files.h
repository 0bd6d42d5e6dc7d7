// The programs name files by Windows paths ("c:\2_0.syc", "\work\TDBuf.bmp"). Each drive
// letter is a folder <drives>/<letter>/ (TORVA_DRIVES, else ~/.local/share/torva/drives); a path
// without a drive is on drive c; a path that starts with "/" is already a Linux path (its
// backslashes become slashes all the same).
#pragma once

#include <sys/types.h>

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

// Mode of a file the programs create, before the umask narrows it, and of one no other user
// may read.
inline constexpr mode_t NewFileMode = 0666;
inline constexpr mode_t PrivateFileMode = 0600;

// Opens a Linux path as open(2) does, without waiting on what is not a regular file: a FIFO,
// socket, device or folder there is refused (-1) exactly as a file that cannot be opened.
int OpenRegularFile(const std::string& path, int flags, mode_t mode = NewFileMode);
// The same as a stream, for reading ("rb") or writing ("wb"); other modes are refused.
std::FILE* OpenRegularStream(const std::string& path, const char* mode);

// fopen of a Windows path; only a regular file opens.
std::FILE* fopen(const char* windowsPath, const char* mode);
int remove(const char* windowsPath);

// A file written in full before it takes the place of whatever stands at its Linux path: the
// bytes go to a fresh file of a name no one else holds, in the same folder, that Commit renames
// over the path. Nothing planted at the path is followed (a link there is replaced, its target
// untouched), and a failed write leaves what was there.
class ReplacingFile {
public:
    ReplacingFile(std::string path, mode_t mode);
    ~ReplacingFile();  // an uncommitted fresh file is removed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Null when the fresh file could not be made.
    std::FILE* get() const { return file_; }
    // Closes the fresh file and renames it over the path; false, with the path untouched, when
    // anything failed.
    bool Commit();

private:
    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};

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
