// Stand-in for the avionics and the cockpit: no panel, head-up display or landing aid; the quit
// box and the cockpit's colours are loaded so that the flight can be left; the tick drives the radar.
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/rect.h"
#include "library/system/memory.h"
#include "source/avionics/avionics.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/hud.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "library/system/key.h"
#include "source/drone/user_drone.h"
#include "source/models/flight_model.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/radar/target_select.h"
#include "source/sknet/game_rules.h"
#include "source/frame_loop.h"
#include "source/startup.h"

namespace vyr {

uint32_t system_failures = 0;
int32_t cockpit_indicators = 0;
int32_t left_mfd_page = MFD_RADAR;
int32_t right_mfd_page = MFD_RADAR;
int32_t active_mfd = 1;
FlightDataSnapshot flight_data_snapshot = {};
Sprite* quit_box_sprite = nullptr;
int32_t cockpit_overlay_started = 0;

namespace {

constexpr const char* SOURCE = "source/seams/avionics";
constexpr int COCKPIT_FIRST_COLOUR = 224;
constexpr int COCKPIT_COLOURS = 32;

constexpr double RADAR_SWEEP_SECONDS = 0.25;
double radar_sweep_time = 0;

Sprite quit_box = {};
uint8_t* quit_box_pixels = nullptr;

void free_quit_box() {
    if (!quit_box_pixels) return;
    free_memory(quit_box_pixels, SOURCE, __LINE__);
    quit_box_pixels = nullptr;
    quit_box_sprite = nullptr;
}

}  // namespace

void reset_caution_lamps() {}
void reset_system_failures() { system_failures = 0; }
// No message lines are drawn yet.
void post_message(const char*, int, int) {}
void init_message_area() {}
void age_messages() {}

// No cockpit, view or display exists yet for these keys to act on.
void register_detail_keys() {}
void register_cockpit_keys() {}
// Of the avionics keys only the landing aid's: the next airfield and autoland.
void register_avionics_keys() {
    add_hot_key(SCAN_7, next_airfield_key);
    add_hot_key(KEY_ALT | 0x1E, toggle_autoland);
}
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

// Nothing to set up, update or free but autoland: no display, warning, head-up display or remap.
void init_avionics() { reset_autoland(); }
// Of the avionics tick only the radar's part runs: the sweeps, the selection and the cursor.
void update_avionics() {
    flight_data_snapshot.heading = uint32_t(player_flight_data.heading);
    if (!player_position) return;
    update_ils_localizer();
    update_ils_glide_slope();
    update_ils_state();
    radar_sweep_time += time_acceleration * frame_seconds;
    if (radar_sweep_time > RADAR_SWEEP_SECONDS) {
        radar_sweep_time = 0;
        air_contact_head = air_contact_tail = nullptr;
        ground_contact_head = ground_contact_tail = nullptr;
        const Vector3* aircraft = &player_position->position;
        bool ground_scanned = false;
        if (radar_on && !(system_failures & FAIL_RADAR)) {
            scan_ground_targets(aircraft);
            if (radar_ground_mode) {
                scan_ground_radar(aircraft);
                ground_scanned = true;
            } else if (radar_air_mode) {
                scan_air_radar();
            }
        }
        if (!ground_scanned && is_laser_weapon_selected()) {
            scan_ground_targets(aircraft);
            scan_ground_radar(aircraft);
        }
    }
    if (control_mode != CONTROL_PILOT) update_target_selection();
    if (is_key_down(SCAN_ALT)) slew_radar_cursor();
    if (ground_radar_frozen) record_radar_trail();
}
void scan_threat_emitters() {}
void compute_world_extents() {}
void reset_drone_view_cycle() {}
void init_hud() {}
void create_view_remaps() {}
void free_view_remaps() {}
void load_cockpit_art() {}
void draw_cockpit_panel() {}
void draw_cockpit_overlay() {}

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
