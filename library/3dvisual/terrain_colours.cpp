#include "library/3dvisual/terrain_colours.h"

#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/palette.h"
#include "library/os/file.h"

namespace vyr {

uint8_t terrain_ground_colours[2];

namespace {

constexpr const char* SOURCE = "library/3dvisual/terrain_colours";

constexpr int BACKDROP_GROUND_COLOUR = 167;
constexpr float HAZE_FRACTIONS[4] = {0.04f, 0.26f, 0.47f, 0.74f};

struct Ramp {
    int first, count;
};
constexpr Ramp RAMPS[5] = {{71, 12}, {83, 16}, {99, 16}, {115, 12}, {127, 8}};

// Eight rows of the software fade: start colour and step, row by row.
struct FadeGroup {
    int first_row;
    int start[8];
    int step[8];
};
constexpr FadeGroup FADE_GROUPS[] = {
    {170, {87, 86, 86, 85, 85, 84, 84, 83}, {0, 1, 2, 3, 4, 5, 6, 7}},
    {180, {87, 86, 86, 85, 85, 84, 84, 83}, {0, 1, 1, 2, 2, 2, 2, 3}},
    {190, {103, 102, 102, 101, 101, 100, 100, 99}, {0, 1, 2, 3, 4, 5, 6, 7}},
    {200, {103, 102, 102, 101, 101, 100, 100, 99}, {0, 2, 4, 6, 8, 10, 12, 14}},
    {210, {122, 121, 121, 120, 120, 119, 118, 118}, {0, 1, 1, 3, 3, 4, 6, 6}},
    {220, {120, 120, 119, 119, 119, 118, 118, 118}, {0, 1, 2, 3, 3, 4, 4, 5}},
    {230, {129, 129, 129, 128, 128, 128, 127, 127}, {0, 1, 2, 3, 4, 5, 6, 7}},
};

int round_half_up(float value) { return int(value + 0.5f); }

// Rows of one ramp run from start to end positions `low` and `high` over its length.
void hazed_ramp(const Ramp& ramp, int low, int high) {
    const float fraction = float(high - low) / float(ramp.count);
    for (int k = 0; k < ramp.count; ++k) set_remap_ramp(ramp.first + k, ramp.first + low, int(float(k) * fraction));
}

}  // namespace

void build_terrain_ramps(float fraction) {
    const float rest = 1.0f - fraction;
    // Every colour of a ramp tends to its haze position: 3, 4, 4, 7 and 2.
    hazed_ramp(RAMPS[0], round_half_up(3 * fraction), round_half_up(9 * rest + 3));
    const int low = round_half_up(4 * fraction), high = round_half_up(12 * rest + 4);
    hazed_ramp(RAMPS[1], low, high);
    hazed_ramp(RAMPS[2], low, high);
    hazed_ramp(RAMPS[3], round_half_up(7 * fraction), round_half_up(5 * rest + 7));
    hazed_ramp(RAMPS[4], round_half_up(2 * fraction), round_half_up(6 * rest + 2));
}

void load_terrain_colours() {
    split_terrain_range(current_view.visual_range, terrain_near_tiles, terrain_far_tiles);
    terrain_split_range = current_view.visual_range;
    const char* war_zone_directory = current_world_settings->war_zone_directory;
    load_base_palette(join_path(war_zone_directory, "TERRAIN.RGB").c_str(), FIRST_TERRAIN_COLOUR, TERRAIN_COLOURS, 0);
    // Level 255 gives the colour itself, level 0 the darkest of its ramp.
    for (const Ramp& ramp : RAMPS)
        for (int k = 0; k < ramp.count; ++k) set_shade_ramp(ramp.first + k, ramp.first, k + 1);
    for (const FadeGroup& group : FADE_GROUPS)
        for (int row = 0; row < 8; ++row) set_shade_ramp(group.first_row + row, group.start[row], group.step[row]);
    const std::string colours = join_path(war_zone_directory, "TERRCOLS.BIN");
    load_file_exact(colours.c_str(), terrain_ground_colours, sizeof terrain_ground_colours, SOURCE, __LINE__);
    terrain_ground_colours[0] = BACKDROP_GROUND_COLOUR;
    terrain_ground_colours[1] = uint8_t(terrain_ground_colours[1] + FIRST_TERRAIN_COLOUR);
    for (int k = 0; k < 4; ++k) {
        current_remap_table = terrain_haze_tables[k];
        build_terrain_ramps(HAZE_FRACTIONS[k]);
    }
}

}  // namespace vyr
