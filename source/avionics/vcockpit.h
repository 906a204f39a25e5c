// The panoramic cockpit: the panel picture laid around the eye, the pieces of it copied over the
// 3D scene each frame, the cockpit's palette effects and lights, and the quit box picture.
#pragma once

#include <cstdint>

namespace vyr {

struct HudPoint;
struct Screen;
struct Sprite;

// The 1280 x 580 cockpit picture, created at mission set-up; the panel draws its instruments
// into it.
extern Screen* panel_screen;

// One part of the panel picture: its rectangle, whether colour 0 lets the world through, whether
// it is shown, and the face it belongs to.
struct CockpitPiece {
    int32_t x, y, width, height;
    int32_t transparent, shown, kind;
};
constexpr int COCKPIT_PIECES = 7;
extern CockpitPiece cockpit_pieces[COCKPIT_PIECES];
// The shown pieces' parts inside the look's 640 x 480 window.
struct VisiblePiece {
    int32_t source_x, source_y, width, height;
    int32_t transparent, shown, kind;
};
extern VisiblePiece visible_pieces[COCKPIT_PIECES];
extern int visible_piece_count;

// The cockpit lights, and the darkness the needles' colours take (a quarter at most when lit).
extern int32_t cockpit_lights_on;
extern int32_t cockpit_darkness;

void register_cockpit_keys();

// The quit box picture, loaded with the cockpit; null until then.
extern Sprite* quit_box_sprite;
// The overlay's one-shot flag, cleared at the start of each flight.
extern int32_t cockpit_overlay_started;

// Mission set-up: the quit box picture, the look state, the pieces, the cockpit colours and the
// panorama. A picture that is not there is fatal ("A_1280.LBM is missing.").
void init_cockpit_overlay();
void init_cockpit_pieces();
void compute_visible_cockpit_pieces();
// Into the locked frame buffer at the look position; transparent pieces skip colour 0.
void draw_cockpit_pieces();
// The five palette effects (made once) and COCKPITS.RGB into colours 224..255.
void load_cockpit_palette();
// Key L: a click, and the needles lit or dark.
int toggle_cockpit_lights_key(int key_code);
// The cockpit palette for the darkness, then in the cockpit view the head-up display, the panel
// pieces and the padlock strip into the locked frame buffer.
void draw_cockpit_overlay();
// The padlocked target's place on the 640 x 480 view: pixels from the centre, y up; 0 when it
// lies behind the eye or off the view.
int padlock_screen_point(HudPoint& out);
// At that place, a tick cross and the range arc (a full turn at 10 nm and beyond) with the
// target's heading marked on it, in the needles' colour.
void draw_padlock_symbol();
// Mission tear-down: colours, message nodes, panel art, the quit box and the panorama.
void free_cockpit();

}  // namespace vyr
