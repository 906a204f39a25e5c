#include "source/avionics/landing_aid.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "source/avionics/panel.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/models/flight_model.h"

namespace vyr {

Airfield airfield_table[MAX_AIRFIELDS] = {};
int32_t current_airfield = 0;
int32_t localizer_deviation = 0;
int32_t glide_slope_deviation = 0;
int32_t ils_flag_wide = 0;
int32_t ils_flag_off_course = 1;
int32_t ils_localizer_needle = 0;
int32_t ils_glide_slope_needle = 0;
int32_t ils_localizer_side = 1;

namespace {

constexpr const char* SOURCE = "source/avionics/ils";
constexpr int64_t AIRFIELD_REACH = 3584001;  // 14,000 ft: a beacon nearer belongs to the airfield
constexpr int64_t ROUTE_END_REACH = 2304000;  // 9,000 ft round the route's last waypoint
constexpr int32_t GLIDE_SLOPE = 35791394;     // 3 degrees
constexpr int32_t DEVIATION_LIMIT = 35672090;  // 2.99 degrees
constexpr int32_t ON_COURSE = 59652324;        // 5 degrees
constexpr int32_t CONE = 238609294;            // 20 degrees
constexpr int64_t CONE_RANGE = 12 * 1555456;   // 12 nm
constexpr int32_t NO_BEACON_LOCALIZER = int32_t(0x806D39E1u);
constexpr int32_t NO_BEACON_GLIDE_SLOPE = 0x7F92C61F;
constexpr int MAX_BEACONS = 512;
constexpr int RECORD_SIZE = 32;

int airfield_count = 0;
char label[9] = {};
char frequency[8] = {};
char runway[4] = {};

int32_t read_int32(const uint8_t* p) { return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24); }

int64_t horizontal_distance(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    const double dx = double(bx) - ax, dy = double(by) - ay;
    return int64_t(std::sqrt(dx * dx + dy * dy));
}

bool has_beacon(const Airfield& a) { return a.beacons[0].type == OBJ_ILS_BEACON; }
bool usable(const Airfield& a) { return a.in_use && has_beacon(a) && get_cell_side(a.x, a.y) != SIDE_ENEMY; }
bool current_usable() { return current_airfield >= 0 && current_airfield < MAX_AIRFIELDS && usable(airfield_table[current_airfield]); }

int32_t limit_deviation(int32_t d) { return d > DEVIATION_LIMIT ? DEVIATION_LIMIT : d < -DEVIATION_LIMIT ? -DEVIATION_LIMIT : d; }
int32_t needle(int32_t limited) { return int32_t(int64_t(limited) * 0x80000000ll / GLIDE_SLOPE); }

int64_t distance_to(const IlsBeacon& b) {
    return horizontal_distance(player_position->position.x, player_position->position.y, b.x, b.y);
}

void attach_beacon(const ground_object& object, int tile_x, int tile_y) {
    IlsBeacon beacon = {};
    beacon.tile_origin_x = tile_x << 22;
    beacon.tile_origin_y = tile_y << 22;
    beacon.x = beacon.tile_origin_x + object.x * 256;
    beacon.y = beacon.tile_origin_y + object.y * 256;
    beacon.tile_x = tile_x;
    beacon.tile_y = tile_y;
    beacon.runway_heading = uint32_t(object.heading) << 16;
    beacon.runway_number = runway_number(beacon.runway_heading);
    beacon.type = OBJ_ILS_BEACON;
    for (int i = 0; i < airfield_count; ++i) {
        Airfield& a = airfield_table[i];
        if (horizontal_distance(a.x, a.y, beacon.x, beacon.y) >= AIRFIELD_REACH) continue;
        for (IlsBeacon& slot : a.beacons) {
            if (slot.type) continue;
            slot = beacon;
            return;
        }
        report_fatal_error("Run out of room in ILS beacon list for this group!", SOURCE, __LINE__);
    }
}

void scan_beacons() {
    int found = 0;
    for (int tile_x = 0; tile_x < 64; ++tile_x)
        for (int tile_y = 0; tile_y < 64; ++tile_y) {
            int16_t* list = ground_object_tiles[tile_x * 64 + tile_y];
            const int count = ground_object_count(list);
            const ground_object* records = ground_object_records(list);
            for (int i = 0; i < count && found < MAX_BEACONS; ++i) {
                if (records[i].type != OBJ_ILS_BEACON) continue;
                ++found;
                attach_beacon(records[i], tile_x, tile_y);
            }
        }
}

void copy_text(char* to, const uint8_t* from, size_t size) {
    std::memcpy(to, from, size);
    to[size - 1] = 0;
}

}  // namespace

