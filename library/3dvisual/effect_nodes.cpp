#include "library/3dvisual/effect_nodes.h"

#include "library/3dvisual/clip_draw.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/view.h"
#include "library/maths/trig.h"

namespace vyr {

bool effect_height_shows(int32_t z) {
    switch (sky_state) {
        case SKY_BELOW_CLOUDS: return z < current_view.cloud_base;
        case SKY_ABOVE_CLOUDS: return z > current_view.cloud_top;
        default: return false;
    }
}

EffectQueue queue_effect_node(const Vector3& position, BufferNodeType type, void* record) {
    const int32_t depth = find_eye_depth(position);
    if (depth <= current_view.object_near_limit || depth >= current_view.object_visual_range)
        return EffectQueue::SKIPPED;
    BufferNode* node = alloc_buffer_node();
    if (!node) return EffectQueue::FULL;
    node->type = type;
    node->key = find_eye_key(position, depth);
    node->object = record;
    queue_buffer_node(node);
    return EffectQueue::QUEUED;
}

Vector3 find_eye_space(const Vector3& position) {
    const int32_t d[3] = {position.x - eye_pose.position.x, position.y - eye_pose.position.y,
                          position.z - eye_pose.position.z};
    int32_t out[3];
    for (int row = 0; row < 3; ++row)
        out[row] = round31(mul64(view_matrix[row][0], d[0]) + mul64(view_matrix[row][1], d[1]) +
                           mul64(view_matrix[row][2], d[2]));
    return {out[0], out[1], out[2]};
}

void draw_effect_quad(const Vector3& centre, const EffectCorner (&corners)[4], int texture, int32_t level,
                      int reference) {
    PolyVertex quad[4] = {};
    for (int k = 0; k < 4; ++k) {
        quad[k].x = centre.x + corners[k].right;
        quad[k].y = centre.y;
        quad[k].z = centre.z + corners[k].up;
        quad[k].u = corners[k].u;
        quad[k].v = corners[k].v;
        quad[k].next = k < 3 ? &quad[k + 1] : nullptr;
    }
    draw_clipped_keyed(quad, texture, uint32_t(level), reference);
}

void draw_effect_square(const Vector3& centre, int32_t size, uint32_t angle, int texture, int32_t level,
                        int reference) {
    const int32_t n = mul31(size, lookup_sin(angle));
    const int32_t c = mul31(size, lookup_cos(angle));
    const int32_t full = EFFECT_TEXTURE_FULL;
    const EffectCorner corners[4] = {{-c + n, -n - c, 0, full},
                                     {-c - n, -n + c, 0, 0},
                                     {c - n, n + c, full, 0},
                                     {c + n, n - c, full, full}};
    draw_effect_quad(centre, corners, texture, level, reference);
}

}  // namespace vyr
