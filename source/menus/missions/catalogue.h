// The mission catalogue: every mission's texts and header, read at start-up from the language's
// missions.blk or from the loose mission files, the list filter the menus walk it through, and
// the names of the mission files.
#pragma once

#include <cstdint>

#include "source/mission/mission.h"

namespace vyr {

// Newest first until sorted.
extern Mission* mission_catalogue;

extern int32_t mission_filter_zone;  // 0 any
extern int32_t mission_filter_flow;  // 0 any
extern int32_t mission_filter_level;

// Builds the catalogue (once, at start-up) and registers its release at exit. A missions.blk
// whose lengths are negative or run past the file, or which lacks its closing -1, is fatal.
void load_mission_catalogue();
void free_mission_catalogue();

// A zeroed record at the head of the catalogue.
Mission* create_mission_record();
// One missions.blk record: the whole text file and the whole header file of a mission.
Mission* add_catalogue_entry(int number, int text_length, char* text, int header_length, char* header);
// Null when a file of the player's was refused (see refuse_tagged_file); a bad file of the data's is
// fatal.
Mission* add_loose_mission(int number, const char* text_path, const char* header_path);
// 0 when the player's file was refused.
int read_mission_text_file(const char* path, Mission* mission);
int read_mission_header_file(const char* path, Mission* mission);
// Line handlers of the text and header files (context: the Mission).
void parse_mission_text(char* line, void* context);
void parse_mission_header(char* line, void* context);

// The old text, a separator and the line, in a new heap block (the old one is freed). The
// separator is a line feed with `new_line`, else one blank unless the old text is empty or ends in
// a blank or a line feed. A null old text gives a copy of the line.
char* append_mission_text(char* text, const char* line, int new_line);

void add_mission_title(Mission* mission, const char* line);
// A null line starts a new paragraph.
void add_mission_description(Mission* mission, const char* line);
void add_mission_briefing(Mission* mission, const char* line);
void add_mission_hit_x_text(Mission* mission, const char* line);
void add_mission_hit_y_text(Mission* mission, const char* line);
void add_mission_hit_z_text(Mission* mission, const char* line);
void add_mission_miss_x_text(Mission* mission, const char* line);
void add_mission_miss_y_text(Mission* mission, const char* line);
void add_mission_miss_z_text(Mission* mission, const char* line);
void add_mission_hit_extra_text(Mission* mission, const char* line);
void add_mission_hit_keep_text(Mission* mission, const char* line);
void add_mission_outstanding_text(Mission* mission, const char* line);
void add_mission_success_text(Mission* mission, const char* line);
void add_mission_failure_text(Mission* mission, const char* line);
void set_mission_flow(Mission* mission, int flow);
void set_mission_zone(Mission* mission, int zone);
void set_mission_level(Mission* mission, int level);

// The filter; clearing it leaves the level.
void clear_mission_filter();
void set_mission_filter_zone(int zone);
void set_mission_filter_training();
void set_mission_filter_single();
void set_mission_filter_campaign();
void set_mission_filter_flow_8();
void set_mission_filter_level(int level);
int get_mission_filter_zone();
int get_mission_filter_flow();
int get_mission_filter_level();

// 1 when the filter excludes the mission.
int mission_filtered_out(const Mission* mission);
Mission* first_listed_mission();
Mission* next_listed_mission(Mission* mission);  // null at the end

// Ascending by number; equal numbers keep their order.
void sort_mission_catalogue();
void swap_with_next_mission(Mission* mission);
// Unlinks the record and, for a number other than 0, deletes its data file.
void delete_mission(Mission* mission);
// Unlinks the record and frees it with its texts.
void free_mission_record(Mission* mission);

// A new heap name of at most 9 characters, as ISRALQ01, USAT07 or KOREAMC1; a war zone outside
// 1..5 is fatal.
char* make_mission_name(int zone, int flow, int number);
// The language's folder and the mission's name, as "french\CYPUSS04"; a new heap text.
char* language_folder(int zone, int flow, int number);

// The quick-start mission of `quick_start_kind`, loaded; a network game's mission, loaded. 0 when
// the player's own data file for it was refused (see load_mission): nothing is loaded.
int prepare_quick_mission();
int load_network_mission();

}  // namespace vyr
