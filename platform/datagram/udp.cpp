#include "platform/datagram/udp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/timer/timer.h"

namespace vyr::platform {

namespace {

sockaddr_in to_sockaddr(const NetAddress& address) {
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_addr.s_addr = htonl(address.ip);
    in.sin_port = htons(address.port);
    return in;
}

NetAddress from_sockaddr(const sockaddr_in& in) { return {ntohl(in.sin_addr.s_addr), ntohs(in.sin_port)}; }

// A non-blocking broadcast-capable socket bound to `address`; -1 when it cannot be bound.
int bind_socket(const NetAddress& address) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    int buffer = 128'000;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    sockaddr_in in = to_sockaddr(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&in), sizeof in) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class UdpSocket : public DatagramSocket {
public:
    // `targets` receive every broadcast; `own_ips` are the machine's addresses, whose datagrams
    // from the own port are the own ones coming back.
    UdpSocket(int fd, NetAddress own, std::vector<NetAddress> targets, std::vector<uint32_t> own_ips)
        : fd_(fd), own_(own), targets_(std::move(targets)), own_ips_(std::move(own_ips)) {
        hold_to_real_time(true);
    }
    ~UdpSocket() override {
        close(fd_);
        hold_to_real_time(false);
    }

    NetAddress own_address() const override { return own_; }

    void send_to(const NetAddress& to, const uint8_t* data, size_t length) override {
        sockaddr_in in = to_sockaddr(to);
        sendto(fd_, data, length, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&in), sizeof in);
    }

    void broadcast(const uint8_t* data, size_t length) override {
        for (const NetAddress& target : targets_) send_to(target, data, length);
    }

    int receive(uint8_t* buffer, size_t capacity, NetAddress& from) override {
        for (;;) {
            sockaddr_in in{};
            socklen_t size = sizeof in;
            ssize_t got = recvfrom(fd_, buffer, capacity, MSG_DONTWAIT | MSG_TRUNC,
                                   reinterpret_cast<sockaddr*>(&in), &size);
            if (got < 0) return -1;
            from = from_sockaddr(in);
            if (is_echo(from)) continue;
            return int(got);
        }
    }

    bool is_real() const override { return true; }

    void wait_for_input(int milliseconds) override {
        pollfd waiting{fd_, POLLIN, 0};
        poll(&waiting, 1, milliseconds);
    }

private:
    // The first own datagram back fixes the own address; one back through another own address
    // is the same machine again, not a new one.
    bool is_echo(const NetAddress& from) {
        if (from.port != own_.port || from == own_) return false;
        bool own_ip = false;
        for (uint32_t ip : own_ips_) own_ip |= ip == from.ip;
        if (!own_ip) return false;
        if (own_.ip != 0) return true;
        own_.ip = from.ip;
        return false;
    }

    int fd_;
    NetAddress own_;
    std::vector<NetAddress> targets_;
    std::vector<uint32_t> own_ips_;
};

std::vector<uint32_t> local_addresses() {
    std::vector<uint32_t> ips;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return ips;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next)
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET)
            ips.push_back(ntohl(reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr));
    freeifaddrs(list);
    return ips;
}

// The address this machine uses to reach `peer`; 0 when there is no route.
uint32_t source_address_towards(const NetAddress& peer) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in in = to_sockaddr(peer);
    uint32_t ip = 0;
    if (connect(fd, reinterpret_cast<sockaddr*>(&in), sizeof in) == 0) {
        sockaddr_in local{};
        socklen_t size = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) == 0) ip = ntohl(local.sin_addr.s_addr);
    }
    close(fd);
    return ip;
}

void report_unbound(int port) {
    std::fprintf(stderr, "network: UDP port %d cannot be bound; playing without the network\n", port);
}

struct Peer {
    uint32_t ip;
    int port;  // -1: the base port
};

class LanNetwork : public DatagramNetwork {
public:
    LanNetwork(uint16_t base_port, std::vector<Peer> peers) : base_port_(base_port), peers_(std::move(peers)) {}

    std::unique_ptr<DatagramSocket> open(int channel) override {
        int wanted = base_port_ + channel;
        uint16_t port = uint16_t(wanted);
        int fd = wanted <= 65535 ? bind_socket({0, port}) : -1;
        if (fd < 0) {
            report_unbound(wanted);
            return nullptr;
        }
        std::vector<NetAddress> targets{{0xFFFFFFFF, port}};
        for (const Peer& peer : peers_)
            targets.push_back({peer.ip, uint16_t((peer.port < 0 ? base_port_ : peer.port) + channel)});
        NetAddress own{0, port};
        if (targets.size() > 1) own.ip = source_address_towards(targets[1]);
        return std::make_unique<UdpSocket>(fd, own, std::move(targets), local_addresses());
    }

private:
    uint16_t base_port_;
    std::vector<Peer> peers_;
};

class LoopbackNetwork : public DatagramNetwork {
public:
    explicit LoopbackNetwork(uint16_t base_port) : base_port_(base_port) {}

    std::unique_ptr<DatagramSocket> open(int channel) override {
        int wanted = base_port_ + PORTS_PER_LOOPBACK_CHANNEL * channel;
        if (wanted + PORTS_PER_LOOPBACK_CHANNEL - 1 > 65535) {
            report_unbound(wanted);
            return nullptr;
        }
        uint16_t first = uint16_t(wanted);
        std::vector<NetAddress> targets;
        for (int i = 0; i < PORTS_PER_LOOPBACK_CHANNEL; ++i) targets.push_back({LOOPBACK_IP, uint16_t(first + i)});
        for (const NetAddress& own : targets) {
            int fd = bind_socket(own);
            if (fd >= 0) return std::make_unique<UdpSocket>(fd, own, targets, std::vector<uint32_t>{LOOPBACK_IP});
        }
        report_unbound(first);
        return nullptr;
    }

private:
    uint16_t base_port_;
};

}  // namespace

std::unique_ptr<DatagramNetwork> make_lan_network(uint16_t base_port, const std::string& peers) {
    std::vector<Peer> list;
    size_t start = 0;
    while (start < peers.size()) {
        size_t comma = peers.find(',', start);
        std::string entry = peers.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma == std::string::npos ? peers.size() : comma + 1;
        if (entry.empty()) continue;
        std::string host = entry;
        int port = -1;
        if (size_t colon = entry.rfind(':'); colon != std::string::npos) {
            host = entry.substr(0, colon);
            char* end = nullptr;
            long value = std::strtol(entry.c_str() + colon + 1, &end, 10);
            if (*end || value < 1 || value > 65535) {
                std::fprintf(stderr, "VYR_NET_PEERS: %s has no valid port; skipped\n", entry.c_str());
                continue;
            }
            port = int(value);
        }
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
            std::fprintf(stderr, "VYR_NET_PEERS: %s cannot be resolved; skipped\n", host.c_str());
            continue;
        }
        list.push_back({ntohl(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr), port});
        freeaddrinfo(found);
    }
    return std::make_unique<LanNetwork>(base_port, std::move(list));
}

std::unique_ptr<DatagramNetwork> make_loopback_network(uint16_t base_port) {
    return std::make_unique<LoopbackNetwork>(base_port);
}

}  // namespace vyr::platform
