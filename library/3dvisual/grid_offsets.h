// Eye-space offsets of whole numbers of grid steps along one world axis, so that grid points
// (far-block corners, tile corners, feature vertices) cost additions instead of matrix products.
// A table serves one 1.31 matrix element m; entry k holds floor(m x k x step / 2^31), mirrored
// with its sign changed for -k. Symmetric tables are indexed by k + centre.
#pragma once

#include <array>
#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

using BlockOffsets = std::array<int32_t, 17>;         // 2^26 steps, k = -8..8
using CoarseOffsets = std::array<int32_t, 257>;       // 2^18 steps, k = -128..128
using CoarseHeightOffsets = std::array<int32_t, 33>;  // 2^18 steps, k = 0..32: heights only
using FineOffsets = std::array<int32_t, 65>;          // 2^12 steps, k = -32..32
using FinestOffsets = std::array<int32_t, 65>;        // 2^6 steps, k = -32..32

constexpr int BLOCK_OFFSET_CENTRE = 8;
constexpr int COARSE_OFFSET_CENTRE = 128;
constexpr int FINE_OFFSET_CENTRE = 32;

void build_block_offsets(int32_t m, BlockOffsets& table);
void build_coarse_offsets(int32_t m, CoarseOffsets& table);
void build_coarse_offsets(int32_t m, CoarseHeightOffsets& table);
void build_fine_offsets(int32_t m, FineOffsets& table);
void build_finest_offsets(int32_t m, FinestOffsets& table);

// Indexed [eye axis: right, depth, up][world axis: x, y, z]. The eye-space vector of a world
// offset (i, j, k) steps at one level is the sum of the three entries of each eye axis.
struct ViewOffsetTables {
    BlockOffsets block[3][2];
    CoarseOffsets coarse[3][2];
    CoarseHeightOffsets coarse_height[3];
    FineOffsets fine[3][3];
    FinestOffsets finest[3][3];
};

// The view's tables, for the eye installed last.
extern ViewOffsetTables view_offset_tables;
void build_view_offset_tables(const Matrix3& view);

// The plan map's, one set per level, indexed [world axis x, y][map axis u, w].
struct PlanMapOffsetTables {
    BlockOffsets block[2][2];
    CoarseOffsets coarse[2][2];
    FineOffsets fine[2][2];
    FinestOffsets finest[2][2];
};

extern PlanMapOffsetTables plan_map_offset_tables;
// From the plot window's rotation cosine and sine.
void build_plan_map_offset_tables(int32_t cosine, int32_t sine);

}  // namespace vyr
