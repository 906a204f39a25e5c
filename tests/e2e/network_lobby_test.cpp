// Two machines meet in the network game's lobby over UDP on 127.0.0.1: each lists both, the
// first with the server's mark; a new name reaches the other list; a machine that quits leaves
// the other's list once it has been silent for 5 s.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture.h"
#include "vyr_pair.h"

namespace vyr::e2e {
namespace {

constexpr int LIST_X0 = 40, LIST_X1 = 379, FIRST_LINE_Y = 75, LINE_STEP = 18;
constexpr int CAPTURES = 40;  // ALPHA's, one a second from its lobby on

// Binds 127.0.0.1:port; -1 when it is taken.
int bind_loopback(int port) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    in.sin_port = htons(uint16_t(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&in), sizeof in) == 0) return fd;
    close(fd);
    return -1;
}

// The first block of 16 ports no one holds.
int free_port_block() {
    for (int base = 47600 + 16 * (getpid() % 64); base < 64000; base += 16) {
        std::vector<int> held;
        for (int port = base; port < base + 16; ++port)
            if (int fd = bind_loopback(port); fd >= 0) held.push_back(fd);
        for (int fd : held) close(fd);
        if (held.size() == 16) return base;
    }
    return -1;
}

// A line of the player list, as pixels.
std::vector<uint8_t> list_line(const Capture& capture, int line) {
    std::vector<uint8_t> pixels;
    for (int y = FIRST_LINE_Y + LINE_STEP * line; y < FIRST_LINE_Y + LINE_STEP * (line + 1); ++y)
        for (int x = LIST_X0; x <= LIST_X1; ++x)
            for (int c : capture.at(x, y)) pixels.push_back(uint8_t(c));
    return pixels;
}

bool is_blank(const std::vector<uint8_t>& line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] != line[i % 3]) return false;
    return true;
}

const std::string INTO_LOBBY = "60 click 500 215\n200 click 500 265\n";  // Combat, then Network
std::string quit_at(int t) { return std::to_string(t) + " key 0x1d down\n" + std::to_string(t + 2) + " key 0x10 down\n"; }
std::string settings(const char* name) {
    return std::string("Quick Start Game Runs=1\r\nNetwork Name=") + name + "\r\n";
}
std::string key(int t, int code) {
    char lines[64];
    std::snprintf(lines, sizeof lines, "%d key 0x%02x down\n%d key 0x%02x up\n", t, code, t + 2, code);
    return lines;
}

TEST(NetworkLobby, TwoMachinesListEachOtherShareANewNameAndForgetOneThatQuit) {
    const int base = free_port_block();
    ASSERT_GT(base, 0);
    const std::vector<std::string> environment = {"VYR_NET=loopback", "VYR_NET_PORT=" + std::to_string(base)};
    std::string alpha = INTO_LOBBY;
    for (int i = 0; i < CAPTURES; ++i)
        alpha += std::to_string(300 + 100 * i) + " capture a" + std::to_string(100 + i) + ".ppm\n";
    alpha += quit_at(300 + 100 * CAPTURES);
    // BRAVO, in its lobby, rubs out its name, types zulu and Enter, and quits.
    std::string bravo = INTO_LOBBY + "500 capture met.ppm\n600 click 500 53\n";
    for (int i = 0; i < 5; ++i) bravo += key(610 + 10 * i, 0x0e);
    bravo += key(670, 0x2c) + key(680, 0x16) + key(690, 0x26) + key(700, 0x16) + key(720, 0x1c) +
             "900 capture renamed.ppm\n" + quit_at(1000);
    ScratchDirectory dir;
    VyrPair pair(dir, "lobby",
                 {PairedRun{alpha, environment, {{"prefs.cfg", settings("ALPHA")}}},
                  PairedRun{bravo, environment, {{"prefs.cfg", settings("BRAVO")}}, [base] {
                                int fd = bind_loopback(base);
                                if (fd >= 0) close(fd);
                                return fd < 0;  // ALPHA holds the channel's first port
                            }}});
    std::array<PairedResult, 2> runs = pair.wait(std::chrono::seconds(180));
    for (pid_t id : pair.ids()) EXPECT_FALSE(process_group_alive(id));
    ASSERT_EQ(runs[0].exit_code, 16) << runs[0].output;
    ASSERT_EQ(runs[1].exit_code, 16) << runs[1].output;

    const Capture met = read_capture(pair.home(1) / "met.ppm");
    const Capture renamed = read_capture(pair.home(1) / "renamed.ppm");
    ASSERT_FALSE(is_blank(list_line(met, 0)));
    ASSERT_FALSE(is_blank(list_line(met, 1)));
    EXPECT_TRUE(is_blank(list_line(met, 2)));
    EXPECT_EQ(list_line(renamed, 0), list_line(met, 0));
    ASSERT_NE(list_line(renamed, 1), list_line(met, 1)) << "BRAVO's own line shows its new name";
    // The server's mark: ALPHA's line carries amber the others lack.
    auto amber = [](const Capture& c, int line) {
        int count = 0;
        for (int y = FIRST_LINE_Y + LINE_STEP * line; y < FIRST_LINE_Y + LINE_STEP * (line + 1); ++y)
            for (int x = 56; x < 72; ++x) count += c.at(x, y)[0] > 180 && c.at(x, y)[2] < 120;
        return count;
    };
    EXPECT_GT(amber(met, 0), 10);
    EXPECT_EQ(amber(met, 1), 0);

    // ALPHA's list goes through BRAVO's three states in order, each seen at least once.
    enum Stage { BRAVO_LISTED, ZULU_LISTED, GONE } stage = BRAVO_LISTED;
    int seen[3] = {};
    for (int i = 0; i < CAPTURES; ++i) {
        const Capture c = read_capture(pair.home(0) / ("a" + std::to_string(100 + i) + ".ppm"));
        if (is_blank(list_line(c, 0)) && seen[BRAVO_LISTED] + seen[ZULU_LISTED] == 0) continue;  // fading in
        ASSERT_EQ(list_line(c, 0), list_line(met, 0)) << "ALPHA first, as BRAVO lists it, at capture " << i;
        const std::vector<uint8_t> second = list_line(c, 1);
        if (stage <= BRAVO_LISTED && second == list_line(met, 1)) {
            stage = BRAVO_LISTED;
        } else if (stage <= ZULU_LISTED && second == list_line(renamed, 1)) {
            stage = ZULU_LISTED;
        } else if (is_blank(second) && seen[BRAVO_LISTED] + seen[ZULU_LISTED] > 0) {
            stage = GONE;
        } else if (seen[BRAVO_LISTED] + seen[ZULU_LISTED] > 0) {
            ADD_FAILURE() << "capture " << i << " shows an unexpected second line";
            continue;
        } else {
            continue;  // before BRAVO's name came: no line yet, or its slot still connecting
        }
        ++seen[stage];
    }
    EXPECT_GT(seen[BRAVO_LISTED], 0);
    EXPECT_GT(seen[ZULU_LISTED], 0);
    EXPECT_GT(seen[GONE], 0);
    EXPECT_GE(seen[ZULU_LISTED], 4) << "after its quit, BRAVO stays listed until 5 s of silence";
}

}  // namespace
}  // namespace vyr::e2e
