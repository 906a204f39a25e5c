// Marks that weapons and wrecks leave on the ground, drawn as objects lying on the terrain: the
// crater ring, whose entries are also obstacles to the player's aircraft, and the ring of
// splashes and wreck craters, which are only drawn. A new entry overwrites the oldest of its ring.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/object_buffer.h"
#include "library/maths/matrix.h"

namespace vyr {

constexpr int MAX_GROUND_SCARS = 128;
constexpr int32_t SCAR_FREE = -1;
constexpr int32_t OBJ_CRATER = 11;
constexpr int32_t OBJ_WRECK_CRATER = 62;
constexpr int32_t OBJ_SPLASH = 384;
constexpr int32_t OBJ_HEAVE = 385;

struct GroundScar {
    int32_t x, y;
    int32_t z;            // the ground height when it was made
    int32_t object_type;  // SCAR_FREE for a free entry
    uint32_t heading;
    int32_t age;  // effect steps a splash has lived
    int32_t scale_x, scale_y, scale_z;  // 8.24
};

extern GroundScar crater_ring[MAX_GROUND_SCARS];
extern GroundScar ground_scar_ring[MAX_GROUND_SCARS];
extern int crater_cursor, ground_scar_cursor;
// The one instance every entry is drawn through.
extern ObjectInstance ground_scar_instance;
// The tallest crater object, at least 0: above the ground by more, nothing meets a crater.
extern int32_t tallest_scar_height;

// Frees both rings and finds the tallest crater object; the objects must be loaded.
void reset_ground_scars();

// Outside the world square nothing is added; the z of a position is not used. Kind 1 heaves the
// ground, any other kind leaves a crater.
void add_explosion_crater(const Vector3* position, int32_t size, int32_t kind);
void add_impact_scar(const Vector3* position);
void add_wreck_scar(const Vector3* position, const Matrix3* orientation);
void add_ground_scar(const Vector3* position, int32_t object_type, uint32_t heading);

// Splashes last five effect steps, the first three fresh.
void age_impact_scars();
void queue_ground_scars();
void draw_ground_scar(BufferNode* node);

// Whether a point lies in a crater, or a segment passes through one.
int check_point_in_crater(const Vector3& point);
int check_segment_hits_crater(const Vector3& a, const Vector3& b);

}  // namespace vyr
