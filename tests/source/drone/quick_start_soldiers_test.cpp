// Korea's ground-attack quick start with its soldiers: the helicopter lands and lets out the squad
// it carries, which walks in formation to its defence point and fires at the enemy truck parked
// beyond; the stretcher party walks its loop. Drawn seconds apart, and run twice alike.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/ships.h"
#include "source/drone/soldier_body.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"
#include "source/weapons/rounds.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/source/drone/drone_render.h"
#include "tests/source/drone/quick_start_mission.h"
#include "tests/support/glide_start.h"
#include "tests/support/headless_world.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;
constexpr int SQUAD = 90, STRETCHER_PARTY = 141, SOLDIER = 916, TRUCK = 54, HELICOPTER = 307;
constexpr int AK47 = 46;
constexpr int32_t FRAME_TICKS = 10;  // a twentieth of a second

// What the soldiers did in one run, and a trace of every soldier's place and pose by frame.
struct SoldiersRun {
    bool got_out = false;
    std::vector<int32_t> sides;  // of each soldier's place as it showed, across the helicopter: +1 right
    bool defended = false;
    int stances = 0;  // soldiers seen raising or kneeling
    int32_t shots = 0;
    int32_t party_walked = 0;
    std::vector<int64_t> trace;
};

class QuickStartSoldiers : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        open_generated_korea();
        build_world_palette();
        init_weapon_info();
        set_animation_hook(pose_human_figure);
    }
    void TearDown() override {
        set_animation_hook(nullptr);
        close_mission();
        accelerator_flag = 0;
        accel::shut_down();
        shutdown_world();
        std::memset(terrain_posts, 0, sizeof terrain_posts);  // the other tests stand on flat ground
        ScratchDirectories::TearDown();
    }

    // The rounds' objects leave the tile lists with the pool.
    static void close_mission() {
        clear_rounds();
        destroy_all_tasks();
        init_mobile_lists();
        reset_carriers();
        game_clock = 0;
    }

    // The flight's start with fixed seeds. No loadout is given to soldiers yet: the squad is armed
    // with rifles here, as its type's loadout will arm it.
    static void open_mission() {
        read_korean_quick_start();
        frame_seconds = 0.05;
        random_seed = 1;
        set_game_random_state(12345);
        clear_rounds();
        reset_human_death_counter();
        place_drones_at_start();
        link_drone_passengers();
        for (Drone* d = squad(); d; d = next_group_member(d)) {
            d->weapon_id = AK47;
            d->weapon_slot = 0;
            d->weapon_slots[0] = {30, 0};
            d->ground_min_range = d->air_min_range = weapon_info[AK47].min_range;
            d->ground_max_range = d->air_max_range = weapon_info[AK47].max_range;
        }
    }

    static Drone* squad() { return find_mission_drone(SOLDIER, SQUAD); }
    static Drone* party() { return find_mission_drone(SOLDIER, STRETCHER_PARTY); }
    static Drone* truck() {
        for (Task* t = task_list; t; t = t->next)
            if (t->side == SIDE_ENEMY && t->first_drone && t->first_drone->object.object_type == TRUCK) return t->first_drone;
        return nullptr;
    }
    static Drone* helicopter() {
        for (Task* t = task_list; t; t = t->next)
            if (t->first_drone && t->first_drone->cargo) return t->first_drone;
        return nullptr;
    }

    static std::vector<Drone*> group_of(Drone* leader) {
        std::vector<Drone*> group;
        for (Drone* d = leader; d; d = next_group_member(d)) group.push_back(d);
        return group;
    }

    // From `distance` behind and above `target` along `heading`, looking down on it.
    static void capture(const std::string& name, const Vector3& target, uint32_t heading, int32_t distance, int32_t height) {
        Pose eye{{target.x - mul31(distance, lookup_sin(heading)), target.y - mul31(distance, lookup_cos(heading)),
                  get_ground_height(target.x, target.y) + height},
                 {}};
        build_rotation_matrix(heading, uint32_t(-int32_t(compute_bearing(height, distance))), 0, eye.matrix);
        render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/quick_start_soldiers_" + name + ".ppm");
    }

    // Steps the quick start for `seconds`, the squad fed the truck as its target once it holds its
    // point (the war model's sector searches find nothing yet); captures every 5 seconds, named
    // after `name`. Drawing poses the figures, which the shots start from: both runs draw alike.
    static SoldiersRun run(int seconds, const std::string& name) {
        open_mission();
        SoldiersRun r;
        Drone* leader = squad();
        Drone* carrier = helicopter();
        Drone* stretcher = party();
        Drone* target = truck();
        EXPECT_TRUE(leader && carrier && stretcher && target);
        if (!leader || !carrier || !stretcher || !target) return r;
        const std::vector<Drone*> soldiers = group_of(leader);
        Vector3 party_was = stretcher->pose.position;
        const Waypoint* hold = leader->first_waypoint->next;
        for (Drone* d : soldiers) EXPECT_TRUE(d->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER) << "aboard at the start";
        std::map<Drone*, bool> was_out;
        for (int frame = 0; frame < seconds * 20; ++frame) {
            update_drones();
            update_rounds();
            game_clock += FRAME_TICKS;
            for (Drone* d : soldiers) {
                HumanFigure& f = *d->class_record;
                if (f.action_state == ACTION_GET_OUT || !(d->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER)) r.got_out = true;
                const bool out = d->object.tile_list != nullptr;
                if (!was_out[d] && out) {
                    Vector3 across;
                    unrotate_vector(carrier->pose.matrix, Vector3{1 << 20, 0, 0}, across);
                    const int64_t side = int64_t(d->pose.position.x - carrier->pose.position.x) * across.x +
                                         int64_t(d->pose.position.y - carrier->pose.position.y) * across.y;
                    r.sides.push_back(side > 0 ? 1 : -1);
                }
                was_out[d] = out;
                if (f.action_state == ACTION_DEFEND) {
                    r.defended = true;
                    if (!d->attack_target) d->attack_target = &target->target;
                }
                r.stances += f.body_state == BODY_RAISE || f.body_state == BODY_KNEEL;
                r.trace.push_back(int64_t(d->pose.position.x) << 32 ^ d->pose.position.y ^ int64_t(f.animation) << 24 ^
                                  f.animation_time ^ int64_t(d->heading) << 8);
            }
            const Vector3& party_at = stretcher->pose.position;
            r.party_walked += std::abs(party_at.x - party_was.x) + std::abs(party_at.y - party_was.y);
            party_was = party_at;
            const int32_t every = 20 * 5;
            if (frame % every == 0) {
                const Vector3 look = r.got_out ? leader->pose.position : carrier->pose.position;
                capture(name + "_" + std::to_string(frame / 20) + "s", look, 0x20000000, 100 * FOOT, 35 * FOOT);
            }
        }
        for (Drone* d : soldiers) r.shots += 30 - d->weapon_slots[0].rounds;
        const std::vector<Drone*> group = soldiers;
        for (Drone* d : group) {
            const int32_t dx = d->pose.position.x - hold->x, dy = d->pose.position.y - hold->y;
            EXPECT_LT(std::abs(dx) + std::abs(dy), 120 * FOOT) << "near the defence point";
        }
        close_mission();
        return r;
    }
};

TEST_F(QuickStartSoldiers, TheSquadGetsOutWalksToItsPointAndFiresAtTheTruckAlikeInTwoRuns) {
    const SoldiersRun first = run(60, "first");
    EXPECT_TRUE(first.got_out);
    EXPECT_EQ(first.sides.size(), 4u) << "four soldiers left the helicopter";
    int right = 0;
    for (int side : first.sides) right += side > 0;
    EXPECT_EQ(right, 2) << "two by each door";
    EXPECT_TRUE(first.defended);
    EXPECT_GT(first.stances, 0) << "they stood or knelt to fire";
    EXPECT_GT(first.shots, 0) << "rounds fired at the truck";
    EXPECT_GT(first.party_walked, 150 * FOOT) << "the stretcher party walks its loop";

    const SoldiersRun second = run(60, "second");
    ASSERT_EQ(second.trace.size(), first.trace.size());
    size_t same = 0;
    while (same < first.trace.size() && first.trace[same] == second.trace[same]) ++same;
    EXPECT_EQ(same, first.trace.size()) << "the same to the tick; first apart at frame " << same / 4;
    EXPECT_EQ(second.shots, first.shots);
}

}  // namespace
}  // namespace vyr
