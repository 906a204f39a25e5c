#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library/debug/fatal.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "library/ui/button.h"
#include "library/ui/route.h"
#include "library/ui/screens.h"
#include "library/ui/uclose.h"
#include "library/ui/upicture.h"
#include "library/ui/window.h"
#include "tests/library/ui/ui_fixture.h"
#include "tests/support/pbm_file.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

Event click(int value, int x, int y) { return Event{EV_MOUSE_CLICK, value, x, y, 0}; }

using Buttons = UiTree;

// Press on the object, release at (x, y): the events that reached it.
std::string press_and_release(UiObject* object, int x, int y) {
    event_log.clear();
    Event press = click(1, object->x0 + 1, object->y0 + 1);
    send_ui_event(object, press);
    std::string pressed = std::to_string(object->state);
    Event release = click(0, x, y);
    send_ui_event(ui_captured, release);
    return pressed + " " + events_of(object, EV_SELECT) + "| " + std::to_string(object->state);
}

TEST_F(Buttons, EachKindAnswersAReleaseOverItselfOnly) {
    UiObject* button = make("button", root, 10, 10, 50, 20, UI_BUTTON);
    UiObject* toggle = make("toggle", root, 100, 10, 50, 20, UI_TOGGLE);
    const struct {
        UiObject* object;
        int x, y;
        const char* expected;
    } cases[] = {
        {button, 20, 20, "1 13:0 | 0"},
        {button, 300, 300, "1 | 0"},
        {toggle, 110, 20, "1 13:1 | 1"},  // on
        {toggle, 300, 300, "1 | 1"},      // stays on
        {toggle, 110, 20, "1 13:0 | 0"},  // off again
    };
    for (const auto& c : cases) EXPECT_EQ(press_and_release(c.object, c.x, c.y), c.expected) << c.object->name;
    EXPECT_EQ(ui_captured, nullptr);
}

TEST_F(Buttons, APressWithBothButtonsDownDoesNothing) {
    UiObject* button = make("button", root, 10, 10, 50, 20, UI_BUTTON);
    UiObject* window = make("window", root, 100, 100, 50, 50, UI_WINDOW);
    for (UiObject* object : {button, window}) {
        Event both = click(3, object->x0 + 1, object->y0 + 1);
        send_ui_event(object, both);
        EXPECT_EQ(ui_captured, nullptr) << object->name;
        EXPECT_EQ(object->state, 0) << object->name;
    }
    EXPECT_EQ(window_dragging, 0);
}

TEST_F(Buttons, SelectingARadioClearsItsSiblings) {
    UiObject* first = make("first", root, 10, 10, 50, 20, UI_RADIO);
    UiObject* second = make("second", root, 10, 40, 50, 20, UI_RADIO);
    UiObject* other = make("other", root, 10, 70, 50, 20, UI_TOGGLE);
    select_radio(first);
    set_ui_attrs(other, ATTR_STATE, 1, 0);
    event_log.clear();
    EXPECT_EQ(press_and_release(second, 20, 50), "1 13:1 | 1");
    EXPECT_EQ(first->state, 0);
    EXPECT_EQ(events_of(first, EV_ON), "18:0 ");
    EXPECT_EQ(other->state, 1);
    // Released elsewhere, a radio goes back to what it was.
    EXPECT_EQ(press_and_release(first, 300, 300), "1 | 0");
}

TEST_F(Buttons, TheCloseBoxHidesItsWindowWhenReleasedOverIt) {
    UiObject* window = make("window", root, 100, 100, 80, 60, UI_WINDOW);
    set_ui_attrs(window, ATTR_CLOSE_BOX, 0);
    UiObject* box = window->first_child;
    ASSERT_EQ(box->type, UI_CLOSE_BOX);
    EXPECT_EQ(box->x0, 100);
    EXPECT_EQ(box->x1, 115);
    Event press = click(1, 105, 105);
    send_ui_event(box, press);
    Event away = click(0, 300, 300);
    send_ui_event(box, away);
    EXPECT_NE(window->flags & UIF_SHOWN, 0u);
    send_ui_event(box, press);
    Event over = click(0, 105, 105);
    send_ui_event(box, over);
    EXPECT_EQ(window->flags & UIF_SHOWN, 0u);
    EXPECT_EQ(box->state, 0);
    EXPECT_EQ(root->first_child, window);  // hidden, still in the tree
}

