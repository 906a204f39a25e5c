// A directory of the build tree for one test's files, named by the test so that a death test's
// child process finds the same one.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vyr::vyrgen {

inline std::filesystem::path make_scratch_directory() {
    auto path = std::filesystem::path(VYR_BUILD_DIR) / "scratch" /
                (std::string("vyrgen-") + testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

inline std::string write_scratch_file(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
    return path.string();
}

}  // namespace vyr::vyrgen
