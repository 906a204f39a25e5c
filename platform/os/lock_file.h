// A lock that tells one copy of the program from another: held on a file for the life of the
// process, and given up by the system however the process ends, a crash or a kill included.
#pragma once

#include <filesystem>
#include <string>

namespace vyr::platform {

enum class LockResult {
    LOCKED,       // this process holds the lock
    IN_USE,       // another process holds it
    UNAVAILABLE,  // the file cannot be made or locked; `error` says why
};

// Takes an exclusive lock on `path` (made when missing; its contents are never read or written),
// without waiting. The process holds one such lock at a time: a new call first gives up the lock
// of the last. A child started by the process does not inherit it.
LockResult lock_file(const std::filesystem::path& path, std::string& error);

}  // namespace vyr::platform
