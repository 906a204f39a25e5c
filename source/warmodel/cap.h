// Combat air patrols: each side's fighters held on station and sent after the threats its radars
// see.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;
struct Target;

constexpr int CAP_DRONE_LIMIT = 20;
constexpr int CAP_THREAT_LIMIT = 40;
constexpr uint8_t NO_CAP_INDEX = 255;

// One side's patrol: the threat each patrol drone (by its cap_index) was last handed, and the
// enemy aircraft the side's radars see above their cover over its own ground.
struct CapState {
    int32_t drone_count;
    Target* assigned_threats[CAP_DRONE_LIMIT];
    int32_t threat_count;
    Target* threats[CAP_THREAT_LIMIT];
};

extern CapState allied_cap, enemy_cap;
// game_clock at the last rebuild of both threat lists.
extern int32_t cap_threats_time;

// Mission set-up, at the end of the war model's: numbers each patrol's drones and lists the
// threats. Two patrols of a side, a neutral patrol or more than 20 drones in one is fatal.
void init_cap();
// The combat air patrol task's acquisition: a target of its own, else the nearest threat near its
// route, chased to its last known position while it flies under the cover or its radar is down.
void acquire_cap_target(Drone* drone);
// The nearest threat of the drone's side's list near its route (lists at most 10 s old), kept as
// its assigned threat; none for a drone with no speed.
Target* get_allied_cap_threat(Drone* drone);
Target* get_enemy_cap_threat(Drone* drone);
void rebuild_cap_threats();
// A full list takes no more.
void add_allied_cap_threat(Target* target);
void add_enemy_cap_threat(Target* target);

}  // namespace vyr
