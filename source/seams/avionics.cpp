// Stand-in for the cockpit and its displays: no panel, head-up display, MFD, threat warning or
// pod; the quit box and the cockpit's colours are loaded so that the flight can be left.
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/rect.h"
#include "library/system/memory.h"
#include "source/avionics/avionics.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel.h"
#include "source/avionics/pod_pages.h"
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


// No cockpit, view or display exists yet for these keys to act on.
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
void draw_mfds() {}
// The pod only keeps its track-mode flag; no threat is listed yet.
namespace {
int pod_track_mode = 0;
}
int get_pod_track_mode() { return pod_track_mode; }
void set_pod_track_mode(int flag) { pod_track_mode = flag; }
void update_pod_track(int) {}
void request_threat_step(int) {}

// The pod designates nothing yet.
int get_designated_ground_point(Vector3&) { return 0; }
// Nothing to set up, update or free: no display, warning, head-up display or remap.
void init_threat_warning() {}
void clear_sorted_threats() {}
void update_threat_warning() {}
int nearest_incoming_missile() { return 12000; }
void draw_threat_display() {}
void draw_mfd_pod_page(const MfdRect&) {}
void draw_mfd_maverick_page(const MfdRect&) {}
void init_mfds() {}
void build_rpm_dial_table() {}
void build_airspeed_dial_table() {}
void build_ftit_dial_table() {}
void init_compass_tape() {}
void reset_ecm_failure_draw() {}
int32_t pod_zoom = 1;
Vector3 pod_look_point = {};
void update_targeting_pod() {}
// Keys of displays that do not exist yet.
void scan_threat_emitters() {}
void compute_world_extents() {}
void reset_drone_view_cycle() {}
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
