// Two machines on the two-player screen joined by a serial cable: a relay in the test carries
// the bytes between the ends the two runs open (pseudo-terminals, or TCP on 127.0.0.1), or cuts
// the cable as the link test begins.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/serial/serial_line.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/vyr_pair.h"
#include "tests/support/loopback_port.h"

namespace vyr::e2e {
namespace {

const std::pair<std::string, std::string> RETURNING_PLAYER{"prefs.cfg", "Quick Start Game Runs=1\r\n"};

// Combat, Two Player, "Start Game" on "Player 1"; the messages shown once the link had time to
// answer or not.
const std::string PRESS_START_GAME = "60 click 500 215\n200 click 500 360\n350 click 580 410\n"
                                     "1100 capture link.ppm\n";
std::string quit_at(int tick) {
    return std::to_string(tick) + " key 0x1d down\n" + std::to_string(tick + 2) + " key 0x10 down\n";
}

// Copies what each end sends to the other; a cut cable carries nothing from the first byte on.
class CableRelay {
public:
    // `ends`: what each run's COM2 names, and what the relay opens for it.
    struct End {
        std::string com2, relay;
    };
    CableRelay(const std::array<End, 2>& ends, bool cut) : cut_(cut) {
        for (int side = 0; side < 2; ++side) ends_[side] = platform::open_serial_target("relay", ends[side].relay, 38400);
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

std::array<CableRelay::End, 2> pty_ends(const ScratchDirectory& dir) {
    const std::string alpha = (dir / "alpha_port").string(), bravo = (dir / "bravo_port").string();
    return {CableRelay::End{alpha, "pty:" + alpha}, CableRelay::End{bravo, "pty:" + bravo}};
}

std::array<CableRelay::End, 2> tcp_ends() {
    std::array<CableRelay::End, 2> ends;
    for (auto& end : ends) {
        const std::string port = "127.0.0.1:" + std::to_string(free_loopback_port());
        end = {"tcp:" + port, "tcp-listen:" + port};
    }
    return ends;
}

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
        bool tcp, cut;
        int lines;  // "Testing Link" .. "Error, both players set to Red Leader!", or .. the reset
    };
    const Case cases[] = {
        {"linked", false, false, 5},
        {"cut", false, true, 3},
        {"tcp-cut", true, true, 3},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        const auto ends = c.tcp ? tcp_ends() : pty_ends(dir);
        CableRelay relay(ends, c.cut);
        ASSERT_TRUE(relay.open()) << c.name;
        std::array<PairedRun, 2> runs;
        for (int i = 0; i < 2; ++i)
            runs[size_t(i)] = PairedRun{PRESS_START_GAME + quit_at(1150), {"VYR_COM2=" + ends[size_t(i)].com2},
                                        {RETURNING_PLAYER}};
        VyrPair pair(dir, c.name, runs);
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
