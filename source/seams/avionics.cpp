// Stand-in for the cockpit's displays: no head-up display, threat warning or pod.
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "source/avionics/avionics.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/hud.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/sound/triggers.h"

namespace vyr {

void register_pod_key() {}

// The pod only keeps its track-mode flag and never looks at a point of its own; no threat is
// listed yet.
namespace {
int pod_track_mode = 0;
}
void reset_targeting_pod() { pod_track_mode = 0; }
int get_pod_on_point() { return 0; }
int get_pod_track_mode() { return pod_track_mode; }
void set_pod_track_mode(int flag) { pod_track_mode = flag; }
void update_pod_track(int) {}
void set_pod_slave_target(int) {}
void clear_pod_point() {}
void request_threat_step(int) {}

// The pod designates nothing yet.
int get_designated_ground_point(Vector3&) { return 0; }
// Nothing to set up, update or free: no display, warning, head-up display or remap.
void init_threat_warning() {}
void clear_sorted_threats() {}
void update_threat_warning() {}
void add_incoming_missile(WeaponRound*, int32_t) {}
int nearest_incoming_missile() { return 12000; }
void draw_threat_display() {}
void draw_mfd_pod_page(const MfdRect&) {}
void draw_mfd_maverick_page(const MfdRect&) {}
int32_t pod_zoom = 1;
void update_targeting_pod() {}
// Keys of displays that do not exist yet.
int select_hud_colour(int) { return 1; }
int toggle_airspeed_display(int) { return 1; }
void scan_threat_emitters() {}
void compute_world_extents() {}
void reset_drone_view_cycle() {}
void init_hud() {}
void draw_hud() {}
void create_view_remaps() {}
void free_view_remaps() {}

}  // namespace vyr
