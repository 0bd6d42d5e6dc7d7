#include <gtest/gtest.h>

#include <vector>

#include "engine/glyph/glyph_record.h"
#include "engine/glyph/skeleton_trace.h"

namespace {

void SetBox(int top, int left, int height, int width) {
    ResetGlyphRecord();
    Glyph.GlyphBox = GlyphBoxRecord{static_cast<std::int16_t>(top), static_cast<std::int16_t>(top + height - 1),
                                    static_cast<std::int16_t>(left), static_cast<std::int16_t>(left + width - 1),
                                    static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
}

TEST(PointSort, ZonesOfTheSkeletonBox) {
    SetBox(2, 3, 12, 10);
    EXPECT_EQ(ZoneIndex(5, 3, 2), 0);
    EXPECT_EQ(ZoneIndex(5, 12, 13), 24);
    EXPECT_EQ(ZoneIndex(5, 12, 2), 4);
    EXPECT_EQ(ZoneIndex(5, 3, 13), 20);
    // Band sizes are fractions: 12 rows in 5 bands of 2.4, 10 columns of 2.
    EXPECT_EQ(ZoneIndex(5, 4, 4), 0);   // row offset 2 < 2.4
    EXPECT_EQ(ZoneIndex(5, 5, 5), 6);   // row offset 3, column offset 2
    EXPECT_EQ(ZoneIndex(3, 12, 13), 8);
    EXPECT_EQ(ZoneIndex(4, 8, 8), 10);  // 6 / 3.0 = 2, 5 / 2.5 = 2

    // A box smaller than the grid of zones still numbers its cells.
    SetBox(1, 1, 3, 3);
    EXPECT_EQ(ZoneIndex(5, 3, 3), 18);  // offset 2 over bands of 0.6
    // A skeleton without extent has one zone.
    SetBox(4, 4, 0, 0);
    EXPECT_EQ(ZoneIndex(5, 4, 4), 0);
    EXPECT_EQ(ZoneIndex(0, 4, 4), 0);
}

std::vector<int> Order(int count) { return std::vector<int>(Glyph.SortOrder, Glyph.SortOrder + count); }

TEST(PointSort, SortsByColumnKeepListOrderOnTies) {
    ResetGlyphRecord();
    const std::int16_t xs[] = {5, 2, 7, 2, 1};
    for (int i = 0; i < 5; ++i) {
        Glyph.Endpoints[i] = GlyphPoint{xs[i], static_cast<std::int16_t>(i)};
        Glyph.Junctions[i] = GlyphPoint{xs[4 - i], static_cast<std::int16_t>(i)};
    }
    Glyph.EndpointCount = Glyph.JunctionCount = 5;
    SortEndpointsByX(0, 4);
    EXPECT_EQ(Order(5), (std::vector<int>{4, 1, 3, 0, 2}));
    SortEndpointsByX(1, 3);
    EXPECT_EQ(Order(3), (std::vector<int>{1, 3, 2}));
    SortJunctionsByX(0, 4);
    EXPECT_EQ(Order(5), (std::vector<int>{0, 1, 3, 4, 2}));

    // An empty range leaves the order as it was.
    SortJunctionsByX(3, 2);
    EXPECT_EQ(Order(5), (std::vector<int>{0, 1, 3, 4, 2}));
    // A range beyond the list's capacity is cut to it.
    SortEndpointsByX(MaxEndpoints - 2, MaxEndpoints + 5);
    EXPECT_EQ(Order(2), (std::vector<int>{MaxEndpoints - 2, MaxEndpoints - 1}));
}

}  // namespace
