// The two verifier families: each leaves the characters it accepts in its candidate list of
// Glyph and answers the single remaining candidate, or 0.
#pragma once

#include <cstdint>

std::int16_t ClassifyDigit();
std::int16_t ClassifyLetter();
