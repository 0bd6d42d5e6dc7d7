#include "engine/location/threshold_sweep.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/location/pipeline_state.h"

namespace {

std::vector<int> TriedThresholds;
int AcceptedThreshold = -1;

bool RecordThreshold(PackedPoint, PackedPoint) {
    TriedThresholds.push_back(CurrentThreshold);
    return CurrentThreshold == AcceptedThreshold;
}

std::vector<int> Sweep(int base, int low, int high, int accepted = -1) {
    TriedThresholds.clear();
    AcceptedThreshold = accepted;
    SweepThresholds(base, low, high, RecordThreshold, PackPoint(0, 0), PackPoint(10, 10));
    return TriedThresholds;
}

}  // namespace

TEST(ThresholdSweep, TriesStepsOutwardFromTheBaseWithinTheRange) {
    const int stride = SweepThresholdStride;
    const std::vector<int> all = Sweep(100, 0, 1000);
    ASSERT_EQ(all.size(), 27u);
    EXPECT_EQ(std::vector<int>(all.begin(), all.begin() + 5),
              (std::vector<int>{100, 100 + stride, 100 - stride, 100 + 2 * stride, 100 - 2 * stride}));
    EXPECT_EQ(all[25], 100 + 13 * stride);
    EXPECT_EQ(all[26], 100 - 13 * stride);
    EXPECT_EQ(SweepStep, -13);
    // The sweep stops at the first threshold that accepts.
    EXPECT_EQ(Sweep(100, 0, 1000, 100 - 3 * stride).size(), 7u);
    EXPECT_EQ(SweepStep, -3);

    if (CameraNumber == 1) {
        // L = 130: base 78, 72 <= t <= 90. L = 100: base 60, no t with 72 <= t <= 60.
        EXPECT_EQ(Sweep(78, 72, 90), (std::vector<int>{78, 84, 72, 90}));
        EXPECT_TRUE(Sweep(60, 72, 60).empty());
    } else {
        // L = 40: base 13; 13 and 8 are below 16, nothing above L - 16 = 24.
        EXPECT_EQ(Sweep(40 / 3, 16, 40 - 16), (std::vector<int>{18, 23}));
    }
}
