#include "library/3dvisual/eye.h"

#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/maths/trig.h"

namespace vyr {

Pose eye_pose;
Matrix3 view_matrix;
int32_t eye_ground_height = 0;
int32_t eye_height = 0;
int32_t eye_in_world = 0;
int32_t eye_tile_x = 0, eye_tile_y = 0;
int32_t eye_tile_fraction_x = 0, eye_tile_fraction_y = 0;
int32_t eye_tile_changed = 0;
int32_t eye_in_far_grid = 0;
int32_t eye_far_block_x = 0, eye_far_block_y = 0;
int32_t eye_far_block_fraction_x = 0, eye_far_block_fraction_y = 0;
int32_t eye_far_block_changed = 0;
uint32_t view_heading = 0, view_pitch = 0, view_roll = 0;
int32_t view_sin_heading = 0, view_cos_heading = 0;
int32_t view_sin_pitch = 0, view_cos_pitch = 0;
int32_t view_sin_roll = 0, view_cos_roll = 0;
int32_t tile_origin_eye[3];
int32_t far_block_origin_eye[3];
SkyState sky_state = SKY_BELOW_CLOUDS;
int32_t shadows_active = 0;
Matrix3 object_eye_matrix;

namespace {

constexpr int TILE_SHIFT = 22;
constexpr int FAR_BLOCK_SHIFT = 26;
constexpr int64_t FAR_GRID_OFFSET = 0x18000000;  // six blocks of 2^26 west and south of the world
constexpr int64_t WORLD_LIMIT = 0x0FFFFFFF;
constexpr int64_t FAR_GRID_LIMIT = 0x3FFFFFFF;
constexpr int32_t EYE_CLEARANCE = 256;  // one foot
constexpr int32_t SHADOW_SUN_LIMIT = int32_t(0xF8E38E39);  // -10 degrees: a lower sun casts none
constexpr uint32_t STRAIGHT_UP = 0x40000000;
constexpr uint32_t STRAIGHT_DOWN = 0xC0000000;
constexpr int32_t NO_CELL = INT32_MIN;

int32_t last_tile_x = NO_CELL, last_tile_y = NO_CELL;
int32_t last_block_x = NO_CELL, last_block_y = NO_CELL;

bool within(int64_t v, int64_t limit) { return v >= 0 && v <= limit; }

// The view matrix applied to (x, y, z), each row's dot product rounded back to 32 bits.
void rotate_into_eye(int32_t x, int32_t y, int32_t z, int32_t out[3]) {
    for (int row = 0; row < 3; ++row)
        out[row] = round31(mul64(view_matrix[row][0], x) + mul64(view_matrix[row][1], y) + mul64(view_matrix[row][2], z));
}

bool casts_shadows() {
    if (!(current_view.flags & VIEW_SHADOWS) || current_view.darkness != 0) return false;
    if (current_view.sun_elevation > SHADOW_SUN_LIMIT) return false;
    return (sky_state == SKY_BELOW_CLOUDS && current_view.weather == WEATHER_CLEAR) || sky_state == SKY_ABOVE_CLOUDS;
}

}  // namespace

void reset_tile_cells() {
    last_tile_x = last_tile_y = NO_CELL;
    last_block_x = last_block_y = NO_CELL;
}

void set_eye(const Pose* eye) {
    eye_pose = *eye;
    Vector3& p = eye_pose.position;
    eye_ground_height = get_ground_height(p.x, p.y);
    if (eye_ground_height >= p.z) p.z = eye_ground_height + EYE_CLEARANCE;
    eye_height = p.z - eye_ground_height;

    eye_in_world = within(p.x, WORLD_LIMIT) && within(p.y, WORLD_LIMIT);
    eye_tile_x = p.x >> TILE_SHIFT;
    eye_tile_y = p.y >> TILE_SHIFT;
    eye_tile_fraction_x = p.x & ((1 << TILE_SHIFT) - 1);
    eye_tile_fraction_y = p.y & ((1 << TILE_SHIFT) - 1);
    eye_tile_changed = eye_tile_x != last_tile_x || eye_tile_y != last_tile_y;
    last_tile_x = eye_tile_x;
    last_tile_y = eye_tile_y;

    const int64_t grid_x = p.x + FAR_GRID_OFFSET, grid_y = p.y + FAR_GRID_OFFSET;
    eye_in_far_grid = within(grid_x, FAR_GRID_LIMIT) && within(grid_y, FAR_GRID_LIMIT);
    eye_far_block_x = int32_t(grid_x >> FAR_BLOCK_SHIFT);
    eye_far_block_y = int32_t(grid_y >> FAR_BLOCK_SHIFT);
    eye_far_block_fraction_x = int32_t(grid_x & ((1 << FAR_BLOCK_SHIFT) - 1));
    eye_far_block_fraction_y = int32_t(grid_y & ((1 << FAR_BLOCK_SHIFT) - 1));
    eye_far_block_changed = eye_far_block_x != last_block_x || eye_far_block_y != last_block_y;
    last_block_x = eye_far_block_x;
    last_block_y = eye_far_block_y;

    view_matrix = eye_pose.matrix;
    get_matrix_angles(view_matrix, view_heading, view_pitch, view_roll);
    view_sin_heading = lookup_sin(view_heading);
    view_cos_heading = lookup_cos(view_heading);
    view_sin_pitch = lookup_sin(view_pitch);
    view_cos_pitch = lookup_cos(view_pitch);
    view_sin_roll = lookup_sin(view_roll);
    view_cos_roll = lookup_cos(view_roll);

    build_view_offset_tables(view_matrix);
    rotate_into_eye(-eye_tile_fraction_x, -eye_tile_fraction_y, -p.z, tile_origin_eye);
    rotate_into_eye(-eye_far_block_fraction_x, -eye_far_block_fraction_y, -p.z, far_block_origin_eye);

    if (p.z < current_view.cloud_base) sky_state = SKY_BELOW_CLOUDS;
    else if (p.z < current_view.cloud_top) sky_state = SKY_IN_CLOUDS;
    else sky_state = SKY_ABOVE_CLOUDS;
    shadows_active = casts_shadows();
}

void set_object_eye_matrix(const Pose* object) {
    Matrix3 object_to_world;
    transpose_matrix(object_to_world, object->matrix);
    multiply_matrices(view_matrix, object_to_world, object_eye_matrix);
}

int32_t find_eye_depth(const Vector3& point) {
    const Vector3& e = eye_pose.position;
    const int32_t* forward = view_matrix[1];
    return round31(mul64(forward[0], point.x - e.x) + mul64(forward[1], point.y - e.y) + mul64(forward[2], point.z - e.z));
}

int32_t find_eye_key(const Vector3& point, int32_t depth) {
    const Vector3& e = eye_pose.position;
    const int32_t distance = estimate_distance_3d(point.x - e.x, point.y - e.y, point.z - e.z);
    return depth < 0 ? -distance : distance;
}

void get_matrix_angles(const Matrix3& matrix, uint32_t& heading, uint32_t& pitch, uint32_t& roll) {
    pitch = lookup_arcsin(matrix[1][2]);
    if (pitch == STRAIGHT_UP || pitch == STRAIGHT_DOWN) {
        heading = roll = 0;
        return;
    }
    heading = compute_bearing(matrix[1][0], matrix[1][1]);
    roll = compute_bearing(int32_t(0u - uint32_t(matrix[0][2])), matrix[2][2]);
}

uint32_t get_matrix_heading(const Matrix3& matrix) {
    uint32_t heading, pitch, roll;
    get_matrix_angles(matrix, heading, pitch, roll);
    return heading;
}

}  // namespace vyr
