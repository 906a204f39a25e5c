#include "source/avionics/mfd_hsi.h"

#include <cstdio>
#include <iterator>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/plan_map.h"
#include "library/graphics/font.h"
#include "library/graphics/line.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/maths/trig.h"
#include "source/avionics/avionics.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"

namespace vyr {

float frag_plan_timer = 0.0f;

namespace {

constexpr PlanMapOptions HSI_PLAN_MAP_OPTIONS = {1000, PLAN_MAP_TERRAIN | PLAN_MAP_OUTLINES};

constexpr int COLOUR_NIGHT = 207;
constexpr int COLOUR_PLAYER = 204;
constexpr int COLOUR_TEAM_PLAYER = 205;
constexpr int COLOUR_OWN = 224;
constexpr int COLOUR_ROUTE = 217;
constexpr int COLOUR_ROUTE_TEXT = 222;
constexpr int COLOUR_CONE = 207;
constexpr uint32_t CONE_DASHES = 0xcccccccc;
constexpr int32_t CONE_LENGTH = 18665472;                               // 12 nm
constexpr int32_t CONE_OFFSETS[] = {1633228, -1633228, 6781788, -6781788};  // about 5 and 20 degrees

constexpr int COLOUR_FRAG = 219;
constexpr int COLOUR_FRAG_OWN = 1;
constexpr int COLOUR_FRAG_FIRST = 222;
constexpr int COLOUR_FRAG_OTHER = 217;

// A closed outline, as fractions of the unit: x to the right, y forward.
constexpr double AIRCRAFT_OUTLINE[][2] = {
    {0, 0.15},       {0.03, 0},       {0.125, -0.075}, {0.02, -0.075},  {0.02, -0.1},
    {0.05, -0.125},  {0.05, -0.15},   {-0.05, -0.15},  {-0.05, -0.125}, {-0.02, -0.1},
    {-0.02, -0.075}, {-0.125, -0.075}, {-0.03, 0},
};

MfdRect last_hsi_rect{};

void draw_aircraft_outline(int32_t unit, int colour) {
    constexpr int n = int(std::size(AIRCRAFT_OUTLINE));
    for (int i = 0; i < n; ++i) {
        const double* a = AIRCRAFT_OUTLINE[i];
        const double* b = AIRCRAFT_OUTLINE[(i + 1) % n];
        draw_plot_line(int32_t(a[0] * unit), int32_t(a[1] * unit), int32_t(b[0] * unit), int32_t(b[1] * unit), colour);
    }
}

// The map window around the aircraft, north up.
void set_hsi_map_window(const MfdRect& rect) {
    const Vector3& p = player_position->position;
    set_mfd_plot(rect, p.x - hsi_scale, p.y - hsi_scale, p.x + hsi_scale, p.y + hsi_scale);
}

}  // namespace

const char* hsi_scale_label(int32_t scale) {
    switch (scale) {
    case 1 << 24: return "10";
    case 1 << 23: return "5";
    case 1 << 22: return "2.5";
    case 1 << 21: return "1.3";
    case 1 << 20: return "0.7";
    default: return "0.3";
    }
}

void draw_ils_approach_cone() {
    const IlsBeacon* beacon = get_current_ils_beacon();
    if (!beacon) return;
    const int64_t sine = lookup_sin(beacon->runway_heading), cosine = lookup_cos(beacon->runway_heading);
    int32_t x[4], y[4];
    for (int i = 0; i < 4; ++i) {
        // Turned so that the bearing from the beacon grows by the runway heading.
        const int64_t dx = CONE_OFFSETS[i], dy = -CONE_LENGTH;
        x[i] = beacon->x + int32_t((dx * cosine + dy * sine) >> 31);
        y[i] = beacon->y + int32_t((dy * cosine - dx * sine) >> 31);
    }
    const uint32_t saved_mask = dash_mask;
    dash_mask = CONE_DASHES;
    for (int i = 0; i < 4; ++i) draw_plot_line_dashed(beacon->x, beacon->y, x[i], y[i], COLOUR_CONE);
    draw_plot_line_dashed(x[2], y[2], x[3], y[3], COLOUR_CONE);
    dash_mask = saved_mask;
}

void draw_hsi_players() {
    for (int slot = 0; slot < MAX_NET_PLAYERS; ++slot) {
        const NetPlayer& player = net_players[slot];
        if (slot == own_player_number || !is_net_player_shown(player)) continue;
        const bool team = game_mode == GAME_CAPTURE_FLAG && (player.status_bits & NET_STATUS_BLUE_TEAM);
        set_plot_centre(player.pose.position.x, player.pose.position.y);
        set_plot_rotation(-get_matrix_heading(player.pose.matrix));
        draw_aircraft_outline(hsi_scale / 2, team ? COLOUR_TEAM_PLAYER : COLOUR_PLAYER);
    }
    set_plot_rotation(0);
}

void draw_hsi_route() {
    set_hsi_map_window(last_hsi_rect);
    const int line_colour = night_vision_on ? COLOUR_NIGHT : COLOUR_ROUTE;
    text_colour = uint8_t(night_vision_on ? COLOUR_NIGHT : COLOUR_ROUTE_TEXT);
    if (!user_drone) return;
    for (const Waypoint* w = user_drone->first_waypoint; w; w = w->next) {
        if (w->next) draw_plot_line(w->x, w->y, w->next->x, w->next->y, line_colour);
        if (!w->letter) continue;
        const char letter[2] = {w->letter, 0};
        place_text_at_plot_point(w->x, w->y);
        text_x -= get_text_width(letter) / 2 - 1;
        text_y -= 3;
        draw_text(letter);
    }
}

void draw_hsi_own_aircraft() {
    set_plot_rotation(-flight_data.heading);
    set_plot_offset(0, 0);
    draw_aircraft_outline(MFD_UNIT, night_vision_on ? COLOUR_NIGHT : COLOUR_OWN);
}

void draw_mfd_hsi_page(const MfdRect& rect, int) {
    last_hsi_rect = rect;
    set_hsi_map_window(rect);
    set_plan_map_options(&HSI_PLAN_MAP_OPTIONS);
    draw_plan_map();
    draw_ils_approach_cone();
    if (show_players_on_map &&
        (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG))
        draw_hsi_players();
    set_mfd_unit_plot(rect);
    text_colour = uint8_t(night_vision_on ? COLOUR_NIGHT : COLOUR_OWN);
    draw_plot_text(-MFD_UNIT * 9 / 10, -MFD_UNIT * 8 / 10, hsi_scale_label(hsi_scale));
    if (focused_mfd_shows(MFD_HSI)) draw_plot_text(-MFD_UNIT * 7 / 8, MFD_UNIT * 7 / 8, "CUR");
    draw_hsi_route();
    set_mfd_unit_plot(rect);
    draw_hsi_own_aircraft();
    set_plot_rotation(0);
}

void draw_frag_plan_row(const char* name, int32_t x, const char* number, int32_t y, int32_t right_x) {
    draw_plot_text(x, y, name);
    place_text_at_plot_point(right_x, y);
    text_x -= get_text_width(number);
    draw_text(number);
}

void draw_mfd_frag_plan_page(const MfdRect& rect, int) {
    if (frag_plan_timer > 1.0f) {
        frag_plan_timer = 0.0f;
        set_mfd_plot(rect, 0, 0, 140, 140);
        fill_plot(MFD_BACKGROUND_FILL);
        text_colour = COLOUR_FRAG;
        select_font(&font_small);
        draw_plot_text(53, 140, "FRAG PLAN");
        draw_plot_line(0, 133, 140, 133, COLOUR_FRAG);
        draw_plot_line(0, 2, 140, 2, COLOUR_FRAG);
        if (own_node_number >= 0 && own_node_number < MAX_NET_PLAYERS) {
            bool listed[MAX_NET_PLAYERS] = {};
            int row = 0;
            for (int n = 0; n < MAX_NET_PLAYERS; ++n) {
                if (!is_net_player_shown(net_players[n])) continue;
                int best = -1;
                for (int slot = 0; slot < MAX_NET_PLAYERS; ++slot)
                    if (!listed[slot] && is_net_player_shown(net_players[slot]) &&
                        (best < 0 || player_scores[slot] > player_scores[best]))
                        best = slot;
                listed[best] = true;
                char kills[16];
                std::snprintf(kills, sizeof kills, "%d", player_scores[best]);
                text_colour = best == own_player_number ? COLOUR_FRAG_OWN : row == 0 ? COLOUR_FRAG_FIRST : COLOUR_FRAG_OTHER;
                draw_frag_plan_row(net_players[best].name, 5, kills, 129 - 8 * row, 125);
                ++row;
            }
        }
    }
    frag_plan_timer += float(frame_seconds * time_acceleration_request);
}

}  // namespace vyr
