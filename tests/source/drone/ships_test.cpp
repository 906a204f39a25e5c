#include "source/drone/ships.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <vector>

#include "library/3dvisual/features.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/maths/units.h"
#include "source/avionics/autoland.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/sknet/game_rules.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/source/drone/vehicle_world.h"

namespace vyr {
namespace {

constexpr int ASSAULT_SHIP = OBJ_LHA_TARAWA;
constexpr int FRIGATE = 320;
constexpr int HELICOPTER = 103;
constexpr int32_t DECK = 56 * FOOT;

class Carriers : public VehicleWorld {
protected:
    void SetUp() override {
        VehicleWorld::SetUp();
        headers.emplace(DRONE_TYPE_ROWS);
        reset_carriers();
        saved_mode = game_mode;
        game_mode = GAME_SINGLE;
    }
    void TearDown() override {
        destroy_all_tasks();
        reset_carriers();
        game_mode = saved_mode;
        VehicleWorld::TearDown();
        headers.reset();
    }

    // A ship type whose deck is `DECK` high, with `slots` variable sub-objects in a row along it.
    void ship_type(int number, int slots) {
        std::vector<SubObject>& parts = sub_objects.emplace_back();
        for (int i = 0; i < slots; ++i) {
            SubObject part{};
            part.offset.position = {-7000, (i - 4) * 20000, DECK};
            set_identity_matrix(part.offset.matrix);
            parts.push_back(part);
        }
        ObjectHeader& h = headers->add(number, 100000, DECK, 0, 30000);
        h.sub_object_count = slots;
        h.sub_objects = parts.data();
    }

    static Drone* make(int object_number, int task_type = TASK_GROUND_VEHICLE) {
        Drone* d = make_leader(task_type, object_number);
        build_rotation_matrix(0, 0, 0, d->pose.matrix);  // at the world's corner, heading north
        return d;
    }

    static void route(Drone* d, std::initializer_list<Vector3> points, int32_t speed, int32_t first_wait = 0) {
        for (const Vector3& p : points) {
            Waypoint* w = append_waypoint(d);
            w->x = p.x, w->y = p.y, w->z = p.z, w->speed = speed;
        }
        d->first_waypoint->wait = first_wait;
    }

