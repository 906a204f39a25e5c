#include "source/gameplay/gameplay_grid.h"

#include <cstring>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/debug/fatal.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "library/system/thread.h"
#include "source/weapons/target.h"

namespace vyr {

GameplayCell gameplay_grid[GAMEPLAY_CELL_COUNT];
GameplayObject gameplay_objects[MAX_GAMEPLAY_OBJECTS];
uint8_t front_line_distance[GAMEPLAY_CELL_COUNT];

namespace {

constexpr const char* SOURCE = "source/gameplay/gameplay_grid";

constexpr int LAST = GAMEPLAY_GRID_SIZE - 1;

// The cell of a world position, null outside the world.
GameplayCell* cell_at(int32_t x, int32_t y) {
    if (!in_world(x, y)) return nullptr;
    return &gameplay_grid[tile_index(x >> TILE_SHIFT, y >> TILE_SHIFT)];
}

int side_of(int tx, int ty) { return gameplay_grid[tile_index(tx, ty)].side; }

GameplayObject* take_free_object() {
    for (GameplayObject& object : gameplay_objects)
        if (object.type == 0) return &object;
    return nullptr;
}

bool is_gameplay_type(int type) { return type >= GAMEPLAY_AAA && type <= GAMEPLAY_TARGET; }

// A relaxation pass; true when it lowered any distance.
bool relax_front_line_distances() {
    static constexpr int STEPS[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    bool changed = false;
    for (int tx = 0; tx <= LAST; ++tx) {
        for (int ty = 0; ty <= LAST; ++ty) {
            const int d = front_line_distance[tile_index(tx, ty)] + 1;
            for (const auto& step : STEPS) {
                const int nx = tx + step[0], ny = ty + step[1];
                if (nx < 0 || nx > LAST || ny < 0 || ny > LAST) continue;
                uint8_t& neighbour = front_line_distance[tile_index(nx, ny)];
                if (neighbour <= d) continue;
                neighbour = uint8_t(d);
                changed = true;
            }
        }
        yield_if_due();
    }
    return changed;
}

}  // namespace

std::span<GameplayObject*> get_gameplay_slots(GameplayCell& cell, int type) {
    switch (type) {
    case GAMEPLAY_AAA: return cell.aaa;
    case GAMEPLAY_SAM: return cell.sam;
    case GAMEPLAY_TANK: return cell.tank;
    case GAMEPLAY_APC: return cell.apc;
    case GAMEPLAY_RECON: return cell.recon;
    case GAMEPLAY_LASER: return cell.laser;
    case GAMEPLAY_PROHIBITED: return cell.prohibited;
    case GAMEPLAY_TARGET: return cell.target;
    default: return {};
    }
}

void reset_gameplay_grid() {
    for (int tx = 0; tx <= LAST; ++tx) {
        for (int ty = 0; ty <= LAST; ++ty) gameplay_grid[tile_index(tx, ty)] = {};
        yield_if_due();
    }
    for (int tx = 0; tx <= LAST; ++tx) {
        for (int ty = 0; ty <= LAST; ++ty) gameplay_grid[tile_index(tx, ty)].side = SIDE_NOT_GIVEN;
        yield_if_due();
    }
    for (GameplayObject& object : gameplay_objects) {
        free_gameplay_object(&object);
        yield_if_due();
    }
}

int get_cell_side(int32_t x, int32_t y) {
    const GameplayCell* cell = cell_at(x, y);
    return cell ? cell->side : SIDE_NEUTRAL;
}

void set_cell_side(int side, int32_t x, int32_t y) {
    GameplayCell* cell = cell_at(x, y);
    if (cell && cell->side != side) cell->side = side & CELL_SIDE_MASK;
}

void update_front_line_distances() {
    std::memset(front_line_distance, NO_FRONT_LINE, sizeof front_line_distance);
    yield_if_due();
    // The outermost ring is never a seed: the world's edge is no front.
    for (int tx = 1; tx < LAST; ++tx) {
        for (int ty = 1; ty < LAST; ++ty) {
            const int side = side_of(tx, ty);
            if (side_of(tx - 1, ty) != side || side_of(tx, ty - 1) != side || side_of(tx, ty + 1) != side ||
                side_of(tx + 1, ty) != side)
                front_line_distance[tile_index(tx, ty)] = 0;
        }
        yield_if_due();
    }
    while (relax_front_line_distances()) {
    }
}

int get_front_line_distance(int32_t x, int32_t y) {
    if (!in_world(x, y)) return -1;
    return front_line_distance[tile_index(x >> TILE_SHIFT, y >> TILE_SHIFT)];
}

void add_gameplay_object(int type, int32_t x, int32_t y) {
    GameplayCell* cell = cell_at(x, y);
    if (!cell || get_ground_height(x, y) > 0) return;
    GameplayObject* object = take_free_object();
    if (!object) return;
    if (!is_gameplay_type(type)) {
        report_fatal_error("Adding Unknown Gameplay Object", SOURCE, __LINE__);
        return;
    }
    for (GameplayObject*& slot : get_gameplay_slots(*cell, type)) {
        if (slot) continue;
        slot = object;
        *object = {type, x - x % FOOT, y - y % FOOT, 0, 0, nullptr, nullptr, 0, 0};
        return;
    }
}

void remove_nearest_gameplay_object(int type, int32_t x, int32_t y) {
    GameplayCell* cell = cell_at(x, y);
    if (!cell) return;
    // Every slot is looked at: a removal can leave a gap before later objects.
    GameplayObject** nearest = nullptr;
    uint64_t nearest_distance = 0;
    for (GameplayObject*& slot : get_gameplay_slots(*cell, type)) {
        if (!slot) continue;
        const int64_t dx = int64_t(slot->x) - x, dy = int64_t(slot->y) - y;
        const uint64_t distance = isqrt64(uint64_t(dx * dx + dy * dy));
        if (nearest && distance >= nearest_distance) continue;
        nearest = &slot;
        nearest_distance = distance;
    }
    if (!nearest) return;
    free_gameplay_object(*nearest);
    *nearest = nullptr;
}

void remove_gameplay_objects(int type, int32_t x, int32_t y) {
    GameplayCell* cell = cell_at(x, y);
    if (!cell) return;
    for (GameplayObject*& slot : get_gameplay_slots(*cell, type)) {
        if (!slot) continue;
        free_gameplay_object(slot);
        slot = nullptr;
    }
}

void free_gameplay_object(GameplayObject* object) {
    release_target(object->defence_target);
    *object = {};
}

void apply_cell_sides() {
    for (int cell = 0; cell < GAMEPLAY_CELL_COUNT; ++cell) {
        int16_t* list = ground_object_tiles[cell];
        ground_object* records = list ? ground_object_records(list) : nullptr;
        const uint16_t side_bits = uint16_t((gameplay_grid[cell].side & 3) << GROUND_SIDE_SHIFT);
        for (int i = 0; i < ground_object_count(list); ++i) {
            const ObjectHeader* header = get_object_header(records[i].type);
            if (!header || !(header->gameplay_flags & OBJECT_SIDE_DEPENDENT)) continue;
            records[i].flags = uint16_t((records[i].flags & ~GROUND_SIDE_MASK) | side_bits);
        }
    }
}

void swap_cell_sides() {
    for (int tx = 0; tx <= LAST; ++tx) {
        for (int ty = 0; ty <= LAST; ++ty) {
            int32_t& side = gameplay_grid[tile_index(tx, ty)].side;
            if (side == SIDE_ALLIED || side == SIDE_ENEMY) side = SIDE_ALLIED + SIDE_ENEMY - side;
        }
        yield_if_due();
    }
}

int is_friendly_runway(int32_t x, int32_t y, const Waypoint* last_waypoint) {
    if (!last_waypoint) {
        report_fatal_error("could not find last waypoint", SOURCE, __LINE__);
        return 0;
    }
    const int side = get_cell_side(x, y);
    if (side != SIDE_ALLIED && side != SIDE_NOT_GIVEN) return 0;
    return get_feature_kind(x, y) == FEATURE_RUNWAY;
}

}  // namespace vyr
