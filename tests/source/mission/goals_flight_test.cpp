// Korea's level-3 campaign mission flown headless and heard: it starts in the air short of its
// recon waypoint, and T reports the waypoint, which is the mission's only goal.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/timer/timer.h"
#include "source/avionics/messages.h"
#include "source/frame_loop.h"
#include "source/menus/missions/catalogue.h"
#include "tests/support/heard_flight.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

constexpr int ROW_MISSION_ACCOMPLISHED = 159;
constexpr int KOREA = 2;
const std::string CAPTURE = std::string(VYR_BUILD_DIR) + "/goals_flight_accomplished.ppm";

// The game clock at which each message was first seen on the lines (which show upper case), -1
// never.
int recon_sent_at = -1, accomplished_at = -1;

platform::PeriodListener passed_on = nullptr;

// Between two frames, as the virtual clock's periods run.
void watch_lines(uint64_t period) {
    if (passed_on) passed_on(period);
    if (!flight_running || !game_clock) return;
    for (int i = 0; i < MESSAGE_LINES; ++i) {
        if (recon_sent_at < 0 && std::strcmp(message_lines[i], "RECON SENT") == 0) recon_sent_at = game_clock;
        if (accomplished_at < 0 && i + 1 < MESSAGE_LINES && std::strcmp(message_lines[i], "  MISSION") == 0 &&
            std::strcmp(message_lines[i + 1], "ACCOMPLISHED") == 0)
            accomplished_at = game_clock;
    }
}

void fly_korea_level_3() {
    silence_engine();
    passed_on = platform::set_period_listener(watch_lines);
    set_game_flow(FLOW_CAMPAIGN);
    for (Mission* m = mission_catalogue; m; m = m->next)
        if (m->zone == KOREA && m->flow == FLOW_CAMPAIGN && m->level == 3) current_mission = m;
    load_mission(current_mission);
}

int fly_and_report(int, char**) {
    const HeardFlight flight = fly_heard(fly_korea_level_3);
    const std::vector<double> row = row_at_mix_rate(ROW_MISSION_ACCOMPLISHED);
    const RowMatch heard = best_match(flight.mix, row, 441);
    // Anywhere else in the flight: the announcement is made once.
    const RowMatch before = best_match(flight.mix, row, 441, 0, heard.frame > row.size() ? heard.frame - row.size() : 0);
    const RowMatch after = best_match(flight.mix, row, 441, heard.frame + row.size());
        std::fprintf(stderr, "goals recon=%d accomplished=%d heard=%d again=%d\n", recon_sent_at, accomplished_at,
                 heard.score, std::max(before.score, after.score));
    std::fflush(stderr);
    std::_Exit(0);
}

using GoalsFlight = HeardFlights;

// T at 6 s and again at 9 s (the waypoint is reported once), Alt+X and Y at 14 s.
TEST_F(GoalsFlight, ReportingTheReconWaypointAnnouncesTheMissionAccomplishedOnce) {
    const std::string report = fly(fly_and_report, FLOW_CAMPAIGN,
                                   "600 key 0x14 down\n602 key 0x14 up\n700 capture " + CAPTURE +
                                       "\n900 key 0x14 down\n902 key 0x14 up\n"
                                       "1400 key 0x38 down\n1402 key 0x2d down\n1404 key 0x2d up\n1406 key 0x38 up\n"
                                       "1460 key 0x15 down\n1462 key 0x15 up\n",
                                   "goals ");
    int recon = 0, accomplished = 0, heard = 0, again = 0;
    ASSERT_EQ(std::sscanf(report.c_str(), "goals recon=%d accomplished=%d heard=%d again=%d", &recon, &accomplished,
                          &heard, &again),
              4)
        << report;
    EXPECT_GT(recon, 0) << report;
    EXPECT_GE(accomplished, recon) << "announced with the report: " << report;
    EXPECT_GT(heard, 900) << report;
    EXPECT_LT(again, 700) << "heard once: " << report;
}

}  // namespace
}  // namespace vyr
