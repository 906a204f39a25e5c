#include "library/gfxinit/texpal.h"

#include <algorithm>

#include "library/gfxinit/glide.h"
#include "library/os/file.h"
#include "platform/accel/textures.h"

namespace vyr {

uint32_t accel_texture_palette[256];

namespace accel = platform::accel;

namespace {

constexpr const char* SOURCE = "library/gfxinit/texpal";
constexpr long MAX_PALETTE_BYTES = 256 * 3;

uint32_t entry_of(const uint8_t* triple) {
    return 0xFF000000u | uint32_t(triple[0]) << 16 | uint32_t(triple[1]) << 8 | triple[2];
}

}  // namespace

void load_accel_palette(const char* name, int first, int last) {
    if (!check_file_exists(name)) fail_glide_start("cannot find", name);
    FileHandle* handle = open_file(name, FILE_ACCESS_READ, FILE_MODE_EXISTING, SOURCE, __LINE__);
    uint8_t triples[MAX_PALETTE_BYTES];
    const size_t wanted = size_t(std::clamp(get_file_size(handle), 0L, MAX_PALETTE_BYTES));
    const size_t got = read_file(handle, triples, wanted, SOURCE, __LINE__);
    close_file(handle);
    if (got != wanted) fail_glide_start("cannot read", name);
    // A file shorter than the range fills what it holds and leaves the rest as it was.
    const int held = int(got / 3);
    for (int i = std::max(first, 0); i <= std::min(last, 255) && i - first < held; ++i)
        accel_texture_palette[i] = entry_of(triples + 3 * (i - first));
    accel::download_palette(accel_texture_palette);
}

void download_palette_part(const uint8_t* triples, int first, int count) {
    const int from = std::max(first, 0), to = int(std::min<int64_t>(int64_t(first) + count, 256));
    if (from >= to) return;
    for (int i = from; i < to; ++i) accel_texture_palette[i] = entry_of(triples + 3 * (i - first));
    accel::download_palette_part(accel_texture_palette, from, to - 1);
}

}  // namespace vyr
