// The game mode and flight rules of a linked game, and the comms phrases.
#pragma once

#include <cstdint>

namespace vyr {

struct WeaponRound;

enum GameMode : int32_t {
    GAME_SINGLE = 0,
    GAME_COMBAT = 1,
    GAME_TWO_PLAYER_MISSION = 2,
    GAME_PILOT_GUNNER = 3,
    GAME_MULTI_PLAYER = 4,
    GAME_CAPTURE_FLAG = 5,
    // A two-player game the rules never choose themselves; only the other machine sets it.
    GAME_LINKED_MISSION = 6,
    // A network game no menu offers; it ends as the other network games do.
    GAME_NETWORK_OTHER = 7,
};

extern int32_t game_mode;

enum ConnectionMode : int32_t {
    CONNECTION_NONE = 0,
    CONNECTION_DIRECT = 1,
    CONNECTION_MODEM = 2,
    CONNECTION_NETWORK = 3,
};
extern int32_t connection_mode;

// To the other machines: the player crashed into something; the player captured the flag; the
// landing grade for the gunner of a two-player game.
void send_crashed();
void send_flag_captured();
void queue_two_player_event(int event);
// To the other machines: a round the player launched; a flare or chaff bundle released.
void send_weapon_fire(WeaponRound* round);
void send_flare_launch();
void send_chaff_launch();

enum ControlMode : int32_t { CONTROL_PILOT = 0, CONTROL_GUNNER = 1, CONTROL_BOTH = 2 };
// A gunner's machine takes the pilot's state instead of flying the aircraft.
extern int32_t control_mode;
// Crashes do not end the flight.
extern int32_t crashing_off;
// Collisions and crashes do not end the flight; fuel is not used up.
extern int32_t invincible;
extern int32_t infinite_fuel;
// The pause key toggles a pause that does not block.
extern int32_t free_pause;
// The chat line's cheats: the debrief judges every mission a success, or outstanding.
extern int32_t always_succeed;
extern int32_t always_outstanding;

void register_comms_phrase_keys();

// The own player's team bit in capture the flag: 1 blue, 0 red.
int own_team_bit();
// Derives the game mode, control mode, player number, connection and flight rules from the chosen
// game type.
void set_game_rules();

}  // namespace vyr
