// Writes the program's movie files (".rpl"; the format is laid down in
// platform/movie/movie_file.h): each frame coded against the one before, its palette as the
// runs of entries that changed, and an even share of the sound track.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

struct MovieFrameArt {
    Image picture;  // every frame the movie's size
    Palette palette;
};

struct MovieArt {
    int rate = 12;  // frames per second
    std::vector<MovieFrameArt> frames;
    int sound_rate = 0;             // 0: a silent movie
    std::vector<uint8_t> sound;     // 8-bit unsigned mono
};

std::vector<uint8_t> encode_movie(const MovieArt& movie);

}  // namespace vyr::vyrgen
