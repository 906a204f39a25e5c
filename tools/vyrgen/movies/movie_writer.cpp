#include "tools/vyrgen/movies/movie_writer.h"

#include <algorithm>

namespace vyr::vyrgen {

namespace {

constexpr int MAX_SKIP = 128;
constexpr int MAX_RUN = 64;  // copy and fill
constexpr int MIN_FILL = 3;  // shorter runs of one index cost less copied

void put16(std::vector<uint8_t>& out, int value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void put32(std::vector<uint8_t>& out, size_t value) {
    put16(out, int(value & 0xffff));
    put16(out, int(value >> 16));
}

std::vector<uint8_t> palette_runs(const Palette& previous, const Palette& palette, bool first) {
    std::vector<uint8_t> runs;
    int count = 0;
    for (int entry = 0; entry < 256;) {
        auto differs = [&](int i) {
            return first || !std::equal(&palette[size_t(i) * 3], &palette[size_t(i) * 3 + 3], &previous[size_t(i) * 3]);
        };
        if (!differs(entry)) {
            ++entry;
            continue;
        }
        int end = entry;
        while (end < 256 && differs(end)) ++end;
        runs.push_back(uint8_t(entry));
        put16(runs, end - entry);
        runs.insert(runs.end(), &palette[size_t(entry) * 3], &palette[size_t(end) * 3]);
        ++count;
        entry = end;
    }
    std::vector<uint8_t> out;
    put16(out, count);
    out.insert(out.end(), runs.begin(), runs.end());
    return out;
}

int same_run(const uint8_t* row, int x, int width) {
    int n = 1;
    while (x + n < width && n < MAX_RUN && row[x + n] == row[x]) ++n;
    return n;
}

std::vector<uint8_t> pixel_code(const Image& previous, const Image& picture) {
    std::vector<uint8_t> code;
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = &picture.pixels[size_t(y) * picture.width];
        const uint8_t* old = &previous.pixels[size_t(y) * picture.width];
        for (int x = 0; x < picture.width;) {
            int n = 0;
            while (x + n < picture.width && n < MAX_SKIP && row[x + n] == old[x + n]) ++n;
            if (n > 0) {
                code.push_back(uint8_t(n - 1));
                x += n;
                continue;
            }
            if ((n = same_run(row, x, picture.width)) >= MIN_FILL) {
                code.push_back(uint8_t(0xc0 + n - 1));
                code.push_back(row[x]);
                x += n;
                continue;
            }
            // Literals until a run worth filling or an unchanged pixel.
            n = 0;
            while (x + n < picture.width && n < MAX_RUN && row[x + n] != old[x + n] &&
                   same_run(row, x + n, picture.width) < MIN_FILL)
                ++n;
            n = std::max(n, 1);
            code.push_back(uint8_t(0x80 + n - 1));
            code.insert(code.end(), row + x, row + x + n);
            x += n;
        }
    }
    return code;
}

}  // namespace

std::vector<uint8_t> encode_movie(const MovieArt& movie) {
    const Image& first = movie.frames.front().picture;
    bool sound = movie.sound_rate != 0;
    std::vector<uint8_t> out = {'V', 'Y', 'R', 'M'};
    for (int value : {1, first.width, first.height, int(movie.frames.size()), movie.rate, sound ? 1 : 0,
                      movie.sound_rate, sound ? 8 : 0})
        put16(out, value);
    Image previous(first.width, first.height, 0);
    Palette previous_palette{};
    size_t frames = movie.frames.size();
    for (size_t i = 0; i < frames; ++i) {
        const MovieFrameArt& frame = movie.frames[i];
        std::vector<uint8_t> palette = palette_runs(previous_palette, frame.palette, i == 0);
        std::vector<uint8_t> pixels = pixel_code(previous, frame.picture);
        size_t from = movie.sound.size() * i / frames, to = movie.sound.size() * (i + 1) / frames;
        put32(out, palette.size() + 4 + pixels.size() + 4 + (to - from));
        out.insert(out.end(), palette.begin(), palette.end());
        put32(out, pixels.size());
        out.insert(out.end(), pixels.begin(), pixels.end());
        put32(out, to - from);
        out.insert(out.end(), movie.sound.begin() + long(from), movie.sound.begin() + long(to));
        previous = frame.picture;
        previous_palette = frame.palette;
    }
    return out;
}

}  // namespace vyr::vyrgen
