// Rivers, lakes, roads, railways and runways of the theatre, and the super features of the far
// blocks.
#pragma once

#include <array>
#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

enum FeatureKind : int32_t {
    FEATURE_UNKNOWN = 0,
    FEATURE_RIVER = 1,
    FEATURE_LAKE = 2,
    FEATURE_OCEAN = 3,
    FEATURE_ROAD = 4,
    FEATURE_RAILWAY = 5,
    FEATURE_RUNWAY = 6,
    FEATURE_TAXIWAY = 7,
};

// The first byte of a polygon record.
constexpr uint8_t FEATURE_MODE_POINTS = 0;
constexpr uint8_t FEATURE_MODE_LINES = 1;
constexpr uint8_t FEATURE_MODE_FLAT = 2;
constexpr uint8_t FEATURE_MODE_DITHER = 3;
constexpr uint8_t FEATURE_MODE_STIPPLE = 4;
constexpr uint8_t FEATURE_MODE_SPARSE = 5;
constexpr uint8_t FEATURE_MODE_GOURAUD = 17;

// The flags byte of a feature vertex record.
constexpr uint8_t FEATURE_VERTEX_FINE = 4;
constexpr uint8_t FEATURE_VERTEX_FINEST = 8;  // only together with FEATURE_VERTEX_FINE
constexpr uint8_t FEATURE_VERTEX_FAR = 16;

// The length of a feature vertex record from its flags (a finest pair comes only with a fine one).
constexpr int feature_vertex_bytes(uint8_t flags) {
    if (!(flags & FEATURE_VERTEX_FINE)) return 3;
    return flags & FEATURE_VERTEX_FINEST ? 7 : 5;
}
// The modes whose polygons cover ground, and so answer the ground query.
constexpr bool is_filled_feature_mode(int mode) { return mode >= FEATURE_MODE_FLAT && mode <= FEATURE_MODE_SPARSE; }

constexpr int FEATURE_TILES = 64;
constexpr int SUPER_BLOCKS = 16;
constexpr int MAX_FEATURE_VERTICES = 256;

// One feature or super feature of a loaded definition file. Each list points at its int16 count
// and is null when absent; the loader has checked every record in them against the file, so
// readers follow them without checks. Near polygon lists hold no Gouraud polygon.
struct FeatureEntry {
    const uint8_t* vertices;
    const uint8_t* polygons;
    const uint8_t* far_polygons;  // always null for super features
};

// [tile x][tile y] and [block x][block y]: the feature there, null for none.
extern const FeatureEntry* feature_layer[FEATURE_TILES][FEATURE_TILES];
extern const FeatureEntry* super_layer[SUPER_BLOCKS][SUPER_BLOCKS];

// 1 when the render's current tile lies more than 3 tiles from the eye's in x or y.
extern int32_t tile_far_flag;

// Loads features.bin, feature1.lyr, super.bin and super1.lyr of the current theatre; a bad file
// is fatal, naming the file and what is wrong with it.
void load_features();
// The features of the render's current tile and the super features of its current far block.
void draw_tile_features();
void draw_far_block_features();
// On the plan map: the feature of its current tile and the super feature of its current far
// block, always with their full polygon lists, coloured through plan_map_colour_remap.
void draw_map_tile_features();
void draw_map_far_block_features();
// Every colour to 2, but runway grey 11 to 202 and the waters 111 and 127 to 200.
extern const std::array<uint8_t, 256> plan_map_colour_remap;

// The kind of the first feature polygon, or else super feature polygon, holding the world point
// (edges included); FEATURE_UNKNOWN where none does. Keeps no state between calls.
int get_feature_kind(int32_t x, int32_t y);
// The same for one entry, the point taken from the tile's or far block's south-west corner.
int find_tile_feature_kind(const FeatureEntry* entry, int32_t x, int32_t y);
int find_super_feature_kind(const FeatureEntry* entry, int32_t x, int32_t y);
// Each vertex's offset from its tile's (far block's) south-west corner into x and y, in stream
// order; `vertices` holds MAX_FEATURE_VERTICES records.
void decode_feature_vertices(const uint8_t* stream, PolyVertex* vertices);
void decode_super_vertices(const uint8_t* stream, PolyVertex* vertices);
// The kind of the first filled polygon of the list that holds the point, 0 when none does.
int find_feature_polygon(const uint8_t* polygons, PolyVertex* vertices, int32_t x, int32_t y);

}  // namespace vyr
