#include "platform/datagram/datagram.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/datagram/udp.h"

namespace vyr::platform {

namespace {

std::unique_ptr<DatagramNetwork> network;
bool selected = false;

uint16_t base_port() {
    const char* text = std::getenv("VYR_NET_PORT");
    if (!text || !*text) return DEFAULT_NET_PORT;
    char* end = nullptr;
    long port = std::strtol(text, &end, 10);
    if (*end || port < 1 || port > 65535) {
        std::fprintf(stderr, "VYR_NET_PORT=%s is not a port; using %d\n", text, DEFAULT_NET_PORT);
        return DEFAULT_NET_PORT;
    }
    return uint16_t(port);
}

std::unique_ptr<DatagramNetwork> select_network() {
    const char* kind = std::getenv("VYR_NET");
    if (!kind || !*kind || std::strcmp(kind, "lan") == 0) {
        const char* peers = std::getenv("VYR_NET_PEERS");
        return make_lan_network(base_port(), peers ? peers : "");
    }
    if (std::strcmp(kind, "loopback") == 0) return make_loopback_network(base_port());
    if (std::strcmp(kind, "off") != 0)
        std::fprintf(stderr, "VYR_NET=%s is not lan, loopback or off; the network is off\n", kind);
    return nullptr;
}

}  // namespace

DatagramNetwork* datagram_network() {
    if (!selected) {
        network = select_network();
        selected = true;
    }
    return network.get();
}

void install_datagram_network(std::unique_ptr<DatagramNetwork> installed) {
    network = std::move(installed);
    selected = true;
}

}  // namespace vyr::platform
