#include "source/game_main.h"

#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/library.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"

namespace vyr {

namespace {

constexpr int ESCAPE_KEY = 0x01;
constexpr const char* TITLE_PICTURE = "menuscrn\\tit-us.lbm";
constexpr int PICTURE_COLOURS = 246;  // entries above belong to the UI and the pointer

void show_title_picture() {
    set_screen_mode(0, 1);
    Screen* screen = create_screen(640, 480);
    select_screen(screen);
    clear_screen(0);
    uint8_t palette[PICTURE_PALETTE_SIZE];
    if (load_picture_palette(TITLE_PICTURE, screen->pixels, 640, 480, palette))
        set_base_palette(palette, 0, PICTURE_COLOURS, 1);
    lock_and_flip_display();
}

}  // namespace

// A stand-in until the start-up sequence exists: start the library, show the title picture with
// the pointer over it, and wait for Esc or a quit.
int game_main(int, char**) {
    init_library("vyr.rop");
    show_title_picture();
    show_pointer();
    for (;;) {
        wait_for_flag(&event_count);
        Event event;
        while (get_event(event))
            if (event.type == EV_KEY && event.value == ESCAPE_KEY) end_process(0);
        update_pointer();
    }
}

}  // namespace vyr
