#include "library/3dvisual/terrain.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "library/3dvisual/world.h"
#include "library/gfxinit/textures.h"
#include "library/os/file.h"

namespace vyr {

TerrainPost terrain_posts[TERRAIN_POSTS][TERRAIN_POSTS];
int32_t terrain_max_height;
uint8_t terrain_detail_colours[4][REGULAR_TERRAIN_TEXTURES][64];

namespace {

constexpr const char* SOURCE = "library/3dvisual/terrain";

constexpr int CELL_SIZE = 1 << POST_SHIFT;
constexpr int32_t WORLD_LIMIT = (1 << 28) - 1;  // the last world unit along x and y
constexpr int SETS = 2;
constexpr size_t TEXELS_32 = 32 * 32;
constexpr size_t TEXELS_64 = 64 * 64;
constexpr size_t POSTS_BYTES = size_t(TERRAIN_POSTS) * TERRAIN_POSTS * TERRAIN_POST_BYTES;

uint8_t texels_32[SETS * REGULAR_TERRAIN_TEXTURES * TEXELS_32];
uint8_t texels_64[SETS * REGULAR_TERRAIN_TEXTURES * TEXELS_64];
uint8_t texels_special[SETS * SPECIAL_TERRAIN_TEXTURES * TEXELS_64];
TextureRecord textures_32[SETS][REGULAR_TERRAIN_TEXTURES];
TextureRecord textures_64[SETS][TERRAIN_TEXTURE_NUMBERS];

void load_posts(const std::string& name) {
    std::vector<uint8_t> bytes(POSTS_BYTES);
    load_file_exact(name.c_str(), bytes.data(), bytes.size(), SOURCE, __LINE__);
    const uint8_t* p = bytes.data();
    for (auto& row : terrain_posts) {
        for (TerrainPost& post : row) {
            post.height = uint16_t(p[0] | p[1] << 8);
            post.light = p[2];
            for (int k = 0; k < 3; ++k) {
                post.vertex_normal[k] = int8_t(p[3 + k]);
                post.face_normal[0][k] = int8_t(p[6 + k]);
                post.face_normal[1][k] = int8_t(p[9 + k]);
            }
            post.colour[0] = p[12];
            post.colour[1] = p[13];
            post.classes = p[14];
            post.texture[0] = p[15];
            post.texture[1] = p[16];
            p += TERRAIN_POST_BYTES;
        }
    }
}

void load_textures(const char* war_zone_directory) {
    const std::pair<const char*, std::span<uint8_t>> files[] = {
        {"TERRTEXT.BMP", texels_32}, {"TEXT64.RAW", texels_64}, {"TEXT64SP.RAW", texels_special}};
    for (const auto& [file, store] : files)
        load_file_exact(join_path(war_zone_directory, file).c_str(), store.data(), store.size(), SOURCE, __LINE__);
}

// The records point into the stores for good: reloading replaces only the texels.
void point_texture_records() {
    for (int set = 0; set < SETS; ++set) {
        for (int n = 0; n < REGULAR_TERRAIN_TEXTURES; ++n) {
            const size_t index = size_t(set) * REGULAR_TERRAIN_TEXTURES + n;
            textures_32[set][n] = {1, 32, texels_32 + index * TEXELS_32};
            textures_64[set][n] = {2, 64, texels_64 + index * TEXELS_64};
        }
        for (int n = 0; n < SPECIAL_TERRAIN_TEXTURES; ++n) {
            const size_t index = size_t(set) * SPECIAL_TERRAIN_TEXTURES + n;
            textures_64[set][FIRST_SPECIAL_TERRAIN_TEXTURE + n] = {2, 64, texels_special + index * TEXELS_64};
        }
    }
}

bool outside_world(int x, int y) { return x < 0 || x > WORLD_LIMIT || y < 0 || y > WORLD_LIMIT; }

int32_t height_of(const TerrainPost& post) { return int32_t(post.height) << 8; }

}  // namespace

const TextureRecord* get_terrain_texture_64(int number, int set) {
    return &textures_64[set & 1][number & TERRAIN_TEXTURE_MASK];
}

const TextureRecord* get_terrain_texture_32(int number, int set) {
    number &= TERRAIN_TEXTURE_MASK;
    return &textures_32[set & 1][number < REGULAR_TERRAIN_TEXTURES ? number : 0];
}

void load_terrain() {
    const WorldSettings& settings = *current_world_settings;
    load_posts(join_path(settings.war_zone_directory, "FXGRDPST.BIN"));
    load_textures(settings.war_zone_directory);
    point_texture_records();
    load_file_exact(join_path(settings.data_directory, "TERRTEXT.CMP").c_str(), terrain_detail_colours,
                    sizeof terrain_detail_colours, SOURCE, __LINE__);
    uint16_t highest = 0;
    for (const auto& row : terrain_posts)
        for (const TerrainPost& post : row) highest = std::max(highest, post.height);
    terrain_max_height = int32_t(highest) << 8;
}

void reload_terrain_textures(const WorldSettings* settings) {
    load_textures(settings->war_zone_directory);
    replace_terrain_textures(texels_64);
}

int get_ground_height(int x, int y) {
    if (outside_world(x, y)) return 0;
    const int i = x >> POST_SHIFT, j = y >> POST_SHIFT;
    int64_t fx = x & (CELL_SIZE - 1), fy = y & (CELL_SIZE - 1);
    int32_t h00 = height_of(terrain_posts[i][j]), h10 = height_of(terrain_posts[i + 1][j]);
    int32_t h01 = height_of(terrain_posts[i][j + 1]), h11 = height_of(terrain_posts[i + 1][j + 1]);
    // Mirrored, a cell split the other way has its diagonal from the h00 corner to h11 as well.
    if (!(terrain_posts[i][j].classes & TERRAIN_DIAGONAL)) {
        std::swap(h00, h10);
        std::swap(h01, h11);
        fx = CELL_SIZE - fx;
    }
    const bool north = fy > fx;
    const int64_t u = north ? fy : fx, w = north ? fx : fy;
    const int32_t hc = north ? h01 : h10;
    if (u == 0) return h00;
    const int64_t edge = hc + w * (h11 - hc) / u;
    return int32_t(h00 + ((u * (edge - h00)) >> POST_SHIFT));
}

int get_cell_max_height(int x, int y) {
    if (outside_world(x, y)) return 0;
    const int i = x >> POST_SHIFT, j = y >> POST_SHIFT;
    return std::max({height_of(terrain_posts[i][j]), height_of(terrain_posts[i][j + 1]),
                     height_of(terrain_posts[i + 1][j + 1]), height_of(terrain_posts[i + 1][j])});
}

}  // namespace vyr
