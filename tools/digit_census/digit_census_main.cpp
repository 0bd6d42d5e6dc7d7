// Prints how the verifier families read rendered characters: per character the share read
// right, read wrong, left ambiguous and rejected over the generator's code fonts, cap heights 20
// to 70, blur and noise, and what it is confused with. Digits are read in digit mode, letters in
// letter mode. Usage: digit_census [renderings per noisy combination, default 2] [characters,
// default 0 to 9]
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tools/digit_census/digit_census.h"

int main(int argc, char** argv) {
    try {
        digitrender::CensusPlan plan;
        for (int font = 0; font < digitrender::FontCount(); ++font) plan.fonts.push_back(font);
        for (int height = 20; height <= 70; height += 5) plan.heights.push_back(height);
        plan.blurs = {0.0, 0.4, 0.8};
        plan.noises = {0.0, 0.5};
        plan.seeds = argc > 1 ? std::atoi(argv[1]) : 2;
        if (argc > 2) plan.characters = argv[2];
        for (int font : plan.fonts) std::printf("font %d: %s\n", font, digitrender::FontName(font).c_str());
        std::printf("%s", digitrender::FormatCensus(digitrender::TakeCensus(plan)).c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "digit_census: %s\n", e.what());
        return 1;
    }
}
