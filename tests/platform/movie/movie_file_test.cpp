#include "platform/movie/movie_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/platform/movie/movie_bytes.h"

namespace vyr::platform {
namespace {

using namespace movie_bytes;

// A two-frame movie with sound, broken in one way per case.
struct BrokenFile {
    const char* what;
    std::function<void(Bytes&)> damage;
    const char* error;
};

void set16(Bytes& bytes, size_t at, int value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

// Frame 0 of plain_movie (2, 12, true): its size word, then a palette run (8 bytes), 20 bytes of
// pixel code and 400 of sound, each after its length word.
constexpr size_t FIRST_CHUNK = MOVIE_HEADER_SIZE;
constexpr size_t PALETTE = FIRST_CHUNK + 4, CODE_SIZE = PALETTE + 8, SOUND_SIZE = CODE_SIZE + 4 + 20;
constexpr int CHUNK_BYTES = 8 + 4 + 20 + 4 + 400;
constexpr size_t SECOND_CHUNK = FIRST_CHUNK + 4 + CHUNK_BYTES;

const BrokenFile BROKEN_FILES[] = {
    {"empty", [](Bytes& b) { b.clear(); }, "shorter than a movie header"},
    {"header cut short", [](Bytes& b) { b.resize(12); }, "shorter than a movie header"},
    {"another kind of file", [](Bytes& b) { b[0] = 'F'; }, "not a movie"},
    {"version 2", [](Bytes& b) { set16(b, 4, 2); }, "version 2"},
    {"width 0", [](Bytes& b) { set16(b, 6, 0); }, "frame size 0 x 10"},
    {"width 641", [](Bytes& b) { set16(b, 6, 641); }, "frame size 641 x 10"},
    {"height 481", [](Bytes& b) { set16(b, 8, 481); }, "frame size 16 x 481"},
    {"no frames", [](Bytes& b) { set16(b, 10, 0); }, "frame count 0"},
    {"65535 frames", [](Bytes& b) { set16(b, 10, 65535); }, "frame count 65535"},
    {"more frames than the file holds", [](Bytes& b) { set16(b, 10, 3); }, "frame 2: chunk past the end"},
    {"rate 0", [](Bytes& b) { set16(b, 12, 0); }, "frame rate 0"},
    {"rate 61", [](Bytes& b) { set16(b, 12, 61); }, "frame rate 61"},
    {"three channels", [](Bytes& b) { set16(b, 14, 3); }, "sound format"},
    {"sound at 100 Hz", [](Bytes& b) { set16(b, 16, 100); }, "sound format"},
    {"12-bit sound", [](Bytes& b) { set16(b, 18, 12); }, "sound format"},
    {"silent with a sound rate", [](Bytes& b) { set16(b, 14, 0); }, "sound format"},
    {"chunk size past the end", [](Bytes& b) { set16(b, FIRST_CHUNK + 2, 0x7fff); }, "frame 0: chunk of"},
    {"last chunk cut short", [](Bytes& b) { b.pop_back(); }, "frame 1: chunk of"},
    {"a byte after the last frame", [](Bytes& b) { b.push_back(0); }, "bytes after the last frame"},
    {"palette run past entry 255", [](Bytes& b) { b[PALETTE + 2] = 255; set16(b, PALETTE + 3, 2); },
     "frame 0: palette run outside entries 0 to 255"},
    {"palette run of no entries", [](Bytes& b) { set16(b, PALETTE + 3, 0); }, "frame 0: palette run outside entries"},
    {"palette run past the chunk", [](Bytes& b) { set16(b, PALETTE + 3, 200); }, "frame 0: parts overrun"},
    {"pixel code longer than the chunk", [](Bytes& b) { set16(b, CODE_SIZE, 5000); }, "frame 0: parts overrun"},
    {"chunk longer than its parts",
     [](Bytes& b) {
         set16(b, FIRST_CHUNK, CHUNK_BYTES + 1);
         b.insert(b.begin() + long(SECOND_CHUNK), 0);
     },
     "frame 0: bytes left over"},
    {"16-bit sound of an odd length",
     [](Bytes& b) {
         set16(b, 18, 16);
         set16(b, FIRST_CHUNK, CHUNK_BYTES - 1);
         set16(b, SOUND_SIZE, 399);
         b.erase(b.begin() + long(SECOND_CHUNK) - 1);
     },
     "frame 0: sound that is not whole sample frames"},
};

TEST(MovieFile, APlainMovieReadsWithItsHeaderAndTrack) {
    MovieFile movie;
    std::string error;
    ASSERT_TRUE(parse_movie(plain_movie(2, 12, true), movie, error)) << error;
    const MovieHeader& h = movie.header;
    EXPECT_EQ(h.width, 16);
    EXPECT_EQ(h.height, 10);
    EXPECT_EQ(h.frames, 2);
    EXPECT_EQ(h.rate, 12);
    EXPECT_EQ(h.sound_channels, 1);
    EXPECT_EQ(h.sound_rate, 8000);
    EXPECT_EQ(h.sound_bits, 8);
    ASSERT_EQ(movie.sound.size(), 800u);
    EXPECT_EQ(movie.sound[0], 100);
    EXPECT_EQ(movie.sound[799], 101);
}

TEST(MovieFile, EveryBrokenFileIsRefusedSayingWhatIsWrong) {
    for (const BrokenFile& broken : BROKEN_FILES) {
        SCOPED_TRACE(broken.what);
        Bytes bytes = plain_movie(2, 12, true);
        broken.damage(bytes);
        MovieFile movie;
        std::string error;
        EXPECT_FALSE(parse_movie(bytes, movie, error));
        EXPECT_NE(error.find(broken.error), std::string::npos) << error;
    }
}

TEST(MovieFile, AFileThatIsNotThereOrBrokenIsNamedInTheError) {
    MovieFile movie;
    std::string error;
    EXPECT_FALSE(read_movie_file("/nonexistent/intro.rpl", movie, error));
    EXPECT_EQ(error, "/nonexistent/intro.rpl: cannot be opened");
}

// Frames of a 4 x 2 movie coded by hand.
struct Coding {
    const char* what;
    Bytes code;
    bool good;
    Bytes pixels;  // after the frame, over a picture of 9s
};

const Coding CODINGS[] = {
    {"skip, copy and fill", {0x00, 0x81, 1, 2, 0xc0, 3, 0xc3, 7}, true, {9, 1, 2, 3, 7, 7, 7, 7}},
    {"everything kept", {0x03, 0x03}, true, {9, 9, 9, 9, 9, 9, 9, 9}},
    {"a skip past the row", {0x04, 0x03}, false, {}},
    {"a fill past the row", {0xc4, 1, 0x03}, false, {}},
    {"a copy past the row", {0x84, 1, 2, 3, 4, 5, 0x03}, false, {}},
    {"a row left unfinished", {0x03, 0x02}, false, {}},
    {"a fill without its index", {0x03, 0xc3}, false, {}},
    {"a copy without its bytes", {0x03, 0x83, 1, 2}, false, {}},
    {"code left over", {0x03, 0x03, 0x00}, false, {}},
};

TEST(MovieFile, FramesDecodeOnlyFromCodeThatFillsEveryRowExactly) {
    for (const Coding& coding : CODINGS) {
        SCOPED_TRACE(coding.what);
        Bytes bytes = header(4, 2, 1, 10, 0, 0, 0);
        Bytes frame = chunk(one_colour(7, 1, 2, 3), coding.code, {});
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        MovieFile movie;
        std::string error;
        ASSERT_TRUE(parse_movie(bytes, movie, error)) << error;
        MoviePicture picture = blank_movie_picture(movie.header);
        std::fill(picture.pixels.begin(), picture.pixels.end(), 9);
        ASSERT_EQ(decode_movie_frame(movie, 0, picture), coding.good);
        if (!coding.good) continue;
        EXPECT_EQ(picture.pixels, coding.pixels);
        EXPECT_EQ(picture.palette[21], 1);
        EXPECT_EQ(picture.palette[23], 3);
    }
}

TEST(MovieFile, AFrameOutsideTheMovieDoesNotDecode) {
    MovieFile movie;
    std::string error;
    ASSERT_TRUE(parse_movie(plain_movie(2, 12, false), movie, error)) << error;
    MoviePicture picture = blank_movie_picture(movie.header);
    EXPECT_FALSE(decode_movie_frame(movie, 2, picture));
    EXPECT_FALSE(decode_movie_frame(movie, -1, picture));
}

}  // namespace
}  // namespace vyr::platform
