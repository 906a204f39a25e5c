#include "source/avionics/pod_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/system/joystick.h"
#include "library/system/key.h"
#include "platform/accel/framebuffer.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/targeting_pod.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/radar/radar.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

Vector3 pod_look_point = {};
int32_t pod_slaved_azimuth = 0, pod_slaved_elevation = 0;

namespace {

constexpr int32_t UNIT = 0x100000;  // 1.0 of the page's window
constexpr int32_t fx(double v) { return int32_t(v * UNIT); }
constexpr int32_t ELEVATION_FLOOR = int32_t(0xc0b60b61);  // -89 degrees
constexpr int32_t SEEKER_FIELD = 357913941;               // 30 degrees
constexpr int32_t CLOSE_DISTANCE = 25600;                 // 100 ft
constexpr int MAVERICK_ZOOM = 64;
constexpr int32_t SLEW_INPUT_LIMIT = 1932735276;  // 0.9 of full deflection
constexpr int SLEW_COUNTER_MAX = 30, SLEW_FOLLOW_MAX = 27;
constexpr int PAGE_COLOUR = 1;
constexpr int FAILED_BACKGROUND = 208, FAILED_TEXT = 222;
constexpr int SENSOR_SHADES_FIRST = 208, SENSOR_SHADES = 16;
constexpr int ARROW_KEYS[4] = {SCAN_LEFT, SCAN_RIGHT, SCAN_UP, SCAN_DOWN};

SensorImageRenderer sensor_renderer = render_sensor_image;
int32_t alt_was_held = 0;
int32_t keys_slewing = 0;
const void* remembered_target_object = nullptr;

enum class PodView { TARGET, POINT, BORESIGHT };

// The sensor image by luminance onto the display's 16 shades from 208, into the current screen
// at (x, y), clipped to it.
void remap_sensor_image(const uint16_t* image, int x, int y, int width, int height) {
    for (int row = 0; row < height; ++row) {
        if (y + row < 0 || y + row >= screen_height) continue;
        for (int column = 0; column < width; ++column) {
            if (x + column < 0 || x + column >= screen_width) continue;
            const uint16_t p = image[row * platform::accel::SCREEN_WIDTH + column];
            const int r = (p >> 11) * 255 / 31, g = (p >> 5 & 63) * 255 / 63, b = (p & 31) * 255 / 31;
            const int luminance = (77 * r + 150 * g + 29 * b) >> 8;
            row_table[y + row][x + column] = uint8_t(SENSOR_SHADES_FIRST + luminance * SENSOR_SHADES / 256);
        }
    }
}

// The page's frame: the display's rectangle showing -1.0..+1.0, no turn, no offset.
void set_page_plot(const MfdRect& r) {
    set_plot(r.x, r.y, r.width, r.height, -UNIT, -UNIT, UNIT, UNIT);
    set_plot_rotation(0);
    set_plot_offset(0, 0);
}

enum class Align { LEFT, CENTRE, RIGHT };

void page_text(int32_t x, int32_t y, const char* text, Align align = Align::LEFT) {
    place_text_at_plot_point(x, y);
    if (align == Align::RIGHT) text_x -= get_text_width(text);
    if (align == Align::CENTRE) text_x -= get_text_width(text) / 2;
    draw_text(text);
}

const char* mode_text() {
    if (focused_on_pod_page()) return pod_track_mode ? "LTG AUTO CUR" : "LTG MAN CUR";
    return pod_track_mode ? "LTG AUTO" : "LTG MAN";
}

void draw_range(int32_t distance) {
    char text[16];
    const int32_t miles = distance / NAUTICAL_MILE;
    std::snprintf(text, sizeof text, "%d.%d", miles, int32_t(10 * int64_t(distance) / NAUTICAL_MILE - 10 * miles));
    page_text(fx(0.875), fx(0.875), text, Align::RIGHT);
}

void draw_zoom(int zoom) {
    char text[16];
    std::snprintf(text, sizeof text, "%i:1", zoom);
    page_text(fx(-0.875), fx(-0.75), text);
}

// The crosshair, its box and the two scales, with the carets at (azimuth x, elevation y).
void draw_crosshair(int32_t caret_x, int32_t caret_y) {
    const int c = PAGE_COLOUR;
    draw_plot_line(fx(-0.2), fx(-0.1), fx(0.2), fx(-0.1), c);
    draw_plot_line(fx(0.2), fx(-0.1), fx(0.2), fx(0.1), c);
    draw_plot_line(fx(0.2), fx(0.1), fx(-0.2), fx(0.1), c);
    draw_plot_line(fx(-0.2), fx(0.1), fx(-0.2), fx(-0.1), c);
    draw_plot_line(0, fx(-0.03), 0, fx(-0.2), c);
    draw_plot_line(0, fx(0.03), 0, fx(0.2), c);
    draw_plot_line(fx(-0.03), 0, fx(-0.3), 0, c);
    draw_plot_line(fx(0.03), 0, fx(0.3), 0, c);
    draw_plot_line(fx(-0.875), fx(-0.9375), fx(0.875), fx(-0.9375), c);
    draw_plot_line(fx(0.9375), fx(0.875), fx(0.9375), fx(-0.875), c);
    draw_plot_point(caret_x, fx(-0.90625), c);
    draw_plot_point(fx(0.90625), caret_y, c);
}

double degrees(int32_t angle) { return double(angle) / DEGREE; }

int32_t azimuth_caret(int32_t azimuth) {
    const double a = degrees(azimuth);
    if (a >= 179) return fx(0.875);
    if (a <= -179) return fx(-0.875);
    return fx(-0.875 + 1.75 * (a + 180) / 360);
}

int32_t elevation_caret(int32_t elevation, int32_t limit) {
    if (elevation >= limit) return fx(0.875);
    if (elevation <= ELEVATION_FLOOR) return fx(-0.875);
    return fx(0.875 - 1.75 * (double(elevation) - limit) / (-90.0 * DEGREE - limit));
}

// -30..+30 degrees onto the scale's -0.875..+0.875, held at the ends.
int32_t seeker_caret(int32_t angle) {
    const double a = std::clamp(double(angle) / SEEKER_FIELD, -1.0, 1.0);
    return fx(0.875 * a);
}

Vector3 unit_towards(const Vector3& from, const Vector3& to) {
    Vector3 d = {to.x - from.x, to.y - from.y, to.z - from.z};
    normalize_vector(d);
    return d;
}

int32_t distance_between(const Vector3& a, const Vector3& b) { return measure_distance_3d(b.x - a.x, b.y - a.y, b.z - a.z); }

// Bearing and elevation of a point in the aircraft's axes (signed binary angles).
void angles_from_aircraft(const Vector3& point, int32_t& azimuth, int32_t& elevation) {
    const Vector3& a = player_position->position;
    const Vector3 d = {point.x - a.x, point.y - a.y, point.z - a.z};
    Vector3 r;
    rotate_vector(player_position->matrix, d, r);
    azimuth = int32_t(compute_bearing(r.x, r.y));
    elevation = int32_t(std::atan2(double(r.z), std::hypot(double(r.x), double(r.y))) / (2 * M_PI) * 4294967296.0);
}

void world_angles(const Vector3& line, uint32_t& heading, uint32_t& pitch) {
    heading = compute_bearing(line.x, line.y);
    pitch = uint32_t(int32_t(std::atan2(double(line.z), std::hypot(double(line.x), double(line.y))) / (2 * M_PI) *
                             4294967296.0));
}

int32_t elevation_limit(int32_t azimuth) { return mul31(30 * DEGREE, lookup_cos(uint32_t(azimuth))); }

void lift_to_ground(Vector3& p) { p.z = std::max(p.z, get_ground_height(p.x, p.y)); }

void render(const MfdRect& rect, const Vector3& eye, const Vector3& line) {
    Pose pose;
    pose.position = eye;
    lift_to_ground(pose.position);
    build_direction_basis(line, pose.matrix);
    sensor_renderer(rect, pose);
}

// s = d - d / zoom, brought to 100 ft short of the target when that would pass it.
int64_t target_advance(int32_t d, int zoom, int32_t distance) {
    int64_t s = d - d / zoom;
    if (distance - s >= 0 && distance - s < CLOSE_DISTANCE) s = distance - CLOSE_DISTANCE;
    return s;
}

int64_t ground_advance(int32_t d, int zoom) { return std::max<int64_t>(0, int64_t(d) - d / zoom - CLOSE_DISTANCE); }

struct PodFrame {
    PodView view;
    Vector3 aim;        // target and point views
    int32_t distance;   // from the aircraft to the aim point
    int32_t limit;      // the elevation limit of this frame
    bool slewed;        // the pod holds a point and was slewed off it
};

// The eye of the target and point views, looking from the aircraft at the aim point.
void place_eye_on_aim(const MfdRect& rect, PodFrame& f) {
    const Vector3& aircraft = player_position->position;
    const int32_t size = player_aircraft_size();
    Vector3 line = unit_towards(aircraft, f.aim);
    int32_t a, e;
    angles_from_aircraft(f.aim, a, e);
    if (f.distance <= 2 * size - pod_zoom) {
        f.limit = elevation_limit(a);
        render(rect, f.aim, line);
        return;
    }
    uint32_t heading, pitch;
    world_angles(line, heading, pitch);
    if (f.view == PodView::POINT && f.slewed) {
        heading += uint32_t(pod_slaved_azimuth);
        pitch += uint32_t(pod_slaved_elevation);
        a += pod_slaved_azimuth;
        e += pod_slaved_elevation;
        pod_slaved_azimuth = pod_slaved_elevation = 0;
    }
    f.limit = elevation_limit(a);
    if (e > f.limit) pitch -= uint32_t(e - f.limit);
    line = pod_direction(heading, pitch);
    const Vector3 start = point_along(aircraft, line, 3 * int64_t(size));
    const int32_t d = pod_ray_to_ground(f.distance, start, line);
    const int64_t s = f.view == PodView::TARGET ? target_advance(d, pod_zoom, f.distance) : ground_advance(d, pod_zoom);
    const Vector3 eye = point_along(start, line, s);
    angles_from_aircraft(eye, pod_azimuth, pod_elevation);
    render(rect, eye, line);
}

// The boresight view along the pod's angles; the crosshair's ground point comes back in `ground`.
void place_boresight_eye(const MfdRect& rect, PodFrame& f) {
    const Vector3& aircraft = player_position->position;
    const int32_t size = player_aircraft_size();
    uint32_t heading, pitch;
    aircraft_attitude(heading, pitch);
    Vector3 line = pod_direction(heading + uint32_t(pod_azimuth), pitch + uint32_t(pod_elevation));
    const Vector3 first = point_along(aircraft, line, 3 * int64_t(size));
    int32_t a, e;
    angles_from_aircraft(first, a, e);
    f.limit = elevation_limit(a);
    if (pod_elevation > f.limit) line = pod_direction(heading + uint32_t(pod_azimuth), pitch + uint32_t(f.limit));
    const Vector3 start = point_along(aircraft, line, 3 * int64_t(size));
    const int32_t d = pod_ray_to_ground(POD_MAX_RANGE, start, line);
    render(rect, point_along(start, line, ground_advance(d, pod_zoom)), line);
}

// The ground point under the pod's line of sight, started one aircraft size ahead.
Vector3 crosshair_ground_point() {
    uint32_t heading, pitch;
    aircraft_attitude(heading, pitch);
    const Vector3 line = pod_direction(heading + uint32_t(pod_azimuth), pitch + uint32_t(pod_elevation));
    const Vector3 start = point_along(player_position->position, line, player_aircraft_size());
    Vector3 p = point_along(start, line, pod_ray_to_ground(POD_MAX_RANGE, start, line));
    p.z = get_ground_height(p.x, p.y);
    return p;
}

bool designated_on_ground() {
    return designated_target.kind != TARGET_NONE && get_target_domain(&designated_target) == TARGET_DOMAIN_GROUND;
}

PodFrame choose_pod_view() {
    const bool laser = !has_failure(FAIL_LASER);
    PodFrame f = {};
    if (laser && !radar_air_mode && designated_on_ground() && (pod_track_mode || !focused_on_pod_page())) {
        f.view = PodView::TARGET;
        pod_point_valid = 1;
        pod_on_point = 0;
        f.aim = target_ground_position(designated_target);
        pod_point_x = f.aim.x;
        pod_point_y = f.aim.y;
    } else if (laser && pod_point_valid &&
               (!radar_on || designated_target.kind == TARGET_NONE || focused_on_pod_page())) {
        f.view = PodView::POINT;
        pod_on_point = 1;
        f.aim = {pod_point_x, pod_point_y, get_ground_height(pod_point_x, pod_point_y)};
    } else {
        // Also when the pod holds a point while the radar tracks an air target on another page.
        f.view = PodView::BORESIGHT;
        if (pod_track_mode || radar_air_mode) pod_azimuth = pod_elevation = 0;
    }
    f.distance = distance_between(player_position->position, f.aim);
    f.slewed = pod_slaved && (pod_slaved_azimuth || pod_slaved_elevation);
    return f;
}

void apply_mode_rules() {
    if (has_failure(FAIL_LASER)) pod_slaved = pod_track_mode = pod_point_valid = 0;
    if (selected_weapon != WEAPON_GBU_12 && selected_weapon != WEAPON_GBU_16 && selected_weapon != WEAPON_GBU_10 &&
        !pod_track_mode) {
        pod_slaved = 0;
        pod_track_mode = 1;
    }
}

void step_counter(int32_t input, PodSlew positive, PodSlew negative) {
    if (input > 0) {
        ++pod_slew[positive];
        pod_slew[negative] = 0;
    } else if (input < 0) {
        ++pod_slew[negative];
        pod_slew[positive] = 0;
    }
}

void follow_input(int32_t input, PodSlew positive, PodSlew negative) {
    const int32_t counter = std::min<int32_t>(SLEW_FOLLOW_MAX, int32_t(std::lround(std::abs(double(input)) * 30 / 2147483648.0)));
    pod_slew[positive] = input > 0 ? counter : 0;
    pod_slew[negative] = input < 0 ? counter : 0;
}

bool any_arrow_down() {
    return std::any_of(std::begin(ARROW_KEYS), std::end(ARROW_KEYS), [](int k) { return is_key_down(k); });
}

void slew_pod() {
    const bool alt = is_key_down(SCAN_ALT);
    const bool focused = focused_on_pod_page();
    if (alt && !alt_was_held) pod_slaved_azimuth = pod_slaved_elevation = 0;
    if (!alt || !focused) std::fill(std::begin(pod_slew), std::end(pod_slew), 0);
    if (pod_track_mode || !focused || !alt) return;
    int32_t vertical, sideways;
    get_slew_inputs(vertical, sideways);
    vertical = std::clamp(vertical, -SLEW_INPUT_LIMIT, SLEW_INPUT_LIMIT);
    sideways = std::clamp(sideways, -SLEW_INPUT_LIMIT, SLEW_INPUT_LIMIT);
    if (control_type == CONTROL_KEYBOARD || any_arrow_down()) {
        if (control_type != CONTROL_KEYBOARD) keys_slewing = 1;
        step_counter(vertical, POD_SLEW_DOWN, POD_SLEW_UP);
        step_counter(sideways, POD_SLEW_RIGHT, POD_SLEW_LEFT);
    } else {
        keys_slewing = 0;
        if (vertical == get_joystick_axis(2, 1) || sideways == get_joystick_axis(2, 0)) {
            follow_input(vertical, POD_SLEW_DOWN, POD_SLEW_UP);
            follow_input(sideways, POD_SLEW_RIGHT, POD_SLEW_LEFT);
        } else {
            std::fill(std::begin(pod_slew), std::end(pod_slew), 0);
        }
    }
    for (int32_t& c : pod_slew) c = std::clamp(c, 0, SLEW_COUNTER_MAX);
    const int32_t divisor = pod_zoom / 5 + 1;
    const int32_t up = (pod_slew[POD_SLEW_UP] - pod_slew[POD_SLEW_DOWN]) * DEGREE / divisor;
    const int32_t right = (pod_slew[POD_SLEW_RIGHT] - pod_slew[POD_SLEW_LEFT]) * DEGREE / divisor;
    pod_elevation = std::max(ELEVATION_FLOOR, pod_elevation + up);
    pod_azimuth += right;
    if (pod_point_valid) {
        pod_slaved_elevation = std::max(ELEVATION_FLOOR, pod_slaved_elevation + up);
        pod_slaved_azimuth += right;
    }
}

// A counter stops when its arrow is let go or the opposite one is pressed.
void release_slew_keys() {
    if (control_type == CONTROL_KEYBOARD || keys_slewing) {
        static const PodSlew opposite[4] = {POD_SLEW_RIGHT, POD_SLEW_LEFT, POD_SLEW_DOWN, POD_SLEW_UP};
        for (int i = 0; i < 4; ++i)
            if (pod_slew[i] > 0 && (is_key_down(ARROW_KEYS[opposite[i]]) || !is_key_down(ARROW_KEYS[i])))
                pod_slew[i] = 0;
    }
    alt_was_held = is_key_down(SCAN_ALT);
}

void draw_failed_pod_page(const MfdRect& rect) {
    set_page_plot(rect);
    fill_plot(uint32_t(FAILED_BACKGROUND) * 0x01010101u);
    text_colour = FAILED_TEXT;
    select_font(&font_large);
    page_text(0, 0, "LANTIRN FAILED", Align::CENTRE);
    select_font(&font_small);
    page_text(fx(-0.875), fx(0.875), mode_text());
}

void draw_pod_texts(const PodFrame& f) {
    select_font(&font_small);
    text_colour = PAGE_COLOUR;
    if (f.view == PodView::BORESIGHT) {
        page_text(fx(-0.875), fx(0.875), mode_text());
        if (radar_air_mode)
            page_text(0, fx(-0.5), "Invalid Weapon", Align::CENTRE);
        else if (pod_track_mode)
            page_text(0, fx(-0.5), "No Target", Align::CENTRE);
        draw_zoom(pod_zoom);
        return;
    }
    page_text(fx(0.875), fx(-0.75), "LOCKED", Align::RIGHT);
    page_text(fx(-0.875), fx(0.875), mode_text());
    draw_zoom(pod_zoom);
    draw_range(f.distance);
    if (f.view != PodView::TARGET) return;
    if (designated_target.object != remembered_target_object) {
        remembered_target_object = designated_target.object;
        pod_zoom = POD_ZOOM_MAX;
    }
    if (user_drone && !has_line_of_sight(&user_drone->target, &designated_target)) {
        pod_zoom = 1;
        page_text(0, fx(-0.5), "Target Obscured", Align::CENTRE);
    }
}

void draw_maverick_texts(bool locked, int32_t distance) {
    select_font(&font_small);
    text_colour = PAGE_COLOUR;
    if (locked) {
        page_text(fx(0.875), fx(-0.75), "LOCKED", Align::RIGHT);
        draw_range(distance);
    } else {
        page_text(0, fx(-0.5), selected_weapon == WEAPON_AGM_65G ? "No Target" : "Invalid Weapon", Align::CENTRE);
    }
    page_text(fx(-0.875), fx(0.875), "MAV");
    draw_zoom(4);
}

// Inside the seeker's 30 degrees of the nose and of the aircraft's pitch.
bool in_seeker_field(int32_t azimuth, int32_t elevation) {
    const int32_t pitch = int32_t(lookup_arcsin(player_position->matrix[1][2]));
    return azimuth > -SEEKER_FIELD && azimuth < SEEKER_FIELD && elevation > pitch - SEEKER_FIELD &&
           elevation < pitch + SEEKER_FIELD;
}

void target_world_angles(const Vector3& target, int32_t& azimuth, int32_t& elevation) {
    const Vector3& a = player_position->position;
    uint32_t heading, pitch;
    aircraft_attitude(heading, pitch);
    const Vector3 d = {target.x - a.x, target.y - a.y, target.z - a.z};
    uint32_t bearing, up;
    world_angles(d, bearing, up);
    azimuth = int32_t(bearing - heading);
    elevation = int32_t(up);
}

}  // namespace

