// The sound device: the window-thread handlers behind the sound requests.
#pragma once

namespace vyr {

struct SoundBuffer;

// Window-thread handlers, run by the request protocol.
int create_direct_sound();   // 1 when sound is ready, 0 when the program runs silent
void release_direct_sound();
// kind: 4 mono 8-bit, 5 mono 16-bit, 6 stereo 8-bit, 7 stereo 16-bit.
SoundBuffer* create_sound_buffer_now(int length, int rate, int kind);
SoundBuffer* duplicate_sound_buffer_now(SoundBuffer* buffer);
void release_sound_buffer_now(SoundBuffer* buffer);

// Focus lost and regained (full-screen style): pause and resume what plays.
void deactivate_sound();
void activate_sound();

}  // namespace vyr
