#include "platform/accel/textures.h"

#include <cstring>
#include <vector>

namespace vyr::platform::accel {

namespace {

constexpr uint32_t TEXTURE_MEMORY_SIZE = 4 * 1024 * 1024;

std::vector<uint8_t> memory;
uint32_t palette_opaque[PALETTE_SIZE];
uint32_t palette_transparent[PALETTE_SIZE];
TextureSource source;

struct Dimensions {
    int width_shift;
    int height_shift;
    int bytes_per_texel;
};

bool describe(const TextureInfo& info, Dimensions& out) {
    if (info.smallest_lod != info.largest_lod || info.largest_lod > 8 || info.aspect > 6)
        return false;
    if (info.format != TextureFormat::PALETTE_8 && info.format != TextureFormat::ALPHA_PALETTE_88)
        return false;
    int larger = 8 - info.largest_lod;
    int squash = info.aspect < 3 ? 3 - info.aspect : info.aspect - 3;
    int smaller = larger > squash ? larger - squash : 0;
    out.width_shift = info.aspect <= 3 ? larger : smaller;
    out.height_shift = info.aspect <= 3 ? smaller : larger;
    out.bytes_per_texel = info.format == TextureFormat::PALETTE_8 ? 1 : 2;
    return true;
}

bool fits(uint32_t address, uint32_t size) {
    return size != 0 && address >= texture_min_address() && address <= texture_max_address() &&
           size <= texture_max_address() - address;
}

}  // namespace

uint32_t texture_min_address() { return 0; }
uint32_t texture_max_address() { return TEXTURE_MEMORY_SIZE; }

uint32_t texture_memory_required(const TextureInfo& info) {
    Dimensions d;
    if (!describe(info, d))
        return 0;
    return uint32_t(d.bytes_per_texel) << (d.width_shift + d.height_shift);
}

bool download_texture(uint32_t address, const TextureInfo& info, const uint8_t* texels) {
    uint32_t size = texture_memory_required(info);
    if (!fits(address, size) || texels == nullptr || memory.empty())
        return false;
    std::memcpy(memory.data() + address, texels, size);
    ++source.generation;
    return true;
}

void download_palette(const uint32_t table[PALETTE_SIZE]) {
    download_palette_part(table, 0, PALETTE_SIZE - 1);
}

void download_palette_part(const uint32_t table[PALETTE_SIZE], int first, int last) {
    if (first < 0 || last >= PALETTE_SIZE || first > last)
        return;
    // The game downloads its palette every frame: colours made from it go stale only on a change.
    bool changed = false;
    for (int i = first; i <= last; ++i) {
        const uint32_t opaque = table[i] | 0xFF000000;
        changed |= palette_opaque[i] != opaque;
        palette_opaque[i] = opaque;
        palette_transparent[i] = table[i] & 0x00FFFFFF;
    }
    if (changed)
        ++source.generation;
}

void set_texture_source(uint32_t address, const TextureInfo& info) {
    Dimensions d;
    source.texels = nullptr;
    if (!describe(info, d) || !fits(address, texture_memory_required(info)) || memory.empty())
        return;
    source.texels = memory.data() + address;
    source.address = address;
    source.format = info.format;
    source.width_shift = d.width_shift;
    source.height_shift = d.height_shift;
    source.scale = 1 << (d.width_shift > d.height_shift ? d.width_shift : d.height_shift);
}

void set_texture_filter(TextureFilter filter) { source.filter = filter; }
void set_texture_clamp(TextureClamp clamp) { source.clamp = clamp; }

const TextureSource& texture_source() { return source; }

void reset_textures() {
    memory.assign(TEXTURE_MEMORY_SIZE, 0);
    std::memset(palette_transparent, 0, sizeof palette_transparent);
    for (uint32_t& entry : palette_opaque)
        entry = 0xFF000000;
    uint32_t generation = source.generation + 1;
    source = TextureSource{};
    source.generation = generation;
    source.filter = TextureFilter::POINT;
    source.clamp = TextureClamp::WRAP;
    source.palette_opaque = palette_opaque;
    source.palette_transparent = palette_transparent;
}

}  // namespace vyr::platform::accel