    std::optional<HeaderTable> headers;
    std::deque<std::vector<SubObject>> sub_objects;
    int32_t saved_mode = 0;
};

TEST_F(Carriers, TwelveEmptySlotsGiveNineDeckSlotsAndAFourthCarrierIsNone) {
    ship_type(ASSAULT_SHIP, 12);
    Drone* ships[4];
    for (Drone*& s : ships) s = make(ASSAULT_SHIP);
    EXPECT_EQ(carrier_count, 3);
    const CarrierRecord& first = carrier_table[0];
    EXPECT_EQ(first.ship, ships[0]);
    EXPECT_EQ(first.slot_count, 9);
    EXPECT_EQ(first.free_slots, 9);
    for (int s = 0; s < 9; ++s) {
        EXPECT_EQ(first.slot_index[s], s);
        EXPECT_EQ(first.slot_pose[s].position.y, (s - 4) * 20000);
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ships[i]->carrier, i);
    EXPECT_EQ(ships[3]->carrier, NO_CARRIER);

    // A ship whose object has no empty slot is no carrier, and takes no record.
    reset_carriers();
    Drone* frigate = make(FRIGATE);
    EXPECT_EQ(frigate->carrier, NO_CARRIER);
    EXPECT_EQ(carrier_count, 0);
}

TEST_F(Carriers, ATypedAgainShipKeepsItsOneRecord) {
    ship_type(ASSAULT_SHIP, 4);
    Drone* ship = make(ASSAULT_SHIP);
    set_drone_type(ship, ASSAULT_SHIP);
    EXPECT_EQ(carrier_count, 1);
    EXPECT_EQ(ship->carrier, 0);
    EXPECT_EQ(carrier_table[0].slot_count, 4);
}

TEST_F(Carriers, AircraftParkedAtTheStartFillTheSlotsFromTheLast) {
    ship_type(ASSAULT_SHIP, 4);
    Drone* ship = make(ASSAULT_SHIP);
    Drone* a = make(HELICOPTER, TASK_ESCORT_COVER);
    Drone* b = make(HELICOPTER, TASK_ESCORT_COVER);
    EXPECT_EQ(add_carrier_aircraft(a), 1);
    EXPECT_EQ(add_carrier_aircraft(b), 1);
    const CarrierRecord& r = carrier_table[0];
    EXPECT_EQ(a->deck_slot, 3);
    EXPECT_EQ(b->deck_slot, 2);
    EXPECT_EQ(r.free_slots, 2);
    EXPECT_EQ(r.occupant[3], a);
    EXPECT_EQ(ship->object.sub_instances[r.slot_index[3]], &a->object);
    EXPECT_EQ(a->object.offset, &r.slot_pose[3]);
    EXPECT_TRUE(a->mission_flags & DRONE_FLAG_ON_CARRIER);

    Drone* c = make(HELICOPTER, TASK_ESCORT_COVER);
    Drone* d = make(HELICOPTER, TASK_ESCORT_COVER);
    Drone* e = make(HELICOPTER, TASK_ESCORT_COVER);
    add_carrier_aircraft(c);
    add_carrier_aircraft(d);
    EXPECT_EQ(add_carrier_aircraft(e), 0);  // no slot left
    EXPECT_EQ(e->carrier, NO_CARRIER);
}

TEST_F(Carriers, ThePlayerStartingInSlotTwoOfTheAssaultShipMovesToSlotSeven) {
    ship_type(ASSAULT_SHIP, 9);
    make(ASSAULT_SHIP);
    std::vector<Drone*> parked;
    for (int i = 0; i < 7; ++i) {
        parked.push_back(make(HELICOPTER, TASK_ESCORT_COVER));
        add_carrier_aircraft(parked.back());
    }
    Drone* user = parked.back();
    Drone* holder = parked[1];
    ASSERT_EQ(user->deck_slot, 2);
    ASSERT_EQ(holder->deck_slot, 7);
    user_drone = user;
    ObjectInstance* const saved_object = player_object;
    Pose* const saved_position = player_position;
    player_object = &user->object;
    player_position = &user->pose;
    game_clock = 1;  // not the flight's first frame: the flight model is left alone
    place_user_on_carrier();
    player_object = saved_object;
    player_position = saved_position;

    const CarrierRecord& r = carrier_table[0];
    EXPECT_EQ(user->deck_slot, 7);
    EXPECT_EQ(holder->deck_slot, 2);
    EXPECT_EQ(r.occupant[7], user);
    EXPECT_EQ(r.occupant[2], holder);
    EXPECT_TRUE(user->mission_flags & DRONE_FLAG_ON_CARRIER);
    EXPECT_EQ(user->object.offset, &player_deck_pose);
    EXPECT_EQ(player_deck_pose.position.y, r.slot_pose[7].position.y);
    EXPECT_EQ(user->pose.position.z, DECK);  // put on the deck of the ship at sea level
}

TEST_F(Carriers, TheDeckIsHitFromAboveAndTheHullFromBelow) {
    ship_type(ASSAULT_SHIP, 4);
    Drone* ship = make(ASSAULT_SHIP);
    Drone* tank = make(93);
    Drone* aircraft = make(HELICOPTER, TASK_ESCORT_COVER);
    struct Case {
        int32_t from, to;
        int deck;
    };
    for (const Case& c : {Case{DECK + 1000, DECK - 500, 1}, Case{DECK - 100, DECK - 500, 0}, Case{DECK + 900, DECK + 100, 1}}) {
        aircraft->pose.position.z = c.to;
        EXPECT_EQ(is_landing_on_carrier_deck(aircraft, &ship->object, {0, 0, c.from}), c.deck) << c.from << " " << c.to;
    }
    EXPECT_EQ(is_landing_on_carrier_deck(aircraft, &tank->object, {0, 0, DECK + 1000}), 0);
}

TEST_F(Carriers, AFullCarrierHasNoLandingSlotYetTheLandingPlayerIsGivenTheCarrier) {
    ship_type(ASSAULT_SHIP, 4);
    Drone* ship = make(ASSAULT_SHIP);
    for (int i = 0; i < 4; ++i) add_carrier_aircraft(make(HELICOPTER, TASK_ESCORT_COVER));
    Drone* user = make(HELICOPTER, TASK_ESCORT_COVER);
    user->pose.position = {0, 0, DECK};
    user_drone = user;
    EXPECT_EQ(find_carrier_landing_slot(user, &ship->object), NO_DECK_SLOT);
    EXPECT_EQ(land_user_on_carrier(&ship->object), 1);
    EXPECT_EQ(user->carrier, ship->carrier);
    EXPECT_EQ(user->deck_slot, NO_DECK_SLOT);
    EXPECT_EQ(land_user_on_carrier(&make(93)->object), 0);  // no carrier
}

TEST_F(Carriers, ThePlayerLandsOnTheNearestFreeSlot) {
    ship_type(ASSAULT_SHIP, 4);
    Drone* ship = make(ASSAULT_SHIP);
    Drone* user = make(HELICOPTER, TASK_ESCORT_COVER);
    user->pose.position = {-7000, -50000, DECK};  // nearest slot 1, at y -60,000
    user_drone = user;
    EXPECT_EQ(land_user_on_carrier(&ship->object), 1);
    EXPECT_EQ(user->deck_slot, 1);
    EXPECT_EQ(user->object.offset, &player_deck_pose);
    EXPECT_EQ(player_deck_pose.position.z, DECK);
    EXPECT_EQ(player_deck_pose.position.y, -50000);
}

TEST_F(Carriers, TheNextMissionAndTheDestroyedKeepNoPointerToACarrier) {
    ship_type(ASSAULT_SHIP, 4);
    Drone* ship = make(ASSAULT_SHIP);
    Drone* parked = make(HELICOPTER, TASK_ESCORT_COVER);
    Drone* gone = make(HELICOPTER, TASK_ESCORT_COVER);
    add_carrier_aircraft(parked);
    add_carrier_aircraft(gone);
    const uint8_t slot = carrier_table[0].slot_index[gone->deck_slot];
    destroy_drone(gone);
    EXPECT_EQ(carrier_table[0].occupant[2], nullptr);
    EXPECT_EQ(ship->object.sub_instances[slot], nullptr);

    destroy_drone(ship);  // its tree is freed without the aircraft parked on it
    EXPECT_EQ(carrier_table[0].ship, nullptr);
    EXPECT_EQ(parked->carrier, NO_CARRIER);
    EXPECT_FALSE(parked->mission_flags & DRONE_FLAG_ON_CARRIER);

    make(ASSAULT_SHIP);
    reset_carriers();
    EXPECT_EQ(carrier_count, 0);
    for (const CarrierRecord& r : carrier_table) {
        EXPECT_EQ(r.ship, nullptr);
        EXPECT_EQ(r.slot_count, 0);
        for (const Drone* o : r.occupant) EXPECT_EQ(o, nullptr);
    }
}

// The player's aircraft brought back by autoland and holding a deck slot ends its route at the
// deck's height, parked in its slot.
TEST_F(Carriers, ThePlayerUnderAutolandEndsItsRouteParkedInItsDeckSlot) {
    cover_tile(2, 2, FEATURE_OCEAN);
    ship_type(ASSAULT_SHIP, 9);
    Drone* ship = make(ASSAULT_SHIP);
    route(ship, {{9000000, 9000000, 0}, {9000000, 12000000, 0}}, 4320);
    Drone* jet = make(225, TASK_ESCORT_COVER);
    route(jet, {{9000000, 9000000, 0}, {9300000, 9200000, 2000 * FOOT}, {9000000, 9000000, 0}}, 300 * 432);
    ASSERT_EQ(add_carrier_aircraft(jet), 1);
    place_drones_at_start();
    const uint8_t slot = jet->deck_slot;
    leave_carrier_deck(jet);
    ASSERT_EQ(ship->object.sub_instances[carrier_table[0].slot_index[slot]], nullptr);
    user_drone = jet;
    autoland_engaged = 1;
    Waypoint* last = jet->first_waypoint->next->next;
    jet->previous_waypoint = last->prev;
    jet->current_waypoint = last;
    Vector3 at;
    ASSERT_TRUE(get_deck_slot_position(jet, at));
    move_mobile_object(&jet->object, at.x - jet->pose.position.x, at.y - jet->pose.position.y,
                       at.z + 20 * FOOT - jet->pose.position.z);
    jet->speed = 120 * 432;
    advance_air_waypoint(jet);
    autoland_engaged = 0;
    EXPECT_EQ(jet->pose.position.z, DECK);
    EXPECT_EQ(jet->speed, 0);
    EXPECT_TRUE(jet->mission_flags & DRONE_FLAG_ON_CARRIER);
    EXPECT_EQ(jet->deck_slot, slot);
    EXPECT_EQ(ship->object.sub_instances[carrier_table[0].slot_index[slot]], &jet->object);
}

TEST_F(Carriers, AParkedHelicopterFliesItsRouteAndLandsBackOnItsSlotOfTheMovingShip) {
    cover_tile(2, 2, FEATURE_OCEAN);
    ship_type(ASSAULT_SHIP, 9);
    Drone* ship = make(ASSAULT_SHIP);
    route(ship, {{9000000, 9000000, 0}, {9000000, 12000000, 0}}, 4320);
    Drone* helicopter = make(HELICOPTER, TASK_ESCORT_COVER);
    route(helicopter, {{9000000, 9000000, 0}, {9300000, 9200000, 200 * FOOT}, {9000000, 9400000, 0}}, 30 * 432, 200);
    place_drones_at_start();
    ASSERT_TRUE(helicopter->mission_flags & DRONE_FLAG_ON_CARRIER);
    const uint8_t slot = helicopter->deck_slot;
    const CarrierRecord& r = carrier_table[0];
    ASSERT_EQ(ship->object.sub_instances[r.slot_index[slot]], &helicopter->object);

    auto step = [] {
        update_drones();
        game_clock += 10;
    };
    while (helicopter->mission_flags & DRONE_FLAG_ON_CARRIER && game_clock < 1000) step();
    EXPECT_EQ(ship->object.sub_instances[r.slot_index[slot]], nullptr);  // off the deck
    bool flew = false;
    while (!(helicopter->mission_flags & DRONE_FLAG_ON_CARRIER) && game_clock < 200000) {
        step();
        flew |= helicopter->pose.position.z > 150 * FOOT;
    }
    ASSERT_TRUE(helicopter->mission_flags & DRONE_FLAG_ON_CARRIER);
    EXPECT_TRUE(flew);
    EXPECT_EQ(helicopter->deck_slot, slot);
    EXPECT_EQ(helicopter->speed, 0);
    EXPECT_EQ(helicopter->pose.position.z, DECK);
    EXPECT_EQ(ship->object.sub_instances[r.slot_index[slot]], &helicopter->object);
    Vector3 at;
    ASSERT_TRUE(get_deck_slot_position(helicopter, at));
    EXPECT_NEAR(helicopter->pose.position.x, at.x, 300);
    EXPECT_NEAR(helicopter->pose.position.y, at.y, 300);

    // It stays parked and rides on with the ship.
    const int32_t ship_y = ship->pose.position.y;
    for (int i = 0; i < 100; ++i) step();
    EXPECT_TRUE(helicopter->mission_flags & DRONE_FLAG_ON_CARRIER);
    EXPECT_GT(ship->pose.position.y, ship_y);
    place_sub_instances(&ship->object);
    EXPECT_EQ(helicopter->pose.position.z, DECK);
    EXPECT_GT(helicopter->pose.position.y, ship_y);
}

}  // namespace
}  // namespace vyr
