#include "library/network/transport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "library/debug/fatal.h"
#include "library/system/exit.h"
#include "library/system/timer.h"
#include "platform/datagram/datagram.h"
#include "platform/timer/timer.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/network/transport";
constexpr int RECEIVE_BUFFER_SIZE = 1024;
constexpr int LOWEST_SOCKET = 3072, HIGHEST_SOCKET = 32768;

int32_t winsock_started = 0;
int32_t socket_open = 0;
int32_t socket_number = NETWORK_BASE_SOCKET;
int32_t node_sorting = 1;
int32_t stop_registered = 0;
NetReceiveCallback receive_callback = nullptr;
NetPacket* broadcast_queue = nullptr;
NetPacket* receive_queue = nullptr;
std::unique_ptr<platform::DatagramSocket> net_socket;
std::unique_ptr<NetPacket> packet_pool[MAX_NET_PACKETS];
int32_t packets_in_use = 0;

void encode_address(const platform::NetAddress& from, uint8_t* address) {
    std::memset(address, 0, NET_ADDRESS_SIZE);
    for (int i = 0; i < 4; ++i) address[4 + i] = uint8_t(from.ip >> (24 - 8 * i));
    address[8] = uint8_t(from.port >> 8);
    address[9] = uint8_t(from.port);
}

platform::NetAddress decode_address(const uint8_t* address) {
    uint32_t ip = uint32_t(address[4]) << 24 | uint32_t(address[5]) << 16 | uint32_t(address[6]) << 8 | address[7];
    return {ip, uint16_t(address[8] << 8 | address[9])};
}

bool valid_node(int node) { return node >= 0 && node < MAX_NET_PLAYERS; }

void append(NetPacket*& queue, NetPacket* packet) {
    packet->next = nullptr;
    NetPacket** tail = &queue;
    while (*tail) tail = &(*tail)->next;
    *tail = packet;
}

void free_queue(NetPacket*& queue) {
    while (NetPacket* packet = queue) {
        queue = packet->next;
        free_net_packet(packet);
    }
}

void queue_packet(NetPacket*& queue, int node, const uint8_t* block, int length) {
    NetPacket* packet = alloc_net_packet();
    if (!packet) return;
    length = std::clamp(length, 0, NET_PACKET_DATA_SIZE);
    packet->node = node;
    std::memcpy(packet->data, block, size_t(length));
    packet->length = length;
    append(queue, packet);
}

void fill_slot(int node, const uint8_t* address) {
    NetNode& slot = net_nodes[node];
    slot.active = 1;
    slot.self = 0;
    std::memcpy(slot.address, address, NET_ADDRESS_SIZE);
    slot.name.clear();
    slot.send_queue = nullptr;
    slot.last_heard = read_coarse_clock();
}

int find_node(const uint8_t* address) {
    for (int node = 0; node < MAX_NET_PLAYERS; ++node)
        if (net_nodes[node].active && std::memcmp(net_nodes[node].address, address, NET_ADDRESS_SIZE) == 0) return node;
    return -1;
}

int find_free_slot() {
    for (int node = 0; node < MAX_NET_PLAYERS; ++node)
        if (!net_nodes[node].active) return node;
    return -1;
}

// The node with `address` after a sort, which may have moved it.
int sorted_index_of(const uint8_t* address) {
    sort_node_table();
    return find_node(address);
}

void receive_datagrams() {
    uint8_t buffer[RECEIVE_BUFFER_SIZE];
    platform::NetAddress from;
    int length;
    while ((length = net_socket->receive(buffer, sizeof buffer, from)) >= 0) {
        uint8_t address[NET_ADDRESS_SIZE];
        encode_address(from, address);
        if (from == net_socket->own_address() && note_own_address(address) < 0) continue;
        int node = find_or_add_node(address);
        if (node < 0) continue;  // a 17th machine has no player number to speak for
        NetPacket* packet = alloc_net_packet();
        if (!packet) continue;
        length = std::min(length, NET_PACKET_DATA_SIZE);
        std::memcpy(packet->data, buffer, size_t(length));
        packet->length = length;
        packet->node = node;
        packet->receive_time = read_coarse_clock();
        append(receive_queue, packet);
        touch_node(node);
    }
}

