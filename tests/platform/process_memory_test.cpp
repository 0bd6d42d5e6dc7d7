#include "platform/process_memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/bus_wire.h"
#include "platform/windows.h"
#include "support/qt_test_app.h"
#include "support/temp_bus.h"

namespace {

class NullHost : public win::WindowHost {
public:
    win::LRESULT WindowProc(win::UINT, win::WPARAM, win::LPARAM) override { return 0; }
};

constexpr char Record[28] = "0123456789abcdefghijklmnopq";

TEST(ProcessMemoryTest, ReadsOnlyWholeWrittenLiveBlocks) {
    const win::HANDLE self = win::GetCurrentProcess();
    auto* block = static_cast<char*>(win::VirtualAllocEx(self, nullptr, sizeof Record, win::MEM_COMMIT, win::PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    char copy[sizeof Record] = {};
    win::SIZE_T moved = 99;
    EXPECT_FALSE(win::ReadProcessMemory(self, block, copy, sizeof copy, &moved)) << "nothing written yet";
    EXPECT_EQ(moved, 0u);

    ASSERT_TRUE(win::WriteProcessMemory(self, block, Record, 10, &moved));
    EXPECT_EQ(moved, 10u);
    EXPECT_TRUE(win::ReadProcessMemory(self, block, copy, 10, &moved));
    EXPECT_FALSE(win::ReadProcessMemory(self, block, copy, sizeof copy, &moved)) << "partly written";
    ASSERT_TRUE(win::WriteProcessMemory(self, block + 10, Record + 10, sizeof Record - 10, &moved));
    EXPECT_TRUE(win::ReadProcessMemory(self, block, copy, sizeof copy, &moved));
    EXPECT_EQ(moved, sizeof Record);
    EXPECT_EQ(std::memcmp(copy, Record, sizeof Record), 0);

    EXPECT_FALSE(win::ReadProcessMemory(self, block + 1, copy, sizeof copy, &moved)) << "runs past the end";
    EXPECT_FALSE(win::WriteProcessMemory(self, block + 1, Record, sizeof Record, &moved));
    EXPECT_FALSE(win::ReadProcessMemory(self, Record, copy, sizeof copy, &moved)) << "not a block";
    EXPECT_FALSE(win::ReadProcessMemory(self, nullptr, copy, sizeof copy, &moved));
    EXPECT_FALSE(win::VirtualFreeEx(self, block + 1, 0, win::MEM_RELEASE)) << "not the block's start";

    ASSERT_TRUE(win::VirtualFreeEx(self, block, 0, win::MEM_RELEASE));
    EXPECT_FALSE(win::ReadProcessMemory(self, block, copy, sizeof copy, &moved)) << "freed";
    EXPECT_FALSE(win::VirtualFreeEx(self, block, 0, win::MEM_RELEASE));
}

TEST(ProcessMemoryTest, RefusesSizesAndHandlesItDoesNotKnow) {
    const win::HANDLE self = win::GetCurrentProcess();
    EXPECT_EQ(win::VirtualAllocEx(self, nullptr, 0, win::MEM_COMMIT, win::PAGE_READWRITE), nullptr);
    EXPECT_EQ(win::VirtualAllocEx(self, nullptr, win::memory::MaxBlockBytes + 1, win::MEM_COMMIT, win::PAGE_READWRITE), nullptr);
    int stranger = 0;
    EXPECT_EQ(win::VirtualAllocEx(&stranger, nullptr, 28, win::MEM_COMMIT, win::PAGE_READWRITE), nullptr);
    EXPECT_FALSE(win::CloseHandle(&stranger));
    char copy[4];
    EXPECT_FALSE(win::ReadProcessMemory(&stranger, Record, copy, sizeof copy, nullptr));
    // A process with no window on the bus cannot be opened.
    TempBus bus;
    EXPECT_EQ(win::OpenProcess(win::PROCESS_ALL_ACCESS, win::FALSE, 1), nullptr);
}

TEST(ProcessMemoryTest, AnotherProcessAllocatesWritesAndFreesThroughTheBus) {
    TestApplication();
    TempBus bus;
    ASSERT_TRUE(win::AfxSocketInit());
    NullHost host;
    win::Window window("MEMORY", &host);
    // What another process's calls turn into, sent to this process's window.
    win::bus::Request request;
    request.call = win::bus::Call::Allocate;
    request.address = sizeof Record;
    const auto allocated = win::bus::Ask(window.hwnd(), request);
    ASSERT_TRUE(allocated);
    const auto block = static_cast<std::uintptr_t>(allocated->reply.value);
    ASSERT_NE(block, 0u);

    request.call = win::bus::Call::Write;
    request.address = block;
    const auto written = win::bus::Ask(window.hwnd(), request, std::string(Record, sizeof Record));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->reply.value, static_cast<std::int64_t>(sizeof Record));
    request.address = block + 20;
    EXPECT_EQ(win::bus::Ask(window.hwnd(), request, std::string(Record, sizeof Record))->reply.value, 0);

    char copy[sizeof Record] = {};
    ASSERT_TRUE(win::ReadProcessMemory(win::GetCurrentProcess(), reinterpret_cast<void*>(block), copy, sizeof copy, nullptr));
    EXPECT_EQ(std::memcmp(copy, Record, sizeof Record), 0);

    request.call = win::bus::Call::Free;
    request.address = block;
    EXPECT_EQ(win::bus::Ask(window.hwnd(), request)->reply.value, 1);
    EXPECT_FALSE(win::ReadProcessMemory(win::GetCurrentProcess(), reinterpret_cast<void*>(block), copy, sizeof copy, nullptr));

    const win::HANDLE opened = win::OpenProcess(win::PROCESS_ALL_ACCESS, win::FALSE, static_cast<win::DWORD>(::getpid()));
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(win::CloseHandle(opened));
    EXPECT_FALSE(win::CloseHandle(opened));
}

TEST(ProcessMemoryTest, AnotherProcessHoldsAFewSmallBlocksAtMost) {
    TestApplication();
    TempBus bus;
    ASSERT_TRUE(win::AfxSocketInit());
    NullHost host;
    win::Window window("QUOTA", &host);
    const auto allocate = [&window](std::size_t size) {
        win::bus::Request request;
        request.call = win::bus::Call::Allocate;
        request.address = size;
        const auto answer = win::bus::Ask(window.hwnd(), request);
        return answer ? static_cast<std::uintptr_t>(answer->reply.value) : 0;
    };
    const auto free = [&window](std::uintptr_t block) {
        win::bus::Request request;
        request.call = win::bus::Call::Free;
        request.address = block;
        return win::bus::Ask(window.hwnd(), request)->reply.value == 1;
    };
    std::vector<std::uintptr_t> blocks;
    for (std::size_t i = 0; i < win::memory::MaxOwnerBlocks; ++i) blocks.push_back(allocate(sizeof Record));
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 0u), 0);
    EXPECT_EQ(allocate(sizeof Record), 0u) << "one block more than a caller may hold";
    ASSERT_TRUE(free(blocks.back()));
    blocks.pop_back();
    blocks.push_back(allocate(sizeof Record));
    EXPECT_NE(blocks.back(), 0u) << "a freed block makes room again";
    for (std::uintptr_t block : blocks) EXPECT_TRUE(free(block));

    blocks.clear();
    for (std::size_t held = 0; held < win::memory::MaxOwnerBytes; held += win::memory::MaxBlockBytes) {
        blocks.push_back(allocate(win::memory::MaxBlockBytes));
    }
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 0u), 0);
    EXPECT_EQ(allocate(sizeof Record), 0u) << "one byte more than a caller may hold";
    EXPECT_EQ(allocate(win::memory::MaxBlockBytes + 1), 0u);
    for (std::uintptr_t block : blocks) EXPECT_TRUE(free(block));
}

}  // namespace
