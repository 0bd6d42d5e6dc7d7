#include "platform/process_memory.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/bus_wire.h"

namespace win {
namespace memory {
namespace {

struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    std::vector<bool> written;
    pid_t owner = 0;
};

struct Holding {
    std::size_t blocks = 0;
    std::size_t bytes = 0;
};

// Never destroyed: the bus service may still serve a call while the process ends.
struct Table {
    std::mutex mutex;
    std::map<std::uintptr_t, Block> blocks;
    std::map<pid_t, Holding> owners;
};

Table& GetTable() {
    static Table* const table = new Table;
    return *table;
}

// The block that holds [address, address + size) whole, or nullptr.
Block* FindBlock(Table& table, std::uintptr_t address, std::size_t size) {
    auto it = table.blocks.upper_bound(address);
    if (it == table.blocks.begin()) return nullptr;
    --it;
    const std::uintptr_t offset = address - it->first;
    if (offset > it->second.size || size > it->second.size - offset) return nullptr;
    return &it->second;
}

void Erase(Table& table, std::map<std::uintptr_t, Block>::iterator block) {
    const auto owner = table.owners.find(block->second.owner);
    if (--owner->second.blocks == 0) {
        table.owners.erase(owner);
    } else {
        owner->second.bytes -= block->second.size;
    }
    table.blocks.erase(block);
}

// A process that has ended (or whose id now belongs to another user) holds nothing any more.
bool HasEnded(pid_t pid) { return ::kill(pid, 0) != 0; }

bool ReleaseGone(Table& table) {
    bool othersHold = false;
    for (auto owner = table.owners.begin(); owner != table.owners.end();) {
        const pid_t pid = owner->first;
        ++owner;
        if (pid == ::getpid()) continue;
        if (!HasEnded(pid)) {
            othersHold = true;
            continue;
        }
        std::erase_if(table.blocks, [pid](const auto& block) { return block.second.owner == pid; });
        table.owners.erase(pid);
    }
    return othersHold;
}

}  // namespace

std::uintptr_t AllocateBlock(std::size_t size, pid_t owner) {
    if (size == 0 || size > MaxBlockBytes) return 0;
    Table& table = GetTable();
    std::lock_guard lock(table.mutex);
    ReleaseGone(table);
    const Holding held = table.owners.count(owner) ? table.owners[owner] : Holding{};
    if (table.blocks.size() >= MaxBlocks || held.blocks >= MaxOwnerBlocks || size > MaxOwnerBytes - held.bytes) return 0;
    Block block;
    block.bytes = std::make_unique<std::uint8_t[]>(size);
    block.size = size;
    block.written.assign(size, false);
    block.owner = owner;
    const auto address = reinterpret_cast<std::uintptr_t>(block.bytes.get());
    table.blocks.emplace(address, std::move(block));
    Holding& holding = table.owners[owner];
    ++holding.blocks;
    holding.bytes += size;
    return address;
}

std::int64_t WriteBlock(std::uintptr_t address, const void* data, std::size_t size) {
    Table& table = GetTable();
    std::lock_guard lock(table.mutex);
    Block* block = FindBlock(table, address, size);
    if (!block || size == 0) return 0;
    const auto offset = static_cast<std::size_t>(address - reinterpret_cast<std::uintptr_t>(block->bytes.get()));
    std::copy_n(static_cast<const std::uint8_t*>(data), size, block->bytes.get() + offset);
    std::fill_n(block->written.begin() + static_cast<std::ptrdiff_t>(offset), size, true);
    return static_cast<std::int64_t>(size);
}

bool FreeBlock(std::uintptr_t address) {
    Table& table = GetTable();
    std::lock_guard lock(table.mutex);
    const auto block = table.blocks.find(address);
    if (block == table.blocks.end()) return false;
    Erase(table, block);
    return true;
}

bool ReadBlock(std::uintptr_t address, void* data, std::size_t size) {
    Table& table = GetTable();
    std::lock_guard lock(table.mutex);
    Block* block = FindBlock(table, address, size);
    if (!block || size == 0) return false;
    const auto offset = static_cast<std::size_t>(address - reinterpret_cast<std::uintptr_t>(block->bytes.get()));
    const auto first = block->written.begin() + static_cast<std::ptrdiff_t>(offset);
    if (!std::all_of(first, first + static_cast<std::ptrdiff_t>(size), [](bool done) { return done; })) return false;
    std::copy_n(block->bytes.get() + offset, size, static_cast<std::uint8_t*>(data));
    return true;
}

bool ReleaseGonePeers() {
    Table& table = GetTable();
    std::lock_guard lock(table.mutex);
    return ReleaseGone(table);
}

}  // namespace memory

