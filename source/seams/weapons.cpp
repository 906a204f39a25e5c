// Stand-in for the weapons and sensors.

#include "library/3dvisual/instance.h"
#include "library/maths/vector.h"
#include "source/models/integration.h"
#include "source/radar/air_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_select.h"
#include "source/weapons/guidance.h"
#include "source/weapons/failures.h"
#include "source/weapons/round_movement.h"
#include "source/weapons/target.h"

namespace vyr {

int32_t electrics_first_failure_time = 0;
int32_t electrics_second_failure_time = 0;
int32_t auto_target_on = 1;
int32_t follow_best_target = 1;
int32_t reacquire_target = 1;
int32_t target_step_request = 0;
Target laser_spot_target = {};

// The designation stays as the radar's steps leave it; the air contacts are grouped for the
// radar page as the selection would.
void update_target_selection() {
    if (radar_air_mode) merge_air_contacts(air_contact_head);
}

// Missiles fly straight along their nose, see nothing and are never decoyed until guidance is
// built; no hit fails the player's systems.
void move_missile(WeaponRound* round, Vector3& step) { move_straight_round(round, step); }
const Target* update_round_seeker(WeaponRound*) { return nullptr; }
int decoy_succeeds(WeaponRound*) { return 0; }
void damage_player_systems() {}
int is_laser_failed() { return 0; }

}  // namespace vyr
