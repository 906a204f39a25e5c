// The "DeathMatch Screen": the players present on the network, the own name, and the thread that
// announces this machine every second and drops machines that fell silent.
#include <cstdio>
#include <cstring>

#include "library/graphics/font.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/route.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/uoaccess.h"
#include "library/ui/utext.h"
#include "source/drone/remote_drones.h"
#include "source/menus/front_end.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/mission/game_flow.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_lobby.h"
#include "source/sknet/net_players.h"
#include "source/sknet/net_screens.h"

namespace vyr {

namespace {

constexpr int LIST_LINES = MAX_NET_PLAYERS;
constexpr int FIRST_LINE_Y = 75, LINE_STEP = 18;
constexpr int BAR_X = 44, SERVER_X = 56, NAME_X = 78, STATUS_X = 196, TAKEN_X = 318, RED_FLAG_X = 338,
              BLUE_FLAG_X = 358;
constexpr int BAR_Y = 445, BAR_WIDTH = 112, BAR_HEIGHT = 32;
constexpr uint32_t FIND_PLAYERS_PRIORITY = 10'000;
constexpr uint8_t STATUS_READY = 0x01, STATUS_JOINED = 0x02;
constexpr int KEY_BACKSPACE = 8, KEY_ENTER = 10, KEY_ESCAPE = 27;

struct ListLine {
    UiObject* team_bar[2];  // blue, red
    UiObject* server;
    UiObject* name;
    UiObject* status;
    UiObject* taken_off;
    UiObject* flags[2];  // red, blue
};

UiObject* network_screen = nullptr;
UiObject* name_text = nullptr;
ListLine list[LIST_LINES] = {};
char entered_name[NET_NAME_LENGTH + 1] = {};

UiObject* create_sprite(const char* name, int x, int y, int width, int height, const char* picture) {
    return create_ui_object(UI_PICTURE, network_screen, name, ATTR_RECT, x, y, x + width - 1, y + height - 1,
                            ATTR_PICTURE, picture, ATTR_TRANSPARENT, 1, ATTR_INPUT, 0, ATTR_SHOWN, 0);
}

UiObject* create_line_text(const char* name, int x, int y, int width) {
    return create_ui_object(UI_TEXT, network_screen, name, ATTR_POS, x, y, ATTR_SIZE, width, LINE_STEP, ATTR_FONT,
                            &menu_font_tall, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_INPUT, 0, ATTR_SHOWN, 0);
}

void show_line(const ListLine& line, bool on) {
    for (UiObject* object : {line.team_bar[0], line.team_bar[1], line.server, line.name, line.status})
        show_ui_object(object, on);
}

void start_name_entry(UiObject*, Event&) {
    std::snprintf(entered_name, sizeof entered_name, "%s", own_network_name);
    set_ui_text(name_text, entered_name);
    ui_key_focus = name_text;
}

void enter_network_name(UiObject*, Event& event) {
    const int c = event.x;
    if ((c & 0x80) || c == 0 || ui_key_focus != name_text) return;
    const size_t length = std::strlen(entered_name);
    if (c == KEY_ENTER) {
        set_text_cursor(-100, 100, 0);
        ui_key_focus = nullptr;
        set_network_name(entered_name);
    } else if (c == KEY_BACKSPACE) {
        if (length) entered_name[length - 1] = 0;
    } else if (c == KEY_ESCAPE) {
        entered_name[0] = 0;
    } else if (length < size_t(NET_NAME_LENGTH)) {
        entered_name[length] = char(c);
        entered_name[length + 1] = 0;
    }
    set_ui_text(name_text, entered_name);
}

bool lobby_on_show() { return network_screen && is_ui_shown(network_screen); }

// Announces every second while a network game is active; on the screen, keeps the joined
// players' nodes alive and drops the silent ones.
void network_find_players() {
    set_thread_background();
    for (;;) {
        if (network_active) {
            if (lobby_on_show()) {
                for (int player = 0; player < MAX_NET_PLAYERS; ++player)
                    if (net_players[player].status_bits & STATUS_JOINED) touch_node(player);
                drop_silent_nodes(NET_DROP_TICKS);
            }
            send_announce();
            other_player_count = count_other_nodes();
        }
        sleep_thread(CLOCK_RATE);
    }
}

}  // namespace

void create_network_screen() {
    network_screen = create_menu_screen("DeathMatch Screen", "menuscrn\\net_off.lbm");
    UiObject* enter = create_menu_button(network_screen, "Enter name button", 400, 38, 636, 69, "menuscrn\\dummy.bbm",
                                         start_name_entry);
    name_text = create_ui_object(UI_TEXT, enter, "player name text", ATTR_POS, 12, 6, ATTR_SIZE, 210, 20, ATTR_FONT,
                                 &menu_font_tall, ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_AT_BACK, 1, ATTR_SELECTABLE, 1, ATTR_INPUT, 0,
                                 ATTR_TEXT_INSET, 1, ATTR_NOTIFY, enter_network_name, ATTR_NOTIFY_EVENT, EV_KEY);
    for (int i = 0; i < LIST_LINES; ++i) {
        const int y = FIRST_LINE_Y + LINE_STEP * i;
        ListLine& line = list[i];
        line.team_bar[0] = create_sprite("network graphic", BAR_X, y + 1, 8, 16, "menuscrn\\nw_b-bar.bbm");
        line.team_bar[1] = create_sprite("network graphic", BAR_X, y + 1, 8, 16, "menuscrn\\nw_r-bar.bbm");
        line.server = create_sprite("server sprite", SERVER_X, y + 1, 16, 16, "menuscrn\\nw_serve.bbm");
        line.name = create_line_text("Names of logged-in players", NAME_X, y, STATUS_X - NAME_X - 4);
        line.status = create_line_text("network scores", STATUS_X, y, TAKEN_X - STATUS_X - 4);
        line.taken_off = create_sprite("taken off sprite", TAKEN_X, y + 1, 16, 16, "menuscrn\\nw_taken.bbm");
        line.flags[0] = create_sprite("red flag sprite", RED_FLAG_X, y + 1, 16, 16, "menuscrn\\nw_r-flg.bbm");
        line.flags[1] = create_sprite("blue flag sprite", BLUE_FLAG_X, y + 1, 16, 16, "menuscrn\\nw_b-flg.bbm");
    }
    const struct {
        const char* name;
        const char* picture;
        UiNotify notify;
    } small_buttons[] = {
        {"Small Help Button", "menuscrn\\nw_help.bbm", show_help_screen},
        {"Small Prefs Button", "menuscrn\\nw_prefs.bbm", show_preferences_screen},
        {"Small Log Button", "menuscrn\\nw_logs.bbm", show_log_screen},
        {"Small Recog Button", "menuscrn\\nw_recog.bbm", show_recognition_screen},
        {"Small Back Button", "menuscrn\\nw_back.bbm", go_back_screen},
        {"Small Quit Button", "menuscrn\\nw_quit.bbm", show_exit_screen},
    };
    int x = 0;
    for (const auto& button : small_buttons) {
        create_menu_button(network_screen, button.name, x, BAR_Y, x + BAR_WIDTH - 1, BAR_Y + BAR_HEIGHT - 1,
                           button.picture, button.notify);
        x += 105;
    }
    uint32_t thread = create_thread("Network find players", network_find_players);
    set_thread_priority_by_id(thread, FIND_PLAYERS_PRIORITY);
}

void start_network_game(UiObject*, Event&) {
    apply_network_options();
    network_active = 1;
    game_mode = GAME_MULTI_PLAYER;
    control_mode = CONTROL_BOTH;
    two_player_position = 1;
    set_game_flow(FLOW_DEATHMATCH);
    other_player_count = 0;
    enable_network_option_buttons(1);
    if (!network_socket_open()) {
        set_network_channel(0);
        start_network();
        if (network_transport == 1) {
            clear_player_scores();
            init_network_players();
            send_announce();
        }
    } else if (current_network_socket() != NETWORK_BASE_SOCKET) {
        leave_network_game();
        set_network_channel(0);
        start_network();
        send_announce();
        other_player_count = count_other_nodes();
        network_active = 1;
    }
    for (const ListLine& line : list)
        for (UiObject* flag : line.flags) show_ui_object(flag, 0);
    if (network_socket_open()) push_screen(network_screen);
}

void refresh_network_player_list() {
    if (!network_screen) return;
    if (ui_key_focus != name_text) set_ui_text(name_text, own_network_name);
    int line_number = 0;
    for (int node = 0; node < MAX_NET_PLAYERS; ++node) {
        if (!is_node_active(node)) continue;
        NetPlayer& player = net_players[node];
        const ListLine& line = list[line_number];
        const bool blue = player.status_bits & NET_STATUS_BLUE_TEAM;
        show_ui_object(line.team_bar[0], blue);
        show_ui_object(line.team_bar[1], !blue);
        player.list_line = int8_t(line_number);
        show_ui_object(line.name, 1);
        set_ui_text(line.name, is_node_named(node) ? get_node_name(node) : player.name);
        show_ui_object(line.status, 1);
        bool server = false;
        if (player.status_bits & STATUS_READY) {
            player.status_bits &= uint8_t(~STATUS_READY);
            set_ui_text(line.status, "Ready.");
        } else if (player.status_bits & STATUS_JOINED) {
            set_ui_text(line.status, "In Flight");
        } else {
            set_ui_text(line.status, "");
            server = node == server_player;
        }
        show_ui_object(line.server, server);
        ++line_number;
    }
    for (; line_number < LIST_LINES; ++line_number) {
        const ListLine& line = list[line_number];
        set_ui_text(line.name, "");
        set_ui_text(line.status, "");
        show_line(line, false);
    }
}

}  // namespace vyr
