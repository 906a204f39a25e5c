// Stand-in for the gameplay grid and the defence sites: the cells keep the sides and objects a
// mission gives them (no pool limit, no ground-height test), no site becomes a ground object, no
// runway is the player's, and the nearest ground object is looked for among the theatre's own.
#include <cmath>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/debug/fatal.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"

namespace vyr {

GameplayCell gameplay_grid[GAMEPLAY_CELL_COUNT];
GameplayObject gameplay_objects[MAX_GAMEPLAY_OBJECTS];

namespace {

int used_objects = 0;

GameplayCell* cell_at(int32_t x, int32_t y) {
    const int32_t tx = x >> 22, ty = y >> 22;
    if (tx < 0 || tx >= GAMEPLAY_GRID_SIZE || ty < 0 || ty >= GAMEPLAY_GRID_SIZE) return nullptr;
    return &gameplay_grid[tx * GAMEPLAY_GRID_SIZE + ty];
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
    for (GameplayCell& cell : gameplay_grid) cell = GameplayCell{3, {}, {}, {}, {}, {}, {}, {}, {}};
    for (GameplayObject& object : gameplay_objects) object = {};
    used_objects = 0;
}

void set_cell_side(int side, int32_t x, int32_t y) {
    if (GameplayCell* cell = cell_at(x, y)) cell->side = side & CELL_SIDE_MASK;
}

void add_gameplay_object(int type, int32_t x, int32_t y) {
    GameplayCell* cell = cell_at(x, y);
    if (!cell || used_objects == MAX_GAMEPLAY_OBJECTS) return;
    if (type < GAMEPLAY_AAA || type > GAMEPLAY_TARGET) {
        report_fatal_error("Adding Unknown Gameplay Object", "source/gameplay/gameplay_grid", __LINE__);
        return;
    }
    for (GameplayObject*& slot : get_gameplay_slots(*cell, type)) {
        if (slot) continue;
        GameplayObject& object = gameplay_objects[used_objects++];
        object = {type, x - x % 256, y - y % 256, 0, 0, nullptr};
        slot = &object;
        return;
    }
}

void update_front_line_distances() {}
void apply_cell_sides() {}
int is_friendly_runway(int32_t, int32_t, const Waypoint*) { return 0; }
void flag_lased_ground_objects() {}

void clear_dynamic_ground_objects() {}
void place_defence_objects() {}

ground_object* find_nearest_ground_object(int32_t x, int32_t y) {
    const int32_t tx = x >> 22, ty = y >> 22;
    if (tx < 0 || tx >= GAMEPLAY_GRID_SIZE || ty < 0 || ty >= GAMEPLAY_GRID_SIZE) return nullptr;
    const int tile = tx * GAMEPLAY_GRID_SIZE + ty;
    int16_t* list = ground_object_tiles[tile];
    ground_object* best = nullptr;
    int best_distance = 100;
    for (int i = 0; i < ground_object_count(list); ++i) {
        ground_object& record = ground_object_records(list)[i];
        const int dx = int((x & 0x3fffff) >> 8) - record.x, dy = int((y & 0x3fffff) >> 8) - record.y;
        const int distance = int(std::sqrt(double(dx) * dx + double(dy) * dy));
        if (distance < best_distance) {
            best = &record;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace vyr
