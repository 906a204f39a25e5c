#include "library/ui/screens.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <unistd.h>

#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/os/file.h"
#include "library/system/event.h"
#include "library/system/memory.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/system/winmain.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"
#include "library/ui/upicture.h"
#include "platform/display/display.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/headless_world.h"
#include "tools/vyrgen/pictures/test_screen.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;
using vyrgen::TEST_BUTTON_HEIGHT, vyrgen::TEST_BUTTON_WIDTH, vyrgen::TEST_BUTTON_X, vyrgen::TEST_BUTTON_Y;

// The whole toolkit, its threads and a headless display run in a fresh process each, the test's
// thread becoming "System"; the scenario's findings come back as text.
class ThreadedScreens : public SystemScenarios {
protected:
    void SetUp() override {
        if (!fs::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        inside.emplace(work.path());
    }

    // In the scenario's child, which ends without unwinding: the world is never taken down.
    static void start_system() {
        headless = start_headless_system();
        ASSERT_NE(headless, nullptr);
    }

    static std::string run_as_system(std::string (*scenario)()) {
        return SystemScenarios::run_as_system(scenario, start_system);
    }

    ScratchDirectory work;
    std::optional<WorkingDirectory> inside;
    static inline platform::HeadlessWindow* headless = nullptr;
};

int selects = 0;

void count_selects(UiObject*, Event& event) {
    if (event.type == EV_SELECT) ++selects;
}

void post(int type, int value, int x, int y) { post_event(Event{type, value, x, y, 0}); }

void settle() {
    idle_flag = 0;
    wait_until_idle();
}

uint8_t visible(int x, int y) {
    platform::SurfaceLock lock;
    platform::lock_surface(platform::Surface::VISIBLE, lock);
    uint8_t index = lock.pixels[size_t(y) * lock.pitch + x];
    platform::unlock_surface(platform::Surface::VISIBLE);
    return index;
}

// Pixels of the display's rectangle at (x, y) that differ from a picture file's.
int differences_from_picture(const char* name, int x, int y) {
    uint8_t* pixels = nullptr;
    int width = 0, height = 0;
    load_picture(name, &pixels, &width, &height);
    int differing = 0;
    platform::SurfaceLock lock;
    platform::lock_surface(platform::Surface::VISIBLE, lock);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            differing += lock.pixels[size_t(y + row) * lock.pitch + x + column] != pixels[size_t(row) * width + column];
    platform::unlock_surface(platform::Surface::VISIBLE);
    free_memory(pixels, "test", __LINE__);
    return differing;
}

// Pixels of the display that differ from what the UI composed.
int differences_from_composition() {
    int differing = 0;
    platform::SurfaceLock lock;
    platform::lock_surface(platform::Surface::VISIBLE, lock);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            differing += lock.pixels[size_t(y) * lock.pitch + x] !=
                         composition_screen->pixels[size_t(y) * (composition_screen->width + composition_screen->row_pad) + x];
    platform::unlock_surface(platform::Surface::VISIBLE);
    return differing;
}

std::string display_entry(int index) {
    uint8_t rgb[3];
    request_display_palette(rgb, index, 1);
    return std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," + std::to_string(rgb[2]);
}

struct Screens {
    UiObject* plain;
    UiObject* pictured;
    UiObject* button;
};

Screens build_screens() {
    start_ui();
    UiObject* root = create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479, 0);
    Screens s;
    s.plain = create_ui_object(UI_BOX, root, "Plain", ATTR_RECT, 0, 0, 639, 479, ATTR_COLOUR, 0x05050505, 0);
    s.pictured = create_ui_object(UI_PICTURE, root, "Pictured", ATTR_RECT, 0, 0, 639, 479, ATTR_PICTURE,
                                  "uidata\\testscrn.lbm", ATTR_SHOWN, 0, 0);
    s.button = create_ui_object(UI_BUTTON, s.pictured, "Button", ATTR_RECT, TEST_BUTTON_X, TEST_BUTTON_Y,
                                TEST_BUTTON_X + TEST_BUTTON_WIDTH - 1, TEST_BUTTON_Y + TEST_BUTTON_HEIGHT - 1,
                                ATTR_PICTURE, "uidata\\testbtn.lbm", ATTR_NOTIFY, count_selects, 0);
    push_screen_now(s.plain);
    settle();
    return s;
}

