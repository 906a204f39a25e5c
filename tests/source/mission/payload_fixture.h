// The generated payload files in a test's own data directory, read: the hardpoints then take only
// what those files allow.
#pragma once

#include <filesystem>

#include "source/mission/payload.h"
#include "tests/support/scratch.h"

namespace vyr {

inline void load_generated_payload(const std::filesystem::path& data) {
    for (const char* file : {"pylon.dat", "wpn.dat"})
        write_bytes(data / "menuscrn" / file, read_bytes(GENERATED_DATA / "menuscrn" / file));
    load_pylon_file();
    load_weapon_file();
}

}  // namespace vyr
