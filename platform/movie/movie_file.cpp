#include "platform/movie/movie_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace vyr::platform {

namespace {

constexpr int MIN_SOUND_RATE = 4000;
constexpr int MAX_SOUND_RATE = 48000;
constexpr int COPY_OP = 0x80;
constexpr int FILL_OP = 0xc0;

// Reads little-endian words; every read is bounded by the end it was given.
struct Cursor {
    const std::vector<uint8_t>& bytes;
    size_t at;
    size_t end;

    bool has(size_t count) const { return count <= end - at; }
    int u8() { return bytes[at++]; }
    int u16() {
        int value = bytes[at] | bytes[at + 1] << 8;
        at += 2;
        return value;
    }
    uint32_t u32() {
        uint32_t value = uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                         uint32_t(bytes[at + 3]) << 24;
        at += 4;
        return value;
    }
};

bool parse_header(Cursor& in, MovieHeader& header, std::string& error) {
    if (!in.has(MOVIE_HEADER_SIZE)) {
        error = "shorter than a movie header";
        return false;
    }
    if (std::memcmp(&in.bytes[0], "VYRM", 4) != 0) {
        error = "not a movie (no VYRM)";
        return false;
    }
    in.at = 4;
    int version = in.u16();
    header.width = in.u16();
    header.height = in.u16();
    header.frames = in.u16();
    header.rate = in.u16();
    header.sound_channels = in.u16();
    header.sound_rate = in.u16();
    header.sound_bits = in.u16();
    if (version != 1) {
        error = "movie version " + std::to_string(version) + " is not 1";
    } else if (header.width < 1 || header.width > MOVIE_MAX_WIDTH || header.height < 1 ||
               header.height > MOVIE_MAX_HEIGHT) {
        error = "frame size " + std::to_string(header.width) + " x " + std::to_string(header.height) +
                " out of range";
    } else if (header.frames < 1 || header.frames > MOVIE_MAX_FRAMES) {
        error = "frame count " + std::to_string(header.frames) + " out of range";
    } else if (header.rate < 1 || header.rate > MOVIE_MAX_RATE) {
        error = "frame rate " + std::to_string(header.rate) + " out of range";
    } else if (header.sound_channels == 0 ? header.sound_rate != 0 || header.sound_bits != 0
                                          : header.sound_channels > 2 || header.sound_rate < MIN_SOUND_RATE ||
                                                header.sound_rate > MAX_SOUND_RATE ||
                                                (header.sound_bits != 8 && header.sound_bits != 16)) {
        error = "sound format out of range";
    } else {
        return true;
    }
    return false;
}

// Checks the palette runs of a chunk and steps over them.
bool skip_palette(Cursor& in, std::string& error) {
    if (!in.has(2)) return false;
    int runs = in.u16();
    for (int i = 0; i < runs; ++i) {
        if (!in.has(3)) return false;
        int first = in.u8();
        int count = in.u16();
        if (count < 1 || first + count > 256) {
            error = "palette run outside entries 0 to 255";
            return false;
        }
        if (!in.has(size_t(count) * 3)) return false;
        in.at += size_t(count) * 3;
    }
    return true;
}

// A part of a chunk: a u32 length and that many bytes.
bool take_part(Cursor& in, size_t& start, size_t& length) {
    if (!in.has(4)) return false;
    length = in.u32();
    if (!in.has(length)) return false;
    start = in.at;
    in.at += length;
    return true;
}

bool parse_frame(Cursor& file, MovieFile& movie, int index, std::string& error) {
    std::string where = "frame " + std::to_string(index) + ": ";
    if (!file.has(4)) {
        error = where + "chunk past the end of the file";
        return false;
    }
    uint32_t size = file.u32();
    if (!file.has(size)) {
        error = where + "chunk of " + std::to_string(size) + " bytes past the end of the file";
        return false;
    }
    Cursor chunk{file.bytes, file.at, file.at + size};
    file.at += size;
    MovieFrame frame;
    frame.palette = chunk.at;
    size_t sound = 0, sound_bytes = 0;
    std::string detail;
    if (!skip_palette(chunk, detail) || !take_part(chunk, frame.pixels, frame.pixel_bytes) ||
        !take_part(chunk, sound, sound_bytes)) {
        error = where + (detail.empty() ? "parts overrun the chunk" : detail);
        return false;
    }
    if (chunk.at != chunk.end) {
        error = where + "bytes left over in the chunk";
        return false;
    }
    const MovieHeader& header = movie.header;
    size_t sample_frame = size_t(header.sound_channels) * header.sound_bits / 8;
    if (sound_bytes != 0 && (sample_frame == 0 || sound_bytes % sample_frame != 0)) {
        error = where + "sound that is not whole sample frames";
        return false;
    }
    movie.frames.push_back(frame);
    movie.sound.insert(movie.sound.end(), movie.bytes.begin() + long(sound),
                       movie.bytes.begin() + long(sound + sound_bytes));
    return true;
}

}  // namespace

