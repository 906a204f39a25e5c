// The terrain pass of a render (posts transformed, tiles queued, the object buffer drawn) through
// the software accelerator, from a fixed eye over Korea's valleys at each terrain detail: frames
// per second, so that changes to the terrain or the accelerator show their cost. Reads the
// generated data set of the build tree.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_glide.h"
#include "library/debug/fatal.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/paths.h"

namespace {

using namespace vyr;

constexpr int REACH = 12;  // tiles each way
constexpr int32_t DEGREE = 11930465;

void open_korea() {
    static bool open = false;
    if (open) return;
    open = true;
    setenv("VYR_DATA", (std::string(VYR_BUILD_DIR) + "/data").c_str(), 0);
    init_debug_text();
    find_read_only_path("vyr.rop");
    init_trig_tables();
    std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
    std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "korea.wz\\");
    world_settings.flags = WORLD_LOAD_DATA;
    init_world(&world_settings);
    start_glide();
    accelerator_flag = 1;
    set_viewport(0, 0, platform::accel::SCREEN_WIDTH, platform::accel::SCREEN_HEIGHT);
    set_depth_scale(REACH);
}

void terrain_pass(benchmark::State& state) {
    open_korea();
    ViewSettings view = view_settings;
    view.visual_range = REACH;
    view.terrain_detail = int32_t(state.range(0));
    set_view_settings(&view);
    Pose eye{{140 << 20, 128 << 20, 5000 * 256}, {}};
    build_rotation_matrix(uint32_t(90 * DEGREE), uint32_t(-4 * DEGREE), 0, eye.matrix);
    for (auto _ : state) {
        set_eye(&eye);
        platform::accel::clear_buffer(0);
        reset_object_buffer();
        visible_tile_range = {-REACH, REACH, -REACH, REACH};
        prepare_terrain_frame();
        for (int dx = -REACH; dx <= REACH; ++dx)
            for (int dy = -REACH; dy <= REACH; ++dy) {
                render_tile_x = eye_tile_x + dx;
                render_tile_y = eye_tile_y + dy;
                queue_terrain_tile_accel();
            }
        flush_object_buffer();
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(terrain_pass)->ArgName("detail")->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
