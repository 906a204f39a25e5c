// The plan map of Korea into an 8-bit screen: the whole theatre into 640 x 480 in the menus'
// colouring with its contours asked for, and the HSI page's window of 10 nm round an airfield as
// the cockpit draws it: maps per second, so that changes to the walk or its drawers show their
// cost. Reads the generated data set of the build tree.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/map_terrain.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "tests/support/paths.h"

namespace {

using namespace vyr;

constexpr int32_t WORLD = 1 << 28;
constexpr int32_t HSI_HALF = 1 << 24;  // 10 nm across
constexpr int HSI_SIDE = 118;          // the display's map window in pixels

Screen* open_korea() {
    static Screen* screen = nullptr;
    if (screen) return screen;
    setenv("VYR_DATA", (std::string(VYR_BUILD_DIR) + "/data").c_str(), 0);
    init_debug_text();
    find_read_only_path("vyr.rop");
    init_trig_tables();
    std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
    std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "korea.wz\\");
    world_settings.flags = WORLD_LOAD_DATA;
    init_world(&world_settings);
    compute_terrain_max_height();
    screen = create_screen(640, 480);
    select_screen(screen);
    return screen;
}

void whole_theatre(benchmark::State& state) {
    open_korea();
    map_alt_colouring = 1;
    map_background_colour = 99;
    const int32_t half_height = WORLD / 2, half_width = half_height / 3 * 4;
    set_plot(0, 0, 640, 480, WORLD / 2 - half_width, 0, WORLD / 2 + half_width, WORLD);
    set_plot_rotation(0);
    const PlanMapOptions options = {250, PLAN_MAP_TERRAIN | PLAN_MAP_TERRAIN_LINES | PLAN_MAP_OUTLINES};
    for (auto _ : state) {
        set_plan_map_options(&options);
        draw_plan_map();
    }
    state.counters["maps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void hsi_window(benchmark::State& state) {
    open_korea();
    map_alt_colouring = 1;
    map_background_colour = 212;
    const int32_t x = 100 << 20, y = 100 << 20;
    set_plot(420, 240, HSI_SIDE, HSI_SIDE, x - HSI_HALF, y - HSI_HALF, x + HSI_HALF, y + HSI_HALF);
    set_plot_rotation(0);
    const PlanMapOptions options = {1000, PLAN_MAP_TERRAIN | PLAN_MAP_OUTLINES};
    for (auto _ : state) {
        set_plan_map_options(&options);
        draw_plan_map();
    }
    state.counters["maps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(whole_theatre)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(hsi_window)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
