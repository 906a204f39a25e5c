// The radar's synthetic world with the object types of the threat warning and the pod: emitters
// (an early-warning radar, SAM sites, an interceptor), the player's own aircraft type with its
// size, and a quiet threat warning and pod at each test's start.
#pragma once

#include "library/3dvisual/instance.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/threat_warning.h"
#include "tests/source/radar/radar_world.h"

namespace vyr {

enum ThreatObject : int { EW_RADAR = 46, SAM_SITE = 99, SAM_SITE_2 = 450, INTERCEPTOR = 64, SPECIAL = 1145 };

class ThreatWorld : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        for (int number : {int(FIGHTER), int(BOMBER)}) add_type(number, OBJECT_CATEGORY_AIRCRAFT);
        for (int number : {int(TANK), int(TRUCK)}) add_type(number, OBJECT_CATEGORY_VEHICLE);
        add_type(HOUSE, OBJECT_CATEGORY_BUILDING);
        for (int number : {int(EW_RADAR), int(SAM_SITE), int(SAM_SITE_2), int(SPECIAL)})
            add_type(number, OBJECT_CATEGORY_BUILDING);
        add_type(INTERCEPTOR, OBJECT_CATEGORY_AIRCRAFT);
        big_headers.add(OBJ_VYR_HOVREN_TALSWEEP, 30 * FOOT, 10 * FOOT, 0, 25 * FOOT);
        aircraft_object.object_type = OBJ_VYR_HOVREN_TALSWEEP;
        own.target.kind = TARGET_MOBILE;
        own.target.object = &aircraft_object;
        aircraft_object.owner_kind = OWNER_DRONE;
        aircraft_object.owner = &own;
        own.object.object_type = OBJ_VYR_HOVREN_TALSWEEP;
        saved_user_drone = user_drone;
        user_drone = &own;
        frame_seconds = 0.01;
        flight_data.altitude = ALTITUDE;
        flight_data.height_above_ground = ALTITUDE;
        threat_lamp_bits = 0;
        init_threat_warning();
        reset_targeting_pod();
    }
    void TearDown() override {
        user_drone = saved_user_drone;
        RadarWorld::TearDown();
    }

    void add_type(int number, int32_t category) {
        ObjectHeader& h = big_headers.add(number, 20 * FOOT, 10 * FOOT, 0);
        h.category = category;
        h.radar_size = 10000;
    }

    // A ground emitter as the war model hands it over.
    static Target ground_target(ground_object* record, const Vector3& p) {
        Target t = {};
        t.kind = TARGET_GROUND_OBJECT;
        t.object = record;
        t.position = {p.x, p.y, 0};
        return t;
    }

    // The sector (0..19) holding the object, or -1.
    static int sector_of(const void* object) {
        for (int g = 0; g < THREAT_SECTORS; ++g)
            for (const ThreatSlot* s = threat_warning.groups[g].head; s; s = s->next)
                if (s->target.object == object) return g;
        return -1;
    }

    HeaderTable big_headers{1200};
    Drone own{};
    Drone* saved_user_drone = nullptr;
};

}  // namespace vyr
