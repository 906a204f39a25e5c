#include "source/drone/notify.h"

#include "source/drone/drone.h"
#include "source/drone/soldier_body.h"
#include "source/drone/soldiers.h"

namespace vyr {

namespace {

// Passengers get out only when their transport has come down.
bool is_landing_event(int event) { return event == NOTIFY_LANDED || event == NOTIFY_DOORS_AND_LANDED; }

void handle_drone_notify(Drone* subscriber, Drone* drone, int event) {
    if (!is_landing_event(event) || subscriber->drone_class != DRONE_CLASS_HUMAN) return;
    board_transport(subscriber, drone);
    for (Drone* member = subscriber->first_member; member; member = next_group_member(member))
        board_transport(member, drone);
}

}  // namespace

void clear_drone_notify(Drone* drone) {
    for (Drone*& slot : drone->subscribers) slot = nullptr;
    drone->awaited_event = NOTIFY_NONE;
}

int subscribe_drone_notify(Drone* subscriber, Drone* drone, int event) {
    for (Drone*& slot : drone->subscribers) {
        if (slot) continue;
        slot = subscriber;
        subscriber->awaited_event = event;
        return 1;
    }
    return 0;
}

int unsubscribe_drone_notify(Drone* subscriber, Drone* drone) {
    for (Drone*& slot : drone->subscribers) {
        if (slot != subscriber) continue;
        slot = nullptr;
        return 1;
    }
    return 0;
}

void raise_drone_notify(Drone* drone, int event) {
    if (!drone) return;  // a flight without the mission's drones has no user drone to raise it
    for (Drone* subscriber : drone->subscribers)
        if (subscriber && subscriber->awaited_event == event) handle_drone_notify(subscriber, drone, event);
}

}  // namespace vyr
