#include "tools/vyrgen/sound/sounds.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>

#include "library/sound/samples.h"

namespace vyr::vyrgen {

namespace {

constexpr double TAU = 2 * std::numbers::pi;
constexpr int MUSIC_RATE = 22000;  // the rate the game streams its music at

class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    double unit() {  // 0..1
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / 16777216.0;
    }
    double noise() { return unit() * 2 - 1; }
    int below(int n) { return int(unit() * n) % n; }

private:
    uint32_t state_;
};

struct Wave {
    int rate;
    std::vector<float> s;

    Wave(int r, double seconds) : rate(r), s(size_t(std::max(1.0, r * seconds)), 0.0f) {}
    size_t size() const { return s.size(); }
    double time(size_t i) const { return double(i) / rate; }
};

struct LowPass {
    double a = 1, y = 0;
    void set(double cutoff, int rate) { a = 1 - std::exp(-TAU * std::min(cutoff, rate * 0.45) / rate); }
    double step(double x) { return y += a * (x - y); }
};

// A two-pole band-pass around `centre`: the formants of speech and the body of hits.
struct Resonator {
    double a1 = 0, a2 = 0, gain = 0, y1 = 0, y2 = 0;
    void set(double centre, double bandwidth, int rate) {
        double r = std::exp(-std::numbers::pi * bandwidth / rate);
        a1 = 2 * r * std::cos(TAU * centre / rate);
        a2 = r * r;
        gain = 1 - r;
    }
    double step(double x) {
        double y = gain * x + a1 * y1 - a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

double note_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12); }

double saw(double phase) { return 2 * (phase - std::floor(phase + 0.5)); }
double square(double phase) { return phase - std::floor(phase) < 0.5 ? 1 : -1; }
double triangle(double phase) { return 1 - 4 * std::abs(phase - std::floor(phase + 0.5)); }

// ---------------------------------------------------------------------------------------------
// Effects

// Low-passed noise whose cutoff follows `cutoff(t)` and level `level(t)`.
template <class Cutoff, class Level>
void add_noise(Wave& w, Random& random, Cutoff cutoff, Level level) {
    LowPass lp, lp2;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = w.time(i);
        lp.set(cutoff(t), w.rate);
        lp2.set(cutoff(t), w.rate);
        w.s[i] += float(lp2.step(lp.step(random.noise())) * level(t));
    }
}

// A tone gliding by `hz(t)` with level `level(t)` and a waveform.
template <class Hz, class Level, class Shape>
void add_tone(Wave& w, Hz hz, Level level, Shape shape) {
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = w.time(i);
        w.s[i] += float(shape(phase) * level(t));
        phase += double(hz(t)) / w.rate;
    }
}

auto sine_shape = [](double phase) { return std::sin(TAU * phase); };

// A short knock at `at`: a falling sine and a noise tick.
void add_thump(Wave& w, Random& random, double at, double hz, double decay, double level) {
    double phase = 0;
    for (size_t i = size_t(at * w.rate); i < w.size(); ++i) {
        double t = w.time(i) - at;
        double env = std::exp(-t / decay) * level;
        if (env < 1e-4) break;
        w.s[i] += float((std::sin(TAU * phase) + 0.3 * random.noise() * std::exp(-t / (decay * 0.2))) * env);
        phase += hz * (1 + 1.5 * std::exp(-t / (decay * 0.3))) / w.rate;
    }
}

void explosion(Wave& w, Random& random, double size) {
    const double length = w.time(w.size());
    add_noise(
        w, random, [&](double t) { return 200 + 3000 / size * std::exp(-t * 3 / length); },
        [&](double t) { return 2.2 * std::exp(-t * 4 / length) * std::min(1.0, t * 200); });
    add_thump(w, random, 0, 55 / std::sqrt(size), length * 0.3, 0.9);
    for (int i = 0; i < int(20 * size); ++i)  // debris crackle
        add_thump(w, random, random.unit() * length * 0.7, 300 + random.unit() * 900, 0.01,
                  0.25 * random.unit());
}

