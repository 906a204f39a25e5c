// The set-up exchange over frames another machine sent: whatever their bytes, in whichever state,
// the exchange gives the link up or goes on, and nothing it reads indexes out of its tables.
#include <cstddef>
#include <cstdint>

#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "platform/serial/memory_pair.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/net_screens.h"
#include "source/sknet/setup_exchange.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {

// What the exchange calls outside itself: the link's reset stops it.
int32_t modem_state = MODEM_IDLE;
void reset_link() { modem_state = MODEM_IDLE; }
void show_start_game_button() {}
void show_two_player_choices() {}
void check_network_take_off() {}

}  // namespace vyr

namespace {

using namespace vyr;

// Port 0 is this machine's end of the cable, port 1 the other machine's.
std::unique_ptr<platform::MemorySerialEnd> ends[2];
std::unique_ptr<platform::SerialLine> open_end(int port, int) {
    return port == 0 || port == 1 ? std::move(ends[port]) : nullptr;
}

}  // namespace

// Bytes: the starting state, the game type, the position, then frames, each a length 1..7 and
// its payload.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    auto [near, far] = platform::make_serial_pair();
    ends[0] = std::move(near);
    ends[1] = std::move(far);
    platform::set_serial_opener(&open_end);
    two_player_connect_type = CONNECT_DIRECT;
    two_player_choices = TwoPlayerChoices{};
    two_player_choices.com_port = 0;
    two_player_game_type = 1 + data[1] % 3;
    two_player_choices.position = data[2] % 2;
    link_position = two_player_choices.position + 1;
    start_link_test();
    exchange_state = data[0] % 10;
    SerialPort other_port;
    other_port.open(1, 5, SERIAL_DIRECT, IRQ_DEFAULT);
    SecureLink other(other_port);
    for (size_t i = 3; i < size;) {
        const int length = 1 + data[i++] % 7;
        uint8_t payload[7] = {};
        for (int k = 0; k < length && i < size; ++k) payload[k] = data[i++];
        // The other machine's frames, as its own layer numbers and sums them.
        other.tx(payload, length);
    }
    for (int step = 0; step < 64 && modem_state == MODEM_EXCHANGE; ++step) exchange_menu_data();
    close_serial_port();
    return 0;
}
