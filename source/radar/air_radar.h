// The air radar: at each sweep in air mode the mobile candidates inside the range and the scan
// volume (or the RCR window) become air contacts, sorted by priority; overlapping contacts merge
// into groups; the pilot steps the designation between them; the radar page draws them as a
// B-scope through the plot window it has set up.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"
#include "source/weapons/target.h"

namespace vyr {

constexpr int MAX_AIR_CONTACTS = 256;

struct AirContact {
    AirContact* next;  // the air contact list, highest priority first
    AirContact* prev;
    // Mobile, air; offset from the aircraft, absolute position, radar-frame position, priority,
    // and as its vector the aircraft's velocity less the contact's.
    Target target;
    int32_t display_x;  // across the B-scope: -range/2 .. +range/2 over the scan width
    int32_t display_y;  // the range; in RCR the distance from the designated object
    int32_t merged;     // drawn as part of another contact's group
    int32_t group;      // 1, 2, ...; 0 in none
    int32_t group_head;
};

inline int32_t list_priority(const AirContact& contact) { return contact.target.priority; }

extern AirContact air_contacts[MAX_AIR_CONTACTS];
extern AirContact* air_contact_head;
extern AirContact* air_contact_tail;
// Records filled at the last sweep.
extern int32_t air_contact_count;
// The contacts drawn, in list order.
extern AirContact* air_display[MAX_AIR_CONTACTS];
extern int32_t air_display_count;
// The designated contact's index in the display array at the last drawing; -1 when not shown.
extern int32_t selected_air_index;
extern Matrix3 air_radar_frame;

// One air sweep from the player's aircraft.
void scan_air_radar();
void insert_air_contact(AirContact* contact);
// Strictly inside the scan's half-width in azimuth and half-height in elevation.
int is_in_scan_volume(int32_t right, int32_t forward, int32_t up);
// Groups contacts whose symbols would overlap and rebuilds the display array; the designated
// contact always heads its group.
void merge_air_contacts(AirContact* head);
// The display array through the current plot window, the designated contact last and highlighted.
void draw_air_radar_contacts();
// The designation to the nearest displayed contact in that direction, if any.
void step_air_contact_down();
void step_air_contact_up();
void step_air_contact_left();
void step_air_contact_right();
// The listed contact of the designated object; null when there is none.
AirContact* find_designated_air_contact();

}  // namespace vyr
