#include "source/avionics/night_vision.h"

#include <algorithm>

#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/maths/units.h"
#include "library/system/key.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/sound/triggers.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"

namespace vyr {

int32_t night_vision_on = 0;
int32_t night_flag = 0;
HeadPan head_pan = {};
HeadPan sensor_pan = {};

namespace {

constexpr const char* SOURCE = "source/avionics/pnvs";
constexpr int32_t FULL = 0x7FFFFFFF;
constexpr int32_t NIGHT_DARKNESS = 1503238552;  // 0.7 of full darkness
constexpr int PRIORITY = 10000;
constexpr int32_t GREY = 1;

struct EffectSpec {
    int32_t kind;
    int first, last;
    int red, green, blue;  // a grey effect: the channels it writes
};
constexpr EffectSpec NIGHT_EFFECTS[] = {
    {GREY, 2, 167, 0, 1, 1},          {GREY, 192, 255, 0, 1, 1},        {EFFECT_BLEND, 2, 191, 0, 127, 127},
    {EFFECT_BLEND, 224, 255, 0, 127, 127}, {EFFECT_BLEND, 192, 207, 0, 127, 127}, {EFFECT_BLEND, 71, 154, 0, 0, 0},
    {EFFECT_BLEND, 155, 167, 0, 0, 0},     {EFFECT_BLEND, 168, 191, 255, 255, 255},
    {EFFECT_BLEND, 2, 82, 200, 200, 200}};
constexpr EffectSpec DAY_EFFECTS[] = {
    {EFFECT_BLEND, 2, 191, 0, 0, 0}, {EFFECT_BLEND, 224, 255, 0, 0, 0}, {EFFECT_BLEND, 192, 207, 0, 0, 0}};
constexpr int NIGHT_COUNT = sizeof NIGHT_EFFECTS / sizeof NIGHT_EFFECTS[0];
constexpr int DAY_COUNT = sizeof DAY_EFFECTS / sizeof DAY_EFFECTS[0];

PaletteEffect* night_effects[NIGHT_COUNT] = {};
PaletteEffect* day_effects[DAY_COUNT] = {};

// Made once for the program; later set-ups only put their levels back to 0.
template <int N>
void create_or_zero(PaletteEffect* (&effects)[N], const EffectSpec (&specs)[N]) {
    for (int i = 0; i < N; ++i) {
        if (effects[i]) {
            set_palette_effect_level(effects[i], 0, 0);
            continue;
        }
        const EffectSpec& e = specs[i];
        const int scale = e.kind == GREY ? 1 : 0x10000;
        effects[i] = create_palette_effect(e.kind, PRIORITY, e.first, e.last - e.first + 1, 0, e.red * scale,
                                           e.green * scale, e.blue * scale);
        if (!effects[i]) report_fatal_error("Problem initialising lltv!", SOURCE, __LINE__);
    }
}

template <int N>
void zero_levels(PaletteEffect* (&effects)[N]) {
    for (PaletteEffect* effect : effects)
        if (effect) set_palette_effect_level(effect, 0, 0);
    palette_changed = true;
}

void install_night_vision_mode(int32_t mode) {
    view_settings.night_vision = mode;
    set_view_settings(&view_settings);
}

int32_t clamp_angle(int64_t angle, int32_t limit_degrees) {
    return int32_t(std::clamp<int64_t>(angle, -int64_t(limit_degrees) * DEGREE, int64_t(limit_degrees) * DEGREE));
}

// A pan demand (1.31) over `divisor` times the frame's seconds.
int64_t pan_rate(int32_t demand, int divisor) { return int64_t(double(demand) / divisor * frame_fraction / 2147483648.0); }

}  // namespace

void create_night_vision_effects() {
    create_or_zero(night_effects, NIGHT_EFFECTS);
    night_vision_on = 0;
}

void init_night_vision() {
    create_night_vision_effects();
    set_view_settings(&view_settings);
    night_flag = view_settings.darkness >= NIGHT_DARKNESS;
    if (!night_flag) create_or_zero(day_effects, DAY_EFFECTS);
}

void clear_night_vision_effects() {
    zero_levels(night_effects);
    install_night_vision_mode(0);
}

void shutdown_night_vision() {
    clear_night_vision_effects();
    if (!night_flag) zero_levels(day_effects);
}

int toggle_night_vision_key(int) {
    if (!has_targeting_pod()) return 1;
    play_click_sound();
    if (view_mode == VIEW_AIRFRAME_CAMERA || view_mode == VIEW_RUNWAY_CAMERA || view_mode == VIEW_CRASH) return 1;
    night_vision_on = !night_vision_on;
    view_settings.object_textures = 2;
    return 1;
}

void apply_night_vision() {
    if (!night_effects[0]) create_night_vision_effects();
    const int32_t s = view_settings.darkness;
    set_palette_effect_level(night_effects[0], 1, 0);
    set_palette_effect_level(night_effects[1], 1, 0);
    const int32_t dim = int32_t((FULL - s) * 0.8333333);
    for (int i = 2; i <= 4; ++i) set_palette_effect_level(night_effects[i], dim, 0);
    const bool fog = view_settings.weather == WEATHER_LIGHT_FOG || view_settings.weather == WEATHER_THICK_FOG;
    if (!fog) {
        set_palette_effect_level(night_effects[5], s / 4, 0);
        set_palette_effect_level(night_effects[6], s / 4, 0);
        set_palette_effect_level(night_effects[7], FULL, 0);
        set_palette_effect_level(night_effects[8], int32_t(s * 0.25), 0);
    }
    palette_changed = true;
    install_night_vision_mode(1);
}

void remove_night_vision() {
    zero_levels(night_effects);
    install_night_vision_mode(0);
}

int get_night_flag() { return night_flag; }

HeadPan get_head_pan() { return head_pan; }

void set_head_pan(int32_t heading, int32_t pitch) { head_pan = {clamp_angle(heading, 90), clamp_angle(pitch, 45)}; }

void set_sensor_pan(int32_t heading, int32_t pitch) {
    const int limit = view_mode == VIEW_AIRFRAME_CAMERA ? 60 : view_mode == VIEW_RUNWAY_CAMERA ? 45 : 0;
    sensor_pan = limit ? HeadPan{clamp_angle(heading, limit), clamp_angle(pitch, limit)} : HeadPan{heading, pitch};
}

void update_head_panning() {
    int32_t f1, f4, f2, f3;
    get_view_pan_inputs(f1, f4, f2, f3);
    const int32_t h = key_pan_x, v = key_pan_y;
    const bool modifier = is_key_down(SCAN_ALT);
    const bool horizontal = modifier && (f1 || f4 || h);
    const bool vertical = modifier && (f2 || f3 || v);
    if (view_mode == VIEW_COCKPIT) {
        if (horizontal) {
            set_head_pan(int32_t(head_pan.heading + pan_rate(h, 2)), head_pan.pitch);
            if (!is_designator_tracking()) sensor_pan = {0, 0};
        } else if (vertical) {
            set_head_pan(head_pan.heading, int32_t(head_pan.pitch - pan_rate(v, 2)));
        }
    } else if (view_mode == VIEW_AIRFRAME_CAMERA || view_mode == VIEW_RUNWAY_CAMERA) {
        if (horizontal) {
            clear_designation();
            set_sensor_pan(int32_t(sensor_pan.heading + pan_rate(h, 2)), sensor_pan.pitch);
        }
        if (vertical) {
            clear_designation();
            set_sensor_pan(sensor_pan.heading, int32_t(sensor_pan.pitch - pan_rate(v, 4)));
        }
    }
}

}  // namespace vyr
