// How the digit family reads rendered digits: one reading, and a census over fonts, sizes, blur
// and noise with its table.
#pragma once

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

// Puts the patch into the work image, loads it into the glyph grid the way the line drivers
// do (dark ink below the read threshold), crops it and recognizes it in digit mode.
DigitReading ReadDigit(char digit, const GrayPatch& patch);

struct CensusPlan {
    std::vector<int> fonts;
    std::vector<int> heights;
    std::vector<double> blurs;
    std::vector<double> noises;
    int seeds = 1;  // noisy renderings per combination
};

struct Census {
    int counts[10][OutcomeCount] = {};
    // "d>x" for a digit d read as x alone or among the candidates x, with its count.
    std::map<std::string, int> confusions;
    int Total(int digit) const;
};

Census TakeCensus(const CensusPlan& plan);
// A table of the shares per digit, then the confusions, most frequent first.
std::string FormatCensus(const Census& census);

}  // namespace digitrender
