// The release computations of the head-up display's bomb modes: where the selected bomb would
// land if released now (CCIP) and how long until it should go to land on the designated ground
// target (CCWR), for free-fall, retarded and two-phase bombs, the dispensers and a 45-degree loft;
// the release cue; the gun's firing solution on an air target.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

// Fall time in ticks from height z (world units) with vertical speed vz (units a second, up).
int32_t compute_fall_ticks(int32_t z, int32_t vz);

void predict_bomb_impact(Vector3& out);
void predict_cluster_bomb_impact(Vector3& out);
void predict_dur_impact(Vector3& out);
// Seconds to the release, -100 .. 3,600; `ticks` the whole seconds in ticks, -1 when the aircraft
// moves square to the miss (then 0 s and the cue unchanged). The release cue is set at or below 0.
// Nothing designated on the ground is fatal.
double compute_bomb_release_time(int32_t& ticks);
// The same for the loft sub-mode (the CBU-15 counted free-fall) and the dispensers.
double compute_bomb_release_time_alt(int32_t& ticks);
double compute_cluster_release_time(int32_t& ticks);
// Seconds to a 45-degree loft's pull-up; never sets the cue.
double compute_loft_release(int32_t& ticks);
int is_release_cue_set();
// 1 when the gun would hit the designated air target (always with the head-up display failed).
int has_gun_solution();

}  // namespace vyr
