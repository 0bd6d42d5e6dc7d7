#include "tools/digit_census/digit_census.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/camera.h"
#include "engine/glyph/glyph_grid.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "engine/location/planes.h"
#include "engine/packed_point.h"

namespace digitrender {

namespace {

// A character box is the box of the character's edge pixels: on generated gate-camera frames it
// lies one to two pixels outside the pixels the paint covers at least half.
constexpr int CharBoxMargin = 2;

}  // namespace

DigitReading ReadCharacter(char character, const GrayPatch& patch) {
    const int width = std::min(patch.width, FrameWidth);
    const int height = std::min(patch.height, FrameHeight);
    for (int y = 0; y < height; ++y) {
        std::memcpy(&WorkImage[PixelIndex(0, y)], &patch.pixels[static_cast<std::size_t>(y) * patch.width],
                    static_cast<std::size_t>(width));
    }
    if (patch.inkLeft > patch.inkRight || patch.inkTop > patch.inkBottom) return {Outcome::Rejected, ""};
    // The glyph comes from the box the recognizer would have cut out, not from the whole patch.
    const int left = std::max(patch.inkLeft - CharBoxMargin, 0);
    const int top = std::max(patch.inkTop - CharBoxMargin, 0);
    const int right = std::min(patch.inkRight + CharBoxMargin, width - 1);
    const int bottom = std::min(patch.inkBottom + CharBoxMargin, height - 1);
    if (LoadGlyphFromGray(PackPoint(left, top), PackPoint(right, bottom), InkDarker, ReadThreshold) != 0) {
        return {Outcome::Rejected, ""};
    }
    CropGlyph();
    const bool digit = character >= '0' && character <= '9';
    const int count = RecognizeCharacter(digit ? ModeDigits : ModeLetters);
    if (count <= 0) return {Outcome::Rejected, ""};
    const std::string candidates = Glyph.CandidateString;
    if (count > 1) return {Outcome::Ambiguous, candidates};
    return {candidates[0] == character ? Outcome::Right : Outcome::Wrong, candidates};
}

int Census::Total(char character) const {
    const auto found = counts.find(character);
    if (found == counts.end()) return 0;
    int total = 0;
    for (int count : found->second) total += count;
    return total;
}

Census TakeCensus(const CensusPlan& plan) {
    Census census;
    census.characters = plan.characters;
    for (char c : plan.characters) census.counts[c] = {};
    unsigned seed = 1;
    for (int font : plan.fonts) {
        for (int height : plan.heights) {
            for (double blur : plan.blurs) {
                for (double noise : plan.noises) {
                    const int renderings = noise > 0 ? plan.seeds : 1;
                    for (int k = 0; k < renderings; ++k, ++seed) {
                        for (char c : plan.characters) {
                            const DigitReading r = ReadCharacter(c, RenderCharacter(c, {font, height, blur, noise, seed}));
                            ++census.counts[c][static_cast<int>(r.outcome)];
                            if (r.outcome == Outcome::Wrong || r.outcome == Outcome::Ambiguous) {
                                ++census.confusions[std::string(1, c) + ">" + r.candidates];
                            }
                        }
                    }
                }
            }
        }
    }
    return census;
}

std::string FormatCensus(const Census& census) {
    std::string text = "| character | readings | right | wrong | ambiguous | rejected |\n|---|---|---|---|---|---|\n";
    char line[160];
    int all[OutcomeCount] = {};
    int total = 0;
    const auto share = [](int count, int of) { return of > 0 ? 100.0 * count / of : 0.0; };
    for (char character : census.characters) {
        const int n = census.Total(character);
        const std::array<int, OutcomeCount>& c = census.counts.at(character);
        std::snprintf(line, sizeof line, "| %c | %d | %.1f%% | %.1f%% | %.1f%% | %.1f%% |\n", character, n,
                      share(c[0], n), share(c[1], n), share(c[2], n), share(c[3], n));
        text += line;
        for (int o = 0; o < OutcomeCount; ++o) all[o] += c[o];
        total += n;
    }
    std::snprintf(line, sizeof line, "| all | %d | %.1f%% | %.1f%% | %.1f%% | %.1f%% |\n", total, share(all[0], total),
                  share(all[1], total), share(all[2], total), share(all[3], total));
    text += line;
    std::vector<std::pair<std::string, int>> pairs(census.confusions.begin(), census.confusions.end());
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    text += "\nconfusions (character > candidates read): ";
    for (const auto& [pair, count] : pairs) {
        std::snprintf(line, sizeof line, "%s %d; ", pair.c_str(), count);
        text += line;
    }
    text += "\n";
    return text;
}

}  // namespace digitrender
