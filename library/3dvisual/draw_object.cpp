#include "library/3dvisual/draw_object.h"

#include <algorithm>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/faces.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"

namespace vyr {

ObjectInstance* current_instance = nullptr;
uint32_t current_state_mask = 0;
int32_t facing_value = 0;
int32_t nozzle_flag = 0;
int32_t translucent_colour = 0xE8;
uint8_t glow_colour[3] = {15, 15, 15};
float glow_base[3] = {0, 0, 0};
int32_t glow_alpha = 0;
int32_t flicker_level = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/draw_object";
constexpr int32_t CLEAR_TRANSLUCENT = 0xE8;
constexpr int32_t NOZZLE_BASE_COLOUR = 180, NOZZLE_HOT_COLOUR = 178;

// The state of the object in hand, saved on the stack while one of its parts is drawn.
struct DrawState {
    ObjectInstance* instance;
    uint32_t state_mask;
    Vector3 eye_offset;
    int32_t facing;
    int32_t scale[3];
    int32_t scaled;
    Matrix3 object_matrix;  // world to object, for the light
    Matrix3 eye_matrix;
};

DrawState state{};
DrawState object_stack[MAX_OBJECT_NESTING];
int stack_depth = 0;

int32_t nozzle_opening = 0;
int32_t afterburner_lit = 0;

// Eye-space right, depth and unstretched up of an object-space point in world units.
void to_eye(const Vector3& v, int32_t& x, int32_t& y, int32_t& up) {
    const Matrix3& m = object_eye_matrix;
    x = round31(mul64(m[0][0], v.x) + mul64(m[0][1], v.y) + mul64(m[0][2], v.z)) + state.eye_offset.x;
    y = round31(mul64(m[1][0], v.x) + mul64(m[1][1], v.y) + mul64(m[1][2], v.z)) + state.eye_offset.y;
    up = round31(mul64(m[2][0], v.x) + mul64(m[2][1], v.y) + mul64(m[2][2], v.z)) + state.eye_offset.z;
}

// A rotated point of three int16 in 1/16 ft, in world units and scaled.
Vector3 rotated_point(const uint8_t* point) {
    Vector3 v{read_point_int16(point, 0) * 16, read_point_int16(point, 1) * 16, read_point_int16(point, 2) * 16};
    if (state.scaled) {
        v.x = scale_coordinate(v.x, state.scale[0]);
        v.y = scale_coordinate(v.y, state.scale[1]);
        v.z = scale_coordinate(v.z, state.scale[2]);
    }
    return v;
}

// An unrotated point's eye-space coordinates from the per-view step tables: a 16 ft coarse
// step and a 1/4 ft fine step per axis.
void compact_to_eye(const uint8_t* point, int32_t& x, int32_t& y, int32_t& up) {
    const ViewOffsetTables& t = view_offset_tables;
    int32_t axes[3];
    const int32_t offsets[3] = {state.eye_offset.x, state.eye_offset.y, state.eye_offset.z};
    for (int e = 0; e < 3; ++e) {
        int32_t sum = offsets[e];
        for (int w = 0; w < 3; ++w) sum += t.fine[e][w][point[w]] + t.finest[e][w][point[3 + w]];
        axes[e] = sum;
    }
    x = axes[0];
    y = axes[1];
    up = axes[2];
}

// The nozzle's ring follows the opening: the ring closes about the axis and the lip moves aft.
void shape_nozzle_vertex(Vector3& v, int number) {
    static constexpr int RING[] = {1, 4, 5, 8, 9, 14, 15, 16, 17, 19, 22, 23, 28, 29, 30, 31};
    const bool lip = number >= 57 && number <= 90;
    const double n = nozzle_opening;
    const double f = 0.7 + 0.0025 * n, g = 0.9 + 0.0025 * n;
    if (lip || std::find(std::begin(RING), std::end(RING), number) != std::end(RING)) {
        v.x = int32_t(v.x * f);
        v.z = int32_t(int32_t((v.z - 1472) * f) + 1472);
        if (lip) v.y = int32_t(int32_t((v.y + 5952) * g) - 5952);
    }
    const uint8_t* hot = base_palette + 3 * NOZZLE_HOT_COLOUR;
    const uint8_t* base = base_palette + 3 * NOZZLE_BASE_COLOUR;
    if (afterburner_lit > 0) {
        for (int c = 0; c < 3; ++c) {
            glow_colour[c] = uint8_t(int(base[c] + (hot[c] - base[c]) * 0.01 * n));
            glow_base[c] = base[c];
        }
        const double darkness = std::clamp(double(current_view.darkness), 0.0, 0.915);
        glow_alpha = int32_t(110 - 80 * darkness);
        flicker_level = 50;
    } else {
        glow_colour[0] = glow_colour[1] = glow_colour[2] = 15;
        glow_alpha = 0;
        flicker_level = 0;
    }
}

bool transform_rotated(const ObjectHeader& h, PolyVertex* vertices, bool outcodes) {
    const int32_t type = state.instance->object_type;
    translucent_colour = type == 633 || type == 638 ? 0xFF : CLEAR_TRANSLUCENT;
    nozzle_flag = type == OBJ_NOZZLE;
    return transform_vertices(h.vertex_count, vertices, outcodes, [&h](int i, int32_t& x, int32_t& y, int32_t& up) {
        Vector3 v = rotated_point(h.vertices + OBJECT_POINT_BYTES * i);
        if (nozzle_flag) shape_nozzle_vertex(v, i);
        to_eye(v, x, y, up);
    });
}

bool transform_unrotated(const ObjectHeader& h, PolyVertex* vertices, bool outcodes) {
    translucent_colour = CLEAR_TRANSLUCENT;
    nozzle_flag = 0;
    return transform_vertices(h.vertex_count, vertices, outcodes, [&h](int i, int32_t& x, int32_t& y, int32_t& up) {
        compact_to_eye(h.vertices + OBJECT_POINT_BYTES * i, x, y, up);
    });
}

// 0: all eight corners outside one plane; 2: all inside; 1: the box crosses the view.
int test_bounds(const ObjectHeader& h) {
    int32_t x[OBJECT_BOUND_POINTS], y[OBJECT_BOUND_POINTS], up[OBJECT_BOUND_POINTS];
    for (int i = 0; i < OBJECT_BOUND_POINTS; ++i) {
        const uint8_t* point = h.bounds + OBJECT_POINT_BYTES * i;
        if (h.unrotated) compact_to_eye(point, x[i], y[i], up[i]);
        else to_eye(rotated_point(point), x[i], y[i], up[i]);
    }
    return classify_points(x, y, up, OBJECT_BOUND_POINTS);
}

// Light of each normal for the object's orientation: all of them when vertex normals shade,
// else the face normals.
void light_vertices(const ObjectHeader& h, int32_t* light) {
    const Matrix3& m = state.object_matrix;
    int32_t l[3];
    for (int r = 0; r < 3; ++r)
        l[r] = round31(mul64(m[r][0], light_vector.x) + mul64(m[r][1], light_vector.y) + mul64(m[r][2], light_vector.z));
    const int count = (current_view.object_textures & 2) ? h.normal_count : h.face_normal_count;
    for (int i = 0; i < count; ++i) {
        const int8_t* n = h.normals + OBJECT_NORMAL_BYTES * i;
        const int32_t value =
            round31(mul64(n[0] * (1 << 24), l[0]) + mul64(n[1] * (1 << 24), l[1]) + mul64(n[2] * (1 << 24), l[2]));
        light[i] = std::max(value, 0);
    }
}

void draw_level(const ObjectHeader& h) {
    PolyVertex vertices[MAX_OBJECT_VERTICES];
    int32_t light[MAX_OBJECT_NORMALS] = {};  // a level without normals is drawn in darkness, not garbage
    if (!h.face_code || !h.bounds) return;
    const bool unrotated = h.unrotated != 0;
    if (!unrotated) set_object_eye_matrix(state.instance->pose);
    const int inside = test_bounds(h);
    if (inside == 0) return;
    auto transform = [&](bool outcodes) {
        return unrotated ? transform_unrotated(h, vertices, outcodes) : transform_rotated(h, vertices, outcodes);
    };
    // A vertex outside the bound box can still be behind the eye: such a level is clipped.
    const bool clipped = inside == 1 || !transform(false);
    if (clipped) transform(true);
    const int32_t* shades = light;
    if (unrotated) {
        if (h.unrotated_shades) shades = h.unrotated_shades;
    } else if (h.normals) {
        light_vertices(h, light);
    }
    if (clipped) walk_faces_clipped(h.face_code, vertices, shades);
    else walk_faces(h.face_code, vertices, shades);
}

}  // namespace

