// Reliable frames over the serial port: numbered 0..9, summed, kept for resending, and fetched
// again from the first one missing after a corrupt or lost byte. Request/response shaped: the
// receiver always names the payload length it expects, and nothing is buffered across calls.
#pragma once

#include <cstdint>

namespace vyr {

class SerialPort;

constexpr int MAX_PACKET_SIZE = 260;  // header, payload and sum: payloads are 1..255 bytes
constexpr int SECURE_SEQUENCES = 10;
constexpr int SECURE_MAX_ERRORS = 10;
constexpr int SECURE_OK = 256;
constexpr int SECURE_TOO_MANY_ERRORS = 257;
constexpr int SECURE_NO_CARRIER = 258;
constexpr int SECURE_TIMEOUT_NORMAL = 200;  // per byte, in 1/200 s
constexpr int SECURE_TIMEOUT_LONG = 2000;

constexpr uint8_t SECURE_FRAME_START = 'g';
constexpr uint8_t SECURE_RESEND_REQUEST = 'f';
constexpr uint8_t SECURE_RESEND_ANSWER = 'h';

// One end's frame layer over one port; the program's own is `secure_link`.
class SecureLink {
public:
    explicit SecureLink(SerialPort& port) : port_(port) {}
    virtual ~SecureLink() = default;

    // Kept frames and both sequences zeroed, the normal time-out.
    void reset();
    // Sends `length` (1..255) bytes as the next frame; a length outside that is fatal.
    void tx(const uint8_t* payload, int length);
    // Waits for the next frame of exactly `length` payload bytes and stores it in `buffer`:
    // SECURE_OK, SECURE_TOO_MANY_ERRORS or SECURE_NO_CARRIER (the modem's carrier gone, at once).
    // `yield` lets the other cooperative threads run between polls.
    int rx(uint8_t* buffer, int length, bool yield);
    void request_resend();
    // The kept frames from `sequence` up to the next to send, after 'h' and `sequence`.
    void resend_frames(int sequence);
    void set_timeout(int ticks) { timeout_ = ticks; }

    int send_sequence() const { return send_sequence_; }
    int receive_sequence() const { return receive_sequence_; }
    int timeout() const { return timeout_; }

protected:
    // The clock in 1/200 s, and the pause after a poll that found no byte; tests run their own.
    virtual int now();
    virtual void wait_for_byte(bool yield);

private:
    SerialPort& port_;
    uint8_t kept_[SECURE_SEQUENCES][MAX_PACKET_SIZE] = {};
    int kept_length_[SECURE_SEQUENCES] = {};
    int send_sequence_ = 0;
    int receive_sequence_ = 0;
    int timeout_ = SECURE_TIMEOUT_NORMAL;
};

extern SecureLink secure_link;

void reset_secure();
void tx_secure(const uint8_t* payload, int length);
int rx_secure(uint8_t* buffer, int length, bool yield);
void request_resend();
void resend_frames(int sequence);

}  // namespace vyr
