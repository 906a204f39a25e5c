#include "source/hotkeys.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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
#include "platform/accel/framebuffer.h"
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

constexpr int SHIFT_ALT = KEY_SHIFT | KEY_ALT;
constexpr int PAUSE_DIM_STEPS = 50;  // of 100: half brightness
constexpr int STATISTICS_DEBUG_MODE = 5;

int ignore_key(int) { return 1; }

int visual_range_key(int key_code) {
    const int ranges[] = {1, 2, 3, 4, 5, 6, 11};
    view_settings.visual_range = detail_ceiling = ranges[key_code - (SHIFT_ALT | SCAN_1)];
    return 1;
}

int toggle_view_flag_key(int key_code) {
    view_settings.flags ^= key_code == (SHIFT_ALT | SCAN_8) ? VIEW_CLOUDS : VIEW_SHADOWS;
    return 1;
}

// Shift+Alt+9 flips the Gouraud bit of the object textures, Shift+Alt+0 the texture bit.
int object_textures_key(int key_code) {
    if (view_settings.object_textures >= 0 && view_settings.object_textures <= 3)
        view_settings.object_textures ^= key_code == (SHIFT_ALT | SCAN_9) ? 2 : 1;
    return 1;
}

int terrain_detail_key(int key_code) {
    int32_t& detail = view_settings.terrain_detail;
    detail = key_code == (SHIFT_ALT | SCAN_F1) ? 0 : key_code == (SHIFT_ALT | SCAN_F2) ? 1 : detail == 2 ? 3 : 2;
    return 1;
}

int next_drone_key(int) { return view_next_drone(); }

int previous_drone_key(int) { return view_previous_drone(); }

namespace accel = platform::accel;

// The 3D frame on the screen when the pause began; empty when the 2D display had it.
std::vector<uint16_t> kept_3d_frame() {
    accel::LockedBuffer lfb;
    if (!accel::is_3d_display_shown() ||
        !accel::lock_frame_buffer(accel::LockAccess::READ, accel::LockBuffer::FRONT, accel::LockFormat::RGB565, lfb))
        return {};
    std::vector<uint16_t> kept(size_t(accel::SCREEN_WIDTH) * accel::SCREEN_HEIGHT);
    for (int y = 0; y < accel::SCREEN_HEIGHT; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(lfb.pixels) + y * lfb.stride);
        std::copy(row, row + accel::SCREEN_WIDTH, kept.begin() + y * accel::SCREEN_WIDTH);
    }
    accel::unlock_frame_buffer(accel::LockAccess::READ, accel::LockBuffer::FRONT);
    return kept;
}

// The palette dims the 2D display only; the 3D frame that has the screen in flight is dimmed alike
// from its kept copy and shown again.
void dim_3d_frame(const std::vector<uint16_t>& kept, int step) {
    accel::LockedBuffer lfb;
    if (kept.empty() ||
        !accel::lock_frame_buffer(accel::LockAccess::WRITE, accel::LockBuffer::FRONT, accel::LockFormat::RGB565, lfb))
        return;
    const unsigned lit = unsigned(100 - step);
    for (int y = 0; y < accel::SCREEN_HEIGHT; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(lfb.pixels) + y * lfb.stride);
        for (int x = 0; x < accel::SCREEN_WIDTH; ++x) {
            const unsigned p = kept[size_t(y) * accel::SCREEN_WIDTH + x];
            row[x] = uint16_t((p >> 11) * lit / 100 << 11 | (p >> 5 & 63) * lit / 100 << 5 | (p & 31) * lit / 100);
        }
    }
    accel::unlock_frame_buffer(accel::LockAccess::WRITE, accel::LockBuffer::FRONT);
    accel::show_3d_display();
}

void set_pause_dim(PaletteEffect* dim, const std::vector<uint16_t>& kept, int step) {
    set_palette_effect_level(dim, int(int64_t(step) * EFFECT_FULL_LEVEL / 100), 1);
    dim_3d_frame(kept, step);
    wait_vertical_blank();
}

void wait_for_pause_key() {
    for (;;) {
        Event event;
        if (!get_event(event)) {
            wait_after_empty_poll();
            continue;
        }
        if (event.type == EV_KEY && (event.value & 0xFF) == SCAN_P) return;
    }
}

}  // namespace

void register_common_keys() {
    add_hot_key(KEY_ALT | SCAN_ESCAPE, ignore_key);
    add_hot_key(KEY_ALT | SCAN_BACKSPACE, screen_shot_key);
    for (int scan = SCAN_1; scan <= SCAN_7; ++scan) add_hot_key(SHIFT_ALT | scan, visual_range_key);
    add_hot_key(SHIFT_ALT | SCAN_8, toggle_view_flag_key);
    add_hot_key(SHIFT_ALT | SCAN_9, object_textures_key);
    add_hot_key(SHIFT_ALT | SCAN_0, object_textures_key);
    for (int scan = SCAN_F1; scan <= SCAN_F3; ++scan) add_hot_key(SHIFT_ALT | scan, terrain_detail_key);
    add_hot_key(SHIFT_ALT | SCAN_F4, toggle_view_flag_key);
    add_hot_key(SCAN_F12, next_drone_key);
    add_hot_key(KEY_SHIFT | SCAN_F12, previous_drone_key);
    if (debug_flag) add_hot_key(KEY_SHIFT | KEY_CTRL | KEY_ALT | SCAN_TAB, ignore_key);
}

void register_pause_key() { add_hot_key(SCAN_P, pause_flight); }

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
    add_hot_key(KEY_SHIFT | SCAN_M, open_chat_line);
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
    const std::vector<uint16_t> kept = kept_3d_frame();
    for (int i = 0; i <= PAUSE_DIM_STEPS; ++i) set_pause_dim(dim, kept, i);
    wait_for_pause_key();
    for (int i = PAUSE_DIM_STEPS - 1; i >= 0; --i) set_pause_dim(dim, kept, i);
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
    if (is_key_down(SCAN_F) && debug_mode >= STATISTICS_DEBUG_MODE) {
        if (is_key_down(SCAN_ALT)) frame_statistics_on = 1;
        if (is_key_down(SCAN_CTRL)) frame_statistics_on = 0;
    }
}

}  // namespace vyr
