// A headless world for flights over nothing: the trig tables, an empty world, the software
// accelerator's display open, and a single-player game without a link.
#pragma once

#include "library/3dvisual/world.h"
#include "library/maths/trig.h"
#include "library/system/winmain.h"
#include "platform/accel/framebuffer.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "tests/support/headless_world.h"

namespace vyr {

class EmptyFlightWorld : public HeadlessWorld {
protected:
    void SetUp() override {
        HeadlessWorld::SetUp();
        app_active.store(1);
        init_trig_tables();
        world_settings.flags = 0;
        init_world(&world_settings);
        platform::accel::open_display();
        game_mode = GAME_SINGLE;
        connection_mode = CONNECTION_NONE;
    }
};

}  // namespace vyr
