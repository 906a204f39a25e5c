#include "tools/vyrgen/soldiers/movements.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace vyr::vyrgen {

namespace {

// Joints: 0 the root (pitch, roll); 1, 2 the right arm and forearm; 3, 4, 5 the right thigh, shin
// and foot; 6, 7 the left arm and forearm; 8, 9, 10 the left thigh, shin and foot; 11 the item.
constexpr int JOINTS = 12;
enum Joint { ROOT, R_ARM, R_FOREARM, R_THIGH, R_SHIN, R_FOOT, L_ARM, L_FOREARM, L_THIGH, L_SHIN, L_FOOT, ITEM };

// Angles in turns; height in world units (256 to the foot) above the ground.
struct Frame {
    double height = 0;
    double tilt = 0;
    double a[JOINTS] = {};
    double b[JOINTS] = {};
};

enum class Kind { STAND, WALK, CARRY, DIE, KNEEL_DOWN, KNEEL_AIM, KNEEL_UP, RAISE, AIM, LOWER, DIVE_IN, DIVE_OUT, GET_IN,
                  GET_OUT, GUN, WAVE, GESTURE };

struct Movement {
    const char* name;
    Kind kind;
    double speed = 0;      // walking cycles: the speed recorded for, world units a second
    double direction = 0;  // deaths: the fall, in turns (0 forward); gestures: the variant
    bool twist = false;    // deaths: turning as the figure falls
};

// Speeds in the middle of the walking bands the body chooses its cycles by.
constexpr double WALK = 1400, WALK_JOG = 2300, JOG = 3430, JOG_RUN = 4600, RUN = 5800;

const Movement MOVEMENTS[] = {
    {"default", Kind::STAND}, {"walk", Kind::WALK, WALK}, {"walk_jog", Kind::WALK, WALK_JOG}, {"jog", Kind::WALK, JOG},
    {"jog_run", Kind::WALK, JOG_RUN}, {"run", Kind::WALK, RUN}, {"m_w", Kind::WALK, WALK},
    {"m_wj", Kind::WALK, WALK_JOG}, {"m_j", Kind::WALK, JOG}, {"m_jr", Kind::WALK, JOG_RUN}, {"m_r", Kind::WALK, RUN},
    {"r_d", Kind::STAND}, {"r_w", Kind::WALK, WALK}, {"r_wj", Kind::WALK, WALK_JOG}, {"r_j", Kind::WALK, JOG},
    {"r_jr", Kind::WALK, JOG_RUN}, {"r_r", Kind::WALK, RUN}, {"s_d", Kind::STAND}, {"s_w", Kind::WALK, WALK},
    {"s_wj", Kind::WALK, WALK_JOG}, {"s_j", Kind::WALK, JOG}, {"s_jr", Kind::WALK, JOG_RUN}, {"s_r", Kind::WALK, RUN},
    {"die_n", Kind::DIE, 0, 0}, {"die_n_t", Kind::DIE, 0, 0, true}, {"die_e", Kind::DIE, 0, 0.25},
    {"die_e_t", Kind::DIE, 0, 0.25, true}, {"die_s", Kind::DIE, 0, 0.5}, {"die_s_t", Kind::DIE, 0, 0.5, true},
    {"die_w", Kind::DIE, 0, 0.75}, {"die_w_t", Kind::DIE, 0, 0.75, true}, {"ikneel", Kind::KNEEL_DOWN},
    {"kneelup", Kind::KNEEL_AIM}, {"okneel", Kind::KNEEL_UP}, {"r_ik", Kind::KNEEL_DOWN}, {"r_ku", Kind::KNEEL_AIM},
    {"r_ok", Kind::KNEEL_UP}, {"ishoot", Kind::RAISE}, {"shootup", Kind::AIM}, {"oshoot", Kind::LOWER},
    {"r_is", Kind::RAISE}, {"r_su", Kind::AIM}, {"r_os", Kind::LOWER}, {"s_is", Kind::RAISE}, {"s_su", Kind::AIM},
    {"s_os", Kind::LOWER}, {"idive", Kind::DIVE_IN}, {"odive", Kind::DIVE_OUT}, {"get_in", Kind::GET_IN},
    {"get_out", Kind::GET_OUT}, {"dshk", Kind::GUN}, {"hmg", Kind::GUN}, {"casualty", Kind::CARRY, WALK},
    {"wave", Kind::WAVE}, {"r_wave", Kind::WAVE}, {"s_wave", Kind::WAVE}, {"gun", Kind::GESTURE, 0, 0},
    {"r_g", Kind::GESTURE, 0, 0}, {"s_g", Kind::GESTURE, 0, 0}, {"scratch", Kind::GESTURE, 0, 1},
    {"r_s", Kind::GESTURE, 0, 1}, {"s_s", Kind::GESTURE, 0, 1}, {"look", Kind::GESTURE, 0, 2},
    {"r_l", Kind::GESTURE, 0, 2}, {"s_l", Kind::GESTURE, 0, 2}, {"hip", Kind::GESTURE, 0, 3},
    {"r_h", Kind::GESTURE, 0, 3}, {"s_h", Kind::GESTURE, 0, 3}, {"nuts", Kind::GESTURE, 0, 4},
    {"r_n", Kind::GESTURE, 0, 4}, {"s_n", Kind::GESTURE, 0, 4}, {"swing", Kind::GESTURE, 0, 5},
    {"r_sw", Kind::GESTURE, 0, 5}, {"s_sw", Kind::GESTURE, 0, 5}};
static_assert(std::size(MOVEMENTS) == 74);

constexpr double LEG = 3.0 * 256;  // hip to ground, world units

// A figure carrying a weapon keeps both arms on it: forward and bent at the elbow.
void hold_weapon(Frame& f, double raise) {
    f.a[R_ARM] = f.a[L_ARM] = -0.12 - 0.1 * raise;
    f.a[R_FOREARM] = f.a[L_FOREARM] = -0.1 + 0.05 * raise;
    f.b[L_ARM] = 0.04;
}

bool armed(const Movement& m) { return m.name[1] == '_'; }

double wave(double p) { return std::sin(2 * std::numbers::pi * p); }

// The legs open wider the faster the pace.
double stride_sine(double speed) { return 0.35 + 0.35 * speed / RUN; }

// Two steps a cycle, each moving the foot on the ground by 2 x LEG x stride sine: the cycle lasts
// as long as the speed takes to cover that, so the feet do not slide.
int cycle_duration(double speed) { return int(std::lround(4 * LEG * stride_sine(speed) / speed * 1000)); }

void walk(Frame& f, double p, double speed, double duration_ms) {
    const double step = speed * duration_ms / 1000 / 2;
    const double swing = std::asin(step / 2 / LEG) / (2 * std::numbers::pi);
    f.a[R_THIGH] = swing * wave(p);
    f.a[L_THIGH] = -swing * wave(p);
    f.a[R_SHIN] = 0.06 * std::max(0.0, -wave(p + 0.1)) * (1 + speed / RUN);
    f.a[L_SHIN] = 0.06 * std::max(0.0, wave(p + 0.1)) * (1 + speed / RUN);
    f.a[R_ARM] = -0.6 * swing * wave(p);
    f.a[L_ARM] = 0.6 * swing * wave(p);
    f.a[R_FOREARM] = f.a[L_FOREARM] = -0.03 - 0.05 * speed / RUN;
    f.a[ROOT] = 0.02 * speed / RUN;  // leaning into the pace
    f.height = 0.04 * LEG * std::abs(wave(2 * p)) * speed / RUN;
}

// Every kind's pose at p, 0..1 through the movement.
Frame pose(const Movement& m, double p, double duration_ms) {
    Frame f;
    const double s = std::sin(p * std::numbers::pi / 2);  // easing of one-shot movements
    switch (m.kind) {
    case Kind::STAND: f.a[ROOT] = 0.003 * wave(p); f.a[R_ARM] = f.a[L_ARM] = 0.01 * wave(p); break;
    case Kind::WALK: walk(f, p, m.speed, duration_ms); break;
    case Kind::CARRY:
        walk(f, p, m.speed, duration_ms);
        f.a[R_ARM] = f.a[L_ARM] = -0.05;
        break;
    case Kind::DIE:
        f.a[ROOT] = 0.25 * s * std::cos(2 * std::numbers::pi * m.direction);
        f.b[ROOT] = 0.25 * s * std::sin(2 * std::numbers::pi * m.direction);
        f.tilt = m.twist ? 0.2 * s : 0;
        f.a[R_ARM] = -0.3 * s;
        f.a[L_ARM] = 0.2 * s;
        f.a[R_SHIN] = f.a[L_SHIN] = 0.1 * std::sin(p * std::numbers::pi);
        break;
    case Kind::KNEEL_DOWN: case Kind::KNEEL_AIM: case Kind::KNEEL_UP: {
        const double k = m.kind == Kind::KNEEL_DOWN ? s : m.kind == Kind::KNEEL_UP ? 1 - s : 1;
        f.height = -0.3 * LEG * k;
        f.a[R_THIGH] = -0.2 * k;
        f.a[R_SHIN] = 0.2 * k;
        f.a[L_THIGH] = 0.05 * k;
        f.a[L_SHIN] = 0.2 * k;
        hold_weapon(f, m.kind == Kind::KNEEL_AIM ? 1 - p : k);
        break;
    }
    case Kind::RAISE: hold_weapon(f, s); break;
    case Kind::LOWER: hold_weapon(f, 1 - s); break;
    // The aim's time is its elevation: from level to straight up.
    case Kind::AIM: hold_weapon(f, 1); f.a[ROOT] = -0.06 * p; f.a[R_ARM] = f.a[L_ARM] = -0.22 - 0.2 * p; break;
    case Kind::GUN:
        f.height = -0.3 * LEG;
        f.a[R_THIGH] = f.a[L_THIGH] = -0.2;
        f.a[R_SHIN] = f.a[L_SHIN] = 0.2;
        f.a[R_ARM] = f.a[L_ARM] = -0.2 - 0.1 * p;
        break;
    case Kind::DIVE_IN: case Kind::DIVE_OUT: {
        const double k = m.kind == Kind::DIVE_IN ? s : 1 - s;
        f.a[ROOT] = 0.24 * k;
        f.height = 0.3 * LEG * std::sin(p * std::numbers::pi);
        f.a[R_ARM] = f.a[L_ARM] = -0.4 * k;
        break;
    }
    case Kind::GET_IN: case Kind::GET_OUT: {
        const double k = m.kind == Kind::GET_IN ? p : 1 - p;
        f.height = 0.8 * LEG * k;
        f.a[R_THIGH] = -0.15 * std::sin(k * std::numbers::pi);
        f.a[R_SHIN] = 0.15 * std::sin(k * std::numbers::pi);
        f.a[R_ARM] = -0.3 * std::sin(k * std::numbers::pi);
        break;
    }
    case Kind::WAVE:
        f.a[R_ARM] = -0.45 * std::sin(p * std::numbers::pi);
        f.b[R_FOREARM] = 0.08 * wave(3 * p);
        break;
    case Kind::GESTURE: {
        const double k = std::sin(p * std::numbers::pi);
        const int v = int(m.direction);
        if (v == 2) f.tilt = 0.1 * wave(p);                              // look about
        else if (v == 4) f.a[ROOT] = 0.05 * k;                          // doubled up
        else if (v == 5) f.a[R_ARM] = -0.3 * wave(p), f.a[L_ARM] = 0.3 * wave(p);  // arms swung
        else f.a[R_ARM] = -0.15 * k * (v + 1), f.a[R_FOREARM] = -0.2 * k;       // a hand raised
        break;
    }
    }
    if (armed(m) && (m.kind == Kind::STAND || m.kind == Kind::WALK || m.kind == Kind::WAVE)) {
        const double raise = m.kind == Kind::WAVE ? 0 : 0.2;
        const double swing = f.a[R_ARM];
        hold_weapon(f, raise);
        if (m.kind == Kind::WAVE) f.a[R_ARM] = swing;
    }
    return f;
}

bool loops(Kind kind) { return kind == Kind::STAND || kind == Kind::WALK || kind == Kind::CARRY; }

long turns_to_units(double turns) { return std::lround(turns * 65536); }

// The poses above bend forward with positive turns for the body and negative ones for the limbs;
// the files bend every joint about its x axis, the body's pitch raising its front and a limb's
// positive angle swinging its foot or hand forward: the first angles are written negated.
std::string movement_text(const Movement& m, int form) {
    // Forms in turn: 'G' with second angles, 'H' (body tilt, always second angles), 11 joints
    // with second angles, 'G' first angles only, 11 joints first angles only.
    const bool tilt = form == 1;
    const bool twelve = form == 0 || form == 1 || form == 3;
    const bool second = form <= 2;
    const int frames = m.kind == Kind::AIM || m.kind == Kind::GUN ? 5 : loops(m.kind) ? 8 : 10;
    const int duration = m.kind == Kind::AIM ? 10000 : m.kind == Kind::GUN ? 1000
                         : m.kind == Kind::WALK || m.kind == Kind::CARRY ? cycle_duration(m.speed)
                         : m.kind == Kind::STAND ? 4000 : 1200;
    const long basis = m.speed > 0 ? std::lround(m.speed * 25 * 12 / 256) : 1000;  // mm/s
    const char mode = loops(m.kind) ? 'L' : 'I';
    std::string text = twelve ? std::string(1, tilt ? 'H' : 'G') + mode : std::string(1, mode);
    text += " " + std::to_string(frames) + " " + std::to_string(duration) + " " + std::to_string(basis);
    if (!tilt) text += second ? " 3" : " 1";
    text += "\n";
    for (int i = 0; i < frames; ++i) {
        const double p = loops(m.kind) ? double(i) / frames : double(i) / (frames - 1);
        const Frame f = pose(m, p, duration);
        text += "0 " + std::to_string(std::lround(f.height * 1000 / 840));
        if (tilt) text += " " + std::to_string(turns_to_units(f.tilt));
        for (int j = 0; j < (twelve ? JOINTS : JOINTS - 1); ++j) {
            text += " " + std::to_string(turns_to_units(-f.a[j]));
            if (second) text += " " + std::to_string(turns_to_units(f.b[j]));
        }
        text += "\n";
    }
    return text;
}

}  // namespace

std::vector<DataFile> movement_files() {
    std::vector<DataFile> files;
    int form = 0;
    for (const Movement& m : MOVEMENTS) {
        const std::string text = movement_text(m, form++ % 5);
        files.push_back({"3ddata/" + std::string(m.name) + ".rot", {text.begin(), text.end()}});
    }
    return files;
}

}  // namespace vyr::vyrgen
