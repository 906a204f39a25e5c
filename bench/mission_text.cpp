// Parsing a mission's texts: each line of a briefing joins the text read so far. The time should
// grow in step with the lines (a text of 100,000 lines parses in well under a second), which the
// fitted complexity shows.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "source/menus/missions/catalogue.h"

namespace {

std::string briefing_text(int lines) {
    std::string text = ":Title\nA long one\n:Briefing\n";
    for (int i = 0; i < lines; ++i) text += "Line " + std::to_string(i) + " of the briefing\n";
    return text + ":EOF\n";
}

void BM_parse_mission_text(benchmark::State& state) {
    const int lines = int(state.range(0));
    const std::string text = briefing_text(lines);
    const std::string header = ":Game Flow\n3\n:War Zone\n1\n";
    size_t length = 0;
    for (auto _ : state) {
        std::string text_copy = text, header_copy = header;  // parsed in place
        vyr::Mission* mission = vyr::add_catalogue_entry(1, int(text_copy.size()), text_copy.data(),
                                                         int(header_copy.size()), header_copy.data());
        length = std::strlen(mission->briefing);
        vyr::free_mission_catalogue();
    }
    if (length < size_t(lines)) state.SkipWithError("the briefing lost lines");
    state.SetComplexityN(lines);
    state.counters["lines/s"] = benchmark::Counter(double(lines) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

BENCHMARK(BM_parse_mission_text)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
