// The movies of the sample data set under "anims/": the publisher's and studio's logo cards, the
// opening flight over sea and hills, a card per theatre for the campaigns' openings and endings,
// and the closing flight at dusk. 320 x 200 at 12 frames a second, sound as 8-bit mono at
// 11,025 Hz; the short studio card is silent.
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"
#include "tools/vyrgen/movies/movie_writer.h"

namespace vyr::vyrgen {

// The movie named as the game names it ("intro"), drawn; empty frames for an unknown name.
MovieArt movie_art(const char* name);

std::vector<DataFile> movie_files();

}  // namespace vyr::vyrgen
