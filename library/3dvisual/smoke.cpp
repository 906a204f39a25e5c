#include "library/3dvisual/smoke.h"

#include <algorithm>

#include "library/3dvisual/effect_nodes.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/random.h"

namespace vyr {

SmokePuff smoke_puffs[MAX_SMOKE_PUFFS];
int smoke_cursor = 0;
HazePuff haze_puffs[MAX_HAZE_PUFFS];
int haze_cursor = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/smoke";
constexpr const char* INVALID_SMOKE = "Invalid smoke type.";
constexpr const char* INVALID_HAZE = "Invalid haze type.";
constexpr int32_t RANDOM_FRACTION_MASK = 0x7FFF0000;
constexpr int32_t EXTRA_LIFE_TICKS = 200;
constexpr int32_t HAZE_TRAIL_LENGTH = -4096;  // 16 ft aft
constexpr int32_t HAZE_FIRST_LEVEL = 240, HAZE_LAST_LEVEL = 255;
constexpr int SMOKE_STAGE_SHIFT = 28;
constexpr int SMOKE_FIRST_TEXTURE = 194;
constexpr int32_t SMOKE_STAGE_LEVELS[8] = {90, 100, 110, 120, 140, 160, 170, 180};
constexpr int SMOKE_REFERENCE_ALPHA = 60;
constexpr int HAZE_TEXTURE = 196;
constexpr int HAZE_REFERENCE_ALPHA = 2;

// A draw of random_seed as a 1.31 fraction, 0 to just under 1 (as an angle, under half a turn).
int32_t draw_seed_fraction() {
    next_random(random_seed);
    return random_seed & RANDOM_FRACTION_MASK;
}

bool billboards_hidden() {
    return current_view.night_vision == NIGHT_VISION_ALTERNATE || sky_state == SKY_IN_CLOUDS;
}

// Steps of 2^-shift of the way from `from` to `to`.
Vector3 trail_step(const Vector3& from, const Vector3& to, int shift) {
    return {(to.x - from.x) >> shift, (to.y - from.y) >> shift, (to.z - from.z) >> shift};
}

Vector3 trail_point(const Vector3& from, const Vector3& step, int i) {
    return {from.x + i * step.x, from.y + i * step.y, from.z + i * step.z};
}

template <typename Puff>
void queue_ring(Puff* ring, int count, BufferNodeType type) {
    if (billboards_hidden()) return;
    for (int i = 0; i < count; ++i) {
        Puff& p = ring[i];
        if (p.state == 0 || !effect_height_shows(p.z)) continue;
        if (queue_effect_node({p.x, p.y, p.z}, type, &p) == EffectQueue::FULL) return;
    }
}

}  // namespace

void init_smoke() {
    for (SmokePuff& p : smoke_puffs) p.state = 0;
    smoke_cursor = 0;
}

void shutdown_smoke() { init_smoke(); }

void spawn_smoke_puff(const Vector3* position, int32_t size, int32_t life) {
    if (!in_world(position->x, position->y)) return;
    SmokePuff& p = smoke_puffs[smoke_cursor];
    smoke_cursor = (smoke_cursor + 1) % MAX_SMOKE_PUFFS;
    p = {1, position->x, position->y, position->z, size, life, 0, uint32_t(draw_seed_fraction())};
}

void spawn_smoke_trail(const Vector3* from, const Vector3* to, int32_t size, int32_t life, int shift) {
    const Vector3 step = trail_step(*from, *to, shift);
    for (int i = 0; i < 1 << shift; ++i) {
        const int32_t extra = mul31(draw_seed_fraction(), EXTRA_LIFE_TICKS);
        const Vector3 at = trail_point(*from, step, i);
        spawn_smoke_puff(&at, size, life + extra);
    }
}

void update_smoke() {
    for (SmokePuff& p : smoke_puffs) {
        if (p.state == 0) continue;
        if (p.state != 1) {
            report_fatal_error(INVALID_SMOKE, SOURCE, __LINE__);
            continue;
        }
        p.age += effect_ticks;
        if (p.age >= p.life) p.state = 0;
    }
}

void queue_smoke() { queue_ring(smoke_puffs, MAX_SMOKE_PUFFS, NODE_SMOKE); }

void draw_smoke(BufferNode* node) {
    const SmokePuff& p = *static_cast<const SmokePuff*>(node->object);
    if (p.state != 1) {
        report_fatal_error(INVALID_SMOKE, SOURCE, __LINE__);
        return;
    }
    // The part of the life spent divides by the life; a puff without one has nothing to show.
    if (p.life <= 0) return;
    const Vector3 centre = find_eye_space({p.x, p.y, p.z});
    if (centre.y <= 0) return;
    const int32_t spent = int32_t(std::clamp<int64_t>((int64_t(p.age) << 31) / p.life, 0, INT32_MAX));
    const int32_t radius = p.size + mul31(4 * p.size, spent);
    const int stage = spent >> SMOKE_STAGE_SHIFT;
    draw_effect_square(centre, radius, p.spin + view_roll, SMOKE_FIRST_TEXTURE + stage, SMOKE_STAGE_LEVELS[stage],
                       SMOKE_REFERENCE_ALPHA);
}

void init_haze() {
    for (HazePuff& p : haze_puffs) p.state = p.drawn = 0;
    haze_cursor = 0;
}

void shutdown_haze() { init_haze(); }

void spawn_haze_puff(const Vector3* position, int32_t size, int32_t level) {
    if (!in_world(position->x, position->y)) return;
    HazePuff& p = haze_puffs[haze_cursor];
    haze_cursor = (haze_cursor + 1) % MAX_HAZE_PUFFS;
    p = {1, position->x, position->y, position->z, level, 0, size, uint32_t(draw_seed_fraction())};
}

void spawn_haze_trail(const Vector3* position, int32_t size, const Pose* pose, int shift) {
    const int32_t* forward = pose->matrix[1];
    const Vector3 end = {position->x + mul31(forward[0], HAZE_TRAIL_LENGTH),
                         position->y + mul31(forward[1], HAZE_TRAIL_LENGTH),
                         position->z + mul31(forward[2], HAZE_TRAIL_LENGTH)};
    const Vector3 step = trail_step(*position, end, shift);
    for (int i = 0; i < 1 << shift; ++i) {
        const Vector3 at = trail_point(*position, step, i);
        spawn_haze_puff(&at, size, std::min(HAZE_FIRST_LEVEL + i, HAZE_LAST_LEVEL));
    }
}

void update_haze() {
    for (HazePuff& p : haze_puffs) {
        if (p.state == 0) continue;
        if (p.state != 1) {
            report_fatal_error(INVALID_HAZE, SOURCE, __LINE__);
            continue;
        }
        if (p.drawn) p.state = 0;
    }
}

void queue_haze() { queue_ring(haze_puffs, MAX_HAZE_PUFFS, NODE_HAZE); }

void draw_haze(BufferNode* node) {
    HazePuff& p = *static_cast<HazePuff*>(node->object);
    if (p.state != 1) {
        report_fatal_error(INVALID_HAZE, SOURCE, __LINE__);
        return;
    }
    const Vector3 centre = find_eye_space({p.x, p.y, p.z});
    if (centre.y <= 0) return;
    p.drawn = 1;
    draw_effect_square(centre, p.size, p.spin + view_roll, HAZE_TEXTURE, p.level, HAZE_REFERENCE_ALPHA);
}

}  // namespace vyr
