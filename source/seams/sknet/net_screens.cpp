// Stand-in for the network screen, which shows only its background and a way back.
#include "source/sknet/net_screens.h"

#include "library/ui/screens.h"
#include "source/menus/screens.h"

namespace vyr {

int32_t network_options_changed = 0;

namespace {
UiObject* network_screen = nullptr;
}  // namespace

void create_network_screen() { network_screen = create_bare_screen("Network Game Screen", "menuscrn\\net_off.lbm"); }
void start_network_game(UiObject*, Event&) { push_screen(network_screen); }

void set_score_values(int, int) {}
void join_network_channel() {}
void reset_server_state() {}
void set_node_sorting(int) {}
void show_network_scores() {}
void reset_player_table() {}
void share_network_options() {}
void apply_network_options() {}
void enable_network_option_buttons(int) {}
void enable_network_screen_input() {}
void check_network_take_off() {}

}  // namespace vyr
