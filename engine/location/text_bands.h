// Text bands: strips of the binary image where stroke edges follow each other closely, one
// strip per row of characters (per column of characters in the vertical variant).
#pragma once

#include <cstdint>
#include <span>

#include "engine/camera.h"
#include "engine/location/boxes.h"
#include "engine/packed_point.h"

inline constexpr int StrokeStartSlots = 80;  // at most 79 per line are counted
inline constexpr int TextBandSlots = 80;     // at most 79 bands are counted

// Per image row (per column in the vertical variant) the positions of its stroke starts.
extern std::int16_t RowStrokeStarts[FrameLongSide][StrokeStartSlots];
// Per line the number of recorded stroke starts: the band profile.
extern std::int16_t RowStrokeCounts[FrameLongSide];
extern LineRange TextBands[TextBandSlots];
extern std::int16_t TextBandCount;
// Result of SmoothProfile, indexed from 0 of the smoothed slice; also the location passes'
// column histogram.
extern std::uint16_t SmoothedProfile[FrameLongSide];
extern std::uint16_t SmoothScratch[FrameLongSide];
// Per absolute column the ink count of a box.
extern std::int16_t ColumnProfile[FrameWidth];

inline constexpr int BandModeRows = 0;     // a band ends where the profile falls 3 below its start
inline constexpr int BandModeColumns = 1;  // ... 5 below its start

// 1 when no band was found, else 0. Bands run over rows.
int FindHorizontalTextBands(PackedPoint topLeft, PackedPoint bottomRight);
// 1 when no band was found, else 0. Bands run over columns.
int FindVerticalTextBands(PackedPoint topLeft, PackedPoint bottomRight);
// Length of the band that starts at the slice's first entry.
int MeasureProfileBand(std::span<const std::int16_t> slice, int mode);
// Smooths the slice into SmoothedProfile: two 5-wide averaging steps, then two more per pass.
void SmoothProfile(std::span<const std::int16_t> slice, int passes);
// Cuts the slice at its deepest valley of SmoothedProfile: 1 when cut, else 0.
int SplitTallBand(std::span<std::int16_t> slice);
// Closes gaps of SmoothedProfile shorter than maxGap between non-zero entries.
void FillShortProfileGaps(int maxGap);
