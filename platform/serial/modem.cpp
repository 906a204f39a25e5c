#include "platform/serial/modem.h"

#include <cctype>
#include <map>
#include <mutex>

namespace vyr::platform {
namespace {

// Signals on a line before its call is answered; after, the line carries data only.
constexpr uint8_t LINE_ANSWERED = 'A';
constexpr uint8_t LINE_BUSY = 'B';

const char* const RESULT_TEXTS[] = {"OK", "CONNECT 28800", "RING", "NO CARRIER", "ERROR", "", "", "BUSY",
                                    "NO ANSWER"};

}  // namespace

std::string dialled_digits(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '*' || c == '#') digits += c;
    return digits;
}

ModemLine::ModemLine(std::unique_ptr<PhoneExchange> exchange, ModemClock clock)
    : exchange_(std::move(exchange)), clock_(clock) {}

void ModemLine::set_fault(ModemFault fault, bool on) {
    faults_[static_cast<int>(fault)] = on;
    if (fault == ModemFault::SILENT && on) hang_up();
}

void ModemLine::drop_call() {
    if (call_) call_.reset();
    if (mode_ != Mode::COMMAND) {
        mode_ = Mode::COMMAND;
        reply(NO_CARRIER);
    }
}

void ModemLine::output(const std::string& text) {
    if (!faults_[static_cast<int>(ModemFault::SILENT)]) to_port_.insert(to_port_.end(), text.begin(), text.end());
}

void ModemLine::reply(Result result) {
    if (result == NONE) return;
    if (faults_[static_cast<int>(ModemFault::GARBAGE)])
        output("\r\n#~?x}" + std::to_string(result) + "\r\n");
    else if (verbose_)
        output(std::string("\r\n") + RESULT_TEXTS[result] + "\r\n");
    else
        output(std::to_string(result) + "\r");
}

void ModemLine::factory_settings() {
    echo_ = verbose_ = true;
    auto_answer_rings_ = 0;
}

void ModemLine::hang_up() {
    call_.reset();
    mode_ = Mode::COMMAND;
    pluses_ = 0;
}

void ModemLine::answer() {
    call_->send(LINE_ANSWERED);
    mode_ = Mode::ONLINE;
    pluses_ = 0;
    reply(CONNECT);
}

void ModemLine::dial(const std::string& text) {
    call_ = exchange_->dial(dialled_digits(text));
    if (!call_) return reply(NO_ANSWER);
    mode_ = Mode::DIALLING;
    since_ = clock_();
}

void ModemLine::service() {
    if (faults_[static_cast<int>(ModemFault::SILENT)]) return;
    const uint64_t now = clock_();
    // One line: a second call finds it engaged.
    while (auto incoming = exchange_->take_call()) {
        if (mode_ != Mode::COMMAND || call_) {
            incoming->send(LINE_BUSY);
            continue;
        }
        call_ = std::move(incoming);
        mode_ = Mode::RINGING;
        rings_ = 0;
        since_ = now - RING_INTERVAL;
    }
    switch (mode_) {
    case Mode::COMMAND:
        break;
    case Mode::RINGING:
        if (call_->gone()) {
            hang_up();
        } else if (now - since_ >= RING_INTERVAL) {
            since_ = now;
            ++rings_;
            reply(RING);
            if (auto_answer_rings_ > 0 && rings_ >= auto_answer_rings_) answer();
        }
        break;
    case Mode::DIALLING: {
        const int signal = call_->receive();
        if (signal == LINE_ANSWERED) {
            mode_ = Mode::ONLINE;
            pluses_ = 0;
            reply(CONNECT);
        } else if (signal == LINE_BUSY) {
            hang_up();
            reply(BUSY);
        } else if (call_->gone() || now - since_ >= ANSWER_WAIT) {
            hang_up();
            reply(NO_ANSWER);
        }
        break;
    }
    case Mode::ONLINE:
        if (pluses_ == 3 && now - since_ >= ESCAPE_GUARD) {
            mode_ = Mode::ONLINE_COMMAND;
            pluses_ = 0;
            line_.clear();
            reply(OK);
        }
        [[fallthrough]];
    case Mode::ONLINE_COMMAND:
        if (call_->gone()) {
            hang_up();
            reply(NO_CARRIER);
        }
        break;
    }
}

void ModemLine::write_byte(uint8_t byte) {
    service();
    if (faults_[static_cast<int>(ModemFault::SILENT)]) return;
    if (mode_ == Mode::ONLINE) {
        call_->send(byte);
        pluses_ = byte == '+' ? std::min(pluses_ + 1, 3) : 0;
        since_ = clock_();
        return;
    }
    if (mode_ == Mode::DIALLING) {  // a key pressed while dialling gives up the call
        hang_up();
        return reply(NO_CARRIER);
    }
    take_command_byte(byte);
}

int ModemLine::read_byte() {
    service();
    if (!to_port_.empty()) {
        const int byte = to_port_.front();
        to_port_.pop_front();
        return byte;
    }
    return mode_ == Mode::ONLINE ? call_->receive() : -1;
}

bool ModemLine::data_set_ready() {
    service();
    return call_ && (mode_ == Mode::ONLINE || mode_ == Mode::ONLINE_COMMAND);
}

