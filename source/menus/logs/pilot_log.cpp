#include "source/menus/logs/pilot_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "library/debug/fatal.h"
#include "library/debug/notice.h"
#include "library/os/file.h"
#include "library/os/path.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "source/mission/mission.h"

namespace vyr {

int32_t debug_mode = 0;
int32_t debug_flag = 0;
PilotLog* pilot_logs = nullptr;
PilotLog* current_pilot_log = nullptr;
int32_t current_user = 0;
char user_names[LOG_USERS][LOG_USER_NAME_SIZE] = {};

namespace {

constexpr const char* SOURCE = "source/menus/logs/pilot_log";
constexpr const char* CURRENT_USER_FILE = "log\\current.log";
constexpr const char* DEFAULT_CALL_SIGN = "de Fault";
constexpr int DEFAULT_RANK = 6;
constexpr int DEFAULT_CAMPAIGN_LEVEL = 3;
constexpr int WON_CAMPAIGN_LEVEL = 11;
constexpr int TRAINING_ZONE = 5;
constexpr int32_t END_OF_LIST = -1;

const char* const RANK_NAMES[LOG_RANKS] = {"Unknown", "Civilian", "2nd Lieutenant", "1st Lieutenant",
                                           "Captain", "Major",    "Lt Colonel",     "Colonel"};
const char* const RANK_SHORT[LOG_RANKS] = {"Unknown", "Civil", "2nd Lt", "1st Lt", "Cptn", "Major", "Lt Col", "Col"};
const char* const STATUS_NAMES[LOG_STATUSES] = {
    "Unknown",         "Immortal", "Active",           "Retired",            "Inactive",  "Missing In Action",
    "Prisoner Of War", "Injured",  "Killed In Action", "Killed In Training", "Dismissed", "Dead"};
const char* const STATUS_SHORT[LOG_STATUSES] = {"Unknown", "Imm", "Act", "Ret", "InA", "MIA",
                                                "POW",     "Inj", "KIA", "KIT", "Dis", "RIP"};

// Hours after which a pilot with the status reports for duty again; 0: never.
constexpr int RETURN_HOURS[LOG_STATUSES] = {0, 0, 0, 0, 24, 48, 96, 24, 0, 0, 0, 0};

int rank_index(const PilotLog* log) { return log->rank >= 0 && log->rank < LOG_RANKS ? log->rank : 0; }
int status_index(const PilotLog* log) { return log->status >= 0 && log->status < LOG_STATUSES ? log->status : 0; }

struct SpecialCallSign {
    const char* call_sign;
    int level;
};
const SpecialCallSign SPECIAL_CALL_SIGNS[] = {
    {"Brannok", 3}, {"Quelvine", 5}, {"W", 8},         {"JorvS", 3},     {"Ms Quibbler", 8},
    {"Vex", 3},     {"Tall Socks", 3}, {"Brown Elk", 2}, {"Marmalade", 3}, {"Flapjacks", 3},
    {"Scones", 0},  {"UVK", 0},      {"Ned Fox", 3}};

// Promotion steps: the score that earns each rank, checked in this order.
struct Promotion {
    int score;
    int rank;
};
constexpr Promotion PROMOTIONS[] = {{5, 3}, {15, 4}, {30, 5}, {40, 6}, {50, 7}};

bool exit_handler_added = false;
// Saving waits for a complete load: a log that failed to load must not be written over.
bool logs_loaded = false;

std::string log_file_name(int user, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "log\\log%d.%d", user, number);
    return name;
}

std::string user_file_name(int user) {
    char name[32];
    std::snprintf(name, sizeof name, "log\\user.%d", user);
    return name;
}

// A fresh player's directory has no "log" folder; without it every log would be lost unseen.
void save_log_file(const std::string& name, const void* bytes, size_t size) {
    std::error_code error;
    if (find_path({}, "log").empty()) std::filesystem::create_directory("log", error);
    if (!save_file(name.c_str(), bytes, size)) std::fprintf(stderr, "vyr: cannot write %s\n", name.c_str());
}

// The text of a small file (a user or current-user file), "" when there is none.
std::string read_text_file(const std::string& name) {
    if (!check_file_exists(name.c_str())) return {};
    size_t size = 0;
    char* bytes = static_cast<char*>(load_file_alloc(name.c_str(), &size, SOURCE, __LINE__));
    std::string text(bytes ? bytes : "", bytes ? strnlen(bytes, size) : 0);
    free_memory(bytes, SOURCE, __LINE__);
    return text;
}

int leading_number(const std::string& text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    return value < INT32_MIN || value > INT32_MAX ? 0 : int(value);
}

void free_entries(LogMissionEntry** entries, int count) {
    for (int i = 0; i < count; ++i) {
        delete entries[i];
        entries[i] = nullptr;
    }
}

void init_campaign_blocks(PilotLog* log) {
    for (LogCampaignBlock& block : log->campaigns) {
        block.level = DEFAULT_CAMPAIGN_LEVEL;
        block.lives = block.seed = 0;
        free_entries(block.missions, LOG_CAMPAIGN_MISSIONS);
    }
}

void free_pilot_log(PilotLog* log) {
    free_entries(log->missions, LOG_MISSIONS);
    for (LogCampaignBlock& block : log->campaigns) free_entries(block.missions, LOG_CAMPAIGN_MISSIONS);
    delete[] log->name;
    delete log;
}

void unlink_log(PilotLog* log) {
    if (log->prev) log->prev->next = log->next;
    else pilot_logs = log->next;
    if (log->next) log->next->prev = log->prev;
    log->next = log->prev = nullptr;
}

void free_all_logs() {
    while (pilot_logs) {
        PilotLog* log = pilot_logs;
        unlink_log(log);
        free_pilot_log(log);
    }
    current_pilot_log = nullptr;
}

LogMissionEntry* find_entry(PilotLog* log, int war_zone, int campaign, int mission) {
    for (LogMissionEntry* entry : log->missions)
        if (entry && entry->mission == mission && entry->war_zone == war_zone && entry->campaign == campaign)
            return entry;
    return nullptr;
}

LogCampaignBlock& current_block(PilotLog* log) {
    const int zone = log->current_campaign;
    return log->campaigns[zone >= 1 && zone <= LOG_CAMPAIGN_ZONES ? zone : 0];
}

LogMissionEntry* find_campaign_entry(PilotLog* log, int mission) {
    for (LogMissionEntry* entry : current_block(log).missions)
        if (entry && entry->mission == mission) return entry;
    return nullptr;
}

// The entry found or added; null when the list is full.
LogMissionEntry* add_entry(LogMissionEntry** entries, int count, int mission, int war_zone, int campaign) {
    for (int i = 0; i < count; ++i)
        if (!entries[i]) return entries[i] = new LogMissionEntry{mission, war_zone, campaign, LOG_NOT_FLOWN};
    return nullptr;
}

bool add_general_entry(PilotLog* log, int mission, int war_zone, int campaign) {
    return find_entry(log, war_zone, campaign, mission) ||
           add_entry(log->missions, LOG_MISSIONS, mission, war_zone, campaign);
}

bool add_campaign_entry(PilotLog* log, int mission) {
    if (!add_general_entry(log, mission, log->current_campaign, 1)) return false;
    return find_campaign_entry(log, mission) ||
           add_entry(current_block(log).missions, LOG_CAMPAIGN_MISSIONS, mission, log->current_campaign, 1);
}

// Carries what is wrong with a log file out to read_pilot_log.
struct LogCorrupt {
    const char* fault;
};

// A log file read field by field; anything that is not a whole, sound log is LogCorrupt.
class LogReader {
public:
    LogReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    [[noreturn]] void corrupt(const char* fault) const { throw LogCorrupt{fault}; }
    int32_t word(const char* what) {
        if (size_ - at_ < 4) corrupt(what);
        const uint8_t* p = bytes_ + at_;
        at_ += 4;
        return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }
    int32_t ranged(const char* what, int32_t low, int32_t high) {
        int32_t value = word(what);
        if (value < low || value > high) corrupt(what);
        return value;
    }
    const char* text(const char* what) {
        if (at_ == size_) corrupt(what);
        const void* end = std::memchr(bytes_ + at_, 0, size_ - at_);
        if (!end) corrupt(what);
        const char* start = reinterpret_cast<const char*>(bytes_ + at_);
        at_ = size_t(static_cast<const uint8_t*>(end) - bytes_) + 1;
        return start;
    }
    bool at_end() const { return at_ == size_; }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
};

void return_to_duty(PilotLog* log) {
    const int hours = RETURN_HOURS[status_index(log)];
    if (hours && current_hour() - log->status_hour >= hours) set_log_status(log, LOG_STATUS_ACTIVE);
}

void put_word(std::vector<uint8_t>& bytes, int32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(uint32_t(value) >> shift));
}

