// The whole sample data set: every file, under the lower-case name the game finds it by.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/vyrgen/pictures/iff.h"

namespace vyr::vyrgen {

struct DataFile {
    std::string name;  // relative, '/' between components
    std::vector<uint8_t> bytes;
};

// Every picture of the data set as drawn, before encoding.
std::vector<PictureFile> data_set_pictures();

// Every file, the sentinel last.
std::vector<DataFile> data_set_files();

// Writes the files under `root`, creating directories; on failure says why in `error`.
bool write_data_set(const std::filesystem::path& root, std::string& error);

}  // namespace vyr::vyrgen
