// A synthetic world for the radar: flat ground at 0, object types of the test's own (a fighter, a
// tank, a truck, a house and scenery), drones and ground objects placed by hand, and the player's
// aircraft flying north over the middle of the world at 10,000 ft with the radar just started.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/system/key.h"
#include "source/avionics/avionics.h"
#include "source/avionics/mfd.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/mission/selection.h"
#include "source/models/flight_model.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/radar/target_select.h"
#include "source/sknet/game_rules.h"
#include "source/skill.h"
#include "source/weapons/object_types.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_keys.h"
#include "tests/library/3dvisual/header_table.h"

namespace vyr {
constexpr int32_t TILE = 1 << TILE_SHIFT;

enum TestObject : int { FIGHTER = 1, TANK = 2, HOUSE = 3, SCENERY = 4, TRUCK = 5, BOMBER = 6 };
enum TestSide : int { NEUTRAL = 0, ALLIED = 1, ENEMY = 2 };

class RadarWorld : public testing::Test {
protected:
    static constexpr int32_t ALTITUDE = 10000 * FOOT;
    static constexpr Vector3 START = {32 * TILE + TILE / 2, 32 * TILE + TILE / 2, ALTITUDE};

    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        init_trig_tables();
        init_mobile_lists();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
        type(FIGHTER, OBJECT_CATEGORY_AIRCRAFT, 10000);
        type(BOMBER, OBJECT_CATEGORY_AIRCRAFT, 30000);
        type(TANK, OBJECT_CATEGORY_VEHICLE, 10000);
        type(TRUCK, 1, 10000);
        type(HOUSE, OBJECT_CATEGORY_BUILDING, 10000);
        type(SCENERY, OBJECT_CATEGORY_NONE, 10000);
        std::memcpy(saved_static_tiles, ground_object_tiles, sizeof saved_static_tiles);
        std::memset(ground_object_tiles, 0, sizeof ground_object_tiles);
        saved_settings = current_world_settings;
        current_world_settings = &settings;
        settings.dynamic_ground_objects = dynamic;

        aircraft_object.pose = &aircraft_pose;
        player_object = &aircraft_object;
        player_position = &aircraft_pose;
        fly(START, 0);

        control_mode = CONTROL_BOTH;
        control_type = CONTROL_KEYBOARD;
        view_mode = VIEW_COCKPIT;
        selected_weapon = 0;
        system_failures = {};
        night_vision_on = 0;
        left_mfd_page = right_mfd_page = MFD_RADAR;
        active_mfd = 1;
        time_acceleration = 1;
        slew_x = slew_y = 0;
        key_down[SCAN_ALT] = key_down[SCAN_CTRL] = 0;
        push_hot_key_layer();
        init_radar();
        reset_weapon_modes();  // the weapons' air mode, as the radar's, for every flight
        // The scan centre's slew lives across flights: each test starts at the nose.
        scan_azimuth_limit = scan_elevation_limit = 0;
        slew_scan_centre();
        set_radar_scan();
        reset_designation();
        air_contact_head = air_contact_tail = nullptr;
        ground_contact_head = ground_contact_tail = nullptr;
        ground_contact_count = 0;  // an earlier test's contacts name drones freed since
        air_display_count = 0;
    }

    void TearDown() override {
        // The waypoints outlive the drones that own them: freed, none left selected.
        select_waypoint(nullptr);
        for (Drone& d : drones)
            for (Waypoint* w = d.first_waypoint; w;) {
                Waypoint* next = w->next;
                free_waypoint(w);
                w = next;
            }
        pop_hot_key_layer();
        init_mobile_lists();
        std::memcpy(ground_object_tiles, saved_static_tiles, sizeof saved_static_tiles);
        current_world_settings = saved_settings;
        player_object = nullptr;
        player_position = nullptr;
        for (SensorSlot& slot : sensor_slots) slot.sensor_type = SENSOR_TYPE_NONE;
    }

