// The per-user bus between the programs' windows: one local socket per window in the bus
// folder, named after the owning process and the window's serial number. Each call is one
// connection: a request, then one reply. Internal to the platform layer.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace win::bus {

enum class Call : std::uint32_t {
    Describe = 1,   // -> pid, caption
    GetProperty,    // payload: name -> value
    PostMessage,    // message, wParam, lParam -> queued
    SendMessage,    // message, wParam, lParam -> the handler's result, once it has run
    ShowWindow,     // wParam: show command
    SetForeground,
    Allocate,       // address: size -> block address
    Write,          // address, payload: bytes -> bytes written
    Free,           // address -> 1 when released
};

inline constexpr std::uint32_t RequestMagic = 0x54425553;  // guards against stray writers
inline constexpr std::uint32_t MaxPayloadBytes = 1 << 16;

struct Request {
    std::uint32_t magic = RequestMagic;
    Call call = Call::Describe;
    std::uint32_t message = 0;
    std::uint32_t payloadBytes = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    std::uint64_t address = 0;
};

struct Reply {
    std::int64_t value = 0;
    std::uint32_t pid = 0;
    std::uint32_t payloadBytes = 0;
};

struct Answer {
    Reply reply;
    std::string payload;
};

// How long a look-up may take before the peer counts as hung; a sent message waits for as
// long as the receiver's handler runs.
inline constexpr int LookupTimeoutMs = 5000;
inline constexpr int WaitForever = -1;

// One time limit for a whole exchange, however many reads and writes it takes.
class Deadline {
public:
    explicit Deadline(int timeoutMs);
    // What is left for one wait: WaitForever without a limit, 0 once it has passed.
    int RemainingMs() const;

private:
    bool forever_;
    std::chrono::steady_clock::time_point end_;
};

// The bus folder of this session: TORVA_BUS_DIR, else $XDG_RUNTIME_DIR/torva-bus, else
// /tmp/torva-bus-<uid>.
std::string Directory();
// Whether the folder is fit to hold the windows' sockets: a real folder (not a symlink) of this
// user that only this user may enter; a looser mode of one's own folder is made private. With
// `create` a missing folder is made. A folder that cannot be used is reported on standard error.
bool PrepareDirectory(const std::string& folder, bool create = true);
// The last report of a folder that cannot be used, as said on standard error; empty when none.
std::string LastFolderReport();
// The bus folder, checked again at every use; empty when it cannot be used.
std::string UsableDirectory();

std::string SocketName(pid_t pid, unsigned serial);
bool ParseSocketName(const std::string& name, pid_t* pid, unsigned* serial);
HWND MakeHandle(pid_t pid, unsigned serial);
pid_t HandlePid(HWND window);
unsigned HandleSerial(HWND window);
std::string SocketPath(HWND window);

// Live windows of the other processes on the bus in a stable order; sockets whose process is
// gone, and sockets of another user, are removed.
std::vector<HWND> ListWindows();
// Live windows of one other process.
std::vector<HWND> ListProcessWindows(pid_t pid);
// The order windows are listed in: oldest process first, then the order they were made.
bool ListedBefore(HWND a, HWND b);

// Runs one call against a window. Empty when the window is gone, refuses the call or does not
// answer in time. A socket nobody listens on any more is removed.
std::optional<Answer> Ask(HWND window, const Request& request, const std::string& payload = {},
                          int timeoutMs = LookupTimeoutMs);

// Window messages of this process handed to a GUI thread and not yet handled.
int QueuedMessageCount();

// The process at the other end of a connection, when it belongs to this user; 0 otherwise.
pid_t PeerOfThisUser(int fd);

// Socket I/O that never raises SIGPIPE and waits no longer than the deadline.
bool WriteAll(int fd, const void* data, std::size_t bytes, const Deadline& deadline);
bool ReadAll(int fd, void* data, std::size_t bytes, const Deadline& deadline);
// A reply goes out at once or not at all: it is small and the caller is waiting for it.
bool SendReply(int fd, const Reply& reply, const std::string& payload = {});

}  // namespace win::bus
