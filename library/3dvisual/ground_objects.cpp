#include "library/3dvisual/ground_objects.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "library/3dvisual/bad_file.h"
#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "library/system/memory.h"

namespace vyr {

int16_t* ground_object_tiles[4096];

namespace {

constexpr const char* SOURCE = "library/3dvisual/gndobjs";
constexpr int TILE_COUNT = WORLD_TILES * WORLD_TILES;
constexpr int64_t TABLE_BYTES = 4 * TILE_COUNT;
constexpr int64_t RECORD_BYTES = 12;
constexpr int32_t OUTLINE_UNIT = 16;  // map outline points are in 16 world units
// Plan-map colours by side; neutral records are not shown.
constexpr int MAP_SIDE_COLOURS[4] = {0, 205, 206, 207};

// The words of a ground object's node; the object number comes first, where the buffer reads it.
enum GroundNodeWord { GROUND_NODE_TYPE, GROUND_NODE_X, GROUND_NODE_Y, GROUND_NODE_HEADING, GROUND_NODE_SIDE_VARIANT, GROUND_NODE_STATE };

// Roads, embankments, floodlights, blast walls and the like are drawn but count as destroyed
// from the start, so that nothing of the game aims at them.
constexpr uint16_t PRESET_DESTROYED[] = {125, 127, 387, 441, 442, 482, 483, 505, 890, 906, 908};

// The lists of the last load, in one block.
void* loaded_lists = nullptr;

enum SearchState : int32_t { SEARCH_NONE, SEARCH_STATIC, SEARCH_DYNAMIC, SEARCH_COMPLETED };

struct GroundSearch {
    int32_t state;
    Vector3 centre;
    int32_t radius;
    TileWalk tiles;
    int next;  // the index in the current list to look at next
};

GroundSearch search;

int16_t* const* dynamic_table() { return current_world_settings->dynamic_ground_objects; }

}  // namespace

Vector3 ground_object_position(int tile, const ground_object& record) {
    return {(tile / WORLD_TILES << TILE_SHIFT) + record.x * FOOT, (tile % WORLD_TILES << TILE_SHIFT) + record.y * FOOT,
            0};
}

namespace {

// Where each tile's list lies in the file, every offset and count proven inside it.
struct FileLists {
    int64_t at[TILE_COUNT];
    int32_t count[TILE_COUNT];
    int64_t records;
};

void check_file(const std::string& name, const uint8_t* bytes, int64_t size, FileLists& lists) {
    if (size < TABLE_BYTES) fail("%s", (name + " is too short to hold its table of tile lists").c_str());
    lists.records = 0;
    for (int tile = 0; tile < TILE_COUNT; ++tile) {
        const int64_t at = int32_t(read_u32(bytes + 4 * tile));
        lists.at[tile] = at;
        lists.count[tile] = 0;
        if (at == 0) continue;
        const std::string which = name + ": the list of tile (" + std::to_string(tile / WORLD_TILES) + ", " +
                                  std::to_string(tile % WORLD_TILES) + ")";
        if (at < TABLE_BYTES || at > size - 2) fail("%s", (which + " lies outside the file's lists at " + std::to_string(at)).c_str());
        const int32_t count = read_offset16(bytes + at);
        if (count < 0) fail("%s", (which + " has a count of " + std::to_string(count)).c_str());
        if (count * RECORD_BYTES > size - at - 2)
            fail("%s", (which + " runs past the end of the file with " + std::to_string(count) + " records").c_str());
        lists.count[tile] = count;
        lists.records += count;
    }
}

uint16_t read_u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool preset_destroyed(uint16_t type) {
    return std::find(std::begin(PRESET_DESTROYED), std::end(PRESET_DESTROYED), type) != std::end(PRESET_DESTROYED);
}

// Copies the lists into a block of their own, each an int16 count and its records.
void copy_lists(const uint8_t* bytes, const FileLists& lists) {
    const size_t list_words = size_t(lists.records) * (RECORD_BYTES / 2) + TILE_COUNT;
    int16_t* next = static_cast<int16_t*>(allocate_memory(list_words * sizeof(int16_t), SOURCE, __LINE__));
    loaded_lists = next;
    for (int tile = 0; tile < TILE_COUNT; ++tile) {
        if (lists.at[tile] == 0) {
            ground_object_tiles[tile] = nullptr;
            continue;
        }
        const int32_t count = lists.count[tile];
        int16_t* list = ground_object_tiles[tile] = next;
        list[0] = int16_t(count);
        ground_object* records = ground_object_records(list);
        for (int32_t k = 0; k < count; ++k) {
            const uint8_t* field = bytes + lists.at[tile] + 2 + k * RECORD_BYTES;
            ground_object& r = records[k];
            r = {read_u16(field), read_u16(field + 2), read_u16(field + 4),
                 read_u16(field + 6), read_u16(field + 8), read_u16(field + 10)};
            // A type the object set lacks could be neither drawn nor hit.
            if (!get_object_header(r.type)) r.type = 0;
            if (preset_destroyed(r.type)) r.flags |= GROUND_DESTROYED;
        }
        next += 1 + count * (RECORD_BYTES / 2);
    }
}

template <typename Visit>
bool visit_list(int16_t* list, Visit visit) {
    ground_object* records = ground_object_records(list);
    for (int k = 0; k < ground_object_count(list); ++k)
        if (records[k].type != 0 && visit(records[k])) return true;
    return false;
}

// Walks the non-empty records of a tile, static list first, until `visit` answers true.
template <typename Visit>
bool visit_tile(int tile, Visit visit) {
    return visit_list(ground_object_tiles[tile], visit) ||
           visit_list(ground_object_list(dynamic_table(), tile), visit);
}

ground_object* next_search_match(Vector3& position) {
    for (;;) {
        const int tile = tile_index(search.tiles.x, search.tiles.y);
        int16_t* list = search.state == SEARCH_STATIC ? ground_object_tiles[tile] : ground_object_list(dynamic_table(), tile);
        for (; search.next < ground_object_count(list); ++search.next) {
            ground_object& r = ground_object_records(list)[search.next];
            if (r.type == 0) continue;
            const Vector3 p = ground_object_position(tile, r);
            if (estimate_distance_3d(p.x - search.centre.x, p.y - search.centre.y, search.centre.z) < search.radius) {
                ++search.next;
                position = p;
                return &r;
            }
        }
        search.next = 0;
        if (search.state == SEARCH_STATIC) {
            search.state = SEARCH_DYNAMIC;
            continue;
        }
        if (!search.tiles.advance()) {
            search.state = SEARCH_COMPLETED;
            return nullptr;
        }
        search.state = SEARCH_STATIC;
    }
}

}  // namespace

void load_ground_objects() {
    free_memory(loaded_lists, SOURCE, __LINE__);
    loaded_lists = nullptr;
    std::fill(std::begin(ground_object_tiles), std::end(ground_object_tiles), nullptr);
    search.state = SEARCH_NONE;
    const std::string name = join_path(current_world_settings->war_zone_directory, "GNDOBJS.BIN");
    size_t size = 0;
    void* file = load_file_alloc(name.c_str(), &size, SOURCE, __LINE__);
    const uint8_t* bytes = static_cast<const uint8_t*>(file);
    try {
        if (!file) fail("%s", (name + " cannot be read").c_str());
        static FileLists lists;
        check_file(name, bytes, int64_t(size), lists);
        copy_lists(bytes, lists);
    } catch (const BadFile& bad) {
        free_memory(file, SOURCE, __LINE__);
        report_fatal_error("%s", SOURCE, __LINE__, bad.text.c_str());
        return;
    }
    free_memory(file, SOURCE, __LINE__);
}

void queue_ground_objects() {
    const int tile = tile_index(render_tile_x, render_tile_y);
    visit_tile(tile, [tile](ground_object& r) {
        if (!get_object_header(r.type)) return false;
        const Vector3 p = ground_object_position(tile, r);
        const int32_t depth = find_eye_depth(p);
        if (depth <= current_view.object_near_limit || depth >= current_view.object_visual_range) return false;
        BufferNode* node = alloc_buffer_node();
        if (!node) return true;
        set_ground_object_node(node, tile, r, find_eye_key(p, depth));
        queue_buffer_node(node);
        return false;
    });
}

void set_ground_object_node(BufferNode* node, int tile, const ground_object& record, int32_t key) {
    const Vector3 p = ground_object_position(tile, record);
    node->type = NODE_GROUND_OBJECT;
    node->key = key;
    node->payload[GROUND_NODE_TYPE] = record.type;
    node->payload[GROUND_NODE_X] = p.x;
    node->payload[GROUND_NODE_Y] = p.y;
    node->payload[GROUND_NODE_HEADING] = int32_t(uint32_t(record.heading) << 16);
    node->payload[GROUND_NODE_SIDE_VARIANT] = (record.flags & GROUND_SIDE_VARIANT) != 0;
    node->payload[GROUND_NODE_STATE] = record.state_mask;
}

void draw_ground_object(BufferNode* node) {
    const int32_t* word = node->payload;
    const ObjectHeader* header = get_object_header(word[GROUND_NODE_TYPE]);
    if (!header) return;
    Pose pose{{word[GROUND_NODE_X], word[GROUND_NODE_Y], 0}, {}};
    if (header->unrotated) set_identity_matrix(pose.matrix);
    else build_z_rotation(uint32_t(word[GROUND_NODE_HEADING]), pose.matrix);
    ObjectInstance instance{};
    instance.object_type = word[GROUND_NODE_TYPE];
    instance.view_distance = node->key;
    instance.pose = &pose;
    instance.state_mask = uint32_t(word[GROUND_NODE_STATE]);
    instance.flags = word[GROUND_NODE_SIDE_VARIANT] ? INSTANCE_SIDE_VARIANT : 0;
    draw_object(&instance);
}

void draw_map_ground_objects() {
    const int tile = tile_index(map_tile_x, map_tile_y);
    auto draw_list = [](int16_t* list) {
        for (int k = 0; k < ground_object_count(list); ++k) draw_map_ground_object(&ground_object_records(list)[k]);
    };
    draw_list(ground_object_tiles[tile]);
    if (plan_map_options.flags & PLAN_MAP_DYNAMIC_OBJECTS) draw_list(ground_object_list(dynamic_table(), tile));
}

void draw_map_ground_object(const ground_object* record) {
    const ObjectHeader* header = get_object_header(record->type);
    const int side = (record->flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT;
    if (!header || (record->flags & GROUND_DESTROYED) || side == 0 || !(header->gameplay_flags & OBJECT_SIDE_DEPENDENT))
        return;
    const int colour = MAP_SIDE_COLOURS[side];
    const int32_t x = record->x * FOOT, y = record->y * FOOT;
    if (!(plan_map_options.flags & PLAN_MAP_OUTLINES) || !header->map_outline) {
        draw_plot_point(x, y, colour);
        return;
    }
    const uint32_t angle = 0u - (uint32_t(record->heading) << 16);
    const int32_t c = lookup_cos(angle), s = lookup_sin(angle);
    const uint8_t* at = header->map_outline;
    const int polygons = read_offset16(at);
    at += 2;
    for (int p = 0; p < polygons; ++p) {
        const int points = read_offset16(at);
        at += 2;
        // The polygon layer draws no more; the load has proved the points lie in the file.
        if (points <= MAX_POLY_VERTICES) {
            PolyVertex corners[MAX_POLY_VERTICES];
            for (int k = 0; k < points; ++k) {
                const int32_t px = read_offset16(at + 4 * k) * OUTLINE_UNIT, py = read_offset16(at + 4 * k + 2) * OUTLINE_UNIT;
                PolyVertex& v = corners[k];
                v.x = header->unrotated ? x + px : x + round31(mul64(px, c) - mul64(py, s));
                v.y = header->unrotated ? y + py : y + round31(mul64(px, s) + mul64(py, c));
                v.next = k + 1 < points ? &corners[k + 1] : nullptr;
            }
            if (points > 0) fill_plot_poly(corners, uint32_t(colour) * 0x01010101u);
        }
        at += 4 * points;
    }
}

void set_ground_object_destroyed_type(ground_object* record) {
    const ObjectHeader* header = get_object_header(record->type);
    const int32_t wreck = header ? header->destroyed_type : -1;
    record->type = get_object_header(wreck) ? uint16_t(wreck) : 0;
}

ground_object* search_ground_objects(const Vector3& point, int32_t radius, Vector3& position, int continue_search) {
    if (continue_search) {
        if (search.state == SEARCH_NONE) report_fatal_error("Attempted to continue invalid search.", SOURCE, __LINE__);
        else if (search.state == SEARCH_COMPLETED)
            report_fatal_error("Attempted to continue completed search.", SOURCE, __LINE__);
        else return next_search_match(position);
        return nullptr;
    }
    if (!in_world(point.x, point.y) || radius < point.z) return nullptr;
    search.centre = point;
    search.radius = radius;
    search.tiles.start(point.x, point.y, radius);
    search.next = 0;
    search.state = SEARCH_STATIC;
    return next_search_match(position);
}

ground_object* find_ground_object_exact(const Vector3& point) {
    if (!in_world(point.x, point.y)) return nullptr;
    const int32_t mask = (1 << TILE_SHIFT) - 1;
    const int32_t x = (point.x & mask) / FOOT, y = (point.y & mask) / FOOT;
    ground_object* found = nullptr;
    visit_tile(tile_index(point.x >> TILE_SHIFT, point.y >> TILE_SHIFT), [&](ground_object& r) {
        if (r.x != x || r.y != y) return false;
        found = &r;
        return true;
    });
    return found;
}

}  // namespace vyr
