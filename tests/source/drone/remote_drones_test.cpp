#include "source/drone/remote_drones.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/3dvisual/terrain.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/kill_reports.h"
#include "source/sknet/link.h"
#include "source/sknet/net_messages.h"
#include "source/sknet/net_players.h"
#include "tests/source/drone/armed_world.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;
constexpr int32_t UNIT = 0x7fffffff;  // 1.0 in 1.31

// A network deathmatch: two tasks of four fighters each (indices 0..3), this machine player 0
// flying the first task's drone 0; a supply dump and a tank of this machine besides.
class RemoteDrones : public ArmedWorld {
protected:
    void SetUp() override {
        ArmedWorld::SetUp();
        if (IsSkipped()) return;
        connection_mode = CONNECTION_NETWORK;
        game_mode = GAME_MULTI_PLAYER;
        own_player_number = 0;
        for (NetPlayer& p : net_players) p = NetPlayer{};
        net_send_log = {};
        link_fire_pending = link_flare_flag = link_chaff_flag = 0;
        remote_shots_dropped = 0;
        for (int t = 0; t < 2; ++t) {
            tasks[t] = create_task();
            set_task_side(tasks[t], SIDE_ALLIED);
            set_task_type(tasks[t], TASK_OFFENSIVE_SWEEP);
            for (int i = 0; i < 4; ++i) {
                Drone* d = create_drone(tasks[t]);
                set_drone_type(d, FIGHTER);
                d->pose.position = ahead(2000 * t + 500 * i, 3000);
                link_mobile_object(&d->object);
            }
        }
        user_drone = tasks[0]->first_drone;
        dump = unit(SIDE_ALLIED, TASK_GROUND_VEHICLE, 473, ahead(8000));
        tank = unit(SIDE_ALLIED, TASK_GROUND_VEHICLE, TANK, ahead(9000));
    }
    void TearDown() override {
        connection_mode = CONNECTION_NONE;
        game_mode = GAME_SINGLE;
        own_player_number = -1;
        for (NetPlayer& p : net_players) p = NetPlayer{};
        std::fill(std::begin(player_scores), std::end(player_scores), 0);
        net_send_log = {};
        link_fire_pending = link_flare_flag = link_chaff_flag = 0;
        ArmedWorld::TearDown();
    }

    static NetPlayer& seat(int player, int aircraft_object, uint8_t status = 0) {
        NetPlayer& p = net_players[player];
        p.slot_state = uint8_t(player);
        p.aircraft_object = aircraft_object;
        p.status_bits = status;
        return p;
    }
    static Drone* leader(Task* task, int index) {
        Drone* d = task->first_drone;
        while (d && d->index != index) d = d->next;
        return d;
    }
    static int side_of(const Drone* d) { return (d->object.flags >> INSTANCE_SIDE_SHIFT) & 3; }
    // The remote player 1 flies the second task's drone 1, at a point with weapon w pending.
    Drone* remote_shooter(int w, int target_kind = 0, Vector3 data = {}) {
        seat(1, 606);
        attach_player_drone(1, 606, 1);
        Drone* d = leader(tasks[1], 1);
        NetPlayer& p = net_players[1];
        p.pose.position = d->pose.position;
        set_identity_matrix(p.pose.matrix);
        p.speed = 400;
        p.weapon = w;
        p.weapon_random_state = 777;
        p.target_kind = target_kind;
        p.target_data[0] = data.x;
        p.target_data[1] = data.y;
        p.target_data[2] = data.z;
        return d;
    }

    Task* tasks[2] = {};
    Drone* dump = nullptr;
    Drone* tank = nullptr;
};

TEST_F(RemoteDrones, ADeathmatchBindsEachPlayerAndClearsTheRest) {
    seat(1, 606);                             // team bit clear: the second task
    seat(2, 222);                             // a helicopter flown as 990, second task
    seat(3, 5000, NET_STATUS_BLUE_TEAM);      // no aircraft of the table: 606, first task
    player_scores[2] = 7;
    allocate_player_drones();

    const struct {
        int player, task, object_number;
    } bound[] = {{1, 1, 606}, {2, 1, 990}, {3, 0, 606}};
    for (const auto& b : bound) {
        SCOPED_TRACE(b.player);
        Drone* d = leader(tasks[b.task], b.player);
        const NetPlayer& p = net_players[b.player];
        EXPECT_EQ(d->player, b.player);
        EXPECT_EQ(get_drone_object_number(d), b.object_number);
        EXPECT_EQ(side_of(d), SIDE_ENEMY);
        EXPECT_EQ(p.drone, d);
        EXPECT_EQ(p.aircraft_id, (tasks[b.task]->id << 16) | b.player);
        EXPECT_EQ(p.slot_state, b.player);
        EXPECT_EQ(p.pose.matrix[0][0], UNIT);
        EXPECT_FALSE(d->object.flags & INSTANCE_INACTIVE);
        EXPECT_EQ(find_player_by_aircraft_id(tasks[b.task]->id, b.player), b.player);
    }
    EXPECT_EQ(player_scores[2], 0);
    // The dump stays for both to fight over; every other drone of this machine but the
    // player's own leaves.
    EXPECT_EQ(side_of(dump), SIDE_ENEMY);
    EXPECT_FALSE(dump->object.flags & INSTANCE_INACTIVE);
    EXPECT_TRUE(tank->object.flags & INSTANCE_INACTIVE);
    EXPECT_TRUE(leader(tasks[0], 1)->object.flags & INSTANCE_INACTIVE);
    EXPECT_FALSE(user_drone->object.flags & INSTANCE_INACTIVE);
}

