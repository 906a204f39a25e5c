// The whole flight frame of the generated data set's ground-attack quick start over Afghanistan,
// run by the game's own frame loop (controls, drones, flight model, weapons, war model, effects,
// the 3D view, the cockpit and the presentation), at each terrain detail the game offers (0 to
// 3), and of Korea's (the heaviest quick start: the most movers, soldiers and shadows) at the
// default detail: milliseconds per frame, and the program's peak resident memory in that flight.
// Each detail flies the mission from its start, headless under the virtual clock with the null
// sound device, so every run reaches the same point of the route before its frames are timed:
// on the runway, the parked tanks, the airfield's buildings and the hovering helicopter ahead
// under the clouds. The game's threads pass one baton, so the time is that of one core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/palette.h"
#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "library/system/exit.h"
#include "library/system/library.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/joystick/joystick.h"
#include "platform/window/window.h"
#include "source/flight.h"
#include "source/frame_loop.h"
#include "source/game_main.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/preferences.h"
#include "source/startup.h"
#include "tests/support/paths.h"

namespace {

using namespace vyr;

constexpr int GROUND_ATTACK = 2;
constexpr int DEFAULT_DETAIL = 3;
// Three seconds of the mission (a frame is two 10 ms periods of the virtual clock): the point
// of the route the timed frames start from.
constexpr int FRAMES_TO_FIXED_POINT = 150;
constexpr int TIMED_FRAMES = 100;

// VmHWM starts again from the resident memory of now (where the kernel lets it; else it stays
// the program's peak so far).
void reset_peak_resident() { std::ofstream("/proc/self/clear_refs") << "5"; }

// VmHWM of /proc/self/status in MiB; 0 when it cannot be read.
double peak_resident_mib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0.0;
}

// The largest of the flights' peaks.
double peak_mib = 0.0;
benchmark::State* timed = nullptr;

// "Game Thread" of the benchmark: the flight as fly_mission flies it, with the timed frames at the
// fixed point.
void fly_timed_flight() {
    start_flight();
    view_settings.terrain_detail = int32_t(timed->range(1));
    start_flight_loop();
    for (int i = 0; i < FRAMES_TO_FIXED_POINT; ++i) run_flight_frame();
    for (auto _ : *timed) run_flight_frame();
    const bool flew = flight_running == 1;
    end_flight_loop();
    finish_flight();
    if (!flew) timed->SkipWithError("the flight ended before its timed frames were over");
}

bool thread_alive(uint32_t id) {
    for (int i = 0; i < thread_count; ++i)
        if (thread_table[i].id == id) return true;
    return false;
}

// Each detail flies from the mission's start on a flight thread of its own, as a launch from the
// menus does.
void flight_frame(benchmark::State& state) {
    timed = &state;
    set_war_zone(int(state.range(0)));
    set_quick_start_kind(GROUND_ATTACK);
    prepare_quick_mission();
    reset_peak_resident();
    const uint32_t id = create_thread("Game Thread", fly_timed_flight);
    while (thread_alive(id)) yield_thread();
    const double flight_peak = peak_resident_mib();
    peak_mib = std::max(peak_mib, flight_peak);
    state.counters["peak-RSS-MiB"] = flight_peak;
}

BENCHMARK(flight_frame)
    ->ArgNames({"zone", "detail"})
    ->ArgsProduct({{WAR_ZONE_AFGHAN}, {0, 1, 2, 3}})
    ->Args({WAR_ZONE_KOREA, DEFAULT_DETAIL})
    ->Iterations(TIMED_FRAMES)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The program as the game's start-up brings it up, less the menus: the settings, the sound, the
// catalogue, the accelerator, the weapons, the soldiers' movements and the drones.
int fly_benchmarks(int, char**) {
    init_library("vyr.rop");
    apply_preferences();
    init_sound();
    load_mission_catalogue();
    start_accelerator();
    load_flight_data();
    set_screen_mode(0, 1);  // the menus' 640 x 480 x 8, which a launch leaves

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("Peak resident memory in a flight: %.1f MiB\n", peak_mib);
    end_process(0);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const std::string build = VYR_BUILD_DIR;
    const std::filesystem::path home = build + "/scratch/bench_flight";
    std::filesystem::create_directories(home);
    setenv("VYR_DATA", (build + "/data").c_str(), 0);
    setenv("VYR_HOME", home.c_str(), 1);
    setenv("VYR_VIDEO", "headless", 1);
    setenv("VYR_CLOCK", "virtual", 1);
    setenv("VYR_AUDIO", "null", 1);
    std::string error;
    if (!platform::select_window_backend(error)) {
        std::fprintf(stderr, "bench_flight: %s\n", error.c_str());
        return 1;
    }
    platform::select_joystick_backend(false);
    install_display_requests();
    install_sound_requests();
    return win_main(fly_benchmarks, "");
}
