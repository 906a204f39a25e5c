// The network transport: up to 16 machines on one channel, a table of their nodes kept sorted by
// address so every machine numbers every player alike (the node index is the player number), a
// pool of packets, one send queue per node, a broadcast queue and a receive queue. Senders only
// queue; polling sends and receives, and dispatching hands each received packet to the one
// receive callback. Cooperative threads only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vyr {

constexpr int MAX_NET_PLAYERS = 16;
constexpr int MAX_NET_PACKETS = 500;
constexpr int NET_PACKET_DATA_SIZE = 548;
constexpr int NET_ADDRESS_SIZE = 10;  // network number (4 bytes, always 0), node number (6 bytes)
constexpr int NETWORK_BASE_SOCKET = 4661;
constexpr int NET_DROP_TICKS = 1000;  // 5 s of silence ends a node

struct NetPacket {
    NetPacket* next;
    int32_t in_use;
    int32_t node;  // -1 on the broadcast queue
    uint8_t data[NET_PACKET_DATA_SIZE];
    int32_t length;  // bytes of data that arrived or are to go, at most the data's size
    int32_t receive_time;
};

// The node number is the UDP sender's IPv4 address then port, big-endian, so the table orders by
// address, then port.
struct NetNode {
    int32_t active;
    int32_t self;
    uint8_t address[NET_ADDRESS_SIZE];
    std::string name;  // empty while unnamed
    NetPacket* send_queue;
    int32_t last_heard;  // program clock
};

// 0 none, 1 open: the datagram network is there (not "off").
extern int32_t network_transport;

// 1 when a datagram network is available (not VYR_NET=off).
int start_winsock();
// Opens the current channel's socket when a network is available; no socket (and transport 0)
// when its port cannot be bound.
void start_network();
void init_network_transport();
// Socket number := 4661 + channel.
void set_network_channel(int channel);
int current_network_socket();
// A socket number outside 3072..32768 is fatal.
int open_network_socket(int socket);
void close_network_socket(int socket);
// Removes every node, closes the socket; also the exit handler.
void stop_network();
int network_socket_open();

// Copies of the block are queued; a full pool or no transport loses them quietly.
void queue_broadcast(const uint8_t* block, int length);
void queue_to_node(int node, const uint8_t* block, int length);
void send_to_all_nodes(const uint8_t* block, int length);

// Receives every waiting datagram (a 17th machine's are dropped), then sends the queues. Under
// the virtual clock a poll of a real socket that finds nothing waits up to one real period for
// input and then runs one period, so silence means real silence.
void poll_network();

using NetReceiveCallback = void (*)(NetPacket* packet);
void set_receive_callback(NetReceiveCallback callback);
// Hands the received packets to the callback, including any that arrive while it runs.
void dispatch_received_packets();

// Node index, or -1 when the table is full.
int find_or_add_node(const uint8_t* address);
int note_own_address(const uint8_t* address);
void remove_node(int node);
void touch_node(int node);
void drop_silent_nodes(int ticks);
const uint8_t* get_node_address(int node);
void set_node_name(int node, const char* text);
// The name, or the node number as 12 hexadecimal digits while unnamed.
const char* get_node_name(int node);
int is_node_named(int node);
int is_node_active(int node);
int find_own_node();
int count_other_nodes();
// Off while a flight must keep player numbers fixed.
void set_node_sorting(int on);
void sort_node_table();
int broadcast_queue_busy();

NetPacket* alloc_net_packet();
void free_net_packet(NetPacket* packet);
int net_packets_in_use();

// The node table, for tests and the screens.
extern NetNode net_nodes[MAX_NET_PLAYERS];

}  // namespace vyr
