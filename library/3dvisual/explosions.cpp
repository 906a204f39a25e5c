#include "library/3dvisual/explosions.h"

#include <algorithm>

#include "library/3dvisual/effect_nodes.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"

namespace vyr {

Explosion explosions[MAX_EXPLOSIONS];
int explosion_cursor = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/explode";
constexpr const char* INVALID_TYPE = "Invalid explosion type.";
constexpr int32_t START_LEVEL = 55;
constexpr int32_t GROUND_FRAMES = 32, GROUND_STEADY_FRAMES = 11, GROUND_FADE_STEP = 5;
constexpr int32_t AIR_FRAMES = 20, AIR_STEADY_FRAMES = 5, AIR_FADE_STEP = 10;
constexpr int GROUND_TEXTURES[2] = {202, 234};
constexpr int AIR_TEXTURES[3] = {266, 286, 306};
constexpr int REFERENCE_ALPHA = 60;

void clear_ring() {
    for (Explosion& e : explosions) e.kind = 0;
    explosion_cursor = 0;
}

Explosion& take_record() {
    Explosion& e = explosions[explosion_cursor];
    explosion_cursor = (explosion_cursor + 1) % MAX_EXPLOSIONS;
    return e;
}

int32_t move_by(int32_t velocity) { return mul31(velocity, effect_frame_fraction); }

void update_air(Explosion& e) {
    if (++e.counter > AIR_STEADY_FRAMES) e.level += AIR_FADE_STEP;
    if (e.counter == AIR_FRAMES) {
        e.kind = 0;
        return;
    }
    if (e.counter > 0) {
        e.x += move_by(e.vx);
        e.y += move_by(e.vy);
        e.z += move_by(e.vz);
    }
    e.z = std::max(e.z, get_ground_height(e.x, e.y) + e.size);
}

}  // namespace

void init_explosions() { clear_ring(); }
void shutdown_explosions() { clear_ring(); }

void spawn_ground_explosion(const Vector3* position, int32_t size) {
    if (!in_world(position->x, position->y)) return;
    Explosion& e = take_record();
    e = {EXPLOSION_GROUND, position->x, position->y, get_ground_height(position->x, position->y), 0, 0, 0, size, -1,
         draw_rand() % 2, START_LEVEL};
}

void spawn_air_explosion(const Vector3* position, int32_t size, const Vector3* velocity, int32_t variant_request) {
    if (!in_world(position->x, position->y)) return;
    const Vector3 v = velocity ? *velocity : Vector3{0, 0, 0};
    Explosion& e = take_record();
    e = {EXPLOSION_AIR, position->x, position->y, position->z, v.x, v.y, v.z, size, -1,
         variant_request == 1 ? 2 : draw_rand() % 2, START_LEVEL};
}

void update_explosions() {
    for (Explosion& e : explosions) {
        switch (e.kind) {
            case 0: break;
            case EXPLOSION_GROUND:
                if (++e.counter > GROUND_STEADY_FRAMES) e.level += GROUND_FADE_STEP;
                if (e.counter == GROUND_FRAMES) e.kind = 0;
                break;
            case EXPLOSION_AIR: update_air(e); break;
            default: report_fatal_error(INVALID_TYPE, SOURCE, __LINE__);
        }
    }
}

void queue_explosions() {
    if (current_view.night_vision == NIGHT_VISION_ALTERNATE || sky_state == SKY_IN_CLOUDS) return;
    for (Explosion& e : explosions) {
        if (e.kind == 0 || !effect_height_shows(e.z)) continue;
        if (queue_effect_node({e.x, e.y, e.z}, NODE_EXPLOSION, &e) == EffectQueue::FULL) return;
    }
}

void draw_explosion(BufferNode* node) {
    const Explosion& e = *static_cast<const Explosion*>(node->object);
    if (e.counter == -1) return;
    if (e.kind != EXPLOSION_GROUND && e.kind != EXPLOSION_AIR) {
        report_fatal_error(INVALID_TYPE, SOURCE, __LINE__);
        return;
    }
    const Vector3 centre = find_eye_space({e.x, e.y, e.z});
    if (centre.y <= 0) return;
    if (e.kind == EXPLOSION_AIR) {
        draw_effect_square(centre, e.size, view_roll, AIR_TEXTURES[e.variant] + e.counter, e.level, REFERENCE_ALPHA);
        return;
    }
    // Twice as wide as high, its lower edge through the burst's point: the upper half of the picture.
    const int32_t n = mul31(e.size, view_sin_roll);
    const int32_t c = mul31(e.size, view_cos_roll);
    const int32_t full = EFFECT_TEXTURE_FULL, half = EFFECT_TEXTURE_HALF;
    const EffectCorner corners[4] = {{-c, -n, 0, half}, {-c - n, -n + c, 0, 0}, {c - n, n + c, full, 0}, {c, n, full, half}};
    draw_effect_quad(centre, corners, GROUND_TEXTURES[e.variant] + e.counter, e.level, REFERENCE_ALPHA);
}

}  // namespace vyr
