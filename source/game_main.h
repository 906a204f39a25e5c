// The game's own entry, run on the game thread with the split command line.
#pragma once

namespace vyr {

int game_main(int argc, char** argv);

// The weapons', pylons' and sensors' tables, and the pylon and weapon files.
void load_weapons();

}  // namespace vyr
