#include "engine/location/pipeline_state.h"

std::int16_t StrongEdgeLevel = 0;
std::int16_t ThresholdBase = 0;
std::int16_t CurrentThreshold = 0;
std::int16_t SweepStep = 0;
std::uint8_t VerticalModeFlag = 0;
std::uint8_t CodeFoundFlag = 0;