int32_t runway_number(uint32_t heading) {
    int32_t n = int32_t((int64_t(int32_t(heading)) * 18 + (int64_t(1) << 30)) >> 31);
    if (n < 0) n += 36;
    return n == 0 ? 36 : n;
}

void clear_airfields() {
    std::memset(airfield_table, 0, sizeof airfield_table);
    airfield_count = 0;
    current_airfield = 0;
}

void reset_ils_deviations() {
    localizer_deviation = glide_slope_deviation = 0;
    ils_flag_wide = 0;
    ils_flag_off_course = 1;
}

void read_airfield_file(const char* theatre_directory) {
    char name[160];
    std::snprintf(name, sizeof name, "%sAIRFIELD.BIN", theatre_directory);
    if (!check_file_exists(name)) return;
    size_t size = 0;
    auto* data = static_cast<uint8_t*>(load_file_alloc(name, &size, SOURCE, __LINE__));
    if (!data || size < 4) report_fatal_error("%s: shorter than its record count", SOURCE, __LINE__, name);
    const int32_t count = read_int32(data);
    if (count < 0) report_fatal_error("%s: negative record count %d", SOURCE, __LINE__, name, count);
    const int64_t needed = 4 + int64_t(count) * RECORD_SIZE;
    if (int64_t(size) < needed)
        report_fatal_error("%s: %d records need %lld bytes, the file has %zu", SOURCE, __LINE__, name, count,
                           static_cast<long long>(needed), size);
    airfield_count = count < MAX_AIRFIELDS ? count : MAX_AIRFIELDS;
    for (int i = 0; i < airfield_count; ++i) {
        const uint8_t* record = data + 4 + i * RECORD_SIZE;
        Airfield& a = airfield_table[i];
        copy_text(a.name, record, sizeof a.name);
        copy_text(a.code, record + 17, sizeof a.code);
        a.x = read_int32(record + 24);
        a.y = read_int32(record + 28);
        a.in_use = OBJ_ILS_BEACON;
    }
    free_memory(data, SOURCE, __LINE__);
}

void build_ils_beacon_lists() {
    clear_airfields();
    reset_ils_deviations();
    read_airfield_file(world_settings.war_zone_directory);
    scan_beacons();
}

int get_airfield_count() { return airfield_count; }

void select_current_airfield() {
    current_airfield = 0;
    const Waypoint* last = user_drone && user_drone->first_waypoint ? get_last_waypoint(user_drone->first_waypoint) : nullptr;
    if (last) {
        for (int i = 0; i < airfield_count; ++i) {
            const Airfield& a = airfield_table[i];
            if (usable(a) && horizontal_distance(a.x, a.y, get_waypoint_x(last), get_waypoint_y(last)) < ROUTE_END_REACH) {
                current_airfield = i;
                return;
            }
        }
    }
    for (int i = 0; i < airfield_count; ++i)
        if (usable(airfield_table[i])) {
            current_airfield = i;
            return;
        }
}

int next_airfield_key(int) {
    for (int step = 1; step <= airfield_count; ++step) {
        const int i = (current_airfield + step) % airfield_count;
        if (usable(airfield_table[i])) {
            current_airfield = i;
            return 1;
        }
    }
    current_airfield = 0;
    return 1;
}

