#include "library/3dvisual/shadows.h"

#include <algorithm>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/faces.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/maths/units.h"

namespace vyr {

namespace {
constexpr int32_t WORLD_LIMIT = (1 << 28) - 1;
constexpr int TILE_SHIFT = 22;
constexpr int32_t SHADOW_SHAPE = 1034;  // cast by the nozzle objects 1210 and 1211

// The shadow in hand, saved on the stack while one of its parts is drawn.
struct ShadowState {
    ObjectInstance* instance;
    uint32_t state_mask;
    Vector3 eye_offset;  // of the shadow's origin on its plane
    int32_t h;           // the origin's height above the plane's reference surface
    int32_t scale[3];
    int32_t scaled;
    int32_t facing;
};

ShadowState state{};
ShadowState shadow_stack[MAX_OBJECT_NESTING];
int stack_depth = 0;

// A point of three int16 in 1/16 ft flattened along the light onto the plane, in eye space with
// up unstretched.
void flatten(const uint8_t* point, int32_t& x, int32_t& y, int32_t& up) {
    Vector3 p{read_point_int16(point, 0) * 16, read_point_int16(point, 1) * 16, read_point_int16(point, 2) * 16};
    if (state.scaled) {
        p.x = scale_coordinate(p.x, state.scale[0]);
        p.y = scale_coordinate(p.y, state.scale[1]);
        p.z = scale_coordinate(p.z, state.scale[2]);
    }
    const Matrix3& m = state.instance->pose->matrix;
    const int32_t wx = round31(mul64(m[0][0], p.x) + mul64(m[1][0], p.y) + mul64(m[2][0], p.z));
    const int32_t wy = round31(mul64(m[0][1], p.x) + mul64(m[1][1], p.y) + mul64(m[2][1], p.z));
    const int32_t wz = round31(mul64(m[0][2], p.x) + mul64(m[1][2], p.y) + mul64(m[2][2], p.z));
    const int32_t sx = wx + shadow_offset(wz + state.h, shadow_step_x);
    const int32_t sy = wy + shadow_offset(wz + state.h, shadow_step_y);
    const Matrix3& v = view_matrix;
    x = round31(mul64(v[0][0], sx) + mul64(v[0][1], sy)) + state.eye_offset.x;
    y = round31(mul64(v[1][0], sx) + mul64(v[1][1], sy)) + state.eye_offset.y;
    up = round31(mul64(v[2][0], sx) + mul64(v[2][1], sy)) + state.eye_offset.z;
}

void draw_shadow_level(const ObjectHeader& h) {
    if (!h.face_code || !h.bounds) return;
    int32_t x[OBJECT_BOUND_POINTS], y[OBJECT_BOUND_POINTS], up[OBJECT_BOUND_POINTS];
    for (int i = 0; i < OBJECT_BOUND_POINTS; ++i) flatten(h.bounds + OBJECT_POINT_BYTES * i, x[i], y[i], up[i]);
    const int inside = classify_points(x, y, up, OBJECT_BOUND_POINTS);
    if (inside == 0) return;
    PolyVertex vertices[MAX_OBJECT_VERTICES];
    // A vertex outside the bound box can still be behind the eye: such a level is clipped.
    auto flatten_all = [&h, &vertices](bool outcodes) {
        return transform_vertices(h.vertex_count, vertices, outcodes, [&h](int i, int32_t& x, int32_t& y, int32_t& up) {
            flatten(h.vertices + OBJECT_POINT_BYTES * i, x, y, up);
        });
    };
    const bool clipped = inside == 1 || !flatten_all(false);
    if (clipped) {
        flatten_all(true);
        walk_shadow_faces_clipped(h.face_code, vertices);
    } else {
        walk_shadow_faces(h.face_code, vertices);
    }
}

}  // namespace

int32_t shadow_offset(int32_t h, int32_t step) { return round31(mul64(h, step) * 8); }

void place_shadow_on_deck(Vector3& shadow, const Vector3& origin, int32_t& h) {
    if (shadow.z != 0 || shadow.x < 0 || shadow.x > WORLD_LIMIT || shadow.y < 0 || shadow.y > WORLD_LIMIT) return;
    for (ObjectInstance* o = mobile_object_tiles[shadow.x >> TILE_SHIFT][shadow.y >> TILE_SHIFT]; o; o = o->next) {
        const ObjectHeader* deck = get_object_header(o->object_type);
        if (!deck || !(deck->flags & OBJECT_SHADOW_DECK) || !test_point_in_instance_box(o, shadow)) continue;
        shadow.z = deck->height;
        h = std::max(origin.z - deck->height, 0);
        shadow.x = origin.x + shadow_offset(h, shadow_step_x);
        shadow.y = origin.y + shadow_offset(h, shadow_step_y);
        return;
    }
}

void find_shadow_plane(const Vector3& origin, Vector3& shadow, int32_t& h) {
    const bool below_clouds = sky_state == SKY_BELOW_CLOUDS;
    const int32_t surface = below_clouds ? get_ground_height(origin.x, origin.y) : current_view.cloud_top;
    h = std::max(origin.z - surface, 0);
    shadow = {origin.x + shadow_offset(h, shadow_step_x), origin.y + shadow_offset(h, shadow_step_y), 0};
    shadow.z = std::max(std::min(origin.z - FOOT, below_clouds ? get_ground_height(shadow.x, shadow.y) : surface), 0);
    place_shadow_on_deck(shadow, origin, h);
}

void draw_object_shadow(ObjectInstance* instance) {
    const bool nozzle = instance->object_type == OBJ_NOZZLE || instance->object_type == OBJ_NOZZLE + 1;
    const ObjectHeader* header = get_object_header(nozzle ? SHADOW_SHAPE : instance->object_type);
    if (!header) return;
    state.instance = current_instance = instance;
    state.state_mask = current_state_mask = instance->state_mask;
    state.scaled = !header->unrotated && instance->scaled;
    state.scale[0] = instance->scale_x;
    state.scale[1] = instance->scale_y;
    state.scale[2] = instance->scale_z;
    if (!header->unrotated && stack_depth == 0 && header->sub_object_count > 0) place_sub_instances(instance);
    header = get_object_level(header, instance->view_distance);

    const Vector3 origin = instance->pose->position;
    Vector3 shadow;
    find_shadow_plane(origin, shadow, state.h);

    const Vector3 d{origin.x - eye_pose.position.x, origin.y - eye_pose.position.y, shadow.z - eye_pose.position.z};
    const Matrix3& v = view_matrix;
    state.eye_offset = {round31(mul64(v[0][0], d.x) + mul64(v[0][1], d.y) + mul64(v[0][2], d.z)),
                        round31(mul64(v[1][0], d.x) + mul64(v[1][1], d.y) + mul64(v[1][2], d.z)),
                        round31(mul64(v[2][0], d.x) + mul64(v[2][1], d.y) + mul64(v[2][2], d.z))};
    if (!header->unrotated) draw_shadow_level(*header);
}

void draw_sub_object_shadow(int slot) {
    ObjectInstance* part = get_part_to_draw(state.instance, slot, stack_depth);
    if (!part) return;
    state.facing = facing_value;
    shadow_stack[stack_depth++] = state;
    draw_object_shadow(part);
    state = shadow_stack[--stack_depth];
    current_instance = state.instance;
    current_state_mask = state.state_mask;
    facing_value = state.facing;
}

}  // namespace vyr
