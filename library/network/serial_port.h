// The serial port the two-player link runs over: opened with the player's port, rate, cable or
// modem and interrupt line, one byte at a time, never waiting. One port at a time.
#pragma once

#include <cstdint>
#include <memory>

namespace vyr {

namespace platform {
class SerialLine;
}

enum SerialMode : int32_t { SERIAL_DIRECT = 0, SERIAL_MODEM = 1 };

constexpr int SERIAL_PORT_COUNT = 4;
constexpr int BAUD_RATE_COUNT = 8;
constexpr int IRQ_CHOICE_COUNT = 7;
constexpr int IRQ_DEFAULT = 6;  // the port's own line, chosen at open

extern const uint16_t serial_port_bases[SERIAL_PORT_COUNT];
extern const int serial_port_default_irqs[SERIAL_PORT_COUNT];  // IRQ choice index of each port
extern const char* const baud_rate_names[BAUD_RATE_COUNT];      // "2400".."115200"
extern const int32_t baud_rates[BAUD_RATE_COUNT];
extern const int irq_numbers[IRQ_CHOICE_COUNT - 1];

// One port's driver; the program's own is `serial_port`, tests make more.
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Records the four choices (an index outside its table counts as its first entry, IRQ
    // DEFAULT as the port's own line) and opens the port. A port that cannot be opened is not
    // reported here: reads then see nothing and writes go nowhere.
    void open(int port, int baud, int mode, int irq);
    void close();
    void write_byte(uint8_t byte);
    // Every byte of `text` up to its NUL, one by one.
    void write_string(const char* text);
    // The next byte 0..255, or -1 at once when none waits.
    int read_byte();
    // Modem mode: the modem's data-set-ready line; cable mode: always 1.
    int is_link_up();
    // Overrun, parity, framing and break bits; no line here reports them, so always 0.
    int read_line_errors();
    bool is_open() const { return line_ != nullptr; }

    int port = 0, baud = 0, mode = SERIAL_DIRECT, irq = 0;
    uint16_t io_base = 0;
    uint16_t interrupt_controller = 0;  // 0x20 for IRQ 2..7, 0xA0 for IRQ 9

private:
    std::unique_ptr<platform::SerialLine> line_;
    bool holds_clock_ = false;
};

extern SerialPort serial_port;

void open_serial_port(int port, int baud, int mode, int irq);
void close_serial_port();
void write_serial_byte(uint8_t byte);
void write_serial_string(const char* text);
int read_serial_byte();
int is_link_up();
int read_line_errors();

// The IRQ choice index that port 0..3 uses by default (IRQ 4 for COM1 and COM3, else IRQ 3).
int default_irq_for_port(int port);

}  // namespace vyr
