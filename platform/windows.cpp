#include "platform/windows.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "platform/bus_wire.h"
#include "platform/files.h"
#include "platform/process_memory.h"

namespace win {

struct Window::State {
    HWND hwnd = nullptr;
    WindowHost* host = nullptr;
    QThread* thread = nullptr;    // the GUI thread that made the window
    QObject* receiver = nullptr;  // lives on that thread; gets the window's events
    // Guarded by the bus mutex: the service thread reads them.
    std::string caption;
    std::map<std::string, HANDLE> properties;
    std::string socketPath;  // empty while not on the bus
    bool closed = false;
    // What waits in the window's queue, and how many of those hold a caller's connection.
    std::atomic<int> queued{0};
    std::atomic<int> waitingCallers{0};
};

namespace {

using State = Window::State;

constexpr int RequestTimeoutMs = 2000;  // a client writes its whole request right after connecting
// What one window queues: as many posted messages as a Windows thread queue takes, and far fewer
// sent ones, each of which holds its caller's connection (an open file) until it is handled.
constexpr int MaxQueuedMessages = 10000;
constexpr int MaxWaitingCallers = 32;
// Connections being read at once: a share of the files the process may open, so that the
// service never runs the process out of files; more callers wait to be accepted.
constexpr std::size_t MaxConnections = 256;
constexpr rlim_t ConnectionShareOfFiles = 4;
constexpr int AcceptsPerWake = 64;
// After an accept failed for want of files or memory the listeners rest, instead of spinning.
constexpr int AcceptPauseMs = 100;
// How often blocks of processes that ended are looked for while other processes hold some.
constexpr int PeerSweepMs = 1000;

const QEvent::Type MessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type TaskEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

std::atomic<int> QueuedMessages{0};

// An event in a window's queue, counted against the window's bound from when it is queued
// until it is gone.
class QueuedEvent : public QEvent {
public:
    // No virtual calls here: the bus service counts events while it may be out of files, when a
    // sanitizer cannot check a virtual call.
    QueuedEvent(QEvent::Type type, bool holdsCaller) : QEvent(type), holdsCaller_(holdsCaller) {}
    ~QueuedEvent() override {
        if (!window_) return;
        --window_->queued;
        if (holdsCaller_) --window_->waitingCallers;
    }
    bool HoldsCaller() const { return holdsCaller_; }
    void CountIn(std::shared_ptr<State> window) {
        window_ = std::move(window);
        ++window_->queued;
        if (holdsCaller_) ++window_->waitingCallers;
    }

private:
    std::shared_ptr<State> window_;
    const bool holdsCaller_;
};

// A window message for the GUI thread. A sent message carries the caller's connection; when the
// event dies unanswered (its window went away) closing it tells the caller.
class MessageEvent : public QueuedEvent {
public:
    MessageEvent(UINT message, WPARAM wParam, LPARAM lParam, int replyFd)
        : QueuedEvent(MessageEventType, replyFd >= 0), message(message), wParam(wParam), lParam(lParam), replyFd(replyFd) {
        ++QueuedMessages;
    }
    ~MessageEvent() override {
        if (replyFd >= 0) ::close(replyFd);
        --QueuedMessages;
    }
    const UINT message;
    const WPARAM wParam;
    const LPARAM lParam;
    int replyFd;
};

class TaskEvent : public QueuedEvent {
public:
    explicit TaskEvent(std::function<void(WindowHost&)> task) : QueuedEvent(TaskEventType, false), task(std::move(task)) {}
    std::function<void(WindowHost&)> task;
};

// A call being read: the whole request must arrive before its deadline.
struct Connection {
    std::shared_ptr<State> window;
    pid_t peer = 0;
    std::chrono::steady_clock::time_point deadline;
    std::string bytes;
};

class Receiver : public QObject {
public:
    explicit Receiver(WindowHost* host) : host_(host) {}

