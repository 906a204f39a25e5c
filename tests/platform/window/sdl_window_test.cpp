// The SDL window on SDL's dummy video driver: events pushed through SDL's own queue.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "platform/window/window.h"

namespace vyr::platform {
namespace {

std::vector<WindowMessage> heard;
struct LoopEnded {};

intptr_t listen(const WindowMessage& message) {
    if (message.kind == MessageKind::QUIT) throw LoopEnded{};
    heard.push_back(message);
    return 0;
}

SDL_Event button_event(uint32_t type, uint8_t button, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    return event;
}

TEST(SdlWindow, ButtonsComeFromEachEventEvenWhenAClickArrivesInOnePump) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    std::unique_ptr<Window> window = make_sdl_window(error);
    ASSERT_TRUE(window) << error;
    ASSERT_TRUE(window->create(listen, "test", 0, 0, 640, 480));
    heard.clear();
    for (SDL_Event event : {button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20),
                            button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 20),
                            button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 11, 21),
                            button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 11, 21),
                            button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 12, 22)})
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_THROW(window->run_message_loop(), LoopEnded);

    std::vector<std::pair<uint32_t, intptr_t>> buttons;
    for (const WindowMessage& message : heard)
        if (message.kind == MessageKind::MOUSE_BUTTON) buttons.push_back({message.wparam, message.lparam});
    const std::vector<std::pair<uint32_t, intptr_t>> expected{{MOUSE_LEFT, pack_mouse_position(10, 20)},
                                                              {MOUSE_LEFT | MOUSE_RIGHT, pack_mouse_position(10, 20)},
                                                              {MOUSE_RIGHT, pack_mouse_position(11, 21)},
                                                              {0, pack_mouse_position(12, 22)}};
    EXPECT_EQ(buttons, expected);
    window->shutdown();
}

}  // namespace
}  // namespace vyr::platform
