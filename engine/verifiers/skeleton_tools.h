// The skeleton tracing and grid tools the verifiers measure with.
#pragma once

#include <cstdint>

#include "engine/glyph/glyph_grid.h"

void ClearMarks(std::int16_t threshold);
std::int16_t TraceSkeletonPath(std::int16_t row1, std::int16_t col1, std::int16_t row2, std::int16_t col2);
std::int16_t ClassifyTraceShape(std::int16_t tol);
std::int16_t TraceStartDirection(std::int16_t k);
std::int16_t TraceEndDirection(std::int16_t k);
void WalkFromEndpoint(std::int16_t e);
std::int16_t TraceBranchBetweenJunctions(std::int16_t i, std::int16_t j);
std::int16_t ZoneIndex(std::int16_t n, std::int16_t x, std::int16_t y);
void SortEndpointsByX(std::int16_t lo, std::int16_t hi);
void SortJunctionsByX(std::int16_t lo, std::int16_t hi);
