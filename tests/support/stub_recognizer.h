// A stand-in for the character recognizer in the tests of the per-position drivers. It knows
// the test glyphs by their height as the drivers hand them over, answers what the test set for
// that height and mode, and logs every call.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/location/position_reading.h"
#include "engine/glyph/glyph_record.h"
#include "engine/glyph/recognize_character.h"

struct StubCall {
    int height;
    int width;
    int mode;
    int ink;  // Glyph.InkCount as the retries leave it
};

// What the stub answers for one glyph. The n-th reading in a mode gets entry n of that mode's
// list (the last entry from then on); "-" rejects the glyph, an empty text reads nothing.
struct StubAnswers {
    std::vector<std::string> letters;
    std::vector<std::string> digits;
    std::uint8_t trimmed = 0;  // the noise flag the reading leaves
};

class StubRecognizer {
public:
    StubRecognizer() {
        Active() = this;
        PositionRecognizer = &Answer;
    }
    ~StubRecognizer() {
        PositionRecognizer = RecognizeCharacter;
        Active() = nullptr;
    }
    StubRecognizer(const StubRecognizer&) = delete;
    StubRecognizer& operator=(const StubRecognizer&) = delete;

    void Set(int height, StubAnswers answers) { answers_[height] = std::move(answers); }
    // Answers for every glyph whose height has none of its own.
    void SetOthers(StubAnswers answers) { others_ = std::move(answers); }

    // Forgets the answers and the calls.
    void Reset() {
        answers_.clear();
        others_ = StubAnswers{};
        served_.clear();
        calls_.clear();
    }

    const std::vector<StubCall>& calls() const { return calls_; }
    std::vector<StubCall> CallsAt(int height) const {
        std::vector<StubCall> found;
        for (const StubCall& call : calls_) {
            if (call.height == height) found.push_back(call);
        }
        return found;
    }

private:
    static StubRecognizer*& Active() {
        static StubRecognizer* active = nullptr;
        return active;
    }

    static std::int16_t Answer(int mode) {
        StubRecognizer& self = *Active();
        const int height = Glyph.GlyphHeight;
        self.calls_.push_back(StubCall{height, Glyph.GlyphWidth, mode, Glyph.InkCount});
        const auto found = self.answers_.find(height);
        const StubAnswers& answers = found == self.answers_.end() ? self.others_ : found->second;
        const std::vector<std::string>& list = mode == ModeDigits ? answers.digits : answers.letters;
        int& served = self.served_[{height, mode}];
        const std::string text = list.empty() ? "" : list[std::min<std::size_t>(served, list.size() - 1)];
        ++served;
        Glyph.NoiseTrimmedFlag = answers.trimmed;
        if (text == "-") return GlyphRejected;
        std::strncpy(Glyph.CandidateString, text.c_str(), CandidateStringSize - 1);
        Glyph.CandidateString[CandidateStringSize - 1] = '\0';
        Glyph.CandidateCount = static_cast<std::uint8_t>(std::strlen(Glyph.CandidateString));
        return Glyph.CandidateCount;
    }

    std::map<int, StubAnswers> answers_;
    StubAnswers others_;
    std::map<std::pair<int, int>, int> served_;
    std::vector<StubCall> calls_;
};
