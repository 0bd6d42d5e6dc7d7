// What a container carries: its ISO 6346 number, its size/type code, its colour and paint.
#pragma once

#include <string>

#include "tools/testimage/random.h"
#include "tools/testimage/test_image.h"

namespace testimage {

// Owner code (three letters and the category letter U, J or Z), six serial digits and the
// check digit of the project's code rules. Never the owner code "HLCU", whose check digit the
// system lowers.
std::string RandomContainerNumber(Rng& rng);
// A size/type code from the accepted list whose first character is one of `firsts`
// (any code when `firsts` is empty).
std::string RandomSizeType(Rng& rng, const std::string& firsts = "");

// How many containers carry a frame painted round the check digit.
inline constexpr double CheckFrameShare = 0.4;

// A container colour, as often as they pass a gate.
Wall DrawWall(Rng& rng);
// The paint a container of this colour usually carries: dark on white, light on red and blue,
// either on gray and green.
Paint DrawPaint(Wall wall, Rng& rng);

// Four capital letters and seven digits (the check digit is not checked, so that a test may
// ask for a wrong one).
bool IsWellFormedNumber(const std::string& number);
// Four digits or capital letters.
bool IsWellFormedSizeType(const std::string& code);

}  // namespace testimage
