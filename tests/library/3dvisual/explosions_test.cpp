#include "library/3dvisual/explosions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "library/3dvisual/fireballs.h"
#include "library/3dvisual/smoke.h"
#include "library/maths/random.h"
#include "tests/library/3dvisual/effect_scene.h"

namespace vyr {
namespace {

constexpr int32_t ONE_SECOND = 0x7FFFFFFF;
constexpr int32_t TICK = ONE_SECOND / 200;

using Explosions = EffectScene;

TEST_F(Explosions, TheRingOverwritesItsOldestAndDropsSpawnsOutsideTheWorld) {
    const Vector3 inside = ahead(5000, 0);
    for (int i = 0; i < MAX_EXPLOSIONS; ++i) spawn_ground_explosion(&inside, 100 + i);
    const Vector3 newest = ahead(6000, 0);
    spawn_air_explosion(&newest, 999, nullptr, 1);
    EXPECT_EQ(explosions[0].kind, EXPLOSION_AIR) << "the 129th replaces the first";
    EXPECT_EQ(explosions[0].size, 999);
    EXPECT_EQ(explosions[0].variant, 2);
    EXPECT_EQ(explosions[1].size, 101);
    EXPECT_EQ(explosion_cursor, 1);

    const struct {
        int32_t x, y;
        bool kept;
    } edges[] = {{0x0FFFFFFF, 5, true}, {5, 0x0FFFFFFF, true}, {0x10000000, 5, false}, {5, 0x10000000, false},
                 {-1, 5, false}};
    for (const auto& e : edges) {
        init_explosions();
        const Vector3 at = {e.x, e.y, 0};
        spawn_ground_explosion(&at, 100);
        spawn_air_explosion(&at, 100, nullptr, 0);
        EXPECT_EQ(explosion_cursor, e.kept ? 2 : 0) << e.x << ", " << e.y;
        EXPECT_EQ(explosions[0].kind != 0, e.kept);
    }
}

TEST_F(Explosions, AGroundBurstFadesFrom55To155OverItsThirtyTwoFrames) {
    const Vector3 at = ahead(5000, 12345);
    spawn_ground_explosion(&at, 2000);
    const Explosion& e = explosions[0];
    EXPECT_EQ(e.z, 0) << "it stands on the ground, whatever the z asked for";
    EXPECT_EQ(e.counter, -1);
    EXPECT_EQ(e.level, 55);
    EXPECT_TRUE(e.variant == 0 || e.variant == 1);
    update_world_effects(TICK);
    for (int counter = 0; counter < 31; ++counter) {
        EXPECT_EQ(e.counter, counter);
        EXPECT_EQ(e.level, 55 + 5 * std::max(0, counter - 11));
        update_world_effects(TICK);
    }
    EXPECT_EQ(e.level, 155);
    EXPECT_EQ(e.kind, EXPLOSION_GROUND);
    update_world_effects(TICK);
    EXPECT_EQ(e.kind, 0);
}

TEST_F(Explosions, AnAirBurstIsLiftedAtItsFirstUpdateAndOnlyThenDrifts) {
    const Vector3 at = ahead(5000, 100);
    const Vector3 velocity = {1000, -2000, 0};
    spawn_air_explosion(&at, 3000, &velocity, 0);
    const Explosion& e = explosions[0];
    update_world_effects(ONE_SECOND / 2);
    EXPECT_EQ(e.counter, 0);
    EXPECT_EQ(e.x, at.x) << "the velocity does nothing at the first update";
    EXPECT_EQ(e.y, at.y);
    EXPECT_EQ(e.z, 3000) << "lifted to ground + size";
    update_world_effects(ONE_SECOND / 2);
    EXPECT_EQ(e.x, at.x + 500);
    EXPECT_EQ(e.y, at.y - 1000);
    int updates = 2;
    while (e.counter < 19) {
        update_world_effects(TICK);
        ++updates;
    }
    EXPECT_EQ(e.level, 195) << "the level of its last frame";
    update_world_effects(TICK);
    EXPECT_EQ(e.kind, 0);
    EXPECT_EQ(updates + 1, 21) << "drawn for counters 0..19";
}

// One live record of each billboard kind at the same point, so that each queue is tried alike.
struct Billboard {
    const char* name;
    void (*spawn)(const Vector3& at);
    void (*queue)();
    BufferNodeType type;
};

const Billboard BILLBOARDS[] = {
    {"explosion", [](const Vector3& at) { spawn_air_explosion(&at, 100, nullptr, 0); }, queue_explosions, NODE_EXPLOSION},
    {"smoke", [](const Vector3& at) { spawn_smoke_puff(&at, 100, 400); }, queue_smoke, NODE_SMOKE},
    {"haze", [](const Vector3& at) { spawn_haze_puff(&at, 100, 240); }, queue_haze, NODE_HAZE},
    {"fireball",
     [](const Vector3& at) {
         spawn_fireball_point(&at, 100);
         active_fireballs->z = at.z;  // a point stands on the ground
     },
     queue_fireballs, NODE_FIREBALL},
};

TEST_F(Explosions, BillboardsQueueStrictlyInsideTheDepthWindowWithASignedKey) {
    init_fireballs();
    const struct {
        int32_t depth;
        bool queued;
    } depths[] = {{NEAR_LIMIT, false}, {NEAR_LIMIT + 1, true}, {VISUAL_RANGE - 1, true}, {VISUAL_RANGE, false}};
    for (const Billboard& b : BILLBOARDS) {
        for (const auto& d : depths) {
            init_world(&world_settings);
            set_view_settings(&view);
            init_fireballs();
            look_from(1000 * EFFECT_FEET);
            const Vector3 at = ahead(d.depth, 0);
            b.spawn(at);
            b.queue();
            EXPECT_EQ(get_object_buffer_count(), d.queued ? 1 : 0) << b.name << " at " << d.depth;
        }
    }
}

TEST_F(Explosions, BillboardsShowOnlyFromTheirSideOfTheCloudsAndNeverInNightVisionTwo) {
    const struct {
        const char* what;
        int32_t eye_height, z, night_vision;
        bool queued;
    } cases[] = {
        {"below the clouds, under the base", 1000 * EFFECT_FEET, CLOUD_BASE - 1, 0, true},
        {"below the clouds, at the base", 1000 * EFFECT_FEET, CLOUD_BASE, 0, false},
        {"in the clouds", 22000 * EFFECT_FEET, 22000 * EFFECT_FEET, 0, false},
        {"above the clouds, over the top", 30000 * EFFECT_FEET, CLOUD_TOP + 1, 0, true},
        {"above the clouds, at the top", 30000 * EFFECT_FEET, CLOUD_TOP, 0, false},
        {"night vision 2", 1000 * EFFECT_FEET, 0, NIGHT_VISION_ALTERNATE, false},
        {"night vision 1", 1000 * EFFECT_FEET, 0, 1, true},
    };
    for (const Billboard& b : BILLBOARDS) {
        for (const auto& c : cases) {
            init_world(&world_settings);
            init_fireballs();
            ViewSettings v = view;
            v.night_vision = c.night_vision;
            set_view_settings(&v);
            look_from(c.eye_height);
            b.spawn({WORLD_MIDDLE, WORLD_MIDDLE + 5000, c.z});
            b.queue();
            EXPECT_EQ(get_object_buffer_count(), c.queued ? 1 : 0) << b.name << ": " << c.what;
        }
    }
}

TEST_F(Explosions, QueueingStopsAtAFullBuffer) {
    for (int i = 0; i < MAX_EXPLOSIONS; ++i) {
        const Vector3 at = ahead(5000 + i, 0);
        spawn_ground_explosion(&at, 100);
    }
    for (int i = 0; i < MAX_BUFFER_NODES - 10; ++i) alloc_buffer_node();
    queue_explosions();
    EXPECT_EQ(get_object_buffer_count(), MAX_BUFFER_NODES);
    EXPECT_EQ(queued(NODE_EXPLOSION).size(), 10u);
}

TEST_F(Explosions, AnUnknownKindIsFatal) {
    explosions[3].kind = 7;
    EXPECT_EXIT(update_explosions(), ::testing::ExitedWithCode(10), "Invalid explosion type\\.");
}

}  // namespace
}  // namespace vyr
