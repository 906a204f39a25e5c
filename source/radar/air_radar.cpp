#include "source/radar/air_radar.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "library/3dvisual/instance.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "source/avionics/avionics.h"
#include "source/avionics/mfd.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/models/flight_model.h"
#include "source/radar/contact_list.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/radar/target_select.h"
#include "source/weapons/targets.h"

namespace vyr {

AirContact air_contacts[MAX_AIR_CONTACTS];
AirContact* air_contact_head = nullptr;
AirContact* air_contact_tail = nullptr;
int32_t air_contact_count = 0;
AirContact* air_display[MAX_AIR_CONTACTS];
int32_t air_display_count = 0;
int32_t selected_air_index = -1;
Matrix3 air_radar_frame = {};

namespace {

constexpr const char* SOURCE = "source/radar/air_radar";
constexpr int COLOUR_NEUTRAL = 179, COLOUR_ALLIED = 217, COLOUR_ENEMY = 204, COLOUR_ENEMY_SENSOR = 207;
constexpr int COLOUR_HIGHLIGHT = 222;
constexpr int PLAIN_SYMBOLS_FROM = 10;  // display indices from here on are plus signs
constexpr int32_t QUARTER_TURN = 0x40000000;

bool is_designated(const AirContact* c) {
    return designated_target.kind != TARGET_NONE && c->target.object == designated_target.object;
}

int side_of(const AirContact* c) { return (static_cast<const ObjectInstance*>(c->target.object)->flags >> 1) & 3; }

const Drone* drone_of(const AirContact* c) {
    return static_cast<const Drone*>(static_cast<const ObjectInstance*>(c->target.object)->owner);
}

int32_t distance_between(const Vector3& a, const Vector3& b) {
    return measure_distance_3d(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Azimuth and elevation of a vector (right, forward, up), as signed angles.
void vector_angles(const Vector3& r, int32_t& azimuth, int32_t& elevation) {
    azimuth = int32_t(compute_bearing(r.x, r.y));
    const uint64_t horizontal = isqrt64(uint64_t(int64_t(r.x) * r.x + int64_t(r.y) * r.y));
    elevation = int32_t(compute_bearing(r.z, int32_t(std::min<uint64_t>(horizontal, INT32_MAX))));
}

int32_t clamp_angle(int32_t angle, int32_t limit) { return std::clamp(angle, -limit, limit); }

// The scan centre on the designated object in RCR and ACM; at the nose with nothing designated.
void aim_scan_centre(const Vector3& aircraft) {
    if (air_submode == RADAR_TWS) return;
    const Vector3* target = designated_target.kind != TARGET_NONE ? get_target_position_ptr(&designated_target) : nullptr;
    if (!target) {
        scan_azimuth = scan_elevation = 0;
        return;
    }
    const Vector3 offset = {target->x - aircraft.x, target->y - aircraft.y, target->z - aircraft.z};
    Vector3 r;
    rotate_vector(player_position->matrix, offset, r);
    int32_t azimuth, elevation;
    vector_angles(r, azimuth, elevation);
    if (air_submode == RADAR_RCR) {
        scan_azimuth = clamp_angle(azimuth, scan_half_width);
        return;
    }
    const int32_t miles = measure_distance_3d(offset.x, offset.y, offset.z) / NAUTICAL_MILE;
    set_acm_range(miles > 5 ? 10 : miles > 2 ? 8 : 6);
    scan_azimuth = clamp_angle(azimuth, scan_azimuth_limit);
    scan_elevation = clamp_angle(elevation, scan_elevation_limit);
}

void fill_contact(AirContact* c, const MobileCandidate& candidate, const Vector3& aircraft) {
    *c = {};
    ObjectInstance* object = candidate.object;
    c->target.kind = TARGET_MOBILE;
    c->target.domain = TARGET_DOMAIN_AIR;
    c->target.object = object;
    c->target.pose = object->pose;
    c->target.position = {candidate.x, candidate.y, candidate.z};
    c->target.offset = {candidate.x - aircraft.x, candidate.y - aircraft.y, candidate.z - aircraft.z};
    rotate_vector(air_radar_frame, c->target.offset, c->target.radar_position);
    if (object->owner_kind != OWNER_DRONE || !object->owner) {
        report_fatal_error("Drone is NULL", SOURCE, __LINE__);
        return;
    }
    Vector3 velocity;
    player_model_velocity(velocity);
    const int32_t speed = get_drone_speed(static_cast<const Drone*>(object->owner));
    const int32_t* forward = object->pose->matrix[1];
    c->target.vector = {velocity.x - mul31(speed, forward[0]), velocity.y - mul31(speed, forward[1]),
                        velocity.z - mul31(speed, forward[2])};
}

bool in_rcr_window(const AirContact* c) {
    const Vector3* centre = get_target_position_ptr(&designated_target);
    const Vector3& r = c->target.radar_position;
    return uint32_t(distance_between(c->target.position, *centre)) <= uint32_t(rcr_radius) && r.y > 0 &&
           -rcr_radius < r.x && r.x < rcr_radius;
}

void draw_triangle_outline(int32_t x, int32_t y, const int32_t (&corners)[3][2], int colour) {
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        draw_plot_line(x + corners[i][0], y + corners[i][1], x + corners[j][0], y + corners[j][1], colour);
    }
}

void fill_triangle(int32_t x, int32_t y, const int32_t (&corners)[3][2], int colour) {
    PolyVertex vertices[3] = {};
    for (int i = 0; i < 3; ++i) {
        vertices[i].x = x + corners[i][0];
        vertices[i].y = y + corners[i][1];
        vertices[i].next = i < 2 ? &vertices[i + 1] : nullptr;
    }
    fill_plot_poly(vertices, uint32_t(colour) * 0x01010101u);
}

// A triangle pointing at the aircraft (hot) or away (cold), with its stalk.
void draw_aspect_outline(int32_t x, int32_t y, int32_t s, bool hot, int colour) {
    const int32_t stalk = (3 * s + 1) / 2;
    if (hot) {
        draw_triangle_outline(x, y, {{-s, s}, {s, s}, {0, -s}}, colour);
        draw_plot_line(x, y - s, x, y - stalk, colour);
    } else {
        draw_triangle_outline(x, y, {{-s, -s}, {s, -s}, {0, s}}, colour);
        draw_plot_line(x, y + s, x, y + stalk, colour);
    }
}

void draw_highlight(int32_t x, int32_t y, int32_t s, bool hot, int32_t miles) {
    const int32_t c = hot ? 3 : 2;
    draw_plot_line(x - 5 * s, y, x - 2 * s, y, COLOUR_HIGHLIGHT);
    draw_plot_line(x, y + 2 * s, x, y + 5 * s, COLOUR_HIGHLIGHT);
    draw_plot_line(x + c * s, y, x + (c + 3) * s, y, COLOUR_HIGHLIGHT);
    draw_plot_line(x, y - c * s, x, y - (c + 3) * s, COLOUR_HIGHLIGHT);
    char text[16];
    std::snprintf(text, sizeof text, "%d", miles);
    place_text_at_plot_point(x, y - 2 * s);
    text_colour = COLOUR_HIGHLIGHT;
    draw_text(text);
}

void draw_air_contact(const AirContact* c, int index, bool highlighted) {
    select_font(&font_small);
    const int32_t s = radar_display_scale, x = c->display_x, y = c->display_y;
    const int32_t turn = int32_t(flight_data.heading - drone_of(c)->heading);
    const bool hot = std::abs(int64_t(turn)) >= QUARTER_TURN;
    const int side = side_of(c);
    if (index >= PLAIN_SYMBOLS_FROM && !highlighted) {
        draw_contact_plus(x, y, s, COLOUR_NEUTRAL);
    } else if (side != SIDE_ALLIED && side != SIDE_ENEMY) {
        draw_contact_plus(x, y, s, COLOUR_NEUTRAL);
    } else {
        const int colour = side == SIDE_ALLIED ? COLOUR_ALLIED : night_vision_on == 1 ? COLOUR_ENEMY_SENSOR : COLOUR_ENEMY;
        if (air_submode != RADAR_ACM && c->group_head) {
            // Corners clockwise on the screen: the polygon fill drops a flat top edge otherwise.
            if (hot)
                fill_triangle(x, y, {{s, s}, {0, -s}, {-s, s}}, colour);
            else
                fill_triangle(x, y, {{-s, -s}, {0, s}, {s, -s}}, colour);
        } else if (air_submode == RADAR_ACM || !c->merged) {
            draw_aspect_outline(x, y, s, hot || air_submode == RADAR_ACM, colour);
        }
    }
    if (!highlighted) return;
    const int32_t range = air_submode == RADAR_RCR ? measure_distance_3d(c->target.offset.x, c->target.offset.y,
                                                                         c->target.offset.z)
                                                   : c->display_y;
    draw_highlight(x, y, s, hot, range / NAUTICAL_MILE);
}

// The designation moves along one display coordinate; the current contact stays when none lies
// that way.
void step_air_contact(int32_t AirContact::*coordinate, int sign, bool later_on_tie) {
    if (!air_contact_head || selected_air_index < 0 || selected_air_index >= air_display_count) return;
    AirContact* current = air_display[selected_air_index];
    StepSearch<AirContact> search{current->*coordinate, sign, later_on_tie};
    for (int i = 0; i < air_display_count; ++i)
        if (i != selected_air_index) search.consider(air_display[i], air_display[i]->*coordinate);
    if (search.best) follow_best_target = 0;
    designated_target = (search.best ? search.best : current)->target;
}

}  // namespace

void scan_air_radar() {
    slew_scan_centre();
    air_contact_count = 0;
    const Vector3& aircraft = player_position->position;
    const int32_t* forward = player_position->matrix[1];
    if (forward[0] == 0 && forward[1] == 0) return;
    aim_scan_centre(aircraft);

    build_rotation_matrix(flight_data.heading, uint32_t(player_flight_data.pitch), 0, air_radar_frame);
    rotate_matrix(air_radar_frame, 0, 0, uint32_t(player_flight_data.roll));
    rotate_matrix_z(air_radar_frame, uint32_t(scan_azimuth));
    rotate_matrix_x(air_radar_frame, uint32_t(scan_elevation));

    for (int i = 0; i < mobile_candidate_count && air_contact_count < MAX_AIR_CONTACTS; ++i) {
        const MobileCandidate& candidate = mobile_candidates[i];
        if (candidate.domain != TARGET_DOMAIN_AIR) continue;
        const int32_t distance = measure_distance_3d(candidate.x - aircraft.x, candidate.y - aircraft.y,
                                                     candidate.z - aircraft.z);
        if (uint32_t(distance) >= uint32_t(radar_scan_range)) continue;
        if (!show_all_contacts && ((candidate.object->flags >> 1) & 3) != SIDE_ENEMY) continue;
        AirContact* c = &air_contacts[air_contact_count];
        fill_contact(c, candidate, aircraft);
        bool accepted;
        if (air_submode == RADAR_RCR) {
            if (designated_target.kind == TARGET_NONE) {
                air_submode = RADAR_TWS;
                set_radar_scan();
                continue;
            }
            accepted = in_rcr_window(c);
        } else {
            const Vector3& r = c->target.radar_position;
            accepted = is_in_scan_volume(r.x, r.y, r.z);
        }
        if (!accepted) continue;
        ++air_contact_count;
        insert_air_contact(c);
    }
}

void insert_air_contact(AirContact* c) {
    const Vector3& aircraft = player_position->position;
    c->target.priority = compute_target_priority(&c->target, aircraft.x, aircraft.y, aircraft.z);
    if (c->target.priority == -1) return;
    const Vector3& offset = c->target.offset;
    if (air_submode == RADAR_RCR) {
        c->display_x = c->target.radar_position.x;
        c->display_y = distance_between(c->target.position, *get_target_position_ptr(&designated_target));
    } else {
        const int64_t r = measure_distance_3d(offset.x, offset.y, offset.z);
        const int64_t w = int64_t(scan_edge_at_range) * r / air_range;
        // A contact too close for the scan to have any width there sits on the centre line.
        c->display_x = w == 0 ? 0
                              : int32_t(int64_t(air_range / 2) *
                                        (int64_t(scan_edge_at_range) * c->target.radar_position.x / w) /
                                        scan_edge_at_range);
        c->display_y = int32_t(r);
    }
    c->merged = c->group = c->group_head = 0;
    insert_by_priority(air_contact_head, air_contact_tail, c, c->target.priority);
}

int is_in_scan_volume(int32_t right, int32_t forward, int32_t up) {
    int32_t azimuth, elevation;
    vector_angles({right, forward, up}, azimuth, elevation);
    return -scan_half_width < azimuth && azimuth < scan_half_width && -scan_half_height < elevation &&
           elevation < scan_half_height;
}

void merge_air_contacts(AirContact* head) {
    const int64_t reach = 4 * int64_t(radar_display_scale);
    int32_t groups = 0;
    AirContact *kept_head = nullptr, *kept_designated = nullptr;
    for (AirContact* a = head; a; a = a->next) {
        for (AirContact* b = a->next; b; b = b->next) {
            if (!a->group_head && (a->merged || b->merged)) continue;
            if (std::abs(int64_t(a->display_x) - b->display_x) >= reach ||
                std::abs(int64_t(a->display_y) - b->display_y) >= reach)
                continue;
            // A designated second contact joins the group unmerged, to take it over below.
            a->merged = 0;
            a->group_head = 1;
            if (!a->group) a->group = ++groups;
            b->group = a->group;
            if (is_designated(b)) {
                kept_head = a;
                kept_designated = b;
            } else {
                b->merged = 1;
            }
        }
    }
    // The designated contact heads the group it was found in, so that it is always drawn.
    if (kept_head && kept_head->group_head) {
        kept_head->group_head = 0;
        kept_head->merged = 1;
        kept_designated->group_head = 1;
        kept_designated->merged = 0;
        kept_head->group = kept_designated->group;
    }
    air_display_count = 0;
    for (AirContact* c = head; c; c = c->next)
        if (!c->merged || (air_submode == RADAR_ACM && is_designated(c))) air_display[air_display_count++] = c;
}

void draw_air_radar_contacts() {
    if (designated_target.kind != TARGET_GROUND_OBJECT && designated_target.kind != TARGET_MOBILE)
        designated_target.object = nullptr;
    selected_air_index = -1;
    for (int i = 0; i < air_display_count; ++i) {
        if (is_designated(air_display[i]))
            selected_air_index = i;
        else if (air_submode != RADAR_ACM)
            draw_air_contact(air_display[i], i, false);
    }
    if (selected_air_index >= 0) draw_air_contact(air_display[selected_air_index], selected_air_index, true);
}

void step_air_contact_down() { step_air_contact(&AirContact::display_y, 1, true); }
void step_air_contact_up() { step_air_contact(&AirContact::display_y, -1, false); }
void step_air_contact_left() { step_air_contact(&AirContact::display_x, -1, false); }
void step_air_contact_right() { step_air_contact(&AirContact::display_x, 1, false); }

AirContact* find_designated_air_contact() {
    for (AirContact* c = air_contact_head; c; c = c->next)
        if (is_designated(c)) return c;
    return nullptr;
}

}  // namespace vyr
