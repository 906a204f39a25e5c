#include "tools/vyrgen/movies/movies.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/pictures/lettering.h"

namespace vyr::vyrgen {

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 200;
constexpr int RATE = 12;
constexpr int SOUND_RATE = 11025;
constexpr int HORIZON = 118;
constexpr double TAU = 2 * std::numbers::pi;
constexpr double JET_SCALE = 1.3;

// Palette layout shared by every scene; the lettering has one entry of its own, so that its fades
// cost a palette run a frame and no pixels.
constexpr int SKY = 1, SKY_LAST = 63;
constexpr int SEA = 64, SEA_LAST = 79;
constexpr int FAR_LAND = 96, NEAR_LAND = 104, LAND_LAST = 111;
constexpr int JET_DARK = 128, JET_MID = 129, JET_CANOPY = 130;
constexpr int LETTERS = 144, LETTERS_DIM = 145, SUBTITLE = 146;
constexpr int SUN = 160, SUN_HALO = 161, GLINT = 162, FLAME = 163;

// The look of a place and an hour.
struct Look {
    Colour sky_top, sky_horizon, sea_far, sea_near, land_far, land_near, sun;
    double sun_x, sun_y;
    uint32_t seed;
};

const Look MIDDAY_COAST = {{40, 84, 168}, {176, 204, 228}, {120, 160, 188}, {16, 52, 96},
                           {112, 132, 150}, {92, 108, 64}, {255, 250, 220}, 250, 30, 11};
const Look DUSK = {{28, 24, 72}, {236, 132, 60}, {180, 110, 80}, {30, 24, 52},
                   {92, 60, 80}, {40, 30, 40}, {255, 208, 120}, 96, 96, 23};

struct Card {
    const char* name;
    const char* place;
    const char* line;
    Look look;
};

const Card CARDS[] = {
    {"m2_fin", "ISRAEL", "CAMPAIGN", {{70, 120, 190}, {226, 214, 180}, {130, 170, 190}, {20, 70, 110},
                                      {180, 156, 120}, {150, 118, 76}, {255, 246, 210}, 60, 26, 31}},
    {"m1_fin", "ISRAEL", "VICTORY", {{60, 100, 170}, {240, 190, 130}, {150, 150, 160}, {24, 50, 90},
                                     {170, 130, 100}, {120, 90, 60}, {255, 220, 160}, 270, 60, 37}},
    {"k1_fin", "KOREA", "CAMPAIGN", {{90, 110, 140}, {200, 206, 212}, {120, 136, 150}, {26, 40, 60},
                                     {100, 112, 110}, {56, 76, 56}, {240, 240, 236}, 230, 40, 41}},
    {"k2_fin", "KOREA", "VICTORY", {{50, 70, 130}, {230, 200, 170}, {130, 130, 150}, {22, 34, 58},
                                    {96, 96, 110}, {50, 64, 50}, {255, 230, 180}, 80, 70, 43}},
    {"c1_fin", "CYPRUS", "CAMPAIGN", {{30, 90, 200}, {170, 210, 240}, {60, 150, 200}, {10, 60, 130},
                                      {150, 150, 120}, {110, 120, 70}, {255, 252, 230}, 200, 24, 47}},
    {"c2_fin", "CYPRUS", "VICTORY", {{40, 70, 160}, {250, 180, 110}, {170, 130, 120}, {20, 40, 90},
                                     {140, 110, 90}, {90, 80, 50}, {255, 214, 140}, 110, 80, 53}},
};

Colour mix(Colour a, Colour b, double t) {
    Colour c;
    for (int i = 0; i < 3; ++i) c[size_t(i)] = uint8_t(std::lround(a[size_t(i)] + (b[size_t(i)] - a[size_t(i)]) * t));
    return c;
}

Palette scene_palette(const Look& look) {
    Palette palette{};
    set_ramp(palette, SKY, SKY_LAST, look.sky_top, look.sky_horizon);
    set_ramp(palette, SEA, SEA_LAST, look.sea_far, look.sea_near);
    set_ramp(palette, FAR_LAND, NEAR_LAND - 1, mix(look.land_far, look.sky_horizon, 0.35), look.land_far);
    set_ramp(palette, NEAR_LAND, LAND_LAST, mix(look.land_near, {255, 255, 255}, 0.25), mix(look.land_near, {0, 0, 0}, 0.45));
    set_colour(palette, JET_DARK, {44, 48, 54});
    set_colour(palette, JET_MID, {112, 120, 128});
    set_colour(palette, JET_CANOPY, {150, 190, 210});
    set_colour(palette, SUN, look.sun);
    set_colour(palette, SUN_HALO, mix(look.sun, look.sky_horizon, 0.5));
    set_colour(palette, GLINT, mix(look.sun, look.sea_far, 0.3));
    set_colour(palette, FLAME, {255, 170, 60});
    return palette;
}

// Lettering fades in and out through its own entries, from and to the colour behind it.
void set_letter_level(Palette& palette, double level, Colour colour, Colour behind) {
    level = std::clamp(level, 0.0, 1.0);
    set_colour(palette, LETTERS, mix(behind, colour, level));
    set_colour(palette, LETTERS_DIM, mix(behind, mix(colour, {0, 0, 0}, 0.6), level));
}

// Paints a region given in picture coordinates over its bounding box, cut to the picture.
void fill(Image& image, int x0, int y0, int x1, int y1, const Region& region, uint8_t colour) {
    for (int y = std::max(0, y0); y <= std::min(image.height - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(image.width - 1, x1); ++x)
            if (region(x, y)) image.at(x, y) = colour;
}

double ridge(double x, double scale, uint32_t seed) {
    return fractal_noise(x, 0.5, 4096, int(4096 / scale), 3, seed);
}

// Sky with the sun, two ridges of hills along the shore, and the sea, seen from `travel` pixels
// along the coast at `time` seconds.
void draw_landscape(Image& image, const Look& look, double travel, double time) {
    for (int y = 0; y < HORIZON; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            double d = std::hypot(x - look.sun_x, (y - look.sun_y) * 1.1);
            image.at(x, y) = uint8_t(d < 9 ? SUN : d < 13 ? SUN_HALO : SKY + y * (SKY_LAST - SKY) / (HORIZON - 1));
        }
    for (int x = 0; x < WIDTH; ++x) {
        double far = 6 + 26 * ridge(x + travel * 0.3 + 1000, 180, look.seed);
        double near = 34 * ridge(x + travel + 2000, 120, look.seed + 1) - 10;
        double slope = 34 * (ridge(x + travel + 2001, 120, look.seed + 1) - ridge(x + travel + 1999, 120, look.seed + 1));
        for (int y = HORIZON - int(far); y < HORIZON; ++y)
            image.at(x, y) = uint8_t(FAR_LAND + (HORIZON - y) * (NEAR_LAND - FAR_LAND - 1) / 32);
        int shade = slope > 0.35 ? 0 : slope > 0 ? 2 : slope > -0.35 ? 4 : 6;
        for (int y = HORIZON - int(std::max(0.0, near)); y < HORIZON; ++y)
            image.at(x, y) = uint8_t(NEAR_LAND + shade + ((HORIZON - y) > near * 0.7 ? 0 : 1));
    }
    for (int y = HORIZON; y < HEIGHT; ++y) {
        double depth = y - HORIZON + 1;
        int base = SEA + int((SEA_LAST - SEA - 3) * std::min(1.0, depth / (HEIGHT - HORIZON)));
        for (int x = 0; x < WIDTH; ++x) {
            // Crests run along the shore and roll towards the eye as the flight goes on.
            double wave = std::sin(260 / depth + time * 5 + std::sin((x + travel) * 6 / (depth + 8)) * 1.6);
            int colour = base + (wave > 0.75 ? 3 : wave > 0.2 ? 1 : 0);
            if (std::abs(x - look.sun_x) < depth * 0.35 + 3 && wave > 0.55) colour = GLINT;
            image.at(x, y) = uint8_t(colour);
        }
    }
}

// The aircraft side on, nose to the right, centred on (x, y), climbing by `pitch` (rad).
void draw_jet(Image& image, double x, double y, double pitch, double time) {
    double c = std::cos(pitch), s = std::sin(pitch);
    auto at = [&](Region local) -> Region {
        return [=](double px, double py) {
            double dx = (px - x) / JET_SCALE, dy = (py - y) / JET_SCALE;
            return local(dx * c - dy * s, dx * s + dy * c);
        };
    };
    int x0 = int(x) - 80, x1 = int(x) + 80, y0 = int(y) - 40, y1 = int(y) + 40;
    Region wing = triangle(-30, 2, 14, 2, -28, 13);
    Region body = unite({stroke(-40, 0, 36, 0, 4.5), triangle(34, -4.5, 54, 1, 34, 4.5)});
    Region fin = triangle(-40, -3, -22, -3, -44, -22);
    fill(image, x0, y0, x1, y1, at(wing), JET_DARK);
    fill(image, x0, y0, x1, y1, at(body), JET_MID);
    fill(image, x0, y0, x1, y1, at(subtract(body, stroke(-40, 0.5, 36, 0.5, 3))), JET_DARK);
    fill(image, x0, y0, x1, y1, at(fin), JET_MID);
    fill(image, x0, y0, x1, y1, at(stroke(-38, -4, -23, -4, 0.8)), JET_DARK);
    fill(image, x0, y0, x1, y1, at(disc(22, -4.5, 4)), JET_CANOPY);
    double flicker = 2.5 + std::sin(time * 40);
    fill(image, x0, y0, x1, y1, at(disc(-44, 0, flicker)), FLAME);
}

// A title centred at `y` in the lettering's own entry, with a rule under it.
void draw_title(Image& image, const char* text, double y, double height, bool rule) {
    double width = lettering_width(text, height);
    double x = (WIDTH - width) / 2;
    fill(image, 0, int(y) + 1, WIDTH - 1, int(y + height) + 2, lettering(text, x + 1.5, y + 1.5, height, height / 7),
         LETTERS_DIM);
    fill(image, 0, int(y) - 1, WIDTH - 1, int(y + height) + 1, lettering(text, x, y, height, height / 7), LETTERS);
    if (rule) fill(image, 0, 0, WIDTH - 1, HEIGHT - 1, box(x, y + height + 6, x + width, y + height + 7), LETTERS_DIM);
}

// Fades in over the first second from `start`, out over the last second before `end`.
double fade(double time, double start, double end) {
    return std::min({1.0, (time - start) / 1.0, (end - time) / 1.0});
}

// --- sound ---

struct Track {
    std::vector<double> samples;
    explicit Track(double seconds) : samples(size_t(seconds * SOUND_RATE), 0.0) {}
    double time(size_t i) const { return double(i) / SOUND_RATE; }

    std::vector<uint8_t> pcm() const {
        std::vector<uint8_t> out;
        for (double v : samples) out.push_back(uint8_t(std::clamp(std::lround(128 + 110 * v), 0L, 255L)));
        return out;
    }
};

// A struck chord that rings out, from `start` seconds.
void add_chime(Track& track, double start, std::initializer_list<double> notes, double level) {
    for (size_t i = 0; i < track.samples.size(); ++i) {
        double t = track.time(i) - start;
        if (t < 0) continue;
        double envelope = level * std::exp(-t * 1.6) * std::min(1.0, t * 200);
        for (double f : notes)
            track.samples[i] += envelope * (std::sin(TAU * f * t) + 0.3 * std::sin(TAU * 2 * f * t)) / double(notes.size());
    }
}

// A jet passing: rushing air that swells to `peak` seconds and dies away, with a turbine whine
// that drops in pitch as it goes by.
void add_flyby(Track& track, double peak, double level, uint32_t seed) {
    double low = 0, rumble = 0, phase = 0;
    for (size_t i = 0; i < track.samples.size(); ++i) {
        double t = track.time(i);
        double near = 1 / (1 + (t - peak) * (t - peak) * 0.6);
        double noise = double(mix_bits(uint32_t(i) * 2654435761u + seed) & 0xffff) / 32768.0 - 1;
        low += (noise - low) * (0.08 + 0.25 * near);
        rumble += (low - rumble) * 0.05;
        phase += TAU * (1900 - 700 * std::tanh((t - peak) * 1.5)) / SOUND_RATE;
        track.samples[i] += level * near * (low * 1.4 + rumble * 2.5 + 0.08 * std::sin(phase));
    }
}

// A held chord of soft reeds swelling in and out over the whole track.
void add_pad(Track& track, const std::vector<double>& notes, double level) {
    double length = track.time(track.samples.size());
    for (size_t i = 0; i < track.samples.size(); ++i) {
        double t = track.time(i);
        double envelope = level * std::min({1.0, t / 1.5, (length - t) / 1.0});
        double v = 0;
        for (double f : notes) v += std::sin(TAU * f * t + 0.4 * std::sin(TAU * f * 2 * t));
        track.samples[i] += envelope * v / double(notes.size());
    }
}

// --- scenes ---

MovieArt logo_card(const char* title, const char* subtitle, double seconds, Colour ink, bool sound) {
    MovieArt movie;
    Palette palette{};
    set_ramp(palette, SKY, SKY_LAST, {0, 0, 0}, {10, 22, 60});
    set_colour(palette, SUBTITLE, {0, 0, 0});
    Image picture(WIDTH, HEIGHT, 0);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            double d = std::hypot(x - WIDTH / 2.0, (y - HEIGHT / 2.0) * 1.4) / 190;
            picture.at(x, y) = uint8_t(SKY + int((SKY_LAST - SKY) * std::clamp(1 - d, 0.0, 1.0)));
        }
    draw_title(picture, title, 72, 34, false);
    if (subtitle) {
        double width = lettering_width(subtitle, 9);
        fill(picture, 0, 0, WIDTH - 1, HEIGHT - 1, lettering(subtitle, (WIDTH - width) / 2, 124, 9, 1.2), SUBTITLE);
    }
    int frames = int(seconds * RATE);
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / RATE;
        double level = fade(t, 0.2, seconds);
        // A gleam runs along the letters once they are up.
        double gleam = std::max(0.0, 1 - std::abs(t - seconds * 0.55) * 3);
        set_letter_level(palette, level, mix(ink, {255, 255, 255}, gleam * 0.6), {0, 0, 0});
        set_colour(palette, SUBTITLE, mix({0, 0, 0}, mix(ink, {255, 255, 255}, 0.3), fade(t, 0.8, seconds)));
        movie.frames.push_back({picture, palette});
    }
    if (sound) {
        Track track(seconds);
        add_chime(track, 0.25, {523.25, 659.25, 783.99}, 0.8);
        add_chime(track, 0.25 + seconds * 0.3, {392.0, 587.33, 783.99, 1046.5}, 0.6);
        movie.sound_rate = SOUND_RATE;
        movie.sound = track.pcm();
    }
    return movie;
}

