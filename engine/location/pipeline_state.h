// State of the recognition pipeline that the location and segmentation code reads. All of it
// is refilled for every frame.
#pragma once

#include <cstdint>

// L: the strong-edge level of the region of interest.
extern std::int16_t StrongEdgeLevel;
// Base of the current threshold sweep.
extern std::int16_t ThresholdBase;
// Base + stride x step: the binarization threshold of the current sweep step.
extern std::int16_t CurrentThreshold;
// Current step of the sweep: 0, 1, -1, 2, -2, ...
extern std::int16_t SweepStep;
// 1 while the vertical location pass and its follow-up run.
extern std::uint8_t VerticalModeFlag;
// 1 once a container number is accepted in the current recognition.
extern std::uint8_t CodeFoundFlag;
