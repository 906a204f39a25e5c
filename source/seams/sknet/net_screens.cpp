// Stand-in for the network screen's options and scores.
#include "source/sknet/net_screens.h"

namespace vyr {

int32_t network_options_changed = 0;

void set_score_values(int, int) {}
void join_network_channel() {}
void reset_server_state() {}
void show_network_scores() {}
void share_network_options() {}
void apply_network_options() {}
void enable_network_option_buttons(int) {}
void enable_network_screen_input() {}
void check_network_take_off() {}

}  // namespace vyr
