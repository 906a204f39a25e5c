// A picture file of the game's own form written by hand, for tests of the readers: a PBM of the
// given size and body (stored plain, or ByteRun1 with `compression` 1) with a flat colour map.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vyr {

inline void write_pbm_file(const std::filesystem::path& name, int width, int height, int compression,
                           const std::vector<uint8_t>& body) {
    const auto put32 = [](std::vector<uint8_t>& out, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
    };
    const auto chunk = [&](std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& data) {
        out.insert(out.end(), id, id + 4);
        put32(out, uint32_t(data.size()));
        out.insert(out.end(), data.begin(), data.end());
        if (data.size() & 1) out.push_back(0);
    };
    const std::vector<uint8_t> header = {uint8_t(width >> 8), uint8_t(width), uint8_t(height >> 8), uint8_t(height),
                                         0, 0, 0, 0, 8, 0, uint8_t(compression), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> chunks = {'P', 'B', 'M', ' '};
    chunk(chunks, "BMHD", header);
    chunk(chunks, "CMAP", std::vector<uint8_t>(768, 7));
    chunk(chunks, "BODY", body);
    std::vector<uint8_t> file = {'F', 'O', 'R', 'M'};
    put32(file, uint32_t(chunks.size()));
    file.insert(file.end(), chunks.begin(), chunks.end());
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

}  // namespace vyr
