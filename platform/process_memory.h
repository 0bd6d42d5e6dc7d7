// Blocks of memory that another process of the session allocates, writes and frees inside this
// one, and the process handles through which it does so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

namespace win {

HANDLE GetCurrentProcess();
// A handle to a process that has a window on the bus (or to this process); nullptr otherwise.
HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
BOOL CloseHandle(HANDLE handle);

// A block of `size` bytes inside the process, its address valid there; nullptr on failure.
LPVOID VirtualAllocEx(HANDLE process, LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
BOOL WriteProcessMemory(HANDLE process, LPVOID address, LPCVOID buffer, SIZE_T size, SIZE_T* written);
BOOL VirtualFreeEx(HANDLE process, LPVOID address, SIZE_T size, DWORD freeType);
// Reads from this process only, and only from a live block whose bytes were all written, with
// room for the whole read; anything else is refused and nothing is copied.
BOOL ReadProcessMemory(HANDLE process, LPCVOID address, LPVOID buffer, SIZE_T size, SIZE_T* read);

namespace memory {

// The block table of this process, as the bus service serves it to other processes.
inline constexpr std::size_t MaxBlockBytes = 1 << 20;
inline constexpr std::size_t MaxBlocks = 4096;

std::uintptr_t AllocateBlock(std::size_t size);  // 0 when refused
std::int64_t WriteBlock(std::uintptr_t address, const void* data, std::size_t size);  // bytes written
bool FreeBlock(std::uintptr_t address);
bool ReadBlock(std::uintptr_t address, void* data, std::size_t size);

}  // namespace memory
}  // namespace win
