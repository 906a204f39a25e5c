#include "source/avionics/messages.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/maths/random.h"
#include "source/avionics/failures.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/panel_art.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/weapons/stores.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

char message_lines[MESSAGE_LINES][256];

namespace {

constexpr const char* SOURCE = "source/avionics/commspan";
constexpr int TEXT_SIZE = 32;

struct MessageNode {
    MessageNode* next;
    MessageNode* prev;
    char text[TEXT_SIZE];
    int32_t time_to_live;  // ticks; 0 or less: free
    int32_t shown;
    int32_t persistent;
    int32_t priority;
    const char* persistent_text;  // the caller's, for a persistent message
};

MessageNode nodes[MESSAGE_NODES];
MessageNode* head = nullptr;
MessageNode* tail = nullptr;
int active_count = 0;
int32_t message_seed = 0;
int32_t flicker_seed = 0;

constexpr int DISPLAY_X = 737, DISPLAY_Y = 233, DISPLAY_RIGHT = 838, DISPLAY_BOTTOM = 263, LINE_STEP = 10;
constexpr uint8_t TEXT_COLOUR = 222;
constexpr int32_t FLICKER_FIRST_TICKS = 2000, FLICKER_AGAIN_TICKS = 120000;

const char* text_of(const MessageNode* node) { return node->persistent ? node->persistent_text : node->text; }

void clear_node(MessageNode* node) {
    node->time_to_live = 0;
    node->shown = 0;
    node->persistent = 0;
    node->priority = 0;
    node->persistent_text = nullptr;
}

void unlink(MessageNode* node) {
    (node->prev ? node->prev->next : head) = node->next;
    (node->next ? node->next->prev : tail) = node->prev;
    node->next = node->prev = nullptr;
}

void link_before(MessageNode* node, MessageNode* place) {
    node->next = place;
    node->prev = place->prev;
    (place->prev ? place->prev->next : head) = node;
    place->prev = node;
}

// To the tail of the list, behind every active node; the caller clears its fields.
void release_message_node(MessageNode* node) {
    if (node == tail) return;
    unlink(node);
    node->prev = tail;
    tail->next = node;
    tail = node;
}

// Before the first node of lower priority, so that equal priorities keep their posting order.
void insert_message_by_priority(MessageNode* node) {
    if (active_count <= 1) return;
    MessageNode* place = head;
    while (place != node && place->priority >= node->priority) place = place->next;
    if (place == node) return;
    unlink(node);
    link_before(node, place);
}

// The first free node: the active ones stand first.
MessageNode* take_free_node() {
    if (active_count >= MESSAGE_NODES) return nullptr;
    MessageNode* node = head;
    for (int i = 0; i < active_count; ++i) node = node->next;
    return node;
}

void activate(MessageNode* node, int priority) {
    node->priority = priority;
    node->shown = 0;
    ++active_count;
    insert_message_by_priority(node);
}

void blank_lines() {
    for (char* line : message_lines) {
        std::memset(line, ' ', MESSAGE_LINE_LENGTH);
        line[MESSAGE_LINE_LENGTH] = '\0';
    }
}

// `label` then `value` right-aligned in the line's 17 characters, or run together when too long.
void write_padded(char* line, const char* label, const char* value) {
    const int pad = MESSAGE_LINE_LENGTH - int(std::strlen(label)) - int(std::strlen(value));
    std::snprintf(line, 256, "%s%*s%s", label, pad > 0 ? pad : 0, "", value);
}

void fill_status_lines() {
    if (get_game_flow() == FLOW_QUICK_START) {
        std::snprintf(message_lines[0], 256, " --QUICKSTART--");
        char score[16];
        std::snprintf(score, sizeof score, "%d", quick_start_score);
        write_padded(message_lines[1], "SCORE:", score);
        const bool named = selected_weapon >= 0 && selected_weapon < WEAPON_NAME_COUNT;
        write_padded(message_lines[2], "WPN:", named ? weapon_names[selected_weapon] : "");
        return;
    }
    const Waypoint* steerpoint = user_drone ? get_drone_current_waypoint(user_drone) : nullptr;
    if (steerpoint)
        std::snprintf(message_lines[0], 256, " %c:%4dKt:%5dFt", steerpoint->letter, steerpoint->speed / 432,
                      steerpoint->z / 256);
    else
        std::snprintf(message_lines[0], 256, "%*s", MESSAGE_LINE_LENGTH, "");
    std::snprintf(message_lines[1], 256, "%s %s %s", get_ils_airfield_label(), get_ils_frequency_text(),
                  get_ils_runway_text());
}

uint8_t message_colour() {
    if (!electrics_flickering()) return TEXT_COLOUR;
    const int r = next_random(flicker_seed) % 5;
    return r <= 2 ? TEXT_COLOUR : r == 3 ? 216 : 210;
}

}  // namespace

