#include "run_vyr.h"
#include "tests/support/paths.h"

#include <sys/wait.h>

#include <cstdlib>

namespace vyr::e2e {

RunResult run_shell(const ScratchDirectory& directory, const std::string& command) {
    std::filesystem::path output = directory.path() / "output.txt";
    std::string line = "cd '" + directory.path().string() + "' && " + command + " >'" + output.string() + "' 2>&1";
    int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_bytes(output)};
}

std::filesystem::path data_without_movies(const ScratchDirectory& directory) {
    std::filesystem::path data = directory / "data-without-movies";
    if (std::filesystem::exists(data)) return data;
    std::filesystem::create_directories(data);
    for (const auto& entry : std::filesystem::directory_iterator(GENERATED_DATA))
        if (entry.path().filename() != "anims") std::filesystem::create_symlink(entry.path(), data / entry.path().filename());
    return data;
}

RunResult run_vyr(const ScratchDirectory& directory, const std::string& environment, const std::string& start) {
    std::string data = "VYR_DATA='" + data_without_movies(directory).string() + "' ";
    // A run that hangs must fail the test, not the whole suite; the limit allows a sanitized build
    // on a loaded machine.
    return run_shell(directory, "cd '" + start + "' && env VYR_VIDEO=headless VYR_AUDIO=off " + data + "VYR_HOME='" +
                                    directory.path().string() + "' " + environment + " timeout 300 '" +
                                    std::string(VYR_BUILD_DIR) + "/vyr'");
}

}  // namespace vyr::e2e
