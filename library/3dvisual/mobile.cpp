#include "library/3dvisual/mobile.h"

#include <algorithm>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/shadows.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"

namespace vyr {

ObjectInstance* mobile_object_tiles[64][64];
int32_t render_tile_x = 0;
int32_t render_tile_y = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/mobobjs";
constexpr int32_t SHADOW_RANGE = 0x80000;  // shadows further ahead than 2048 ft are not drawn
constexpr int32_t SHADOW_LIFT = 256;       // a shadow lies at least a foot below its object

MobileHook link_hook = nullptr;
MobileHook unlink_hook = nullptr;

struct MobileSearch {
    bool active;
    Vector3 centre;
    int32_t radius;
    TileWalk tiles;
    ObjectInstance* last;  // the last instance returned; null before the first of a tile
};

MobileSearch search;

ObjectInstance** list_under(const Vector3& p) { return &mobile_object_tiles[p.x >> TILE_SHIFT][p.y >> TILE_SHIFT]; }

// Whether the instance is in the list; its own links may be stale once the lists were emptied.
bool filed_in(ObjectInstance* const* head, const ObjectInstance* instance) {
    if (!head) return false;
    for (const ObjectInstance* at = *head; at; at = at->next)
        if (at == instance) return true;
    return false;
}

void take_out(ObjectInstance* instance) {
    if (instance->prev) instance->prev->next = instance->next;
    else *instance->tile_list = instance->next;
    if (instance->next) instance->next->prev = instance->prev;
    instance->prev = instance->next = nullptr;
    instance->tile_list = nullptr;
    if (unlink_hook) unlink_hook(instance);
}

void set_position(ObjectInstance* instance, int32_t x, int32_t y, int32_t z) {
    Vector3& p = instance->pose->position;
    if ((x >> TILE_SHIFT) == (p.x >> TILE_SHIFT) && (y >> TILE_SHIFT) == (p.y >> TILE_SHIFT)) {
        p = {x, y, z};
        return;
    }
    unlink_mobile_object(instance);
    p = {x, y, z};
    link_mobile_object(instance);
}

// Below the clouds, or with no cloud layer in the way, the movers under the cloud base are seen;
// above it, those above the cloud top, their shadows falling on it.
enum class Filter : uint8_t { NONE, BELOW, ABOVE };

Filter choose_filter() {
    const bool clouds = current_view.flags & VIEW_CLOUDS;
    if (sky_state == SKY_IN_CLOUDS && (clouds || current_view.weather == WEATHER_OVERCAST)) return Filter::NONE;
    if (sky_state == SKY_BELOW_CLOUDS || (!clouds && current_view.weather == WEATHER_CLEAR)) return Filter::BELOW;
    return Filter::ABOVE;
}

bool counts(Filter filter, int32_t z) {
    if (filter == Filter::ABOVE) return z > current_view.cloud_top;
    return !(current_view.flags & VIEW_CLOUDS) || z < current_view.cloud_base;
}

bool ahead_within(int32_t depth, int32_t range) { return current_view.object_near_limit < depth && depth < range; }

int32_t shadow_offset(int32_t height, int32_t step) { return round31(mul64(height, step) * 8); }

// The shadow node of a mover, or null when its shadow lies out of range.
BufferNode* make_shadow_node(ObjectInstance* instance, Filter filter, bool& buffer_full) {
    const Vector3& p = instance->pose->position;
    const int32_t surface = filter == Filter::BELOW ? get_ground_height(p.x, p.y) : current_view.cloud_top;
    const int32_t height = std::max(0, p.z - surface);
    Vector3 shadow = {p.x + shadow_offset(height, shadow_step_x), p.y + shadow_offset(height, shadow_step_y), 0};
    const int32_t plane = filter == Filter::BELOW ? get_ground_height(shadow.x, shadow.y) : current_view.cloud_top;
    shadow.z = std::max(0, std::min(plane, p.z - SHADOW_LIFT));
    const int32_t depth = find_eye_depth(shadow);
    if (!ahead_within(depth, SHADOW_RANGE)) return nullptr;
    BufferNode* node = alloc_buffer_node();
    if (!node) {
        buffer_full = true;
        return nullptr;
    }
    node->type = NODE_SHADOW;
    node->key = find_eye_key(shadow, depth);
    node->object = instance;
    return node;
}

ObjectInstance* next_search_match() {
    for (;;) {
        ObjectInstance* instance = search.last ? search.last->next : mobile_object_tiles[search.tiles.x][search.tiles.y];
        for (; instance; instance = instance->next) {
            const Vector3& p = instance->pose->position;
            if (estimate_distance_3d(p.x - search.centre.x, p.y - search.centre.y, p.z - search.centre.z) <
                search.radius) {
                search.last = instance;
                return instance;
            }
        }
        search.last = nullptr;
        if (!search.tiles.advance()) {
            search.active = false;
            return nullptr;
        }
    }
}

}  // namespace

