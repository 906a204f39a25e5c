// Campaigns: the next mission of the pilot's campaign, opened for planning and briefing.
#pragma once

namespace vyr {

struct Mission;
// The mission choose_campaign_mission picked; null when the campaign has ended or was restarted.
extern Mission* current_campaign_mission;
void open_campaign_mission();

}  // namespace vyr
