// The 3D object types and their textures: 3DOBJS.BIN and OBJTEXT.BIN of the 3D data directory,
// loaded once per run and checked through before anything reads them, so that drawing, the
// instance trees and the queries can trust every list, index and offset they hold.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"
#include "library/maths/matrix.h"

namespace vyr {

constexpr uint8_t OBJECT_CASTS_SHADOW = 1;
constexpr uint8_t OBJECT_SHADOW_DECK = 2;
constexpr uint8_t OBJECT_SOLID = 4;
// Of the gameplay flags: the object shows the side of the tile it stands in, and the plan map
// draws it in that side's colour.
constexpr int32_t OBJECT_SIDE_DEPENDENT = 1;
// Of the gameplay flags: a target whose destruction the radio remarks on.
constexpr int32_t OBJECT_TARGET_FLAG = 2;

constexpr int32_t LOD_LAST = -1;
constexpr int OBJECT_BOUND_POINTS = 8;
constexpr int MAX_OBJECT_VERTICES = 256;
constexpr int MAX_OBJECT_NORMALS = 256;
constexpr int OBJECT_POINT_BYTES = 6;  // a vertex or bound point in either form
constexpr int OBJECT_NORMAL_BYTES = 3;

// One entry of a sub-object list: type 0 takes the next number of the creator's variable list.
struct SubObject {
    int32_t type;
    Pose offset;  // relative to the parent
};

// Points are 6 bytes: three int16 in 1/16 ft for rotated objects; coarse x, y, z then fine x,
// y, z bytes (0..64, 32 is zero) for unrotated ones. Normals are three signed bytes, c / 128.
struct ObjectHeader {
    int32_t unrotated;  // 0: drawn with its instance's orientation and scale
    int32_t lod_distance;  // the farthest distance this level is drawn at; LOD_LAST
    int32_t lod_next;      // the next, coarser level
    int32_t box_min_x, box_max_x, box_min_y, box_max_y, box_min_z, box_max_z;  // box_max_z 0: flat
    int32_t radius;
    int32_t height;
    int32_t sub_object_count;
    SubObject* sub_objects;  // null when there are none
    const uint8_t* bounds;   // 8 points, or null
    int32_t vertex_count;
    const uint8_t* vertices;  // null when there are none
    int32_t normal_count;      // face normals first, then vertex normals
    int32_t face_normal_count;
    const int8_t* normals;     // null when there are none
    const uint8_t* face_code;  // null: nothing to draw
    const uint8_t* map_outline;  // int16 polygons, each an int16 count and int16 x, y points
    int32_t* unrotated_shades;   // one light value per normal; null for rotated objects
    char short_name[16];
    char long_name[64];
    uint8_t flags;
    int32_t radar_size;
    int32_t detection_range;
    int32_t hardness;
    int32_t strength;
    int32_t damage_radius;
    int32_t destroyed_type;  // -1 none
    int32_t category;
    int32_t gameplay_flags;
};

// By object number; null where the number has no object. Look numbers up through
// get_object_header.
extern ObjectHeader** object_table;
extern int32_t object_count;
// The largest height of any header, levels of detail included.
extern int32_t tallest_object;
// By texture number; null where there is none.
extern TextureRecord** texture_table;
extern int32_t texture_count;
// Set by a load; cleared once the unrotated objects are lit.
extern int32_t objects_loaded;

// The header of object `number`, or null when the number is outside the table or has none.
ObjectHeader* get_object_header(int32_t number);

// Loads both files from the world's 3D data directory the first time; later calls do nothing,
// whatever the war zone. A missing or bad file is fatal, naming the file and, for a bad object,
// its number.
void load_objects();
// Loads them from `directory` ("3DDATA\") whatever was loaded before.
void reload_objects(const char* directory);

// Works out the light of every normal of the objects drawn in world axes (unrotated 1) for
// the installed light vector.
void light_unrotated_objects();

// Rows of texels a texture of `width_class` holds: square, though never more than the 256 rows
// a face's v byte can name.
int texture_rows(int width_class);

inline int32_t read_point_int16(const uint8_t* point, int axis) {
    return int16_t(uint16_t(point[2 * axis] | point[2 * axis + 1] << 8));
}

}  // namespace vyr
