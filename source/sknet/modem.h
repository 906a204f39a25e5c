// The modem dialogue's commands: profiles, phone book, initialising, hanging up, and the steps of
// the dialogue states 1..6.
#pragma once

namespace vyr {

void load_modem_profiles(int clear_first);
void load_phone_book();
void initialise_modem();
// Answer mode off, the link flags cleared; "Hangup Phone" when `show`; the hang-up state when
// `start`.
void hang_up_modem(int show, int start);
// One step of the dialogue in states 1..6.
void step_modem_dialogue();

}  // namespace vyr
