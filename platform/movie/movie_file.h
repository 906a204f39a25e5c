// The movie file (".rpl"): the program's own format, read whole and checked before any frame is
// shown.
//
// All numbers are little-endian. The file is a 20-byte header and then one chunk per frame:
//
//   header   0  "VYRM"
//            4  u16 version, 1
//            6  u16 frame width, 1..640      8  u16 frame height, 1..480
//           10  u16 frame count, 1..10000   12  u16 frames per second, 1..60
//           14  u16 sound channels, 0..2    16  u16 sound rate in Hz    18  u16 sound bits
//                (a silent movie has 0 channels, rate and bits; else 4000..48000 Hz, 8 or 16 bits)
//   frame    u32 bytes of the chunk after this word, which the three parts below fill exactly
//            palette: u16 run count, then per run u8 first entry, u16 entry count (first + count
//                     at most 256) and count RGB triples of 8-bit components
//            pixels:  u32 code bytes, then the code (below)
//            sound:   u32 bytes, then the frame's share of the track as PCM (whole sample frames;
//                     8-bit unsigned or 16-bit signed, stereo interleaved left first)
//
// The pixel code changes the previous frame's picture (all index 0 before the first frame), row
// by row from the top, each row filled exactly by a run of operations:
//   0x00..0x7f  skip n + 1 pixels, which keep their index
//   0x80..0xbf  copy the next n - 0x7f bytes
//   0xc0..0xff  fill n - 0xbf pixels with the next byte
// A frame's palette runs replace those entries before its pixels are shown.
//
// Reading checks the header, every chunk's size against the file and its parts against the chunk,
// so a movie that opens has every frame's bytes in hand. The pixel code is checked as a frame is
// decoded: a code that overruns a row, ends early or leaves bytes over fails that frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vyr::platform {

constexpr int MOVIE_HEADER_SIZE = 20;
constexpr int MOVIE_MAX_WIDTH = 640;
constexpr int MOVIE_MAX_HEIGHT = 480;
constexpr int MOVIE_MAX_FRAMES = 10000;
constexpr int MOVIE_MAX_RATE = 60;
constexpr size_t MOVIE_MAX_FILE_SIZE = 64u << 20;

struct MovieHeader {
    int width = 0;
    int height = 0;
    int frames = 0;
    int rate = 0;  // frames per second
    int sound_channels = 0;
    int sound_rate = 0;
    int sound_bits = 0;
};

// Where a frame's parts lie in the file's bytes.
struct MovieFrame {
    size_t palette = 0;  // the run count
    size_t pixels = 0;   // the first code byte
    size_t pixel_bytes = 0;
};

struct MovieFile {
    MovieHeader header;
    std::vector<uint8_t> bytes;
    std::vector<MovieFrame> frames;
    std::vector<uint8_t> sound;  // every frame's share, in order
};

// What a decoded frame shows: indices row by row and the palette as RGB triples.
struct MoviePicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::array<uint8_t, 768> palette{};
};

// Takes `bytes` as a movie: false, with what is wrong in `error`, when they are not one.
bool parse_movie(std::vector<uint8_t> bytes, MovieFile& movie, std::string& error);
// Reads the file at `path` and parses it; the error names the file.
bool read_movie_file(const std::string& path, MovieFile& movie, std::string& error);

// A blank picture of the movie's size, black palette, for the first frame to change.
MoviePicture blank_movie_picture(const MovieHeader& header);
// Applies frame `index` to the picture holding its predecessor; false when the frame's code is
// bad (the picture is then partly changed).
bool decode_movie_frame(const MovieFile& movie, int index, MoviePicture& picture);

}  // namespace vyr::platform
