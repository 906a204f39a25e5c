// The targeting pod's state and tracking: a ground point designated under the pod's line of
// sight with Alt+Space, automatic laser target tracking over the ground radar's lased contacts,
// the per-tick check that drops a lost target, and where the designated ground point lies.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"
#include "source/avionics/mfd.h"
#include "source/avionics/pod_pages.h"
#include "source/weapons/target.h"

namespace vyr {

constexpr int32_t POD_MAX_RANGE = 15554560;            // 10 nm
constexpr int32_t POD_MAX_ALTITUDE = 6400000;          // 25,000 ft
constexpr int32_t POD_RAY_SHORTCUT_ALTITUDE = 6912000;  // 27,000 ft
constexpr uint32_t POD_BEARING_LIMIT = 0x20000000;     // 45 degrees
constexpr int POD_ZOOM_MAX = 64;

enum PodSlew { POD_SLEW_LEFT = 0, POD_SLEW_RIGHT = 1, POD_SLEW_UP = 2, POD_SLEW_DOWN = 3 };

// 1 automatic laser target tracking ("LTG AUTO"), 0 manual ("LTG MAN").
extern int32_t pod_track_mode;
extern int32_t pod_point_valid, pod_point_x, pod_point_y;
// 1 while the pod looks at its own ground point, 0 at a designated target.
extern int32_t pod_on_point;
// The pod keeps its line of sight on the designated point or target.
extern int32_t pod_slaved;
// The line of sight relative to the aircraft's heading and pitch (binary angles).
extern int32_t pod_azimuth, pod_elevation;
// Each 0..30.
extern int32_t pod_slew[4];
// 0 none, 1 next, 2 previous.
extern int32_t pod_step_request;
// The view's magnification, 1..64.
extern int32_t pod_zoom;
// The pod's own target beside designated_target.
extern Target pod_target;

// Mission start: every part of the state above cleared, the zoom 1.
void reset_targeting_pod();
void register_pod_key();
// Alt+Space on the focused pod page: designates the ground point under the line of sight, or
// drops the point held.
int pod_designate_key(int key_code);
// Each tick outside the cockpit view, and at the start of the pod page: a lost target dropped,
// automatic tracking kept on a target, the point following the target.
void update_targeting_pod();
// (Re)acquires the pod's target and copies it into designated_target; a step of 1 (next) or 2
// (previous) first moves to the neighbouring lased contact. A pod target of unknown kind is
// fatal.
void update_pod_track(int step_request);

int get_pod_track_mode();
// The radar's pod key: a laser-guided bomb toggles tracking, any other weapon forces it on.
void set_pod_track_mode(int on);
int get_pod_on_point();
// Slaved while in manual mode.
void set_pod_slave_target(int flag);
void clear_pod_point();
// 1 and the point (z the ground height) when the laser designates a ground point; 0 otherwise.
int get_designated_ground_point(Vector3& out);

// The distance along the unit (1.31) line from `start` to where it meets the ground, marched in
// 100 ft steps and bisected to 100 units; `range` when it meets none within `range` horizontally.
int32_t pod_ray_to_ground(int32_t range, const Vector3& start, const Vector3& line);
// The larger of the two horizontal extents of the player's aircraft type.
int32_t player_aircraft_size();
// The unit line of heading `heading` pitched up by `pitch` (binary angles), in 1.31.
Vector3 pod_direction(uint32_t heading, uint32_t pitch);
// The point `distance` along the unit (1.31) line from `start`.
Vector3 point_along(const Vector3& start, const Vector3& line, double distance);
// The player's aircraft's heading and pitch from its pose.
void aircraft_attitude(uint32_t& heading, uint32_t& pitch);
// The MFD with the focus shows the pod page; either MFD shows it.
bool focused_on_pod_page();
bool pod_page_shown();
// A target's ground position: a mobile's pose position, else the stored one, z the ground there.
Vector3 target_ground_position(const Target& target);

}  // namespace vyr
