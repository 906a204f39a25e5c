#include "source/state_digest.h"

#include <cinttypes>
#include <cstdio>

#include "library/maths/random.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

// FNV-1a over each value's little-endian bytes, whatever the machine's order.
class Hasher {
public:
    void add(uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            hash_ ^= (value >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    void add(int32_t value) { add(uint32_t(value), 4); }
    void add(uint32_t value) { add(uint64_t(value), 4); }
    void add(uint8_t value) { add(uint64_t(value), 1); }
    void add(const Vector3& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    void add(const Matrix3& m) {
        for (const auto& row : m.m)
            for (int32_t value : row) add(value);
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

void add_drone(Hasher& h, const Drone& d) {
    h.add(d.task ? d.task->id : -1);
    h.add(d.index);
    h.add(d.drone_class);
    h.add(d.pose.position);
    h.add(d.pose.matrix);
    h.add(d.heading);
    h.add(d.pitch);
    h.add(d.roll);
    h.add(get_drone_speed(&d));
    h.add(d.damage);
    h.add(d.destroyed);
    h.add(d.random_seed);
}

void add_round(Hasher& h, int slot, const WeaponRound& r) {
    h.add(int32_t(slot));
    h.add(r.weapon_id);
    h.add(r.pose.position);
    h.add(r.heading);
    h.add(r.pitch);
    h.add(r.roll);
    h.add(r.speed);
    h.add(r.random_state);
    h.add(r.phase);
}

void add_player_stores(Hasher& h) {
    for (int32_t rounds : rounds_per_weapon) h.add(rounds);
    for (const Hardpoint& hardpoint : hardpoints) {
        h.add(hardpoint.weapon_id);
        h.add(hardpoint.loaded_count);
        for (int i = 0; hardpoint.stations && i < hardpoint.station_count; ++i) {
            h.add(hardpoint.stations[i].weapon_id);
            h.add(hardpoint.stations[i].rounds);
        }
    }
    h.add(player_flight_data.fuel_internal);
    h.add(player_flight_data.fuel_external);
}

}  // namespace

StateDigest compute_state_digest() {
    Hasher h;
    StateDigest digest{game_clock, 0, 0, 0};
    for (const Task* task = task_list; task; task = task->next)
        for (const Drone* leader = task->first_drone; leader; leader = leader->next) {
            add_drone(h, *leader);
            ++digest.drones;
            for (const Drone* member = leader->first_member; member; member = member->next) {
                add_drone(h, *member);
                ++digest.drones;
            }
        }
    for (int slot = 0; slot < MAX_ROUNDS; ++slot)
        if (round_pool.slots[slot].flags & ROUND_LIVE) {
            add_round(h, slot, round_pool.slots[slot]);
            ++digest.rounds;
        }
    h.add(random_seed);
    h.add(get_game_random_state());
    h.add(get_war_seed());
    h.add(failure_random_state);
    add_player_stores(h);
    // The counts close the hash, so that two lists that run into each other differ.
    h.add(digest.drones);
    h.add(digest.rounds);
    digest.hash = h.value();
    return digest;
}

std::string format_state_digest(const StateDigest& digest) {
    char line[96];
    std::snprintf(line, sizeof line, "clock %" PRId32 " state %016" PRIx64 " drones %" PRId32 " rounds %" PRId32,
                  digest.clock, digest.hash, digest.drones, digest.rounds);
    return line;
}

bool append_state_digest(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file) return false;
    const std::string line = format_state_digest(compute_state_digest()) + "\n";
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace vyr
