// SDL key positions to PC set-1 scan codes.
#pragma once

namespace vyr::platform {

struct Set1Key {
    int code;       // 0x01-0x7f; 0 when the key has no set-1 code
    bool extended;  // sent after the 0xE0 prefix
};

// `sdl_scancode` is an SDL_Scancode value.
Set1Key set1_from_sdl(int sdl_scancode);

}  // namespace vyr::platform