int count_results(PilotLog* log, int result) {
    int count = 0;
    for (LogMissionEntry* entry : log->missions)
        if (entry && entry->war_zone != TRAINING_ZONE && !entry->campaign && entry->result == result) ++count;
    return count;
}

void award_medal(PilotLog* log, int medal, bool earned) {
    if (!earned || log->medals[medal]) return;
    log->medals[medal] = 1;
    log->award_bits |= LOG_AWARD_MEDAL_1 << medal;
}

void save_at_exit() { save_pilot_logs(); }

int current_radio_call_sign() { return current_pilot_log ? current_pilot_log->radio_call_sign : 0; }

void read_log_fields(PilotLog* log, LogReader& in) {
    set_log_name(log, in.text("the call sign has no end"));
    const int32_t radio = in.word("a short header");
    log->radio_call_sign = radio >= 1 && radio <= 20 ? radio : LOG_DEFAULT_RADIO_CALL_SIGN;
    log->rank = in.ranged("the rank is out of range", 0, LOG_RANKS - 1);
    log->status = in.ranged("the status is out of range", 0, LOG_STATUSES - 1);
    log->air_kills = in.word("a short header");
    log->ground_kills = in.word("a short header");
    log->friendly_kills = in.word("a short header");
    log->aircraft_lost = in.word("a short header");
    log->total_time = in.word("a short header");
    log->combat_time = in.word("a short header");
    log->status_hour = in.word("a short header");
    log->default_flag = in.word("a short header");
    for (int32_t& medal : log->medals) medal = in.word("a short header");

    for (;;) {
        const int32_t zone = in.word("the mission list has no end");
        if (zone == END_OF_LIST) break;
        const int32_t mission = in.word("a short mission entry");
        const int32_t result = in.word("a short mission entry");
        const int32_t campaign = in.word("a short mission entry");
        if (campaign) continue;  // rebuilt from the campaign blocks
        if (!add_general_entry(log, mission, zone, 0)) in.corrupt("more than 500 missions");
        set_log_mission_result(log, zone, mission, 0, result);
    }
    const int32_t current = in.ranged("the current campaign is out of range", 0, LOG_CAMPAIGN_ZONES);
    for (int zone = 1; zone <= LOG_CAMPAIGN_ZONES; ++zone) {
        log->current_campaign = zone;
        LogCampaignBlock& block = log->campaigns[zone];
        block.level = in.word("a short campaign block");
        block.lives = in.word("a short campaign block");
        block.seed = in.word("a short campaign block");
        for (;;) {
            const int32_t mission = in.word("a campaign list has no end");
            if (mission == END_OF_LIST) break;
            const int32_t result = in.word("a short campaign entry");
            if (!add_campaign_entry(log, mission)) in.corrupt("more than 64 campaign missions or 500 missions");
            set_campaign_mission_result(log, mission, result);
        }
    }
    log->current_campaign = current;
    for (;;) {
        const int32_t zone = in.word("the won list has no end");
        if (zone == END_OF_LIST) break;
        set_campaign_won(log, zone);
    }
    if (!in.at_end()) in.corrupt("has bytes after its end");
}

