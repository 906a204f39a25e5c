#include "source/hotkeys.h"

#include <cstdio>

#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/graphics/display.h"
#include "library/graphics/font.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/sound/dsound.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "library/system/timer.h"
#include "library/ui/repaint.h"
#include "source/avionics/avionics.h"
#include "source/avionics/mfd.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/wingman.h"
#include "source/frame_loop.h"
#include "source/intro.h"
#include "source/menus/logs/pilot_log.h"
#include "source/models/flight_model.h"
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t frame_statistics_on = 0;

namespace {

constexpr int SHIFT_ALT_1 = 0x5002;
constexpr int PAUSE_DIM_STEPS = 50;  // of 100: half brightness
constexpr int F_SCAN_CODE = 33;
constexpr int CTRL_SCAN_CODE = 29;
constexpr int ALT_SCAN_CODE = 56;
constexpr int STATISTICS_DEBUG_MODE = 5;

int ignore_key(int) { return 1; }

int visual_range_key(int key_code) {
    const int ranges[] = {1, 2, 3, 4, 5, 6, 11};
    view_settings.visual_range = detail_ceiling = ranges[key_code - SHIFT_ALT_1];
    return 1;
}

int toggle_view_flag_key(int key_code) {
    view_settings.flags ^= key_code == 0x5009 ? VIEW_CLOUDS : VIEW_SHADOWS;
    return 1;
}

// Shift+Alt+9 flips the Gouraud bit of the object textures, Shift+Alt+0 the texture bit.
int object_textures_key(int key_code) {
    if (view_settings.object_textures >= 0 && view_settings.object_textures <= 3)
        view_settings.object_textures ^= key_code == 0x500A ? 2 : 1;
    return 1;
}

int terrain_detail_key(int key_code) {
    int32_t& detail = view_settings.terrain_detail;
    detail = key_code == 0x503B ? 0 : key_code == 0x503C ? 1 : detail == 2 ? 3 : 2;
    return 1;
}

int next_drone_key(int) {
    view_next_drone();
    return 1;
}

int previous_drone_key(int) {
    view_previous_drone();
    return 1;
}

void set_pause_dim(PaletteEffect* dim, int step) {
    set_palette_effect_level(dim, int(int64_t(step) * EFFECT_FULL_LEVEL / 100), 1);
    wait_vertical_blank();
}

void wait_for_pause_key() {
    for (;;) {
        Event event;
        if (!get_event(event)) {
            wait_after_empty_poll();
            continue;
        }
        if (event.type == EV_KEY && (event.value & 0xFF) == PAUSE_SCAN_CODE) return;
    }
}

}  // namespace

void register_common_keys() {
    add_hot_key(0x1001, ignore_key);
    add_hot_key(0x100E, screen_shot_key);
    for (int code = SHIFT_ALT_1; code <= 0x5008; ++code) add_hot_key(code, visual_range_key);
    add_hot_key(0x5009, toggle_view_flag_key);
    add_hot_key(0x500A, object_textures_key);
    add_hot_key(0x500B, object_textures_key);
    for (int code = 0x503B; code <= 0x503D; ++code) add_hot_key(code, terrain_detail_key);
    add_hot_key(0x503E, toggle_view_flag_key);
    add_hot_key(0x58, next_drone_key);
    add_hot_key(0x4058, previous_drone_key);
    if (debug_flag) add_hot_key(0x700F, ignore_key);
}

void register_pause_key() { add_hot_key(PAUSE_SCAN_CODE, pause_flight); }

void register_flight_keys() {
    register_common_keys();
    register_detail_keys();
    register_pause_key();
    register_time_keys();
    register_model_keys();
    register_user_drone_keys();
    register_view_keys();
    register_cockpit_keys();
    register_avionics_keys();
    register_mfd_keys();
    register_pod_key();
    register_weapon_keys();
    register_comms_phrase_keys();
    register_wingman_keys();
    add_hot_key(KEY_SHIFT | 0x32, open_chat_line);
}

int pause_flight(int) {
    if (free_pause) {
        flight_paused = !flight_paused;
        return 1;
    }
    if (game_mode != GAME_SINGLE) return 1;
    pause_all_channels();
    flush_events();
    PaletteEffect* dim = create_palette_effect(EFFECT_BLEND, EFFECT_FULL_LEVEL, 0, 256, 0, 0, 0, 0);
    for (int i = 0; i <= PAUSE_DIM_STEPS; ++i) set_pause_dim(dim, i);
    wait_for_pause_key();
    for (int i = PAUSE_DIM_STEPS - 1; i >= 0; --i) set_pause_dim(dim, i);
    set_palette_effect_level(dim, 0, 1);
    destroy_palette_effect(dim);
    flush_events();
    get_frame_time();
    resume_all_channels();
    return 1;
}

void dispatch_key_events() {
    bool restricted = !controls_powered();
    Event event;
    while (get_event(event))
        if (event.type == EV_KEY && (!restricted || !is_key_restricted(event.value))) handle_key_event(event);
    poll_hot_keys(restricted);
}

void register_flight_watches() {
    frame_statistics_on = 0;
    watch_debug_value("frame_rate ... ", 11, &frame_rate);
    watch_debug_value("delta_time ... ", 0, &frame_fraction);
    watch_debug_value("polygons_per_frame ... ", 0, &poly_count);
}

void count_frame_statistics() {
    if (frame_statistics_on == 1) {
        char line[160];
        std::snprintf(line, sizeof line, "FRAMES=%6.3g : AVERAGE=%6.3g : POLYGONS=%d : OBJECTS=%d : BEHIND=%d",
                      frame_rate, average_frame_rate, poly_count, get_object_buffer_count(),
                      get_object_buffer_back_count());
        select_font(&font_large);
        text_x = 0;
        text_y = 0;
        text_colour = 1;
        draw_text(line);
    }
    if (is_key_down(F_SCAN_CODE) && debug_mode >= STATISTICS_DEBUG_MODE) {
        if (is_key_down(ALT_SCAN_CODE)) frame_statistics_on = 1;
        if (is_key_down(CTRL_SCAN_CODE)) frame_statistics_on = 0;
    }
}

}  // namespace vyr
