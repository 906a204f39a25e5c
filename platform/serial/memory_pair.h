// Two serial lines joined back to back in memory, for tests: what one end writes the other reads,
// through a wire that can drop, flip or hold back bytes, lower data-set-ready or be pulled.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "platform/serial/serial_line.h"

namespace vyr::platform {

class SerialWire;

// A fault on the bytes one end sends, counted from the byte written next (0 is that byte).
// DELAY holds the byte, and all sent behind it, until the other end has polled the empty line a
// given number of times.
enum class WireFault { DROP, FLIP, DELAY };

// One end of the pair. Ends may be used from two threads at once.
class MemorySerialEnd : public SerialLine {
public:
    MemorySerialEnd(std::shared_ptr<SerialWire> wire, int side) : wire_(std::move(wire)), side_(side) {}
    void write_byte(uint8_t byte) override;
    int read_byte() override;
    bool data_set_ready() override;
    bool reaches_another_process() const override { return false; }

    // The byte `index` from now that this end sends is dropped, flipped (all bits) or delayed by
    // `empty_polls` of the other end.
    void add_fault(WireFault fault, int index, int empty_polls = 0);
    // Data-set-ready as this end's modem reports it.
    void set_data_set_ready(bool ready);
    // Pulled: nothing crosses in either direction and data-set-ready drops at both ends.
    void pull_cable();
    // Bytes sent by this end, not delayed, and not yet read by the other.
    int bytes_in_flight();

private:
    std::shared_ptr<SerialWire> wire_;
    int side_;
};

std::pair<std::unique_ptr<MemorySerialEnd>, std::unique_ptr<MemorySerialEnd>> make_serial_pair();

}  // namespace vyr::platform
