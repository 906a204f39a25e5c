#include <gtest/gtest.h>

#include <string>

#include "library/ui/object.h"
#include "library/ui/uoaccess.h"
#include "source/menus/missions/payload.h"
#include "tests/source/menus/menu_objects.h"
#include "tests/source/mission/payload_fixture.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

// Accepting rebuilds the world's palette through the window thread.
const testing::Environment* const window_thread = testing::AddGlobalTestEnvironment(new WindowThreadEnvironment);

// The payload window built over a map of its own, on the generated payload files, all empty.
class PayloadScreen : public MenuObjects {
protected:
    void SetUp() override {
        MenuObjects::SetUp();
        if (IsSkipped()) return;
        enter(1);
        load_generated_payload(data);
        map = create_ui_object(UI_BOX, ui_root, "Map", ATTR_RECT, 0, 0, 639, 479);
        create_payload_screen(map);
        refresh_payload_screen();
    }
    void TearDown() override {
        for (PayloadPylon& p : payload_pylons) {
            p.highlight = nullptr;
            p.pictures.clear();
        }
        payload_window = nullptr;
        MenuObjects::TearDown();
    }

    static void send(UiObject* object, int type, int x, int y, int value = 0) {
        ASSERT_NE(object, nullptr);
        Event event{type, value, x, y, 0};
        object->notify(object, event);
    }
    // A click at the middle of an object, or at its top-left corner.
    static void click(UiObject* object, bool corner = false) {
        ASSERT_NE(object, nullptr);
        send(object, EV_SELECT, corner ? object->x0 : (object->x0 + object->x1) / 2,
             corner ? object->y0 : (object->y0 + object->y1) / 2);
    }
    UiObject* highlight(int pylon) const { return payload_pylons[pylon].highlight; }
    UiObject* pick(int store) const { return find(payload_window, ("Wpn " + std::to_string(store + 1)).c_str()); }
    // The pop-up menu's item `item` chosen.
    void choose(int item) const { send(find(ui_root, "Menu"), EV_SELECT, 0, 0, item); }
    std::string info() const { return get_ui_text(find(payload_window, "weapon info text1")); }
    bool shown(const char* name, int nth = 0) const { return is_ui_shown(find(payload_window, name, nth)) != 0; }
    bool salvo_shown() const { return shown("Payload Window"); }

    void load(int pylon, int store, int count) {
        click(highlight(pylon));
        click(pick(store));
        if (payload_pylons[pylon].allowed[store] > 1) choose(count - 1);
    }

    UiObject* map = nullptr;
};

TEST_F(PayloadScreen, OneMk82GoesStraightBackTwoOpenTheSalvoWindow) {
    load(2, 9, 1);
    EXPECT_EQ(payload_pylons[7].count, 1) << "the mirror too";
    click(find(payload_window, "Accept Button"));
    EXPECT_FALSE(is_ui_shown(payload_window));
    EXPECT_TRUE(payload_pylons[2].pictures.empty()) << "accepting destroys the pictures";

    refresh_payload_screen();
    EXPECT_EQ(payload_pylons[2].pictures.size(), 1u) << "Pay recreates them from the records";
    click(payload_pylons[2].pictures[0]);  // unloads
    load(2, 9, 2);
    click(find(payload_window, "Accept Button"));
    EXPECT_TRUE(is_ui_shown(payload_window));
    EXPECT_TRUE(salvo_shown());
    EXPECT_NE(find(payload_window, "salvo box text", 1), nullptr);
    EXPECT_STREQ(get_ui_text(find(payload_window, "salvo box text", 1)), "MID");
    EXPECT_EQ(find(payload_window, "Minus Button", 1), nullptr) << "one row only";
}

TEST_F(PayloadScreen, SalvoSizesStepOnBothMirrorsAndBackResetsThem) {
    load(2, 18, 2);  // CBU-87B, its own salvo the least
    const int least = payload_pylons[2].salvo_size;
    click(find(payload_window, "Accept Button"));
    for (int i = 0; i < 6; ++i) click(find(payload_window, "Plus Button"));
    EXPECT_EQ(payload_pylons[2].salvo_size, 4);
    EXPECT_EQ(payload_pylons[7].salvo_size, 4);
    for (int i = 0; i < 6; ++i) click(find(payload_window, "Minus Button"));
    EXPECT_EQ(payload_pylons[7].salvo_size, least);
    click(find(payload_window, "Plus Button"));
    click(find(payload_window, "Salvo Back Button"));
    EXPECT_EQ(payload_pylons[2].salvo_size, least);
    EXPECT_FALSE(salvo_shown());
    EXPECT_TRUE(is_ui_shown(payload_window)) << "the payload screen stays open";
}

