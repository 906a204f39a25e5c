// Stand-in for the game's sound triggers: no engine, afterburner or speech sample is played yet.
#include "source/sound/menu_music.h"
#include "source/sound/triggers.h"

namespace vyr {

void set_loop_sample(int) {}
void restore_engine_sound() {}
void start_afterburner_sound() {}
void set_afterburner_level(int) {}
void stop_afterburner_sound() {}
void stop_all_sounds() {}
void play_speech(int) {}
void choose_menu_music() {}

}  // namespace vyr
