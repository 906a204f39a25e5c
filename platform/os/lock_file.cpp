#include "platform/os/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vyr::platform {

namespace {

int held_descriptor = -1;

}  // namespace

LockResult lock_file(const std::filesystem::path& path, std::string& error) {
    if (held_descriptor >= 0) {
        ::close(held_descriptor);
        held_descriptor = -1;
    }
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        error = std::strerror(errno);
        return LockResult::UNAVAILABLE;
    }
    int result;
    do result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0) {
        held_descriptor = descriptor;
        return LockResult::LOCKED;
    }
    const int failure = errno;
    ::close(descriptor);
    if (failure == EWOULDBLOCK) return LockResult::IN_USE;
    error = std::strerror(failure);
    return LockResult::UNAVAILABLE;
}

}  // namespace vyr::platform
