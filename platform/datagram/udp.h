// The operating system's UDP sockets behind the datagram interface: the lan and loopback
// backends of datagram.h.
#pragma once

#include <memory>
#include <string>

#include "platform/datagram/datagram.h"

namespace vyr::platform {

// `peers` is VYR_NET_PEERS' text; a host that does not resolve is named on stderr and skipped.
std::unique_ptr<DatagramNetwork> make_lan_network(uint16_t base_port, const std::string& peers);
std::unique_ptr<DatagramNetwork> make_loopback_network(uint16_t base_port);

}  // namespace vyr::platform
