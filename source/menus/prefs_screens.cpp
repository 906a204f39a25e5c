#include "source/menus/prefs_screens.h"

#include <string>

#include "library/3dvisual/view.h"
#include "library/config/prefs.h"
#include "library/sound/banks.h"
#include "library/sound/dsound.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/menus/front_end.h"
#include "source/menus/screens.h"
#include "source/preferences.h"
#include "source/skill.h"

namespace vyr {

int32_t mission_planner = 0;
UiObject* preferences_screen = nullptr;
UiObject* visual_preferences_screen = nullptr;

namespace {

constexpr int NO_SOUND_CARD = 1;  // the "Sound Card" setting of a machine without one

UiObject* skill_text = nullptr;
UiObject* planner_radios[2] = {};    // off, on
UiObject* animation_radios[2] = {};  // off, on
UiObject* speech_toggle = nullptr;
UiObject* music_toggle = nullptr;
UiObject* effects_buttons[3] = {};  // off, minimal, full
ViewSettings shown_view;

UiObject* create_group(const char* name, int x0, int y0, int x1, int y1) {
    return create_ui_object(UI_BOX, preferences_screen, name, ATTR_RECT, x0, y0, x1, y1, ATTR_TRANSPARENT, 1,
                            ATTR_INPUT, 0);
}

UiObject* create_control(UiType type, UiObject* group, const char* name, int x0, int y0, int x1, int y1,
                         const char* picture, UiNotify notify) {
    return create_ui_object(type, group, name, ATTR_RECT, x0, y0, x1, y1, ATTR_PICTURE, picture, ATTR_TRANSPARENT, 1,
                            ATTR_NOTIFY, notify, ATTR_NOTIFY_EVENT, EV_SELECT);
}

// The number slides along the scale of the background, one step per level.
void show_skill() {
    set_ui_text(skill_text, std::to_string(forces_type + 1).c_str());
    move_ui_object(skill_text, 120 + 13 * forces_type, 8);
}

void change_skill(int step) {
    const int skill = forces_type + step;
    if (skill < 0 || skill > 9) return;
    forces_type = skill;
    set_pref_int("Forces Type", forces_type);
    show_skill();
}

// Opens the sound device when there is none yet; whether there is one now.
bool open_sound_device() {
    if (!sound_device_present.load()) open_sound_card();
    return sound_device_present.load() != 0;
}

// A sound option being turned on needs the device and the bank.
bool sound_ready() {
    if (!open_sound_device()) return false;
    if (!sound_bank_loaded) load_sample_bank();
    return true;
}

bool no_sound_card() { return !sound_device_present.load() && sound_card_settings[0] == NO_SOUND_CARD; }

void create_visual_preferences_screen() {
    visual_preferences_screen = create_menu_screen("Visual Preferences Screen", "menuscrn\\vis_3dfx.lbm");
    create_small_bar(visual_preferences_screen, "vp_",
                     {SmallButton::HELP, SmallButton::MAIN, SmallButton::LOG, SmallButton::RECOG, SmallButton::BACK,
                      SmallButton::QUIT},
                     {"help", "main", "logs", "recog", "back", "quit"});
}

void show_visual_preferences(UiObject*, Event&) { push_screen(visual_preferences_screen); }

}  // namespace

void raise_forces_type(UiObject*, Event&) { change_skill(1); }
void lower_forces_type(UiObject*, Event&) { change_skill(-1); }

void enable_mission_planner(UiObject*, Event&) {
    set_pref_int("Mission Planner", 1);
    mission_planner = 1;
}

void disable_mission_planner(UiObject*, Event&) {
    set_pref_int("Mission Planner", 0);
    mission_planner = 0;
}

void enable_animations(UiObject*, Event&) {
    animations_on = 1;
    set_pref_int("Animations", 1);
}

void disable_animations(UiObject*, Event&) {
    animations_on = 0;
    set_pref_int("Animations", 0);
}

void toggle_speech(UiObject*, Event&) {
    if (sound_speech_on)
        sound_speech_on = 0;
    else
        sound_speech_on = sound_ready();
    set_pref_int("Sound Speech", sound_speech_on);
    refresh_preferences_screen();
}

void toggle_music(UiObject*, Event&) {
    if (sound_music_on) {
        sound_music_on = 0;
        stop_music_now();
    } else {
        sound_music_on = sound_ready();
        if (sound_music_on) play_theme_music();
    }
    set_pref_int("Sound music", sound_music_on);
    refresh_preferences_screen();
}

void set_effects_off(UiObject*, Event&) {
    if (sound_effects_on && sound_bank_loaded) release_sample_bank();
    sound_effects_on = 0;
    minimal_sound_set = 0;
    set_pref_int("Sound effects", 0);
    set_pref_int("Sound effects level", 0);
    refresh_preferences_screen();
}

void set_effects_minimal(UiObject*, Event&) {
    if (sound_effects_on) {
        if (sound_bank_loaded) release_sample_bank();
        minimal_sound_set = 1;
        set_pref_int("Sound effects level", 1);
    } else if (!no_sound_card() && open_sound_device()) {
        sound_effects_on = 1;
        minimal_sound_set = 1;
        set_pref_int("Sound effects", 1);
        set_pref_int("Sound effects level", 1);
    }
    refresh_preferences_screen();
}

void set_effects_full(UiObject*, Event&) {
    if (!sound_device_present.load()) {
        if (no_sound_card() || !open_sound_device()) return;
    } else if (sound_bank_loaded) {
        return;
    }
    sound_effects_on = 1;
    minimal_sound_set = 0;
    set_pointer_shape(pointer_wait);
    refresh_preferences_screen();
    yield_thread();
    load_sample_bank();
    set_pointer_shape(pointer_arrow);
    set_pref_int("Sound effects", 1);
    set_pref_int("Sound effects level", 0);
}

void preferences_screen_shown(UiObject*, Event& event) {
    if (event.value) {
        // The stick display's backdrop is lit from straight above, by day and in clear air.
        shown_view = view_settings;
        shown_view.sun_heading = 0;
        shown_view.sun_elevation = int32_t(0xC0000000u);
        shown_view.darkness = 0;
        shown_view.weather = 0;
        shown_view.night_vision = 0;
        set_view_settings(&shown_view);
        refresh_preferences_screen();
        start_calibration_display();
    } else {
        stop_calibration_display();
        save_prefs();
    }
}

void create_preferences_screens() {
    preferences_screen = create_menu_screen("Preferences Screen", "menuscrn\\pref3_of.lbm", preferences_screen_shown);
    UiObject* enemy = create_group("Enemy buttons", 1, 168, 318, 198);
    create_control(UI_BUTTON, enemy, "Enemy plus button", 284, 5, 308, 25, "menuscrn\\pr_enemp.bbm",
                   raise_forces_type);
    create_control(UI_BUTTON, enemy, "Enemy minus button", 259, 5, 283, 25, "menuscrn\\pr_enemm.bbm",
                   lower_forces_type);
    skill_text = create_ui_object(UI_TEXT, enemy, "Enemy skill text", ATTR_POS, 120, 8, ATTR_SIZE, 24, 16, ATTR_FONT,
                                  &menu_font, ATTR_SHADOW, 1, ATTR_TEXT_INSET, 1, ATTR_INPUT, 0);
    show_skill();
    UiObject* planner = create_group("Mission Planner Area", 1, 235, 318, 265);
    planner_radios[0] = create_control(UI_RADIO, planner, "Mission Planner", 239, 7, 302, 24,
                                       "menuscrn\\pr_missd.bbm", disable_mission_planner);
    planner_radios[1] = create_control(UI_RADIO, planner, "Mission Planner", 151, 7, 211, 24,
                                       "menuscrn\\pr_misse.bbm", enable_mission_planner);
    UiObject* animation = create_group("Preferences Animation Area", 1, 202, 318, 232);
    animation_radios[0] = create_control(UI_RADIO, animation, "Animation", 239, 7, 302, 24, "menuscrn\\pr_animd.bbm",
                                         disable_animations);
    animation_radios[1] = create_control(UI_RADIO, animation, "Animation", 131, 7, 191, 24, "menuscrn\\pr_anime.bbm",
                                         enable_animations);
    UiObject* sound = create_group("Preferences sound Area", 320, 86, 636, 116);
    speech_toggle = create_control(UI_TOGGLE, sound, "Sound speech", 231, 6, 286, 23, "menuscrn\\pr_msnds.bbm",
                                   toggle_speech);
    music_toggle = create_control(UI_TOGGLE, sound, "Sound effects", 153, 7, 198, 24, "menuscrn\\pr_msndm.bbm",
                                  toggle_music);
    UiObject* effects = create_group("Preferences effects area", 320, 119, 636, 150);
    effects_buttons[0] = create_control(UI_BUTTON, effects, "Sound music", 150, 7, 177, 24, "menuscrn\\pr_gsndo.bbm",
                                        set_effects_off);
    effects_buttons[1] = create_control(UI_BUTTON, effects, "Sound music", 194, 7, 250, 24, "menuscrn\\pr_gsndm.bbm",
                                        set_effects_minimal);
    effects_buttons[2] = create_control(UI_BUTTON, effects, "Sound music", 266, 7, 296, 24, "menuscrn\\pr_gsndf.bbm",
                                        set_effects_full);
    create_control_devices(preferences_screen, create_group("Preferences controls Area", 320, 168, 636, 265));
    create_menu_button(preferences_screen, "Visual Prefs Button", 1, 354, 316, 383, "menuscrn\\pr_vpref.bbm",
                       show_visual_preferences);
    create_ui_object(UI_BUTTON, preferences_screen, "Sound Prefs Button", ATTR_RECT, 1, 388, 316, 417, ATTR_SHOWN, 0);
    create_small_bar(preferences_screen, "pr_",
                     {SmallButton::HELP, SmallButton::MAIN, SmallButton::LOG, SmallButton::RECOG, SmallButton::BACK,
                      SmallButton::QUIT},
                     {"help", "main", "logs", "recog", "back", "quit"});
    create_visual_preferences_screen();

    int dos_flag = 0;
    if (!find_pref("Animations")) {
        animations_on = 1;
        set_pref_int("Animations", 1);
    }
    // Settings carried over from the older edition: its calibration does not fit this joystick.
    if (get_pref_int("DOS Flag", &dos_flag) && dos_flag == 1) {
        for (const auto& axis : JOYSTICK_CALIBRATION_KEYS)
            for (const char* key : axis) remove_pref(key);
        remove_pref("Control Deadband Size");
    }
    set_pref_int("DOS Flag", 0);
    refresh_preferences_screen();
}

void refresh_preferences_screen() {
    apply_control_type();
    set_ui_state(planner_radios[1], mission_planner != 0);
    set_ui_state(planner_radios[0], mission_planner == 0);
    set_ui_state(animation_radios[1], animations_on != 0);
    set_ui_state(animation_radios[0], animations_on == 0);
    set_ui_state(speech_toggle, sound_speech_on);
    set_ui_state(music_toggle, sound_music_on);
    for (UiObject* button : effects_buttons) set_ui_state(button, 0);
    set_ui_state(effects_buttons[!sound_effects_on ? 0 : minimal_sound_set ? 1 : 2], 1);
    refresh_control_devices();
}

void set_visual_detail(int level) {
    struct Detail {
        int32_t visual_range, object_range, terrain_detail, object_textures, flags, smoke_density, smoke_life;
    };
    constexpr int32_t NEAR = 1 << 21, FAR = 1 << 22, BOTH = VIEW_CLOUDS | VIEW_SHADOWS;
    static const Detail details[10] = {
        {1, NEAR, 0, 0, 0, 1, 400},           {1, FAR, 0, 0, VIEW_CLOUDS, 1, 400},
        {1, FAR, 1, 0, VIEW_CLOUDS, 2, 400},  {1, FAR, 1, 2, VIEW_CLOUDS, 2, 400},
        {1, FAR, 1, 2, BOTH, 2, 400},         {1, FAR, 2, 2, BOTH, 2, 600},
        {1, FAR, 2, 3, BOTH, 3, 600},         {3, FAR, 2, 3, BOTH, 3, 600},
        {5, FAR, 2, 3, BOTH, 3, 600},         {7, FAR, 3, 3, BOTH, 3, 600}};
    if (level < 0 || level > 9) return;
    const Detail& d = details[level];
    view_settings.visual_range = d.visual_range;
    view_settings.object_visual_range = d.object_range;
    view_settings.terrain_detail = d.terrain_detail;
    view_settings.object_textures = d.object_textures;
    view_settings.flags = (view_settings.flags & ~BOTH) | d.flags;
    smoke_density = d.smoke_density;
    smoke_life = d.smoke_life;
}

}  // namespace vyr