void render_sensor_image(const MfdRect& rect, const Pose& eye) {
    namespace accel = platform::accel;
    Screen* const target = get_current_screen();
    const int width = std::min(rect.width, accel::SCREEN_WIDTH), height = std::min(rect.height, accel::SCREEN_HEIGHT);
    if (!accel::display_open() || !target || width <= 0 || height <= 0) return;
    // The world is drawn by the accelerator into a picture of its own, never into the frame or
    // the panel: the 3D viewport's rectangle here is the display's, not a place on screen.
    const ViewportRect saved_viewport = viewport_rect;
    const ViewSettings saved_view = current_view;
    const int saved_flag = accelerator_flag;
    select_screen(nullptr);
    accelerator_flag = 1;
    accel::select_offscreen_target(true);
    accel::clear_buffer(0);
    set_viewport(0, 0, width, height);
    render_sensor_view(&eye, &saved_view);
    accel::select_offscreen_target(false);
    accelerator_flag = saved_flag;
    set_view_settings(&saved_view);
    select_screen(target);
    set_viewport(saved_viewport.left, saved_viewport.top, saved_viewport.width, saved_viewport.height);
    remap_sensor_image(accel::offscreen_target(), rect.x, rect.y, width, height);
}

void set_sensor_image_renderer(SensorImageRenderer renderer) {
    sensor_renderer = renderer ? renderer : render_sensor_image;
}

