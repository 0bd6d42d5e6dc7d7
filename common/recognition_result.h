// The answer a recognizer writes into the director's address space. It crosses processes, so
// its layout is fixed byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct RecognitionResult {
    std::int8_t camera;          // the answering recognizer's own camera number
    std::uint8_t side;           // low byte of the request's lParam (camera 1 leaves it 0)
    char code[16];               // container code, NUL-terminated, empty when none
    char sizeType[8];            // size/type code, NUL-terminated, empty when none
    std::uint8_t codeFound;      // 0 none, 1 accepted, 2 a fallback (director only)
    std::uint8_t sizeTypeFound;  // 0 or 1
};
#pragma pack(pop)

static_assert(sizeof(RecognitionResult) == 28);
static_assert(offsetof(RecognitionResult, camera) == 0);
static_assert(offsetof(RecognitionResult, side) == 1);
static_assert(offsetof(RecognitionResult, code) == 2);
static_assert(offsetof(RecognitionResult, sizeType) == 18);
static_assert(offsetof(RecognitionResult, codeFound) == 26);
static_assert(offsetof(RecognitionResult, sizeTypeFound) == 27);

inline constexpr std::uint8_t CodeFlagNone = 0;
inline constexpr std::uint8_t CodeFlagAccepted = 1;
inline constexpr std::uint8_t CodeFlagFallback = 2;

// Clears what a new request clears: only the first byte of each string.
inline void ResetRecognitionResult(RecognitionResult& result, int camera, int side) {
    result.camera = static_cast<std::int8_t>(camera);
    result.side = static_cast<std::uint8_t>(side);
    result.code[0] = '\0';
    result.sizeType[0] = '\0';
    result.codeFound = CodeFlagNone;
    result.sizeTypeFound = 0;
}
