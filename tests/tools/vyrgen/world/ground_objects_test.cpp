#include "tools/vyrgen/world/ground_objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "tests/tools/vyrgen/world/generated_world.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"
#include "tests/support/paths.h"

namespace vyr::vyrgen {
namespace {

constexpr int TILE_LIMIT = 1000;  // three by three such tiles leave the object buffer room for the rest

using GeneratedGroundObjects = GeneratedWorld;

// Every theatre's ground objects over its terrain and object set.
TEST_F(GeneratedGroundObjects, StandOnFlatGroundOffTheRunwaysWithEveryTypeInTheObjectSet) {
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        SCOPED_TRACE(WAR_ZONES[zone].directory);
        use_war_zone(WAR_ZONES[zone].directory);
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

// The ground plan of an outline: its area in square feet.
double outline_area(const ObjectHeader& h) {
    const uint8_t* o = h.map_outline;
    auto word = [o](int k) { return double(int16_t(uint16_t(o[2 * k] | o[2 * k + 1] << 8))); };
    if (!o || word(0) == 0) return 0;
    const int points = int(word(1));
    double twice = 0;
    for (int k = 0; k < points; ++k) {
        const int j = (k + 1) % points;
        twice += word(2 + 2 * k) * word(3 + 2 * j) - word(2 + 2 * j) * word(3 + 2 * k);
    }
    return std::abs(twice) / 2 / 256;  // outline units are 1/16 ft
}

// Korea's first airfield on the plan map, every record given the allied side as the gameplay grid
// gives it to side-dependent types: the military things stand as filled footprints turned by
// their headings, the huts, lights and marks of no side among them not at all.
TEST_F(GeneratedGroundObjects, AnAirfieldOnThePlanMapShowsItsMilitaryFootprints) {
    constexpr int SIZE = 512, FEET_PER_PIXEL = 8, ALLIED_COLOUR = 205;
    constexpr int32_t HALF = SIZE / 2 * FEET_PER_PIXEL * FOOT;
    use_war_zone("korea.wz");
    load_ground_objects();
    const Airfield& field = theatre_layout(1).airfields.front();
    const int32_t cx = world_units(field.apron.x), cy = world_units(field.apron.y);
    Screen* screen = create_screen(SIZE, SIZE);
    select_screen(screen);
    std::fill(screen->pixels, screen->pixels + SIZE * SIZE, uint8_t(0));
    plan_map_options.flags = PLAN_MAP_OUTLINES;
    set_plot_rotation(0);
    double inside = 0, touching = 0;  // footprint areas of the records wholly and partly in view
    std::vector<std::pair<int, int>> bare, sided;  // where records of no side and of a side stand
    for (int tx = (cx - HALF) >> 22; tx <= (cx + HALF) >> 22; ++tx)
        for (int ty = (cy - HALF) >> 22; ty <= (cy + HALF) >> 22; ++ty) {
            int16_t* list = ground_object_tiles[tx * 64 + ty];
            for (int k = 0; k < ground_object_count(list); ++k) {
                ground_object& r = ground_object_records(list)[k];
                r.flags = uint16_t((r.flags & ~GROUND_SIDE_MASK) | 1 << GROUND_SIDE_SHIFT);
                const ObjectHeader* h = get_object_header(r.type);
                const Vector3 p = ground_object_position(tx * 64 + ty, r);
                const int32_t reach = std::max(std::abs(p.x - cx), std::abs(p.y - cy));
                const int px = SIZE / 2 + (p.x - cx) / (FEET_PER_PIXEL * FOOT);
                const int py = SIZE / 2 - (p.y - cy) / (FEET_PER_PIXEL * FOOT);
                if (!h || (r.flags & GROUND_DESTROYED) || reach - h->radius > HALF) continue;
                if (!(h->gameplay_flags & OBJECT_SIDE_DEPENDENT)) {
                    if (reach + 200 * FOOT < HALF) bare.push_back({px, py});
                    continue;
                }
                touching += outline_area(*h);
                if (reach + h->radius >= HALF) continue;
                inside += outline_area(*h);
                sided.push_back({px, py});
            }
            set_plot(0, 0, SIZE, SIZE, cx - HALF, cy - HALF, cx + HALF, cy + HALF);
            set_plot_offset(tx << 22, ty << 22);
            map_tile_x = tx;
            map_tile_y = ty;
            draw_map_ground_objects();
        }
    const double pixel = FEET_PER_PIXEL * FEET_PER_PIXEL;
    const int filled = int(std::count(screen->pixels, screen->pixels + SIZE * SIZE, uint8_t(ALLIED_COLOUR)));
    EXPECT_EQ(std::count(screen->pixels, screen->pixels + SIZE * SIZE, uint8_t(0)) + filled, SIZE * SIZE);
    EXPECT_GT(inside, 50000) << "hangars, tower, barracks and stores in view";
    // The fill takes in the pixels its edges touch, a fifth more on footprints of a few pixels.
    EXPECT_GT(filled, 0.9 * inside / pixel);
    EXPECT_LT(filled, 1.4 * touching / pixel);
    EXPECT_GE(sided.size(), 10u);
    for (auto [x, y] : sided) EXPECT_EQ(screen->pixels[y * SIZE + x], ALLIED_COLOUR) << x << ", " << y;
    // Records of no side leave the ground bare.
    EXPECT_GE(bare.size(), 4u);
    for (auto [x, y] : bare) EXPECT_EQ(screen->pixels[y * SIZE + x], 0) << x << ", " << y;

    // To look at: footprints blue, records of no side yellow.
    std::vector<char> rgb(size_t(3 * SIZE * SIZE), char(30));
    for (int i = 0; i < SIZE * SIZE; ++i)
        if (screen->pixels[i] == ALLIED_COLOUR) rgb[size_t(3 * i) + 2] = char(255);
    for (auto [x, y] : bare) std::fill_n(rgb.begin() + 3 * (y * SIZE + x), 2, char(255));
    std::ofstream ppm(std::string(VYR_BUILD_DIR) + "/plan_map_airfield.ppm", std::ios::binary);
    ppm << "P6\n" << SIZE << " " << SIZE << "\n255\n";
    ppm.write(rgb.data(), std::streamsize(rgb.size()));
    plan_map_options = {0, 0};
    select_screen(nullptr);
    destroy_screen(screen);
}

int32_t int32_at(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(bytes[at + i]);
    return int32_t(v);
}

// Each theatre's file lists its airfields, and two beacons of the landing aid stand at the ends of
// each runway, near enough to belong to it, each facing the way aircraft land over it.
TEST_F(GeneratedGroundObjects, EveryAirfieldHasTwoBeaconsFacingItsLandings) {
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        SCOPED_TRACE(WAR_ZONES[zone].directory);
        const std::string file = read_bytes(GENERATED_DATA / WAR_ZONES[zone].directory / "airfield.bin");
        const auto& fields = theatre_layout(int(zone)).airfields;
        ASSERT_EQ(file.size(), 4 + 32 * fields.size());
        ASSERT_EQ(int32_at(file, 0), int32_t(fields.size()));
        use_war_zone(WAR_ZONES[zone].directory);
        load_ground_objects();
        for (size_t i = 0; i < fields.size(); ++i) {
            const size_t record = 4 + 32 * i;
            EXPECT_EQ(file[record + 16], 0) << "the name ends within its bytes";
            EXPECT_EQ(file[record + 23], 0) << "the code ends within its bytes";
            const int32_t x = int32_at(file, record + 24), y = int32_at(file, record + 28);
            int beacons = 0;
            for (int tile = 0; tile < 4096; ++tile) {
                int16_t* list = ground_object_tiles[tile];
                for (int k = 0; k < ground_object_count(list); ++k) {
                    const ground_object& r = ground_object_records(list)[k];
                    if (r.type != 1100) continue;
                    const double bx = (tile / 64 << 22) + r.x * 256.0, by = (tile % 64 << 22) + r.y * 256.0;
                    if (std::hypot(bx - x, by - y) >= 3584001) continue;
                    ++beacons;
                    const uint16_t runway = uint16_t(fields[i].heading >> 16);
                    EXPECT_TRUE(r.heading == runway || r.heading == uint16_t(runway + 0x8000)) << fields[i].name;
                    // Facing the runway's middle: the beacon lies before it along its heading.
                    const double h = r.heading / 65536.0 * 2 * M_PI;
                    EXPECT_GT((x - bx) * std::sin(h) + (y - by) * std::cos(h), 0) << fields[i].name;
                }
            }
            EXPECT_GE(beacons, 2) << fields[i].name;
            EXPECT_LE(beacons, 4) << fields[i].name;
        }
    }
}

}  // namespace
}  // namespace vyr::vyrgen
