#include "platform/serial/serial_line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/serial/custom_baud.h"
#include "platform/serial/modem.h"
#include "platform/serial/stream_socket.h"

namespace vyr::platform {
namespace {

void report_failure(const std::string& port_name, const std::string& target, const char* reason) {
    std::fprintf(stderr, "vyr: %s: cannot open %s: %s\n", port_name.c_str(), target.c_str(), reason);
}

// One non-blocking descriptor; `ready` says whether the other end is there.
class DescriptorLine : public SerialLine {
public:
    // A socket is written with send(): a write() into a closed connection raises SIGPIPE, which
    // would end the program where the cable should only be pulled.
    explicit DescriptorLine(int fd, bool socket = false) : fd_(fd), socket_(socket) {}
    ~DescriptorLine() override {
        if (fd_ >= 0) close(fd_);
    }
    DescriptorLine(const DescriptorLine&) = delete;
    DescriptorLine& operator=(const DescriptorLine&) = delete;

    void write_byte(uint8_t byte) override {
        if (fd_ < 0) return;
        ssize_t put = socket_ ? send(fd_, &byte, 1, MSG_NOSIGNAL) : write(fd_, &byte, 1);
        if (put < 0 && errno != EAGAIN && errno != EINTR) lost();
    }
    int read_byte() override {
        if (fd_ < 0) return -1;
        uint8_t byte = 0;
        ssize_t got = read(fd_, &byte, 1);
        if (got == 1) return byte;
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) lost();
        return -1;
    }
    bool data_set_ready() override { return fd_ >= 0; }

protected:
    // The other end went away: a pulled cable for good.
    virtual void lost() {
        close(fd_);
        fd_ = -1;
    }
    int fd_;

private:
    bool socket_;
};

// A terminal device; a closed far end of a pseudo-terminal reads as an error that clears when a
// program opens it again, so it is not a pulled cable here.
class TerminalLine : public DescriptorLine {
public:
    TerminalLine(int fd, bool has_modem_lines) : DescriptorLine(fd), modem_lines_(has_modem_lines) {}
    bool data_set_ready() override {
        if (!modem_lines_) return true;
        int status = 0;
        return ioctl(fd_, TIOCMGET, &status) == 0 && (status & TIOCM_DSR) != 0;
    }

private:
    void lost() override {}
    bool modem_lines_;
};

struct BaudEntry {
    int baud;
    speed_t speed;
};
constexpr BaudEntry BAUDS[] = {{2400, B2400},   {4800, B4800},   {9600, B9600},   {19200, B19200},
                               {38400, B38400}, {57600, B57600}, {115200, B115200}};

// Raw 8N1, no flow control, the receiver on; the rate as near `baud` as the driver goes.
bool make_raw(int fd, int baud, const std::string& port_name) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    const BaudEntry* nearest = &BAUDS[0];
    for (const BaudEntry& entry : BAUDS)
        if (std::abs(entry.baud - baud) < std::abs(nearest->baud - baud)) nearest = &entry;
    cfsetispeed(&settings, nearest->speed);
    cfsetospeed(&settings, nearest->speed);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) return false;
    if (nearest->baud != baud && !set_custom_baud(fd, baud))
        std::fprintf(stderr, "vyr: %s: %d baud not taken, running at %d\n", port_name.c_str(), baud,
                     nearest->baud);
    tcflush(fd, TCIOFLUSH);
    return true;
}

uint64_t real_milliseconds() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::unique_ptr<SerialLine> open_device(const std::string& port_name, const std::string& path, int baud) {
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        report_failure(port_name, path, std::strerror(errno));
        return nullptr;
    }
    if (!isatty(fd)) {
        close(fd);
        report_failure(port_name, path, "not a terminal device");
        return nullptr;
    }
    if (!make_raw(fd, baud, port_name)) {
        int error = errno;
        close(fd);
        report_failure(port_name, path, std::strerror(error));
        return nullptr;
    }
    // A pseudo-terminal has no modem lines: the far end is there while it is open.
    int status = 0;
    bool modem_lines = ioctl(fd, TIOCMGET, &status) == 0;
    if (modem_lines) {
        int dtr = TIOCM_DTR;
        ioctl(fd, TIOCMBIS, &dtr);
    }
    return std::make_unique<TerminalLine>(fd, modem_lines);
}

