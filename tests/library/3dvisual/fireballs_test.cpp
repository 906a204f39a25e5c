#include "library/3dvisual/fireballs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/library/3dvisual/effect_scene.h"

namespace vyr {
namespace {

constexpr int32_t ONE_SECOND = 0x7FFFFFFF;
constexpr int32_t TICK = ONE_SECOND / 200;

// Nothing in the world steps fireballs; the tests do, a tick at a time.
class Fireballs : public EffectScene {
protected:
    void SetUp() override {
        EffectScene::SetUp();
        init_fireballs();
    }
    static void step() {
        update_world_effects(TICK);
        update_fireballs();
    }
    static std::vector<Fireball*> active() {
        std::vector<Fireball*> out;
        for (Fireball* f = active_fireballs; f; f = f->next) out.push_back(f);
        return out;
    }
};

TEST_F(Fireballs, APuffBringsTwentyChildrenAroundItAndThePoolRunsOut) {
    const Vector3 at = ahead(5000, 10000);
    const Vector3 velocity = {0, 0, 500};
    spawn_fireball_puff(&at, 800, &velocity);
    const std::vector<Fireball*> puffs = active();
    ASSERT_EQ(puffs.size(), 1u + FIREBALL_CHILDREN);
    const Fireball& parent = *puffs.back();
    EXPECT_EQ(parent.size, 800);
    for (const Fireball* f : puffs) {
        EXPECT_EQ(f->kind, FIREBALL_PUFF);
        EXPECT_EQ(f->age, 0);
        EXPECT_GE(f->lifetime, 800);
        EXPECT_LE(f->lifetime, 1000) << "4 to 5 seconds";
        EXPECT_EQ(f->tail, 0);
        if (f == &parent) continue;
        EXPECT_LE(std::abs(f->x - at.x), 100) << "within size / 8";
        EXPECT_GE(f->size, 400);
        EXPECT_LE(f->size, 800);
        EXPECT_LE(estimate_distance_3d(f->vx, f->vy, f->vz - 500), 240) << "parent velocity + size / 4";
    }
    for (int i = 0; i < 12; ++i) spawn_fireball_puff(&at, 800, nullptr);
    spawn_fireball_point(&at, 10);
    EXPECT_EQ(active().size(), size_t(MAX_FIREBALLS)) << "a full pool takes no more";
}

TEST_F(Fireballs, PuffsDriftAboveTheGroundAndBurnOutIntoTwoRisingTails) {
    const Vector3 at = ahead(5000, 0);
    spawn_fireball_point(&at, 50);
    const Vector3 velocity = {2000, 0, -5000};
    spawn_fireball_puff(&at, 1000, &velocity);
    // Only the parent matters here: the children go back to the pool.
    Fireball* parent = nullptr;
    for (Fireball* f : active()) {
        if (f->kind == FIREBALL_PUFF && f->size == 1000) parent = f;
        else if (f->kind == FIREBALL_PUFF) f->lifetime = 0, f->tail = 1;
    }
    ASSERT_NE(parent, nullptr);
    step();
    ASSERT_EQ(active().size(), 2u) << "a point and the parent";
    EXPECT_EQ(parent->z, 1000) << "kept at ground + size";
    EXPECT_EQ(parent->x, at.x + 10);
    parent->lifetime = parent->age + 1;
    step();
    const std::vector<Fireball*> left = active();
    ASSERT_EQ(left.size(), 3u) << "two tails and the point";
    for (int i = 0; i < 2; ++i) {
        const Fireball& tail = *left[size_t(i)];
        EXPECT_EQ(tail.tail, 1);
        EXPECT_GE(tail.size, 250);
        EXPECT_LE(tail.size, 500);
        EXPECT_EQ(tail.vz, -5000 + tail.size) << "rising by its size";
        EXPECT_GE(tail.lifetime, 400);
        EXPECT_LE(tail.lifetime, 800);
    }
    EXPECT_EQ(left[2]->kind, FIREBALL_POINT);
    EXPECT_EQ(left[2]->z, 0);
    left[0]->lifetime = left[0]->age + 1;
    step();
    EXPECT_EQ(active().size(), 2u) << "a tail leaves no tails";
}

TEST_F(Fireballs, TheStageAndScaleFollowTheAge) {
    Fireball f{};
    f.kind = FIREBALL_PUFF;
    f.size = 50;
    f.lifetime = 1000;
    const struct {
        int32_t age, tail, stage, scale;
    } cases[] = {{0, 0, 0, 0},      {199, 0, 0, 13041}, {200, 0, 1, 13107}, {499, 0, 1, 32702}, {500, 0, 2, 32768},
                 {650, 0, 3, 42598}, {800, 0, 4, 52428}, {999, 0, 4, 65470}, {300, 1, 5, 65536}};
    for (const auto& c : cases) {
        f.age = c.age;
        f.tail = c.tail;
        EXPECT_EQ(find_fireball_stage(f), c.stage) << c.age << " tail " << c.tail;
        EXPECT_EQ(find_fireball_scale(f), c.scale) << c.age << " tail " << c.tail;
    }
    EXPECT_EQ(fireball_stage_objects[0][0], 0) << "no object names a stage yet";
}

TEST_F(Fireballs, RecordsOfNoKindOrAnUnknownKindAreFatal) {
    const Vector3 at = ahead(5000, 0);
    spawn_fireball_point(&at, 10);
    active_fireballs->kind = 0;
    EXPECT_EXIT(update_fireballs(), ::testing::ExitedWithCode(10), "Unknown fireball type\\.");
    active_fireballs->kind = 5;
    EXPECT_EXIT(update_fireballs(), ::testing::ExitedWithCode(10), "Invalid fireball type\\.");
}

}  // namespace
}  // namespace vyr
