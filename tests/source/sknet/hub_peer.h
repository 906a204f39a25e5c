// This machine on an in-process hub at 127.0.0.1:4661 with another machine's socket at 4670,
// through which a test speaks and listens. A fixture derives from it; it lives as long as the test.
#pragma once

#include <memory>
#include <vector>

#include "platform/datagram/hub.h"
#include "platform/timer/timer.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_lobby.h"
#include "source/sknet/net_players.h"

namespace vyr {

class HubPeer {
public:
    HubPeer() {
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        platform::start_periodic_timer(nullptr);
        auto owned = std::make_unique<platform::DatagramHub>();
        platform::DatagramHub* hub = owned.get();
        platform::install_datagram_network(std::move(owned));
        peer = hub->open_at({platform::LOOPBACK_IP, 4670});
        start_network();
        set_receive_callback(receive_net_message);
    }
    ~HubPeer() {
        network_active = 0;
        stop_network();
        peer.reset();
        platform::install_datagram_network(nullptr);
        platform::stop_periodic_timer();
    }
    HubPeer(const HubPeer&) = delete;
    HubPeer& operator=(const HubPeer&) = delete;

    // Whatever was sent on either side has arrived and been dispatched.
    static void settle() {
        for (int pass = 0; pass < 4; ++pass) {
            poll_network();
            dispatch_received_packets();
        }
    }
    // What the other machine received, decoded.
    std::vector<NetMessage> peer_heard() {
        std::vector<NetMessage> heard;
        NetPacket packet = {};
        platform::NetAddress from;
        while ((packet.length = peer->receive(packet.data, sizeof packet.data, from)) >= 0) {
            NetMessage message;
            if (from != peer->own_address() && decode_net_message(packet, message)) heard.push_back(message);
        }
        return heard;
    }

    std::unique_ptr<platform::DatagramSocket> peer;
};

}  // namespace vyr
