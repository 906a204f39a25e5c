#include "source/warmodel/war_model.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"
#include "library/maths/vector.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/sknet/game_rules.h"
#include "source/warmodel/battle_cells.h"
#include "source/warmodel/cap.h"
#include "source/weapons/object_types.h"
#include "source/weapons/target.h"

namespace vyr {

SectorData* sector_grid[SECTOR_TILES][SECTOR_TILES][2];
int32_t allied_sectors_used, enemy_sectors_used;
int32_t max_allied_sectors_used, max_enemy_sectors_used;

namespace {

constexpr const char* SOURCE = "source/warmodel/war_model";
constexpr int32_t SUB_CELL_CENTRE = 0xaaaaa;
constexpr int32_t DISPLAY_KIND_COUNTER = 3;

struct SectorPool {
    SectorData records[MAX_SECTOR_DATA];
    int used;
    int hint;  // the index after the last record taken
};

SectorPool sector_pool;
int32_t war_seed = 1;
// The ground-object targets the cover map was built with: the war model gives them back at
// release, whichever records still name them.
std::vector<Target*> radar_site_targets;

bool tile_on_map(int tile_x, int tile_y) {
    return tile_x >= 0 && tile_x < SECTOR_TILES && tile_y >= 0 && tile_y < SECTOR_TILES;
}

// Two steps of the shared generator from `seed`, folded into 31 bits; `random_seed` keeps the
// second step.
int32_t next_war_seed(int32_t seed) {
    random_seed = seed;
    next_random(random_seed);
    const int32_t first = random_seed;
    next_random(random_seed);
    return (first & 0x7fff0000) | ((random_seed >> 16) & 0x7fff);
}

int drone_side(const Drone* drone) { return (drone->object.flags >> INSTANCE_SIDE_SHIFT) & 3; }

bool is_air_class(int drone_class) {
    return drone_class == DRONE_CLASS_HELICOPTER || drone_class == DRONE_CLASS_AIRCRAFT;
}

bool is_surface_class(int drone_class) {
    return drone_class >= DRONE_CLASS_TANK && drone_class <= DRONE_CLASS_HUMAN && drone_class != DRONE_CLASS_STRUCTURE;
}

// Drones the lists never hold: a tile off the map, Fortifications, neither fighting side, a
// structure or no class at all.
bool is_never_filed(const Drone* drone, int tile_x, int tile_y) {
    const int side = drone_side(drone);
    return !tile_on_map(tile_x, tile_y) || drone->task->type == TASK_FORTIFICATIONS ||
           (side != SIDE_ALLIED && side != SIDE_ENEMY) || drone->drone_class == DRONE_CLASS_STRUCTURE;
}

int32_t& side_counter(int side) { return side == SIDE_ALLIED ? allied_sectors_used : enemy_sectors_used; }
int32_t& side_maximum(int side) { return side == SIDE_ALLIED ? max_allied_sectors_used : max_enemy_sectors_used; }

// One list of a record: the aircraft or the surface units.
struct SectorList {
    int32_t& count;
    Target** slots;
    bool (*holds_class)(int drone_class);
};

SectorList aircraft_list(SectorData* record) { return {record->aircraft_count, record->aircraft, is_air_class}; }
SectorList surface_list(SectorData* record) { return {record->surface_count, record->surface, is_surface_class}; }

void add_to_list(const SectorList& list, Drone* drone, bool user_takes_slot_0) {
    if (list.count < SECTOR_LIST_SIZE)
        list.slots[list.count] = &drone->target;
    else if (user_takes_slot_0 && drone == user_drone)
        list.slots[0] = &drone->target;
    ++list.count;
}

// Everything of the side in the tile's movers that leaving would take off this list; the
// departing drone has already left the tile's movers.
void rebuild_list(const SectorList& list, int side, int tile_x, int tile_y, bool user_takes_slot_0) {
    list.count = 0;
    std::fill_n(list.slots, SECTOR_LIST_SIZE, nullptr);
    for (ObjectInstance* at = mobile_object_tiles[tile_x][tile_y]; at; at = at->next) {
        if (at->owner_kind != OWNER_DRONE) continue;
        Drone* drone = static_cast<Drone*>(at->owner);
        if (drone_side(drone) != side || !list.holds_class(drone->drone_class) || is_never_filed(drone, tile_x, tile_y))
            continue;
        add_to_list(list, drone, user_takes_slot_0);
    }
}

// Returns whether the drone was listed and the list had overflowed, so must be rebuilt.
bool remove_from_list(const SectorList& list, Drone* drone) {
    const int32_t n = list.count;
    if (n == 0) {
        dump_drone(drone);
        return false;
    }
    const int searched = std::min(n, SECTOR_LIST_SIZE);
    const Target* target = &drone->target;
    bool found = false;
    for (int i = 0; i < searched && !found; ++i) {
        if (list.slots[i] != target) continue;
        found = true;
        list.slots[i] = list.slots[searched - 1];
        list.slots[searched - 1] = nullptr;
    }
    --list.count;
    return found && n >= SECTOR_LIST_SIZE;
}

// The third of its tile a coordinate lies in; the tile's last unit divides to 3, and a radar
// filed under a tile it does not stand in is held to the tile's edge.
int tile_third(int32_t coordinate, int tile) {
    const int64_t into = int64_t(coordinate) - (int64_t(tile) << TILE_SHIFT);
    return int(std::clamp<int64_t>(into / SUB_CELL_SIZE, 0, 2));
}

int32_t& cover_slot(SectorData* record, int sx, int sy) { return record->radar_cover[sx % 3][sy % 3]; }

int sign(int v) { return (v > 0) - (v < 0); }

struct RadarSite {
    int side;
    Target* target;
    int sx, sy;
    int32_t floor;
};

void update_radar_cover_cell(const RadarSite& radar, int sx, int sy) {
    if (sx < 0 || sx >= SUB_CELLS || sy < 0 || sy >= SUB_CELLS) return;
    SectorData* record = get_sector_data(radar.side, sx / 3, sy / 3);
    if (!record) return;
    int32_t altitude = radar.floor;
    if (sx != radar.sx || sy != radar.sy) {
        const int dx = radar.sx - sx, dy = radar.sy - sy;
        const int nx = sx + sign(dx), ny = sy + sign(dy);
        // The neighbour toward the radar lies on an earlier ring, so its record exists.
        const SectorData* toward = sector_grid[nx / 3][ny / 3][radar.side - 1];
        const int32_t ground_toward = get_sub_cell_height(nx, ny);
        int32_t carried = toward ? toward->radar_cover[nx % 3][ny % 3] : NO_RADAR_COVER;
        if (carried == NO_RADAR_COVER) carried = ground_toward;
        const bool neighbour_is_radar = nx == radar.sx && ny == radar.sy;
        if (!neighbour_is_radar && carried != ground_toward && carried != radar.floor)
            carried = carried / estimate_distance_2d(radar.sx - nx, radar.sy - ny) * estimate_distance_2d(dx, dy);
        altitude = std::max({radar.floor, carried, get_sub_cell_height(sx, sy)});
    }
    int32_t& slot = cover_slot(record, sx, sy);
    if (record->radar && altitude >= slot) return;
    slot = altitude;
    record->radar = radar.target;
}

void install_radar_cover(int tile, int16_t* list) {
    ground_object* records = ground_object_records(list);
    for (int i = 0; i < ground_object_count(list); ++i) {
        if (!is_radar_object(records[i].type)) continue;
        Vector3 position = ground_object_position(tile, records[i]);
        position.z = get_ground_height(position.x, position.y);
        Target* target = new_ground_object_target(&records[i], position);
        if (!target) continue;
        radar_site_targets.push_back(target);
        build_radar_cover(tile / SECTOR_TILES, tile % SECTOR_TILES, target);
    }
}

void release_radar_site_targets() {
    for (Target* target : radar_site_targets) release_target(target);
    radar_site_targets.clear();
}

void clear_sector_grid() {
    std::fill_n(&sector_grid[0][0][0], SECTOR_TILES * SECTOR_TILES * 2, nullptr);
    std::memset(static_cast<void*>(&sector_pool), 0, sizeof sector_pool);
}

int32_t side_radar_cover(int side, int32_t x, int32_t y) {
    const int tile_x = x >> TILE_SHIFT, tile_y = y >> TILE_SHIFT;
    if (!tile_on_map(tile_x, tile_y)) return NO_RADAR_COVER;
    const SectorData* record = sector_grid[tile_x][tile_y][side - 1];
    return record ? record->radar_cover[tile_third(x, tile_x)][tile_third(y, tile_y)] : NO_RADAR_COVER;
}

Target* side_radar_at(int side, int32_t x, int32_t y) {
    const int tile_x = x >> TILE_SHIFT, tile_y = y >> TILE_SHIFT;
    if (!tile_on_map(tile_x, tile_y)) return nullptr;
    const SectorData* record = sector_grid[tile_x][tile_y][side - 1];
    return record ? record->radar : nullptr;
}

int is_side_radar_down(int side, int tile_x, int tile_y) {
    if (!tile_on_map(tile_x, tile_y)) return 1;
    const SectorData* record = sector_grid[tile_x][tile_y][side - 1];
    return !record || !record->radar || is_target_destroyed(record->radar) ? 1 : 0;
}

}  // namespace

int war_random() {
    const int32_t result = war_seed;
    war_seed = next_war_seed(war_seed);
    return result;
}

int32_t get_war_seed() { return war_seed; }

void set_war_seed(int32_t seed) { war_seed = seed & 0x7fffffff; }

void init_war_model() {
    allied_sectors_used = enemy_sectors_used = 0;
    max_allied_sectors_used = max_enemy_sectors_used = 0;
    // Linked machines all start from 1, drawing alike until player 0's seed arrives.
    war_seed = connection_mode != CONNECTION_NONE ? 1 : next_war_seed(random_seed);
    watch_debug_value("War: allied sectors used......", DISPLAY_KIND_COUNTER, &allied_sectors_used);
    watch_debug_value("War: enemy sectors used.......", DISPLAY_KIND_COUNTER, &enemy_sectors_used);
    watch_debug_value("War: max allied sectors used..", DISPLAY_KIND_COUNTER, &max_allied_sectors_used);
    watch_debug_value("War: max enemy sectors used...", DISPLAY_KIND_COUNTER, &max_enemy_sectors_used);
    release_radar_site_targets();  // a mission that was never released
    clear_sector_grid();
    int16_t* const* dynamic = current_world_settings ? current_world_settings->dynamic_ground_objects : nullptr;
    for (int tile = 0; tile < SECTOR_TILES * SECTOR_TILES; ++tile) {
        install_radar_cover(tile, ground_object_list(ground_object_tiles, tile));
        install_radar_cover(tile, ground_object_list(dynamic, tile));
    }
    for (Task* task = get_first_task(); task; task = get_next_task(task))
        for (Drone* drone = task->first_drone; drone; drone = get_next_drone(drone)) {
            if (!is_radar_object(get_drone_object_number(drone)) || !drone->first_waypoint) continue;
            build_radar_cover(drone->first_waypoint->x >> TILE_SHIFT, drone->first_waypoint->y >> TILE_SHIFT,
                              &drone->target);
        }
    set_mobile_link_hook(war_drone_enter_sector);
    set_mobile_unlink_hook(war_drone_leave_sector);
    init_cap();
}

void update_war_model() {
    update_drone_war();
    update_ground_war();
    update_battle_cells();
}

void release_war_model() {
    set_mobile_link_hook(nullptr);
    set_mobile_unlink_hook(nullptr);
    for (int tile_x = 0; tile_x < SECTOR_TILES; ++tile_x)
        for (int tile_y = 0; tile_y < SECTOR_TILES; ++tile_y)
            for (SectorData*& record : sector_grid[tile_x][tile_y]) {
                free_sector_data(record, tile_x, tile_y);
                record = nullptr;
            }
    release_radar_site_targets();
}

SectorData* get_sector_data(int side, int tile_x, int tile_y) {
    if (!tile_on_map(tile_x, tile_y) || (side != SIDE_ALLIED && side != SIDE_ENEMY)) return nullptr;
    SectorData*& record = sector_grid[tile_x][tile_y][side - 1];
    if (record) return record;
    record = allocate_sector_data();
    if (!record) return nullptr;
    std::fill_n(&record->radar_cover[0][0], 9, NO_RADAR_COVER);
    int32_t& used = side_counter(side);
    side_maximum(side) = std::max(side_maximum(side), ++used);
    return record;
}

SectorData* get_allied_sector_data(int tile_x, int tile_y) { return get_sector_data(SIDE_ALLIED, tile_x, tile_y); }
SectorData* get_enemy_sector_data(int tile_x, int tile_y) { return get_sector_data(SIDE_ENEMY, tile_x, tile_y); }

void ensure_sector_data(int tile_x, int tile_y) {
    get_allied_sector_data(tile_x, tile_y);
    get_enemy_sector_data(tile_x, tile_y);
}

SectorData* allocate_sector_data() {
    if (++sector_pool.used > MAX_SECTOR_DATA) {
        report_fatal_error("War model: Out of storage space, need more that %d slots\n\t\t"
                           "Please enlarge the sector data pool.",
                           SOURCE, __LINE__, MAX_SECTOR_DATA);
        --sector_pool.used;
        return nullptr;
    }
    for (int pass = 0; pass < 2; ++pass) {
        const int first = pass == 0 ? sector_pool.hint : 0, last = pass == 0 ? MAX_SECTOR_DATA : sector_pool.hint;
        for (int i = first; i < last; ++i) {
            if (sector_pool.records[i].in_use) continue;
            sector_pool.records[i].in_use = 1;
            sector_pool.hint = i + 1;
            return &sector_pool.records[i];
        }
    }
    --sector_pool.used;
    report_fatal_error("War model: Couldn't find space in map for data", SOURCE, __LINE__);
    return nullptr;
}

void free_sector_data(SectorData* record, int tile_x, int tile_y) {
    if (!record) return;
    if (!tile_on_map(tile_x, tile_y)) {
        report_fatal_error("War model: Trying to release sector data that's outside the map", SOURCE, __LINE__);
        return;
    }
    --sector_pool.used;
    std::memset(static_cast<void*>(record), 0, sizeof *record);
}

void war_drone_enter_sector(ObjectInstance* instance) {
    if ((instance->flags & INSTANCE_INACTIVE) || instance->owner_kind != OWNER_DRONE) return;
    const Vector3& p = instance->pose->position;
    file_drone_in_sector(static_cast<Drone*>(instance->owner), p.x >> TILE_SHIFT, p.y >> TILE_SHIFT);
}

void war_drone_leave_sector(ObjectInstance* instance) {
    if (instance->owner_kind != OWNER_DRONE) return;
    const Vector3& p = instance->pose->position;
    unfile_drone_from_sector(static_cast<Drone*>(instance->owner), p.x >> TILE_SHIFT, p.y >> TILE_SHIFT);
}

void file_drone_in_sector(Drone* drone, int tile_x, int tile_y) {
    if (!tile_on_map(tile_x, tile_y)) {
        kill_drone(drone);
        return;
    }
    if (is_never_filed(drone, tile_x, tile_y)) return;
    const bool air = is_air_class(drone->drone_class);
    if (!air && !is_surface_class(drone->drone_class)) return;
    SectorData* record = get_sector_data(drone_side(drone), tile_x, tile_y);
    if (!record) return;
    if (air)
        add_sector_aircraft(drone, record);
    else
        add_sector_surface(drone, record);
}

void unfile_drone_from_sector(Drone* drone, int tile_x, int tile_y) {
    if (is_never_filed(drone, tile_x, tile_y)) return;
    const int side = drone_side(drone);
    SectorData*& record = sector_grid[tile_x][tile_y][side - 1];
    const bool air = is_air_class(drone->drone_class);
    if (!record || (!air && !is_surface_class(drone->drone_class))) {
        dump_drone(drone);
        return;
    }
    if (air)
        remove_sector_aircraft(drone, record);
    else
        remove_sector_surface(drone, record);
    if (!is_sector_data_empty(record)) return;
    free_sector_data(record, tile_x, tile_y);
    record = nullptr;
    --side_counter(side);
}

void add_sector_aircraft(Drone* drone, SectorData* record) { add_to_list(aircraft_list(record), drone, true); }
void add_sector_surface(Drone* drone, SectorData* record) { add_to_list(surface_list(record), drone, false); }

void remove_sector_aircraft(Drone* drone, SectorData* record) {
    if (!remove_from_list(aircraft_list(record), drone)) return;
    const Vector3& p = drone->pose.position;
    rebuild_sector_aircraft(record, drone_side(drone), p.x >> TILE_SHIFT, p.y >> TILE_SHIFT);
}

void remove_sector_surface(Drone* drone, SectorData* record) {
    if (!remove_from_list(surface_list(record), drone)) return;
    const Vector3& p = drone->pose.position;
    rebuild_sector_surface(record, drone_side(drone), p.x >> TILE_SHIFT, p.y >> TILE_SHIFT);
}

void rebuild_sector_aircraft(SectorData* record, int side, int tile_x, int tile_y) {
    rebuild_list(aircraft_list(record), side, tile_x, tile_y, true);
}

void rebuild_sector_surface(SectorData* record, int side, int tile_x, int tile_y) {
    rebuild_list(surface_list(record), side, tile_x, tile_y, false);
}

int is_sector_data_empty(const SectorData* record) {
    return !record->radar && record->aircraft_count == 0 && record->surface_count == 0;
}

void build_radar_cover(int tile_x, int tile_y, Target* radar) {
    if (!tile_on_map(tile_x, tile_y)) return;
    const int side = gameplay_grid[tile_index(tile_x, tile_y)].side & CELL_SIDE_MASK;
    if (side != SIDE_ALLIED && side != SIDE_ENEMY) return;
    Vector3 position;
    get_target_position(radar, position);
    const int object_number = get_target_object_number(radar);
    const RadarSite site = {side, radar, tile_x * 3 + tile_third(position.x, tile_x),
                            tile_y * 3 + tile_third(position.y, tile_y), get_radar_floor(object_number, 0)};
    update_radar_cover_cell(site, site.sx, site.sy);
    const int rings = 3 * (get_radar_cover_radius(object_number, 0) / 2) + 1;
    // A ring is finished before the next starts: each cell's neighbour toward the radar is done.
    for (int k = 1; k <= rings; ++k)
        for (int i = 0; i <= 2 * k; ++i) {
            update_radar_cover_cell(site, site.sx - k, site.sy - k + i);
            update_radar_cover_cell(site, site.sx - k + i, site.sy + k);
            update_radar_cover_cell(site, site.sx + k, site.sy + k - i);
            update_radar_cover_cell(site, site.sx + k - i, site.sy - k);
        }
}

int32_t get_allied_radar_cover(int32_t x, int32_t y) { return side_radar_cover(SIDE_ALLIED, x, y); }
int32_t get_enemy_radar_cover(int32_t x, int32_t y) { return side_radar_cover(SIDE_ENEMY, x, y); }
Target* get_allied_radar_at(int32_t x, int32_t y) { return side_radar_at(SIDE_ALLIED, x, y); }
Target* get_enemy_radar_at(int32_t x, int32_t y) { return side_radar_at(SIDE_ENEMY, x, y); }
int is_allied_radar_down(int tile_x, int tile_y) { return is_side_radar_down(SIDE_ALLIED, tile_x, tile_y); }
int is_enemy_radar_down(int tile_x, int tile_y) { return is_side_radar_down(SIDE_ENEMY, tile_x, tile_y); }

int32_t get_sub_cell_height(int sx, int sy) {
    return get_cell_max_height(sx * SUB_CELL_SIZE + SUB_CELL_CENTRE, sy * SUB_CELL_SIZE + SUB_CELL_CENTRE);
}

}  // namespace vyr
