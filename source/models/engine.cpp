#include "source/models/engine.h"

#include <algorithm>
#include <cmath>

#include "library/maths/random.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel.h"
#include "source/controls.h"
#include "source/frame_loop.h"
#include "source/models/landing.h"
#include "source/sknet/game_rules.h"

namespace vyr {

EngineState engine_state;

namespace {

constexpr double IDLE_SPOOL = 0.6;
constexpr double AFTERBURNER_SPOOL = 0.98;  // the afterburner lights only above it
constexpr double MILITARY_THROTTLE = 0.76;
constexpr double LOW_FUEL = 650.0;  // lb
constexpr int32_t FIRE_OUT_TICKS = 400;
constexpr double FLOW_TOP = 40000.0;  // ft; the flows are not extrapolated higher
constexpr double FLOW_REFERENCE = 36000.0;

// Thrust tables: rows by Mach 0 .. 2.2 in 0.2 steps, columns by altitude 0 .. 70,000 ft in
// 10,000 ft steps.
constexpr int MACH_ROWS = 12, ALTITUDE_COLUMNS = 8;
constexpr double MACH_STEP = 0.2, ALTITUDE_STEP = 10000.0;
constexpr double MAX_TABLE_MACH = 2.199, MAX_TABLE_ALTITUDE = 69999.0;

constexpr double thrust_table[THRUST_TABLES][MACH_ROWS][ALTITUDE_COLUMNS] = {
    {{1060, 783, 565, 396, 261, 161, 100, 61},
     {635, 469, 338, 237, 156, 97, 60, 37},
     {60, 44, 32, 22, 15, 9, 6, 3},
     {-1020, -754, -544, -381, -251, -155, -96, -59},
     {-2200, -1626, -1173, -823, -541, -334, -207, -128},
     {-3500, -2587, -1866, -1309, -861, -532, -329, -203},
     {-4366, -3226, -2327, -1633, -1074, -664, -410, -253},
     {-5348, -3952, -2851, -2000, -1316, -813, -503, -310},
     {-6331, -4679, -3374, -2368, -1557, -962, -595, -367},
     {-7313, -5405, -3898, -2735, -1799, -1112, -687, -424},
     {-8296, -6131, -4422, -3103, -2041, -1261, -780, -481},
     {-9278, -6857, -4945, -3470, -2282, -1410, -872, -538}},
    {{18500, 12327, 7026, 3302, 2340, 1586, 0, 0},
     {18500, 12515, 7410, 3656, 2470, 1662, 0, 0},
     {18500, 12703, 7820, 3882, 2600, 1887, 0, 0},
     {18500, 12891, 8230, 4218, 2840, 2263, 0, 0},
     {18500, 13079, 8640, 4815, 3250, 2788, 0, 0},
     {18500, 13268, 9050, 6152, 4360, 3558, 0, 0},
     {18500, 13451, 9562, 6812, 5041, 3949, 0, 0},
     {18500, 13634, 10167, 7592, 5846, 4411, 0, 0},
     {18500, 13817, 10865, 8492, 6775, 4945, 0, 0},
     {18500, 14000, 11657, 9111, 7829, 5549, 0, 0},
     {18500, 14183, 12541, 10652, 9006, 6225, 0, 0},
     {18500, 14368, 13519, 11912, 10307, 6972, 0, 0}},
    {{29100, 21825, 14528, 9567, 5573, 2833, 0, 0},
     {29100, 22116, 14614, 9894, 5696, 3201, 0, 0},
     {29100, 22407, 14871, 10061, 6064, 3492, 0, 0},
     {29100, 22698, 15300, 10678, 6678, 3973, 0, 0},
     {29100, 22989, 15900, 11541, 7538, 4860, 0, 0},
     {29100, 23280, 16800, 12652, 8643, 5800, 0, 0},
     {29100, 23571, 17615, 14009, 9994, 6515, 0, 0},
     {29100, 23862, 18730, 15614, 11590, 7146, 0, 0},
     {29100, 24153, 20017, 17465, 13432, 7862, 0, 0},
     {29100, 24444, 21475, 19562, 14540, 8656, 0, 0},
     {29100, 24735, 23104, 21907, 16000, 9584, 0, 0},
     {29100, 25026, 24735, 24498, 17800, 10800, 0, 0}}};

// Each cell's bilinear interpolation as T = (a M + b) h + c M + d.
struct ThrustCell {
    double a, b, c, d;
};
ThrustCell thrust_cells[THRUST_TABLES][MACH_ROWS - 1][ALTITUDE_COLUMNS - 1];
bool thrust_cells_built = false;

// Fuel flows in lb/s at sea level and at 36,000 ft, from the low to the high end of each range.
struct FlowRange {
    double low_sea, high_sea, low_high, high_high;
};
constexpr FlowRange MILITARY_FLOW = {0.028, 3.361, 0.028, 0.847};
constexpr FlowRange AFTERBURNER_FLOW = {3.361, 17.206, 0.847, 5.703};

double fire_deadline = 0.0;  // game_clock ticks; 0: no fire yet
double fire_damage = 0.0;
double extinguisher_time = 0.0;
int32_t extinguisher_fired = 0;
double leak_factor = 1.0, leak_target = 1.0;

void build_thrust_tables() {
    if (thrust_cells_built) return;
    for (int t = 0; t < THRUST_TABLES; ++t)
        for (int i = 0; i + 1 < MACH_ROWS; ++i)
            for (int j = 0; j + 1 < ALTITUDE_COLUMNS; ++j) {
                const auto& z = thrust_table[t];
                const double m0 = i * MACH_STEP, h0 = j * ALTITUDE_STEP;
                const double k = (z[i + 1][j + 1] - z[i][j + 1] - z[i + 1][j] + z[i][j]) / (MACH_STEP * ALTITUDE_STEP);
                const double per_mach = (z[i + 1][j] - z[i][j]) / MACH_STEP;
                const double per_foot = (z[i][j + 1] - z[i][j]) / ALTITUDE_STEP;
                thrust_cells[t][i][j] = {k, per_foot - k * m0, per_mach - k * h0,
                                         z[i][j] - per_mach * m0 - per_foot * h0 + k * m0 * h0};
            }
    thrust_cells_built = true;
}

double flow_at(const FlowRange& range, double x, double altitude) {
    if (infinite_fuel) return 0.0;
    x = std::clamp(x, 0.0, 1.0);
    const double h = std::clamp(altitude, 0.0, FLOW_TOP);
    const double sea = range.low_sea + (range.high_sea - range.low_sea) * x;
    const double high = range.low_high + (range.high_high - range.low_high) * x;
    return sea + (high - sea) * h / FLOW_REFERENCE;
}

// Power levels in percent: 0-50 military, 50-100 afterburner.
double commanded_power(double throttle) { return throttle <= 0.77 ? 64.94 * throttle : 217.38 * throttle - 117.38; }

double power_time_constant(double difference) {
    if (difference <= 25) return 1.0;
    if (difference >= 50) return 0.1;
    return 1.9 - 0.036 * difference;
}

// Rate of the power fraction (per second) from the current fraction towards the throttle's.
double power_rate(double current, double throttle) {
    const double now = 100 * current, wanted = commanded_power(throttle);
    double target, gain;
    if (wanted >= 50 && now >= 50) {
        target = wanted;
        gain = 2.0;
    } else if (wanted >= 50) {
        target = 60;
        gain = power_time_constant(target - now);
    } else if (now >= 50) {
        target = 40;
        gain = 3.0;
    } else {
        target = wanted;
        gain = power_time_constant(target - now);
    }
    return (target - now) * gain * 0.01 * 2.0;
}

double military_fraction(double spool) { return (spool - IDLE_SPOOL) * 2.5; }

void update_leak(double dt) {
    if (!has_failure(FAIL_FUEL_LEAK)) {
        leak_factor = leak_target = 1.0;
    } else if (std::abs(leak_target - leak_factor) >= 0.1) {
        leak_factor += 0.2 * (leak_target - leak_factor) * dt;
    } else {
        leak_target = 1.0 + (draw_rand() % 20) * 0.1;
    }
}

void update_fuel(double dt, EngineState& engine, const AirData& air, double reheat) {
    update_leak(dt);
    double& fuel = model_mass.fuel;
    if (engine.spool >= IDLE_SPOOL)
        engine.fuel_flow = leak_factor * (reheat == 0 ? flow_at(MILITARY_FLOW, military_fraction(engine.spool), air.altitude)
                                                      : flow_at(AFTERBURNER_FLOW, reheat, air.altitude));
    else if (engine.running || fuel > 0)
        engine.fuel_flow = leak_factor * flow_at(MILITARY_FLOW, 0.0, air.altitude) * engine.spool * 1.6667;
    else
        engine.fuel_flow -= 0.3 * engine.fuel_flow * dt;  // the lines run dry
    fuel -= engine.fuel_flow * dt;
    if (fuel < LOW_FUEL && !has_failure(FAIL_FUEL)) {
        post_message("Fuel Low", 3, 400);
        set_failure(FAIL_FUEL);
    }
    if (fuel < 0) {
        fuel = 0.0;
        engine.running = 0;
    }
}

void update_fire(double dt, EngineState& engine) {
    if (fire_deadline == 0) fire_deadline = game_clock + (10 + draw_rand() % 50) * 200.0;
    if (game_clock > fire_deadline) {
        end_flight(END_CRASH);
        landing_result = LANDING_ENGINE_FIRE;
    }
    if (extinguisher_fired && game_clock > extinguisher_time + FIRE_OUT_TICKS) {
        clear_failure(FAIL_FIRE);
        extinguisher_fired = 0;
        fire_deadline = 0.0;
    } else if (!extinguisher_fired) {
        engine.temperature += (1100 - engine.temperature) * 0.1 * dt;
    }
    if (draw_rand() % 10 == 1) fire_damage += (1 - fire_damage) * 0.004;
}

void update_engine_temperature(double dt, EngineState& engine, double reheat) {
    double& t = engine.temperature;
    if (has_failure(FAIL_FIRE))
        update_fire(dt, engine);
    else if (has_failure(FAIL_ENGINE) && engine.running)
        t += (1000 - t) * 0.08 * dt;
    else if (engine.running)
        t += ((reheat > 0 ? 900 : 700) - t) * 0.05 * dt;
    else
        t -= t * 0.01 * dt;
}

}  // namespace

double table_thrust(ThrustTable table, double mach, double altitude) {
    const double h = std::clamp(altitude, 0.0, MAX_TABLE_ALTITUDE);
    const double m = std::clamp(mach, 0.0, MAX_TABLE_MACH);
    const ThrustCell& c = thrust_cells[table][int(m * 5)][int(h * 0.0001)];
    return (c.a * m + c.b) * h + c.c * m + c.d;
}

void init_engine(double power_fraction) {
    EngineState& e = engine_state;
    e.spool = IDLE_SPOOL + 0.4 * power_fraction;
    e.thrust = military_fraction(e.spool) * 33450 + 1060;
    e.fuel_flow = flow_at(MILITARY_FLOW, military_fraction(e.spool), 0.0);
    e.temperature = 0.0;
    e.running = 1;
    fire_deadline = fire_damage = extinguisher_time = 0.0;
    extinguisher_fired = 0;
    leak_factor = leak_target = 1.0;
    build_thrust_tables();
}

void update_engine(EngineState& engine, const AirData& air, double throttle, double& reheat, double dt) {
    if (!engine.running) {
        engine.thrust = 0.0;
        engine.spool -= engine.spool * 0.1 * dt;
        reheat = 0.0;
        update_fuel(dt, engine, air, reheat);
        update_engine_temperature(dt, engine, reheat);
        return;
    }
    if (reheat > 0 && throttle < MILITARY_THROTTLE) reheat = 0.0;
    double p = military_fraction(engine.spool);
    p += power_rate(p * 0.5, std::clamp(throttle, 0.0, MILITARY_THROTTLE)) * dt;
    engine.spool = IDLE_SPOOL + 0.4 * p;
    if (throttle >= MILITARY_THROTTLE && engine.spool > AFTERBURNER_SPOOL) {
        if (has_failure(FAIL_AFTERBURNER) || has_failure(FAIL_ENGINE) || has_failure(FAIL_FIRE)) {
            reheat -= reheat * 0.3 * dt;
        } else {
            const double military = military_fraction(engine.spool);
            double q = military + reheat;
            q += power_rate(q * 0.5, throttle) * dt;
            reheat = q - military;
        }
    } else {
        reheat = 0.0;
    }
    update_fuel(dt, engine, air, reheat);
    update_engine_temperature(dt, engine, reheat);

    const double military = table_thrust(THRUST_MILITARY, air.mach, air.altitude);
    if (reheat > 0) {
        const double r = std::min(reheat, 1.0);
        engine.thrust = military + (table_thrust(THRUST_MAXIMUM, air.mach, air.altitude) - military) * r;
    } else {
        const double idle = table_thrust(THRUST_IDLE, air.mach, air.altitude);
        engine.thrust = idle + (military - idle) * std::clamp(military_fraction(engine.spool), 0.0, 1.0);
    }
    if (fire_damage > 0)
        engine.spool -= (engine.spool - IDLE_SPOOL) * (draw_rand() % 2200 + 1000 * fire_damage) * 0.001 * dt;
    if (has_failure(FAIL_ENGINE)) engine.spool -= (engine.spool - IDLE_SPOOL) * (draw_rand() % 2200) * 0.001 * dt;
}

double get_model_fuel() { return model_mass.fuel; }
void set_model_fuel(double pounds) { model_mass.fuel = pounds; }

int throttle_preset_up(int) {
    if (collective_control == 0 && engine_state.running)
        model_controls.power = engine_state.spool <= AFTERBURNER_SPOOL ? 0.75 : 1.0;
    return 1;
}

int throttle_preset_down(int) {
    if (collective_control == 0) model_controls.power = model_controls.reheat <= 0.01 ? 0.0 : 0.75;
    return 1;
}

int engine_stop_key(int) {
    if (engine_state.spool < 0.65) engine_state.running = 0;
    return 1;
}

int engine_start_key(int) {
    if (model_mass.fuel > 0) engine_state.running = 1;
    return 1;
}

int fire_extinguisher_key(int) {
    if (has_failure(FAIL_FIRE) && !extinguisher_fired) {
        extinguisher_time = game_clock;
        extinguisher_fired = 1;
    }
    return 1;
}

}  // namespace vyr
