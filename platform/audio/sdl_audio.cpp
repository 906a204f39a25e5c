#include "platform/audio/sdl_audio.h"

#include <SDL.h>

#include "platform/audio/mixer.h"

namespace vyr::platform {

namespace {

SDL_AudioDeviceID device = 0;
AudioPull pull_function = nullptr;  // written only while no device pulls

void fill_stream(void*, Uint8* stream, int length) {
    pull_function(reinterpret_cast<int16_t*>(stream), length / int(2 * sizeof(int16_t)));
}

}  // namespace

bool open_sdl_audio(AudioPull pull, std::string& error) {
    if (device) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    pull_function = pull;
    SDL_AudioSpec want = {};
    want.freq = MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = fill_stream;
    // No changes allowed: SDL converts to whatever the hardware takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!device) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void close_sdl_audio() {
    if (!device) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace vyr::platform
