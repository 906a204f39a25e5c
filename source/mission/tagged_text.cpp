#include "source/mission/tagged_text.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "library/debug/fatal.h"
#include "library/debug/notice.h"
#include "library/os/file.h"
#include "library/system/thread.h"

namespace vyr {

const MissionTag mission_tags[] = {
    {TAG_UNKNOWN, "UNKNOWN"}, {TAG_EOF, "EOF"}, {TAG_TITLE, "TITLE"}, {TAG_DESCRIPTION, "DESCRIPTION"},
    {TAG_BRIEFING, "BRIEFING"}, {TAG_PARA, "PARA"},
    {TAG_HIT_X, "HIT X"}, {TAG_HIT_Y, "HIT Y"}, {TAG_HIT_Z, "HIT Z"}, {TAG_MISS_X, "MISS X"},
    {TAG_MISS_Y, "MISS Y"}, {TAG_MISS_Z, "MISS Z"}, {TAG_HIT_EXTRA, "HIT EXTRA"}, {TAG_HIT_KEEP, "HIT KEEP"},
    {TAG_OUTSTANDING, "OUTSTANDING"}, {TAG_SUCCESS, "SUCCESS"}, {TAG_FAILURE, "FAILURE"},
    {TAG_GAME_FLOW, "GAME FLOW"}, {TAG_WAR_ZONE, "WAR ZONE"}, {TAG_CAMPAIGN_LEVEL, "CAMPAIGN LEVEL"},
    {TAG_TASK, "TASK"}, {TAG_USER_TASK, "USER TASK"}, {TAG_SIDE, "SIDE"}, {TAG_TASK_TYPE, "TASK TYPE"},
    {TAG_BATTLE_CELL, "BATTLE CELL"},
    {TAG_DRONE, "DRONE"}, {TAG_DRONE_TYPE, "DRONE TYPE"}, {TAG_FORMATION_TYPE, "FORMATION TYPE"},
    {TAG_DRONE_START, "DRONE START"}, {TAG_KILL_FAILURE, "KILL FAILURE"}, {TAG_KILL_SUCCESS, "KILL SUCCESS"},
    {TAG_KILL_OUTSTANDING, "KILL OUTSTANDING"}, {TAG_WAYPOINT, "WAYPOINT"}, {TAG_START_WAYPOINT, "START WAYPOINT"},
    {TAG_ALLIED_CAP, "ALLIED CAP"}, {TAG_ENEMY_CAP, "ENEMY CAP"}, {TAG_ALLIED_AWACS, "ALLIED AWACS"},
    {TAG_ENEMY_AWACS, "ENEMY AWACS"}, {TAG_ALLIED_GROUND, "ALLIED GROUND"}, {TAG_ENEMY_GROUND, "ENEMY GROUND"},
    {TAG_OBJECTS_TO_DESTROY, "OBJECTS TO DESTROY"}, {TAG_TIME_LIMIT, "TIME LIMIT"},
    {TAG_GLOBAL_TIME_OUT, "GLOBAL TIME OUT"}, {TAG_ALLIED_SKILL, "ALLIED SKILL"}, {TAG_ENEMY_SKILL, "ENEMY SKILL"},
    {TAG_WIND_DIRECTION, "WIND DIRECTION"}, {TAG_WIND_SPEED, "WIND SPEED"},
    {TAG_WEATHER_CONDITION, "WEATHER CONDITION"}, {TAG_NO_COLLISIONS, "NO COLLISIONS"},
    {TAG_INFINITE_WEAPONS, "INFINITE WEAPONS"}, {TAG_INFINITE_FUEL, "INFINITE FUEL"},
    {TAG_FIXED_MIN_WEIGHT, "FIXED MIN WEIGHT"}, {TAG_NO_FIRE, "NO FIRE"}, {TAG_LASER_TIMEOUT, "LASER TIMEOUT"},
    {TAG_TIME, "TIME"},
    {TAG_START_AIRBORNE, "START AIRBORNE"}, {TAG_START_AIRBORNE_POSITION, "START AIRBORNE POSITION"},
    {TAG_START_AIRBORNE_SPEED, "START AIRBORNE SPEED"}, {TAG_START_AIRBORNE_AUTOPILOT, "START AIRBORNE AUTOPILOT"},
    {TAG_START_AIRBORNE_WAYPOINT, "START AIRBORNE WAYPOINT"},
    {TAG_START_AIRBORNE_AUTOTRACK, "START AIRBORNE AUTOTRACK"},
    {TAG_START_AIRBORNE_AUTOTARGET, "START AIRBORNE AUTOTARGET"},
    {TAG_WEAPON, "WEAPON"}, {TAG_GUN, "GUN"}, {TAG_END_AIRBORNE, "END AIRBORNE"},
    {TAG_END_AIRBORNE_AREA, "END AIRBORNE AREA"}, {TAG_OBJECTS_FOR_X, "OBJECTS FOR X"},
    {TAG_OBJECTS_FOR_Z, "OBJECTS FOR Z"}, {TAG_EXTRA_TARGETS, "EXTRA TARGETS"},
    {TAG_OBJECTS_NEVER_DESTROYED, "OBJECTS NEVER DESTROYED"}, {TAG_OBJECTS_ALSO_DESTROYED, "OBJECTS ALSO DESTROYED"},
    {TAG_GAMEPLAY, "GAMEPLAY"}, {TAG_GAMEPLAY_SIDES, "GAMEPLAY SIDES"}, {TAG_GAMEPLAY_AAA, "GAMEPLAY AAA"},
    {TAG_GAMEPLAY_SAM, "GAMEPLAY SAM"}, {TAG_GAMEPLAY_TANKS, "GAMEPLAY TANKS"}, {TAG_GAMEPLAY_APC, "GAMEPLAY APC"},
    {TAG_GAMEPLAY_RECON, "GAMEPLAY RECON"}, {TAG_GAMEPLAY_LASER, "GAMEPLAY LASER"},
    {TAG_GAMEPLAY_KEEP, "GAMEPLAY KEEP"}, {TAG_GAMEPLAY_EXTRA, "GAMEPLAY EXTRA"},
    {TAG_FAILURE_COUNT, "FAILURE COUNT"}, {TAG_SUCCESS_COUNT, "SUCCESS COUNT"},
    {TAG_OUTSTANDING_COUNT, "OUTSTANDING COUNT"}, {TAG_DESTROY, "DESTROY"}, {TAG_LASER_DESIGNATED, "LASER DESIGNATED"},
    {TAG_DRONE_CARGO, "DRONE CARGO"}, {TAG_DRONE_ONBOARD, "DRONE ONBOARD"}, {TAG_DRONE_NOTIFY, "DRONE NOTIFY"},
    {TAG_DRONE_EXPLODE, "DRONE EXPLODE"}, {TAG_DRONE_UNARMED, "DRONE UNARMED"},
    {TAG_HUMANS_LOADED_COUNT, "HUMANS LOADED COUNT"}, {TAG_HUMANS_DEPLOYED_COUNT, "HUMANS DEPLOYED COUNT"},
    {-1, nullptr},
};

int32_t mission_tag = TAG_UNKNOWN;
char tagged_file_name[128] = "";
int32_t tagged_line_number = 0;

namespace {

constexpr const char* SOURCE = "source/mission/tagged_text";

// Carries a handler's error out to the parse that ends the program with it.
struct TaggedFileError {
    std::string text;
};

}  // namespace

std::string try_parse_tagged_lines(const char* file_name, char* buffer, size_t length, TaggedLineHandler handler,
                                   void* context) {
    std::snprintf(tagged_file_name, sizeof tagged_file_name, "%s", file_name);
    tagged_line_number = 0;
    for (size_t i = 0; i < length; ++i) {
        if (buffer[i] == '\n') buffer[i] = '\0';
        else if (buffer[i] == '\t') buffer[i] = ' ';
    }
    // A line's number is the count of line feeds before it, plus one.
    int line_feeds = 0;
    size_t i = 0;
    try {
        while (i < length) {
            if (buffer[i] == '\0') {
                ++line_feeds;
                ++i;
                continue;
            }
            char* line = buffer + i;
            bool complete = false;
            for (; i < length; ++i) {
                if (buffer[i] == '\r') buffer[i] = '\0';
                if (i + 1 < length && buffer[i + 1] == '\0') {
                    complete = true;
                    ++i;
                    break;
                }
            }
            if (!complete) break;
            tagged_line_number = line_feeds + 1;
            if (line[0] != '\0') handler(line, context);
            yield_if_due();
        }
    } catch (const TaggedFileError& error) {
        return error.text;
    }
    return {};
}

void parse_tagged_lines(const char* file_name, char* buffer, size_t length, TaggedLineHandler handler,
                        void* context) {
    const std::string error = try_parse_tagged_lines(file_name, buffer, length, handler, context);
    if (!error.empty()) report_fatal_error("%s", SOURCE, __LINE__, error.c_str());
}

void refuse_tagged_file(const char* path, const std::string& error) {
    if (!is_player_file(path)) report_fatal_error("%s", SOURCE, __LINE__, error.c_str());
    show_notice("This mission cannot be loaded: %s", error.c_str());
}

void tagged_file_error(const char* format, ...) {
    char text[256];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    char place[192];
    std::snprintf(place, sizeof place, " in %s line %d", tagged_file_name, int(tagged_line_number));
    throw TaggedFileError{std::string(text) + place};
}

void upper_case_tag(char* line) {
    for (char* c = line + 1; *c; ++c) *c = char(std::toupper(static_cast<unsigned char>(*c)));
}

int find_mission_tag(char* line) {
    upper_case_tag(line);
    const char* name = line + 1;
    size_t size = std::strlen(name);
    while (size > 0 && name[size - 1] == ' ') --size;
    for (const MissionTag* row = mission_tags; row->id != -1; ++row)
        if (std::strlen(row->name) == size && std::memcmp(row->name, name, size) == 0) return row->id;
    return TAG_UNKNOWN;
}

int is_tag_line(const char* line) { return line[0] == ':' && line[1] != ':'; }

}  // namespace vyr
