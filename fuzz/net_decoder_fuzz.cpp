// libFuzzer: any datagram either becomes a message whose fields are in range, or is dropped and
// counted; a message written back reads the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "source/sknet/net_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vyr;
    NetPacket packet = {};
    packet.length = int32_t(size < sizeof packet.data ? size : sizeof packet.data);
    std::memcpy(packet.data, data, size_t(packet.length));
    packet.node = int32_t(size % MAX_NET_PLAYERS);
    int32_t dropped = 0;
    for (int32_t count : net_drop_counts) dropped += count;
    NetMessage message;
    if (!decode_net_message(packet, message)) {
        int32_t after = 0;
        for (int32_t count : net_drop_counts) after += count;
        if (after != dropped + 1) std::abort();
        return 0;
    }
    if (message.sender < -1 || message.sender >= MAX_NET_PLAYERS || std::strlen(message.name) > NET_NAME_LENGTH)
        std::abort();
    uint8_t block[NET_MESSAGE_SIZE];
    NetPacket again = {};
    again.length = encode_net_message(message, block);
    std::memcpy(again.data, block, sizeof block);
    again.node = packet.node;
    NetMessage read;
    if (!decode_net_message(again, read) || read.code != message.code || read.sender != message.sender ||
        std::strcmp(read.name, message.name) != 0 || read.team != message.team ||
        read.aircraft_object != message.aircraft_object)
        std::abort();
    return 0;
}
