#include "platform/datagram/hub.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/timer/timer.h"

namespace vyr::platform {

namespace {

struct Arrival {
    uint64_t due;  // timer period from which it can be received
    uint64_t order;
    NetAddress from;
    std::vector<uint8_t> data;
};

}  // namespace

struct DatagramHub::State {
    uint16_t base_port;
    HubFaults faults;
    uint32_t random;
    uint64_t sent = 0;
    std::map<uint16_t, std::vector<Arrival>> inboxes;  // by port: the sockets open

    int draw(int range) {
        random = random * 1103515245u + 12345u;
        return range > 0 ? int((random >> 8) % uint32_t(range)) : 0;
    }

    int channel_of(uint16_t port) const { return (port - base_port) / PORTS_PER_LOOPBACK_CHANNEL; }

    void deliver(const NetAddress& from, uint16_t port, const uint8_t* data, size_t length) {
        auto inbox = inboxes.find(port);
        if (inbox == inboxes.end() || draw(100) < faults.drop_percent) return;
        int copies = draw(100) < faults.duplicate_percent ? 2 : 1;
        for (int i = 0; i < copies; ++i) {
            uint64_t due = timer_periods() + uint64_t(draw(faults.max_delay_periods + 1));
            inbox->second.push_back({due, sent++, from, std::vector<uint8_t>(data, data + length)});
        }
    }
};

namespace {

class HubSocket : public DatagramSocket {
public:
    HubSocket(std::shared_ptr<DatagramHub::State> state, NetAddress own) : state_(std::move(state)), own_(own) {
        state_->inboxes[own.port];
    }
    ~HubSocket() override { state_->inboxes.erase(own_.port); }

    NetAddress own_address() const override { return own_; }

    void send_to(const NetAddress& to, const uint8_t* data, size_t length) override {
        if (to.ip == LOOPBACK_IP) state_->deliver(own_, to.port, data, length);
    }

    void broadcast(const uint8_t* data, size_t length) override {
        std::vector<uint16_t> ports;
        for (const auto& [port, inbox] : state_->inboxes)
            if (state_->channel_of(port) == state_->channel_of(own_.port)) ports.push_back(port);
        for (uint16_t port : ports) state_->deliver(own_, port, data, length);
    }

    int receive(uint8_t* buffer, size_t capacity, NetAddress& from) override {
        std::vector<Arrival>& inbox = state_->inboxes[own_.port];
        uint64_t now = timer_periods();
        auto next = inbox.end();
        for (auto it = inbox.begin(); it != inbox.end(); ++it)
            if (it->due <= now && (next == inbox.end() || std::tie(it->due, it->order) < std::tie(next->due, next->order)))
                next = it;
        if (next == inbox.end()) return -1;
        from = next->from;
        int length = int(next->data.size());
        std::copy_n(next->data.begin(), std::min(next->data.size(), capacity), buffer);
        inbox.erase(next);
        return length;
    }

    bool is_real() const override { return false; }
    void wait_for_input(int) override {}

private:
    std::shared_ptr<DatagramHub::State> state_;
    NetAddress own_;
};

}  // namespace

DatagramHub::DatagramHub(uint16_t base_port) : state_(std::make_shared<State>()) {
    state_->base_port = base_port;
    state_->random = state_->faults.seed;
}

DatagramHub::~DatagramHub() = default;

std::unique_ptr<DatagramSocket> DatagramHub::open(int channel) {
    int first = state_->base_port + PORTS_PER_LOOPBACK_CHANNEL * channel;
    for (int port = first; port < first + PORTS_PER_LOOPBACK_CHANNEL && port <= 65535; ++port)
        if (!state_->inboxes.count(uint16_t(port))) return open_at({LOOPBACK_IP, uint16_t(port)});
    return nullptr;
}

std::unique_ptr<DatagramSocket> DatagramHub::open_at(NetAddress address) {
    if (address.ip != LOOPBACK_IP || state_->inboxes.count(address.port)) return nullptr;
    return std::make_unique<HubSocket>(state_, address);
}

void DatagramHub::set_faults(const HubFaults& faults) {
    state_->faults = faults;
    state_->random = faults.seed;
}

}  // namespace vyr::platform
