#include "source/gameplay/defence_sites.h"

#include <cstring>
#include <initializer_list>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/units.h"
#include "library/system/memory.h"
#include "library/system/thread.h"
#include "source/drone/drone_types.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/mission/game_flow.h"
#include "source/weapons/target.h"

namespace vyr {

int16_t* dynamic_ground_object_tiles[4096];
int32_t dynamic_list_capacity[4096];

namespace {

constexpr const char* SOURCE = "source/gameplay/defence_sites";
constexpr int32_t TILE_UNITS = 1 << TILE_SHIFT;
constexpr int WAR_ZONE_CYPRUS = 3;
constexpr int SHILKA = 99, SHILKA_SITE = 100;  // the sites' Shilka is a type of its own
constexpr uint16_t FACING_SOUTH = 0x8000;
constexpr int32_t NEAREST_LIMIT_FEET = 100;
constexpr int32_t OF_TYPE_LIMIT_FEET = 25600;
constexpr uint16_t TREES[] = {13, 19, 141, 144};

// The sites of the last row and column of tiles get no ground object.
constexpr int SITE_TILES = WORLD_TILES - 1;

size_t list_bytes(int capacity) { return 2 + sizeof(ground_object) * size_t(capacity); }

int16_t* allocate_list(int capacity) {
    auto* list = static_cast<int16_t*>(allocate_memory(list_bytes(capacity), SOURCE, __LINE__));
    std::memset(list, 0, list_bytes(capacity));
    return list;
}

// The tile's list, made or grown so that one more record fits.
int16_t* list_with_room(int tile) {
    int16_t*& list = dynamic_ground_object_tiles[tile];
    int32_t& capacity = dynamic_list_capacity[tile];
    if (!list) {
        capacity = DYNAMIC_LIST_FIRST_CAPACITY;
        list = allocate_list(capacity);
    } else if (list[0] >= capacity) {
        const int32_t grown = capacity * 3 / 2;
        int16_t* larger = allocate_list(grown);
        std::memcpy(larger, list, list_bytes(capacity));
        free_memory(list, SOURCE, __LINE__);
        list = larger;
        capacity = grown;
    }
    return list;
}

// A type without a header stands at height 0.
int32_t height_of(int object_number) {
    const ObjectHeader* header = get_object_header(object_number);
    return header ? header->height : 0;
}

int32_t in_tile_feet(int32_t coordinate) { return (coordinate & (TILE_UNITS - 1)) / FOOT; }

int32_t feet_distance(int64_t dx, int64_t dy) { return int32_t(isqrt64(uint64_t(dx * dx + dy * dy))); }

bool is_tree(int type) {
    for (uint16_t tree : TREES)
        if (type == tree) return true;
    return false;
}

// Site vehicles by gameplay type 1..4: the enemy's and the other sides' elsewhere, then the
// enemy's and the other sides' in Cyprus, which fields vehicles of its own.
constexpr int SITE_OBJECTS[4][4] = {
    {SHILKA, 211, 450, 211},  // AAA
    {84, 80, 469, 469},       // SAM
    {90, 244, 456, 456},      // tank
    {54, 208, 208, 208},      // APC
};

int site_object(int type, int side) {
    const int zone = get_war_zone();
    if (zone < 1 || zone > 5) {
        report_fatal_error("Invalid map", SOURCE, __LINE__);
        return 0;
    }
    return SITE_OBJECTS[type - GAMEPLAY_AAA][(zone == WAR_ZONE_CYPRUS ? 2 : 0) + (side == SIDE_ENEMY ? 0 : 1)];
}

}  // namespace

void clear_dynamic_ground_objects() {
    for (int tx = 0; tx < WORLD_TILES; ++tx) {
        for (int ty = 0; ty < WORLD_TILES; ++ty) {
            const int tile = tile_index(tx, ty);
            free_memory(dynamic_ground_object_tiles[tile], SOURCE, __LINE__);
            dynamic_ground_object_tiles[tile] = nullptr;
            dynamic_list_capacity[tile] = 0;
        }
        yield_if_due();
    }
    world_settings.dynamic_ground_objects = dynamic_ground_object_tiles;
}

ground_object* add_dynamic_ground_object(int32_t x, int32_t y, int object_number, int32_t heading, int side) {
    if (!in_world(x, y)) {
        report_fatal_error("Cannot play dynamic ground object outside map", SOURCE, __LINE__);
        return nullptr;
    }
    const int type = object_number == SHILKA ? SHILKA_SITE : object_number;
    int16_t* list = list_with_room(tile_index(x >> TILE_SHIFT, y >> TILE_SHIFT));
    ground_object* records = ground_object_records(list);
    const int count = list[0];
    const int32_t height = height_of(type);
    int at = 0;
    while (at < count && height_of(records[at].type) >= height) ++at;
    std::memmove(records + at + 1, records + at, sizeof(ground_object) * size_t(count - at));
    list[0] = int16_t(count + 1);
    const int variant = get_drone_type_side_flag(object_number, side) & 1;
    records[at] = {uint16_t(type),
                   uint16_t(in_tile_feet(x)),
                   uint16_t(in_tile_feet(y)),
                   uint16_t(heading >> 16),
                   0,
                   uint16_t((side & 3) << GROUND_SIDE_SHIFT | (variant ? GROUND_SIDE_VARIANT : 0))};
    return &records[at];
}

ground_object* find_dynamic_ground_object_at(const Vector3& position) {
    if (!in_world(position.x, position.y)) return nullptr;
    int16_t* list = dynamic_ground_object_tiles[tile_index(position.x >> TILE_SHIFT, position.y >> TILE_SHIFT)];
    const int32_t fx = in_tile_feet(position.x), fy = in_tile_feet(position.y);
    for (int i = 0; i < ground_object_count(list); ++i) {
        ground_object& record = ground_object_records(list)[i];
        if (record.x == fx && record.y == fy) return &record;
    }
    return nullptr;
}

int tank_site_object(int side) { return site_object(GAMEPLAY_TANK, side); }
int apc_site_object(int side) { return site_object(GAMEPLAY_APC, side); }
int sam_site_object(int side) { return site_object(GAMEPLAY_SAM, side); }
int aaa_site_object(int side) { return site_object(GAMEPLAY_AAA, side); }

void place_defence_objects() {
    clear_dynamic_ground_objects();
    for (int tx = 0; tx < SITE_TILES; ++tx) {
        for (int ty = 0; ty < SITE_TILES; ++ty) {
            GameplayCell& cell = gameplay_grid[tile_index(tx, ty)];
            for (int type : {GAMEPLAY_AAA, GAMEPLAY_SAM, GAMEPLAY_TANK, GAMEPLAY_APC}) {
                for (GameplayObject* object : get_gameplay_slots(cell, type)) {
                    if (!object) continue;
                    ground_object* record = add_dynamic_ground_object(object->x, object->y, site_object(type, cell.side),
                                                                      object->heading, cell.side);
                    if ((record->flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT == SIDE_ENEMY) record->heading = FACING_SOUTH;
                }
            }
        }
    }
    link_defence_targets();
}

void link_defence_targets() {
    for (int tx = 0; tx < SITE_TILES; ++tx) {
        for (int ty = 0; ty < SITE_TILES; ++ty) {
            GameplayCell& cell = gameplay_grid[tile_index(tx, ty)];
            for (int type : {GAMEPLAY_AAA, GAMEPLAY_SAM}) {
                for (GameplayObject* object : get_gameplay_slots(cell, type)) {
                    if (!object) continue;
                    const Vector3 position = {object->x, object->y, object->z};
                    ground_object* record = find_dynamic_ground_object_at(position);
                    if (!record) {
                        report_fatal_error("Couldn't find dynamic ground object's ground_object instance", SOURCE,
                                           __LINE__);
                        return;
                    }
                    // A site linked before holds a target of the table just cleared.
                    release_target(object->defence_target);
                    object->defence_target = new_ground_object_target(record, position);
                }
            }
        }
    }
}

void flag_lased_ground_objects() {
    int16_t* const* dynamic = world_settings.dynamic_ground_objects;
    for (int tx = 0; tx < SITE_TILES; ++tx) {
        for (int ty = 0; ty < SITE_TILES; ++ty) {
            const int tile = tile_index(tx, ty);
            for (int16_t* list : {ground_object_list(dynamic, tile), ground_object_tiles[tile]})
                for (int i = 0; i < ground_object_count(list); ++i) ground_object_records(list)[i].flags &= ~GROUND_LASED;
        }
    }
    for (int tx = 0; tx < SITE_TILES; ++tx) {
        for (int ty = 0; ty < SITE_TILES; ++ty) {
            const int tile = tile_index(tx, ty);
            for (const GameplayObject* laser : gameplay_grid[tile].laser) {
                if (!laser) continue;
                const int32_t lx = in_tile_feet(laser->x), ly = in_tile_feet(laser->y);
                ground_object* chosen = nullptr;
                int32_t chosen_distance = 0;
                for (int16_t* list : {ground_object_tiles[tile], ground_object_list(dynamic, tile)}) {
                    for (int i = 0; i < ground_object_count(list); ++i) {
                        ground_object& record = ground_object_records(list)[i];
                        if (record.flags & GROUND_LASED) continue;
                        const int32_t distance = feet_distance(record.x - lx, record.y - ly);
                        if (chosen && distance >= chosen_distance) continue;
                        chosen = &record;
                        chosen_distance = distance;
                    }
                }
                if (chosen) chosen->flags |= GROUND_LASED;
            }
        }
    }
}

ground_object* find_nearest_ground_object(int32_t x, int32_t y) {
    if (!in_world(x, y)) return nullptr;
    const int tile = tile_index(x >> TILE_SHIFT, y >> TILE_SHIFT);
    const int32_t fx = in_tile_feet(x), fy = in_tile_feet(y);
    ground_object* best = nullptr;
    int32_t best_distance = NEAREST_LIMIT_FEET;
    for (int16_t* list : {dynamic_ground_object_tiles[tile], ground_object_tiles[tile]}) {
        for (int i = 0; i < ground_object_count(list); ++i) {
            ground_object& record = ground_object_records(list)[i];
            if (is_tree(record.type)) continue;
            const int32_t distance = feet_distance(record.x - fx, record.y - fy);
            if (distance >= best_distance) continue;
            best = &record;
            best_distance = distance;
        }
    }
    return best;
}

ground_object* find_ground_object_of_type(int32_t x, int32_t y, int object_number, int32_t& distance) {
    const int tx = x >> TILE_SHIFT, ty = y >> TILE_SHIFT;
    ground_object* best = nullptr;
    int32_t best_distance = OF_TYPE_LIMIT_FEET;
    for (int cx = tx - 1; cx <= tx + 1; ++cx) {
        for (int cy = ty - 1; cy <= ty + 1; ++cy) {
            if (cx < 0 || cx >= WORLD_TILES || cy < 0 || cy >= WORLD_TILES) continue;
            const int tile = tile_index(cx, cy);
            const int64_t fx = (int64_t(x) - int64_t(cx) * TILE_UNITS) / FOOT;
            const int64_t fy = (int64_t(y) - int64_t(cy) * TILE_UNITS) / FOOT;
            for (int16_t* list : {dynamic_ground_object_tiles[tile], ground_object_tiles[tile]}) {
                for (int i = 0; i < ground_object_count(list); ++i) {
                    ground_object& record = ground_object_records(list)[i];
                    if (record.type != object_number || (record.flags & GROUND_DESTROYED)) continue;
                    const int32_t d = feet_distance(record.x - fx, record.y - fy);
                    if (d >= best_distance) continue;
                    best = &record;
                    best_distance = d;
                }
            }
        }
    }
    if (best) distance = best_distance;
    return best;
}

}  // namespace vyr
