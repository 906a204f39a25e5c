// The vehicle recognition viewer: stepping through its lists, framing and sub-objects by the
// table, the caption, and the "Vehicle Visual" thread's life with the screen.
#include "source/menus/recognition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/graphics/display.h"
#include "library/graphics/plot.h"
#include "library/maths/trig.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "library/system/thread.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "source/mission/game_flow.h"
#include "source/weapons/object_types.h"
#include "tests/library/system/system_scenario.h"
#include "tests/support/headless_world.h"
#include "tests/support/worlds.h"

namespace vyr {
namespace {

class RecognitionViewer : public GeneratedTheatre {
protected:
    int war_zone() const override { return WAR_ZONE_KOREA; }
    void SetUp() override {
        GeneratedTheatre::SetUp();
        if (IsSkipped()) return;
        reload_objects("3DDATA\\");
        apply_object_type_table();
    }
    void TearDown() override {
        if (viewer_object) free_object_instance(viewer_object);
        viewer_object = nullptr;
        GeneratedTheatre::TearDown();
    }
    static int32_t size_of(int32_t object) {
        const ObjectHeader* h = get_object_header(object);
        return std::max(h->radius, h->height);
    }
    Event event{};
};

TEST_F(RecognitionViewer, TheButtonsStepThroughTheListsAndWrapAtBothEnds) {
    using Step = void (*)(UiObject*, Event&);
    const struct {
        Step first, then;
        int presses;
        const ViewerEntry* list;
        int index;
        int32_t object;
    } cases[] = {
        {show_ship_list, show_next_vehicle, 7, ship_list, 0, 130},  // past the last ship: the first
        {show_ship_list, show_next_vehicle, 6, ship_list, 6, 514},
        {show_aircraft_list, show_previous_vehicle, 1, aircraft_list, 18, 686},
        {show_aircraft_list, show_next_vehicle, 1, aircraft_list, 1, 3},
        {show_vehicle_list, show_previous_vehicle, 0, vehicle_list, 0, 54},
        {show_vehicle_list, show_previous_vehicle, 2, vehicle_list, 30, 1045},
        {show_ship_list, show_previous_vehicle, 0, ship_list, 0, 130},
    };
    for (const auto& c : cases) {
        c.first(nullptr, event);
        for (int i = 0; i < c.presses; ++i) c.then(nullptr, event);
        EXPECT_EQ(viewer_list, c.list) << c.object;
        EXPECT_EQ(viewer_index, c.index) << c.object;
        ASSERT_NE(viewer_object, nullptr);
        EXPECT_EQ(viewer_object->object_type, c.object);
    }
}

// The eye stands 1.5 d in front of the object and d / 2 above it.
TEST_F(RecognitionViewer, EachObjectIsFramedAndFittedOutByTheTable) {
    const struct {
        int32_t object;
        int32_t distance;  // 0: the object's r
        std::vector<std::pair<int, int32_t>> slots;  // slot (from 1), object; the rest empty
    } cases[] = {
        {34, 16000, {}},
        {237, 0, {}},
        {607, 8000, {{1, 614}, {3, 620}}},
        {606, 7000, {{16, 1034}}},
        {3, 8000, {{1, 1217}, {2, 1214}, {3, 1219}}},
        {916, 1500, {{1, 707}}},
        {1, 0, {}},  // on no list
    };
    for (const auto& c : cases) {
        show_vehicle(c.object);
        const int32_t d = c.distance ? c.distance : size_of(c.object);
        EXPECT_EQ(viewer_eye.position.y, -(3 * d / 2)) << c.object;
        EXPECT_EQ(viewer_eye.position.z, d / 2) << c.object;
        std::array<int32_t, VIEWER_SUB_OBJECTS> expected{};
        for (auto [slot, object] : c.slots) expected[size_t(slot - 1)] = object;
        EXPECT_EQ(viewer_sub_objects, expected) << c.object;
        EXPECT_EQ(viewer_object->object_type, c.object);
    }
    EXPECT_GT(size_of(1), 0);
}

TEST_F(RecognitionViewer, TheCaptionIsTheLongNameCutBeforeItsBracket) {
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {{"C130 Hercules", "C130 Hercules"}, {"BMP2 (APC)", "BMP2 "}, {"(Generic 2) Building", ""},
                 {"Challenger (MBT) (Challnger)", "Challenger "}};
    for (const auto& c : cases) {
        char out[64];
        EXPECT_STREQ(viewer_caption(c.name, out, sizeof out), c.shown);
    }
    char small[5];
    EXPECT_STREQ(viewer_caption("Hercules", small, sizeof small), "Herc");
}

// Drawn over a plain field: the letters in colour 1, their shadow in colour 0 one pixel right and
// one below, centred near the window's middle column and near its top.
TEST_F(RecognitionViewer, TheCaptionsShadowLiesOnePixelRightAndBelowTheName) {
    Screen* screen = create_screen(397, 398);
    select_screen(screen);
    clear_screen(0x63636363);
    set_plot(0, 0, 398, 479, -0x100000, -0x100000, 0x100000, 0x100000);
    set_clip_rect(0, 0, 396, 397);
    draw_viewer_caption(34);
    struct Box {
        int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    } letters, shadow;
    const int pitch = screen->width + screen->row_pad;
    for (int y = 0; y < screen->height; ++y)
        for (int x = 0; x < screen->width; ++x) {
            const uint8_t p = screen->pixels[y * pitch + x];
            if (p > 1) continue;
            Box& b = p ? letters : shadow;
            b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y), b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
        }
    select_screen(nullptr);
    destroy_screen(screen);
    ASSERT_GE(letters.x1, 0) << "the name is drawn";
    EXPECT_EQ(shadow.x0, letters.x0 + 1);
    EXPECT_EQ(shadow.y0, letters.y0 + 1);
    EXPECT_EQ(shadow.x1, letters.x1 + 1);
    EXPECT_EQ(shadow.y1, letters.y1 + 1);
    EXPECT_LT(letters.y1, 40) << "above the model";
    EXPECT_NEAR((letters.x0 + letters.x1) / 2, 199, 12) << get_object_type_name(34);
}

// The screen shown and hidden as the toolkit does it, with the viewer on its own thread, in a
// process of its own.
class ThreadedRecognitionViewer : public SystemScenarios {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    static void start_viewer_world();
};

int viewers_running() {
    int n = 0;
    for (const ThreadRecord& t : thread_table) n += t.id && std::string(t.name) == "Vehicle Visual";
    return n;
}

void ThreadedRecognitionViewer::start_viewer_world() {
    ASSERT_NE(start_headless_system(), nullptr);
    init_trig_tables();
    apply_object_type_table();
    create_ui_object(UI_BOX, nullptr, "Root Object", ATTR_RECT, 0, 0, 639, 479);
    create_recognition_screen();
}

void display(int shown) {
    Event event{EV_DISPLAY, shown, 0, 0, 0};
    recognition_screen_shown(recognition_screen, event);
}

TEST_F(ThreadedRecognitionViewer, TheViewerTurnsWhileShownAndLeavesTheFreedObjectAloneOnceHidden) {
    const std::string found = run_as_system(
        [] {
            std::ostringstream out;
            Event press{};
            show_ship_list(nullptr, press);
            display(1);
            out << "shown: " << viewers_running() << " " << (viewer_list == aircraft_list) << viewer_index
                << viewer_object->object_type << "\n";
            sleep_thread(300);
            const uint32_t turned = viewer_angle;
            UiObject* canvas = nullptr;
            for (UiObject* o = recognition_screen->first_child; o; o = o->next_sibling)
                if (std::string(o->name) == "Visual Box") canvas = o->first_child;
            out << "turning: " << (turned > 0) << (canvas->screen != nullptr) << "\n";
            display(0);  // the viewer is asleep: this thread runs
            sleep_thread(300);
            out << "hidden: " << viewers_running() << " " << (viewer_object == nullptr) << (viewer_angle == turned)
                << (canvas->screen == nullptr) << "\n";
            show_vehicle_list(nullptr, press);
            display(1);
            display(0);
            display(1);  // at once again: the first viewer has not woken yet
            sleep_thread(300);
            out << "again: " << viewers_running() << " " << (viewer_list == aircraft_list) << viewer_index
                << viewer_object->object_type << (viewer_angle != turned) << "\n";
            display(0);
            return out.str();
        },
        start_viewer_world);
    EXPECT_EQ(found,
              "shown: 1 1034\n"
              "turning: 11\n"
              "hidden: 0 111\n"
              "again: 1 10341\n");
}

}  // namespace
}  // namespace vyr
