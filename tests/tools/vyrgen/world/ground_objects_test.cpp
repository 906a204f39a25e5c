#include "tools/vyrgen/world/ground_objects.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {
namespace {

constexpr int TILE_LIMIT = 1000;  // three by three such tiles leave the object buffer room for the rest

// The generated data set as the game reads it.
class GeneratedGroundObjects : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        use_generated_data();
        init_trig_tables();
        reload_objects("3DDATA\\");
    }
};

// Every theatre's ground objects over its terrain and object set.
TEST_F(GeneratedGroundObjects, StandOnFlatGroundOffTheRunwaysWithEveryTypeInTheObjectSet) {
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        SCOPED_TRACE(WAR_ZONES[zone].directory);
        std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", WAR_ZONES[zone].directory);
        world_settings.dynamic_ground_objects = nullptr;
        current_world_settings = &world_settings;
        load_terrain();
        load_ground_objects();
        int records = 0, roads = 0;
        for (int tile = 0; tile < 4096; ++tile) {
            int16_t* list = ground_object_tiles[tile];
            const int count = ground_object_count(list);
            EXPECT_LE(count, TILE_LIMIT);
            for (int k = 0; k < count; ++k) {
                const ground_object& r = ground_object_records(list)[k];
                ASSERT_NE(r.type, 0) << "a type the object set lacks, in tile " << tile;
                const int32_t x = (tile / 64 << 22) + r.x * 256, y = (tile % 64 << 22) + r.y * 256;
                EXPECT_EQ(get_ground_height(x, y), 0) << r.type << " at " << x << ", " << y;
                roads += (r.type == 125 || r.type == 127) && (r.flags & GROUND_DESTROYED);
                ++records;
            }
        }
        EXPECT_GT(records, 3000);
        EXPECT_GT(roads, 100);
        // An aircraft rolling down any runway a foot up hits nothing.
        for (const Airfield& field : theatre_layout(int(zone)).airfields) {
            Point first, second;
            runway_ends(field, first, second);
            Vector3 position;
            const Vector3 a = {world_units(first.x), world_units(first.y), 256};
            const Vector3 b = {world_units(second.x), world_units(second.y), 256};
            EXPECT_EQ(find_ground_object_on_segment(a, b, position, nullptr), nullptr) << field.name;
        }
    }
}

}  // namespace
}  // namespace vyr::vyrgen