// A window dragged without a display: continuous move follows the pointer, an outline drag
// leaves it in place until the release.
TEST_F(Buttons, AWindowMovesWithThePointerOrOnRelease) {
    UiObject* window = make("window", root, 100, 100, 80, 60, UI_WINDOW);
    for (int live : {1, 0}) {
        continuous_move = live;
        set_ui_attrs(window, ATTR_POS, 100, 100, 0);
        Event press = click(1, 110, 105);
        send_ui_event(window, press);
        EXPECT_EQ(press.type, 0);  // taken
        EXPECT_NE(window->flags & UIF_DRAGGING, 0u);
        Event move{EV_MOUSE_MOVE, 0, 210, 155, 0};
        send_ui_event(window, move);
        EXPECT_EQ(window->x0, live ? 200 : 100) << live;
        Event release = click(0, 220, 165);
        send_ui_event(window, release);
        EXPECT_EQ(window->x0, 210) << live;
        EXPECT_EQ(window->y0, 160) << live;
        EXPECT_EQ(window->flags & UIF_DRAGGING, 0u);
        EXPECT_EQ(ui_captured, nullptr);
    }
    continuous_move = 1;
}

class Pictures : public UiTree {
protected:
    void SetUp() override {
        UiTree::SetUp();
        inside.emplace(work.path());
    }
    void TearDown() override {
        UiTree::TearDown();
        inside.reset();
    }

    // The decoded pixels of a picture object, row by row.
    static std::string decoded(UiObject* object) {
        load_ui_picture(object);
        decode_ui_picture(object);
        std::string rows;
        const Screen* screen = object->screen;
        for (int y = 0; y < screen->height; ++y) {
            for (int x = 0; x < screen->width; ++x)
                rows += std::to_string(screen->pixels[size_t(y) * (screen->width + screen->row_pad) + x]);
            rows += " ";
        }
        return rows;
    }

    ScratchDirectory work;
    std::optional<WorkingDirectory> inside;
};

TEST_F(Pictures, RunLengthRowsWiderThanTheObjectKeepTheirLeftColumns) {
    // 5 wide (stored 6): a literal run of 6, a repeat of 6, then 0x80: a repeat of 129 (not a
    // no-op) that runs on past its row; the object is 4 wide.
    write_pbm_file("wide.lbm", 5, 3, 1, {0x05, 1, 2, 3, 4, 5, 0, 0xFB, 6, 0x80, 9});
    UiObject* picture = make("picture", root, 0, 0, 3, 2, UI_PICTURE);
    set_ui_attrs(picture, ATTR_PICTURE, "wide.lbm", 0);
    EXPECT_EQ(decoded(picture), "1234 6666 9999 ");
}

TEST_F(Pictures, AnUncompressedBodyShorterThanTheObjectLeavesTheRestClear) {
    write_pbm_file("short.lbm", 3, 1, 0, {1, 2, 3, 0});
    UiObject* picture = make("picture", root, 0, 0, 3, 1, UI_PICTURE);
    set_ui_attrs(picture, ATTR_PICTURE, "short.lbm", 0);
    EXPECT_EQ(decoded(picture), "1230 0000 ");
}

TEST_F(Pictures, BrokenFilesAreFatalAndMissingOnesLeaveNoPicture) {
    UiObject* picture = make("picture", root, 0, 0, 3, 1, UI_PICTURE);
    set_ui_attrs(picture, ATTR_PICTURE, "missing.lbm", 0);
    load_ui_picture(picture);
    EXPECT_EQ(picture->body, nullptr);
    std::ofstream("ilbm.lbm", std::ios::binary).write("FORM\0\0\0\x0cILBMBODY\0\0\0\0", 20);
    set_ui_attrs(picture, ATTR_PICTURE, "ilbm.lbm", 0);
    EXPECT_DEATH(load_ui_picture(picture), "ilbm.lbm Not a PBM File");
    write_pbm_file("long.lbm", 3, 1, 0, {1, 2, 3, 0});
    std::filesystem::resize_file("long.lbm", std::filesystem::file_size("long.lbm") - 3);
    set_ui_attrs(picture, ATTR_PICTURE, "long.lbm", 0);
    EXPECT_DEATH(load_ui_picture(picture), "long.lbm");
}

TEST_F(Pictures, HidingFreesThePictureAndShowingReloadsIt) {
    write_pbm_file("screen.lbm", 4, 2, 0, {1, 2, 3, 4, 5, 6, 7, 8});
    UiObject* screen = make("screen", root, 0, 0, 3, 1, UI_PICTURE);
    UiObject* inner = make("inner", screen, 0, 0, 3, 1, UI_PICTURE);
    for (UiObject* object : {screen, inner}) set_ui_attrs(object, ATTR_PICTURE, "screen.lbm", 0);
    decoded(screen), decoded(inner);
    set_ui_attrs(screen, ATTR_SHOWN, 0, 0);
    EXPECT_EQ(screen->body, nullptr);
    EXPECT_EQ(screen->screen, nullptr);
    EXPECT_EQ(inner->body, nullptr);  // hidden with its parent
    set_ui_attrs(screen, ATTR_SHOWN, 1, 0);
    EXPECT_NE(screen->body, nullptr);
    EXPECT_EQ(free_pictures_on_low_memory(0), 0);  // all shown: nothing to free
}

