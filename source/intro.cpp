#include "source/intro.h"

#include <cstdint>

#include "library/animplay/movie.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/random.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "library/system/mouse.h"
#include "library/system/timer.h"
#include "library/ui/repaint.h"
#include "source/preferences.h"
#include "source/sknet/chat.h"
#include "source/startup.h"

namespace vyr {

namespace {

constexpr int MENU_VIDEO_MODE = 1;
constexpr int FADE_STEPS = 50;
constexpr int TITLE_HOLD = 800;    // clock units
constexpr int GOODBYE_HOLD = 1000;
constexpr int SPACE_RELEASE = SCAN_SPACE | KEY_RELEASE;

// A black fade over the whole palette and a display-sized screen to show pictures on.
struct PictureStage {
    PaletteEffect* fade = nullptr;
    Screen* screen = nullptr;
};

PictureStage open_stage(int level) {
    PictureStage stage;
    stage.fade = create_palette_effect(EFFECT_BLEND, 0, 0, 256, level, 0, 0, 0);
    stage.screen = create_screen(display_width(), display_height());
    select_screen(stage.screen);
    return stage;
}

void close_stage(PictureStage& stage) {
    destroy_screen(stage.screen);
    destroy_palette_effect(stage.fade);
    stage = {};
}

int fade_level(int step) { return int(int64_t(step) * EFFECT_FULL_LEVEL / FADE_STEPS); }

// How long the player watches decides the random state the game starts from.
void stir_random() {
    draw_rand();
    next_random(random_seed);
}

// One pass of a fade: the level, a vertical blank. True when the player asked to skip; only the
// intro's pictures can be skipped, and only they stir the random state.
bool fade_step(PictureStage& stage, int level, bool skippable) {
    if (skippable) stir_random();
    set_palette_effect_level(stage.fade, level, 1);
    wait_vertical_blank();
    return skippable && intro_skip_requested();
}

bool fade_in(PictureStage& stage, bool skippable) {
    for (int i = 0; i < FADE_STEPS; ++i)
        if (fade_step(stage, EFFECT_FULL_LEVEL - fade_level(i), skippable)) return true;
    return false;
}

bool hold_until(int start, int units, bool skippable) {
    while (read_clock() - start < units) {
        if (skippable) {
            stir_random();
            if (intro_skip_requested()) return true;
        }
        wait_after_empty_poll();
    }
    return false;
}

void show_title_pictures(PictureStage& stage) {
    int start = read_clock();
    if (present_picture(stage.screen, "menuscrn\\qk.lbm")) {
        bool skipped = fade_in(stage, true) || hold_until(start, TITLE_HOLD, true);
        if (!skipped) {
            start = read_clock();
            for (int i = 0; i < FADE_STEPS && !skipped; ++i) skipped = fade_step(stage, fade_level(i), true);
        }
    }
    set_palette_effect_level(stage.fade, EFFECT_FULL_LEVEL, 1);
    if (present_picture(stage.screen, "menuscrn\\title.lbm")) {
        if (!fade_in(stage, true)) hold_until(start, TITLE_HOLD, true);
        set_palette_effect_level(stage.fade, 0, 1);
    }
}

void show_goodbye_picture() {
    const char* const pictures[] = {"menuscrn\\tavro.lbm", "menuscrn\\sunset.lbm", "menuscrn\\seashore.lbm"};
    const char* name = goodbye_picture >= 2 && goodbye_picture <= 3 ? pictures[goodbye_picture - 1] : pictures[0];
    if (!set_screen_mode(menu_screen_layout, MENU_VIDEO_MODE)) return;
    suspend_ui_updates();
    PictureStage stage = open_stage(EFFECT_FULL_LEVEL);
    flush_events();
    int start = read_clock();
    if (!present_picture(stage.screen, name)) return;
    fade_in(stage, false);
    hold_until(start, GOODBYE_HOLD, false);
    for (int i = 0; i < FADE_STEPS; ++i) wait_vertical_blank();
}

}  // namespace

int intro_skip_requested() {
    Event event;
    while (get_event(event)) {
        // A click's release comes as a click event too: it must not skip the next picture as well.
        bool pressed = event.type == EV_MOUSE_CLICK && event.value != 0;
        if ((event.type == EV_KEY && event.value == SPACE_RELEASE) || pressed) {
            flush_events();
            return 1;
        }
    }
    return 0;
}

void play_intro() {
    flush_events();
    if (animations_on) {
        set_screen_mode(menu_screen_layout, MENU_VIDEO_MODE);
        if (product_language == LANG_US) {
            play_movie("anims\\quolen_f.rpl");
            play_movie("anims\\qk_short.rpl");
        } else {
            play_movie("anims\\qk_logo.rpl");
        }
        play_movie("anims\\intro.rpl");
        if (set_screen_mode(menu_screen_layout, MENU_VIDEO_MODE)) suspend_ui_updates();
        return;
    }
    if (!set_screen_mode(menu_screen_layout, MENU_VIDEO_MODE)) return;
    suspend_ui_updates();
    PictureStage stage = open_stage(EFFECT_FULL_LEVEL);
    flush_events();
    show_title_pictures(stage);
    close_stage(stage);
}

void play_finale() {
    set_pointer_shape(pointer_wait);
    PictureStage stage = open_stage(0);
    hide_pointer();
    for (int i = 0; i < FADE_STEPS; ++i) fade_step(stage, fade_level(i), false);
    set_palette_effect_level(stage.fade, EFFECT_FULL_LEVEL, 1);
    if (product_language != LANG_US && animations_on) play_movie("anims\\9_fin.rpl");
    if (goodbye_picture == 0) return;
    close_stage(stage);
    show_goodbye_picture();
}

}  // namespace vyr
