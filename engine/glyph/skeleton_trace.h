// Measuring tools of the verifiers: traces of the skeleton between two points against their
// straight chord, shape and direction codes of the last trace, walks along the skeleton, the
// branch between two junctions, zones of the skeleton box and the sorts of end points and
// junctions by column. All of them work on the one glyph record and leave their results in it.
#pragma once

#include <cstdint>

// Cell values a trace writes into SkeletonImage besides the skeleton (1).
inline constexpr std::uint8_t ChordMark = 3;
inline constexpr std::uint8_t UpperExtensionMark = 4;
inline constexpr std::uint8_t LowerExtensionMark = 5;
// PathSide adds this for a mark found on the far side of the chord.
inline constexpr std::uint8_t FarSideOffset = 10;
inline constexpr std::uint8_t ChordSide = ChordMark;
inline constexpr std::uint8_t ChordFarSide = ChordMark + FarSideOffset;

// Direction codes of a path point seen from a reference point.
inline constexpr std::int16_t DirectionUpLeft = 1;
inline constexpr std::int16_t DirectionUpRight = 2;
inline constexpr std::int16_t DirectionDownRight = 3;
inline constexpr std::int16_t DirectionDownLeft = 4;

// Shape codes of ClassifyTraceShape.
inline constexpr std::int16_t ShapeStraight = 0;
inline constexpr std::int16_t ShapeBowNearSide = 1;
inline constexpr std::int16_t ShapeBowFarSide = 2;
inline constexpr std::int16_t ShapeSLowerLeft = 3;
inline constexpr std::int16_t ShapeSLowerRight = 4;
inline constexpr std::int16_t ShapeHookAfterCrossingToNear = 5;
inline constexpr std::int16_t ShapeHookAfterCrossingToFar = 6;
inline constexpr std::int16_t ShapeDoubleCrossingWithSlope = 7;
inline constexpr std::int16_t ShapeDoubleCrossingAgainstSlope = 8;
inline constexpr std::int16_t ShapeCrossesUpperExtension = 9;
inline constexpr std::int16_t ShapeCrossesLowerExtension = 10;
inline constexpr std::int16_t ShapeHookBeforeCrossingToFar = 11;
inline constexpr std::int16_t ShapeHookBeforeCrossingToNear = 12;
inline constexpr std::int16_t ShapeLoopLike = 15;
inline constexpr std::int16_t ShapeUndecided = 999;

// Every cell of the glyph and its border whose value is at least `threshold` becomes 0.
void ClearMarks(std::int16_t threshold);

// Traces the skeleton from (row1, col1) towards (row2, col2) and measures the path against the
// chord between them. 0 traced, 1 failed (dead end, another junction, equal points, or a path
// longer than the per-point lists).
std::int16_t TraceSkeletonPath(std::int16_t row1, std::int16_t col1, std::int16_t row2, std::int16_t col2);
void MarkChordCrossings();
void SmoothTraceDistances();

std::int16_t IsTraceStraight(std::int16_t tol);
std::int16_t ClassifyTraceShape(std::int16_t tol);
std::int16_t MaxTraceDistance();
std::int16_t TraceStartDirection(std::int16_t k);
std::int16_t TraceEndDirection(std::int16_t k);

std::int16_t IsInSkeletonBox(std::int16_t row, std::int16_t col);
std::int16_t IsChordHit(std::int16_t row, std::int16_t col);

void WalkFromEndpoint(std::int16_t endpoint);
std::int16_t WalkFromPixel(std::int16_t x, std::int16_t y);
void CollectJunctionBranches(std::int16_t junction);
std::int16_t TraceBranchBetweenJunctions(std::int16_t from, std::int16_t to);

std::int16_t ZoneIndex(std::int16_t n, std::int16_t x, std::int16_t y);
void SortEndpointsByX(std::int16_t lo, std::int16_t hi);
void SortJunctionsByX(std::int16_t lo, std::int16_t hi);
