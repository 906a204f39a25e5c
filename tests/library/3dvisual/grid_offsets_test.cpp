#include "library/3dvisual/grid_offsets.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vyr {
namespace {

// floor(m x k x step / 2^31) for k > 0.
int32_t exact_offset(int32_t m, int k, int step_shift) {
    const __int128 product = __int128(m) * k << step_shift;
    __int128 q = product / (__int128(1) << 31);
    if (product < 0 && q * (__int128(1) << 31) != product) --q;
    return int32_t(q);
}

template <typename Table>
void expect_symmetric(const Table& table, int32_t m, int centre, int step_shift) {
    EXPECT_EQ(table[centre], 0);
    for (int k = 1; k <= centre; ++k) {
        EXPECT_EQ(table[centre + k], exact_offset(m, k, step_shift)) << "m " << m << " k " << k;
        EXPECT_EQ(table[centre - k], -table[centre + k]) << "m " << m << " k " << -k;
    }
}

const int32_t ELEMENTS[] = {0x7fffffff, -0x7fffffff, 0, 1, -1, 0x5A827999, -0x12345678, 0x40000000};

TEST(GridOffsets, EveryLevelHoldsTheFlooredProductOfItsSteps) {
    for (int32_t m : ELEMENTS) {
        BlockOffsets block;
        CoarseOffsets coarse;
        FineOffsets fine;
        FinestOffsets finest;
        build_block_offsets(m, block);
        build_coarse_offsets(m, coarse);
        build_fine_offsets(m, fine);
        build_finest_offsets(m, finest);
        expect_symmetric(block, m, BLOCK_OFFSET_CENTRE, 26);
        expect_symmetric(coarse, m, COARSE_OFFSET_CENTRE, 18);
        expect_symmetric(fine, m, FINE_OFFSET_CENTRE, 12);
        expect_symmetric(finest, m, FINE_OFFSET_CENTRE, 6);
    }
}

TEST(GridOffsets, FarBlockEntriesAtTheLimitsOfOnePointThirtyOne) {
    BlockOffsets table;
    build_block_offsets(0x7fffffff, table);
    EXPECT_EQ(table[BLOCK_OFFSET_CENTRE + 8], (1 << 29) - 1);
    EXPECT_EQ(table[BLOCK_OFFSET_CENTRE + 1], (1 << 26) - 1);
    build_block_offsets(-0x7fffffff, table);
    EXPECT_EQ(table[BLOCK_OFFSET_CENTRE + 1], -(1 << 26));
    EXPECT_EQ(table[BLOCK_OFFSET_CENTRE - 1], 1 << 26);
    build_block_offsets(0, table);
    EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](int32_t e) { return e == 0; }));
}

TEST(GridOffsets, TheHeightTableIsOneSided) {
    for (int32_t m : ELEMENTS) {
        CoarseHeightOffsets table;
        table.fill(0x55555555);
        build_coarse_offsets(m, table);
        EXPECT_EQ(table[0], 0);
        for (int k = 1; k <= 32; ++k) EXPECT_EQ(table[k], exact_offset(m, k, 18)) << "m " << m << " k " << k;
    }
}

TEST(GridOffsets, ViewTablesServeEachElementOfTheViewMatrix) {
    Matrix3 view{{{0x7fffffff, 2, 3}, {4, -0x7fffffff, 6}, {7, 8, 0x40000000}}};
    build_view_offset_tables(view);
    const ViewOffsetTables& t = view_offset_tables;
    for (int eye = 0; eye < 3; ++eye) {
        for (int world = 0; world < 3; ++world) {
            const int32_t m = view[eye][world];
            if (world < 2) {
                EXPECT_EQ(t.block[eye][world][BLOCK_OFFSET_CENTRE + 3], exact_offset(m, 3, 26));
                EXPECT_EQ(t.coarse[eye][world][COARSE_OFFSET_CENTRE + 100], exact_offset(m, 100, 18));
            } else {
                EXPECT_EQ(t.coarse_height[eye][20], exact_offset(m, 20, 18));
            }
            EXPECT_EQ(t.fine[eye][world][FINE_OFFSET_CENTRE + 5], exact_offset(m, 5, 12));
            EXPECT_EQ(t.finest[eye][world][FINE_OFFSET_CENTRE + 7], exact_offset(m, 7, 6));
        }
    }
}

TEST(GridOffsets, PlanMapTablesRotateWorldStepsOntoTheMap) {
    const int32_t c = 0x5A827999, s = 0x12345678;
    build_plan_map_offset_tables(c, s);
    const PlanMapOffsetTables& t = plan_map_offset_tables;
    EXPECT_EQ(t.block[0][0][BLOCK_OFFSET_CENTRE + 1], exact_offset(c, 1, 26));
    EXPECT_EQ(t.coarse[0][1][COARSE_OFFSET_CENTRE + 1], exact_offset(s, 1, 18));
    EXPECT_EQ(t.fine[1][0][FINE_OFFSET_CENTRE + 1], exact_offset(-s, 1, 12));
    EXPECT_EQ(t.finest[1][1][FINE_OFFSET_CENTRE + 1], exact_offset(c, 1, 6));
}

}  // namespace
}  // namespace vyr
