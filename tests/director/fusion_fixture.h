// A stand-in for the director's window: it hands the fusion the records that "recognizers"
// wrote into this process and records what the fusion asks the window to show.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/code_rules.h"
#include "director/result_fusion.h"

class FakeWindow : public ResultWindow {
public:
    // Live blocks by address; reads outside them are refused, as the platform refuses them.
    std::map<std::uintptr_t, std::vector<unsigned char>> blocks;
    std::vector<std::string> shownLogs;
    int invalidations = 0;

    bool ReadOwnMemory(std::uintptr_t address, void* buffer, std::size_t size) override {
        const auto block = blocks.find(address);
        if (block == blocks.end() || block->second.size() < size) return false;
        std::memcpy(buffer, block->second.data(), size);
        return true;
    }
    void ShowResultLog(const char* text) override { shownLogs.emplace_back(text); }
    void InvalidateResults() override { ++invalidations; }
};

// An answer as a recognizer writes it; a non-empty text counts as found.
inline RecognitionResult Answer(int camera, int side, const std::string& code,
                                const std::string& sizeType) {
    RecognitionResult r{};
    r.camera = static_cast<std::int8_t>(camera);
    r.side = static_cast<std::uint8_t>(side);
    std::snprintf(r.code, sizeof r.code, "%s", code.c_str());
    std::snprintf(r.sizeType, sizeof r.sizeType, "%s", sizeType.c_str());
    r.codeFound = code.empty() ? CodeFlagNone : CodeFlagAccepted;
    r.sizeTypeFound = sizeType.empty() ? 0 : 1;
    return r;
}

// A code to fall back on (flag 2), as only cameras outside this system send.
inline RecognitionResult Fallback(int camera, int side, const std::string& code) {
    RecognitionResult r = Answer(camera, side, code, "");
    r.codeFound = CodeFlagFallback;
    return r;
}

// Ten characters completed with their check digit.
inline std::string Number(const std::string& ten) {
    return ten + static_cast<char>(ComputeCheckDigit(ten.c_str()));
}

// Ten characters followed by a wrong check digit.
inline std::string WrongNumber(const std::string& ten) {
    const char right = static_cast<char>(ComputeCheckDigit(ten.c_str()));
    return ten + (right == '0' ? '1' : '0');
}

using Fields = std::array<std::string, 4>;  // code 1, type 1, code 2, type 2

class FusionTest : public ::testing::Test {
protected:
    FakeWindow window;
    ResultFusion fusion{window};

    void StartSet(std::uint8_t photoSet) {
        fusion.ResetResultState();
        fusion.PhotoSet = photoSet;
    }

    // Writes the record into a block of "this process", sends its address, frees the block.
    void Send(const RecognitionResult& r) {
        std::vector<unsigned char> bytes(sizeof r);
        std::memcpy(bytes.data(), &r, sizeof r);
        const auto address = reinterpret_cast<std::uintptr_t>(bytes.data());
        window.blocks[address] = std::move(bytes);
        EXPECT_EQ(fusion.OnRecognizerResult(0, static_cast<std::intptr_t>(address)), 0);
        window.blocks.erase(address);
    }

    void SendAll(const std::vector<RecognitionResult>& answers) {
        for (const auto& r : answers) Send(r);
    }

    Fields Shown() const { return {fusion.m_code1, fusion.m_type1, fusion.m_code2, fusion.m_type2}; }
};