void launch(Wave& w, Random& random, double pitch) {
    const double length = w.time(w.size());
    add_thump(w, random, 0, 70, 0.12, 0.8);
    add_noise(
        w, random, [&](double t) { return pitch * (2500 - 1500 * t / length); },
        [&](double t) { return 2.0 * std::min(1.0, t * 12) * std::exp(-t * 2.5 / length); });
}

void gunfire(Wave& w, Random& random, double shots_per_second, double brightness) {
    const double length = w.time(w.size());
    int shots = std::max(1, int(std::lround(length * shots_per_second)));
    for (int i = 0; i < shots; ++i) {
        double at = i / shots_per_second;
        add_thump(w, random, at, 90 + 20 * random.unit(), 0.025, 0.7);
        Wave crack(w.rate, 0.03);
        add_noise(
            crack, random, [&](double) { return brightness; },
            [&](double t) { return 2.5 * std::exp(-t / 0.008); });
        for (size_t j = 0; j < crack.size() && size_t(at * w.rate) + j < w.size(); ++j)
            w.s[size_t(at * w.rate) + j] += crack.s[j];
    }
}

void beeps(Wave& w, double hz, double on, double off) {
    add_tone(
        w, [&](double) { return hz; },
        [&](double t) {
            double in = std::fmod(t, on + off);
            return in < on ? std::min({1.0, in * 200, (on - in) * 200}) * 0.6 : 0.0;
        },
        [](double p) { return 0.7 * square(p) + 0.3 * std::sin(TAU * p); });
}

void speech(Wave& w, Random& random) {
    // Vowel formants (Hz): a, e, i, o, u.
    static constexpr double F1[] = {730, 530, 270, 570, 300};
    static constexpr double F2[] = {1090, 1840, 2290, 840, 870};
    const double length = w.time(w.size());
    const double pitch = 95 + 60 * random.unit();
    const double syllable = 0.16 + 0.06 * random.unit();
    Resonator r1, r2;
    LowPass radio;
    radio.set(3000, w.rate);
    double phase = 0, high = 0;
    int vowel = random.below(5);
    int last_syllable = -1;
    bool voiced = true;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = w.time(i);
        int n = int(t / syllable);
        if (n != last_syllable) {
            last_syllable = n;
            vowel = (vowel + 1 + random.below(4)) % 5;
            voiced = random.unit() > 0.12;  // a pause between words now and then
            r1.set(F1[vowel], 90, w.rate);
            r2.set(F2[vowel], 120, w.rate);
        }
        double in_syllable = std::fmod(t, syllable) / syllable;
        double env = voiced ? std::sin(std::numbers::pi * in_syllable) : 0.0;
        env *= std::min({1.0, t * 20, (length - t) * 20});
        double f0 = pitch * (1 + 0.15 * std::sin(TAU * t / length) - 0.1 * t / length);
        phase += f0 / w.rate;
        double source = saw(phase) * env;
        double hiss = in_syllable < 0.15 && voiced ? random.noise() * 0.4 : 0.0;  // consonant
        double voice = 6 * r1.step(source) + 4 * r2.step(source) + hiss;
        double band = radio.step(voice);
        high += 0.05 * (band - high);
        w.s[i] = float(band - high + 0.03 * random.noise());  // a radio: no bass, a little static
    }
}

// Turns a wave longer than `seconds` into a loop of exactly that length: the part past the end
// is faded into the start, so the last sample runs on into the first.
void make_loop(Wave& w, double seconds) {
    const size_t length = size_t(w.rate * seconds);
    const size_t fade = w.size() - length;
    for (size_t i = 0; i < fade; ++i) {
        double x = (double(i) + 0.5) / double(fade) * std::numbers::pi / 2;
        w.s[i] = float(w.s[i] * std::sin(x) + w.s[length + i] * std::cos(x));
    }
    w.s.resize(length);
}