// The master of a new pseudo-terminal pair; its other end is linked at `link` for another
// program, which opens the link as a device.
std::unique_ptr<SerialLine> open_pty(const std::string& port_name, const std::string& link, int baud) {
    int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const char* other = nullptr;
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0 || !(other = ptsname(fd))) {
        int error = errno;
        if (fd >= 0) close(fd);
        report_failure(port_name, "pty:" + link, std::strerror(error));
        return nullptr;
    }
    // The far end must be raw before the other program opens it, and a held descriptor keeps its
    // settings while that program comes and goes.
    int far_end = open(other, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (far_end < 0 || !make_raw(far_end, baud, port_name) || !make_raw(fd, baud, port_name)) {
        int error = errno;
        if (far_end >= 0) close(far_end);
        close(fd);
        report_failure(port_name, "pty:" + link, std::strerror(error));
        return nullptr;
    }
    unlink(link.c_str());
    if (symlink(other, link.c_str()) != 0) {
        int error = errno;
        close(far_end);
        close(fd);
        report_failure(port_name, "pty:" + link, std::strerror(error));
        return nullptr;
    }
    class PtyLine : public TerminalLine {
    public:
        PtyLine(int fd, int far_end, std::string link) : TerminalLine(fd, false), far_end_(far_end), link_(std::move(link)) {}
        ~PtyLine() override {
            unlink(link_.c_str());
            close(far_end_);
        }

    private:
        int far_end_;
        std::string link_;
    };
    return std::make_unique<PtyLine>(fd, far_end, link);
}

std::unique_ptr<SerialLine> open_tcp(const std::string& port_name, const std::string& target, int) {
    std::string host, port, error;
    if (!split_host_port(target.substr(4), host, port) || host.empty()) {
        report_failure(port_name, target, "expected tcp:HOST:PORT");
        return nullptr;
    }
    int fd = connect_stream(host, port, true, error);
    if (fd < 0) {
        report_failure(port_name, target, error.c_str());
        return nullptr;
    }
    return std::make_unique<DescriptorLine>(fd, true);
}

// Waits for the far end without blocking: each use first takes a waiting connection.
class ListeningLine : public DescriptorLine {
public:
    explicit ListeningLine(int listener) : DescriptorLine(-1, true), listener_(listener) {}
    ~ListeningLine() override { close(listener_); }
    void write_byte(uint8_t byte) override {
        accept_waiting();
        DescriptorLine::write_byte(byte);
    }
    int read_byte() override {
        accept_waiting();
        return DescriptorLine::read_byte();
    }
    bool data_set_ready() override {
        accept_waiting();
        return fd_ >= 0;
    }

private:
    // One cable: once plugged in, the listener takes no other.
    void accept_waiting() {
        if (fd_ >= 0 || plugged_) return;
        fd_ = accept_stream(listener_);
        plugged_ = fd_ >= 0;
    }
    int listener_;
    bool plugged_ = false;
};

std::unique_ptr<SerialLine> open_tcp_listen(const std::string& port_name, const std::string& target, int) {
    std::string host, port, error;
    split_host_port(target.substr(11), host, port);
    int fd = port.empty() ? -1 : listen_stream(host, port, error);
    if (fd < 0) {
        report_failure(port_name, target, port.empty() ? "expected tcp-listen:[HOST:]PORT" : error.c_str());
        return nullptr;
    }
    return std::make_unique<ListeningLine>(fd);
}

std::unique_ptr<SerialLine> open_modem(const std::string& port_name, const std::string& target) {
    std::string error;
    auto exchange = open_tcp_exchange(target.substr(6), error);
    if (!exchange) {
        report_failure(port_name, target, error.c_str());
        return nullptr;
    }
    return std::make_unique<ModemLine>(std::move(exchange), &real_milliseconds);
}

std::unique_ptr<SerialLine> open_by_target(int port, int baud) {
    return open_serial_target("COM" + std::to_string(port + 1), serial_port_target(port), baud);
}

std::atomic<SerialOpener> opener{nullptr};

}  // namespace

std::unique_ptr<SerialLine> open_serial_target(const std::string& port_name, const std::string& target,
                                               int baud) {
    if (target.rfind("pty:", 0) == 0) return open_pty(port_name, target.substr(4), baud);
    if (target.rfind("tcp-listen:", 0) == 0) return open_tcp_listen(port_name, target, baud);
    if (target.rfind("tcp:", 0) == 0) return open_tcp(port_name, target, baud);
    if (target.rfind("modem:", 0) == 0) return open_modem(port_name, target);
    return open_device(port_name, target, baud);
}

std::string serial_port_target(int port) {
    std::string variable = "VYR_COM" + std::to_string(port + 1);
    if (const char* target = std::getenv(variable.c_str()); target && *target) return target;
    return "/dev/ttyS" + std::to_string(port);
}

std::unique_ptr<SerialLine> open_serial_port_line(int port, int baud) {
    SerialOpener installed = opener.load();
    return installed ? installed(port, baud) : open_by_target(port, baud);
}

SerialOpener set_serial_opener(SerialOpener replacement) { return opener.exchange(replacement); }

}  // namespace vyr::platform
