// Start-up settings, the command-line and environment options, the loading screen and the quit
// keys.
#pragma once

#include <cstdint>

namespace vyr {

struct Screen;

enum Language : int32_t {
    LANG_ENGLISH = 1,
    LANG_US = 2,
    LANG_FRENCH = 3,
    LANG_GERMAN = 4,
    LANG_SPANISH = 5,
    LANG_ITALIAN = 6,
};

constexpr int MAX_OPTION_WORDS = 128;  // the program's own word and 127 more

extern int32_t menu_screen_layout;  // passed to every change of screen mode
extern int32_t flight_video_mode;
extern int32_t product_language;
extern int32_t joystick_range;      // raw device units; 0 until an option gives one
extern int32_t throttle_reversal;
extern int32_t run_count;           // flights launched so far

// The named variable's words parsed as options; nothing when it is absent or empty.
void parse_environment_options(const char* name);
// Every word after the first.
void parse_command_line(int argc, char** argv);

// 0 to 3: a start-up phase under way; -1: the loading is over.
void show_loading_screen(int phase);
// Hot-key handler: ends the program with the key code's low byte as its status.
[[noreturn]] int quit_game_key(int key_code);

// Loads a picture and its palette into the screen, presents it on both display buffers and makes
// its palette the base palette. 0 when the file is not there.
int present_picture(Screen* screen, const char* name);

void set_run_count(int count);
int get_run_count();
// One more flight, stored as "Quick Start Game Runs".
void count_game_run();

// The accelerator with the theatre's textures, the object textures not yet; then the display goes
// back to the 8-bit menus until a flight takes it.
void start_accelerator();

// One line on stderr naming the stub files that stand in for modules not built yet (none when
// every module is built).
void report_seams();

}  // namespace vyr
