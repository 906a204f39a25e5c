#include "source/preferences.h"

#include "library/3dvisual/view.h"
#include "library/config/prefs.h"
#include "library/graphics/poly.h"
#include "library/sound/dsound.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "library/system/joystick.h"
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/menus/prefs_screens.h"
#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/startup.h"

namespace vyr {

int32_t animations_on = 1;

namespace {

constexpr int DEFAULT_VISUAL_DETAIL = 9;

// Each reader leaves its setting alone when the key is absent.
void read_pref(const char* name, int32_t& setting) {
    int value;
    if (get_pref_int(name, &value)) setting = value;
}

void read_pref_flag(const char* name, int32_t& flags, int32_t flag) {
    int value;
    if (get_pref_int(name, &value)) flags = value & 1 ? flags | flag : flags & ~flag;
}

void read_sound_prefs() {
    master_volume = 63;
    sound_card_settings[0] = 1;
    sound_card_settings[1] = sound_card_settings[2] = sound_card_settings[3] = -1;
    int value;
    read_pref("Sound Speech", sound_speech_on);
    read_pref("Sound Music", sound_music_on);
    read_pref("Sound effects", sound_effects_on);
    if (get_pref_int("Sound effects level", &value)) minimal_sound_set = value != 0;
    read_pref("Sound Volume", master_volume);
    master_volume = clamp_sound_level(master_volume);
    const char* const card[] = {"Sound Card", "Sound Address", "Sound IRQ", "Sound DMA"};
    for (int i = 0; i < 4; ++i) read_pref(card[i], sound_card_settings[i]);
}

void read_joystick_calibration() {
    for (int axis = 0; axis < 4; ++axis) {
        read_pref(JOYSTICK_CALIBRATION_KEYS[axis][0], joystick_state.minimum[axis]);
        read_pref(JOYSTICK_CALIBRATION_KEYS[axis][1], joystick_state.centre[axis]);
        read_pref(JOYSTICK_CALIBRATION_KEYS[axis][2], joystick_state.maximum[axis]);
    }
}

void read_visual_prefs() {
    set_pref_int("Key Task", 6);
    int range = 0;
    if (!get_pref_int("Visual Range", &range) || range <= 0 || range >= MAX_VISUAL_RANGE) range = MAX_VISUAL_RANGE;
    set_pref_int("Visual Range", range);
    view_settings.visual_range = range;
    set_depth_scale(range);
    set_pref_int("Terrain Detail", 3);
    view_settings.terrain_detail = 3;
    int value;
    read_pref_flag("Shadows", view_settings.flags, VIEW_SHADOWS);
    read_pref("Object Textures", view_settings.object_textures);
    if (get_pref_int("Object Visual Range", &value)) view_settings.object_visual_range = value ? 0x400000 : 0x200000;
    read_pref_flag("Clouds", view_settings.flags, VIEW_CLOUDS);
    if (get_pref_int("Smoke Life", &value)) smoke_life = value ? 600 : 400;
    read_pref("Smoke Density", smoke_density);
}

}  // namespace

void apply_preferences() {
    animations_on = 1;
    int value;
    if (get_pref_int("Quick Start Game Runs", &value)) set_run_count(value);
    int detail = DEFAULT_VISUAL_DETAIL;
    get_pref_int("Visual Detail", &detail);
    set_visual_detail(detail);
    read_pref("Visual Resolution", flight_video_mode);
    // Only a hand-edited file holds another id; it flies the default model and stays as written.
    if (get_pref_int("Model ID", &value)) model_id = value == MODEL_SIMPLE ? MODEL_SIMPLE : MODEL_FULL;
    read_pref("Forces Type", forces_type);
    read_pref("Mission Planner", mission_planner);
    read_pref("Animations", animations_on);
    if (get_pref_int("Rotor direction", &value)) rotor_direction = value;
    read_pref("Throttle reversal", throttle_reversal);
    read_sound_prefs();
    read_pref("Collective control", collective_control);
    read_pref("Cyclic control", cyclic_control);
    read_pref("Tailrotor control", tailrotor_control);
    read_pref("Control Deadband Size", control_deadband);
    read_joystick_calibration();
    read_visual_prefs();
    read_pref("Product Language", product_language);
}

}  // namespace vyr
