// Stand-in for the campaign: no campaign mission is chosen yet.
#include "source/menus/missions/campaign.h"

#include "source/menus/logs/pilot_log.h"

namespace vyr {

// A campaign in progress finds no mission at its level.
int choose_campaign_mission(Mission** mission) {
    *mission = nullptr;
    PilotLog* log = current_pilot_log;
    if (!log || get_log_current_campaign(log) == 0) return -1;
    const int level = get_campaign_level(log);
    if (level == 0) return -2;
    if (level == 11) return -3;
    return get_campaign_lives(log) == 0 ? -2 : 0;
}
void open_campaign_mission() {}

}  // namespace vyr