// A log that could not be read leaves the list; its file stays where it is.
void discard_log(PilotLog* log) {
    if (log == current_pilot_log) current_pilot_log = nullptr;
    unlink_log(log);
    free_pilot_log(log);
}

}  // namespace

int32_t current_hour() { return int32_t(std::time(nullptr) / 3600); }

void init_pilot_logs() {
    const int user = leading_number(read_text_file(CURRENT_USER_FILE));
    current_user = user >= 0 && user < LOG_USERS ? user : 0;
    for (int u = 0; u < LOG_USERS; ++u) {
        const std::string text = read_text_file(user_file_name(u));
        const size_t blank = text.find(' ');
        const std::string name = blank == std::string::npos ? "" : text.substr(blank + 1, LOG_USER_NAME_SIZE - 1);
        std::snprintf(user_names[u], LOG_USER_NAME_SIZE, "%s", name.c_str());
    }
    load_user_logs();
    set_radio_call_sign_source(current_radio_call_sign);
    if (!exit_handler_added) add_exit_handler(save_at_exit);
    exit_handler_added = true;
}

void load_user_logs() {
    logs_loaded = false;
    const int current_number = leading_number(read_text_file(user_file_name(current_user)));
    PilotLog* default_log = nullptr;
    for (int n = 1; n <= LOG_FILES_PER_USER; ++n) {
        if (!check_file_exists(log_file_name(current_user, n).c_str())) continue;
        PilotLog* log = create_pilot_log();
        log->file_number = n;
        if (n == current_number) make_log_current(log);
        if (!read_pilot_log(log, n)) {
            discard_log(log);
            continue;
        }
        if (n == current_number) make_log_current(log);
        if (!log->default_flag) continue;
        if (default_log) delete_pilot_log(log);
        else default_log = log;
    }
    if (!default_log) {
        default_log = create_pilot_log();
        make_default_log(default_log);
        write_pilot_log(default_log);
        make_log_current(default_log);
    }
    if (!current_pilot_log) make_log_current(pilot_logs);
    logs_loaded = true;
}