const IlsBeacon* get_current_ils_beacon() {
    if (!player_position || !current_usable()) return nullptr;
    const Airfield& a = airfield_table[current_airfield];
    const int32_t heading = int32_t(uint32_t(player_flight_data.heading) / DEGREE);
    const IlsBeacon* best = nullptr;
    int best_difference = 181;
    for (const IlsBeacon& b : a.beacons) {
        if (!b.type) break;
        int difference = std::abs(int32_t(b.runway_heading / DEGREE) - heading) % 360;
        if (difference > 180) difference = 360 - difference;
        if (difference < best_difference) {
            best_difference = difference;
            best = &b;
        }
    }
    return best && get_cell_side(best->x, best->y) != SIDE_ENEMY ? best : nullptr;
}

void update_ils_localizer() {
    const IlsBeacon* b = get_current_ils_beacon();
    if (!b) {
        ils_localizer_side = 1;
        ils_localizer_needle = NO_BEACON_LOCALIZER;
        return;
    }
    const Vector3& p = player_position->position;
    localizer_deviation = int32_t(compute_bearing(b->x - p.x, b->y - p.y) - b->runway_heading);
    const int32_t limited = limit_deviation(localizer_deviation);
    const int32_t off_runway = int32_t(uint32_t(player_flight_data.heading) - b->runway_heading);
    ils_localizer_needle = std::abs(int64_t(off_runway)) > 90ll * DEGREE ? -needle(limited) : needle(limited);
    ils_localizer_side = limited < 1 ? -1 : 1;
}

void update_ils_glide_slope() {
    const IlsBeacon* b = get_current_ils_beacon();
    if (!b) {
        ils_glide_slope_needle = NO_BEACON_GLIDE_SLOPE;
        return;
    }
    const Vector3& p = player_position->position;
    const double height = double(p.z) - get_ground_height(b->x, b->y);
    const double angle = std::atan2(height, double(distance_to(*b)));
    glide_slope_deviation = int32_t(angle * (2147483648.0 / M_PI)) - GLIDE_SLOPE;
    const int32_t pitch = player_flight_data.pitch;
    const int32_t n = -needle(limit_deviation(glide_slope_deviation));
    ils_glide_slope_needle = pitch < -87 * DEGREE || int64_t(pitch) > 93ll * DEGREE ? -n : n;
}

void update_ils_state() {
    const IlsBeacon* b = get_current_ils_beacon();
    const int64_t loc = std::abs(int64_t(localizer_deviation)), gs = std::abs(int64_t(glide_slope_deviation));
    if (!b || loc > CONE || gs > CONE || distance_to(*b) > CONE_RANGE) {
        ils_flag_wide = 0;
        ils_flag_off_course = 1;
    } else if (loc > ON_COURSE || gs > ON_COURSE) {
        ils_flag_wide = 1;
        ils_flag_off_course = 1;
    } else {
        ils_flag_wide = 0;
        ils_flag_off_course = 0;
    }
}

int is_in_ils_cone() {
    const bool outside = ils_flag_off_course && !ils_flag_wide;
    return !outside && !has_failure(FAIL_AUTOPILOT);
}

int32_t ils_time_to_beacon() {
    const IlsBeacon* b = get_current_ils_beacon();
    const int32_t feet_per_second = int32_t(std::lround(player_flight_data.airspeed * 1.7));
    if (!b || (ils_flag_off_course && !ils_flag_wide) || feet_per_second <= 0) return -1;
    return int32_t(double(distance_to(*b) / 256) / feet_per_second * 200);
}

int32_t ils_distance() {
    const IlsBeacon* b = get_current_ils_beacon();
    return b ? int32_t(distance_to(*b)) : -1;
}

const char* get_ils_airfield_label() {
    if (!current_usable()) return "NO ILS  ";
    std::snprintf(label, sizeof label, "%-8.8s", airfield_table[current_airfield].name);
    return label;
}

const char* get_ils_frequency_text() {
    if (!current_usable()) return "000.0";
    std::snprintf(frequency, sizeof frequency, "%s", airfield_table[current_airfield].code);
    return frequency;
}

const char* get_ils_runway_text() {
    const IlsBeacon* b = get_current_ils_beacon();
    if (!b) return "00";
    std::snprintf(runway, sizeof runway, "%02d", b->runway_number);
    return runway;
}

}  // namespace vyr
