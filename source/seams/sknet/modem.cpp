// Stand-in for the modem dialogue: no modem answers, so hanging up only forgets the link.
#include "source/sknet/modem.h"

#include "source/sknet/modem_link.h"
#include "source/sknet/two_player.h"

namespace vyr {

void load_modem_profiles(int) {}
void load_phone_book() {}
void initialise_modem() {}
void hang_up_modem(int, int) { linked_game = 0; }
void step_modem_dialogue() { modem_state = MODEM_IDLE; }

}  // namespace vyr
