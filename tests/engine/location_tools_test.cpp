#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "engine/glyph/glyph_record.h"
#include "engine/location/boxes.h"
#include "engine/location/level_histogram.h"
#include "engine/location/profile_runs.h"

namespace {

void SetBins(std::initializer_list<std::pair<int, std::uint32_t>> bins) {
    ClearHistogram();
    for (const auto& [index, count] : bins) HistogramBins[index] = count;
}

TEST(StrongLevelTest, EachOfTheThreeBinsMustExceedTheMinimum) {
    if (CameraNumber == 1) GTEST_SKIP() << "camera 1 takes the three bins together (engine_cam1)";
    SetBins({{100, 30}, {99, 30}, {98, 10}});
    EXPECT_EQ(FindStrongLevel(250, 24), 2) << "the three together exceed 24 but bin 98 alone does not";
    SetBins({{100, 30}, {99, 30}, {98, 25}, {97, 25}});
    EXPECT_EQ(FindStrongLevel(250, 24), 100);
    EXPECT_EQ(FindStrongLevel(99, 24), 99);
    SetBins({{100, 25}, {99, 25}, {98, 24}});
    EXPECT_EQ(FindStrongLevel(250, 24), 2) << "a bin equal to the minimum does not count";
    SetBins({{2, 90}, {1, 90}, {0, 90}});
    EXPECT_EQ(FindStrongLevel(250, 4), 2);
    EXPECT_EQ(FindStrongLevel(1, 4), 1) << "a start of 2 or less answers itself";
    SetBins({{HistogramBinCount - 1, 9}, {HistogramBinCount - 2, 9}, {HistogramBinCount - 3, 9}});
    EXPECT_EQ(FindStrongLevel(5000, 4), HistogramBinCount - 1) << "a start past the histogram is clipped";
}

TEST(HistogramPeakTest, WindowBoundsTiesAndEmptyHistogram) {
    ClearHistogram();
    EXPECT_EQ(FindHistogramPeak(5, 256, 5), 0u);

    // Equal window sums keep the earlier index unless the later centre bin is higher.
    SetBins({{40, 3}, {60, 3}});
    EXPECT_EQ(PeakIndex(FindHistogramPeak(0, 256, 0)), 40);
    SetBins({{40, 3}, {41, 1}});
    EXPECT_EQ(PeakIndex(FindHistogramPeak(0, 256, 1)), 40) << "41 has the same sum but a lower centre";
    SetBins({{40, 2}, {42, 2}, {60, 4}});
    const PackedPeak peak = FindHistogramPeak(0, 256, 1);
    EXPECT_EQ(PeakIndex(peak), 60) << "equal sum 4 at 41 (centre 0) yields to 60 (centre 4)";
    EXPECT_EQ(PeakSum(peak), 4);

    // Window centres run from max(low, radius) up to high - radius - 1.
    SetBins({{2, 7}});
    EXPECT_EQ(PeakIndex(FindHistogramPeak(0, 256, 5)), 5);
    EXPECT_EQ(PeakSum(FindHistogramPeak(0, 256, 5)), 7);
    SetBins({{255, 7}});
    EXPECT_EQ(PeakIndex(FindHistogramPeak(5, 256, 5)), 250) << "the last window, 245..255, is centred on 250";
    SetBins({{256, 7}});
    EXPECT_EQ(FindHistogramPeak(5, 256, 5), 0u) << "bins from the high bound on are never read";
    SetBins({{HistogramBinCount - 1, 7}});
    EXPECT_EQ(PeakIndex(FindHistogramPeak(20, 100000, 0)), HistogramBinCount - 1) << "the high bound is clipped";

    // A sum that does not fit 16 bits reads as 65535 instead of wrapping.
    SetBins({{30, 70000}});
    EXPECT_EQ(PeakIndex(FindHistogramPeak(0, 256, 2)), 30);
    EXPECT_EQ(PeakSum(FindHistogramPeak(0, 256, 2)), 65535);
}

TEST(ProfileRunsTest, RunsSumsAndTheirEnds) {
    std::vector<std::int16_t> profile(100, 0);
    for (int x : {3, 4, 5}) profile[x] = 2;
    for (int x : {10, 11}) profile[x] = 7;
    for (int x : {95, 96, 97, 98, 99}) profile[x] = 1;
    EXPECT_EQ(FindProfileRuns(profile, 0, 97), 3);
    EXPECT_EQ(ProfileRuns[0].start, 3);
    EXPECT_EQ(ProfileRuns[0].end, 5);
    EXPECT_EQ(ProfileRunSums[0], 6u);
    EXPECT_EQ(ProfileRuns[2].start, 95);
    EXPECT_EQ(ProfileRuns[2].end, 97) << "a run reaching the last position ends there";
    EXPECT_EQ(ProfileRunSums[2], 3u);
    EXPECT_EQ(FindProfileRuns(profile, 4, 500), 3) << "positions past the profile are not read";
    EXPECT_EQ(ProfileRuns[0].start, 4);
    EXPECT_EQ(ProfileRuns[2].end, 99);

    std::vector<std::uint16_t> unsignedProfile(20, 0);
    unsignedProfile[8] = 40000;
    EXPECT_EQ(FindProfileRuns(unsignedProfile, 0, 19), 1);
    EXPECT_EQ(ProfileRunSums[0], 40000u);
}

TEST(ProfileRunsTest, AtMost79RunsAreCounted) {
    std::vector<std::int16_t> profile(400, 0);
    for (int k = 0; k < 100; ++k) profile[4 * k] = static_cast<std::int16_t>(k + 1);
    EXPECT_EQ(FindProfileRuns(profile, 0, 399), 79);
    EXPECT_EQ(ProfileRunCount, 79);
    EXPECT_EQ(ProfileRuns[78].start, 4 * 78);
    EXPECT_EQ(ProfileRuns[79].start, 4 * 99) << "further runs land in the last slot uncounted";
}

TEST(ProfileRunsTest, RemovingAndDroppingWeakRuns) {
    std::vector<std::int16_t> profile(100, 0);
    auto run = [&](int start, int end, int value) {
        for (int x = start; x <= end; ++x) profile[x] = static_cast<std::int16_t>(value);
    };
    run(0, 1, 1);    // short (1) and weak (2): dropped
    run(5, 6, 1);    // short and weak: dropped (moves into index 0 after the first removal)
    run(10, 11, 9);  // short but strong (18): kept
    run(20, 30, 1);  // long (10) and weak: kept
    run(40, 44, 1);  // length exactly 4 < 5 and sum 5 < 6: dropped
    EXPECT_EQ(FindProfileRuns(profile, 0, 99), 5);
    DropWeakProfileRuns(5, 6);
    ASSERT_EQ(ProfileRunCount, 2);
    EXPECT_EQ(ProfileRuns[0].start, 10);
    EXPECT_EQ(ProfileRuns[1].start, 20);
    EXPECT_EQ(ProfileRunSums[1], 11u);

    EXPECT_EQ(RemoveProfileRun(0), 0);
    ASSERT_EQ(ProfileRunCount, 1);
    EXPECT_EQ(ProfileRuns[0].start, 20);
    EXPECT_EQ(RemoveProfileRun(5), 5);
    EXPECT_EQ(RemoveProfileRun(-1), -1);
    EXPECT_EQ(ProfileRunCount, 1) << "indices outside the list remove nothing";
}

TEST(PathBoundingBoxTest, EmptyAndTracedPaths) {
    std::fill(std::begin(Glyph.PathX), std::end(Glyph.PathX), std::int16_t{0});
    std::fill(std::begin(Glyph.PathY), std::end(Glyph.PathY), std::int16_t{0});
    Glyph.WalkLength = 0;
    const CharBox empty = PathBoundingBox();
    EXPECT_EQ(empty.left, 999);
    EXPECT_EQ(empty.top, 999);
    EXPECT_EQ(empty.right, 0);
    EXPECT_EQ(empty.bottom, 0);

    const std::int16_t xs[] = {12, 10, 15, 11};
    const std::int16_t ys[] = {40, 44, 41, 38};
    for (int i = 0; i < 4; ++i) {
        Glyph.PathX[i] = xs[i];
        Glyph.PathY[i] = ys[i];
    }
    Glyph.PathX[4] = 500;  // beyond WalkLength: ignored
    Glyph.WalkLength = 4;
    const CharBox box = PathBoundingBox();
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 38);
    EXPECT_EQ(box.right, 15);
    EXPECT_EQ(box.bottom, 44);
    EXPECT_EQ(BoxTopLeft(box), PackPoint(10, 38));
    EXPECT_EQ(BoxBottomRight(box), PackPoint(15, 44));

    Glyph.WalkLength = 30000;  // a count past the point lists reads only the lists
    EXPECT_EQ(PathBoundingBox().right, 500);
}

}  // namespace
