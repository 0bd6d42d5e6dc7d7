#include "platform/windows.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/bus_wire.h"
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
};

namespace {

using State = Window::State;

constexpr int RequestTimeoutMs = 2000;  // a client writes its request right after connecting

const QEvent::Type MessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type TaskEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

std::atomic<int> QueuedMessages{0};

// A window message for the GUI thread. A sent message carries the caller's connection; when the
// event dies unanswered (its window went away) closing it tells the caller.
class MessageEvent : public QEvent {
public:
    MessageEvent(UINT message, WPARAM wParam, LPARAM lParam, int replyFd)
        : QEvent(MessageEventType), message(message), wParam(wParam), lParam(lParam), replyFd(replyFd) {
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

class TaskEvent : public QEvent {
public:
    explicit TaskEvent(std::function<void(WindowHost&)> task) : QEvent(TaskEventType), task(std::move(task)) {}
    std::function<void(WindowHost&)> task;
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

// The process's side of the bus: its windows, their listening sockets and the service thread.
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

    std::mutex& mutex() { return mutex_; }

    // Takes every window of the process off the bus; used when the process ends.
    void UnlinkAll() {
        std::lock_guard lock(mutex_);
        for (auto& [serial, state] : windows_) {
            if (!state->socketPath.empty()) ::unlink(state->socketPath.c_str());
        }
    }

    // Hands an event to a window's GUI thread unless the window has gone.
    bool Deliver(const std::shared_ptr<State>& state, QEvent* event) {
        std::lock_guard lock(mutex_);
        if (state->closed) {
            delete event;
            return false;
        }
        QCoreApplication::postEvent(state->receiver, event);
        return true;
    }

private:
    Bus() = default;

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
                for (const auto& [fd, state] : listening_) waits.push_back({fd, POLLIN, 0});
            }
            if (::poll(waits.data(), waits.size(), -1) < 0) continue;
            if (waits[0].revents) {
                char drain[64];
                while (::read(wake_[0], drain, sizeof drain) > 0) {
                }
            }
            for (std::size_t i = 1; i < waits.size(); ++i) {
                if (waits[i].revents & POLLIN) AcceptFrom(waits[i].fd);
            }
        }
    }

    void AcceptFrom(int listenFd) {
        std::shared_ptr<State> state;
        {
            std::lock_guard lock(mutex_);
            const auto it = listening_.find(listenFd);
            if (it == listening_.end()) return;
            state = it->second;
        }
        for (;;) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) return;
            if (!Answer(fd, state)) ::close(fd);
        }
    }

    // Answers one call. False when the connection is to be closed here; true when a GUI-thread
    // event took it over.
    bool Answer(int fd, const std::shared_ptr<State>& state) {
        bus::Request request;
        if (!bus::ReadAll(fd, &request, sizeof request, RequestTimeoutMs)) return false;
        if (request.magic != bus::RequestMagic || request.payloadBytes > bus::MaxPayloadBytes) return false;
        std::string payload(request.payloadBytes, '\0');
        if (!bus::ReadAll(fd, payload.data(), payload.size(), RequestTimeoutMs)) return false;
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
            case bus::Call::PostMessage:
                reply.value = Deliver(state, new MessageEvent(request.message, request.wParam, request.lParam, -1));
                break;
            case bus::Call::SendMessage:
                // The handler's result is the answer; the GUI thread writes it.
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
                reply.value = static_cast<std::int64_t>(memory::AllocateBlock(request.address));
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
};

std::optional<bus::Answer> Ask(HWND window, bus::Call call, const std::string& payload = {}) {
    bus::Request request;
    request.call = call;
    return bus::Ask(window, request, payload);
}

// A window of this process that is not on the bus is still reachable from inside it.
std::shared_ptr<State> LocalOffBus(HWND window) {
    std::shared_ptr<State> state = Bus::Get().FindLocal(window);
    if (!state) return nullptr;
    std::lock_guard lock(Bus::Get().mutex());
    return state->socketPath.empty() ? state : nullptr;
}

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

HWND FindWindowA(const char* /*className*/, const char* caption) {
    if (!caption) return nullptr;
    for (HWND window : bus::ListWindows()) {
        const auto answer = Ask(window, bus::Call::Describe);
        if (answer && answer->payload == caption) return window;
    }
    return nullptr;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) return FALSE;
    for (HWND window : bus::ListWindows()) {
        if (!proc(window, lParam)) break;
    }
    return TRUE;
}

HANDLE GetPropA(HWND window, const char* name) {
    if (!name) return nullptr;
    if (auto state = LocalOffBus(window)) {
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
    if (auto state = LocalOffBus(window)) {
        return Bus::Get().Deliver(state, new TaskEvent([showCommand](WindowHost& host) { host.ApplyShowCommand(showCommand); }));
    }
    bus::Request request;
    request.call = bus::Call::ShowWindow;
    request.wParam = static_cast<std::uint64_t>(showCommand);
    const auto answer = bus::Ask(window, request);
    return answer && answer->reply.value ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND window) {
    if (auto state = LocalOffBus(window)) {
        return Bus::Get().Deliver(state, new TaskEvent([](WindowHost& host) { host.BringToFront(); }));
    }
    const auto answer = Ask(window, bus::Call::SetForeground);
    return answer && answer->reply.value ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    DWORD pid = 0;
    if (LocalOffBus(window)) {
        pid = static_cast<DWORD>(::getpid());
    } else if (const auto answer = Ask(window, bus::Call::Describe)) {
        pid = answer->reply.pid;
    }
    if (processId) *processId = pid;
    return pid;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto state = LocalOffBus(window)) return Bus::Get().Deliver(state, new MessageEvent(message, wParam, lParam, -1));
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
