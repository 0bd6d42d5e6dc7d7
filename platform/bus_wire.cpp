#include "platform/bus_wire.h"

#include <dirent.h>
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

namespace win::bus {
namespace {

constexpr int SerialBits = 20;
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

// Connects to a window's socket. A socket file nobody listens on belongs to a process that
// ended without cleaning up: it is removed so that later look-ups do not trip over it.
Reach Connect(const std::string& path, int* fd) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return Reach::Unreachable;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    *fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (*fd < 0) return Reach::Unreachable;
    if (::connect(*fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return Reach::Connected;
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

}  // namespace

std::string Directory() {
    if (const char* folder = std::getenv("TORVA_BUS_DIR"); folder && *folder) return folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return std::string(runtime) + "/torva-bus";
    }
    return "/tmp/torva-bus-" + std::to_string(::getuid());
}

bool PrepareDirectory(const std::string& folder) {
    // Room for the longest socket name ("/.w<pid>-<serial>") in a socket address.
    constexpr std::size_t LongestName = 20;
    if (folder.empty() || folder.size() + LongestName >= sizeof(sockaddr_un::sun_path)) return false;
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') ::mkdir(folder.substr(0, i).c_str(), 0700);
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    // Another user's folder would let that user read the windows' answers.
    if (st.st_uid != ::getuid()) return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
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
    DIR* dir = ::opendir(Directory().c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir)) {
        pid_t pid = 0;
        unsigned serial = 0;
        if (ParseSocketName(entry->d_name, &pid, &serial)) found.push_back(MakeHandle(pid, serial));
    }
    ::closedir(dir);
    // Oldest process first, and within it the order the windows were made.
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b);
    });
    std::erase_if(found, [](HWND window) { return !IsLive(window); });
    return found;
}

std::vector<HWND> ListProcessWindows(pid_t pid) {
    std::vector<HWND> windows = ListWindows();
    std::erase_if(windows, [pid](HWND window) { return HandlePid(window) != pid; });
    return windows;
}

bool WriteAll(int fd, const void* data, std::size_t bytes) {
    const auto* at = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t written = ::send(fd, at, bytes, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += written;
        bytes -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t bytes, int timeoutMs) {
    auto* at = static_cast<char*>(data);
    while (bytes > 0) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t got = ::recv(fd, at, bytes, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;  // the peer closed: it ended or dropped the call
        at += got;
        bytes -= static_cast<std::size_t>(got);
    }
    return true;
}

bool SendReply(int fd, const Reply& reply, const std::string& payload) {
    Reply sized = reply;
    sized.payloadBytes = static_cast<std::uint32_t>(payload.size());
    return WriteAll(fd, &sized, sizeof sized) && WriteAll(fd, payload.data(), payload.size());
}

std::optional<Answer> Ask(HWND window, const Request& request, const std::string& payload, int timeoutMs) {
    if (!window || payload.size() > MaxPayloadBytes) return std::nullopt;
    int fd = -1;
    if (Connect(SocketPath(window), &fd) != Reach::Connected) return std::nullopt;
    Socket socket(fd);
    Request sized = request;
    sized.payloadBytes = static_cast<std::uint32_t>(payload.size());
    if (!WriteAll(fd, &sized, sizeof sized) || !WriteAll(fd, payload.data(), payload.size())) return std::nullopt;
    Answer answer;
    if (!ReadAll(fd, &answer.reply, sizeof answer.reply, timeoutMs)) return std::nullopt;
    if (answer.reply.payloadBytes > MaxPayloadBytes) return std::nullopt;
    answer.payload.resize(answer.reply.payloadBytes);
    if (!ReadAll(fd, answer.payload.data(), answer.payload.size(), LookupTimeoutMs)) return std::nullopt;
    return answer;
}

}  // namespace win::bus
