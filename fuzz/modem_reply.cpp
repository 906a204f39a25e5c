// The modem reply reader over whatever a modem (or the line behind it) sends: every byte gives a
// code of the modem's own table, "unexpected" or "none yet", never one of the dialogue's own, and
// the line kept for showing is one line within its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "source/sknet/modem_reply.h"

// Bytes: the length of the command last sent, that command, then the modem's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vyr;
    if (size < 1) return 0;
    const size_t command_length = data[0] % MODEM_COMMAND_LINE_SIZE;
    if (size < 1 + command_length) return 0;
    const std::string command(reinterpret_cast<const char*>(data + 1), command_length);
    ModemReplyReader reader;
    reader.expect(command.c_str());
    for (size_t i = 1 + command_length; i < size; ++i) {
        const int code = reader.take(data[i]);
        if (!((code >= 0 && code <= REPLY_LAST_MODEM) || code == REPLY_UNEXPECTED || code == REPLY_NONE_YET))
            std::abort();
        const size_t length = std::strlen(reader.line());
        if (length > MODEM_REPLY_SIZE || std::strpbrk(reader.line(), "\r\n")) std::abort();
    }
    return 0;
}
