// Stand-in for the kills reported between machines: none is reported to another machine, which
// has no player's drone here; the score that would be sent is recorded.
#include "source/sknet/kill_reports.h"

#include "source/sknet/net_messages.h"

namespace vyr {

void record_kill(int32_t, int32_t, int32_t) {}
void record_ground_kill(int32_t, int32_t, int32_t) {}
void report_ground_kill_hook(const Vector3&) {}
void send_score(int32_t player) {
    ++net_send_log.score;
    net_send_log.last_score_player = player;
}
Drone* get_other_player_drone() { return nullptr; }

}  // namespace vyr
