#include "library/sound/dsound.h"

// No sound device yet: the program runs silent, as it does on a machine without one.

namespace vyr {

int create_direct_sound() { return 0; }
void release_direct_sound() {}
SoundBuffer* create_sound_buffer_now(int, int, int) { return nullptr; }
SoundBuffer* duplicate_sound_buffer_now(SoundBuffer*) { return nullptr; }
void release_sound_buffer_now(SoundBuffer*) {}
void deactivate_sound() {}
void activate_sound() {}

}  // namespace vyr