void save_pilot_logs() {
    if (!logs_loaded) return;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", current_user);
    save_log_file(CURRENT_USER_FILE, text, size_t(length) + 1);
    for (PilotLog* log = pilot_logs; log; log = log->next) {
        write_pilot_log(log);
        if (log != current_pilot_log) continue;
        const std::string user = std::to_string(log->file_number) + " " + user_names[current_user];
        save_log_file(user_file_name(current_user), user.c_str(), user.size() + 1);
        break;
    }
}

void switch_pilot_user(int user) {
    if (user == current_user || user < 0 || user >= LOG_USERS) return;
    save_pilot_logs();
    free_all_logs();
    current_user = user;
    load_user_logs();
}

PilotLog* create_pilot_log() {
    PilotLog* log = new PilotLog{};
    init_campaign_blocks(log);
    if (!pilot_logs) {
        pilot_logs = log;
        return log;
    }
    PilotLog* last = pilot_logs;
    while (last->next) last = last->next;
    last->next = log;
    log->prev = last;
    return log;
}

void delete_pilot_log(PilotLog* log) {
    if (log == current_pilot_log) {
        current_pilot_log = nullptr;
        if (PilotLog* other = log->next ? log->next : log->prev) make_log_current(other);
    }
    unlink_log(log);
    if (log->file_number) delete_file(log_file_name(current_user, log->file_number).c_str());
    free_pilot_log(log);
}

int read_pilot_log(PilotLog* log, int file_number) {
    const std::string name = log_file_name(current_user, file_number);
    size_t size = 0;
    uint8_t* bytes = static_cast<uint8_t*>(load_file_alloc(name.c_str(), &size, SOURCE, __LINE__));
    LogReader in(bytes, bytes ? size : 0);
    const char* fault = nullptr;
    try {
        read_log_fields(log, in);
    } catch (const LogCorrupt& corrupt) {
        fault = corrupt.fault;
    }
    free_memory(bytes, SOURCE, __LINE__);
    if (!fault) {
        return_to_duty(log);
        update_log_totals(log);
        return 1;
    }
    // The player's own record: kept whole beside itself, never written over, and no lock-out.
    const std::string aside = set_file_aside(name.c_str());
    if (aside.empty())
        show_notice("Log Corrupt: %s %s. It could not be set aside; the game starts without it.", name.c_str(),
                    fault);
    else
        show_notice("Log Corrupt: %s %s. It is kept as %s; the game starts without it.", name.c_str(), fault,
                    aside.c_str());
    return 0;
}


