// The process entry: pick the platform backends, then run the program on this thread, which
// becomes the window thread.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/graphics/ddraw.h"
#include "library/sound/dsound.h"
#include "library/system/winmain.h"
#include "platform/joystick/joystick.h"
#include "platform/window/headless.h"
#include "source/game_main.h"
#include "source/state_digest.h"

int main(int argc, char** argv) {
    // A headless run reads no real devices, so that scripted runs repeat exactly; its script may
    // bring a joystick of its own.
    const char* video = std::getenv("VYR_VIDEO");
    vyr::platform::select_joystick_backend(!(video && std::strcmp(video, "headless") == 0));
    std::string error;
    if (!vyr::platform::select_window_backend(error)) {
        std::fprintf(stderr, "vyr: %s\n", error.c_str());
        return 1;
    }
    // The game splits its command line itself, as one text.
    std::string command_line;
    for (int i = 1; i < argc; ++i) command_line += (i > 1 ? " " : "") + std::string(argv[i]);
    vyr::install_display_requests();
    vyr::install_sound_requests();
    vyr::platform::digest_writer = vyr::append_state_digest;
    return vyr::win_main(vyr::game_main, command_line.c_str());
}
