// Stand-ins for the frame loop and the recorder, and for the full flight model's aerodynamics,
// engine and landing checks: no force acts on the aircraft, its mass is the empty aircraft's and
// nothing grades how it meets the ground.
#include "source/frame_loop.h"
#include "source/models/aero.h"
#include "source/models/engine.h"
#include "source/models/landing.h"
#include "source/recorder.h"

namespace vyr {

double frame_rate = 0.0;
double average_frame_rate = 0.0;
int32_t frame_fraction = 0;
double frame_seconds = 0.0;
int32_t flight_paused = 0;
int32_t game_clock = 0;
int32_t detail_ceiling = 7;

// No flight runs yet, so no time key has anything to change and nothing ends or is recorded.
void register_time_keys() {}
void end_flight(int) {}
void record_player_position(int32_t, int32_t) {}

void build_aero_tables() {}
void init_aero_constants(AirData&) {}
void init_model_mass(ModelMass& mass) { mass = {19020.0, 0.0, 0.0, 300.0, 32.2}; }
void compute_control_surfaces(ModelControls&, const AirData&) {}
void update_model_mass(ModelMass&) {}
void compute_aero_forces(AirData&, const ModelControls&, const AttitudeTrig&, double) {}
void compute_aero_moments(AirData&, ModelControls&, const AttitudeTrig&, double) {}

EngineState engine_state = {};
void init_engine(double) {}
void update_engine(EngineState&, const AirData&, double, double&, double) {}
double get_model_fuel() { return 0.0; }
void set_model_fuel(double) {}
int throttle_preset_up(int) { return 1; }
int throttle_preset_down(int) { return 1; }
int engine_stop_key(int) { return 1; }
int engine_start_key(int) { return 1; }
int fire_extinguisher_key(int) { return 1; }

int32_t pending_end_reason = 0;
int32_t pending_end_time = 0;
void clear_landing_outcome() {}
void check_touchdown() {}
void check_collisions() {}
void check_ground_roll() {}

}  // namespace vyr
