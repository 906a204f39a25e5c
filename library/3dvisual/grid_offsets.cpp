#include "library/3dvisual/grid_offsets.h"

#include <cstddef>

namespace vyr {

ViewOffsetTables view_offset_tables;
PlanMapOffsetTables plan_map_offset_tables;

namespace {

// v = |m| x 2^(32 - s) holds the offset of the largest k in its upper half, and each step down
// lowers it by v >> e; the upper half of a 64-bit value is the floor of the exact product.
// Entries for k = `largest` down to 1 go to table[origin + k], and with `mirror` their negatives
// to table[origin - k].
template <std::size_t N>
void fill_offsets(int32_t m, int s, int e, int largest, int origin, bool mirror, std::array<int32_t, N>& table) {
    const int64_t magnitude = m < 0 ? -int64_t(m) : int64_t(m);
    int64_t v = magnitude << (32 - s);
    int64_t step = v >> e;
    if (m < 0) {
        v = -v;
        step = -step;
    }
    for (int k = largest; k >= 1; --k, v -= step) {
        const int32_t entry = int32_t(v >> 32);
        table[origin + k] = entry;
        if (mirror) table[origin - k] = -entry;
    }
    table[origin] = 0;
}

}  // namespace

void build_block_offsets(int32_t m, BlockOffsets& table) { fill_offsets(m, 2, 3, 8, BLOCK_OFFSET_CENTRE, true, table); }

void build_coarse_offsets(int32_t m, CoarseOffsets& table) {
    fill_offsets(m, 6, 7, 128, COARSE_OFFSET_CENTRE, true, table);
}

void build_coarse_offsets(int32_t m, CoarseHeightOffsets& table) { fill_offsets(m, 8, 5, 32, 0, false, table); }

void build_fine_offsets(int32_t m, FineOffsets& table) { fill_offsets(m, 14, 5, 32, FINE_OFFSET_CENTRE, true, table); }

void build_finest_offsets(int32_t m, FinestOffsets& table) {
    fill_offsets(m, 20, 5, 32, FINE_OFFSET_CENTRE, true, table);
}

void build_view_offset_tables(const Matrix3& view) {
    ViewOffsetTables& t = view_offset_tables;
    for (int eye = 0; eye < 3; ++eye) {
        for (int world = 0; world < 2; ++world) {
            build_block_offsets(view[eye][world], t.block[eye][world]);
            build_coarse_offsets(view[eye][world], t.coarse[eye][world]);
        }
        build_coarse_offsets(view[eye][2], t.coarse_height[eye]);
        for (int world = 0; world < 3; ++world) {
            build_fine_offsets(view[eye][world], t.fine[eye][world]);
            build_finest_offsets(view[eye][world], t.finest[eye][world]);
        }
    }
}

void build_plan_map_offset_tables(int32_t cosine, int32_t sine) {
    // World x steps move u by cosine and w by sine, world y steps u by -sine and w by cosine.
    const int32_t element[2][2] = {{cosine, sine}, {int32_t(0u - uint32_t(sine)), cosine}};
    PlanMapOffsetTables& t = plan_map_offset_tables;
    for (int world = 0; world < 2; ++world) {
        for (int map = 0; map < 2; ++map) {
            const int32_t m = element[world][map];
            build_block_offsets(m, t.block[world][map]);
            build_coarse_offsets(m, t.coarse[world][map]);
            build_fine_offsets(m, t.fine[world][map]);
            build_finest_offsets(m, t.finest[world][map]);
        }
    }
}

}  // namespace vyr
