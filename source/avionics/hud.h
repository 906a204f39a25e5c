// The head-up display: its mode chosen each frame from the selected weapon and the flight, its
// damage, its window cut from the glass of the panoramic cockpit, and the symbols it draws there
// in one colour. HUD units: 1.0 = 2^20, x -1.0..1.0 across the glass, y -0.8..0.8 upwards.
#pragma once

#include <cstdint>

#include "library/maths/units.h"
#include "library/maths/vector.h"

namespace vyr {

enum HudMode : int32_t {
    HUD_NAV,
    HUD_ILS,
    HUD_STRAFE,
    HUD_CCIP,
    HUD_LOFT,
    HUD_SRM,
    HUD_MRM,
    HUD_EO,
    HUD_ARM,
    HUD_EEGS,
    HUD_LCOS,
    HUD_SNAP,
    HUD_DGFT,
};

constexpr int32_t HUD_ONE = 1 << 20;
// The display reckons a nautical mile a foot short of the instruments' 6,076 ft.
constexpr int32_t HUD_NAUTICAL_MILE = 6075 * FOOT;
// A HUD coordinate from its decimal value.
constexpr int32_t hud_units(double value) { return int32_t(value * HUD_ONE); }

struct HudPoint {
    int32_t x, y;
};

extern int32_t hud_mode;
extern int32_t hud_colour;       // 208, 223, or 1 under night vision
extern int32_t airspeed_display;  // 1 indicated ("I"), 0 true ("T")
extern int32_t hud_fail_state;    // 0 healthy, 1 dead, 2 flickering
extern int32_t hud_blink_phase;   // flips every 100 ticks
extern int32_t hud_on_screen;

// The bomb delivery sub-mode and the gun's aiming, kept by the display and set by the weapon keys.
constexpr int BOMB_MODE_CCIP = 0, BOMB_MODE_LAY = 1, BOMB_MODE_LOFT = 2;
constexpr int GUN_AIM_MANUAL = 0, GUN_AIM_AUTOMATIC = 1;

// Mode NAV, bomb delivery mode 0, automatic gun aiming, the colour for the light.
void init_hud();
// Hot-key handlers: the next HUD colour; indicated or true airspeed.
int select_hud_colour(int key_code);
int toggle_airspeed_display(int key_code);
// Into the locked frame buffer, under the cockpit's pieces: the display seen through its glass.
void draw_hud();
void choose_hud_mode();

// Set by the weapons code.
void set_bomb_delivery_mode(int mode);
int get_bomb_delivery_mode();
void set_gun_aim_mode(int mode);
int get_gun_aim_mode();

// This frame's velocity vector.
void get_velocity_vector(int32_t& x, int32_t& y);

// Routines the aiming symbols share.
// The forward axis of a heading and pitch, unrolled.
void direction_from_angles(uint32_t heading, uint32_t pitch, Vector3& out);
// Where a world direction (or an offset from the aircraft) stands on the HUD, unclamped.
HudPoint hud_point_of_direction(const Vector3& direction);
// The designated target's place on the HUD; 0 when nothing is designated.
int project_target_to_hud(HudPoint& out);
// `p` turned about `centre` by a binary angle, clockwise on the glass for a positive angle.
HudPoint rotate_hud_point(HudPoint p, HudPoint centre, uint32_t angle);

// Drawing in HUD units, in the HUD colour.
void hud_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// A line between two points given in decimal HUD units from `origin`.
void hud_line_at(HudPoint origin, double x0, double y0, double x1, double y1);
void hud_dashed_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void hud_circle(int32_t x, int32_t y, int32_t radius);
void hud_point(int32_t x, int32_t y);
// Filled by strokes from the apex across to the base, which the frame buffer's lines can draw.
void hud_fill_triangle(HudPoint apex, HudPoint base_a, HudPoint base_b);
// A binary angle in degrees, signed.
constexpr double hud_degrees(int32_t angle) { return angle * (360.0 / 4294967296.0); }
// Labels are lifted by this many pixels to centre on their point (the text hangs from it).
constexpr int HUD_TEXT_LIFT = -4;
// Text at a HUD point: its left end there (`align` 0), its right end (1) or its centre (2),
// then moved by (dx, dy) pixels.
void hud_text(int32_t x, int32_t y, const char* text, int align = 0, int dx = 0, int dy = 0);

}  // namespace vyr
