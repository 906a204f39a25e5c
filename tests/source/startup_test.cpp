#include "source/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/config/prefs.h"
#include "library/graphics/display.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "tests/support/headless_world.h"
#include "tests/support/paths.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

struct Settings {
    int32_t layout, language, joystick, throttle;
    bool operator==(const Settings&) const = default;
};

Settings current_settings() { return {menu_screen_layout, product_language, joystick_range, throttle_reversal}; }

class Options : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        reset();
        unsetenv("VORNGS");
    }
    static void reset() {
        load_prefs("prefs.cfg");
        menu_screen_layout = 0;
        product_language = LANG_FRENCH;
        joystick_range = 0;
        throttle_reversal = 0;
    }
    void TearDown() override {
        unsetenv("VORNGS");
        ScratchDirectories::TearDown();
    }

    static void parse(std::vector<std::string> words) {
        words.insert(words.begin(), "application");
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        parse_command_line(int(argv.size()), argv.data());
    }

    static int stored_language() {
        int value = 0;
        return get_pref_int("Product Language", &value) ? value : -1;
    }
};

TEST_F(Options, EachWordSetsItsSetting) {
    const struct {
        std::vector<std::string> words;
        Settings expected;
    } cases[] = {
        {{"-lg"}, {0, LANG_GERMAN, 0, 0}},
        {{"/LG"}, {0, LANG_GERMAN, 0, 0}},
        {{"-la"}, {0, LANG_US, 0, 0}},
        {{"-Lx"}, {0, LANG_FRENCH, 0, 0}},
        {{"-C7"}, {0, LANG_FRENCH, 0, 0}},
        {{"/c2"}, {2, LANG_FRENCH, 0, 0}},
        {{"-Q3"}, {0, LANG_FRENCH, 0, 1}},
        {{"-q-3"}, {0, LANG_FRENCH, 0, -1}},
        {{"-J12"}, {0, LANG_FRENCH, 1200, 0}},
        {{"-j-7x"}, {0, LANG_FRENCH, -700, 0}},
        {{"-Jfast"}, {0, LANG_FRENCH, 0, 0}},
        {{"-J99999999999"}, {0, LANG_FRENCH, INT32_MAX, 0}},
        {{"-c1", "-c3"}, {3, LANG_FRENCH, 0, 0}},
        {{"lg", "c2", "-", "/", "-z9", "-V1"}, {0, LANG_FRENCH, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.front());
        reset();
        parse(c.words);
        EXPECT_EQ(current_settings(), c.expected);
    }
}

TEST_F(Options, TheLanguageIsStoredEvenWhenTheLetterIsUnknown) {
    parse({"-lz"});
    EXPECT_EQ(stored_language(), LANG_FRENCH);
    parse({"-c1"});
    EXPECT_EQ(stored_language(), LANG_FRENCH);
    parse({"/Lg"});
    EXPECT_EQ(stored_language(), LANG_GERMAN);
}

TEST_F(Options, TheEnvironmentIsSplitAtWhiteSpace) {
    setenv("VORNGS", " -lg\t/c2\n-Q1\r\v\f ", 1);
    parse_environment_options("VORNGS");
    EXPECT_EQ(current_settings(), (Settings{2, LANG_GERMAN, 0, 1}));
}

TEST_F(Options, AnEmptyOrBlankEnvironmentChangesNothing) {
    for (const char* value : {static_cast<const char*>(""), " \t\n\r\v\f ", static_cast<const char*>(nullptr)}) {
        if (value)
            setenv("VORNGS", value, 1);
        else
            unsetenv("VORNGS");
        parse_environment_options("VORNGS");
        EXPECT_EQ(current_settings(), (Settings{0, LANG_FRENCH, 0, 0}));
        EXPECT_EQ(stored_language(), -1);
    }
}

TEST_F(Options, WordsBeyondTheTableAreIgnored) {
    std::string value;
    for (int i = 1; i < MAX_OPTION_WORDS; ++i) value += "-c1 ";
    setenv("VORNGS", (value + "-c3 -lg").c_str(), 1);
    parse_environment_options("VORNGS");
    EXPECT_EQ(current_settings(), (Settings{1, LANG_FRENCH, 0, 0}));
}

TEST_F(Options, TheCommandLineWinsOverTheEnvironment) {
    setenv("VORNGS", "-lg -c2", 1);
    parse_environment_options("VORNGS");
    parse({"-li"});
    EXPECT_EQ(current_settings(), (Settings{2, LANG_ITALIAN, 0, 0}));
}

TEST_F(Options, CountingARunStoresIt) {
    set_run_count(0);
    count_game_run();
    count_game_run();
    int stored = 0;
    ASSERT_EQ(get_pref_int("Quick Start Game Runs", &stored), 1);
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(get_run_count(), 2);
}

TEST_F(Options, ARunCountAtTheLimitStaysThere) {
    const struct {
        int32_t stored, counted;
    } cases[] = {{INT32_MAX, INT32_MAX}, {INT32_MAX - 1, INT32_MAX}, {INT32_MIN, INT32_MIN + 1}};
    for (auto c : cases) {
        set_run_count(c.stored);
        count_game_run();
        int stored = 0;
        EXPECT_EQ(get_run_count(), c.counted) << c.stored;
        EXPECT_TRUE(get_pref_int("Quick Start Game Runs", &stored) && stored == c.counted) << c.stored;
    }
}

// The loading screen's pictures and the first menu screens' backgrounds, shown on a headless
// display over a data directory of the test's own.
class PictureColours : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        world.emplace();
        ASSERT_TRUE(world->start());
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_CREATE_DIRECTDRAW, block);
        ASSERT_TRUE(set_video_mode(1));
    }
    void TearDown() override {
        world.reset();
        ScratchDirectories::TearDown();
    }

    std::optional<HeadlessWindowThread> world;
};

// A picture without a colour map is shown in the colours already there, never in whatever the
// palette buffer it was loaded with held.
TEST_F(PictureColours, APictureWithoutAColourMapLeavesThePaletteAsItWas) {
    const std::filesystem::path plain =
        std::filesystem::path(VYR_SOURCE_DIR) / "tests" / "source" / "fixtures" / "no_colour_map.lbm";
    const struct {
        const char* name;
        const char* file;
        std::function<void()> show;
    } cases[] = {
        {"the loading screen's", "menuscrn/newintro.lbm",
         [] {
             Screen* screen = create_screen(640, 480);
             EXPECT_EQ(present_picture(screen, "menuscrn\\newintro.lbm"), 1);
             EXPECT_EQ(screen->pixels[0], 5);
             EXPECT_EQ(screen->pixels[1], 9);
             select_screen(nullptr);
             destroy_screen(screen);
         }},
    };
    uint8_t colours[PALETTE_BYTES];
    for (int i = 0; i < PALETTE_BYTES; ++i) colours[i] = uint8_t(i * 7 + 1);
    std::filesystem::create_directories(data / "menuscrn");
    for (const auto& c : cases) {
        std::filesystem::copy_file(plain, data / c.file);
        set_base_palette(colours, 0, 256, 1);
        c.show();
        EXPECT_EQ(std::memcmp(base_palette, colours, PALETTE_BYTES), 0) << c.name;
    }
}

}  // namespace
}  // namespace vyr
