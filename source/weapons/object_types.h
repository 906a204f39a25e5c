// The gameplay side of the 3D object types: names, strength against damage, hardness, target
// category and radar size, copied into the object headers at start-up; and the radar sites.
#pragma once

#include <cstdint>

namespace vyr {

enum ObjectCategory : int32_t {
    OBJECT_CATEGORY_NONE = 0,
    OBJECT_CATEGORY_AIRCRAFT = 2,
    OBJECT_CATEGORY_VEHICLE = 3,
    OBJECT_CATEGORY_BUILDING = 4,
    OBJECT_CATEGORY_AIR_MISSILE = 5,
    OBJECT_CATEGORY_GROUND_MISSILE = 6,
};

// The object numbers the code tests by value, by the names of their type rows; rows that share a
// name carry their number as well.
constexpr int32_t OBJ_AH64C_SKEREL = 64;
constexpr int32_t OBJ_AH64D_SKEREL_TARNVEL = 103;
constexpr int32_t OBJ_LHA_TARAWA = 130;
constexpr int32_t OBJ_MI24_VORN_222 = 222;
constexpr int32_t OBJ_SUPPLY_PALLETS = 473;
constexpr int32_t OBJ_VYR_HOVREN_TALSWEEP = 606;  // the player's aircraft
constexpr int32_t OBJ_MI24_VORN_607 = 607;
constexpr int32_t OBJ_MI24_VORN_990 = 990;
constexpr int32_t OBJ_RED_FLAG = 994;
constexpr int32_t OBJ_BLUE_FLAG = 995;
constexpr int32_t OBJ_CASUALTY = 1013;
constexpr int32_t OBJ_VYR_WINGMAN = 1232;

struct ObjectTypeInfo {
    int32_t object_number;  // 0 first; OBJ_BLUE_FLAG ends the table
    int32_t strength;       // damage at or above it destroys
    int32_t hardness;       // 0..3, 255 not applicable
    const char* long_name;
    const char* short_name;
    int32_t category;
    int32_t radar_size;
    int32_t target_class;
};

constexpr int OBJECT_TYPE_ROWS = 457;
extern const ObjectTypeInfo object_type_table[OBJECT_TYPE_ROWS];

// Defaults into every header of object numbers 0..1237, then the table's rows over them. A name
// too long for its header is fatal.
void apply_object_type_table();
// The long name of the table's row; "!! Null Object !!" for a number without one.
const char* get_object_type_name(int object_number);
// 1 for the radar sites.
int is_radar_object(int object_number);
// In steps of the war model's radar cover map; fatal for a number that is no radar site.
int get_radar_cover_radius(int object_number, int unused);
// The lowest altitude covered, world units; fatal for a number that is no radar site.
int get_radar_floor(int object_number, int unused);

}  // namespace vyr
