// The world square and its 64 x 64 tiles of 2^22 units, by which the 3D world lists its objects.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vyr {

constexpr int WORLD_TILES = 64;
constexpr int TILE_SHIFT = 22;
constexpr int32_t WORLD_LIMIT = 0x0FFFFFFF;

inline bool in_world(int32_t x, int32_t y) { return x >= 0 && x <= WORLD_LIMIT && y >= 0 && y <= WORLD_LIMIT; }

// Index of a tile in the x-major tables over the world.
constexpr int tile_index(int tx, int ty) { return tx * WORLD_TILES + ty; }

// The tiles a radius search walks: columns outer, rows inner, both ascending, each range the
// centre's tile widened by the radius and kept in the world.
struct TileWalk {
    int x_min, x_max, y_min, y_max;
    int x, y;

    void start(int32_t centre_x, int32_t centre_y, int32_t radius) {
        reach(centre_x, radius, x_min, x_max);
        reach(centre_y, radius, y_min, y_max);
        x = x_min;
        y = y_min;
    }
    // Moves to the next tile; false once past the last.
    bool advance() {
        if (++y <= y_max) return true;
        y = y_min;
        return ++x <= x_max;
    }

private:
    static void reach(int32_t centre, int32_t radius, int& low, int& high) {
        const int tile = centre >> TILE_SHIFT;
        low = std::max(0, std::min(tile, int((int64_t(centre) - radius) >> TILE_SHIFT)));
        high = std::min(WORLD_TILES - 1, std::max(tile, int((int64_t(centre) + radius) >> TILE_SHIFT)));
    }
};

}  // namespace vyr
