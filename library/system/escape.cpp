#include "library/system/escape.h"

namespace vyr {

namespace {

// Unwinds to the body's set_escape_point; nothing else catches it.
struct EscapeJump {
    const EscapePoint* point;
    int value;
};

}  // namespace

int set_escape_point(EscapePoint& point, EscapeBody body, void* context) {
    try {
        body(context);
    } catch (const EscapeJump& jump) {
        if (jump.point != &point) throw;  // meant for a point further up
        return jump.value;
    }
    return 0;
}

void jump_to_escape_point(EscapePoint& point, int value) { throw EscapeJump{&point, value}; }

}  // namespace vyr
