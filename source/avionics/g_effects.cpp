#include "source/avionics/g_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "library/graphics/palette.h"
#include "library/maths/matrix.h"
#include "library/system/key.h"
#include "source/avionics/panel.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/drone/user_drone.h"

namespace vyr {

float blackout_level = -0.6f;
float redout_level = -0.6f;
float hypoxia_level = 0.0f;
int32_t hypoxia_onset_time = 0;
int32_t g_effects_on = 1;

namespace {

constexpr float REST = -0.6f;
constexpr float CEILING = 1.4f;
constexpr float HYPOXIA_CEILING = 1.6f;
constexpr float SHOWN_LIMIT = 0.95f;
constexpr double OXYGEN_ALTITUDE = 3072000;  // 12,000 ft
constexpr int32_t OXYGEN_DELAY = 24000;      // 120 s, plus up to 32,767 ticks
constexpr int PRIORITY = 10000;
constexpr int RED_TAG = 7;
constexpr int BLACK_TAG = 8;

PaletteEffect* red_effect = nullptr;
PaletteEffect* black_effect = nullptr;
int32_t pressure_lost = 0;

void set_effect(PaletteEffect* effect, float f) {
    if (!effect) return;
    set_palette_effect_level(effect, int32_t(std::clamp(f, 0.0f, 0.999f) * 2147483648.0), 0);
    palette_changed = true;
}

// Builds at `rise` per second of (excess^2 + 0.001) while beyond the limit, decays at `fall`.
void accumulate(float& level, bool beyond, double excess, double t, double rise, double fall) {
    const double step = t * (excess * excess + 0.001);
    if (beyond) {
        if (level < CEILING) level = float(level + step / rise);
    } else {
        level = float(std::max(double(REST), level - step / fall));
    }
}

void step_oxygen() {
    if (!has_failure(FAIL_PRESSURE)) {
        pressure_lost = 0;
        return;
    }
    if (!pressure_lost) {
        pressure_lost = 1;
        hypoxia_onset_time = game_clock + OXYGEN_DELAY + (std::rand() & 0x7FFF);
    } else if (game_clock > hypoxia_onset_time) {
        set_failure(FAIL_OXYGEN);
    }
}

void step_hypoxia(double t) {
    if (!has_failure(FAIL_OXYGEN) || !player_position) return;
    const double a = player_position->position.z;
    double k = std::abs(a - OXYGEN_ALTITUDE) / 256000.0;
    if (k == 0) k = 0.001;
    const double step = t * k * k / 9720.0;
    if (a > OXYGEN_ALTITUDE)
        hypoxia_level = float(std::min<double>(HYPOXIA_CEILING, hypoxia_level + step));
    else if (a < OXYGEN_ALTITUDE)
        hypoxia_level = float(std::max(0.0, hypoxia_level - step));
}

}  // namespace

void init_g_effects() {
    add_hot_key(KEY_ALT | SCAN_8, toggle_g_effects_key);
    blackout_level = redout_level = REST;
    hypoxia_level = 0;
    hypoxia_onset_time = 0;
    pressure_lost = 0;
    g_effects_on = 1;
    if (!red_effect) {
        red_effect = create_palette_effect(EFFECT_BLEND, PRIORITY, 0, 256, 0, 180 << 16, 0, 0);
        tag_palette_effect(red_effect, RED_TAG);
    }
    if (!black_effect) {
        black_effect = create_palette_effect(EFFECT_BLEND, PRIORITY, 0, 256, 0, 0, 0, 0);
        tag_palette_effect(black_effect, BLACK_TAG);
    }
}

void free_g_effects() {
    set_effect(red_effect, 0);
    set_effect(black_effect, 0);
}

int toggle_g_effects_key(int) {
    g_effects_on = !g_effects_on;
    return 1;
}

void set_blackout_level(float f) { set_effect(black_effect, f); }
void set_redout_level(float f) { set_effect(red_effect, f); }

void update_g_effects() {
    const double t = frame_seconds * time_acceleration_request;
    const double g = player_flight_data.g_load;
    step_oxygen();
    step_hypoxia(t);
    if (g_effects_on)
        accumulate(blackout_level, g >= 6.0, g - 6.0, t, 90, 490);
    else
        blackout_level = REST;
    set_blackout_level(std::min(hypoxia_level + blackout_level, SHOWN_LIMIT));
    if (g_effects_on)
        accumulate(redout_level, g <= -2.0, g + 2.0, t, 40, 250);
    else
        redout_level = REST;
    set_redout_level(std::min(redout_level, SHOWN_LIMIT));
}

}  // namespace vyr