void init_mobile_lists() {
    std::fill_n(&mobile_object_tiles[0][0], WORLD_TILES * WORLD_TILES, nullptr);
    shutdown_mobile_lists();
}

void shutdown_mobile_lists() {
    link_hook = unlink_hook = nullptr;
    search.active = false;
}

void set_mobile_link_hook(MobileHook hook) { link_hook = hook; }
void set_mobile_unlink_hook(MobileHook hook) { unlink_hook = hook; }

void link_mobile_object(ObjectInstance* instance) {
    const Vector3& p = instance->pose->position;
    if (!in_world(p.x, p.y)) return;
    // Filing it twice would tie its list into a loop.
    if (filed_in(instance->tile_list, instance)) take_out(instance);
    ObjectInstance** head = list_under(p);
    instance->prev = nullptr;
    instance->next = *head;
    if (*head) (*head)->prev = instance;
    *head = instance;
    instance->tile_list = head;
    if (link_hook) link_hook(instance);
}

void unlink_mobile_object(ObjectInstance* instance) {
    const Vector3& p = instance->pose->position;
    if (!in_world(p.x, p.y)) return;
    ObjectInstance** head = list_under(p);
    if (filed_in(head, instance)) {
        take_out(instance);
        return;
    }
    // An inactive mover may have been moved without relinking; an active one is left alone.
    if ((instance->flags & INSTANCE_INACTIVE) && filed_in(instance->tile_list, instance)) take_out(instance);
}

void move_mobile_object(ObjectInstance* instance, int32_t dx, int32_t dy, int32_t dz) {
    const Vector3& p = instance->pose->position;
    set_position(instance, p.x + dx, p.y + dy, p.z + dz);
}

void place_mobile_object(ObjectInstance* instance, int32_t x, int32_t y, int32_t z) { set_position(instance, x, y, z); }

void queue_mobile_objects() {
    const Filter filter = choose_filter();
    if (filter == Filter::NONE) return;
    for (ObjectInstance* instance = mobile_object_tiles[render_tile_x][render_tile_y]; instance;
         instance = instance->next) {
        const Vector3& p = instance->pose->position;
        if (!counts(filter, p.z)) continue;
        const int32_t depth = find_eye_depth(p);
        if (!ahead_within(depth, current_view.object_visual_range)) continue;
        BufferNode* node = alloc_buffer_node();
        if (!node) return;
        node->type = NODE_MOBILE_OBJECT;
        node->key = find_eye_key(p, depth);
        node->object = instance;
        const ObjectHeader* header = get_object_header(instance->object_type);
        BufferNode* shadow = nullptr;
        bool buffer_full = false;
        if (shadows_active == 1 && header && (header->flags & OBJECT_CASTS_SHADOW))
            shadow = make_shadow_node(instance, filter, buffer_full);
        if (buffer_full && filter == Filter::BELOW) return;
        // A shadow on the ground is filed before its object, one on the cloud top after it.
        if (shadow && filter == Filter::BELOW) queue_buffer_node(shadow);
        queue_buffer_node(node);
        if (shadow && filter == Filter::ABOVE) queue_buffer_node(shadow);
        if (buffer_full) return;
    }
}

void draw_mobile_object(BufferNode* node) {
    ObjectInstance* instance = static_cast<ObjectInstance*>(node->object);
    if (instance == current_view.own_object && !(current_view.flags & VIEW_SHOW_OWN_OBJECT)) return;
    instance->view_distance = node->key;
    draw_object(instance);
}

// The viewer's own object casts its shadow even while the object itself is hidden.
void draw_mobile_shadow(BufferNode* node) {
    ObjectInstance* instance = static_cast<ObjectInstance*>(node->object);
    instance->view_distance = node->key;
    draw_object_shadow(instance);
}

ObjectInstance* search_mobile_objects(const Vector3& point, int32_t radius, int continue_search) {
    if (continue_search) {
        if (!search.active) {
            report_fatal_error("Attempted to continue completed search.", SOURCE, __LINE__);
            return nullptr;
        }
        return next_search_match();
    }
    if (!in_world(point.x, point.y)) return nullptr;
    search.centre = point;
    search.radius = radius;
    search.tiles.start(point.x, point.y, radius);
    search.last = nullptr;
    search.active = true;
    return next_search_match();
}


}  // namespace vyr
