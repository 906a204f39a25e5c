// The frame receiver over bytes another machine sent: whatever they are, it returns a result,
// writes only within the buffer and answers only with the layer's own bytes.
#include <cstddef>
#include <cstdint>

#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "platform/serial/memory_pair.h"

namespace {

using namespace vyr;

platform::MemorySerialEnd* far_end = nullptr;
std::unique_ptr<platform::MemorySerialEnd> near_end;

std::unique_ptr<platform::SerialLine> open_near(int, int) { return std::move(near_end); }

// Time moves a unit per empty poll: a silent line times out at once.
class FuzzLink : public SecureLink {
public:
    using SecureLink::SecureLink;

protected:
    int now() override { return time_; }
    void wait_for_byte(bool) override { ++time_; }

private:
    int time_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    auto [near, far] = platform::make_serial_pair();
    near_end = std::move(near);
    far_end = far.get();
    platform::set_serial_opener(&open_near);
    SerialPort port;
    port.open(0, 5, SERIAL_DIRECT, IRQ_DEFAULT);
    FuzzLink link(port);
    // The first byte: the expected length; the second: frames already sent, to resend.
    const int length = 1 + data[0] % 255;
    uint8_t kept[255] = {};
    for (int i = 0; i < data[1] % 12; ++i) link.tx(kept, 1 + i);
    for (size_t i = 2; i < size; ++i) far_end->write_byte(data[i]);
    uint8_t* buffer = new uint8_t[static_cast<size_t>(length)];
    const int result = link.rx(buffer, length, false);
    delete[] buffer;
    if (result != SECURE_OK && result != SECURE_TOO_MANY_ERRORS) __builtin_trap();
    return 0;
}
