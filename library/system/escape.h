// Escape points: deep code (the polygon clippers) abandons its work and returns at once to a
// place marked further up the same thread's calls.
#pragma once

#include <type_traits>

namespace vyr {

// Each user keeps its escape point in its own module data; a jump names the point to return to,
// so nested points of different users do not catch each other's jumps.
struct EscapePoint {};

using EscapeBody = void (*)(void* context);

// Runs `body(context)` with `point` marked: 0 when the body finishes, or the value of a
// jump_to_escape_point(point, value) made anywhere inside it, the rest of the body abandoned.
int set_escape_point(EscapePoint& point, EscapeBody body, void* context);

template <typename Body>
int set_escape_point(EscapePoint& point, Body&& body) {
    return set_escape_point(
        point, [](void* context) { (*static_cast<std::remove_reference_t<Body>*>(context))(); }, &body);
}

// Abandons every call made since the body of `point` began; `value` should be non-zero. The body
// must still be running.
[[noreturn]] void jump_to_escape_point(EscapePoint& point, int value);

}  // namespace vyr