// A flight along a coast: the aircraft crosses the picture from `enter` to `leave` seconds, then
// the title fades in.
MovieArt flight(const Look& look, double seconds, double enter, double leave, const char* title,
                const char* subtitle, Colour ink, const std::vector<double>& chord) {
    MovieArt movie;
    Palette palette = scene_palette(look);
    int frames = int(seconds * RATE);
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / RATE;
        Image picture(WIDTH, HEIGHT, 0);
        draw_landscape(picture, look, t * 40, t);
        double along = (t - enter) / (leave - enter);
        if (along > -0.3 && along < 1.3)
            draw_jet(picture, -70 + along * (WIDTH + 140), 78 - along * 26 + 3 * std::sin(t * 2.3), -0.12, t);
        bool lettered = t >= leave - 0.5;
        if (lettered) draw_title(picture, title, 30, 26, subtitle == nullptr);
        if (lettered && subtitle) {
            double width = lettering_width(subtitle, 10);
            fill(picture, 0, 0, WIDTH - 1, HEIGHT - 1, lettering(subtitle, (WIDTH - width) / 2, 64, 10, 1.4), LETTERS);
        }
        set_letter_level(palette, fade(t, leave - 0.5, seconds + 1), ink, mix(look.sky_top, look.sky_horizon, 0.35));
        movie.frames.push_back({std::move(picture), palette});
    }
    Track track(seconds);
    add_pad(track, chord, 0.22);
    add_flyby(track, (enter + leave) / 2, 0.55, look.seed);
    movie.sound_rate = SOUND_RATE;
    movie.sound = track.pcm();
    return movie;
}

}  // namespace

