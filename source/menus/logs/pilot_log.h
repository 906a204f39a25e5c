// Pilot log records and files.
#pragma once

#include <cstdint>

namespace vyr {

// Set when a pilot log with a special call sign becomes current: they gate the debug keys.
extern int32_t debug_mode;
extern int32_t debug_flag;

struct PilotLog;
extern PilotLog* current_pilot_log;

// 2 for an active log.
int get_log_status(const PilotLog* log);
// The pilot's name; null without a log.
const char* get_log_name(const PilotLog* log);

struct UiObject;
extern UiObject* log_screen;
void create_log_screen();

// Adds (or finds) the mission's entry in the log; `campaign` 1 for a campaign mission.
void log_mission_result(PilotLog* log, int mission, int war_zone, int campaign);
// Adds the mission to the log's current campaign block.
void log_campaign_mission(PilotLog* log, int mission);

}  // namespace vyr