void reset_pod_pages() {
    pod_look_point = {};
    pod_slaved_azimuth = pod_slaved_elevation = 0;
    alt_was_held = keys_slewing = 0;
    remembered_target_object = nullptr;
}

void draw_mfd_pod_page(const MfdRect& rect) {
    if (has_failure(FAIL_TARGETING)) {
        draw_failed_pod_page(rect);
        return;
    }
    if (!player_position) return;
    update_targeting_pod();
    slew_pod();
    apply_mode_rules();
    PodFrame f = choose_pod_view();
    if (f.view == PodView::BORESIGHT)
        place_boresight_eye(rect, f);
    else
        place_eye_on_aim(rect, f);
    set_page_plot(rect);
    draw_pod_texts(f);
    draw_crosshair(azimuth_caret(pod_azimuth), elevation_caret(pod_elevation, f.limit));
    const Vector3 crosshair = crosshair_ground_point();
    if (f.view == PodView::POINT && f.slewed) {
        pod_point_x = crosshair.x;
        pod_point_y = crosshair.y;
    }
    if (f.slewed)
        pod_look_point = crosshair;
    else if (pod_point_valid || designated_target.kind != TARGET_NONE)
        pod_look_point = {pod_point_x, pod_point_y, get_ground_height(pod_point_x, pod_point_y)};
    else
        pod_look_point = crosshair;
    release_slew_keys();
}

