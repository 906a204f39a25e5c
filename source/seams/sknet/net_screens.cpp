// Stand-in for the two-player screen, which shows only its background and a way back, and for
// the network screen's options.
#include "source/sknet/net_screens.h"

#include "library/ui/screens.h"
#include "source/menus/screens.h"

namespace vyr {

int32_t network_options_changed = 0;

namespace {
UiObject* two_player_screen = nullptr;
}  // namespace

void create_two_player_screen() {
    two_player_screen = create_bare_screen("Two Player Screen", "menuscrn\\2ply_off.lbm");
}
void start_two_player_screen(UiObject*, Event&) { push_screen(two_player_screen); }

void set_score_values(int, int) {}
void clear_modem_messages() {}
void join_network_channel() {}
void reset_server_state() {}
void show_network_scores() {}
void share_network_options() {}
void apply_network_options() {}
void enable_network_option_buttons(int) {}
void add_modem_message(const char*) {}
void show_link_end_reason() {}
void push_two_player_screen() {}
void enable_network_screen_input() {}

}  // namespace vyr
