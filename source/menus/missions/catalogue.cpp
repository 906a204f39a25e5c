#include "source/menus/missions/catalogue.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"
#include "source/mission/quick_start.h"
#include "source/mission/tagged_text.h"
#include "source/sknet/game_rules.h"
#include "source/startup.h"

namespace vyr {

Mission* mission_catalogue = nullptr;
int32_t mission_filter_zone = 0;
int32_t mission_filter_flow = 0;
int32_t mission_filter_level = 0;

namespace {

constexpr const char* SOURCE = "source/menus/missions/catalogue";

const char* const ZONE_CODES[] = {"ISRAL", "KOREA", "CYPUS", "AFGHN", "USA"};
const char* const LANGUAGE_FOLDERS[] = {"usa\\", "french\\", "german\\", "spanish\\", "italian\\"};
const char* const CATALOGUE_FILES[] = {"missdata\\missions.blk",         "missdata\\usa\\missions.blk",
                                       "missdata\\french\\missions.blk", "missdata\\german\\missions.blk",
                                       "missdata\\spanish\\missions.blk", "missdata\\italian\\missions.blk"};

// The loaded missions.blk: its text and header blocks are parsed in place and kept.
char* catalogue_file = nullptr;
bool exit_handler_added = false;

// The blocks append_mission_text grows while one text file is parsed, with their lengths and
// room, so that a long text is copied a few times rather than once a line. Forgotten after each
// file: nothing but the appending frees such a block meanwhile.
struct GrowingText {
    char* block;
    size_t length;
    size_t room;
};
std::vector<GrowingText> growing_texts;
bool growing_texts_kept = false;

struct GrowingTextsScope {
    GrowingTextsScope() { growing_texts_kept = true; }
    ~GrowingTextsScope() {
        growing_texts.clear();
        growing_texts_kept = false;
    }
    GrowingTextsScope(const GrowingTextsScope&) = delete;
    GrowingTextsScope& operator=(const GrowingTextsScope&) = delete;
};

GrowingText* find_growing_text(const char* block) {
    for (GrowingText& t : growing_texts)
        if (t.block == block) return &t;
    return nullptr;
}

char* copy_text(const char* text) {
    size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(allocate_memory(size, SOURCE, __LINE__));
    std::memcpy(copy, text, size);
    return copy;
}

void free_mission_texts(Mission* mission) {
    for (char** text : {&mission->title, &mission->description, &mission->briefing, &mission->hit_x,
                        &mission->hit_y, &mission->hit_z, &mission->miss_x, &mission->miss_y, &mission->miss_z,
                        &mission->hit_extra, &mission->hit_keep, &mission->outstanding, &mission->success,
                        &mission->failure})
        free_memory(*text, SOURCE, __LINE__);
}

int leading_number(const char* line) {
    long value = std::strtol(line, nullptr, 10);
    return int(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

// A missions.blk read word by word; every length is checked against what is left.
struct CatalogueReader {
    const char* path;
    char* bytes;
    size_t size;
    size_t offset = 0;

    bool read_word(int32_t& value) {
        if (size - offset < 4) return false;
        const auto* b = reinterpret_cast<const uint8_t*>(bytes + offset);
        value = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
        offset += 4;
        return true;
    }
    // The block of a length word; null after reporting a bad one.
    char* read_block(const char* what, int number, int32_t& length) {
        if (!read_word(length)) {
            report_fatal_error("%s: mission %d has no %s length", SOURCE, __LINE__, path, number, what);
            return nullptr;
        }
        if (length < 0 || size_t(length) > size - offset) {
            report_fatal_error("%s: mission %d's %s length %d runs past the file (%zu bytes left)", SOURCE,
                               __LINE__, path, number, what, int(length), size - offset);
            return nullptr;
        }
        char* block = bytes + offset;
        offset += size_t(length);
        return block;
    }
};

void load_catalogue_file(const char* path) {
    size_t size = 0;
    catalogue_file = static_cast<char*>(load_file_alloc(path, &size, SOURCE, __LINE__));
    CatalogueReader reader{path, catalogue_file, catalogue_file ? size : 0};
    for (;;) {
        int32_t number = 0;
        if (!reader.read_word(number)) {
            report_fatal_error("%s: the list of missions does not end with -1", SOURCE, __LINE__, path);
            return;
        }
        if (number == -1) return;
        int32_t text_length = 0, header_length = 0;
        char* text = reader.read_block("text", number, text_length);
        if (!text) return;
        char* header = reader.read_block("header", number, header_length);
        if (!header) return;
        add_catalogue_entry(number, text_length, text, header_length, header);
    }
}

void scan_loose_missions() {
    for (int zone = 1; zone <= 5; ++zone) {
        for (int flow = FLOW_QUICK_START; flow <= FLOW_ALTERNATE; ++flow) {
            const int last = (flow == FLOW_QUICK_START || flow == FLOW_DEATHMATCH || flow == FLOW_CAPTURE_FLAG) ? 2 : 30;
            for (int number = 0; number <= last; ++number) {
                char* name = make_mission_name(zone, flow, number);
                char* folder_name = language_folder(zone, flow, number);
                char text_path[64], header_path[64], data_path[64];
                std::snprintf(text_path, sizeof text_path, "missdata\\%s.txt", folder_name);
                std::snprintf(header_path, sizeof header_path, "missdata\\%s.mis", name);
                std::snprintf(data_path, sizeof data_path, "missdata\\%s.dta", name);
                free_memory(folder_name, SOURCE, __LINE__);
                free_memory(name, SOURCE, __LINE__);
                if (check_file_exists(text_path) && check_file_exists(header_path) && check_file_exists(data_path))
                    add_loose_mission(number, text_path, header_path);
            }
        }
    }
}

int read_tagged_file(const char* path, Mission* mission, TaggedLineHandler handler) {
    mission_tag = TAG_UNKNOWN;
    size_t size = 0;
    char* buffer = static_cast<char*>(load_file_alloc(path, &size, SOURCE, __LINE__));
    const GrowingTextsScope growing;
    const std::string error = buffer ? try_parse_tagged_lines(path, buffer, size, handler, mission) : std::string();
    free_memory(buffer, SOURCE, __LINE__);
    if (!error.empty()) refuse_tagged_file(path, error);
    return error.empty();
}

void unlink_mission(Mission* mission) {
    if (mission->prev) mission->prev->next = mission->next;
    else if (mission_catalogue == mission) mission_catalogue = mission->next;
    if (mission->next) mission->next->prev = mission->prev;
    mission->next = mission->prev = nullptr;
}

// A record whose files were refused leaves the catalogue; the files stay as they are.
Mission* drop_mission_record(Mission* mission) {
    free_mission_record(mission);
    return nullptr;
}

// Null when the mission's data file is the player's and was refused.
Mission* new_loaded_record(int flow, int number) {
    Mission* mission = create_mission_record();
    mission->flow = flow;
    mission->number = number;
    return load_mission(mission) ? mission : drop_mission_record(mission);
}

}  // namespace

void load_mission_catalogue() {
    int language = product_language >= 1 && product_language <= 6 ? product_language : 1;
    const char* path = CATALOGUE_FILES[language - 1];
    if (check_file_exists(path)) load_catalogue_file(path);
    else scan_loose_missions();
    if (!exit_handler_added) {
        exit_handler_added = true;
        add_exit_handler(free_mission_catalogue);
    }
}

void free_mission_catalogue() {
    while (Mission* mission = mission_catalogue) {
        mission_catalogue = mission->next;
        free_mission_texts(mission);
        free_memory(mission, SOURCE, __LINE__);
    }
    free_memory(catalogue_file, SOURCE, __LINE__);
    catalogue_file = nullptr;
}

Mission* create_mission_record() {
    auto* mission = static_cast<Mission*>(allocate_memory(sizeof(Mission), SOURCE, __LINE__));
    std::memset(mission, 0, sizeof *mission);
    mission->next = mission_catalogue;
    if (mission_catalogue) mission_catalogue->prev = mission;
    mission_catalogue = mission;
    return mission;
}

Mission* add_catalogue_entry(int number, int text_length, char* text, int header_length, char* header) {
    Mission* mission = create_mission_record();
    mission->number = number;
    char name[64];
    std::snprintf(name, sizeof name, "mission %d's text in missions.blk", number);
    mission_tag = TAG_UNKNOWN;
    {
        const GrowingTextsScope growing;
        parse_tagged_lines(name, text, size_t(text_length), parse_mission_text, mission);
    }
    std::snprintf(name, sizeof name, "mission %d's header in missions.blk", number);
    mission_tag = TAG_UNKNOWN;
    parse_tagged_lines(name, header, size_t(header_length), parse_mission_header, mission);
    return mission;
}

Mission* add_loose_mission(int number, const char* text_path, const char* header_path) {
    Mission* mission = create_mission_record();
    mission->number = number;
    if (!read_mission_text_file(text_path, mission) || !read_mission_header_file(header_path, mission))
        return drop_mission_record(mission);
    return mission;
}

int read_mission_text_file(const char* path, Mission* mission) {
    return read_tagged_file(path, mission, parse_mission_text);
}
int read_mission_header_file(const char* path, Mission* mission) {
    return read_tagged_file(path, mission, parse_mission_header);
}

void parse_mission_text(char* line, void* context) {
    auto* mission = static_cast<Mission*>(context);
    if (mission_tag == TAG_EOF) return;
    if (is_tag_line(line)) {
        int tag = find_mission_tag(line);
        // PARA breaks the description and leaves it the current tag; elsewhere it does nothing.
        if (tag != TAG_PARA) mission_tag = tag;
        else if (mission_tag == TAG_DESCRIPTION) add_mission_description(mission, nullptr);
        return;
    }
    switch (mission_tag) {
    case TAG_TITLE: add_mission_title(mission, line); break;
    case TAG_DESCRIPTION: add_mission_description(mission, line); break;
    case TAG_BRIEFING: add_mission_briefing(mission, line); break;
    case TAG_HIT_X: add_mission_hit_x_text(mission, line); break;
    case TAG_HIT_Y: add_mission_hit_y_text(mission, line); break;
    case TAG_HIT_Z: add_mission_hit_z_text(mission, line); break;
    case TAG_MISS_X: add_mission_miss_x_text(mission, line); break;
    case TAG_MISS_Y: add_mission_miss_y_text(mission, line); break;
    case TAG_MISS_Z: add_mission_miss_z_text(mission, line); break;
    case TAG_HIT_EXTRA: add_mission_hit_extra_text(mission, line); break;
    case TAG_HIT_KEEP: add_mission_hit_keep_text(mission, line); break;
    case TAG_OUTSTANDING: add_mission_outstanding_text(mission, line); break;
    case TAG_SUCCESS: add_mission_success_text(mission, line); break;
    case TAG_FAILURE: add_mission_failure_text(mission, line); break;
    default: tagged_file_error("Tag Not Defined %d", int(mission_tag));
    }
}

void parse_mission_header(char* line, void* context) {
    auto* mission = static_cast<Mission*>(context);
    if (mission_tag == TAG_EOF) return;
    if (is_tag_line(line)) {
        mission_tag = find_mission_tag(line);
        return;
    }
    switch (mission_tag) {
    case TAG_GAME_FLOW: set_mission_flow(mission, leading_number(line)); break;
    case TAG_WAR_ZONE: set_mission_zone(mission, leading_number(line)); break;
    case TAG_CAMPAIGN_LEVEL: set_mission_level(mission, leading_number(line)); break;
    default: tagged_file_error("Tag Not Defined %d", int(mission_tag));
    }
}

char* append_mission_text(char* text, const char* line, int new_line) {
    if (!text) return copy_text(line);
    GrowingText* growing = find_growing_text(text);
    GrowingText unknown{};
    if (!growing) unknown = {text, std::strlen(text), std::strlen(text) + 1};
    GrowingText& t = growing ? *growing : unknown;
    const size_t line_size = std::strlen(line);
    const char* separator = new_line ? "\n"
                            : (t.length == 0 || text[t.length - 1] == ' ' || text[t.length - 1] == '\n') ? ""
                                                                                                         : " ";
    const size_t separator_size = std::strlen(separator);
    const size_t needed = t.length + separator_size + line_size + 1;
    if (needed > t.room) {
        t.room = std::max(needed, 2 * t.room);
        char* grown = static_cast<char*>(allocate_memory(t.room, SOURCE, __LINE__));
        std::memcpy(grown, t.block, t.length);
        free_memory(t.block, SOURCE, __LINE__);
        t.block = grown;
    }
    std::memcpy(t.block + t.length, separator, separator_size);
    std::memcpy(t.block + t.length + separator_size, line, line_size + 1);
    t.length = needed - 1;
    if (!growing && growing_texts_kept) growing_texts.push_back(t);
    return t.block;
}

void add_mission_title(Mission* m, const char* line) { m->title = append_mission_text(m->title, line, 0); }
void add_mission_description(Mission* m, const char* line) {
    m->description = line ? append_mission_text(m->description, line, 0) : append_mission_text(m->description, "", 1);
}
void add_mission_briefing(Mission* m, const char* line) { m->briefing = append_mission_text(m->briefing, line, 1); }
void add_mission_hit_x_text(Mission* m, const char* line) { m->hit_x = append_mission_text(m->hit_x, line, 0); }
void add_mission_hit_y_text(Mission* m, const char* line) { m->hit_y = append_mission_text(m->hit_y, line, 0); }
void add_mission_hit_z_text(Mission* m, const char* line) { m->hit_z = append_mission_text(m->hit_z, line, 0); }
void add_mission_miss_x_text(Mission* m, const char* line) { m->miss_x = append_mission_text(m->miss_x, line, 0); }
void add_mission_miss_y_text(Mission* m, const char* line) { m->miss_y = append_mission_text(m->miss_y, line, 0); }
void add_mission_miss_z_text(Mission* m, const char* line) { m->miss_z = append_mission_text(m->miss_z, line, 0); }
void add_mission_hit_extra_text(Mission* m, const char* line) {
    m->hit_extra = append_mission_text(m->hit_extra, line, 0);
}
void add_mission_hit_keep_text(Mission* m, const char* line) { m->hit_keep = append_mission_text(m->hit_keep, line, 0); }
void add_mission_outstanding_text(Mission* m, const char* line) {
    m->outstanding = append_mission_text(m->outstanding, line, 0);
}
void add_mission_success_text(Mission* m, const char* line) { m->success = append_mission_text(m->success, line, 0); }
void add_mission_failure_text(Mission* m, const char* line) { m->failure = append_mission_text(m->failure, line, 0); }
void set_mission_flow(Mission* m, int flow) { m->flow = flow; }
void set_mission_zone(Mission* m, int zone) { m->zone = zone; }
void set_mission_level(Mission* m, int level) { m->level = level; }

void clear_mission_filter() { mission_filter_zone = mission_filter_flow = 0; }
void set_mission_filter_zone(int zone) { mission_filter_zone = zone; }
void set_mission_filter_training() { mission_filter_flow = FLOW_TRAINING; }
void set_mission_filter_single() { mission_filter_flow = FLOW_SINGLE_MISSION; }
void set_mission_filter_campaign() { mission_filter_flow = FLOW_CAMPAIGN; }
void set_mission_filter_flow_8() { mission_filter_flow = FLOW_ALTERNATE; }
void set_mission_filter_level(int level) { mission_filter_level = level; }
int get_mission_filter_zone() { return mission_filter_zone; }
int get_mission_filter_flow() { return mission_filter_flow; }
int get_mission_filter_level() { return mission_filter_level; }

int mission_filtered_out(const Mission* mission) {
    if (mission_filter_zone != 0 && mission_filter_zone != mission->zone) return 1;
    switch (mission_filter_flow) {
    case 0: return 0;
    case FLOW_QUICK_START:
    case FLOW_TRAINING:
    case FLOW_SINGLE_MISSION:
    case 8: return mission->flow != mission_filter_flow;
    case FLOW_CAMPAIGN: return mission->flow != FLOW_CAMPAIGN || mission->level != mission_filter_level;
    default: return 1;
    }
}

Mission* first_listed_mission() {
    Mission* mission = mission_catalogue;
    while (mission && mission_filtered_out(mission)) mission = mission->next;
    return mission;
}

Mission* next_listed_mission(Mission* mission) {
    do mission = mission->next;
    while (mission && mission_filtered_out(mission));
    return mission;
}

void swap_with_next_mission(Mission* mission) {
    Mission* following = mission->next;
    if (!following) return;
    Mission* before = mission->prev;
    Mission* after = following->next;
    if (before) before->next = following;
    else mission_catalogue = following;
    following->prev = before;
    following->next = mission;
    mission->prev = following;
    mission->next = after;
    if (after) after->prev = mission;
}

void sort_mission_catalogue() {
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (Mission* mission = mission_catalogue; mission && mission->next;) {
            if (mission->next->number < mission->number) {
                swap_with_next_mission(mission);
                swapped = true;
            } else {
                mission = mission->next;
            }
        }
    }
}

void free_mission_record(Mission* mission) {
    unlink_mission(mission);
    free_mission_texts(mission);
    free_memory(mission, SOURCE, __LINE__);
}

void delete_mission(Mission* mission) {
    unlink_mission(mission);
    if (mission->number == 0) return;
    char* name = make_mission_name(get_war_zone(), mission->flow, mission->number);
    char path[64];
    std::snprintf(path, sizeof path, "missdata\\%s.dta", name);
    free_memory(name, SOURCE, __LINE__);
    delete_file(path);
}

char* make_mission_name(int zone, int flow, int number) {
    if (zone < 1 || zone > int(std::size(ZONE_CODES))) {
        report_fatal_error("warzone %d does not exist", SOURCE, __LINE__, zone);
        zone = 1;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%s", ZONE_CODES[zone - 1]);
    if (flow == FLOW_TRAINING) {
        name[3] = 'T';
        name[4] = '\0';
    } else if (std::strlen(name) == 5) {
        // A three-letter code loses the letter: it would stand after the code's end.
        static const char* const LETTERS[] = {"", "Q", "T", "S", "C", "M", "MC", "L", "V"};
        if (flow >= FLOW_QUICK_START && flow <= FLOW_ALTERNATE) std::strcat(name, LETTERS[flow]);
    }
    char number_part[16];
    if (flow == FLOW_DEATHMATCH) std::snprintf(number_part, sizeof number_part, "01");
    else if (flow == FLOW_CAPTURE_FLAG) std::snprintf(number_part, sizeof number_part, "%s", own_team_bit() ? "1" : "2");
    else std::snprintf(number_part, sizeof number_part, "%02d", number);
    std::strncat(name, number_part, sizeof name - std::strlen(name) - 1);
    name[9] = '\0';
    return copy_text(name);
}

char* language_folder(int zone, int flow, int number) {
    char* name = make_mission_name(zone, flow, number);
    const char* folder = product_language >= 2 && product_language <= 6 ? LANGUAGE_FOLDERS[product_language - 2] : "";
    char path[32];
    std::snprintf(path, sizeof path, "%s%s", folder, name);
    free_memory(name, SOURCE, __LINE__);
    return copy_text(path);
}

int prepare_quick_mission() { return new_loaded_record(FLOW_QUICK_START, quick_start_kind == 1 ? 1 : 2) != nullptr; }
int load_network_mission() { return new_loaded_record(get_game_flow(), 0) != nullptr; }

}  // namespace vyr
