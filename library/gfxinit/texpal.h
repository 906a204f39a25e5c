// The accelerator's texture palette: the 3D palette, the cockpit colours and the war zone's
// terrain colours at start-up, then the working palette whenever it changes.
#pragma once

#include <cstdint>

namespace vyr {

// 0xFF000000 | red << 16 | green << 8 | blue.
extern uint32_t accel_texture_palette[256];

// RGB triples of a file into entries first..last, as many as the file holds (at most 256), then
// the whole table to the accelerator. A file that is missing or cannot be read ends start-up.
void load_accel_palette(const char* name, int first, int last);

// `count` triples into entries first.., and that range to the accelerator; entries outside
// 0..255 are left out.
void download_palette_part(const uint8_t* triples, int first, int count);

}  // namespace vyr
