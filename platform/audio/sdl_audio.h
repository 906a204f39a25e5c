// The SDL output of the mixer: SDL's audio thread pulls 44.1 kHz signed 16-bit stereo frames.
#pragma once

#include <cstdint>
#include <string>

namespace vyr::platform {

// Fills `frames` stereo frames; called on SDL's audio thread.
using AudioPull = void (*)(int16_t* out, int frames);

// Opens the default output device and starts pulling; false with the reason when it cannot.
bool open_sdl_audio(AudioPull pull, std::string& error);
// Stops pulling (no pull runs once this returns) and closes the device.
void close_sdl_audio();

}  // namespace vyr::platform