void send_queues() {
    for (NetNode& node : net_nodes) {
        platform::NetAddress to = decode_address(node.address);
        while (NetPacket* packet = node.send_queue) {
            node.send_queue = packet->next;
            net_socket->send_to(to, packet->data, size_t(packet->length));
            free_net_packet(packet);
        }
    }
    while (NetPacket* packet = broadcast_queue) {
        broadcast_queue = packet->next;
        net_socket->broadcast(packet->data, size_t(packet->length));
        free_net_packet(packet);
    }
}

}  // namespace

int32_t network_transport = 0;
NetNode net_nodes[MAX_NET_PLAYERS];

int start_winsock() {
    if (!winsock_started) winsock_started = platform::datagram_network() != nullptr;
    return winsock_started;
}

void start_network() {
    network_transport = 0;
    if (!start_winsock()) return;
    network_transport = 1;
    for (NetNode& node : net_nodes) node.active = 0;
    socket_open = 0;
    if (!stop_registered) {
        stop_registered = 1;
        add_exit_handler(stop_network);
    }
    init_network_transport();
}

void init_network_transport() {
    if (network_transport != 1) report_fatal_error("Initialise No Network", SOURCE, __LINE__);
    socket_open = open_network_socket(socket_number);
    if (!socket_open) network_transport = 0;
}

void set_network_channel(int channel) { socket_number = NETWORK_BASE_SOCKET + channel; }
int current_network_socket() { return socket_number; }
int network_socket_open() { return socket_open; }

int open_network_socket(int socket) {
    if (socket < LOWEST_SOCKET || socket > HIGHEST_SOCKET) report_fatal_error("IPX Socket number RESERVED", SOURCE, __LINE__);
    net_socket.reset();
    if (platform::DatagramNetwork* network = platform::datagram_network())
        net_socket = network->open(socket - NETWORK_BASE_SOCKET);
    return net_socket != nullptr;
}

void close_network_socket(int socket) {
    if (socket < LOWEST_SOCKET || socket > HIGHEST_SOCKET) report_fatal_error("IPX Socket number RESERVED", SOURCE, __LINE__);
    net_socket.reset();
    socket_open = 0;
}

void stop_network() {
    node_sorting = 0;
    for (int node = 0; node < MAX_NET_PLAYERS; ++node) remove_node(node);
    node_sorting = 1;
    free_queue(broadcast_queue);
    free_queue(receive_queue);
    if (socket_open) close_network_socket(socket_number);
}

void queue_broadcast(const uint8_t* block, int length) {
    if (network_transport) queue_packet(broadcast_queue, -1, block, length);
}

void queue_to_node(int node, const uint8_t* block, int length) {
    if (network_transport && valid_node(node) && net_nodes[node].active && !net_nodes[node].self)
        queue_packet(net_nodes[node].send_queue, node, block, length);
}

void send_to_all_nodes(const uint8_t* block, int length) {
    for (int node = 0; node < MAX_NET_PLAYERS; ++node) queue_to_node(node, block, length);
}

void poll_network() {
    if (network_transport != 1 || !net_socket) return;
    NetPacket* last = receive_queue;
    while (last && last->next) last = last->next;
    receive_datagrams();
    send_queues();
    bool received = last ? last->next != nullptr : receive_queue != nullptr;
    if (!received && net_socket->is_real() && platform::clock_mode() == platform::ClockMode::VIRTUAL) {
        net_socket->wait_for_input(10);
        platform::advance_virtual_clock(1);
    }
}

void set_receive_callback(NetReceiveCallback callback) { receive_callback = callback; }

void dispatch_received_packets() {
    while (receive_queue && receive_callback) {
        NetPacket* packet = receive_queue;
        receive_queue = packet->next;
        receive_callback(packet);
        free_net_packet(packet);
    }
}

