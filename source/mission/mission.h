// The mission record the catalogue lists and the flight is started from, the mission chosen, and
// what the flight needs to know of the pilot flying it.
#pragma once

#include <cstdint>

namespace vyr {

// One catalogue entry; the texts are heap blocks, null when the file has none.
struct Mission {
    Mission* next;
    Mission* prev;
    int32_t number;  // within its war zone and flow: the number part of the file names
    char* title;
    char* description;  // paragraphs separated by line feeds
    char* briefing;     // the briefing script, one command a line
    char* hit_x;
    char* hit_y;
    char* hit_z;
    char* miss_x;
    char* miss_y;
    char* miss_z;
    char* hit_extra;
    char* hit_keep;
    char* outstanding;
    char* success;
    char* failure;
    int32_t flow;
    int32_t zone;
    int32_t level;  // campaign level
};

// Set by load_mission: 0 for quick starts and network games, else the mission's number.
extern int32_t current_mission_number;

// The mission chosen for the map and the flight; null before one is.
extern Mission* current_mission;

// The radio call sign of the pilot flying (1..20), 0 while no pilot's source is installed or no
// pilot is chosen; the pilot logs install the source, so the flight need not read them.
int get_radio_call_sign();
void set_radio_call_sign_source(int (*source)());

}  // namespace vyr
