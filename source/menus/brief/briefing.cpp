#include "source/menus/brief/briefing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

#include "library/3dvisual/world_palette.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/sound/music.h"
#include "library/system/memory.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "library/ui/uoaccess.h"
#include "library/ui/utext.h"
#include "source/drone/waypoint.h"
#include "source/flight.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_tools.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/maps/task_box.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/speech.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/menu_choice.h"

namespace vyr {

BriefingEntry briefing_entries[MAX_BRIEFING_ENTRIES];
int32_t briefing_entry_count = 0;
int32_t briefing_position = 0;
std::atomic<int> briefing_running{0};
int32_t briefing_time = 0;

namespace {

constexpr const char* SOURCE = "source/menus/brief/brief";
constexpr uint32_t PLAYER_PRIORITY = 1000;
constexpr int SYNC_RETRY_UNITS = 20;  // a tenth of a second
constexpr int CLOCK_UNITS_PER_SECOND = 200;
constexpr int MENU_CHOICE_TAKEOFF = 19;
constexpr int SUBTITLES_SHORT = 50, SUBTITLES_TALL = 210, SUBTITLES_BOTTOM = 478;
constexpr int VIEW_WINDOW_WIDTH = 242, VIEW_WINDOW_HEIGHT = 182;
constexpr int MAX_AVOID = 100;
constexpr float AVOID_NONE_NEAR = 800.0f;

struct AvoidSegment {
    float x1, y1, x2, y2;
};
struct AvoidPoint {
    float x, y;
};
AvoidPoint avoid_points[MAX_AVOID];
int avoid_point_count = 0;
AvoidSegment avoid_segments[MAX_AVOID];
int avoid_segment_count = 0;

uint32_t player_thread = 0;

struct Keyword {
    const char* word;
    BriefingKind kind;
};
// Tried in this order, each as a prefix of the command.
constexpr Keyword KEYWORDS[] = {
    {"TRACK", BRIEF_TRACK}, {"SPEECH", BRIEF_SPEECH}, {"SYNC", BRIEF_SYNC},   {"RESYNC", BRIEF_RESYNC},
    {"ZOOM", BRIEF_ZOOM},   {"FIT", BRIEF_FIT},       {"FLY", BRIEF_FLY},     {"ROTATE", BRIEF_ROTATE},
    {"KEY", BRIEF_KEY},     {"NO3D", BRIEF_NO3D},     {"PAY", BRIEF_PAY},     {"NOPAY", BRIEF_NOPAY},
};

bool starts_with_word(const char* text, const char* word) {
    for (; *word; ++text, ++word)
        if (std::toupper(static_cast<unsigned char>(*text)) != *word) return false;
    return true;
}

const char* skip_blanks(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Leading white space, one sign, then digits; none give 0, too many stop at the limit.
int32_t read_integer(const char* p) {
    while (is_white(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        value = std::min<int64_t>(value * 10 + (*p - '0'), int64_t(std::numeric_limits<int32_t>::max()) + 1);
    value = negative ? -value : value;
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

const Waypoint* waypoint_named(char letter) { return letter ? find_waypoint_by_letter(letter) : nullptr; }

BriefingEntry* new_entry(BriefingKind kind) {
    if (briefing_entry_count >= MAX_BRIEFING_ENTRIES) return nullptr;
    BriefingEntry& entry = briefing_entries[briefing_entry_count++];
    entry.kind = kind;
    return &entry;
}

int key_field(char c, const char* letters) {
    const char* found = c ? std::strchr(letters, std::toupper(static_cast<unsigned char>(c))) : nullptr;
    return found ? int(found - letters) + 1 : 0;
}

void report_unknown_command(const char* command) {
    std::string where;
    if (current_mission) {
        char* name = language_folder(current_mission->zone, current_mission->flow, current_mission->number);
        where = std::string(" in missdata\\") + name + ".txt";
        free_memory(name, SOURCE, __LINE__);
    }
    report_fatal_error("Add Unknown Briefing Command %s%s", SOURCE, __LINE__, command, where.c_str());
}

UiObject* waypoint_info_box() {
    for (UiObject* child = map_screen ? map_screen->first_child : nullptr; child; child = child->next_sibling)
        if (std::strcmp(child->name, "Waypoint Information Box") == 0) return child;
    return nullptr;
}

void show(UiObject* object, int on) {
    if (object) show_ui_object(object, on);
}

// What the briefing keeps off the map while it plays.
void hide_planning_boxes() {
    for (UiObject* box : {map_key_box, waypoint_tool_box, waypoint_info_box(), map_3d_view, task_box, met_box,
                          point_data_box})
        show(box, 0);
}

// The playback buttons' common start.
void begin_playback_move() {
    show(map_tool_box, 0);
    hide_planning_boxes();
    reset_map_tool();
}

void show_subtitles_for_playback() {
    show(map_tool_box, 0);
    show(subtitles_box, 1);
}

void finish_briefing() {
    briefing_running = 0;
    if (control_mode == CONTROL_BOTH) {
        if (mission_planner == 1) show(map_tool_box, 1);
    } else {
        show(map_tool_box, 0);
    }
    hide_planning_boxes();
}

void play_entry(const BriefingEntry& entry) {
    switch (entry.kind) {
    case BRIEF_TEXT:
        scroll_ui_text_to(subtitles_text, entry.value[0]);
        link_text_scroller(subtitles_text, subtitles_scrollbar);
        break;
    case BRIEF_TRACK:
        briefing_time = read_clock();
        set_ui_text(subtitles_title, entry.text.c_str());
        break;
    case BRIEF_SYNC: {
        const int32_t elapsed = int32_t(int64_t(read_clock() - briefing_time) * 10 / CLOCK_UNITS_PER_SECOND);
        if (int64_t(entry.value[0]) - elapsed >= 0) {
            sleep_thread(SYNC_RETRY_UNITS);
            return;  // tried again
        }
        break;
    }
    case BRIEF_RESYNC: briefing_time = read_clock(); break;
    case BRIEF_FLY:
        show(map_3d_view, 1);
        clear_view_avoid_lists();
        set_3d_view_eye(entry.value[0], entry.value[1]);
        add_view_avoid_segment(entry.value[0], entry.value[1], entry.value[2], entry.value[3]);
        set_3d_view_target(entry.value[2], entry.value[3]);
        set_3d_view_fly_mode();
        place_3d_view_window();
        break;
    case BRIEF_ROTATE:
        show(map_3d_view, 1);
        set_3d_view_target(entry.value[0], entry.value[1]);
        set_3d_view_point_mode();
        clear_view_avoid_lists();
        add_view_avoid_point(entry.value[0], entry.value[1]);
        place_3d_view_window();
        break;
    case BRIEF_NO3D:
    case BRIEF_PAY:
    case BRIEF_NOPAY: show(map_3d_view, 0); break;
    default: break;  // SPEECH, ZOOM, FIT and KEY are kept for the script's readers only
    }
    ++briefing_position;
}

// A world point in map pixels, through the map's present view.
void world_to_map_pixels(int32_t x, int32_t y, float& px, float& py) {
    setup_map_plot();
    int32_t sx = 0, sy = 0;
    project_plot_point(x, y, sx, sy);
    px = float(sx);
    py = float(sy);
}

}  // namespace

void do_briefing(const char* script) {
    if (!map_screen) return;  // a mission opened without the menus built (a test's)
    set_ui_text(briefing_button, "Briefing");
    hide_planning_boxes();
    for (UiObject* box : {map_tool_box, log_box, log_retry_button}) show(box, 0);
    reset_map_tool();
    reset_debrief_records();
    if (script) {
        reset_briefing();
        split_briefing_text(script);
        restart_briefing();
        for (UiObject* button : briefing_playback) show(button, 1);
    } else {
        for (UiObject* button : briefing_playback) show(button, 0);
        show(subtitles_box, 0);
        Event none{};
        toggle_subtitles_size(nullptr, none);
        if (get_ui_height(subtitles_box) == SUBTITLES_SHORT) toggle_subtitles_size(nullptr, none);
    }
    show(briefing_button, 1);
    if (game_mode == GAME_SINGLE) {
        show(briefing_takeoff_button, 1);
        if (mission_planner == 1) show(map_tool_box, 1);
    } else {
        show(map_tool_box, 0);
        show(briefing_takeoff_button, two_player_position == 1);
    }
}

void reset_briefing() {
    for (BriefingEntry& entry : briefing_entries) entry = BriefingEntry{};
    briefing_position = 0;
    briefing_entry_count = 0;
    if (subtitles_text) set_ui_text(subtitles_text, nullptr);
}

void split_briefing_text(const char* script) {
    std::string chunk;
    for (const char* p = script; *p;) {
        if (*p != '{') {
            chunk += *p++;
            continue;
        }
        add_briefing_text(chunk);
        chunk.clear();
        ++p;
        std::string command;
        for (; *p && *p != '}'; ++p)
            if (int(command.size()) < MAX_BRIEFING_COMMAND) command += *p;
        if (*p == '}') ++p;
        parse_briefing(command.c_str());
    }
    add_briefing_text(chunk);
}

void add_briefing_text(const std::string& chunk) {
    size_t first = 0, last = chunk.size();
    while (first < last && is_white(chunk[first])) ++first;
    while (last > first && is_white(chunk[last - 1])) --last;
    if (first == last) return;
    BriefingEntry* entry = new_entry(BRIEF_TEXT);
    if (!entry) return;
    entry->text = chunk.substr(first, last - first);
    const char* shown = subtitles_text ? get_ui_text(subtitles_text) : nullptr;
    entry->value[0] = shown ? int32_t(std::strlen(shown)) : 0;
    if (subtitles_text) append_ui_text(subtitles_text, (entry->text + "\n").c_str());
}

void parse_briefing(const char* command) {
    const Keyword* keyword = nullptr;
    for (const Keyword& k : KEYWORDS)
        if (starts_with_word(command, k.word)) {
            keyword = &k;
            break;
        }
    if (!keyword) {
        report_unknown_command(command);
        return;
    }
    const char* argument = command + std::strlen(keyword->word);
    int32_t values[4] = {};
    std::string text;
    switch (keyword->kind) {
    case BRIEF_TRACK: text = skip_blanks(argument); break;
    case BRIEF_SPEECH:
    case BRIEF_SYNC: values[0] = read_integer(argument); break;
    case BRIEF_FLY: {
        const char* letters = skip_blanks(argument);
        const Waypoint* from = waypoint_named(letters[0]);
        const Waypoint* to = letters[0] ? waypoint_named(letters[1]) : nullptr;
        if (!from || !to) return;
        values[0] = get_waypoint_x(from);
        values[1] = get_waypoint_y(from);
        values[2] = get_waypoint_x(to);
        values[3] = get_waypoint_y(to);
        break;
    }
    case BRIEF_ROTATE: {
        const Waypoint* at = waypoint_named(*skip_blanks(argument));
        if (!at) return;
        values[0] = get_waypoint_x(at);
        values[1] = get_waypoint_y(at);
        break;
    }
    case BRIEF_KEY: {
        const char* fields[3] = {"AE", "ASE", nullptr};
        const char* p = argument;
        for (int i = 0; i < 3 && *p; ++i) {
            p = skip_blanks(p);
            if (!*p) break;
            values[i] = fields[i] ? key_field(*p, fields[i]) : (*p == '+' ? 1 : 0);
            ++p;
        }
        break;
    }
    default: break;
    }
    BriefingEntry* entry = new_entry(keyword->kind);
    if (!entry) return;
    std::memcpy(entry->value, values, sizeof values);
    entry->text = text;
}

void restart_briefing() {
    briefing_position = 0;
    briefing_running = 1;
    show(map_tool_box, 0);
    show(subtitles_box, 1);
}

void start_briefing_player() {
    if (player_thread) return;
    player_thread = create_thread("Briefing", run_briefing_commands);
    set_thread_priority_by_id(player_thread, PLAYER_PRIORITY);
}

void run_briefing_commands() {
    for (;;) {
        wait_for_flag(&briefing_running);
        play_briefing_step();
    }
}

void play_briefing_step() {
    if (briefing_position >= 0 && briefing_position < briefing_entry_count)
        play_entry(briefing_entries[briefing_position]);
    else
        finish_briefing();
}

void clear_view_avoid_lists() { avoid_point_count = avoid_segment_count = 0; }

void add_view_avoid_point(int32_t x, int32_t y) {
    float px, py;
    world_to_map_pixels(x, y, px, py);
    add_view_avoid_pixel_point(px, py);
}

void add_view_avoid_segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    float ax, ay, bx, by;
    world_to_map_pixels(x1, y1, ax, ay);
    world_to_map_pixels(x2, y2, bx, by);
    add_view_avoid_pixel_segment(ax, ay, bx, by);
}

void add_view_avoid_pixel_point(float x, float y) {
    if (avoid_point_count < MAX_AVOID) avoid_points[avoid_point_count++] = {x, y};
}

void add_view_avoid_pixel_segment(float x1, float y1, float x2, float y2) {
    if (avoid_segment_count < MAX_AVOID) avoid_segments[avoid_segment_count++] = {x1, y1, x2, y2};
}

float distance_to_segment(float px, float py, float x1, float y1, float x2, float y2) {
    const float dx = x2 - x1, dy = y2 - y1;
    const float length2 = dx * dx + dy * dy;
    // A segment of one point (FLY from a waypoint to itself) is that point.
    const float t = length2 > 0.0f ? ((px - x1) * dx + (py - y1) * dy) / length2 : 0.0f;
    if (t < 0.0f) return std::hypot(px - x1, py - y1);
    if (t > 1.0f) return std::hypot(px - x2, py - y2);
    return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

void place_3d_view_window() {
    if (!map_3d_view) return;
    for (UiObject* child = map_3d_view->first_child; child; child = child->next_sibling)
        if (child->type == UI_RADIO) show_ui_object(child, 0);
    resize_ui_object(map_3d_view, VIEW_WINDOW_WIDTH, VIEW_WINDOW_HEIGHT);
    // Nothing to avoid leaves the window at the scan's first spot.
    int best_x = 128, best_y = 98;
    float best_nearest = 0.0f, best_farthest = 0.0f;
    for (int x = 128; x < 510; x += 16)
        for (int y = 98; y < 310; y += 16) {
            float nearest = AVOID_NONE_NEAR, farthest = 0.0f;
            auto seen = [&](float d) {
                nearest = std::min(nearest, d);
                farthest = std::max(farthest, d);
            };
            for (int i = 0; i < avoid_point_count; ++i)
                seen(std::hypot(float(x) - avoid_points[i].x, float(y) - avoid_points[i].y));
            for (int i = 0; i < avoid_segment_count; ++i) {
                const AvoidSegment& s = avoid_segments[i];
                seen(distance_to_segment(float(x), float(y), s.x1, s.y1, s.x2, s.y2));
            }
            if (nearest > best_nearest && farthest > best_farthest) {
                best_nearest = nearest;
                best_farthest = farthest;
                best_x = x;
                best_y = y;
            }
        }
    move_ui_object(map_3d_view, best_x - 120, best_y - 90);
    build_world_palette();
}

void toggle_briefing_subtitles(UiObject*, Event&) {
    if (is_ui_visible(subtitles_box)) {
        show_ui_object(subtitles_box, 0);
        return;
    }
    const char* label = get_ui_text(briefing_button);
    if (label && std::strcmp(label, "Briefing") == 0 && !is_stream_playing()) {
        switch (get_game_flow()) {
        case FLOW_TRAINING: play_menu_speech(10); break;
        case FLOW_SINGLE_MISSION: play_menu_speech(6); break;
        case FLOW_CAMPAIGN: play_menu_speech(3); break;
        default: break;
        }
    }
    show_ui_object(subtitles_box, 1);
}

void briefing_takeoff(UiObject*, Event& event) {
    send_menu_choice(MENU_CHOICE_TAKEOFF, event);
    // The rest of the script would play over the debrief when the flight ends.
    briefing_running = 0;
    if (!in_flight) start_game_thread();
}

void briefing_start(UiObject*, Event&) {
    begin_playback_move();
    restart_briefing();
}

void briefing_back(UiObject*, Event&) {
    begin_playback_move();
    int i = briefing_position >= briefing_entry_count ? briefing_entry_count - 1 : briefing_position;
    auto back_to_track = [&] {
        while (i >= 0 && briefing_entries[i].kind != BRIEF_TRACK) --i;
    };
    back_to_track();
    if (i >= 0) {
        --i;
        back_to_track();
    }
    briefing_position = i;
    briefing_running = i >= 0 ? 1 : 0;
    show_subtitles_for_playback();
}

void briefing_forward(UiObject*, Event&) {
    begin_playback_move();
    if (briefing_entry_count == 0) return;  // nothing to play
    int i = briefing_position < 0 ? 0 : briefing_position;
    while (i < briefing_entry_count - 1 && briefing_entries[i].kind != BRIEF_TRACK) ++i;
    briefing_position = i;
    briefing_running = 1;
    show_subtitles_for_playback();
}

void briefing_end(UiObject*, Event&) {
    begin_playback_move();
    show(subtitles_box, 0);
    if (briefing_entry_count == 0) return;  // nothing to play
    briefing_position = briefing_entry_count - 1;
    briefing_running = 1;
}

void toggle_subtitles_size(UiObject*, Event&) {
    if (!subtitles_box) return;
    const int h = get_ui_height(subtitles_box) <= SUBTITLES_SHORT ? SUBTITLES_TALL : SUBTITLES_SHORT;
    resize_ui_object(subtitles_box, 500, h);
    move_ui_object(subtitles_box, 70, SUBTITLES_BOTTOM - h);
    resize_ui_object(subtitles_text, 470, h - 20);
    resize_ui_object(subtitles_scrollbar, 12, h - 20);
    link_text_scroller(subtitles_text, subtitles_scrollbar);
}

void scroll_subtitles(UiObject* object, Event& event) {
    set_ui_attrs(subtitles_text, ATTR_TOP_LINE, event.value, ATTR_SCROLLER, object);
}

}  // namespace vyr
