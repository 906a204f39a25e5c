// A fresh player's directory (the working directory) and read-only data directory for each test,
// so that tests of the file layer and of everything that reads or writes through it start from
// known files and leave none behind.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "library/debug/fatal.h"
#include "library/os/file.h"

namespace vyr {

// The data set the build generated, for tests that read it rather than write one of their own.
inline const std::filesystem::path GENERATED_DATA = std::filesystem::path(VYR_BUILD_DIR) / "data";

class ScratchDirectories : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::path(testing::TempDir()) /
               (std::string("vyr-") + test->test_suite_name() + "-" + test->name() + "-" +
                std::to_string(std::random_device{}()));
        work = root / "work";
        data = root / "data";
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

    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }

    static void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    static std::string read_bytes(const std::filesystem::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    // Everything in a directory, hidden files included, as "name" or "name/".
    static std::vector<std::string> entries(const std::filesystem::path& directory) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path root, work, data, previous;
};

}  // namespace vyr
