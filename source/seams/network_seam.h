// Stand-in for multiplayer until it is built: the game mode and flight rules, the closing
// picture's choice and the chat and comms keys. Every game is a single-player one.
#pragma once

#include <cstdint>

namespace vyr {

enum GameMode : int32_t {
    GAME_SINGLE = 0,
    GAME_COMBAT = 1,
    GAME_TWO_PLAYER_MISSION = 2,
    GAME_PILOT_GUNNER = 3,
    GAME_MULTI_PLAYER = 4,
    GAME_CAPTURE_FLAG = 5,
};

extern int32_t game_mode;
// The pause key toggles a pause that does not block.
extern int32_t free_pause;
// 0 none, 1 to 3 the picture of the closing sequence.
extern int32_t goodbye_picture;

void register_comms_phrase_keys();
// Hot-key handler: opens the chat line.
int open_chat_line(int key_code);

}  // namespace vyr
