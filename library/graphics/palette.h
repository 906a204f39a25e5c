// The palette the program sets (base), the palette effects that recolour ranges of it (fades,
// flashes, night vision, tints), the working palette that results and is shown, and the colour
// tables the raster primitives index with a palette colour.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int PALETTE_BYTES = 256 * 3;

constexpr int32_t EFFECT_BLEND = 0;  // any other kind greys by luminance
constexpr int32_t EFFECT_FULL_LEVEL = 0x7FFFFFFF;

struct PaletteEffect {
    int32_t kind;
    int32_t effect_class;  // classes 1, 3, 5, 7 and 8 also tint textured 3D polygons
    int32_t priority;      // applied lowest first; among equals the older first
    int32_t first;
    int32_t count;
    int32_t kept_level;  // saved by `suspend_palette_effects`
    int32_t level;       // 1.31 strength; 0 or less is off
    // Blend: the target component as 16.16. Grey: non-zero selects the channel.
    int32_t red, green, blue;
    PaletteEffect* next;
};

extern uint8_t base_palette[PALETTE_BYTES];
extern uint8_t working_palette[PALETTE_BYTES];
extern bool palette_changed;

// Entry colour * 256 + level: the index of that colour at that shade level.
extern uint8_t shade_table[256 * 256];
// Entry colour x 256 + shade level; table k holds the terrain ramps hazed by the k-th blend
// fraction of 0.04, 0.26, 0.47 and 0.74 (only rows 71..134 are written, by the terrain colours).
// The far terrain's span classes shade through them.
extern uint8_t terrain_haze_tables[4][256 * 256];
// Entry c: the colour byte repeated four times.
extern uint32_t fill_patterns[256];
// The 256 x 256 colour table that `set_remap_ramp` writes, chosen by its user.
extern uint8_t* current_remap_table;

// While both are set, working entries 83 to 114 show `zone_override_colours`.
extern int flight_loop_active;
extern int zone_override_active;
extern const uint8_t zone_override_colours[32 * 3];

// Records the layout and sets the mode; when that worked, resets the shade table, builds the
// fill patterns and takes the base palette from the display. Returns what `set_video_mode` did.
int set_screen_mode(int layout, int mode);
void load_base_palette_from_display();

// Copies `count` triples into the base palette from `first` (cut to the 256 entries), rebuilding
// the working palette when `rebuild` is non-zero.
void set_base_palette(const uint8_t* triples, int first, int count, int rebuild);
// The same from a file of exactly `count` triples; a file of any other size is fatal.
void load_base_palette(const char* name, int first, int count, int rebuild);
// Rebuilds the working palette and sends it to the display, when anything changed.
void apply_palette();

PaletteEffect* create_palette_effect(int kind, int priority, int first, int count, int level, int red, int green,
                                     int blue);
// An effect that is not in the list is ignored.
void destroy_palette_effect(PaletteEffect* effect);
void tag_palette_effect(PaletteEffect* effect, int effect_class);
// Each stores only a value that differs, and then rebuilds when `rebuild` is non-zero.
void set_palette_effect_range(PaletteEffect* effect, int first, int count, int rebuild);
void set_palette_effect_colour(PaletteEffect* effect, int red, int green, int blue, int rebuild);
void set_palette_effect_level(PaletteEffect* effect, int level, int rebuild);
// Switch every effect off and back on; the palette shown changes at the next rebuild.
void suspend_palette_effects();
void resume_palette_effects();
PaletteEffect* get_palette_effect_list();

void reset_shade_table();
void build_fill_patterns();
// A file of exactly `rows` rows of 256 bytes into the shade table from row `first`; a file of
// any other size is fatal.
void load_shade_row(const char* name, int first, int rows);
// Row entry L becomes start + floor(L * step / 256), wrapping at 256.
void set_shade_ramp(int row, int start, int step);
void set_remap_ramp(int row, int start, int step);

// A text palette file into 256 words 0x00RRGGBB; a file that is not there leaves them as they were.
void read_text_palette(const char* name, uint32_t* destination);

}  // namespace vyr
