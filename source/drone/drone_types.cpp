#include "source/drone/drone_types.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "source/drone/drone.h"
#include "source/mission/game_flow.h"

namespace vyr {

namespace {

constexpr int32_t INF = UNLIMITED_ROUNDS;
constexpr int WAR_ZONE_WITHOUT_VARIANTS = 2;

struct ClassRow {
    int32_t drone_class, flight_profile, ship_kind;
    std::initializer_list<int> objects;
};

const ClassRow CLASS_ROWS[] = {
    {DRONE_CLASS_HELICOPTER, FLIGHT_PROFILE_HELICOPTER, SHIP_KIND_NONE, {64, 103, 222, 307, 507, 607, 686, 990}},
    {DRONE_CLASS_AIRCRAFT, FLIGHT_PROFILE_TRANSPORT, SHIP_KIND_NONE, {34}},
    {DRONE_CLASS_AIRCRAFT, FLIGHT_PROFILE_LARGE_JET, SHIP_KIND_NONE, {1038, 1085}},
    {DRONE_CLASS_AIRCRAFT, FLIGHT_PROFILE_ATTACK, SHIP_KIND_NONE, {3, 237, 1066}},
    {DRONE_CLASS_AIRCRAFT, FLIGHT_PROFILE_FAST_JET, SHIP_KIND_NONE,
     {225, 228, 231, 234, 453, 504, 577, 606, 1056, 1232}},
    {DRONE_CLASS_TANK, FLIGHT_PROFILE_SURFACE, SHIP_KIND_NONE, {68, 90, 93, 240, 244, 456, 1050, 1076}},
    {DRONE_CLASS_VEHICLE, FLIGHT_PROFILE_SURFACE, SHIP_KIND_NONE,
     {54, 71, 77, 84, 87, 99, 100, 201, 203, 208, 211, 219, 256, 398, 450, 460, 464, 469, 496, 526, 532, 912, 924}},
    {DRONE_CLASS_ARTILLERY, FLIGHT_PROFILE_SURFACE, SHIP_KIND_NONE, {74, 204, 205, 299, 792}},
    {DRONE_CLASS_STRUCTURE, FLIGHT_PROFILE_SURFACE, SHIP_KIND_NONE, {214, 215, 257, 447, 472, 473, 994, 995}},
    {DRONE_CLASS_SHIP, FLIGHT_PROFILE_SURFACE, 0, {574}},
    {DRONE_CLASS_SHIP, FLIGHT_PROFILE_SURFACE, 1, {130}},
    {DRONE_CLASS_SHIP, FLIGHT_PROFILE_SURFACE, 2, {253, 484, 571}},
    {DRONE_CLASS_SHIP, FLIGHT_PROFILE_SURFACE, 3, {320, 489}},
    {DRONE_CLASS_SHIP, FLIGHT_PROFILE_SURFACE, 4, {347, 401, 416, 516, 565, 1014, 1016}},
    {DRONE_CLASS_SHIP, FLIGHT_PROFILE_SURFACE, 5, {316, 514}},
    {DRONE_CLASS_TRAIN, FLIGHT_PROFILE_SURFACE, SHIP_KIND_NONE, {523, 556, 559, 562}},
    {DRONE_CLASS_HUMAN, FLIGHT_PROFILE_SURFACE, SHIP_KIND_NONE,
     {640, 743, 852, 916, 917, 918, 919, 920, 921, 966, 984, 987, 988, 989, 1013}},
};

// Rows copied from a row of the side-variant set before its bit is set: the copy takes that row's
// bits as they stand, so these gain the bit from the second fill on.
const int COPIED_ROWS[][2] = {
    {80, 84},  {96, 54},   {206, 204}, {207, 204},  {216, 219},  {419, 416},
    {422, 219}, {426, 219}, {932, 34}, {1045, 74}, {1145, 34},
};

const int SIDE_VARIANTS[] = {34,  54,  71,  74,  77,  84,  87,  90,  93,  99,  100, 201, 203,
                             204, 205, 208, 211, 219, 222, 228, 237, 240, 256, 299, 398, 416,
                             450, 456, 460, 464, 469, 496, 507, 526, 532, 559, 792, 912, 990};

struct Slot {
    int32_t weapon, rounds;
};

struct LoadoutRow {
    std::initializer_list<int> objects;
    Slot slots[DRONE_TYPE_SLOTS];
    int32_t current_slot;
};

const LoadoutRow LOADOUTS[] = {
    {{3}, {{10, INF}, {58, 4}}, 0},
    {{54}, {{}, {61, 5}, {53, 500}}, 1},
    {{64}, {{1, 1200}, {3, 16}, {6, 4}}, 0},
    {{68, 90, 93, 240, 244, 456, 1050, 1076}, {{}, {50, INF}}, 1},
    {{71}, {{}, {56, 1}}, 1},
    {{74}, {{}, {51, 24}}, 1},
    {{80}, {{}, {}, {67, INF}}, 2},
    {{84}, {{}, {}, {69, INF}}, 2},
    {{87}, {{}, {}, {70, INF}}, 2},
    {{96}, {{}, {61, 4}}, 1},
    {{99, 100, 130, 211, 450}, {{}, {}, {62, INF}}, 2},
    {{201}, {{}, {}, {81, 5}}, 2},
    {{203}, {{}, {}, {64, INF}}, 2},
    {{204, 205}, {{}, {71, INF}}, 1},
    {{206}, {{}, {82, INF}}, 1},
    {{207}, {{}, {83, 1}}, 1},
    {{208}, {{}, {}, {53, INF}, {81, 5}}, 2},
    {{222}, {{19, 1470}, {52, 40}, {75, 4}}, 0},
    {{225, 577}, {{60, 675}, {58, 4}, {23, 4}}, 0},
    {{228}, {{60, 700}, {58, 4}, {75, 4}}, 1},
    {{231, 453}, {{60, 512}, {58, 4}, {23, 4}, {72, 4}}, 0},
    {{234}, {{60, 250}, {58, 2}, {74, 4}, {73, 4}}, 1},
    {{237}, {{60, 250}, {58, 8}, {52, 40}}, 0},
    {{256}, {{}, {61, 11}}, 1},
    {{299}, {{76, INF}}, 0},
    {{307}, {{}, {}, {77, INF}}, 2},
    {{316}, {{}, {78, 4}, {53, INF}, {68, 4}}, 1},
    {{320, 489, 514}, {{53, INF}, {80, 4}, {79, 36}}, 0},
    {{469}, {{}, {}, {68, INF}}, 2},
    {{507}, {{19, 500}, {}, {23, 4}}, 0},
    {{606}, {{60, 1470}, {58, 4}, {23, 4}, {72, 4}}, 0},
    {{607}, {{19, 1470}, {16, 40}, {10, 250}, {75, 4}}, 0},
    {{686}, {{52, 40}}, 0},
    {{792}, {{}, {47, INF}}, 1},
    {{852, 966}, {{45, 1000}, {45, 1000}, {45, 1000}, {45, 1000}}, 2},
    {{916, 919, 987}, {{46, 500}, {46, 500}, {46, 500}, {46, 500}}, 2},
    {{917, 920}, {{43, 6}, {43, 6}, {43, 6}, {43, 6}}, 2},
    {{918, 921}, {{44, 6}, {44, 6}, {44, 6}, {44, 6}}, 2},
    {{984}, {{}, {2, 0}}, 2},
    {{988}, {{48, 6}, {48, 6}, {48, 6}, {48, 6}}, 2},
    {{989}, {{49, 6}, {49, 6}, {49, 6}, {49, 6}}, 2},
    {{990}, {{19, 1470}, {18, 4}, {10, 500}, {75, 4}}, 0},
    {{1045}, {{}, {51, 40}}, 1},
    {{1056}, {{60, 200}, {52, 64}, {75, 4}}, 0},
    {{1066}, {{60, 500}, {58, 8}, {52, 40}, {75, 2}}, 0},
    {{1232}, {{21, 512}, {31, 4}, {28, 6}, {24, 4}, {39, 2}}, 0},
    {{640, 743, 1013}, {}, 2},
};

const int COMBAT_PROFILES[][2] = {{225, 0}, {231, 1}, {453, 2}, {1056, 3}, {228, 4}, {234, 5}, {1066, 6}};

// The flow 8 set, over the standard rows.
const LoadoutRow FLOW8_LOADOUTS[] = {
    {{3}, {{60, INF}, {58, 4}}, 0},
    {{74}, {{}, {51, 12}}, 1},
    {{222, 607}, {{60, 1200}, {4, 128}, {77, 4000}, {5, 128}}, 0},
    {{228}, {{60, 1200}, {58, 4}, {75, 4}}, 0},
    {{234}, {{60, 200}, {}, {75, 4}}, 0},
    {{237}, {{60, 250}, {}, {74, 2}}, 0},
    {{507}, {{1, 600}, {3, 16}, {6, 4}}, 0},
    {{606}, {{60, 512}, {58, 4}, {23, 4}, {72, 4}}, 0},
    {{1056}, {{60, 200}, {52, 32}, {75, 2}}, 0},
};
const int FLOW8_SHIP_KINDS[][2] = {{416, 2}, {419, 2}, {514, 3}};
const int FLOW8_SIDE_VARIANTS[] = {80, 96, 206, 207, 216, 253, 419, 422, 426, 484, 571};

const DroneTypeRow& row_of(int object_number) {
    return object_number >= 0 && object_number < DRONE_TYPE_ROWS ? drone_type_table[object_number]
                                                                   : drone_type_table[0];
}

void copy_class(int to, int from) {
    DroneTypeRow& r = drone_type_table[to];
    const DroneTypeRow& s = drone_type_table[from];
    r.flags = s.flags;
    r.drone_class = s.drone_class;
    r.flight_profile = s.flight_profile;
    r.ship_kind = s.ship_kind;
}

void copy_loadout(int to, int from) {
    DroneTypeRow& r = drone_type_table[to];
    const DroneTypeRow& s = drone_type_table[from];
    std::copy_n(s.weapons, DRONE_TYPE_SLOTS, r.weapons);
    std::copy_n(s.rounds, DRONE_TYPE_SLOTS, r.rounds);
    r.current_slot = s.current_slot;
}

void set_loadouts(const LoadoutRow* rows, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        for (int object : rows[i].objects) {
            DroneTypeRow& r = drone_type_table[object];
            for (int s = 0; s < DRONE_TYPE_SLOTS; ++s) {
                r.weapons[s] = rows[i].slots[s].weapon;
                r.rounds[s] = rows[i].slots[s].rounds;
            }
            r.current_slot = rows[i].current_slot;
        }
    }
}

// Writes only the rows and fields it names.
void fill_standard_types() {
    for (const ClassRow& c : CLASS_ROWS) {
        for (int object : c.objects) {
            DroneTypeRow& r = drone_type_table[object];
            r.flags |= DRONE_TYPE_DEFINED;
            r.drone_class = c.drone_class;
            r.flight_profile = c.flight_profile;
            r.ship_kind = c.ship_kind;
        }
    }
    for (const auto& copy : COPIED_ROWS) copy_class(copy[0], copy[1]);
    for (int object : SIDE_VARIANTS) drone_type_table[object].flags |= DRONE_TYPE_SIDE_VARIANT;
    set_loadouts(LOADOUTS, std::size(LOADOUTS));
}

}  // namespace

