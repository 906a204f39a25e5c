// Campaigns: the next mission of the pilot's campaign, opened for planning and briefing.
#pragma once

namespace vyr {

struct Mission;

// The next mission of the current log's campaign, written to `mission` (null when none): its
// number; 0 when the catalogue holds no mission for the campaign's level; -1 without a campaign
// in progress, -2 when it is lost (level 0 or no lives left), -3 when it is won (level 11).
int choose_campaign_mission(Mission** mission);
void open_campaign_mission();

}  // namespace vyr
