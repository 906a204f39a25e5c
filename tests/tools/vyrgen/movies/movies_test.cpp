#include "tools/vyrgen/movies/movies.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/movie/movie_file.h"
#include "tests/support/scratch.h"

namespace vyr::vyrgen {
namespace {

// Every movie the game plays, as the build wrote it: 320 x 200 at 12 frames a second with 8-bit
// mono sound at 11,025 Hz, but for the short studio card, which is silent.
TEST(GeneratedMovies, OpenWithTheirHeadersAndStaySmall) {
    const struct {
        const char* name;
        int frames;
        bool sound;
    } movies[] = {{"quolen_f", 42, true}, {"qk_short", 24, false}, {"qk_logo", 42, true}, {"intro", 96, true},
                  {"9_fin", 72, true},    {"m1_fin", 60, true},    {"m2_fin", 60, true},  {"k1_fin", 60, true},
                  {"k2_fin", 60, true},   {"c1_fin", 60, true},    {"c2_fin", 60, true}};
    uintmax_t total = 0;
    for (const auto& m : movies) {
        SCOPED_TRACE(m.name);
        std::filesystem::path path = GENERATED_DATA / "anims" / (std::string(m.name) + ".rpl");
        platform::MovieFile movie;
        std::string error;
        ASSERT_TRUE(platform::read_movie_file(path.string(), movie, error)) << error;
        const platform::MovieHeader& h = movie.header;
        EXPECT_EQ(h.width, 320);
        EXPECT_EQ(h.height, 200);
        EXPECT_EQ(h.rate, 12);
        EXPECT_EQ(h.frames, m.frames);
        EXPECT_EQ(h.sound_channels, m.sound ? 1 : 0);
        EXPECT_EQ(h.sound_rate, m.sound ? 11025 : 0);
        EXPECT_EQ(movie.sound.size(), m.sound ? size_t(m.frames) * 11025 / 12 : 0u);
        total += std::filesystem::file_size(path);
    }
    EXPECT_LT(total, 8u << 20) << "a few megabytes in all";
}

// What the reader decodes, frame after frame, is what was drawn.
TEST(GeneratedMovies, DecodeToTheFramesDrawn) {
    for (const char* name : {"qk_logo", "k2_fin"}) {
        SCOPED_TRACE(name);
        MovieArt art = movie_art(name);
        platform::MovieFile movie;
        std::string error;
        ASSERT_TRUE(platform::parse_movie(encode_movie(art), movie, error)) << error;
        platform::MoviePicture picture = platform::blank_movie_picture(movie.header);
        for (size_t i = 0; i < art.frames.size(); ++i) {
            ASSERT_TRUE(platform::decode_movie_frame(movie, int(i), picture)) << i;
            ASSERT_EQ(picture.pixels, art.frames[i].picture.pixels) << i;
            ASSERT_TRUE(std::equal(picture.palette.begin(), picture.palette.end(), art.frames[i].palette.begin())) << i;
        }
        EXPECT_EQ(movie.sound, art.sound);
    }
}

}  // namespace
}  // namespace vyr::vyrgen