void write_pilot_log(PilotLog* log) {
    if (!log->file_number) {
        int n = 1;
        while (n <= LOG_FILES_PER_USER && check_file_exists(log_file_name(current_user, n).c_str())) ++n;
        if (n > LOG_FILES_PER_USER) report_fatal_error("Too Many Logs", SOURCE, __LINE__);
        log->file_number = n;
    }
    std::vector<uint8_t> bytes;
    const char* name = get_log_name(log);
    bytes.insert(bytes.end(), name, name + std::strlen(name) + 1);
    for (int32_t value : {log->radio_call_sign, log->rank, log->status, log->air_kills, log->ground_kills,
                          log->friendly_kills, log->aircraft_lost, log->total_time, log->combat_time,
                          log->status_hour, log->default_flag, log->medals[0], log->medals[1], log->medals[2]})
        put_word(bytes, value);
    for (const LogMissionEntry* entry : log->missions) {
        if (!entry) continue;
        for (int32_t value : {entry->war_zone, entry->mission, entry->result, entry->campaign}) put_word(bytes, value);
    }
    put_word(bytes, END_OF_LIST);
    put_word(bytes, log->current_campaign);
    for (int zone = 1; zone <= LOG_CAMPAIGN_ZONES; ++zone) {
        const LogCampaignBlock& block = log->campaigns[zone];
        for (int32_t value : {block.level, block.lives, block.seed}) put_word(bytes, value);
        for (const LogMissionEntry* entry : block.missions) {
            if (!entry) continue;
            put_word(bytes, entry->mission);
            put_word(bytes, entry->result);
        }
        put_word(bytes, END_OF_LIST);
    }
    for (int zone = 1; zone <= LOG_CAMPAIGN_ZONES; ++zone)
        if (log->won[zone - 1]) put_word(bytes, zone);
    put_word(bytes, END_OF_LIST);
    save_log_file(log_file_name(current_user, log->file_number), bytes.data(), bytes.size());
}

void make_log_current(PilotLog* log) {
    current_pilot_log = log;
    if (!log || !log->name) return;
    int level = 0;
    for (const SpecialCallSign& row : SPECIAL_CALL_SIGNS)
        if (std::strcmp(row.call_sign, log->name) == 0) level = row.level;
    set_debug_level(level);
}

void make_default_log(PilotLog* log) {
    set_log_name(log, DEFAULT_CALL_SIGN);
    if (!log->default_flag) log->rank = DEFAULT_RANK;
    if (log->status != LOG_STATUS_ACTIVE) {
        log->status = LOG_STATUS_ACTIVE;
        log->status_hour = current_hour();
    }
    log->radio_call_sign = LOG_DEFAULT_RADIO_CALL_SIGN;
    log->default_flag = 1;
}

void set_debug_level(int level) {
    debug_mode = level;
    if (level == 1 || level == 4 || level == 5) debug_flag = 1;
    else if (level != 2 && level != 3) debug_flag = 0;
}

const char* get_log_name(PilotLog* log) { return log && log->name ? log->name : ""; }

void set_log_name(PilotLog* log, const char* name) {
    delete[] log->name;
    const size_t length = name ? strnlen(name, LOG_NAME_LENGTH) : 0;
    log->name = new char[length + 1];
    std::memcpy(log->name, name ? name : "", length);
    log->name[length] = '\0';
}

int get_log_rank(PilotLog* log) { return log->rank; }
void set_log_rank(PilotLog* log, int rank) {
    if (!log->default_flag) log->rank = rank;
}
int get_log_status(PilotLog* log) { return log ? log->status : 0; }
void set_log_status(PilotLog* log, int status) {
    if (log->default_flag || status == log->status) return;
    log->status = status;
    log->status_hour = current_hour();
}
// A rank or status set out of range reads as "Unknown".
const char* get_log_status_name(PilotLog* log) { return STATUS_NAMES[status_index(log)]; }
const char* get_log_status_short(PilotLog* log) { return STATUS_SHORT[status_index(log)]; }
const char* get_log_rank_name(PilotLog* log) { return RANK_NAMES[rank_index(log)]; }
const char* get_log_rank_short(PilotLog* log) { return RANK_SHORT[rank_index(log)]; }

