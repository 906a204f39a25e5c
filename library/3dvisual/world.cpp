#include "library/3dvisual/world.h"

#include <algorithm>
#include <cstdlib>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/explosions.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/fragments.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/sky.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/random.h"
#include "library/system/thread.h"

namespace vyr {

WorldSettings world_settings = {WORLD_LOAD_DATA, "3DDATA\\", "KOREA.WZ\\", nullptr};
WorldSettings* current_world_settings = &world_settings;
int32_t effect_frame_fraction = 0;
int32_t effect_ticks = 0;
AnimationHook animation_hook = nullptr;

namespace {

// What every world set-up installs until the game installs its own.
constexpr ViewSettings WORLD_DEFAULT_VIEW = {6, -262144, 4194304, 0, -0x40000000, 0, 6400000, 6912000, 2, 3, 0, 0,
                                             nullptr, VIEW_CLOUDS | VIEW_SHADOWS};
constexpr int32_t CLOUD_RANDOM_DIVISOR = 11;  // draws of 0..32767 become 0..2978 feet
constexpr uint32_t SENSOR_CLEAR_PATTERN = 0x02020202;
constexpr uint32_t OBJECT_VIEW_CLEAR_PATTERN = 0xD0D0D0D0;
constexpr int32_t SENSOR_TERRAIN_DETAIL = 1;
constexpr int32_t SENSOR_OBJECT_TEXTURES = 2;
constexpr int TILE_STEPS_PER_BLOCK = 256;  // a tile offset in 1/16 tiles splits into blocks and coarse steps
constexpr int TILE_STEP = 16;
constexpr int FAR_TILE_DISTANCE = 3;  // beyond it a tile's features are drawn simpler
constexpr int WORLD_TILES = 64;

RenderPollHook render_poll_hook = nullptr;
int32_t cloud_seed = 0;
ViewSettings sensor_view;

enum class Render : uint8_t { FULL, REDUCED };

void clear_hooks() {
    render_poll_hook = nullptr;
    animation_hook = nullptr;
}

// Below the cloud layer the ground always shows; inside it, not through shown clouds or weather;
// above it the full render hides it only under weather.
bool ground_hidden(Render kind) {
    if (sky_state == SKY_BELOW_CLOUDS) return false;
    if (kind == Render::FULL && sky_state == SKY_ABOVE_CLOUDS && current_view.weather == WEATHER_CLEAR) return false;
    return (current_view.flags & VIEW_CLOUDS) || current_view.weather != WEATHER_CLEAR;
}

void yield_between_rows() {
    if (current_view.flags & VIEW_YIELD) yield_if_due();
}

// Lowest and highest offsets of a range, kept where the offset tables reach.
void clamp_range(const OffsetRange& range, int reach, int& x0, int& x1, int& y0, int& y1) {
    x0 = std::max(range.x_lowest, -reach);
    x1 = std::min(range.x_highest, reach);
    y0 = std::max(range.y_lowest, -reach);
    y1 = std::min(range.y_highest, reach);
}

void draw_far_blocks() {
    if (!find_visible_far_blocks()) return;
    const ViewOffsetTables& t = view_offset_tables;
    int x0, x1, y0, y1;
    clamp_range(visible_block_range, BLOCK_OFFSET_CENTRE, x0, x1, y0, y1);
    for (int dx = x0; dx <= x1; ++dx) {
        for (int dy = y0; dy <= y1; ++dy) {
            render_block_x = eye_far_block_x + dx;
            render_block_y = eye_far_block_y + dy;
            for (int axis = 0; axis < 3; ++axis)
                block_corner_eye[axis] = far_block_origin_eye[axis] + t.block[axis][0][dx + BLOCK_OFFSET_CENTRE] +
                                         t.block[axis][1][dy + BLOCK_OFFSET_CENTRE];
            if (test_far_block_visible()) draw_far_block_features();
        }
        yield_between_rows();
    }
}

// A tile offset in sixteenths of a tile, as whole far blocks (rounded, halves away from zero) and
// the coarse steps left over.
void split_tile_offset(int d, int& blocks, int& steps) {
    const int sixteenths = TILE_STEP * d;
    const int half = TILE_STEPS_PER_BLOCK / 2;
    blocks = sixteenths >= 0 ? (sixteenths + half) / TILE_STEPS_PER_BLOCK : -((half - sixteenths) / TILE_STEPS_PER_BLOCK);
    steps = sixteenths - TILE_STEPS_PER_BLOCK * blocks;
}

void set_tile_corner(int dx, int dy) {
    const ViewOffsetTables& t = view_offset_tables;
    int qx, rx, qy, ry;
    split_tile_offset(dx, qx, rx);
    split_tile_offset(dy, qy, ry);
    for (int axis = 0; axis < 3; ++axis)
        tile_corner_eye[axis] = tile_origin_eye[axis] + t.block[axis][0][qx + BLOCK_OFFSET_CENTRE] +
                                t.block[axis][1][qy + BLOCK_OFFSET_CENTRE] + t.coarse[axis][0][rx + COARSE_OFFSET_CENTRE] +
                                t.coarse[axis][1][ry + COARSE_OFFSET_CENTRE];
}

void draw_near_tiles() {
    if (!find_visible_tiles()) return;
    prepare_terrain_frame();
    int x0, x1, y0, y1;
    clamp_range(visible_tile_range, WORLD_TILES, x0, x1, y0, y1);
    for (int dx = x0; dx <= x1; ++dx) {
        for (int dy = y0; dy <= y1; ++dy) {
            render_tile_x = eye_tile_x + dx;
            render_tile_y = eye_tile_y + dy;
            set_tile_corner(dx, dy);
            if (!test_tile_visible()) continue;
            tile_far_flag = std::abs(dx) > FAR_TILE_DISTANCE || std::abs(dy) > FAR_TILE_DISTANCE;
            if (accelerator_flag) queue_terrain_tile_accel();
            else queue_terrain_tile_soft();
            draw_tile_features();
            if (std::abs(dx) <= 1 && std::abs(dy) <= 1) queue_ground_objects();
        }
        yield_between_rows();
    }
}

// The movers of the 3 x 3 tiles around the eye, seen or not: they may reach into the view.
void queue_nearby_mobile_objects() {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const int x = eye_tile_x + dx, y = eye_tile_y + dy;
            if (x < 0 || x >= WORLD_TILES || y < 0 || y >= WORLD_TILES) continue;
            render_tile_x = x;
            render_tile_y = y;
            queue_mobile_objects();
        }
    }
}

