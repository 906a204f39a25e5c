// The game's own entry, run on the game thread with the split command line.
#pragma once

namespace vyr {

int game_main(int argc, char** argv);

// What a flight needs beyond the theatre: the weapons', pylons' and sensors' tables with the
// pylon and weapon files, the soldiers' movements with their posing hook, and the drone types.
void load_flight_data();

}  // namespace vyr
