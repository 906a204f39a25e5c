// View modes and cameras: which view may be entered, the entry and leave actions of each, the
// camera of the current view rendered once a frame, the crash and ejection sequences.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

constexpr int32_t VIEW_COCKPIT = 0;
constexpr int32_t VIEW_ORBIT_SELF = 1;
constexpr int32_t VIEW_DRONE = 2;
constexpr int32_t VIEW_AIRFRAME_CAMERA = 3;
constexpr int32_t VIEW_RUNWAY_CAMERA = 4;
constexpr int32_t VIEW_WEAPON = 5;
constexpr int32_t VIEW_TARGET = 6;
constexpr int32_t VIEW_FROZEN_CAMERA = 7;
constexpr int32_t VIEW_EJECTION = 8;
constexpr int32_t VIEW_FLYBY = 9;
constexpr int32_t VIEW_TO_TARGET = 10;
constexpr int32_t VIEW_CRASH = 11;
constexpr int32_t VIEW_ORBIT_OBJECT = 12;  // nothing selects it: always refused
constexpr int32_t VIEW_REAR_LEFT = 13;
constexpr int32_t VIEW_REAR_RIGHT = 14;
constexpr int32_t VIEW_NONE = 15;  // before the first view is set; never a valid argument
constexpr int AIRFRAME_PRESETS = 17;

// Changed only through set_view_mode; read directly by the rest of the flight.
extern int32_t view_mode;
// The last mode other than the rear views that was left.
extern int32_t last_view_mode;
// 1 when the panel and the head-up display belong to the view; the flight controls' flag.
extern int32_t view_in_cockpit;
extern int32_t view_control_flag;
// While set every change of view is refused: the player watches the other aircraft for good.
extern int32_t views_locked;
// Shift+T and Shift+O work while it is set; autoland sets it around its own camera changes.
extern int32_t camera_permission;
// The followed object of the drone view, and the last round the player launched.
struct ObjectInstance;
struct WeaponRound;
extern ObjectInstance* drone_view_object;
extern WeaponRound* weapon_view_object;
// The orbit camera's zoom closer ("/zoom").
extern int32_t zoom_closer;
// The airframe camera's preset row, 0..16.
extern int32_t airframe_preset;
// The final camera of the last rendered frame: the sound listener's pose.
extern Pose view_camera_pose;
// The loop sounds of what the view watches, as the last rendered frame set them.
struct ViewSound {
    int32_t loop_level;  // 0..63
    int32_t loop_pan;    // 0..0xFFFF, 0x8000 centred
    int32_t afterburner_level;
    int32_t engine_rate;  // Hz
};
extern ViewSound view_sound;
// The crash camera's clock, 0..0x7FFFFFFF: it runs out after four seconds.
extern int32_t crash_timer;

// The view the flight starts in; a view change asked for during a frame (-1: none), taken by the
// frame loop at its end (a rear view let go returns to last_view_mode this way).
extern int32_t initial_view_mode;
extern int32_t pending_view_mode;
// 1 once the pilot has ejected: no more keys or controls.
extern int32_t pilot_ejected;

// Mission set-up and tear-down.
void init_views();
void shutdown_views();
// The fourteen view keys.
void register_view_keys();
// 1 when the mode was allowed and set; every refusal is silent. A mode outside 0..14 is fatal.
int set_view_mode(int mode);
int is_view_mode_allowed(int mode);
int get_view_mode();
void set_drone_view_object(ObjectInstance* instance);
void enter_drone_view();
// The circling crash camera; its sequence decides how the flight goes on.
void enter_crash_view();
// The airframe camera at preset (`preset` mod 17) when the aircraft is above the ground.
void set_airframe_camera(int preset);
// Every launch of the player's weapons; a round that ends is forgotten.
void set_weapon_view_object(WeaponRound* round);
void forget_view_object(WeaponRound* round);
// The frame's 3D scene from the current view's camera, then the listener and the loop sounds.
void render_view();
void create_view_remaps();
void free_view_remaps();
// Key handlers.
int view_key(int key_code);
int eject_key(int key_code);

}  // namespace vyr
