// The sounds of the sample data set, synthesised: every row of the game's sample table as 8-bit
// mono PCM at the row's rate (loops that loop seamlessly), and the eight music streams as 8-bit
// stereo PCM at 22,000 Hz.
#pragma once

#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

// Every ".raw" file under "sound/", named in lower case.
std::vector<DataFile> sound_files();

// The menu speeches under "speech/": 8-bit mono PCM at the music's 22,000 Hz, a short voice each,
// for the campaign and mission speeches of the sample missions in war zones 1 to 3.
std::vector<DataFile> menu_speech_files();

}  // namespace vyr::vyrgen