TEST_F(RemoteDrones, SidesByGameModeAndNothingWithoutALink) {
    const struct {
        int mode;
        int task;
        int side;
    } cases[] = {{GAME_COMBAT, 1, SIDE_ENEMY},           {GAME_LINKED_MISSION, 0, SIDE_ENEMY},
                 {GAME_TWO_PLAYER_MISSION, 1, SIDE_ALLIED}, {GAME_PILOT_GUNNER, 0, SIDE_ALLIED},
                 {GAME_CAPTURE_FLAG, 1, SIDE_ENEMY},     {GAME_CAPTURE_FLAG, 0, SIDE_ALLIED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        game_mode = c.mode;
        ASSERT_EQ(attach_player_drone(2, FIGHTER, c.task), 1);
        EXPECT_EQ(side_of(leader(tasks[c.task], 2)), c.side);
    }
    EXPECT_EQ(attach_player_drone(9, FIGHTER, 0), 0) << "no leader of that index";
    game_mode = GAME_SINGLE;
    EXPECT_DEATH(attach_player_drone(2, FIGHTER, 0), "GAME SINGLE PLAYER IN ALLOCATE DRONES");
    connection_mode = CONNECTION_NONE;
    EXPECT_EQ(attach_player_drone(2, FIGHTER, 0), 0);
    EXPECT_EQ(find_player_by_aircraft_id(tasks[1]->id, 1), -1);
}

TEST_F(RemoteDrones, ARemoteStateMovesTheDroneAndAtTheOriginFiresNothing) {
    Drone* d = remote_shooter(WEAPON_AIM_9M);
    NetPlayer& p = net_players[1];
    p.pose.position = ahead(3000, 4000);
    p.speed = 1 << 30;  // far beyond any aircraft: bounded
    p.weapon = 0;
    update_remote_drones();
    const Vector3 there = ahead(3000, 4000);
    EXPECT_EQ(d->pose.position.x, there.x);
    EXPECT_EQ(d->pose.position.y, there.y);
    EXPECT_EQ(d->pose.position.z, there.z);
    EXPECT_EQ(d->speed, 4000 * 432);

    p.pose.position = {0, 0, 0};
    p.speed = 300;
    p.weapon = WEAPON_AIM_9M;
    update_remote_drones();
    EXPECT_EQ(d->pose.position.x | d->pose.position.y | d->pose.position.z, 0);
    EXPECT_EQ(d->speed, 300 * 432);
    EXPECT_EQ(p.weapon, WEAPON_AIM_9M) << "still pending";
    EXPECT_EQ(live_rounds(WEAPON_AIM_9M), 0);
}

TEST_F(RemoteDrones, GunRoundsAreSteppedAlongTheSentDirection) {
    Drone* d = remote_shooter(WEAPON_GUN, 0, {0, UNIT, 0});
    const Vector3 from = d->pose.position;
    fire_remote_weapon(d);
    const std::vector<WeaponRound*> rounds = rounds_of(WEAPON_GUN);
    ASSERT_EQ(rounds.size(), 4u);
    const WeaponInfo& gun = weapon_info[WEAPON_GUN];
    const int32_t step = mul31(gun.launch_speed / gun.fire_interval, UNIT);
    for (size_t i = 0; i < rounds.size(); ++i) {
        EXPECT_TRUE(rounds[i]->flags & ROUND_LIVE);
        EXPECT_EQ(rounds[i]->random_state, 777);
        EXPECT_EQ(rounds[i]->pose.position.y, from.y + int32_t(i + 1) * step);
        EXPECT_EQ(rounds[i]->pose.position.x, from.x);
    }
    EXPECT_EQ(net_players[1].weapon, 0);
    clear_rounds();
    // Straight down from just above the ground: every step into it is taken back.
    d->pose.position = {from.x, from.y, get_ground_height(from.x, from.y) + step / 2};
    net_players[1].weapon = WEAPON_GUN;
    net_players[1].target_data[1] = 0;
    net_players[1].target_data[2] = -UNIT;
    fire_remote_weapon(d);
    for (WeaponRound* r : rounds_of(WEAPON_GUN)) EXPECT_GE(r->pose.position.z, get_ground_height(from.x, from.y) - 1);
}

TEST_F(RemoteDrones, TheFireTableByWeaponAndTarget) {
    Drone* victim = leader(tasks[0], 2);
    const Vector3 victim_id = {tasks[0]->id, 2, 0};
    const struct {
        const char* what;
        int weapon, target_kind;
        Vector3 data;
        int live;        // live rounds of the weapon afterwards
        int made;        // rounds of the weapon made
        bool designated;  // the first round lit by the shooter's own target
        bool at_victim;
        int dropped;
    } cases[] = {
        {"a Maverick with the shooter as designator", WEAPON_AGM_65E, 2, victim_id, 1, 1, true, true, 0},
        {"a Sidewinder at the drone of the network id", WEAPON_AIM_9M, 2, victim_id, 1, 1, false, true, 0},
        {"a network id naming no drone: no target", WEAPON_AIM_9M, 2, {999, 2, 0}, 1, 1, false, false, 0},
        {"weapon 11 thirty-five times, the last one live", 11, 0, {}, 1, 35, false, false, 0},
        {"weapons 84 to 108 fire nothing", 100, 0, {}, 0, 0, false, false, 0},
        {"weapon 50 is no weapon of a remote drone: dropped", 50, 0, {}, 0, 0, false, false, 1},
        {"an unknown target kind: dropped", WEAPON_AIM_9M, 9, {}, 0, 0, false, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clear_rounds();
        remote_shots_dropped = 0;
        Drone* d = remote_shooter(c.weapon, c.target_kind, c.data);
        fire_remote_weapon(d);
        EXPECT_EQ(live_rounds(c.weapon), c.live);
        const std::vector<WeaponRound*> made = rounds_of(c.weapon);
        EXPECT_EQ(int(made.size()), c.made);
        EXPECT_EQ(remote_shots_dropped, c.dropped);
        EXPECT_EQ(net_players[1].weapon, 0);
        if (made.empty() || weapon_info[c.weapon].round_class != ROUND_CLASS_GUIDED) continue;
        const WeaponRound* r = made.back();
        EXPECT_EQ(r->random_state, 777);
        EXPECT_EQ(r->guided.designator, c.designated ? &d->target : nullptr);
        EXPECT_EQ(targets_equal(&r->guided.target, &victim->target) != 0, c.at_victim);
    }
}

TEST_F(RemoteDrones, AKilledRemoteDroneScoresOnceAndAPlayerIsNamedByItsSlot) {
    Drone* d = remote_shooter(0);
    std::memcpy(net_players[1].name, "MAVERICKX", 9);  // nine characters: no end of its own
    EXPECT_EQ(std::string(get_drone_player_name(d)), "MAVERICK");
    EXPECT_EQ(get_drone_player_name(tank), nullptr);
    kill_networked_drone(d);
    EXPECT_TRUE(d->destroyed);
    EXPECT_EQ(net_send_log.score, 1);
    EXPECT_EQ(net_send_log.last_score_player, 1);
    kill_networked_drone(d);
    EXPECT_EQ(net_send_log.score, 1) << "already destroyed";
    kill_networked_drone(tank);
    EXPECT_FALSE(tank->destroyed) << "no player's drone";
    // The player rejoins: the drone is whole and in the world again.
    set_player_drone_type(d, 222);
    EXPECT_EQ(get_drone_object_number(d), 990);
    EXPECT_FALSE(d->destroyed);
    EXPECT_FALSE(d->object.flags & INSTANCE_INACTIVE);
}

TEST_F(RemoteDrones, ReleasesGoToTheTransportOrTheLink) {
    WeaponRound round{};
    round.weapon_id = WEAPON_AIM_9M;
    const struct {
        int connection;
        int messages;  // of each kind
        int link;      // pending fire and both flags
    } cases[] = {{CONNECTION_NETWORK, 1, 0}, {CONNECTION_DIRECT, 0, 1}, {CONNECTION_MODEM, 0, 1},
                 {CONNECTION_NONE, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connection);
        connection_mode = c.connection;
        net_send_log = {};
        link_fire_pending = link_flare_flag = link_chaff_flag = 0;
        send_weapon_fire(&round);
        send_flare_launch();
        send_chaff_launch();
        EXPECT_EQ(net_send_log.weapon_fire, c.messages);
        EXPECT_EQ(net_send_log.flare, c.messages);
        EXPECT_EQ(net_send_log.chaff, c.messages);
        EXPECT_EQ(net_send_log.last_round, c.messages ? &round : nullptr);
        EXPECT_EQ(link_fire_pending, c.link);
        EXPECT_EQ(link_flare_flag, c.link);
        EXPECT_EQ(link_chaff_flag, c.link);
    }
}

TEST_F(RemoteDrones, NetworkIdsFindLeadersAndMembers) {
    Drone* l = leader(tasks[1], 3);
    set_drone_formation(l, 1);
    Drone* member = l->first_member;
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(find_drone_by_net_id(tasks[1]->id, 3), l);
    EXPECT_EQ(find_drone_by_net_id(tasks[1]->id, member->index), member);
    EXPECT_EQ(find_drone_by_net_id(tasks[1]->id, 77), nullptr);
    EXPECT_EQ(find_drone_by_net_id(4242, 0), nullptr);
}

}  // namespace
}  // namespace vyr
