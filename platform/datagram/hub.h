// An in-process network for tests: every socket lives in this process at 127.0.0.1, ports laid
// out as the loopback backend's, and delivery follows the virtual clock, so a run repeats to the
// tick. Faults are drawn from a seeded generator: a datagram may be dropped, duplicated or held
// back for some periods (datagrams held for different times arrive reordered).
#pragma once

#include <memory>

#include "platform/datagram/datagram.h"

namespace vyr::platform {

struct HubFaults {
    int drop_percent = 0;
    int duplicate_percent = 0;
    int max_delay_periods = 0;  // each copy is held 0..this many timer periods
    uint32_t seed = 1;
};

class DatagramHub : public DatagramNetwork {
public:
    explicit DatagramHub(uint16_t base_port = DEFAULT_NET_PORT);
    ~DatagramHub() override;
    // The first free port of the channel's 16; null when all are taken.
    std::unique_ptr<DatagramSocket> open(int channel) override;
    // A socket at a chosen address (a scripted peer); null when it is taken.
    std::unique_ptr<DatagramSocket> open_at(NetAddress address);
    void set_faults(const HubFaults& faults);

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace vyr::platform
