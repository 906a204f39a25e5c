// Pilot log records and files: each pilot's career (call sign, rank, status, times, missions,
// kills, medals and a campaign record per war zone), up to ten users with up to 30 logs each
// under "log", plus one default log per user. Every logged flight goes into the current log.
#pragma once

#include <cstdint>

namespace vyr {

// Set when a pilot log with a special call sign becomes current: they gate the debug keys.
extern int32_t debug_mode;
extern int32_t debug_flag;

constexpr int LOG_FILES_PER_USER = 30;
constexpr int LOG_USERS = 10;
constexpr int LOG_USER_NAME_SIZE = 16;
constexpr int LOG_NAME_LENGTH = 63;
constexpr int LOG_MISSIONS = 500;
constexpr int LOG_CAMPAIGN_MISSIONS = 64;
constexpr int LOG_CAMPAIGN_ZONES = 4;  // war zones 1..4 have campaigns
constexpr int LOG_RANKS = 8;
constexpr int LOG_STATUSES = 12;
constexpr int LOG_STATUS_ACTIVE = 2;
constexpr int LOG_DEFAULT_RADIO_CALL_SIGN = 19;

// Results of a logged mission.
constexpr int LOG_NOT_FLOWN = 0;
constexpr int LOG_FAILED = 2;
constexpr int LOG_SUCCESSFUL = 3;
constexpr int LOG_OUTSTANDING = 4;

// Award bits of the last totals update.
constexpr int LOG_AWARD_PROMOTION = 1;
constexpr int LOG_AWARD_MEDAL_1 = 2;  // medal m (0..2) is LOG_AWARD_MEDAL_1 << m

struct LogMissionEntry {
    int32_t mission;
    int32_t war_zone;
    int32_t campaign;  // 1 for a campaign mission
    int32_t result;
};

struct LogCampaignBlock {
    int32_t level;
    int32_t lives;
    int32_t seed;
    LogMissionEntry* missions[LOG_CAMPAIGN_MISSIONS];  // filled from the front
};

struct PilotLog {
    int32_t file_number;  // n of "log\log<user>.<n>", 1..30; 0 not yet written
    char* name;           // call sign; null for none
    int32_t radio_call_sign;  // 1..20
    int32_t rank;
    int32_t status;
    int32_t total_time, combat_time;  // ticks of 1/200 s
    int32_t missions_flown, successful_missions, failed_missions, outstanding_missions;
    int32_t air_kills, ground_kills, friendly_kills, aircraft_lost;
    int32_t medals[3];
    int32_t status_hour;  // current_hour() when the status last changed
    int32_t default_flag;
    LogMissionEntry* missions[LOG_MISSIONS];  // filled from the front
    int32_t current_campaign;                 // war zone 1..4, 0 none
    int32_t campaigns_won;
    int32_t won[LOG_CAMPAIGN_ZONES];
    int32_t award_bits;
    LogCampaignBlock campaigns[LOG_CAMPAIGN_ZONES + 1];  // by war zone; 0 unused
    PilotLog* next;
    PilotLog* prev;
};

extern PilotLog* pilot_logs;
extern PilotLog* current_pilot_log;
extern int32_t current_user;
extern char user_names[LOG_USERS][LOG_USER_NAME_SIZE];

// Reads the current user, the user names and the user's logs; the logs are saved at exit.
void init_pilot_logs();
// The current user's logs; a user without a default log gets a fresh one, written at once. A log
// file that does not hold a whole, sound log is left out (see read_pilot_log).
void load_user_logs();
// The current-user file, every log up to the current one and the current user's file.
void save_pilot_logs();
// Saves, drops every loaded log and loads the logs of user `user` (0..9).
void switch_pilot_user(int user);

PilotLog* create_pilot_log();
// The successor (else the predecessor) becomes current when `log` was; its file goes too.
void delete_pilot_log(PilotLog* log);
// 1 when the file held a whole, sound log; else 0, after the file is set aside beside itself and the
// player told once ("Log Corrupt", naming it and where it went). The log is then half filled.
int read_pilot_log(PilotLog* log, int file_number);
// A log without a file number takes the first free one; fatal "Too Many Logs" past 30.
void write_pilot_log(PilotLog* log);
// Also sets the debug level from the call sign.
void make_log_current(PilotLog* log);
void make_default_log(PilotLog* log);
void set_debug_level(int level);
// Hours since 1 January 1970.
int32_t current_hour();

// "" for a log without a call sign, and without a log; a status of 0 without a log.
const char* get_log_name(PilotLog* log);
void set_log_name(PilotLog* log, const char* name);
int get_log_rank(PilotLog* log);
void set_log_rank(PilotLog* log, int rank);
int get_log_status(PilotLog* log);
void set_log_status(PilotLog* log, int status);
const char* get_log_status_name(PilotLog* log);
const char* get_log_status_short(PilotLog* log);
const char* get_log_rank_name(PilotLog* log);
const char* get_log_rank_short(PilotLog* log);
// "<rank> <call sign>", or the rank alone; one buffer every call overwrites.
const char* format_rank_and_name(PilotLog* log);
int get_log_medal(PilotLog* log, int medal);
void set_log_medal(PilotLog* log, int medal, int value);
int get_log_awards(PilotLog* log);
int is_default_log(PilotLog* log);
int32_t get_log_status_hour(PilotLog* log);
void set_log_status_hour(PilotLog* log, int32_t hour);
int get_log_radio_call_sign(PilotLog* log);
void set_log_radio_call_sign(PilotLog* log, int call_sign);
int32_t get_log_total_time(PilotLog* log);
int32_t get_log_combat_time(PilotLog* log);
int get_log_missions_flown(PilotLog* log);
int get_log_successful_missions(PilotLog* log);
int get_log_failed_missions(PilotLog* log);
int get_log_outstanding_missions(PilotLog* log);
int get_log_air_kills(PilotLog* log);
int get_log_ground_kills(PilotLog* log);
int get_log_friendly_kills(PilotLog* log);
int get_log_aircraft_lost(PilotLog* log);
void add_log_total_time(PilotLog* log, int32_t ticks);
void add_log_combat_time(PilotLog* log, int32_t ticks);
void add_log_missions_flown(PilotLog* log, int count);
void add_log_successful_missions(PilotLog* log, int count);
void add_log_failed_missions(PilotLog* log, int count);
void add_log_outstanding_missions(PilotLog* log, int count);
void add_log_air_kills(PilotLog* log, int count);
void add_log_ground_kills(PilotLog* log, int count);
void add_log_friendly_kills(PilotLog* log, int count);
void add_log_aircraft_lost(PilotLog* log, int count);

PilotLog* first_pilot_log();
PilotLog* next_pilot_log(PilotLog* log);
PilotLog* get_pilot_log(int index);  // null past the end
void swap_with_next_log(PilotLog* log);

struct UiObject;
extern UiObject* log_screen;
void create_log_screen();

// Adds (or finds) the mission's entry in the log; `campaign` 1 for a campaign mission. Nothing
// for a null log; fatal "Too many missions to log" past 500 entries.
void log_mission_result(PilotLog* log, int mission, int war_zone, int campaign);
void set_log_mission_result(PilotLog* log, int war_zone, int mission, int campaign, int result);
int find_log_mission_result(PilotLog* log, int war_zone, int campaign, int mission);  // 0 when absent

// The current campaign's block.
void set_log_current_campaign(PilotLog* log, int war_zone);
int get_log_current_campaign(PilotLog* log);
int get_campaign_level(PilotLog* log);
void set_campaign_level(PilotLog* log, int level);
int get_campaign_lives(PilotLog* log);
void set_campaign_lives(PilotLog* log, int lives);
int32_t get_campaign_seed(PilotLog* log);
void set_campaign_seed(PilotLog* log, int32_t seed);
// Up: one level more, without limit; down: one less, not below 0.
void step_campaign_level(PilotLog* log, int up);
void lose_campaign_life(PilotLog* log);
// Adds the mission to the log's current campaign block (and the general list). Nothing for a null
// log; fatal "Too many current campaign missions to log" past 64 entries.
void log_campaign_mission(PilotLog* log, int mission);
void set_campaign_mission_result(PilotLog* log, int mission, int result);
int find_campaign_mission_result(PilotLog* log, int mission);  // 0 when absent
void set_campaign_won(PilotLog* log, int war_zone);
int is_campaign_won(PilotLog* log, int war_zone);
void end_campaign(PilotLog* log);

// Counts, campaigns won, one promotion at most and the medals earned; sets the award bits.
void update_log_totals(PilotLog* log);

}  // namespace vyr
