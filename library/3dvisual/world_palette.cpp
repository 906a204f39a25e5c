#include "library/3dvisual/world_palette.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/os/file.h"
#include "library/ui/clip.h"

namespace vyr {

uint8_t identity_remap[256];
uint8_t night_vision_remap[256];
uint8_t feature_remap[256];
uint8_t colour_remap[256];
PaletteEffect* dimmed_colour_effect = nullptr;

namespace {

// Identity before any build, so that a world without its 3D palette draws colours as given.
const bool remaps_start_as_identity = [] {
    for (int i = 0; i < 256; ++i) identity_remap[i] = colour_remap[i] = uint8_t(i);
    return true;
}();

}  // namespace

namespace {

constexpr const char* SOURCE = "library/3dvisual/world_palette";

constexpr int PALETTE_FILE_COLOURS = 224;
constexpr int SKY_COLOURS = 13;
constexpr int FOG_COLOURS = 20;
constexpr int NIGHT_VISION_LAST = 191;  // colours 2..191 go green by luminance; the rest are dark
constexpr int GLASS_LAST_SKY = 167;
constexpr int FIRST_COCKPIT_COLOUR = 224;
constexpr uint8_t PLAIN_BLUE[3] = {64, 64, 128};
constexpr int PLAIN_BLUE_COLOUR = 203;

struct Ramp {
    int first, count;
};
constexpr Ramp OBJECT_RAMPS[8] = {{2, 3}, {5, 12}, {17, 12}, {29, 12}, {41, 8}, {49, 8}, {57, 7}, {64, 7}};
constexpr Ramp SKY_RAMP = {SKY_TOP_COLOUR, 12};

// The features draw everything in colour 2 but a few terrain and sky colours.
constexpr int FEATURE_PLAIN_COLOUR = 2;
constexpr int FEATURE_COLOURS[] = {11, 111, 127};
constexpr uint8_t FEATURE_COLOUR_REMAPS[] = {202, 200, 200};

// Night vision: luminance weights (1.31) and the lift of each colour range before the greens.
constexpr int64_t LUMINANCE_WEIGHTS[3] = {0x26666666, 0x4B851EB7, 0x0E147AE1};
constexpr int NIGHT_VISION_FLOOR = 32, NIGHT_VISION_CEILING = 223, NIGHT_VISION_STEP = 12;

// Palette effects: level 1 turns night vision on; darkness stops short of black.
constexpr int32_t NIGHT_VISION_ON = 1;
constexpr int32_t DARKEST = 1964947537;

enum EffectClass { NIGHT_VISION_CLASS = 1, DARKNESS_CLASS, SUN_GLARE_CLASS, DIMMED_CLASS, HAZE_CLASS };

// Haze under, in and above the cloud layer (world units and 1.31 levels).
constexpr int32_t HAZE_BELOW_REACH = 0x20000;  // 512 ft
constexpr int32_t HAZE_TOP_REACH = 0x10000;    // 256 ft
constexpr int HAZE_GREY = 187, HAZE_WHITE = 255;
constexpr int32_t LIGHT_FOG_HAZE = 0x20000000, THICK_FOG_HAZE = 0x30000000;

enum class SkySet { NONE, CLEAR, OVERCAST, ABOVE };

uint8_t clear_sky[SKY_COLOURS * 3], overcast_sky[SKY_COLOURS * 3], above_sky[SKY_COLOURS * 3];
uint8_t fog_colours[FOG_COLOURS * 3], dull_fog_colours[FOG_COLOURS * 3];
SkySet loaded_sky = SkySet::NONE;
// Nothing to install before a build has loaded the sets.
bool sky_sets_loaded = false;
bool reload_sky = false;
const uint8_t* chosen_remap = identity_remap;

PaletteEffect* night_vision_effect = nullptr;
PaletteEffect* darkness_effect = nullptr;
PaletteEffect* sun_glare_effect = nullptr;
PaletteEffect* haze_effect = nullptr;

std::string in_directory(const char* directory, const char* name) { return join_path(directory, name); }

void load_exact(const std::string& name, uint8_t* buffer, size_t size) {
    load_file_exact(name.c_str(), buffer, size, SOURCE, __LINE__);
}

void shade_ramp_rows(const Ramp& ramp) {
    for (int k = 0; k < ramp.count; ++k) set_shade_ramp(ramp.first + k, ramp.first, k + 1);
}

int luminance(int colour) {
    int64_t sum = 0;
    for (int k = 0; k < 3; ++k) sum += LUMINANCE_WEIGHTS[k] * base_palette[3 * colour + k];
    return int((sum + (int64_t(1) << 30)) >> 31);
}

void build_night_vision_remap() {
    for (int i = 0; i < 256; ++i) {
        if (i < 2 || i > NIGHT_VISION_LAST) {
            night_vision_remap[i] = FIRST_NIGHT_VISION_COLOUR;
            continue;
        }
        const int y = luminance(i);
        int v = y;
        if (i <= 71) v = std::max(y + 90, 170);
        else if (i >= 155 && i <= 168) v = y - 130;
        else if (i >= 169) v = y - 24;
        v = std::clamp(v, NIGHT_VISION_FLOOR, NIGHT_VISION_CEILING);
        night_vision_remap[i] = uint8_t(FIRST_NIGHT_VISION_COLOUR + (v - NIGHT_VISION_FLOOR) / NIGHT_VISION_STEP);
    }
}

void build_remaps() {
    load_exact(in_directory(current_world_settings->war_zone_directory, "GLASS.CMP"), glass_remap.data(), glass_remap.size());
    // Glass never turns the sky or the cockpit's own colours into others.
    glass_remap[FIRST_SKY_COLOUR] = FIRST_SKY_COLOUR;
    for (int i = SKY_TOP_COLOUR; i <= GLASS_LAST_SKY; ++i) glass_remap[i] = uint8_t(i - 1);
    for (int i = FIRST_COCKPIT_COLOUR; i < 256; ++i) glass_remap[i] = uint8_t(i);
    std::memset(feature_remap, FEATURE_PLAIN_COLOUR, sizeof feature_remap);
    for (size_t k = 0; k < std::size(FEATURE_COLOURS); ++k) feature_remap[FEATURE_COLOURS[k]] = FEATURE_COLOUR_REMAPS[k];
    build_night_vision_remap();
}

void make_effect(PaletteEffect*& handle, int kind, int priority, int first, int last, int red, int green, int blue,
                 int effect_class) {
    if (!handle) {
        handle = create_palette_effect(kind, priority, first, last - first + 1, 0, red, green, blue);
        tag_palette_effect(handle, effect_class);
    }
}

void create_effects() {
    make_effect(night_vision_effect, 1, 4000, 2, NIGHT_VISION_LAST, 0, 1, 1, NIGHT_VISION_CLASS);
    make_effect(darkness_effect, EFFECT_BLEND, 3000, 2, GLASS_LAST_SKY, 0, 0, 0, DARKNESS_CLASS);
    make_effect(sun_glare_effect, EFFECT_BLEND, 2000, 2, NIGHT_VISION_LAST, 255, 255, 215, SUN_GLARE_CLASS);
    make_effect(dimmed_colour_effect, EFFECT_BLEND, 3000, 255, 255, 0, 0, 0, DIMMED_CLASS);
    make_effect(haze_effect, EFFECT_BLEND, 1000, 2, NIGHT_VISION_LAST, HAZE_GREY, HAZE_GREY, HAZE_GREY, HAZE_CLASS);
}

SkySet chosen_sky_set() {
    if (current_view.weather == WEATHER_CLEAR) return SkySet::CLEAR;
    if (sky_state != SKY_ABOVE_CLOUDS) return SkySet::OVERCAST;
    if ((current_view.flags & VIEW_CLOUDS) || current_view.weather == WEATHER_OVERCAST) return SkySet::ABOVE;
    return SkySet::CLEAR;
}

const uint8_t* sky_colours(SkySet set) {
    return set == SkySet::OVERCAST ? overcast_sky : set == SkySet::ABOVE ? above_sky : clear_sky;
}

// A haze that rises from 0 `reach` away to nearly full at distance 0 (d in world units).
int32_t haze_rising(int32_t d, int32_t reach, int shift) { return d < reach ? ((reach - 1) - d) * (1 << shift) : 0; }

void reload_sky_if_flagged() {
    if (!reload_sky) return;
    load_sky_colours();
    reload_sky = false;
}

}  // namespace

void build_world_palette() {
    const WorldSettings& settings = *current_world_settings;
    load_base_palette(in_directory(settings.data_directory, "3DPAL.RGB").c_str(), 0, PALETTE_FILE_COLOURS, 0);
    std::memcpy(base_palette + 3 * PLAIN_BLUE_COLOUR, PLAIN_BLUE, sizeof PLAIN_BLUE);
    for (const Ramp& ramp : OBJECT_RAMPS) shade_ramp_rows(ramp);
    load_exact(in_directory(settings.data_directory, "CLEAR.RGB"), clear_sky, sizeof clear_sky);
    load_exact(in_directory(settings.data_directory, "OVERCAST.RGB"), overcast_sky, sizeof overcast_sky);
    load_exact(in_directory(settings.data_directory, "ABOVE.RGB"), above_sky, sizeof above_sky);
    load_exact(in_directory(settings.war_zone_directory, "FOG.RGB"), fog_colours, sizeof fog_colours);
    load_exact(in_directory(settings.war_zone_directory, "FOGDULL.RGB"), dull_fog_colours, sizeof dull_fog_colours);
    sky_sets_loaded = true;
    loaded_sky = SkySet::NONE;
    set_shade_ramp(FIRST_SKY_COLOUR, FIRST_SKY_COLOUR, 1);
    shade_ramp_rows(SKY_RAMP);
    load_terrain_colours();
    build_remaps();
    create_effects();
    set_base_palette(current_view.weather == WEATHER_CLEAR ? fog_colours : dull_fog_colours, FIRST_FOG_COLOUR,
                     FOG_COLOURS, 0);
}

void restore_world_palette() {
    // The sets belong to the world shut down; a view without a build of its own keeps its colours.
    sky_sets_loaded = false;
    for (PaletteEffect* effect : {night_vision_effect, darkness_effect, sun_glare_effect, dimmed_colour_effect,
                                  haze_effect})
        set_palette_effect_level(effect, 0, 0);
}

void select_colour_remap() {
    const uint8_t* choice = current_view.night_vision == NIGHT_VISION_ALTERNATE ? night_vision_remap : identity_remap;
    if (choice == chosen_remap) return;
    std::memcpy(colour_remap, choice, sizeof colour_remap);
    chosen_remap = choice;
}

void load_sky_colours() {
    const SkySet set = chosen_sky_set();
    if (!sky_sets_loaded || set == loaded_sky) return;
    set_base_palette(sky_colours(set), FIRST_SKY_COLOUR, SKY_COLOURS, 0);
    loaded_sky = set;
}

void update_night_vision_effect() {
    set_palette_effect_level(night_vision_effect, current_view.night_vision == 1 ? NIGHT_VISION_ON : 0, 0);
}

void update_darkness_effect() {
    const int32_t darkness = current_view.darkness;
    const bool off = current_view.night_vision == 1 || darkness < 0;
    set_palette_effect_level(darkness_effect, off ? 0 : std::min(darkness, DARKEST), 0);
}

void update_sun_glare_effect() {
    set_palette_effect_level(sun_glare_effect, sun_glare, 0);
    sun_glare = 0;
}

void update_sky_palette() {
    load_sky_colours();
    update_night_vision_effect();
    update_darkness_effect();
    update_sun_glare_effect();
    const ViewSettings& view = current_view;
    const int32_t z = eye_pose.position.z;
    int grey = HAZE_GREY;
    int32_t level = 0;
    if (!(view.flags & VIEW_CLOUDS) && view.weather == WEATHER_CLEAR) {
        reload_sky = true;
    } else if (sky_state == SKY_BELOW_CLOUDS) {
        level = haze_rising(view.cloud_base - z, HAZE_BELOW_REACH, 14);
        if (view.weather == WEATHER_LIGHT_FOG) level = (level >> 1) + LIGHT_FOG_HAZE;
        else if (view.weather == WEATHER_THICK_FOG) level = (level >> 3) + THICK_FOG_HAZE;
        reload_sky_if_flagged();
    } else if (sky_state == SKY_IN_CLOUDS) {
        const int32_t d = view.cloud_top - z;
        if (d >= HAZE_TOP_REACH) {
            level = EFFECT_FULL_LEVEL;
        } else {
            grey = HAZE_WHITE;
            level = haze_rising(d, HAZE_TOP_REACH, 15);
        }
        reload_sky = true;
    } else {
        grey = HAZE_WHITE;
        level = haze_rising(z - view.cloud_top, HAZE_BELOW_REACH, 14);
        reload_sky_if_flagged();
    }
    set_palette_effect_colour(haze_effect, grey, grey, grey, 0);
    set_palette_effect_level(haze_effect, level, 0);
}

}  // namespace vyr
