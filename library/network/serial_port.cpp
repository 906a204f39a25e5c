#include "library/network/serial_port.h"

#include "platform/serial/serial_line.h"
#include "platform/timer/timer.h"

namespace vyr {

const uint16_t serial_port_bases[SERIAL_PORT_COUNT] = {0x3F8, 0x2F8, 0x3E8, 0x2E8};
const int serial_port_default_irqs[SERIAL_PORT_COUNT] = {2, 1, 2, 1};
const char* const baud_rate_names[BAUD_RATE_COUNT] = {"2400",  "9600",  "14400", "19200",
                                                      "28800", "38400", "57600", "115200"};
const int32_t baud_rates[BAUD_RATE_COUNT] = {2400, 9600, 14400, 19200, 28800, 38400, 57600, 115200};
const int irq_numbers[IRQ_CHOICE_COUNT - 1] = {2, 3, 4, 5, 7, 9};

SerialPort serial_port;

namespace {
int index_or_first(int index, int count) { return index >= 0 && index < count ? index : 0; }
}  // namespace

int default_irq_for_port(int port) { return serial_port_default_irqs[index_or_first(port, SERIAL_PORT_COUNT)]; }

SerialPort::SerialPort() = default;
SerialPort::~SerialPort() { close(); }

void SerialPort::open(int port_index, int baud_index, int mode_index, int irq_index) {
    close();
    port = index_or_first(port_index, SERIAL_PORT_COUNT);
    baud = index_or_first(baud_index, BAUD_RATE_COUNT);
    mode = mode_index == SERIAL_MODEM ? SERIAL_MODEM : SERIAL_DIRECT;
    irq = irq_index == IRQ_DEFAULT ? default_irq_for_port(port) : index_or_first(irq_index, IRQ_CHOICE_COUNT - 1);
    io_base = serial_port_bases[port];
    interrupt_controller = irq_numbers[irq] == 9 ? 0xA0 : 0x20;
    line_ = platform::open_serial_port_line(port, baud_rates[baud]);
    holds_clock_ = line_ && line_->reaches_another_process();
    if (holds_clock_) platform::hold_to_real_time(true);
}

void SerialPort::close() {
    if (holds_clock_) platform::hold_to_real_time(false);
    holds_clock_ = false;
    line_.reset();
}

void SerialPort::write_byte(uint8_t byte) {
    if (line_) line_->write_byte(byte);
}

void SerialPort::write_string(const char* text) {
    while (*text) write_byte(static_cast<uint8_t>(*text++));
}

int SerialPort::read_byte() { return line_ ? line_->read_byte() : -1; }

int SerialPort::is_link_up() {
    if (mode != SERIAL_MODEM) return 1;
    return line_ && line_->data_set_ready() ? 1 : 0;
}

int SerialPort::read_line_errors() { return 0; }

void open_serial_port(int port, int baud, int mode, int irq) { serial_port.open(port, baud, mode, irq); }
void close_serial_port() { serial_port.close(); }
void write_serial_byte(uint8_t byte) { serial_port.write_byte(byte); }
void write_serial_string(const char* text) { serial_port.write_string(text); }
int read_serial_byte() { return serial_port.read_byte(); }
int is_link_up() { return serial_port.is_link_up(); }
int read_line_errors() { return serial_port.read_line_errors(); }

}  // namespace vyr
