#include "source/weapons/system_damage.h"

#include <cstddef>

#include "library/maths/random.h"
#include "source/avionics/failures.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

int32_t electrics_first_failure_time = 0;
int32_t electrics_second_failure_time = 0;

namespace {

constexpr int MESSAGE_PRIORITY = 3;
constexpr int MESSAGE_TICKS = 400;
constexpr int LIGHT_HIT = 12;      // fresh damage below this may leave no mark
constexpr int CRITICAL_DAMAGE = 24;  // from here on any attempt may go critical

struct Failure {
    bool exists;
    FailureBit bit;
    const char* message;  // null: silent
    int (*pod_fitted)();  // null: the aircraft's own system
};

constexpr Failure NOTHING{false, {}, nullptr, nullptr};

constexpr Failure MINOR_FAILURES[] = {
    {true, FAIL_BRAKE, "Air Brake Jammed", nullptr},
    {true, FAIL_FLAPS, "Flaps Jammed", nullptr},
    {true, FAIL_AFTERBURNER, "Afterburner Fail", nullptr},
    {true, FAIL_RADIO, "Radio Fail", nullptr},
    NOTHING,
    NOTHING,
    {true, FAIL_LASER, "Laser Desgtr Fail", has_targeting_pod},
    {true, FAIL_RECON, "Recon Pod Fail", has_recon_pod},
};

constexpr Failure MAJOR_FAILURES[] = {
    {true, FAIL_GEAR, "Gear Jammed", nullptr},
    {true, FAIL_GUN, "Gun Fail", nullptr},
    NOTHING,
    {true, FAIL_ECM, "ECM Fail", has_ecm_pod},
    {true, FAIL_OXYGEN, "Oxygen Fail", nullptr},
    {true, FAIL_THREAT_WARNING, "Threat Warn Fail", nullptr},
    {true, FAIL_RADAR, "Radar Fail", nullptr},
    {true, FAIL_HUD, "Hud Fail", nullptr},
    {true, FAIL_HUD_FLICKER, "Hud Flir Fail", has_targeting_pod},
    {true, FAIL_TARGETING, "Target Flir Fail", has_targeting_pod},
};

constexpr Failure CRITICAL_FAILURES[] = {
    {true, FAIL_ENGINE, nullptr, nullptr},
    {true, FAIL_FIRE, "Engine Fire", nullptr},
    {true, FAIL_PRESSURE, "Pressure Loss", nullptr},
    {true, FAIL_HYDRAULICS, "Surface Damage", nullptr},
    {true, FAIL_FUEL_LEAK, "Fuel Leak", nullptr},
    {true, FAIL_ELECTRICS, "Electric Fail", nullptr},
};

int draw() { return next_random(failure_random_state); }

template <std::size_t N>
const Failure& draw_from(const Failure (&table)[N]) {
    return table[std::size_t(draw()) % N];
}

void fail(const Failure& failure) {
    if (!failure.exists || has_failure(failure.bit) || (failure.pod_fitted && !failure.pod_fitted())) return;
    if (failure.message) post_message(failure.message, MESSAGE_PRIORITY, MESSAGE_TICKS);
    set_failure(failure.bit);
    if (failure.bit.byte == FAIL_ELECTRICS.byte && failure.bit.mask == FAIL_ELECTRICS.mask)
        electrics_first_failure_time = electrics_second_failure_time = game_clock;
}

}  // namespace

void damage_player_systems() {
    if (crashing_off) return;
    Drone* drone = user_drone;
    const int fresh = drone->damage - drone->previous_damage;
    if (fresh == 0) return;
    if (fresh < LIGHT_HIT) {
        if (draw() % 100 > 9 * (forces_type + 1)) drone->damage = drone->previous_damage;
        return;
    }
    for (int i = 0; i < drone->damage / 10; ++i) {
        if (draw() % 30 > fresh && i > 0) continue;
        int sum = 0;
        for (int d = 0; d < 4; ++d) sum += draw() % 50;
        fail_random_system(float(sum - 100) * 0.01f, fresh);
    }
    drone->previous_damage = drone->damage;
}

void fail_random_system(float factor, int fresh) {
    const int severity = factor >= 0 ? int(float(fresh) + float(30 - fresh) * factor) : int(float(fresh) * (1 + factor));
    if (user_drone->damage >= CRITICAL_DAMAGE && draw() % 10 > 7) {
        fail(draw_from(CRITICAL_FAILURES));
        return;
    }
    if (severity < 6) return;
    if (severity < 12)
        fail(draw_from(MINOR_FAILURES));
    else if (severity < 20)
        fail(draw_from(MAJOR_FAILURES));
    else
        fail(draw_from(CRITICAL_FAILURES));
}

int is_laser_failed() { return has_failure(FAIL_LASER) ? 1 : 0; }

}  // namespace vyr