TEST_F(Pictures, AMaskedPictureIsPaintedFromItsTopRow) {
    std::vector<uint8_t> body;
    for (int row = 0; row < 40; ++row)
        for (int x = 0; x < 4; ++x) body.push_back(uint8_t(row % 2 ? 1 : 0));  // odd rows opaque
    write_pbm_file("mask.lbm", 4, 40, 0, body);
    UiObject* picture = make("picture", root, 0, 0, 3, 39, UI_PICTURE);
    set_ui_attrs(picture, ATTR_PICTURE, "mask.lbm", ATTR_PICTURE_MASKED, 1, ATTR_PICTURE_TOP_ROW, 10,
                 ATTR_PICTURE_ROWS, 20, 0);
    Screen* target = create_screen(4, 40);
    select_screen(target);
    clear_screen(0x03030303);
    draw_picture(picture);
    std::string painted;
    for (int y = 0; y < 40; ++y) painted += target->pixels[size_t(y) * (target->width + target->row_pad)] == 251 ? "#" : ".";
    // Picture rows 10 (masked: painted) to 30 land on rows 0 to 20.
    EXPECT_EQ(painted, "#.#.#.#.#.#.#.#.#.#.#...................");
    select_screen(nullptr);
    destroy_screen(target);
}

TEST_F(Pictures, APictureDrawnAfterItsSizeChangesShowsThePictureAtTheNewSize) {
    // The first screen is larger than a pool block: a read past it leaves its heap block.
    constexpr int WIDTH = 400, HEIGHT = 300;
    auto source = [](int x, int y) { return uint8_t(1 + (3 * x + 7 * y) % 250); };
    std::vector<uint8_t> body;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) body.push_back(source(x, y));
    write_pbm_file("big.lbm", WIDTH, HEIGHT, 0, body);
    Screen* target = create_screen(640, 480);
    select_screen(target);
    set_clip_rect(0, 0, 639, 479);
    for (UiType type : {UI_PICTURE, UI_BUTTON}) {
        UiObject* object = make("picture", root, 0, 0, 299, 239, type);
        set_ui_attrs(object, ATTR_PICTURE, "big.lbm", ATTR_STATE, 1, 0);
        for (auto [width, height] : {std::pair{300, 240}, {400, 300}, {200, 150}}) {  // grown, then shrunk
            set_ui_attrs(object, ATTR_SIZE, width - 1, height - 1, 0);
            clear_screen(0);
            type == UI_PICTURE ? draw_picture(object) : draw_button(object);
            int wrong = 0;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x)
                    wrong += target->pixels[size_t(y) * (target->width + target->row_pad) + x] !=
                             (x < width && y < height ? source(x, y) : 0);
            EXPECT_EQ(wrong, 0) << "type " << type << ", " << width << " x " << height;
        }
    }
    select_screen(nullptr);
    destroy_screen(target);
}

class ScreenStack : public UiTree {
protected:
    void SetUp() override {
        UiTree::SetUp();
        screen_depth = 0;
        for (char name = 'A'; name <= 'C'; ++name) screens[name - 'A'] = make(std::string(1, name).c_str(), root, 0, 0, 639, 479);
    }
    std::string shown() const {
        std::string names;
        for (const UiObject* child = root->first_child; child; child = child->next_sibling)
            if (child->flags & UIF_SHOWN) names += child->name;
        return names + ":" + std::to_string(screen_depth);
    }
    UiObject* screens[3] = {};
};

TEST_F(ScreenStack, PushingAScreenOnTheStackUnwindsToIt) {
    UiObject *a = screens[0], *b = screens[1], *c = screens[2];
    for (UiObject* screen : {a, b, c, b}) push_screen_now(screen);
    EXPECT_EQ(shown(), "B:2");
    push_screen_now(b);
    EXPECT_EQ(shown(), "B:2");
    pop_screen_now();
    EXPECT_EQ(shown(), "A:1");
    pop_screen_now();  // nothing below: the top again
    EXPECT_EQ(shown(), "A:1");
}

TEST_F(ScreenStack, AFullStackShowsAScreenWithoutRecordingIt) {
    UiObject *a = screens[0], *b = screens[1], *c = screens[2];
    for (int i = 0; i < MAX_SCREEN_DEPTH; ++i) push_screen_now(i % 2 ? b : a);
    // Alternating screens unwind to their earlier entries, so fill the stack directly.
    for (int i = 0; i < MAX_SCREEN_DEPTH; ++i) screen_stack[i] = i == MAX_SCREEN_DEPTH - 2 ? b : a;
    screen_stack[MAX_SCREEN_DEPTH - 1] = nullptr;
    screen_depth = MAX_SCREEN_DEPTH;
    push_screen_now(c);
    EXPECT_EQ(shown(), "C:32");
    pop_screen_now();
    EXPECT_EQ(shown(), "B:31");
}

}  // namespace
}  // namespace vyr
