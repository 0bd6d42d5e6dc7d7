#include "platform/bus_wire.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace win::bus {
namespace {

constexpr int SerialBits = 20;
constexpr mode_t PrivateMode = 0700;
constexpr std::uintptr_t SerialMask = (std::uintptr_t{1} << SerialBits) - 1;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

enum class Reach { Connected, Stale, Unreachable };

// Connects to a window's socket without waiting on a full backlog. A socket file nobody listens
// on belongs to a process that ended without cleaning up, and one served by another user is
// not a window of this session: both are removed so that later look-ups do not trip over them.
Reach Connect(const std::string& path, int* fd) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return Reach::Unreachable;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    *fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (*fd < 0) return Reach::Unreachable;
    if (::connect(*fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        if (PeerOfThisUser(*fd) != 0) return Reach::Connected;
        errno = ECONNREFUSED;
    }
    const int error = errno;
    ::close(*fd);
    *fd = -1;
    if (error == ECONNREFUSED) {
        ::unlink(path.c_str());
        return Reach::Stale;
    }
    return Reach::Unreachable;
}

bool IsLive(HWND window) {
    int fd = -1;
    if (Connect(SocketPath(window), &fd) != Reach::Connected) return false;
    ::close(fd);
    return true;
}

std::mutex reportMutex;
std::string lastReport;

// Says once on standard error why the bus folder cannot be used, not at every call.
void ReportUnusableFolder(const std::string& folder, const char* reason) {
    const std::string report =
        "The window bus folder " + folder + ": " + reason + "; the programs cannot reach each other through it.";
    std::lock_guard lock(reportMutex);
    if (report == lastReport) return;
    lastReport = report;
    std::fprintf(stderr, "%s\n", report.c_str());
}

void MakeParents(const std::string& folder) {
    for (std::size_t i = 1; i < folder.size(); ++i) {
        if (folder[i] == '/') ::mkdir(folder.substr(0, i).c_str(), PrivateMode);
    }
}

}  // namespace

Deadline::Deadline(int timeoutMs)
    : forever_(timeoutMs == WaitForever), end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}

int Deadline::RemainingMs() const {
    if (forever_) return WaitForever;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now()).count();
    return static_cast<int>(std::max<decltype(left)>(left, 0));
}

std::string Directory() {
    if (const char* folder = std::getenv("TORVA_BUS_DIR"); folder && *folder) return folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return std::string(runtime) + "/torva-bus";
    }
    return "/tmp/torva-bus-" + std::to_string(::getuid());
}

bool PrepareDirectory(const std::string& folder, bool create) {
    // Room for the longest socket name ("/.w<pid>-<serial>") in a socket address.
    constexpr std::size_t LongestName = 20;
    if (folder.empty() || folder.size() + LongestName >= sizeof(sockaddr_un::sun_path)) {
        ReportUnusableFolder(folder, "is too long for a socket address");
        return false;
    }
    if (create) {
        MakeParents(folder);
        ::mkdir(folder.c_str(), PrivateMode);
    }
    // Opened without following a link, so what is checked is what is used.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        ReportUnusableFolder(folder, errno == ENOENT ? "is missing" : "is not a folder (or is a symbolic link)");
        return false;
    }
    struct stat st {};
    bool usable = ::fstat(fd, &st) == 0;
    if (usable && st.st_uid != ::getuid()) {
        // Another user could read the windows' answers or stand in for a window.
        ReportUnusableFolder(folder, "belongs to another user");
        usable = false;
    }
    if (usable && (st.st_mode & 0777) != PrivateMode && ::fchmod(fd, PrivateMode) != 0) {
        ReportUnusableFolder(folder, "is open to other users and its mode cannot be made 0700");
        usable = false;
    }
    ::close(fd);
    return usable;
}

std::string LastFolderReport() {
    std::lock_guard lock(reportMutex);
    return lastReport;
}

std::string UsableDirectory() {
    std::string folder = Directory();
    return PrepareDirectory(folder, false) ? folder : std::string();
}

std::string SocketName(pid_t pid, unsigned serial) {
    return "w" + std::to_string(pid) + "-" + std::to_string(serial);
}

