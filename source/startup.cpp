#include "library/3dvisual/world_glide.h"
#include "source/startup.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/3dvisual/objects.h"
#include "library/config/prefs.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "library/sound/music.h"
#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "library/ui/repaint.h"

namespace vyr {

int32_t menu_screen_layout = 0;
int32_t flight_video_mode = 1;
int32_t product_language = LANG_ENGLISH;
int32_t joystick_range = 0;
int32_t throttle_reversal = 0;
int32_t run_count = 0;

namespace {

constexpr const char* SOURCE = "source/startup";
constexpr int MENU_VIDEO_MODE = 1;  // 640 x 480 x 8
constexpr int OVERLAY_X = 220;
constexpr int OVERLAY_Y = 310;
constexpr int FADE_STEPS = 50;

Screen* loading_screen = nullptr;
PaletteEffect* loading_fade = nullptr;

// Optional sign and leading digits, as atoi reads them, held within the range of int.
int read_number(const char* text) {
    int sign = 1;
    if (*text == '+' || *text == '-') sign = *text++ == '-' ? -1 : 1;
    int64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(*text))) {
        value = std::min<int64_t>(value * 10 + (*text++ - '0'), int64_t(INT_MAX) + 1);
    }
    return int(std::clamp<int64_t>(sign * value, INT_MIN, INT_MAX));
}

void set_language_letter(char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'A': product_language = LANG_US; break;
        case 'E': product_language = LANG_ENGLISH; break;
        case 'F': product_language = LANG_FRENCH; break;
        case 'G': product_language = LANG_GERMAN; break;
        case 'I': product_language = LANG_ITALIAN; break;
        default: break;
    }
    set_pref_int("Product Language", product_language);
}

void parse_option(char letter, const char* argument) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'C':
            if (argument[0] >= '0' && argument[0] <= '3') menu_screen_layout = argument[0] - '0';
            break;
        case 'J':
            joystick_range = int(std::clamp<int64_t>(int64_t(read_number(argument)) * 100, INT_MIN, INT_MAX));
            break;
        case 'L': set_language_letter(argument[0]); break;
        case 'Q': throttle_reversal = read_number(argument) % 2; break;
        default: break;
    }
}

int64_t fade_level(int step) { return int64_t(step) * EFFECT_FULL_LEVEL / FADE_STEPS; }

void show_loading_background() {
    if (!set_screen_mode(menu_screen_layout, MENU_VIDEO_MODE)) return;
    suspend_ui_updates();
    loading_fade = create_palette_effect(EFFECT_BLEND, 0, 0, 256, EFFECT_FULL_LEVEL, 0, 0, 0);
    loading_screen = create_screen(display_width(), display_height());
    select_screen(loading_screen);
    flush_events();
    const char* name = product_language == LANG_US ? "menuscrn\\tit-us.lbm" : "menuscrn\\newintro.lbm";
    if (present_picture(loading_screen, name))
        for (int i = 0; i < FADE_STEPS; ++i)
            set_palette_effect_level(loading_fade, int(EFFECT_FULL_LEVEL - fade_level(i)), 1);
    // Without its picture only the fade-in is skipped: the black must not hide what follows.
    set_palette_effect_level(loading_fade, 0, 1);
}

void end_loading_screen() {
    destroy_palette_effect(loading_fade);
    loading_fade = nullptr;
    destroy_screen(loading_screen);
    loading_screen = nullptr;
}

// Overlays are drawn with their own size, whatever the file says it is.
void show_loading_overlay(const char* name) {
    std::string path = join_path("menuscrn\\", name);
    if (!loading_screen || !check_file_exists(path.c_str())) return;
    uint8_t* pixels = nullptr;
    int width = 0, height = 0;
    if (!load_picture(path.c_str(), &pixels, &width, &height)) return;
    Sprite sprite{width, height, 0, 0, pixels};
    select_screen(loading_screen);
    draw_sprite(&sprite, OVERLAY_X, OVERLAY_Y);
    lock_and_flip_display();
    free_memory(pixels, SOURCE, __LINE__);
}

}  // namespace

void parse_command_line(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        if ((word[0] == '-' || word[0] == '/') && word[1]) parse_option(word[1], word + 2);
    }
}

void parse_environment_options(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return;
    size_t length = std::strlen(value);
    char* copy = static_cast<char*>(allocate_memory(length + 1, SOURCE, __LINE__));
    std::memcpy(copy, value, length + 1);
    char empty[] = "";
    char* words[MAX_OPTION_WORDS] = {empty};
    int count = 1;
    for (char* at = copy; *at && count < MAX_OPTION_WORDS;) {
        while (*at && std::isspace(static_cast<unsigned char>(*at))) ++at;
        if (!*at) break;
        words[count++] = at;
        while (*at && !std::isspace(static_cast<unsigned char>(*at))) ++at;
        if (*at) *at++ = '\0';
    }
    parse_command_line(count, words);
    free_memory(copy, SOURCE, __LINE__);
}

int present_picture(Screen* screen, const char* name) {
    if (!check_file_exists(name)) return 0;
    // A picture without a colour map leaves the colours as they are.
    uint8_t palette[PICTURE_PALETTE_SIZE];
    std::memcpy(palette, base_palette, sizeof palette);
    if (!load_picture_palette(name, screen->pixels, screen->width, screen->height, palette)) return 0;
    select_screen(screen);
    lock_and_flip_display();
    lock_and_flip_display();
    set_base_palette(palette, 0, 256, 1);
    return 1;
}

void show_loading_screen(int phase) {
    if (phase == 0) show_loading_background();
    if (phase == -1) {
        end_loading_screen();
        return;
    }
    if (product_language == LANG_US) return;
    const char* const overlays[] = {"ni_sys.bbm", "ni_sound.bbm", "ni_miss.bbm", "ni_mapd.bbm"};
    show_loading_overlay(phase >= 0 && phase <= 3 ? overlays[phase] : "blank.bbm");
}

int quit_game_key(int key_code) {
    stop_music_now();
    run_exit_handlers();
    end_process(key_code & 0xFF);
}

void set_run_count(int count) { run_count = count; }
int get_run_count() { return run_count; }

void count_game_run() {
    // A hand-edited count at the limit stays there.
    if (run_count < INT32_MAX) ++run_count;
    set_pref_int("Quick Start Game Runs", run_count);
}

void start_accelerator() {
    TextureRecord** const object_textures = texture_table;
    const int32_t object_texture_count = texture_count;
    texture_table = nullptr;
    texture_count = 0;
    start_glide();
    texture_table = object_textures;
    texture_count = object_texture_count;
    release_accelerator_display();
}

// The build lists the stub files left in source/seams/, so the line names no subsystem built since.
void report_seams() {
    if (*VYR_SEAMS) std::fprintf(stderr, "vyr: stand-ins still in place: %s\n", VYR_SEAMS);
}

}  // namespace vyr