    bool event(QEvent* event) override {
        if (event->type() == MessageEventType) {
            auto* message = static_cast<MessageEvent*>(event);
            const LRESULT result = host_->WindowProc(message->message, message->wParam, message->lParam);
            if (message->replyFd >= 0) {
                bus::Reply reply;
                reply.value = result;
                reply.pid = static_cast<std::uint32_t>(::getpid());
                bus::SendReply(message->replyFd, reply);
                ::close(message->replyFd);
                message->replyFd = -1;
            }
            return true;
        }
        if (event->type() == TaskEventType) {
            static_cast<TaskEvent*>(event)->task(*host_);
            return true;
        }
        return QObject::event(event);
    }

private:
    WindowHost* host_;
};

// The process's side of the bus: its windows, their listening sockets and the service thread,
// which reads every call at once (poll), so that a slow or silent caller delays no other.
// Made once and never destroyed, so the service thread can run until the process ends.
class Bus {
public:
    static Bus& Get() {
        static Bus* const bus = new Bus;
        return *bus;
    }

    bool Start() {
        std::lock_guard lock(mutex_);
        if (!bus::PrepareDirectory(bus::Directory())) return false;
        if (!started_) {
            if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
            rlimit files{};
            if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY) {
                connectionLimit_ = std::min<std::size_t>(MaxConnections, files.rlim_cur / ConnectionShareOfFiles);
            }
            std::thread(&Bus::Serve, this).detach();
            started_ = true;
        }
        for (auto& [serial, state] : windows_) {
            if (state->socketPath.empty()) Listen(state);
        }
        Wake();
        return true;
    }

    HWND Add(const std::shared_ptr<State>& state) {
        std::lock_guard lock(mutex_);
        state->hwnd = bus::MakeHandle(::getpid(), ++lastSerial_);
        windows_[bus::HandleSerial(state->hwnd)] = state;
        if (started_) {
            Listen(state);
            Wake();
        }
        return state->hwnd;
    }

    void Remove(const std::shared_ptr<State>& state) {
        std::lock_guard lock(mutex_);
        state->closed = true;
        windows_.erase(bus::HandleSerial(state->hwnd));
        if (!state->socketPath.empty()) ::unlink(state->socketPath.c_str());
        for (auto it = listening_.begin(); it != listening_.end(); ++it) {
            if (it->second == state) {
                closing_.push_back(it->first);  // the service thread closes it, off its poll set
                listening_.erase(it);
                break;
            }
        }
        Wake();
    }

    std::shared_ptr<State> FindLocal(HWND window) {
        if (bus::HandlePid(window) != ::getpid()) return nullptr;
        std::lock_guard lock(mutex_);
        const auto it = windows_.find(bus::HandleSerial(window));
        return it == windows_.end() ? nullptr : it->second;
    }

    // This process's windows that are on the bus.
    std::vector<HWND> ListLocal() {
        std::lock_guard lock(mutex_);
        std::vector<HWND> windows;
        for (const auto& [serial, state] : windows_) {
            if (!state->socketPath.empty()) windows.push_back(state->hwnd);
        }
        return windows;
    }

    std::mutex& mutex() { return mutex_; }

    // Takes every window of the process off the bus; used when the process ends.
    void UnlinkAll() {
        std::lock_guard lock(mutex_);
        for (auto& [serial, state] : windows_) {
            if (!state->socketPath.empty()) ::unlink(state->socketPath.c_str());
        }
    }

    // Hands an event to a window's GUI thread unless the window has gone or its queue is full.
    bool Deliver(const std::shared_ptr<State>& state, QueuedEvent* event) {
        std::lock_guard lock(mutex_);
        return DeliverLocked(state, event);
    }

private:
    using Clock = std::chrono::steady_clock;

    Bus() = default;

