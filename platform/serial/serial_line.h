// One serial line: what a PC serial port gives the link, a byte stream with a modem's
// data-set-ready line. Backends: a terminal device, a pseudo-terminal for a second program on
// this machine, a null-modem cable carried over one TCP connection, a modem whose telephone line
// is a TCP connection (modem.h), and an in-memory pair.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vyr::platform {

class SerialLine {
public:
    virtual ~SerialLine() = default;
    // Sends one byte without waiting; a byte the line cannot take (cable pulled, output full) is
    // lost, as on a real wire.
    virtual void write_byte(uint8_t byte) = 0;
    // The next received byte 0..255, or -1 at once when none waits.
    virtual int read_byte() = 0;
    // The modem's data-set-ready line; a pulled cable or a closed other end drops it.
    virtual bool data_set_ready() = 0;
    // True when the other end is another process, whose time is real time.
    virtual bool reaches_another_process() const { return true; }
};

// Opens what `target` names at `baud` bits per second: a device path, "pty:PATH",
// "tcp:HOST:PORT", "tcp-listen:[HOST:]PORT" or "modem:[HOST:]PORT". Null, after one stderr line naming `port_name`,
// the target and the reason, when it cannot be opened.
std::unique_ptr<SerialLine> open_serial_target(const std::string& port_name,
                                               const std::string& target, int baud);

// What port 0..3 ("COM1".."COM4") opens: VYR_COM1..VYR_COM4, else /dev/ttyS0../dev/ttyS3.
std::string serial_port_target(int port);

// Opens port 0..3 at `baud` through the opener in place (open_serial_target of the port's
// target unless a test installed its own).
std::unique_ptr<SerialLine> open_serial_port_line(int port, int baud);
using SerialOpener = std::unique_ptr<SerialLine> (*)(int port, int baud);
// Tests install an opener of their own; null puts the real one back. Answers the one replaced.
SerialOpener set_serial_opener(SerialOpener opener);

}  // namespace vyr::platform
