// The tagged text files of the missions: lines ended by a line feed, ":NAME" tag lines selecting
// a tag of the one tag table, and the data lines under them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vyr {

enum MissionTagId : int32_t {
    TAG_UNKNOWN = 0, TAG_EOF, TAG_TITLE, TAG_DESCRIPTION, TAG_BRIEFING, TAG_PARA,
    TAG_HIT_X, TAG_HIT_Y, TAG_HIT_Z, TAG_MISS_X, TAG_MISS_Y, TAG_MISS_Z, TAG_HIT_EXTRA, TAG_HIT_KEEP,
    TAG_OUTSTANDING, TAG_SUCCESS, TAG_FAILURE,
    TAG_GAME_FLOW, TAG_WAR_ZONE, TAG_CAMPAIGN_LEVEL,
    TAG_TASK, TAG_USER_TASK, TAG_SIDE, TAG_TASK_TYPE, TAG_BATTLE_CELL,
    TAG_DRONE, TAG_DRONE_TYPE, TAG_FORMATION_TYPE, TAG_DRONE_START, TAG_KILL_FAILURE, TAG_KILL_SUCCESS,
    TAG_KILL_OUTSTANDING, TAG_WAYPOINT, TAG_START_WAYPOINT,
    TAG_ALLIED_CAP, TAG_ENEMY_CAP, TAG_ALLIED_AWACS, TAG_ENEMY_AWACS, TAG_ALLIED_GROUND, TAG_ENEMY_GROUND,
    TAG_OBJECTS_TO_DESTROY, TAG_TIME_LIMIT, TAG_GLOBAL_TIME_OUT, TAG_ALLIED_SKILL, TAG_ENEMY_SKILL,
    TAG_WIND_DIRECTION, TAG_WIND_SPEED, TAG_WEATHER_CONDITION, TAG_NO_COLLISIONS, TAG_INFINITE_WEAPONS,
    TAG_INFINITE_FUEL, TAG_FIXED_MIN_WEIGHT, TAG_NO_FIRE, TAG_LASER_TIMEOUT, TAG_TIME,
    TAG_START_AIRBORNE, TAG_START_AIRBORNE_POSITION, TAG_START_AIRBORNE_SPEED, TAG_START_AIRBORNE_AUTOPILOT,
    TAG_START_AIRBORNE_WAYPOINT, TAG_START_AIRBORNE_AUTOTRACK, TAG_START_AIRBORNE_AUTOTARGET,
    TAG_WEAPON, TAG_GUN, TAG_END_AIRBORNE, TAG_END_AIRBORNE_AREA, TAG_OBJECTS_FOR_X,
    TAG_OBJECTS_FOR_Z = 68, TAG_EXTRA_TARGETS, TAG_OBJECTS_NEVER_DESTROYED, TAG_OBJECTS_ALSO_DESTROYED,
    TAG_GAMEPLAY, TAG_GAMEPLAY_SIDES, TAG_GAMEPLAY_AAA, TAG_GAMEPLAY_SAM, TAG_GAMEPLAY_TANKS, TAG_GAMEPLAY_APC,
    TAG_GAMEPLAY_RECON, TAG_GAMEPLAY_LASER, TAG_GAMEPLAY_KEEP, TAG_GAMEPLAY_EXTRA,
    TAG_FAILURE_COUNT, TAG_SUCCESS_COUNT, TAG_OUTSTANDING_COUNT, TAG_DESTROY, TAG_LASER_DESIGNATED,
    TAG_DRONE_CARGO, TAG_DRONE_ONBOARD, TAG_DRONE_NOTIFY, TAG_DRONE_EXPLODE, TAG_DRONE_UNARMED,
    TAG_HUMANS_LOADED_COUNT, TAG_HUMANS_DEPLOYED_COUNT,
};

struct MissionTag {
    int32_t id;
    const char* name;  // upper case
};

// Every tag, in lookup order, ended by a row with id -1.
extern const MissionTag mission_tags[];

// The current tag of the file being parsed; each parse starts it at TAG_UNKNOWN.
extern int32_t mission_tag;

// The file being parsed and the number (from 1) of the line handed on last, for the messages.
extern char tagged_file_name[128];
extern int32_t tagged_line_number;

using TaggedLineHandler = void (*)(char* line, void* context);

// Splits `buffer` in place into lines and hands each non-empty one to `handler`, yielding after
// each. Tabs become blanks, a carriage return ends the visible line (the rest up to the line feed
// is skipped), and a last line without a line feed is never handed on.
void parse_tagged_lines(const char* file_name, char* buffer, size_t length, TaggedLineHandler handler,
                        void* context);
// The same, but a handler's error does not end the program: no further line is handed on and its
// text, naming the file and line, comes back. Empty when every line was taken.
std::string try_parse_tagged_lines(const char* file_name, char* buffer, size_t length, TaggedLineHandler handler,
                                   void* context);

// After a failed try_parse_tagged_lines of `path`: fatal for a file of the data's own; for the
// player's own (a saved or loose mission) a message box says why it cannot be loaded.
void refuse_tagged_file(const char* path, const std::string& error);

// Upper-cases the name of a line beginning ":" in place.
void upper_case_tag(char* line);
// The id of a line beginning ":", its name upper-cased in place and compared with its trailing
// blanks cut (a blank after the colon spoils it); TAG_UNKNOWN when no row matches.
int find_mission_tag(char* line);
// 1 for a line beginning ":" but not "::".
int is_tag_line(const char* line);

// From a line handler: ends the parse with the text, naming the file and the line being parsed
// (fatal unless the parse was try_parse_tagged_lines); no further line of the file is handed on.
[[noreturn]] void tagged_file_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vyr