const char* format_rank_and_name(PilotLog* log) {
    static char text[LOG_NAME_LENGTH + 32];
    const char* name = get_log_name(log);
    std::snprintf(text, sizeof text, *name ? "%s %s" : "%s", get_log_rank_name(log), name);
    return text;
}

int get_log_medal(PilotLog* log, int medal) { return log->medals[medal]; }
void set_log_medal(PilotLog* log, int medal, int value) { log->medals[medal] = value; }
int get_log_awards(PilotLog* log) { return log->award_bits; }
int is_default_log(PilotLog* log) { return log->default_flag; }
int32_t get_log_status_hour(PilotLog* log) { return log->status_hour; }
void set_log_status_hour(PilotLog* log, int32_t hour) { log->status_hour = hour; }
int get_log_radio_call_sign(PilotLog* log) { return log->radio_call_sign; }
void set_log_radio_call_sign(PilotLog* log, int call_sign) { log->radio_call_sign = call_sign; }
int32_t get_log_total_time(PilotLog* log) { return log->total_time; }
int32_t get_log_combat_time(PilotLog* log) { return log->combat_time; }
int get_log_missions_flown(PilotLog* log) { return log->missions_flown; }
int get_log_successful_missions(PilotLog* log) { return log->successful_missions; }
int get_log_failed_missions(PilotLog* log) { return log->failed_missions; }
int get_log_outstanding_missions(PilotLog* log) { return log->outstanding_missions; }
int get_log_air_kills(PilotLog* log) { return log->air_kills; }
int get_log_ground_kills(PilotLog* log) { return log->ground_kills; }
int get_log_friendly_kills(PilotLog* log) { return log->friendly_kills; }
int get_log_aircraft_lost(PilotLog* log) { return log->aircraft_lost; }
void add_log_total_time(PilotLog* log, int32_t ticks) { log->total_time += ticks; }
void add_log_combat_time(PilotLog* log, int32_t ticks) { log->combat_time += ticks; }
void add_log_missions_flown(PilotLog* log, int count) { log->missions_flown += count; }
void add_log_successful_missions(PilotLog* log, int count) { log->successful_missions += count; }
void add_log_failed_missions(PilotLog* log, int count) { log->failed_missions += count; }
void add_log_outstanding_missions(PilotLog* log, int count) { log->outstanding_missions += count; }
void add_log_air_kills(PilotLog* log, int count) { log->air_kills += count; }
void add_log_ground_kills(PilotLog* log, int count) { log->ground_kills += count; }
void add_log_friendly_kills(PilotLog* log, int count) { log->friendly_kills += count; }
void add_log_aircraft_lost(PilotLog* log, int count) { log->aircraft_lost += count; }

PilotLog* first_pilot_log() { return pilot_logs; }
PilotLog* next_pilot_log(PilotLog* log) { return log ? log->next : nullptr; }

PilotLog* get_pilot_log(int index) {
    PilotLog* log = pilot_logs;
    while (log && index-- > 0) log = log->next;
    return index < 0 || !log ? log : nullptr;
}

void swap_with_next_log(PilotLog* log) {
    PilotLog* next = log ? log->next : nullptr;
    if (!next) return;
    unlink_log(next);
    next->prev = log->prev;
    next->next = log;
    if (log->prev) log->prev->next = next;
    else pilot_logs = next;
    log->prev = next;
}

void log_mission_result(PilotLog* log, int mission, int war_zone, int campaign) {
    if (log && !add_general_entry(log, mission, war_zone, campaign))
        report_fatal_error("Too many missions to log", SOURCE, __LINE__);
}

void set_log_mission_result(PilotLog* log, int war_zone, int mission, int campaign, int result) {
    if (LogMissionEntry* entry = find_entry(log, war_zone, campaign, mission)) entry->result = result;
}

int find_log_mission_result(PilotLog* log, int war_zone, int campaign, int mission) {
    const LogMissionEntry* entry = find_entry(log, war_zone, campaign, mission);
    return entry ? entry->result : 0;
}

