#include "run_vyr.h"

#include <sys/wait.h>

#include <cstdlib>

namespace vyr::e2e {

RunResult run_shell(const ScratchDirectory& directory, const std::string& command) {
    std::filesystem::path output = directory.path() / "output.txt";
    std::string line = "cd '" + directory.path().string() + "' && " + command + " >'" + output.string() + "' 2>&1";
    int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_bytes(output)};
}

RunResult run_vyr(const ScratchDirectory& directory, const std::string& environment, const std::string& start) {
    // A run that hangs must fail the test, not the whole suite.
    return run_shell(directory, "cd '" + start + "' && env VYR_VIDEO=headless VYR_AUDIO=off VYR_HOME='" +
                                    directory.path().string() + "' " + environment + " timeout 60 '" +
                                    std::string(VYR_BUILD_DIR) + "/vyr'");
}

}  // namespace vyr::e2e
