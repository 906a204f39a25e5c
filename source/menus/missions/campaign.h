// Campaigns: the next mission of the pilot's campaign, opened for planning and briefing.
#pragma once

namespace vyr {

struct Mission;

// Results of choose_campaign_mission other than a mission number.
constexpr int CAMPAIGN_EMPTY_LEVEL = 0;
constexpr int CAMPAIGN_NOT_BEGUN = -1;
constexpr int CAMPAIGN_LOST = -2;
constexpr int CAMPAIGN_WON = -3;

// The next mission of the current log's campaign, written to `mission` and made current: its
// number. Null comes back with 0 when the catalogue holds no mission for the campaign's zone and
// level, -1 without a campaign in progress, -2 when it is lost (level 0 or no lives left), -3 when
// it is won (level 11). Leaves the catalogue filter on the campaign's zone and level; the same
// log always gives the same mission until its seed is stepped.
int choose_campaign_mission(Mission** mission);
// The Situation Screen's "Load Mission": the mission loaded and opened on the map with its
// briefing, its texts kept for the debrief, and its speech.
void start_campaign_mission(Mission* mission);

}  // namespace vyr
