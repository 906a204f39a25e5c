#include "platform/serial/memory_pair.h"

#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace vyr::platform {

class SerialWire {
public:
    std::mutex mutex;
    std::deque<uint8_t> towards[2];  // bytes on their way to side 0 and to side 1
    std::vector<uint8_t> held[2];     // bytes side 0 and side 1 sent that are delayed
    uint64_t release_at[2] = {};      // the other side's empty polls that free them
    uint64_t empty_polls[2] = {};
    struct Fault {
        WireFault kind;
        int empty_polls;
    };
    std::map<uint64_t, Fault> faults[2];  // by the sender's byte count
    uint64_t sent[2] = {};
    bool ready[2] = {true, true};
    bool pulled = false;
};

void MemorySerialEnd::write_byte(uint8_t byte) {
    std::lock_guard lock(wire_->mutex);
    uint64_t index = wire_->sent[side_]++;
    if (wire_->pulled) return;
    auto fault = wire_->faults[side_].find(index);
    if (fault == wire_->faults[side_].end()) {
        if (!wire_->held[side_].empty())
            wire_->held[side_].push_back(byte);  // keeps the order behind held bytes
        else
            wire_->towards[1 - side_].push_back(byte);
        return;
    }
    SerialWire::Fault kind = fault->second;
    wire_->faults[side_].erase(fault);
    if (kind.kind == WireFault::FLIP) {
        wire_->towards[1 - side_].push_back(static_cast<uint8_t>(~byte));
    } else if (kind.kind == WireFault::DELAY) {
        if (wire_->held[side_].empty())
            wire_->release_at[side_] = wire_->empty_polls[1 - side_] + static_cast<uint64_t>(kind.empty_polls);
        wire_->held[side_].push_back(byte);
    }
}

int MemorySerialEnd::read_byte() {
    std::lock_guard lock(wire_->mutex);
    auto& queue = wire_->towards[side_];
    if (wire_->pulled) return -1;
    auto& held = wire_->held[1 - side_];
    if (queue.empty() && !held.empty() && wire_->empty_polls[side_] >= wire_->release_at[1 - side_]) {
        queue.insert(queue.end(), held.begin(), held.end());
        held.clear();
    }
    if (queue.empty()) {
        ++wire_->empty_polls[side_];
        return -1;
    }
    int byte = queue.front();
    queue.pop_front();
    return byte;
}

bool MemorySerialEnd::data_set_ready() {
    std::lock_guard lock(wire_->mutex);
    return wire_->ready[side_] && !wire_->pulled;
}

void MemorySerialEnd::add_fault(WireFault fault, int index, int empty_polls) {
    std::lock_guard lock(wire_->mutex);
    wire_->faults[side_][wire_->sent[side_] + static_cast<uint64_t>(index)] = {fault, empty_polls};
}

void MemorySerialEnd::set_data_set_ready(bool ready) {
    std::lock_guard lock(wire_->mutex);
    wire_->ready[side_] = ready;
}

void MemorySerialEnd::pull_cable() {
    std::lock_guard lock(wire_->mutex);
    wire_->pulled = true;
    for (int side = 0; side < 2; ++side) {
        wire_->towards[side].clear();
        wire_->held[side].clear();
    }
}

int MemorySerialEnd::bytes_in_flight() {
    std::lock_guard lock(wire_->mutex);
    return static_cast<int>(wire_->towards[1 - side_].size());
}

std::pair<std::unique_ptr<MemorySerialEnd>, std::unique_ptr<MemorySerialEnd>> make_serial_pair() {
    auto wire = std::make_shared<SerialWire>();
    return {std::make_unique<MemorySerialEnd>(wire, 0), std::make_unique<MemorySerialEnd>(wire, 1)};
}

}  // namespace vyr::platform
