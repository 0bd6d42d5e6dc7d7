// A stand-in for the character recognizer in tests of the whole pipeline: it answers, for the
// box the drivers cut a glyph out of, the character the test-image generator painted there, and
// rejects boxes that hold no painted character.
#pragma once

#include <algorithm>
#include <vector>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"
#include "engine/location/position_reading.h"
#include "tools/testimage/test_image.h"

class TruthRecognizer {
public:
    // Knows the characters of the lines of `truth` whose role is in `roles` (all when empty).
    explicit TruthRecognizer(const testimage::Truth& truth, std::vector<testimage::LineRole> roles = {}) {
        for (const testimage::LineTruth& line : truth.lines) {
            if (!roles.empty() && std::find(roles.begin(), roles.end(), line.role) == roles.end()) continue;
            chars_.insert(chars_.end(), line.chars.begin(), line.chars.end());
        }
        Active() = this;
        PositionRecognizer = &Answer;
    }
    ~TruthRecognizer() {
        PositionRecognizer = RecognizeCharacter;
        Active() = nullptr;
    }
    TruthRecognizer(const TruthRecognizer&) = delete;
    TruthRecognizer& operator=(const TruthRecognizer&) = delete;

    // From now on the painted character `painted` reads as `read` wherever it is.
    void Misread(char painted, char read) {
        for (testimage::CharTruth& c : chars_) {
            if (c.ch == painted) c.ch = read;
        }
    }

private:
    static TruthRecognizer*& Active() {
        static TruthRecognizer* active = nullptr;
        return active;
    }

    static int Overlap(const CharBox& a, const testimage::Box& b) {
        const int width = std::min<int>(a.right, b.right) - std::max<int>(a.left, b.left) + 1;
        const int height = std::min<int>(a.bottom, b.bottom) - std::max<int>(a.top, b.top) + 1;
        return width > 0 && height > 0 ? width * height : 0;
    }

    // The painted character that covers most of the box and fills at least half of it, or the
    // box at least half of the character.
    char CharacterAt(const CharBox& box) const {
        const int boxArea = (box.right - box.left + 1) * (box.bottom - box.top + 1);
        char found = '\0';
        int best = 0;
        for (const testimage::CharTruth& c : chars_) {
            const int overlap = Overlap(box, c.box);
            const int smaller = std::min(boxArea, c.box.Width() * c.box.Height());
            if (overlap > best && 2 * overlap >= smaller) {
                best = overlap;
                found = c.ch;
            }
        }
        return found;
    }

    static std::int16_t Answer(int) {
        const char ch = Active()->CharacterAt(GlyphSourceBox);
        Glyph.NoiseTrimmedFlag = 0;
        if (ch == '\0') return GlyphRejected;
        Glyph.CandidateString[0] = ch;
        Glyph.CandidateString[1] = '\0';
        Glyph.CandidateCount = 1;
        return 1;
    }

    std::vector<testimage::CharTruth> chars_;
};
