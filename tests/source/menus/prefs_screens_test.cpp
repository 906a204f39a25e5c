// The Preferences Screen's general settings: stored at once, written on leaving, and the sound
// options that need a device; the visual detail levels.
#include "source/menus/prefs_screens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/3dvisual/view.h"
#include "library/sound/banks.h"
#include "library/sound/dsound.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "library/ui/uoaccess.h"
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/preferences.h"
#include "source/skill.h"
#include "tests/source/menus/menu_objects.h"

namespace vyr {
namespace {

class PreferencesScreen : public MenuObjects {
protected:
    void SetUp() override {
        MenuObjects::SetUp();
        if (IsSkipped()) return;
        forces_type = mission_planner = 0;
        animations_on = 1;
        sound_speech_on = sound_music_on = sound_effects_on = minimal_sound_set = 0;
        cyclic_control = collective_control = tailrotor_control = 0;
        create_preferences_screens();
    }

    // Through the control's own notify, as a press would.
    static UiObject* control(UiNotify notify) {
        std::vector<UiObject*> pending = {preferences_screen};
        while (!pending.empty()) {
            UiObject* object = pending.back();
            pending.pop_back();
            if (object->notify == notify) return object;
            for (UiObject* child = object->first_child; child; child = child->next_sibling) pending.push_back(child);
        }
        return nullptr;
    }
    static void press(UiNotify notify) {
        UiObject* object = control(notify);
        ASSERT_NE(object, nullptr);
        Event select{EV_SELECT, 0, 0, 0, 0};
        object->notify(object, select);
    }
    static int stored(const char* key) {
        int value = -100;
        return get_pref_int(key, &value) ? value : -100;
    }
};

TEST_F(PreferencesScreen, EveryControlStoresItsKeyAtOnceAndLeavingTheScreenWritesTheFile) {
    const struct {
        UiNotify notify;
        const char* key;
        int value;
    } cases[] = {{raise_forces_type, "Forces Type", 1},         {lower_forces_type, "Forces Type", 0},
                 {enable_mission_planner, "Mission Planner", 1}, {disable_mission_planner, "Mission Planner", 0},
                 {disable_animations, "Animations", 0},         {enable_animations, "Animations", 1},
                 {set_effects_off, "Sound effects", 0},         {set_effects_off, "Sound effects level", 0},
                 {next_joystick_choice, "Cyclic control", 1},   {toggle_throttle_choice, "Collective control", 6},
                 {toggle_rudder_choice, "Tailrotor control", 5}};
    for (const auto& c : cases) {
        remove_pref(c.key);
        press(c.notify);
        EXPECT_EQ(stored(c.key), c.value) << c.key;
    }
    EXPECT_FALSE(std::filesystem::exists(work / "prefs.cfg")) << "nothing is written before the screen is left";

    press(enable_mission_planner);
    EXPECT_EQ(mission_planner, 1);
    refresh_preferences_screen();
    EXPECT_EQ(get_ui_state(control(enable_mission_planner)), 1);
    EXPECT_EQ(get_ui_state(control(disable_mission_planner)), 0);
    Event hidden{EV_DISPLAY, 0, 0, 0, 0};
    preferences_screen->notify(preferences_screen, hidden);
    const std::string file = read_bytes(work / "prefs.cfg");
    for (const char* line : {"Mission Planner=1\r\n", "Collective control=6\r\n", "Joystick Ax Mid=", "Joystick By Max=",
                             "Control Deadband Size="})
        EXPECT_NE(file.find(line), std::string::npos) << line;
}

TEST_F(PreferencesScreen, SkillStopsAt1And10StoringNothingThereAndItsNumberSlidesAlongTheScale) {
    UiObject* text = find(preferences_screen, "Enemy skill text");
    ASSERT_NE(text, nullptr);
    const struct {
        int start;
        UiNotify notify;
    } ends[] = {{9, raise_forces_type}, {0, lower_forces_type}};
    for (const auto& end : ends) {
        forces_type = end.start;
        remove_pref("Forces Type");
        press(end.notify);
        EXPECT_EQ(forces_type, end.start);
        EXPECT_EQ(find_pref("Forces Type"), nullptr);
    }
    forces_type = 3;
    press(raise_forces_type);
    EXPECT_STREQ(get_ui_text(text), "5");
    EXPECT_EQ(get_ui_x(text), 120 + 13 * 4);
    EXPECT_EQ(get_ui_width(text), 24);
}

// Carried-over settings lose the old edition's calibration; the flag is stored as 0 either way.
TEST_F(PreferencesScreen, TheDosFlagDropsTheCarriedOverCalibrationOnce) {
    const std::vector<std::string> calibration = {
        "Joystick Ax Min", "Joystick Ax Mid", "Joystick Ax Max", "Joystick Ay Min", "Joystick Ay Mid",
        "Joystick Ay Max", "Joystick Bx Min", "Joystick Bx Mid", "Joystick Bx Max", "Joystick By Min",
        "Joystick By Mid", "Joystick By Max", "Control Deadband Size"};
    for (int flag : {1, 0, 2}) {
        for (const std::string& key : calibration) set_pref_int(key.c_str(), 77);
        set_pref_int("Cyclic control", 3);
        set_pref_int("DOS Flag", flag);
        create_preferences_screens();
        for (const std::string& key : calibration)
            EXPECT_EQ(find_pref(key.c_str()) == nullptr, flag == 1) << key << " with the flag " << flag;
        EXPECT_EQ(stored("Cyclic control"), 3);
        EXPECT_EQ(stored("DOS Flag"), 0);
    }
}

TEST_F(PreferencesScreen, AnimationsAreStoredOnWhenAbsentAndKeptWhenStored) {
    remove_pref("Animations");
    animations_on = 0;
    create_preferences_screens();
    EXPECT_EQ(animations_on, 1);
    EXPECT_EQ(stored("Animations"), 1);
    set_pref_int("Animations", 0);
    animations_on = 0;
    create_preferences_screens();
    EXPECT_EQ(animations_on, 0);
    EXPECT_EQ(stored("Animations"), 0);
    EXPECT_EQ(get_ui_state(control(disable_animations)), 1);
}

TEST_F(PreferencesScreen, SoundOptionsThatNeedADeviceStayOffWithoutOne) {
    ASSERT_EQ(sound_device_present.load(), 0);
    press(toggle_speech);
    EXPECT_EQ(sound_speech_on, 0);
    EXPECT_EQ(stored("Sound Speech"), 0);
    EXPECT_EQ(get_ui_state(control(toggle_speech)), 0);
    press(toggle_music);
    EXPECT_EQ(sound_music_on, 0);
    EXPECT_EQ(stored("Sound music"), 0);
    const int card = sound_card_settings[0];
    sound_card_settings[0] = 1;  // no sound card
    remove_pref("Sound effects");
    press(set_effects_minimal);
    sound_card_settings[0] = card;
    EXPECT_EQ(sound_effects_on, 0);
    EXPECT_EQ(find_pref("Sound effects"), nullptr);
    EXPECT_EQ(get_ui_state(control(set_effects_off)), 1) << "the refresh lights the off button";
}

TEST_F(PreferencesScreen, FullEffectsWithTheBankLoadedDoNothingNotEvenARefresh) {
    sound_device_present = 1;
    sound_bank_loaded = 1;
    UiObject* off = control(set_effects_off);
    set_ui_state(off, 0);
    remove_pref("Sound effects");
    press(set_effects_full);
    EXPECT_EQ(get_ui_state(off), 0) << "no refresh";
    EXPECT_EQ(sound_effects_on, 0);
    EXPECT_EQ(find_pref("Sound effects"), nullptr);
    sound_device_present = 0;
    sound_bank_loaded = 0;
}

TEST(VisualDetail, EachLevelSetsTheViewAndSmokeAndOthersChangeNothing) {
    struct Settings {
        int32_t range, object_range, terrain, textures, flags, density, life;
        bool operator==(const Settings&) const = default;
    };
    auto now = [] {
        return Settings{view_settings.visual_range, view_settings.object_visual_range, view_settings.terrain_detail,
                        view_settings.object_textures, view_settings.flags, smoke_density, smoke_life};
    };
    const ViewSettings saved_view = view_settings;
    const int32_t saved_density = smoke_density, saved_life = smoke_life;
    view_settings.flags = VIEW_SHOW_OWN_OBJECT;
    const int32_t OWN = VIEW_SHOW_OWN_OBJECT, BOTH = VIEW_CLOUDS | VIEW_SHADOWS | OWN;
    const struct {
        int level;
        Settings settings;
    } cases[] = {{0, {1, 1 << 21, 0, 0, OWN, 1, 400}},
                 {1, {1, 1 << 22, 0, 0, VIEW_CLOUDS | OWN, 1, 400}},
                 {3, {1, 1 << 22, 1, 2, VIEW_CLOUDS | OWN, 2, 400}},
                 {4, {1, 1 << 22, 1, 2, BOTH, 2, 400}},
                 {5, {1, 1 << 22, 2, 2, BOTH, 2, 600}},
                 {7, {3, 1 << 22, 2, 3, BOTH, 3, 600}},
                 {9, {7, 1 << 22, 3, 3, BOTH, 3, 600}}};
    for (const auto& c : cases) {
        set_visual_detail(c.level);
        EXPECT_TRUE(now() == c.settings) << "level " << c.level;
    }
    const Settings before = now();
    for (int level : {-1, 10, 1000}) {
        set_visual_detail(level);
        EXPECT_TRUE(now() == before) << "level " << level;
    }
    view_settings = saved_view;
    smoke_density = saved_density;
    smoke_life = saved_life;
}

}  // namespace
}  // namespace vyr
