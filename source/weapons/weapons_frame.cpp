#include "source/weapons/weapons_frame.h"

#include "library/maths/random.h"
#include "source/avionics/views.h"
#include "source/sknet/game_rules.h"
#include "source/sound/triggers.h"
#include "source/weapons/rounds.h"
#include "source/weapons/speech.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t failure_random_state = 0;
int32_t internal_gun_fired = 0, internal_gun_was_fired = 0;
int32_t gun_rounds_fired = 0, gun_rounds_were_fired = 0;
int32_t friendly_fire_calls = 0;
int32_t last_ship_call_time = 0;

namespace {

int32_t game_random_state = 0;

constexpr int32_t FIRST_CHATTER_TIME = 6000;
constexpr int32_t SHIP_CALL_NEVER = -60000;

// The cockpit and the two cameras near the aircraft hear its gun.
bool gun_heard_in_view() {
    return view_mode == VIEW_COCKPIT || view_mode == VIEW_AIRFRAME_CAMERA || view_mode == VIEW_RUNWAY_CAMERA;
}

}  // namespace

int next_game_random() {
    const int32_t drawn = game_random_state;
    game_random_state = two_step_random(drawn);
    return drawn;
}

int32_t get_game_random_state() { return game_random_state; }
void set_game_random_state(int32_t state) { game_random_state = state & 0x7FFFFFFF; }

void reset_weapons() {
    failure_random_state = two_step_random(random_seed);
    // Linked machines start from the same state and exchange it from then on.
    game_random_state = connection_mode != CONNECTION_NONE ? 1 : two_step_random(random_seed);
    reset_stores();
    clear_rounds();
    friendly_fire_calls = 0;
    last_ship_call_time = SHIP_CALL_NEVER;
    next_chatter_time = FIRST_CHATTER_TIME;
    internal_gun_fired = internal_gun_was_fired = 0;
    gun_rounds_fired = gun_rounds_were_fired = 0;
}

void update_weapons_frame() {
    update_rounds();
    if (player_crashed()) weapon_selected = 0;
    if (internal_gun_was_fired == 1 && internal_gun_fired == 0) end_gun_burst_sound();
    internal_gun_was_fired = internal_gun_fired;
    internal_gun_fired = 0;
    if (gun_rounds_were_fired == 1 && gun_rounds_fired == 0)
        stop_gun_sound();
    else if (gun_rounds_were_fired == 0 && gun_rounds_fired == 1 && gun_heard_in_view())
        start_gun_sound();
    gun_rounds_were_fired = gun_rounds_fired;
    gun_rounds_fired = 0;
    play_radio_chatter();
}

}  // namespace vyr
