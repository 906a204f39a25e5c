// A flat, empty world and an eye looking north from its middle, for the tests of the effects:
// a point `depth` ahead of the eye lies at eye + (0, depth, 0).
#pragma once

#include <cstdint>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/maths/trig.h"
#include "tests/support/scratch.h"

namespace vyr {

constexpr int32_t EFFECT_FEET = 256;
constexpr int32_t NEAR_LIMIT = 1000;
constexpr int32_t VISUAL_RANGE = 400000;
constexpr int32_t CLOUD_BASE = 20000 * EFFECT_FEET;
constexpr int32_t CLOUD_TOP = 24000 * EFFECT_FEET;

class EffectScene : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        world_settings.flags = 0;
        init_world(&world_settings);
        view = current_view;
        view.object_near_limit = NEAR_LIMIT;
        view.object_visual_range = VISUAL_RANGE;
        view.cloud_base = CLOUD_BASE;
        view.cloud_top = CLOUD_TOP;
        view.night_vision = 0;
        set_view_settings(&view);
        look_from(1000 * EFFECT_FEET);
    }
    void TearDown() override {
        shutdown_world();
        ScratchDirectories::TearDown();
    }

    // The eye at `height`, looking north; the sky state follows from the height.
    void look_from(int32_t height) {
        eye.position = {WORLD_MIDDLE, WORLD_MIDDLE, height};
        set_identity_matrix(eye.matrix);
        set_eye(&eye);
        reset_object_buffer();
    }

    static Vector3 ahead(int32_t depth, int32_t z) { return {WORLD_MIDDLE, WORLD_MIDDLE + depth, z}; }

    // The records the object buffer was given, by node type, in the order they were filed.
    static std::vector<void*> queued(BufferNodeType type) {
        std::vector<void*> out;
        BufferDrawer saved = buffer_drawers[type];
        static std::vector<void*>* sink;
        sink = &out;
        buffer_drawers[type] = [](BufferNode* node) { sink->push_back(node->object); };
        flush_object_buffer();
        buffer_drawers[type] = saved;
        return out;
    }

    static constexpr int32_t WORLD_MIDDLE = 0x8000000;
    ViewSettings view{};
    Pose eye{};
};

}  // namespace vyr
