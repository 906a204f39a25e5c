// Front-end flow and set-up: the mission lists, the campaign entry, the menu fonts and the front end's
// one-time set-up.
#pragma once

#include <cstdint>

#include "library/graphics/font.h"

namespace vyr {

// Every menu screen, the fonts first; once, before the first screen is pushed.
void init_front_end();

// The UI colours of the menus; null is the toolkit's own.
const uint8_t* get_menu_colour_table();

// The mission list of training, or of the war zone's single missions; the Log Screen instead
// while no pilot log is active.
void show_training_missions();
void show_single_missions();
// The campaign of the current war zone for the current pilot, shown on the Situation Screen with
// its speech; the Log Screen while no pilot log is active. A campaign not yet begun (or whose
// block was ended) is started afresh: level 3, three lives, a new seed.
void enter_campaign();

// The result of the last campaign mission flown, as the debrief reports it (2 failed); 0 after a
// campaign is (re)started.
void set_campaign_result(int result);
// The mission choose_campaign_mission picked; null when the campaign has ended or was restarted.
struct Mission;
extern Mission* current_campaign_mission;

// The campaign text of a zone, level and result into the Situation Screen's text: at level 0 the
// ":Description", ":Failure" or ":Success" of text 0 for results 0, 2 and 3; at a later level
// the ":Failure" of the next text for result 2, else the level's ":Situation".
void find_mission_text(int zone, int level, int result);

// The two fonts of every menu screen: the same glyphs and widths, the tall one with a line of 20
// pixels, drawn one pixel lower.
extern Font menu_font;
extern Font menu_font_tall;
// Reads the glyph sheet "fonts\11x15.lbm": 256 cells of 17 x 17, 32 to a row, ink in colour 2. A
// glyph's width is its rightmost inked column, 4 for a glyph without ink beyond column 0; the
// digits share the widest digit's width so that numbers line up.
void build_menu_fonts();
// Glyph c with its top-left corner at (x, y) (one lower for the tall font), inked in `colour`.
void draw_menu_glyph(int c, int x, int y, int colour);
void draw_menu_glyph_low(int c, int x, int y, int colour);

// The front end's game type (1: the quick start that enters the top ten).
int get_game_type();
// Set while the flight was started from the first-run screen.
extern int32_t first_run_flight;
// The mission map's routes redrawn: the old ones vanish at once, the route layer is asked for.
void refresh_map_screen();
// After a flight the menus' screens are the player's again: buttons shown, remote-control
// messages hidden.
void return_screens_to_local_control();

}  // namespace vyr
