#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace win {
namespace {

constexpr char DefaultDriveLetter = 'c';
// Drive folders hold the request images: no other user reads them or plants names in them.
constexpr mode_t PrivateFolderMode = 0700;
// mkstemp's pattern after the file's own name: the fresh file sits in the same folder.
constexpr const char* FreshFileSuffix = ".XXXXXX";

constexpr const char* DrivesUnderHome = "/.local/share/torva/drives";
constexpr const char* NoDrivesText =
    "TORVA: neither TORVA_DRIVES nor HOME is set, so the Windows drives have no folder; "
    "files on them cannot be read or written.\n";

// Said once: without it every file on a drive would fail without a word.
void ReportNoDrives() {
    static std::once_flag reported;
    std::call_once(reported, [] { std::fputs(NoDrivesText, stderr); });
}

void MakeFolder(const std::string& path) {
    // Creates each missing component; existing ones are left alone.
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') ::mkdir(path.substr(0, i).c_str(), PrivateFolderMode);
    }
}

struct OpenFind {
    std::vector<std::string> names;
    std::string folder;
    std::size_t next = 0;
};

std::mutex findMutex;
std::map<FindHandle, OpenFind> openFinds;
FindHandle nextFindHandle = 1;

// A backslash is a folder separator in the programs' paths, so a Linux name that holds one
// ("..\\secret\\x.jpg") would lead outside the folder once joined to it; no Windows name holds one.
bool IsWindowsName(const char* name) { return std::strchr(name, '\\') == nullptr; }

bool FillFindData(OpenFind& find, _finddata_t* data) {
    while (find.next < find.names.size()) {
        const std::string& name = find.names[find.next++];
        if (name.size() >= MaxFindName) continue;  // cannot be reported whole
        struct stat st {};
        const std::string full = find.folder + "/" + name;
        if (::stat(full.c_str(), &st) != 0) continue;
        // A Windows folder holds files and folders only; a FIFO, socket or device is no file to open.
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) continue;
        data->attrib = S_ISDIR(st.st_mode) ? 0x10u : 0u;
        data->size = st.st_size;
        std::memcpy(data->name, name.c_str(), name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

std::string DrivesRoot() {
    const char* root = std::getenv("TORVA_DRIVES");
    if (root && *root) return root;
    // No shared fallback such as /tmp: another user could plant or read the drives there.
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        ReportNoDrives();
        return {};
    }
    return home + std::string(DrivesUnderHome);
}

std::string MapPath(const char* windowsPath) {
    std::string path = windowsPath ? windowsPath : "";
    const bool linuxPath = !path.empty() && path[0] == '/';
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    // A Linux folder may be joined with a name the Windows way ("/home/x/set\\Front.jpg").
    if (linuxPath) return path;
    char drive = DefaultDriveLetter;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
        path.erase(0, 2);
    }
    while (!path.empty() && path[0] == '/') path.erase(0, 1);
    const std::string root = DrivesRoot();
    if (root.empty()) return {};
    const std::string driveFolder = root + "/" + drive;
    MakeFolder(driveFolder);
    return driveFolder + "/" + path;
}

int OpenRegularFile(const std::string& path, int flags, mode_t mode) {
    // Without O_NONBLOCK the open of a FIFO would wait for a writer, and the program with it.
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::FILE* OpenRegularStream(const std::string& path, const char* mode) {
    const char access = mode ? mode[0] : '\0';
    if (access != 'r' && access != 'w') {
        errno = EINVAL;
        return nullptr;
    }
    const int fd = OpenRegularFile(path, access == 'r' ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) ::close(fd);
    return file;
}

std::FILE* fopen(const char* windowsPath, const char* mode) { return OpenRegularStream(MapPath(windowsPath), mode); }

ReplacingFile::ReplacingFile(std::string path, mode_t mode) : path_(std::move(path)) {
    if (path_.empty()) return;
    temporary_ = path_ + FreshFileSuffix;
    const int fd = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd < 0) {
        temporary_.clear();
        return;
    }
    if (::fchmod(fd, mode) == 0) file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

ReplacingFile::~ReplacingFile() {
    if (file_) std::fclose(file_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool ReplacingFile::Commit() {
    if (!file_) return false;
    const bool written = std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed || std::rename(temporary_.c_str(), path_.c_str()) != 0) return false;
    temporary_.clear();
    return true;
}

int remove(const char* windowsPath) { return std::remove(MapPath(windowsPath).c_str()); }

bool MatchesPattern(const char* pattern, const char* name) {
    // Iterative wildcard match with one back-track point for the last "*".
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        const unsigned char p = static_cast<unsigned char>(*pattern);
        const unsigned char n = static_cast<unsigned char>(*name);
        if (p == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (p && (p == '?' || std::tolower(p) == std::tolower(n))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

FindHandle _findfirst(const char* pattern, _finddata_t* data) {
    const std::string mapped = MapPath(pattern);
    if (mapped.empty()) return InvalidFindHandle;
    const std::size_t slash = mapped.rfind('/');
    OpenFind find;
    find.folder = slash == std::string::npos ? "." : mapped.substr(0, slash);
    const std::string namePattern = slash == std::string::npos ? mapped : mapped.substr(slash + 1);
    DIR* dir = ::opendir(find.folder.c_str());
    if (!dir) return InvalidFindHandle;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsWindowsName(entry->d_name) && MatchesPattern(namePattern.c_str(), entry->d_name)) {
            find.names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    if (!FillFindData(find, data)) return InvalidFindHandle;
    std::lock_guard lock(findMutex);
    const FindHandle handle = nextFindHandle++;
    openFinds.emplace(handle, std::move(find));
    return handle;
}

int _findnext(FindHandle handle, _finddata_t* data) {
    std::lock_guard lock(findMutex);
    auto it = openFinds.find(handle);
    if (it == openFinds.end()) return -1;
    return FillFindData(it->second, data) ? 0 : -1;
}

int _findclose(FindHandle handle) {
    std::lock_guard lock(findMutex);
    return openFinds.erase(handle) == 1 ? 0 : -1;
}

}  // namespace win
