// The modem's replies: read a byte at a time against the command last sent (its echo skipped),
// classified by the Hayes result codes, and shown on the message lines.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int MODEM_COMMAND_LINE_SIZE = 200;
// A reply longer than this without its line end is unexpected, and the reader starts again.
constexpr int MODEM_REPLY_SIZE = 256;

// What a reply was; 0..8 are the modem's own, the rest the dialogue's.
enum ModemReply : int32_t {
    REPLY_OK = 0,
    REPLY_CONNECT = 1,
    REPLY_RING = 2,
    REPLY_NO_CARRIER = 3,
    REPLY_ERROR = 4,
    REPLY_NO_DIALTONE = 6,
    REPLY_BUSY = 7,
    REPLY_NO_ANSWER = 8,
    REPLY_LAST_MODEM = 8,
    REPLY_UNEXPECTED = 13,
    REPLY_LINE_ERROR = 14,
    REPLY_TIMED_OUT = 16,
    REPLY_TIMEOUT_TEXT = 17,
    REPLY_NONE_YET = 18,
    REPLY_CODES = 20,
};
extern const char* const modem_reply_texts[REPLY_CODES];

// The modem's replies, one byte per call, against the last command sent (its echo is skipped).
class ModemReplyReader {
public:
    // Starts a reply to `command`.
    void expect(const char* command);
    // One of the result codes for `byte`, or REPLY_NONE_YET.
    int take(uint8_t byte);
    // The line of the last reply that came as text; empty when it came as a number.
    const char* line() const { return line_; }
    // What was read of a reply is dropped.
    void restart() { length_ = 0; }

private:
    char buffer_[MODEM_REPLY_SIZE + 1] = {};
    int length_ = 0;
    char command_[MODEM_COMMAND_LINE_SIZE + 2] = {};
    char line_[MODEM_REPLY_SIZE + 1] = {};
};

// The reply as the message lines show it; with `checking`, a code other than OK is followed by
// "Checksum Error!".
void show_modem_reply(int code, const char* line, bool checking);
// A blank line, then a line for each bit set in the port's line-error word.
void report_line_errors();

}  // namespace vyr
