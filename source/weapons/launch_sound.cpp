#include "source/weapons/launch_sound.h"

#include <algorithm>

#include "library/maths/matrix.h"
#include "library/sound/samples.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/models/flight_model.h"
#include "source/sound/triggers.h"
#include "source/weapons/rounds.h"
#include "source/weapons/target.h"

namespace vyr {

int gun_sound_channel = -1;
int32_t aaa_sound_counter = 0;

namespace {

constexpr int OWN_PRIORITY = 6, OTHER_PRIORITY = -1;
constexpr double HEARING_RANGE = 204800.0;  // 800 ft
constexpr int QUIETEST = 5;
constexpr int CENTRE = 0x8000;
constexpr uint32_t QUARTER_TURN = 0x40000000u;
constexpr uint32_t HALF_TURN = 0x80000000u;
constexpr uint32_t PAN_LIMIT = uint32_t(44 * (4294967296.0 / 360));
constexpr int AAA_EVERY = 3;

// The views in which the player's own guns are not heard; the cannon pod is not heard from the
// cockpit either.
constexpr int32_t GUN_SILENT_VIEWS[] = {VIEW_AIRFRAME_CAMERA, VIEW_RUNWAY_CAMERA, 8, VIEW_REAR_LEFT, VIEW_REAR_RIGHT};

bool gun_silent_in_view(int weapon_id) {
    if (weapon_id == 10 && view_mode == VIEW_COCKPIT) return true;
    return std::find(std::begin(GUN_SILENT_VIEWS), std::end(GUN_SILENT_VIEWS), view_mode) != std::end(GUN_SILENT_VIEWS);
}

// One loop for the player's guns: started once, then only moved and made louder or softer.
void play_own_gun(int volume, int pan) {
    if (!gun_sound_on) {
        gun_sound_channel = play_sample(SAMPLE_GUN, OWN_PRIORITY, volume, pan);
        gun_sound_on = 1;
    } else {
        set_channel_volume(gun_sound_channel, volume);
        set_channel_pan(gun_sound_channel, pan);
    }
}

// The sample row of a launch by the weapon, -1 for a silent one; guns and AAA are handled apart.
int launch_row(int weapon_id) {
    switch (weapon_id) {
    case 2: case 18: case 23: case 24: return SAMPLE_LAUNCH_SWINDER;
    case 3: case 6: case 9: case 25: case 26: case 43: case 44: case 49: return SAMPLE_LAUNCH_A2A;
    case 4: case 5: case 16: case 17: case 27: case 28: case 41: case 48: case 51: case 52: case 54: case 55:
    case 56: case 64: case 65: case 69: case 70: case 72: case 73: case 74: case 75: case 78: case 79: case 80:
    case 81: case 83:
        return SAMPLE_LAUNCH_SRF2AR;
    case 12: case 13: case 14: case 15: case 58: case 59: case 19: case 66: case 67: case 68:
        return SAMPLE_LAUNCH_BOMRAC;
    case 11: case 20: case 29: case 30: case 31: case 32: case 39: case 40: case 42: return SAMPLE_LAUNCH_MNELY1;
    case 33: case 34: case 35: case 36: case 37: case 38: return SAMPLE_LAUNCH_MNELY2;
    case 46: return SAMPLE_AK47;
    case 47: return SAMPLE_MORTAR;
    case 50: case 57: case 61: case 71: case 76: case 82: return SAMPLE_EXPLOSION_SMALL;
    case 7: case 8: return SAMPLE_CHAFF;
    default: return -1;
    }
}

bool is_aaa(int weapon_id) {
    switch (weapon_id) {
    case 45: case 53: case 60: case 62: case 63: case 77: return true;
    default: return false;
    }
}

}  // namespace

void play_launch_sound(const WeaponRound* round) {
    const int weapon_id = round->weapon_id;
    const Vector3& at = round->pose.position;
    const int volume = compute_distance_volume(at), pan = compute_sound_pan(at);
    const bool own = user_drone && round->shooter == &user_drone->target;
    const int priority = own ? OWN_PRIORITY : OTHER_PRIORITY;
    if (!own && too_many_blast_sounds()) return;
    if (weapon_id == 1 || weapon_id == 21 || weapon_id == 22 || weapon_id == 10) {
        if (!own) {
            play_sample(SAMPLE_M60, priority, volume, pan);
        } else if (!gun_silent_in_view(weapon_id)) {
            // The guns are as loud as the aircraft is near the camera; weapon 10 as its round.
            Vector3 pilot = at;
            if (weapon_id != 10) get_target_position(round->shooter, pilot);
            play_own_gun(compute_distance_volume(pilot), pan);
        }
    } else if (is_aaa(weapon_id)) {
        if (aaa_sound_counter++ % AAA_EVERY == 0) {
            play_sample(SAMPLE_M60, priority, volume, pan);
            aaa_sound_counter = 1;
        }
    } else if (weapon_id >= 84 && weapon_id <= 108) {
        play_sample(SAMPLE_LAUNCH_MNELY2, priority, volume, pan);
        play_sample(SAMPLE_LAUNCH_BOMRAC, priority, volume, pan);
    } else if (const int row = launch_row(weapon_id); row >= 0) {
        play_sample(row, priority, volume, pan);
    }
}

int compute_distance_volume(const Vector3& point) {
    const Vector3& camera = view_camera_pose.position;
    const int32_t d = measure_distance_3d(point.x - camera.x, point.y - camera.y, point.z - camera.z);
    const double volume = MAX_SOUND_LEVEL - MAX_SOUND_LEVEL * double(d) / HEARING_RANGE;
    return int(std::clamp(volume, double(QUIETEST), double(MAX_SOUND_LEVEL)));
}

int compute_sound_pan(const Vector3& point) {
    const Pose& camera = view_camera_pose;
    const uint32_t bearing = compute_bearing(point.x - camera.position.x, point.y - camera.position.y);
    const bool from_cockpit =
        view_mode == VIEW_COCKPIT || view_mode == VIEW_AIRFRAME_CAMERA || view_mode == VIEW_RUNWAY_CAMERA;
    const uint32_t facing = from_cockpit ? uint32_t(player_flight_data.heading)
                                         : compute_bearing(camera.matrix[1][0], camera.matrix[1][1]);
    const uint32_t difference = bearing - facing;
    const bool right = int32_t(difference) > 0;
    uint32_t a = right ? difference : 0u - difference;
    if (a > QUARTER_TURN) a = HALF_TURN - a;
    a = std::min(a, PAN_LIMIT);
    const int offset = int(uint64_t(a) * CENTRE / 0x20000000u);
    return right ? CENTRE + offset : CENTRE - offset;
}

}  // namespace vyr
