#include "source/sknet/modem_reply.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "library/network/serial_port.h"
#include "source/sknet/two_player.h"

namespace vyr {

const char* const modem_reply_texts[REPLY_CODES] = {
    "OK", "CONNECT", "RING", "NO CARRIER", "ERROR", "CONNECT 1200", "NO DIALTONE", "BUSY", "NO ANSWER", " ",
    "Data link lost - Resetting modem", "No modem connection - Aborting", "Checksum Error!", "Unexpected reply", " ",
    "Transmission error!", "Unknown error!", "Timeout error!", "Esc pressed, aborted", "No reply"};

void ModemReplyReader::expect(const char* command) {
    std::snprintf(command_, sizeof command_, "%s", command);
    restart();
}

int ModemReplyReader::take(uint8_t byte) {
    if (length_ == MODEM_REPLY_SIZE) {
        restart();
        line_[0] = '\0';
        return REPLY_UNEXPECTED;
    }
    buffer_[length_++] = static_cast<char>(byte);
    buffer_[length_] = '\0';
    if (byte == '\r' && !std::memchr(buffer_, '\r', static_cast<size_t>(length_ - 1))) {
        const int digits = length_ - 1;
        if ((digits == 1 || digits == 2) && buffer_[0] >= '0' && buffer_[0] <= '9' &&
            (digits == 1 || (buffer_[1] >= '0' && buffer_[1] <= '9'))) {
            // Decimal, as modems send them: anything past the modem's own codes is unexpected.
            const int code = digits == 1 ? buffer_[0] - '0' : (buffer_[0] - '0') * 10 + buffer_[1] - '0';
            restart();
            line_[0] = '\0';
            return code <= REPLY_LAST_MODEM ? code : REPLY_UNEXPECTED;
        }
        if (command_[0] && std::strncmp(buffer_, command_, std::strlen(command_)) == 0) restart();
        return REPLY_NONE_YET;
    }
    if (byte != '\n' || std::count(buffer_, buffer_ + length_, '\n') < 2) return REPLY_NONE_YET;
    const char* start = buffer_ + std::strspn(buffer_, "\r\n");
    std::snprintf(line_, sizeof line_, "%.*s", static_cast<int>(std::strcspn(start, "\r\n")), start);
    restart();
    for (int code = 0; code <= REPLY_BUSY; ++code)
        if (std::strncmp(line_, modem_reply_texts[code], std::strlen(modem_reply_texts[code])) == 0) return code;
    return REPLY_UNEXPECTED;
}

void show_modem_reply(int code, const char* line, bool checking) {
    if (code == REPLY_NONE_YET) return;
    if (code > REPLY_LAST_MODEM)
        add_modem_message(modem_reply_texts[code < REPLY_CODES ? code : 15]);
    else
        add_modem_message(line && *line ? line : modem_reply_texts[code]);
    if (checking && code != REPLY_OK) add_modem_message("Checksum Error!");
}

void report_line_errors() {
    static const char* const texts[6] = {"UART Overrun Error!", "UART Parity Error!", "UART Framing Error!",
                                         "UART Break Command!", "Transmit Buffer Overflow!", "Receive Buffer Overflow!"};
    const int errors = read_line_errors();
    add_modem_message(" ");
    for (int bit = 0; bit < 6; ++bit)
        if (errors & (2 << bit)) add_modem_message(texts[bit]);
}

}  // namespace vyr
