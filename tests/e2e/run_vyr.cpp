#include "run_vyr.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vyr::e2e {

ScratchDirectory::ScratchDirectory(const std::string& name)
    : path_(std::filesystem::path(VYR_BUILD_DIR) / "tests" / "scratch" / name) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() { std::filesystem::remove_all(path_); }

std::filesystem::path ScratchDirectory::write(const std::string& name, const std::string& contents) const {
    std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << contents;
    return file;
}

RunResult run_shell(const ScratchDirectory& directory, const std::string& command) {
    std::filesystem::path output = directory.path() / "output.txt";
    std::string line = "cd '" + directory.path().string() + "' && " + command + " >'" + output.string() + "' 2>&1";
    int status = std::system(line.c_str());
    std::ifstream in(output);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

RunResult run_vyr(const ScratchDirectory& directory, const std::string& environment, const std::string& start) {
    // A run that hangs must fail the test, not the whole suite.
    return run_shell(directory, "cd '" + start + "' && env VYR_VIDEO=headless VYR_AUDIO=off VYR_HOME='" +
                                    directory.path().string() + "' " + environment + " timeout 60 '" +
                                    std::string(VYR_BUILD_DIR) + "/vyr'");
}

}  // namespace vyr::e2e
