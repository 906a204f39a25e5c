// Datagrams between the machines of a network game, shaped by what the transport calls: open a
// channel's socket, send to one address or to every machine, take the waiting datagrams with
// their sender's address, close.
//
// A machine's address is an IPv4 address and a UDP port. Backends, chosen from VYR_NET:
//   lan       a socket on VYR_NET_PORT + channel; a broadcast goes to 255.255.255.255 and by
//             unicast to each machine of VYR_NET_PEERS ("host[:port]", comma-separated)
//   loopback  several machines on 127.0.0.1: channel c owns the 16 ports VYR_NET_PORT + 16c ..
//             + 15, each socket takes the first free one, and a broadcast goes to all 16
//   off       no network at all
// A test installs an in-process hub (hub.h) instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vyr::platform {

// Host byte order; ip 0 is "not known".
struct NetAddress {
    uint32_t ip = 0;
    uint16_t port = 0;
    bool operator==(const NetAddress&) const = default;
};

constexpr uint32_t LOOPBACK_IP = 0x7F000001;  // 127.0.0.1
constexpr uint16_t DEFAULT_NET_PORT = 4661;
constexpr int PORTS_PER_LOOPBACK_CHANNEL = 16;

class DatagramSocket {
public:
    virtual ~DatagramSocket() = default;
    // The address the own broadcasts come back from; ip 0 until the backend knows it.
    virtual NetAddress own_address() const = 0;
    // Sends never block and never report: a datagram the system will not take is lost.
    virtual void send_to(const NetAddress& to, const uint8_t* data, size_t length) = 0;
    virtual void broadcast(const uint8_t* data, size_t length) = 0;
    // The next waiting datagram: its full length (at most `capacity` bytes are copied), or -1
    // when none waits. The own datagrams come back like anybody's, from own_address(); echoes
    // arriving through another own address are swallowed.
    virtual int receive(uint8_t* buffer, size_t capacity, NetAddress& from) = 0;
    // True for a socket of the operating system, whose peers keep real time.
    virtual bool is_real() const = 0;
    // Real sockets: returns when a datagram waits or after `milliseconds`. The hub: at once.
    virtual void wait_for_input(int milliseconds) = 0;
};

class DatagramNetwork {
public:
    virtual ~DatagramNetwork() = default;
    // The socket of `channel` (0 is the lobby's); null, after one line on stderr naming the
    // port, when it cannot be bound.
    virtual std::unique_ptr<DatagramSocket> open(int channel) = 0;
};

// The network in use, selected from the environment on first call; null for "off".
DatagramNetwork* datagram_network();
// Tests install a network of their own (null: none).
void install_datagram_network(std::unique_ptr<DatagramNetwork> network);

}  // namespace vyr::platform
