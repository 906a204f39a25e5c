// Two machines on the two-player screen joined by a serial cable: a relay in the test carries
// the bytes between the pseudo-terminals the two runs open, or cuts the cable.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/serial/serial_line.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/vyr_pair.h"

namespace vyr::e2e {
namespace {

const std::pair<std::string, std::string> RETURNING_PLAYER{"prefs.cfg", "Quick Start Game Runs=1\r\n"};

// Combat, Two Player, "Start Game"; the messages shown once the link had time to answer or not.
const std::string PRESS_START_GAME = "60 click 500 215\n200 click 500 360\n350 click 580 410\n"
                                     "1100 capture link.ppm\n1150 key 0x1d down\n1152 key 0x10 down\n";

// Copies what each end sends to the other, or nothing while the cable is cut.
class CableRelay {
public:
    CableRelay(const ScratchDirectory& dir, bool cut) : cut_(cut) {
        ends_[0] = platform::open_serial_target("relay", "pty:" + (dir / "alpha_port").string(), 38400);
        ends_[1] = platform::open_serial_target("relay", "pty:" + (dir / "bravo_port").string(), 38400);
        pump_ = std::thread([this] {
            while (!stop_) {
                bool moved = false;
                for (int side = 0; side < 2; ++side)
                    for (int byte; (byte = ends_[side]->read_byte()) >= 0; moved = true)
                        if (!cut_) ends_[1 - side]->write_byte(static_cast<uint8_t>(byte));
                if (!moved) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~CableRelay() {
        stop_ = true;
        pump_.join();
    }
    bool open() const { return ends_[0] && ends_[1]; }

private:
    std::unique_ptr<platform::SerialLine> ends_[2];
    bool cut_;
    std::atomic<bool> stop_{false};
    std::thread pump_;
};

// The message lines that hold text, from the top of the area.
int message_lines(const Capture& c) {
    int lines = 0;
    for (int line = 0; line < 12; ++line) {
        bool inked = false;
        for (int y = 203 + 11 * line; y < 212 + 11 * line && !inked; ++y)
            for (int x = 12; x < 300 && !inked; ++x) {
                const auto pixel = c.at(x, y);
                inked = pixel[0] + pixel[1] + pixel[2] > 300;
            }
        if (inked) lines = line + 1;
    }
    return lines;
}

TEST(TwoPlayerLink, BothOnPlayer1LinkAndThenShowTheMismatchAndACutCableTimesOut) {
    struct Case {
        const char* name;
        bool cut;
        int lines;  // "Testing Link" .. "Error, both players set to Red Leader!", or .. the reset
    };
    for (const Case& c : {Case{"linked", false, 5}, Case{"cut", true, 3}}) {
        ScratchDirectory dir;
        CableRelay relay(dir, c.cut);
        ASSERT_TRUE(relay.open());
        const PairedRun alpha{PRESS_START_GAME, {"VYR_COM2=" + (dir / "alpha_port").string()}, {RETURNING_PLAYER}};
        const PairedRun bravo{PRESS_START_GAME, {"VYR_COM2=" + (dir / "bravo_port").string()}, {RETURNING_PLAYER}};
        VyrPair pair(dir, c.name, {alpha, bravo});
        const auto results = pair.wait();
        for (int i = 0; i < 2; ++i) {
            const PairedResult& run = results[size_t(i)];
            EXPECT_EQ(run.exit_code, 16) << c.name << run.output;
            ASSERT_EQ(run.captures.size(), 1u) << c.name;
            const auto capture = pair.home(i) / run.captures[0];
            EXPECT_EQ(message_lines(read_capture(capture)), c.lines) << c.name << " " << capture;
        }
    }
}

}  // namespace
}  // namespace vyr::e2e