int32_t scale_coordinate(int32_t value, int32_t scale) {
    const int64_t product = int64_t(value) * scale;
    return int32_t((product >> 24) + ((product >> 23) & 1));
}

const ObjectHeader* get_object_level(const ObjectHeader* header, int32_t view_distance, int* level) {
    int number = 0;
    for (; header->lod_distance != LOD_LAST && header->lod_distance < view_distance; ++number)
        header = get_object_header(header->lod_next);
    if (level) *level = number;
    return header;
}

void draw_object(ObjectInstance* instance) {
    const ObjectHeader* header = get_object_header(instance->object_type);
    if (!header) return;
    state.instance = current_instance = instance;
    state.state_mask = current_state_mask = instance->state_mask;
    state.scaled = !header->unrotated && instance->scaled;
    state.scale[0] = instance->scale_x;
    state.scale[1] = instance->scale_y;
    state.scale[2] = instance->scale_z;
    state.object_matrix = instance->pose->matrix;
    int level = 0;
    header = get_object_level(header, instance->view_distance, &level);
    if (!header->unrotated && stack_depth == 0) {
        if (animation_hook) animation_hook(instance, level);
        if (header->sub_object_count > 0) place_sub_instances(instance);
    }
    const Vector3 d{instance->pose->position.x - eye_pose.position.x, instance->pose->position.y - eye_pose.position.y,
                    instance->pose->position.z - eye_pose.position.z};
    const Matrix3& v = view_matrix;
    state.eye_offset = {round31(mul64(v[0][0], d.x) + mul64(v[0][1], d.y) + mul64(v[0][2], d.z)),
                        round31(mul64(v[1][0], d.x) + mul64(v[1][1], d.y) + mul64(v[1][2], d.z)),
                        round31(mul64(v[2][0], d.x) + mul64(v[2][1], d.y) + mul64(v[2][2], d.z))};
    draw_level(*header);
}

ObjectInstance* get_part_to_draw(ObjectInstance* parent, int slot, int depth) {
    if (!parent->sub_instances || slot >= parent->count || !parent->sub_instances[slot]) return nullptr;
    if (depth >= MAX_OBJECT_NESTING) {
        report_fatal_error("Error - object complexity exceeded normal limits.", SOURCE, __LINE__);
        return nullptr;
    }
    ObjectInstance* part = parent->sub_instances[slot];
    part->view_distance = parent->view_distance;
    return part;
}

void draw_sub_object(int slot) {
    ObjectInstance* part = get_part_to_draw(state.instance, slot, stack_depth);
    if (!part) return;
    state.facing = facing_value;
    state.eye_matrix = object_eye_matrix;
    object_stack[stack_depth++] = state;
    draw_object(part);
    state = object_stack[--stack_depth];
    current_instance = state.instance;
    current_state_mask = state.state_mask;
    facing_value = state.facing;
    object_eye_matrix = state.eye_matrix;
}

void set_nozzle_opening(int32_t value) { nozzle_opening = value; }
void set_afterburner_lit(int32_t flag) { afterburner_lit = flag; }

}  // namespace vyr