// The sound of one row, before scaling.
Wave effect(int row, int rate) {
    Random random(uint32_t(row) + 1);
    const SampleRow& info = SAMPLE_ROWS[row];
    auto loop = [&](double seconds, auto draw) {
        Wave w(rate, seconds + 0.25);
        draw(w);
        make_loop(w, seconds);
        return w;
    };
    auto once = [&](double seconds, auto draw) {
        Wave w(rate, seconds);
        draw(w);
        return w;
    };
    auto vehicle = [&](double hum, double pulse, double noise_cutoff) {
        return loop(2.0, [&](Wave& w) {
            add_tone(
                w, [&](double) { return hum; },
                [&](double t) {
                    return 0.4 * (0.6 + 0.4 * std::pow(std::sin(std::numbers::pi * pulse * t), 8));
                },
                saw);
            add_noise(
                w, random, [&](double) { return noise_cutoff; },
                [&](double t) {
                    return 1.5 * (0.5 + 0.5 * std::pow(std::abs(std::sin(std::numbers::pi * pulse * t)), 4));
                });
        });
    };
    switch (row) {
        case SAMPLE_ENGINE:  // engine: turbine whine over a rumble
            return loop(2.0, [&](Wave& w) {
                add_tone(
                    w, [](double t) { return 1800 + 6 * std::sin(TAU * 0.5 * t); },
                    [](double) { return 0.25; }, sine_shape);
                add_tone(
                    w, [](double) { return 3607; }, [](double) { return 0.08; }, sine_shape);
                add_noise(
                    w, random, [](double) { return 350; }, [](double) { return 2.5; });
            });
        case SAMPLE_ENGINE_START:
        case SAMPLE_ENGINE_WIND_DOWN: {  // engine start and wind-down
            const bool up = row == SAMPLE_ENGINE_START;
            return once(3.0, [&](Wave& w) {
                auto speed = [&](double t) {
                    return up ? std::min(1.0, t / 2.5) : std::max(0.0, 1 - t / 2.8);
                };
                add_tone(
                    w, [&](double t) { return 300 + 1500 * speed(t); },
                    [&](double t) { return 0.3 * speed(t) + 0.05; }, sine_shape);
                add_noise(
                    w, random, [&](double t) { return 100 + 250 * speed(t); },
                    [&](double t) { return 2.5 * speed(t); });
            });
        }
        case SAMPLE_AFTERBURNER:  // afterburner: a deep roar with crackle
            return loop(2.0, [&](Wave& w) {
                add_noise(
                    w, random, [](double) { return 900; }, [](double) { return 1.6; });
                add_noise(
                    w, random, [](double) { return 120; }, [](double) { return 4.0; });
                for (int i = 0; i < 60; ++i)
                    add_thump(w, random, random.unit() * 2.2, 200 + 400 * random.unit(), 0.006, 0.3);
            });
        case SAMPLE_TYRE_SQUEAK:  // tyre squeak
            return once(0.35, [&](Wave& w) {
                add_tone(
                    w, [](double t) { return 2200 + 300 * std::sin(TAU * 25 * t); },
                    [](double t) { return std::min(1.0, t * 50) * std::exp(-t * 6); }, triangle);
            });
        case SAMPLE_CRASH:
            return once(2.5, [&](Wave& w) {
                explosion(w, random, 2.0);
                for (int i = 0; i < 12; ++i)
                    add_thump(w, random, random.unit() * 1.5, 400 + 1200 * random.unit(), 0.08, 0.3);
            });
        case SAMPLE_MEDIUM_HIT:
        case SAMPLE_SMALL_HIT: {  // hits
            const double size = row == SAMPLE_MEDIUM_HIT ? 1.0 : 0.6;
            return once(0.25 * size, [&](Wave& w) {
                add_thump(w, random, 0, 180 / size, 0.05 * size, 0.8);
                add_noise(
                    w, random, [](double) { return 4000; },
                    [&](double t) { return 2.0 * std::exp(-t / (0.03 * size)); });
            });
        }
        case SAMPLE_EXPLOSION_BIG:
        case SAMPLE_EXPLOSION_LARGE:
        case SAMPLE_EXPLOSION_MEDIUM:
        case SAMPLE_EXPLOSION_SMALL: {  // explosions, big to small
            const double size = 4.0 - (row - SAMPLE_EXPLOSION_BIG);
            return once(0.5 + 0.6 * size, [&](Wave& w) { explosion(w, random, size); });
        }
        case SAMPLE_GUN:  // cannon: 100 rounds a second
            return loop(0.5, [&](Wave& w) { gunfire(w, random, 100, 5000); });
        case SAMPLE_LAUNCH_SWINDER:
        case SAMPLE_LAUNCH_A2A:
        case SAMPLE_LAUNCH_BOMRAC:
        case SAMPLE_LAUNCH_FUELAR:
        case SAMPLE_LAUNCH_MNELY1:
        case SAMPLE_LAUNCH_MNELY2:
        case SAMPLE_LAUNCH_SMARMS:
        case SAMPLE_LAUNCH_AA:
        case SAMPLE_LAUNCH_SRF2AR:
        case SAMPLE_LAUNCH_AIR_TO_SURFACE:  // weapon launches
            return once(1.2 + 0.15 * (row % 5), [&](Wave& w) { launch(w, random, 0.7 + 0.1 * (row % 6)); });
        case SAMPLE_JET_FUEL:  // fuel
            return once(1.5, [&](Wave& w) {
                add_noise(
                    w, random, [](double t) { return 300 + 200 * std::sin(TAU * 6 * t); },
                    [](double t) { return 2.0 * std::sin(std::numbers::pi * t / 1.5); });
            });
        case SAMPLE_CHAFF:
        case SAMPLE_FLARE:  // chaff and flare: a pop and a hiss
            return once(row == SAMPLE_CHAFF ? 0.4 : 0.8, [&](Wave& w) {
                add_thump(w, random, 0, 140, 0.04, 0.9);
                add_noise(
                    w, random, [&](double) { return row == SAMPLE_CHAFF ? 6000 : 2500; },
                    [](double t) { return 1.5 * std::exp(-t * 5); });
            });
        case SAMPLE_WARNING_1:
        case SAMPLE_WARNING_2:
        case SAMPLE_WARNING_3:
        case SAMPLE_WARNING_4:
        case SAMPLE_WARNING_5:  // threat warnings
            return once(0.6,
                        [&](Wave& w) { beeps(w, 700 + 150 * (row - SAMPLE_WARNING_1), 0.06 + 0.02 * (row - SAMPLE_WARNING_1), 0.06); });
        case SAMPLE_SEEKER_TONE:  // seeker growl
            return loop(1.0, [&](Wave& w) {
                add_tone(
                    w, [](double t) { return 1000 + 40 * std::sin(TAU * 7 * t); },
                    [](double t) { return 0.5 * (0.8 + 0.2 * std::sin(TAU * 30 * t)); }, square);
            });
        case SAMPLE_STALL_WARNING:  // stall warble
            return loop(1.0, [&](Wave& w) {
                add_tone(
                    w, [](double t) { return std::fmod(t, 0.25) < 0.125 ? 800 : 600; },
                    [](double) { return 0.5; },
                    [](double p) { return 0.6 * square(p) + 0.4 * std::sin(TAU * p); });
            });
        case SAMPLE_COCKPIT_CLICK:  // cockpit click
            return once(0.05, [&](Wave& w) { add_thump(w, random, 0, 2500, 0.004, 1.0); });
        case SAMPLE_HELICOPTER: return vehicle(45, 5, 500);    // helicopter: blades chopping
        case SAMPLE_TRAIN: return vehicle(60, 1.5, 250);  // train: chugging
        case SAMPLE_TANK: return vehicle(38, 8, 400);    // tank: tracks clanking
        case SAMPLE_TRUCK: return vehicle(75, 0.5, 300);  // truck
        case SAMPLE_FREE_FALL:
        case SAMPLE_UNPOWERED_WEAPON:  // free fall and unpowered weapons: wind
            return loop(2.0, [&](Wave& w) {
                add_noise(
                    w, random,
                    [&](double t) { return 900 + 300 * std::sin(TAU * 0.5 * t) + 300 * (row - SAMPLE_FREE_FALL); },
                    [](double) { return 2.0; });
                add_tone(
                    w, [&](double) { return 1400 + 200 * (row - SAMPLE_FREE_FALL); }, [](double) { return 0.05; },
                    sine_shape);
            });
        case SAMPLE_POWERED_WEAPON:  // powered weapon: a rocket's roar
            return loop(1.0, [&](Wave& w) {
                add_noise(
                    w, random, [](double) { return 1500; }, [](double) { return 2.5; });
            });
        case SAMPLE_M60:
        case SAMPLE_AK47:  // machine guns: a burst
            return once(0.9,
                        [&](Wave& w) { gunfire(w, random, row == SAMPLE_M60 ? 10 : 11, row == SAMPLE_M60 ? 2500 : 3500); });
        case SAMPLE_MORTAR:
        case SAMPLE_ARTILLERY:  // mortar and artillery
            return once(row == SAMPLE_MORTAR ? 1.2 : 2.2, [&](Wave& w) { explosion(w, random, row == SAMPLE_MORTAR ? 1.2 : 2.5); });
        case SAMPLE_GEAR_WHEELS:  // gear: a motor, then a clunk
            return once(2.0, [&](Wave& w) {
                add_tone(
                    w, [](double) { return 220; }, [](double t) { return t < 1.6 ? 0.25 : 0.0; }, saw);
                add_thump(w, random, 1.6, 90, 0.08, 0.9);
            });
        case SAMPLE_GEAR_DOORS:  // gear doors
            return once(0.6, [&](Wave& w) {
                add_thump(w, random, 0, 110, 0.06, 0.8);
                add_thump(w, random, 0.3, 80, 0.08, 0.9);
            });
        case SAMPLE_AIRBRAKE:  // air brake: hydraulics
            return once(1.0, [&](Wave& w) {
                add_noise(
                    w, random, [](double) { return 3000; },
                    [](double t) { return 1.2 * std::sin(std::numbers::pi * t); });
                add_tone(
                    w, [](double) { return 160; },
                    [](double t) { return 0.15 * std::sin(std::numbers::pi * t); }, saw);
            });
        case SAMPLE_EJECT:  // ejection: a bang and the wind
            return once(2.0, [&](Wave& w) {
                add_thump(w, random, 0, 80, 0.15, 1.0);
                add_noise(
                    w, random, [](double) { return 1200; },
                    [](double t) { return 2.0 * std::min(1.0, t * 4) * std::exp(-t); });
            });
        default:  // radio chatter, wingmen, call signs and ground control: radio voices
            return once(0.6 + 0.1 * (row % 9) + (info.file_name[6] == 'C' ? 0.6 : 0.0),
                        [&](Wave& w) { speech(w, random); });
    }
}

