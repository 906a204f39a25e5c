// Game file names on the host file system: "3DDATA\3DOBJS.BIN" found as 3ddata/3dobjs.bin.
#pragma once

#include <filesystem>
#include <string_view>

namespace vyr {

// Equal regardless of the case of A to Z (the game's names come from a case-blind system).
bool equal_ignoring_case(std::string_view a, std::string_view b);

// The existing entry that `name` names under `base` (empty: the working directory). `\` and `/`
// both separate components; each component matches exactly first, then regardless of case.
// Empty when a component is missing.
std::filesystem::path find_path(const std::filesystem::path& base, std::string_view name);

// Where a file `name` is written under `base`: its directories found as by `find_path`, then the
// existing file of that name in any case, else the last component as written. Empty when a
// directory is missing.
std::filesystem::path place_path(const std::filesystem::path& base, std::string_view name);

// Whether a file name matches a wildcard pattern: `*` any run, `?` one character, case ignored,
// and a pattern ending in ".*" also matches the name without an extension.
bool match_file_pattern(std::string_view name, std::string_view pattern);

}  // namespace vyr
