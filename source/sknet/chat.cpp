#include "source/sknet/chat.h"

#include <cstdio>
#include <cstring>

#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/poly_accel.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "platform/accel/framebuffer.h"
#include "source/frame_loop.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_players.h"
#include "source/sknet/slash_commands.h"

namespace vyr {

namespace accel = platform::accel;

namespace {

constexpr int OPEN_BLANKS = 78;
constexpr int TICKS_PER_SECOND = 200;
constexpr int LINE_STEP = 10;
constexpr int LINE_X = 1;
constexpr int OUTLINE_COLOUR = 0;
constexpr int INPUT_COLOUR = 1;
constexpr int INPUT_Y = 5, CURSOR_Y = 8;  // below the shown message lines
constexpr int CURSOR_X = 20;              // where the typed text starts after ":- "

// The outline copies by number 1 to 8; style s draws numbers s down to 1.
constexpr int OUTLINE_OFFSETS[8][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}, {0, 1}, {0, -1}, {-1, 0}, {1, 0}};

char chat_previous[CHAT_LINE_SIZE] = {};
int32_t chat_previous_length = 0;
int32_t chat_cursor = 0;
// Oldest first; the last is the newest.
char message_lines[CHAT_MAX_LINES][CHAT_LINE_SIZE] = {};
int32_t last_line_time = 0, last_scroll_time = 0;

void push_line(const char* text) {
    char kept[CHAT_LINE_SIZE];  // the text may be one of the lines that move
    std::snprintf(kept, sizeof kept, "%s", text);
    std::memmove(message_lines[0], message_lines[1], sizeof message_lines - sizeof message_lines[0]);
    std::memcpy(message_lines[CHAT_MAX_LINES - 1], kept, sizeof kept);
}

void draw_at(const char* text, int x, int y, int colour) {
    text_x = x;
    text_y = y;
    text_colour = uint8_t(colour);
    draw_text(text);
}

void draw_message_line(const char* text, int y) {
    for (int n = chat_outline_style; n >= 1; --n)
        draw_at(text, LINE_X + OUTLINE_OFFSETS[n - 1][0], y + OUTLINE_OFFSETS[n - 1][1], OUTLINE_COLOUR);
    draw_at(text, LINE_X + 1, y + 1, OUTLINE_COLOUR);
    draw_at(text, LINE_X, y, chat_text_colour);
}

void draw_chat_lines() {
    if (game_clock - last_line_time > chat_blank_time * TICKS_PER_SECOND) {
        for (int i = 0; i < CHAT_MAX_LINES - 1; ++i) message_lines[i][0] = 0;
        return;
    }
    if (game_clock - last_scroll_time > chat_scroll_delay * TICKS_PER_SECOND) {
        push_line("> ");
        last_scroll_time = game_clock;
    }
    const int first = CHAT_MAX_LINES - chat_lines;
    for (int i = 0; i < chat_lines; ++i)
        if (message_lines[first + i][0]) draw_message_line(message_lines[first + i], LINE_STEP * i);
}

void draw_chat_input() {
    char line[CHAT_LINE_SIZE + 4];
    std::snprintf(line, sizeof line, ":- %s", chat_input);
    const int y = LINE_STEP * chat_lines + INPUT_Y;
    for (const auto& offset : OUTLINE_OFFSETS) draw_at(line, LINE_X + offset[0], y + offset[1], OUTLINE_COLOUR);
    draw_at(line, LINE_X, y, INPUT_COLOUR);
}

void draw_chat_cursor() {
    char typed[CHAT_LINE_SIZE] = {};
    std::memcpy(typed, chat_input, size_t(chat_cursor));
    const int x = CURSOR_X + get_text_width(typed), y = LINE_STEP * chat_lines + CURSOR_Y;
    draw_at("_", x, y, INPUT_COLOUR);
    draw_at("_", x + 1, y + 1, OUTLINE_COLOUR);
}

void close_chat_line() {
    chat_line_open = 0;
    chat_cursor = 0;
    clear_key_held_time(SCAN_UP);
    clear_key_held_time(SCAN_SPACE);
}

// Two-player combat and missions over a cable or modem carry the line in the frame record.
bool line_rides_frame_record() {
    return (game_mode == GAME_COMBAT || game_mode == GAME_TWO_PLAYER_MISSION) &&
           (connection_mode == CONNECTION_DIRECT || connection_mode == CONNECTION_MODEM);
}

void enter_chat_line() {
    std::memcpy(chat_previous, chat_input, size_t(chat_cursor));
    chat_previous_length = chat_cursor;
    close_chat_line();
    if (chat_input[0] == '/')
        parse_slash_command(chat_input);
    else if (line_rides_frame_record())
        chat_pending = 1;
    else
        send_chat_line(chat_input);
}

void type_chat_key(int key_code) {
    switch (key_code & 0xFF) {
    case SCAN_ENTER: enter_chat_line(); break;
    case SCAN_ESCAPE: close_chat_line(); break;
    case SCAN_UP:
        std::memcpy(chat_input, chat_previous, size_t(chat_previous_length));
        chat_cursor = chat_previous_length;
        break;
    case SCAN_BACKSPACE:
    case SCAN_DELETE:
        if (chat_cursor > 0) chat_input[--chat_cursor] = ' ';
        break;
    default: {
        const int c = translate_key_char(key_code);
        if (chat_cursor < CHAT_MAX_TYPED && c >= 32 && c <= 127) chat_input[chat_cursor++] = char(c);
    }
    }
}

}  // namespace