namespace {

struct ProcessHandle {
    DWORD pid;
};

const HANDLE CurrentProcessHandle = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

struct Handles {
    std::mutex mutex;
    std::set<HANDLE> open;
};

Handles& GetHandles() {
    static Handles* const handles = new Handles;
    return *handles;
}

// The process a handle stands for; 0 for anything that is not a handle of ours.
DWORD HandleProcess(HANDLE handle) {
    if (handle == CurrentProcessHandle) return static_cast<DWORD>(::getpid());
    Handles& handles = GetHandles();
    std::lock_guard lock(handles.mutex);
    return handles.open.count(handle) ? static_cast<ProcessHandle*>(handle)->pid : 0;
}

bool IsThisProcess(DWORD pid) { return pid == static_cast<DWORD>(::getpid()); }

// Runs a memory call in another process through any of its windows.
std::optional<std::int64_t> AskProcess(DWORD pid, bus::Call call, std::uintptr_t address, const std::string& payload = {}) {
    bus::Request request;
    request.call = call;
    request.address = address;
    for (HWND window : bus::ListProcessWindows(static_cast<pid_t>(pid))) {
        if (const auto answer = bus::Ask(window, request, payload); answer && answer->reply.pid == pid) {
            return answer->reply.value;
        }
    }
    return std::nullopt;
}

}  // namespace

HANDLE GetCurrentProcess() { return CurrentProcessHandle; }

HANDLE OpenProcess(DWORD /*desiredAccess*/, BOOL /*inheritHandle*/, DWORD processId) {
    if (processId == 0) return nullptr;
    if (!IsThisProcess(processId) && bus::ListProcessWindows(static_cast<pid_t>(processId)).empty()) return nullptr;
    auto* handle = new ProcessHandle{processId};
    Handles& handles = GetHandles();
    std::lock_guard lock(handles.mutex);
    handles.open.insert(handle);
    return handle;
}

BOOL CloseHandle(HANDLE handle) {
    if (handle == CurrentProcessHandle) return TRUE;
    Handles& handles = GetHandles();
    std::lock_guard lock(handles.mutex);
    if (handles.open.erase(handle) == 0) return FALSE;
    delete static_cast<ProcessHandle*>(handle);
    return TRUE;
}

LPVOID VirtualAllocEx(HANDLE process, LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
    // Only what the programs ask for: fresh, committed, read-write memory anywhere.
    if (address || !(allocationType & MEM_COMMIT) || protect != PAGE_READWRITE) return nullptr;
    const DWORD pid = HandleProcess(process);
    if (pid == 0) return nullptr;
    std::uintptr_t block = 0;
    if (IsThisProcess(pid)) {
        block = memory::AllocateBlock(size, ::getpid());
    } else if (size > 0 && size <= memory::MaxBlockBytes) {
        block = static_cast<std::uintptr_t>(AskProcess(pid, bus::Call::Allocate, size).value_or(0));
    }
    return reinterpret_cast<LPVOID>(block);
}

BOOL WriteProcessMemory(HANDLE process, LPVOID address, LPCVOID buffer, SIZE_T size, SIZE_T* written) {
    if (written) *written = 0;
    const DWORD pid = HandleProcess(process);
    if (pid == 0 || !buffer || size == 0 || size > memory::MaxBlockBytes) return FALSE;
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::int64_t done = 0;
    if (IsThisProcess(pid)) {
        done = memory::WriteBlock(at, buffer, size);
    } else {
        const std::string bytes(static_cast<const char*>(buffer), size);
        done = AskProcess(pid, bus::Call::Write, at, bytes).value_or(0);
    }
    if (done != static_cast<std::int64_t>(size)) return FALSE;
    if (written) *written = size;
    return TRUE;
}

BOOL VirtualFreeEx(HANDLE process, LPVOID address, SIZE_T size, DWORD freeType) {
    if (size != 0 || freeType != MEM_RELEASE) return FALSE;
    const DWORD pid = HandleProcess(process);
    if (pid == 0) return FALSE;
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    const bool freed = IsThisProcess(pid) ? memory::FreeBlock(at) : AskProcess(pid, bus::Call::Free, at).value_or(0) == 1;
    return freed ? TRUE : FALSE;
}

BOOL ReadProcessMemory(HANDLE process, LPCVOID address, LPVOID buffer, SIZE_T size, SIZE_T* read) {
    if (read) *read = 0;
    if (!buffer || !IsThisProcess(HandleProcess(process))) return FALSE;
    if (!memory::ReadBlock(reinterpret_cast<std::uintptr_t>(address), buffer, size)) return FALSE;
    if (read) *read = size;
    return TRUE;
}

}  // namespace win
