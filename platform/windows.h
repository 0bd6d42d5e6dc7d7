// Top-level windows and window messages between the programs of one user session.
//
// Every top-level window of a program is on the per-user bus once the bus runs: a local socket
// answers for the window (its caption, properties and process id), and a service thread of its
// process answers at once, whatever the GUI thread is doing. Window messages go to the GUI
// thread's event queue in the order they arrive; a full queue refuses them. A program looks up
// its own windows directly, not through their sockets.
#pragma once

#include <memory>
#include <string>

#include "platform/win_types.h"

namespace win {

// What a window does with what reaches it. All calls come on the window's GUI thread.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void ApplyShowCommand(int /*showCommand*/) {}
    virtual void BringToFront() {}
};

// One top-level window of this process. Made and destroyed on the GUI thread (a Qt
// application object must exist); on the bus while it lives, once the bus runs.
class Window {
public:
    Window(const char* caption, WindowHost* host);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    void SetCaption(const char* caption);

    struct State;

private:
    HWND hwnd_;
    std::shared_ptr<State> state_;
};

// Starts this process's bus service (what the socket start-up is on this platform). FALSE
// when the bus folder cannot be used or the service cannot start.
BOOL AfxSocketInit();

// Takes the mark `name` for this process for as long as it runs. Looking for the mark and
// taking it are one step, so of two copies started together exactly one gets it. FALSE when
// another running process holds it; TRUE also when no mark can be kept (no usable bus folder).
BOOL ClaimInstanceMark(const char* name);

// The first live window whose caption is `caption` now. Window classes do not exist here:
// `className` is ignored.
HWND FindWindowA(const char* className, const char* caption);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
// Calls `proc` for each live top-level window until it answers FALSE.
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);

HANDLE GetPropA(HWND window, const char* name);
// Only on this process's own windows.
BOOL SetPropA(HWND window, const char* name, HANDLE value);

// Answers TRUE when the window took the command.
BOOL ShowWindow(HWND window, int showCommand);
BOOL SetForegroundWindow(HWND window);
// The owning process id (also the answer: each program has one GUI thread); 0 when gone.
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Queues the message for the window's GUI thread; once this returns the message is in the
// receiver's queue, whatever the poster does next.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the window's handler on its GUI thread and answers its result; 0 when the window is gone
// or its process ends before the handler returns.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Ends the process at once with `exitCode`, taking its windows off the bus.
[[noreturn]] void ExitProcess(UINT exitCode);
void Sleep(DWORD milliseconds);

}  // namespace win