MovieArt movie_art(const char* name) {
    std::string which = name;
    if (which == "quolen_f") return logo_card("QUOLEN", "PRESENTS", 3.5, {230, 190, 80}, true);
    if (which == "qk_short") return logo_card("QK", nullptr, 2.0, {200, 210, 230}, false);
    if (which == "qk_logo") return logo_card("QK", "SIMULATION", 3.5, {200, 210, 230}, true);
    if (which == "intro") return flight(MIDDAY_COAST, 8, 0.5, 5.5, "VYR", nullptr, {236, 236, 240}, {110, 164.8, 220});
    if (which == "9_fin") return flight(DUSK, 6, 0.3, 4.0, "THE END", nullptr, {250, 220, 170}, {98, 146.8, 196});
    for (const Card& card : CARDS)
        if (which == card.name) {
            bool victory = std::strcmp(card.line, "VICTORY") == 0;
            return flight(card.look, 5, 0.2, 3.2, card.place, card.line, {240, 236, 220},
                          victory ? std::vector<double>{130.8, 164.8, 196} : std::vector<double>{110, 130.8, 164.8});
        }
    return {};
}

std::vector<DataFile> movie_files() {
    std::vector<DataFile> files;
    for (const char* name : {"quolen_f", "qk_short", "qk_logo", "intro", "9_fin", "m1_fin", "m2_fin", "k1_fin",
                             "k2_fin", "c1_fin", "c2_fin"})
        files.push_back({std::string("anims/") + name + ".rpl", encode_movie(movie_art(name))});
    return files;
}

}  // namespace vyr::vyrgen
