// Frames prepared the way the pipeline prepares them before location: the edge image of the
// drawn work image, binarized at a threshold, with its two copies taken.
#pragma once

#include <cstring>
#include <vector>

#include "engine/location/components.h"
#include "engine/location/edge_image.h"
#include "engine/location/line_boxes.h"
#include "engine/location/line_records.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/segmentation.h"
#include "tests/support/frame_drawing.h"

namespace drawing {

inline void BinarizeFrame(int threshold) {
    const PackedPoint topLeft = PackPoint(0, 0);
    const PackedPoint bottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    ComputeEdgeImage(topLeft, bottomRight);
    ThresholdEdgeImage(topLeft, bottomRight, threshold);
    std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
    std::memcpy(BinarySnapshot, BinaryImage, sizeof BinarySnapshot);
    StrongEdgeLevel = 120;
    CurrentThreshold = static_cast<std::int16_t>(threshold);
    SweepStep = 0;
}

// Empty planes (a full snapshot), horizontal mode, L = 200 at threshold 40, no retried box,
// component or line box: the state for running a segmenter on boxes set by hand.
inline void ResetSegmenterState() {
    FillPlane(BinaryBackup, 0);
    FillPlane(BinaryImage, 0);
    FillPlane(BinarySnapshot, 1);
    FillPlane(EdgeImage, 0);
    VerticalModeFlag = 0;
    CodeFoundFlag = 0;
    StrongEdgeLevel = 200;
    CurrentThreshold = 40;
    SweepStep = 0;
    RetriedWideBoxCount = 0;
    ComponentBoxCount = 0;
    LineBoxCount = 0;
}

// A row of line boxes: box i is widths[i] wide (r - l) and gaps[i] columns lie between it and
// the next (l(i+1) - r(i)); all span rows top to top + height.
inline void SetRow(const std::vector<int>& widths, const std::vector<int>& gaps, int top = 200, int height = 40,
                   int left = 30) {
    LineBoxCount = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        LineBoxes[i] = CharBox{static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                               static_cast<std::int16_t>(left + widths[i]), static_cast<std::int16_t>(top + height)};
        LineBoxComponents[i] = ComponentRange{0, -1};
        if (i < gaps.size()) left += widths[i] + gaps[i];
        ++LineBoxCount;
    }
}

// One pending candidate per rectangle, as the location passes leave them.
inline void SetCandidates(std::initializer_list<CharBox> rects) {
    LineCandidateCount = 0;
    for (const CharBox& rect : rects) {
        LineCandidate& candidate = LineCandidates[LineCandidateCount++];
        candidate = LineCandidate{};
        candidate.rect = rect;
    }
}

}  // namespace drawing
