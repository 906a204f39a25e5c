#include "library/3dvisual/object_buffer.h"

#include <algorithm>

#include "library/3dvisual/clouds.h"
#include "library/3dvisual/explosions.h"
#include "library/3dvisual/fireballs.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/terrain_accel.h"
#include "library/3dvisual/terrain_soft.h"
#include "library/debug/fatal.h"
#include "library/graphics/screen.h"

namespace vyr {

namespace {

void draw_terrain_node(BufferNode* node) {
    if (accelerator_flag) draw_terrain_node_accel(node);
    else draw_terrain_node_soft(node);
}

BufferNode pool[MAX_BUFFER_NODES];
int object_buffer_count = 0;
int object_buffer_back_count = 0;
BufferNode* buckets[BUFFER_BUCKETS];
BufferNode* rear_list = nullptr;
BufferNode* flat_list = nullptr;

bool is_flat_ground_object(const BufferNode& node) {
    if (node.type != NODE_GROUND_OBJECT) return false;
    const ObjectHeader* header = get_object_header(node.payload[0]);
    return header && header->box_max_z == 0;
}

// True when `node` is drawn before `other`, which is already in the bucket, for an equal key.
bool wins_tie(const BufferNode& node, const BufferNode& other) {
    return node.type == NODE_TERRAIN && other.type == NODE_TERRAIN && node.payload[4] > other.payload[4];
}

void draw_list(BufferNode* head) {
    for (BufferNode* node = head; node; node = node->next) {
        if (node->type < 0 || node->type >= BUFFER_NODE_TYPES) {
            report_fatal_error("Unknown object type.", __FILE__, __LINE__);
            continue;
        }
        buffer_drawers[node->type](node);
    }
}

}  // namespace

BufferDrawer buffer_drawers[BUFFER_NODE_TYPES] = {
    draw_terrain_node, draw_ground_object, draw_mobile_object, draw_mobile_shadow, draw_ground_scar,
    draw_explosion,    draw_smoke,         draw_haze,          draw_fireball,      draw_cloud_polygon,
};

void reset_object_buffer() {
    object_buffer_count = 0;
    object_buffer_back_count = 0;
    std::fill(std::begin(buckets), std::end(buckets), nullptr);
    rear_list = nullptr;
    flat_list = nullptr;
}

BufferNode* alloc_buffer_node() {
    if (object_buffer_count >= MAX_BUFFER_NODES) return nullptr;
    return &pool[object_buffer_count++];
}

int find_buffer_bucket(int32_t key) {
    if (key < 0) return -1;
    if (key < (1 << 20)) return key >> 12;
    if (key < (1 << 24)) return (key >> 16) + 256;
    if (key < (1 << 26)) return (key >> 18) + 512;
    return BUFFER_BUCKETS - 1;
}

void queue_buffer_node(BufferNode* node) {
    if (is_flat_ground_object(*node)) {
        node->next = flat_list;
        flat_list = node;
        return;
    }
    const int bucket = find_buffer_bucket(node->key);
    if (bucket < 0) {
        node->next = rear_list;
        rear_list = node;
        ++object_buffer_back_count;
        return;
    }
    insert_bucket_node(node, bucket);
}

void insert_bucket_node(BufferNode* node, int bucket) {
    BufferNode** link = &buckets[bucket];
    while (*link && ((*link)->key > node->key || ((*link)->key == node->key && !wins_tie(*node, **link))))
        link = &(*link)->next;
    node->next = *link;
    *link = node;
}

void flush_object_buffer() {
    for (BufferNode* node = flat_list; node; node = node->next) buffer_drawers[NODE_GROUND_OBJECT](node);
    for (int bucket = BUFFER_BUCKETS - 1; bucket >= 0; --bucket) draw_list(buckets[bucket]);
    draw_list(rear_list);
}

int get_object_buffer_count() { return object_buffer_count; }
int get_object_buffer_back_count() { return object_buffer_back_count; }

}  // namespace vyr
