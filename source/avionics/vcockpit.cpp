#include "source/avionics/vcockpit.h"

#include "source/avionics/mfd.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdio>
#include <string>

#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/graphics/cockpit_layout.h"
#include "library/graphics/font.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/poly_accel.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "source/avionics/cockpit_projection.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/head_look.h"
#include "source/avionics/hud.h"
#include "source/avionics/panel_art.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/sound/triggers.h"
#include "source/startup.h"

namespace vyr {

Screen* panel_screen = nullptr;
Sprite* quit_box_sprite = nullptr;
int32_t cockpit_overlay_started = 0;
CockpitPiece cockpit_pieces[COCKPIT_PIECES] = {};
VisiblePiece visible_pieces[COCKPIT_PIECES] = {};
int visible_piece_count = 0;
int32_t cockpit_lights_on = 0;
int32_t cockpit_darkness = 0;

namespace {

constexpr const char* SOURCE = "source/avionics/vcockpit";
constexpr int32_t SCREEN_W = 640, SCREEN_H = 480, PANORAMA_WIDTH = 2560;
constexpr int32_t LIGHTS_ON_DARKNESS = 0x1fffffff;
// The padlock symbol, in pixels: the tick cross's ticks, and the range arc, a full turn at
// 10 nm and beyond, drawn in steps, with the target's heading marked outside it.
constexpr double PADLOCK_TICK_GAP = 3, PADLOCK_TICK_END = 8, PADLOCK_ARC_RADIUS = 14, PADLOCK_HEADING_END = 20;
constexpr int PADLOCK_ARC_STEP = 10;
constexpr int64_t PADLOCK_ARC_RANGE = int64_t(10) * 1555456;

struct PadlockMark {
    HudPoint centre;
    int32_t arc_degrees;  // 0..360 clockwise from straight up
    uint32_t heading;     // the target's, from the player's
};

constexpr CockpitPiece PIECES[COCKPIT_PIECES] = {
    {485, 0, 309, 226, 1, 1, 2},   {0, 442, 290, 154, 1, 1, 1},   {290, 226, 195, 370, 1, 1, 1},
    {990, 443, 290, 154, 1, 1, 0}, {794, 226, 196, 370, 1, 1, 0}, {485, 226, 309, 370, 0, 1, 2},
    {1280, 100, 1280, 620, 1, 0, 2},
};

// Cockpit (224..239), needles and reference lines (240..241), the canopy's colours (253..255),
// and the two display ranges (208..223, 192..207).
struct EffectRange {
    int first, count;
};
constexpr EffectRange EFFECT_RANGES[5] = {{224, 16}, {240, 2}, {253, 3}, {208, 16}, {192, 16}};
PaletteEffect* cockpit_effects[5] = {};

Sprite quit_box = {};
uint8_t* quit_box_pixels = nullptr;

void require_file(const std::string& path, const char* name) {
    if (!check_file_exists(path.c_str())) report_fatal_error("%s is missing.", SOURCE, __LINE__, name);
}

void free_quit_box() {
    if (quit_box_pixels) free_memory(quit_box_pixels, SOURCE, __LINE__);
    quit_box_pixels = nullptr;
    quit_box_sprite = nullptr;
}

void load_quit_box() {
    free_quit_box();
    const char* name = product_language == LANG_US ? "yankend.lbm" : "ENDmiss3.lbm";
    const std::string path = join_path("COCKPITS\\", name);
    require_file(path, name);
    if (!load_picture(path.c_str(), &quit_box_pixels, &quit_box.width, &quit_box.height))
        report_fatal_error("%s is missing.", SOURCE, __LINE__, name);
    quit_box.pixels = quit_box_pixels;
    quit_box_sprite = &quit_box;
}

void load_panel_screen() {
    if (panel_screen) destroy_screen(panel_screen);
    panel_screen = create_screen(PANEL_WIDTH, PANEL_HEIGHT);
    const int pitch = PANEL_WIDTH + panel_screen->row_pad;
    std::fill(panel_screen->pixels, panel_screen->pixels + size_t(pitch) * PANEL_HEIGHT, uint8_t(0));
    const std::string path = join_path("COCKPITS\\", "A_1280.LBM");
    require_file(path, "A_1280.LBM");
    uint8_t* pixels = panel_screen->pixels;
    if (!read_picture(path.c_str(), &pixels, pitch, PANEL_HEIGHT, nullptr, nullptr, nullptr))
        report_fatal_error("A_1280.LBM is missing.", SOURCE, __LINE__);
}

int32_t three_quarters(int32_t level) { return int32_t(int64_t(level) * 3 / 4); }

void set_cockpit_palette_levels() {
    if (!cockpit_effects[0]) return;
    const int32_t darkness = view_settings.darkness;
    set_palette_effect_level(cockpit_effects[0], three_quarters(darkness), 0);
    set_palette_effect_level(cockpit_effects[2], three_quarters(darkness), 0);
    set_palette_effect_level(cockpit_effects[1], three_quarters(cockpit_darkness), 0);
    palette_changed = true;
    apply_palette();
}

// The target's bearing and elevation from the aircraft, in degrees.
void padlock_angles(int32_t& bearing, int32_t& elevation) {
    bearing = elevation = 0;
    Vector3 where;
    if (!player_position || !get_target_position(&padlock_target, where)) return;
    uint32_t b;
    int32_t e;
    compute_view_angles_to_point(player_position->position, player_position->matrix, where, b, e);
    bearing = int32_t(int64_t(int32_t(b)) * 180 / 0x80000000ll);
    elevation = int32_t(int64_t(e) * 180 / 0x80000000ll);
}

const char* padlock_target_name() {
    if (padlock_target.kind == TARGET_NONE || is_target_destroyed(&padlock_target)) return "Nothing";
    return get_target_name(&padlock_target, 0);
}

// The whole view as the plot window, in pixels from its centre, y up; the clip rectangle with it,
// which the head-up display leaves cut to its glass.
void set_view_plot() {
    set_plot(0, 0, SCREEN_W, SCREEN_H, -SCREEN_W / 2, 1 - SCREEN_H / 2, SCREEN_W / 2 - 1, SCREEN_H / 2);
}

// A line between screen pixels, into the frame buffer through the view's plot window.
void screen_line(int x0, int y0, int x1, int y1) {
    draw_plot_line(x0 - SCREEN_W / 2, SCREEN_H / 2 - y0, x1 - SCREEN_W / 2, SCREEN_H / 2 - y1, NEEDLE_COLOUR);
}

// The strip under the view while padlocked and looking off the front panel.
void draw_padlock_info() {
    if (padlock_returning || !(look_y < -90 || look_x < -99 || look_x >= 100)) return;
    PlotWindow saved;
    save_plot(saved);
    set_view_plot();
    draw_padlock_symbol();
    int32_t bearing, elevation;
    padlock_angles(bearing, elevation);
    screen_line(160, 460, 480, 460);
    screen_line(320, 456, 320, 464);
    const int bx = 320 + std::clamp(bearing, -180, 180) * 288 / 360;
    const int by = 460 - std::clamp(elevation, -90, 90) * 36 / 180;
    screen_line(bx - 16, by - 3, bx + 16, by - 3);
    screen_line(bx - 16, by + 3, bx + 16, by + 3);
    screen_line(bx - 16, by - 3, bx - 16, by + 3);
    screen_line(bx + 16, by - 3, bx + 16, by + 3);
    screen_line(484, 442, 484, 478);
    for (int k = 0; k <= 8; ++k) screen_line(484, 442 + k * 36 / 8, 487, 442 + k * 36 / 8);
    const int pitch = int(int64_t(int32_t(flight_data.pitch)) * 180 / 0x80000000ll);
    const int py = 460 - std::clamp(pitch, -90, 90) * 36 / 180;
    screen_line(480, py, 488, py);
    select_font(&font_small);
    text_colour = NEEDLE_COLOUR;
    char text[64];
    std::snprintf(text, sizeof text, "Speed : %d", flight_data.true_airspeed);
    text_x = 160, text_y = 470;
    draw_text(text);
    std::snprintf(text, sizeof text, "Tracking  %s", padlock_target_name());
    text_x = 266, text_y = 470;
    draw_text(text);
    std::snprintf(text, sizeof text, "Alt : %d", flight_data.height_above_ground / 256);
    text_x = 414, text_y = 470;
    draw_text(text);
    restore_plot(saved);
}

PadlockMark padlock_mark_at(HudPoint centre) {
    PadlockMark mark{centre, 0, 0};
    const Vector3 at = target_position(&padlock_target), own = player_position->position;
    const Vector3 d = {at.x - own.x, at.y - own.y, at.z - own.z};
    const int64_t range = measure_distance_3d(d.x, d.y, d.z);
    mark.arc_degrees = int32_t(std::min<int64_t>(range * 360 / PADLOCK_ARC_RANGE, 360));
    if (padlock_target.kind == TARGET_MOBILE) {
        Vector3 direction;
        get_target_direction(&padlock_target, direction);
        mark.heading = compute_bearing(direction.x, direction.y) - uint32_t(flight_data.heading);
    }
    return mark;
}

// The point at `degrees` clockwise from straight up on a circle of `radius` pixels.
HudPoint on_mark_circle(HudPoint centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {centre.x + int32_t(std::lround(radius * std::sin(a))), centre.y + int32_t(std::lround(radius * std::cos(a)))};
}

}  // namespace

int padlock_screen_point(HudPoint& out) {
    Vector3 where;
    if (!player_position || !get_target_position(&padlock_target, where)) return 0;
    Vector3 e;
    const Vector3& own = player_position->position;
    rotate_vector(eye_matrix, {where.x - own.x, where.y - own.y, where.z - own.z}, e);
    if (e.y < 1) return 0;
    const int64_t x = int64_t(SCREEN_W / 2) * e.x / e.y, y = int64_t(SCREEN_W / 2) * e.z / e.y;
    if (x < -SCREEN_W / 2 || x >= SCREEN_W / 2 || y <= -SCREEN_H / 2 || y > SCREEN_H / 2) return 0;
    out = {int32_t(x), int32_t(y)};
    return 1;
}

void draw_padlock_symbol() {
    HudPoint centre;
    if (!padlock_screen_point(centre)) return;
    const PadlockMark mark = padlock_mark_at(centre);
    PlotWindow saved;
    save_plot(saved);
    set_view_plot();
    constexpr int colour = NEEDLE_COLOUR;
    for (double degrees : {0.0, 90.0, 180.0, 270.0}) {
        const HudPoint a = on_mark_circle(centre, PADLOCK_TICK_GAP, degrees), b = on_mark_circle(centre, PADLOCK_TICK_END, degrees);
        draw_plot_line(a.x, a.y, b.x, b.y, colour);
    }
    for (int from = 0; from < mark.arc_degrees; from += PADLOCK_ARC_STEP) {
        const int to = std::min(from + PADLOCK_ARC_STEP, mark.arc_degrees);
        const HudPoint a = on_mark_circle(centre, PADLOCK_ARC_RADIUS, from), b = on_mark_circle(centre, PADLOCK_ARC_RADIUS, to);
        draw_plot_line(a.x, a.y, b.x, b.y, colour);
    }
    const double heading = double(int32_t(mark.heading)) * 180 / 2147483648.0;
    const HudPoint a = on_mark_circle(centre, PADLOCK_ARC_RADIUS, heading), b = on_mark_circle(centre, PADLOCK_HEADING_END, heading);
    draw_plot_line(a.x, a.y, b.x, b.y, colour);
    restore_plot(saved);
}

void init_cockpit_pieces() { std::copy(std::begin(PIECES), std::end(PIECES), cockpit_pieces); }

void compute_visible_cockpit_pieces() {
    visible_piece_count = 0;
    const int32_t window_x = ((look_x + 320) % PANORAMA_WIDTH + PANORAMA_WIDTH) % PANORAMA_WIDTH;
    for (int i = 0; i < COCKPIT_PIECES; ++i) {
        const CockpitPiece& p = cockpit_pieces[i];
        if (!p.shown) continue;
        const int32_t wx = i == 6 && look_x < 0 ? window_x + PANORAMA_WIDTH : window_x;
        const int32_t x0 = std::max(p.x, wx), x1 = std::min(p.x + p.width, wx + SCREEN_W);
        const int32_t y0 = std::max(p.y, look_y), y1 = std::min(p.y + p.height, look_y + SCREEN_H);
        if (x0 >= x1 || y0 >= y1) continue;
        visible_pieces[visible_piece_count++] = {x0, y0, x1 - x0, y1 - y0, p.transparent, p.shown, p.kind};
    }
}

void draw_cockpit_pieces() {
    if (!panel_screen) return;
    const int32_t window_x = ((look_x + 320) % PANORAMA_WIDTH + PANORAMA_WIDTH) % PANORAMA_WIDTH;
    const int pitch = PANEL_WIDTH + panel_screen->row_pad;
    for (int i = 0; i < visible_piece_count; ++i) {
        const VisiblePiece& v = visible_pieces[i];
        if (!v.shown) continue;
        // The pieces reach past the panel picture's last rows and columns: nothing is there to copy.
        const int32_t width = std::min(v.width, PANEL_WIDTH - v.source_x);
        const int32_t height = std::min(v.height, PANEL_HEIGHT - v.source_y);
        if (width <= 0 || height <= 0 || v.source_x < 0 || v.source_y < 0) continue;
        const uint8_t* source = panel_screen->pixels + size_t(v.source_y) * pitch + v.source_x;
        const int x = v.source_x - window_x, y = v.source_y - look_y;
        if (v.transparent)
            blit_transparent32(x, y, width, height, source, pitch - width);
        else
            blit_opaque32(x, y, width, height, source, pitch - width);
    }
}

void load_cockpit_palette() {
    for (int k = 0; k < 5; ++k)
        if (!cockpit_effects[k])
            cockpit_effects[k] =
                create_palette_effect(EFFECT_BLEND, 1, EFFECT_RANGES[k].first, EFFECT_RANGES[k].count, 0, 0, 0, 0);
    load_base_palette("COCKPITS\\COCKPITS.RGB", COCKPIT_FIRST_COLOUR, COCKPIT_COLOURS, 1);
}

void init_cockpit_overlay() {
    cockpit_darkness = view_settings.darkness;
    cockpit_lights_on = 0;
    load_quit_box();
    reset_head_look();
    init_cockpit_pieces();
    compute_visible_cockpit_pieces();
    load_cockpit_palette();
    load_panel_screen();
}

int toggle_cockpit_lights_key(int) {
    play_click_sound();
    cockpit_lights_on = !cockpit_lights_on;
    cockpit_darkness = cockpit_lights_on ? std::min(view_settings.darkness, LIGHTS_ON_DARKNESS) : view_settings.darkness;
    return 1;
}

void draw_cockpit_overlay() {
    set_cockpit_palette_levels();
    if (view_mode == VIEW_ORBIT_OBJECT || view_mode > 14) report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    if (view_mode == VIEW_AIRFRAME_CAMERA) {
        reset_clip_rect();
        if (look_changed) compute_visible_cockpit_pieces();
        return;
    }
    if (view_mode != VIEW_COCKPIT) return;
    reset_clip_rect();
    if (look_changed) compute_visible_cockpit_pieces();
    const bool locked = accel_lock_frame_buffer();
    draw_hud();
    if (locked) {
        draw_cockpit_pieces();
        if (padlock_on) draw_padlock_info();
        accel_unlock_frame_buffer();
    }
}

void free_cockpit() {
    for (PaletteEffect*& effect : cockpit_effects) {
        if (effect) destroy_palette_effect(effect);
        effect = nullptr;
    }
    free_cockpit_art();
    free_mfd_pictures();
    free_quit_box();
    if (panel_screen) destroy_screen(panel_screen);
    panel_screen = nullptr;
}

}  // namespace vyr