    bool DeliverLocked(const std::shared_ptr<State>& state, QueuedEvent* event) {
        const bool full = state->queued >= MaxQueuedMessages || (event->HoldsCaller() && state->waitingCallers >= MaxWaitingCallers);
        if (state->closed || full) {
            delete event;
            return false;
        }
        event->CountIn(state);
        QCoreApplication::postEvent(state->receiver, event);
        return true;
    }

    // Binds under a temporary name and renames once listening, so no one ever sees the final
    // name without a listener behind it (and removes it as stale).
    void Listen(const std::shared_ptr<State>& state) {
        const std::string folder = bus::Directory();
        const std::string name = bus::SocketName(::getpid(), bus::HandleSerial(state->hwnd));
        const std::string path = folder + "/" + name;
        const std::string temporary = folder + "/." + name;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() + 1 >= sizeof address.sun_path) return;
        std::memcpy(address.sun_path, temporary.c_str(), temporary.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return;
        ::unlink(temporary.c_str());
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, SOMAXCONN) != 0 ||
            ::rename(temporary.c_str(), path.c_str()) != 0) {
            ::unlink(temporary.c_str());
            ::close(fd);
            return;
        }
        state->socketPath = path;
        listening_[fd] = state;
    }

    void Wake() {
        if (!started_) return;
        // A full pipe already holds a wake-up, so a failed write loses nothing.
        [[maybe_unused]] const ssize_t ignored = ::write(wake_[1], "w", 1);
    }

    void Serve() {
        for (;;) {
            std::vector<pollfd> waits{{wake_[0], POLLIN, 0}};
            {
                std::lock_guard lock(mutex_);
                for (int fd : closing_) ::close(fd);
                closing_.clear();
                if (!AcceptPaused() && connections_.size() < connectionLimit_) {
                    for (const auto& [fd, state] : listening_) waits.push_back({fd, POLLIN, 0});
                }
            }
            const std::size_t firstConnection = waits.size();
            for (const auto& [fd, connection] : connections_) waits.push_back({fd, POLLIN, 0});
            if (::poll(waits.data(), waits.size(), NextWakeMs()) < 0) continue;
            if (waits[0].revents) {
                char drain[64];
                while (::read(wake_[0], drain, sizeof drain) > 0) {
                }
            }
            for (std::size_t i = 1; i < waits.size(); ++i) {
                if (!waits[i].revents) continue;
                if (i < firstConnection) {
                    AcceptFrom(waits[i].fd);
                } else {
                    ReadFrom(waits[i].fd);
                }
            }
            DropLateConnections();
            SweepGonePeers();
        }
    }

    // How long the service may sleep: until the first deadline of a call being read, the end of
    // an accept pause, or the next look for blocks of ended processes.
    int NextWakeMs() const {
        std::optional<Clock::time_point> wake;
        const auto consider = [&wake](Clock::time_point at) {
            if (!wake || at < *wake) wake = at;
        };
        for (const auto& [fd, connection] : connections_) consider(connection.deadline);
        if (AcceptPaused()) consider(acceptPausedUntil_);
        if (peersHoldBlocks_) consider(nextSweep_);
        if (!wake) return bus::WaitForever;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*wake - Clock::now()).count();
        return static_cast<int>(std::max<decltype(left)>(left, 0));
    }

    bool AcceptPaused() const { return Clock::now() < acceptPausedUntil_; }

    void AcceptFrom(int listenFd) {
        std::shared_ptr<State> state;
        {
            std::lock_guard lock(mutex_);
            const auto it = listening_.find(listenFd);
            if (it == listening_.end()) return;
            state = it->second;
        }
        for (int accepted = 0; accepted < AcceptsPerWake && connections_.size() < connectionLimit_;) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                if (errno != EAGAIN && errno != EWOULDBLOCK) acceptPausedUntil_ = Clock::now() + std::chrono::milliseconds(AcceptPauseMs);
                return;
            }
            ++accepted;
            const pid_t peer = bus::PeerOfThisUser(fd);
            if (peer == 0) {
                ::close(fd);
                continue;
            }
            connections_[fd] = Connection{state, peer, Clock::now() + std::chrono::milliseconds(RequestTimeoutMs), {}};
        }
    }

    // Takes what a caller has written so far; once its whole request is in, answers it.
    void ReadFrom(int fd) {
        const auto it = connections_.find(fd);
        if (it == connections_.end()) return;
        Connection& connection = it->second;
        for (std::size_t wanted = StillWanted(connection); wanted > 0; wanted = StillWanted(connection)) {
            char chunk[4096];
            const ssize_t got = ::recv(fd, chunk, std::min(wanted, sizeof chunk), MSG_DONTWAIT);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            if (got <= 0) {  // the caller closed (or broke) the connection before its request was in
                Drop(fd);
                return;
            }
            connection.bytes.append(chunk, static_cast<std::size_t>(got));
            if (!HeaderIsSound(connection)) {
                Drop(fd);
                return;
            }
        }
        bus::Request request;
        std::memcpy(&request, connection.bytes.data(), sizeof request);
        const std::string payload = connection.bytes.substr(sizeof request);
        const std::shared_ptr<State> state = connection.window;
        const pid_t peer = connection.peer;
        connections_.erase(it);
        if (!Answer(fd, state, request, payload, peer)) ::close(fd);
    }

    static std::size_t StillWanted(const Connection& connection) {
        const std::size_t have = connection.bytes.size();
        if (have < sizeof(bus::Request)) return sizeof(bus::Request) - have;
        bus::Request request;
        std::memcpy(&request, connection.bytes.data(), sizeof request);
        return sizeof request + request.payloadBytes - have;
    }

    static bool HeaderIsSound(const Connection& connection) {
        if (connection.bytes.size() < sizeof(bus::Request)) return true;
        bus::Request request;
        std::memcpy(&request, connection.bytes.data(), sizeof request);
        return request.magic == bus::RequestMagic && request.payloadBytes <= bus::MaxPayloadBytes;
    }

    void Drop(int fd) {
        ::close(fd);
        connections_.erase(fd);
    }

    void DropLateConnections() {
        const Clock::time_point now = Clock::now();
        std::erase_if(connections_, [now](const auto& entry) {
            if (entry.second.deadline > now) return false;
            ::close(entry.first);
            return true;
        });
    }

    void SweepGonePeers() {
        if (!peersHoldBlocks_ || Clock::now() < nextSweep_) return;
        peersHoldBlocks_ = memory::ReleaseGonePeers();
        nextSweep_ = Clock::now() + std::chrono::milliseconds(PeerSweepMs);
    }

    // Answers one call. False when the connection is to be closed here; true when a GUI-thread
    // event took it over.
    bool Answer(int fd, const std::shared_ptr<State>& state, const bus::Request& request, const std::string& payload,
                pid_t peer) {
        bus::Reply reply;
        reply.pid = static_cast<std::uint32_t>(::getpid());
        std::string replyPayload;
        switch (request.call) {
            case bus::Call::Describe: {
                std::lock_guard lock(mutex_);
                replyPayload = state->caption;
                break;
            }
            case bus::Call::GetProperty: {
                std::lock_guard lock(mutex_);
                const auto it = state->properties.find(payload);
                reply.value = it == state->properties.end() ? 0 : reinterpret_cast<std::intptr_t>(it->second);
                break;
            }
            case bus::Call::PostMessage: {
                // Answered before the message can be handled: a quit request handled at once ends
                // the process (which takes this lock first) and would leave the caller unanswered.
                std::lock_guard lock(mutex_);
                reply.value = DeliverLocked(state, new MessageEvent(request.message, request.wParam, request.lParam, -1));
                bus::SendReply(fd, reply);
                return false;
            }
            case bus::Call::SendMessage:
                // The handler's result is the answer; the GUI thread writes it. A refused call
                // closes the connection unanswered.
                Deliver(state, new MessageEvent(request.message, request.wParam, request.lParam, fd));
                return true;
            case bus::Call::ShowWindow: {
                const int command = static_cast<int>(request.wParam);
                reply.value = Deliver(state, new TaskEvent([command](WindowHost& host) { host.ApplyShowCommand(command); }));
                break;
            }
            case bus::Call::SetForeground:
                reply.value = Deliver(state, new TaskEvent([](WindowHost& host) { host.BringToFront(); }));
                break;
            case bus::Call::Allocate:
                reply.value = static_cast<std::int64_t>(memory::AllocateBlock(request.address, peer));
                if (reply.value != 0 && peer != ::getpid()) peersHoldBlocks_ = true;
                break;
            case bus::Call::Write:
                reply.value = memory::WriteBlock(request.address, payload.data(), payload.size());
                break;
            case bus::Call::Free:
                reply.value = memory::FreeBlock(request.address);
                break;
            default:
                return false;
        }
        bus::SendReply(fd, reply, replyPayload);
        return false;
    }

    std::mutex mutex_;
    bool started_ = false;
    int wake_[2] = {-1, -1};
    unsigned lastSerial_ = 0;
    std::map<unsigned, std::shared_ptr<State>> windows_;
    std::map<int, std::shared_ptr<State>> listening_;
    std::vector<int> closing_;
    // The service thread's own.
    Clock::time_point acceptPausedUntil_;
    std::map<int, Connection> connections_;
    std::size_t connectionLimit_ = MaxConnections;
    bool peersHoldBlocks_ = false;
    Clock::time_point nextSweep_;
};

