// The theatre's terrain: the grid of height posts with the data of each post's cell, the texture
// stores beside it, and the ground height that every other subsystem asks for.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

struct WorldSettings;

constexpr int POST_SHIFT = 20;  // posts stand every 2^20 world units (4096 ft)
constexpr int TERRAIN_POSTS = 257;  // along each axis; posts 256 lie on the world's east and north edges
constexpr int TERRAIN_CELLS = 256;
constexpr int TERRAIN_POST_BYTES = 18;

// Texture numbers: 0..96 regular, 97..126 special, 127 none; each in two sets.
constexpr int REGULAR_TERRAIN_TEXTURES = 97;
constexpr int SPECIAL_TERRAIN_TEXTURES = 31;
constexpr int TERRAIN_TEXTURE_NUMBERS = 128;
constexpr int FIRST_SPECIAL_TERRAIN_TEXTURE = 97;
constexpr int NO_TERRAIN_TEXTURE = 127;

constexpr uint8_t TERRAIN_CLASS_MASK = 0x07;  // first triangle; the second is the next three bits
constexpr uint8_t TERRAIN_DIAGONAL = 0x40;    // set: the diagonal runs from post (i, j) to (i+1, j+1)
constexpr uint8_t TERRAIN_TEXTURE_MASK = 0x7F;
constexpr uint8_t TERRAIN_DRAW_AT_ONCE = 0x80;  // the triangle is drawn before the features, unsorted

// Post (i, j) at world (i << POST_SHIFT, j << POST_SHIFT); i runs east, j north. Everything but
// the height and light describes the cell to its north-east, split into two triangles.
struct TerrainPost {
    uint16_t height;  // feet
    uint8_t light;    // 0..255
    int8_t vertex_normal[3];
    int8_t face_normal[2][3];
    uint8_t colour[2];
    uint8_t classes;  // both triangles' terrain classes and the diagonal bit
    uint8_t texture[2];
};

extern TerrainPost terrain_posts[TERRAIN_POSTS][TERRAIN_POSTS];
// The highest post of the grid in world units.
extern int32_t terrain_max_height;
// Per texture, the colours of its 64 sub-triangles in each of the four triangle positions:
// first and second triangle of a cell with the diagonal bit set, then of one with it clear.
extern uint8_t terrain_detail_colours[4][REGULAR_TERRAIN_TEXTURES][64];

// Set 0 serves cells whose diagonal bit is set, set 1 the others.
inline int terrain_texture_set(const TerrainPost& post) { return post.classes & TERRAIN_DIAGONAL ? 0 : 1; }

// The texture of a number (the low seven bits count) in a set: 64 x 64 texels, special textures
// included; or 32 x 32, where the special numbers have no texture of their own and give 0.
const TextureRecord* get_terrain_texture_64(int number, int set);
const TextureRecord* get_terrain_texture_32(int number, int set);

// Loads the posts, the three texture files and the detail colours from the directories of the
// current world settings; every file must have its exact size, else the program ends naming it.
void load_terrain();
// Reads the war zone's texture files into the same stores; once the accelerator is open its
// terrain textures are replaced as well, so a flight after a change of war zone shows its ground.
void reload_terrain_textures(const WorldSettings* settings);

// The height in world units of the terrain surface at (x, y), 0 outside the world.
int get_ground_height(int x, int y);
// The highest of the four posts of the cell holding (x, y), 0 outside the world.
int get_cell_max_height(int x, int y);

}  // namespace vyr
