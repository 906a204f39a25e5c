// Stand-in for the network and two-player screens, which show only their backgrounds and a way
// back.
#include "source/sknet/net_screens.h"

#include "library/ui/screens.h"
#include "source/menus/screens.h"

namespace vyr {

int32_t network_options_changed = 0;

namespace {
UiObject* network_screen = nullptr;
UiObject* two_player_screen = nullptr;
}  // namespace

void create_network_screen() { network_screen = create_bare_screen("Network Game Screen", "menuscrn\\net_off.lbm"); }
void create_two_player_screen() {
    two_player_screen = create_bare_screen("Two Player Screen", "menuscrn\\2ply_off.lbm");
}
void start_network_game(UiObject*, Event&) { push_screen(network_screen); }
void start_two_player_screen(UiObject*, Event&) { push_screen(two_player_screen); }

void set_score_values(int, int) {}
void clear_modem_messages() {}
void join_network_channel() {}
void reset_server_state() {}
void show_network_scores() {}
void share_network_options() {}
void apply_network_options() {}
void enable_network_option_buttons(int) {}
void refresh_network_player_list() {}
void add_modem_message(const char*) {}
void show_link_end_reason() {}
void push_two_player_screen() {}
void enable_network_screen_input() {}

}  // namespace vyr