void draw_mfd_maverick_page(const MfdRect& rect) {
    if (!player_position) return;
    const Vector3& aircraft = player_position->position;
    Vector3 target = {};
    int32_t azimuth = 0, elevation = 0;
    if (designated_target.kind != TARGET_NONE) {
        target = target_ground_position(designated_target);
        target_world_angles(target, azimuth, elevation);
        if (selected_weapon == WEAPON_AGM_65G && !in_seeker_field(azimuth, elevation) &&
            !(radar_on && radar_ground_mode))
            update_pod_track(0);
    }
    if (flight_data.altitude >= POD_MAX_ALTITUDE) designated_target.kind = TARGET_NONE;
    const int32_t size = player_aircraft_size();
    uint32_t heading, pitch;
    aircraft_attitude(heading, pitch);
    const bool locked = !radar_air_mode && designated_on_ground() && selected_weapon == WEAPON_AGM_65G;
    int32_t distance = 0;
    if (locked) {
        target = target_ground_position(designated_target);
        target_world_angles(target, azimuth, elevation);
        pod_point_x = target.x;
        pod_point_y = target.y;
        pod_look_point = {target.x, target.y, get_ground_height(target.x, target.y)};
        distance = distance_between(aircraft, target);
        if (distance <= 2 * size - 4) {
            render(rect, target, unit_towards(aircraft, target));
        } else {
            const int32_t pitch_now = int32_t(pitch);
            const int32_t a = std::clamp(azimuth, -SEEKER_FIELD, SEEKER_FIELD);
            const int32_t e = std::clamp(elevation - pitch_now, -SEEKER_FIELD, SEEKER_FIELD) + pitch_now;
            const Vector3 line = pod_direction(heading + uint32_t(a), uint32_t(e));
            const Vector3 start = point_along(aircraft, line, 3 * int64_t(size));
            const int32_t d = pod_ray_to_ground(distance, start, line);
            render(rect, point_along(start, line, target_advance(d, MAVERICK_ZOOM, distance)), line);
        }
    } else {
        const Vector3 line = pod_direction(heading, pitch);
        const Vector3 start = point_along(aircraft, line, 3 * int64_t(size));
        render(rect, point_along(start, line, ground_advance(pod_ray_to_ground(POD_MAX_RANGE, start, line), MAVERICK_ZOOM)),
               line);
    }
    set_page_plot(rect);
    draw_maverick_texts(locked, distance);
    if (locked)
        draw_crosshair(seeker_caret(azimuth), seeker_caret(elevation - int32_t(pitch)));
}

}  // namespace vyr
