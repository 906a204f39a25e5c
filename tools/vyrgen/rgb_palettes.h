// The 3D palette files, headerless RGB triples: 3dpal.rgb (colours 0..223 of the 3D views),
// each war zone's terrain.rgb (colours 71..134) and cockpits/cockpits.rgb (colours 224..255).
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/war_zones.h"

namespace vyr::vyrgen {

constexpr int THREE_D_COLOURS = 224;
constexpr int TERRAIN_COLOURS = 64;
constexpr int COCKPIT_COLOURS = 32;

// Colours of the 3D palette that pictures and textures are drawn in.
constexpr int SMOKE_FIRST = 168;  // 8 greys, dark to light
constexpr int SMOKE_COUNT = 8;
constexpr int FIRE_FIRST = 176;  // 16, deep red to white-hot
constexpr int FIRE_COUNT = 16;

// The terrain colours: five ramps, each dark to bright.
struct TerrainRamp {
    int first;
    int count;
};
constexpr TerrainRamp FOREST_RAMP = {71, 11};
constexpr int PAINT_YELLOW_COLOUR = 82;  // taxiway paint, off the menus' height steps 99..114
constexpr TerrainRamp GRASS_RAMP = {83, 16};
constexpr TerrainRamp EARTH_RAMP = {99, 16};  // soil and sand: the menus' map steps, low ground to high
constexpr TerrainRamp STONE_RAMP = {115, 12};  // asphalt, rock and town greys up to snow white
constexpr TerrainRamp WATER_RAMP = {127, 8};  // its first entry is the features' water shade

// The features' colours the plan map tells apart: its remap draws 127 as water and 11 as runway.
constexpr int FEATURE_WATER_COLOUR = WATER_RAMP.first;
constexpr int FEATURE_RUNWAY_COLOUR = 11;  // a mid grey of the object ramp 5..16
// The plan map's colours among the 3D palette's greys 192..207.
constexpr int MAP_WATER_COLOUR = 200;
constexpr int MAP_RUNWAY_COLOUR = 202;
constexpr int MAP_ALLIED_COLOUR = 205;
constexpr int MAP_ENEMY_COLOUR = 206;

std::vector<uint8_t> three_d_palette();
std::vector<uint8_t> terrain_palette(Climate climate);
std::vector<uint8_t> cockpit_palette();

}  // namespace vyr::vyrgen
