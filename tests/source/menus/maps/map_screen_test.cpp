// The mission map screen built whole: the words on its buttons in each language and the Met Box's
// wind and weather. Building it starts the map's drawing threads, which outlive a test, so each
// build runs in a child process of its own that prints what it found.
#include "source/menus/maps/map_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/3dvisual/view.h"
#include "library/graphics/ddraw.h"
#include "source/mission/mission_data.h"
#include "source/startup.h"
#include "tests/source/menus/menu_objects.h"

namespace vyr {
namespace {

constexpr uint32_t ONE_DEGREE = 11930465;

class MapScreen : public MenuObjects {
protected:
    static void build(int language) {
        product_language = language;
        set_display_size(640, 480);
        set_display_clip(0, 0, 639, 479);
        create_map_screen();
    }
};

TEST_F(MapScreen, TheExitAndTakeoffButtonsReadInItalianOnlyInLanguageSix) {
    const struct {
        int language;
        const char* shown;  // the two exit buttons and the take-off button
    } cases[] = {{LANG_ENGLISH, "Exit Exit Takeoff"},
                 {LANG_US, "Exit Exit Takeoff"},
                 {LANG_GERMAN, "Exit Exit Takeoff"},
                 {LANG_ITALIAN, "Esci Esci Decollo"}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                build(c.language);
                std::fprintf(stderr, "%s %s %s\n", map_exit_button->text, debrief_exit_button->text,
                             briefing_takeoff_button->text);
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), std::string("^") + c.shown + "\n$")
            << c.language;
    }
}

TEST_F(MapScreen, TheMetBoxShowsTheMissionsWindInKnotsAndWholeDegreesAndTheWeather) {
    const struct {
        int32_t speed;
        uint32_t direction;
        int weather;
        const char* shown;
    } cases[] = {
        {12, 90 * ONE_DEGREE, 0, "12 Kts/90 Degs/Clear"},
        {0, 0, 1, "0 Kts/0 Degs/Overcast"},
        {35, 180 * ONE_DEGREE, 2, "35 Kts/180 Degs/Light Fog"},  // a mission's whole degrees, past the
        {7, 270 * ONE_DEGREE, 3, "7 Kts/270 Degs/Thick Fog"},    // half turn as before it
        {7, 0xffffffffu, 3, "7 Kts/359 Degs/Thick Fog"},         // just short of north
        {5, 45 * ONE_DEGREE, 4, "5 Kts/45 Degs/Unknown"},        // no such weather
    };
    std::string expected = "^Unknown/Unknown/Unknown\n";
    for (const auto& c : cases) expected += std::string(c.shown) + "\n";
    EXPECT_EXIT(
        {
            build(LANG_ENGLISH);
            auto print_values = [] {  // found front to back: the last made first
                for (int i = 0; i < 3; ++i)
                    std::fprintf(stderr, "%s%s", find(met_box, "Met Box Value", 2 - i)->text, i < 2 ? "/" : "\n");
            };
            print_values();
            for (const auto& c : cases) {
                wind_speed = c.speed;
                wind_direction = c.direction;
                view_settings.weather = c.weather;
                update_met_box();
                print_values();
            }
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), expected + "$");
}

}  // namespace
}  // namespace vyr
