#include "engine/location/profile_runs.h"

#include <algorithm>

#include "engine/location/capped_table.h"

LineRange ProfileRuns[ProfileRunSlots];
std::uint32_t ProfileRunSums[ProfileRunSlots];
std::int16_t ProfileRunCount = 0;

namespace {

template <typename Value>
int CollectRuns(std::span<const Value> profile, int first, int last) {
    ProfileRunCount = 0;
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(profile.size()) - 1);
    int position = first;
    while (position <= last) {
        if (profile[position] == 0) {
            ++position;
            continue;
        }
        const int start = position;
        std::uint32_t sum = 0;
        while (position <= last && profile[position] != 0) sum += static_cast<std::uint32_t>(profile[position++]);
        const int slot = NextCappedSlot(ProfileRunCount, ProfileRunSlots);
        ProfileRuns[slot] = LineRange{static_cast<std::int16_t>(start), static_cast<std::int16_t>(position - 1)};
        ProfileRunSums[slot] = sum;
    }
    return ProfileRunCount;
}

}  // namespace

int FindProfileRuns(std::span<const std::int16_t> profile, int first, int last) {
    return CollectRuns(profile, first, last);
}

int FindProfileRuns(std::span<const std::uint16_t> profile, int first, int last) {
    return CollectRuns(profile, first, last);
}

int RemoveProfileRun(int k) {
    if (k < 0 || k >= ProfileRunCount) return k;
    for (int i = k; i + 1 < ProfileRunCount; ++i) {
        ProfileRuns[i] = ProfileRuns[i + 1];
        ProfileRunSums[i] = ProfileRunSums[i + 1];
    }
    --ProfileRunCount;
    return k;
}

void DropWeakProfileRuns(int minLength, std::uint32_t minSum) {
    int k = 0;
    while (k < ProfileRunCount) {
        if (ProfileRuns[k].end - ProfileRuns[k].start < minLength && ProfileRunSums[k] < minSum) {
            RemoveProfileRun(k);
        } else {
            ++k;
        }
    }
}
