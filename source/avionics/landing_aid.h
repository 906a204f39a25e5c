// Airfields and the instrument landing aid: the theatre's airfields with their beacons, the
// current airfield and beacon, and each tick the deviations, needles and capture state.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t OBJ_ILS_BEACON = 1100;
constexpr int MAX_AIRFIELDS = 512;
constexpr int AIRFIELD_BEACONS = 4;

struct IlsBeacon {
    int32_t x, y;                    // world units
    int32_t tile_origin_x, tile_origin_y;
    int32_t tile_x, tile_y;
    uint32_t runway_heading;  // binary angle
    int32_t runway_number;    // 1..36
    int32_t type;             // 1100; 0 while the entry is empty
};

struct Airfield {
    int32_t x, y;
    IlsBeacon beacons[AIRFIELD_BEACONS];
    int32_t in_use;  // 1100 when the slot holds an airfield
    char name[17];
    char code[7];
};

extern Airfield airfield_table[MAX_AIRFIELDS];
extern int32_t current_airfield;
extern int32_t localizer_deviation;    // binary angles, unlimited
extern int32_t glide_slope_deviation;
extern int32_t ils_flag_wide;
extern int32_t ils_flag_off_course;

// On theatre load: the theatre's AIRFIELD.BIN and the type-1100 ground objects near each airfield.
void build_ils_beacon_lists();
void clear_airfields();
void reset_ils_deviations();
// A missing file leaves the table empty; a bad one is fatal, naming the file.
void read_airfield_file(const char* theatre_directory);
int get_airfield_count();
// Flight start: the airfield by the route's last waypoint, else the first usable one.
void select_current_airfield();
// Key 7: the next usable airfield.
int next_airfield_key(int key_code);
// The beacon whose runway best matches the aircraft's heading; null when none is usable.
const IlsBeacon* get_current_ils_beacon();
// The runway number 1..36 of a runway heading.
int32_t runway_number(uint32_t heading);
// Per tick in this order, from the flight data.
void update_ils_localizer();
void update_ils_glide_slope();
void update_ils_state();
int32_t ils_time_to_beacon();
int32_t ils_distance();
// 1 while the capture state is on course or wide.
int is_in_ils_cone();
// The needles and the side the displays read.
extern int32_t ils_localizer_needle;
extern int32_t ils_glide_slope_needle;
extern int32_t ils_localizer_side;
// Texts of the cockpit displays: "NO ILS  ", "000.0" and "00" without a usable airfield or beacon.
const char* get_ils_airfield_label();
const char* get_ils_frequency_text();
const char* get_ils_runway_text();

}  // namespace vyr
