// The per-frame display list of the 3D scene. Producers take nodes, fill them and file them by a
// depth key; the flush draws them back to front, each by the drawer of its node type. Nothing
// survives from one render to the next.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int MAX_BUFFER_NODES = 7200;
constexpr int BUFFER_BUCKETS = 768;

enum BufferNodeType : int32_t {
    NODE_TERRAIN,
    NODE_GROUND_OBJECT,
    NODE_MOBILE_OBJECT,
    NODE_SHADOW,
    NODE_GROUND_SCAR,
    NODE_EXPLOSION,
    NODE_SMOKE,
    NODE_HAZE,
    NODE_FIREBALL,
    NODE_CLOUD,
    BUFFER_NODE_TYPES
};

struct BufferNode {
    int32_t type;
    // Estimated distance from the eye in world units; negative behind the eye plane.
    int32_t key;
    // The node type's own words. The buffer reads word 0 of a ground object (its object number)
    // and word 4 of terrain (the triangle's sum of depths, which breaks ties).
    int32_t payload[6];
    void* object;  // the record drawn, for the node types that draw one of their own
    BufferNode* next;
};

using BufferDrawer = void (*)(BufferNode* node);

// The drawer of each node type; the flush calls through this table.
extern BufferDrawer buffer_drawers[BUFFER_NODE_TYPES];

void reset_object_buffer();
// A node of this frame's pool, its fields as the last frame left them; null once all are out.
BufferNode* alloc_buffer_node();
// Files a filled node: flat ground objects before everything, the rest by key.
void queue_buffer_node(BufferNode* node);
// The bucket of a key (-1 for the list behind the eye): 4,096 units wide up to 2^20, 65,536 up
// to 2^24 and 262,144 beyond; buckets 256..271 and 512..575 stay empty, 767 takes everything
// from 2^26 on.
int find_buffer_bucket(int32_t key);
// Puts the node into a bucket's list, which runs from the largest key down.
void insert_bucket_node(BufferNode* node, int bucket);
// Draws the flat ground objects, then the buckets far to near, then what lies behind the eye.
void flush_object_buffer();

// Nodes handed out this frame, and how many of them were filed behind the eye.
int get_object_buffer_count();
int get_object_buffer_back_count();

}  // namespace vyr
