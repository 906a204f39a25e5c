// Loading prefs.cfg: a file of distinct settings, one a line, read into the settings store at
// start-up. The time should grow in step with the lines (a player's file of 100,000 lines loads
// in well under a second), which the fitted complexity shows.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/config/prefs.h"
#include "library/os/file.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;

// A player's directory of the benchmark's own holding a prefs.cfg of `lines` settings.
void write_prefs_file(int lines) {
    static const fs::path home = fs::path(VYR_BUILD_DIR) / "scratch" / "bench_prefs";
    fs::create_directories(home);
    setenv("VYR_HOME", home.c_str(), 1);
    vyr::enter_player_directory();
    std::ofstream file(home / "prefs.cfg", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < lines; ++i) file << "Setting " << i << '=' << i * 7 << "\r\n";
}

void BM_load_prefs(benchmark::State& state) {
    const int lines = int(state.range(0));
    write_prefs_file(lines);
    for (auto _ : state)
        vyr::load_prefs("prefs.cfg");
    int value = 0;
    if (!vyr::get_pref_int(("Setting " + std::to_string(lines - 1)).c_str(), &value))
        state.SkipWithError("the last line was not loaded");
    state.SetComplexityN(lines);
    state.counters["lines/s"] = benchmark::Counter(double(lines) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

BENCHMARK(BM_load_prefs)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
