#include "library/3dvisual/sky.h"

#include <cstdlib>

#include "library/3dvisual/clouds.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"

namespace vyr {

Horizon horizon;

namespace {

constexpr int32_t STEEP_UP = 0x38E38E39;                // 80 degrees
constexpr int32_t STEEP_DOWN = int32_t(0xC71C71C7);     // -80 degrees
constexpr int32_t PLOT_UNITS_PER_PIXEL = 500;
constexpr int32_t HORIZON_REACH = 2560000;  // right and left of the eye, 25,600 ahead
constexpr int32_t HORIZON_AHEAD = 25600;
constexpr int NORMAL_SHIFT = 3;  // 1.31 to the normal's 2^28
constexpr int32_t FULL_SHADE = 0x7FFFFFFF;
constexpr uint32_t BAND_PATTERN = 0xA6A7A6A7;  // the cloud colour over the horizon colour
// The horizon ball.
constexpr int32_t BALL_HALF_SQUARE = 22000;
constexpr int32_t BALL_ARC_REACH = 24000;
constexpr int32_t BALL_ARC_DROP = 21000;  // at 80 degrees

struct PlotPoint {
    int32_t x, y;
};

PlotWindow saved_plot;

uint32_t pattern_of(int colour) { return uint32_t(colour & 0xFF) * 0x01010101u; }
uint32_t remapped(int colour) { return pattern_of(colour_remap[colour & 0xFF]); }

int32_t round31(int64_t product) { return int32_t((product + (int64_t(1) << 30)) >> 31); }

// The whole viewport in one colour: a plain fill in software, under the accelerator a flat
// polygon over the viewport alone (a buffer clear would take the cockpit's instruments with it).
void fill_view(uint32_t pattern) {
    if (!accelerator_flag) {
        clear_viewport(pattern);
        return;
    }
    const ViewportRect& v = viewport_rect;
    PolyVertex corners[4] = {};
    const int32_t xs[4] = {v.left, v.right + 1, v.right + 1, v.left};
    const int32_t ys[4] = {v.top, v.top, v.bottom + 1, v.bottom + 1};
    for (int i = 0; i < 4; ++i) {
        corners[i].screen_x = xs[i];
        corners[i].screen_y = ys[i];
        corners[i].next = i < 3 ? &corners[i + 1] : nullptr;
    }
    draw_poly_flat_overlay(corners, pattern);
}

// A plot window over the viewport, 500 plot units to a pixel, centred, unturned.
void set_sky_plot() {
    const ViewportRect& v = viewport_rect;
    const int32_t sx = PLOT_UNITS_PER_PIXEL * v.width / 2, sy = PLOT_UNITS_PER_PIXEL * v.height / 2;
    set_plot(v.left, v.top, v.width, v.height, -sx, -sy, sx, sy);
    set_plot_offset(0, 0);
    set_plot_rotation(0);
}

// The horizon for a pitch and roll, in the plot window of set_sky_plot.
void compute_horizon(uint32_t pitch, uint32_t roll) {
    const int32_t sp = lookup_sin(pitch), cp = lookup_cos(pitch), sr = lookup_sin(roll), cr = lookup_cos(roll);
    // Level right and forward turned by the pitch and roll; the eye's heading does not matter.
    const int32_t right[3] = {cr, 0, sr};
    const int32_t forward[3] = {round31(int64_t(sr) * sp), cp, round31(-int64_t(cr) * sp)};
    const int32_t sx = current_plot.world_x1, sy = current_plot.world_y1;
    auto project = [&](int32_t reach, int32_t& px, int32_t& py) {
        int32_t eye[3];
        for (int axis = 0; axis < 3; ++axis)
            eye[axis] = round31(int64_t(right[axis]) * reach + int64_t(forward[axis]) * HORIZON_AHEAD);
        const int32_t up = stretch_up(eye[2]);
        px = int32_t(int64_t(eye[0]) * sx / eye[1]);
        py = int32_t(int64_t(up) * sy / eye[1]);
    };
    project(-HORIZON_REACH, horizon.left_x, horizon.left_y);
    project(HORIZON_REACH, horizon.right_x, horizon.right_y);
    horizon.up_x = -(sr >> NORMAL_SHIFT);
    horizon.up_y = cr >> NORMAL_SHIFT;
}

// A closed list of four plot vertices, shaded `lower` at the first and last and `upper` at the
// others.
struct Quad {
    PolyVertex v[4];
    Quad(PlotPoint a, PlotPoint b, PlotPoint c, PlotPoint d, int32_t lower = 0, int32_t upper = 0) : v{} {
        const PlotPoint p[4] = {a, b, c, d};
        for (int i = 0; i < 4; ++i) {
            v[i].x = p[i].x;
            v[i].y = p[i].y;
            v[i].shade = i == 0 || i == 3 ? lower : upper;
            v[i].next = i < 3 ? &v[i + 1] : nullptr;
        }
    }
};

PlotPoint shifted(int32_t x, int32_t y, int32_t dx, int32_t dy, int sign) {
    return {plot_add(x, sign * dx), plot_add(y, sign * dy)};
}

Quad ground_polygon() {
    const Horizon& h = horizon;
    return {shifted(h.left_x, h.left_y, h.up_x, h.up_y, -1), {h.left_x, h.left_y}, {h.right_x, h.right_y},
            shifted(h.right_x, h.right_y, h.up_x, h.up_y, -1)};
}

Quad sky_polygon() {
    const Horizon& h = horizon;
    return {{h.left_x, h.left_y}, shifted(h.left_x, h.left_y, h.up_x, h.up_y, 1),
            shifted(h.right_x, h.right_y, h.up_x, h.up_y, 1), {h.right_x, h.right_y}};
}

bool solid_layer_shown() { return (current_view.flags & VIEW_CLOUDS) || current_view.weather == WEATHER_OVERCAST; }

bool clouds_queued(int cloud_tiles) { return cloud_tiles > 0 && (current_view.flags & VIEW_CLOUDS); }

void queue_clouds_if_shown(int cloud_tiles) {
    if (clouds_queued(cloud_tiles)) queue_cloud_layer();
}

void draw_stars_if_seen() {
    if (sky_state == SKY_ABOVE_CLOUDS || current_view.weather == WEATHER_CLEAR) draw_stars();
}

// The flat upper sky and the band that shades down to the horizon.
void fill_sky_and_band() {
    const Horizon& h = horizon;
    const int32_t band = stretch_up(current_plot.world_y1 / 4);
    const int32_t ax = round31(-int64_t(view_sin_roll) * band), ay = round31(int64_t(view_cos_roll) * band);
    const PlotPoint left{h.left_x, h.left_y}, right{h.right_x, h.right_y};
    const PlotPoint left_top = shifted(left.x, left.y, ax, ay, 1), right_top = shifted(right.x, right.y, ax, ay, 1);
    Quad upper(left_top, shifted(left.x, left.y, h.up_x, h.up_y, 1), shifted(right.x, right.y, h.up_x, h.up_y, 1),
               right_top);
    if (accelerator_flag) fill_plot_poly_overlay(upper.v, remapped(SKY_TOP_COLOUR));
    else fill_plot_poly(upper.v, remapped(SKY_TOP_COLOUR));
    Quad shaded_band(left, left_top, right_top, right, FULL_SHADE, 0);
    if (sky_state != SKY_BELOW_CLOUDS || !(current_view.flags & VIEW_CLOUDS)) {
        if (accelerator_flag) fill_plot_poly_gouraud_flat(shaded_band.v, BAND_PATTERN);
        else fill_plot_poly_gouraud(shaded_band.v, BAND_PATTERN);
    } else if (accelerator_flag) {
        fill_plot_poly_overlay(shaded_band.v, remapped(HORIZON_COLOUR));
    } else {
        fill_plot_poly(shaded_band.v, remapped(CLOUD_COLOUR));
    }
}

// An instrument's rectangle becomes the viewport; steep, it shows one colour and false is
// returned, else the horizon of the pose's pitch and roll is worked out in its sky window.
bool start_ball(int x, int y, int width, int height, const Pose* pose, uint32_t ground_pattern, uint32_t sky_pattern,
                uint32_t& pitch, uint32_t& roll) {
    set_viewport(x, y, width, height);
    uint32_t heading;
    get_matrix_angles(pose->matrix, heading, pitch, roll);
    if (int32_t(pitch) > STEEP_UP) fill_view(sky_pattern);
    else if (int32_t(pitch) < STEEP_DOWN) fill_view(ground_pattern);
    else {
        set_sky_plot();
        compute_horizon(pitch, roll);
        return true;
    }
    return false;
}

}  // namespace

void reset_sky_state() {
    horizon = {};
    cloud_tile_range = CLOUD_TILE_RANGE_AT_START;
}

void draw_backdrop() {
    if (sky_state == SKY_IN_CLOUDS && solid_layer_shown()) return;
    const int32_t pitch = int32_t(view_pitch);
    if (pitch >= STEEP_UP) return;
    if (pitch <= STEEP_DOWN) {
        const bool on_layer = sky_state == SKY_ABOVE_CLOUDS && solid_layer_shown();
        const int colour = on_layer ? CLOUD_COLOUR : terrain_ground_colours[0];
        fill_view(accelerator_flag ? pattern_of(colour) : remapped(colour));
        return;
    }
    save_plot(saved_plot);
    set_sky_plot();
    compute_horizon(view_pitch, view_roll);
    Quad ground = ground_polygon();
    const bool on_layer = sky_state == SKY_ABOVE_CLOUDS && (current_view.flags & VIEW_CLOUDS);
    if (accelerator_flag) fill_plot_poly_overlay(ground.v, on_layer ? pattern_of(HORIZON_COLOUR) : remapped(HORIZON_COLOUR));
    else fill_plot_poly(ground.v, remapped(on_layer ? CLOUD_COLOUR : terrain_ground_colours[0]));
}

void draw_sky() {
    if ((current_view.weather == WEATHER_LIGHT_FOG || current_view.weather == WEATHER_THICK_FOG) &&
        sky_state == SKY_BELOW_CLOUDS)
        current_view.flags &= ~VIEW_CLOUDS;
    const int cloud_tiles = find_cloud_tiles();
    if (clouds_queued(cloud_tiles)) prepare_cloud_layer(cloud_tile_range, cloud_fade_height);
    if (sky_state == SKY_IN_CLOUDS && solid_layer_shown()) {
        fill_view(accelerator_flag ? pattern_of(CLOUD_COLOUR) : remapped(CLOUD_COLOUR));
        return;
    }
    const int32_t pitch = int32_t(view_pitch);
    if (pitch <= STEEP_DOWN) {
        queue_clouds_if_shown(cloud_tiles);
        return;
    }
    if (pitch >= STEEP_UP) {
        fill_view(accelerator_flag ? pattern_of(SKY_TOP_COLOUR) : remapped(SKY_TOP_COLOUR));
        queue_clouds_if_shown(cloud_tiles);
        draw_stars_if_seen();
        return;
    }
    fill_sky_and_band();
    queue_clouds_if_shown(cloud_tiles);
    restore_plot(saved_plot);
    const ViewportRect& v = viewport_rect;
    set_clip_rect(v.left, v.top, v.right, v.bottom);
    draw_stars_if_seen();
}

void draw_attitude_ball(int x, int y, int width, int height, const Pose* pose, uint32_t ground_pattern,
                        uint32_t sky_pattern) {
    uint32_t pitch, roll;
    if (!start_ball(x, y, width, height, pose, ground_pattern, sky_pattern, pitch, roll)) return;
    Quad ground = ground_polygon(), sky = sky_polygon();
    fill_plot_poly(ground.v, ground_pattern);
    fill_plot_poly(sky.v, sky_pattern);
}

void draw_horizon_ball(int x, int y, int width, int height, const Pose* pose, uint32_t ground_pattern,
                       uint32_t sky_pattern) {
    uint32_t pitch, roll;
    if (!start_ball(x, y, width, height, pose, ground_pattern, sky_pattern, pitch, roll)) return;
    const int32_t sr = lookup_sin(roll), cr = lookup_cos(roll);
    auto turned = [&](int32_t px, int32_t py) -> PlotPoint {
        return {round31(int64_t(px) * cr - int64_t(py) * sr), round31(int64_t(px) * sr + int64_t(py) * cr)};
    };
    const int32_t s = BALL_HALF_SQUARE;
    Quad lower(turned(-s, -s), turned(s, -s), turned(s, 0), turned(-s, 0));
    Quad upper(turned(-s, 0), turned(s, 0), turned(s, s), turned(-s, s));
    fill_plot_poly(lower.v, ground_pattern);
    fill_plot_poly(upper.v, sky_pattern);
    const int32_t d = int32_t(int64_t(BALL_ARC_DROP) * lookup_sin(pitch) / lookup_sin(STEEP_UP));
    if (d == 0) return;
    const int64_t c = (int64_t(BALL_ARC_REACH) * BALL_ARC_REACH - int64_t(d) * d) / (2 * int64_t(d));
    const int32_t radius = int32_t(std::llabs(c) + std::abs(d));
    fill_plot_circle(round31(-c * sr), round31(c * cr), radius, d > 0 ? sky_pattern : ground_pattern);
}

}  // namespace vyr
