#include "common/code_rules.h"

#include <cstring>

const char SizeTypeCodes[SizeTypeCodeCount][SizeTypeCodeEntry] = {
    "2210", "4310", "22G1", "22G0", "22R1", "22T6", "22U1", "42G0", "42G1", "42R1",
    "42T6", "42U1", "45G0", "45G1", "45R1", "45T6", "45U1", "2200", "2213", "2232",
    "2251", "22V9", "2263", "2265", "2273", "2274", "2276", "4300", "4332", "4351",
    "4500", "4510", "4532", "4551", "9500", "9510", "L5G1", "LNG1", "4EG1", "4NG2"};

const std::uint16_t LetterValues[26] = {10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 23, 24,
                                        25, 26, 27, 28, 29, 30, 31, 32, 34, 35, 36, 37, 38};

namespace {

constexpr int CheckedLength = 10;
constexpr int OwnerCodeLength = 4;
constexpr int CheckModulus = 11;
constexpr int OwnerExceptionShift = 2;  // this owner's numbers carry a lowered check digit

bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::uint8_t ComputeCheckDigit(const char* text) {
    // One pass that stops at the terminator: a short text is never read past its end.
    bool unknown = false;
    bool malformed = false;
    int sum = 0;
    for (int i = 0; i < CheckedLength; ++i) {
        const char c = text[i];
        if (c == '\0') return UnknownCheckDigit;
        if (c == '?') {
            unknown = true;
        } else if (i < OwnerCodeLength ? !IsUpperLetter(c) : !IsDigitChar(c)) {
            malformed = true;
        } else {
            const int value = i < OwnerCodeLength ? LetterValues[c - 'A'] : c - '0';
            sum += value << i;
        }
    }
    if (unknown || malformed) return UnknownCheckDigit;
    int s = sum % CheckModulus;
    if (s == 10) s = 0;
    if (std::memcmp(text, "HLCU", OwnerCodeLength) == 0) {
        s -= OwnerExceptionShift;
        if (s == -2) s = 9;
        if (s == -1) s = 8;
    }
    return static_cast<std::uint8_t>('0' + s);
}

int SizeTypeMatchLevel(const char* text) {
    int best = 0;
    for (const auto& entry : SizeTypeCodes) {
        int same = 0;
        for (int i = 0; i < 4; ++i) same += entry[i] == text[i];
        if (same > best) best = same;
    }
    return best >= 2 ? best : 0;
}

int CountUnknown(const char* text, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += text[i] == '?';
    return count;
}

int IsMostlyOnes(const char* text) {
    constexpr int LineLength = 11;
    constexpr int MostlyLimit = 9;
    int ones = 0;
    for (int i = 0; i < LineLength; ++i) {
        const char c = text[i];
        ones += c == '1' || c == '?' || c == 'I';
    }
    return ones > MostlyLimit ? 1 : 0;
}
