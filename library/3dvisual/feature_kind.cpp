// The ground query. It has a file of its own so that a test program may answer it with a layout
// of its own.
#include "library/3dvisual/features.h"

#include "library/3dvisual/face_record.h"
#include "library/debug/fatal.h"
#include "library/graphics/poly.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/3dvisual/feature_kind";
constexpr const char* ILLEGAL_MODE = "Illegal render mode encountered in feature or super feature data.";

constexpr int TILE_SHIFT = 22;
constexpr int BLOCK_SHIFT = 26;
constexpr int64_t WORLD_SIZE = int64_t(1) << 28;
constexpr int64_t GRID_ORIGIN = int64_t(6) << BLOCK_SHIFT;  // how far the far-block grid reaches west and south
constexpr int64_t GRID_SIZE = int64_t(SUPER_BLOCKS) << BLOCK_SHIFT;

int32_t scaled(int byte, int centre, int shift) { return (byte - centre) * (1 << shift); }

}  // namespace

void decode_feature_vertices(const uint8_t* stream, PolyVertex* vertices) {
    if (!stream) return;
    const int count = read_offset16(stream);
    const uint8_t* v = stream + 2;
    for (int i = 0; i < count; ++i) {
        const int length = feature_vertex_bytes(v[0]);
        int32_t x = scaled(v[1], 128, 18), y = scaled(v[2], 128, 18);
        if (length >= 5) x += scaled(v[3], 32, 12), y += scaled(v[4], 32, 12);
        if (length == 7) x += scaled(v[5], 32, 6), y += scaled(v[6], 32, 6);
        vertices[i].x = x;
        vertices[i].y = y;
        v += length;
    }
}

void decode_super_vertices(const uint8_t* stream, PolyVertex* vertices) {
    if (!stream) return;
    const int count = read_offset16(stream);
    const uint8_t* v = stream + 2;
    for (int i = 0; i < count; ++i, v += 5) {
        vertices[i].x = scaled(v[1], 8, BLOCK_SHIFT) + scaled(v[3], 128, 18);
        vertices[i].y = scaled(v[2], 8, BLOCK_SHIFT) + scaled(v[4], 128, 18);
    }
}

int find_feature_polygon(const uint8_t* polygons, PolyVertex* vertices, int32_t x, int32_t y) {
    if (!polygons) return FEATURE_UNKNOWN;
    const int count = read_offset16(polygons);
    const uint8_t* record = polygons + 2;
    for (int p = 0; p < count; ++p) {
        const int mode = record[0], kind = record[1], n = record[2];
        const uint8_t* indices = record + 4 + (mode == FEATURE_MODE_DITHER);
        record = indices + n;
        if (mode == FEATURE_MODE_POINTS || mode == FEATURE_MODE_LINES) continue;
        if (!is_filled_feature_mode(mode)) {
            report_fatal_error("%s", SOURCE, __LINE__, ILLEGAL_MODE);
            return FEATURE_UNKNOWN;
        }
        for (int k = 0; k + 1 < n; ++k) vertices[indices[k]].next = &vertices[indices[k + 1]];
        vertices[indices[n - 1]].next = nullptr;
        if (is_point_in_poly(&vertices[indices[0]], x, y)) return kind;
    }
    return FEATURE_UNKNOWN;
}

int find_tile_feature_kind(const FeatureEntry* entry, int32_t x, int32_t y) {
    PolyVertex vertices[MAX_FEATURE_VERTICES];
    decode_feature_vertices(entry->vertices, vertices);
    return find_feature_polygon(entry->polygons, vertices, x, y);
}

int find_super_feature_kind(const FeatureEntry* entry, int32_t x, int32_t y) {
    PolyVertex vertices[MAX_FEATURE_VERTICES];
    decode_super_vertices(entry->vertices, vertices);
    return find_feature_polygon(entry->polygons, vertices, x, y);
}

int get_feature_kind(int32_t x, int32_t y) {
    int kind = FEATURE_UNKNOWN;
    if (x >= 0 && x < WORLD_SIZE && y >= 0 && y < WORLD_SIZE) {
        const FeatureEntry* entry = feature_layer[x >> TILE_SHIFT][y >> TILE_SHIFT];
        const int32_t mask = (1 << TILE_SHIFT) - 1;
        if (entry) kind = find_tile_feature_kind(entry, x & mask, y & mask);
    }
    if (kind != FEATURE_UNKNOWN) return kind;
    const int64_t gx = x + GRID_ORIGIN, gy = y + GRID_ORIGIN;
    if (gx < 0 || gx >= GRID_SIZE || gy < 0 || gy >= GRID_SIZE) return kind;
    const FeatureEntry* entry = super_layer[gx >> BLOCK_SHIFT][gy >> BLOCK_SHIFT];
    const int64_t mask = (int64_t(1) << BLOCK_SHIFT) - 1;
    return entry ? find_super_feature_kind(entry, int32_t(gx & mask), int32_t(gy & mask)) : kind;
}

}  // namespace vyr