int electrics_flickering() {
    if (!has_failure(FAIL_ELECTRICS)) return 0;
    return game_clock - electrics_first_failure_time < FLICKER_FIRST_TICKS ||
           game_clock - electrics_second_failure_time > FLICKER_AGAIN_TICKS;
}

void init_message_area() {
    for (int i = 0; i < MESSAGE_NODES; ++i) {
        MessageNode& node = nodes[i];
        clear_node(&node);
        node.text[0] = '\0';
        node.prev = i > 0 ? &nodes[i - 1] : nullptr;
        node.next = i + 1 < MESSAGE_NODES ? &nodes[i + 1] : nullptr;
    }
    head = &nodes[0];
    tail = &nodes[MESSAGE_NODES - 1];
    active_count = 0;
    blank_lines();
}

void post_message(const char* text, int priority, int time_to_live) {
    MessageNode* node = take_free_node();
    if (!node) return;
    std::snprintf(node->text, TEXT_SIZE, "%s", text);
    node->persistent = 0;
    node->persistent_text = nullptr;
    node->time_to_live = time_to_live;
    activate(node, priority);
}

void add_persistent_message(const char* text, int priority) {
    MessageNode* node = take_free_node();
    if (!node) return;
    const MessageNode* active = head;
    for (int i = 0; i < active_count; active = active->next, ++i)
        if (active->persistent && std::strcmp(active->persistent_text, text) == 0) return;
    node->persistent = 1;
    node->persistent_text = text;
    node->time_to_live = 1;
    activate(node, priority);
}

void remove_persistent_message(const char* text) {
    MessageNode* node = head;
    for (int i = 0; i < active_count; node = node->next, ++i) {
        if (!node->persistent || std::strcmp(node->persistent_text, text) != 0) continue;
        clear_node(node);
        release_message_node(node);
        --active_count;
        return;
    }
}

void age_messages() {
    if (active_count == 0) return;
    const int32_t ticks = int32_t(frame_seconds * 200.0);
    const int32_t step = ticks > 0 ? ticks : 1;
    MessageNode* node = head;
    for (int i = active_count; i > 0 && node; --i) {
        MessageNode* next = node->next;
        if (node->shown && !node->persistent) {
            node->time_to_live -= step;
            if (node->time_to_live <= 0) {
                clear_node(node);
                release_message_node(node);
                --active_count;
            }
        }
        node = next;
    }
}

void fill_message_lines() {
    if (has_failure(FAIL_DATA_DISPLAY)) {
        for (char* line : message_lines) {
            for (int i = 0; i < MESSAGE_LINE_LENGTH; ++i) line[i] = char(32 + next_random(message_seed) % 59);
            line[MESSAGE_LINE_LENGTH] = '\0';
        }
        return;
    }
    if (active_count == 0) {
        fill_status_lines();
        return;
    }
    blank_lines();
    MessageNode* node = head;
    for (int i = 0; i < active_count; node = node->next, ++i) {
        node->shown = i < MESSAGE_LINES;
        if (node->shown) std::snprintf(message_lines[i], 256, "%s", text_of(node));
    }
}

void draw_message_area() {
    fill_message_lines();
    for (char* line : message_lines)
        for (char* c = line; *c; ++c) *c = char(std::toupper(static_cast<unsigned char>(*c)));
    if (view_mode != VIEW_COCKPIT) report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    // The panel keeps what was drawn on it: the lines go over a fresh background each frame.
    const PanelPicture& background = cockpit_art[ART_DATA_DISPLAY];
    if (background.pixels) blit_opaque(background.x, background.y, background.width, background.height, background.pixels, 0);
    set_clip_rect(DISPLAY_X, DISPLAY_Y, DISPLAY_RIGHT, DISPLAY_BOTTOM);
    select_font(&font_large);
    text_colour = message_colour();
    for (int i = 0; i < MESSAGE_LINES; ++i) {
        text_x = DISPLAY_X;
        text_y = DISPLAY_Y + i * LINE_STEP;
        draw_text(message_lines[i]);
    }
    text_colour = TEXT_COLOUR;
    reset_clip_rect();
}

}  // namespace vyr
