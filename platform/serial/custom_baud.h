// Rates the termios speed table lacks, set through the kernel's own rate field.
#pragma once

namespace vyr::platform {

// Sets `baud` as an exact rate on the open terminal `fd`; false when the driver refuses it.
bool set_custom_baud(int fd, int baud);

}  // namespace vyr::platform
