// The telephone exchange of "modem:[HOST:]PORT": a call is one TCP connection between two
// modems' processes, and VYR_MODEM_NUMBERS is the directory.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/serial/modem.h"
#include "platform/serial/stream_socket.h"

namespace vyr::platform {
namespace {

class TcpCall : public PhoneCall {
public:
    TcpCall(int fd, bool connected) : fd_(fd), connected_(connected) {}
    ~TcpCall() override {
        if (fd_ >= 0) close(fd_);
    }
    TcpCall(const TcpCall&) = delete;
    TcpCall& operator=(const TcpCall&) = delete;

    void send(uint8_t byte) override {
        if (!connected()) return;
        if (::send(fd_, &byte, 1, MSG_NOSIGNAL) < 0 && errno != EAGAIN && errno != EINTR) hang_up();
    }
    int receive() override {
        if (!connected()) return -1;
        uint8_t byte = 0;
        const ssize_t got = read(fd_, &byte, 1);
        if (got == 1) return byte;
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) hang_up();
        return -1;
    }
    bool gone() override {
        connected();
        return fd_ < 0;
    }

private:
    // A dialled connection still under way is not through yet; a refused one is gone.
    bool connected() {
        if (fd_ < 0 || connected_) return fd_ >= 0;
        pollfd waiting = {fd_, POLLOUT, 0};
        if (poll(&waiting, 1, 0) <= 0) return false;
        int error = 0;
        socklen_t size = sizeof error;
        if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            hang_up();
            return false;
        }
        connected_ = true;
        return true;
    }
    void hang_up() {
        close(fd_);
        fd_ = -1;
    }
    int fd_;
    bool connected_;
};

// The HOST:PORT that VYR_MODEM_NUMBERS lists for `number`, or empty.
std::string directory_entry(const std::string& number) {
    const char* listed = std::getenv("VYR_MODEM_NUMBERS");
    std::string rest = listed ? listed : "";
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string entry = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        const size_t equals = entry.find('=');
        if (equals != std::string::npos && !number.empty() && dialled_digits(entry.substr(0, equals)) == number)
            return entry.substr(equals + 1);
    }
    return "";
}

class TcpExchange : public PhoneExchange {
public:
    explicit TcpExchange(int listener) : listener_(listener) {}
    ~TcpExchange() override { close(listener_); }
    TcpExchange(const TcpExchange&) = delete;
    TcpExchange& operator=(const TcpExchange&) = delete;

    std::unique_ptr<PhoneCall> dial(const std::string& number) override {
        std::string host, port, error;
        if (!split_host_port(directory_entry(number), host, port) || host.empty()) return nullptr;
        const int fd = connect_stream(host, port, false, error);
        return fd < 0 ? nullptr : std::make_unique<TcpCall>(fd, false);
    }
    std::unique_ptr<PhoneCall> take_call() override {
        const int fd = accept_stream(listener_);
        return fd < 0 ? nullptr : std::make_unique<TcpCall>(fd, true);
    }
    bool reaches_another_process() const override { return true; }

private:
    int listener_;
};

}  // namespace

std::unique_ptr<PhoneExchange> open_tcp_exchange(const std::string& address, std::string& error) {
    std::string host, port;
    if (!split_host_port(address, host, port)) {
        error = "expected modem:[HOST:]PORT";
        return nullptr;
    }
    const int listener = listen_stream(host, port, error);
    return listener < 0 ? nullptr : std::make_unique<TcpExchange>(listener);
}

}  // namespace vyr::platform
