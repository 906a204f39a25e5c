// A quick-start flight heard whole: the engine loop plays from the first frames, and holding the
// nose down at the ground brings the spoken PULL UP into the mix.
#include <cstdio>
#include <string>
#include <vector>

#include "library/sound/dsound.h"
#include "source/sound/triggers.h"
#include "tests/support/heard_flight.h"

namespace vyr {
namespace {

constexpr int PULL_UP_ROW = 200;

int listen_to_engine(int, char**) {
    const HeardFlight flight = fly_heard();
    // The first half second after the flight's first frame.
    std::fprintf(stderr, "heard engine=%d\n", int(rms(flight.mix, 0, HEARD_FRAMES_PER_SECOND / 2)));
    std::fflush(stderr);
    std::_Exit(0);
}

// With the engine silenced the spoken warning stands out of the mix, wherever it comes.
int dive_and_listen(int, char**) {
    const HeardFlight flight = fly_heard(silence_engine);
    std::fprintf(stderr, "heard pullup=%d\n", best_match(flight.mix, row_at_mix_rate(PULL_UP_ROW), 4).score);
    std::fflush(stderr);
    std::_Exit(0);
}

using PullUpFlight = HeardFlights;

TEST_F(PullUpFlight, TheEngineIsHeardAtOnce) {
    const std::string engine = fly(listen_to_engine, FLOW_QUICK_START,
                                   "100 key 0x38 down\n102 key 0x2d down\n104 key 0x2d up\n106 key 0x38 up\n"
                                   "160 key 0x15 down\n162 key 0x15 up\n",
                                   "heard ");
    int level = 0;
    ASSERT_EQ(std::sscanf(engine.c_str(), "heard engine=%d", &level), 1) << engine;
    EXPECT_GT(level, 200) << engine;
}

TEST_F(PullUpFlight, ADiveAtTheGroundBringsPullUp) {
    // The nose held down from 3 s; Alt+X and Y at 90 s if the ground has not ended the flight.
    const std::string dive = fly(dive_and_listen, FLOW_QUICK_START,
                                 "300 key 0x48 down\n9000 key 0x48 up\n9000 key 0x38 down\n9002 key 0x2d down\n"
                                 "9004 key 0x2d up\n9006 key 0x38 up\n9060 key 0x15 down\n9062 key 0x15 up\n",
                                 "heard ");
    int pull_up = 0;
    ASSERT_EQ(std::sscanf(dive.c_str(), "heard pullup=%d", &pull_up), 1) << dive;
    EXPECT_GT(pull_up, 800) << dive;
}

}  // namespace
}  // namespace vyr
