#include "source/drone/ships.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "source/avionics/avionics.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/ships";
constexpr uint8_t PLAYER_START_SLOT = 7;

CarrierRecord* record_of(const Drone* drone) {
    if (drone->carrier >= carrier_count || drone->deck_slot >= CARRIER_SLOTS) return nullptr;
    CarrierRecord& record = carrier_table[drone->carrier];
    return record.ship ? &record : nullptr;
}

ObjectInstance*& ship_slot(CarrierRecord& record, int deck_slot) {
    return record.ship->object.sub_instances[record.slot_index[deck_slot]];
}

int32_t deck_top(const Drone* ship) {
    const ObjectHeader* header = get_object_header(ship->object.object_type);
    return ship->pose.position.z + (header ? header->box_max_z : 0);
}

uint32_t matrix_heading(const Matrix3& m) { return compute_bearing(m[1][0], m[1][1]); }

Drone* drone_of(const ObjectInstance* instance) {
    return instance->owner_kind == OWNER_DRONE ? static_cast<Drone*>(instance->owner) : nullptr;
}

void to_ship_frame(const Pose& ship, const Vector3& position, Vector3& out) {
    const Vector3 d{position.x - ship.position.x, position.y - ship.position.y, position.z - ship.position.z};
    rotate_vector(ship.matrix, d, out);
}

void scan_deck_slots(Drone* ship, CarrierRecord& record) {
    record.slot_count = 0;
    std::fill(std::begin(record.slot_index), std::end(record.slot_index), NO_DECK_SLOT);
    const ObjectInstance& object = ship->object;
    for (int32_t i = 0; i < object.count && record.slot_count < CARRIER_SLOTS; ++i)
        if (!object.sub_instances[i]) record.slot_index[record.slot_count++] = uint8_t(i);
}

}  // namespace

const MovementProfile ship_profiles[SHIP_KINDS] = {
    {DEGREE / 5, 2 * DEGREE, 0, 0, 4320, 0, 0, 0},       // tanker
    {DEGREE, 2 * DEGREE, 0, 8, 8640, 0, 0, 0},           // assault ship
    {DEGREE / 2, 2 * DEGREE, 0, 4, 6480, 0, 0, 0},       // submarines, cargo ship
    {2 * DEGREE, 2 * DEGREE, 0, 12, 15120, 0, 0, 0},     // frigates
    {DEGREE, 3 * DEGREE, 0, 21, 4320, 0, 0, 0},          // small craft
    {4 * DEGREE, 5 * DEGREE, 0, 43, 15120, 0, 0, 0},     // missile and patrol boats
    {0, 0, 0, 0, 0, 0, 0, 0},                            // no ship
};

CarrierRecord carrier_table[MAX_CARRIERS];
int32_t carrier_count = 0;

void init_ship_drone(Drone* ship) {
    // A ship typed again (its formation types the leader anew) rescans its own record.
    const bool known = ship->carrier < carrier_count && carrier_table[ship->carrier].ship == ship;
    if (!known && carrier_count >= MAX_CARRIERS) return;
    const int index = known ? ship->carrier : carrier_count;
    CarrierRecord& record = carrier_table[index];
    record = CarrierRecord{};
    record.ship = ship;
    if (ship->object.sub_instances) scan_deck_slots(ship, record);
    if (record.slot_count == 0) {
        record = CarrierRecord{};
        ship->carrier = NO_CARRIER;
        if (known && index == carrier_count - 1) carrier_count = index;
        return;
    }
    record.free_slots = record.slot_count;
    const ObjectHeader* header = get_object_header(ship->object.object_type);
    for (int s = 0; s < record.slot_count; ++s) {
        const SubObject& entry = header->sub_objects[record.slot_index[s]];
        if (entry.type != 0) report_fatal_error("Ship sub object indicies incorrect", SOURCE, __LINE__);
        record.slot_pose[s] = entry.offset;
    }
    ship->carrier = uint8_t(index);
    if (!known) ++carrier_count;
}

void reset_carriers() {
    for (CarrierRecord& record : carrier_table) record = CarrierRecord{};
    carrier_count = 0;
}

void forget_carrier_drone(const Drone* drone) {
    for (int c = 0; c < carrier_count; ++c) {
        CarrierRecord& record = carrier_table[c];
        if (!record.ship) continue;
        for (int s = 0; s < record.slot_count; ++s) {
            if (record.occupant[s] == drone) record.occupant[s] = nullptr;
            ObjectInstance*& slot = ship_slot(record, s);
            // The ship's tree must not free an aircraft parked on it, nor keep one that is gone.
            if (slot && (record.ship == drone || slot == &drone->object)) slot = nullptr;
        }
        if (record.ship != drone) continue;
        for (Drone* occupant : record.occupant)
            if (occupant) occupant->carrier = occupant->deck_slot = NO_CARRIER, occupant->mission_flags &= ~DRONE_FLAG_ON_CARRIER;
        record = CarrierRecord{};
    }
}

