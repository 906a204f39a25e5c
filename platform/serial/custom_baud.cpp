// Kept apart: the kernel's termios2 header cannot share a file with <termios.h>.
#include "platform/serial/custom_baud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vyr::platform {

bool set_custom_baud(int fd, int baud) {
    struct termios2 settings {};
    if (ioctl(fd, TCGETS2, &settings) != 0) return false;
    settings.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    settings.c_cflag |= BOTHER;
    settings.c_ispeed = static_cast<speed_t>(baud);
    settings.c_ospeed = static_cast<speed_t>(baud);
    if (ioctl(fd, TCSETS2, &settings) != 0) return false;
    // A driver may round the rate: only the rate asked for counts as taken.
    return ioctl(fd, TCGETS2, &settings) == 0 && settings.c_ospeed == static_cast<speed_t>(baud);
}

}  // namespace vyr::platform
