// The rear camera's M template takes a wider spread of three-junction skeletons than camera 2's
// (tests/verifiers holds camera 2's refusals of the same drawings).
#include <gtest/gtest.h>

#include "engine/glyph/skeleton_trace.h"
#include "engine/verifiers/letters/letter_verifiers.h"
#include "engine/verifiers/template_tools.h"
#include "support/forked_m.h"

TEST(MatchM_H0B3E5f, ThreeJunctionsInNeighbouringColumnsAreAnMAtOnce) {
    for (const int lowRow : {16, 17}) {
        DrawForkedMInThreeColumns(lowRow, 6);
        const SortedNodes junctions = JunctionsByX(0, 2);
        ASSERT_EQ(junctions.at[0].x, 20);
        ASSERT_EQ(junctions.at[1].x, 21);
        ASSERT_EQ(junctions.at[2].x, 22);
        EXPECT_EQ(MatchM_H0B3E5f(), 1) << "whatever the rows and the link; low row " << lowRow;
    }
    // A diagonal pair with the third junction further right keeps the row and link tests.
    DrawForkedM(16);
    EXPECT_EQ(MatchM_H0B3E5f(), 1);
    DrawForkedM(17);
    EXPECT_EQ(MatchM_H0B3E5f(), 0);
}

TEST(MatchM_H0B3E5f, TakesTheRightJunctionInTheCentreZone) {
    DrawForkedMWithCentralRightJunction();
    const SortedNodes junctions = JunctionsByX(0, 2);
    EXPECT_EQ(ZoneIndex(5, junctions.at[2].x, junctions.at[2].y), 12);
    EXPECT_EQ(MatchM_H0B3E5f(), 1);
}