void render(const Pose* eye, Render kind) {
    set_eye(eye);
    reset_object_buffer();
    select_colour_remap();
    if (kind == Render::FULL) {
        update_sky_palette();
        palette_changed = true;
        apply_palette();
    }
    draw_backdrop();
    if (!ground_hidden(kind)) {
        draw_far_blocks();
        draw_near_tiles();
    }
    if (kind == Render::FULL) {
        draw_sky();
        queue_ground_scars();
        queue_explosions();
        queue_smoke();
        queue_haze();
        queue_fragments();
        if (render_poll_hook) render_poll_hook();
    } else {
        const int32_t main_view_glare = sun_glare;
        draw_sky();
        sun_glare = main_view_glare;
        queue_explosions();
    }
    queue_nearby_mobile_objects();
    flush_object_buffer();
}

// An object view's background, light and eye; the view's distance to `position` follows.
int32_t prepare_object_view(const Pose* eye, const ViewSettings* light, const Vector3& position) {
    clear_viewport(OBJECT_VIEW_CLEAR_PATTERN);
    sensor_view.sun_heading = light->sun_heading;
    sensor_view.sun_elevation = light->sun_elevation;
    sensor_view.darkness = light->darkness;
    set_view_settings(&sensor_view);
    set_eye(eye);
    return estimate_distance_3d(position.x - eye->position.x, position.y - eye->position.y, position.z - eye->position.z);
}

}  // namespace

void init_world(WorldSettings* settings) {
    current_world_settings = settings;
    reset_tile_cells();
    const bool load_data = settings->flags & WORLD_LOAD_DATA;
    if (load_data) {
        load_terrain();
        load_features();
        load_objects();
    }
    init_mobile_lists();
    if (load_data) load_ground_objects();
    reset_sky_state();
    if (load_data) load_star_map();
    reset_ground_scars();
    init_explosions();
    init_smoke();
    init_haze();
    init_fragments();
    if (settings->flags & WORLD_BUILD_PALETTE) build_world_palette();
    cloud_random = next_random(cloud_seed) / CLOUD_RANDOM_DIVISOR;
    set_view_settings(&WORLD_DEFAULT_VIEW);
    clear_hooks();
}

void shutdown_world() {
    shutdown_mobile_lists();
    shutdown_explosions();
    shutdown_smoke();
    shutdown_haze();
    shutdown_fragments();
    restore_world_palette();
    clear_hooks();
}

void set_render_poll_hook(RenderPollHook hook) { render_poll_hook = hook; }
void set_animation_hook(AnimationHook hook) { animation_hook = hook; }

void update_world_effects(int32_t frame_fraction) {
    effect_frame_fraction = frame_fraction;
    effect_ticks = int32_t((int64_t(200) * frame_fraction + (int64_t(1) << 30)) >> 31);
    age_impact_scars();
    update_explosions();
    update_smoke();
    update_haze();
    update_fragments();
}

void render_world(const Pose* eye) { render(eye, Render::FULL); }
void render_world_reduced(const Pose* eye) { render(eye, Render::REDUCED); }

void render_sensor_view(const Pose* eye, const ViewSettings* settings) {
    clear_viewport(SENSOR_CLEAR_PATTERN);
    sensor_view = *settings;
    sensor_view.terrain_detail = SENSOR_TERRAIN_DETAIL;
    sensor_view.object_textures = SENSOR_OBJECT_TEXTURES;
    sensor_view.flags &= ~(VIEW_CLOUDS | VIEW_SHADOWS);
    set_view_settings(&sensor_view);
    render_world_reduced(eye);
}

void render_object_view(const Pose* eye, ObjectInstance* instance, const ViewSettings* light) {
    instance->view_distance = prepare_object_view(eye, light, instance->pose->position);
    draw_object(instance);
}

void render_ground_object_view(const Pose* eye, const ground_object* record, int tile_x, int tile_y,
                               const ViewSettings* light) {
    const int tile = tile_x * WORLD_TILES + tile_y;
    BufferNode node{};
    set_ground_object_node(&node, tile, *record, prepare_object_view(eye, light, ground_object_position(tile, *record)));
    draw_ground_object(&node);
}

}  // namespace vyr