void set_log_current_campaign(PilotLog* log, int war_zone) { log->current_campaign = war_zone; }
int get_log_current_campaign(PilotLog* log) { return log->current_campaign; }
int get_campaign_level(PilotLog* log) { return current_block(log).level; }
void set_campaign_level(PilotLog* log, int level) { current_block(log).level = level; }
int get_campaign_lives(PilotLog* log) { return current_block(log).lives; }
void set_campaign_lives(PilotLog* log, int lives) { current_block(log).lives = lives; }
int32_t get_campaign_seed(PilotLog* log) { return current_block(log).seed; }
void set_campaign_seed(PilotLog* log, int32_t seed) { current_block(log).seed = seed; }

void step_campaign_level(PilotLog* log, int up) {
    int32_t& level = current_block(log).level;
    if (up) ++level;
    else if (level > 0) --level;
}

void lose_campaign_life(PilotLog* log) {
    int32_t& lives = current_block(log).lives;
    if (lives > 0) --lives;
}

void log_campaign_mission(PilotLog* log, int mission) {
    if (!log) return;
    if (!add_general_entry(log, mission, log->current_campaign, 1))
        report_fatal_error("Too many missions to log", SOURCE, __LINE__);
    if (!add_campaign_entry(log, mission))
        report_fatal_error("Too many current campaign missions to log", SOURCE, __LINE__);
}

void set_campaign_mission_result(PilotLog* log, int mission, int result) {
    set_log_mission_result(log, log->current_campaign, mission, 1, result);
    if (LogMissionEntry* entry = find_campaign_entry(log, mission)) entry->result = result;
}

int find_campaign_mission_result(PilotLog* log, int mission) {
    const LogMissionEntry* entry = find_campaign_entry(log, mission);
    return entry ? entry->result : 0;
}

void set_campaign_won(PilotLog* log, int war_zone) {
    if (war_zone >= 1 && war_zone <= LOG_CAMPAIGN_ZONES) log->won[war_zone - 1] = 1;
}

int is_campaign_won(PilotLog* log, int war_zone) {
    return war_zone >= 1 && war_zone <= LOG_CAMPAIGN_ZONES ? log->won[war_zone - 1] : 0;
}

void end_campaign(PilotLog* log) {
    LogCampaignBlock& block = current_block(log);
    block.level = DEFAULT_CAMPAIGN_LEVEL;
    block.lives = block.seed = 0;
    free_entries(block.missions, LOG_CAMPAIGN_MISSIONS);
    log->current_campaign = 0;
}

void update_log_totals(PilotLog* log) {
    log->award_bits = 0;
    log->successful_missions = count_results(log, LOG_SUCCESSFUL);
    log->failed_missions = count_results(log, LOG_FAILED);
    log->outstanding_missions = count_results(log, LOG_OUTSTANDING);
    log->missions_flown = 0;
    for (LogMissionEntry* entry : log->missions)
        if (entry && entry->war_zone != TRAINING_ZONE && !entry->campaign) ++log->missions_flown;

    if (log->current_campaign >= 1 && log->current_campaign <= LOG_CAMPAIGN_ZONES &&
        current_block(log).level == WON_CAMPAIGN_LEVEL)
        log->won[log->current_campaign - 1] = 1;
    log->campaigns_won = 0;
    for (int32_t won : log->won) log->campaigns_won += won != 0;

    const int merit = log->successful_missions + log->outstanding_missions;
    const int score = merit + 8 * log->campaigns_won;
    for (const Promotion& step : PROMOTIONS) {
        if (score < step.score || log->rank >= step.rank) continue;
        set_log_rank(log, step.rank);
        log->award_bits |= LOG_AWARD_PROMOTION;
        break;
    }
    const int won = log->campaigns_won;
    award_medal(log, 0, won >= 2 || (won == 1 && merit >= 10));
    award_medal(log, 1, won >= 3 || (won == 2 && merit >= 20));
    award_medal(log, 2, won >= 4 || (won == 3 && merit >= 30));
}

}  // namespace vyr
