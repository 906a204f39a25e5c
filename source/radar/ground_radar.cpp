#include "source/radar/ground_radar.h"

#include <cstring>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot_draw.h"
#include "source/avionics/avionics.h"
#include "source/drone/user_drone.h"
#include "source/radar/contact_list.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/radar/target_select.h"
#include "source/weapons/object_types.h"
#include "source/weapons/targets.h"

namespace vyr {

Target ground_contacts[MAX_GROUND_CONTACTS];
int32_t ground_contact_count = 0;
Matrix3 ground_radar_frame = {};
Target* designated_ground_record = nullptr;
TrailPoint radar_trail[RADAR_TRAIL_POINTS];
TrailPoint* trail_write = radar_trail;
TrailPoint* trail_oldest = radar_trail;

namespace {

constexpr const char* SOURCE = "source/radar/ground_radar";
constexpr int32_t GROUND_SYMBOL_BASE = 259242;  // at 10 nm
constexpr int32_t TRAIL_SPACING = 256000;        // 1,000 ft
constexpr int COLOUR_CONTACT = 215, COLOUR_DESIGNATED = 222, COLOUR_TRAIL = 218;

Vector3 last_trail_position = {};

ground_object* ground_record(const Target* t) { return static_cast<ground_object*>(t->object); }
ObjectInstance* instance_of(const Target* t) { return static_cast<ObjectInstance*>(t->object); }

// The object number of a ground object or a mobile; fatal for any other kind.
int object_number(const Target* t) {
    if (t->kind == TARGET_GROUND_OBJECT) return ground_record(t)->type;
    if (t->kind == TARGET_MOBILE) return instance_of(t)->object_type;
    report_fatal_error("unknown object type %d", SOURCE, __LINE__, t->kind);
    return 0;
}

int32_t category_of(const Target* t) {
    const ObjectHeader* header = get_object_header(object_number(t));
    return header ? header->category : OBJECT_CATEGORY_NONE;
}

// A stored record whose object has since been destroyed, or has left the world.
bool is_gone(const Target* t) {
    if (t->kind == TARGET_MOBILE) return instance_of(t)->flags & INSTANCE_INACTIVE;
    return ground_record(t)->flags & GROUND_DESTROYED;
}

// Fills the next free record from an offset; kept (and listed) when it suits the mode and lies in
// the sector, else the record is used again by the next candidate.
void offer_contact(const Vector3& offset, const Vector3& position, int32_t kind, void* object, void* pose) {
    Target* t = &ground_contacts[ground_contact_count];
    *t = {};
    t->offset = offset;
    t->position = position;
    t->kind = kind;
    t->domain = TARGET_DOMAIN_GROUND;
    t->object = object;
    t->pose = pose;
    rotate_vector(ground_radar_frame, offset, t->radar_position);
    if (!is_valid_ground_target(t) || !is_in_ground_sector(t)) return;
    insert_ground_contact(t);
    ++ground_contact_count;
}

bool within_range(const Vector3& offset) {
    return uint32_t(measure_distance_3d(offset.x, offset.y, offset.z)) < uint32_t(ground_range);
}

// The designation moves along one frame coordinate among the listed contacts; under a lased
// designation only lased ones count.
void step_ground_contact(int32_t Vector3::*coordinate, int sign, bool later_on_tie) {
    Target* current = designated_ground_record;
    if (!ground_contact_head || !current) return;
    const bool lased = is_target_lased(&designated_target);
    StepSearch<Target> search{current->radar_position.*coordinate, sign, later_on_tie};
    for (Target* t = ground_contact_head; t; t = t->next)
        if (t != current && (!lased || is_target_lased(t))) search.consider(t, t->radar_position.*coordinate);
    const Target* chosen = search.best ? search.best : current;
    if (search.best) follow_best_target = 0;
    if (lased) laser_spot_target = *chosen;
    designated_target = *chosen;
}

}  // namespace

void scan_ground_radar(const Vector3* aircraft) {
    if (ground_radar_frozen) {
        rescan_frozen_contacts();
        return;
    }
    // The sweep draws nothing: the plot window and clip rectangle stay the drawing code's own.
    ground_contact_count = 0;
    const int32_t* forward = player_position->matrix[1];
    if (forward[0] == 0 && forward[1] == 0) return;
    build_rotation_matrix(flight_data.heading, 0, 0, ground_radar_frame);

    for (int i = 0; i < mobile_candidate_count && ground_contact_count < MAX_GROUND_CONTACTS; ++i) {
        const MobileCandidate& c = mobile_candidates[i];
        if (c.domain != TARGET_DOMAIN_GROUND) continue;
        const Vector3 offset = {c.x - aircraft->x, c.y - aircraft->y, c.z - aircraft->z};
        if (!within_range(offset)) continue;
        offer_contact(offset, {c.x, c.y, get_ground_height(c.x, c.y)}, TARGET_MOBILE, c.object, c.object->pose);
    }
    for (int i = 0; i < ground_candidate_count && ground_contact_count < MAX_GROUND_CONTACTS; ++i) {
        const GroundCandidate& c = ground_candidates[i];
        const int32_t ground = get_ground_height(c.x, c.y);
        const Vector3 offset = {c.x - aircraft->x, c.y - aircraft->y, ground - aircraft->z};
        if (!within_range(offset)) continue;
        // The map lies flat: the contact sits at the aircraft's height below it, whatever the ground.
        offer_contact({offset.x, offset.y, -aircraft->z}, {c.x, c.y, ground}, TARGET_GROUND_OBJECT, c.object, nullptr);
    }
}

void rescan_frozen_contacts() {
    for (int i = 0; i < ground_contact_count; ++i) {
        Target* t = &ground_contacts[i];
        if (t->kind != TARGET_GROUND_OBJECT && t->kind != TARGET_FIXED_POINT && t->kind != TARGET_MOBILE) {
            report_fatal_error("Unknown type : %d", SOURCE, __LINE__, t->kind);
            return;
        }
        if (t->kind == TARGET_MOBILE ? !(instance_of(t)->flags & INSTANCE_INACTIVE)
                                     : !(ground_record(t)->flags & GROUND_DESTROYED))
            insert_ground_contact(t);
    }
}

int is_valid_ground_target(const Target* t) {
    const int32_t category = category_of(t);
    const bool lased = is_laser_weapon_selected() && is_target_lased(t);
    switch (category) {
    case 1: case OBJECT_CATEGORY_AIRCRAFT: case OBJECT_CATEGORY_VEHICLE: return ground_submode == GROUND_GVT || lased;
    case OBJECT_CATEGORY_BUILDING: return ground_submode == GROUND_FTT || lased;
    default: return 0;
    }
}

int is_in_ground_sector(const Target* t) {
    const int32_t bearing = int32_t(compute_bearing(t->radar_position.x, t->radar_position.y));
    return -ground_sector_half_angle < bearing && bearing < ground_sector_half_angle;
}

void draw_ground_radar_contacts() {
    if (designated_target.kind > TARGET_FIXED_POINT || designated_target.kind < TARGET_NONE) {
        report_fatal_error(" unknown target type %d", SOURCE, __LINE__, designated_target.kind);
        return;
    }
    if (designated_target.kind != TARGET_GROUND_OBJECT && designated_target.kind != TARGET_MOBILE)
        designated_target.object = nullptr;
    designated_ground_record = nullptr;
    for (int i = 0; i < ground_contact_count; ++i) {
        Target* t = &ground_contacts[i];
        if (!t->object || t->object == designated_target.object) {
            if (t->object) designated_ground_record = t;
            continue;
        }
        if (ground_radar_frozen && is_gone(t)) continue;
        draw_ground_contact(t, COLOUR_CONTACT);
    }
    if (designated_ground_record) draw_ground_contact(designated_ground_record, COLOUR_DESIGNATED);
}

void draw_ground_contact(const Target* t, int colour) {
    const int32_t s = GROUND_SYMBOL_BASE / (10 / ground_range_nm);
    const int32_t x = t->radar_position.x, y = t->radar_position.y;
    const int32_t category = category_of(t);
    if (category >= 1 && category <= OBJECT_CATEGORY_VEHICLE) {
        draw_contact_plus(x, y, s, colour);
    } else if (category == OBJECT_CATEGORY_BUILDING) {
        draw_plot_line(x - s, y, x, y + s, colour);
        draw_plot_line(x, y + s, x + s, y, colour);
        draw_plot_line(x + s, y, x, y - s, colour);
        draw_plot_line(x, y - s, x - s, y, colour);
    }
}

void reset_radar_trail() {
    std::memset(static_cast<void*>(radar_trail), 0, sizeof radar_trail);
    for (int i = 0; i < RADAR_TRAIL_POINTS; ++i) radar_trail[i].next = &radar_trail[(i + 1) % RADAR_TRAIL_POINTS];
    trail_write = trail_oldest = radar_trail;
    last_trail_position = player_position->position;
}

// Points are stored only when the aircraft has moved on; storing one every frame would fill the
// ring with repeats of the last.
void record_radar_trail() {
    const Vector3& aircraft = player_position->position;
    const Vector3 moved = {aircraft.x - last_trail_position.x, aircraft.y - last_trail_position.y,
                           aircraft.z - last_trail_position.z};
    if (measure_distance_3d(moved.x, moved.y, moved.z) <= TRAIL_SPACING) return;
    last_trail_position = aircraft;
    Vector3 p;
    rotate_vector(ground_radar_frame,
                  {aircraft.x - frozen_position.x, aircraft.y - frozen_position.y, aircraft.z - frozen_position.z}, p);
    if (trail_write->next == trail_oldest) trail_oldest = trail_oldest->next;
    trail_write->right = p.x;
    trail_write->forward = p.y;
    trail_write = trail_write->next;
}

// Segments 0-1, 2-3, 4-5 ...: a dashed trail. An empty ring draws nothing.
void draw_radar_trail() {
    if (trail_oldest == trail_write) return;
    for (TrailPoint* p = trail_oldest; p->next != trail_write;) {
        draw_plot_line(p->right, p->forward, p->next->right, p->next->forward, COLOUR_TRAIL);
        p = p->next;
        if (p->next != trail_write) p = p->next;
    }
}

void step_ground_contact_down() { step_ground_contact(&Vector3::y, 1, true); }
void step_ground_contact_up() { step_ground_contact(&Vector3::y, -1, false); }
void step_ground_contact_left() { step_ground_contact(&Vector3::x, -1, false); }
void step_ground_contact_right() { step_ground_contact(&Vector3::x, 1, false); }

}  // namespace vyr
