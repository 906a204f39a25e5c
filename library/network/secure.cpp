#include "library/network/secure.h"

#include <cstring>

#include "library/debug/fatal.h"
#include "library/network/serial_port.h"
#include "library/system/event.h"
#include "library/system/thread.h"
#include "library/system/timer.h"

namespace vyr {

SecureLink secure_link(serial_port);

namespace {

enum RxState {
    RX_IDLE,
    RX_SEQUENCE,
    RX_LENGTH,
    RX_RESEND_FROM,
    RX_RESEND_F2,
    RX_RESEND_S2,
    RX_RESEND_F3,
    RX_RESYNC_START,
    RX_RESYNC_SCAN,
    RX_FIRST_PAYLOAD,
    RX_PAYLOAD,
    RX_SUM_LOW,
    RX_SUM_HIGH,
};

}  // namespace

void SecureLink::reset() {
    std::memset(kept_, 0, sizeof kept_);
    std::memset(kept_length_, 0, sizeof kept_length_);
    send_sequence_ = 0;
    receive_sequence_ = 0;
    timeout_ = SECURE_TIMEOUT_NORMAL;
}

void SecureLink::tx(const uint8_t* payload, int length) {
    if (length + 5 > MAX_PACKET_SIZE) report_fatal_error("MAX_PACKET_SIZE exceeded", "secure", 113);
    // The receiver cannot complete an empty frame: one would stall the link.
    if (length < 1) report_fatal_error("Empty secure frame", "secure", 113);
    uint8_t* frame = kept_[send_sequence_];
    frame[0] = SECURE_FRAME_START;
    frame[1] = static_cast<uint8_t>(send_sequence_);
    frame[2] = static_cast<uint8_t>(length);
    uint16_t sum = 0;
    for (int i = 0; i < length; ++i) {
        frame[3 + i] = payload[i];
        sum = static_cast<uint16_t>(sum + payload[i]);
    }
    frame[3 + length] = static_cast<uint8_t>(sum & 0xFF);
    frame[4 + length] = static_cast<uint8_t>(sum >> 8);
    kept_length_[send_sequence_] = length + 5;
    for (int i = 0; i < length + 5; ++i) port_.write_byte(frame[i]);
    send_sequence_ = (send_sequence_ + 1) % SECURE_SEQUENCES;
}

void SecureLink::request_resend() {
    const uint8_t s = static_cast<uint8_t>(receive_sequence_);
    for (uint8_t byte : {SECURE_RESEND_REQUEST, s, SECURE_RESEND_REQUEST, s, SECURE_RESEND_REQUEST})
        port_.write_byte(byte);
}

void SecureLink::resend_frames(int sequence) {
    if (sequence < 0 || sequence >= SECURE_SEQUENCES) return;
    port_.write_byte(SECURE_RESEND_ANSWER);
    port_.write_byte(static_cast<uint8_t>(sequence));
    for (int s = sequence; s != send_sequence_; s = (s + 1) % SECURE_SEQUENCES)
        for (int i = 0; i < kept_length_[s]; ++i) port_.write_byte(kept_[s][i]);
}

int SecureLink::now() { return read_clock(); }

// The yield before each poll lets the other threads run but moves no time when none of them
// waits, so an empty poll always lets one period pass.
void SecureLink::wait_for_byte(bool) { wait_after_empty_poll(); }

int SecureLink::rx(uint8_t* buffer, int length, bool yield) {
    if (length < 1 || length + 5 > MAX_PACKET_SIZE) report_fatal_error("MAX_PACKET_SIZE exceeded", "secure", 113);
    int state = RX_IDLE;
    int errors = 0;
    int resend_from = 0;
    uint8_t window[5] = {};
    uint16_t sum = 0;
    int count = 0;
    auto resync = [&] {
        request_resend();
        state = RX_RESYNC_START;
    };
    auto start_resync = [&](uint8_t b) {
        ++errors;
        window[0] = window[1] = window[2] = window[3] = 0;
        window[4] = b;
        state = RX_RESYNC_SCAN;
    };
    for (;;) {
        // One event: a byte, or the time-out running out since the last one.
        int byte = -1;
        const int start = now();
        for (;;) {
            if (yield) yield_thread();
            byte = port_.read_byte();
            if (!port_.is_link_up()) return SECURE_NO_CARRIER;
            if (byte >= 0 || port_.read_line_errors() != 0) break;
            if (now() - start > timeout_) {
                ++errors;
                break;
            }
            wait_for_byte(yield);
        }
        if (byte < 0) {
            request_resend();
            start_resync(0);
        } else {
            const uint8_t b = static_cast<uint8_t>(byte);
            switch (state) {
            case RX_IDLE:
                if (b == SECURE_FRAME_START)
                    state = RX_SEQUENCE;
                else if (b == SECURE_RESEND_REQUEST)
                    state = RX_RESEND_FROM;
                else
                    resync();
                break;
            case RX_SEQUENCE:
                if (b == receive_sequence_) state = RX_LENGTH; else resync();
                break;
            case RX_LENGTH:
                if (b == length) state = RX_FIRST_PAYLOAD; else resync();
                break;
            case RX_RESEND_FROM:
                resend_from = b;
                state = RX_RESEND_F2;
                break;
            case RX_RESEND_F2:
                if (b == SECURE_RESEND_REQUEST) state = RX_RESEND_S2; else resync();
                break;
            case RX_RESEND_S2:
                if (b == resend_from) state = RX_RESEND_F3; else resync();
                break;
            case RX_RESEND_F3:
                if (b != SECURE_RESEND_REQUEST) {
                    resync();
                    break;
                }
                resend_frames(resend_from);
                state = RX_IDLE;
                break;
            case RX_RESYNC_START:
                start_resync(b);
                break;
            case RX_RESYNC_SCAN:
                std::memmove(window, window + 1, 4);
                window[4] = b;
                if (window[0] == SECURE_RESEND_ANSWER && window[1] == receive_sequence_ &&
                    window[2] == SECURE_FRAME_START && window[3] == receive_sequence_ && window[4] == length) {
                    state = RX_FIRST_PAYLOAD;
                } else if (window[0] == SECURE_RESEND_REQUEST && window[2] == SECURE_RESEND_REQUEST &&
                           window[4] == SECURE_RESEND_REQUEST && window[1] == window[3]) {
                    resend_frames(window[1]);
                }
                break;
            case RX_FIRST_PAYLOAD:
            case RX_PAYLOAD:
                if (state == RX_FIRST_PAYLOAD) {
                    sum = 0;
                    count = 0;
                }
                buffer[count++] = b;
                sum = static_cast<uint16_t>(sum + b);
                state = count == length ? RX_SUM_LOW : RX_PAYLOAD;
                break;
            case RX_SUM_LOW:
                if (b == (sum & 0xFF)) state = RX_SUM_HIGH; else resync();
                break;
            case RX_SUM_HIGH:
                if (b != (sum >> 8)) {
                    resync();
                    break;
                }
                receive_sequence_ = (receive_sequence_ + 1) % SECURE_SEQUENCES;
                return SECURE_OK;
            default:
                report_fatal_error("unknown rxs state", "secure", 422);
            }
        }
        if (errors >= SECURE_MAX_ERRORS) return SECURE_TOO_MANY_ERRORS;
    }
}

void reset_secure() { secure_link.reset(); }
void tx_secure(const uint8_t* payload, int length) { secure_link.tx(payload, length); }
int rx_secure(uint8_t* buffer, int length, bool yield) { return secure_link.rx(buffer, length, yield); }
void request_resend() { secure_link.request_resend(); }
void resend_frames(int sequence) { secure_link.resend_frames(sequence); }

}  // namespace vyr
