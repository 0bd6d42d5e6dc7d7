// How the verifier families read rendered characters (digits in digit mode, letters in letter
// mode): one reading, and a census over fonts, sizes, blur and noise with its table.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "tools/digit_census/digit_render.h"

namespace digitrender {

enum class Outcome { Right, Wrong, Ambiguous, Rejected };
inline constexpr int OutcomeCount = 4;

struct DigitReading {
    Outcome outcome;
    std::string candidates;  // the candidate string ("" when rejected)
};

// Puts the patch into the work image, loads the character's box (its ink and the margin a
// character box of the recognizer has) into the glyph grid the way the line drivers do (dark ink
// below the read threshold), crops it and recognizes it in digit mode for a digit, in letter
// mode for anything else. A patch without ink is rejected.
DigitReading ReadCharacter(char character, const GrayPatch& patch);

struct CensusPlan {
    std::vector<int> fonts;
    std::vector<int> heights;
    std::vector<double> blurs;
    std::vector<double> noises;
    int seeds = 1;  // noisy renderings per combination
    std::string characters = "0123456789";
};

struct Census {
    std::string characters;  // in the order of the plan
    std::map<char, std::array<int, OutcomeCount>> counts;
    // "c>x" for a character c read as x alone or among the candidates x, with its count.
    std::map<std::string, int> confusions;
    int Total(char character) const;
};

Census TakeCensus(const CensusPlan& plan);
// A table of the shares per character, then the confusions, most frequent first.
std::string FormatCensus(const Census& census);

}  // namespace digitrender
