#include "source/startup.h"

#include <cstdio>

namespace vyr {

// Remove a name here with its stub.
void report_seams() {
    std::fputs("vyr: stand-ins still in place: world, drone, avionics, front end, network\n",
               stderr);
}

}  // namespace vyr
