// The ground radar: a map of ground targets in a 90-degree sector ahead, refilled at each sweep
// in ground mode (or for a laser weapon) and linked into the ground contact list by priority. A
// frozen map keeps its contacts, dropping the destroyed, while the aircraft's track is drawn over
// it as a dashed trail. The radar page draws through the plot window it has set up, mapping
// (right, forward) with the aircraft at the bottom centre.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"
#include "source/weapons/target.h"

namespace vyr {

constexpr int MAX_GROUND_CONTACTS = 512;
constexpr int RADAR_TRAIL_POINTS = 300;

struct TrailPoint {
    int32_t right, forward;
    TrailPoint* next;
};

extern Target ground_contacts[MAX_GROUND_CONTACTS];
extern int32_t ground_contact_count;
// Heading only; kept as it was at the last unfrozen sweep.
extern Matrix3 ground_radar_frame;
// The record of the designated object, found by the last drawing; null when none.
extern Target* designated_ground_record;
extern TrailPoint radar_trail[RADAR_TRAIL_POINTS];
extern TrailPoint* trail_write;
extern TrailPoint* trail_oldest;

// One ground sweep from the aircraft; while frozen only the stored contacts that still exist
// are listed again.
void scan_ground_radar(const Vector3* aircraft);
void rescan_frozen_contacts();
// The target suits the ground sub-mode, or is lased under a laser weapon. A target other than a
// ground object or a mobile is fatal.
int is_valid_ground_target(const Target* target);
// Strictly within the sector's half-angle of the nose.
int is_in_ground_sector(const Target* target);
void draw_ground_radar_contacts();
void draw_ground_contact(const Target* record, int colour);
// Empties the trail, starting it at the aircraft; at every freeze and unfreeze.
void reset_radar_trail();
// Each frame while frozen: a point for every 1,000 ft the aircraft has moved.
void record_radar_trail();
void draw_radar_trail();
void step_ground_contact_down();
void step_ground_contact_up();
void step_ground_contact_left();
void step_ground_contact_right();

}  // namespace vyr
