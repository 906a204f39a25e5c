#include "library/3dvisual/stars.h"

#include <cmath>
#include <string>

#include "library/3dvisual/clouds.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/debug/fatal.h"
#include "library/graphics/circle.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "library/system/memory.h"

namespace vyr {

int32_t sun_glare = 0;
int32_t star_count = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/stars";

constexpr int32_t STARRY_DARKNESS = 644245095;  // 0.3
// The darkness from which each class shows.
constexpr int32_t CLASS_THRESHOLDS[STAR_CLASSES] = {0, 0, 0x20000000, 0x40000000, 0x60000000};
constexpr int STAR_DIRECTION_CENTRE = 32;

constexpr int32_t LOWEST_SUN_ELEVATION = int32_t(0xF8E38E39);  // -10 degrees
constexpr int32_t GLARE_START = 2013265920;                      // 0.9375: the sun near the view centre
constexpr int LIGHT_SHIFT = 8;
// A centre further off the 640 x 480 screen shows nothing of its disc.
constexpr int32_t LEFTMOST = -100, RIGHTMOST = 740, TOPMOST = -100, BOTTOMMOST = 580;
constexpr int32_t DISC_REACH = 500000;  // eye-space half width of the moon at the light's distance
constexpr int DISC_TRIANGLES = 18;
constexpr int SUN_HALO = 4;

uint8_t* stars = nullptr;

// Eye-space offset of `index` - 32 coarse steps along a world axis; heights have only the upward
// half of the table, the rest mirrors it.
int32_t star_term(const ViewOffsetTables& t, int axis, int world, int index) {
    const int k = index - STAR_DIRECTION_CENTRE;
    if (world < 2) return t.coarse[axis][world][k + COARSE_OFFSET_CENTRE];
    return k >= 0 ? t.coarse_height[axis][k] : -t.coarse_height[axis][-k];
}

void draw_star_field(int32_t darkness) {
    const ViewOffsetTables& t = view_offset_tables;
    for (int32_t i = 0; i < star_count; ++i) {
        const uint8_t* star = stars + STAR_RECORD_BYTES * i;
        if (darkness < CLASS_THRESHOLDS[star[0]]) continue;
        int32_t eye[3];
        for (int axis = 0; axis < 3; ++axis)
            eye[axis] = star_term(t, axis, 0, star[1]) + star_term(t, axis, 1, star[2]) + star_term(t, axis, 2, star[3]);
        project_point(eye[0], eye[1], eye[2], colour_remap[FIRST_STAR_COLOUR + star[0]]);
    }
}

// A screen coordinate of the projection without its limits; false when it leaves 32 bits.
bool unlimited_projection(int64_t edge, int64_t offset, int64_t depth, int32_t size, int sign, int32_t& out) {
    const int64_t value = edge + sign * (((offset + depth) * size >> 1) / depth);
    if (value < INT32_MIN || value > INT32_MAX) return false;
    out = int32_t(value);
    return true;
}

void draw_disc(int32_t centre_x, int32_t centre_y, int32_t radius, bool sun) {
    if (!accelerator_flag) {
        fill_circle(centre_x, centre_y, radius, uint32_t(colour_remap[SUN_COLOUR]) * 0x01010101u);
        return;
    }
    const float reach = float(sun ? SUN_HALO * int64_t(radius) : radius);
    const float blue = sun ? 215.0f : 255.0f;
    PolyVertex fan[3] = {};
    fan[0].screen_x = centre_x;
    fan[0].screen_y = centre_y;
    fan[0].next = &fan[1];
    fan[1].next = &fan[2];
    auto rim = [&](PolyVertex& v, int step) {
        const double angle = step * 2.0 * M_PI / DISC_TRIANGLES;
        v.screen_x = int32_t(std::lround(centre_x + reach * std::cos(angle)));
        v.screen_y = int32_t(std::lround(centre_y + reach * std::sin(angle)));
    };
    for (int step = 1; step <= DISC_TRIANGLES; ++step) {
        rim(fan[1], step - 1);
        rim(fan[2], step);
        draw_poly_soft_rgb(fan, 255.0f, 255.0f, blue, 255, sun ? 0 : 150);
    }
}

void draw_sun_or_moon(bool sun) {
    if (current_view.sun_elevation > LOWEST_SUN_ELEVATION) return;
    const Vector3& light = light_vector;
    if (sun) {
        const int32_t f = int32_t((int64_t(view_matrix[1][0]) * light.x + int64_t(view_matrix[1][1]) * light.y +
                                   int64_t(view_matrix[1][2]) * light.z) >> 31);
        if (f > GLARE_START) sun_glare = int32_t(uint32_t(f) * 16u + 0x80000000u);
    }
    const Vector3 towards = {light.x >> LIGHT_SHIFT, light.y >> LIGHT_SHIFT, light.z >> LIGHT_SHIFT};
    Vector3 eye;
    rotate_vector(view_matrix, towards, eye);
    if (eye.y <= 0) return;
    const ViewportRect& v = viewport_rect;
    const int32_t up = stretch_up(eye.z);
    int32_t cx, cy, rim_x;
    if (!unlimited_projection(v.left, eye.x, eye.y, v.width, 1, cx) ||
        !unlimited_projection(v.bottom, up, eye.y, v.height, -1, cy) ||
        !unlimited_projection(v.left, int64_t(eye.x) + DISC_REACH, eye.y, v.width, 1, rim_x))
        return;
    if (cx < LEFTMOST || cx > RIGHTMOST || cy < TOPMOST || cy > BOTTOMMOST) return;
    draw_disc(cx, cy, rim_x - cx, sun);
}

}  // namespace

void load_star_map() {
    const std::string name = join_path(current_world_settings->war_zone_directory, "STARMAP.BIN");
    free_memory(stars, SOURCE, __LINE__);
    stars = nullptr;
    star_count = 0;
    size_t size = 0;
    auto* bytes = static_cast<uint8_t*>(load_file_alloc(name.c_str(), &size, SOURCE, __LINE__));
    if (size % STAR_RECORD_BYTES != 0) {
        free_memory(bytes, SOURCE, __LINE__);
        report_fatal_error("STARMAP.BIN file length is not a multiple of (sizeof) star.", SOURCE, __LINE__);
        return;
    }
    // Classes and directions index tables: a star outside them is a damaged file.
    for (size_t i = 0; i < size; i += STAR_RECORD_BYTES) {
        const uint8_t* star = bytes + i;
        if (star[0] >= STAR_CLASSES || star[1] > STAR_DIRECTION_LIMIT || star[2] > STAR_DIRECTION_LIMIT ||
            star[3] > STAR_DIRECTION_LIMIT) {
            report_fatal_error("%s: star %zu has class %d and direction %d %d %d", SOURCE, __LINE__, name.c_str(),
                               i / STAR_RECORD_BYTES, star[0], star[1], star[2], star[3]);
            free_memory(bytes, SOURCE, __LINE__);
            return;
        }
    }
    stars = bytes;
    star_count = int32_t(size / STAR_RECORD_BYTES);
}

void draw_stars() {
    if ((current_view.flags & VIEW_CLOUDS) && sky_state != SKY_ABOVE_CLOUDS) return;
    const int32_t darkness = current_view.darkness;
    if (darkness >= STARRY_DARKNESS) {
        draw_star_field(darkness);
        draw_sun_or_moon(false);
    } else {
        draw_sun_or_moon(true);
    }
}

}  // namespace vyr
