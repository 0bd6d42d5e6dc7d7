// The one list of runs of a profile that the location code shares. Every use rebuilds it.
#pragma once

#include <cstdint>
#include <span>

#include "engine/location/boxes.h"

inline constexpr int ProfileRunSlots = 80;  // at most 79 runs are counted

extern LineRange ProfileRuns[ProfileRunSlots];
extern std::uint32_t ProfileRunSums[ProfileRunSlots];
extern std::int16_t ProfileRunCount;

// Every maximal run of non-zero entries of the profile (indexed by absolute position) between
// first and last, in order, with the sum of its values. Answers the run count.
int FindProfileRuns(std::span<const std::int16_t> profile, int first, int last);
int FindProfileRuns(std::span<const std::uint16_t> profile, int first, int last);
// Deletes run k, moving the later runs down. Answers k.
int RemoveProfileRun(int k);
// Removes every run that is both shorter than minLength (end - start) and weaker than minSum.
void DropWeakProfileRuns(int minLength, std::uint32_t minSum);