TEST_F(PayloadScreen, PicturesStandByPositionCodeAndSpread) {
    load(2, 9, 3);  // codes of row 3, MK-82 spread (9, 20)
    const PayloadPylon& p = payload_pylons[2];
    ASSERT_EQ(p.pictures.size(), 3u);
    const int nudges[9][2] = {{8, -6}, {6, 6}, {6, -3}, {0, 0}, {-1, 6}, {-1, 3}, {-8, 0}, {-6, 6}, {-6, 3}};
    for (int i = 0; i < 3; ++i) {
        const int code = multi_positions[2][i];
        EXPECT_EQ(get_ui_x(p.pictures[i]), p.x + (code % 3 - 1) * 9 + nudges[code][0]) << i;
        EXPECT_EQ(get_ui_y(p.pictures[i]), p.y + (code / 3 - 1) * 20 + nudges[code][1]) << i;
    }
    EXPECT_FALSE(is_ui_shown(highlight(2)));
    EXPECT_STREQ(get_ui_text(find(payload_window, "weapon info text2")), format_payload_weight().c_str());
}

TEST_F(PayloadScreen, TransparentCornersShowNoName) {
    click(highlight(2));
    send(pick(9), EV_MOUSE_MOVE, pick(9)->x0, pick(9)->y0);
    EXPECT_EQ(info(), "\n      SELECT A WEAPON");
    send(pick(9), EV_MOUSE_MOVE, (pick(9)->x0 + pick(9)->x1) / 2, (pick(9)->y0 + pick(9)->y1) / 2);
    EXPECT_EQ(info(), "\n\tName: " + payload_weapons[9].description_1 +
                          (payload_weapons[9].has_description_2 ? "\n\t\t\t\t\t\t\t\t" + payload_weapons[9].description_2
                                                                : ""));
    click(pick(9), true);
    EXPECT_EQ(find(ui_root, "Menu"), nullptr) << "a click on a clear corner picks nothing";
}

TEST_F(PayloadScreen, RocketsAreChosenFromTheirMenu) {
    click(highlight(1));
    click(pick(3));
    choose(1);  // "M247 Anti-Tank"
    EXPECT_EQ(payload_pylons[1].weapon, 4);
    choose(1);  // then two of them
    EXPECT_EQ(payload_pylons[1].count, 2);
    EXPECT_EQ(payload_pylons[6].weapon, 4);
    send(payload_pylons[6].pictures[0], EV_MOUSE_MOVE, (payload_pylons[6].pictures[0]->x0 + payload_pylons[6].pictures[0]->x1) / 2,
         payload_pylons[6].pictures[0]->y1 - 5);
    EXPECT_EQ(info(), "\n\tName: M247 ANTI TANK      \n\t\t\t\t\t\t\t\tROCKETS");
}

TEST_F(PayloadScreen, ClearEmptiesTheAircraft) {
    load(2, 11, 2);  // GBU-12 brings the pods
    load(10, 24, 1);
    ASSERT_EQ(payload_pylons[9].weapon, STORE_RIGHT_POD);
    click(find(payload_window, "Clear Button"));
    for (int pylon = 0; pylon < PAYLOAD_HARDPOINTS; ++pylon) {
        EXPECT_EQ(payload_pylons[pylon].weapon, PAYLOAD_EMPTY) << pylon;
        EXPECT_TRUE(payload_pylons[pylon].pictures.empty()) << pylon;
    }
    EXPECT_EQ(info(), "\n    SELECT A HARDPOINT");
    EXPECT_EQ(get_all_up_weight(), EMPTY_AIRCRAFT_WEIGHT);
}

TEST_F(PayloadScreen, APickLeftShownWithNoHardpointSelectedLoadsNothing) {
    click(highlight(2));
    click(find(payload_window, "Accept Button"));  // nothing loaded: accepted with the picks still shown
    refresh_payload_screen();
    show_ui_object(pick(9), 1);
    click(pick(9));
    EXPECT_EQ(find(ui_root, "Menu"), nullptr);
    for (const PayloadPylon& p : payload_pylons) EXPECT_EQ(p.weapon, PAYLOAD_EMPTY);
}

}  // namespace
}  // namespace vyr
