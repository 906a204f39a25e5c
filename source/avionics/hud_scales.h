// The head-up display's flight symbols: the scales, the pitch ladder, the numerics and the
// landing aid's bars and cues, each drawn in HUD units through the HUD's window.
#pragma once

#include "source/avionics/hud.h"

namespace vyr {

// Mach, g, the mode's caption, the airspeed and altitude scales.
void draw_hud_common();

void draw_boresight_cross();
void draw_heading_tape();
void draw_steerpoint_caret();
void draw_pitch_ladder();
void draw_velocity_vector();
void draw_radar_altitude();
void draw_steerpoint_distance();
void draw_steerpoint_time();
void draw_weapon_status();
void draw_altitude_warning();
void draw_ils_distance();
void draw_ils_time();
void draw_vertical_speed_scale();
void draw_localiser_bar();
void draw_glideslope_bar();
void draw_aoa_bracket();
void draw_ils_steering_cue();

// Ticks as "mm:ss" ("--:--" when not positive), and a distance as "n.t" nautical miles.
void format_hud_time(int32_t ticks, char (&out)[8]);
void format_hud_miles(int32_t distance, char (&out)[16]);

}  // namespace vyr
