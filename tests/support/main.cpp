// The main of every test binary: the tests run in a scratch directory of the process's own, which
// is also the player's directory, so nothing a test writes lands where the suite was started. The
// directory goes at the end unless a test failed; then its path is printed for a look inside.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "tests/support/paths.h"
#include "tests/support/scratch_root.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // A death test's child runs this main again: it works in its parent's directory and leaves it
    // to the parent.
    const bool death_child = !GTEST_FLAG_GET(internal_run_death_test).empty();
    const char* inherited = std::getenv(vyr::SCRATCH_ROOT_VARIABLE);
    std::filesystem::path root;
    if (death_child && inherited && *inherited) {
        root = inherited;
    } else {
        const std::filesystem::path parent = std::filesystem::path(VYR_BUILD_DIR) / "scratch";
        std::filesystem::create_directories(parent);
        std::string pattern = (parent / (std::filesystem::read_symlink("/proc/self/exe").filename().string() + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) {
            std::perror(pattern.c_str());
            return 1;
        }
        root = pattern;
        setenv(vyr::SCRATCH_ROOT_VARIABLE, root.c_str(), 1);
    }
    setenv("VYR_HOME", root.c_str(), 1);
    std::filesystem::current_path(root);

    const int result = RUN_ALL_TESTS();
    if (death_child) return result;
    std::filesystem::current_path(VYR_BUILD_DIR);
    if (result == 0) {
        std::error_code error;
        std::filesystem::remove_all(root, error);
    } else {
        std::fprintf(stderr, "The tests' scratch directory is kept: %s\n", root.c_str());
    }
    return result;
}