std::vector<uint8_t> to_pcm8(const std::vector<float>& samples, double peak) {
    float loudest = 0;
    for (float v : samples) loudest = std::max(loudest, std::abs(v));
    const double scale = loudest > 0 ? peak / loudest : 0;
    std::vector<uint8_t> bytes(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        bytes[i] = uint8_t(128 + std::lround(std::clamp(samples[i] * scale, -1.0, 1.0) * 127));
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// Music: short pieces of bass, chords, a melody and drums, with an echo.

struct Song {
    const char* name;
    double bpm;
    int root;                 // MIDI note of the key
    std::vector<int> scale;   // semitones above the root
    std::vector<int> chords;  // scale degree of each bar's chord
    int lead;                 // 0 square, 1 pluck, 2 flute
    int drums;                // 0 none, 1 light, 2 full
    uint32_t seed;
};

struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(size_t n) : left(n, 0.0f), right(n, 0.0f) {}
};

double scale_note(const Song& song, int degree) {
    const int n = int(song.scale.size());
    int octave = degree >= 0 ? degree / n : -((-degree + n - 1) / n);
    return song.root + 12 * octave + song.scale[size_t(degree - octave * n)];
}

// One note into both sides, `pan` 0 left .. 1 right.
template <class Shape>
void play_note(Stereo& out, double start, double length, double midi, double level, double pan, double attack,
               double release, Shape shape) {
    const double hz = note_hz(midi);
    const size_t first = size_t(start * MUSIC_RATE);
    const size_t count = size_t((length + release) * MUSIC_RATE);
    const float l = float(level * std::cos(pan * std::numbers::pi / 2));
    const float r = float(level * std::sin(pan * std::numbers::pi / 2));
    for (size_t i = 0; i < count && first + i < out.left.size(); ++i) {
        double t = double(i) / MUSIC_RATE;
        double env =
            std::min(1.0, t / attack) * (t < length ? 1.0 : std::max(0.0, 1 - (t - length) / release));
        float v = float(shape(hz * t, t) * env);
        out.left[first + i] += v * l;
        out.right[first + i] += v * r;
    }
}

void play_drum(Stereo& out, Random& random, double at, int kind, double level) {
    const size_t first = size_t(at * MUSIC_RATE);
    const double length = kind == 0 ? 0.3 : kind == 1 ? 0.18 : 0.05;
    double phase = 0, high = 0, lp = 0;
    for (size_t i = 0; i < size_t(length * MUSIC_RATE) && first + i < out.left.size(); ++i) {
        double t = double(i) / MUSIC_RATE;
        double v;
        if (kind == 0) {  // kick: a falling sine
            phase += (50 + 90 * std::exp(-t * 30)) / MUSIC_RATE;
            v = std::sin(TAU * phase) * std::exp(-t * 9);
        } else {  // snare and hat: noise, the hat high-passed
            double n = random.noise();
            lp += 0.3 * (n - lp);
            high = kind == 2 ? n - lp : n;
            v = high * std::exp(-t * (kind == 1 ? 25 : 90)) * (kind == 1 ? 0.6 : 0.35);
        }
        out.left[first + i] += float(v * level * (kind == 2 ? 0.7 : 1.0));
        out.right[first + i] += float(v * level * (kind == 2 ? 1.0 : 0.9));
    }
}

std::vector<uint8_t> render_song(const Song& song) {
    const double beat = 60.0 / song.bpm;
    const double bar = 4 * beat;
    const int bars = int(song.chords.size());
    const double length = bars * bar + 2.0;
    Stereo out(size_t(length * MUSIC_RATE));
    Random random(song.seed);

    auto pad = [](double cycles, double t) {
        return 0.5 * std::sin(TAU * cycles) + 0.25 * std::sin(TAU * 2 * cycles) * std::exp(-t) +
               0.15 * std::sin(TAU * 3.003 * cycles);
    };
    auto bass = [](double cycles, double) { return 0.7 * triangle(cycles) + 0.3 * std::sin(TAU * cycles); };
    auto lead = [&](double cycles, double t) {
        double vibrato = 0.004 * std::sin(TAU * 5.5 * t) * std::min(1.0, t * 3);
        double c = cycles * (1 + vibrato);
        switch (song.lead) {
            case 0: return 0.5 * square(c) * std::exp(-t * 0.8) + 0.5 * std::sin(TAU * c);
            case 1: return (saw(c) * 0.6 + std::sin(TAU * c)) * std::exp(-t * 5);
            default: return std::sin(TAU * c) + 0.15 * std::sin(TAU * 2 * c) + 0.05 * random.noise();
        }
    };

    // The melody of a bar comes from one of a few phrases, so that the tune repeats and answers
    // itself as a tune does (A A B A, then a variation).
    static constexpr int FORM[] = {0, 1, 0, 2, 0, 1, 3, 4};
    static constexpr int RHYTHMS[][8] = {
        {2, 0, 1, 1, 2, 0, 2, 0},
        {1, 1, 1, 1, 3, 0, 0, 1},
        {3, 0, 0, 1, 2, 0, 2, 0},
        {1, 1, 2, 0, 1, 1, 2, 0},
    };
    for (int b = 0; b < bars; ++b) {
        const double start = b * bar;
        const int chord = song.chords[size_t(b)];
        const bool last = b == bars - 1;
        // Chords: three notes held over the bar, spread across the sides.
        for (int k = 0; k < 3; ++k)
            play_note(out, start, last ? bar * 1.5 : bar,
                      scale_note(song, chord + 2 * k) - 12 + (k == 2 ? 12 : 0), 0.10, 0.2 + 0.3 * k, 0.08,
                      0.3, pad);
        // Bass: root and fifth on the beats.
        for (int q = 0; q < (last ? 1 : 4); ++q)
            play_note(out, start + q * beat, last ? bar : beat * 0.9,
                      scale_note(song, chord + (q % 2 ? 4 : 0)) - 24, 0.35, 0.5, 0.01, 0.08, bass);
        // Melody.
        Random phrase(song.seed * 31 + uint32_t(FORM[b % 8]) * 7 + uint32_t(b / 8 % 2));
        const int* rhythm = RHYTHMS[phrase.below(4)];
        int degree = chord + 7 + 2 * phrase.below(3);
        for (int e = 0; e < 8; ++e) {
            if (!rhythm[e]) continue;
            if (last) {
                if (e > 0) break;
                degree = 7;  // the tonic to end on
            } else if (e > 0) {
                degree += phrase.below(5) - 2;
                degree = std::clamp(degree, chord + 4, chord + 11);
            }
            double length_beats = last ? 4.0 : rhythm[e] * 0.5;
            play_note(out, start + e * beat / 2, length_beats * beat * 0.9, scale_note(song, degree), 0.28,
                      0.65, 0.01, 0.15, lead);
        }
        // Drums.
        if (song.drums && !last) {
            for (int e = 0; e < 8; ++e) {
                double at = start + e * beat / 2;
                if (e % 4 == 0) play_drum(out, random, at, 0, 0.9);
                if (song.drums == 2 && e % 4 == 2) play_drum(out, random, at, 1, 0.7);
                if (song.drums == 1 && e == 5) play_drum(out, random, at, 1, 0.4);
                play_drum(out, random, at, 2, song.drums == 2 ? 0.5 : 0.3);
            }
        }
    }
    // An echo, later on the right than on the left, for width.
    const size_t delay_left = size_t(beat * 0.75 * MUSIC_RATE), delay_right = size_t(beat * MUSIC_RATE);
    for (size_t i = out.left.size(); i-- > 0;) {
        if (i >= delay_left) out.left[i] += 0.25f * out.left[i - delay_left];
        if (i >= delay_right) out.right[i] += 0.25f * out.right[i - delay_right];
    }
    // Fade in and out so the stream starts and ends without a click.
    for (size_t i = 0; i < out.left.size(); ++i) {
        double t = double(i) / MUSIC_RATE;
        float env = float(std::min({1.0, t * 10, (length - t) / 1.5}));
        out.left[i] *= env;
        out.right[i] *= env;
    }
    std::vector<float> interleaved(out.left.size() * 2);
    for (size_t i = 0; i < out.left.size(); ++i) {
        interleaved[2 * i] = out.left[i];
        interleaved[2 * i + 1] = out.right[i];
    }
    return to_pcm8(interleaved, 0.85);
}

std::vector<Song> songs() {
    const std::vector<int> major = {0, 2, 4, 5, 7, 9, 11}, minor = {0, 2, 3, 5, 7, 8, 10};
    const std::vector<int> phrygian_dominant = {0, 1, 4, 5, 7, 8, 10}, dorian = {0, 2, 3, 5, 7, 9, 10};
    const std::vector<int> pentatonic = {0, 2, 4, 7, 9};
    return {
        {"theme", 112, 62, major, {0, 4, 5, 3, 0, 4, 3, 4, 5, 3, 0, 4, 5, 3, 4, 0}, 0, 2, 1},
        {"syria", 96, 64, phrygian_dominant, {0, 0, 1, 0, 3, 1, 0, 0, 0, 1, 3, 0, 1, 3, 1, 0}, 2, 1, 2},
        {"china", 90, 67, pentatonic, {0, 2, 3, 0, 1, 3, 2, 0, 0, 3, 1, 2, 0, 2, 1, 0}, 1, 1, 3},
        {"greek", 120, 62, dorian, {0, 3, 0, 4, 0, 3, 6, 0, 2, 3, 0, 4, 0, 3, 4, 0}, 1, 2, 4},
        {"death", 60, 57, minor, {0, 5, 3, 4, 0, 0}, 2, 0, 5},
        {"success", 120, 60, major, {0, 3, 4, 0, 3, 4, 4, 0}, 0, 2, 6},
        {"outstand", 126, 63, major, {0, 5, 3, 4, 0, 5, 3, 4, 4, 0}, 0, 2, 7},
        {"fail", 72, 62, minor, {0, 6, 5, 4, 4, 0}, 2, 1, 8},
        // A short fanfare for an award.
        {"medal", 100, 60, major, {0, 3, 4, 0}, 0, 2, 9},
    };
}

// The peak each sample is written at. The seeker's square-wave tone sounds for as long as the
// missile is selected and the launch roars over it and the engine, so both are kept low enough
// that the loudest mix of a flight stays below full scale.
double sample_peak(int row) {
    if (row == SAMPLE_SEEKER_TONE) return 0.3;
    if ((row >= SAMPLE_LAUNCH_SWINDER && row <= SAMPLE_LAUNCH_SRF2AR) || row == SAMPLE_LAUNCH_AIR_TO_SURFACE) return 0.55;
    return 0.9;
}

std::string data_name(const char* game_name) {
    std::string name = game_name;
    for (char& c : name) c = c == '\\' ? '/' : char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

std::vector<DataFile> sound_files() {
    std::vector<DataFile> files;
    for (int row = 0; row < SAMPLE_COUNT; ++row) {
        const SampleRow& info = SAMPLE_ROWS[row];
        files.push_back({data_name(info.file_name), to_pcm8(effect(row, info.rate).s, sample_peak(row))});
    }
    for (const Song& song : songs())
        files.push_back({"sound/" + std::string(song.name) + ".raw", render_song(song)});
    return files;
}

std::vector<DataFile> menu_speech_files() {
    // Campaign levels 0 to 11 (11 is a won campaign), the campaign missions 1 to 13, the sample
    // missions 1 and 2, training 1.
    struct Kind {
        char letter;
        int first, last;
    };
    constexpr Kind KINDS[] = {{'l', 0, 11}, {'c', 1, 13}, {'d', 1, 12}, {'e', 0, 11}, {'s', 1, 2}};
    std::vector<DataFile> files;
    uint32_t seed = 1000;
    auto clip = [&](const std::string& name) {
        Random random(seed++);
        Wave w(MUSIC_RATE, 0.8 + 0.4 * random.unit());
        speech(w, random);
        files.push_back({"speech/" + name + ".raw", to_pcm8(w.s, 0.9)});
    };
    for (const char* zone : {"isral", "korea", "cypus"})
        for (const Kind& kind : KINDS)
            for (int n = kind.first; n <= kind.last; ++n) {
                char name[16];
                std::snprintf(name, sizeof name, "%s%c%02d", zone, kind.letter, n);
                clip(name);
            }
    clip("usat01");
    return files;
}

}  // namespace vyr::vyrgen
