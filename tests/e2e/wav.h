// The mix a run with VYR_AUDIO=null wrote to VYR_AUDIO_CAPTURE, as the player would hear it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace vyr::e2e {

constexpr int WAV_RATE = 44100;

inline uint32_t little_endian(const std::vector<uint8_t>& bytes, size_t offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[offset + i];
    return value;
}

// The samples, left and right interleaved, after checking the header is 44.1 kHz 16-bit stereo;
// empty when it is not.
inline std::vector<int16_t> read_wav(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> wav(std::istreambuf_iterator<char>(file), {});
    if (wav.size() < 44 || std::memcmp(wav.data(), "RIFF", 4) != 0) return {};
    EXPECT_EQ(little_endian(wav, 22, 2), 2u);         // stereo
    EXPECT_EQ(little_endian(wav, 24, 4), uint32_t(WAV_RATE));
    EXPECT_EQ(little_endian(wav, 34, 2), 16u);        // bits
    std::vector<int16_t> samples;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) samples.push_back(int16_t(little_endian(wav, i, 2)));
    return samples;
}

// Root mean square of the samples from `first` to `last` seconds into the mix.
inline double loudness(const std::vector<int16_t>& samples, double first, double last) {
    size_t from = std::min(samples.size(), size_t(first * WAV_RATE) * 2);
    size_t to = std::min(samples.size(), size_t(last * WAV_RATE) * 2);
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

}  // namespace vyr::e2e