DroneTypeRow drone_type_table[DRONE_TYPE_ROWS];

void init_drone_types() {
    DroneTypeRow& defaults = drone_type_table[0];
    defaults = {};
    defaults.flight_profile = FLIGHT_PROFILE_SURFACE;
    defaults.ship_kind = SHIP_KIND_NONE;
    defaults.combat_profile = -1;
    for (int i = 1; i < DRONE_TYPE_ROWS; ++i) {
        copy_class(i, 0);
        copy_loadout(i, 0);
        drone_type_table[i].combat_profile = 0;
    }
    fill_standard_types();
    for (const auto& p : COMBAT_PROFILES) drone_type_table[p[0]].combat_profile = p[1];
}

void reset_drone_types() { fill_standard_types(); }

void set_flow8_drone_types() {
    fill_standard_types();
    set_loadouts(FLOW8_LOADOUTS, std::size(FLOW8_LOADOUTS));
    for (const auto& k : FLOW8_SHIP_KINDS) drone_type_table[k[0]].ship_kind = k[1];
    for (int object : FLOW8_SIDE_VARIANTS) drone_type_table[object].flags |= DRONE_TYPE_SIDE_VARIANT;
}

int get_drone_type_class(int object_number) { return row_of(object_number).drone_class; }
int get_drone_type_flight_profile(int object_number) { return row_of(object_number).flight_profile; }
int get_drone_type_ship_kind(int object_number) { return row_of(object_number).ship_kind; }

int get_drone_type_weapon(int object_number, int slot) {
    return slot >= 0 && slot < DRONE_TYPE_SLOTS ? row_of(object_number).weapons[slot] : 0;
}

int get_drone_type_rounds(int object_number, int slot) {
    return slot >= 0 && slot < DRONE_TYPE_SLOTS ? row_of(object_number).rounds[slot] : 0;
}

int get_drone_type_defined(int object_number) { return row_of(object_number).flags & DRONE_TYPE_DEFINED; }
int get_drone_type_current_slot(int object_number) { return row_of(object_number).current_slot; }

int get_drone_type_current_weapon(int object_number) {
    const DroneTypeRow& r = row_of(object_number);
    return get_drone_type_weapon(object_number, r.current_slot);
}

int get_drone_type_combat_profile(int object_number) { return row_of(object_number).combat_profile; }

int get_drone_type_side_flag(int object_number, int side) {
    if (side != SIDE_ENEMY || get_war_zone() == WAR_ZONE_WITHOUT_VARIANTS) return 0;
    return row_of(object_number).flags & DRONE_TYPE_SIDE_VARIANT ? 1 : 0;
}

}  // namespace vyr