std::optional<bus::Answer> Ask(HWND window, bus::Call call, const std::string& payload = {}) {
    bus::Request request;
    request.call = call;
    return bus::Ask(window, request, payload);
}

// The windows of the session in listing order: this process's own, known here without going
// through their sockets, among the other processes'.
std::vector<HWND> ListAllWindows() {
    std::vector<HWND> windows = Bus::Get().ListLocal();
    const std::vector<HWND> others = bus::ListWindows();
    windows.insert(windows.end(), others.begin(), others.end());
    std::sort(windows.begin(), windows.end(), bus::ListedBefore);
    return windows;
}

std::optional<std::string> CaptionOf(HWND window) {
    if (auto state = Bus::Get().FindLocal(window)) {
        std::lock_guard lock(Bus::Get().mutex());
        return state->caption;
    }
    const auto answer = Ask(window, bus::Call::Describe);
    if (!answer) return std::nullopt;
    return answer->payload;
}

// Where a mark of single running copies is kept: a lock held while the process runs.
std::string InstanceMarkPath(const std::string& folder, const char* name) { return folder + "/." + name + ".lock"; }

}  // namespace

int bus::QueuedMessageCount() { return QueuedMessages; }

Window::Window(const char* caption, WindowHost* host) : state_(std::make_shared<State>()) {
    state_->host = host;
    state_->thread = QThread::currentThread();
    state_->caption = caption ? caption : "";
    state_->receiver = new Receiver(host);
    hwnd_ = Bus::Get().Add(state_);
}