int add_carrier_aircraft(Drone* aircraft) {
    for (int c = 0; c < carrier_count; ++c) {
        CarrierRecord& record = carrier_table[c];
        if (!record.free_slots || !record.ship) continue;
        const int deck_slot = record.free_slots - 1;
        const uint8_t s = record.slot_index[deck_slot];
        if (s == NO_DECK_SLOT) report_fatal_error("Carrier can't count - null index for slot", SOURCE, __LINE__);
        if (s >= record.ship->object.count)
            report_fatal_error("Carrier can't count - sub object index invalid", SOURCE, __LINE__);
        record.occupant[deck_slot] = aircraft;
        record.ship->object.sub_instances[s] = &aircraft->object;
        --record.free_slots;
        aircraft->carrier = uint8_t(c);
        aircraft->deck_slot = uint8_t(deck_slot);
        aircraft->mission_flags |= DRONE_FLAG_ON_CARRIER;
        aircraft->object.offset = &record.slot_pose[deck_slot];
        return 1;
    }
    return 0;
}

void leave_carrier_deck(Drone* aircraft) {
    CarrierRecord* record = record_of(aircraft);
    if (!record) return;
    const Drone* ship = record->ship;
    // It starts where the deck carried it, not where the ship's last drawing left it.
    if (aircraft->object.offset) place_instance_tree(&aircraft->object, &ship->pose);
    aircraft->speed = ship->speed;
    aircraft->heading = ship->heading;
    aircraft->pitch = ship->pitch;
    aircraft->roll = ship->roll;
    aircraft->mission_flags &= ~DRONE_FLAG_ON_CARRIER;
    if (const Waypoint* w = aircraft->current_waypoint) {
        const double dx = double(w->x) - aircraft->pose.position.x, dy = double(w->y) - aircraft->pose.position.y;
        aircraft->remaining_distance = int32_t(std::sqrt(dx * dx + dy * dy));
    }
    build_rotation_matrix(aircraft->heading, aircraft->pitch, aircraft->roll, aircraft->pose.matrix);
    const Vector3& at = aircraft->pose.position;
    if (at.x != 0 || at.y != 0) link_mobile_object(&aircraft->object);
    ObjectInstance*& slot = ship_slot(*record, aircraft->deck_slot);
    if (slot == &aircraft->object) slot = nullptr;
}

void settle_on_carrier_deck(Drone* aircraft) {
    CarrierRecord* record = record_of(aircraft);
    if (!record) return;
    aircraft->mission_flags |= DRONE_FLAG_ON_CARRIER;
    if (record->ship->destroyed) return;
    unlink_mobile_object(&aircraft->object);
    ship_slot(*record, aircraft->deck_slot) = &aircraft->object;
    compute_deck_offset_pose(record->ship->pose, aircraft->pose, record->slot_pose[aircraft->deck_slot]);
    aircraft->object.offset = &record->slot_pose[aircraft->deck_slot];
}

void compute_deck_offset_pose(const Pose& ship, const Pose& object, Pose& out) {
    build_rotation_matrix(matrix_heading(object.matrix) - matrix_heading(ship.matrix), 0, 0, out.matrix);
    to_ship_frame(ship, object.position, out.position);
}

int get_deck_slot_position(const Drone* drone, Vector3& out) {
    const CarrierRecord* record = record_of(drone);
    if (!record) return 0;
    const Pose& ship = record->ship->pose;
    unrotate_vector(ship.matrix, record->slot_pose[drone->deck_slot].position, out);
    out = {ship.position.x + out.x, ship.position.y + out.y, ship.position.z + out.z};
    return 1;
}

Drone* get_drone_carrier(const Drone* drone) { return carrier_table[drone->carrier].ship; }
int32_t get_carrier_speed(const Drone* drone) { return get_drone_carrier(drone)->speed; }
int32_t get_carrier_deck_height(const Drone* drone) { return deck_top(get_drone_carrier(drone)); }

int is_carrier_object(const ObjectInstance* instance) {
    const Drone* drone = drone_of(instance);
    return drone && drone->carrier != NO_CARRIER;
}

int is_landing_on_carrier_deck(Drone* drone, ObjectInstance* hit, const Vector3& previous) {
    if (!is_carrier_object(hit)) return 0;
    const int32_t deck = deck_top(drone_of(hit));
    return !(previous.z < deck && drone->pose.position.z < deck);
}