bool ParseSocketName(const std::string& name, pid_t* pid, unsigned* serial) {
    long parsedPid = 0;
    unsigned parsedSerial = 0;
    int consumed = 0;
    if (std::sscanf(name.c_str(), "w%ld-%u%n", &parsedPid, &parsedSerial, &consumed) != 2) return false;
    if (static_cast<std::size_t>(consumed) != name.size() || parsedPid <= 0) return false;
    if (parsedSerial == 0 || parsedSerial > SerialMask) return false;
    *pid = static_cast<pid_t>(parsedPid);
    *serial = parsedSerial;
    return true;
}

HWND MakeHandle(pid_t pid, unsigned serial) {
    const std::uintptr_t value = (static_cast<std::uintptr_t>(pid) << SerialBits) | (serial & SerialMask);
    return reinterpret_cast<HWND>(value);
}

pid_t HandlePid(HWND window) {
    return static_cast<pid_t>(reinterpret_cast<std::uintptr_t>(window) >> SerialBits);
}

unsigned HandleSerial(HWND window) {
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(window) & SerialMask);
}

std::string SocketPath(HWND window) {
    return Directory() + "/" + SocketName(HandlePid(window), HandleSerial(window));
}

std::vector<HWND> ListWindows() {
    std::vector<HWND> found;
    const std::string folder = UsableDirectory();
    if (folder.empty()) return found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir)) {
        pid_t pid = 0;
        unsigned serial = 0;
        // This process's own windows are known without asking anyone.
        if (ParseSocketName(entry->d_name, &pid, &serial) && pid != ::getpid()) found.push_back(MakeHandle(pid, serial));
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(), ListedBefore);
    std::erase_if(found, [](HWND window) { return !IsLive(window); });
    return found;
}

std::vector<HWND> ListProcessWindows(pid_t pid) {
    std::vector<HWND> windows = ListWindows();
    std::erase_if(windows, [pid](HWND window) { return HandlePid(window) != pid; });
    return windows;
}

bool ListedBefore(HWND a, HWND b) { return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b); }

pid_t PeerOfThisUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::getuid()) return 0;
    return peer.pid;
}

bool WriteAll(int fd, const void* data, std::size_t bytes, const Deadline& deadline) {
    const auto* at = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t written = ::send(fd, at, bytes, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd wait{fd, POLLOUT, 0};
            const int ready = ::poll(&wait, 1, deadline.RemainingMs());
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return false;
            continue;
        }
        if (written <= 0) return false;
        at += written;
        bytes -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t bytes, const Deadline& deadline) {
    auto* at = static_cast<char*>(data);
    while (bytes > 0) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, deadline.RemainingMs());
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t got = ::recv(fd, at, bytes, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (got <= 0) return false;  // the peer closed: it ended or dropped the call
        at += got;
        bytes -= static_cast<std::size_t>(got);
    }
    return true;
}

bool SendReply(int fd, const Reply& reply, const std::string& payload) {
    Reply sized = reply;
    sized.payloadBytes = static_cast<std::uint32_t>(payload.size());
    const Deadline now(0);
    return WriteAll(fd, &sized, sizeof sized, now) && WriteAll(fd, payload.data(), payload.size(), now);
}

std::optional<Answer> Ask(HWND window, const Request& request, const std::string& payload, int timeoutMs) {
    if (!window || payload.size() > MaxPayloadBytes || UsableDirectory().empty()) return std::nullopt;
    int fd = -1;
    if (Connect(SocketPath(window), &fd) != Reach::Connected) return std::nullopt;
    Socket socket(fd);
    Request sized = request;
    sized.payloadBytes = static_cast<std::uint32_t>(payload.size());
    // Handing over the call is a look-up's work whatever the call; only the answer of a sent
    // message may take as long as the receiver's handler.
    const Deadline handOver(LookupTimeoutMs);
    if (!WriteAll(fd, &sized, sizeof sized, handOver) || !WriteAll(fd, payload.data(), payload.size(), handOver)) {
        return std::nullopt;
    }
    const Deadline answered(timeoutMs);
    Answer answer;
    if (!ReadAll(fd, &answer.reply, sizeof answer.reply, answered)) return std::nullopt;
    if (answer.reply.payloadBytes > MaxPayloadBytes) return std::nullopt;
    answer.payload.resize(answer.reply.payloadBytes);
    const Deadline rest(LookupTimeoutMs);
    if (!ReadAll(fd, answer.payload.data(), answer.payload.size(), rest)) return std::nullopt;
    return answer;
}

}  // namespace win::bus