Window::~Window() {
    Bus::Get().Remove(state_);
    delete state_->receiver;  // drops its pending events, which answers their senders
}

void Window::SetCaption(const char* caption) {
    std::lock_guard lock(Bus::Get().mutex());
    state_->caption = caption ? caption : "";
}

BOOL AfxSocketInit() { return Bus::Get().Start() ? TRUE : FALSE; }

BOOL ClaimInstanceMark(const char* name) {
    static std::mutex mutex;
    static auto* const held = new std::set<std::string>;
    if (!name || !*name || std::strchr(name, '/')) return TRUE;
    const std::string folder = bus::Directory();
    if (!bus::PrepareDirectory(folder)) return TRUE;  // nowhere to keep a mark: nothing to compare with
    const std::string path = InstanceMarkPath(folder, name);
    std::lock_guard lock(mutex);
    if (held->count(path)) return TRUE;
    const int fd = OpenRegularFile(path, O_RDWR | O_CREAT | O_NOFOLLOW, PrivateFileMode);
    if (fd < 0) return TRUE;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return heldElsewhere ? FALSE : TRUE;
    }
    held->insert(path);  // the open file keeps the lock until the process ends
    return TRUE;
}

HWND FindWindowA(const char* /*className*/, const char* caption) {
    if (!caption) return nullptr;
    for (HWND window : ListAllWindows()) {
        if (CaptionOf(window) == caption) return window;
    }
    return nullptr;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) return FALSE;
    for (HWND window : ListAllWindows()) {
        if (!proc(window, lParam)) break;
    }
    return TRUE;
}

