// The battlefield war model: for every tile and each fighting side a record of the side's
// aircraft and surface units there and of its radar cover, kept current by the 3D world's link
// hooks, so that the AI finds enemies without walking every drone; the war model's own random
// generator; and the step that runs the drone war, the ground war and the battle cells.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;
struct ObjectInstance;
struct Target;

constexpr int MAX_SECTOR_DATA = 2000;
constexpr int SECTOR_LIST_SIZE = 8;
constexpr int SECTOR_TILES = 64;
// A third of a tile: the radar cover map is 192 x 192 of them.
constexpr int32_t SUB_CELL_SIZE = 0x155555;
constexpr int SUB_CELLS = SECTOR_TILES * 3;
constexpr int32_t NO_RADAR_COVER = 0x7fffffff;

// One side's record of one tile. The counts go on past the lists' 8 slots: a full list only
// counts; the player's aircraft still takes slot 0 of a full aircraft list.
struct SectorData {
    uint8_t in_use;
    Target* radar;  // the site that last lowered one of the cover values; none out of reach
    int32_t radar_cover[3][3];  // [x third][y third]: the altitude above which the side sees
    int32_t aircraft_count;  // classes 1 and 2
    int32_t surface_count;   // classes 3, 4, 5, 7, 8 and 9
    Target* aircraft[SECTOR_LIST_SIZE];  // the drones' own targets, packed from slot 0
    Target* surface[SECTOR_LIST_SIZE];
};

// [tile x][tile y][side - 1]; null until the side's record of the tile is made.
extern SectorData* sector_grid[SECTOR_TILES][SECTOR_TILES][2];
// Records of each side in use and the most there were this flight (debug watches).
extern int32_t allied_sectors_used, enemy_sectors_used;
extern int32_t max_allied_sectors_used, max_enemy_sectors_used;

// Mission set-up, before the drones are placed: the seed, an empty grid, the radar cover map of
// the ground objects' and the drones' radar sites, the link hooks, the air patrols.
void init_war_model();
// Once a simulation step: the drone war, the ground war, then the battle cells.
void update_war_model();
// Mission end: every record freed, the radar sites' targets given back, the hooks removed.
void release_war_model();
void reset_war_model_flag();
// The war model's own generator: 0..0x7fffffff, drawn alike on linked machines.
int32_t war_random();

// 0 to 0x7fffffff; callers take a signed remainder. Linked machines exchange the seed so that
// their battles draw alike; a seed taken keeps its low 31 bits, the first draw answering it.
int war_random();
int32_t get_war_seed();
void set_war_seed(int32_t seed);

// The side's record of the tile, made on first use; null for a tile outside the map or when the
// pool has no free record (reported).
SectorData* get_allied_sector_data(int tile_x, int tile_y);
SectorData* get_enemy_sector_data(int tile_x, int tile_y);
SectorData* get_sector_data(int side, int tile_x, int tile_y);
void ensure_sector_data(int tile_x, int tile_y);
// More than MAX_SECTOR_DATA in use is fatal.
SectorData* allocate_sector_data();
// Null frees nothing; a tile outside the map is fatal.
void free_sector_data(SectorData* record, int tile_x, int tile_y);

// The 3D world's link and unlink hooks, also called around moving a remote drone.
void war_drone_enter_sector(ObjectInstance* instance);
void war_drone_leave_sector(ObjectInstance* instance);
// A drone outside the map is killed; neutral drones, structures and Fortifications are never
// filed.
void file_drone_in_sector(Drone* drone, int tile_x, int tile_y);
void unfile_drone_from_sector(Drone* drone, int tile_x, int tile_y);

void add_sector_aircraft(Drone* drone, SectorData* record);
void add_sector_surface(Drone* drone, SectorData* record);
// Taking a listed drone from an overflowed list rebuilds it from the tile's movers.
void remove_sector_aircraft(Drone* drone, SectorData* record);
void remove_sector_surface(Drone* drone, SectorData* record);
void rebuild_sector_aircraft(SectorData* record, int side, int tile_x, int tile_y);
void rebuild_sector_surface(SectorData* record, int side, int tile_x, int tile_y);
// No radar and nothing counted.
int is_sector_data_empty(const SectorData* record);

// Spreads the radar's cover outward ring by ring from its sub-cell; a radar on ground of neither
// fighting side covers nothing.
void build_radar_cover(int tile_x, int tile_y, Target* radar);
// The cover altitude of the sub-cell under a world position; NO_RADAR_COVER without a record.
int32_t get_allied_radar_cover(int32_t x, int32_t y);
int32_t get_enemy_radar_cover(int32_t x, int32_t y);
// The tile's radar under a world position; null without a record.
Target* get_allied_radar_at(int32_t x, int32_t y);
Target* get_enemy_radar_at(int32_t x, int32_t y);
// 1 when the tile has no record, no radar, or its radar is destroyed.
int is_allied_radar_down(int tile_x, int tile_y);
int is_enemy_radar_down(int tile_x, int tile_y);
// The highest terrain post of the cell at the sub-cell's centre.
int32_t get_sub_cell_height(int sx, int sy);

}  // namespace vyr
