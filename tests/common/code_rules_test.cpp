#include "common/code_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Plain ISO 6346 check digit, computed independently of the code under test.
char IsoCheckDigit(const std::string& text) {
    auto value = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        int v = 9;  // count up from 10, skipping multiples of 11
        for (char l = 'A'; l <= c; ++l) {
            ++v;
            if (v % 11 == 0) ++v;
        }
        return v;
    };
    int sum = 0;
    for (int i = 0; i < 10; ++i) sum += value(text[i]) << i;
    return static_cast<char>('0' + sum % 11 % 10);
}

}  // namespace

TEST(CheckDigit, KnownNumbersAndUnknownCharacters) {
    EXPECT_EQ(ComputeCheckDigit("CSQU305438"), '3');
    EXPECT_EQ(ComputeCheckDigit("CSQU3054383"), '3');  // the 11th character is not read
    EXPECT_EQ(ComputeCheckDigit("?SQU305438"), UnknownCheckDigit);
    EXPECT_EQ(ComputeCheckDigit("CSQU30543?"), UnknownCheckDigit);
    EXPECT_EQ(ComputeCheckDigit("CSQU3O5438"), UnknownCheckDigit);  // letter among the digits
    EXPECT_EQ(ComputeCheckDigit("C5QU305438"), UnknownCheckDigit);  // digit in the owner code
    EXPECT_EQ(ComputeCheckDigit("csqu305438"), UnknownCheckDigit);  // lower case
    EXPECT_EQ(ComputeCheckDigit("CSQU3054"), UnknownCheckDigit);    // shorter than ten
}

TEST(CheckDigit, AgreesWithIsoForEveryLetterAndRemainderTenIsZero) {
    bool sawRemainderTen = false;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        for (int serial = 0; serial < 1000; serial += 37) {
            char text[11];
            std::snprintf(text, sizeof text, "%cBCU%06d", letter, serial * 997 % 1000000);
            EXPECT_EQ(ComputeCheckDigit(text), IsoCheckDigit(text)) << text;
            int sum = 0;
            for (int i = 0; i < 10; ++i) {
                const int v = i < 4 ? LetterValues[text[i] - 'A'] : text[i] - '0';
                sum += v << i;
            }
            sawRemainderTen |= sum % 11 == 10;
        }
    }
    EXPECT_TRUE(sawRemainderTen);
}

TEST(CheckDigit, HlcuRemainderIsLoweredByTwoWithItsOwnWrap) {
    // Find serials whose plain digit is 0, 1 and 5, then check the lowered answers.
    int found = 0;
    for (int serial = 0; serial < 2000 && found < 3; ++serial) {
        char text[11];
        std::snprintf(text, sizeof text, "HLCU%06d", serial);
        const char plain = IsoCheckDigit(text);
        const char expected = plain == '0' ? '9' : plain == '1' ? '8' : plain == '5' ? '3' : 0;
        if (!expected) continue;
        EXPECT_EQ(ComputeCheckDigit(text), expected) << text;
        ++found;
    }
    EXPECT_EQ(found, 3);
}

TEST(SizeTypeTable, MatchLevels) {
    EXPECT_EQ(SizeTypeCodes[0], std::string("2210"));
    EXPECT_EQ(SizeTypeCodes[39], std::string("4NG2"));
    EXPECT_EQ(SizeTypeMatchLevel("22G1"), 4);
    EXPECT_EQ(SizeTypeMatchLevel("22G7"), 3);
    EXPECT_EQ(SizeTypeMatchLevel("99X9"), 0);
    EXPECT_EQ(SizeTypeMatchLevel("2XX9"), 2);  // "22.." shares two
    for (const auto& code : SizeTypeCodes) EXPECT_EQ(SizeTypeMatchLevel(code), 4) << code;
}

TEST(LineTests, UnknownCountAndMostlyOnes) {
    EXPECT_EQ(CountUnknown("AB?D??", 6), 3);
    EXPECT_EQ(CountUnknown("AB?D??", 3), 1);
    EXPECT_EQ(IsMostlyOnes("11111711111"), 1);   // ten ones
    EXPECT_EQ(IsMostlyOnes("111I1?71111"), 1);   // "I" and "?" count as ones
    EXPECT_EQ(IsMostlyOnes("11117111711"), 0);   // nine
}
