#include "source/avionics/hud_aiming.h"

#include "source/avionics/hud.h"
#include "source/avionics/hud_scales.h"

namespace vyr {

void draw_weapon_elements() {
    draw_steerpoint_distance();
    draw_radar_altitude();
    switch (hud_mode) {
    case HUD_SRM:
    case HUD_MRM:
        draw_boresight_cross();
        draw_heading_tape();
        draw_steerpoint_caret();
        draw_weapon_status();
        break;
    case HUD_EEGS:
        draw_boresight_cross();
        draw_weapon_status();
        break;
    case HUD_ARM:
        draw_steerpoint_caret();
        draw_boresight_cross();
        draw_heading_tape();
        draw_weapon_status();
        draw_steerpoint_time();
        draw_velocity_vector();
        break;
    default:
        draw_steerpoint_caret();
        draw_boresight_cross();
        draw_pitch_ladder();
        draw_heading_tape();
        draw_weapon_status();
        if (hud_mode == HUD_CCIP || hud_mode == HUD_LOFT) draw_velocity_vector();
        if (hud_mode == HUD_EO) {
            draw_steerpoint_time();
            draw_velocity_vector();
        }
    }
}

}  // namespace vyr
