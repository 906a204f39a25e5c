// The front end's files over the generated theatre, whose war zone each test enters.
#pragma once

#include "tests/support/worlds.h"

namespace vyr {

using GeneratedZone = GeneratedTheatre;

}  // namespace vyr