bool parse_movie(std::vector<uint8_t> bytes, MovieFile& movie, std::string& error) {
    movie = MovieFile{};
    movie.bytes = std::move(bytes);
    Cursor in{movie.bytes, 0, movie.bytes.size()};
    if (!parse_header(in, movie.header, error)) return false;
    for (int i = 0; i < movie.header.frames; ++i)
        if (!parse_frame(in, movie, i, error)) return false;
    if (in.at != in.end) {
        error = "bytes after the last frame";
        return false;
    }
    return true;
}

bool read_movie_file(const std::string& path, MovieFile& movie, std::string& error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = path + ": cannot be opened";
        return false;
    }
    auto size = in.tellg();
    if (size < 0 || size_t(size) > MOVIE_MAX_FILE_SIZE) {
        error = path + ": too large for a movie";
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()))) {
        error = path + ": cannot be read";
        return false;
    }
    if (parse_movie(std::move(bytes), movie, error)) return true;
    error = path + ": " + error;
    return false;
}

MoviePicture blank_movie_picture(const MovieHeader& header) {
    MoviePicture picture;
    picture.width = header.width;
    picture.height = header.height;
    picture.pixels.assign(size_t(header.width) * header.height, 0);
    return picture;
}

bool decode_movie_frame(const MovieFile& movie, int index, MoviePicture& picture) {
    if (index < 0 || size_t(index) >= movie.frames.size()) return false;
    const MovieFrame& frame = movie.frames[size_t(index)];
    Cursor palette{movie.bytes, frame.palette, movie.bytes.size()};  // checked by the parse
    for (int runs = palette.u16(); runs > 0; --runs) {
        int first = palette.u8();
        int count = palette.u16();
        std::memcpy(&picture.palette[size_t(first) * 3], &movie.bytes[palette.at], size_t(count) * 3);
        palette.at += size_t(count) * 3;
    }
    Cursor code{movie.bytes, frame.pixels, frame.pixels + frame.pixel_bytes};
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = &picture.pixels[size_t(y) * picture.width];
        int x = 0;
        while (x < picture.width) {
            if (!code.has(1)) return false;
            int op = code.u8();
            int count = op < COPY_OP ? op + 1 : op < FILL_OP ? op - COPY_OP + 1 : op - FILL_OP + 1;
            if (count > picture.width - x) return false;
            if (op >= FILL_OP) {
                if (!code.has(1)) return false;
                std::memset(row + x, code.u8(), size_t(count));
            } else if (op >= COPY_OP) {
                if (!code.has(size_t(count))) return false;
                std::memcpy(row + x, &movie.bytes[code.at], size_t(count));
                code.at += size_t(count);
            }
            x += count;
        }
    }
    return code.at == code.end;
}

}  // namespace vyr::platform