int find_carrier_landing_slot(const Drone* drone, ObjectInstance* ship) {
    const Drone* owner = drone_of(ship);
    if (!owner) report_fatal_error("Trying to get landing point for non-drone", SOURCE, __LINE__);
    if (owner->carrier >= carrier_count) report_fatal_error("Trying to get landing point for non-carrier", SOURCE, __LINE__);
    CarrierRecord& record = carrier_table[owner->carrier];
    Vector3 local;
    to_ship_frame(owner->pose, drone->pose.position, local);
    int best = NO_DECK_SLOT;
    int32_t best_distance = 0;
    for (int s = 0; s < record.slot_count; ++s) {
        if (record.slot_index[s] == NO_DECK_SLOT || ship_slot(record, s)) continue;
        const Vector3& p = record.slot_pose[s].position;
        const int32_t d = estimate_distance_3d(local.x - p.x, local.y - p.y, local.z - p.z);
        if (best == NO_DECK_SLOT || d < best_distance) best = s, best_distance = d;
    }
    return best;
}

void swap_carrier_slots(Drone* a, Drone* b) {
    std::swap(a->carrier, b->carrier);
    std::swap(a->deck_slot, b->deck_slot);
    for (Drone* d : {a, b}) {
        CarrierRecord* record = record_of(d);
        if (!record) continue;
        d->object.offset = &record->slot_pose[d->deck_slot];
        record->occupant[d->deck_slot] = d;
    }
    for (Drone* d : {b, a}) {
        CarrierRecord* record = record_of(d);
        if (record && (d->mission_flags & DRONE_FLAG_ON_CARRIER)) ship_slot(*record, d->deck_slot) = &d->object;
    }
    CarrierRecord* ra = record_of(a);
    CarrierRecord* rb = record_of(b);
    if (ra) place_sub_instances(&ra->ship->object);
    if (rb && rb != ra) place_sub_instances(&rb->ship->object);
}

int land_user_on_carrier(ObjectInstance* ship) {
    const Drone* owner = drone_of(ship);
    if (!owner || owner->carrier == NO_CARRIER) return 0;
    Drone* user = user_drone;
    const uint8_t carrier = owner->carrier;
    const int c = find_carrier_landing_slot(user, ship);
    CarrierRecord& record = carrier_table[carrier];
    if (c == NO_DECK_SLOT) {
        user->carrier = carrier;
    } else if (user->carrier == carrier && user->deck_slot == c) {
        swap_carrier_slots(user, user);
    } else if (Drone* occupant = record.occupant[c]) {
        if (user->deck_slot == NO_DECK_SLOT) add_carrier_aircraft(user);
        swap_carrier_slots(user, occupant);
    } else {
        user->carrier = carrier;
        user->deck_slot = uint8_t(c);
    }
    compute_deck_offset_pose(owner->pose, user->pose, player_deck_pose);
    player_deck_pose.position.z = deck_top(owner);
    user->object.offset = &player_deck_pose;
    user->mission_flags |= DRONE_FLAG_ON_CARRIER;
    return 1;
}

void place_user_on_carrier() {
    Drone* user = user_drone;
    CarrierRecord* record = user ? record_of(user) : nullptr;
    if (!record) return;
    if (game_mode != GAME_TWO_PLAYER_MISSION && record->ship->object.object_type == OBJ_LHA_TARAWA &&
        user->deck_slot != PLAYER_START_SLOT && PLAYER_START_SLOT < record->slot_count) {
        if (Drone* holder = record->occupant[PLAYER_START_SLOT]) {
            swap_carrier_slots(user, holder);
        } else {
            record->occupant[user->deck_slot] = nullptr;
            ObjectInstance*& old_slot = ship_slot(*record, user->deck_slot);
            if (old_slot == &user->object) old_slot = nullptr;
            user->deck_slot = PLAYER_START_SLOT;
            record->occupant[PLAYER_START_SLOT] = user;
        }
    }
    player_deck_pose = record->slot_pose[user->deck_slot];
    user->object.offset = &player_deck_pose;
    leave_carrier_deck(user);
    user->mission_flags |= DRONE_FLAG_ON_CARRIER;
    const Vector3& at = user->pose.position;
    place_player_object(at.x, at.y, at.z);
    // The flight model starts on the deck with the ship's way on it; later frames only carry the
    // object, so that the model keeps its controls.
    if (game_clock == 0)
        place_flight_model(at, user->heading, 0, 0, user->speed, 0, flight_data.afterburner_percent);
}

}  // namespace vyr
