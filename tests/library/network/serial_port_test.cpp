#include "library/network/serial_port.h"

#include <gtest/gtest.h>

#include "tests/library/network/serial_pair.h"

namespace vyr {
namespace {

TEST(SerialPort, RecordsTheChoicesWithThePortsOwnLineForIrqDefault) {
    struct Case {
        int port, irq;
        int recorded_irq;  // index of IRQ 2, 3, 4, 5, 7, 9
        uint16_t base, controller;
    };
    const Case cases[] = {
        {1, IRQ_DEFAULT, 1, 0x2F8, 0x20},  // COM2: IRQ 3
        {2, IRQ_DEFAULT, 2, 0x3E8, 0x20},  // COM3: IRQ 4
        {0, IRQ_DEFAULT, 2, 0x3F8, 0x20},
        {3, 5, 5, 0x2E8, 0xA0},            // IRQ 9 is on the second controller
    };
    for (const Case& c : cases) {
        SerialPair pair;  // the ports the tests open are in memory, whatever the variables say
        SerialPort port;
        port.open(c.port, 2, SERIAL_DIRECT, c.irq);
        EXPECT_EQ(port.irq, c.recorded_irq) << c.port;
        EXPECT_EQ(port.io_base, c.base) << c.port;
        EXPECT_EQ(port.interrupt_controller, c.controller) << c.port;
    }
}

TEST(SerialPort, CableModeIsUpWithNothingAttachedAndReadsNothing) {
    SerialPair pair;
    SerialPort port;
    port.open(3, 5, SERIAL_DIRECT, IRQ_DEFAULT);  // nothing opens for port 3 here
    EXPECT_FALSE(port.is_open());
    EXPECT_EQ(port.is_link_up(), 1);
    EXPECT_EQ(port.read_byte(), -1);
    port.write_byte(1);  // goes nowhere
    port.open(3, 5, SERIAL_MODEM, IRQ_DEFAULT);
    EXPECT_EQ(port.is_link_up(), 0);
}

TEST(SerialPort, StringsGoByteByByteWithoutTheirEnd) {
    SerialPair pair;
    pair.ports[0].write_string("");
    EXPECT_EQ(pair.ports[1].read_byte(), -1);
    pair.ports[0].write_string("AT\r");
    EXPECT_EQ(pair.ports[1].read_byte(), 'A');
    EXPECT_EQ(pair.ports[1].read_byte(), 'T');
    EXPECT_EQ(pair.ports[1].read_byte(), '\r');
    EXPECT_EQ(pair.ports[1].read_byte(), -1);
    EXPECT_EQ(pair.ports[1].read_byte(), -1);  // an empty poll consumes nothing
    pair.ports[0].write_byte(0x80);
    EXPECT_EQ(pair.ports[1].read_byte(), 0x80);
}

TEST(SerialPort, ModemModeFollowsDataSetReady) {
    SerialPair pair;
    pair.ports[1].mode = SERIAL_MODEM;
    EXPECT_EQ(pair.ports[1].is_link_up(), 1);
    pair.ends[1]->set_data_set_ready(false);
    EXPECT_EQ(pair.ports[1].is_link_up(), 0);
    EXPECT_EQ(pair.ports[0].is_link_up(), 1);  // the cable end does not look
    EXPECT_EQ(pair.ports[1].read_line_errors(), 0);
}

}  // namespace
}  // namespace vyr
