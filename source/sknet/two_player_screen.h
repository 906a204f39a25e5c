// The two-player screen: the connect type, the game and its settings, the serial port, the
// message lines and "Start Game". Built with the menus; create_two_player_screen and
// start_two_player_screen are declared with the network screens.
#pragma once

#include "library/system/event.h"

namespace vyr {

struct UiObject;
extern UiObject* two_player_screen;

// "Start Game": this player's press, or, through the set-up exchange, the other's.
void start_game_button(UiObject* object, Event& event);
void start_game_from_other_machine();
void show_start_game_button();
// The three connect-type buttons take presses (1) or are greyed (0).
void enable_connect_buttons(int on);
// The rows show the current choices again.
void show_two_player_choices();

// The rows' buttons.
void game_mode_button(UiObject* object, Event& event);
void position_button(UiObject* object, Event& event);
void weather_minus(UiObject* object, Event& event);
void weather_plus(UiObject* object, Event& event);
void start_time_button(UiObject* object, Event& event);
void difficulty_button(UiObject* object, Event& event);
void com_port_minus(UiObject* object, Event& event);
void com_port_plus(UiObject* object, Event& event);
void irq_minus(UiObject* object, Event& event);
void irq_plus(UiObject* object, Event& event);
void baud_rate_minus(UiObject* object, Event& event);
void baud_rate_plus(UiObject* object, Event& event);
void choose_connect_type(UiObject* object, Event& event);
// The phone number field after one typed character (its x word).
void type_phone_number(UiObject* object, Event& event);

// The number typed into the phone number field, or put there from the phone book.
const char* two_player_phone_number();
void set_two_player_phone_number(const char* number);

}  // namespace vyr
