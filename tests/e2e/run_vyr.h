// Runs the real program, headless, in a scratch working directory of its own.
#pragma once

#include <string>

#include "tests/support/scratch.h"

namespace vyr::e2e {

struct RunResult {
    int exit_code;       // -1 when the program did not exit by itself
    std::string output;  // standard output and standard error together
};

// The generated data set without its movies, as links in `directory`: the intro skips the movies
// it does not find and goes straight on, so runs that are not about the movies keep their timing.
std::filesystem::path data_without_movies(const ScratchDirectory& directory);

// Runs `environment` (VAR=value words) and build/vyr through the shell, started in `start` (relative
// to `directory`); `directory` is also its player's directory unless the environment names another.
// It reads `data_without_movies` unless the environment names a VYR_DATA.
RunResult run_vyr(const ScratchDirectory& directory, const std::string& environment, const std::string& start = ".");

// Runs a shell command in `directory`.
RunResult run_shell(const ScratchDirectory& directory, const std::string& command);

}  // namespace vyr::e2e
