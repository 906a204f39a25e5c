#include "tools/vyrgen/world/feature_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "library/3dvisual/features.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {
namespace {

// The feature files of every theatre written as the game finds them and read by its loader.
class GeneratedFeatures : public testing::Test {
protected:
    void SetUp() override {
        write_bytes(directory / "vyr.rop", "");
        for (const WarZone& zone : WAR_ZONES) std::filesystem::create_directories(directory / zone.directory);
        for (const DataFile& file : feature_files()) write_bytes(directory / file.name, file.bytes);
        setenv("VYR_DATA", directory.path().c_str(), 1);
        init_debug_text();
        find_read_only_path("vyr.rop");
    }

    static void load(int zone) {
        std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", WAR_ZONES[size_t(zone)].directory);
        current_world_settings = &world_settings;
        load_features();
    }

    static int kind_at(Point p) { return get_feature_kind(world_units(p.x), world_units(p.y)); }

    ScratchDirectory directory;
};

TEST_F(GeneratedFeatures, LoadAndAnswerWhatTheLayoutPutsThere) {
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        SCOPED_TRACE(WAR_ZONES[zone].directory);
        load(int(zone));
        const TheatreLayout& layout = theatre_layout(int(zone));
        for (const Airfield& airfield : layout.airfields) {
            Point a, b;
            runway_ends(airfield, a, b);
            for (double t : {0.02, 0.5, 0.98}) EXPECT_EQ(kind_at(a + (b - a) * t), FEATURE_RUNWAY) << airfield.name;
            // Beside the runway lies the grass of the field.
            const Point side = Point{(b - a).y, -(b - a).x} * (airfield.runway_width / distance(a, b));
            EXPECT_NE(kind_at(airfield.centre + side * 1.5), FEATURE_RUNWAY) << airfield.name;
        }
        // A river's course is water all along, wherever roads cross it.
        for (const Route& river : layout.rivers)
            for (size_t k = 1; k < river.line.size(); ++k) {
                const Point middle = (river.line[k - 1] + river.line[k]) * 0.5;
                if (middle.x < 0 || middle.x >= 256 || middle.y < 0 || middle.y >= 256) continue;
                const int kind = kind_at(middle);
                EXPECT_TRUE(kind == FEATURE_RIVER || kind == FEATURE_LAKE || kind == FEATURE_OCEAN) << kind;
            }
        // Off the world's edge: the sea around the theatres that have one, nothing around the others.
        EXPECT_EQ(kind_at({-100, -100}), layout.has_sea ? FEATURE_OCEAN : FEATURE_UNKNOWN);
        EXPECT_EQ(kind_at({300, 128}), layout.has_sea ? FEATURE_OCEAN : FEATURE_UNKNOWN);
    }
}

}  // namespace
}  // namespace vyr::vyrgen
