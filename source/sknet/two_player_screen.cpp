#include "source/sknet/two_player_screen.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "library/config/prefs.h"
#include "library/graphics/font.h"
#include "library/network/serial_port.h"
#include "library/network/transport.h"
#include "library/system/event.h"
#include "library/ui/object.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/menus/front_end.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/menu_choice.h"
#include "source/sknet/modem.h"
#include "source/sknet/link.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/net_players.h"
#include "source/sknet/net_screens.h"
#include "source/sknet/remote_choices.h"
#include "source/sknet/setup_exchange.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_messages.h"

namespace vyr {

UiObject* two_player_screen = nullptr;

namespace {

constexpr int KEY_BACKSPACE = 8, KEY_ENTER = 10, KEY_ESCAPE = 27;
constexpr int PHONE_NUMBER_SIZE = 50;
constexpr int PHONE_NUMBER_WIDTH = 214;
const char* const MODEM_NAMES[5] = {"Hayes Compatible", "US Robotics", "Practical Peripherals", "Hayes DSVD", "ZyXEL"};

UiObject* start_game = nullptr;
UiObject* combat_area = nullptr;
UiObject* direct_area = nullptr;
UiObject* modem_area = nullptr;
UiObject* channel_area = nullptr;
UiObject* connect_radios[3] = {};
UiObject* message_texts[MODEM_MESSAGE_LINES] = {};
UiObject *game_mode_text, *position_text, *weather_text, *start_time_text, *difficulty_text;
UiObject *com_port_text, *irq_text, *baud_rate_text, *modem_type_text, *phone_text, *channel_text;
char phone_number[PHONE_NUMBER_SIZE] = {};
int32_t network_channel = 1;

UiObject* row_text(UiObject* parent, const char* name, int x, int y) {
    return create_ui_object(UI_TEXT, parent, name, ATTR_POS, x, y, ATTR_SIZE, 150, 16, ATTR_FONT, &menu_font,
                            ATTR_TOP_LINE, 0, ATTR_SHADOW, 1, ATTR_ON_TOP, 1, ATTR_INPUT, 0);
}

// A row's minus and plus buttons, 24 x 20, with their pictures "menuscrn\2p_<stem>mi.bbm" and
// "...pl.bbm".
void row_buttons(UiObject* parent, const char* stem, int minus_x, int plus_x, int y, UiNotify minus, UiNotify plus) {
    char picture[40];
    std::snprintf(picture, sizeof picture, "menuscrn\\2p_%smi.bbm", stem);
    create_menu_button(parent, "Minus button", minus_x, y, minus_x + 23, y + 19, picture, minus);
    std::snprintf(picture, sizeof picture, "menuscrn\\2p_%spl.bbm", stem);
    create_menu_button(parent, "Plus button", plus_x, y, plus_x + 23, y + 19, picture, plus);
}

// The link's state changes whether or not the screen was built.
void show(UiObject* object, int on) {
    if (object) show_ui_object(object, on);
}

void set_text(UiObject* text, const char* value) {
    if (text) set_ui_text(text, value);
}

// The slider-like rows' texts move with their value, within their area.
void place_text(UiObject* text, int x, int y) {
    if (text) set_ui_attrs(text, ATTR_POS, x, y);
}

void show_messages() {
    for (int i = 0; i < MODEM_MESSAGE_LINES; ++i) set_text(message_texts[i], modem_message_line(i));
}

void store_port_choices() {
    set_pref_int("COM_PORT", two_player_choices.com_port);
    set_pref_int("IRQ_NUMBER", two_player_choices.irq);
    set_pref_int("BAUD_RATE", two_player_choices.baud_rate);
}

// A stored choice outside its range is ignored, as any damaged setting is.
int stored_choice(const char* name, int fallback, int last) {
    int value = fallback;
    if (!get_pref_int(name, &value) || value < 0 || value > last) return fallback;
    return value;
}

void step(int32_t& value, int by, int last) {
    value += by;
    if (value < 0) value = 0;
    if (value > last) value = last;
}

void step_around(int32_t& value, int by, int count) { value = (value + by + count) % count; }

void pass_weather(Event& event) {
    show_two_player_choices();
    send_menu_choice(2 + two_player_choices.weather, event);
}

void step_port_choice(int32_t& value, int by, int last) {
    step(value, by, last);
    store_port_choices();
    show_two_player_choices();
}

void step_com_port(int by) {
    step(two_player_choices.com_port, by, SERIAL_PORT_COUNT - 1);
    two_player_choices.irq = default_irq_for_port(two_player_choices.com_port);
    store_port_choices();
    show_two_player_choices();
}

bool phone_number_takes(int c) {
    if (!((c >= '0' && c <= '9') || std::strchr("%*+,-\\", c)) || c == 0) return false;
    const size_t length = std::strlen(phone_number);
    if (length >= PHONE_NUMBER_SIZE - 1) return false;
    char longer[PHONE_NUMBER_SIZE + 1];
    std::snprintf(longer, sizeof longer, "%s%c", phone_number, c);
    if (!phone_text) return true;
    select_font(&menu_font);
    return get_text_width(longer) < PHONE_NUMBER_WIDTH;
}

void edit_phone_number(UiObject*, Event&) {
    ui_key_focus = ui_key_focus == phone_text ? nullptr : phone_text;
}

void show_areas() {
    show(combat_area, two_player_game_type == 1);
    show(direct_area, two_player_connect_type == CONNECT_DIRECT);
    show(modem_area, two_player_connect_type == CONNECT_MODEM);
    show(channel_area, two_player_connect_type == CONNECT_NETWORK);
    show_modem_controls(two_player_connect_type == CONNECT_MODEM);
}

void channel_step(int by) {
    step(network_channel, by, 10);
    if (network_channel < 1) network_channel = 1;
    show_two_player_choices();
    join_network_channel();
}
void channel_minus(UiObject*, Event&) { channel_step(-1); }
void channel_plus(UiObject*, Event&) { channel_step(1); }

void modem_type_minus(UiObject*, Event&) {
    step_around(modem_type, -1, 5);
    set_pref_int("MODEM_TYPE", modem_type);
    show_two_player_choices();
}
void modem_type_plus(UiObject*, Event&) {
    step_around(modem_type, 1, 5);
    set_pref_int("MODEM_TYPE", modem_type);
    show_two_player_choices();
}

void on_two_player_screen_event(UiObject*, Event& event) {
    if (event.type == EV_DISPLAY && event.value) show_link_end_reason();
}

// Over the network both machines must be in the channel, each node under its player's name.
bool network_players_ready() {
    if (own_player_number < 0) {
        add_modem_message("Not Connected to Network. Try another channel");
        return false;
    }
    for (int node = 0; node < MAX_NET_PLAYERS; ++node) {
        if (!is_node_active(node)) continue;
        const std::string& name = net_nodes[node].name;
        if (name.empty() || !net_players[node].name[0]) {
            add_modem_message("You must have another player");
            return false;
        }
        if (name != net_players[node].name) {
            add_modem_message("Not logged in properly. Try another channel");
            return false;
        }
    }
    return true;
}

void start_network_game(Event& event, bool from_other) {
    if (!network_players_ready()) return;
    if (!from_other) send_two_player_settings();
    show(start_game, 0);
    modem_state = MODEM_IDLE;
    add_modem_message("Taking off");
    send_menu_choice(MENU_START_GAME, event);
    check_network_take_off();
}

// "Start Game" from either machine.
void start_game_pressed(Event& event, bool from_other) {
    if (two_player_connect_type == CONNECT_NETWORK) return start_network_game(event, from_other);
    if (linked_game) {
        // Both machines go back to the link test once the press has crossed.
        if (!from_other) send_menu_choice(MENU_START_GAME, event);
    } else {
        start_link_test();
    }
    show(start_game, 0);
    linked_game = 1;
    set_game_rules();
    enable_connect_buttons(0);
}

}  // namespace

void start_game_button(UiObject*, Event& event) { start_game_pressed(event, false); }

void start_game_from_other_machine() {
    Event event = {EV_SELECT, 0, 0, 0, 0};
    start_game_pressed(event, true);
}

void show_start_game_button() { show(start_game, 1); }

void enable_connect_buttons(int on) {
    for (UiObject* radio : connect_radios)
        if (radio) set_ui_attrs(radio, ATTR_INPUT, on);
}

void show_two_player_choices() {
    const TwoPlayerChoices& c = two_player_choices;
    set_text(game_mode_text, game_type_names[two_player_game_type == 2 ? 2 : 1]);
    set_text(position_text, c.position ? "Player 2" : "Player 1");
    set_text(weather_text, weather_names[c.weather & 3]);
    set_text(start_time_text, start_time_names[c.start_time ? 1 : 0]);
    set_text(difficulty_text, difficulty_names[c.difficulty ? 1 : 0]);
    char text[16];
    std::snprintf(text, sizeof text, "COM %d", c.com_port + 1);
    set_text(com_port_text, text);
    place_text(com_port_text, 103 + 35 * c.com_port, 7);
    std::snprintf(text, sizeof text, "%d", irq_numbers[c.irq]);
    set_text(irq_text, text);
    place_text(irq_text, 103 + 25 * c.irq, 41);
    set_text(baud_rate_text, baud_rate_names[c.baud_rate]);
    place_text(baud_rate_text, 103 + 20 * c.baud_rate, 75);
    set_text(modem_type_text, MODEM_NAMES[modem_type]);
    std::snprintf(text, sizeof text, "%d", network_channel);
    set_text(channel_text, text);
    place_text(channel_text, 89 + 14 * network_channel, 7);
    set_text(phone_text, phone_number);
    show_areas();
}

void game_mode_button(UiObject*, Event& event) {
    two_player_game_type = two_player_game_type == 1 ? 2 : 1;
    show_two_player_choices();
    send_menu_choice(1, event);
}

void position_button(UiObject*, Event& event) {
    two_player_choices.position ^= 1;
    two_player_position = two_player_choices.position + 1;
    show_two_player_choices();
    send_menu_choice(10 + two_player_choices.position, event);
}

void weather_minus(UiObject*, Event& event) {
    step_around(two_player_choices.weather, -1, 4);
    pass_weather(event);
}

void weather_plus(UiObject*, Event& event) {
    step_around(two_player_choices.weather, 1, 4);
    pass_weather(event);
}

void start_time_button(UiObject*, Event& event) {
    two_player_choices.start_time ^= 1;
    show_two_player_choices();
    send_menu_choice(6 + two_player_choices.start_time, event);
}

void difficulty_button(UiObject*, Event& event) {
    two_player_choices.difficulty ^= 1;
    show_two_player_choices();
    send_menu_choice(8 + two_player_choices.difficulty, event);
}

void com_port_minus(UiObject*, Event&) { step_com_port(-1); }
void com_port_plus(UiObject*, Event&) { step_com_port(1); }

void irq_minus(UiObject*, Event&) { step_port_choice(two_player_choices.irq, -1, IRQ_CHOICE_COUNT - 2); }
void irq_plus(UiObject*, Event&) { step_port_choice(two_player_choices.irq, 1, IRQ_CHOICE_COUNT - 2); }
void baud_rate_minus(UiObject*, Event&) { step_port_choice(two_player_choices.baud_rate, -1, BAUD_RATE_COUNT - 1); }
void baud_rate_plus(UiObject*, Event&) { step_port_choice(two_player_choices.baud_rate, 1, BAUD_RATE_COUNT - 1); }

void choose_connect_type(UiObject* object, Event&) {
    const int previous = two_player_connect_type;
    int chosen = CONNECT_DIRECT;
    for (int i = 0; i < 3; ++i)
        if (object == connect_radios[i]) chosen = i + 1;
    const bool busy = ui_key_focus == phone_text && phone_text;
    if (chosen == CONNECT_DIRECT && !busy) {
        if (previous == CONNECT_MODEM) hang_up_modem(0, 0);
        two_player_connect_type = CONNECT_DIRECT;
        enable_connect_buttons(1);
    } else if (chosen == CONNECT_MODEM) {
        two_player_connect_type = CONNECT_MODEM;
        clear_modem_messages();
        initialise_modem();
    } else if (chosen == CONNECT_NETWORK && !busy) {
        network_channel = 1;
        two_player_connect_type = CONNECT_NETWORK;
        join_network_channel();
        add_modem_message("Select network channel number");
        hang_up_modem(0, 0);
    }
    show_two_player_choices();
}

void type_phone_number(UiObject*, Event& event) {
    const int c = event.x;
    const size_t length = std::strlen(phone_number);
    if (c == KEY_BACKSPACE) {
        if (length) phone_number[length - 1] = '\0';
    } else if (c == KEY_ESCAPE) {
        phone_number[0] = '\0';
    } else if (c == KEY_ENTER) {
        ui_key_focus = nullptr;
    } else if (phone_number_takes(c)) {
        phone_number[length] = static_cast<char>(c);
        phone_number[length + 1] = '\0';
    }
    set_text(phone_text, phone_number);
}

const char* two_player_phone_number() { return phone_number; }

void set_two_player_phone_number(const char* number) {
    std::snprintf(phone_number, sizeof phone_number, "%s", number);
    set_text(phone_text, phone_number);
}

void create_two_player_screen() {
    two_player_choices.com_port = stored_choice("COM_PORT", 1, SERIAL_PORT_COUNT - 1);
    two_player_choices.irq = stored_choice("IRQ_NUMBER", 1, IRQ_CHOICE_COUNT - 2);
    two_player_choices.baud_rate = stored_choice("BAUD_RATE", 5, BAUD_RATE_COUNT - 1);
    UiObject* screen = two_player_screen =
        create_menu_screen("Two Player Screen", "menuscrn\\2ply_off.lbm", on_two_player_screen_event);
    start_game = create_menu_button(screen, "Start Game", 528, 395, 639, 426, "menuscrn\\2p_commi.bbm", start_game_button);

    game_mode_text = row_text(screen, "Game mode", 453, 67);
    row_buttons(screen, "r1", 579, 604, 65, game_mode_button, game_mode_button);
    position_text = row_text(screen, "Position", 453, 101);
    row_buttons(screen, "r2", 579, 604, 99, position_button, position_button);

    auto area = [&](const char* name, int x0, int y0, int x1, int y1, const char* picture, int shown) {
        return create_ui_object(UI_PICTURE, screen, name, ATTR_RECT, x0, y0, x1, y1, ATTR_PICTURE, picture,
                                ATTR_TRANSPARENT, 1, ATTR_SHOWN, shown);
    };
    combat_area = area("Combat game buttons area", 320, 127, 639, 226, "menuscrn\\2p_comba.bbm", 1);
    weather_text = row_text(combat_area, "Weather", 133, 7);
    row_buttons(combat_area, "r3", 260, 284, 5, weather_minus, weather_plus);
    start_time_text = row_text(combat_area, "Start time", 133, 41);
    row_buttons(combat_area, "r4", 260, 284, 39, start_time_button, start_time_button);
    difficulty_text = row_text(combat_area, "Difficulty", 133, 75);
    row_buttons(combat_area, "r5", 260, 284, 73, difficulty_button, difficulty_button);

    direct_area = area("Direct connect buttons area", 320, 227, 639, 356, "menuscrn\\2p_direa.bbm", 1);
    com_port_text = row_text(direct_area, "COM port", 103, 7);
    row_buttons(direct_area, "r6", 260, 284, 5, com_port_minus, com_port_plus);
    irq_text = row_text(direct_area, "IRQ", 103, 41);
    row_buttons(direct_area, "r7", 260, 284, 39, irq_minus, irq_plus);
    baud_rate_text = row_text(direct_area, "Baud rate", 103, 75);
    row_buttons(direct_area, "r8", 260, 284, 73, baud_rate_minus, baud_rate_plus);
    modem_type_text = row_text(direct_area, "Modem type", 124, 109);
    row_buttons(direct_area, "r9", 260, 284, 106, modem_type_minus, modem_type_plus);

    modem_area = area("Modem buttons area", 320, 227, 639, 391, "menuscrn\\2p_modea.bbm", 0);
    create_ui_object(UI_TOGGLE, modem_area, "Phone number button", ATTR_RECT, 103, 7, 252,
                     22, ATTR_PICTURE, "menuscrn\\dummy.bbm", ATTR_TRANSPARENT, 1, ATTR_NOTIFY,
                     edit_phone_number, ATTR_NOTIFY_EVENT, EV_SELECT);
    phone_text = create_ui_object(UI_TEXT, modem_area, "Phone number", ATTR_POS, 105, 7, ATTR_SIZE, 148,
                                  16, ATTR_FONT, &menu_font, ATTR_TOP_LINE, 0, ATTR_ON_TOP, 1, ATTR_NOTIFY,
                                  type_phone_number, ATTR_NOTIFY_EVENT, EV_KEY);
    create_modem_controls(screen, modem_area);

    channel_area = area("Network channels area", 0, 160, 319, 191, "menuscrn\\2p_chana.bbm", 0);
    channel_text = row_text(channel_area, "Network channel", 103, 7);
    row_buttons(channel_area, "chan", 260, 285, 6, channel_minus, channel_plus);

    UiObject* connect = create_ui_object(UI_BOX, screen, "Connect Type", ATTR_RECT, 0, 60, 319, 159,
                                         ATTR_TRANSPARENT, 1);
    const char* const pictures[3] = {"menuscrn\\2p_direc.bbm", "menuscrn\\2p_modem.bbm", "menuscrn\\2p_netwo.bbm"};
    const char* const names[3] = {"Direct", "Modem", "Network"};
    const int tops[3] = {0, 33, 67};
    for (int i = 0; i < 3; ++i) {
        connect_radios[i] = create_ui_object(UI_RADIO, connect, names[i], ATTR_RECT, 0, tops[i], 319,
                                             tops[i] + 31, ATTR_PICTURE, pictures[i], ATTR_TRANSPARENT, 1,
                                             ATTR_NOTIFY, choose_connect_type, ATTR_NOTIFY_EVENT, EV_SELECT);
        set_ui_state(connect_radios[i], i == 0);
    }

    UiObject* messages = create_ui_object(UI_BOX, screen, "Modem Messages", ATTR_RECT, 10, 202, 304, 342,
                                          ATTR_TRANSPARENT, 1, ATTR_INPUT, 0);
    for (int i = 0; i < MODEM_MESSAGE_LINES; ++i)
        message_texts[i] = create_ui_object(UI_TEXT, messages, "Modem message", ATTR_POS, 2, 1 + 11 * i,
                                            ATTR_SIZE, 291, 11, ATTR_FONT, &font_large, ATTR_TOP_LINE, 0, ATTR_INPUT,
                                            0);
    set_modem_messages_shown(show_messages);

    const char* const bar[6][2] = {{"Small Help Button", "help"}, {"Small Prefs Button", "prefs"},
                                   {"Small Log Button", "logs"},  {"Small Recog Button", "recog"},
                                   {"Small Back Button", "back"}, {"Small Quit Button", "quit"}};
    const UiNotify actions[6] = {show_help_screen, show_preferences_screen, show_log_screen,
                                 show_recognition_screen, go_back_screen, show_exit_screen};
    const int xs[6] = {0, 106, 212, 320, 425, 526};
    for (int i = 0; i < 6; ++i) {
        char picture[40];
        std::snprintf(picture, sizeof picture, "menuscrn\\2p_%s.bbm", bar[i][1]);
        create_menu_button(screen, bar[i][0], xs[i], 445, xs[i] + 111, 476, picture, actions[i]);
    }

    load_modem_profiles(0);
    load_phone_book();
    show_two_player_choices();
    start_modem_thread();
    install_remote_presses();
}

void start_two_player_screen(UiObject*, Event&) {
    two_player_position = two_player_choices.position ? 2 : 1;
    if (two_player_game_type == 7) two_player_game_type = 1;
    push_screen(two_player_screen);
    show_start_game_button();
    reset_player_table();
}

void push_two_player_screen() { push_screen(two_player_screen); }

}  // namespace vyr
