// Two machines' serial ports joined by an in-memory pair, each with its frame layer on a clock
// that moves only while both wait on an empty line: a machine slow to be scheduled never times
// the other out, and a silent one does, whatever the load.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "platform/serial/memory_pair.h"

namespace vyr {

class PairClock {
public:
    int now() {
        std::lock_guard lock(mutex_);
        return time_;
    }
    // One party found its line empty: when every party waits and no byte is on the way, time
    // moves a unit; otherwise it waits for that, or for a byte.
    void wait(platform::MemorySerialEnd* ends[2], int mine) {
        std::unique_lock lock(mutex_);
        const int seen = time_;
        ++waiting_;
        for (;;) {
            if (time_ != seen) return;  // whoever moved it took every party's wait with it
            // Bytes on their way to this party, or to the other while it still polls.
            bool quiet = ends[1 - mine]->bytes_in_flight() == 0 &&
                         (parties_ == 1 || ends[mine]->bytes_in_flight() == 0);
            if (!quiet) {
                --waiting_;
                return;
            }
            if (waiting_ >= parties_) {
                ++time_;
                waiting_ = 0;
                changed_.notify_all();
                return;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(1));
        }
    }
    // A party that stops polling (its thread done) leaves; a test with one party runs alone.
    void set_parties(int parties) {
        std::lock_guard lock(mutex_);
        parties_ = parties;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int time_ = 0;
    int waiting_ = 0;
    int parties_ = 1;
};

class PairedSecureLink : public SecureLink {
public:
    PairedSecureLink(SerialPort& port, PairClock& clock, platform::MemorySerialEnd** ends, int mine)
        : SecureLink(port), clock_(clock), ends_(ends), mine_(mine) {}

protected:
    int now() override { return clock_.now(); }
    void wait_for_byte(bool) override { clock_.wait(ends_, mine_); }

private:
    PairClock& clock_;
    platform::MemorySerialEnd** ends_;
    int mine_;
};

// Port 0 opens end 0 of a fresh pair, port 1 end 1; the test keeps both ends to fault them.
// Without `open_both`, port 0 is left for the program's own serial port to open.
class SerialPair {
public:
    explicit SerialPair(bool open_both = true) {
        auto [a, b] = platform::make_serial_pair();
        ends[0] = a.get();
        ends[1] = b.get();
        pending()[0] = std::move(a);
        pending()[1] = std::move(b);
        previous_ = platform::set_serial_opener(&open_pending);
        if (open_both) ports[0].open(0, 5, SERIAL_DIRECT, IRQ_DEFAULT);
        ports[1].open(1, 5, SERIAL_DIRECT, IRQ_DEFAULT);
    }
    ~SerialPair() {
        ports[0].close();
        ports[1].close();
        platform::set_serial_opener(previous_);
    }
    SerialPair(const SerialPair&) = delete;
    SerialPair& operator=(const SerialPair&) = delete;

    platform::MemorySerialEnd* ends[2] = {};
    SerialPort ports[2];
    PairClock clock;
    PairedSecureLink links[2] = {{ports[0], clock, ends, 0}, {ports[1], clock, ends, 1}};

private:
    static std::unique_ptr<platform::MemorySerialEnd>* pending() {
        static std::unique_ptr<platform::MemorySerialEnd> ends[2];
        return ends;
    }
    static std::unique_ptr<platform::SerialLine> open_pending(int port, int) {
        return port == 0 || port == 1 ? std::move(pending()[port]) : nullptr;
    }
    platform::SerialOpener previous_ = nullptr;
};

}  // namespace vyr
