// The gameplay grid of the theatre: for each of the 64 x 64 tiles the side that owns it and the
// planned gameplay objects placed there, and the field of distances to the front line that the
// sides give. The mission data and the planning map fill it; the war model, the drones, the
// weapons and the debrief read the cells directly.
#pragma once

#include <cstdint>
#include <span>

#include "source/drone/task.h"

namespace vyr {

struct Target;
struct Waypoint;

constexpr int GAMEPLAY_GRID_SIZE = 64;
constexpr int GAMEPLAY_CELL_COUNT = GAMEPLAY_GRID_SIZE * GAMEPLAY_GRID_SIZE;
constexpr int MAX_GAMEPLAY_OBJECTS = 2000;
constexpr int CELL_SIDE_MASK = 7;
constexpr uint8_t NO_FRONT_LINE = 255;

// A cell's side after a reset, before the mission gives one.
constexpr int32_t SIDE_NOT_GIVEN = 3;

enum GameplayType : int32_t {
    GAMEPLAY_AAA = 1,
    GAMEPLAY_SAM = 2,
    GAMEPLAY_TANK = 3,
    GAMEPLAY_APC = 4,
    GAMEPLAY_RECON = 5,
    GAMEPLAY_LASER = 6,
    GAMEPLAY_PROHIBITED = 7,
    GAMEPLAY_TARGET = 8,
};

struct GameplayObject {
    int32_t type;  // 0: a free record
    int32_t x, y;  // world units, whole feet
    int32_t z, heading;
    Target* defence_target;  // the target of its dynamic ground object; AAA and SAM sites only
    // The ground war's: what the site fires at, when it may fire next, and its shots so far.
    Target* attack_target;
    int32_t next_shot_time;
    int32_t shots_fired;
};

// Null for an empty slot; a removal can leave gaps.
struct GameplayCell {
    int32_t side;  // bits 0-2
    GameplayObject* aaa[2];
    GameplayObject* sam[2];
    GameplayObject* tank[4];
    GameplayObject* apc[4];
    GameplayObject* recon[1];
    GameplayObject* laser[2];
    GameplayObject* prohibited[4];
    GameplayObject* target[4];
};

// Tile (tx, ty) is cell tx x 64 + ty.
extern GameplayCell gameplay_grid[GAMEPLAY_CELL_COUNT];
extern GameplayObject gameplay_objects[MAX_GAMEPLAY_OBJECTS];
// 4-neighbour steps from each tile to the nearest front-line tile; NO_FRONT_LINE when none.
extern uint8_t front_line_distance[GAMEPLAY_CELL_COUNT];

// The slots of a gameplay type 1..8 in a cell; empty for any other type.
std::span<GameplayObject*> get_gameplay_slots(GameplayCell& cell, int type);

// Positions are world units; every operation ignores one outside the world.
// Every cell of side SIDE_NOT_GIVEN and empty, every pool record free.
void reset_gameplay_grid();
// 0 outside.
int get_cell_side(int32_t x, int32_t y);
void set_cell_side(int side, int32_t x, int32_t y);
void update_front_line_distances();
// -1 outside.
int get_front_line_distance(int32_t x, int32_t y);

// A new object in the first empty slot of its type, on the foot below (x, y); nothing where the
// ground stands above 0, the pool is used up or the type's slots are full. A type outside 1..8
// is fatal.
void add_gameplay_object(int type, int32_t x, int32_t y);
// The object of that type in the cell nearest (x, y), or every one of them.
void remove_nearest_gameplay_object(int type, int32_t x, int32_t y);
void remove_gameplay_objects(int type, int32_t x, int32_t y);
// The record becomes free and its defence target is released.
void free_gameplay_object(GameplayObject* object);

// Each cell's side goes into the side bits of its side-dependent static ground objects.
void apply_cell_sides();
// Sides 1 and 2 change places.
void swap_cell_sides();

// 1 when x, y lies on a runway in a cell of the player's side; fatal without a last waypoint.
int is_friendly_runway(int32_t x, int32_t y, const Waypoint* last_waypoint);

// The sides of the grid's cells for the mission.
void apply_cell_sides();

}  // namespace vyr
