#include "library/system/event.h"

#include <mutex>

#include "library/system/key.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/timer/timer.h"

namespace vyr {

std::atomic<int> event_count{0};
std::atomic<int> events_posted{0};

namespace {

Event event_ring[EVENT_QUEUE_SIZE];
uint8_t event_head = 0;  // next slot to fill; the 8-bit indices wrap for free
uint8_t event_tail = 0;  // oldest event
std::mutex event_mutex;  // held for a handful of word copies only

}  // namespace

int post_input_event(const Event& event) {
    std::lock_guard lock(event_mutex);
    if (uint8_t(event_head + 1) == event_tail) return 0;
    event_ring[event_head++] = event;
    event_count.fetch_add(1);
    events_posted.fetch_add(1);
    wake_idle_thread();  // a thread may be waiting for input
    return 1;
}

int post_event(const Event& event) { return post_input_event(event); }

int get_event(Event& out) {
    take_quit_request();
    std::lock_guard lock(event_mutex);
    if (event_head == event_tail) return 0;
    out = event_ring[event_tail++];
    event_count.fetch_sub(1);
    if (out.type == EV_KEY) {
        out.x = translate_key_char(out.value);
    } else if (out.type == EV_MOUSE_MOVE) {
        // The latest pointer position wins; timer events in between carry nothing needed.
        while (event_head != event_tail) {
            const Event& next = event_ring[event_tail];
            if (next.type == EV_MOUSE_MOVE) {
                out = next;
            } else if (next.type != EV_TIMER) {
                break;
            }
            ++event_tail;
            event_count.fetch_sub(1);
        }
    } else if (out.type == EV_TIMER) {
        while (event_head != event_tail && event_ring[event_tail].type == EV_TIMER) {
            out = event_ring[event_tail++];
            event_count.fetch_sub(1);
        }
    }
    return 1;
}

// Only the dropped events leave the count: the UI's hold while it dispatches stays, as a flight
// started from a menu button flushes the queue inside that dispatch.
void flush_events() {
    std::lock_guard lock(event_mutex);
    event_count.fetch_sub(uint8_t(event_head - event_tail));
    event_tail = event_head;
}

void wait_after_empty_poll() { platform::wait_periods(1); }

}  // namespace vyr
