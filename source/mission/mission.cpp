#include "source/mission/mission.h"

namespace vyr {

int32_t current_mission_number = 0;
Mission* current_mission = nullptr;

namespace {

int (*radio_call_sign_source)() = nullptr;

}  // namespace

int get_radio_call_sign() { return radio_call_sign_source ? radio_call_sign_source() : 0; }
void set_radio_call_sign_source(int (*source)()) { radio_call_sign_source = source; }

}  // namespace vyr