int32_t goodbye_picture = 0;
int32_t chat_line_open = 0;
char chat_input[CHAT_LINE_SIZE] = {};
int32_t chat_pending = 0;
int32_t chat_lines = 5, chat_scroll_delay = 5, chat_blank_time = 30, chat_text_colour = 1, chat_outline_style = 1;

// The whole buffer is cleared first: a long earlier line must not show past the blanks.
int open_chat_line(int) {
    std::memset(chat_input, 0, sizeof chat_input);
    std::memset(chat_input, ' ', OPEN_BLANKS);
    chat_line_open = 1;
    return 1;
}

void read_chat_keys() {
    Event event;
    while (chat_line_open && get_event(event))
        if (event.type == EV_KEY) type_chat_key(event.value);
}

void draw_chat_area() {
    set_plot(0, 0, accel::SCREEN_WIDTH, accel::SCREEN_HEIGHT, 0, 0, accel::SCREEN_WIDTH - 1, accel::SCREEN_HEIGHT - 1);
    const bool locked = accel_lock_frame_buffer();
    select_font(&font_large);
    if (chat_line_open) {
        draw_chat_input();
        draw_chat_cursor();
    }
    draw_chat_lines();
    if (locked) accel_unlock_frame_buffer();
}

void request_chat_redraw() { last_line_time = last_scroll_time = game_clock; }

void add_chat_line(const char* text) {
    push_line(text);
    last_line_time = last_scroll_time = game_clock;
}

const char* get_chat_line(int index) { return message_lines[index]; }

void send_chat_line(const char* text) {
    if (!network_active) return;
    NetMessage message = {};
    message.code = NET_MSG_CHAT;
    std::snprintf(message.name, sizeof message.name, "%s", own_network_name);
    message.sender = own_player_number;
    std::snprintf(message.text, sizeof message.text, "%s", text);
    uint8_t block[NET_MESSAGE_SIZE];
    send_to_all_nodes(block, encode_net_message(message, block));
    char echo[CHAT_LINE_SIZE];
    std::snprintf(echo, sizeof echo, "> %s: %s", own_network_name, message.text);
    add_chat_line(echo);
    poll_network();
}

void receive_chat_line(const NetMessage& message) {
    char line[CHAT_LINE_SIZE];
    std::snprintf(line, sizeof line, "> %s : %s", message.name, message.text);
    add_chat_line(line);
}

}  // namespace vyr
