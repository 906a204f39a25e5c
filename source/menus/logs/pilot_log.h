// Pilot log records and files.
#pragma once

#include <cstdint>

namespace vyr {

// Set when a pilot log with a special call sign becomes current: they gate the debug keys.
extern int32_t debug_mode;
extern int32_t debug_flag;

struct PilotLog;
extern PilotLog* current_pilot_log;

// Adds (or finds) the mission's entry in the log; `campaign` 1 for a campaign mission.
void log_mission_result(PilotLog* log, int mission, int war_zone, int campaign);
// Adds the mission to the log's current campaign block.
void log_campaign_mission(PilotLog* log, int mission);

}  // namespace vyr