void ModemLine::take_command_byte(uint8_t byte) {
    if (byte == '\n') return;
    if (echo_) output(std::string(1, static_cast<char>(byte)));
    if (byte == '\b') {
        if (!line_.empty()) line_.pop_back();
    } else if (byte != '\r') {
        if (line_.size() < COMMAND_LINE_SIZE)
            line_ += static_cast<char>(byte);
        else
            line_overflow_ = true;
    } else {
        const std::string line = line_;
        const bool overflow = line_overflow_;
        line_.clear();
        line_overflow_ = false;
        if (overflow) return reply(ERROR);
        reply(run_command_line(line));
    }
}

ModemLine::Result ModemLine::run_command_line(const std::string& text) {
    std::string line = text;
    for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t at = line.find("AT");
    if (at == std::string::npos) return NONE;
    if (faults_[static_cast<int>(ModemFault::DEAF_HANG_UP)] && line.find('H', at + 2) != std::string::npos)
        return NONE;
    size_t i = at + 2;
    auto number = [&]() {
        int value = 0;
        while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && value < 1000)
            value = value * 10 + (line[i++] - '0');
        return value;
    };
    while (i < line.size()) {
        const char command = line[i++];
        switch (command) {
        case 'E':
            echo_ = number() != 0;
            break;
        case 'V':
            verbose_ = number() != 0;
            break;
        case 'Z':
            number();
            factory_settings();
            break;
        case 'S': {
            const int reg = number();
            if (i < line.size() && line[i] == '=') {
                ++i;
                const int value = number();
                if (reg == 0) auto_answer_rings_ = value;
            }
            break;
        }
        case 'H':
            number();
            hang_up();
            break;
        case 'A':
            if (mode_ != Mode::RINGING) {
                hang_up();
                return NO_CARRIER;
            }
            answer();
            return NONE;
        case 'D':
            if (mode_ != Mode::COMMAND) return ERROR;
            dial(text.substr(i));
            return NONE;
        case '&':
        case '\\': {
            const char letter = i < line.size() ? line[i++] : ' ';
            number();
            if (command == '&' && letter == 'F') factory_settings();
            break;
        }
        default:
            if (std::isalpha(static_cast<unsigned char>(command))) {
                number();
                break;
            }
            if (command == ' ') break;
            return OK;  // a maker's own command: the rest of the line is its
        }
    }
    return OK;
}

// The in-memory exchange: numbered lines, calls as two byte queues under one lock.
class MemoryPhoneNetwork {
public:
    struct Call {
        std::deque<uint8_t> towards[2];  // to the caller (0) and to the called (1)
        bool hung_up = false;
    };
    std::mutex mutex;
    std::map<std::string, std::deque<std::shared_ptr<Call>>> ringing;  // by number
};

namespace {

class MemoryCall : public PhoneCall {
public:
    MemoryCall(std::shared_ptr<MemoryPhoneNetwork> network, std::shared_ptr<MemoryPhoneNetwork::Call> call, int side)
        : network_(std::move(network)), call_(std::move(call)), side_(side) {}
    ~MemoryCall() override {
        std::lock_guard lock(network_->mutex);
        call_->hung_up = true;
    }
    void send(uint8_t byte) override {
        std::lock_guard lock(network_->mutex);
        if (!call_->hung_up) call_->towards[1 - side_].push_back(byte);
    }
    int receive() override {
        std::lock_guard lock(network_->mutex);
        auto& queue = call_->towards[side_];
        if (queue.empty()) return -1;
        const int byte = queue.front();
        queue.pop_front();
        return byte;
    }
    bool gone() override {
        std::lock_guard lock(network_->mutex);
        return call_->hung_up && call_->towards[side_].empty();
    }

private:
    std::shared_ptr<MemoryPhoneNetwork> network_;
    std::shared_ptr<MemoryPhoneNetwork::Call> call_;
    int side_;
};

class MemoryExchange : public PhoneExchange {
public:
    MemoryExchange(std::shared_ptr<MemoryPhoneNetwork> network, std::string number)
        : network_(std::move(network)), number_(std::move(number)) {
        std::lock_guard lock(network_->mutex);
        network_->ringing[number_];
    }
    ~MemoryExchange() override {
        std::lock_guard lock(network_->mutex);
        network_->ringing.erase(number_);
    }
    std::unique_ptr<PhoneCall> dial(const std::string& number) override {
        std::lock_guard lock(network_->mutex);
        auto line = network_->ringing.find(number);
        if (line == network_->ringing.end()) return nullptr;
        auto call = std::make_shared<MemoryPhoneNetwork::Call>();
        line->second.push_back(call);
        return std::make_unique<MemoryCall>(network_, call, 0);
    }
    std::unique_ptr<PhoneCall> take_call() override {
        std::lock_guard lock(network_->mutex);
        auto& waiting = network_->ringing[number_];
        if (waiting.empty()) return nullptr;
        auto call = waiting.front();
        waiting.pop_front();
        return std::make_unique<MemoryCall>(network_, call, 1);
    }
    bool reaches_another_process() const override { return false; }

private:
    std::shared_ptr<MemoryPhoneNetwork> network_;
    std::string number_;
};

}  // namespace

std::shared_ptr<MemoryPhoneNetwork> make_memory_phone_network() { return std::make_shared<MemoryPhoneNetwork>(); }

std::unique_ptr<PhoneExchange> add_memory_phone_line(const std::shared_ptr<MemoryPhoneNetwork>& network,
                                                     const std::string& number) {
    return std::make_unique<MemoryExchange>(network, number);
}

}  // namespace vyr::platform
