#include "source/avionics/mfd.h"

#include <cstdio>
#include <iterator>

#include "library/3dvisual/plan_map.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/screen.h"
#include "library/maths/random.h"
#include "library/system/key.h"
#include "source/avionics/failures.h"
#include "source/avionics/mfd_hsi.h"
#include "source/avionics/mfd_radar.h"
#include "source/avionics/mfd_status.h"
#include "source/avionics/mfd_stores.h"
#include "source/avionics/targeting_pod.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/radar/radar.h"
#include "source/sknet/game_rules.h"
#include "source/sound/triggers.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"

namespace vyr {

int32_t left_mfd_page = MFD_STORES;
int32_t right_mfd_page = MFD_HSI;
int32_t active_mfd = 1;
int32_t mfd_step_forward = 0;
int32_t credits_1_enabled = 0, credits_1_shown = 0, credits_2_enabled = 0, credits_2_shown = 0;
int32_t mfd_noise_seed = 0;
int32_t mfd_flicker_seed = 0;

namespace {

constexpr const char* SOURCE = "source/avionics/mfd";

constexpr int PAGE_CYCLE[] = {MFD_HSI,         MFD_RADAR,       MFD_STORES,     MFD_POD,
                              MFD_MAVERICK,    MFD_FAILURES,    MFD_CREDITS_1,  MFD_CREDITS_2,
                              MFD_FRAG_PLAN,   MFD_FLIGHT_DATA, MFD_PAGE_END};
constexpr int CYCLE_PAGES = int(std::size(PAGE_CYCLE)) - 1;
// The page that stands earlier gives way to the radar page.
constexpr int RADAR_RANKING[] = {MFD_RADAR,    MFD_FLIGHT_DATA, MFD_STORES,    MFD_FAILURES, MFD_HSI,
                                 MFD_POD,      MFD_MAVERICK,    MFD_FRAG_PLAN, MFD_PAGE_END};

constexpr int COLOUR_BACKGROUND = 208;
constexpr int COLOUR_NOISE = 215;
constexpr int COLOUR_TEXT = 222;
constexpr int32_t TITLE_CORNER = 943718;  // 0.9
constexpr int32_t PLAN_MAP_FLIGHT_BACKGROUND = 212;

constexpr int32_t FLICKER_START_TICKS = 2000;
constexpr int32_t FLICKER_RESUME_TICKS = 120000;

constexpr int32_t KEY_SHIFT_BIT = 0x4000;

// One display's share of the electrics flicker.
struct Flicker {
    int32_t page_before_burst;
    int32_t next_burst_time;
    int32_t page_at_start;  // 0: none saved
};
Flicker left_flicker{}, right_flicker{};

void draw_pod_page(const MfdRect& rect, int) { draw_mfd_pod_page(rect); }
void draw_maverick_page(const MfdRect& rect, int) { draw_mfd_maverick_page(rect); }

constexpr MfdPageDrawer PAGE_TABLE[MFD_PAGE_END] = {
    draw_mfd_title_page,    draw_mfd_noise_page,     draw_mfd_hsi_page,     draw_mfd_radar_page,
    draw_mfd_title_page,    draw_pod_page,           draw_maverick_page,    draw_mfd_title_page,
    draw_mfd_stores_page,   draw_mfd_title_page,     draw_mfd_failures_page, draw_mfd_credits_page,
    draw_mfd_credits_page,  draw_mfd_frag_plan_page, draw_mfd_flight_data_page,
};

int cycle_index(int page) {
    for (int i = 0; i < CYCLE_PAGES; ++i)
        if (PAGE_CYCLE[i] == page) return i;
    return 0;
}

// Pages without a rank give way after every ranked one.
int radar_rank(int page) {
    int i = 0;
    while (RADAR_RANKING[i] != MFD_PAGE_END && RADAR_RANKING[i] != page) ++i;
    return i;
}

bool carries_agm_65g() {
    for (const Hardpoint& h : hardpoints)
        if (h.weapon_id == WEAPON_AGM_65G) return true;
    return false;
}

bool is_page_available(int page) {
    switch (page) {
    case MFD_POD: return has_targeting_pod();
    case MFD_MAVERICK: return carries_agm_65g() && !has_targeting_pod();
    case MFD_CREDITS_1: return credits_1_enabled;
    case MFD_CREDITS_2: return credits_2_enabled;
    case MFD_FRAG_PLAN: return game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG;
    default: return true;
    }
}

bool takes_focus(int page) { return page == MFD_HSI || page == MFD_POD || (page == MFD_RADAR && radar_on); }

void forget_shown_credits() {
    if (left_mfd_page != MFD_CREDITS_1 && credits_1_enabled && credits_1_shown) credits_1_enabled = credits_1_shown = 0;
    if (right_mfd_page != MFD_CREDITS_2 && credits_2_enabled && credits_2_shown) credits_2_enabled = credits_2_shown = 0;
}

int step_avoiding(int page, int other_page) {
    const int next = next_mfd_page(PAGE_CYCLE[cycle_index(page)]);
    return next == other_page ? next_mfd_page(next) : next;
}

int step_key(int key_code, int32_t& page, int32_t other_page) {
    mfd_step_forward = (key_code & KEY_SHIFT_BIT) ? 0 : 1;
    page = step_avoiding(page, other_page);
    update_mfd_focus();
    play_click_sound();
    return 1;
}

int toggle_key(int32_t& page, int32_t other_page) {
    if (page != MFD_OFF) {
        page = MFD_OFF;
    } else {
        page = step_avoiding(MFD_HSI, other_page);
        update_mfd_focus();
    }
    play_click_sound();
    return 1;
}

// A burst of noise begins when its time has come; until the next, the page comes back at random.
void flicker_display(int32_t& page, Flicker& f) {
    if (page == MFD_OFF) return;
    if (game_clock >= f.next_burst_time) {
        f.next_burst_time = game_clock + 200 + 200 * (next_random(mfd_flicker_seed) % 4);
        // A burst still showing keeps the page from before it, or the display would stay noise.
        if (page != MFD_NOISE) f.page_before_burst = page;
        page = MFD_NOISE;
    } else if (next_random(mfd_flicker_seed) % 10 > 4) {
        page = f.page_before_burst;
    }
}

void run_electrics_flicker() {
    if (!has_failure(FAIL_ELECTRICS)) return;
    const bool flickering = game_clock - electrics_first_failure_time < FLICKER_START_TICKS ||
                            game_clock - electrics_second_failure_time > FLICKER_RESUME_TICKS;
    if (!flickering) {
        if (left_mfd_page == MFD_NOISE && left_flicker.page_at_start) left_mfd_page = left_flicker.page_at_start;
        if (right_mfd_page == MFD_NOISE && right_flicker.page_at_start) right_mfd_page = right_flicker.page_at_start;
        return;
    }
    if (!left_flicker.page_at_start) left_flicker.page_at_start = left_mfd_page;
    if (!right_flicker.page_at_start) right_flicker.page_at_start = right_mfd_page;
    if (next_random(mfd_flicker_seed) % 3 == 2) flicker_display(left_mfd_page, left_flicker);
    flicker_display(right_mfd_page, right_flicker);
}

void draw_display(int32_t& page, FailureBit failure, const MfdRect& rect) {
    select_font(&font_large);
    if (has_failure(failure) && page != MFD_OFF) page = MFD_NOISE;
    if (page < 0 || page >= MFD_PAGE_END) report_fatal_error("Unknown mfd page %d", SOURCE, __LINE__, int(page));
    PAGE_TABLE[page](rect, page);
}

}  // namespace

void register_mfd_keys() {
    add_hot_key(SCAN_LEFT_BRACKET, step_left_mfd_key);
    add_hot_key(KEY_SHIFT | SCAN_LEFT_BRACKET, step_left_mfd_key);
    add_hot_key(KEY_CTRL | SCAN_LEFT_BRACKET, toggle_left_mfd_key);
    add_hot_key(SCAN_RIGHT_BRACKET, step_right_mfd_key);
    add_hot_key(KEY_SHIFT | SCAN_RIGHT_BRACKET, step_right_mfd_key);
    add_hot_key(KEY_CTRL | SCAN_RIGHT_BRACKET, toggle_right_mfd_key);
    add_hot_key(SCAN_A, mfd_focus_key);
}

void init_mfds() {
    reset_targeting_pod();
    if (get_game_flow() == FLOW_QUICK_START && (quick_start_kind == 1 || quick_start_kind == 2)) {
        left_mfd_page = MFD_RADAR;
        right_mfd_page = MFD_STORES;
    } else if (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG) {
        left_mfd_page = MFD_RADAR;
        right_mfd_page = MFD_HSI;
    } else {
        left_mfd_page = MFD_STORES;
        right_mfd_page = MFD_HSI;
    }
    active_mfd = 1;
    update_mfd_focus();
    left_flicker = right_flicker = {};
    load_stores_pictures();
    map_background_colour = PLAN_MAP_FLIGHT_BACKGROUND;
}

void free_mfd_pictures() { free_stores_pictures(); }

int get_active_mfd() { return active_mfd; }
int get_left_mfd_page() { return left_mfd_page; }
int get_right_mfd_page() { return right_mfd_page; }

void update_mfd_focus() {
    if (active_mfd == 2) {
        const bool keep = left_mfd_page == MFD_RADAR ? right_mfd_page == MFD_HSI || right_mfd_page == MFD_POD
                                                     : takes_focus(right_mfd_page);
        active_mfd = keep ? 2 : 1;
        return;
    }
    active_mfd = !takes_focus(left_mfd_page) && takes_focus(right_mfd_page) ? 2 : 1;
}

void show_radar_page() {
    if (radar_rank(left_mfd_page) <= radar_rank(right_mfd_page)) {
        left_mfd_page = MFD_RADAR;
        active_mfd = 1;
    } else {
        right_mfd_page = MFD_RADAR;
        active_mfd = 2;
    }
}

void show_credits_on_mfds() {
    credits_1_enabled = credits_2_enabled = 1;
    left_mfd_page = MFD_CREDITS_1;
    right_mfd_page = MFD_CREDITS_2;
}

int next_mfd_page(int page) {
    forget_shown_credits();
    int i = cycle_index(page);
    for (;;) {
        i += mfd_step_forward ? 1 : -1;
        if (i < 0) i = CYCLE_PAGES - 1;
        if (PAGE_CYCLE[i] == MFD_PAGE_END) i = 0;
        if (is_page_available(PAGE_CYCLE[i])) return PAGE_CYCLE[i];
    }
}

int step_left_mfd_page(int page) { return step_avoiding(page, right_mfd_page); }
int step_right_mfd_page(int page) { return step_avoiding(page, left_mfd_page); }

int step_left_mfd_key(int key_code) { return step_key(key_code, left_mfd_page, right_mfd_page); }
int step_right_mfd_key(int key_code) { return step_key(key_code, right_mfd_page, left_mfd_page); }
int toggle_left_mfd_key(int) { return toggle_key(left_mfd_page, right_mfd_page); }
int toggle_right_mfd_key(int) { return toggle_key(right_mfd_page, left_mfd_page); }

int mfd_focus_key(int) {
    play_click_sound();
    if (active_mfd != 1 && active_mfd != 2)
        report_fatal_error("Which mfd are we talking about here, like????", SOURCE, __LINE__);
    const int other = 3 - active_mfd;
    const int page = other == 1 ? left_mfd_page : right_mfd_page;
    if (page != MFD_HSI && page != MFD_POD && !(page == MFD_RADAR && radar_on)) return 1;
    if (page == MFD_POD && get_pod_on_point()) designated_target.kind = TARGET_NONE;
    active_mfd = other;
    return 1;
}

void draw_mfds() {
    select_font(&font_large);
    run_electrics_flicker();
    draw_display(left_mfd_page, FAIL_LEFT_MFD, LEFT_MFD_RECT);
    draw_display(right_mfd_page, FAIL_RIGHT_MFD, RIGHT_MFD_RECT);
    reset_clip_rect();
}

void set_mfd_plot(const MfdRect& rect, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    set_plot(rect.x, rect.y, rect.width, rect.height, x0, y0, x1, y1);
    set_plot_rotation(0);
    set_plot_offset(0, 0);
}

void set_mfd_unit_plot(const MfdRect& rect) { set_mfd_plot(rect, -MFD_UNIT, -MFD_UNIT, MFD_UNIT, MFD_UNIT); }

void draw_plot_text(int32_t x, int32_t y, const char* text) {
    place_text_at_plot_point(x, y);
    draw_text(text);
}

void draw_plot_text_centred(int32_t x, int32_t y, const char* text) {
    place_text_at_plot_point(x, y);
    text_x -= get_text_width(text) / 2 - 1;
    draw_text(text);
}

int whole_degrees(uint32_t angle) { return int(uint64_t(angle) * 360 >> 32); }

bool focused_mfd_shows(int page) { return (active_mfd == 1 ? left_mfd_page : right_mfd_page) == page; }

void draw_mfd_title_page(const MfdRect& rect, int page) {
    set_mfd_unit_plot(rect);
    fill_plot(MFD_BACKGROUND_FILL);
    text_colour = COLOUR_TEXT;
    const char* title = page == MFD_TACTICAL      ? "Tactical"
                        : page == MFD_FLIGHT_PLAN ? "Flight Plan"
                        : page == MFD_ENGINES     ? "Engines"
                                                  : "MFD Off";
    draw_plot_text(-TITLE_CORNER, TITLE_CORNER, title);
}

// Row k of each 32 takes bit k of a word made from two steps of the noise state; bits 15 and 31
// are always clear.
void draw_mfd_noise_page(const MfdRect& rect, int) {
    set_mfd_plot(rect, 0, 0, rect.width - 1, rect.height - 1);
    uint32_t word = 0;
    for (int row = 0; row < rect.height; ++row) {
        if (row % 32 == 0) {
            next_random(mfd_noise_seed);
            const uint32_t s1 = uint32_t(mfd_noise_seed);
            next_random(mfd_noise_seed);
            word = (s1 & 0x7fff0000u) | ((uint32_t(mfd_noise_seed) >> 16) & 0x7fffu);
        }
        const int colour = (word >> (row % 32)) & 1 ? COLOUR_NOISE : COLOUR_BACKGROUND;
        const int32_t y = rect.height - 1 - row;
        draw_plot_line(0, y, rect.width - 1, y, colour);
    }
}

// The program's name on the first display, its version on the second.
void draw_mfd_credits_page(const MfdRect& rect, int page) {
    set_mfd_unit_plot(rect);
    fill_plot(MFD_BACKGROUND_FILL);
    text_colour = COLOUR_TEXT;
    if (page == MFD_CREDITS_1) {
        credits_1_shown = 1;
        draw_plot_text_centred(0, 0, "VYR");
    } else {
        credits_2_shown = 1;
        draw_plot_text_centred(0, 0, "Version " VYR_VERSION);
    }
}

}  // namespace vyr