HANDLE GetPropA(HWND window, const char* name) {
    if (!name) return nullptr;
    if (auto state = Bus::Get().FindLocal(window)) {
        std::lock_guard lock(Bus::Get().mutex());
        const auto it = state->properties.find(name);
        return it == state->properties.end() ? nullptr : it->second;
    }
    const auto answer = Ask(window, bus::Call::GetProperty, name);
    return answer ? reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(answer->reply.value)) : nullptr;
}

BOOL SetPropA(HWND window, const char* name, HANDLE value) {
    const std::shared_ptr<State> state = Bus::Get().FindLocal(window);
    if (!state || !name) return FALSE;
    std::lock_guard lock(Bus::Get().mutex());
    state->properties[name] = value;
    return TRUE;
}

BOOL ShowWindow(HWND window, int showCommand) {
    if (auto state = Bus::Get().FindLocal(window)) {
        return Bus::Get().Deliver(state, new TaskEvent([showCommand](WindowHost& host) { host.ApplyShowCommand(showCommand); }));
    }
    bus::Request request;
    request.call = bus::Call::ShowWindow;
    request.wParam = static_cast<std::uint64_t>(showCommand);
    const auto answer = bus::Ask(window, request);
    return answer && answer->reply.value ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND window) {
    if (auto state = Bus::Get().FindLocal(window)) {
        return Bus::Get().Deliver(state, new TaskEvent([](WindowHost& host) { host.BringToFront(); }));
    }
    const auto answer = Ask(window, bus::Call::SetForeground);
    return answer && answer->reply.value ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    DWORD pid = 0;
    if (Bus::Get().FindLocal(window)) {
        pid = static_cast<DWORD>(::getpid());
    } else if (const auto answer = Ask(window, bus::Call::Describe)) {
        pid = answer->reply.pid;
    }
    if (processId) *processId = pid;
    return pid;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto state = Bus::Get().FindLocal(window)) return Bus::Get().Deliver(state, new MessageEvent(message, wParam, lParam, -1));
    bus::Request request;
    request.call = bus::Call::PostMessage;
    request.message = message;
    request.wParam = wParam;
    request.lParam = lParam;
    const auto answer = bus::Ask(window, request);
    return answer && answer->reply.value ? TRUE : FALSE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A window of the calling thread runs its handler right here: waiting for our own queue
    // would never end.
    if (auto state = Bus::Get().FindLocal(window); state && state->thread == QThread::currentThread()) {
        return state->host->WindowProc(message, wParam, lParam);
    }
    bus::Request request;
    request.call = bus::Call::SendMessage;
    request.message = message;
    request.wParam = wParam;
    request.lParam = lParam;
    const auto answer = bus::Ask(window, request, {}, bus::WaitForever);
    return answer ? static_cast<LRESULT>(answer->reply.value) : 0;
}

void ExitProcess(UINT exitCode) {
    Bus::Get().UnlinkAll();
    std::fflush(nullptr);
    ::_exit(static_cast<int>(exitCode));
}

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace win
