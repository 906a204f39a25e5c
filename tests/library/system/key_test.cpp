#include "library/system/key.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "library/system/event.h"

namespace vyr {
namespace {

std::vector<int> taken_keys() {
    std::vector<int> codes;
    Event e;
    while (get_event(e))
        if (e.type == EV_KEY) codes.push_back(e.value);
    return codes;
}

class Keyboard : public testing::Test {
protected:
    void SetUp() override {
        flush_events();
        for (auto& k : key_down) k.store(0);
        free_hot_keys();
        fired.clear();
    }
    void TearDown() override { free_hot_keys(); }

    static std::vector<int> fired;
    static int record_a(int code) { return fired.push_back(code), 1; }
    static int record_b(int code) { return fired.push_back(-code), 2; }
};
std::vector<int> Keyboard::fired;

TEST_F(Keyboard, CodesCarryTheModifiersHeldAfterTheChange) {
    on_key_down(42, false);  // left Shift
    on_key_down(0x1e, false);
    on_key_up(0x1e, false);
    on_key_up(42, false);
    on_key_down(0x1d, true);  // right Ctrl
    on_key_down(0x1e, false);
    on_key_up(0x1d, true);
    on_key_down(56, false);  // Alt
    on_key_down(0x1e, false);
    EXPECT_EQ(taken_keys(), (std::vector<int>{0x402A, 0x401E, 0x409E, 0xAA, 0xE0, 0x201D, 0x201E, 0x20E0, 0x9D,
                                              0x1038, 0x101E}));
}

TEST_F(Keyboard, CharactersFollowTheModifiers) {
    const struct {
        int code, character;
    } cases[] = {
        {0x1E, 'a'}, {0x401E, 'A'}, {0x201E, 0x01}, {0x101E, 0x1E00}, {0x9E, 0},  {0x02, '1'},
        {0x4002, '!'}, {0x28, '`'}, {0x4028, '"'}, {0x1C, 0x0A}, {0x56, '\\'}, {0x4056, 0},
        {0x39, ' '}, {0x3B, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(translate_key_char(c.code), c.character) << std::hex << c.code;
    }
    on_key_down(42, false);
    on_key_down(0x1e, false);
    Event e;
    ASSERT_TRUE(get_event(e));
    ASSERT_TRUE(get_event(e));
    EXPECT_EQ(e.x, 'A');  // the queue fills in the character
}

TEST_F(Keyboard, HotKeysNewestFirstWithinTheCurrentLayer) {
    add_hot_key(0x1003B, record_a);  // F1 with any modifiers
    add_hot_key(0x0030, record_a);   // B alone
    EXPECT_EQ(dispatch_hot_key(0x3B), 1);
    EXPECT_EQ(dispatch_hot_key(0x403B), 1);
    EXPECT_EQ(dispatch_hot_key(0x303B), 1);
    EXPECT_EQ(dispatch_hot_key(0x4030), 0);  // exact codes need exact modifiers

    add_hot_key(0x0030, record_b);
    EXPECT_EQ(dispatch_hot_key(0x30), 2);

    push_hot_key_layer();
    EXPECT_EQ(dispatch_hot_key(0x3B), 0);  // outer layers sleep while an inner one is pushed
    add_hot_key(0x0030, record_a);
    EXPECT_EQ(dispatch_hot_key(0x30), 1);
    pop_hot_key_layer();
    EXPECT_EQ(dispatch_hot_key(0x30), 2);
    pop_hot_key_layer();  // no separator left: everything goes
    EXPECT_EQ(dispatch_hot_key(0x3B), 0);
    EXPECT_EQ(fired, (std::vector<int>{0x3B, 0x403B, 0x303B, -0x30, 0x30, -0x30}));
}

TEST_F(Keyboard, PolledKeysFireOncePerPollWhileHeld) {
    add_hot_key(KEY_POLLED | 0x39, record_a);  // Space
    add_hot_key(KEY_POLLED | 0x3B, record_b);  // F1, stays active in restricted mode
    poll_hot_keys(false);
    EXPECT_TRUE(fired.empty());
    key_held_time[0x39].store(3);
    poll_hot_keys(false);
    poll_hot_keys(false);  // the held time was consumed
    EXPECT_EQ(fired, (std::vector<int>{KEY_POLLED | 0x39}));

    fired.clear();
    key_held_time[0x39].store(1);
    key_held_time[0x3B].store(1);
    poll_hot_keys(true);  // F1 is newest and unrestricted: it fires
    poll_hot_keys(true);  // Space is restricted: the poll stops without firing
    EXPECT_EQ(fired, (std::vector<int>{-(KEY_POLLED | 0x3B)}));
    EXPECT_EQ(key_held_time[0x39].load(), 0);
}

// The codes as the table was first written, in hex: its named form keeps exactly these.
TEST_F(Keyboard, RestrictedModeKeepsOnlyTheListedCodes) {
    const std::set<int> unrestricted = {
        0x01,   0x0F,   0x19,   0x3B,   0x3C,   0x3D,   0x3E,   0x3F,    0x40,    0x41,   0x42,   0x43,   0x44,
        0x57,   0x58,   0x1001, 0x1002, 0x1003, 0x1004, 0x1005, 0x1006,  0x1007,  0x1008, 0x100E, 0x103B, 0x103C,
        0x103D, 0x103E, 0x103F, 0x1040, 0x1041, 0x200F, 0x2010, 0x2012,  0x400F,  0x4058, 0x5002, 0x5003, 0x5004,
        0x5005, 0x5006, 0x5007, 0x5008, 0x5009, 0x500A, 0x500B, 0x503B,  0x503C,  0x503D, 0x503E, 0x10047, 0x1004F,
    };
    for (int code = 0; code <= KEY_POLLED; ++code)
        ASSERT_EQ(is_key_restricted(code), unrestricted.count(code) ? 0 : 1) << std::hex << code;
}

TEST_F(Keyboard, KeyEventsModifiersAloneAndDebugPagesAreTaken) {
    add_hot_key(0x1E, record_a);
    for (int code : {0x1D, 0x9D, 0x402A, 0x36, 0x1038, 0x2057, 0x3058, 0})
        EXPECT_EQ(handle_key_event({EV_KEY, code, 0, 0, 0}), 1) << std::hex << code;
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(handle_key_event({EV_KEY, 0x1E, 0, 0, 0}), 1);
    EXPECT_EQ(handle_key_event({EV_KEY, 0x1F, 0, 0, 0}), 0);
}

TEST_F(Keyboard, NumericPadReleaseLetsRightShiftGoTwoFramesLater) {
    on_key_down(54, false);
    on_key_down(0x48, false);  // pad 8
    on_key_up(0x48, false);
    taken_keys();
    fix_numpad_shift();
    EXPECT_TRUE(is_key_down(54));
    fix_numpad_shift();
    EXPECT_FALSE(is_key_down(54));
    EXPECT_EQ(taken_keys(), (std::vector<int>{0xB6}));
    fix_numpad_shift();
    EXPECT_TRUE(taken_keys().empty());

    on_key_up(0x48, true);  // the arrow key of the same scan code is not on the pad
    taken_keys();
    fix_numpad_shift();
    fix_numpad_shift();
    EXPECT_TRUE(taken_keys().empty());
}

}  // namespace
}  // namespace vyr
