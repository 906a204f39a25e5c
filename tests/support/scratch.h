// Scratch space for tests: a directory of a test's own in the build tree, and a fresh player's
// directory (the working directory) over a read-only data directory for tests of the file layer
// and of everything that reads or writes through it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "tests/support/paths.h"
#include "tests/support/scratch_root.h"

namespace vyr {

// The data set the build generated, for tests that read it rather than write one of their own.
inline const std::filesystem::path GENERATED_DATA = VYR_GENERATED_DATA_DIR;

// Writes a file, making its folders; returns its path.
inline std::filesystem::path write_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

inline std::filesystem::path write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    return write_bytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

inline std::string read_bytes(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Everything in a directory, hidden files included, as "name" or "name/".
inline std::vector<std::string> entries(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

// An empty directory in the process's scratch root named after the test binary and the running
// test, removed again at the end.
// The name is fixed so that a death test's child, which runs the test again, works in the same
// place: it takes the directory as the parent left it, and the parent cleans up after it. One made in SetUpTestSuite is the process's own, as the
// tests of a suite may run in processes side by side.
class ScratchDirectory {
public:
    ScratchDirectory() {
        const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
        const testing::TestInfo* test = unit.current_test_info();
        std::string name = test ? std::string(test->test_suite_name()) + "." + test->name()
                                : std::string(unit.current_test_suite()->name()) + "." + std::to_string(getpid());
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests' names hold slashes
        path_ = scratch_root() /
                std::filesystem::read_symlink("/proc/self/exe").filename() / name;
        if (!in_death_test_child()) std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    // Kept when the test failed, for a look at what it left; the test main prints where.
    ~ScratchDirectory() {
        if (!in_death_test_child() && !testing::Test::HasFailure()) std::filesystem::remove_all(path_);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    static bool in_death_test_child() { return !GTEST_FLAG_GET(internal_run_death_test).empty(); }

    std::filesystem::path path_;
};

// Makes a directory the working directory for as long as it lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& directory) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

class ScratchDirectories : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(work);
        std::filesystem::create_directories(data);
        write_bytes(data / "vyr.rop", "");
        previous = std::filesystem::current_path();
        std::filesystem::current_path(work);
        setenv("VYR_DATA", data.c_str(), 1);
        setenv("VYR_HOME", work.c_str(), 1);
        init_debug_text();
        find_read_only_path("vyr.rop");
    }

    void TearDown() override { std::filesystem::current_path(previous); }

    // Reads the data set the build generated from here on, instead of the scratch one.
    static void use_generated_data() {
        setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
        find_read_only_path("vyr.rop");
    }

    ScratchDirectory scratch;
    const std::filesystem::path root = scratch.path(), work = root / "work", data = root / "data";
    std::filesystem::path previous;
};

}  // namespace vyr
