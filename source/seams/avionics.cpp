// Stand-in for the avionics and the cockpit: the view is always the cockpit's, rendered from the
// aircraft with no panel, head-up display or camera of its own; the quit box and the cockpit's
// colours are loaded so that the flight can be left.
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/rect.h"
#include "library/system/memory.h"
#include "source/avionics/airfields.h"
#include "source/avionics/avionics.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/hud.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/sound/triggers.h"
#include "source/startup.h"

namespace vyr {

int32_t left_mfd_page = MFD_RADAR;
int32_t right_mfd_page = MFD_RADAR;
int32_t active_mfd = 1;
int32_t sensor_view_switch = 0;
// The flight keeps the cockpit view until the views exist.
int32_t view_mode = VIEW_COCKPIT;
Pose view_camera_pose = {};
int32_t initial_view_mode = VIEW_COCKPIT;
int32_t pending_view_mode = -1;
int32_t pilot_ejected = 0;
int32_t autoland_engaged = 0;
int32_t autoland_stage = 0;
Sprite* quit_box_sprite = nullptr;
int32_t cockpit_overlay_started = 0;

namespace {

constexpr const char* SOURCE = "source/seams/avionics";
constexpr int COCKPIT_FIRST_COLOUR = 224;
constexpr int COCKPIT_COLOURS = 32;


Sprite quit_box = {};
uint8_t* quit_box_pixels = nullptr;

void free_quit_box() {
    if (!quit_box_pixels) return;
    free_memory(quit_box_pixels, SOURCE, __LINE__);
    quit_box_pixels = nullptr;
    quit_box_sprite = nullptr;
}

}  // namespace

// No airfield has a landing beacon yet.
const char* get_ils_airfield_label() { return "NO ILS  "; }
const char* get_ils_frequency_text() { return "000.0"; }
const char* get_ils_runway_text() { return "00"; }

// No cockpit, view or display exists yet for these keys to act on.
void register_view_keys() {}
void register_cockpit_keys() {}
void register_mfd_keys() {}
void register_pod_key() {}

// The pages stay as they are set; the radar page goes on the left MFD.
int get_active_mfd() { return active_mfd; }
int get_left_mfd_page() { return left_mfd_page; }
int get_right_mfd_page() { return right_mfd_page; }
void show_radar_page() {
    left_mfd_page = MFD_RADAR;
    active_mfd = 1;
}
void update_mfd_focus() {}
// The pod only keeps its track-mode flag; no threat is listed yet.
namespace {
int pod_track_mode = 0;
}
int get_pod_track_mode() { return pod_track_mode; }
void set_pod_track_mode(int flag) { pod_track_mode = flag; }
void update_pod_track(int) {}
void request_threat_step(int) {}

// There is no drone view to show yet.
void set_drone_view_object(ObjectInstance*) {}
void enter_drone_view() {}
void set_weapon_view_object(ObjectInstance*) {}
// The pod designates nothing yet.
int get_designated_ground_point(Vector3&) { return 0; }
// Nothing to set up, update or free: no display, warning, airfield, head-up display or remap.
void init_threat_warning() {}
void clear_sorted_threats() {}
void update_threat_warning() {}
int nearest_incoming_missile() { return 12000; }
void init_mfds() {}
void build_rpm_dial_table() {}
void build_airspeed_dial_table() {}
void build_ftit_dial_table() {}
void init_compass_tape() {}
void reset_ecm_failure_draw() {}
int32_t pod_zoom = 1;
void update_targeting_pod() {}
void update_ils_localizer() {}
void update_ils_glide_slope() {}
void update_ils_state() {}
void ils_time_to_beacon() { flight_data.beacon_time = -1; }
void ils_distance() {}
void reset_autoland() { autoland_engaged = 0; }
// Keys of displays that do not exist yet.
int select_hud_colour(int) { return 1; }
int toggle_airspeed_display(int) { return 1; }
int toggle_night_vision_key(int) { return 1; }
int next_airfield_key(int) { return 1; }
void update_autoland() {}
int toggle_autoland(int) {
    autoland_engaged = 0;
    return 1;
}
void select_current_airfield() {}
void scan_threat_emitters() {}
void compute_world_extents() {}
void reset_drone_view_cycle() {}
void init_hud() {}
void init_g_effects() {}
void update_g_effects() {}
void free_g_effects() {}
void init_night_vision() {}
void shutdown_night_vision() {}
void create_view_remaps() {}
void free_view_remaps() {}
void load_cockpit_art() {}
void draw_cockpit_panel() {}
void draw_cockpit_overlay() {}
void update_head_panning() {}

void init_views() {
    view_mode = VIEW_COCKPIT;
    pending_view_mode = -1;
    pilot_ejected = 0;
}
void shutdown_views() {}
// Every view is drawn over the whole screen.
int set_view_mode(int mode) {
    view_mode = mode;
    set_viewport(0, 0, 640, 480);
    return 1;
}
// With no crash camera to circle, the flight ends at once.
void enter_crash_view() {
    view_mode = VIEW_CRASH;
    flight_running = 0;
}

// The cockpit's camera: from the aircraft, which is not drawn around the eye; the engine is heard
// as from inside, its pitch following the RPM.
void render_view() {
    view_camera_pose = *player_position;
    ViewSettings view = view_settings;
    view.own_object = player_object;
    set_view_settings(&view);
    render_world(player_position);
    set_engine_sound_rate(11025 + 200 * (flight_data.engine_rpm - 60));
}

void init_cockpit_overlay() {
    free_quit_box();
    const char* name = product_language == LANG_US ? "cockpits\\yankend.lbm" : "cockpits\\endmiss3.lbm";
    if (load_picture(name, &quit_box_pixels, &quit_box.width, &quit_box.height)) {
        quit_box.pixels = quit_box_pixels;
        quit_box_sprite = &quit_box;
    }
    load_base_palette("cockpits\\cockpits.rgb", COCKPIT_FIRST_COLOUR, COCKPIT_COLOURS, 1);
}

void free_cockpit() { free_quit_box(); }

}  // namespace vyr
