#include "platform/window/sdl_keys.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <map>

namespace vyr::platform {
namespace {

TEST(SdlKeys, MapsPositionsToSet1Codes) {
    const struct {
        SDL_Scancode sdl;
        int code;
        bool extended;
    } cases[] = {
        {SDL_SCANCODE_ESCAPE, 0x01, false},  {SDL_SCANCODE_A, 0x1e, false},
        {SDL_SCANCODE_RETURN, 0x1c, false},  {SDL_SCANCODE_KP_ENTER, 0x1c, true},
        {SDL_SCANCODE_LALT, 0x38, false},    {SDL_SCANCODE_RALT, 0x38, true},
        {SDL_SCANCODE_LCTRL, 0x1d, false},   {SDL_SCANCODE_RCTRL, 0x1d, true},
        {SDL_SCANCODE_F11, 0x57, false},     {SDL_SCANCODE_F12, 0x58, false},
        {SDL_SCANCODE_UP, 0x48, true},       {SDL_SCANCODE_KP_8, 0x48, false},
        {SDL_SCANCODE_DELETE, 0x53, true},   {SDL_SCANCODE_KP_PERIOD, 0x53, false},
        {SDL_SCANCODE_KP_DIVIDE, 0x35, true}, {SDL_SCANCODE_SLASH, 0x35, false},
    };
    for (const auto& c : cases) {
        Set1Key key = set1_from_sdl(c.sdl);
        EXPECT_EQ(key.code, c.code) << SDL_GetScancodeName(c.sdl);
        EXPECT_EQ(key.extended, c.extended) << SDL_GetScancodeName(c.sdl);
    }
    EXPECT_EQ(set1_from_sdl(SDL_SCANCODE_F20).code, 0);
}

TEST(SdlKeys, NoTwoKeysShareACode) {
    std::map<std::pair<int, bool>, int> seen;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        Set1Key key = set1_from_sdl(s);
        if (key.code == 0) continue;
        EXPECT_GE(key.code, 0x01);
        EXPECT_LE(key.code, 0x7f);
        auto [it, fresh] = seen.emplace(std::make_pair(key.code, key.extended), s);
        EXPECT_TRUE(fresh) << SDL_GetScancodeName(SDL_Scancode(s)) << " and "
                           << SDL_GetScancodeName(SDL_Scancode(it->second));
    }
}

}  // namespace
}  // namespace vyr::platform