TEST_F(ThreadedScreens, APushedPictureScreenIsShownItsButtonPressedAndThePopReturns) {
    std::string output = run_as_system([] {
        Screens s = build_screens();
        std::string out = "plain:" + std::to_string(visible(320, 240)) + " ";
        fade_screen_out();
        out += "faded:" + display_entry(251) + " ";
        fade_screen_in();
        out += "back:" + std::to_string(display_entry(251) != "0,0,0") + " ";

        push_screen(s.pictured);
        out += "depth:" + std::to_string(screen_depth) + " ";
        out += "picture:" + std::to_string(differences_from_picture("uidata\\testscrn.lbm", 0, 0)) + " ";
        out += "colour:" + display_entry(70) + " ";
        headless->write_capture(testing::TempDir() + "vyr-pushed-screen.ppm");
        out += "shown:" + std::to_string(headless->frame()[size_t(TEST_BUTTON_Y + 20) * 640 + TEST_BUTTON_X + 5] & 0xFFFFFF) + " ";

        const int bx = TEST_BUTTON_X + 20, by = TEST_BUTTON_Y + 10;
        post(EV_MOUSE_MOVE, 0, bx, by);
        post(EV_MOUSE_CLICK, 1, bx, by);
        settle();
        out += "pressed:" +
               std::to_string(differences_from_picture("uidata\\testbtn.lbm", TEST_BUTTON_X, TEST_BUTTON_Y)) + " ";
        headless->write_capture(testing::TempDir() + "vyr-pressed-button.ppm");
        post(EV_MOUSE_CLICK, 0, bx, by);
        settle();
        out += "selects:" + std::to_string(selects) + " ";
        out += "released:" + std::to_string(differences_from_picture("uidata\\testscrn.lbm", 0, 0)) + " ";

        post(EV_MOUSE_CLICK, 1, bx, by);
        post(EV_MOUSE_MOVE, 0, 10, 10);
        post(EV_MOUSE_CLICK, 0, 10, 10);
        settle();
        out += "elsewhere:" + std::to_string(selects) + "," + std::to_string(s.button->state) + " ";

        pop_screen();
        out += "popped:" + std::to_string(screen_depth) + "," + std::to_string(visible(320, 240)) + "," +
               std::to_string(s.pictured->body == nullptr) + " ";
        out += "composed:" + std::to_string(differences_from_composition());
        return out;
    });
    EXPECT_EQ(output,
              "plain:5 faded:0,0,0 back:1 depth:2 picture:0 colour:150,150,140 shown:" + std::to_string(150 << 16 | 150 << 8 | 140) + " pressed:0 selects:1 released:0 "
              "elsewhere:1,0 popped:1,5,1 composed:0");
}

TEST_F(ThreadedScreens, AWindowIsDraggedLiveOrAsAnOutline) {
    std::string output = run_as_system([] {
        Screens s = build_screens();
        UiObject* window =
            create_ui_object(UI_WINDOW, s.plain, "Window", ATTR_RECT, 100, 100, 199, 149, ATTR_COLOUR, 0x09090909, 0);
        settle();
        std::string out;
        continuous_move = 0;
        post(EV_MOUSE_MOVE, 0, 110, 110);
        post(EV_MOUSE_CLICK, 1, 110, 110);
        post(EV_MOUSE_MOVE, 0, 300, 200);
        settle();
        // The outline runs from (290, 190) to (389, 239), inverting the plain screen beneath.
        out += "outline:" + std::to_string(window->x0) + "," + std::to_string(visible(300, 190) != 5) + "," +
               std::to_string(visible(389, 220) == visible(300, 190)) + "," + std::to_string(visible(300, 191)) + " ";
        post(EV_MOUSE_CLICK, 0, 300, 200);
        settle();
        out += "placed:" + std::to_string(window->x0) + "," + std::to_string(window->y0) + "," +
               std::to_string(differences_from_composition()) + " ";

        continuous_move = 1;
        post(EV_MOUSE_MOVE, 0, 300, 200);
        post(EV_MOUSE_CLICK, 1, 300, 200);
        post(EV_MOUSE_MOVE, 0, 60, 70);
        settle();
        out += "live:" + std::to_string(window->x0) + "," + std::to_string(window->y0) + "," +
               std::to_string(visible(55, 70)) + "," + std::to_string(differences_from_composition()) + " ";
        post(EV_MOUSE_CLICK, 0, 60, 70);
        settle();
        out += "dropped:" + std::to_string(window->flags & UIF_DRAGGING) + "," + std::to_string(ui_captured == nullptr);
        return out;
    });
    EXPECT_EQ(output, "outline:100,1,1,5 placed:290,190,0 live:50,60,9,0 dropped:0,1");
}

}  // namespace
}  // namespace vyr
