#include "platform/serial/stream_socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vyr::platform {
namespace {

addrinfo* resolve(const std::string& host, const std::string& port, bool passive, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    addrinfo* found = nullptr;
    int code = getaddrinfo(host.empty() ? nullptr : host.c_str(), port.c_str(), &hints, &found);
    if (code != 0) error = gai_strerror(code);
    return code == 0 ? found : nullptr;
}

void make_stream(int fd) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

}  // namespace

bool split_host_port(const std::string& text, std::string& host, std::string& port) {
    size_t colon = text.rfind(':');
    host = colon == std::string::npos ? std::string() : text.substr(0, colon);
    port = colon == std::string::npos ? text : text.substr(colon + 1);
    return !port.empty();
}

int connect_stream(const std::string& host, const std::string& port, bool wait, std::string& error) {
    addrinfo* found = resolve(host, port, false, error);
    if (!found) return -1;
    int fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC | (wait ? 0 : SOCK_NONBLOCK),
                    found->ai_protocol);
    int result = fd < 0 ? -1 : connect(fd, found->ai_addr, found->ai_addrlen);
    int connect_error = errno;
    freeaddrinfo(found);
    if (result != 0 && !(fd >= 0 && !wait && connect_error == EINPROGRESS)) {
        if (fd >= 0) close(fd);
        error = std::strerror(connect_error);
        return -1;
    }
    make_stream(fd);
    return fd;
}

int listen_stream(const std::string& host, const std::string& port, std::string& error) {
    addrinfo* found = resolve(host, port, true, error);
    if (!found) return -1;
    int fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, found->ai_protocol);
    int one = 1;
    if (fd >= 0) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    int result = fd < 0 ? -1 : bind(fd, found->ai_addr, found->ai_addrlen);
    if (result == 0) result = listen(fd, 1);
    int listen_error = errno;
    freeaddrinfo(found);
    if (result != 0) {
        if (fd >= 0) close(fd);
        error = std::strerror(listen_error);
        return -1;
    }
    return fd;
}

int accept_stream(int listener) {
    int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) make_stream(fd);
    return fd;
}

}  // namespace vyr::platform
