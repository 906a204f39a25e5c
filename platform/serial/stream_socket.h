// TCP stream sockets for the lines that cross to another process: the null-modem cable and the
// modem's telephone line.
#pragma once

#include <string>

namespace vyr::platform {

// Splits "[HOST:]PORT" at its last colon; false when there is no port.
bool split_host_port(const std::string& text, std::string& host, std::string& port);
// A non-blocking, no-delay stream connected to HOST:PORT, or -1 with `error` set. With `wait`
// clear the connection may still be under way when it returns.
int connect_stream(const std::string& host, const std::string& port, bool wait, std::string& error);
// A non-blocking listener on [HOST:]PORT taking one waiting connection, or -1 with `error` set.
int listen_stream(const std::string& host, const std::string& port, std::string& error);
// A waiting connection made non-blocking and no-delay, or -1.
int accept_stream(int listener);

}  // namespace vyr::platform
