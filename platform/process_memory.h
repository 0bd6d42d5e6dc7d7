// Blocks of memory that another process of the session allocates, writes and frees inside this
// one, and the process handles through which it does so.
#pragma once

#include <sys/types.h>

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

// The block table of this process, as the bus service serves it to other processes. A result
// record is 28 bytes; each process may hold a few blocks here, and all of them together no more
// than the table's bound.
inline constexpr std::size_t MaxBlockBytes = 4096;
inline constexpr std::size_t MaxBlocks = 1024;
inline constexpr std::size_t MaxOwnerBlocks = 16;
inline constexpr std::size_t MaxOwnerBytes = 4 * MaxBlockBytes;

// A block held by `owner` (the process that asked for it); 0 when refused.
std::uintptr_t AllocateBlock(std::size_t size, pid_t owner);
std::int64_t WriteBlock(std::uintptr_t address, const void* data, std::size_t size);  // bytes written
bool FreeBlock(std::uintptr_t address);
bool ReadBlock(std::uintptr_t address, void* data, std::size_t size);
// Frees the blocks of owners that have ended; true while other processes still hold blocks.
bool ReleaseGonePeers();

}  // namespace memory
}  // namespace win
