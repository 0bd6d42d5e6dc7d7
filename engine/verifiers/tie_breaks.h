// Tests that decide between two digits that both verifiers accepted: 1 for the first-named
// digit, 0 for the other.
#pragma once

#include <cstdint>

std::int16_t Prefer9Over4();
std::int16_t Prefer6Over4();
std::int16_t Prefer7Over1();
std::int16_t Prefer7Over3();
