// Stand-in for the avionics and the cockpit.
#include "source/avionics/avionics.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"

namespace vyr {

uint32_t system_failures = 0;
// The flight keeps the cockpit view until the views exist.
int32_t view_mode = VIEW_COCKPIT;
FlightDataSnapshot flight_data_snapshot = {};
int32_t autoland_engaged = 0;

void reset_caution_lamps() {}
void reset_system_failures() { system_failures = 0; }
// No message lines are drawn yet.
void post_message(const char*, int, int) {}

// No cockpit, view or display exists yet for these keys to act on.
void register_detail_keys() {}
void register_view_keys() {}
void register_cockpit_keys() {}
void register_avionics_keys() {}
void register_mfd_keys() {}
void register_pod_key() {}

// There is no drone view to show yet.
void set_drone_view_object(ObjectInstance*) {}
void enter_drone_view() {}

}  // namespace vyr
