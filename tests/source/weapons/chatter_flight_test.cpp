// The radio chatter heard over whole flights: a script quits 50 s into the flight. Flying level
// with the engine's row silenced, nothing but the chatter makes a sound in flight, so what is
// heard is the chatter.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "library/sound/dsound.h"
#include "source/frame_loop.h"
#include "tests/support/heard_flight.h"

namespace vyr {
namespace {

constexpr int WINDOW_FRAMES = HEARD_FRAMES_PER_SECOND / 10;
constexpr int32_t TICKS_PER_PERIOD = 2;
constexpr int32_t FIRST_CHATTER_TICK = 6000;
constexpr size_t OWN_SOUNDS_TENTHS = 20;

// Tenths of a second, from the capture's start, at which a sound begins after at least a second
// of silence (the pauses within one call are shorter). The first two seconds are the aircraft's
// own, whose systems sound as the flight starts.
std::vector<int> onsets(const std::vector<int16_t>& mix) {
    std::vector<int> found;
    int quiet_tenths = 10;
    for (size_t start = 0, tenth = 0; start + 2 * WINDOW_FRAMES <= mix.size(); start += 2 * WINDOW_FRAMES, ++tenth) {
        double sum = 0;
        for (size_t i = start; i < start + 2 * WINDOW_FRAMES; ++i) sum += double(mix[i]) * mix[i];
        if (std::sqrt(sum / (2 * WINDOW_FRAMES)) <= 200) {
            ++quiet_tenths;
            continue;
        }
        if (quiet_tenths >= 10 && tenth >= OWN_SOUNDS_TENTHS) found.push_back(int(tenth));
        quiet_tenths = 0;
    }
    return found;
}

// The flight, then what was heard and when the first chatter slot came, in tenths from the
// capture's start.
int fly_and_listen(int, char**) {
    const HeardFlight flight = fly_heard(silence_engine);
    const std::vector<int16_t>& mix = flight.mix;
    const uint64_t capture_start = flight.capture_start, flight_end = flight.flight_end;
    const int64_t slot = int64_t(flight_end) - (game_clock - FIRST_CHATTER_TICK) / TICKS_PER_PERIOD;
    std::string report = "slot=" + std::to_string((slot - int64_t(capture_start)) * 10 / HEARD_PERIODS_PER_SECOND) +
                         " clock=" + std::to_string(game_clock) + " onsets=";
    for (int tenth : onsets(mix)) report += std::to_string(tenth) + ",";
    std::fprintf(stderr, "%s\n", report.c_str());
    std::fflush(stderr);
    std::_Exit(0);
}

class ChatterFlight : public HeardFlights {
protected:
    // Flies the flow for 50 s and answers the report line: Alt+X at 52 s, then Y; the flight
    // starts within the first 3 s.
    std::string fly(int flow) {
        return HeardFlights::fly(fly_and_listen, flow,
                                 "5200 key 0x38 down\n5202 key 0x2d down\n5204 key 0x2d up\n5206 key 0x38 up\n"
                                 "5260 key 0x15 down\n5262 key 0x15 up\n",
                                 "slot=");
    }
};

TEST_F(ChatterFlight, ASingleMissionHearsTheOpeningCallOnceThirtySecondsIn) {
    const std::string report = fly(FLOW_SINGLE_MISSION);
    int slot = 0, clock = 0, first = 0;
    ASSERT_EQ(std::sscanf(report.c_str(), "slot=%d clock=%d onsets=%d,", &slot, &clock, &first), 3) << report;
    EXPECT_GT(clock, 48 * 200) << "the flight lasted its 50 s";
    EXPECT_NEAR(first, slot, 5) << report;
    EXPECT_EQ(report.find(','), report.rfind(',')) << "one call only: " << report;
}

TEST_F(ChatterFlight, AQuickStartHearsNoChatter) {
    const std::string report = fly(FLOW_QUICK_START);
    EXPECT_NE(report.find("onsets=\n"), std::string::npos) << report;
}

}  // namespace
}  // namespace vyr
