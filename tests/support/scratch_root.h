// The scratch directory the test main made for this process (and entered, and named as the
// player's directory): every file a test writes belongs under it. Programs without that main (the
// benchmarks) share the build's scratch folder.
#pragma once

#include <cstdlib>
#include <filesystem>

#include "tests/support/paths.h"

namespace vyr {

inline constexpr const char* SCRATCH_ROOT_VARIABLE = "VYR_TEST_SCRATCH";

inline std::filesystem::path scratch_root() {
    const char* root = std::getenv(SCRATCH_ROOT_VARIABLE);
    return root && *root ? std::filesystem::path(root) : std::filesystem::path(VYR_BUILD_DIR) / "scratch";
}

}  // namespace vyr
