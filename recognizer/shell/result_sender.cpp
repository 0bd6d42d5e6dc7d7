#include "recognizer/shell/result_sender.h"

#include "common/protocol.h"
#include "platform/process_memory.h"
#include "platform/windows.h"

void SendResultToDirector(const RecognitionResult& result) {
    const win::HWND director = win::FindWindowA(nullptr, DirectorWindowCaption);
    if (!director) return;
    win::DWORD processId = 0;
    win::GetWindowThreadProcessId(director, &processId);
    if (processId == 0) return;
    const win::HANDLE process = win::OpenProcess(win::PROCESS_ALL_ACCESS, win::FALSE, processId);
    if (!process) return;
    const win::LPVOID block = win::VirtualAllocEx(process, nullptr, sizeof result, win::MEM_COMMIT, win::PAGE_READWRITE);
    if (block) {
        if (win::WriteProcessMemory(process, block, &result, sizeof result, nullptr)) {
            win::SendMessageA(director, WM_RECOGNITION_RESULT, 0, reinterpret_cast<win::LPARAM>(block));
            win::Sleep(ResultSettleMs);
        }
        win::VirtualFreeEx(process, block, 0, win::MEM_RELEASE);
    }
    win::CloseHandle(process);
}