    void type(int number, int32_t category, int32_t radar_size) {
        ObjectHeader& h = headers.add(number, 20 * FOOT, 10 * FOOT, 0);
        h.category = category;
        h.radar_size = radar_size;
    }

    // The aircraft at `position` heading `heading`, level.
    void fly(const Vector3& position, uint32_t heading) {
        aircraft_pose.position = position;
        build_rotation_matrix(heading, 0, 0, aircraft_pose.matrix);
        player_flight_data.heading = int32_t(heading);
        player_flight_data.pitch = player_flight_data.roll = 0;
        flight_data.heading = heading;
    }

    // A point `forward` ahead of the aircraft (as it flies north), `right` to its right and `up`
    // above the ground.
    static Vector3 ahead(int32_t forward, int32_t right = 0, int32_t up = 0) {
        return {START.x + right, START.y + forward, up};
    }
    // A point at `distance` and `degrees` off the nose (right positive), `up` above the ground.
    static Vector3 bearing(int32_t distance, double degrees, int32_t up = 0) {
        const double radians = degrees * 3.14159265358979 / 180;
        return ahead(int32_t(distance * std::cos(radians)), int32_t(distance * std::sin(radians)), up);
    }

    Drone* drone(int number, int drone_class, int side, const Vector3& p, uint32_t heading = 0) {
        Drone& d = drones.emplace_back();
        d.pose.position = p;
        build_rotation_matrix(heading, 0, 0, d.pose.matrix);
        d.heading = heading;
        d.drone_class = drone_class;
        d.object.object_type = number;
        d.object.pose = &d.pose;
        d.object.owner_kind = OWNER_DRONE;
        d.object.owner = &d;
        d.object.flags = side << INSTANCE_SIDE_SHIFT;
        d.target.kind = TARGET_MOBILE;
        d.target.object = &d.object;
        link_mobile_object(&d.object);
        return &d;
    }
    Drone* fighter(int side, const Vector3& p, uint32_t heading = 0) {
        return drone(FIGHTER, DRONE_CLASS_AIRCRAFT, side, p, heading);
    }
    Drone* tank(int side, const Vector3& p) { return drone(TANK, DRONE_CLASS_TANK, side, p); }

    // A ground object in its tile's dynamic list.
    ground_object* ground(int number, int side, const Vector3& p) {
        const int tile = tile_index(p.x >> TILE_SHIFT, p.y >> TILE_SHIFT);
        std::vector<int16_t>& list = lists[tile];
        if (list.empty()) {
            list.reserve(1 + 6 * 200);
            list.push_back(0);
        }
        const ground_object record = {uint16_t(number), uint16_t((p.x & (TILE - 1)) / FOOT),
                                      uint16_t((p.y & (TILE - 1)) / FOOT), 0, 0, uint16_t(side << GROUND_SIDE_SHIFT)};
        const int16_t* words = reinterpret_cast<const int16_t*>(&record);
        list.insert(list.end(), words, words + 6);
        ++list[0];
        dynamic[tile] = list.data();
        return ground_object_records(list.data()) + list[0] - 1;
    }

    // One radar sweep as the avionics tick runs it.
    void sweep() {
        frame_seconds = 0.3;
        update_avionics();
    }

    void press(int key_code) { dispatch_hot_key(key_code); }

    std::vector<const void*> air_list() const {
        std::vector<const void*> objects;
        for (const AirContact* c = air_contact_head; c; c = c->next) objects.push_back(c->target.object);
        return objects;
    }
    std::vector<const void*> ground_list() const {
        std::vector<const void*> objects;
        for (const Target* t = ground_contact_head; t; t = t->next) objects.push_back(t->object);
        return objects;
    }

    HeaderTable headers{8};
    WorldSettings settings{};
    WorldSettings* saved_settings = nullptr;
    int16_t* saved_static_tiles[4096] = {};
    int16_t* dynamic[4096] = {};
    std::map<int, std::vector<int16_t>> lists;
    std::deque<Drone> drones;
    ObjectInstance aircraft_object{};
    Pose aircraft_pose{};
};

}  // namespace vyr
