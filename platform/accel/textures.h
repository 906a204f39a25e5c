// The accelerator's texture unit: texture memory, the texture palette and the texture source.
//
// Texture memory is a flat byte range from `texture_min_address` to `texture_max_address`;
// textures are placed in it by address and drawn from it by address. A texture is one level of
// 8-bit palette indices or of 16-bit texels holding the index in the low byte and the alpha in
// the high byte (in memory: index, then alpha), rows top first.
#pragma once

#include <cstdint>

namespace vyr::platform::accel {

// Level-of-detail codes: the larger side is 256 >> code texels (code 0..8).
constexpr uint8_t LOD_64 = 2;
constexpr uint8_t LOD_32 = 3;
// Aspect codes: 3 is square; 2, 1, 0 are 2:1, 4:1, 8:1 wide; 4, 5, 6 are 1:2, 1:4, 1:8 tall.
constexpr uint8_t ASPECT_2X1 = 2;
constexpr uint8_t ASPECT_1X1 = 3;

enum class TextureFormat : uint8_t {
    PALETTE_8 = 5,         // one palette index per texel; alpha 255
    ALPHA_PALETTE_88 = 14, // index and 8-bit alpha per texel
};

// One texture level; the smallest and largest level of detail must be the same.
struct TextureInfo {
    uint8_t smallest_lod;
    uint8_t largest_lod;
    uint8_t aspect;
    TextureFormat format;
};

enum class TextureFilter : uint8_t { POINT, BILINEAR };
// Texture coordinates outside 0..1 repeat the texture (WRAP) or stretch its edge texels (CLAMP).
enum class TextureClamp : uint8_t { WRAP, CLAMP };

constexpr int PALETTE_SIZE = 256;

// The first and the end (one past the last) byte address of texture memory.
uint32_t texture_min_address();
uint32_t texture_max_address();

// Bytes of texture memory the texture takes; 0 when its description is not valid.
uint32_t texture_memory_required(const TextureInfo& info);

// Copies the texels into texture memory at `address`; false, and nothing written, when the
// description is not valid or the texture would not lie wholly inside texture memory.
bool download_texture(uint32_t address, const TextureInfo& info, const uint8_t* texels);

// Palette entries are 0xAARRGGBB words whose alpha is ignored. The whole table, or the entries
// first..last (inclusive) of `table`; a range outside 0..255 changes nothing.
void download_palette(const uint32_t table[PALETTE_SIZE]);
void download_palette_part(const uint32_t table[PALETTE_SIZE], int first, int last);

// Textured drawing reads the texture at `address`; an invalid description or a texture reaching
// past texture memory leaves no source, and textured primitives then draw nothing.
void set_texture_source(uint32_t address, const TextureInfo& info);
void set_texture_filter(TextureFilter filter);
void set_texture_clamp(TextureClamp clamp);

// What the span routines read: the source's texels and size, and the palette as 0xAARRGGBB words.
struct TextureSource {
    const uint8_t* texels;  // null when there is no valid source
    uint32_t address;
    TextureFormat format;
    int width_shift;   // log2 of the width in texels
    int height_shift;  // log2 of the height
    int scale;         // the larger side in texels: s x scale is the position in 1/256 texels
    TextureFilter filter;
    TextureClamp clamp;
    const uint32_t* palette_opaque;       // alpha 255
    const uint32_t* palette_transparent;  // alpha 0, for the texel's own alpha
    // Changes whenever texture memory or the palette does: what was made from them is stale.
    uint32_t generation;
};
const TextureSource& texture_source();

// The state the display opens with: memory and palette zero, no source, point filter, wrap.
void reset_textures();

}  // namespace vyr::platform::accel
