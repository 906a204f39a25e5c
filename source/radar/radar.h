// The player's radar settings and everything that changes them: power, air and ground modes with
// their sub-modes, the range steps with the scan volume of each, the scan-centre slew, the paced
// cursor steps, the radar and targeting keys and the automatic ECM. The scans, the target
// selection and the radar page read these settings every frame.
#pragma once

#include <cstdint>

#include "library/maths/units.h"
#include "library/maths/vector.h"

namespace vyr {

constexpr int32_t RADAR_TWS = 0;
constexpr int32_t RADAR_ACM = 1;
constexpr int32_t RADAR_RCR = 2;

constexpr int32_t GROUND_GVT = 0;
constexpr int32_t GROUND_FTT = 1;
constexpr int32_t GROUND_FRZ = 2;

// Power and modes (flags are 0 or 1; exactly one mode flag is 1 in normal use).
extern int32_t radar_on;
extern int32_t radar_air_mode, radar_ground_mode;
extern int32_t air_submode, saved_air_submode;
extern int32_t ground_submode, saved_ground_submode;
extern int32_t ground_radar_frozen;
// 0: the air scan keeps enemy contacts only.
extern int32_t show_all_contacts;
extern int32_t auto_ecm_on;

// Air scan settings: one row of the scan table (ranges in world units, angles binary).
extern int32_t air_range_nm, air_range;
// The range set_radar_scan looks up; the range keys leave it.
extern int32_t requested_range_nm;
// The range the air scan accepts contacts within; air_range except in RCR.
extern int32_t radar_scan_range;
// The radar page's unit for symbol sizes: air_range / 40.
extern int32_t radar_display_scale;
extern int32_t scan_half_width, scan_half_width_deg, scan_half_height;
// Printed by the radar page under the scan width.
extern int32_t scan_figure;
extern int32_t scan_azimuth_limit, scan_elevation_limit;
// air_range x tan(scan_half_width): where the scan's edge lies across the B-scope.
extern int32_t scan_edge_at_range;
// The scan centre's offsets from the nose.
extern int32_t scan_azimuth, scan_elevation;
extern int32_t rcr_radius;

// Ground settings.
extern int32_t ground_range_nm, ground_range;
extern int32_t ground_sector_half_angle;
// The radar page's switch for the ground contacts' names.
extern int32_t ground_name_display;
// Where the ground map was frozen (or unfrozen).
extern Vector3 frozen_position;

// Start-up of a flight: the keys, the radar off in air mode, TWS at 35 nm, the ground map at
// 10 nm GVT, automatic targeting on and nothing designated.
void init_radar();
void register_radar_keys();
// In air mode: the scan-table row of requested_range_nm for the sub-mode (RCR keeps its range).
void set_radar_scan();
// The range step of the current mode: direction 1 up, anything else down.
void cycle_radar_range(int direction);
// The ACM row of 6, 8 or 10 nm (anything else 10); radar_scan_range is left alone.
void set_acm_range(int range_nm);
// Once an air scan: the scan centre follows the slew inputs while Ctrl is held, clamped to the
// row's limits every time so that a smaller limit pulls the centre in at once.
void slew_scan_centre();
// Each frame with Alt down: a cursor step at most once per 50 ticks of frames.
void slew_radar_cursor();
int is_auto_target_on();
// The ECM stops: the forces type it lowered comes back.
void switch_ecm_off();
// The selected weapon is one that looks for laser-designated targets.
int is_laser_weapon_selected();

}  // namespace vyr