int find_or_add_node(const uint8_t* address) {
    int node = find_node(address);
    if (node >= 0) {
        net_nodes[node].last_heard = read_coarse_clock();
        return sorted_index_of(address);
    }
    node = find_free_slot();
    if (node < 0) return -1;
    fill_slot(node, address);
    return sorted_index_of(address);
}

int note_own_address(const uint8_t* address) {
    for (NetNode& node : net_nodes) node.self = 0;
    int node = find_node(address);
    if (node < 0) {
        node = find_free_slot();
        if (node < 0) return -1;
        fill_slot(node, address);
    }
    net_nodes[node].self = 1;
    return sorted_index_of(address);
}

void remove_node(int node) {
    if (!valid_node(node) || !net_nodes[node].active) return;
    net_nodes[node].active = 0;
    net_nodes[node].self = 0;
    net_nodes[node].name.clear();
    free_queue(net_nodes[node].send_queue);
    sort_node_table();
}

void touch_node(int node) {
    if (valid_node(node)) net_nodes[node].last_heard = read_coarse_clock();
}

void drop_silent_nodes(int ticks) {
    int now = read_coarse_clock();
    for (int node = 0; node < MAX_NET_PLAYERS;) {
        if (net_nodes[node].active && now - net_nodes[node].last_heard > ticks) {
            remove_node(node);
            node = 0;  // the sort may have moved an unchecked node below this one
        } else {
            ++node;
        }
    }
}

const uint8_t* get_node_address(int node) { return valid_node(node) ? net_nodes[node].address : net_nodes[0].address; }

void set_node_name(int node, const char* text) {
    if (!valid_node(node) || !net_nodes[node].active || !text || !*text) return;
    net_nodes[node].name = text;
}

const char* get_node_name(int node) {
    static char digits[13];
    if (!valid_node(node)) return "";
    if (!net_nodes[node].name.empty()) return net_nodes[node].name.c_str();
    const uint8_t* number = net_nodes[node].address + 4;
    std::snprintf(digits, sizeof digits, "%02x%02x%02x%02x%02x%02x", number[0], number[1], number[2], number[3], number[4], number[5]);
    return digits;
}

int is_node_named(int node) { return valid_node(node) && !net_nodes[node].name.empty(); }
int is_node_active(int node) { return valid_node(node) && net_nodes[node].active; }

int find_own_node() {
    for (int node = 0; node < MAX_NET_PLAYERS; ++node)
        if (net_nodes[node].active && net_nodes[node].self) return node;
    return -1;
}

int count_other_nodes() {
    int count = 0;
    for (const NetNode& node : net_nodes) count += node.active && !node.self;
    return count;
}

void set_node_sorting(int on) { node_sorting = on; }

void sort_node_table() {
    if (!node_sorting) return;
    // Active records first, in address order; whole records move, queues and names with them.
    std::stable_sort(std::begin(net_nodes), std::end(net_nodes), [](const NetNode& a, const NetNode& b) {
        if (a.active != b.active) return a.active > b.active;
        return a.active && std::memcmp(a.address + 4, b.address + 4, 6) < 0;
    });
    for (int node = 0; node < MAX_NET_PLAYERS; ++node)
        for (NetPacket* packet = net_nodes[node].send_queue; packet; packet = packet->next) packet->node = node;
}

int broadcast_queue_busy() { return broadcast_queue != nullptr; }

NetPacket* alloc_net_packet() {
    for (std::unique_ptr<NetPacket>& slot : packet_pool) {
        if (!slot) slot = std::make_unique<NetPacket>();
        else if (slot->in_use) continue;
        slot->in_use = 1;
        slot->next = nullptr;
        ++packets_in_use;
        return slot.get();
    }
    return nullptr;
}

void free_net_packet(NetPacket* packet) {
    if (!packet || !packet->in_use) return;
    packet->in_use = 0;
    --packets_in_use;
}

int net_packets_in_use() { return packets_in_use; }

}  // namespace vyr
