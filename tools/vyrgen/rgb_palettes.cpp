#include "tools/vyrgen/rgb_palettes.h"

#include <utility>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

namespace {

struct RampColours {
    Colour dark, bright;
};

struct TerrainLook {
    RampColours forest, grass, earth, stone, water;
};

// The shade of open water, between the sea's and the rivers' of the ramp.
constexpr int WATER_SHADE = WATER_RAMP.first + 4;
constexpr Colour MAP_WATER = {40, 90, 170};
constexpr Colour MAP_RUNWAY = {150, 150, 150};
constexpr Colour MAP_ALLIED = {60, 110, 255};
constexpr Colour MAP_ENEMY = {230, 40, 30};

constexpr Colour PAINT_YELLOW = {232, 200, 40};

TerrainLook look_of(Climate climate) {
    switch (climate) {
    case Climate::TEMPERATE:
        return {{{10, 30, 8}, {60, 100, 40}}, {{30, 60, 20}, {130, 170, 80}}, {{60, 45, 25}, {210, 190, 120}},
                {{40, 40, 42}, {245, 245, 250}}, {{10, 30, 60}, {60, 110, 150}}};
    case Climate::MEDITERRANEAN:
        return {{{25, 40, 15}, {90, 110, 50}}, {{60, 70, 30}, {170, 170, 90}}, {{80, 55, 30}, {225, 200, 145}},
                {{45, 43, 40}, {245, 243, 240}}, {{10, 40, 80}, {50, 130, 180}}};
    case Climate::DESERT:
        return {{{40, 45, 20}, {120, 120, 60}}, {{70, 65, 35}, {190, 170, 110}}, {{100, 75, 45}, {240, 215, 160}},
                {{50, 45, 40}, {245, 240, 230}}, {{15, 45, 70}, {60, 120, 150}}};
    case Climate::MOUNTAIN:
        return {{{20, 35, 20}, {80, 100, 60}}, {{55, 60, 35}, {160, 160, 100}}, {{75, 60, 40}, {210, 190, 145}},
                {{45, 45, 50}, {250, 250, 255}}, {{20, 40, 70}, {80, 120, 160}}};
    }
    return {};
}

void set_terrain_ramps(Palette& palette, Climate climate) {
    const TerrainLook look = look_of(climate);
    const std::pair<TerrainRamp, RampColours> ramps[] = {
        {FOREST_RAMP, look.forest}, {GRASS_RAMP, look.grass}, {EARTH_RAMP, look.earth},
        {STONE_RAMP, look.stone},   {WATER_RAMP, look.water},
    };
    for (const auto& [ramp, colours] : ramps)
        set_ramp(palette, ramp.first, ramp.first + ramp.count - 1, colours.dark, colours.bright);
    set_colour(palette, PAINT_YELLOW_COLOUR, PAINT_YELLOW);
    for (int c = 0; c < 3; ++c) palette[size_t(FEATURE_WATER_COLOUR) * 3 + c] = palette[size_t(WATER_SHADE) * 3 + c];
}

std::vector<uint8_t> triples(const Palette& palette, int first, int count) {
    return {palette.begin() + 3 * first, palette.begin() + 3 * (first + count)};
}

}  // namespace

std::vector<uint8_t> three_d_palette() {
    Palette p{};
    // The time-acceleration disc in colour 1 with its outline and factor in colour 0, over the
    // world: white on the near-black disc (the pod page's colour too), reading on sky and ground.
    set_colour(p, 0, {250, 250, 250});
    set_colour(p, 1, {8, 8, 8});
    // Object colours: eight ramps, dark to bright.
    set_ramp(p, 2, 4, {16, 16, 16}, {48, 48, 48});
    set_ramp(p, 5, 16, {40, 40, 44}, {220, 220, 224});
    set_ramp(p, 17, 28, {24, 34, 16}, {140, 160, 100});
    set_ramp(p, 29, 40, {60, 48, 30}, {225, 200, 150});
    set_ramp(p, 41, 48, {30, 40, 56}, {150, 170, 200});
    set_ramp(p, 49, 56, {60, 8, 8}, {240, 60, 50});
    set_ramp(p, 57, 63, {80, 70, 10}, {250, 230, 80});
    set_ramp(p, 64, 70, {10, 16, 60}, {80, 110, 220});
    set_terrain_ramps(p, Climate::TEMPERATE);
    set_ramp(p, 135, 154, {150, 160, 170}, {218, 227, 228});  // fog
    set_colour(p, 155, {200, 212, 230});                       // horizon
    set_ramp(p, 156, 167, {30, 60, 130}, {170, 200, 235});     // sky
    set_ramp(p, SMOKE_FIRST, SMOKE_FIRST + SMOKE_COUNT - 1, {40, 38, 36}, {205, 205, 200});
    set_ramp(p, FIRE_FIRST, FIRE_FIRST + 5, {90, 12, 0}, {220, 50, 0});
    set_ramp(p, FIRE_FIRST + 6, FIRE_FIRST + 11, {235, 90, 0}, {255, 200, 30});
    set_ramp(p, FIRE_FIRST + 12, FIRE_FIRST + FIRE_COUNT - 1, {255, 220, 80}, {255, 255, 220});
    set_ramp(p, 192, 207, {0, 0, 0}, {255, 255, 255});
    set_colour(p, MAP_WATER_COLOUR, MAP_WATER);
    set_colour(p, MAP_RUNWAY_COLOUR, MAP_RUNWAY);
    set_colour(p, MAP_ALLIED_COLOUR, MAP_ALLIED);
    set_colour(p, MAP_ENEMY_COLOUR, MAP_ENEMY);
    set_ramp(p, 208, 223, {0, 32, 0}, {160, 255, 160});  // night vision
    return triples(p, 0, THREE_D_COLOURS);
}

std::vector<uint8_t> terrain_palette(Climate climate) {
    Palette p{};
    set_terrain_ramps(p, climate);
    return triples(p, FOREST_RAMP.first, TERRAIN_COLOURS);
}

std::vector<uint8_t> cockpit_palette() {
    Palette p{};
    set_ramp(p, 0, 15, {20, 20, 24}, {230, 230, 235});
    set_colour(p, 16, {255, 176, 48});   // reference lines
    set_colour(p, 17, {250, 250, 240});  // needles
    set_ramp(p, 18, 23, {0, 56, 0}, {80, 255, 80});
    set_ramp(p, 24, 27, {120, 60, 0}, {255, 190, 40});
    set_ramp(p, 28, 31, {100, 0, 0}, {255, 60, 60});
    return triples(p, 0, COCKPIT_COLOURS);
}

}  // namespace vyr::vyrgen
