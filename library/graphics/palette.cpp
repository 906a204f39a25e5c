#include "library/graphics/palette.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "library/debug/fatal.h"
#include "library/gfxinit/texpal.h"
#include "library/graphics/display.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "platform/display/display.h"

namespace vyr {

uint8_t base_palette[PALETTE_BYTES];
uint8_t working_palette[PALETTE_BYTES];
bool palette_changed = false;
uint8_t shade_table[256 * 256];
uint8_t terrain_haze_tables[4][256 * 256];
uint32_t fill_patterns[256];
uint8_t* current_remap_table = nullptr;
int flight_loop_active = 0;
int zone_override_active = 0;

const uint8_t zone_override_colours[32 * 3] = {
    83,  99,  47,  91,  107, 51,  103, 115, 51,  111, 123, 59,  123, 131, 67,  135, 139, 71,  147, 147, 79,
    155, 155, 83,  163, 159, 91,  171, 163, 95,  179, 167, 103, 187, 171, 111, 195, 175, 115, 203, 179, 123,
    215, 187, 131, 223, 191, 139, 67,  91,  47,  75,  99,  51,  87,  107, 55,  99,  119, 63,  111, 127, 67,
    123, 139, 75,  139, 147, 79,  151, 155, 87,  167, 167, 91,  175, 171, 95,  187, 175, 103, 195, 179, 107,
    203, 183, 115, 215, 187, 123, 223, 187, 127, 235, 191, 135,
};

namespace {

constexpr const char* SOURCE = "library/graphics/palette";
constexpr int ZONE_OVERRIDE_FIRST = 83;

// Luminance weights 0.30, 0.59 and 0.11 as 1.31 fractions.
constexpr int64_t LUMINANCE_RED = 0x26666666;
constexpr int64_t LUMINANCE_GREEN = 0x4B851EB7;
constexpr int64_t LUMINANCE_BLUE = 0x0E147AE1;

PaletteEffect* effect_list = nullptr;

int32_t stored_colour(int kind, int component) {
    return kind == EFFECT_BLEND ? int32_t(uint8_t(component)) << 16 : component;
}

// A 1.31 product rounded to the nearest unit, halves upward.
int64_t mul31(int64_t a, int64_t b) { return (a * b + (int64_t(1) << 30)) >> 31; }

uint8_t blend_component(uint8_t value, int32_t target, int32_t level) {
    int64_t from = int64_t(value) << 16;
    return uint8_t((from + mul31(target - from, level)) >> 16);
}

uint8_t luminance(const uint8_t* c) {
    return uint8_t((c[0] * LUMINANCE_RED + c[1] * LUMINANCE_GREEN + c[2] * LUMINANCE_BLUE + (int64_t(1) << 30)) >> 31);
}

void apply_effect(const PaletteEffect& effect) {
    int first = effect.first, count = effect.count, skip;
    if (!platform::clamp_palette_range(first, count, skip)) return;
    for (uint8_t* c = working_palette + 3 * first; c < working_palette + 3 * (first + count); c += 3) {
        if (effect.kind == EFFECT_BLEND) {
            c[0] = blend_component(c[0], effect.red, effect.level);
            c[1] = blend_component(c[1], effect.green, effect.level);
            c[2] = blend_component(c[2], effect.blue, effect.level);
        } else {
            uint8_t lum = luminance(c);
            c[0] = effect.red ? lum : 0;
            c[1] = effect.green ? lum : 0;
            c[2] = effect.blue ? lum : 0;
        }
    }
}

void changed(int rebuild) {
    palette_changed = true;
    if (rebuild) apply_palette();
}

// Rows `first` onwards of `table` (`row_bytes` each) from a file of exactly that many rows, cut
// to the 256 rows the table has.
void load_rows(const char* name, uint8_t* table, size_t row_bytes, int first, int rows) {
    if (rows <= 0) return;
    std::vector<uint8_t> buffer(size_t(rows) * row_bytes);
    load_file_exact(name, buffer.data(), buffer.size(), SOURCE, 160);
    int skip;
    if (!platform::clamp_palette_range(first, rows, skip)) return;
    std::memcpy(table + size_t(first) * row_bytes, buffer.data() + size_t(skip) * row_bytes, size_t(rows) * row_bytes);
}

void fill_ramp(uint8_t* row, int start, int step) {
    for (int i = 0; i < 256; ++i) row[i] = uint8_t((int64_t(start) * 65536 + int64_t(i) * step * 256) >> 16);
}

// The next word of `text`, which moves past it; empty at the end.
std::string_view next_word(std::string_view& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) {
        text = {};
        return {};
    }
    size_t end = text.find_first_of(" \t\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(begin, end - begin);
    text.remove_prefix(end);
    return word;
}

bool parse_component(std::string_view word, uint32_t& value) {
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && value <= 255;
}

}  // namespace

int set_screen_mode(int layout, int mode) {
    set_screen_layout(layout);
    int result = set_video_mode(mode);
    if (result) {
        reset_shade_table();
        build_fill_patterns();
        load_base_palette_from_display();
    }
    return result;
}

void load_base_palette_from_display() {
    uint8_t triples[PALETTE_BYTES];
    std::memcpy(triples, base_palette, PALETTE_BYTES);  // kept when no display answers
    request_display_palette(triples, 0, 256);
    std::memcpy(base_palette, triples, PALETTE_BYTES);
    for (int i = 0; i < 256; ++i)
        display_colours[i] = uint32_t(triples[3 * i]) << 16 | uint32_t(triples[3 * i + 1]) << 8 | triples[3 * i + 2];
}

void set_base_palette(const uint8_t* triples, int first, int count, int rebuild) {
    int skip;
    if (!platform::clamp_palette_range(first, count, skip)) return;
    std::memcpy(base_palette + 3 * first, triples + 3 * skip, size_t(count) * 3);
    changed(rebuild);
}

void load_base_palette(const char* name, int first, int count, int rebuild) {
    load_rows(name, base_palette, 3, first, count);
    changed(rebuild);
}

void apply_palette() {
    if (!palette_changed) return;
    std::memcpy(working_palette, base_palette, PALETTE_BYTES);
    if (flight_loop_active && zone_override_active)
        std::memcpy(working_palette + 3 * ZONE_OVERRIDE_FIRST, zone_override_colours, sizeof zone_override_colours);
    for (const PaletteEffect* effect = effect_list; effect; effect = effect->next)
        if (effect->level > 0) apply_effect(*effect);
    send_palette_to_display(working_palette, 0, 256);
    if (accelerator_flag) download_palette_part(working_palette, 0, 256);
    palette_changed = false;
}

PaletteEffect* create_palette_effect(int kind, int priority, int first, int count, int level, int red, int green,
                                     int blue) {
    auto* effect = static_cast<PaletteEffect*>(allocate_memory(sizeof(PaletteEffect), SOURCE, 240));
    *effect = {kind,
               0,
               priority,
               first,
               count,
               level,
               level,
               stored_colour(kind, red),
               stored_colour(kind, green),
               stored_colour(kind, blue),
               nullptr};
    PaletteEffect** link = &effect_list;
    while (*link && (*link)->priority <= priority) link = &(*link)->next;
    effect->next = *link;
    *link = effect;
    changed(1);
    return effect;
}

void destroy_palette_effect(PaletteEffect* effect) {
    PaletteEffect** link = &effect_list;
    while (*link && *link != effect) link = &(*link)->next;
    if (!*link || !effect) return;
    *link = effect->next;
    free_memory(effect, SOURCE, 270);
    changed(1);
}

void tag_palette_effect(PaletteEffect* effect, int effect_class) {
    if (effect) effect->effect_class = effect_class;
}

void set_palette_effect_range(PaletteEffect* effect, int first, int count, int rebuild) {
    if (!effect || (effect->first == first && effect->count == count)) return;
    effect->first = first;
    effect->count = count;
    changed(rebuild);
}

void set_palette_effect_colour(PaletteEffect* effect, int red, int green, int blue, int rebuild) {
    if (!effect) return;
    int32_t r = stored_colour(effect->kind, red), g = stored_colour(effect->kind, green),
            b = stored_colour(effect->kind, blue);
    if (effect->red == r && effect->green == g && effect->blue == b) return;
    effect->red = r;
    effect->green = g;
    effect->blue = b;
    changed(rebuild);
}

void set_palette_effect_level(PaletteEffect* effect, int level, int rebuild) {
    if (!effect || effect->level == level) return;
    effect->level = level;
    changed(rebuild);
}

void suspend_palette_effects() {
    for (PaletteEffect* effect = effect_list; effect; effect = effect->next) {
        effect->kept_level = effect->level;
        effect->level = 0;
    }
}

void resume_palette_effects() {
    for (PaletteEffect* effect = effect_list; effect; effect = effect->next) effect->level = effect->kept_level;
}

PaletteEffect* get_palette_effect_list() { return effect_list; }

void reset_shade_table() {
    for (int colour = 0; colour < 256; ++colour) std::memset(shade_table + colour * 256, colour, 256);
}

void build_fill_patterns() {
    for (uint32_t colour = 0; colour < 256; ++colour) fill_patterns[colour] = colour * 0x01010101u;
}

void load_shade_row(const char* name, int first, int rows) { load_rows(name, shade_table, 256, first, rows); }

void set_shade_ramp(int row, int start, int step) {
    if (row >= 0 && row < 256) fill_ramp(shade_table + row * 256, start, step);
}

void set_remap_ramp(int row, int start, int step) {
    if (current_remap_table && row >= 0 && row < 256) fill_ramp(current_remap_table + row * 256, start, step);
}

void read_text_palette(const char* name, uint32_t* destination) {
    if (!check_file_exists(name)) return;
    size_t size = 0;
    auto* data = static_cast<char*>(load_file_alloc(name, &size, SOURCE, 330));
    std::string_view text(data ? data : "", size);
    for (int i = 0; i < 3; ++i) next_word(text);
    uint32_t words[256];
    bool good = true;
    for (uint32_t& word : words) {
        uint32_t red, green, blue;
        good = parse_component(next_word(text), red) && parse_component(next_word(text), green) &&
               parse_component(next_word(text), blue);
        if (!good) break;
        word = red << 16 | green << 8 | blue;
    }
    free_memory(data, SOURCE, 345);
    if (!good) {
        report_fatal_error("Bad text palette %s", SOURCE, 347, name);
        return;
    }
    std::memcpy(destination, words, sizeof words);
}

}  // namespace vyr
