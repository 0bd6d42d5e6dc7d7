// Generated gate-camera frames prepared for the location passes: the frame in the work image,
// its edges and strong-edge level, and a threshold sweep in the reading code's order that stops
// once the painted lines appear among the candidates.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>

#include "engine/location/edge_image.h"
#include "engine/location/level_histogram.h"
#include "engine/location/line_records.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "tools/testimage/test_image.h"

namespace generated {

inline constexpr int LastSweepStep = 13;
inline constexpr int TruthSlack = 3;  // binarized edges reach a little past the painted character

struct Region {
    PackedPoint topLeft;
    PackedPoint bottomRight;
};

inline void ComputeEdges(const Region& region) {
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    ComputeEdgeImage(region.topLeft, region.bottomRight);
}

// Puts the frame into the work image, computes its edges over the region and sets the strong
// level the pipeline would find there. Answers that level.
inline int LoadFrame(const testimage::Frame& frame, const Region& region) {
    std::memcpy(WorkImage, frame.gray.data(), FrameSize);
    ComputeEdges(region);
    EdgeHistogram(region.topLeft, region.bottomRight);
    const int strongLevel = FindStrongLevel(250, 24);
    StrongEdgeLevel = static_cast<std::int16_t>(strongLevel);
    CodeFoundFlag = 0;
    return strongLevel;
}

inline void Binarize(int threshold) {
    ThresholdEdgeImage(PackPoint(0, 0), PackPoint(FrameWidth - 1, FrameHeight - 1), threshold);
    std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
    std::memcpy(BinarySnapshot, BinaryImage, sizeof BinarySnapshot);
    CurrentThreshold = static_cast<std::int16_t>(threshold);
}

// Runs the pass at the thresholds base, base + 5, base - 5, ... within low..high until `found`
// holds of its candidates; answers that threshold.
template <typename Pass, typename Found>
std::optional<int> Sweep(int base, int low, int high, Pass pass, Found found) {
    for (int step = 0; step <= LastSweepStep; step = step > 0 ? -step : 1 - step) {
        const int threshold = base + 5 * step;
        if (threshold < low || threshold > high) continue;
        SweepStep = static_cast<std::int16_t>(step);
        Binarize(threshold);
        if (pass() == 0 && found()) return threshold;
    }
    return std::nullopt;
}

// Whether the candidate's boxes hold, one each, the painted characters of the line.
inline bool OnTruth(const LineCandidate& candidate, const testimage::LineTruth& line) {
    if (candidate.charCount != static_cast<int>(line.chars.size())) return false;
    for (int i = 0; i < candidate.charCount; ++i) {
        const CharBox& box = candidate.boxes[i];
        const testimage::Box& truth = line.chars[static_cast<std::size_t>(i)].box;
        const int x = (box.left + box.right) / 2;
        const int y = (box.top + box.bottom) / 2;
        if (x < truth.left - TruthSlack || x > truth.right + TruthSlack || y < truth.top - TruthSlack ||
            y > truth.bottom + TruthSlack) {
            return false;
        }
    }
    return true;
}

// The candidate that holds the painted line of that role; -1 when none does.
inline int FindCandidate(const testimage::Truth& truth, testimage::LineRole role) {
    const testimage::LineTruth* line = testimage::FindLine(truth, role);
    if (line == nullptr) return -1;
    for (int k = 0; k < LineCandidateCount; ++k) {
        if (OnTruth(LineCandidates[k], *line)) return k;
    }
    return -1;
}

inline bool FoundAll(const testimage::Truth& truth, std::initializer_list<testimage::LineRole> roles) {
    for (testimage::LineRole role : roles) {
        if (FindCandidate(truth, role) < 0) return false;
    }
    return true;
}

}  // namespace generated
