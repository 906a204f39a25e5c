#include "platform/accel/texel_colours.h"

#include <unordered_map>
#include <vector>

namespace vyr::platform::accel {

namespace {

struct Colours {
    uint32_t generation;
    std::vector<uint32_t> words;
};

// One entry per texture drawn with; a stale entry is remade in place.
std::unordered_map<uint64_t, Colours> cache;

uint64_t key_of(const TextureSource& s) {
    return uint64_t(s.address) | uint64_t(s.format) << 32 | uint64_t(s.width_shift) << 40 |
           uint64_t(s.height_shift) << 48;
}

void make_colours(const TextureSource& s, std::vector<uint32_t>& words) {
    words.resize(std::size_t(1) << (s.width_shift + s.height_shift));
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (s.format == TextureFormat::PALETTE_8)
            words[i] = s.palette_opaque[s.texels[i]];
        else
            words[i] = s.palette_transparent[s.texels[2 * i]] | uint32_t(s.texels[2 * i + 1]) << 24;
    }
}

}  // namespace

const uint32_t* texel_colours(const TextureSource& source) {
    if (source.texels == nullptr)
        return nullptr;
    auto [entry, made] = cache.try_emplace(key_of(source));
    Colours& colours = entry->second;
    if (made || colours.generation != source.generation) {
        make_colours(source, colours.words);
        colours.generation = source.generation;
    }
    return colours.words.data();
}

}  // namespace vyr::platform::accel
