// A Hayes modem and the telephone line behind a serial port. The port's bytes are AT command
// lines ended by CR, echoed under E1, answered as text or (V0) as decimal result codes; in a call
// they are the call's data until "+++" and a second of silence return the modem to commands.
// The telephone exchange behind it is pluggable: TCP connections between processes (what
// "modem:[HOST:]PORT" opens), or an in-memory exchange for tests.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/serial/serial_line.h"

namespace vyr::platform {

// One call as either end's modem sees it: a byte pipe that the other end may close.
class PhoneCall {
public:
    virtual ~PhoneCall() = default;
    virtual void send(uint8_t byte) = 0;
    // The next byte from the other end, or -1 at once.
    virtual int receive() = 0;
    // The other end hung up, the line dropped, or the call never got through.
    virtual bool gone() = 0;
};

// What a modem's line plugs into.
class PhoneExchange {
public:
    virtual ~PhoneExchange() = default;
    // A call to `number` (digits, '*' and '#' only), ringing at the far end; null when no line
    // has that number.
    virtual std::unique_ptr<PhoneCall> dial(const std::string& number) = 0;
    // A call ringing at this modem's line, or null.
    virtual std::unique_ptr<PhoneCall> take_call() = 0;
    virtual bool reaches_another_process() const = 0;
};

// What a typed number dials: its digits, '*' and '#'.
std::string dialled_digits(const std::string& text);

// Milliseconds on the modem's own clock.
using ModemClock = uint64_t (*)();

// Faults a test modem can show.
enum class ModemFault {
    SILENT,        // switched off: no echo, no reply, no call, data-set-ready down
    DEAF_HANG_UP,  // a command line holding H is neither acted on nor answered
    GARBAGE,       // every reply comes as a line of noise
};

class ModemLine : public SerialLine {
public:
    ModemLine(std::unique_ptr<PhoneExchange> exchange, ModemClock clock);
    void write_byte(uint8_t byte) override;
    int read_byte() override;
    // Up while a call is.
    bool data_set_ready() override;
    bool reaches_another_process() const override { return exchange_->reaches_another_process(); }

    void set_fault(ModemFault fault, bool on);
    // The line drops under a call: both modems say "NO CARRIER".
    void drop_call();

    static constexpr uint64_t RING_INTERVAL = 2000;
    static constexpr uint64_t ESCAPE_GUARD = 1000;
    static constexpr uint64_t ANSWER_WAIT = 50000;  // a dialled call not answered: "NO ANSWER"
    static constexpr size_t COMMAND_LINE_SIZE = 255;

private:
    enum class Mode { COMMAND, DIALLING, RINGING, ONLINE, ONLINE_COMMAND };
    enum Result { OK = 0, CONNECT = 1, RING = 2, NO_CARRIER = 3, ERROR = 4, BUSY = 7, NO_ANSWER = 8, NONE = -1 };

    void service();
    void take_command_byte(uint8_t byte);
    Result run_command_line(const std::string& line);
    void answer();
    void dial(const std::string& text);
    void hang_up();
    void factory_settings();
    void reply(Result result);
    void output(const std::string& text);

    std::unique_ptr<PhoneExchange> exchange_;
    ModemClock clock_;
    std::unique_ptr<PhoneCall> call_;
    Mode mode_ = Mode::COMMAND;
    std::deque<uint8_t> to_port_;
    std::string line_;
    bool line_overflow_ = false;
    bool echo_ = true;
    bool verbose_ = true;
    int auto_answer_rings_ = 0;
    int rings_ = 0;
    uint64_t since_ = 0;  // the last ring, the dial, or the last '+' of an escape
    int pluses_ = 0;
    bool faults_[3] = {};
};

// The exchange of "modem:[HOST:]PORT": calls come in on PORT, and a number is dialled at the
// host:port that VYR_MODEM_NUMBERS ("number=host:port,...") lists for it. Null, with `error`
// set, when PORT cannot be listened on.
std::unique_ptr<PhoneExchange> open_tcp_exchange(const std::string& address, std::string& error);

// An in-memory exchange shared by test modems; each line added is one number.
class MemoryPhoneNetwork;
std::shared_ptr<MemoryPhoneNetwork> make_memory_phone_network();
std::unique_ptr<PhoneExchange> add_memory_phone_line(const std::shared_ptr<MemoryPhoneNetwork>& network,
                                                     const std::string& number);

}  // namespace vyr::platform
